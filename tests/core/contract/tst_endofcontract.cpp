#include "common/errors.h"
#include "contract/enddocuments.h"
#include "contract/endofcontract.h"

#include <QtTest>

using namespace contract;

Q_DECLARE_METATYPE(contract::Contract)
Q_DECLARE_METATYPE(QList<contract::StoredDay>)
Q_DECLARE_METATYPE(QList<contract::SavedSlipFigures>)
Q_DECLARE_METATYPE(QList<contract::MonthFigures>)
Q_DECLARE_METATYPE(QList<contract::LeavePeriod>)

namespace {
QDate on(const char *iso) { return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate); }
Money euros(qint64 cents) { return Money::fromCount(cents * 100); }
QString amount(Money m) { return centsText(shownCents(m)); }

// Monday to Friday at `minutes` a day, ended on `last` for `reason`, the
// letter presented on `notified`.
Contract ended(Kind kind, const char *first, const char *last, EndReason reason, const char *notified,
               int minutes = 8 * 60, int weeks = 0)
{
    Contract c;
    c.kind = kind;
    c.first = on(first);
    c.last = on(last);
    for (size_t d = 0; d < 5; ++d)
        c.plannedMinutes[d] = minutes;
    c.weeks = weeks;
    c.endReason = reason;
    c.notified = on(notified);
    return c;
}

QList<SavedSlipFigures> grossSlips(const char *from, int count, qint64 cents)
{
    QList<SavedSlipFigures> slips;
    for (int k = 0; k < count; ++k)
        slips << SavedSlipFigures{on(from).addMonths(k), true, cents, 0, 0, 0, 0};
    return slips;
}

// `count` weekdays of `minutes` from `from` on.
QList<StoredDay> workedWeekdays(const char *from, int count, int minutes)
{
    QList<StoredDay> days;
    for (QDate d = on(from); days.size() < count; d = d.addDays(1))
        if (d.dayOfWeek() <= 5)
            days << StoredDay{d, minutes, false};
    return days;
}

// Months paying M = `mensualisedMinutes` each, nothing deducted.
QList<MonthFigures> mensualisedMonths(const char *from, int count, qint64 mensualisedMinutes)
{
    QList<MonthFigures> months;
    for (int k = 0; k < count; ++k) {
        MonthFigures f;
        f.year = on(from).addMonths(k).year();
        f.month = on(from).addMonths(k).month();
        f.mensualisedTwelfths = mensualisedMinutes * 12;
        months << f;
    }
    return months;
}

// Every figure on one line: the notice (its length, end, hours and pay), the
// indemnity over its total ("net" when drawn from net slips), the true-up
// with the hours behind it, the leave paid at the end, the months missing.
QString summary(const EndOfContract &e)
{
    if (!e.complete())
        return e.failure;
    const QString notice = e.notice == Notice::None ? QStringLiteral("none")
                           : e.notice == Notice::FifteenDays ? QStringLiteral("15d")
                                                             : QStringLiteral("1m");
    return QStringLiteral("%1 %2 %3min %4 | %5/%6%7 | %8 W%9 Q%10 paid %11 | %12:%13 | missing %14")
        .arg(notice, e.noticeEnd.toString(Qt::ISODate))
        .arg(e.noticeMinutes)
        .arg(amount(e.noticePay), e.indemnityDue ? amount(e.indemnity) : QStringLiteral("-"), amount(e.salaryTotal),
             e.fromNet ? QStringLiteral(" net") : QString(),
             e.trueUpApplies ? amount(e.trueUp) : QStringLiteral("-"))
        .arg(e.workedHundredths)
        .arg(e.paidHundredths)
        .arg(amount(e.trueUpPaid()))
        .arg(e.leaveDays)
        .arg(amount(e.leavePay))
        .arg(e.missingMonths.size());
}
} // namespace

class TestEndOfContract : public QObject {
    Q_OBJECT
private slots:
    void figures_data();
    void figures();
    void contractEnd_data();
    void contractEnd();
    void documentsOfEachChild();
};

