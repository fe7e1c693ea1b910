// "Enregistrement" from the print/save window: the picture, the PDF beside
// it and the archive row, on both bases, and a failed save that changes
// nothing.

#include "archive/sliparchive.h"
#include "common/environment.h"
#include "common/errors.h"
#include "common/messages.h"
#include "common/numbers.h"
#include "payslip/money.h"
#include "payslip/slippicture.h"
#include "settings/paramrecord.h"
#include "windows/grossslipwindow.h"
#include "windows/mainwindow.h"
#include "windows/netslipwindow.h"
#include "windows/printsavewindow.h"
#include "windows/parameterswindow.h"

#include "cents.h"
#include "slipmonth.h"
#include "testfiles.h"
#include "windowtest.h"
#include "required.h"

#include <QAbstractButton>
#include <QDir>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTabWidget>
#include <QStandardPaths>
#include <QtTest>
#include <cmath>
#include <optional>

namespace {
SlipSheet *slipFor(int basis) { return basis == 0 ? static_cast<SlipSheet *>(win().Bulletin) : win().Bulletinbrut; }

} // namespace

class TestSlipSaveWindow : public WindowTest {
    Q_OBJECT
private:
    QString m_folder;

    // The slip of March 2024 on a basis, on screen with its print/save window.
    SlipSheet *showSlip(int basis, const QString &hourly = "3.27")
    {
        const QString firstName = "Julie";
        enterMonth(3, firstName, basis);
        win().Parametres->SH->setText(hourly);
        win().Entree->selenf->setText(firstName);
        SlipSheet *slip = slipFor(basis);
        showAndActivate(slip);
        if (!QTest::qWaitFor([&] { return slip->shownSlip().has_value() && win().BO->isVisible(); }))
            return nullptr;
        return slip;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(start({QDate(2024, 4, 2), QTime(9, 30)}, WithRates));
        m_folder = m_dir.path() + '/';
        // A month saved again is replaced: "Oui" to the question.
        setChoiceSink([](const Choice &) { return 0; });
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            SKIP_UNLESS_CI("pdftotext (poppler-utils) is not installed");
    }
    void init()
    {
        lockFolder(m_folder + "bulljpg", false);
        QDir(m_folder + "bulljpg").removeRecursively();
        QVERIFY(QDir(m_folder).mkdir("bulljpg"));
        QFile::remove(m_folder + SlipArchive::fileName());
        openWindows();
    }
    void cleanup()
    {
        destroyWindows();
        lockFolder(m_folder + "bulljpg", false);
    }

    void savesPictureSlipAndRow_data()
    {
        QTest::addColumn<int>("basis");
        QTest::addColumn<bool>("printer");
        QTest::newRow("net") << 0 << true;
        QTest::newRow("gross") << 1 << true;
        QTest::newRow("no printer at all") << 0 << false;
    }
    // "Enregistrement" is there whether or not a print was made: with no
    // printer, the print fails and the save still keeps all three.
    void savesPictureSlipAndRow()
    {
        QFETCH(int, basis);
        QFETCH(bool, printer);
        SlipSheet *slip = showSlip(basis);
        QVERIFY(slip);
        const SlipSheet::Shown shown = *slip->shownSlip();
        if (!printer) {
            // A default printer named that is not there: CUPS has none then
            // (LPDEST would come first).
            const auto keep = [](const char *name) {
                return std::pair{name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt};
            };
            const auto kept = {keep("PRINTER"), keep("LPDEST")};
            qputenv("PRINTER", "BerlivoNoSuchPrinter");
            qunsetenv("LPDEST");
            const bool none = QPrinterInfo::defaultPrinter().isNull();
            if (none)
                QTest::mouseClick(win().BO->NiceButton1, Qt::LeftButton);
            for (const auto &[name, value] : kept)
                value ? qputenv(name, *value) : qunsetenv(name);
            QVERIFY(none);
            QCOMPARE(m_shown.size(), 2);
            QCOMPARE(m_shown.last(), rtl::noDefaultPrinter());
            m_shown.clear();
        }
        QTest::mouseClick(win().BO->NiceButton2, Qt::LeftButton);
        QCOMPARE(m_shown, QStringList());
        QVERIFY(!slip->isVisible());

        QVERIFY(QFile::exists(m_folder + "bulljpg/Julie0324.jpg"));
        const QString pdf = m_folder + "bulljpg/Julie0324.pdf";
        QCOMPARE(pdfPages(pdf), 1);
        const QString text = pdfText(pdf);
        QVERIFY2(text.contains(slip->net->text()), qPrintable(text));
        QVERIFY(text.contains("Julie"));

        const auto row = SlipArchive(m_folder + SlipArchive::fileName()).find(1, "0324");
        QVERIFY(row);
        // The row holds what the slip showed, to the cent.
        QCOMPARE(row->grossBasis, basis == 1);
        QCOMPARE(row->net, cents(slip->net->text()));
        QCOMPARE(row->salnet, cents(slip->salnet->text()));
        QCOMPARE(row->entret, cents(slip->entret->text()));
        QCOMPARE(row->nour, cents(slip->nour->text()));
        QCOMPARE(row->totcs, cents(slip->totcs->text()));
        for (int k = 0; k < 9; ++k)
            QCOMPARE(row->cs[k], cents(slip->cs[k]->text()));
        QCOMPARE(row->picture, "Julie0324.jpg");
        QCOMPARE(*row, archivedSlipFor(shown.input, shown.result, basis == 1, 1, "Julie0324.jpg", now()));

        // Saved again on the other basis: the month's row is replaced.
        SlipSheet *again = showSlip(1 - basis);
        QVERIFY(again);
        win().BO->NiceButton2Click();
        SlipArchive archive(m_folder + SlipArchive::fileName());
        QCOMPARE(archive.count(), 1);
        QCOMPARE(archive.find(1, "0324")->grossBasis, basis == 0);
    }

