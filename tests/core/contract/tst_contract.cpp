#include "common/monthkey.h"
#include "common/programfiles.h"
#include "contract/contractinputs.h"
#include "contract/contractstore.h"
#include "contract/monthfigures.h"
#include "contract/rangemodel.h"
#include "legal/legaltable.h"
#include "dayrecords.h"
#include "hostilecontracts.h"
#include "raised.h"
#include "testfiles.h"

#include <QAbstractItemModelTester>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace contract;

Q_DECLARE_METATYPE(contract::Contract)
Q_DECLARE_METATYPE(contract::HolidaySetting)
Q_DECLARE_METATYPE(QList<contract::StoredDay>)

namespace {
QDate on(const char *iso) { return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate); }

// A regular contract planning `minutes` on each of the given weekdays (1 = Monday).
Contract planned(const char *first, std::initializer_list<int> weekdays, int minutes, Kind kind = Kind::CompleteYear,
                 int weeks = 0)
{
    Contract c;
    c.kind = kind;
    c.first = on(first);
    for (int d : weekdays)
        c.plannedMinutes[size_t(d - 1)] = minutes;
    c.weeks = weeks;
    c.majHM = 10; // the least majoration in force, as the window sets it
    return c;
}
const std::initializer_list<int> mondayToFriday = {1, 2, 3, 4, 5};

QList<StoredDay> worked(std::initializer_list<std::pair<const char *, int>> days, bool holiday = false)
{
    QList<StoredDay> list;
    for (const auto &[d, minutes] : days)
        list << StoredDay{on(d), minutes, holiday};
    return list;
}

// The deducted runs as "from-to reason", the reason's index or "hors" for
// the days outside the contract.
QString runs(const MonthFigures &f)
{
    QStringList out;
    for (const DeductedRun &r : f.deducted)
        out << QStringLiteral("%1-%2 %3")
                   .arg(r.range.from.toString("dd/MM"), r.range.to.toString("dd/MM"),
                        r.outsideContract ? QStringLiteral("hors") : QString::number(int(r.reason)));
    return out.join(QStringLiteral("; "));
}

const Money four = Money::fromCount(40000);

// The limits of the table shipped with the program, on a date.
Limits lawOn(QDate d)
{
    static const legal::Table shipped = legal::Table::load(QStringLiteral(BERLIVO_SOURCE_DIR "/data/Baremes.txt"));
    return limitsOn(shipped, d).value();
}
} // namespace

class TestContract : public QObject {
    Q_OBJECT
private slots:
    void monthFigures_data();
    void monthFigures();
    void noFiguresOutsideAContract();
    void refusals_data();
    void refusals();
    void storedWholeAndReadBack();
    void olderLayoutBroughtUpToDate_data();
    void olderLayoutBroughtUpToDate();
    void figuresFromTheProgramFolder();
    void unsoundFileNeverWritten_data();
    void unsoundFileNeverWritten();
    void weeksNoteOfTheYear_data();
    void weeksNoteOfTheYear();
    void rangeRowsEditedInPlace();
    void killedWhileStoringLosesNothing();
};