void TestEndOfContract::figures_data()
{
    QTest::addColumn<Contract>("contract");
    QTest::addColumn<QList<StoredDay>>("days");
    QTest::addColumn<QList<SavedSlipFigures>>("slips");
    QTest::addColumn<QList<MonthFigures>>("months");
    QTest::addColumn<QList<LeavePeriod>>("leave");
    QTest::addColumn<QString>("expected");

    // Two years of 40 h a week on 693.33 €: 16 639.92 / 80.
    const Contract twoYears =
        ended(Kind::CompleteYear, "2024-01-01", "2025-12-31", EndReason::ChildWithdrawn, "2025-12-01");
    QTest::newRow("24 slips of 693.33: indemnity 208.00, a month's notice")
        << twoYears << QList<StoredDay>{} << grossSlips("2024-01-01", 24, 69333) << QList<MonthFigures>{}
        << QList<LeavePeriod>{} << "1m 2025-12-31 0min 0,00 | 208,00/16639,92 | - W0 Q0 paid 0,00 | 0:0,00 | missing 0";
    Contract resigned = twoYears;
    resigned.endReason = EndReason::Resignation;
    QTest::newRow("a resignation: no indemnity")
        << resigned << QList<StoredDay>{} << grossSlips("2024-01-01", 24, 69333) << QList<MonthFigures>{}
        << QList<LeavePeriod>{} << "1m 2025-12-31 0min 0,00 | -/16639,92 | - W0 Q0 paid 0,00 | 0:0,00 | missing 0";
    // Eight months at the letter (nine from 1 October); two slips never saved.
    QTest::newRow("8 months: no indemnity, 15 days' notice, months missing")
        << ended(Kind::CompleteYear, "2025-01-01", "2025-09-15", EndReason::ChildWithdrawn, "2025-08-31")
        << QList<StoredDay>{} << grossSlips("2025-01-01", 7, 69333) << QList<MonthFigures>{} << QList<LeavePeriod>{}
        << "15d 2025-09-14 0min 0,00 | -/4853,31 | - W0 Q0 paid 0,00 | 0:0,00 | missing 2";
    QTest::newRow("nine months to the day: indemnity")
        << ended(Kind::CompleteYear, "2025-01-01", "2025-10-15", EndReason::ChildWithdrawn, "2025-10-01")
        << QList<StoredDay>{} << grossSlips("2025-01-01", 10, 69333) << QList<MonthFigures>{} << QList<LeavePeriod>{}
        << "15d 2025-10-15 0min 0,00 | 86,67/6933,30 | - W0 Q0 paid 0,00 | 0:0,00 | missing 0";
    // 3000.40 / 80 = 37.505, an exact half cent, goes away from zero.
    QTest::newRow("an indemnity of an exact half cent")
        << ended(Kind::CompleteYear, "2025-01-01", "2025-10-15", EndReason::ChildWithdrawn, "2025-10-01")
        << QList<StoredDay>{} << grossSlips("2025-01-01", 10, 30004) << QList<MonthFigures>{} << QList<LeavePeriod>{}
        << "15d 2025-10-15 0min 0,00 | 37,51/3000,40 | - W0 Q0 paid 0,00 | 0:0,00 | missing 0";
    // Care stops on Friday 3 October; the notice runs to Wednesday 15: eight days of 8 h at 4.00.
    QTest::newRow("15 days' notice not worked: paid")
        << ended(Kind::CompleteYear, "2025-03-03", "2025-10-03", EndReason::ChildWithdrawn, "2025-10-01")
        << QList<StoredDay>{} << QList<SavedSlipFigures>{} << QList<MonthFigures>{} << QList<LeavePeriod>{}
        << "15d 2025-10-15 3840min 256,00 | -/0,00 | - W0 Q0 paid 0,00 | 0:0,00 | missing 8";
    // From Wednesday 10 September to Thursday 9 October; care stops on 30 September: seven days.
    QTest::newRow("a month's notice not worked: paid")
        << ended(Kind::CompleteYear, "2024-09-02", "2025-09-30", EndReason::Resignation, "2025-09-10")
        << QList<StoredDay>{} << grossSlips("2024-09-01", 13, 69333) << QList<MonthFigures>{}
        << QList<LeavePeriod>{} << "1m 2025-10-09 3360min 224,00 | -/9013,29 | - W0 Q0 paid 0,00 | 0:0,00 | missing 0";
    for (const auto &[name, reason] :
         {std::pair{"trial period: no notice", EndReason::TrialPeriod},
          std::pair{"serious misconduct: no notice", EndReason::SeriousMisconduct},
          std::pair{"approval withdrawn: no notice", EndReason::ApprovalWithdrawn}})
        QTest::newRow(name) << ended(Kind::CompleteYear, "2025-09-01", "2025-09-19", reason, "2025-09-19")
                            << QList<StoredDay>{} << grossSlips("2025-09-01", 1, 30000) << QList<MonthFigures>{}
                            << QList<LeavePeriod>{} << "none  0min 0,00 | -/300,00 | - W0 Q0 paid 0,00 | 0:0,00 | missing 0";
    // Net slips: 500.00 net + 150.00 of contributions, ten months.
    QList<SavedSlipFigures> net;
    for (int k = 0; k < 10; ++k)
        net << SavedSlipFigures{on("2025-01-01").addMonths(k), false, 0, 50000, 15000, 0, 0};
    QTest::newRow("net slips carried to gross")
        << ended(Kind::CompleteYear, "2025-01-01", "2025-10-31", EndReason::ChildWithdrawn, "2025-10-17")
        << QList<StoredDay>{} << net << QList<MonthFigures>{} << QList<LeavePeriod>{}
        << "15d 2025-10-31 0min 0,00 | 81,25/6500,00 net | - W0 Q0 paid 0,00 | 0:0,00 | missing 0";

    // 30 h a week, 36 weeks: M = 90 h, three months paid 270 h. 310 h
    // stored, 10 of them paid as complementary hours: 30 h more, at 4.00.
    const Contract school = ended(Kind::IncompleteYear, "2026-01-05", "2026-03-31", EndReason::TrialPeriod,
                                  "2026-03-31", 6 * 60, 36);
    QList<SavedSlipFigures> extra = grossSlips("2026-01-01", 3, 36000);
    extra[1].complementaryHours = 1000;
    QTest::newRow("incomplete year, 30 h more than paid: true-up 120.00")
        << school << workedWeekdays("2026-01-05", 31, 600) << extra << mensualisedMonths("2026-01-01", 3, 90 * 60)
        << QList<LeavePeriod>{} << "none  0min 0,00 | -/1080,00 | 120,00 W30000 Q27000 paid 120,00 | 0:0,00 | missing 0";
    // Days after the last one are not the contract's.
    QTest::newRow("incomplete year, 20 h fewer: shown, not recovered")
        << school << workedWeekdays("2026-01-05", 26, 600) + workedWeekdays("2026-04-01", 5, 600) << extra
        << mensualisedMonths("2026-01-01", 3, 90 * 60) << QList<LeavePeriod>{}
        << "none  0min 0,00 | -/1080,00 | -80,00 W25000 Q27000 paid 0,00 | 0:0,00 | missing 0";

    // 36 weeks at 30 h: 23 days, kept salary 460.00 over a tenth of 4 320.00;
    // paid in June, moved to the last slip of a contract ending in May. The
    // notice runs on to Monday 8 June: six days of 6 h.
    Contract leaving = ended(Kind::IncompleteYear, "2025-06-02", "2026-05-29", EndReason::ChildWithdrawn,
                             "2026-05-25", 6 * 60, 36);
    leaving.periodsWithoutCare << DateRange{on("2025-07-07"), on("2025-10-26")};
    MonthSalaries salaries;
    for (int k = 0; k < 12; ++k)
        salaries.insert(on("2025-06-01").addMonths(k), euros(36000));
    QTest::newRow("leave not taken, at the better of the two")
        << leaving << QList<StoredDay>{} << grossSlips("2025-06-01", 12, 36000) << QList<MonthFigures>{}
        << paidLeave(leaving, {}, euros(400), salaries, leaving.last)
        << "15d 2026-06-08 2160min 144,00 | 54,00/4320,00 | 0,00 W0 Q0 paid 0,00 | 23:460,00 | missing 0";

    // A complete year from 6 January 2025, 45 h a week at 4.00, the child
    // withdrawn by a letter of 13 October 2026, last day 13 November. The
    // period before (three weeks of absence in October 2025) keeps 900.00
    // for its 30 days, 16 taken in August 2026: 14 days, 420.00. The period
    // in progress earned 15 days: 10 % of 4 691.43 gives 469.14 against
    // 450.00 kept, paid once: no June complement on top.
    Contract complete = ended(Kind::CompleteYear, "2025-01-06", "2026-11-13", EndReason::ChildWithdrawn,
                              "2026-10-13", 9 * 60);
    complete.absences << Absence{{on("2025-10-06"), on("2025-10-24")}, Reason::MinderAbsent}
                      << Absence{{on("2026-08-03"), on("2026-08-20")}, Reason::MinderLeave};
    MonthSalaries earned;
    for (QDate m = on("2025-01-01"); m <= complete.last; m = m.addMonths(1))
        earned.insert(m, monthFigures(complete, m.year(), m.month(), {}, euros(400), {}, Limits{45 * 60, 10, 46}).salary);
    QTest::newRow("the end of a complete year pays its leave once")
        << complete << QList<StoredDay>{} << QList<SavedSlipFigures>{} << QList<MonthFigures>{}
        << paidLeave(complete, {}, euros(400), earned, complete.last)
        << "1m 2026-11-12 0min 0,00 | 0,00/0,00 | - W0 Q0 paid 0,00 | 29:889,14 | missing 23";

    Contract open = twoYears;
    open.endReason.reset();
    QTest::newRow("no reason: no figures") << open << QList<StoredDay>{} << QList<SavedSlipFigures>{}
                                           << QList<MonthFigures>{} << QList<LeavePeriod>{}
                                           << "Fin du contrat : le motif n'est pas choisi.";
}

