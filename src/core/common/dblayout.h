#pragma once
// Whether an SQLite file is one the program may read and write: the same
// judgement for a file in the program folder and for one a backup brings.
//
// A file passes when it is sound (SQLite's own check, which also checks each
// row against the tables' NOT NULL and CHECK constraints), holds no trigger
// or view (they would act behind the program's back on its next write), and
// has exactly the layout the program gives a new file: the same tables,
// columns, types, keys, indexes and constraints, compared on the statements
// SQLite keeps, blanks and comments aside. A file of an older layout passes
// when it has exactly that older layout (when the unit knows it) and the
// unit's upgrade, tried on a copy in memory, brings it to exactly the
// present one: the rows then fit the present checks too.

#include <QString>
#include <QStringList>

struct sqlite3;

namespace dblayout {

struct Shape {
    // The statements that lay out a new file of the present layout version.
    QStringList (*schema)() = nullptr;
    // Those that bring a file of an older version up to date (none for a
    // version it cannot).
    QStringList (*upgrade)(int fromVersion) = nullptr;
    // Those that laid out a new file of an older version, when the unit
    // keeps them; without them an older file is judged by its upgrade alone.
    QStringList (*olderSchema)(int version) = nullptr;
};

enum class Verdict {
    Empty,   // no table and no version yet: a file about to be laid out
    Current, // exactly the present layout
    Older,   // an older layout that the upgrade brings exactly to the present one
    Newer,   // a version above the present one
    Damaged, // SQLite finds it unsound, or a row breaks a constraint
    Hostile, // it holds a trigger or a view
    Foreign, // any other layout
};

struct Finding {
    Verdict verdict = Verdict::Foreign;
    int version = 0; // the file's PRAGMA user_version
};

// Judges the database open on `db` (a file, or bytes loaded in memory).
// Reads only: the file is never changed.
Finding judge(sqlite3 *db, const Shape &shape);

// The statement text as compared: comments dropped, each run of blanks one
// space, none beside brackets and commas; quoted text kept as it is.
QString normalised(const QString &sql);

} // namespace dblayout
