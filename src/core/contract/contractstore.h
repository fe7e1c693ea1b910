#pragma once
// The file of the children's contracts, "Contrats.db" in the program folder
// (SQLite): one contract per child slot, its periods without care and its
// absences. The file is made by the first contract stored; its layout is
// marked with PRAGMA user_version.
//
// A file of an older layout is read as it is (a first layout's contracts pay
// the leave in June; neither older layout knows how a contract ends) and
// brought up to date by the next store, in the store's own transaction.
//
// A contract is written whole in one transaction: a write that fails (a
// read-only file, a full disk, a lock) leaves the previous file as it was. A
// file that is not a contract file of this layout (damaged, foreign, or from
// a newer program) is refused with a French message and never written.

#include "contract/contract.h"

#include <QString>
#include <optional>

namespace contract {

// Version 2 added when an incomplete year's paid leave is paid, version 3
// why the contract ends and when the letter was presented.
inline constexpr int SchemaVersion = 3;
// The statements that lay out a new file (the restore checks a backup's
// file against them).
QStringList schema();
// The statements that bring a file of an older layout up to this one (none
// for a version it cannot): a store does it in its own transaction, and the
// restore takes a backup of that layout.
QStringList upgrade(int fromVersion);

// The contract of child slot 1 to 5 in the file at `path`; none when the
// file, or the slot's contract, is not there. Reading never makes a file.
std::optional<Contract> loadContract(const QString &path, int slot);
// Replaces the slot's contract, making the file when it is missing. Raises
// with the reason, and stores nothing, on any failure.
void storeContract(const QString &path, int slot, const Contract &c);
// Why the file at `path` is not a sound contract file of this layout; empty
// when it is.
QString checkContractFile(const QString &path);

} // namespace contract
