// The month filled from the contract's planning, and its summary.

#include "common/environment.h"
#include "contract/contractinputs.h"
#include "contract/monthfill.h"

#include <QtTest>

using namespace contract;

Q_DECLARE_METATYPE(contract::Contract)

namespace {
QDate on(const char *iso) { return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate); }

// A complete year planning `minutes` from `arrival` on the given weekdays (1 = Monday).
Contract planned(const char *first, std::initializer_list<int> weekdays, int minutes, int arrival)
{
    Contract c;
    c.kind = Kind::CompleteYear;
    c.first = on(first);
    for (int d : weekdays) {
        c.plannedMinutes[size_t(d - 1)] = minutes;
        c.plannedTimes[size_t(d - 1)].arrival = arrival;
    }
    c.majHM = 10;
    return c;
}

MonthFill fillOf(const Contract &c, int year, int month, const QSet<QDate> &present = {})
{
    return monthFill(c, year, month, holidaysOf(c, year, month), UsualTicks{false, false, true, true, false}, present);
}

// "dd" of each day filled, "F" after a holiday worked.
QString days(const MonthFill &f)
{
    QStringList out;
    for (const PlannedDay &p : f.days)
        out << p.date.toString("dd") + (p.holiday ? "F" : "");
    return out.join(' ');
}
QString timesOf(const PlannedDay &p)
{
    QString t = p.arrival1.toString("HH:mm") + '-' + p.departure1.toString("HH:mm");
    if (p.arrival2.isValid())
        t += ' ' + p.arrival2.toString("HH:mm") + '-' + p.departure2.toString("HH:mm");
    return t;
}
QString off(const MonthFill &f)
{
    QStringList out;
    for (const legal::PublicHoliday &h : f.holidaysOff)
        out << h.date.toString("dd/MM");
    return out.join(' ');
}
} // namespace

class TestMonthFill : public QObject {
    Q_OBJECT
private slots:
    void plannedDays_data();
    void plannedDays();
    void noFill_data();
    void noFill();
    void daysPresentKept();
    void summary();
    void usualTicksFromParameters();
};

void TestMonthFill::plannedDays_data()
{
    QTest::addColumn<Contract>("contract");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<QString>("days");
    QTest::addColumn<QString>("times"); // of the first day
    QTest::addColumn<QString>("off");

    // May 2026: Friday 1 and 8 May, Thursday 14 (Ascension), Monday 25 (Whit Monday).
    Contract c = planned("2025-09-01", {1, 2, 3, 4}, 480, 8 * 60 + 30);
    Contract withGaps = c;
    withGaps.periodsWithoutCare << DateRange{on("2026-05-18"), on("2026-05-22")};
    withGaps.absences << Absence{{on("2026-05-05"), on("2026-05-06")}, Reason::ChildSick};
    QTest::newRow("period without care, absence, holidays") << withGaps << 2026 << 5 << "04 07 11 12 13 26 27 28"
                                                             << "08:30-16:30" << "14/05 25/05";
    c.holidaysWorked = true;
    QTest::newRow("holidays worked") << c << 2026 << 5 << "04 05 06 07 11 12 13 14F 18 19 20 21 25F 26 27 28"
                                     << "08:30-16:30" << "";
    Contract short_ = planned("2026-05-12", {1, 2, 3, 4, 5}, 540, 8 * 60);
    short_.last = on("2026-05-20");
    QTest::newRow("from the 12th to the 20th") << short_ << 2026 << 5 << "12 13 15 18 19 20" << "08:00-17:00"
                                               << "14/05";
    // Seven hours, home from 11:30 to 13:30: back until 17:00.
    Contract noon = planned("2025-09-01", {1, 2, 3, 4, 5}, 420, 8 * 60);
    for (int d = 0; d < 5; ++d)
        noon.plannedTimes[size_t(d)] = DayTimes{8 * 60, 11 * 60 + 30, 13 * 60 + 30};
    QTest::newRow("home at noon") << noon << 2026 << 6
                                  << "01 02 03 04 05 08 09 10 11 12 15 16 17 18 19 22 23 24 25 26 29 30"
                                  << "08:00-11:30 13:30-17:00" << "";
    Contract alsace = planned("2025-09-01", {1, 5}, 480, 7 * 60);
    alsace.alsaceMoselle = true;
    QTest::newRow("Good Friday in Alsace-Moselle") << alsace << 2026 << 4 << "10 13 17 20 24 27" << "07:00-15:00"
                                                   << "03/04 06/04";
}

void TestMonthFill::plannedDays()
{
    QFETCH(Contract, contract);
    QFETCH(int, year);
    QFETCH(int, month);
    const MonthFill f = fillOf(contract, year, month);
    QCOMPARE(f.failure, QString());
    QTEST(days(f), "days");
    QTEST(timesOf(f.days.first()), "times");
    QTEST(off(f), "off");
    QCOMPARE(f.days.first().ticks, (UsualTicks{false, false, true, true, false}));
}

