#include "common/environment.h"
#include "common/numbers.h"
#include "common/programfiles.h"
#include "contract/contractslip.h"
#include "contract/contractstore.h"
#include "legal/legaltable.h"

#include "../payslip/march2002.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace contract;

namespace {
QDate on(const char *iso) { return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate); }

// The contract of the help's worked example: a complete year from 5 January
// 2026, 8 hours from Monday to Friday, the childminder absent on 9 and 10
// March.
Contract example()
{
    Contract c;
    c.kind = Kind::CompleteYear;
    c.first = on("2026-01-05");
    for (int d = 0; d < 5; ++d)
        c.plannedMinutes[size_t(d)] = 8 * 60;
    c.absences << Absence{{on("2026-03-09"), on("2026-03-10")}, Reason::MinderAbsent};
    return c;
}

// Its March: every weekday worked 8 hours but the two days of absence, and
// the week of the 16th 47 hours.
QList<StoredDay> march()
{
    QList<StoredDay> days;
    for (QDate d = on("2026-03-01"); d <= on("2026-03-31"); d = d.addDays(1)) {
        if (d.dayOfWeek() > 5 || d == on("2026-03-09") || d == on("2026-03-10"))
            continue;
        const bool long_ = d >= on("2026-03-16") && d <= on("2026-03-20");
        days << StoredDay{d, long_ ? 564 : 480, false};
    }
    return days;
}

// The limits of the table shipped with the program in March 2026.
Limits law()
{
    static const legal::Table shipped = legal::Table::load(QStringLiteral(BERLIVO_SOURCE_DIR "/data/Baremes.txt"));
    return limitsOn(shipped, on("2026-03-01")).value();
}

SlipInput inputs(const QString &monthKey = "0326")
{
    SlipInput in = march2002();
    in.moan = monthKey;
    in.totheur = "187.00";
    in.SH = in.SHbr = "4.00";
    return in;
}
} // namespace

class TestContractSlip : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        setDecimalSeparator('.');
        setGroupSeparator(QStringLiteral(" "));
    }

    // The help's worked example, line by line, on both bases: the pay block
    // is the contract's, the rest the basis's own steps on S.
    void workedExample_data()
    {
        QTest::addColumn<bool>("gross");
        QTest::newRow("net") << false;
        QTest::newRow("gross") << true;
    }
    void workedExample()
    {
        QFETCH(bool, gross);
        const SlipInput in = inputs();
        const ContractSlip s = contractSlip(in, gross, example(), march(), law());
        QVERIFY2(s.complete(), qPrintable(s.failure + s.slip.error.value_or("")));
        const ContractPay &p = s.pay;
        QCOMPARE((QStringList{p.hmens, p.tauxh, p.salmens}), (QStringList{"173.33", "4.00", "693.33"}));
        QCOMPARE((QStringList{p.habs, p.hplan, p.deduc}), (QStringList{"16.00", "176.00", "-63.03"}));
        QCOMPARE(p.datesabs,
                 "du 09/03/2026 au 10/03/2026 (Absence de l'assistante maternelle (maladie, congé sans solde))");
        QCOMPARE((QStringList{p.hcomp, p.mtcomp, p.hmaj, p.mtmaj}), (QStringList{"5.00", "20.00", "2.00", "8.80"}));
        QCOMPARE((QStringList{p.hferie, p.mtferie, p.salmois}), (QStringList{"0.00", "0.00", "659.10"}));
        QCOMPARE(gross ? *s.slip.salbrut : *s.slip.salnet, "659.10");
        const SlipResult same = computeContractSlip(in, gross, s.figures.salary);
        QCOMPARE(s.slip.net, same.net);
        QCOMPARE(s.slip.totcs, same.totcs);
        // 5 planned weekdays x 52 / 12 = 21.67, 22 days, less the 2 deducted.
        QCOMPARE(s.hours.activityDays(), 20);
        QCOMPARE(s.hours.normalTwelfths(), 12 * (173 * 60 + 20 - 16 * 60));
    }

    // No slip of the contract: the reason is said, nothing is worked out.
    void noContractSlip()
    {
        Contract occasional = example();
        occasional.kind = Kind::Occasional;
        ContractSlip s = contractSlip(inputs(), false, occasional, march(), law());
        QVERIFY(!s.failure.isEmpty());
        QVERIFY(!s.slip.salnet);
        Contract ended = example();
        ended.last = on("2026-02-27");
        s = contractSlip(inputs(), false, ended, march(), law());
        QVERIFY(s.figures.outsideContract);
        QCOMPARE(s.failure, s.figures.failure);
        // A rate that does not read stops the slip as the slips paid by the hour stop.
        SlipInput bad = inputs();
        bad.SH = "4,00";
        s = contractSlip(bad, false, example(), march(), law());
        QVERIFY(s.failure.isEmpty());
        QVERIFY2(s.slip.error.value_or("").endsWith("'4,00' n'est pas une valeur en virgule flottante correcte"),
                 qPrintable(s.slip.error.value_or("")));
    }

    void paidByContract_data()
    {
        QTest::addColumn<int>("kind"); // -1: no contract stored
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("monthKey");
        QTest::addColumn<bool>("paid");
        QTest::newRow("no contract") << -1 << ""
                                     << "0326" << false;
        QTest::newRow("occasional") << int(Kind::Occasional) << ""
                                    << "0326" << false;
        QTest::newRow("complete year") << int(Kind::CompleteYear) << ""
                                       << "0326" << true;
        QTest::newRow("incomplete year") << int(Kind::IncompleteYear) << ""
                                         << "0326" << true;
        QTest::newRow("its first month") << int(Kind::CompleteYear) << ""
                                         << "0126" << true;
        QTest::newRow("before it") << int(Kind::CompleteYear) << ""
                                   << "1225" << false;
        QTest::newRow("its last month") << int(Kind::CompleteYear) << "2026-03-02"
                                        << "0326" << true;
        QTest::newRow("after it") << int(Kind::CompleteYear) << "2026-02-27"
                                  << "0326" << false;
        QTest::newRow("no month validated") << int(Kind::CompleteYear) << ""
                                            << "moan" << false;
    }
    void paidByContract()
    {
        QFETCH(int, kind);
        QFETCH(QString, last);
        QFETCH(QString, monthKey);
        QTemporaryDir dir;
        if (kind >= 0) {
            Contract c = example();
            c.kind = Kind(kind);
            c.weeks = c.kind == Kind::IncompleteYear ? 40 : 0;
            c.absences.clear();
            c.last = QDate::fromString(last, Qt::ISODate);
            storeContract(dir.filePath(folder::contracts), 1, c);
        }
        QTEST(contract::paidByContract(dir.path(), 1, monthKey), "paid");
        QVERIFY(!contract::paidByContract(dir.path(), 2, monthKey)); // another child
    }
};

QTEST_GUILESS_MAIN(TestContractSlip)
#include "tst_contractslip.moc"
