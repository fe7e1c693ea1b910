#include "contract/monthfigures.h"
#include "contract/paidleave.h"

#include <QtTest>

using namespace contract;

Q_DECLARE_METATYPE(contract::Contract)
Q_DECLARE_METATYPE(QList<contract::StoredDay>)
Q_DECLARE_METATYPE(contract::MonthSalaries)

namespace {
QDate on(const char *iso) { return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate); }
Money euros(qint64 cents) { return Money::fromCount(cents * 100); }

// Monday to Friday at `minutes` a day.
Contract weekdays(Kind kind, const char *first, int minutes, int weeks = 0)
{
    Contract c;
    c.kind = kind;
    c.first = on(first);
    for (size_t d = 0; d < 5; ++d)
        c.plannedMinutes[d] = minutes;
    c.weeks = weeks;
    return c;
}

// 36 weeks of care at 30 h: sixteen weeks without care in the summer and autumn of 2025.
Contract school(LeavePayment payment)
{
    Contract c = weekdays(Kind::IncompleteYear, "2025-06-02", 6 * 60, 36);
    c.periodsWithoutCare << DateRange{on("2025-07-07"), on("2025-10-26")};
    c.leavePayment = payment;
    // Three days in June, then eighteen working days in August, 15 August a public holiday.
    c.absences << Absence{{on("2026-06-15"), on("2026-06-17")}, Reason::MinderLeave}
               << Absence{{on("2026-08-03"), on("2026-08-22")}, Reason::MinderLeave};
    return c;
}

MonthSalaries monthly(const char *from, int months, qint64 cents)
{
    MonthSalaries s;
    for (int k = 0; k < months; ++k)
        s.insert(on(from).addMonths(k), euros(cents));
    return s;
}

// The period's figures on one line: weeks, days earned, taken, left, the two
// amounts and the one chosen, then each payout (month:days:amount, "+" for a
// complement), then the unpaid days.
QString summary(const LeavePeriod &p)
{
    QStringList payouts;
    for (const LeavePayout &o : p.payouts)
        payouts << QStringLiteral("%1:%2:%3%4")
                       .arg(o.month.toString("yyyy-MM"))
                       .arg(o.days)
                       .arg(centsText(shownCents(o.amount)), o.complement ? QStringLiteral("+") : QString());
    QString unpaid = QString::number(p.unpaidDays.size());
    if (!p.unpaidDays.isEmpty())
        unpaid += QLatin1Char(' ') + p.unpaidDays.first().toString("dd/MM");
    return QStringLiteral("w%1 e%2 t%3 l%4 %5/%6=%7 | %8 | %9")
        .arg(p.weeksOfCare)
        .arg(p.earnedTenths / 10.0, 0, 'f', 1)
        .arg(p.daysTaken)
        .arg(p.daysLeft)
        .arg(centsText(shownCents(p.tenPercent)), centsText(shownCents(p.keptSalary)), centsText(shownCents(p.amount)),
             payouts.join(QLatin1Char(' ')), unpaid);
}
} // namespace

class TestPaidLeave : public QObject {
    Q_OBJECT
private slots:
    void periods_data();
    void periods();
    void leaveBeyondTheDaysEarnedDeducted();
};