void TestContract::monthFigures_data()
{
    QTest::addColumn<Contract>("contract");
    QTest::addColumn<QDate>("month");
    QTest::addColumn<QList<StoredDay>>("days");
    QTest::addColumn<HolidaySetting>("holiday");
    // M in hundredths of an hour; amounts in cents; hours in minutes.
    QTest::addColumn<qint64>("M");
    QTest::addColumn<qint64>("B");
    QTest::addColumn<qint64>("P");
    QTest::addColumn<qint64>("A");
    QTest::addColumn<qint64>("D");
    QTest::addColumn<QString>("deducted");
    QTest::addColumn<qint64>("HC");
    QTest::addColumn<qint64>("HCpay");
    QTest::addColumn<qint64>("HM");
    QTest::addColumn<qint64>("HMpay");
    QTest::addColumn<qint64>("holidayPay");
    QTest::addColumn<qint64>("S");

    const HolidaySetting off;
    const Contract forty = planned("2025-01-06", mondayToFriday, 8 * 60);

    QTest::newRow("40 h a week, complete year, 4.00")
        << forty << on("2026-03-01") << QList<StoredDay>{} << off << 17333LL << 69333LL << 22 * 480LL << 0LL << 0LL
        << "" << 0LL << 0LL << 0LL << 0LL << 0LL << 69333LL;
    QTest::newRow("30 h a week, 36 weeks")
        << planned("2025-09-01", mondayToFriday, 6 * 60, Kind::IncompleteYear, 36) << on("2026-03-01")
        << QList<StoredDay>{} << off << 9000LL << 36000LL << 22 * 360LL << 0LL << 0LL << "" << 0LL << 0LL << 0LL << 0LL
        << 0LL << 36000LL;

    // Monday to Thursday, 10 h: September 2025 plans 18 days, 180 h.
    Contract tenHours = planned("2025-01-06", {1, 2, 3, 4}, 10 * 60);
    tenHours.absences << Absence{{on("2025-09-08"), on("2025-09-09")}, Reason::MinderAbsent};
    QTest::newRow("20 h of the childminder's absence in 180 planned hours")
        << tenHours << on("2025-09-01") << QList<StoredDay>{} << off << 17333LL << 69333LL << 180 * 60LL << 20 * 60LL
        << 7704LL << "08/09-09/09 0" << 0LL << 0LL << 0LL << 0LL << 0LL << 61629LL;

    // 9 h 24 a day in the week of Monday 9 March 2026: 47 h.
    Contract extra = forty;
    extra.majHC = 0;
    extra.majHM = 10;
    QTest::newRow("47 h worked on a 40 h week") << extra << on("2026-03-01")
                                                << worked({{"2026-03-09", 564},
                                                           {"2026-03-10", 564},
                                                           {"2026-03-11", 564},
                                                           {"2026-03-12", 564},
                                                           {"2026-03-13", 564}})
                                                << off << 17333LL << 69333LL << 22 * 480LL << 0LL << 0LL << "" << 300LL
                                                << 2000LL << 120LL << 880LL << 0LL << 72213LL;

    // April 2026 has 22 weekdays; the ten before the 15th are not in the contract.
    QTest::newRow("contract starting on the 15th")
        << planned("2026-04-15", mondayToFriday, 480) << on("2026-04-01") << QList<StoredDay>{} << off << 17333LL
        << 69333LL << 22 * 480LL << 10 * 480LL << 31515LL << "01/04-14/04 hors" << 0LL << 0LL << 0LL << 0LL << 0LL
        << 37818LL;

    // Three sick days in March, three in April: the sixth of the contract year is paid.
    Contract sick = forty;
    sick.absences << Absence{{on("2025-03-03"), on("2025-03-05")}, Reason::ChildSick}
                  << Absence{{on("2025-04-07"), on("2025-04-09")}, Reason::ChildSick};
    QTest::newRow("sixth day of a sick child paid")
        << sick << on("2025-04-01") << QList<StoredDay>{} << off << 17333LL << 69333LL << 22 * 480LL << 2 * 480LL
        << 6303LL << "07/04-08/04 1" << 0LL << 0LL << 0LL << 0LL << 0LL << 63030LL;
    // The contract year begins again on 6 January: the 5th is the seventh
    // sick day of the first year (paid), the 6th and 7th start the count again.
    Contract sickNextYear = sick;
    sickNextYear.absences << Absence{{on("2026-01-05"), on("2026-01-07")}, Reason::ChildSick};
    QTest::newRow("sick days across the contract year's anniversary")
        << sickNextYear << on("2026-01-01") << QList<StoredDay>{} << off << 17333LL << 69333LL << 22 * 480LL
        << 2 * 480LL << 6303LL << "06/01-07/01 1" << 0LL << 0LL << 0LL << 0LL << 0LL << 63030LL;

    // 2 to 21 June: the first 14 calendar days hold 10 planned days; a second
    // hospitalisation in the same contract year is paid.
    Contract hospital = forty;
    hospital.absences << Absence{{on("2025-06-02"), on("2025-06-21")}, Reason::ChildInHospital}
                      << Absence{{on("2025-06-25"), on("2025-06-26")}, Reason::ChildInHospital};
    QTest::newRow("20-day hospitalisation, 14 days at most")
        << hospital << on("2025-06-01") << QList<StoredDay>{} << off << 17333LL << 69333LL << 21 * 480LL << 10 * 480LL
        << 33016LL << "02/06-13/06 2" << 0LL << 0LL << 0LL << 0LL << 0LL << 36317LL;

    // 29 September to 5 October 2025: 50 h, in the month of Thursday the 2nd.
    const QList<StoredDay> straddling = worked(
        {{"2025-09-29", 600}, {"2025-09-30", 600}, {"2025-10-01", 600}, {"2025-10-02", 600}, {"2025-10-03", 600}});
    QTest::newRow("straddling week, not in the month of its Monday")
        << forty << on("2025-09-01") << straddling << off << 17333LL << 69333LL << 22 * 480LL << 0LL << 0LL << "" << 0LL
        << 0LL << 0LL << 0LL << 0LL << 69333LL;
    QTest::newRow("straddling week, in the month of its Thursday")
        << forty << on("2025-10-01") << straddling << off << 17333LL << 69333LL << 23 * 480LL << 0LL << 0LL << ""
        << 300LL << 2000LL << 300LL << 2200LL << 0LL << 73533LL;

    // 8 May, stored as a public holiday, inside a week of the childminder's absence.
    Contract mayAbsence = forty;
    mayAbsence.absences << Absence{{on("2025-05-05"), on("2025-05-09")}, Reason::MinderAbsent};
    QTest::newRow("public holiday inside an absence")
        << mayAbsence << on("2025-05-01") << worked({{"2025-05-08", 0}}, true) << off << 17333LL << 69333LL
        << 22 * 480LL << 4 * 480LL << 12606LL << "05/05-07/05 0; 09/05-09/05 0" << 0LL << 0LL << 0LL << 0LL << 0LL
        << 56727LL;

    // 8 h worked on Friday 1 May 2026, at twice the rate: the base holds the
    // first time, the supplement the second.
    QTest::newRow("hours worked on a public holiday")
        << forty << on("2026-05-01") << worked({{"2026-05-01", 480}}, true)
        << HolidaySetting{true, Money::fromCount(20000)} << 17333LL << 69333LL << 21 * 480LL << 0LL << 0LL << "" << 0LL
        << 0LL << 0LL << 0LL << 3200LL << 72533LL;

    Contract leave = forty;
    leave.absences << Absence{{on("2026-03-02"), on("2026-03-06")}, Reason::ParentsChoice}
                   << Absence{{on("2026-03-09"), on("2026-03-13")}, Reason::MinderLeave};
    QTest::newRow("parents' convenience and paid leave never deducted")
        << leave << on("2026-03-01") << QList<StoredDay>{} << off << 17333LL << 69333LL << 22 * 480LL << 0LL << 0LL
        << "" << 0LL << 0LL << 0LL << 0LL << 0LL << 69333LL;

    // The help's worked example: the sick days above and a week of 47 h.
    Contract sickAndExtra = sick;
    QTest::newRow("sick days and a long week together")
        << sickAndExtra << on("2025-04-01")
        << worked({{"2025-04-14", 564},
                   {"2025-04-15", 564},
                   {"2025-04-16", 564},
                   {"2025-04-17", 564},
                   {"2025-04-18", 564}})
        << off << 17333LL << 69333LL << 22 * 480LL << 2 * 480LL << 6303LL << "07/04-08/04 1" << 300LL << 2000LL << 120LL
        << 880LL << 0LL << 65910LL;

    // A school summer: August is wholly without care, and paid the base all the same.
    Contract school = planned("2025-09-01", mondayToFriday, 360, Kind::IncompleteYear, 36);
    school.periodsWithoutCare << DateRange{on("2026-07-04"), on("2026-09-01")};
    QTest::newRow("month wholly without care")
        << school << on("2026-08-01") << QList<StoredDay>{} << off << 9000LL << 36000LL << 0LL << 0LL << 0LL << ""
        << 0LL << 0LL << 0LL << 0LL << 0LL << 36000LL;

    // 34.75 h a week (4 h 15 on Monday and Tuesday, 8 h 45 the other days)
    // shows B = 602.33 (602.3333 exactly); June 2026 plans 147.50 h and the
    // week of the 8th, 34.75 h, is deducted: 602.33 x 34.75 / 147.50 = 141.90,
    // where the exact base would give 141.91.
    Contract uneven = planned("2026-01-05", {3, 4, 5}, 525);
    uneven.plannedMinutes[0] = uneven.plannedMinutes[1] = 255;
    uneven.absences << Absence{{on("2026-06-08"), on("2026-06-12")}, Reason::MinderAbsent};
    QTest::newRow("the deduction from the base as shown")
        << uneven << on("2026-06-01") << QList<StoredDay>{} << off << 15058LL << 60233LL << 8850LL << 2085LL
        << 14190LL << "08/06-12/06 0" << 0LL << 0LL << 0LL << 0LL << 0LL << 46043LL;

    // A month that starts on a Thursday holds the week of that Thursday, one
    // that ends on a Thursday the week that runs on after it: 50 h worked in
    // each such week (Thursday 1 January off, Saturday worked).
    const QList<StoredDay> fiftyHours = worked({{"2025-12-29", 600},
                                                {"2025-12-30", 600},
                                                {"2025-12-31", 600},
                                                {"2026-01-02", 600},
                                                {"2026-01-03", 600},
                                                {"2026-04-27", 600},
                                                {"2026-04-28", 600},
                                                {"2026-04-29", 600},
                                                {"2026-04-30", 600},
                                                {"2026-05-02", 600}});
    for (const auto &[name, month] :
         {std::pair{"January 2026 starts on a Thursday: its first week is its own", "2026-01-01"},
          std::pair{"April 2026 ends on a Thursday: its last week is its own", "2026-04-01"}})
        QTest::newRow(name) << forty << on(month) << fiftyHours << off << 17333LL << 69333LL << 22 * 480LL << 0LL
                            << 0LL << "" << 300LL << 2000LL << 300LL << 2200LL << 0LL << 73533LL;

    // 11 of March 2026's 22 planned days absent: 693.33 / 2 = 346.665, an
    // exact half cent, goes away from zero.
    Contract halfMonth = forty;
    halfMonth.absences << Absence{{on("2026-03-02"), on("2026-03-16")}, Reason::MinderAbsent};
    QTest::newRow("a deduction of an exact half cent")
        << halfMonth << on("2026-03-01") << QList<StoredDay>{} << off << 17333LL << 69333LL << 22 * 480LL
        << 11 * 480LL << 34667LL << "02/03-16/03 0" << 0LL << 0LL << 0LL << 0LL << 0LL << 34666LL;

    Contract ended = forty;
    ended.last = on("2025-11-30");
    ended.absences << Absence{{on("2025-11-03"), on("2025-11-28")}, Reason::MinderAbsent};
    QTest::newRow("every planned day deducted takes the whole base")
        << ended << on("2025-11-01") << QList<StoredDay>{} << off << 17333LL << 69333LL << 20 * 480LL << 20 * 480LL
        << 69333LL << "03/11-28/11 0" << 0LL << 0LL << 0LL << 0LL << 0LL << 0LL;
}

