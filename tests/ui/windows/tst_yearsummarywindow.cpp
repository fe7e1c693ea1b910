// The yearly summary window against its pure unit, its two exports, and the
// PDF of a slip window.

#include "archive/sliparchive.h"
#include "archive/yearsummary.h"
#include "attendance/daytable.h"
#include "common/environment.h"
#include "common/programfiles.h"
#include "legal/familycost.h"
#include "legal/taxcredit.h"
#include "common/messages.h"
#include "common/numbers.h"
#include "payslip/money.h"
#include "widgets/pdfpage.h"
#include "widgets/radiogroup.h"
#include "windows/hourswindow.h"
#include "windows/mainwindow.h"
#include "windows/netslipwindow.h"
#include "windows/parameterswindow.h"
#include "windows/slipsheet.h"
#include "windows/windowset.h"
#include "windows/yearsummarywindow.h"

#include "slipmonth.h"
#include "dayrecords.h"
#include "testfiles.h"
#include "windowtest.h"
#include "required.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QScrollBar>
#include <QSpinBox>
#include <QtTest>

class TestYearSummaryWindow : public WindowTest {
    Q_OBJECT
private:
    QString m_folder;

private slots:
    void initTestCase()
    {
        QVERIFY(start({QDate(2025, 4, 2), QTime(9, 30)}, WithRates));
        m_folder = m_dir.path() + '/';
        QVERIFY(QDir(m_folder).mkdir("bulljpg"));
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            SKIP_UNLESS_CI("pdftotext (poppler-utils) is not installed");
    }
    void init() { openWindows(); }
    void cleanup() { destroyWindows(); }

    void damagedArchiveIsSaidWithTheMonthsThatHaveDays()
    {
        // Days entered for April 2024, and an archive no program can read.
        DayTable::createEmpty(m_folder + "Enf1.db");
        storeDays(m_folder, "Enf1.db", {storedDay("03/04/2024")});
        writeBytes(m_folder + SlipArchive::fileName(), QByteArray(4096, 'x'));
        win().Entree->Annuel1->trigger();
        TAnnuel *w = win().Annuel;
        w->Annee->setCurrentIndex(w->Annee->findText("2024"));
        const YearSummary expected = loadYearSummary(m_folder, 1, "Léa", 2024);
        QVERIFY(!expected.archiveError.isEmpty());
        QVERIFY(w->Message->isVisible());
        QCOMPARE(w->Message->text(), expected.archiveError);
        QVERIFY(w->Motif->isHidden()); // said once
        // Every column in sight, its caption the summary's own.
        QTRY_COMPARE(w->Grille->horizontalScrollBar()->maximum(), 0);
        for (int c = 0; c < w->Grille->columnCount(); ++c)
            QCOMPARE(w->Grille->horizontalHeaderItem(c)->text().replace('\n', ' '), summaryColumns().at(c));
        const QList<QStringList> rows = summaryTable(expected);
        QCOMPARE(w->Grille->rowCount(), rows.size());
        QCOMPARE(w->Grille->item(0, int(summaryColumns().size()) - 1)->text(), "à faire");
        for (int i = 0; i < 3; ++i)
            QCOMPARE(w->FiscalValeur[i]->text(), QString());
        QVERIFY(!w->ExportCsv->isEnabled());
        if (const QByteArray shots = qgetenv("BERLIVO_SHOTS"); !shots.isEmpty()) {
            QTest::qWait(200); // the layout takes the message in
            w->grab().save(QString::fromLocal8Bit(shots) + "/TAnnuel-damaged-archive.png");
        }
        w->hide();
        QVERIFY(QFile::remove(m_folder + SlipArchive::fileName()));
        QVERIFY(QFile::remove(m_folder + "Enf1.db"));
    }