void TestPaidLeave::periods_data()
{
    QTest::addColumn<Contract>("contract");
    QTest::addColumn<QList<StoredDay>>("days");
    QTest::addColumn<MonthSalaries>("salaries");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("startYear");
    QTest::addColumn<QString>("expected");

    const QList<StoredDay> assumption = {StoredDay{on("2026-08-15"), 0, true}};
    const MonthSalaries schoolPay = monthly("2025-06-01", 12, 36000);
    // 36 weeks: 22.5 days rounded up; 23 / 6 x 30 h x 4.00 = 460.00 beats 10 % of 4320.00.
    QTest::newRow("36 weeks, in June") << school(LeavePayment::InJune) << assumption << schoolPay << on("2026-09-01")
                                       << 2025 << "w36 e23.0 t20 l3 432,00/460,00=460,00 | 2026-06:23:460,00 | 0";
    QTest::newRow("36 weeks, at the main leave")
        << school(LeavePayment::MainLeave) << assumption << schoolPay << on("2026-09-01") << 2025
        << "w36 e23.0 t20 l3 432,00/460,00=460,00 | 2026-08:23:460,00 | 0";
    // A period's pay of 4320.05: its tenth, 432.005, an exact half cent, goes away from zero.
    MonthSalaries oddCents = schoolPay;
    oddCents.insert(on("2025-06-01"), euros(36005));
    QTest::newRow("a tenth of an exact half cent")
        << school(LeavePayment::InJune) << assumption << oddCents << on("2026-09-01") << 2025
        << "w36 e23.0 t20 l3 432,01/460,00=460,00 | 2026-06:23:460,00 | 0";
    // With no leave of 12 working days the May slip pays.
    Contract shortLeaves = school(LeavePayment::MainLeave);
    shortLeaves.absences[1].range.to = on("2026-08-14");
    QTest::newRow("no main leave, in May") << shortLeaves << assumption << schoolPay << on("2026-09-01") << 2025
                                           << "w36 e23.0 t14 l9 432,00/460,00=460,00 | 2027-05:23:460,00 | 0";
    // 3 / 23 of 460.00 in June, 20 / 23 less that in August, the rest in May.
    QTest::newRow("36 weeks, as taken") << school(LeavePayment::AsTaken) << assumption << schoolPay << on("2026-09-01")
                                        << 2025
                                        << "w36 e23.0 t20 l3 432,00/460,00=460,00 | 2026-06:3:60,00 2026-08:17:340,00 "
                                           "2027-05:3:60,00 | 0";
    // The next period's pay holds the leave paid on its slips (a year without
    // periods without care: 52 weeks, the cap).
    QTest::newRow("leave paid counts in the next period's pay")
        << school(LeavePayment::InJune) << assumption << monthly("2025-06-01", 24, 36000) << on("2027-07-01") << 2026
        << "w52 e30.0 t0 l30 478,00/600,00=600,00 | 2027-06:30:600,00 | 0";
    // While the period runs, the days so far with one decimal and their kept
    // salary, not rounded up: 5 weeks by 6 July 2025, 3.125 days.
    QTest::newRow("running period") << school(LeavePayment::InJune) << assumption << schoolPay << on("2025-07-06")
                                    << 2025 << "w5 e3.1 t20 l0 432,00/62,50=432,00 | 2026-06:4:432,00 | 0";

    // 52 weeks earn 32.5 days, capped at 30: 800.00 kept against 10 % of
    // 8319.96; the difference is June's complement.
    const Contract full = weekdays(Kind::CompleteYear, "2025-06-02", 8 * 60);
    QTest::newRow("complete year, complement")
        << full << QList<StoredDay>{} << monthly("2025-06-01", 12, 69333) << on("2026-09-01") << 2025
        << "w52 e30.0 t0 l30 832,00/800,00=832,00 | 2026-06:0:32,00+ | 0";
    // From 1 November (a Saturday): 30 weeks, 18.75 days rounded up.
    Contract november = weekdays(Kind::CompleteYear, "2025-11-01", 8 * 60);
    QTest::newRow("from 1 November") << november << QList<StoredDay>{} << monthly("2025-11-01", 7, 69333)
                                     << on("2026-09-01") << 2025 << "w30 e19.0 t0 l19 485,33/506,67=506,67 |  | 0";
    // 24 working days taken from 1 June against 19 earned: the five last unpaid.
    november.absences << Absence{{on("2026-06-01"), on("2026-06-27")}, Reason::MinderLeave};
    QTest::newRow("beyond the days earned")
        << november << QList<StoredDay>{} << monthly("2025-11-01", 7, 69333) << on("2026-09-01") << 2025
        << "w30 e19.0 t24 l0 485,33/506,67=506,67 |  | 5 23/06";
    // Leave taken before the first June is drawn from a period that earned nothing.
    Contract early = weekdays(Kind::CompleteYear, "2025-11-01", 8 * 60);
    early.absences << Absence{{on("2025-12-22"), on("2025-12-27")}, Reason::MinderLeave};
    QTest::newRow("leave before the first June") << early << QList<StoredDay>{} << MonthSalaries{} << on("2026-09-01")
                                                 << 2024 << "w0 e0.0 t6 l0 0,00/0,00=0,00 |  | 6 22/12";
    // A deducted absence the whole week long takes the week out.
    Contract absent = full;
    absent.absences << Absence{{on("2025-06-09"), on("2025-06-13")}, Reason::MinderAbsent};
    QTest::newRow("a week of deducted absence") << absent << QList<StoredDay>{} << MonthSalaries{} << on("2026-09-01")
                                                << 2025 << "w51 e30.0 t0 l30 0,00/800,00=800,00 |  | 0";

    // The week of 27 May to 2 June 2024 belongs to the period of its
    // Thursday, 30 May; the contract ends on 7 June and its last slip pays.
    Contract across = weekdays(Kind::CompleteYear, "2024-05-29", 8 * 60);
    across.last = on("2024-06-07");
    QTest::newRow("week across 31 May") << across << QList<StoredDay>{} << MonthSalaries{} << on("2024-09-01") << 2023
                                        << "w1 e1.0 t0 l1 0,00/26,67=26,67 | 2024-06:1:26,67 | 0";
    QTest::newRow("the week after it") << across << QList<StoredDay>{} << MonthSalaries{} << on("2024-09-01") << 2024
                                       << "w1 e1.0 t0 l1 2,67/26,67=26,67 | 2024-06:1:26,67 | 0";
}

