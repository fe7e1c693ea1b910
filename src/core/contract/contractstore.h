#pragma once
// The file of the children's contracts, "Contrats.db" in the program folder
// (SQLite): one contract per child slot, its periods without care and its
// absences. The file is made by the first contract stored; its layout is
// marked with PRAGMA user_version.
//
// A file of an older layout is read as it is (a first layout's contracts pay
// the leave in June; the first two know no end of a contract, the first four
// no planned times: they read empty) and
// brought up to date by the next store, in the store's own transaction.
//
// A contract is written whole in one transaction: a write that fails (a
// read-only file, a full disk, a lock) leaves the previous file as it was,
// and a write the program was killed in is rolled back by SQLite when the
// file is next opened, read or written. A file that is not a contract file
// of one of its layouts (damaged, foreign, from a newer program, holding a
// trigger or a view, or a value outside its range) is refused whole with a
// French message, by every call, and never written.

#include "contract/contract.h"

#include <QString>
#include <optional>

namespace contract {

// Version 2 added when an incomplete year's paid leave is paid, version 3
// why the contract ends and when the letter was presented, version 4 the
// checks that hold every value to the range a typed one is held to
// (contract.h), so that SQLite itself refuses a row outside them, version 5
// each weekday's planned times and the public-holiday options.
inline constexpr int SchemaVersion = 5;
// The statements that lay out a new file (the restore checks a backup's
// file against them).
QStringList schema();
// Those that laid out a new file of `version` (1 to SchemaVersion; none for
// another): an older file is read only when its layout is exactly one of them.
QStringList schemaOf(int version);
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
