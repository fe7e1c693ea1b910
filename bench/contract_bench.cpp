// A regular contract's computations beside the slip paid by the hour: the
// month's figures worked out from values, and the whole slip of a month as
// the contract's slip window has it worked out from the program folder (the
// contract, the child's days, the legal table, the leave of every period so
// far and, in the contract's last month, its end).
//
// The contract: a complete year of three years, 4 September 2023 to 28
// August 2026, 9 hours on Monday, Tuesday, Thursday and Friday, with a year
// of absences (an absence every week from September 2024 to August 2025,
// each reason in turn), and its days stored as the hours window stores them:
// the planned hours, an hour more every other Friday. Each month's slip
// before the last was saved, as a parent saves them month by month.
//
// The month of absences worked out is March 2025; the last month, August
// 2026, pays the end of the contract too. Beside each whole slip, the times
// it opened each file of the folder.

#include "archive/sliparchive.h"
#include "contract/contractinputs.h"
#include "contract/contractslip.h"
#include "contract/contractstore.h"
#include "legal/legaltable.h"
#include "payslip/slip.h"

#include "benchfixture.h"
#include "fileopens.h"

#include <QCoreApplication>
#include <QHash>
#include <algorithm>

namespace {
using namespace contract;

const QDate g_first(2023, 9, 4);
const QDate g_last(2026, 8, 28);
const QDate g_absencesMonth(2025, 3, 1);

Contract threeYears()
{
    Contract c;
    c.kind = Kind::CompleteYear;
    c.first = g_first;
    c.last = g_last;
    for (const int weekday : {0, 1, 3, 4})
        c.plannedMinutes[size_t(weekday)] = 9 * 60;
    c.majHC = 10;
    for (QDate monday(2024, 9, 2); monday < QDate(2025, 9, 1); monday = monday.addDays(7)) {
        const int week = int(c.absences.size());
        // A sick child is away two days, any other absence one.
        const auto reason = Reason(week % 5);
        const QDate day = monday.addDays(week % 2 ? 3 : 0);
        c.absences << Absence{{day, reason == Reason::ChildSick ? day.addDays(1) : day}, reason};
    }
    c.endReason = EndReason::ChildWithdrawn;
    c.notified = QDate(2026, 7, 28);
    return c;
}

// The day stored for a date: the planned hours, an hour more every other
// Friday; none on a day without hours or of an absence.
std::optional<day::Record> storedDayOf(const Contract &c, QDate d)
{
    const int planned = c.plannedOn(d);
    const bool absent =
        std::any_of(c.absences.begin(), c.absences.end(), [d](const Absence &a) { return a.range.contains(d); });
    if (planned == 0 || absent)
        return std::nullopt;
    const bool longFriday = d.dayOfWeek() == Qt::Friday && d.weekNumber() % 2 == 0;
    return careDay(d, planned + (longFriday ? 60 : 0));
}

// The slip's inputs for the month starting `month`: the parameters of the
// slip benchmarks, and the month's stored days on its sheet.
SlipInput inputFor(const Contract &c, QDate month)
{
    SlipInput in = fullMonthInput();
    in.moan = MonthKey::of(month.month(), month.year()).text();
    in.days = {};
    for (QDate d = month; d < month.addMonths(1); d = d.addDays(1))
        if (const std::optional<day::Record> stored = storedDayOf(c, d)) {
            SheetDay &day = in.days[size_t(d.day() - 1)];
            day.date = (*stored)[day::Date];
            day.duration = QTime(0, 0).addSecs(int((*stored)[day::Duree].toDouble() * 3600)).toString(clockFormat());
            day.lunch = "Déj";
        }
    return in;
}

// The whole slip from the program folder, as the slip window asks for it.
ContractSlip slipFromFolder(const SlipInput &in)
{
    return contractSlipOf(loadSlipInputs(programFolder(), 1, in.moan), in, false);
}

void BM_MonthFigures(benchmark::State &state)
{
    const Contract c = threeYears();
    const int year = g_absencesMonth.year(), month = g_absencesMonth.month();
    const DateRange needed = daysNeeded(c, year, month);
    const QList<StoredDay> days = DayTable::workedDays(programFolder() + folder::dayTable(1), needed.from, needed.to);
    const std::optional<Limits> limits =
        limitsOn(legal::Table::load(programFolder() + folder::legalTable), g_absencesMonth);
    const Money rate = moneyFromText(fullMonthInput().SH);
    if (!limits || days.isEmpty()) {
        state.SkipWithError("no limits or no days");
        return;
    }
    for (auto _ : state) {
        const MonthFigures f = monthFigures(c, year, month, days, rate, {}, *limits);
        if (!f.complete() || f.deducted.isEmpty()) {
            state.SkipWithError("the month has no figures or no absence");
            break;
        }
    }
}
BENCHMARK(BM_MonthFigures)
    ->Unit(benchmark::kMicrosecond)
    ->Name("contract: month's figures, from values (a month of absences)");

void slipBenchmark(benchmark::State &state, QDate month)
{
    const SlipInput in = inputFor(threeYears(), month);
    // The files one slip opens, on a slip of its own before the timed ones.
    FileOpens opens(programFolder());
    slipFromFolder(in);
    const QHash<QString, int> opened = opens.take();
    for (const QString &name : {folder::legalTable, folder::contracts, folder::dayTable(1), folder::slipArchive})
        state.counters[QString(name + " opened").toStdString()] = opened.value(name);
    for (auto _ : state) {
        const ContractSlip slip = slipFromFolder(in);
        if (!slip.complete()) {
            state.SkipWithError("the contract slip is not complete");
            break;
        }
    }
}

void BM_SlipInAbsences(benchmark::State &state) { slipBenchmark(state, g_absencesMonth); }
BENCHMARK(BM_SlipInAbsences)
    ->Unit(benchmark::kMicrosecond)
    ->Name("contract: whole slip, from the program folder (a month of absences)");

void BM_LastSlip(benchmark::State &state) { slipBenchmark(state, QDate(g_last.year(), g_last.month(), 1)); }
BENCHMARK(BM_LastSlip)->Unit(benchmark::kMicrosecond)->Name("contract: whole slip of the last month, with the end");

void BM_HourlySlip(benchmark::State &state)
{
    const SlipInput in = fullMonthInput();
    for (auto _ : state)
        benchmark::DoNotOptimize(computeNetSlip(in));
}
BENCHMARK(BM_HourlySlip)
    ->Unit(benchmark::kMicrosecond)
    ->Name("contract: slip paid by the hour, computation alone (baseline)");
} // namespace

int main(int argc, char **argv)
{
    BenchRun<QCoreApplication> bench(argc, argv);
    copyLegalTable();
    const Contract c = threeYears();
    storeContract(programFolder() + folder::contracts, 1, c);
    storeMonths(programFolder(), folder::dayTable(1), g_first, g_last.addDays(1),
                [&c](QDate d) { return storedDayOf(c, d); });
    {
        SlipArchive archive(programFolder() + folder::slipArchive);
        for (QDate month(g_first.year(), g_first.month(), 1); month < QDate(g_last.year(), g_last.month(), 1);
             month = month.addMonths(1)) {
            const SlipInput in = inputFor(c, month);
            const ContractSlip slip = slipFromFolder(in);
            archive.put(archivedSlipFor(in, slip.slip, false, 1, in.prenom3 + in.moan + ".jpg",
                                        QDateTime(month.addMonths(1), QTime(18, 0)), slip.hours));
        }
    }
    return bench.run();
}
