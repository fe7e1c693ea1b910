#pragma once
// The program folder and the clock, both replaceable by tests.

#include <QDate>
#include <QDateTime>
#include <QString>

// The folder of the program's executable, ending with "/". Every file the
// program keeps is found there under a fixed name.
QString programFolder();
// Points the program at another folder (tests); an empty path restores the default.
void setProgramFolder(const QString &folder);

// The current local date and time; tests can pin it.
QDateTime now();
void setNowForTests(const QDateTime &fixed); // an invalid date-time releases it

// Date-time numbers as the stored records hold them: days since
// 30 December 1899 00:00, the time of day as the fraction.
double toDateNumber(const QDateTime &dateTime);
QDateTime fromDateNumber(double days);

// The short date form of the program: DD/MM/YYYY.
QString shortDate(const QDate &date);
