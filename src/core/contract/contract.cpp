#include "contract/contract.h"

#include "common/environment.h"
#include "common/errors.h"
#include "legal/legaltable.h"

namespace contract {

const QStringList &kindTexts()
{
    static const QStringList texts = {QStringLiteral("Heures réelles (accueil occasionnel)"),
                                      QStringLiteral("Année complète (%1 semaines)").arg(rules::WeeksPerYear),
                                      QStringLiteral("Année incomplète")};
    return texts;
}

const QStringList &leavePaymentTexts()
{
    static const QStringList texts = {QStringLiteral("En une fois, en juin"),
                                      QStringLiteral("À la prise principale des congés"),
                                      QStringLiteral("Au fur et à mesure de la prise")};
    return texts;
}

const QStringList &endReasonTexts()
{
    static const QStringList texts = {
        QStringLiteral("Retrait de l'enfant par le parent"), QStringLiteral("Démission de l'assistante maternelle"),
        QStringLiteral("Faute grave"), QStringLiteral("Retrait ou suspension de l'agrément"),
        QStringLiteral("Fin de la période d'essai")};
    return texts;
}

const QStringList &reasonTexts()
{
    static const QStringList texts = {QStringLiteral("Absence de l'assistante maternelle (maladie, congé sans solde)"),
                                      QStringLiteral("Enfant malade (certificat médical)"),
                                      QStringLiteral("Enfant hospitalisé"),
                                      QStringLiteral("Absence de l'enfant (convenance des parents)"),
                                      QStringLiteral("Congés payés de l'assistante maternelle")};
    return texts;
}

QString reasonOnSlip(Reason reason)
{
    QString text = reasonTexts().value(int(reason));
    if (text.endsWith(QLatin1Char(')'))) {
        text.chop(1);
        text.replace(QStringLiteral(" ("), QStringLiteral(", "));
    }
    return text;
}

const QStringList &weekdayTexts()
{
    static const QStringList texts = {QStringLiteral("Lundi"),   QStringLiteral("Mardi"),    QStringLiteral("Mercredi"),
                                      QStringLiteral("Jeudi"),   QStringLiteral("Vendredi"), QStringLiteral("Samedi"),
                                      QStringLiteral("Dimanche")};
    return texts;
}

std::optional<Limits> limitsOn(const legal::Table &table, QDate date)
{
    const auto week = table.inForce(legal::Key::WeekHoursMax, date);
    const auto majoration = table.inForce(legal::Key::MajorationMin, date);
    const auto weeks = table.inForce(legal::Key::IncompleteYearWeeksMax, date);
    if (!week || !majoration || !weeks)
        return std::nullopt;
    // The table holds hours, percents and weeks as amounts of four decimals.
    return Limits{int(week->amount.count() * rules::MinutesPerHour / 10000), int(majoration->amount.count() / 10000),
                  int(weeks->amount.count() / 10000)};
}

QString majHMCaption(const std::optional<Limits> &limits)
{
    if (!limits)
        return QStringLiteral("Majoration des heures au-delà du maximum de la semaine");
    const int hours = limits->weekMinutes / rules::MinutesPerHour;
    const int minutes = limits->weekMinutes % rules::MinutesPerHour;
    return QStringLiteral("Majoration des heures au-delà de %1 h").arg(hours) +
           (minutes ? QStringLiteral(" %1").arg(minutes, 2, 10, QChar('0')) : QString());
}

int Contract::weeklyMinutes() const
{
    // Summed wide: a contract whose days lie in DayMinutesRange (every one
    // stored or read back) plans at most 7 x 23:59, far inside an int.
    qint64 total = 0;
    for (int m : plannedMinutes)
        total += m;
    return int(total);
}

int Contract::weeksPerYear() const { return kind == Kind::IncompleteYear ? weeks : rules::WeeksPerYear; }

bool Contract::withoutCare(QDate d) const
{
    for (const DateRange &p : periodsWithoutCare)
        if (p.contains(d))
            return true;
    return false;
}

int Contract::plannedOn(QDate d) const
{
    if (!inside(d) || withoutCare(d))
        return 0;
    return plannedMinutes[size_t(d.dayOfWeek() - 1)];
}

std::optional<int> Contract::departure(int index) const
{
    const DayTimes &t = plannedTimes[size_t(index)];
    if (!t.arrival)
        return std::nullopt;
    return *t.arrival + plannedMinutes[size_t(index)] + (t.hasBreak() ? *t.breakTo - *t.breakFrom : 0);
}

bool Contract::timesComplete() const
{
    for (size_t i = 0; i < plannedMinutes.size(); ++i)
        if (plannedMinutes[i] > 0 && !plannedTimes[i].arrival)
            return false;
    return true;
}

QDate Contract::contractYearStart(QDate d) const
{
    if (!first.isValid() || !d.isValid())
        return first;
    int years = d.year() - first.year();
    // The anniversary in d's year, or the one before when it is still to come.
    if (years > 0 && first.addYears(years) > d)
        --years;
    return first.addYears(years);
}

QString weeksNote(const Contract &c, QDate today)
{
    if (c.kind != Kind::IncompleteYear || !c.first.isValid())
        return {};
    // A contract that is over is spoken of in the year of its last day.
    const QDate asked = c.last.isValid() ? std::min(today, c.last) : today;
    const QDate start = c.contractYearStart(std::max(asked, c.first));
    const int left = weeksLeftInYear(c, start);
    if (left == c.weeks)
        return {};
    return contractmsg::weeksLeft(left, shortDate(start), shortDate(start.addYears(1).addDays(-1)), c.weeks);
}

QString minutesText(qint64 minutes)
{
    const QString sign = minutes < 0 ? QStringLiteral("-") : QString();
    const qint64 m = minutes < 0 ? -minutes : minutes;
    return sign + QStringLiteral("%1:%2").arg(m / 60, 2, 10, QChar('0')).arg(m % 60, 2, 10, QChar('0'));
}

namespace {
// The faults of one table of ranges, rows counted from 1 as the window shows them.
QString rangeFault(const QString &table, int row, const DateRange &r)
{
    if (!r.from.isValid() || !r.to.isValid())
        return contractmsg::dateMissing(table, row);
    if (r.to < r.from)
        return contractmsg::rangeEndBeforeStart(table, row, shortDate(r.from), shortDate(r.to));
    return {};
}
} // namespace

QString rangeFault(const QString &field, int value, IntRange r)
{
    return r.contains(value)
               ? QString()
               : contractmsg::outOfRange(field, QString::number(value), QString::number(r.min), QString::number(r.max));
}

namespace {
// A date left empty is validate()'s to name; one set must lie in the span.
QString dateFault(const QString &field, QDate d)
{
    if (!d.isValid() || (d >= FirstDateAllowed && d <= LastDateAllowed))
        return {};
    return contractmsg::outOfRange(field, shortDate(d), shortDate(FirstDateAllowed), shortDate(LastDateAllowed));
}
} // namespace

QString valueFault(const Contract &c, const std::optional<Limits> &limits)
{
    QStringList faults;
    faults << rangeFault(QStringLiteral("Type de contrat"), int(c.kind), KindRange) << dateFault(FirstCaption, c.first)
           << dateFault(LastCaption, c.last);
    for (size_t i = 0; i < c.plannedMinutes.size(); ++i)
        if (!DayMinutesRange.contains(c.plannedMinutes[i]))
            faults << contractmsg::outOfRange(weekdayTexts().at(qsizetype(i)), minutesText(c.plannedMinutes[i]),
                                              minutesText(DayMinutesRange.min), minutesText(DayMinutesRange.max));
    for (size_t i = 0; i < c.plannedTimes.size(); ++i) {
        const DayTimes &t = c.plannedTimes[i];
        for (const std::optional<int> &m : {t.arrival, t.breakFrom, t.breakTo})
            if (m && !DayMinutesRange.contains(*m))
                faults << contractmsg::outOfRange(weekdayTexts().at(qsizetype(i)), minutesText(*m),
                                                  minutesText(DayMinutesRange.min), minutesText(DayMinutesRange.max));
    }
    faults << rangeFault(WeeksCaption, c.weeks, WeeksRange) << rangeFault(MajHCCaption, c.majHC, MajorationRange)
           << rangeFault(majHMCaption(limits), c.majHM, MajorationRange)
           << rangeFault(QStringLiteral("Paiement des congés"), int(c.leavePayment), LeavePaymentRange)
           << (c.endReason ? rangeFault(QStringLiteral("Motif de la fin"), int(*c.endReason), EndReasonRange)
                           : QString())
           << dateFault(NotifiedCaption, c.notified);
    const auto ranges = [&](const QString &table, const QList<DateRange> &list) {
        for (qsizetype i = 0; i < list.size(); ++i) {
            const QString field = contractmsg::rowOf(table, int(i + 1));
            faults << dateFault(field, list[i].from) << dateFault(field, list[i].to);
        }
    };
    ranges(PeriodsCaption, c.periodsWithoutCare);
    QList<DateRange> absent;
    for (qsizetype i = 0; i < c.absences.size(); ++i) {
        absent << c.absences[i].range;
        faults << rangeFault(QStringLiteral("Absences, ligne %1, motif").arg(i + 1), int(c.absences[i].reason),
                             ReasonRange);
    }
    ranges(AbsencesCaption, absent);
    for (const QString &f : std::as_const(faults))
        if (!f.isEmpty())
            return f;
    return {};
}

QString entryFault(const Contract &c)
{
    if (c.isRegular() && c.weeklyMinutes() == 0)
        return contractmsg::noPlannedHours();
    const DateRange whole{c.first, c.last.isValid() ? c.last : LastDateAllowed};
    for (qsizetype i = 0; i < c.absences.size(); ++i) {
        const DateRange &r = c.absences[i].range;
        if (r.from.isValid() && r.to.isValid() && r.from <= r.to && !r.overlaps(whole))
            return contractmsg::absenceOutsideContract(int(i + 1), shortDate(r.from), shortDate(r.to));
    }
    return {};
}

std::pair<Contract, QStringList> absencesCutToContract(Contract c)
{
    QStringList notes;
    const DateRange whole{c.first, c.last.isValid() ? c.last : LastDateAllowed};
    for (qsizetype i = 0; i < c.absences.size(); ++i) {
        DateRange &r = c.absences[i].range;
        // A range not yet whole, or wholly outside, is entryFault()'s to name.
        if (!r.from.isValid() || !r.to.isValid() || r.from > r.to || !r.overlaps(whole) ||
            (r.from >= whole.from && r.to <= whole.to))
            continue;
        const DateRange cut{std::max(r.from, whole.from), std::min(r.to, whole.to)};
        notes << contractmsg::absenceCut(int(i + 1), shortDate(r.from), shortDate(r.to), shortDate(cut.from),
                                         shortDate(cut.to));
        r = cut;
    }
    return {c, notes};
}

QString timesFault(const Contract &c)
{
    for (int i = 0; i < int(c.plannedTimes.size()); ++i) {
        const DayTimes &t = c.plannedTimes[size_t(i)];
        const int hours = c.plannedMinutes[size_t(i)];
        const QString day = weekdayTexts().at(i);
        if (bool(t.breakFrom) != bool(t.breakTo))
            return contractmsg::breakIncomplete(day);
        if (!t.arrival) {
            if (t.hasBreak())
                return contractmsg::breakWithoutArrival(day);
            continue;
        }
        if (hours == 0)
            return contractmsg::arrivalWithoutHours(day, minutesText(*t.arrival));
        // The break lies inside the day: after the arrival, before the
        // planned hours are done, and it lasts.
        if (t.hasBreak() && (*t.breakFrom <= *t.arrival || *t.breakTo <= *t.breakFrom ||
                             *t.breakFrom - *t.arrival >= hours))
            return contractmsg::breakOutsideDay(day, minutesText(*t.breakFrom), minutesText(*t.breakTo),
                                                minutesText(*t.arrival), minutesText(hours));
        // A day of care ends before midnight, as the hours window's times do.
        if (const int leaves = *c.departure(i); leaves > DayMinutesRange.max)
            return contractmsg::dayPastMidnight(day, minutesText(*t.arrival), minutesText(hours));
    }
    return {};
}

QString validate(const Contract &c, const std::optional<Limits> &law)
{
    if (QString f = valueFault(c, law); !f.isEmpty())
        return f;
    if (!c.first.isValid())
        return contractmsg::dateMissing(FirstCaption, 1);
    if (c.last.isValid() && c.last < c.first)
        return contractmsg::endBeforeStart(shortDate(c.first), shortDate(c.last));
    if (c.notified.isValid() && c.notified < c.first)
        return endmsg::notifiedBeforeStart(shortDate(c.first), shortDate(c.notified));
    const int maximumWeeks = law ? law->maximumWeeks : rules::WeeksPerYear;
    if (c.kind == Kind::IncompleteYear && (c.weeks < 1 || c.weeks > maximumWeeks))
        return contractmsg::weeksOutOfRange(c.weeks, maximumWeeks);
    if (law && c.weeklyMinutes() > law->weekMinutes)
        return contractmsg::weekTooLong(minutesText(c.weeklyMinutes()), minutesText(law->weekMinutes));
    if (QString f = timesFault(c); !f.isEmpty())
        return f;
    for (int i = 0; i < c.periodsWithoutCare.size(); ++i)
        if (QString f = rangeFault(PeriodsCaption, i + 1, c.periodsWithoutCare[i]); !f.isEmpty())
            return f;
    for (int i = 0; i < c.absences.size(); ++i)
        if (QString f = rangeFault(AbsencesCaption, i + 1, c.absences[i].range); !f.isEmpty())
            return f;
    for (int i = 0; i < c.absences.size(); ++i)
        for (int j = i + 1; j < c.absences.size(); ++j)
            if (c.absences[i].range.overlaps(c.absences[j].range))
                return contractmsg::absencesOverlap(i + 1, j + 1);
    return {};
}

QString warning(const Contract &c, const std::optional<Limits> &law)
{
    if (law && c.majHM < law->minimumMajHM)
        return contractmsg::majorationBelowMinimum(majHMCaption(law), c.majHM, law->minimumMajHM);
    return {};
}

int weeksLeftInYear(const Contract &c, QDate yearStart)
{
    const QDate end = yearStart.addYears(1);
    QDate monday = yearStart.addDays((8 - yearStart.dayOfWeek()) % 7);
    int weeks = 0;
    for (; monday < end && weeks < rules::WeeksPerYear; monday = monday.addDays(7)) {
        for (int k = 0; k < 7; ++k) {
            const QDate d = monday.addDays(k);
            if (c.plannedMinutes[size_t(k)] > 0 && !c.withoutCare(d)) {
                ++weeks;
                break;
            }
        }
    }
    return weeks;
}

} // namespace contract
