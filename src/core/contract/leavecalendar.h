#pragma once
// The calendar of a regular contract's days, which the month's figures and
// the paid leave both stand on (it calls neither): which planned days an
// absence takes out of the base, the reference periods of paid leave (1 June
// to 31 May, a Monday-to-Sunday week belonging to the period of its
// Thursday) with their weeks of care, the leave days taken, and a complete
// year's leave days taken beyond the days earned.
//
// Inputs are values: the contract and the child's stored days (their
// public-holiday marks).

#include "attendance/daytable.h"
#include "contract/contract.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <optional>

namespace contract {

// One stored day as the contract needs it: its worked minutes and its
// public-holiday mark (the day table reads them).
using StoredDay = WorkedDay;
// The stored days by date: a day stored twice (a month validated again)
// counts as last stored.
QHash<QDate, StoredDay> byDate(const QList<StoredDay> &days);

// Which planned days of the contract's absences are deducted, from `from`
// to `to`: the absence's index for each deducted day. The counts of sick-child
// days run in date order within each contract year, so the caller starts at
// a contract year's first day.
QHash<QDate, int> deductedAbsenceDays(const Contract &c, QDate from, QDate to, const QHash<QDate, StoredDay> &stored);

// The period holding `day` by the week rule: a Monday-to-Sunday week belongs
// to the period that holds its Thursday. Returns its first year.
int leavePeriodOf(QDate day);
// The Monday of the first week and the Sunday of the last week of a period.
DateRange leavePeriodWeeks(int startYear);
// 1 June of `startYear` to 31 May of the next year: the period's dates, and
// the leave year of the period before it.
DateRange leavePeriodDates(int startYear);
// The first year of the 1 June to 31 May span holding `day` (by its date).
int leaveYearOf(QDate day);
// The last period of contract `c` asked about on `today`: the one running on
// `today` or holding its last day, never one before its first.
int lastLeavePeriod(const Contract &c, QDate today);

// The weeks of care of period `startYear`: the weeks holding a planned day
// that was not deducted; with `until`, only the weeks over by then.
int weeksOfCare(const Contract &c, int startYear, const QHash<QDate, int> &deducted,
                std::optional<QDate> until = std::nullopt);

// The leave days of the contract's paid-leave absences (or of `only`) in
// `range`: working days (Monday to Saturday) inside the contract, public
// holidays left out, in date order, each once.
QList<QDate> leaveDays(const Contract &c, const DateRange &range, const QHash<QDate, StoredDay> &stored,
                       const Absence *only = nullptr);

// A complete year's leave days from `from` to `to` taken beyond the days
// earned in the period before their leave year: they are deducted as an
// unpaid absence. `days` should reach back to that period's first week.
QList<QDate> unpaidLeaveDays(const Contract &c, const QList<StoredDay> &days, QDate from, QDate to);

} // namespace contract
