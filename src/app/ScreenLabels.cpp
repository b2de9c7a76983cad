#include "app/ScreenLabels.h"

#include "platform/Fonts.h"
#include "platform/WidgetColours.h"

#include <QLabel>
#include <QPalette>

void paintWhite(QWidget& window)
{
    setWidgetColour(&window, QPalette::Window, Qt::white);
    window.setAutoFillBackground(true);
}

QLabel* creditLabel(QWidget* parent, const char* name, const QString& text, QPoint at)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(pixelFont("Verdana", 13));
    setWidgetColour(label, QPalette::WindowText, kDesignGrey);
    label->adjustSize();
    label->move(at);
    return label;
}
