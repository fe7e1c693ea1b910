#include "monthsheet.h"

#include "attendance/duration.h"
#include "common/environment.h"
#include "common/monthkey.h"
#include "common/numbers.h"

#include <algorithm>
#include <cmath>

namespace sheet {
static_assert(Date == day::Date + 1 && Holiday == day::Ferie + 1, "the sheet's columns follow the day's fields");

const QStringList &titles()
{
    // The weekday opens the sheet; the day's fields follow in the table's order.
    static const QStringList t = QStringList{QStringLiteral("Jour")} + day::sheetTitles();
    return t;
}

QString mark(Column column)
{
    switch (column) {
    case Flat:
    case Holiday: return QStringLiteral("OUI");
    case Breakfast: return QStringLiteral("PD");
    case Lunch: return QStringLiteral("Déj");
    case Snack: return QStringLiteral("Gouter");
    case Dinner: return QStringLiteral("Diner");
    default: return QString();
    }
}
} // namespace sheet

using namespace sheet;

QString MonthTotals::hoursText() const { return cutTwoDecimals(hours); }
QString MonthTotals::flatDaysText() const { return QString::number(flatDays); }

bool rowHoldsEntry(const MonthSheet &s, int row)
{
    for (int c = Arrival1; c < ColumnCount; ++c)
        if (const QString &text = s.cell(c, row); !text.isEmpty() && text != QStringLiteral("00:00:00"))
            return true;
    return false;
}

namespace {
QDate dateOf(const MonthSheet &s, int row) { return QDate::fromString(s.cell(Date, row), shortDateFormat()); }
} // namespace

QDate sheetMonth(const MonthSheet &s, int skip)
{
    for (int r = 1; r <= LastDay; ++r)
        if (const QDate day = dateOf(s, r); r != skip && day.isValid() && rowHoldsEntry(s, r))
            return QDate(day.year(), day.month(), 1);
    return {};
}

QList<int> strayRows(const MonthSheet &s, QDate day)
{
    QList<int> rows;
    for (int r = 1; r <= LastDay; ++r)
        if (const QDate d = dateOf(s, r);
            d.isValid() && (d.year() != day.year() || d.month() != day.month()) && !rowHoldsEntry(s, r))
            rows << r;
    return rows;
}

void clearIdleDays(MonthSheet &s)
{
    for (int r = 1; r <= LastDay; ++r)
        if (s.cell(Duration, r).isEmpty() && s.cell(Flat, r).isEmpty())
            s.cell(Date, r).clear();
}

MonthTotals monthTotals(const MonthSheet &s)
{
    MonthTotals t;
    for (int r = 1; r <= LastDay; ++r) {
        const QString &duration = s.cell(Duration, r);
        if (!duration.isEmpty())
            t.hours += s.cell(Date, r).isEmpty() ? 0.0 : durationHours(duration);
        if (s.cell(Flat, r) == mark(Flat))
            ++t.flatDays;
    }
    return t;
}

MonthValidation validateMonth(const MonthSheet &s)
{
    MonthValidation v;
    v.sheet = s;
    clearIdleDays(v.sheet);
    v.totals = monthTotals(v.sheet);
    v.days = daysToStore(v.sheet);
    if (!v.days.isEmpty())
        v.monthKey = v.days.last()[day::Moan];
    return v;
}

QList<day::Record> daysToStore(const MonthSheet &s)
{
    // The sheet columns of the six marks, in the table's field order.
    static constexpr Column marks[] = {Flat, Breakfast, Lunch, Snack, Dinner, Holiday};
    QList<day::Record> days;
    for (int r = 1; r <= LastDay; ++r) {
        const QString &date = s.cell(Date, r);
        if (date.isEmpty())
            continue;
        day::Record rec;
        rec[day::Date] = date;
        if (!s.cell(Duration, r).isEmpty()) {
            for (int i = 0; i < 4; ++i)
                rec[day::Heure1 + i] = s.cell(Arrival1 + i, r);
            rec[day::Duree] = cutTwoDecimals(durationHours(s.cell(Duration, r)));
        }
        for (int i = 0; i < 6; ++i)
            rec[day::FJ + i] = day::flagText(!s.cell(marks[i], r).isEmpty());
        rec[day::Moan] = monthKey(date);
        days.append(rec);
    }
    return days;
}

bool MonthSheet::hasDayEntries() const
{
    for (int r = 1; r <= sheet::LastDay; ++r)
        for (int c = sheet::Date; c < sheet::ColumnCount; ++c)
            if (!cell(c, r).isEmpty())
                return true;
    return false;
}

MonthSheet sheetFromDays(const QList<day::Record> &days)
{
    static constexpr Column marks[] = {Flat, Breakfast, Lunch, Snack, Dinner, Holiday};
    MonthSheet s;
    for (int c = 0; c < ColumnCount; ++c)
        s.cell(c, 0) = titles().at(c);
    for (int r = 1; r <= LastDay; ++r)
        s.cell(Day, r) = QString::number(r);
    for (const day::Record &rec : days) {
        const QDate date = QDate::fromString(rec[day::Date], shortDateFormat());
        if (!date.isValid())
            continue;
        const int r = date.day();
        for (int c = Date; c < ColumnCount; ++c)
            s.cell(c, r).clear();
        s.cell(Date, r) = rec[day::Date];
        for (int i = 0; i < 4; ++i)
            s.cell(Arrival1 + i, r) = rec[day::Heure1 + i];
        if (!rec[day::Duree].isEmpty()) {
            const auto time = [&](int field) {
                const QTime t = QTime::fromString(rec[field], clockFormat());
                return t.isValid() ? t : QTime(0, 0);
            };
            const QString fromTimes =
                dayDuration(time(day::Heure1), time(day::Heure2), time(day::Heure3), time(day::Heure4));
            const double stored = double(parseFloat(rec[day::Duree]));
            if (cutTwoDecimals(durationHours(fromTimes)) == cutTwoDecimals(stored)) {
                s.cell(Duration, r) = fromTimes;
            } else {
                // Durée is cut to two decimals of an hour: the nearest minute
                // is the one it was typed with.
                const int minutes = int(std::lround(std::clamp(stored, 0.0, 24.0) * 60.0)) % (24 * 60);
                s.cell(Duration, r) = QTime(minutes / 60, minutes % 60).toString(clockFormat());
            }
        }
        for (int i = 0; i < 6; ++i)
            if (rec[day::FJ + i] == day::flagText(true))
                s.cell(marks[i], r) = mark(marks[i]);
    }
    return s;
}
