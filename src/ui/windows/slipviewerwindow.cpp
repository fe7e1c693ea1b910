#include "windows/slipviewerwindow.h"

TRevisu::TRevisu(QWidget *parent) : Form("TRevisu", parent)
{
    setWindowTitle(QStringLiteral("Visualiser un bulletin ancien"));
    resize(640, 480);
    centreOnScreen(this);
    setProperty("helpContext", 1007);
}
