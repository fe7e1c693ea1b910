#pragma once
// The slip of a regular contract's month: the pay block worked out from the
// contract (the mensualised salary, the absences taken out of it, the extra
// hours and the holiday supplement, up to the month's salary S), and the rest
// of the slip by the basis's own steps with S in place of the base pay.
//
// Inputs are the slip's inputs (the parameters and the validated month) and
// the contract with its stored days; the hourly rate R is the slip's own
// hourly wage of the basis (SH on the net basis, SHbr on the gross basis).

#include "contract/monthfigures.h"
#include "contract/endofcontract.h"
#include "contract/paidleave.h"
#include "payslip/declaration.h"
#include "payslip/slip.h"
#include "common/monthkey.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

namespace contract {

// The texts of the pay block, named after the slip window's labels. Hours are
// decimal hours with two decimals ("173.33"), amounts as the slips show them.
struct ContractPay {
    QString hmens, tauxh, salmens;        // M h x R = B
    QString habs, hplan, deduc, datesabs; // A h of P h, -D, the days deducted
    QString hcomp, mtcomp;                // complementary hours and their pay
    QString hmaj, mtmaj;                  // majorated hours and their pay
    QString hferie, mtferie;              // hours worked on public holidays, their supplement
    QString libcp, jcp, mtcp;             // the paid leave's caption ("Congés payés :"), days and amount
    // The last slip of a contract that ends: the notice not worked (its
    // hours and pay) and the true-up, salary lines; the termination
    // indemnity, paid apart. Empty on any other slip.
    QString hpreavis, mtpreavis, mtregul, mtrupture;
    QString salmois; // S with the paid leave and the end's salary lines
    friend bool operator==(const ContractPay &, const ContractPay &) = default;
};

struct ContractSlip {
    MonthFigures figures;
    // Why the month has no contract slip (no regular contract, a month
    // outside it), said in the slip window; empty when it has one.
    QString failure;
    ContractPay pay;
    // The paid leave the month pays, on top of S or (a complete year's
    // complement) inside it.
    QList<LeavePayout> leave;
    // The end of the contract, on the slip of its last month.
    std::optional<EndOfContract> end;
    Money indemnity; // the termination indemnity this slip pays
    // The rest of the slip; it may stop on a text that is not a number, as
    // the slips paid by the hour do.
    SlipResult slip;
    // What the declaration and the archive take from the contract.
    ContractHours hours;
    // The days typed on the sheet that the slip does not pay as typed
    // (typedDayNotes); the figures are the contract's all the same.
    QStringList notes;
    bool complete() const { return failure.isEmpty() && slip.complete(); }
};

// Decimal hours with two decimals, half up from minutes: "173.33".
QString decimalHours(qint64 hundredths);

// The caption of the paid-leave line for the month's payouts: "Congés payés",
// or "Complément congés payés" for a complete year's June complement alone.
QString leaveCaption(const QList<LeavePayout> &leave);

// The month of the slip's inputs (its key MMYY) for contract `c`, its stored
// days and the legal limits in force in the month; `leave` is what the month
// pays of the paid leave (payoutsIn); `end`, the end of the contract, is paid
// on the slip of the month of its last day.
ContractSlip contractSlip(const SlipInput &in, bool grossBasis, const Contract &c, const QList<StoredDay> &days,
                          const Limits &limits, const QList<LeavePayout> &leave = {},
                          const std::optional<EndOfContract> &end = std::nullopt);

// What the slip of a month is worked out from, once the slip's rate and
// holiday setting are read: the month's figures, the contract they come
// from, what the month pays of the paid leave and, in the month of its last
// day, the end of the contract (contractinputs.h puts them together).
struct MonthParts {
    MonthFigures figures;
    Contract contract;
    QList<LeavePayout> leave;
    std::optional<EndOfContract> end;
};
using MonthPartsOf = std::function<MonthParts(const MonthKey &month, Money rate, const HolidaySetting &holiday)>;
ContractSlip contractSlip(const SlipInput &in, bool grossBasis, const MonthPartsOf &partsOf);

// The days of month `month` typed on the sheet (`days`, the sheet's dated
// rows) that contract `c` does not pay as they were typed, each kind on a
// line of its own: days before its first day or after its last (not its
// days: not paid), and days typed worked inside a stated absence (the
// absence's rule holds, not the hours typed). Empty when there are none.
QStringList typedDayNotes(const Contract &c, const MonthKey &month, const std::array<SheetDay, 31> &days);

// The line of a slip paid by the hour for a month that the child's regular
// contract `c` does not cover: the month lies outside it, and which slip
// is computed instead. Empty for a child without a regular contract, for a
// month it pays, and for a key that is not a month.
QString hourlySlipNote(const std::optional<Contract> &c, const QString &monthKey, bool grossBasis);

// Whether the month of key `monthKey` is paid by the regular contract `c`:
// a complete or an incomplete year whose dates cover some of the month. A
// contract of the occasional kind, or a key that is not a month, is not.
bool paidByContract(const Contract &c, const QString &monthKey);

} // namespace contract
