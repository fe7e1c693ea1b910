// A stored month opened again from a table holding 25 years of days (about
// 9,100 records): the list of the child's months, the month's days read
// back into its sheet and its slip worked out, first through the pure units,
// then through the hours window ("Ouvrir un mois..." and its list filled,
// the month put into the grid) with the slip's computation after it.

#include "archive/storedmonths.h"
#include "payslip/slip.h"
#include "windows/hourswindow.h"
#include "windows/openmonthwindow.h"
#include "windows/windowset.h"

#include "benchfixture.h"

#include <QApplication>
#include <QLabel>

namespace {
const QString g_key = QStringLiteral("0615");

ParamRecord parameters()
{
    ParamRecord r;
    r.prenom3 = "Julie";
    r.SH = "4.00";
    r.FJ = "0";
    r.Indentr = "3.50";
    for (QString *t : {&r.diverse, &r.abs, &r.accpte, &r.ETH, &r.EFJ})
        *t = "0";
    for (QString *t : {&r.PD, &r.D, &r.G, &r.Sp})
        *t = "2.5";
    for (int k = 0; k < ContributionLines; ++k) {
        r.netRate[size_t(k)] = "0.0123";
        r.grossRate[size_t(k)] = "1.00";
        r.basePercent[size_t(k)] = "100";
    }
    return r;
}

// The list of months, the month back into its sheet, its net slip.
void BM_OpenMonthPure(benchmark::State &state)
{
    const ParamRecord record = parameters();
    for (auto _ : state) {
        const QList<StoredMonth> months = storedMonths(programFolder(), 1);
        const MonthValidation month = storedMonthSheet(programFolder(), 1, g_key);
        const SlipResult slip = computeNetSlip(
            slipInputFrom(record, month.sheet, month.monthKey, month.totals.hoursText(), QDate(2026, 4, 2)));
        if (months.size() != 300 || month.days.size() != 30 || !slip.complete()) {
            state.SkipWithError("the month does not come back whole");
            break;
        }
    }
}
BENCHMARK(BM_OpenMonthPure)->Unit(benchmark::kMillisecond)->Name("open a month: list, sheet and slip (units)");

// The hours window: its list filled, the month opened into the grid, then
// the slip's computation on what the window shows (the parameters as above:
// the bench's folder has no parameter file).
void BM_OpenMonthWindow(benchmark::State &state)
{
    const ParamRecord record = parameters();
    THoraire *h = win().Horaire;
    showAndActivate(h);
    for (auto _ : state) {
        h->OuvrirMoisClick();
        h->openMonth(g_key);
        const SlipResult slip =
            computeNetSlip(slipInputFrom(record, h->sheet(), h->moan->text(), h->totheur->text(), QDate(2026, 4, 2)));
        if (h->moan->text() != g_key || h->totheur->text() != "255" || !slip.complete()) {
            state.SkipWithError("the window does not show the month");
            break;
        }
    }
}
BENCHMARK(BM_OpenMonthWindow)->Unit(benchmark::kMillisecond)->Name("open a month: hours window list, grid and slip");
} // namespace

int main(int argc, char **argv)
{
    BenchRun<QApplication> bench(argc, argv);
    storeTwentyFiveYears();
    createWindows();
    const int code = bench.run();
    destroyWindows();
    return code;
}
