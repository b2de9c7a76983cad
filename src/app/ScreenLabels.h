#pragma once

#include <QPoint>
#include <QString>

class QLabel;
class QWidget;

// The white background of the splash and closing screens.
void paintWhite(QWidget& window);

// A credit line of those screens: grey Verdana, 13 pixels high, at its designed place.
QLabel* creditLabel(QWidget* parent, const char* name, const QString& text, QPoint at);
