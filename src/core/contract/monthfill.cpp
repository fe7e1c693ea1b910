#include "contract/monthfill.h"

#include "attendance/duration.h"
#include "common/environment.h"
#include "common/errors.h"
#include "common/monthkey.h"
#include "payslip/money.h"

#include <QHash>

namespace contract {

namespace {
QTime clock(int minutes) { return QTime(0, 0).addSecs(qint64(minutes) * 60); }

bool absent(const Contract &c, QDate d)
{
    for (const Absence &a : c.absences)
        if (a.range.contains(d))
            return true;
    return false;
}

QDate sheetDate(const MonthSheet &s, int row)
{
    return QDate::fromString(s.cell(sheet::Date, row), shortDateFormat());
}

// The cells a day of the fill takes on its row, Date to Ferié.
void writeDay(MonthSheet &s, const PlannedDay &p)
{
    const int row = p.date.day();
    // A continuous day leaves the afternoon's times empty, as a day typed
    // with its arrival and departure alone does.
    const auto time = [](QTime t) { return t.isValid() ? t.toString(clockFormat()) : QString(); };
    const QTime midnight(0, 0);
    s.cell(sheet::Date, row) = shortDate(p.date);
    s.cell(sheet::Arrival1, row) = time(p.arrival1);
    s.cell(sheet::Departure1, row) = time(p.departure1);
    s.cell(sheet::Arrival2, row) = time(p.arrival2);
    s.cell(sheet::Departure2, row) = time(p.departure2);
    s.cell(sheet::Duration, row) =
        dayDuration(p.arrival1, p.departure1, p.arrival2.isValid() ? p.arrival2 : midnight,
                    p.departure2.isValid() ? p.departure2 : midnight);
    const auto mark = [&](sheet::Column col, bool on) { s.cell(col, row) = on ? sheet::mark(col) : QString(); };
    mark(sheet::Flat, p.ticks.flat);
    mark(sheet::Breakfast, p.ticks.breakfast);
    mark(sheet::Lunch, p.ticks.lunch);
    mark(sheet::Snack, p.ticks.snack);
    mark(sheet::Dinner, p.ticks.dinner);
    mark(sheet::Holiday, p.holiday);
}
} // namespace

UsualTicks usualTicks(bool dailyAllowance, const QStringList &mealAllowances)
{
    // A meal whose allowance is empty or not a number is not paid: no tick.
    const auto paid = [&](int i) {
        try {
            return moneyFromText(mealAllowances.value(i)) > Money();
        } catch (const RuntimeError &) {
            return false;
        }
    };
    return {dailyAllowance, paid(0), paid(1), paid(2), paid(3)};
}

MonthFill monthFill(const Contract &c, int year, int month, const QList<legal::PublicHoliday> &holidays,
                    const UsualTicks &ticks, const QSet<QDate> &present)
{
    MonthFill f;
    if (!c.isRegular()) {
        f.failure = contractmsg::fillNeedsRegularContract();
        return f;
    }
    if (QString fault = validate(c, std::nullopt); !fault.isEmpty()) {
        f.failure = fault;
        return f;
    }
    QStringList missing;
    for (int i = 0; i < int(c.plannedMinutes.size()); ++i)
        if (c.plannedMinutes[size_t(i)] > 0 && !c.plannedTimes[size_t(i)].arrival)
            missing << weekdayTexts().at(i);
    if (!missing.isEmpty()) {
        f.failure = contractmsg::arrivalsMissing(missing);
        return f;
    }
    const QDate monthStart(year, month, 1);
    const QDate monthEnd = monthStart.addMonths(1).addDays(-1);
    if (monthEnd < c.first || (c.last.isValid() && monthStart > c.last)) {
        f.failure = contractmsg::monthOutsideContract(MonthKey::of(month, year).title(), shortDate(c.first),
                                                      c.last.isValid() ? shortDate(c.last) : QString());
        return f;
    }
    QHash<QDate, legal::PublicHoliday> holiday;
    for (const legal::PublicHoliday &h : holidays)
        holiday.insert(h.date, h);
    for (QDate d = monthStart; d <= monthEnd; d = d.addDays(1)) {
        if (c.plannedOn(d) == 0 || absent(c, d))
            continue;
        const auto h = holiday.constFind(d);
        if (h != holiday.constEnd() && !c.holidaysWorked) {
            f.holidaysOff << *h;
            continue;
        }
        const int index = d.dayOfWeek() - 1;
        const DayTimes &t = c.plannedTimes[size_t(index)];
        PlannedDay p;
        p.date = d;
        p.arrival1 = clock(*t.arrival);
        const QTime leaves = clock(*c.departure(index));
        if (t.hasBreak()) {
            p.departure1 = clock(*t.breakFrom);
            p.arrival2 = clock(*t.breakTo);
            p.departure2 = leaves;
        } else {
            p.departure1 = leaves;
        }
        p.holiday = h != holiday.constEnd();
        p.ticks = ticks;
        f.days << p;
        if (present.contains(d))
            f.present << d;
    }
    return f;
}

QSet<QDate> daysOnSheet(const MonthSheet &s)
{
    QSet<QDate> days;
    for (int r = 1; r <= sheet::LastDay; ++r)
        if (const QDate d = sheetDate(s, r); d.isValid() && rowHoldsEntry(s, r))
            days.insert(d);
    return days;
}

QList<int> writeFill(MonthSheet &s, const MonthFill &fill, bool replacePresent)
{
    QList<int> rows;
    for (const PlannedDay &p : fill.days) {
        if (!replacePresent && fill.present.contains(p.date))
            continue;
        writeDay(s, p);
        rows << p.date.day();
    }
    return rows;
}

bool rowAsFilled(const MonthSheet &s, int row, const PlannedDay &day)
{
    if (day.date.day() != row)
        return false;
    MonthSheet filled;
    writeDay(filled, day);
    for (int c = sheet::Date; c < sheet::ColumnCount; ++c)
        if (s.cell(c, row) != filled.cell(c, row))
            return false;
    return true;
}

MonthSummary monthSummary(const Contract &c, int year, int month, const QList<legal::PublicHoliday> &holidays,
                          const MonthSheet &s)
{
    MonthSummary m;
    const QDate monthStart(year, month, 1);
    const QDate monthEnd = monthStart.addMonths(1).addDays(-1);
    for (QDate d = monthStart; d <= monthEnd; d = d.addDays(1)) {
        const int planned = c.plannedOn(d);
        m.plannedMinutes += planned;
        if (planned > 0 && absent(c, d))
            ++m.absenceDays;
    }
    for (int r = 1; r <= sheet::LastDay; ++r) {
        const QString &duration = s.cell(sheet::Duration, r);
        const QDate d = sheetDate(s, r);
        // HH:MM:SS, the seconds ignored as the validation ignores them.
        if (d.isValid() && d.year() == year && d.month() == month && duration.size() >= 5)
            m.typedMinutes += duration.left(2).toInt() * 60 + duration.mid(3, 2).toInt();
    }
    for (const legal::PublicHoliday &h : holidays)
        if (h.date >= monthStart && h.date <= monthEnd)
            m.holidays << h;
    return m;
}

QString MonthSummary::text() const
{
    QStringList named;
    for (const legal::PublicHoliday &h : holidays)
        named << QStringLiteral("%1 (%2)").arg(h.date.toString(QStringLiteral("dd/MM")), h.name);
    return QStringLiteral("Heures prévues au contrat : %1    Heures saisies : %2    Jours d'absence : %3    "
                          "Jours fériés : %4")
        .arg(minutesText(plannedMinutes), minutesText(typedMinutes), QString::number(absenceDays),
             named.isEmpty() ? QStringLiteral("aucun") : named.join(QStringLiteral(", ")));
}

} // namespace contract