void TestMonthFill::noFill_data()
{
    QTest::addColumn<Contract>("contract");
    QTest::addColumn<QString>("failure");
    Contract c = planned("2025-09-01", {1, 2, 4}, 480, 8 * 60);
    c.plannedTimes[1].arrival.reset();
    c.plannedTimes[3].arrival.reset();
    QTest::newRow("arrivals missing") << c << "Le contrat ne donne pas l'heure d'arrivée de : Mardi, Jeudi.\n"
                                             "Indiquez-la dans le contrat (Fichier, Contrat de l'enfant), puis "
                                             "remplissez le mois.";
    QTest::newRow("no regular contract") << Contract{}
                                         << "Le mois se remplit d'après un contrat mensualisé : l'enfant n'en a pas.";
    c = planned("2026-06-01", {1}, 480, 8 * 60);
    QTest::newRow("before the contract") << c << "Mai 2026 est hors du contrat";
}

void TestMonthFill::noFill()
{
    QFETCH(Contract, contract);
    QFETCH(QString, failure);
    const MonthFill f = fillOf(contract, 2026, 5);
    QVERIFY2(f.failure.contains(failure), qPrintable(f.failure));
    QVERIFY(f.days.isEmpty());
}

// A day on the sheet (typed, or stored) stays as it is unless the parent
// says to replace it; a filled row edited since is no longer the planning's.
void TestMonthFill::daysPresentKept()
{
    const Contract c = planned("2025-09-01", {1, 2, 3, 4, 5}, 540, 8 * 60);
    MonthSheet s;
    s.cell(sheet::Date, 2) = "02/06/2026";
    s.cell(sheet::Arrival1, 2) = "09:15:00";
    s.cell(sheet::Date, 3) = "03/06/2026"; // a date merely left: no entry
    const MonthFill f = fillOf(c, 2026, 6, daysOnSheet(s) + QSet<QDate>{on("2026-06-04")});
    QCOMPARE(f.present, (QList<QDate>{on("2026-06-02"), on("2026-06-04")}));

    MonthSheet kept = s;
    const QList<int> rows = writeFill(kept, f, false);
    QCOMPARE(rows.size(), f.days.size() - 2);
    QVERIFY(!rows.contains(2) && !rows.contains(4) && rows.contains(3));
    QCOMPARE(kept.cell(sheet::Arrival1, 2), QString("09:15:00"));
    QCOMPARE(kept.cell(sheet::Duration, 3), QString("09:00:00"));
    QCOMPARE(kept.cell(sheet::Lunch, 3), QString("Déj"));
    QCOMPARE(kept.cell(sheet::Holiday, 3), QString());
    QVERIFY(rowAsFilled(kept, 3, f.days[2]));
    kept.cell(sheet::Departure1, 3) = "18:30:00";
    QVERIFY(!rowAsFilled(kept, 3, f.days[2]));

    MonthSheet replaced = s;
    QCOMPARE(writeFill(replaced, f, true).size(), f.days.size());
    QCOMPARE(replaced.cell(sheet::Arrival1, 2), QString("08:00:00"));
}

void TestMonthFill::summary()
{
    Contract c = planned("2025-09-01", {1, 2, 3, 4}, 480, 8 * 60 + 30);
    c.periodsWithoutCare << DateRange{on("2026-05-18"), on("2026-05-22")};
    c.absences << Absence{{on("2026-05-05"), on("2026-05-06")}, Reason::ChildSick};
    MonthSheet s;
    writeFill(s, fillOf(c, 2026, 5), false);
    s.cell(sheet::Duration, 4) = "07:45:30"; // a late arrival typed over
    const MonthSummary m = monthSummary(c, 2026, 5, holidaysOf(c, 2026, 5), s);
    // 16 planned days less the 4 of the period: 12 x 8 h; 7 of the 8 filled days at 8 h, one at 7:45.
    QCOMPARE(m.text(), QString("Heures prévues au contrat : 96:00    Heures saisies : 63:45    Jours d'absence : 2    "
                               "Jours fériés : 01/05 (Fête du Travail), 08/05 (Victoire 1945), 14/05 (Ascension), "
                               "25/05 (Lundi de Pentecôte)"));
}

// A meal is ticked when its allowance is an amount above zero.
void TestMonthFill::usualTicksFromParameters()
{
    QCOMPARE(usualTicks(true, {"0.50", "", "abc", "0"}), (UsualTicks{true, true, false, false, false}));
    QCOMPARE(usualTicks(false, {"0", "3.2", "1", "0.0001"}), (UsualTicks{false, false, true, true, true}));
}

QTEST_GUILESS_MAIN(TestMonthFill)
#include "tst_monthfill.moc"
