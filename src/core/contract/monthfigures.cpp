#include "contract/monthfigures.h"

#include "common/environment.h"
#include "common/errors.h"
#include "common/monthkey.h"
#include "contract/contractrules.h"

#include <QHash>

namespace contract {

namespace {
QDate firstMondayOf(int year, int month)
{
    // The week of the month's first day belongs to it when its Thursday does.
    const QDate first(year, month, 1);
    QDate monday = first.addDays(1 - first.dayOfWeek());
    if (monday.addDays(3) < first)
        monday = monday.addDays(7);
    return monday;
}

QDate lastSundayOf(int year, int month)
{
    const QDate last = QDate(year, month, 1).addMonths(1).addDays(-1);
    QDate monday = last.addDays(1 - last.dayOfWeek());
    if (monday.addDays(3) > last)
        monday = monday.addDays(-7);
    return monday.addDays(6);
}

} // namespace

Mensualised mensualised(const Contract &c, Money rate)
{
    Mensualised m;
    m.twelfths = qint64(c.weeklyMinutes()) * c.weeksPerYear();
    m.hundredths = rules::hundredthsOfHour(m.twelfths, rules::MonthsPerYear);
    // B = H x N / 12 minutes at R.
    m.base = rules::payOfMinutes(m.twelfths, rules::MonthsPerYear, rate);
    return m;
}

DateRange daysNeeded(const Contract &c, int year, int month)
{
    const QDate first(year, month, 1);
    const QDate monday = firstMondayOf(year, month);
    QDate from = monday < first ? monday : first;
    if (c.first.isValid()) {
        const QDate yearStart = c.contractYearStart(std::max(first, c.first));
        if (yearStart < from)
            from = yearStart;
        // A complete year's leave is drawn from the days earned over the
        // leave period before the month's leave year.
        if (c.kind == Kind::CompleteYear) {
            const QDate earnedFrom = std::max(c.first, leavePeriodWeeks(leavePeriodOf(first) - 1).from);
            if (earnedFrom < from)
                from = earnedFrom;
        }
    }
    const QDate last = first.addMonths(1).addDays(-1);
    const QDate sunday = lastSundayOf(year, month);
    return {from, sunday > last ? sunday : last};
}

MonthFigures monthFigures(const Contract &c, int year, int month, const QList<StoredDay> &days, Money rate,
                          const HolidaySetting &holiday, const Limits &limits)
{
    MonthFigures f;
    f.year = year;
    f.month = month;
    const QDate monthStart(year, month, 1);
    const QDate monthEnd = monthStart.addMonths(1).addDays(-1);
    if (!c.isRegular()) {
        f.failure = contractmsg::noMensualisedSalary();
        return f;
    }
    // A contract that could not have been stored (a file edited by hand)
    // gives no figures rather than wrong ones.
    if (QString fault = validate(c, limits); !fault.isEmpty()) {
        f.failure = fault;
        return f;
    }
    if (monthEnd < c.first || (c.last.isValid() && monthStart > c.last)) {
        f.outsideContract = true;
        f.failure = contractmsg::monthOutsideContract(MonthKey::of(month, year).title(), shortDate(c.first),
                                                      c.last.isValid() ? shortDate(c.last) : QString());
        return f;
    }

    const QHash<QDate, StoredDay> stored = byDate(days);
    f.weeklyMinutes = c.weeklyMinutes();
    f.weeksPerYear = c.weeksPerYear();
    const Mensualised m = mensualised(c, rate);
    f.mensualisedTwelfths = m.twelfths;
    f.mensualisedHundredths = m.hundredths;
    f.base = m.base;

    QHash<QDate, int> absent =
        deductedAbsenceDays(c, c.contractYearStart(std::max(monthStart, c.first)), monthEnd, stored);
    // A complete year's leave taken beyond the days earned is not paid: its
    // days are deducted as the leave absence they belong to.
    for (const QDate &d : unpaidLeaveDays(c, days, monthStart, monthEnd))
        for (int i = 0; i < c.absences.size(); ++i)
            if (c.absences[i].reason == Reason::MinderLeave && c.absences[i].range.contains(d)) {
                absent.insert(d, i);
                break;
            }
    // Runs of deducted days: one absence's days (or the days outside the
    // contract) follow each other until a day with hours is not deducted.
    std::optional<DeductedRun> run;
    int runKey = 0; // -1 outside the contract, otherwise the absence's index
    auto closeRun = [&] {
        if (run)
            f.deducted << *run;
        run.reset();
    };
    for (QDate d = monthStart; d <= monthEnd; d = d.addDays(1)) {
        if (c.withoutCare(d))
            continue;
        const int weekday = c.plannedMinutes[size_t(d.dayOfWeek() - 1)];
        f.plannedMonth += weekday;
        const auto a = absent.constFind(d);
        const int key = !c.inside(d) ? -1 : a != absent.constEnd() ? *a : -2;
        if (weekday == 0)
            continue;
        if (key == -2) {
            closeRun();
            continue;
        }
        f.deductedMinutes += weekday;
        if (run && runKey == key) {
            run->range.to = d;
            run->minutes += weekday;
            continue;
        }
        closeRun();
        runKey = key;
        run = DeductedRun{{d, d}, key == -1, key == -1 ? Reason::MinderAbsent : c.absences[key].reason, weekday};
    }
    closeRun();
    // D = B x A / P with B as the slip shows it, to the cent: a parent checks
    // the deduction from the slip's own figures, and a month wholly absent
    // still takes exactly the base shown.
    if (f.plannedMonth > 0)
        f.deduction = partOf(shown(f.base), f.deductedMinutes, f.plannedMonth);

    const qint64 limit = limits.weekMinutes;
    const QDate lastSunday = lastSundayOf(year, month);
    for (QDate monday = firstMondayOf(year, month); monday < lastSunday; monday = monday.addDays(7)) {
        WeekFigures w;
        w.monday = monday;
        for (int k = 0; k < 7; ++k) {
            const QDate d = monday.addDays(k);
            w.planned += c.plannedOn(d);
            if (c.inside(d))
                w.worked += stored.value(d).minutes;
        }
        w.complementary = std::max<qint64>(0, std::min(w.worked, limit) - w.planned);
        w.beyondLimit = std::max<qint64>(0, w.worked - limit);
        f.complementaryMinutes += w.complementary;
        f.majoratedMinutes += w.beyondLimit;
        f.weeks << w;
    }
    // R x (1 + rate / 100) an hour: the minutes counted (100 + rate) / 100 times.
    f.complementaryPay = rules::payOfMinutes(__int128(f.complementaryMinutes) * (100 + c.majHC), 100, rate);
    f.majoratedPay = rules::payOfMinutes(__int128(f.majoratedMinutes) * (100 + c.majHM), 100, rate);

    for (QDate d = monthStart; d <= monthEnd; d = d.addDays(1))
        if (c.inside(d))
            if (auto s = stored.constFind(d); s != stored.constEnd() && s->holiday)
                f.holidayMinutes += s->minutes;
    // The holiday's hours are in the base already: the supplement adds
    // (Indentr - 1) times the rate. A multiplier below 1 adds nothing.
    const Money extra = holiday.multiplier - Money::fromCents(100);
    if (holiday.on && extra > Money())
        f.holidaySupplement = rules::payOfMinutes(__int128(f.holidayMinutes) * extra.count(), 10000, rate);

    f.salary = f.base - f.deduction + f.complementaryPay + f.majoratedPay + f.holidaySupplement;
    return f;
}

} // namespace contract
