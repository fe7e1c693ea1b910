#include "windows/netslipwindow.h"

#include "widgets/look.h"

#include <QLabel>

namespace {
const SheetPlaces netPlaces = {
    .size = {750, 834},
    .title = {104, 8},
    .monthCaption = QStringLiteral("Mois de  :"),
    .monthCaptionAt = {104, 64},
    .mois = {176, 56},
    .an = {248, 56},
    .child = {80, 88},
    .prenom = {283, 88},
    .nom = {368, 88},
    .prenom2 = {80, 128},
    .nom2 = {168, 128},
    .employeeLeft = 312,
    .nom1 = {464, 128},
    .ville1Left = 352,
    .leaveCaption = {576, 120},
    .leaveLeft = 624,
    .auCaption = QStringLiteral("au :"),
    .gridTop = 272,
    .gridColumns = {50, 36, 53},
    .payHeading = QStringLiteral("SALAIRE NET"),
    .payHeadingAt = {216, 264},
    .payFrame = {192, 272, 537, 129},
    .totheurLeft = 368,
    .hoursCaptionLeft = 448,
    .flatCaptionLeft = 624,
    .congTop = 344,
    .payEuroLeft = 424,
    .feri2Caption = {464, 344},
    .feri2 = {672, 344},
    .feri1Caption = {464, 368},
    .feri1 = {672, 368},
    .contributionsHeading = {216, 408},
    .contributionsFrame = {192, 416, 457, 185},
    .firstLineTop = 432,
    .csLeft = 552,
    .csEuroLeft = 616,
    .totcsLeft = 552,
    .paymentHeading = {224, 608},
    .paymentFrame = {192, 616, 457, 121},
    .nourTop = 640,
    .noticeTop = 752,
    .dateTop = 784,
};
} // namespace

TBulletin::TBulletin(QWidget *parent) : SlipSheet("TBulletin", QStringLiteral("Bulletin de Salaire"), netPlaces, parent)
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
