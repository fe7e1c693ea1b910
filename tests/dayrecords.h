#pragma once
// A day as the hours window stores it, for the tests that fill a child's day
// table directly: its date (dd/MM/yyyy), its duration (decimal hours, or
// none), no box ticked, its month key from the date.

#include "attendance/daytable.h"
#include "common/monthkey.h"

#include <QList>
#include <QString>

inline day::Record storedDay(const QString &date, const QString &duration = {})
{
    day::Record r;
    r[day::Date] = date;
    r[day::Duree] = duration;
    for (int f = day::FJ; f <= day::Ferie; ++f)
        r[f] = day::flagText(false);
    r[day::Moan] = monthKey(date);
    return r;
}

// Stores `days` into the table `tableName` of the program folder `folder`
// (ending with "/") as one validated month would be.
inline void storeDays(const QString &folder, const QString &tableName, const QList<day::Record> &days)
{
    DayTable t;
    t.setFolder(folder);
    t.setTableName(tableName);
    t.storeMonth(days);
}
