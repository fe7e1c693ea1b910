#pragma once
// The month filled from the contract's planning: a parent with a regular
// contract types only the days that differed. Each planned day of the month
// (inside the contract, outside a period without care and a stated absence)
// gets the weekday's planned times and the child's usual ticks; a public
// holiday on a planned day stays empty, unless the contract's holidays are
// worked, and is then filled and marked. A day already on the sheet or
// stored is never replaced here: it is named, for the window to ask.
//
// And the month's summary shown under the sheet before it is validated: the
// planned hours, the hours typed, the absences' days and the holidays.

#include "attendance/monthsheet.h"
#include "contract/contract.h"
#include "legal/publicholidays.h"

#include <QDate>
#include <QList>
#include <QSet>
#include <QString>
#include <QTime>

namespace contract {

// What a planned day of the child is ticked with.
struct UsualTicks {
    bool flat = false, breakfast = false, lunch = false, snack = false, dinner = false;
    friend bool operator==(const UsualTicks &, const UsualTicks &) = default;
};

// The child's usual ticks from its parameters: the daily flat rate when the
// maintenance allowance is paid by the day (it counts the flat days), and
// each meal whose allowance is an amount above zero.
UsualTicks usualTicks(bool dailyAllowance, const QStringList &mealAllowances);

struct PlannedDay {
    QDate date;
    // The morning's arrival and departure; the afternoon's for a child who
    // goes home at noon, else null.
    QTime arrival1, departure1, arrival2, departure2;
    bool holiday = false; // a public holiday worked
    UsualTicks ticks;
    friend bool operator==(const PlannedDay &, const PlannedDay &) = default;
};

struct MonthFill {
    // Why nothing is filled (not a regular contract, planned times missing,
    // a month outside the contract); empty when the days below are the fill.
    QString failure;
    QList<PlannedDay> days;    // the planned days, in date order
    QList<QDate> present;      // those of them already on the sheet or stored
    QList<legal::PublicHoliday> holidaysOff; // on planned days, left empty
};

// The fill of month `month` of `year`. `holidays` are the public holidays
// of that month as the contract's region has them; `present` the days
// already on the sheet or in the child's table.
MonthFill monthFill(const Contract &c, int year, int month, const QList<legal::PublicHoliday> &holidays,
                    const UsualTicks &ticks, const QSet<QDate> &present);

// The days of the sheet holding an entry (a time, the flat rate, a mark).
QSet<QDate> daysOnSheet(const MonthSheet &sheet);

// The sheet with the fill's days written on their rows as the hours window
// writes a typed day (the times HH:MM:SS, none for the afternoon of a
// continuous day, the duration, the marks); the days in `present` only with
// `replacePresent`. Returns the rows written.
QList<int> writeFill(MonthSheet &sheet, const MonthFill &fill, bool replacePresent);

// Whether the row still holds what the fill wrote there: a row edited since
// is the parent's own.
bool rowAsFilled(const MonthSheet &sheet, int row, const PlannedDay &day);

struct MonthSummary {
    qint64 plannedMinutes = 0; // the contract's planned hours of the month
    qint64 typedMinutes = 0;   // the durations on the sheet
    int absenceDays = 0;       // planned days inside a stated absence
    QList<legal::PublicHoliday> holidays;
    // "Prévu : 160:00 · Saisi : 152:30 · Absences : 2 jours · Fériés : 1er mai, 8 mai"
    QString text() const;
};
MonthSummary monthSummary(const Contract &c, int year, int month, const QList<legal::PublicHoliday> &holidays,
                          const MonthSheet &sheet);

} // namespace contract
