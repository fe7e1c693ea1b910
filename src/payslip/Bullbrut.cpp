#include "Bullbrut.h"

TBulletinbrut::TBulletinbrut(QWidget *parent) : Form("TBulletinbrut", parent)
{
    setWindowTitle(QStringLiteral("Bulletin de salaire brut"));
}
