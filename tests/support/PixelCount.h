#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>

// The pixels of the image inside the rectangle (cut to the image) whose
// colour passes the test.
template <class Test>
int countPixels(const QImage& image, QRect area, Test test)
{
    int n = 0;
    area = area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += test(image.pixelColor(x, y));
    return n;
}

// The mean position of those pixels; (0, 0) when there are none.
template <class Test>
QPointF pixelCentroid(const QImage& image, QRect area, Test test)
{
    double sx = 0, sy = 0;
    int n = 0;
    area = area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (test(image.pixelColor(x, y))) {
                sx += x;
                sy += y;
                ++n;
            }
    return n ? QPointF(sx / n, sy / n) : QPointF();
}
