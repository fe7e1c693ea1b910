#pragma once
// The end of a regular contract: the notice and the pay of the notice not
// worked, the termination indemnity, the true-up of an incomplete year, the
// leave not taken, and the months whose slip was never saved (the totals
// rest on the saved slips and the stored days).
//
// Inputs are values: the contract (its last day of care, why it ends and
// when the letter was first presented), the child's stored days, the saved
// slips' figures, the month's figures of each of its months, the rate R and
// the paid-leave periods. Money is rounded once, to the cent, half away from
// zero, from exact values.

#include "contract/contract.h"
#include "contract/monthfigures.h"
#include "contract/paidleave.h"
#include "payslip/money.h"

#include <QDate>
#include <QList>
#include <QString>

namespace contract {

// What the end needs of one saved slip.
struct SavedSlipFigures {
    QDate month; // its first day
    bool grossBasis = false;
    qint64 salbrut = 0, salnet = 0, totcs = 0;         // cents
    qint64 complementaryHours = 0, majoratedHours = 0; // hundredths of an hour
};

enum class Notice { None, FifteenDays, OneMonth };

struct EndOfContract {
    // Why there are no figures (no regular contract, no reason, no date);
    // empty when there are.
    QString failure;
    bool complete() const { return failure.isEmpty(); }

    Notice notice = Notice::None;
    QDate noticeEnd;              // its last day; null without a notice
    QDate contractEnd;            // contractEndDate: the day the documents give
    qint64 noticeMinutes = 0;     // planned after the last day of care, up to the notice's end
    Money noticePay;

    bool indemnityDue = false;    // a withdrawn child after the months of contract the rule asks
    Money salaryTotal;            // the gross salaries of the saved slips
    Money earlierTotal;           // the same without the last month's
    bool fromNet = false;         // some of them are net salaries carried to gross
    Money indemnity;              // the rule's share of the total

    bool trueUpApplies = false;   // an incomplete year
    qint64 workedHundredths = 0;  // W, hours to two decimals, for display
    qint64 paidHundredths = 0;    // Q
    Money trueUp;                 // R x (W - Q), negative when fewer hours were worked
    Money trueUpPaid() const { return trueUp > Money() ? trueUp : Money(); }

    int leaveDays = 0;            // earned and not taken, paid on the last slip
    Money leavePay;

    QList<QDate> missingMonths;   // first days of the months without a saved slip

    // Everything paid at the end, besides the last month's salary.
    Money totalPaid() const;
};

// The notice of contract `c` by its reason and the letter's date, and its
// last day (null without a notice or without those two).
struct NoticeSpan {
    Notice notice = Notice::None;
    QDate end;
};
NoticeSpan noticeOf(const Contract &c);

// The day the contract ends in law, which the documents give: the notice's
// end when it runs past the last day of care (a notice not worked is paid,
// and the contract lasts until it is over), the last day of care otherwise.
QDate contractEndDate(const Contract &c);

// The figures of the end of contract `c`. `months` are the month's figures
// of its months (those without figures count nothing), `leave` the paid
// leave's periods of the contract ended on its last day.
EndOfContract endOfContract(const Contract &c, const QList<StoredDay> &days, const QList<SavedSlipFigures> &slips,
                            const QList<MonthFigures> &months, Money rate, const QList<LeavePeriod> &leave);

// The indemnity the last slip pays: the saved slips' salaries before the
// last month with the last slip's own gross salary `lastGross` (a net slip's
// carried to gross), so that the slip does not wait for its own saving.
Money lastSlipIndemnity(const EndOfContract &e, Money lastGross);

// A figure of the end as the page and the receipt show it.
struct EndLine {
    QString caption, value;
    friend bool operator==(const EndLine &, const EndLine &) = default;
};
// Every figure, in the page's order, with its French caption.
QList<EndLine> endLines(const EndOfContract &e);
// The sums paid at the end, each one that is not nil, then their total.
QList<EndLine> receiptLines(const EndOfContract &e);

} // namespace contract
