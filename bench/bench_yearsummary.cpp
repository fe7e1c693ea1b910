// The year of one child read from an archive holding 25 years of slips of
// five children (1500 rows): through the program's archive access, and as
// the whole summary (archive, day table and pictures), against the same
// query in the sqlite3 command-line shell: once with its process start
// spread over 200 runs of the query in one session, once started for the
// one query.

#include "archive/sliparchive.h"
#include "archive/yearsummary.h"

#include "benchfixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

namespace {
QString g_folder;
constexpr int Year = 2015;

void fillArchive()
{
    SlipArchive a(g_folder + SlipArchive::fileName());
    a.begin();
    for (int year = 2001; year <= 2025; ++year)
        for (int slot = 1; slot <= 5; ++slot)
            for (int month = 1; month <= 12; ++month) {
                ArchivedSlip s;
                s.slot = slot;
                s.firstName = QStringLiteral("Enfant%1").arg(slot);
                s.monthKey = QStringLiteral("%1%2").arg(month, 2, 10, QChar('0')).arg(year % 100, 2, 10, QChar('0'));
                s.hours = 12000 + month;
                s.activityDays = 20;
                s.salnet = 50000 + 7 * month + year;
                s.entret = 3500 + month;
                s.nour = 2500;
                s.net = s.salnet + s.entret + s.nour;
                s.picture = s.firstName + s.monthKey + QStringLiteral(".jpg");
                s.savedAt = QDateTime(QDate(year, month, 28), QTime(18, 0));
                a.put(s);
            }
    a.commit();
}

void BM_ArchiveYear(benchmark::State &state)
{
    const SlipArchive a(g_folder + SlipArchive::fileName());
    for (auto _ : state)
        benchmark::DoNotOptimize(a.year(3, Year));
}
BENCHMARK(BM_ArchiveYear)->Unit(benchmark::kMicrosecond)->Name("year summary: the archive's year query");

void BM_YearSummary(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(loadYearSummary(g_folder, 3, QStringLiteral("Enfant3"), Year));
}
BENCHMARK(BM_YearSummary)
    ->Unit(benchmark::kMicrosecond)
    ->Name("year summary: the whole summary (archive and day table)");

void BM_SqliteShell(benchmark::State &state)
{
    constexpr int Runs = 200;
    QByteArray script;
    for (int i = 0; i < Runs; ++i)
        script +=
            "SELECT * FROM Bulletins WHERE enfant = 3 AND annee = " + QByteArray::number(Year) + " ORDER BY mois;\n";
    for (auto _ : state) {
        QProcess p;
        QElapsedTimer t;
        t.start();
        p.start(QStringLiteral("sqlite3"), {g_folder + SlipArchive::fileName()});
        p.write(script);
        p.closeWriteChannel();
        p.waitForFinished(-1);
        const qint64 ns = t.nsecsElapsed();
        if (p.exitCode() != 0 || p.readAllStandardOutput().count('\n') != 12 * Runs) {
            state.SkipWithError("sqlite3 failed");
            break;
        }
        state.SetIterationTime(double(ns) / 1e9 / Runs);
    }
}
BENCHMARK(BM_SqliteShell)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Name("year summary: the same query in a running sqlite3 shell (baseline)");

// The shell started for the one query, as a user would type it.
void BM_SqliteShellOnce(benchmark::State &state)
{
    const QString query =
        QStringLiteral("SELECT * FROM Bulletins WHERE enfant = 3 AND annee = %1 ORDER BY mois;").arg(Year);
    for (auto _ : state) {
        QProcess p;
        QElapsedTimer t;
        t.start();
        p.start(QStringLiteral("sqlite3"), {g_folder + SlipArchive::fileName(), query});
        p.waitForFinished(-1);
        state.SetIterationTime(double(t.nsecsElapsed()) / 1e9);
        if (p.exitCode() != 0 || p.readAllStandardOutput().count('\n') != 12) {
            state.SkipWithError("sqlite3 failed");
            break;
        }
    }
}
BENCHMARK(BM_SqliteShellOnce)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Name("year summary: the same query, one sqlite3 process");
} // namespace

int main(int argc, char **argv)
{
    BenchRun<QCoreApplication> bench(argc, argv);
    g_folder = programFolder();
    fillArchive();
    return bench.run();
}