void TestContract::monthFigures()
{
    QFETCH(Contract, contract);
    QFETCH(QDate, month);
    QFETCH(QList<StoredDay>, days);
    QFETCH(HolidaySetting, holiday);
    const MonthFigures f =
        contract::monthFigures(contract, month.year(), month.month(), days, four, holiday, lawOn(month));
    QVERIFY2(f.complete(), qPrintable(f.failure));
    QTEST(f.mensualisedHundredths, "M");
    QTEST(f.base.count() / 100, "B");
    QTEST(f.plannedMonth, "P");
    QTEST(f.deductedMinutes, "A");
    QTEST(f.deduction.count() / 100, "D");
    QTEST(runs(f), "deducted");
    QTEST(f.complementaryMinutes, "HC");
    QTEST(f.complementaryPay.count() / 100, "HCpay");
    QTEST(f.majoratedMinutes, "HM");
    QTEST(f.majoratedPay.count() / 100, "HMpay");
    QTEST(f.holidaySupplement.count() / 100, "holidayPay");
    QTEST(f.salary.count() / 100, "S");
    // Every amount is whole cents.
    for (Money m : {f.base, f.deduction, f.complementaryPay, f.majoratedPay, f.holidaySupplement, f.salary})
        QCOMPARE(m.count() % 100, 0);
}

