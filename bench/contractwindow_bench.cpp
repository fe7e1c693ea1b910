// Opening the contract window on a contract with thousands of absences and
// periods without care, against opening it on an empty one: the rows are a
// model's, shown by one view, so the cost grows with the rows' figures and
// not with widgets built per cell.

#include "contract/contractstore.h"
#include "windows/contractwindow.h"
#include "windows/parameterswindow.h"
#include "windows/windowset.h"

#include "benchfixture.h"

#include <QApplication>
#include <QTabBar>

namespace {
using namespace contract;

// A complete year from 2020 with one day of absence every other day and
// short periods without care beside them.
Contract crowded(int absences, int periods)
{
    Contract c;
    c.kind = Kind::CompleteYear;
    c.first = QDate(2020, 1, 1);
    for (size_t d = 0; d < 5; ++d)
        c.plannedMinutes[d] = 8 * 60;
    for (int i = 0; i < absences; ++i) {
        const QDate day = c.first.addDays(2 * i);
        c.absences << Absence{{day, day}, Reason(i % 5)};
    }
    for (int i = 0; i < periods; ++i) {
        const QDate day = c.first.addDays(i % 3000);
        c.periodsWithoutCare << DateRange{day, day};
    }
    return c;
}

// Opens the window on child `slot`, as the menu does.
void open(benchmark::State &state, int slot)
{
    win().Parametres->TabControl1->setCurrentIndex(slot - 1);
    TContrat *w = win().Contrat;
    for (auto _ : state) {
        w->open();
        benchmark::DoNotOptimize(w->contractShown());
    }
}

void BM_Crowded(benchmark::State &state) { open(state, 1); }
BENCHMARK(BM_Crowded)->Name("contract window: opening 3,000 absences and 5,000 periods")->Unit(benchmark::kMillisecond);
void BM_Empty(benchmark::State &state) { open(state, 2); }
BENCHMARK(BM_Empty)->Name("contract window: opening an empty contract (baseline)")->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char **argv)
{
    BenchRun<QApplication> bench(argc, argv);
    copyLegalTable();
    storeContract(TContrat::filePath(), 1, crowded(3000, 5000));
    createWindows();
    win().Contrat = new TContrat;
    const int code = bench.run();
    destroyWindows();
    return code;
}
