#include "contract/contractinputs.h"

#include "archive/sliparchive.h"
#include "attendance/daytable.h"
#include "common/errors.h"
#include "common/monthkey.h"
#include "common/programfiles.h"
#include "contract/contractstore.h"

#include <QDir>
#include <QFileInfo>

namespace contract {

namespace {
QDate firstOfMonth(QDate d) { return QDate(d.year(), d.month(), 1); }
QDate lastOfMonth(QDate d) { return firstOfMonth(d).addMonths(1).addDays(-1); }

// The days of contract `c` from `from` on, and the saved slips of its years
// when asked: each file opened once.
void readDays(ContractInputs &in, const QDir &dir, int slot, QDate from)
{
    in.days = DayTable::workedDays(dir.filePath(folder::dayTable(slot)), from, LastDateAllowed);
}

void readSlips(ContractInputs &in, const QDir &dir, int slot)
{
    const Contract &c = in.contract;
    const QString path = dir.filePath(folder::slipArchive);
    if (!c.first.isValid() || !c.last.isValid() || !QFileInfo::exists(path))
        return;
    const SlipArchive archive(path);
    for (int year = c.first.year(); year <= c.last.year(); ++year)
        for (const ArchivedSlip &a : archive.year(slot, year))
            if (a.month() >= 1)
                in.slips << SavedSlipFigures{QDate(a.year(), a.month(), 1), a.grossBasis, a.salbrut, a.salnet, a.totcs,
                                             a.complementaryHours, a.majoratedHours};
}

// The first day any computation of contract `c` reads: its first day, or
// the first week of its first leave period when that starts before it.
QDate firstDayRead(const Contract &c) { return std::min(c.first, leavePeriodWeeks(leavePeriodOf(c.first)).from); }

// The figures of each month of the contract from its first to the one of
// `last`, leaving out those whose legal limits the table does not know.
QList<MonthFigures> monthsUpTo(const ContractInputs &in, QDate last, Money rate, const HolidaySetting &holiday)
{
    QList<MonthFigures> months;
    const Contract &c = in.contract;
    if (!in.law.table)
        return months;
    for (QDate m = firstOfMonth(c.first); m <= last; m = m.addMonths(1))
        if (const std::optional<Limits> limits = limitsOn(*in.law.table, m))
            months << monthFigures(c, m.year(), m.month(), in.days, rate, holiday, *limits);
    return months;
}

MonthSalaries salariesOf(const QList<MonthFigures> &months)
{
    MonthSalaries salaries;
    for (const MonthFigures &f : months)
        if (f.complete())
            salaries.insert(QDate(f.year, f.month, 1), f.salary);
    return salaries;
}
} // namespace

ContractInputs loadSlipInputs(const QString &programFolder, int slot, const QString &monthKey)
{
    const QDir dir(programFolder);
    ContractInputs in;
    in.law = legal::loadTable(dir.filePath(folder::legalTable));
    const std::optional<MonthKey> key = MonthKey::fromText(monthKey);
    if (!key)
        return in;
    in.contract = loadContract(dir.filePath(folder::contracts), slot).value_or(Contract{});
    const Contract &c = in.contract;
    if (!paidByContract(c, monthKey))
        return in;
    const QDate first(key->year(), key->month(), 1);
    // A month whose limits are unknown has no figures to work out.
    if (!in.law.table || !limitsOn(*in.law.table, first))
        return in;
    readDays(in, dir, slot, std::min(firstDayRead(c), daysNeeded(c, key->year(), key->month()).from));
    if (c.last.isValid() && firstOfMonth(c.last) == first)
        readSlips(in, dir, slot);
    return in;
}

ContractInputs loadContractInputs(const QString &programFolder, int slot, const Contract &shown, bool savedSlips)
{
    const QDir dir(programFolder);
    ContractInputs in;
    in.contract = shown;
    if (!shown.isRegular() || !shown.first.isValid())
        return in;
    in.law = legal::loadTable(dir.filePath(folder::legalTable));
    readDays(in, dir, slot, firstDayRead(shown));
    if (savedSlips)
        readSlips(in, dir, slot);
    return in;
}

MonthFigures monthFiguresOf(const ContractInputs &in, int year, int month, Money rate, const HolidaySetting &holiday)
{
    const Contract &c = in.contract;
    const std::optional<Limits> limits = in.law.table ? limitsOn(*in.law.table, QDate(year, month, 1)) : std::nullopt;
    if (c.isRegular() && !limits) {
        MonthFigures f;
        f.year = year;
        f.month = month;
        f.failure = in.law.table ? contractmsg::limitsUnknown(MonthKey::of(month, year).title()) : in.law.message;
        return f;
    }
    return monthFigures(c, year, month, in.days, rate, holiday, limits.value_or(Limits{}));
}

QList<LeavePeriod> paidLeaveOf(const ContractInputs &in, Money rate, const HolidaySetting &holiday, QDate today)
{
    const Contract &c = in.contract;
    if (!c.isRegular() || !c.first.isValid())
        return {};
    // The salaries of every month up to the last period's end, or to the
    // contract's last day.
    const QDate end = std::min(c.last.isValid() ? c.last : today, leavePeriodDates(lastLeavePeriod(c, today)).to);
    return paidLeave(c, in.days, rate, salariesOf(monthsUpTo(in, end, rate, holiday)), today);
}

EndOfContract endOfContractOf(const ContractInputs &in, Money rate, const HolidaySetting &holiday)
{
    const Contract &c = in.contract;
    if (!c.isRegular() || !c.first.isValid() || !c.last.isValid())
        return endOfContract(c, {}, {}, {}, rate, {});
    // Each month's figures, and its salary S for the leave's tenth.
    const QList<MonthFigures> months = monthsUpTo(in, c.last, rate, holiday);
    return endOfContract(c, in.days, in.slips, months, rate, paidLeave(c, in.days, rate, salariesOf(months), c.last));
}

ContractSlip contractSlipOf(const ContractInputs &in, const SlipInput &slip, bool grossBasis)
{
    return contractSlip(slip, grossBasis, [&](const MonthKey &key, Money rate, const HolidaySetting &holiday) {
        const Contract &c = in.contract;
        MonthParts parts{monthFiguresOf(in, key.year(), key.month(), rate, holiday), c, {}, std::nullopt};
        if (!parts.figures.complete())
            return parts;
        // The leave of every period up to the month's last day.
        const QDate first(key.year(), key.month(), 1);
        parts.leave = payoutsIn(paidLeaveOf(in, rate, holiday, lastOfMonth(first)), first);
        if (c.last.isValid() && firstOfMonth(c.last) == first)
            parts.end = endOfContractOf(in, rate, holiday);
        return parts;
    });
}

Contract storedContractOf(const QString &programFolder, int slot)
{
    return loadContract(QDir(programFolder).filePath(folder::contracts), slot).value_or(Contract{});
}

QList<legal::PublicHoliday> holidaysOf(const Contract &c, int year, int month)
{
    const QDate first(year, month, 1);
    return legal::publicHolidays(first, lastOfMonth(first), c.alsaceMoselle);
}

FillInputs loadFillInputs(const QString &programFolder, int slot, int year, int month)
{
    FillInputs in;
    in.contract = storedContractOf(programFolder, slot);
    in.holidays = holidaysOf(in.contract, year, month);
    const QDate first(year, month, 1);
    for (const StoredDay &d : DayTable::workedDays(QDir(programFolder).filePath(folder::dayTable(slot)), first,
                                                   lastOfMonth(first)))
        in.stored.insert(d.date);
    return in;
}

bool paidByContract(const QString &programFolder, int slot, const QString &monthKey)
{
    if (!MonthKey::fromText(monthKey))
        return false;
    const std::optional<Contract> c = loadContract(QDir(programFolder).filePath(folder::contracts), slot);
    return c && paidByContract(*c, monthKey);
}

QString hourlySlipNoteOf(const QString &programFolder, int slot, const QString &monthKey, bool grossBasis)
{
    return hourlySlipNote(loadContract(QDir(programFolder).filePath(folder::contracts), slot), monthKey, grossBasis);
}

} // namespace contract