void TestEndOfContract::figures()
{
    QFETCH(Contract, contract);
    QFETCH(QList<StoredDay>, days);
    QFETCH(QList<SavedSlipFigures>, slips);
    QFETCH(QList<MonthFigures>, months);
    QFETCH(QList<LeavePeriod>, leave);
    QFETCH(QString, expected);
    QCOMPARE(summary(endOfContract(contract, days, slips, months, euros(400), leave)), expected);
}

// The day the documents give: the notice's end when it runs past the last
// day of care, the last day otherwise.
void TestEndOfContract::contractEnd_data()
{
    QTest::addColumn<Contract>("contract");
    QTest::addColumn<QString>("end");
    QTest::newRow("notice not worked") << ended(Kind::CompleteYear, "2025-03-03", "2025-10-03",
                                                EndReason::ChildWithdrawn, "2025-10-01")
                                       << "2025-10-15";
    QTest::newRow("notice worked") << ended(Kind::CompleteYear, "2025-03-03", "2025-10-20", EndReason::Resignation,
                                            "2025-10-01")
                                   << "2025-10-20";
    QTest::newRow("no notice") << ended(Kind::CompleteYear, "2025-03-03", "2025-04-10", EndReason::TrialPeriod,
                                        "2025-04-01")
                               << "2025-04-10";
}

