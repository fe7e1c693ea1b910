#include "contract/monthfigures.h"

#include "common/environment.h"
#include "common/errors.h"
#include "common/monthkey.h"
#include "common/programfiles.h"
#include "contract/contractstore.h"
#include "contract/paidleave.h"
#include "legal/legaltable.h"

#include <QDir>

#include <QHash>

namespace contract {

Money centsOf(__int128 numerator, __int128 denominator)
{
    const bool negative = numerator < 0;
    const __int128 n = negative ? -numerator : numerator;
    const __int128 cents = (2 * n + denominator) / (2 * denominator);
    return Money::fromCount(static_cast<qint64>((negative ? -cents : cents) * 100));
}

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
    const int sickDaysDeducted = 5;
    const int hospitalDaysDeducted = 14;
    QHash<QDate, int> sickDays; // by contract year
    QHash<QDate, int> deducted;
    for (QDate d = from; d <= to; d = d.addDays(1)) {
        if (c.plannedOn(d) == 0)
            continue;
        // A public holiday is never a day of absence.
        if (auto s = stored.constFind(d); s != stored.constEnd() && s->holiday)
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
        case Reason::ChildSick: deduct = ++sickDays[c.contractYearStart(d)] <= sickDaysDeducted; break;
        case Reason::ChildInHospital:
            deduct = firstHospital.value(c.contractYearStart(std::max(a.range.from, c.first)), -1) == index &&
                     a.range.from.daysTo(d) < hospitalDaysDeducted;
            break;
        case Reason::ParentsChoice:
        case Reason::MinderLeave: break;
        }
        if (deduct)
            deducted.insert(d, index);
    }
    return deducted;
}

Mensualised mensualised(const Contract &c, Money rate)
{
    Mensualised m;
    m.twelfths = qint64(c.weeklyMinutes()) * c.weeksPerYear();
    m.hundredths = centsOf(__int128(m.twelfths) * 100, __int128(12) * 60).count() / 100;
    // B = H x N / 12 / 60 hours x R / 10000 euros, in cents.
    m.base = centsOf(__int128(m.twelfths) * rate.count(), __int128(12) * 60 * 100);
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

    // A day stored twice (a month validated again) counts as last stored.
    QHash<QDate, StoredDay> stored;
    for (const StoredDay &d : days)
        stored.insert(d.date, d);

    const qint64 r = rate.count();
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
        f.deduction = centsOf(__int128(f.base.count() / 100) * f.deductedMinutes, f.plannedMonth);

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
    // R x (1 + rate / 100) an hour: R / 10000 x (100 + rate) / 100 x minutes / 60 euros.
    const __int128 perMinute = __int128(10000) * 100 * 60;
    f.complementaryPay = centsOf(__int128(r) * (100 + c.majHC) * f.complementaryMinutes * 100, perMinute);
    f.majoratedPay = centsOf(__int128(r) * (100 + c.majHM) * f.majoratedMinutes * 100, perMinute);

    for (QDate d = monthStart; d <= monthEnd; d = d.addDays(1))
        if (c.inside(d))
            if (auto s = stored.constFind(d); s != stored.constEnd() && s->holiday)
                f.holidayMinutes += s->minutes;
    // The holiday's hours are in the base already: the supplement adds
    // (Indentr - 1) times the rate. A multiplier below 1 adds nothing.
    const qint64 extra = holiday.multiplier.count() - 10000;
    if (holiday.on && extra > 0)
        f.holidaySupplement = centsOf(__int128(r) * extra * f.holidayMinutes * 100, __int128(10000) * 10000 * 60);

    f.salary = Money::fromCount(f.base.count() - f.deduction.count() + f.complementaryPay.count() +
                                f.majoratedPay.count() + f.holidaySupplement.count());
    return f;
}

MonthFigures monthFiguresOf(const QString &programFolder, int slot, int year, int month, Money rate,
                            const HolidaySetting &holiday)
{
    const QDir dir(programFolder);
    const Contract c = loadContract(dir.filePath(folder::contracts), slot).value_or(Contract{});
    const legal::Loaded law = legal::loadTable(dir.filePath(folder::legalTable));
    const std::optional<Limits> limits = law.table ? limitsOn(*law.table, QDate(year, month, 1)) : std::nullopt;
    if (c.isRegular() && !limits) {
        MonthFigures f;
        f.year = year;
        f.month = month;
        f.failure = law.table ? contractmsg::limitsUnknown(MonthKey::of(month, year).title()) : law.message;
        return f;
    }
    QList<StoredDay> days;
    if (c.isRegular()) {
        const DateRange range = daysNeeded(c, year, month);
        days = DayTable::workedDays(dir.filePath(folder::dayTable(slot)), range.from, range.to);
    }
    return monthFigures(c, year, month, days, rate, holiday, limits.value_or(Limits{}));
}

} // namespace contract
