// A month filled from the contract's planning and shown: the pure units
// (the files read once, the fill worked out and written on a sheet), then
// the hours window's "Remplir d'après le contrat" into its grid with the
// month's summary, and beside it the validation of that month (stored over
// the month already there). The parent waits on the window: under 50 ms.

#include "attendance/daytable.h"
#include "common/environment.h"
#include "common/messages.h"
#include "common/numbers.h"
#include "common/programfiles.h"
#include "contract/contractinputs.h"
#include "contract/contractstore.h"
#include "contract/monthfill.h"
#include "windows/hourswindow.h"
#include "windows/windowset.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
const QDate g_month(2026, 5, 1);

// Monday to Friday from 8:00, home from 11:30 to 13:30 on Wednesdays; a
// week without care and an absence in May.
void storeContract()
{
    contract::Contract c;
    c.kind = contract::Kind::CompleteYear;
    c.first = QDate(2025, 9, 1);
    c.majHM = 10;
    for (size_t d = 0; d < 5; ++d) {
        c.plannedMinutes[d] = 8 * 60;
        c.plannedTimes[d].arrival = 8 * 60;
    }
    c.plannedTimes[2] = contract::DayTimes{8 * 60, 11 * 60 + 30, 13 * 60 + 30};
    c.periodsWithoutCare << contract::DateRange{QDate(2026, 5, 18), QDate(2026, 5, 22)};
    c.absences << contract::Absence{{QDate(2026, 5, 5), QDate(2026, 5, 6)}, contract::Reason::ChildSick};
    contract::storeContract(programFolder() + folder::contracts, 1, c);
    DayTable::createEmpty(programFolder() + folder::dayTable(1));
}

void BM_FillPure(benchmark::State &state)
{
    for (auto _ : state) {
        const contract::FillInputs in =
            contract::loadFillInputs(programFolder(), 1, g_month.year(), g_month.month());
        const contract::MonthFill fill =
            contract::monthFill(in.contract, g_month.year(), g_month.month(), in.holidays, {}, in.stored);
        MonthSheet sheet;
        const QList<int> rows = contract::writeFill(sheet, fill, false);
        if (rows.size() != 10) {
            state.SkipWithError("the month is not filled");
            break;
        }
    }
}
BENCHMARK(BM_FillPure)->Unit(benchmark::kMillisecond)->Name("fill a month: files read, days worked out (units)");

// "Remplir" on a fresh sheet: the contract and the table read, the grid
// written and marked, the summary shown.
void BM_FillWindow(benchmark::State &state)
{
    THoraire *h = win().Horaire;
    for (auto _ : state) {
        state.PauseTiming();
        h->hide();
        showAndActivate(h); // a fresh sheet
        h->Date->setDate(g_month);
        state.ResumeTiming();
        h->RemplirClick();
        if (!h->fromPlanning(4) || h->Resume->text().isEmpty()) {
            state.SkipWithError("the window does not show the month filled");
            break;
        }
    }
}
BENCHMARK(BM_FillWindow)->Unit(benchmark::kMillisecond)->Name("fill a month: hours window grid and summary");

// "&Valide" of the month filled, stored over the same month (Remplacer).
void BM_ValidateFilled(benchmark::State &state)
{
    THoraire *h = win().Horaire;
    for (auto _ : state) {
        state.PauseTiming();
        h->hide();
        showAndActivate(h);
        h->Date->setDate(g_month);
        h->RemplirClick();
        state.ResumeTiming();
        h->BitBtn3->click();
        if (h->moan->text() != "0526") {
            state.SkipWithError("the month is not validated");
            break;
        }
    }
}
BENCHMARK(BM_ValidateFilled)->Unit(benchmark::kMillisecond)->Name("validate a filled month (stored over itself)");
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setDecimalSeparator('.');
    setMessageSink([](MessageKind, const QString &) {});
    // The month stored by the first validation is opened and replaced by the
    // next ones.
    setChoiceSink([](const Choice &) { return 0; });
    setQuestionSink([](const QString &) { return true; });
    QTemporaryDir dir;
    setProgramFolder(dir.path());
    storeContract();
    createWindows();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    destroyWindows();
    return 0;
}
