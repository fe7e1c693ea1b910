#pragma once
// The program folder and the clock, both replaceable by tests.

#include <QDate>
#include <QDateTime>
#include <QString>

// The program folder, ending with "/": every file the program keeps is found
// there under a fixed name. It is the executable's folder when the program
// runs from a folder of its own that it may write (the portable layout the
// build makes); an installed program, or one in a folder it may not write,
// keeps its files in the user's data folder instead.
QString programFolder();
// Whether the program folder is the user's own data folder (an installed
// program's), not the portable one beside the executable.
bool programFolderIsPerUser();
// Points the program at another folder (tests); an empty path restores the default.
void setProgramFolder(const QString &folder);

// The rule behind programFolder(): `executableFolder` when it is writable and
// not an installed program's folder, otherwise `perUserFolder`. A folder its
// owner may not write counts as read-only even for a user the system would
// let through (root). Both end with "/".
QString chooseProgramFolder(const QString &executableFolder, const QString &perUserFolder);

// The folder that holds the files installed with the program (the first
// Taux.txt, the help), ending with "/": the installed package's shared folder
// when there is one beside the executable, otherwise the executable's folder.
QString installedFilesFolder(const QString &executableFolder);
// The same for the running program.
QString installedFilesFolder();
// The help folder "Aide/", ending with "/": an installed program's shared
// one, unless the program folder holds its own (the portable layout, and a
// program run from its build, always use the program folder's).
QString helpFolder(const QString &programFolder, const QString &executableFolder);
// The same for the running program.
QString helpFolder();

// The current local date and time; tests can pin it.
QDateTime now();
void setNowForTests(const QDateTime &fixed); // an invalid date-time releases it

// Date-time numbers as the stored records hold them: days since
// 30 December 1899 00:00, the time of day as the fraction.
double toDateNumber(const QDateTime &dateTime);
QDateTime fromDateNumber(double days);

// The short date form of the program, DD/MM/YYYY, as Qt writes it, and a date in it.
QString shortDateFormat();
QString shortDate(const QDate &date);
// The time of day as the sheets and tables hold it, HH:MM:SS, as Qt writes it.
QString clockFormat();
// A planned duration of a day, HH:MM, as Qt writes it.
QString hoursMinutesFormat();
// A date in ISO form, YYYY-MM-DD, as Qt writes it: the day tables store
// their dates so, and the backups are named by it.
QString isoDateFormat();