    // A first name typed longer than its record field is cut where it is
    // typed: the slip, the parameter file, the picture's name and the
    // archive all hold the same 20 characters.
    void longFirstNameIsTheOneStored()
    {
        const QString typed = QString("Anne-Sophie-Charlotte-").repeated(4).left(80);
        const QString held = typed.left(20);
        QVERIFY(activate(win().Entree));
        QTest::mouseClick(win().Entree->BitBtn4, Qt::LeftButton); // "&Parametrer"
        TParametres *p = win().Parametres;
        QVERIFY(QTest::qWaitForWindowActive(p));
        p->Paramtr->setCurrentIndex(1);
        p->prenom3->setFocus();
        QTest::keyClicks(p->prenom3, typed);
        QCOMPARE(p->prenom3->text(), held);
        QTest::mouseClick(p->OK, Qt::LeftButton);
        QTRY_COMPARE(win().Entree->selenf->text(), held);
        QCOMPARE(paramrecord::decode(readBytes(m_folder + "Paramtre.bvp").left(paramrecord::Size)).prenom3, held);

        enterMonth(3, p->prenom3->text());
        SlipSheet *slip = win().Bulletin;
        showAndActivate(slip);
        QVERIFY(QTest::qWaitFor([&] { return slip->shownSlip().has_value() && win().BO->isVisible(); }));
        QCOMPARE(slip->prenom->text(), held);
        win().BO->NiceButton2Click();
        QCOMPARE(m_shown, QStringList());
        QVERIFY(QFile::exists(m_folder + "bulljpg/" + held + "0324.jpg"));
        QCOMPARE(SlipArchive(m_folder + SlipArchive::fileName()).find(1, "0324")->firstName, held);
    }

    void failedSaveChangesNothing()
    {
        SlipSheet *slip = showSlip(0);
        QVERIFY(slip);
        win().BO->NiceButton2Click();
        const QString archivePath = m_folder + SlipArchive::fileName();
        const QByteArray archiveBefore = readBytes(archivePath);
        const QByteArray pictureBefore = readBytes(m_folder + "bulljpg/Julie0324.jpg");
        slip = showSlip(0, "9.99"); // a different slip
        QVERIFY(slip);
        QVERIFY(slip->shownSlip()->result.amounts.net.count() != SlipArchive(archivePath).find(1, "0324")->net * 100);
        if (!lockFolder(m_folder + "bulljpg", true))
            QSKIP("bulljpg/ cannot be made read-only here");
        win().BO->NiceButton2Click();
        QCOMPARE(m_shown, QStringList({rtl::cannotCreateFile(m_folder + "bulljpg/Julie0324.jpg")}));
        QVERIFY(slip->isVisible());
        QCOMPARE(readBytes(archivePath), archiveBefore);
        QCOMPARE(readBytes(m_folder + "bulljpg/Julie0324.jpg"), pictureBefore);
    }
};

QTEST_MAIN(TestSlipSaveWindow)
#include "tst_slipsavewindow.moc"
