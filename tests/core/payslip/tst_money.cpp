#include "common/errors.h"
#include "common/monthkey.h"
#include "common/numbers.h"
#include "payslip/money.h"
#include "raised.h"

#include <QtTest>
#include <limits>

class TestMoney : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        setDecimalSeparator('.');
        setGroupSeparator(QStringLiteral(" "));
    }

    void fromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("count");
        QTest::newRow("two decimals") << "3.00" << qint64(30000);
        QTest::newRow("whole") << "30" << qint64(300000);
        QTest::newRow("blanks and sign") << " -2.29 " << qint64(-22900);
        QTest::newRow("exponent") << "1.5E2" << qint64(1500000);
        QTest::newRow("fifth decimal down") << "12.34564" << qint64(123456);
        QTest::newRow("fifth decimal up") << "12.34566" << qint64(123457);
        QTest::newRow("tie to even, down") << "12.34565" << qint64(123456);
        QTest::newRow("tie to even, up") << "12.34575" << qint64(123458);
        QTest::newRow("smallest tie") << "0.00005" << qint64(0);
        QTest::newRow("negative tie") << "-0.00015" << qint64(-2);
        QTest::newRow("tie written with exponent") << "2.5e-4" << qint64(2);
        QTest::newRow("tie with negative exponent digits") << "125E-6" << qint64(1);
        QTest::newRow("just above a tie") << "0.0000500001" << qint64(1);
        QTest::newRow("largest euros") << "922337203685477.5807" << std::numeric_limits<qint64>::max();
    }
    void fromText()
    {
        QFETCH(QString, text);
        QFETCH(qint64, count);
        QCOMPARE(moneyFromText(text).count(), count);
    }

    void fromBadText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("comma") << "3,00";
        QTest::newRow("grouped") << "1 000.00";
        QTest::newRow("beyond money") << "1E20";
        QTest::newRow("just beyond money") << "922337203685477.5808";
    }
    void fromBadText()
    {
        QFETCH(QString, text);
        QCOMPARE(raised([&] { moneyFromText(text); }),
                 QStringLiteral("'%1' n'est pas une valeur en virgule flottante correcte").arg(text));
    }

    // Products are formed in extended precision, then rounded once.
    void round4Products_data()
    {
        QTest::addColumn<long double>("euros");
        QTest::addColumn<qint64>("count");
        QTest::newRow("contribution 330 x 0.0348") << 330.0L * 0.0348L << qint64(114840);
        QTest::newRow("decimal tie 330 x 0.0265") << 330.0L * 0.0265L << qint64(87450);
        QTest::newRow("gross line 352 x 2.90 x 95") << 352.0L * 2.90L * 95 / 10000 << qint64(96976);
        // 1/32 and 3/32 are exact in binary: 312.5 and 937.5 ten-thousandths.
        QTest::newRow("exact half, even") << 0.03125L << qint64(312);
        QTest::newRow("exact half, odd") << 0.09375L << qint64(938);
        QTest::newRow("negative exact half") << -0.03125L << qint64(-312);
        QTest::newRow("zero") << 0.0L << qint64(0);
        QTest::newRow("one third") << 1.0L / 3 << qint64(3333);
    }
    void round4Products()
    {
        QFETCH(long double, euros);
        QFETCH(qint64, count);
        QCOMPARE(round4(euros).count(), count);
    }

    // The two rules on exact ratios, tie by tie: half away from zero (what
    // the program works out exactly) and ties to even (the slips' steps).
    void exactRatios_data()
    {
        QTest::addColumn<qint64>("numerator");
        QTest::addColumn<qint64>("denominator");
        QTest::addColumn<qint64>("halfAway");
        QTest::addColumn<qint64>("toEven");
        QTest::newRow("5 / 2, a tie") << 5LL << 2LL << 3LL << 2LL;
        QTest::newRow("7 / 2, a tie") << 7LL << 2LL << 4LL << 4LL;
        QTest::newRow("-5 / 2, a tie") << -5LL << 2LL << -3LL << -2LL;
        QTest::newRow("5 / -2, a tie") << 5LL << -2LL << -3LL << -2LL;
        QTest::newRow("1 / 2, the smallest tie") << 1LL << 2LL << 1LL << 0LL;
        QTest::newRow("below a tie") << 149LL << 100LL << 1LL << 1LL;
        QTest::newRow("above a tie") << 151LL << 100LL << 2LL << 2LL;
        QTest::newRow("two thirds") << 2LL << 3LL << 1LL << 1LL;
        QTest::newRow("zero") << 0LL << 7LL << 0LL << 0LL;
    }
    void exactRatios()
    {
        QFETCH(qint64, numerator);
        QFETCH(qint64, denominator);
        QTEST(roundHalfAway(numerator, denominator), "halfAway");
        QTEST(roundRatio(numerator, denominator), "toEven");
        // The same ratio in cents, and as a part of one cent.
        QCOMPARE(centsOf(numerator, denominator), Money::fromCents(roundHalfAway(numerator, denominator)));
        QCOMPARE(partOf(Money::fromCents(1), numerator, denominator), centsOf(numerator, denominator));
    }

    // Sums, differences and order are those of the counts.
    void arithmetic()
    {
        const Money a = Money::fromCount(123456), b = Money::fromCents(-78);
        QCOMPARE((a + b).count(), 123456 - 7800);
        QCOMPARE((a - b).count(), 123456 + 7800);
        QCOMPARE((-a).count(), -123456);
        Money sum;
        sum += a;
        sum += b;
        QCOMPARE(sum, a + b);
        QVERIFY(b < Money() && Money() < a && a > b && a >= a && !(a < a));
    }

    void round4OutOfRange_data()
    {
        QTest::addColumn<long double>("euros");
        QTest::newRow("too large") << 1.0E15L;
        QTest::newRow("too small") << -1.0E15L;
        QTest::newRow("infinite") << std::numeric_limits<long double>::infinity();
        QTest::newRow("not a number") << std::numeric_limits<long double>::quiet_NaN();
    }
    void round4OutOfRange()
    {
        QFETCH(long double, euros);
        QCOMPARE(raised([&] { round4(euros); }), QStringLiteral("Opération en virgule flottante incorrecte"));
    }

    void display_data()
    {
        QTest::addColumn<qint64>("count");
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("shownCount");
        QTest::newRow("tie down to even") << qint64(123450) << "12.34" << qint64(123400);
        QTest::newRow("tie up to even") << qint64(123550) << "12.36" << qint64(123600);
        QTest::newRow("negative tie") << qint64(-123450) << "-12.34" << qint64(-123400);
        QTest::newRow("below the tie") << qint64(123449) << "12.34" << qint64(123400);
        QTest::newRow("above the tie") << qint64(123451) << "12.35" << qint64(123500);
        QTest::newRow("zero") << qint64(0) << "0.00" << qint64(0);
        QTest::newRow("small negative shows no sign") << qint64(-40) << "0.00" << qint64(0);
        QTest::newRow("cents") << qint64(500) << "0.05" << qint64(500);
        QTest::newRow("negative") << qint64(-123456) << "-12.35" << qint64(-123500);
        QTest::newRow("999.99") << qint64(9999900) << "999.99" << qint64(9999900);
        QTest::newRow("rounds up into thousands") << qint64(9999950) << "1 000.00" << qint64(10000000);
        QTest::newRow("thousands") << qint64(12345678) << "1 234.57" << qint64(12345700);
        QTest::newRow("millions") << qint64(-12345678900) << "-1 234 567.89" << qint64(-12345678900);
        QTest::newRow("largest") << std::numeric_limits<qint64>::max() << "922 337 203 685 477.58"
                                 << qint64(9223372036854775800);
        QTest::newRow("most negative") << std::numeric_limits<qint64>::min() << "-922 337 203 685 477.58"
                                       << qint64(-9223372036854775800);
    }
    void display()
    {
        QFETCH(qint64, count);
        QFETCH(QString, text);
        QFETCH(qint64, shownCount);
        QCOMPARE(formatAmount(Money::fromCount(count)), text);
        QCOMPARE(shown(Money::fromCount(count)).count(), shownCount);
    }

    void displayFollowsSeparators()
    {
        setGroupSeparator(QStringLiteral("\u202f"));
        QCOMPARE(formatAmount(Money::fromCount(12345678900)), QStringLiteral("1\u202f234\u202f567.89"));
        setDecimalSeparator(',');
        setGroupSeparator(QStringLiteral("."));
        QCOMPARE(formatAmount(Money::fromCount(12345678900)), QStringLiteral("1.234.567,89"));
        setDecimalSeparator('.');
        setGroupSeparator(QString());
        QCOMPARE(groupSeparator(), QLocale::system().groupSeparator());
        setGroupSeparator(QStringLiteral(" "));
    }

    void months_data()
    {
        QTest::addColumn<int>("month");
        QTest::addColumn<QString>("name");
        QTest::newRow("first") << 1 << "Janvier";
        QTest::newRow("second") << 2 << "Février";
        QTest::newRow("eighth, as the slip spells it") << 8 << "Aôut";
        QTest::newRow("last") << 12 << "Décembre";
        QTest::newRow("none") << 0 << "";
        QTest::newRow("past the year") << 13 << "";
        QTest::newRow("negative") << -1 << "";
    }
    void months()
    {
        QFETCH(int, month);
        QFETCH(QString, name);
        QCOMPARE(slipMonthName(month), name);
    }
};

QTEST_GUILESS_MAIN(TestMoney)
#include "tst_money.moc"
