#pragma once
// The picture of a window as it is drawn on screen, for printing and saving.

#include <QImage>

class QWidget;

// A picture exactly as large as the window's client area, one pixel per
// screen pixel at the window's own scale: the window's background brush
// first, then the window and all its child controls painted into it. The
// window paints itself into the picture, so other windows covering it, or
// the window being off screen, change nothing.
QImage captureClientArea(QWidget *window);
