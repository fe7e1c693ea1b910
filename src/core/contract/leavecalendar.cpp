#include "contract/leavecalendar.h"

#include "contract/contractrules.h"

#include <QMap>

namespace contract {

QHash<QDate, StoredDay> byDate(const QList<StoredDay> &days)
{
    QHash<QDate, StoredDay> stored;
    for (const StoredDay &d : days)
        stored.insert(d.date, d);
    return stored;
}

namespace {
bool storedHoliday(const QHash<QDate, StoredDay> &stored, QDate d)
{
    const auto s = stored.constFind(d);
    return s != stored.constEnd() && s->holiday;
}
} // namespace

QHash<QDate, int> deductedAbsenceDays(const Contract &c, QDate from, QDate to, const QHash<QDate, StoredDay> &stored)
{
    // The first hospitalisation starting in each contract year.
    QHash<QDate, int> firstHospital;
    for (int i = 0; i < c.absences.size(); ++i) {
        const Absence &a = c.absences[i];
        if (a.reason != Reason::ChildInHospital)
            continue;
        const QDate year = c.contractYearStart(std::max(a.range.from, c.first));
        auto it = firstHospital.find(year);
        if (it == firstHospital.end() || c.absences[*it].range.from > a.range.from)
            firstHospital.insert(year, i);
    }
    QHash<QDate, int> sickDays; // by contract year
    QHash<QDate, int> deducted;
    for (QDate d = from; d <= to; d = d.addDays(1)) {
        // A public holiday is never a day of absence.
        if (c.plannedOn(d) == 0 || storedHoliday(stored, d))
            continue;
        int index = -1;
        for (int i = 0; i < c.absences.size() && index < 0; ++i)
            if (c.absences[i].range.contains(d))
                index = i;
        if (index < 0)
            continue;
        const Absence &a = c.absences[index];
        bool deduct = false;
        switch (a.reason) {
        case Reason::MinderAbsent: deduct = true; break;
        case Reason::ChildSick: deduct = ++sickDays[c.contractYearStart(d)] <= rules::SickDaysDeducted; break;
        case Reason::ChildInHospital:
            deduct = firstHospital.value(c.contractYearStart(std::max(a.range.from, c.first)), -1) == index &&
                     a.range.from.daysTo(d) < rules::HospitalDaysDeducted;
            break;
        case Reason::ParentsChoice:
        case Reason::MinderLeave: break;
        }
        if (deduct)
            deducted.insert(d, index);
    }
    return deducted;
}

int leaveYearOf(QDate day) { return day.month() >= rules::LeavePeriodFirstMonth ? day.year() : day.year() - 1; }

int leavePeriodOf(QDate day) { return leaveYearOf(day.addDays(Qt::Thursday - day.dayOfWeek())); }

DateRange leavePeriodDates(int startYear)
{
    const QDate first(startYear, rules::LeavePeriodFirstMonth, 1);
    return {first, first.addYears(1).addDays(-1)};
}

DateRange leavePeriodWeeks(int startYear)
{
    const DateRange dates = leavePeriodDates(startYear);
    // The first week is the one whose Thursday is on or after its first day,
    // the last one the one whose Thursday is on or before its last day.
    const QDate firstThursday = dates.from.addDays((Qt::Thursday - dates.from.dayOfWeek() + 7) % 7);
    const QDate lastThursday = dates.to.addDays(-((dates.to.dayOfWeek() - Qt::Thursday + 7) % 7));
    return {firstThursday.addDays(-3), lastThursday.addDays(3)};
}

int lastLeavePeriod(const Contract &c, QDate today)
{
    const QDate lastDay = c.last.isValid() ? std::min(c.last, today) : today;
    return std::max(leavePeriodOf(c.first), leavePeriodOf(std::max(lastDay, c.first)));
}

int weeksOfCare(const Contract &c, int startYear, const QHash<QDate, int> &deducted, std::optional<QDate> until)
{
    const DateRange weeks = leavePeriodWeeks(startYear);
    int count = 0;
    for (QDate monday = weeks.from; monday < weeks.to; monday = monday.addDays(7)) {
        if (until && monday.addDays(6) > *until)
            break;
        for (int k = 0; k < 7; ++k) {
            const QDate d = monday.addDays(k);
            if (c.plannedOn(d) > 0 && !deducted.contains(d)) {
                ++count;
                break;
            }
        }
    }
    return count;
}

QList<QDate> leaveDays(const Contract &c, const DateRange &range, const QHash<QDate, StoredDay> &stored,
                       const Absence *only)
{
    QMap<QDate, bool> taken;
    for (const Absence &a : c.absences) {
        if (a.reason != Reason::MinderLeave || (only && !(a == *only)))
            continue;
        for (QDate d = std::max(a.range.from, range.from); d <= std::min(a.range.to, range.to); d = d.addDays(1))
            if (c.inside(d) && d.dayOfWeek() != Qt::Sunday && !storedHoliday(stored, d))
                taken.insert(d, true);
    }
    return taken.keys();
}

QList<QDate> unpaidLeaveDays(const Contract &c, const QList<StoredDay> &days, QDate from, QDate to)
{
    QList<QDate> unpaid;
    if (c.kind != Kind::CompleteYear || !c.first.isValid())
        return unpaid;
    // Each leave year the range touches takes its days from the period
    // before it: the days earned there are paid, those taken beyond are not.
    // The periods are those of the contract up to the last leave year's end,
    // the one before its first included (it earned nothing).
    const int firstYear = leaveYearOf(from), lastYear = leaveYearOf(to);
    const int firstPeriod = std::max(leavePeriodOf(c.first) - 1, firstYear - 1);
    const int lastPeriod = std::min(lastLeavePeriod(c, leavePeriodDates(lastYear).to), lastYear - 1);
    if (firstPeriod > lastPeriod)
        return unpaid;
    const QHash<QDate, StoredDay> stored = byDate(days);
    const QHash<QDate, int> deducted = deductedAbsenceDays(c, c.first, leavePeriodWeeks(lastPeriod).to, stored);
    for (int y = firstPeriod; y <= lastPeriod; ++y) {
        const QList<QDate> taken = leaveDays(c, leavePeriodDates(y + 1), stored);
        for (const QDate &d : taken.mid(rules::daysEarned(weeksOfCare(c, y, deducted))))
            if (d >= from && d <= to)
                unpaid << d;
    }
    return unpaid;
}

} // namespace contract
