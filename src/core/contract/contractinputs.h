#pragma once
// The one loader of the contract's computations: what a slip, a page of the
// contract window or an end document needs from the program folder, each
// file read once (the child's contract in Contrats.db, the legal table in
// Baremes.txt, the child's stored days in its day table, the saved slips in
// Bulletins.db), held as values and handed to the pure units: the month's
// figures, the paid leave, the end of the contract and the contract slip.
//
// Only the load... functions and the two questions at the end read files;
// every other function here works on the values alone.

#include "contract/contract.h"
#include "contract/contractslip.h"
#include "contract/endofcontract.h"
#include "contract/leavecalendar.h"
#include "contract/monthfigures.h"
#include "contract/paidleave.h"
#include "legal/legaltable.h"
#include "legal/publicholidays.h"
#include "payslip/money.h"
#include "payslip/slip.h"

#include <QList>
#include <QSet>
#include <QString>

namespace contract {

struct ContractInputs {
    // The child's stored contract (the occasional kind when there is none),
    // or the one handed to the loader.
    Contract contract;
    // The legal table, or the message saying why there is none.
    legal::Loaded law;
    // The child's stored days from the first one any computation of the
    // contract reads (the first week of its first leave period, or of the
    // slip's month) on; none for a contract with nothing to work out.
    QList<StoredDay> days;
    // The saved slips' figures of the contract's years, for its end; read
    // only when the end is asked for.
    QList<SavedSlipFigures> slips;
};

// For the slip of the month of key `monthKey` (MMYY) of child slot 1 to 5:
// the contract and the legal table; for a month the regular contract pays,
// the days; for the month of its last day, the saved slips. Raises when the
// contract file or a table cannot be read. Nothing but the legal table is
// read for a key that is not a month.
ContractInputs loadSlipInputs(const QString &programFolder, int slot, const QString &monthKey);

// For the contract `shown` (the one a window holds, stored or not) of child
// slot 1 to 5: the legal table, the days, and with `savedSlips` the saved
// slips. Raises when a table cannot be read.
ContractInputs loadContractInputs(const QString &programFolder, int slot, const Contract &shown, bool savedSlips);

// The month's figures of the inputs' contract: a regular contract in a month
// whose legal limits the table does not know (or without the table) has
// none, and says why.
MonthFigures monthFiguresOf(const ContractInputs &in, int year, int month, Money rate, const HolidaySetting &holiday);

// The paid leave of the inputs' contract on `today`, each month's salary S
// from its figures (a month whose figures cannot be had counts none).
QList<LeavePeriod> paidLeaveOf(const ContractInputs &in, Money rate, const HolidaySetting &holiday, QDate today);

// The end of the inputs' contract, with the leave as the contract ended on
// its last day leaves it.
EndOfContract endOfContractOf(const ContractInputs &in, Money rate, const HolidaySetting &holiday);

// The slip of the month of `slip`'s key: its figures, the paid leave of
// every period up to the month's last day, and in the month of the last day
// the end of the contract.
ContractSlip contractSlipOf(const ContractInputs &in, const SlipInput &slip, bool grossBasis);

// What the month filled from the planning needs, for month `month` of `year`
// of child slot 1 to 5: the child's stored contract (the occasional kind
// when there is none), the month's public holidays as the contract's
// region has them, and the days of that month the child's table holds.
// Raises when a file cannot be read.
struct FillInputs {
    Contract contract;
    QList<legal::PublicHoliday> holidays;
    QSet<QDate> stored;
};
FillInputs loadFillInputs(const QString &programFolder, int slot, int year, int month);
// The child's stored contract alone (the occasional kind when there is none).
Contract storedContractOf(const QString &programFolder, int slot);
// The public holidays of a month as contract `c` has them.
QList<legal::PublicHoliday> holidaysOf(const Contract &c, int year, int month);

// Whether the month of key `monthKey` of child slot `slot` is paid by its
// regular contract, and the line of a slip paid by the hour for a month that
// contract does not cover (contractslip.h): the contract file alone is read.
bool paidByContract(const QString &programFolder, int slot, const QString &monthKey);
QString hourlySlipNoteOf(const QString &programFolder, int slot, const QString &monthKey, bool grossBasis);

} // namespace contract