void TestPaidLeave::periods()
{
    QFETCH(Contract, contract);
    QFETCH(QList<StoredDay>, days);
    QFETCH(MonthSalaries, salaries);
    QFETCH(QDate, today);
    QFETCH(int, startYear);
    QFETCH(QString, expected);
    const QList<LeavePeriod> periods = paidLeave(contract, days, euros(400), salaries, today);
    const auto it =
        std::find_if(periods.begin(), periods.end(), [&](const LeavePeriod &p) { return p.startYear == startYear; });
    QVERIFY(it != periods.end());
    QCOMPARE(summary(*it), expected);
}

// In June 2026 the contract from 1 November 2025 (19 days earned) takes 24:
// 23 to 27 June are unpaid, the planned four of them deducted from the base
// like any deducted absence (4 x 8 h of the month's 22 x 8 h).
void TestPaidLeave::leaveBeyondTheDaysEarnedDeducted()
{
    Contract c = weekdays(Kind::CompleteYear, "2025-11-01", 8 * 60);
    c.absences << Absence{{on("2026-06-01"), on("2026-06-27")}, Reason::MinderLeave};
    const MonthFigures june = monthFigures(c, 2026, 6, {}, euros(400), {}, Limits{45 * 60, 10, 46});
    QVERIFY2(june.complete(), qPrintable(june.failure));
    QCOMPARE(june.deductedMinutes, 4 * 8 * 60);
    QCOMPARE(june.deduction, euros(12606));
    QCOMPARE(june.deducted.size(), 1);
    QCOMPARE(june.deducted.first().range, (DateRange{on("2026-06-23"), on("2026-06-26")}));
    QCOMPARE(int(june.deducted.first().reason), int(Reason::MinderLeave));
    // Within the days earned, leave costs nothing.
    c.absences.first().range.to = on("2026-06-20");
    QCOMPARE(monthFigures(c, 2026, 6, {}, euros(400), {}, Limits{45 * 60, 10, 46}).deductedMinutes, 0);
}

QTEST_GUILESS_MAIN(TestPaidLeave)
#include "tst_paidleave.moc"
