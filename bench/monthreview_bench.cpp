// "&Valide" of the month review on a table holding 25 years of days (about
// 9,100 records), against the same month read by the sqlite3 command-line
// tool in the same run. Both read the file anew: the review from a closed
// table (open with its exclusive hold, filter, grid and detail filled), the
// tool as a process started for the one query.

#include "windows/monthreviewwindow.h"
#include "windows/windowset.h"

#include "benchfixture.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>

namespace {
QString g_table;
const QDate g_month(2015, 6, 12);

// Shows the window and waits for its activation, which names its table.
void activate(QWidget *w)
{
    showAndActivate(w);
    QElapsedTimer clock;
    clock.start();
    while (!w->isActiveWindow() && clock.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// From a closed table, as the first "&Valide" after showing the window.
void BM_ReviewValide(benchmark::State &state)
{
    TRecap *r = win().Recap;
    activate(r);
    r->Datechoi->setSelectedDate(g_month);
    for (auto _ : state) {
        r->Valid->click();
        state.PauseTiming();
        const bool shown = r->DBGrid1->model()->rowCount() == 30;
        // "Quitter" releases the table (and hides the window, whose table
        // name stays set).
        r->Button1->click();
        state.ResumeTiming();
        if (!shown) {
            state.SkipWithError("the month does not show its 30 days");
            break;
        }
    }
}
BENCHMARK(BM_ReviewValide)->Unit(benchmark::kMicrosecond)->Name("month review: &Valide on 25 years of days");

// "&Valide" again on the table already held: the filter alone.
void BM_ReviewValideAgain(benchmark::State &state)
{
    TRecap *r = win().Recap;
    activate(r);
    r->Datechoi->setSelectedDate(g_month);
    r->Valid->click();
    if (r->DBGrid1->model()->rowCount() != 30)
        state.SkipWithError("the month does not show its 30 days");
    for (auto _ : state)
        r->Valid->click();
    r->Button1->click();
}
BENCHMARK(BM_ReviewValideAgain)->Unit(benchmark::kMicrosecond)->Name("month review: &Valide again on the same month");

void BM_Sqlite3Tool(benchmark::State &state)
{
    const QString sqlite = QStandardPaths::findExecutable("sqlite3");
    if (sqlite.isEmpty()) {
        state.SkipWithError("no sqlite3 tool");
        return;
    }
    const QStringList args = {g_table, "SELECT * FROM Jours WHERE Moan = '0615' ORDER BY rowid"};
    for (auto _ : state) {
        QProcess p;
        p.start(sqlite, args);
        p.waitForFinished();
        if (p.readAllStandardOutput().count('\n') != 30) {
            state.SkipWithError("the tool does not read the month's 30 days");
            break;
        }
    }
}
BENCHMARK(BM_Sqlite3Tool)
    ->Unit(benchmark::kMicrosecond)
    ->Name("month review: the same month read by the sqlite3 tool (baseline)");
} // namespace

int main(int argc, char **argv)
{
    BenchRun<QApplication> bench(argc, argv);
    g_table = programFolder() + folder::dayTable(1);
    storeTwentyFiveYears();
    createWindows();
    const int code = bench.run();
    destroyWindows();
    return code;
}
