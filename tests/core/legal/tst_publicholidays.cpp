// The public holidays of a year, against the French calendars published
// for 2024 to 2035: every date written out, the Easter ones per year.

#include "legal/publicholidays.h"

#include <QtTest>

namespace {
// "dd/MM" of each holiday, in date order.
QString days(const QList<legal::PublicHoliday> &list)
{
    QStringList out;
    for (const legal::PublicHoliday &h : list)
        out << h.date.toString(QStringLiteral("dd/MM"));
    return out.join(QLatin1Char(' '));
}
} // namespace

class TestPublicHolidays : public QObject {
    Q_OBJECT
private slots:
    void calendar_data();
    void calendar();
    void acrossNewYear();
};

void TestPublicHolidays::calendar_data()
{
    QTest::addColumn<int>("year");
    // Jour de l'an, Lundi de Pâques, 1er mai, 8 mai, Ascension, Lundi de
    // Pentecôte, 14 juillet, Assomption, Toussaint, 11 novembre, Noël.
    QTest::addColumn<QString>("national");
    // Vendredi saint and Saint-Étienne.
    QTest::addColumn<QString>("alsaceMoselle");
    QTest::newRow("2024") << 2024 << "01/01 01/04 01/05 08/05 09/05 20/05 14/07 15/08 01/11 11/11 25/12" << "29/03 26/12";
    QTest::newRow("2025") << 2025 << "01/01 21/04 01/05 08/05 29/05 09/06 14/07 15/08 01/11 11/11 25/12" << "18/04 26/12";
    QTest::newRow("2026") << 2026 << "01/01 06/04 01/05 08/05 14/05 25/05 14/07 15/08 01/11 11/11 25/12" << "03/04 26/12";
    QTest::newRow("2027") << 2027 << "01/01 29/03 01/05 06/05 08/05 17/05 14/07 15/08 01/11 11/11 25/12" << "26/03 26/12";
    QTest::newRow("2028") << 2028 << "01/01 17/04 01/05 08/05 25/05 05/06 14/07 15/08 01/11 11/11 25/12" << "14/04 26/12";
    QTest::newRow("2029") << 2029 << "01/01 02/04 01/05 08/05 10/05 21/05 14/07 15/08 01/11 11/11 25/12" << "30/03 26/12";
    QTest::newRow("2030") << 2030 << "01/01 22/04 01/05 08/05 30/05 10/06 14/07 15/08 01/11 11/11 25/12" << "19/04 26/12";
    QTest::newRow("2031") << 2031 << "01/01 14/04 01/05 08/05 22/05 02/06 14/07 15/08 01/11 11/11 25/12" << "11/04 26/12";
    QTest::newRow("2032") << 2032 << "01/01 29/03 01/05 06/05 08/05 17/05 14/07 15/08 01/11 11/11 25/12" << "26/03 26/12";
    QTest::newRow("2033") << 2033 << "01/01 18/04 01/05 08/05 26/05 06/06 14/07 15/08 01/11 11/11 25/12" << "15/04 26/12";
    QTest::newRow("2034") << 2034 << "01/01 10/04 01/05 08/05 18/05 29/05 14/07 15/08 01/11 11/11 25/12" << "07/04 26/12";
    QTest::newRow("2035") << 2035 << "01/01 26/03 01/05 03/05 08/05 14/05 14/07 15/08 01/11 11/11 25/12" << "23/03 26/12";
}

void TestPublicHolidays::calendar()
{
    QFETCH(int, year);
    QFETCH(QString, national);
    QFETCH(QString, alsaceMoselle);
    QCOMPARE(days(legal::publicHolidays(year, false)), national);
    // Alsace-Moselle keeps the national days and adds its two.
    QStringList local = (national + ' ' + alsaceMoselle).split(' ');
    std::sort(local.begin(), local.end(), [](const QString &a, const QString &b) {
        return QDate::fromString(a, "dd/MM") < QDate::fromString(b, "dd/MM");
    });
    QCOMPARE(days(legal::publicHolidays(year, true)), local.join(' '));
}

void TestPublicHolidays::acrossNewYear()
{
    const auto between = legal::publicHolidays(QDate(2025, 12, 20), QDate(2026, 1, 1), true);
    QCOMPARE(days(between), QString("25/12 26/12 01/01"));
    QCOMPARE(between.first().name, QString("Noël"));
    QCOMPARE(between.last().date, QDate(2026, 1, 1));
    QVERIFY(legal::publicHolidays(QDate(2026, 4, 7), QDate(2026, 4, 30), false).isEmpty());
}

QTEST_GUILESS_MAIN(TestPublicHolidays)
#include "tst_publicholidays.moc"
