#include "attendance/dayrecord.h"
#include "attendance/monthchoice.h"
#include "common/errors.h"
#include "common/numbers.h"
#include "raised.h"

#include <QtTest>

class TestMonthChoice : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setDecimalSeparator('.'); }

    void monthOfADate_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QDate>("last");
        QTest::newRow("leap 2000") << "15/02/2000"
                                   << "0200" << QDate(2000, 2, 1) << QDate(2000, 2, 29);
        QTest::newRow("not leap 1900") << "01/02/1900"
                                       << "0200" << QDate(1900, 2, 1) << QDate(1900, 2, 28);
        QTest::newRow("leap 2004") << "29/02/2004"
                                   << "0204" << QDate(2004, 2, 1) << QDate(2004, 2, 29);
        QTest::newRow("not leap 2003") << "28/02/2003"
                                       << "0203" << QDate(2003, 2, 1) << QDate(2003, 2, 28);
        QTest::newRow("March, any day") << "05/03/2002"
                                        << "0302" << QDate(2002, 3, 1) << QDate(2002, 3, 31);
        QTest::newRow("September") << "30/09/2010"
                                   << "0910" << QDate(2010, 9, 1) << QDate(2010, 9, 30);
        QTest::newRow("November") << "01/11/2010"
                                  << "1110" << QDate(2010, 11, 1) << QDate(2010, 11, 30);
        QTest::newRow("August") << "12/08/2011"
                                << "0811" << QDate(2011, 8, 1) << QDate(2011, 8, 31);
        QTest::newRow("December") << "31/12/2010"
                                  << "1210" << QDate(2010, 12, 1) << QDate(2010, 12, 31);
        QTest::newRow("January") << "05/01/2007"
                                 << "0107" << QDate(2007, 1, 1) << QDate(2007, 1, 31);
    }
    void monthOfADate()
    {
        QFETCH(QString, date);
        QFETCH(QString, key);
        QFETCH(QDate, first);
        QFETCH(QDate, last);
        const review::MonthChoice m = review::monthOf(date);
        QCOMPARE(m.key, key);
        QCOMPARE(m.first, first);
        QCOMPARE(m.last, last);
    }

    // Every month of a few centuries against the calendar's own lengths.
    void lastDayMatchesTheCalendar()
    {
        for (int year = 1896; year <= 2404; ++year)
            for (int month = 1; month <= 12; ++month)
                QCOMPARE(review::lastDayText(month, year).toInt(), QDate(year, month, 1).daysInMonth());
    }

    // A date in another short form picks the wrong characters and fails with
    // the runtime's conversion error.
    void anotherDateFormFails_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("error");
        QTest::newRow("ISO") << "2002-03-05"
                             << "'2-' n'est pas une valeur entière correcte";
        QTest::newRow("month first") << "03/25/2002"
                                     << "'01/25/2002' n'est pas une date correcte";
        QTest::newRow("two-digit year") << "05/03/02"
                                        << "'01/03/02' n'est pas une date correcte";
    }
    void anotherDateFormFails()
    {
        QFETCH(QString, date);
        QFETCH(QString, error);
        QCOMPARE(raised([&] { review::monthOf(date); }), error);
    }

    void filterAndGrid()
    {
        QCOMPARE(review::monthFilter("0302"), QString("Moan ='0302'"));
        QStringList shown;
        for (int f : review::gridFields())
            shown << day::fieldNames().at(f);
        QCOMPARE(shown, QStringList({"Date", "Heure1", "Heure2", "Heure3", "Heure4", "Durée", "FJ", "PD", "Déj",
                                     "Gouter", "Diner", "Ferié"}));
    }
};

QTEST_GUILESS_MAIN(TestMonthChoice)
#include "tst_monthchoice.moc"
