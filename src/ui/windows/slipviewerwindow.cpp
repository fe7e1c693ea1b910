#include "windows/slipviewerwindow.h"
#include "widgets/look.h"

TRevisu::TRevisu(QWidget *parent) : Form("TRevisu", parent)
{
    setWindowTitle(QStringLiteral("Visualiser un bulletin ancien"));
    resize(640, 480);
    centreOnScreen(this);
    setHelpContext(this, SlipViewerHelp);
}