void TestContract::noFiguresOutsideAContract()
{
    Contract c = planned("2025-09-01", mondayToFriday, 480);
    c.last = on("2026-06-30");
    for (const char *month : {"2025-08-01", "2026-07-01"}) {
        const MonthFigures f =
            contract::monthFigures(c, on(month).year(), on(month).month(), {}, four, {}, lawOn(on(month)));
        QVERIFY(f.outsideContract);
        QCOMPARE(f.failure, contractmsg::monthOutsideContract(MonthKey::of(on(month).month(), on(month).year()).title(),
                                                              "01/09/2025", "30/06/2026"));
        QCOMPARE(f.salary, Money());
    }
    c.kind = Kind::Occasional;
    const Limits law = lawOn(on("2026-03-01"));
    QCOMPARE(contract::monthFigures(c, 2026, 3, {}, four, {}, law).failure, contractmsg::noMensualisedSalary());
    c.kind = Kind::CompleteYear;
    c.first = QDate(); // as a file edited by hand may hold it
    QCOMPARE(contract::monthFigures(c, 2026, 3, {}, four, {}, law).failure, validate(c, law));
}

void TestContract::refusals_data()
{
    QTest::addColumn<Contract>("contract");
    QTest::addColumn<QString>("message");
    const Contract ok = planned("2025-01-06", mondayToFriday, 480);

    QTest::newRow("sound") << ok << QString();
    Contract c = ok;
    c.last = on("2025-01-05");
    QTest::newRow("end before start")
        << c << "Fin du contrat : le dernier jour (05/01/2025) précède le premier (06/01/2025).";
    c = planned("2025-01-06", mondayToFriday, 480, Kind::IncompleteYear, 47);
    QTest::newRow("47 weeks") << c
                              << "Semaines d'accueil par an : 47 n'est pas entre 1 et 46 pour une année incomplète.";
    c.weeks = 0;
    QTest::newRow("no weeks") << c
                              << "Semaines d'accueil par an : 0 n'est pas entre 1 et 46 pour une année incomplète.";
    c = planned("2025-01-06", {1, 2, 3, 4, 5}, 9 * 60 + 1);
    QTest::newRow("45 h and 5 minutes") << c << "Heures par semaine : 45:05 dépasse le maximum de 45:00 par semaine.";
    c = planned("2025-01-06", mondayToFriday, 9 * 60);
    QTest::newRow("45:00 exactly") << c << QString();
    c.plannedMinutes[0] += 1;
    QTest::newRow("45:01") << c << "Heures par semaine : 45:01 dépasse le maximum de 45:00 par semaine.";
    c = ok;
    c.periodsWithoutCare << DateRange{on("2025-08-01"), on("2025-08-31")}
                         << DateRange{on("2025-12-31"), on("2025-12-20")};
    QTest::newRow("period backwards")
        << c << "Périodes sans accueil, ligne 2 : « Au » (20/12/2025) précède « Du » (31/12/2025).";
    c = ok;
    c.notified = c.first.addDays(-1);
    QTest::newRow("letter before the first day")
        << c << "Fin du contrat : la lettre (05/01/2025) précède le premier jour du contrat (06/01/2025).";
    c = ok;
    c.absences << Absence{{on("2025-03-03"), QDate()}, Reason::ChildSick};
    QTest::newRow("absence without its end")
        << c << "Absences, ligne 1 : une date manque (« Du » et « Au » sont demandés).";
    c = ok;
    c.absences << Absence{{on("2025-03-03"), on("2025-03-07")}, Reason::ChildSick}
               << Absence{{on("2025-03-10"), on("2025-03-11")}, Reason::ParentsChoice}
               << Absence{{on("2025-03-07"), on("2025-03-07")}, Reason::MinderAbsent};
    QTest::newRow("overlapping absences")
        << c << "Absences, lignes 1 et 3 : les deux absences se chevauchent ; un jour n'a qu'un motif.";

    // The planned times: 8 hours on Tuesday, home from 11:30 to 13:30.
    const auto times = [&](std::optional<int> arrival, std::optional<int> from, std::optional<int> to, int day = 1) {
        Contract t = ok;
        t.plannedTimes[size_t(day)] = DayTimes{arrival, from, to};
        return t;
    };
    QTest::newRow("home at noon") << times(480, 690, 810) << QString();
    QTest::newRow("arrival on a day without hours")
        << times(480, {}, {}, 5) << "Samedi : l'arrivée à 08:00 est prévue un jour sans heures d'accueil.";
    QTest::newRow("break without its end")
        << times(480, 690, {}) << "Mardi : la pause demande l'heure du départ et celle du retour.";
    QTest::newRow("break without arrival")
        << times({}, 690, 810) << "Mardi : une pause est prévue sans heure d'arrivée.";
    QTest::newRow("break before arrival")
        << times(480, 450, 810)
        << "Mardi : la pause de 07:30 à 13:30 ne tient pas dans la journée (arrivée à 08:00, 08:00 d'accueil).";
    QTest::newRow("break after the hours")
        << times(480, 960, 1000)
        << "Mardi : la pause de 16:00 à 16:40 ne tient pas dans la journée (arrivée à 08:00, 08:00 d'accueil).";
    QTest::newRow("break ending as it starts")
        << times(480, 690, 690)
        << "Mardi : la pause de 11:30 à 11:30 ne tient pas dans la journée (arrivée à 08:00, 08:00 d'accueil).";
    QTest::newRow("ends at 23:59") << times(959, {}, {}) << QString();
    QTest::newRow("past midnight")
        << times(960, {}, {}) << "Mardi : arrivée à 16:00 avec 08:00 d'accueil, la journée passe minuit.";
    QTest::newRow("past midnight by its break")
        << times(600, 700, 1100) << "Mardi : arrivée à 10:00 avec 08:00 d'accueil, la journée passe minuit.";
}

