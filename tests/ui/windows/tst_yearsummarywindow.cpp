// The yearly summary window against its pure unit, its two exports, and the
// PDF of a slip window.

#include "archive/sliparchive.h"
#include "archive/yearsummary.h"
#include "common/environment.h"
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
#include "testfiles.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>


class TestYearSummaryWindow : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_folder;
    QStringList m_errors;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_folder = m_dir.path() + '/';
        QVERIFY(copyFirstRates(m_folder + "Taux.txt"));
        QVERIFY(QDir(m_folder).mkdir("bulljpg"));
        setProgramFolder(m_dir.path());
        setDecimalSeparator('.');
        setGroupSeparator(QStringLiteral(" "));
        setNowForTests(QDateTime(QDate(2025, 4, 2), QTime(9, 30)));
        setMessageSink([this](MessageKind, const QString &t) { m_errors << t; });
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
    }
    void init()
    {
        createWindows();
        m_errors.clear(); // the help file's absence is told at start
    }
    void cleanup() { destroyWindows(); }

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
        QCOMPARE(readBytes(m_folder + "Recapitulatif-Léa-2024.csv"), summaryCsv(expected));
        w->ExportPdf->click();
        const QString pdf = m_folder + "Recapitulatif-Léa-2024.pdf";
        QCOMPARE(pdfPages(pdf), 1);
        const QString text = pdfText(pdf);
        QVERIFY2(text.contains("Récapitulatif annuel 2024"), qPrintable(text));
        QVERIFY(text.contains(centsText(expected.taxCreditBase()) + " €"));
        QVERIFY(text.contains("image seule"));
        QVERIFY(m_errors.isEmpty());

        // A cancelled choice writes nothing.
        QFile::remove(pdf);
        TAnnuel::chooseFile = [](QWidget *, const QString &, const QString &) { return QString(); };
        w->ExportPdf->click();
        QVERIFY(!QFile::exists(pdf));
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
};

QTEST_MAIN(TestYearSummaryWindow)
#include "tst_yearsummarywindow.moc"
