#include "common/monthkey.h"

#include <QtTest>

class TestMonthKey : public QObject {
    Q_OBJECT
private slots:
    void fromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("month"); // 0: not a key
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("title");
        QTest::newRow("March 2002") << "0302" << 3 << 2002 << "Mars 2002";
        QTest::newRow("August, spelt right") << "0824" << 8 << 2024 << "Août 2024";
        QTest::newRow("December 2099") << "1299" << 12 << 2099 << "Décembre 2099";
        QTest::newRow("year 00") << "0100" << 1 << 2000 << "Janvier 2000";
        QTest::newRow("the placeholder") << "moan" << 0 << 0 << "";
        QTest::newRow("month 13") << "1302" << 0 << 0 << "";
        QTest::newRow("month 00") << "0002" << 0 << 0 << "";
        QTest::newRow("too short") << "032" << 0 << 0 << "";
        QTest::newRow("too long") << "03020" << 0 << 0 << "";
        QTest::newRow("a blank") << " 302" << 0 << 0 << "";
        QTest::newRow("a sign") << "+302" << 0 << 0 << "";
        QTest::newRow("empty") << "" << 0 << 0 << "";
    }
    void fromText()
    {
        QFETCH(QString, text);
        QFETCH(int, month);
        const std::optional<MonthKey> key = MonthKey::fromText(text);
        QCOMPARE(key.has_value(), month != 0);
        if (!key)
            return;
        QCOMPARE(key->month(), month);
        QTEST(key->year(), "year");
        QTEST(key->title(), "title");
        QCOMPARE(key->text(), text);
        QCOMPARE(MonthKey::of(month, key->year()), *key);
    }

    // The slip reads the key as written: a month it cannot name stays empty,
    // and only August is spelt its own way.
    void slipSpelling()
    {
        for (int m = 0; m <= 13; ++m)
            QCOMPARE(slipMonthName(m), m == 8 ? QStringLiteral("Aôut") : monthName(m));
        QCOMPARE(keyYearText("1302"), QStringLiteral("2002"));
        QCOMPARE(keyMonthText("1302"), QStringLiteral("13"));
        QCOMPARE(monthKey("05/01/2007"), QStringLiteral("0107"));
    }
};

QTEST_GUILESS_MAIN(TestMonthKey)
#include "tst_monthkey.moc"
