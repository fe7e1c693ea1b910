#include "Bull.h"

TBulletin::TBulletin(QWidget *parent) : Form("TBulletin", parent)
{
    setWindowTitle(QStringLiteral("Bulletin de Salaire"));
}
