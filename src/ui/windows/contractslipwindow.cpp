#include "windows/contractslipwindow.h"

#include "common/environment.h"
#include "contract/contractinputs.h"
#include "legal/minimums.h"
#include "widgets/look.h"
#include "widgets/radiogroup.h"
#include "windows/parameterswindow.h"
#include "windows/windowset.h"

#include <QLabel>

namespace {
constexpr int amountLeft = 632, hoursLeft = 376, euroLeft = 680;
constexpr int netSalaryTop = 752, taxableTop = 912;
} // namespace

TBulletinContrat::TBulletinContrat(QWidget *parent)
    : SlipSheet("TBulletinContrat", QStringLiteral("Bulletin de Salaire"), SheetPlaces::contract(), parent)
{
    const SheetPlaces &contractPlaces = SheetPlaces::contract();
    setHelpContext(this, ContractSlipHelp);
    const QFont plain = sheetFont(8), bold = sheetFont(8, true), redFont = sheetFont(10, true);
    const QFont subtitle = sheetFont(10);
    caption(QStringLiteral("contrat mensualisé"), {584, 16}, subtitle);
    mode = value("mode", {584, 32}, subtitle);

    // One line of the pay block: its caption, its hours and its amount.
    int top = 306;
    const auto line = [&](const QString &text, const char *hours, const char *amount, const QFont &font,
                          const QString &unit = QStringLiteral("h")) {
        if (!text.isEmpty())
            caption(text, {200, top}, font);
        QLabel *h = hours ? value(hours, {hoursLeft, top}, bold) : nullptr;
        if (h)
            caption(unit, {hoursLeft + 44, top}, plain);
        QLabel *a = value(amount, {amountLeft, top}, font);
        euro({euroLeft, top});
        top += 16;
        return std::pair{h, a};
    };
    std::tie(hmens, salmens) = line(QStringLiteral("Salaire mensualisé :"), "hmens", "salmens", plain);
    caption(QStringLiteral("au taux horaire de"), {hoursLeft + 60, 306}, plain);
    tauxh = value("tauxh", {hoursLeft + 152, 306}, bold);
    std::tie(habs, deduc) = line(QStringLiteral("Absences déduites :"), "habs", "deduc", plain);
    caption(QStringLiteral("sur"), {hoursLeft + 60, 322}, plain);
    hplan = value("hplan", {hoursLeft + 80, 322}, bold);
    caption(QStringLiteral("h prévues dans le mois"), {hoursLeft + 124, 322}, plain);
    datesabs = value("datesabs", {216, 338}, sheetFont(7));
    datesabs->setWordWrap(true);
    datesabs->setFixedWidth(amountLeft - 216 - 8);
    top = 364;
    std::tie(hcomp, mtcomp) = line(QStringLiteral("Heures complémentaires :"), "hcomp", "mtcomp", plain);
    std::tie(hmaj, mtmaj) = line(QStringLiteral("Heures majorées :"), "hmaj", "mtmaj", plain);
    std::tie(hferie, mtferie) = line(QStringLiteral("Majoration jours fériés :"), "hferie", "mtferie", plain);
    // The caption names a complete year's complement when that is all the month pays.
    std::tie(jcp, mtcp) = line(QString(), "jcp", "mtcp", plain, QStringLiteral("j"));
    libcp = value("libcp", {200, top - 16}, plain);
    const int endTop = top;
    std::tie(hpreavis, mtpreavis) = line(QStringLiteral("Préavis non effectué :"), "hpreavis", "mtpreavis", plain);
    mtregul = line(QStringLiteral("Régularisation des heures :"), nullptr, "mtregul", plain).second;
    // Every label of those two rows, to show them on the last slip only.
    for (QLabel *l : findChildren<QLabel *>())
        if (l->y() >= endTop && l->y() < top && l->x() >= 200)
            m_endPay << l;
    salmois = line(QStringLiteral("Salaire du mois :"), nullptr, "salmois", bold).second;

    m_salaryCaption = caption(QStringLiteral("Salaire net :"), {200, contractPlaces.salaryTop}, redFont, look::red);
    salnet = value("salnet", {amountLeft, contractPlaces.salaryTop}, redFont, look::red);
    salbrut = value("salbrut", {amountLeft, contractPlaces.salaryTop}, redFont, look::red);

    // Why there is no slip stands over the pay lines, on the sheet's paper.
    Message = value("Message", {200, 304}, sheetFont(10, true), look::red);
    Message->setWordWrap(true);
    Message->setFixedSize(contractPlaces.payFrame.right() - 8 - 200, 130);
    Message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Message->setAutoFillBackground(true);
    look::setBackground(Message, look::paper);
    Message->hide();

    // The month's wage or maintenance below the minimum in force that month,
    // under the day grid: printed and saved with the slip.
    Avertissement = value("Avertissement", {16, 728}, sheetFont(7), look::warning);
    Avertissement->setWordWrap(true);
    Avertissement->setFixedSize(contractPlaces.contributionsFrame.left() - 8 - 16, 176);
    Avertissement->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    for (int k = 0; k < ContributionLines; ++k) {
        Ed[k] = value(qPrintable(QStringLiteral("Ed%1").arg(k + 1)), {488, contractPlaces.firstLineTop + 16 * k}, bold);
        m_netOnly << Ed[k];
    }
    m_grossOnly << grossColumns(contractPlaces.firstLineTop, base, rate);
    m_netCaption = caption(QStringLiteral("SALAIRE NET :"), {200, netSalaryTop}, redFont, look::red);
    m_netEuro = euro({euroLeft, netSalaryTop});
    QFont underlined = plain;
    underlined.setUnderline(true);
    m_taxableCaption = caption(QStringLiteral("SALAIRE IMPOSABLE = Salaire net + RDS et CSG non déductible :"),
                               {200, taxableTop}, underlined, look::maroon);
    salimp = value("salimp", {amountLeft, taxableTop}, bold, look::maroon);
    m_taxableEuro = euro({euroLeft, taxableTop});
    // The indemnity, not subject to contributions, goes in the free row
    // above the amount to pay.
    const int rupture = contractPlaces.nourTop + 48;
    m_endIndemnity << caption(QStringLiteral("Indemnité de rupture :"), {200, rupture}, plain);
    mtrupture = value("mtrupture", {456, rupture}, bold);
    m_endIndemnity << mtrupture << euro({528, rupture});
    m_grossOnly << salbrut << m_netCaption << m_netEuro << m_taxableCaption << salimp << m_taxableEuro;
    showBasis(false);
}

