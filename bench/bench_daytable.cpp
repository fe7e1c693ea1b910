// One validation of a full month into a table that already holds twenty
// years of days, through the program's table access, against the same 31
// inserts written directly with SQLite's C API in one transaction.

#include "attendance/daytable.h"
#include "attendance/monthsheet.h"

#include "benchfixture.h"

#include <QCoreApplication>
#include <sqlite3.h>

namespace {
QString g_folder;

MonthSheet fullMonth()
{
    MonthSheet s;
    for (int r = 1; r <= sheet::LastDay; ++r) {
        s.cell(sheet::Date, r) = QString("%1/01/2027").arg(r, 2, 10, QChar('0'));
        s.cell(sheet::Arrival1, r) = "08:00:00";
        s.cell(sheet::Departure1, r) = "12:00:00";
        s.cell(sheet::Arrival2, r) = "13:30:00";
        s.cell(sheet::Departure2, r) = "17:45:00";
        s.cell(sheet::Duration, r) = "08:15:00";
        s.cell(sheet::Lunch, r) = sheet::mark(sheet::Lunch);
    }
    return s;
}

// A fresh table holding one record per day of twenty years (about 7300).
QString twentyYearTable(const char *name)
{
    const QString path = g_folder + name;
    QFile::remove(path);
    storeMonths(g_folder, QString::fromLatin1(name), QDate(2007, 1, 1), QDate(2027, 1, 1),
                [](QDate d) { return careDay(d, 8 * 60, false); });
    return path;
}

void BM_ValidateMonth(benchmark::State &state)
{
    twentyYearTable("Enf1.db");
    DayTable t;
    t.setFolder(g_folder);
    t.setTableName("Enf1.db");
    const MonthSheet month = fullMonth();
    for (auto _ : state)
        t.storeMonth(daysToStore(month));
}
BENCHMARK(BM_ValidateMonth)->Unit(benchmark::kMicrosecond)->Name("month validation: program (31 days)");

void BM_SqliteDirect(benchmark::State &state)
{
    const QByteArray path = twentyYearTable("Enf2.db").toUtf8();
    const char *insert = "INSERT INTO Jours VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)";
    for (auto _ : state) {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, insert, -1, &st, nullptr);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (int d = 1; d <= 31; ++d) {
            char date[11];
            std::snprintf(date, sizeof date, "2027-01-%02d", d);
            sqlite3_bind_text(st, 1, date, -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 2, "08:00:00", -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 3, "12:00:00", -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 4, "13:30:00", -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 5, "17:45:00", -1, SQLITE_STATIC);
            sqlite3_bind_double(st, 6, 8.25);
            for (int f = 7; f <= 12; ++f)
                sqlite3_bind_int(st, f, f == 9);
            sqlite3_bind_text(st, 13, "0127", -1, SQLITE_STATIC);
            if (sqlite3_step(st) != SQLITE_DONE)
                state.SkipWithError(sqlite3_errmsg(db));
            sqlite3_reset(st);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_finalize(st);
        sqlite3_close(db);
    }
}
BENCHMARK(BM_SqliteDirect)
    ->Unit(benchmark::kMicrosecond)
    ->Name("month validation: raw sqlite3 inserts in one transaction (baseline)");
} // namespace

int main(int argc, char **argv)
{
    BenchRun<QCoreApplication> bench(argc, argv);
    g_folder = programFolder();
    return bench.run();
}
