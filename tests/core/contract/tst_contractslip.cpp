#include "archive/sliparchive.h"
#include "common/environment.h"
#include "common/numbers.h"
#include "common/programfiles.h"
#include "contract/contractinputs.h"
#include "contract/contractstore.h"
#include "payslip/declaration.h"
#include "legal/legaltable.h"

#include "dayrecords.h"
#include "fileopens.h"
#include "required.h"

#include "../payslip/march2002.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace contract;

Q_DECLARE_METATYPE(contract::LeavePayout)

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
    c.majHM = 10; // the least majoration in force, as the window sets it
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
                 "du 09/03/2026 au 10/03/2026 (Absence de l'assistante maternelle, maladie, congé sans solde)");
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

    // The month's paid leave: a line of its own, added to S and shown as the
    // slip's leave; an incomplete year's days declared with their hours.
    void leaveLine_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QList<LeavePayout>>("leave");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("declaredDays"); // 0: no row
        const QDate march(2026, 3, 1);
        const LeavePayout twelveDays{march, 12, moneyFromText("460.00"), false};
        const LeavePayout complement{march, 0, moneyFromText("25.50"), true};
        QTest::newRow("none") << int(Kind::IncompleteYear) << QList<LeavePayout>{} << "Congés payés :" << 0;
        QTest::newRow("incomplete year") << int(Kind::IncompleteYear) << QList{twelveDays} << "Congés payés :" << 12;
        QTest::newRow("complete year's complement")
            << int(Kind::CompleteYear) << QList{complement} << "Complément congés payés :" << 0;
        QTest::newRow("complete year's last slip, both")
            << int(Kind::CompleteYear) << QList{twelveDays, complement} << "Congés payés :" << 0;
    }
    void leaveLine()
    {
        QFETCH(int, kind);
        QFETCH(QList<LeavePayout>, leave);
        QFETCH(int, declaredDays);
        Contract c = example();
        c.kind = Kind(kind);
        c.weeks = c.kind == Kind::IncompleteYear ? 40 : 0;
        const ContractSlip plain = contractSlip(inputs(), false, c, march(), law());
        const ContractSlip s = contractSlip(inputs(), false, c, march(), law(), leave);
        QVERIFY2(s.complete(), qPrintable(s.failure + s.slip.error.value_or("")));
        qint64 cents = 0;
        int days = 0;
        for (const LeavePayout &o : leave) {
            cents += o.amount.count();
            days += o.days;
        }
        const Money pay = Money::fromCount(cents);
        QTEST(s.pay.libcp, "caption");
        QCOMPARE((QStringList{s.pay.jcp, s.pay.mtcp, *s.slip.Cong}),
                 (QStringList{QString::number(days), formatAmount(pay), formatAmount(pay)}));
        QCOMPARE(s.pay.salmois, formatAmount(Money::fromCount(s.figures.salary.count() + cents)));
        QCOMPARE(*s.slip.salnet, s.pay.salmois);

        // The declaration: the days after the days of activity, their hours
        // (days / 6 x 40 h) in the normal hours.
        const Declaration d = declarationFor(inputs(), s.slip, false, s.hours);
        const Declaration before = declarationFor(inputs(), plain.slip, false, plain.hours);
        QCOMPARE(d.figures.size(), before.figures.size() + (declaredDays > 0));
        QCOMPARE(s.hours.normalTwelfths() - plain.hours.normalTwelfths(), qint64(12) * 60 * 40 * declaredDays / 6);
        if (declaredDays > 0)
            QCOMPARE(d.figures[5].label + '=' + d.figures[5].value,
                     leaveDaysLabel() + '=' + QString::number(declaredDays));
    }

    // The slip of the month of the contract's last day carries the end: the
    // notice not worked and the true-up added to S, the indemnity (a 80th of
    // the earlier slips' salaries with this one's gross) paid apart, not
    // subject to contributions. Any other month carries none of it.
    void endLines_data()
    {
        QTest::addColumn<bool>("gross");
        QTest::addColumn<QString>("last");
        QTest::addColumn<bool>("indemnityDue");
        QTest::addColumn<QString>("indemnity"); // "" when the slip pays none
        // (16 000.00 + 819.10) / 80 = 210.23875
        QTest::newRow("gross basis") << true << "2026-03-31" << true << "210.24";
        QTest::newRow("net basis, its gross with its contributions") << false << "2026-03-31" << true << "net";
        QTest::newRow("no indemnity due") << true << "2026-03-31" << false << "";
        QTest::newRow("not the last month") << true << "2026-04-30" << true << "";
    }
    void endLines()
    {
        QFETCH(bool, gross);
        QFETCH(QString, last);
        QFETCH(bool, indemnityDue);
        QFETCH(QString, indemnity);
        Contract c = example();
        c.last = on(qPrintable(last));
        EndOfContract end;
        end.noticePay = moneyFromText("24.00");
        end.trueUpApplies = true;
        end.trueUp = moneyFromText("136.00");
        end.indemnityDue = indemnityDue;
        end.earlierTotal = moneyFromText("16000.00");
        const ContractSlip s = contractSlip(inputs(), gross, c, march(), law(), {}, end);
        QVERIFY2(s.complete(), qPrintable(s.failure + s.slip.error.value_or("")));
        const bool lastMonth = last.startsWith("2026-03");
        const Money salary = Money::fromCount(s.figures.salary.count() + (lastMonth ? 1600000 : 0));
        QCOMPARE(s.pay.salmois, formatAmount(salary));
        QCOMPARE((QStringList{s.pay.mtpreavis, s.pay.mtregul}),
                 (lastMonth ? QStringList{"24.00", "136.00"} : QStringList{"", ""}));
        QCOMPARE(s.end.has_value(), lastMonth);

        // The rest of the slip is the basis's on S with the end's salary lines.
        const SlipResult onSalary = computeContractSlip(inputs(), gross, salary);
        QCOMPARE(s.slip.totcs, onSalary.totcs);
        if (indemnity == "net")
            indemnity = formatAmount(
                centsOf(1600000 + shownCents(onSalary.amounts.salnet) + shownCents(onSalary.amounts.totcs), 80));
        QCOMPARE(s.pay.mtrupture, indemnity);
        const qint64 paidApart = indemnity.isEmpty() ? 0 : moneyFromText(indemnity).count();
        QCOMPARE(s.slip.amounts.net.count(), onSalary.amounts.net.count() + paidApart);
    }

    // Which months the contract's slip pays; a month its regular contract
    // does not cover has the slip paid by the hour, which says so.
    void paidByContract_data()
    {
        QTest::addColumn<int>("kind"); // -1: no contract stored
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("monthKey");
        QTest::addColumn<bool>("paid");
        QTest::addColumn<QString>("note"); // on the net basis
        QTest::newRow("no contract") << -1 << "" << "0326" << false << "";
        QTest::newRow("occasional") << int(Kind::Occasional) << "" << "0326" << false << "";
        QTest::newRow("complete year") << int(Kind::CompleteYear) << "" << "0326" << true << "";
        QTest::newRow("incomplete year") << int(Kind::IncompleteYear) << "" << "0326" << true << "";
        QTest::newRow("its first month") << int(Kind::CompleteYear) << "" << "0126" << true << "";
        QTest::newRow("before it")
            << int(Kind::CompleteYear) << "" << "1225" << false
            << "Décembre 2025 est hors du contrat, qui commence le 05/01/2026. Ce bulletin le paie à l'heure "
               "(modèle simplifié, basé sur le net), avec 10 % de congés payés.";
        QTest::newRow("its last month") << int(Kind::CompleteYear) << "2026-03-02" << "0326" << true << "";
        QTest::newRow("after it")
            << int(Kind::CompleteYear) << "2026-02-27" << "0326" << false
            << "Mars 2026 est hors du contrat, qui court du 05/01/2026 au 27/02/2026. Ce bulletin le paie à "
               "l'heure (modèle simplifié, basé sur le net), avec 10 % de congés payés.";
        QTest::newRow("no month validated") << int(Kind::CompleteYear) << "" << "moan" << false << "";
    }
    void paidByContract()
    {
        QFETCH(int, kind);
        QFETCH(QString, last);
        QFETCH(QString, monthKey);
        QFETCH(bool, paid);
        QFETCH(QString, note);
        QTemporaryDir dir;
        if (kind >= 0) {
            Contract c = example();
            c.kind = Kind(kind);
            c.weeks = c.kind == Kind::IncompleteYear ? 40 : 0;
            c.absences.clear();
            c.last = QDate::fromString(last, Qt::ISODate);
            storeContract(dir.filePath(folder::contracts), 1, c);
        }
        QCOMPARE(contract::paidByContract(dir.path(), 1, monthKey), paid);
        QVERIFY(!contract::paidByContract(dir.path(), 2, monthKey)); // another child
        QCOMPARE(hourlySlipNoteOf(dir.path(), 1, monthKey, false), note);
        // On the gross basis the slip named is the gross one.
        const QString gross = hourlySlipNoteOf(dir.path(), 1, monthKey, true);
        QCOMPARE(gross.isEmpty(), note.isEmpty());
        QVERIFY(note.isEmpty() || gross.contains("(bulletin de salaire brut)"));
        QCOMPARE(hourlySlipNoteOf(dir.path(), 2, monthKey, false), QString());
    }

    // Each file a slip, the "Congés" page or the "Fin du contrat" page reads
    // is opened once, as the kernel counts the opens in the program folder:
    // the loader's reads and anything the computations might read.
    void filesOpenedOnce_data()
    {
        QTest::addColumn<QString>("what"); // a month key, "leave" or "end"
        QTest::addColumn<QString>("opens");
        QTest::newRow("a month's slip") << "0226" << "Baremes.txt=1 Contrats.db=1 Enf1.db=1";
        QTest::newRow("the slip of the last month, with the end")
            << "0326" << "Baremes.txt=1 Bulletins.db=1 Contrats.db=1 Enf1.db=1";
        QTest::newRow("the leave page") << "leave" << "Baremes.txt=1 Enf1.db=1";
        QTest::newRow("the end page") << "end" << "Baremes.txt=1 Bulletins.db=1 Enf1.db=1";
    }
    void filesOpenedOnce()
    {
        QFETCH(QString, what);
        QTemporaryDir dir;
        const QString folder = dir.path() + '/';
        // The example's contract ended on 31 March 2026 by the parents, with
        // days in February and a saved February slip.
        Contract c = example();
        c.last = on("2026-03-31");
        c.endReason = EndReason::ChildWithdrawn;
        c.notified = on("2026-03-02");
        storeContract(folder + folder::contracts, 1, c);
        QVERIFY(QFile::copy(BERLIVO_SOURCE_DIR "/data/Baremes.txt", folder + folder::legalTable));
        QVERIFY(DayTable::createEmpty(folder + folder::dayTable(1)));
        storeDays(folder, folder::dayTable(1), {storedDay("02/02/2026", "8"), storedDay("03/02/2026", "9.5")});
        {
            ArchivedSlip saved;
            saved.slot = 1;
            saved.firstName = "Léa";
            saved.monthKey = "0226";
            saved.grossBasis = true;
            saved.salbrut = 69333;
            saved.picture = "Léa0226.jpg";
            saved.savedAt = QDateTime(on("2026-03-01"), QTime(10, 0));
            saved.contract = true;
            SlipArchive(folder + folder::slipArchive).put(saved);
        }
        FileOpens opens(dir.path());
        if (!opens.watching())
            SKIP_UNLESS_CI("inotify cannot watch the test's folder");
        opens.take();

        const Money rate = moneyFromText("4.00");
        if (what == "leave") {
            const QList<LeavePeriod> leave = paidLeaveOf(loadContractInputs(dir.path(), 1, c, false), rate, {}, c.last);
            QVERIFY(!leave.isEmpty());
        } else if (what == "end") {
            const EndOfContract end = endOfContractOf(loadContractInputs(dir.path(), 1, c, true), rate, {});
            QVERIFY2(end.complete(), qPrintable(end.failure));
            QCOMPARE(end.missingMonths.size(), 2); // January and March: the saved slip was read
        } else {
            const SlipInput in = inputs(what);
            const ContractSlip s = contractSlipOf(loadSlipInputs(dir.path(), 1, what), in, true);
            QVERIFY2(s.complete(), qPrintable(s.failure + s.slip.error.value_or("")));
            QCOMPARE(s.end.has_value(), what == "0326");
        }
        const QHash<QString, int> counted = opens.take();
        QStringList seen;
        for (auto it = counted.begin(); it != counted.end(); ++it)
            seen << QStringLiteral("%1=%2").arg(it.key()).arg(it.value());
        seen.sort();
        QTEST(seen.join(' '), "opens");
    }

    // The days typed on a contract month's sheet that its slip does not pay
    // as typed, said on lines of their own; the figures stay the contract's.
    void typedDayNotes_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QStringList>("typed"); // dd/MM of March 2026, or a whole date
        QTest::addColumn<QStringList>("notes");
        QTest::newRow("every day inside") << "2026-01-05" << "" << QStringList{"02/03", "03/03", "04/03"}
                                          << QStringList{};
        QTest::newRow("after the last day")
            << "2026-01-05" << "2026-03-25" << QStringList{"25/03", "26/03", "27/03", "30/03"}
            << QStringList{"3 jours saisis après la fin du contrat ne sont pas payés"};
        QTest::newRow("before the first day")
            << "2026-03-16" << "" << QStringList{"12/03", "13/03", "16/03"}
            << QStringList{"2 jours saisis avant le début du contrat (16/03/2026) ne sont pas payés"};
        QTest::newRow("worked during an absence")
            << "2026-01-05" << "" << QStringList{"09/03"}
            << QStringList{"Le 09/03 est saisi travaillé pendant une absence déclarée"};
        QTest::newRow("three days in absences, and after the end")
            << "2026-01-05" << "2026-03-20" << QStringList{"09/03", "10/03", "20/03", "23/03"}
            << QStringList{"1 jour saisi après la fin du contrat n'est pas payé",
                           "Les 09/03, 10/03 et 20/03 sont saisis travaillés pendant une absence déclarée"};
        QTest::newRow("days of another month left out")
            << "2026-01-05" << "2026-03-31" << QStringList{"01/04/2026", "10/02/2026"} << QStringList{};
    }
    void typedDayNotes()
    {
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(QStringList, typed);
        Contract c = example();
        c.first = QDate::fromString(first, Qt::ISODate);
        c.last = QDate::fromString(last, Qt::ISODate);
        c.absences << Absence{{on("2026-03-20"), on("2026-03-20")}, Reason::ParentsChoice};
        std::array<SheetDay, 31> days{};
        for (qsizetype k = 0; k < typed.size(); ++k)
            days[size_t(k)].date = typed[k].size() == 5 ? typed[k] + "/2026" : typed[k];
        QTEST(contract::typedDayNotes(c, *MonthKey::fromText("0326"), days), "notes");
    }
};

QTEST_GUILESS_MAIN(TestContractSlip)
#include "tst_contractslip.moc"
