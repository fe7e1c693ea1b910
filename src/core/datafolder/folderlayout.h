#pragma once
// What a program folder holds, and laying out a fresh one.
//
// The build lays out the portable program folder beside the executable, and
// the installed program lays out the user's data folder at its first start,
// through the same rule: the first rates file, the five empty day-record
// tables and the folder of slip pictures. A file already there is the user's
// and is never replaced.

#include "common/programfiles.h"

#include <QString>
#include <QStringList>

namespace folder {

// The five day-record tables, "Enf1.db" to "Enf5.db".
QStringList dayTables();
// Every SQLite file the program keeps: the day tables and the slip archive.
QStringList databases();

// Lays out `programFolder`: creates it when missing, the empty tables, the
// picture folder, and a copy of `firstRates` as its Taux.txt, each only when
// missing. The table of legal values shipped beside `firstRates` is copied
// when missing, and replaces an older edition that nobody edited (one whose
// text still matches the checksum of its header); an edited one is kept. Returns the paths it created. Raises the runtime's "Impossible de
// créer le fichier %s" when one cannot be made, and "Impossible d'ouvrir le
// fichier %s" when the rates file is missing and so is its original.
QStringList layOut(const QString &programFolder, const QString &firstRates);

} // namespace folder
