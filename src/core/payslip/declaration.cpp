#include "payslip/declaration.h"

#include "attendance/duration.h"
#include "common/errors.h"
#include "common/monthkey.h"
#include "contract/contractrules.h"

#include <algorithm>

namespace {
QString decimalComma(QString text) { return text.replace(QChar('.'), QChar(',')); }
} // namespace

int activityDays(const SlipInput &in)
{
    int days = 0;
    for (const SheetDay &d : in.days) {
        if (d.date.isEmpty())
            continue;
        const bool flat = d.flatRate == sheet::mark(sheet::Flat);
        if (flat || (!d.duration.isEmpty() && durationHours(d.duration) > 0))
            ++days;
    }
    return days;
}

QString declarationAmount(Money amount) { return centsText(shownCents(amount)); }

qint64 declaredHours(Money hours) { return (hours.count() + 5000) / 10000; }

namespace rules = contract::rules;

qint64 hundredthsOfTwelfths(qint64 twelfths) { return rules::hundredthsOfHour(twelfths, rules::MonthsPerYear); }

qint64 wholeHoursOfTwelfths(qint64 twelfths)
{
    const qint64 hour = qint64(rules::MonthsPerYear) * 60;
    return (2 * twelfths + hour) / (2 * hour);
}

qint64 ContractHours::normalTwelfths() const
{
    // days / 6 x H minutes, in twelfths of a minute.
    const qint64 leaveTwelfths = qint64(leaveDays) * weeklyMinutes * rules::MonthsPerYear / rules::WorkingDaysPerWeek;
    return std::max<qint64>(0, mensualisedTwelfths - rules::MonthsPerYear * deductedMinutes) + leaveTwelfths;
}

int ContractHours::activityDays() const
{
    const int months = rules::MonthsPerYear;
    const int days = (plannedWeekdays * weeksPerYear + months - 1) / months;
    return std::max(0, days - deductedDays);
}

const QStringList &declarationLabels()
{
    static const QStringList labels = {
        QStringLiteral("Période"),
        QStringLiteral("Nombre d'heures normales"),
        QStringLiteral("Nombre de jours d'activité"),
        QStringLiteral("Salaire horaire net"),
        QStringLiteral("Salaire net total"),
        QStringLiteral("Indemnités d'entretien"),
        QStringLiteral("Indemnités de repas"),
        QStringLiteral("Montant versé au salarié"),
    };
    return labels;
}

const QStringList &contractDeclarationLabels()
{
    static const QStringList labels = [] {
        QStringList l = declarationLabels();
        l.insert(2, QStringLiteral("Nombre d'heures complémentaires"));
        l.insert(3, QStringLiteral("Nombre d'heures majorées"));
        return l;
    }();
    return labels;
}

const QString &leaveDaysLabel()
{
    static const QString label = QStringLiteral("Nombre de jours de congés payés");
    return label;
}

namespace {
// Twelfths of a minute: the whole hours the service takes (half up, from the
// exact figure) and the exact figure beside them, to the hundredth.
DeclarationFigure hoursFigure(const QString &label, qint64 twelfths)
{
    return {label, QString::number(wholeHoursOfTwelfths(twelfths)),
            QStringLiteral("%1 h exactement").arg(centsText(hundredthsOfTwelfths(twelfths)))};
}
} // namespace

Declaration declarationFor(const SlipInput &in, const SlipResult &slip, bool grossBasis,
                           const std::optional<ContractHours> &contract)
{
    Declaration d;
    d.childName = in.prenom3;
    // The hours window's key before any validation is its placeholder text;
    // once the window was opened again its sheet and total are emptied while
    // the key of the last validation stays: no month is validated then either.
    const std::optional<MonthKey> month = MonthKey::fromText(in.moan);
    if (!month || in.totheur.trimmed().isEmpty()) {
        d.failure = rtl::noValidatedMonth();
        return d;
    }
    if (!slip.complete()) {
        d.failure = rtl::slipNotComputed(*slip.error);
        return d;
    }
    const SlipResult::Amounts &a = slip.amounts;
    try {
        const Money hours = moneyFromText(in.totheur);
        Money hourly;
        if (grossBasis) {
            if (a.salbrut.count() == 0) {
                d.failure = rtl::zeroGrossSalary();
                return d;
            }
            // The gross hourly wage carried over to net by the month's own
            // ratio of net to gross salary.
            hourly = Money::fromCount(100 * roundRatio(__int128(moneyFromText(in.SHbr).count()) * a.salnet.count(),
                                                       __int128(a.salbrut.count()) * 100));
        } else {
            hourly = moneyFromText(in.SH);
        }
        const QString values[] = {
            // The slip keeps its own old spelling of August; the declaration spells it right.
            month->title(),
            QString::number(declaredHours(hours)),
            QString::number(activityDays(in)),
            declarationAmount(hourly),
            declarationAmount(a.salnet),
            declarationAmount(a.entret),
            declarationAmount(a.nour),
            declarationAmount(a.net),
        };
        for (int i = 0; i < declarationLabels().size(); ++i)
            d.figures.append({declarationLabels().at(i), values[i], {}});
        d.figures[1].detail = QStringLiteral("%1 h exactement").arg(decimalComma(in.totheur));
        if (contract) {
            const QStringList &labels = contractDeclarationLabels();
            d.figures[1] = hoursFigure(labels.at(1), contract->normalTwelfths());
            d.figures.insert(2, hoursFigure(labels.at(2), 12 * contract->complementaryMinutes));
            d.figures.insert(3, hoursFigure(labels.at(3), 12 * contract->majoratedMinutes));
            d.figures[4].value = QString::number(contract->activityDays());
            if (contract->leaveDays > 0)
                d.figures.insert(5, {leaveDaysLabel(), QString::number(contract->leaveDays), {}});
        }
    } catch (const RuntimeError &e) {
        d.figures.clear();
        d.failure = rtl::slipNotComputed(e.message());
    }
    return d;
}

QString declarationText(const Declaration &d)
{
    QString text;
    for (const DeclarationFigure &f : d.figures)
        text += f.label + '\t' + f.value + '\n';
    return text;
}
