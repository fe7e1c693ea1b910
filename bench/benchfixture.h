#pragma once
// What the benchmarks share: the run itself (the offscreen platform, a
// program folder of its own, Google Benchmark's command line), a child's day
// table filled over years, and the month of the slip benchmarks.

#include "common/environment.h"
#include "common/messages.h"
#include "common/numbers.h"
#include "common/programfiles.h"
#include "payslip/slip.h"

#include "core/payslip/march2002.h"
#include "dayrecords.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <QTime>
#include <benchmark/benchmark.h>
#include <functional>
#include <optional>

// A benchmark program's run, in `Application` (QCoreApplication,
// QGuiApplication or QApplication): Qt's offscreen platform, "." as the
// decimal separator, no message box (one would wait for a click that never
// comes: a benchmark says its failure by SkipWithError) and an empty program
// folder in a temporary folder that goes with the run.
template <class Application>
class BenchRun {
public:
    BenchRun(int &argc, char **argv) : m_app(offscreen(argc), argv), m_argc(argc), m_argv(argv)
    {
        setDecimalSeparator('.');
        setMessageSink([](MessageKind, const QString &) {});
        setProgramFolder(m_dir.path());
    }

    // The benchmarks the command line names, all of them by default.
    int run()
    {
        benchmark::Initialize(&m_argc, m_argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        return 0;
    }

private:
    static int &offscreen(int &argc)
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return argc;
    }

    Application m_app;
    int &m_argc;
    char **m_argv;
    QTemporaryDir m_dir;
};

// The table of legal values the program ships, in the program folder.
inline void copyLegalTable()
{
    QFile::copy(QStringLiteral(BERLIVO_SOURCE_DIR "/data/") + folder::legalTable, programFolder() + folder::legalTable);
}

// A day of care as the hours window stores it: from 08:00, `minutes` long,
// a lunch when `lunch`, no other box ticked.
inline day::Record careDay(QDate date, int minutes = 8 * 60 + 30, bool lunch = true)
{
    day::Record r = storedDay(shortDate(date), QString::number(minutes / 60.0));
    r[day::Heure1] = QTime(8, 0).toString(clockFormat());
    r[day::Heure2] = QTime(8, 0).addSecs(minutes * 60).toString(clockFormat());
    r[day::Dej] = day::flagText(lunch);
    return r;
}

// Stores into the table `tableName` of `folder` (ending with "/") the day
// `dayOf` gives for each date of the months from `from`'s to the one before
// `end`'s, one month a validation as the hours window stores them; a date it
// gives none for is left out. The table is made when missing.
inline void storeMonths(const QString &folder, const QString &tableName, QDate from, QDate end,
                        const std::function<std::optional<day::Record>(QDate)> &dayOf)
{
    DayTable::createEmpty(folder + tableName);
    for (QDate month(from.year(), from.month(), 1); month < end; month = month.addMonths(1)) {
        QList<day::Record> days;
        for (QDate d = month; d < month.addMonths(1); d = d.addDays(1))
            if (std::optional<day::Record> r = dayOf(d))
                days << *r;
        storeDays(folder, tableName, days);
    }
}

// Child 1's table after 25 years of use: every day of 2002 to 2026 (about
// 9,100 records) a day of care of 8.5 hours.
inline void storeTwentyFiveYears()
{
    storeMonths(programFolder(), folder::dayTable(1), QDate(2002, 1, 1), QDate(2027, 1, 1),
                [](QDate d) { return careDay(d); });
}

// The month of the slip benchmarks, May 2002 on the parameters a slot starts
// with: every weekday worked, some flat-rate days, meals, two public
// holidays, and every allowance and deduction on top.
inline SlipInput fullMonthInput()
{
    SlipInput in = march2002();
    in.moan = "0502";
    in.totheur = "156.75";
    for (int d = 1; d <= 31; ++d) {
        // 4 and 5 May 2002 were a Saturday and a Sunday.
        if (d % 7 == 4 || d % 7 == 5)
            continue;
        SheetDay &day = in.days[size_t(d - 1)];
        day.date = QStringLiteral("%1/05/2002").arg(d, 2, 10, QChar('0'));
        day.duration = "08:15:00";
        day.flatRate = d % 6 == 0 ? "OUI" : "";
        day.lunch = "Déj";
        day.snack = d % 2 ? "Gouter" : "";
        day.holiday = d == 1 || d == 8 ? "OUI" : "";
    }
    in.Indentre = true;
    in.CheckBox11 = true;
    in.ETH = "0.30";
    in.EFJ = "2.5";
    in.diverse = "12.50";
    in.accpte = "100";
    in.today = QDate(2002, 6, 1);
    return in;
}
