#pragma once
// The records of a day-record table as SQLite itself holds them, read over a
// connection of the test's own: the fields of each record, quoted as SQLite
// quotes them ('2007-01-05', NULL, 7.83, 1), joined with "|".

#include "attendance/dayrecord.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

inline QStringList storedRows(const QString &path)
{
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "stored-rows");
        db.setDatabaseName(path);
        db.setConnectOptions("QSQLITE_OPEN_READONLY");
        if (!db.open())
            return {"cannot open"};
        QSqlQuery q(db);
        QStringList columns;
        for (const QString &n : day::fieldNames())
            columns << QString("quote(\"%1\")").arg(n);
        q.exec(QString("SELECT %1 FROM Jours ORDER BY rowid").arg(columns.join(',')));
        while (q.next()) {
            QStringList values;
            for (int i = 0; i < day::FieldCount; ++i)
                values << q.value(i).toString();
            rows << values.join('|');
        }
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase("stored-rows");
    return rows;
}

// The busy timeout, in ms, of every connection this process has open on the
// table: 0 for each one that fails at once on a table another connection
// holds, instead of waiting for it (the wait would only show as time, which
// a loaded machine stretches anyway).
inline QList<int> lockWaits(const QString &path)
{
    QList<int> waits;
    for (const QString &name : QSqlDatabase::connectionNames()) {
        const QSqlDatabase db = QSqlDatabase::database(name, false);
        if (!db.isOpen() || !db.databaseName().contains(QFileInfo(path).fileName()))
            continue;
        QSqlQuery q(db);
        waits << (q.exec("PRAGMA busy_timeout") && q.next() ? q.value(0).toInt() : -1);
    }
    return waits;
}
