#pragma once
// The contract's fixed rules: the numbers that the Code du travail and the
// national collective agreement of private employers (IDCC 3239, in force
// since 1 January 2022) set for a registered childminder, each named once
// with its reason. The values that change at dated points (the most hours
// of a week, the least majoration beyond them, the most weeks of an
// incomplete year, the wages) are the legal table's (Baremes.txt), never here.
//
// Below them, the scales the computations count in, as named helpers: hours
// of minutes, pay of minutes at an hourly rate, days of leave in tenths.

#include "payslip/money.h"

#include <algorithm>

namespace contract::rules {

// A complete year is 52 weeks of care (47 worked and 5 of leave), and no year holds more.
inline constexpr int WeeksPerYear = 52;
// The mensualised salary spreads the year's hours over its 12 months: M = H x N / 12.
inline constexpr int MonthsPerYear = 12;

// A child's sick days (medical certificate) deducted at most 5 per contract year (IDCC 3239).
inline constexpr int SickDaysDeducted = 5;
// A hospitalised child's days deducted for at most 14 consecutive calendar days (IDCC 3239).
inline constexpr int HospitalDaysDeducted = 14;

// Paid leave is earned 2.5 working days (25 tenths) per 4 weeks of care (Code du travail L3141-3, L3141-4).
inline constexpr int LeaveTenthsPerPortion = 25;
inline constexpr int LeaveWeeksPerPortion = 4;
// No more than 30 working days a period (L3141-3).
inline constexpr int LeaveDaysMax = 30;
// Leave counts working days, Monday to Saturday: a day is 1/6 of a week (L3141-3).
inline constexpr int WorkingDaysPerWeek = 6;
// The reference period runs from 1 June to 31 May (R3141-4).
inline constexpr int LeavePeriodFirstMonth = 6;
// The leave's amount is at least a tenth of the period's pay (L3141-24).
inline constexpr int LeaveSharePercent = 10;
// The main leave is at least 12 continuous working days (L3141-19).
inline constexpr int MainLeaveDays = 12;

// Notice: 15 calendar days before one year of contract (IDCC 3239)...
inline constexpr int ShortNoticeDays = 15;
inline constexpr int LongNoticeFromYears = 1;
// ...one month from then on.
inline constexpr int LongNoticeMonths = 1;

// The termination indemnity: 1/80 of the contract's gross salaries (IDCC 3239)...
inline constexpr int IndemnityDivisor = 80;
// ...due when the parent ends a contract of 9 months or more.
inline constexpr int IndemnityFromMonths = 9;

// The scales.
inline constexpr int MinutesPerHour = 60;
inline constexpr int TenthsPerDay = 10;

// Hours in hundredths (two decimals, half away from zero) of `minutes / per`
// minutes: `per` 12 for twelfths of a minute.
inline qint64 hundredthsOfHour(__int128 minutes, __int128 per = 1)
{
    return roundHalfAway(minutes * 100, per * MinutesPerHour);
}

// The pay, to the cent (half away from zero), of `minutes / per` minutes at
// the hourly rate `rate`.
inline Money payOfMinutes(__int128 minutes, __int128 per, Money rate)
{
    // minutes / per / 60 hours x rate / 10000 euros, in cents.
    return centsOf(minutes * rate.count(), per * MinutesPerHour * 100);
}

// The pay of `days / per` working days of a week of `weeklyMinutes` at `rate`.
inline Money payOfDays(__int128 days, __int128 per, int weeklyMinutes, Money rate)
{
    return payOfMinutes(days * weeklyMinutes, per * WorkingDaysPerWeek, rate);
}

// The leave earned by `weeks` weeks of care, exactly, in
// 1/(LeaveWeeksPerPortion x TenthsPerDay) of a day, capped.
constexpr int leaveEarnedExactly(int weeks)
{
    return std::min(weeks * LeaveTenthsPerPortion, LeaveDaysMax * LeaveWeeksPerPortion * TenthsPerDay);
}
inline constexpr int LeaveEarnedPerDay = LeaveWeeksPerPortion * TenthsPerDay;

// The days earned, rounded up to a whole day, at most 30.
constexpr int daysEarned(int weeks)
{
    return (leaveEarnedExactly(weeks) + LeaveEarnedPerDay - 1) / LeaveEarnedPerDay;
}

// The days earned in tenths of a day, to the nearest tenth (half up), at
// most 30 days: what a period still running has earned so far.
constexpr int tenthsEarned(int weeks)
{
    return (2 * leaveEarnedExactly(weeks) + LeaveWeeksPerPortion) / (2 * LeaveWeeksPerPortion);
}

} // namespace contract::rules
