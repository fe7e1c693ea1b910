#pragma once
// What a program folder holds, and laying out a fresh one.
//
// The build lays out the portable program folder beside the executable, and
// the installed program lays out the user's data folder at its first start,
// through the same rule: the first rates file, the five empty day-record
// tables and the folder of slip pictures. A file already there is the user's
// and is never replaced.

#include "common/programfiles.h"

#include <QFileDevice>
#include <QList>
#include <QString>
#include <QStringList>

namespace folder {

// The five day-record tables, "Enf1.db" to "Enf5.db".
QStringList dayTables();

// The plain files a backup holds beside the databases: the rates, the
// parameters and the family's particulars.
QStringList settingsFiles();

// An SQLite file the program keeps, and the statements that lay out a new
// one, taken from the unit that makes it: a backup takes every file of this
// list, and a restore accepts a table only with the very layout these
// statements give. A new database, or a new table in one, is one line there.
struct Database {
    QString name;
    QStringList (*schema)();
    // Every program folder has it from its first start; a backup without it
    // is not one of this program's.
    bool required = false;
    // What brings a file of an older layout version up to date (none for a
    // version it cannot): a backup made before is still restored, and the
    // unit brings the file up when it first opens it.
    QStringList (*upgrade)(int fromVersion) = nullptr;
    // What laid out a new file of an older version, when the unit keeps it:
    // an older file is then taken only with exactly that layout.
    QStringList (*olderSchema)(int version) = nullptr;
};
const QList<Database> &databaseFiles();
// Their names: the day tables, the slip archive and the contracts.
QStringList databases();

// Lays out `programFolder`: creates it when missing, the empty tables, the
// picture folder, and a copy of `firstRates` as its Taux.txt, each only when
// missing. The table of legal values shipped beside `firstRates` is copied
// when missing, and replaces an older edition that nobody edited (one whose
// text still matches the checksum of its header); an edited one is kept. Returns the paths it created. Raises the
// runtime's "Impossible de créer le fichier %s" when one cannot be made, and "Impossible d'ouvrir le fichier %s" when
// the rates file is missing and so is its original.
QStringList layOut(const QString &programFolder, const QString &firstRates);

// The permissions a file the program creates gets under the process's
// umask: `wanted` without the bits the umask takes away.
QFileDevice::Permissions underUmask(QFileDevice::Permissions wanted);

} // namespace folder
