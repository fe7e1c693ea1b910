// The cost of one slip: the computation alone, and a whole activation of a
// slip window (gathering the inputs from the other windows, computing,
// filling every label and the day grid).

#include "widgets/radiogroup.h"
#include "windows/windowset.h"
#include "windows/hourswindow.h"
#include "windows/netslipwindow.h"
#include "windows/grossslipwindow.h"
#include "payslip/slip.h"
#include "windows/parameterswindow.h"

#include "benchfixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QTableWidget>

namespace {

void BM_NetSlipComputation(benchmark::State &state)
{
    const SlipInput in = fullMonthInput();
    for (auto _ : state)
        benchmark::DoNotOptimize(computeNetSlip(in));
}
BENCHMARK(BM_NetSlipComputation)->Name("slip, net basis: computation alone");

void BM_GrossSlipComputation(benchmark::State &state)
{
    const SlipInput in = fullMonthInput();
    for (auto _ : state)
        benchmark::DoNotOptimize(computeGrossSlip(in));
}
BENCHMARK(BM_GrossSlipComputation)->Name("slip, gross basis: computation alone");

// Puts the month into the parameters and hours windows as the user leaves them.
void enterMonth(const SlipInput &in)
{
    TParametres *p = win().Parametres;
    p->prenom3->setText(in.prenom3);
    p->pol1->setItemIndex(in.pol1);
    p->pol2->setItemIndex(in.pol2);
    for (int k = 0; k < 9; ++k) {
        p->lineName[k]->setText(in.lineName[k]);
        p->netRate[k]->setText(in.netRate[k]);
        p->grossRate[k]->setText(in.grossRate[k]);
        p->basePercent[k]->setText(in.basePercent[k]);
    }
    const QList<QPair<QLineEdit *, QString>> texts = {{p->SH, in.SH},
                                                      {p->FJ, in.FJ},
                                                      {p->SHbr, in.SHbr},
                                                      {p->FJbr, in.FJbr},
                                                      {p->Indentr, in.Indentr},
                                                      {p->ETH, in.ETH},
                                                      {p->EFJ, in.EFJ},
                                                      {p->diverse, in.diverse},
                                                      {p->abs, in.abs},
                                                      {p->accpte, in.accpte},
                                                      {p->PD, in.PD},
                                                      {p->D, in.D},
                                                      {p->G, in.G},
                                                      {p->Sp, in.Sp}};
    for (const auto &[edit, text] : texts)
        edit->setText(text);
    p->Indentre->setChecked(in.Indentre);
    p->CheckBox11->setChecked(in.CheckBox11);
    THoraire *h = win().Horaire;
    auto set = [h](int col, int row, const QString &text) {
        h->StringGrid1->setItem(row, col, new QTableWidgetItem(text));
    };
    for (int r = 1; r <= 31; ++r) {
        const SheetDay &d = in.days[r - 1];
        const QString cells[] = {d.date, d.duration, d.flatRate, d.breakfast, d.lunch, d.snack, d.dinner, d.holiday};
        const int cols[] = {1, 6, 7, 8, 9, 10, 11, 12};
        for (int i = 0; i < 8; ++i)
            set(cols[i], r, cells[i]);
    }
    h->totheur->setText(in.totheur);
    h->moan->setText(in.moan);
}

void activationBenchmark(benchmark::State &state, SlipSheet *slip)
{
    slip->show();
    for (auto _ : state) {
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(slip, &activate);
    }
    if (slip->net->text().isEmpty())
        state.SkipWithError("the slip did not complete");
    slip->hide();
}

// What the user sees cost at least: the same sheet painted again, unchanged.
void paintBenchmark(benchmark::State &state, SlipSheet *slip)
{
    slip->show();
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(slip, &activate);
    QPixmap canvas(slip->size());
    for (auto _ : state)
        slip->render(&canvas);
    slip->hide();
}

void BM_NetSlipActivation(benchmark::State &state) { activationBenchmark(state, win().Bulletin); }
BENCHMARK(BM_NetSlipActivation)->Name("slip, net basis: window activation");
void BM_NetSlipPaint(benchmark::State &state) { paintBenchmark(state, win().Bulletin); }
BENCHMARK(BM_NetSlipPaint)->Name("slip, net basis: painting the same sheet unchanged (baseline)");

void BM_GrossSlipActivation(benchmark::State &state) { activationBenchmark(state, win().Bulletinbrut); }
BENCHMARK(BM_GrossSlipActivation)->Name("slip, gross basis: window activation");
void BM_GrossSlipPaint(benchmark::State &state) { paintBenchmark(state, win().Bulletinbrut); }
BENCHMARK(BM_GrossSlipPaint)->Name("slip, gross basis: painting the same sheet unchanged (baseline)");
} // namespace

int main(int argc, char **argv)
{
    BenchRun<QApplication> bench(argc, argv);
    createWindows();
    enterMonth(fullMonthInput());
    const int code = bench.run();
    destroyWindows();
    return code;
}
