#include "windows/grossslipwindow.h"

#include "widgets/look.h"

#include <QLabel>

namespace {
const SheetPlaces grossPlaces = {
    .size = {747, 834},
    .title = {144, 8},
    .monthCaption = QStringLiteral("Mois de :"),
    .monthCaptionAt = {48, 64},
    .mois = {120, 56},
    .an = {200, 56},
    .child = {48, 88},
    .prenom = {288, 88},
    .nom = {384, 88},
    .prenom2 = {72, 128},
    .nom2 = {136, 128},
    .employeeLeft = 304,
    .nom1 = {432, 128},
    .ville1Left = 344,
    .leaveCaption = {592, 120},
    .leaveLeft = 616,
    .auCaption = QStringLiteral("au"),
    .gridTop = 264,
    .gridColumns = {50, 34, 54},
    .payHeading = QStringLiteral("SALAIRE DE BASE"),
    .payHeadingAt = {224, 256},
    .payFrame = {184, 264, 537, 129},
    .totheurLeft = 376,
    .hoursCaptionLeft = 464,
    .flatCaptionLeft = 618,
    .congTop = 336,
    .payEuroLeft = 432,
    .feri2Caption = {469, 344},
    .feri2 = {673, 344},
    .feri1Caption = {472, 360},
    .feri1 = {672, 360},
    .contributionsHeading = {224, 400},
    .contributionsFrame = {186, 408, 535, 217},
    .firstLineTop = 424,
    .csLeft = 632,
    .csEuroLeft = 680,
    .totcsLeft = 624,
    .paymentHeading = {224, 632},
    .paymentFrame = {186, 640, 535, 137},
    .nourTop = 656,
    .noticeTop = 784,
    .dateTop = 808,
};

// The names of the base-percentage labels follow the edits they copy.
const char *const baseNames[ContributionLines] = {"Ed19", "Ed20", "Ed23", "Ed25", "Ed26",
                                                  "Ed27", "Ed28", "Ed29", "Ed30"};
} // namespace

TBulletinbrut::TBulletinbrut(QWidget *parent)
    : SlipSheet("TBulletinbrut", QStringLiteral("Bulletin de salaire brut"), grossPlaces, parent)
{
    const QFont plain = sheetFont(8), bold = sheetFont(8, true), redFont = sheetFont(10, true);
    caption(QStringLiteral("Salaire brut :"), {200, 312}, redFont, look::red);
    salbrut = value("salbrut", {368, 312}, redFont, look::red);

    for (int k = 0; k < ContributionLines; ++k) {
        const int top = 424 + 16 * k;
        base[k] = value(baseNames[k], {352, top}, bold);
        caption(QStringLiteral("% du brut"), {392, top}, plain);
        rate[k] = value(qPrintable(QStringLiteral("Ed%1").arg(k + 10)), {488, top}, bold);
        caption(QStringLiteral("%"), {536, top}, plain);
    }
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