void TestContract::refusals()
{
    QFETCH(Contract, contract);
    QTEST(validate(contract, lawOn(on("2026-03-01"))), "message");
    // The limits come from the table: none known, none checked.
    if (QByteArray(QTest::currentDataTag()) == "45 h and 5 minutes")
        QCOMPARE(validate(contract, std::nullopt), QString());
}

void TestContract::storedWholeAndReadBack()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(folder::contracts);
    QVERIFY(!loadContract(path, 1));
    QVERIFY(!QFileInfo::exists(path)); // reading makes no file

    Contract c = planned("2025-09-01", {1, 2, 4, 5}, 9 * 60 + 15, Kind::IncompleteYear, 36);
    c.last = on("2026-07-03");
    c.majHC = 25;
    c.majHM = 5;
    c.plannedTimes[1] = DayTimes{480, 705, 825};
    c.plannedTimes[3].arrival = 0;
    c.alsaceMoselle = true;
    c.leavePayment = LeavePayment::AsTaken;
    c.endReason = EndReason::ApprovalWithdrawn;
    c.notified = on("2026-06-19");
    c.periodsWithoutCare << DateRange{on("2025-10-18"), on("2025-11-02")};
    c.absences << Absence{{on("2025-11-12"), on("2025-11-14")}, Reason::ChildInHospital}
               << Absence{{on("2025-12-01"), on("2025-12-01")}, Reason::MinderLeave};
    storeContract(path, 3, c);
    Contract other = planned("2024-02-29", {6}, 30);
    storeContract(path, 1, other);
    QVERIFY(loadContract(path, 3) == c);
    QVERIFY(loadContract(path, 1) == other);
    QVERIFY(!loadContract(path, 2));

    // Stored again with fewer rows, the old rows go.
    c.absences.removeFirst();
    c.last = QDate();
    c.endReason.reset();
    c.notified = QDate();
    storeContract(path, 3, c);
    QVERIFY(loadContract(path, 3) == c);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "peek");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec("PRAGMA user_version") && q.next());
        QCOMPARE(q.value(0).toInt(), SchemaVersion);
        QVERIFY(q.exec("SELECT count(*) FROM Absences WHERE enfant = 3") && q.next());
        QCOMPARE(q.value(0).toInt(), 1);
        QVERIFY(q.exec("SELECT fin FROM Contrats WHERE enfant = 3") && q.next());
        QVERIFY(q.value(0).isNull());
    }
    QSqlDatabase::removeDatabase("peek");
    QCOMPARE(checkContractFile(path), QString());
}

