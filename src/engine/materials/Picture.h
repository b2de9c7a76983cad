#pragma once

#include <QImage>

// A picture of the user-interface toolkit: its pixels together with the kind
// of graphic it came from, which decides how it becomes texture pixels.
struct Picture {
    enum class Kind { Empty, Bitmap, Jpeg, Icon };

    Kind kind = Kind::Empty;
    int bitsPerPixel = 0; // of a bitmap: its file's (or image's) pixel depth
    QImage image;

    bool isEmpty() const { return kind == Kind::Empty || image.isNull(); }

    // A bitmap made in memory: 32 bits with an alpha channel, else 24.
    static Picture fromImage(const QImage& image);
};
