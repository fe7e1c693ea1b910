#include "windows/grossslipwindow.h"

#include "widgets/look.h"

#include <QLabel>

TBulletinbrut::TBulletinbrut(QWidget *parent)
    : SlipSheet("TBulletinbrut", QStringLiteral("Bulletin de salaire brut"), SheetPlaces::gross(), parent)
{
    const QFont plain = sheetFont(8), bold = sheetFont(8, true), redFont = sheetFont(10, true);
    caption(QStringLiteral("Salaire brut :"), {200, 312}, redFont, look::red);
    salbrut = value("salbrut", {368, 312}, redFont, look::red);

    grossColumns(SheetPlaces::gross().firstLineTop, base, rate);
    caption(QStringLiteral("SALAIRE NET :"), {200, 600}, redFont, look::red);
    salnet = value("salnet", {432, 600}, redFont, look::red);
    euro({488, 600});

    QFont underlined = plain;
    underlined.setUnderline(true);
    caption(QStringLiteral("SALAIRE IMPOSABLE = Salaire net + RDS et CSG non déductible :"), {200, 752}, underlined,
            look::maroon);
    salimp = value("salimp", {560, 752}, bold, look::maroon);
    euro({640, 752});
}

SlipResult TBulletinbrut::compute(const SlipInput &in) const { return computeGrossSlip(in); }

void TBulletinbrut::fillOwn(const SlipResult &r)
{
    put(salbrut, r.salbrut);
    put(salimp, r.salimp);
    for (int k = 0; k < ContributionLines; ++k) {
        put(rate[k], r.rate[k]);
        put(base[k], r.base[k]);
    }
}
