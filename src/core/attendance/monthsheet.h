#pragma once
// The month sheet: 31 day rows of 13 text cells under a title row, as the
// hours window shows it and the pay slips read it, and what the validation
// of a month computes from it.

#include "attendance/dayrecord.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace sheet {
enum Column {
    Day,
    Date,
    Arrival1,
    Departure1,
    Arrival2,
    Departure2,
    Duration,
    Flat,
    Breakfast,
    Lunch,
    Snack,
    Dinner,
    Holiday,
    ColumnCount
};
constexpr int RowCount = 32; // the title row and days 1 to 31
constexpr int LastDay = 31;

// The titles of the thirteen columns, "Jour" to "Ferié".
const QStringList &titles();
// The mark a ticked box leaves in its column: "OUI" for the flat rate and
// the public holiday, "PD", "Déj", "Gouter", "Diner" for the meals.
QString mark(Column column);
} // namespace sheet

class MonthSheet {
public:
    QString &cell(int col, int row) { return m_cells[index(col, row)]; }
    const QString &cell(int col, int row) const { return m_cells[index(col, row)]; }
    // Whether any day row holds an entry (a date, a time, a mark).
    bool hasDayEntries() const;
    bool operator==(const MonthSheet &) const = default;

private:
    static std::size_t index(int col, int row) { return std::size_t(row) * sheet::ColumnCount + std::size_t(col); }
    std::array<QString, std::size_t(sheet::ColumnCount) * sheet::RowCount> m_cells;
};

struct MonthTotals {
    double hours = 0;             // the sum of the days' decimal hours
    int flatDays = 0;             // the days marked "OUI" in the flat-rate column
    QString hoursText() const;    // cut to two decimals
    QString flatDaysText() const; // a whole number
};

// Whether a day row holds an entry: a time other than the 00:00:00 a picker
// merely left writes, the flat rate or a mark. Its date alone is none.
bool rowHoldsEntry(const MonthSheet &sheet, int row);

// One sheet holds one month, so that its validation stores, and may
// replace, that month only. The first day of that month: the month of the
// first dated row holding an entry, row `skip` left out (the row a new date
// goes into, replacing its own). Null while there is none. The date and the
// 00:00:00 that the day picker and the time pickers write when merely left
// are no entry: they fix no month.
QDate sheetMonth(const MonthSheet &sheet, int skip = 0);
// The dated rows of another month than `day`'s holding no entry: once a day
// of the month is taken they are emptied, so that nothing of another month
// is stored.
QList<int> strayRows(const MonthSheet &sheet, QDate day);

// A day row with neither a duration nor the flat rate is not a day of care:
// its date is emptied so that it is not stored. Its meals stay on the sheet.
void clearIdleDays(MonthSheet &sheet);

// The month's hours and flat-rate days. A duration on a row without a date
// counts no hours: such a row is not a stored day either.
MonthTotals monthTotals(const MonthSheet &sheet);

// The records of the dated rows, in day order: the times and Durée only
// when the row has a duration, Durée in decimal hours cut to two decimals,
// the six marks as "Vrai"/"Faux", the month key from the row's own date.
QList<day::Record> daysToStore(const MonthSheet &sheet);

// What "&Valide" makes of the sheet: the idle days' dates emptied, the
// month's totals, the records to store, and the month key the slip is filed
// under, the last stored day's (empty when no day is dated).
struct MonthValidation {
    MonthSheet sheet;
    MonthTotals totals;
    QList<day::Record> days;
    QString monthKey;
};
MonthValidation validateMonth(const MonthSheet &sheet);

// The sheet a month's stored days came from, as its validation left it:
// each record on the row of its date's day, its times, the marks of its
// flags, and the duration worked out again from its times as the pickers
// did. A Durée typed over in the review since (one the times no longer give)
// is kept, to the minute. A day stored twice shows its later record. Only
// what a validation stores comes back: a day with meals but neither hours
// nor the flat rate was never stored.
MonthSheet sheetFromDays(const QList<day::Record> &days);
