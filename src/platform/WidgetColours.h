#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

// clGray of the window designs: grey label and button texts, the settings dialog's face.
inline const QColor kDesignGrey(128, 128, 128);

// Sets one colour role of a widget's palette (children inherit it).
inline void setWidgetColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}