// A file of an older layout (the first without the leave's payment, either
// without the contract's end, the third without the range checks, the fourth
// without the planned times) is read, its contracts paying in June, not
// ended and without times, and the next store brings it
// to exactly the layout of a new file.
void TestContract::olderLayoutBroughtUpToDate_data()
{
    QTest::addColumn<int>("version");
    QTest::newRow("first layout") << 1;
    QTest::newRow("second layout") << 2;
    QTest::newRow("third layout") << 3;
    QTest::newRow("fourth layout") << 4;
}

void TestContract::olderLayoutBroughtUpToDate()
{
    QFETCH(int, version);
    QTemporaryDir dir;
    const QString path = dir.filePath(folder::contracts);
    const QString fresh = dir.filePath("neuf.db");
    Contract c = planned("2025-09-01", mondayToFriday, 360, Kind::IncompleteYear, 36);
    c.leavePayment = LeavePayment::MainLeave;
    c.last = on("2026-06-30");
    c.endReason = EndReason::Resignation;
    c.notified = on("2026-06-02");
    c.absences << Absence{{on("2025-10-06"), on("2025-10-07")}, Reason::ChildSick};
    c.plannedTimes[0] = DayTimes{450, 690, 810};
    c.plannedTimes[4].arrival = 540;
    c.alsaceMoselle = c.holidaysWorked = true;
    storeContract(fresh, 2, c);
    const auto sql = [](const QString &file, const QStringList &statements) {
        QString out;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "first");
            db.setDatabaseName(file);
            db.open();
            for (const QString &statement : statements) {
                QSqlQuery q(db);
                if (q.exec(statement) && q.next())
                    out = q.value(0).toString();
            }
        }
        QSqlDatabase::removeDatabase("first");
        return out;
    };
    const QString later = version == 1 ? "" : version == 2 ? ", 1" : ", 1, 1, '2026-06-02'";
    sql(path, schemaOf(version) +
                  QStringList{"INSERT INTO Contrats VALUES (2, 2, '2025-09-01', '2026-06-30', 360, 360, 360, 360, "
                              "360, 0, 0, 36, 0, 10" + later + ")",
                              "INSERT INTO Absences VALUES (2, 1, '2025-10-06', '2025-10-07', 1)"});
    QCOMPARE(sql(path, {"PRAGMA user_version"}), QString::number(version));

    QCOMPARE(checkContractFile(path), QString());
    // Times and holiday options came later: none, and the national days only.
    Contract asRead = c;
    asRead.plannedTimes = {};
    asRead.alsaceMoselle = asRead.holidaysWorked = false;
    if (version < 2)
        asRead.leavePayment = LeavePayment::InJune;
    if (version < 3) {
        asRead.endReason.reset();
        asRead.notified = QDate();
    }
    QVERIFY(loadContract(path, 2) == asRead);
    storeContract(path, 1, c);
    QVERIFY(loadContract(path, 1) == c);
    QVERIFY(loadContract(path, 2) == asRead);
    QCOMPARE(sql(path, {"PRAGMA user_version"}), QString::number(SchemaVersion));
    const QString layout = "SELECT group_concat(type || name || sql, ';') FROM "
                           "(SELECT * FROM sqlite_master ORDER BY type, name)";
    QCOMPARE(sql(path, {layout}), sql(fresh, {layout}));
}

// Through the files: the contract from Contrats.db, the days from the
// child's table as the hours window stores them (Durée cut to 7.83 for
// 7 h 50), a day validated twice counting as stored last.
void TestContract::figuresFromTheProgramFolder()
{
    QTemporaryDir dir;
    const QString table = dir.filePath(folder::dayTable(2));
    QVERIFY(DayTable::createEmpty(table));
    // 9 h 24 (9.4) Monday to Thursday and 7 h 50 on Friday of 9 March 2026:
    // 45 h 26, after a first validation of Monday at 2 h.
    DayTable t;
    t.setFolder(dir.path() + '/');
    t.setTableName(folder::dayTable(2));
    t.storeMonth({storedDay("09/03/2026", "2")});
    t.storeMonth({storedDay("09/03/2026", "9.4"), storedDay("10/03/2026", "9.4"), storedDay("11/03/2026", "9.4"),
                  storedDay("12/03/2026", "9.4"), storedDay("13/03/2026", "7.83")});
    storeContract(dir.filePath(folder::contracts), 2, planned("2025-01-06", mondayToFriday, 480));
    const auto monthFiguresOf = [&](int slot, int year, int month) {
        const ContractInputs in = loadSlipInputs(dir.path(), slot, MonthKey::of(month, year).text());
        return contract::monthFiguresOf(in, year, month, four, {});
    };
    // Without the table of legal values, the month has no figures and says why.
    QVERIFY(monthFiguresOf(2, 2026, 3).failure.contains("Baremes.txt"));
    QVERIFY(QFile::copy(BERLIVO_SOURCE_DIR "/data/Baremes.txt", dir.filePath(folder::legalTable)));
    QCOMPARE(monthFiguresOf(2, 2021, 12).failure,
             contractmsg::limitsUnknown(MonthKey::of(12, 2021).title())); // before the table's first row

    const MonthFigures f = monthFiguresOf(2, 2026, 3);
    QCOMPARE(f.weeks.size(), 4);
    QCOMPARE(f.weeks[1].worked, 4 * 564 + 470LL);
    QCOMPARE(f.complementaryMinutes, 300LL);
    QCOMPARE(f.majoratedMinutes, 26LL);
    QVERIFY(!monthFiguresOf(1, 2026, 3).complete()); // no contract: occasional
}