void TBulletinContrat::showBasis(bool gross)
{
    mode->setText(gross ? QStringLiteral("basé sur le brut") : QStringLiteral("basé sur le net"));
    mode->adjustSize();
    m_salaryCaption->setText(gross ? QStringLiteral("Salaire brut :") : QStringLiteral("Salaire net :"));
    m_salaryCaption->adjustSize();
    // The net salary closes the pay block on the net basis, and follows the
    // contributions deducted from the gross salary on the gross basis.
    salnet->move(amountLeft, gross ? netSalaryTop : SheetPlaces::contract().salaryTop);
    for (QLabel *l : std::as_const(m_grossOnly))
        l->setVisible(gross);
    for (QLabel *l : std::as_const(m_netOnly))
        l->setVisible(!gross);
}

SlipResult TBulletinContrat::compute(const SlipInput &in) const
{
    m_gross = win().Parametres->Netbrut->itemIndex() == 1;
    // The contract, its days, the legal table and the saved slips, each read once.
    const contract::ContractInputs inputs =
        contract::loadSlipInputs(programFolder(), win().Parametres->currentSlot(), in.moan);
    m_slip = contract::contractSlipOf(inputs, in, m_gross);
    // A table of legal values that cannot be read checks nothing here: the
    // parameters window says why.
    const legal::Loaded &law = inputs.law;
    m_notes = law.table ? legal::monthWarnings(*law.table, in, m_gross).join(' ') : QString();
    if (m_slip.failure.isEmpty())
        return m_slip.slip;
    // No figures: the sheet keeps the month and the parties, and says why.
    SlipResult r = computeContractSlip(in, m_gross, Money());
    for (SlipText *t :
         {&r.salbrut, &r.salnet, &r.Cong, &r.abs, &r.diver, &r.entret, &r.totcs, &r.nour, &r.acpt, &r.net, &r.salimp})
        t->reset();
    for (SlipText &t : r.cs)
        t.reset();
    r.error = m_slip.failure;
    return r;
}

std::optional<ContractHours> TBulletinContrat::contractHours() const { return m_slip.hours; }

void TBulletinContrat::fillOwn(const SlipResult &r)
{
    showBasis(m_gross);
    put(salbrut, r.salbrut);
    put(salimp, r.salimp);
    for (int k = 0; k < ContributionLines; ++k) {
        put(Ed[k], m_gross ? SlipText() : r.rate[k]);
        put(rate[k], m_gross ? r.rate[k] : SlipText());
        put(base[k], r.base[k]);
    }
    const contract::ContractPay &p = m_slip.pay;
    const std::pair<QLabel *, const QString *> pay[] = {
        {hmens, &p.hmens},   {tauxh, &p.tauxh},     {salmens, &p.salmens}, {habs, &p.habs}, {hplan, &p.hplan},
        {deduc, &p.deduc},   {hcomp, &p.hcomp},     {mtcomp, &p.mtcomp},   {hmaj, &p.hmaj}, {mtmaj, &p.mtmaj},
        {hferie, &p.hferie}, {mtferie, &p.mtferie}, {jcp, &p.jcp},     {mtcp, &p.mtcp},   {salmois, &p.salmois},
        {hpreavis, &p.hpreavis}, {mtpreavis, &p.mtpreavis}, {mtregul, &p.mtregul}, {mtrupture, &p.mtrupture}};
    for (const auto &[label, text] : pay)
        put(label, *text);
    datesabs->setText(p.datesabs);
    libcp->setText(p.libcp);
    libcp->adjustSize();
    for (QLabel *l : std::as_const(m_endPay))
        l->setVisible(!p.mtpreavis.isEmpty());
    for (QLabel *l : std::as_const(m_endIndemnity))
        l->setVisible(!p.mtrupture.isEmpty());
    const bool says = !m_slip.failure.isEmpty();
    Avertissement->setText(says ? QString() : m_notes);
    Avertissement->setVisible(!Avertissement->text().isEmpty());
    Message->setText(m_slip.failure);
    Message->setVisible(says);
    Message->raise();
}
