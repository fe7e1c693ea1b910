#include "legal/taxcredit.h"

#include "common/environment.h"
#include "common/errors.h"
#include "common/programfiles.h"
#include "legal/familycost.h"

#include <QFileInfo>

namespace legal {

namespace {
qint64 centsOf(Money m) { return m.count() / 100; }

// The boxes of the tax form, first to third child.
const std::array<QString, 3> exclusiveBoxes = {QStringLiteral("7GA"), QStringLiteral("7GB"), QStringLiteral("7GC")};
const std::array<QString, 3> sharedBoxes = {QStringLiteral("7GE"), QStringLiteral("7GF"), QStringLiteral("7GG")};

QString euros(qint64 cents) { return centsText(cents) + QStringLiteral(" €"); }
// "50", or "50,50" for a rate with a fraction.
QString percentText(Money rate)
{
    return rate.count() % 10000 == 0 ? QString::number(rate.count() / 10000) : centsText(rate.count() / 100);
}
} // namespace

bool birthKnown(const QDate &birth, int year)
{
    return birth.isValid() && birth.year() >= 1900 && birth <= QDate(year, 12, 31);
}

bool underSix(const QDate &birth, int year) { return birth >= QDate(year - 6, 1, 1); }

TaxCredit taxCredit(const Table &table, int year, const QList<CareYear> &children, int slot)
{
    TaxCredit c;
    CareYear me;
    me.slot = slot;
    for (const CareYear &child : children)
        if (child.slot == slot)
            me = child;
    c.costs = me.costs;
    c.cmg = me.aid.cmg;
    c.shared = me.aid.shared;
    if (me.costs <= 0) {
        c.status = TaxCredit::Status::NoCosts;
        c.reason = QStringLiteral("Aucun frais de garde archivé pour %1 : pas de crédit d'impôt à calculer.").arg(year);
        return c;
    }
    if (!birthKnown(me.birth, year)) {
        c.status = TaxCredit::Status::BirthUnknown;
        c.reason = QStringLiteral("Date de naissance de l'enfant inconnue : saisissez-la dans les paramètres "
                                  "(page « Employeur », « Date de naissance : ») pour savoir s'il ouvre droit "
                                  "au crédit d'impôt.");
        return c;
    }
    if (!underSix(me.birth, year)) {
        c.status = TaxCredit::Status::TooOld;
        c.reason = QStringLiteral("Pas de crédit d'impôt pour frais de garde : l'enfant, né le %1, avait 6 ans ou plus "
                                  "au 1er janvier %2 (il faut être né à compter du %3).")
                       .arg(shortDate(me.birth))
                       .arg(year)
                       .arg(shortDate(QDate(year - 6, 1, 1)));
        return c;
    }
    const QDate incomeYear(year, 1, 1);
    const std::optional<Value> ceiling = table.inForce(Key::CreditCeiling, incomeYear);
    const std::optional<Value> rate = table.inForce(Key::CreditRate, incomeYear);
    if (!ceiling || !rate) {
        c.status = TaxCredit::Status::NoValues;
        c.reason = QStringLiteral("Le plafond ou le taux du crédit d'impôt pour les revenus de %1 n'est pas dans le "
                                  "fichier des valeurs légales : rien n'est calculé.")
                       .arg(year);
        return c;
    }
    c.status = TaxCredit::Status::Credit;
    c.declared = std::max<qint64>(0, c.costs - c.cmg);
    c.ceiling = centsOf(ceiling->amount) / (me.aid.shared ? 2 : 1);
    c.retained = std::min(c.declared, c.ceiling);
    c.rate = rate->amount;
    // Cents times ten-thousandths of a percent: to the cent, half up (all positive).
    c.credit = qint64((__int128(c.retained) * c.rate.count() + 500000) / 1000000);

    // The box: the rank among the year's children under 6 with costs, of
    // the same kind of custody, in slot order.
    int rank = 0;
    for (const CareYear &child : children) {
        if (child.slot > slot || child.aid.shared != me.aid.shared || (child.costs <= 0 && child.slot != slot))
            continue;
        if (!birthKnown(child.birth, year)) {
            c.boxNote =
                QStringLiteral("La case dépend de la date de naissance de l'enfant %1, inconnue.").arg(child.slot);
            return c;
        }
        if (underSix(child.birth, year))
            ++rank;
    }
    const auto &boxes = me.aid.shared ? sharedBoxes : exclusiveBoxes;
    if (rank >= 1 && rank <= int(boxes.size()))
        c.box = boxes[size_t(rank - 1)];
    else
        c.boxNote = QStringLiteral("Au-delà du troisième enfant, voyez la notice de la déclaration pour la case.");
    return c;
}

QList<CareYear> careYears(const QString &programFolder, int year, const std::array<QDate, ChildCount> &births)
{
    QList<CareYear> children;
    const QString path = programFolder + SlipArchive::fileName();
    std::unique_ptr<SlipArchive> archive;
    if (QFileInfo::exists(path))
        archive = std::make_unique<SlipArchive>(path);
    for (int slot = 1; slot <= int(births.size()); ++slot) {
        CareYear child;
        child.slot = slot;
        child.birth = births[size_t(slot - 1)];
        if (archive) {
            child.slips = archive->year(slot, year);
            child.costs = buildYearSummary(slot, year, {}, child.slips, {}, {}).taxCreditBase();
            child.aid = archive->careAid(slot, year);
        }
        children << child;
    }
    return children;
}

YearCredit yearCredit(const QString &programFolder, int year, int slot, const std::array<QDate, ChildCount> &births,
                      const std::optional<Family> &family)
{
    YearCredit y;
    try {
        QList<CareYear> children = careYears(programFolder, year, births);
        const Loaded values = loadTable(programFolder + folder::legalTable);
        if (!values.table)
            throw RuntimeError(values.message);
        YearAid estimate;
        for (CareYear &child : children) {
            if (child.slot != slot)
                continue;
            y.aid = child.aid;
            // The parent's own figure stands; without one, the estimate.
            if (child.aid.cmg == 0 && family && child.costs > 0) {
                estimate = estimatedYearAid(*values.table, child.slips, aidFamilyOf(*family, slot, child.birth));
                child.aid.cmg = estimate.cents.value_or(0);
            }
        }
        y.credit = taxCredit(*values.table, year, children, slot);
        y.credit.cmgEstimated = estimate.cents.has_value();
        y.credit.cmgNote = estimate.why;
    } catch (const RuntimeError &e) {
        y.credit = TaxCredit();
        y.credit.status = TaxCredit::Status::NoValues;
        y.credit.reason = e.message();
    }
    return y;
}

void storeCareAid(const QString &programFolder, int slot, int year, const CareAid &aid)
{
    SlipArchive(programFolder + SlipArchive::fileName()).putCareAid(slot, year, aid);
}

qint64 typedCents(const QString &text)
{
    if (text.trimmed().isEmpty())
        return 0;
    const Money m = moneyFromText(QString(text).replace(QChar(','), QChar('.')));
    if (m.count() < 0)
        throw RuntimeError(rtl::notAFloat(text));
    return shown(m).count() / 100;
}

QList<TaxFigure> creditFigures(const TaxCredit &c)
{
    if (c.status != TaxCredit::Status::Credit)
        return {{QStringLiteral("Crédit d'impôt pour frais de garde"), c.reason}};
    const QString box = c.box.isEmpty() ? QStringLiteral("Montant à déclarer")
                                        : QStringLiteral("Montant à déclarer, case %1").arg(c.box);
    return {
        {c.cmgEstimated ? QStringLiteral("Complément de libre choix du mode de garde (CMG) estimé")
                        : QStringLiteral("Complément de libre choix du mode de garde (CMG) reçu"),
         euros(c.cmg)},
        {box, euros(c.declared)},
        {c.shared ? QStringLiteral("Plafond des frais (garde alternée : la moitié)")
                  : QStringLiteral("Plafond des frais"),
         euros(c.ceiling)},
        {QStringLiteral("Crédit d'impôt estimé (%1 %)").arg(percentText(c.rate)), euros(c.credit)},
    };
}

} // namespace legal
