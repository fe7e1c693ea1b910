#include "windows/monthreviewwindow.h"
#include "widgets/look.h"

TRecap::TRecap(QWidget *parent) : Form("TRecap", parent)
{
    setWindowTitle(QStringLiteral("Revoir un mois..."));
    resize(640, 480);
    centreOnScreen(this);
    setHelpContext(this, MonthReviewHelp);
}
