#include "windows/netslipwindow.h"

#include "widgets/look.h"

#include <QLabel>

TBulletin::TBulletin(QWidget *parent)
    : SlipSheet("TBulletin", QStringLiteral("Bulletin de Salaire"), SheetPlaces::net(), parent)
{
    const QFont subtitle = sheetFont(10);
    caption(QStringLiteral("Modèle simplifié"), {584, 16}, subtitle);
    caption(QStringLiteral("basé sur le net"), {584, 32}, subtitle);

    const QFont redFont = sheetFont(10, true);
    caption(QStringLiteral("Salaire net :"), {200, 312}, redFont, look::red);
    salnet = value("salnet", {368, 312}, redFont, look::red);

    for (int k = 0; k < ContributionLines; ++k)
        Ed[k] = value(qPrintable(QStringLiteral("Ed%1").arg(k + 1)), {408, 432 + 16 * k}, sheetFont(8, true));
}

SlipResult TBulletin::compute(const SlipInput &in) const { return computeNetSlip(in); }

void TBulletin::fillOwn(const SlipResult &r)
{
    for (int k = 0; k < ContributionLines; ++k)
        put(Ed[k], r.rate[k]);
}
