#pragma once

#include <QPoint>
#include <QSize>

class QWidget;

// Nearest integer, ties to the even neighbour (2.5 -> 2, 3.5 -> 4, -0.5 -> 0).
int roundHalfEven(double value);

// Top-left corner that centres a window of the given outer size on a screen:
// screen / 2 - window / 2 on each axis, rounded half to even.
QPoint centredPosition(QSize screenSize, QSize outerSize);

// Moves a top-level window to the centre of the primary screen, using its
// outer size (the frame, once the window system has given it one).
void centreOnScreen(QWidget& window);
