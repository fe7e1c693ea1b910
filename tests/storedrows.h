#pragma once
// The records of a day-record table as SQLite itself holds them, read over a
// connection of the test's own: the fields of each record, quoted as SQLite
// quotes them ('2007-01-05', NULL, 7.83, 1), joined with "|".

#include "attendance/dayrecord.h"

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
