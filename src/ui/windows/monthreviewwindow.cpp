#include "windows/monthreviewwindow.h"

TRecap::TRecap(QWidget *parent) : Form("TRecap", parent)
{
    setWindowTitle(QStringLiteral("Revoir un mois..."));
    resize(640, 480);
    centreOnScreen(this);
    setProperty("helpContext", 1006);
}