void TestContract::unsoundFileNeverWritten_data()
{
    QTest::addColumn<QString>("statements"); // run on a fresh SQLite file; "text:" writes plain bytes
    QTest::addColumn<QString>("message");
    QTest::newRow("not SQLite") << "text:Ceci n'est pas une base."
                                << "n'est pas un fichier de contrats";
    QTest::newRow("foreign tables") << "CREATE TABLE Clients (nom TEXT)"
                                    << "n'est pas un fichier de contrats";
    QTest::newRow("newer layout") << QString("CREATE TABLE T (x);PRAGMA user_version = %1").arg(SchemaVersion + 1)
                                  << "version plus récente";
    QTest::newRow("read-only file") << "readonly"
                                    << "Accès au fichier refusé";
    // Every hand-made file is refused as a whole, whichever child is asked for.
    const QList<hostile::ContractFile> files = hostile::contractFiles();
    for (qsizetype i = 0; i < files.size(); ++i)
        QTest::newRow(files[i].name) << QString("hostile:%1").arg(i)
                                     << "Contrats.db n'est pas un fichier de contrats : il est laissé tel quel";
}

void TestContract::unsoundFileNeverWritten()
{
    QFETCH(QString, statements);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(folder::contracts);
    if (statements.startsWith("text:")) {
        writeBytes(path, statements.mid(5).toUtf8());
    } else if (statements.startsWith("hostile:")) {
        const hostile::ContractFile f = hostile::contractFiles().at(statements.mid(8).toInt());
        QVERIFY(hostile::make(path, f));
        // A value that fits the layout but not a contract is named.
        if (QString(f.name) == "end before start")
            message = "Contrats.db est endommagé : il est laissé tel quel et rien n'y a été enregistré.\n"
                      "Contrat de l'enfant 1, Fin du contrat : le dernier jour (01/01/2025) précède le premier "
                      "(01/09/2025).";
    } else if (statements == "readonly") {
        storeContract(path, 1, planned("2025-01-06", mondayToFriday, 480));
        QFile::setPermissions(path, QFileDevice::ReadOwner);
    } else {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "make");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        for (const QString &s : statements.split(';'))
            QVERIFY(QSqlQuery(db).exec(s));
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("make");
    }
    const QByteArray before = readBytes(path);
    const QString error = raised([&] { storeContract(path, 2, planned("2025-01-06", {1}, 60)); });
    QVERIFY2(error.contains(message), qPrintable(error));
    QCOMPARE(readBytes(path), before);
    if (statements != "readonly") {
        QVERIFY(raised([&] { loadContract(path, 1); }).contains(message));
        QVERIFY(raised([&] { loadContract(path, 2); }).contains(message));
        QVERIFY(checkContractFile(path).contains(message));
    }
    QCOMPARE(readBytes(path), before);
}

// The weeks note speaks of the contract year holding the day asked about,
// or holding the contract's last day once it is over: 36 weeks of care in
// the first year (53 Mondays less 17 without care), none planned after it.
void TestContract::weeksNoteOfTheYear_data()
{
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("today");
    QTest::addColumn<bool>("note");
    QTest::newRow("in its first year") << "" << "2026-03-10" << false;
    QTest::newRow("in its second year") << "" << "2026-12-08" << true;
    QTest::newRow("over, asked about later") << "2026-06-30" << "2026-12-08" << false;
}

void TestContract::weeksNoteOfTheYear()
{
    QFETCH(QString, last);
    QFETCH(QString, today);
    Contract c = planned("2025-09-01", {1, 2, 3, 4, 5}, 360, Kind::IncompleteYear);
    c.weeks = 36;
    c.last = QDate::fromString(last, Qt::ISODate);
    c.periodsWithoutCare << DateRange{on("2025-12-22"), on("2026-04-19")};
    QTEST(!weeksNote(c, QDate::fromString(today, Qt::ISODate)).isEmpty(), "note");
}

