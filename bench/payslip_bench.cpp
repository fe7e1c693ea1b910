// The cost of one slip: the computation alone, and a whole activation of a
// slip window (gathering the inputs from the other windows, computing,
// filling every label and the day grid).

#include "widgets/radiogroup.h"
#include "windows/windowset.h"
#include "windows/hourswindow.h"
#include "common/numbers.h"
#include "windows/netslipwindow.h"
#include "windows/grossslipwindow.h"
#include "payslip/slip.h"
#include "../tests/shippedrates.h"
#include "windows/parameterswindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QTableWidget>
#include <benchmark/benchmark.h>

namespace {

// A full month: every weekday worked, some flat-rate days, meals, a holiday.
QString dayDate(int d) { return QStringLiteral("%1/05/2002").arg(d, 2, 10, QChar('0')); }
bool worked(int d) { return d % 7 != 4 && d % 7 != 5; }

SlipInput monthInput()
{
    SlipInput in;
    in.moan = "0502";
    in.totheur = "156.75";
    for (int d = 1; d <= 31; ++d) {
        if (!worked(d))
            continue;
        SheetDay &day = in.days[d - 1];
        day.date = dayDate(d);
        day.duration = "08:15:00";
        day.flatRate = d % 6 == 0 ? "OUI" : "";
        day.lunch = "Déj";
        day.snack = d % 2 ? "Gouter" : "";
        day.holiday = d == 1 || d == 8 ? "OUI" : "";
    }
    in.prenom3 = "Julie";
    in.pol1 = 0;
    in.pol2 = 0;
    in.lineName = shippedRates().names;
    in.netRate = shippedRates().net;
    in.grossRate = shippedRates().gross;
    in.basePercent = shippedRates().bases;
    in.SH = "3.00";
    in.FJ = "30";
    in.SHbr = "4.00";
    in.FJbr = "40";
    in.Indentre = true;
    in.Indentr = "2";
    in.CheckBox11 = true;
    in.ETH = "0.30";
    in.EFJ = "2.5";
    in.diverse = "12.50";
    in.abs = "0";
    in.accpte = "100";
    in.PD = "0.76";
    in.D = "2.29";
    in.G = "0.76";
    in.Sp = "1.52";
    in.today = QDate(2002, 6, 1);
    return in;
}

void BM_NetSlipComputation(benchmark::State &state)
{
    const SlipInput in = monthInput();
    for (auto _ : state)
        benchmark::DoNotOptimize(computeNetSlip(in));
}
BENCHMARK(BM_NetSlipComputation)->Name("slip, net basis: computation alone");

void BM_GrossSlipComputation(benchmark::State &state)
{
    const SlipInput in = monthInput();
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
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setDecimalSeparator('.');
    createWindows();
    enterMonth(monthInput());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    destroyWindows();
    return 0;
}
