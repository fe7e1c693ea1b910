#pragma once
// The paid leave of a regular contract: the days earned over each reference
// period (1 June to 31 May), the days taken over the leave year that follows
// it, the amount (the better of a tenth of the period's pay and the kept
// salary) and the months whose slips pay it.
//
// Inputs are values: the contract, the child's stored days (their
// public-holiday marks), the rate R and the salary S of each month as the
// month's figures give it. Money is rounded once, to the cent, half away
// from zero, as the month's figures are.

#include "contract/contract.h"
#include "contract/leavecalendar.h"
#include "payslip/money.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QStringList>

namespace contract {

// What one month's slip pays of a period's leave.
struct LeavePayout {
    QDate month;  // its first day
    int days = 0; // the days of leave it pays
    Money amount;
    bool complement = false; // a complete year's "Complément congés payés"
    friend bool operator==(const LeavePayout &, const LeavePayout &) = default;
};

struct LeavePeriod {
    int startYear = 0; // the period runs from 1 June of this year to 31 May of the next
    QDate from, to;
    bool running = false; // not over on the day asked about
    int weeksOfCare = 0;  // so far while it runs
    int earnedTenths = 0; // the days earned with one decimal, in tenths (whole once over)
    int daysEarned = 0;   // rounded up to a whole day, at most 30
    int daysTaken = 0;    // in the leave year that follows
    int daysLeft = 0;
    QList<QDate> unpaidDays; // a complete year's leave days taken beyond those earned
    Money pay;               // the period's salaries with the leave paid on their slips
    Money tenPercent;
    Money keptSalary; // of the days earned so far, not rounded up, while it runs
    Money amount;     // the better of the two
    bool tenPercentChosen = false;
    QList<LeavePayout> payouts; // in month order
};

// The first month of each month's salary S; a month without one counts 0.
using MonthSalaries = QMap<QDate, Money>;

// The periods of a regular contract from its first one to the one running
// on `today` (or holding its last day), the earliest first; the period
// before the first one too when leave is taken in its leave year.
QList<LeavePeriod> paidLeave(const Contract &c, const QList<StoredDay> &days, Money rate, const MonthSalaries &salaries,
                             QDate today);

// What the slip of the month starting `month` pays of the periods' leave:
// at most one payout of leave and one complement, leave first.
QList<LeavePayout> payoutsIn(const QList<LeavePeriod> &periods, QDate month);

// The captions of the "Congés" page's columns, and its rows: one per period,
// the running one first, as the page shows them.
const QStringList &leaveColumns();
QList<QStringList> leaveRows(const QList<LeavePeriod> &periods);

} // namespace contract