// The window's tables as a model: a new absence has no reason and is no
// absence until one is chosen; a cell takes only its own kind of value.
void TestContract::rangeRowsEditedInPlace()
{
    RangeModel m(true);
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const Absence sick{{on("2026-03-02"), on("2026-03-03")}, Reason::ChildSick};
    m.setAbsences({sick});
    QCOMPARE(m.data(m.index(0, RangeModel::Why)).toString(), reasonTexts().at(int(Reason::ChildSick)));
    QCOMPARE(m.data(m.index(0, RangeModel::From)).toString(), QStringLiteral("02/03/2026"));

    QVERIFY(m.insertRows(1, 1));
    QCOMPARE(m.rowWithoutReason(), 2);
    QCOMPARE(m.absences(), QList<Absence>{sick}); // the new row is not an absence yet
    QCOMPARE(m.data(m.index(1, RangeModel::From)).toString(), QString());
    QVERIFY(!m.setData(m.index(1, RangeModel::From), QStringLiteral("12/03/2026"))); // a date, not a text
    QVERIFY(!m.setData(m.index(1, RangeModel::Why), int(reasonTexts().size())));
    QVERIFY(m.setData(m.index(1, RangeModel::From), on("2026-03-12")));
    QVERIFY(m.setData(m.index(1, RangeModel::To), on("2026-03-13")));
    QVERIFY(m.setData(m.index(1, RangeModel::Why), int(Reason::ParentsChoice)));
    QCOMPARE(m.rowWithoutReason(), 0);
    const Absence choice{{on("2026-03-12"), on("2026-03-13")}, Reason::ParentsChoice};
    QCOMPARE(m.absences(), (QList<Absence>{sick, choice}));

    QVERIFY(m.removeRows(0, 1));
    QCOMPARE(m.absences(), QList<Absence>{choice});
    QVERIFY(!m.removeRows(1, 1));

    RangeModel periods(false);
    QCOMPARE(periods.columnCount(), 2);
    periods.setRanges({choice.range});
    QCOMPARE(periods.rowWithoutReason(), 0); // periods have no reason to choose
    QCOMPARE(periods.ranges(), QList<DateRange>{choice.range});
}

// The kill loop's writer: stores the contracts of storeLoopContract() one
// after the other, children 1 to 3 in turn, and prints the number of each
// once it is stored, until it is killed.
constexpr int loopChildren = 3;
Contract storeLoopContract(int n)
{
    // Each contract differs in every table, so that a mixture of two shows.
    Contract c = planned("2025-09-01", mondayToFriday, 60 + n % 600, Kind(n % 3), 30 + n % 20);
    for (int a = 0; a < n % 40; ++a)
        c.absences << Absence{{on("2025-10-01").addDays(2 * a), on("2025-10-01").addDays(2 * a)}, Reason(a % 5)};
    c.periodsWithoutCare << DateRange{on("2026-08-01"), on("2026-08-01").addDays(n % 20)};
    return c;
}

void TestContract::killedWhileStoringLosesNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(folder::contracts);
    // Child 5's contract is never stored again: it must survive every kill.
    const Contract untouched = planned("2024-01-08", {1, 3}, 300);
    storeContract(path, 5, untouched);
    // What each child may hold: the contracts stored whole so far (the one
    // being stored when the kill came may or may not be).
    QList<QList<Contract>> possible(loopChildren, QList<Contract>{});
    int journals = 0;
    for (int run = 0; run < 30; ++run) {
        const int first = run * 1000;
        QProcess writer;
        writer.start(QCoreApplication::applicationFilePath(), {"--store-loop", path, QString::number(first)});
        QVERIFY(writer.waitForStarted());
        QVERIFY(writer.waitForReadyRead(10000)); // it has stored at least one contract
        QThread::msleep(QRandomGenerator::global()->bounded(1, 60));
        writer.kill(); // SIGKILL
        QVERIFY(writer.waitForFinished());
        const QList<QByteArray> done = writer.readAllStandardOutput().split('\n');
        int last = first - 1;
        for (const QByteArray &line : done)
            if (!line.isEmpty())
                last = line.toInt();
        if (QFileInfo::exists(path + "-journal"))
            ++journals;
        for (int child = 0; child < loopChildren; ++child) {
            // The last contract known stored whole, then the one being
            // stored when the kill came, which may or may not have landed.
            QList<Contract> now = possible[child];
            for (int n = first; n <= last; ++n)
                if (n % loopChildren == child)
                    now = {storeLoopContract(n)};
            const bool storedBefore = !now.isEmpty();
            if ((last + 1) % loopChildren == child)
                now << storeLoopContract(last + 1);
            const std::optional<Contract> read = loadContract(path, child + 1);
            QVERIFY2(read ? now.contains(*read) : !storedBefore,
                     qPrintable(QString("run %1, child %2, last stored %3").arg(run).arg(child + 1).arg(last)));
            possible[child] = read ? QList<Contract>{*read} : QList<Contract>{};
        }
        QVERIFY(loadContract(path, 5) == untouched);
        QCOMPARE(checkContractFile(path), QString());
    }
    qInfo("%d of 30 kills left a journal to roll back", journals);
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--store-loop") {
        const QString path = QString::fromLocal8Bit(argv[2]);
        for (int n = QByteArray(argv[3]).toInt();; ++n) {
            storeContract(path, n % loopChildren + 1, storeLoopContract(n));
            std::printf("%d\n", n);
            std::fflush(stdout);
        }
    }
    TestContract test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_contract.moc"