    void showsTheUnitsSummary()
    {
        // Three months archived from real slips, one picture alone.
        {
            SlipArchive a(m_folder + SlipArchive::fileName());
            for (int m : {2, 3, 5}) {
                enterMonth(m, "Léa");
                const SlipInput in = gatherSlipInput();
                a.begin();
                a.put(archivedSlipFor(in, computeNetSlip(in), false, 1, "x.jpg", now()));
                a.commit();
            }
        }
        writeBytes(m_folder + "bulljpg/Léa0424.jpg", "jpeg");
        win().Entree->Annuel1->trigger();
        TAnnuel *w = win().Annuel;
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowTitle(), "Récapitulatif annuel");
        // Last year first: the spring tax return is about it.
        QCOMPARE(w->Annee->currentText(), "2024");
        QCOMPARE(w->Enfant->currentText(), "Enfant 1 : Léa");

        const YearSummary expected = loadYearSummary(m_folder, 1, "Léa", 2024);
        QCOMPARE(w->summary().monthsOf(SummaryMonth::Kind::Archived), QList<int>({2, 3, 5}));
        const QList<QStringList> rows = summaryTable(expected);
        QCOMPARE(w->Grille->rowCount(), rows.size());
        for (int r = 0; r < rows.size(); ++r)
            for (int c = 0; c < rows[r].size(); ++c)
                QCOMPARE(w->Grille->item(r, c)->text(), rows[r][c]);
        QCOMPARE(w->Grille->item(2, int(summaryColumns().size()) - 1)->text(), "image seule");
        const QList<TaxFigure> figures = taxReturnFigures(expected);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(w->FiscalValeur[i]->text(), figures[i].value);
        QCOMPARE(expected.taxCreditBase(), expected.totals.salnet + expected.totals.entret);
        QVERIFY(expected.totals.nour > 0);

        // Another year has nothing; the exports are then off.
        w->Annee->setCurrentIndex(w->Annee->findText("2025"));
        QCOMPARE(w->Grille->rowCount(), 1);
        QVERIFY(w->Message->isVisible());
        QVERIFY(!w->ExportCsv->isEnabled());
        w->Annee->setCurrentIndex(w->Annee->findText("2024"));
        QCOMPARE(w->Grille->rowCount(), rows.size());

        // The exports write what the units make, where the user chose.
        QString asked;
        TAnnuel::chooseFile = [&](QWidget *, const QString &suggested, const QString &) {
            asked = suggested;
            return m_folder + QFileInfo(suggested).fileName();
        };
        w->ExportCsv->click();
        QVERIFY(asked.endsWith("/Recapitulatif-Léa-2024.csv"));
        QCOMPARE(readBytes(m_folder + "Recapitulatif-Léa-2024.csv"),
                 summaryCsv(expected, legal::creditFigures(w->credit())));
        w->ExportPdf->click();
        const QString pdf = m_folder + "Recapitulatif-Léa-2024.pdf";
        QCOMPARE(pdfPages(pdf), 1);
        const QString text = pdfText(pdf);
        QVERIFY2(text.contains("Récapitulatif annuel 2024"), qPrintable(text));
        QVERIFY(text.contains(centsText(expected.taxCreditBase()) + " €"));
        QVERIFY(text.contains("image seule"));
        // Each export says where it wrote its file.
        QCOMPARE(m_shown, QStringList({"Le récapitulatif est enregistré dans\n" +
                                           QDir::toNativeSeparators(m_folder + "Recapitulatif-Léa-2024.csv"),
                                       "Le récapitulatif est enregistré dans\n" + QDir::toNativeSeparators(pdf)}));

