#pragma once
// The month's figures of a regular contract: the mensualised base, the
// absences deducted from it, the complementary and majorated hours of the
// weeks of the month, the public-holiday supplement and the month's salary.
//
// Inputs are values: the contract, the month, the child's stored days and
// the hourly rate R as the slips read it (four-decimal money). Hours stay
// exact in minutes; every amount is rounded once, to the cent, half away
// from zero, from the exact value (integer arithmetic, no floating point).

#include "contract/contract.h"
#include "contract/leavecalendar.h"
#include "payslip/money.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>

namespace contract {

// The holiday setting of the child's parameters: `Indentre` and `Indentr`.
struct HolidaySetting {
    bool on = false;
    Money multiplier = Money::fromCount(20000); // 2
};

// The days that were taken out of the base, run by run: consecutive
// deducted days of one absence (or before / after the contract) form a run.
struct DeductedRun {
    DateRange range;
    bool outsideContract = false; // before the first or after the last day
    Reason reason = Reason::MinderAbsent;
    qint64 minutes = 0;
    friend bool operator==(const DeductedRun &, const DeductedRun &) = default;
};

// A Monday-to-Sunday week counted in the month of its Thursday.
struct WeekFigures {
    QDate monday;
    qint64 worked = 0;        // T: the stored minutes of its days inside the contract
    qint64 planned = 0;       // C
    qint64 complementary = 0; // max(0, min(T, limit) - C)
    qint64 beyondLimit = 0;   // max(0, T - limit)
};

struct MonthFigures {
    int year = 0, month = 0;
    // Why there are no figures (no regular contract, a month outside it);
    // empty when there are.
    QString failure;
    bool outsideContract = false;
    bool complete() const { return failure.isEmpty(); }

    qint64 weeklyMinutes = 0; // H
    int weeksPerYear = 0;     // N
    // M = H x N / 12 minutes, exactly: mensualisedTwelfths / 12.
    qint64 mensualisedTwelfths = 0;
    // M in hours, to two decimals (half away from zero): for display only.
    qint64 mensualisedHundredths = 0;
    qint64 plannedMonth = 0;     // P, minutes
    qint64 deductedMinutes = 0;  // A, minutes
    QList<DeductedRun> deducted; // the days behind A, in date order
    QList<WeekFigures> weeks;
    qint64 complementaryMinutes = 0;
    qint64 majoratedMinutes = 0;
    qint64 holidayMinutes = 0; // worked on days marked as public holidays

    // Each rounded to the cent.
    Money base;      // B
    Money deduction; // D
    Money complementaryPay;
    Money majoratedPay;
    Money holidaySupplement;
    Money salary; // S
};

// The mensualised hours and base of a contract, the same every month.
struct Mensualised {
    qint64 twelfths = 0;   // M x 12, in minutes: H x N
    qint64 hundredths = 0; // M in hours to two decimals, half away from zero, for display
    Money base;            // B = M x R, to the cent
};
Mensualised mensualised(const Contract &c, Money rate);

// The days the month's figures read from the day table: from the start of
// the contract year holding the month's first day (its sick-child and
// hospital days count) to the Sunday of the month's last week.
DateRange daysNeeded(const Contract &c, int year, int month);

// `limits` are the legal ones in force in the month.
MonthFigures monthFigures(const Contract &c, int year, int month, const QList<StoredDay> &days, Money rate,
                          const HolidaySetting &holiday, const Limits &limits);

} // namespace contract