void TestEndOfContract::contractEnd()
{
    QFETCH(Contract, contract);
    QTEST(contractEndDate(contract).toString(Qt::ISODate), "end");
    QCOMPARE(endOfContract(contract, {}, {}, {}, euros(400), {}).contractEnd, contractEndDate(contract));
}

// Two children of one first name, or a child without one, keep documents of
// their own; a name that would leave the folder is refused.
void TestEndOfContract::documentsOfEachChild()
{
    const QString folder = QStringLiteral("/data/");
    const QStringList paths = {endDocumentPath(folder, EndDocument::Certificate, 1, "Léa"),
                               endDocumentPath(folder, EndDocument::Certificate, 2, "Léa"),
                               endDocumentPath(folder, EndDocument::Receipt, 2, "Léa"),
                               endDocumentPath(folder, EndDocument::Certificate, 3, "")};
    QCOMPARE(QSet<QString>(paths.begin(), paths.end()).size(), paths.size());
    QCOMPARE(paths[1], QString("/data/bulljpg/Léa (enfant 2) certificat de travail.pdf"));
    QCOMPARE(paths[3], QString("/data/bulljpg/Enfant 3 certificat de travail.pdf"));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, endDocumentPath(folder, EndDocument::Receipt, 1, "../x"));
}

QTEST_GUILESS_MAIN(TestEndOfContract)
#include "tst_endofcontract.moc"