        // A cancelled choice writes nothing.
        QFile::remove(pdf);
        TAnnuel::chooseFile = [](QWidget *, const QString &, const QString &) { return QString(); };
        w->ExportPdf->click();
        QVERIFY(!QFile::exists(pdf));
    }

    // The window opens on the latest year with saved slips; with none, on
    // last year.
    void opensOnTheLatestYearWithSlips_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("year");
        QTest::newRow("none") << QStringList() << "2024";
        QTest::newRow("an earlier year") << QStringList{"0322", "1122"} << "2022";
        QTest::newRow("this year") << QStringList{"0524", "0125"} << "2025";
    }
    void opensOnTheLatestYearWithSlips()
    {
        QFETCH(QStringList, keys);
        QFETCH(QString, year);
        QFile::remove(m_folder + SlipArchive::fileName());
        enterMonth(3, "Léa");
        const SlipInput in = gatherSlipInput();
        for (const QString &key : keys) {
            SlipArchive a(m_folder + SlipArchive::fileName());
            ArchivedSlip row = archivedSlipFor(in, computeNetSlip(in), false, 1, "x.jpg", now());
            row.monthKey = key;
            a.begin();
            a.put(row);
            a.commit();
        }
        win().Entree->Annuel1->trigger();
        QCOMPARE(win().Annuel->Annee->currentText(), year);
        QFile::remove(m_folder + SlipArchive::fileName());
    }

    void slipPdfIsSearchable()
    {
        enterMonth(3, "Julie");
        TBulletin *slip = win().Bulletin;
        showAndActivate(slip);
        QTRY_VERIFY(slip->net->text() != "net");
        const QString path = m_folder + "slip.pdf";
        writeBytes(path, windowPdf(slip, "Julie0324"));
        QCOMPARE(pdfPages(path), 1);
        const QString text = pdfText(path);
        QVERIFY2(text.contains(slip->net->text()), qPrintable(text));
        QVERIFY(text.contains("Julie"));
        QVERIFY(text.contains("Mars"));
    }

    // The credit as the unit works it out from the archive, the typed aid and
    // the birth date the parameters hold; a child of 7 gets the reason.
    void taxCredit_data()
    {
        QTest::addColumn<QDate>("birth");
        QTest::addColumn<QString>("reasonPart"); // "" when there is a credit
        QTest::newRow("under 6, CMG typed") << QDate(2021, 6, 1) << "";
        QTest::newRow("7 years old") << QDate(2017, 3, 1)
                                     << "né le 01/03/2017, avait 6 ans ou plus au 1er janvier 2024";
    }
    void taxCredit()
    {
        QFETCH(QDate, birth);
        QFETCH(QString, reasonPart);
        QFile::remove(m_folder + folder::legalTable);
        QVERIFY(QFile::copy(BERLIVO_SOURCE_DIR "/data/Baremes.txt", m_folder + folder::legalTable));
        QVERIFY(activate(win().Parametres));
        {
            SlipArchive a(m_folder + SlipArchive::fileName());
            for (int m : {2, 3}) {
                enterMonth(m, "Léa");
                const SlipInput in = gatherSlipInput();
                a.begin();
                a.put(archivedSlipFor(in, computeNetSlip(in), false, 1, "x.jpg", now()));
                a.commit();
            }
        }
        win().Parametres->datenaiss->setDate(birth);
        win().Entree->Annuel1->trigger();
        TAnnuel *w = win().Annuel;
        QCOMPARE(w->Annee->currentText(), "2024");
        w->CMG->setFocus();
        QTest::keyClick(w->CMG, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(w->CMG, "100,25");
        QTest::keyClick(w->CMG, Qt::Key_Return);

        std::array<QDate, 5> births;
        for (int slot = 1; slot <= 5; ++slot)
            births[size_t(slot - 1)] = win().Parametres->birthDate(slot);
        QCOMPARE(births[0], birth);
        const legal::TaxCredit expected = legal::taxCredit(legal::Table::load(m_folder + folder::legalTable), 2024,
                                                           legal::careYears(m_folder, 2024, births), 1);
        QCOMPARE(w->credit().cmg, expected.cmg);
        QCOMPARE(w->credit().credit, expected.credit);
        const QList<TaxFigure> figures = legal::creditFigures(expected);
        if (reasonPart.isEmpty()) {
            QCOMPARE(expected.cmg, qint64(10025));
            QCOMPARE(expected.box, "7GA");
            QVERIFY(expected.credit > 0);
            for (int i = 0; i < figures.size(); ++i) {
                QCOMPARE(w->CreditValeur[i]->text(), figures[i].value);
                QVERIFY(w->CreditValeur[i]->isVisible());
            }
            QVERIFY(w->Motif->isHidden());
        } else {
            QVERIFY2(w->Motif->text().contains(reasonPart), qPrintable(w->Motif->text()));
            QCOMPARE(w->Motif->text(), expected.reason);
            QVERIFY(w->CreditValeur[0]->isHidden());
        }
        screenshot(QStringLiteral("annuel-%1").arg(QTest::currentDataTag()).replace(' ', '-'));
        // The aid stays with the child and year; the exports carry the credit.
        QCOMPARE(SlipArchive(m_folder + SlipArchive::fileName()).careAid(1, 2024).cmg, qint64(10025));
        TAnnuel::chooseFile = [&](QWidget *, const QString &suggested, const QString &) {
            return m_folder + QFileInfo(suggested).fileName();
        };
        w->ExportCsv->click();
        QCOMPARE(readBytes(m_folder + "Recapitulatif-Léa-2024.csv"), summaryCsv(w->summary(), figures));
        w->ExportPdf->click();
        const QString pdf = pdfText(m_folder + "Recapitulatif-Léa-2024.pdf").simplified();
        QVERIFY2(pdf.contains(reasonPart.isEmpty() ? figures.last().value : QString("avait 6 ans ou plus")),
                 qPrintable(pdf));
        // Nothing but where each export went.
        QCOMPARE(m_shown,
                 QStringList({ask::exportedTo(QDir::toNativeSeparators(m_folder + "Recapitulatif-Léa-2024.csv")),
                              ask::exportedTo(QDir::toNativeSeparators(m_folder + "Recapitulatif-Léa-2024.pdf"))}));
    }

    // Without a typed aid, the credit deducts the aid estimated month by
    // month from the archived slips and the family typed in the parameters,
    // marked so; the parent's own figure, once typed, stands.
    void estimatedAidForTheCredit()
    {
        QFile::remove(m_folder + folder::legalTable);
        QVERIFY(QFile::copy(BERLIVO_SOURCE_DIR "/data/Baremes.txt", m_folder + folder::legalTable));
        QVERIFY(activate(win().Parametres));
        TParametres *p = win().Parametres;
        p->datenaiss->setDate(QDate(2024, 5, 1));
        p->Ressources->setText("3000");
        p->NbEnfants->setValue(1);
        QList<ArchivedSlip> slips;
        {
            SlipArchive a(m_folder + SlipArchive::fileName());
            for (int m : {3, 4}) {
                enterMonth(m, "Noé", 0, 2026);
                const SlipInput in = gatherSlipInput();
                slips << archivedSlipFor(in, computeNetSlip(in), false, 1, "x.jpg", now());
                a.begin();
                a.put(slips.last());
                a.commit();
            }
        }
        const legal::Table table = legal::Table::load(m_folder + folder::legalTable);
        const legal::AidFamily family = legal::aidFamilyOf(p->familyOnScreen(), 1, QDate(2024, 5, 1));
        qint64 aid = 0;
        for (const ArchivedSlip &s : slips)
            aid += legal::estimateFamilyCost(table, legal::slipCostOf(s), family).aid.count() / 100;
        QVERIFY(aid > 0);

        win().Entree->Annuel1->trigger();
        TAnnuel *w = win().Annuel;
        QCOMPARE(w->Annee->currentText(), "2026");
        QVERIFY(w->credit().cmgEstimated);
        QCOMPARE(w->credit().cmg, aid);
        QCOMPARE(w->Credit[0]->text(), "Complément de libre choix du mode de garde (CMG) estimé :");
        QCOMPARE(w->CMG->text(), QString());
        QCOMPARE(w->CMG->placeholderText(), "estimé : " + centsText(aid));

        w->CMG->setFocus();
        QTest::keyClicks(w->CMG, "100,25");
        QTest::keyClick(w->CMG, Qt::Key_Return);
        QVERIFY(!w->credit().cmgEstimated);
        QCOMPARE(w->credit().cmg, qint64(10025));
        QCOMPARE(w->Credit[0]->text(), "Complément de libre choix du mode de garde (CMG) reçu :");
        QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join('|')));
    }
};

QTEST_MAIN(TestYearSummaryWindow)
#include "tst_yearsummarywindow.moc"
