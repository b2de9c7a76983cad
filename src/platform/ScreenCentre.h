#pragma once

#include <QPoint>
#include <QSize>

class QWidget;

// Top-left corner that centres a window of outer size `window` on a screen of
// size `screen`: half the screen minus half the window, rounded to the
// nearest integer with ties to even.
QPoint CentredTopLeft(QSize window, QSize screen);

// Moves a top-level window so that its outer frame is centred on the primary screen.
void CentreOnPrimaryScreen(QWidget& window);
