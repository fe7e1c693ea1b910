// The print/save window over a slip: its look, the two print jobs sent to a
// real CUPS queue that writes PDF files, the save to the clipboard and to the
// month's picture, offered with or without a print.
//
// The printing cases print to the cups-pdf queue "BerlivoPDF" (made by
// scripts/cups-test-queue as root): the test makes it the default printer of
// its own process through PRINTER, which CUPS's default lookup honours, and
// the program prints on the default printer as it always does. Without the
// queue they skip, saying so, or fail under CI=true.

#include "windows/grossslipwindow.h"
#include "windows/hourswindow.h"
#include "windows/mainwindow.h"
#include "windows/netslipwindow.h"
#include "windows/parameterswindow.h"
#include "windows/printsavewindow.h"
#include "windows/windowset.h"
#include "widgets/capture.h"
#include "widgets/radiogroup.h"
#include "common/environment.h"
#include "common/messages.h"
#include "common/numbers.h"
#include "payslip/jpegcodec.h"
#include "payslip/slippicture.h"

#include "pdfqueue.h"
#include "pictures.h"
#include "required.h"
#include "windowtest.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableWidget>
#include <QWindow>
#include <QtTest>

namespace {
const QString PrintMessage = QStringLiteral("Vérifiez que votre imprimante est \nsous tension, et chargée en papier");
} // namespace

class TestPrintSaveWindow : public WindowTest {
    Q_OBJECT
    // The questions asked, and the answer each gets (-1: the box is closed).
    QStringList m_asked;
    int m_answer = -1;
    PdfQueue m_queue;
    QWidget *m_elsewhere = nullptr;

    static TBO *bo() { return win().BO; }
    static TParametres *params() { return win().Parametres; }
    static SlipSheet *slipFor(int basis)
    {
        return basis == 1 ? static_cast<SlipSheet *>(win().Bulletinbrut) : win().Bulletin;
    }
    // The program folder, inside the test's own folder: a name leading out of
    // it still lands where the test can see it.
    QString folder() const { return m_dir.path() + "/program/"; }

    static void setCell(int col, int row, const QString &text)
    {
        QTableWidget *grid = win().Horaire->StringGrid1;
        if (QTableWidgetItem *item = grid->item(row, col))
            item->setText(text);
        else
            grid->setItem(row, col, new QTableWidgetItem(text));
    }

    // A month of March 2002 for Julie, as a validation leaves it, and the
    // slip of the basis shown with the print/save window over it.
    bool showSlip(int basis)
    {
        // Opening the parameters window fills the first child with the
        // defaults of the rates file.
        params()->show();
        params()->hide();
        params()->prenom3->setText("Julie");
        params()->nom3->setText("Martin");
        params()->Netbrut->setItemIndex(basis);
        win().Entree->selenf->setText("Julie");
        for (int day : {1, 4, 5, 6})
            setCell(1, day, QStringLiteral("%1/03/2002").arg(day, 2, 10, QChar('0')));
        for (int day : {1, 6})
            setCell(6, day, "08:00:00");
        setCell(7, 4, "OUI");
        win().Horaire->totheur->setText("16");
        win().Horaire->moan->setText("0302");
        SlipSheet *slip = slipFor(basis);
        showAndActivate(slip);
        const bool shown = QTest::qWaitFor([&] { return bo()->isVisible() || !m_shown.isEmpty(); });
        if (!m_shown.isEmpty())
            qWarning() << "the slip stopped:" << m_shown;
        return shown && m_shown.isEmpty();
    }

    // The page drawn back at the screen's resolution holds the slip with its
    // top-left corner at the top-left corner of the printable area.
    static bool atPrintableTopLeft(const QString &pdf, const QImage &slip, int dpi)
    {
        const QImage page = QImage::fromData(
            runTool("pdftoppm", {"-r", QString::number(dpi), "-f", "1", "-l", "1", "-png", pdf}), "PNG");
        QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
        const QPointF margin = printer.pageRect(QPrinter::Inch).topLeft() - printer.paperRect(QPrinter::Inch).topLeft();
        const QPoint at = (margin * dpi).toPoint();
        // The mean difference of the colour channels, the slip against the
        // page at `offset` from where it should be.
        const auto difference = [&](QPoint offset) {
            const QImage part = page.copy(QRect(at + offset, slip.size())).convertToFormat(QImage::Format_RGB32);
            qint64 sum = 0;
            for (int y = 0; y < slip.height(); ++y)
                for (int x = 0; x < slip.width(); ++x) {
                    const QRgb a = slip.pixel(x, y), b = part.pixel(x, y);
                    sum += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
                }
            return double(sum) / (3.0 * slip.width() * slip.height());
        };
        // The margin rarely falls on a whole pixel: the page drawn back is
        // blurred by up to half a pixel, so the slip must match best within
        // a pixel of its place, and clearly worse three pixels away.
        double there = 1e9, away = 1e9;
        for (int dy = -3; dy <= 3; ++dy)
            for (int dx = -3; dx <= 3; ++dx) {
                const int ring = qMax(qAbs(dx), qAbs(dy));
                if (ring <= 1)
                    there = qMin(there, difference({dx, dy}));
                else if (ring == 3)
                    away = qMin(away, difference({dx, dy}));
            }
        qInfo("slip on the page: mean difference %.2f in place, %.2f three pixels away", there, away);
        return !page.isNull() && there < 0.7 * away;
    }

    bool saveOffered() const { return bo()->NiceButton2->isVisible() && bo()->NiceButton2->isEnabled(); }

    QStringList newPdfs(const QStringList &before, int expected) const { return m_queue.newPdfs(before, expected); }

private slots:
    void initTestCase()
    {
        QVERIFY(start({QDate(2002, 4, 2), QTime(9, 30)}));
        QVERIFY(QDir(m_dir.path()).mkdir("program"));
        QVERIFY(copyFirstRates(folder() + "Taux.txt"));
        setProgramFolder(folder());
        setChoiceSink([this](const Choice &c) {
            m_asked << c.question;
            return m_answer;
        });
        m_queue = PdfQueue::find();
    }
    void init()
    {
        m_asked.clear();
        m_answer = -1;
        QDir(folder() + "bulljpg").removeRecursively();
        QVERIFY(QDir(folder()).mkdir("bulljpg"));
        openWindows();
        m_elsewhere = new QWidget;
        m_elsewhere->resize(100, 100);
    }
    void cleanup()
    {
        delete m_elsewhere;
        destroyWindows();
    }

    void look()
    {
        TBO *w = bo();
        QCOMPARE(w->objectName(), "TBO");
        // Above its slip only, not above every window.
        QVERIFY(!(w->windowFlags() & Qt::WindowStaysOnTopHint));
        QVERIFY(!(w->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
        QCOMPARE(w->NiceButton1->objectName(), "NiceButton1");
        QCOMPARE(w->NiceButton1->text(), "Impression");
        QCOMPARE(w->NiceButton2->objectName(), "NiceButton2");
        QCOMPARE(w->NiceButton2->text(), "Enregistrement");
        QCOMPARE(w->Cout->objectName(), "Cout");
        QCOMPARE(w->Cout->text(), "Coût pour la famille");
        QCOMPARE(w->Image1->objectName(), "Image1");
        for (QWidget *b : {static_cast<QWidget *>(w->NiceButton1), static_cast<QWidget *>(w->NiceButton2),
                           static_cast<QWidget *>(w->Cout)})
            QCOMPARE(b->focusPolicy(), Qt::NoFocus);

        QVERIFY(showSlip(0));
        QCOMPARE(w->windowHandle()->transientParent(), slipFor(0)->windowHandle());
        // No frame offscreen: the outer size is the client size.
        QCOMPARE(w->frameGeometry(), QRect(728, 311, 134, 164));
        QVERIFY(w->NiceButton1->isVisible() && w->NiceButton1->isEnabled());
        QVERIFY(!w->Image1->isVisible());
        // The save is offered before any print, and still after the parent
        // went to another window and came back.
        QVERIFY(saveOffered());
        QVERIFY(activate(m_elsewhere));
        QVERIFY(activate(w));
        QVERIFY(saveOffered());
    }

    void print_data()
    {
        QTest::addColumn<int>("basis");
        QTest::addColumn<int>("commands");
        QTest::addColumn<int>("jobs");
        QTest::newRow("net") << 0 << 1 << 2;
        QTest::newRow("gross") << 1 << 1 << 2;
        QTest::newRow("two commands") << 0 << 2 << 4;
        QTest::newRow("no basis") << -1 << 1 << 0;
    }
    // Each command shows the message, then sends two one-page jobs holding
    // the slip's picture at its physical size, then offers the save.
    void print()
    {
        QFETCH(int, basis);
        QFETCH(int, commands);
        QFETCH(int, jobs);
        if (!m_queue.unusable.isEmpty())
            SKIP_UNLESS_CI(m_queue.unusable);
        QVERIFY(showSlip(basis == 1 ? 1 : 0));
        params()->Netbrut->setItemIndex(basis);
        SlipSheet *slip = slipFor(basis);
        const QSize slipSize = slip->size();
        const QStringList before = m_queue.pdfs();
        const int lastJob = m_queue.lastJob();
        for (int k = 0; k < commands; ++k)
            QTest::mouseClick(bo()->NiceButton1, Qt::LeftButton);
        QCOMPARE(m_shown, QStringList(commands, PrintMessage));
        QCOMPARE(m_queue.jobsSince(lastJob), jobs);
        QVERIFY(saveOffered());
        QVERIFY(slip->isVisible());

        const QStringList printed = newPdfs(before, jobs);
        QCOMPARE(printed.size(), jobs);
        if (jobs > 0)
            QVERIFY2(atPrintableTopLeft(printed.first(), captureClientArea(slip), slip->logicalDpiX()),
                     "the slip is not where expected");
        const double screenDpi = slip->logicalDpiX();
        for (const QString &pdf : printed) {
            const PrintedPage page = readPdf(pdf);
            QFile::remove(pdf); // read: the queue's folder need not grow run after run
            QCOMPARE(page.pages, 1);
            QCOMPARE(page.pictures, QList<QSize>{slipSize});
            // At its physical size: as many pixels per inch as the screen.
            QVERIFY2(qAbs(page.ppi[0].width() - screenDpi) < 1 && qAbs(page.ppi[0].height() - screenDpi) < 1,
                     qPrintable(QStringLiteral("%1 x %2 ppi").arg(page.ppi[0].width()).arg(page.ppi[0].height())));
        }
    }

    void noDefaultPrinter()
    {
        QVERIFY(showSlip(0));
        const int lastJob = m_queue.unusable.isEmpty() ? m_queue.lastJob() : 0;
        // The user's own default names a printer that is not there: CUPS
        // then has no default printer.
        qputenv("PRINTER", "BerlivoNoSuchPrinter");
        QVERIFY(QPrinterInfo::defaultPrinter().isNull());
        QTest::mouseClick(bo()->NiceButton1, Qt::LeftButton);
        qputenv("PRINTER", TestQueue);
        QCOMPARE(m_shown, (QStringList{PrintMessage, "Aucune imprimante par défaut sélectionnée"}));
        // The save does not depend on the print (tst_slipsavewindow saves
        // with no printer).
        QVERIFY(saveOffered());
        QVERIFY(win().Bulletin->isVisible() && bo()->isVisible());
        if (m_queue.unusable.isEmpty())
            QCOMPARE(m_queue.jobsSince(lastJob), 0);
    }

    void save_data()
    {
        QTest::addColumn<int>("basis");
        QTest::addColumn<QString>("firstName");
        QTest::addColumn<QString>("file");
        QTest::newRow("net") << 0 << "Julie"
                             << "Julie0302.jpg";
        QTest::newRow("gross") << 1 << "Julie"
                               << "Julie0302.jpg";
        QTest::newRow("no first name") << 0 << ""
                                       << "0302.jpg";
        QTest::newRow("kept as typed") << 0 << " Zoé d'Arc"
                                       << " Zoé d'Arc0302.jpg";
    }
    // The slip goes to the clipboard and to its month's picture, which is
    // what the reference encoder makes of the same pixels; the slip and the
    // window close, without a message. A second save replaces the picture.
    void save()
    {
        QFETCH(int, basis);
        QFETCH(QString, firstName);
        QFETCH(QString, file);
        QVERIFY(showSlip(basis));
        win().Entree->selenf->setText(firstName);
        SlipSheet *slip = slipFor(basis);
        const QImage picture = captureClientArea(slip);
        QCOMPARE(picture.size(), slip->size());
        const QString path = folder() + "bulljpg/" + file;
        writeBytes(path, "an earlier picture");

        m_answer = 0; // "Oui"
        bo()->NiceButton2Click();
        QCOMPARE(m_asked, QStringList{"Remplacer le bulletin de Mars 2002 déjà enregistré ?"});
        QCOMPARE(m_shown, QStringList());
        QVERIFY(!slip->isVisible());
        QVERIFY(!bo()->isVisible());
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), picture);
        // The slip's PDF stands beside its picture, and nothing else is left.
        QStringList expected{file, file.chopped(4) + ".pdf"};
        expected.sort();
        QCOMPARE(QDir(folder() + "bulljpg").entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);

        const QByteArray saved = readBytes(path);
        const QString cjpeg = QStandardPaths::findExecutable("cjpeg");
        const QByteArray reference =
            cjpeg.isEmpty() ? encodeJpeg(picture) : runTool(cjpeg, cjpegSettings, ppm(picture));
        QVERIFY(saved == reference);
        QCOMPARE(decodeJpeg(saved).size(), slip->size());
        const QString djpeg = QStandardPaths::findExecutable("djpeg");
        if (!djpeg.isEmpty())
            QVERIFY(runTool(djpeg, {"-pnm", path})
                        .startsWith(QStringLiteral("P6\n%1 %2\n").arg(slip->width()).arg(slip->height()).toLatin1()));
    }

    // The slip closed by its close box takes its print/save window away; a
    // print is then impossible, and so is a save.
    void closedSlipTakesItsWindowAway()
    {
        QVERIFY(showSlip(0));
        win().Bulletin->close();
        QVERIFY(!bo()->isVisible());
        bo()->NiceButton1Click();
        bo()->NiceButton2Click();
        QCOMPARE(m_shown, QStringList()); // not even the printer message
        QCOMPARE(QDir(folder() + "bulljpg").entryList(QDir::Files), QStringList());
        // Closing the other slip leaves the window of this one.
        QVERIFY(showSlip(0));
        win().Bulletinbrut->close();
        QVERIFY(bo()->isVisible());
    }

    // A month saved before is replaced only on "Oui"; "Non", the default,
    // leaves the earlier picture and the slip on screen.
    void saveOverAnEarlierMonthAsks()
    {
        QVERIFY(showSlip(0));
        const QString path = folder() + "bulljpg/Julie0302.jpg";
        writeBytes(path, "an earlier picture");
        m_answer = -1; // the box closed
        bo()->NiceButton2Click();
        QCOMPARE(m_asked, QStringList{"Remplacer le bulletin de Mars 2002 déjà enregistré ?"});
        QCOMPARE(readBytes(path), QByteArray("an earlier picture"));
        QCOMPARE(QDir(folder() + "bulljpg").entryList(QDir::Files), QStringList{"Julie0302.jpg"});
        QVERIFY(win().Bulletin->isVisible() && bo()->isVisible());
    }

    void saveFailures_data()
    {
        QTest::addColumn<QString>("firstName");
        QTest::addColumn<bool>("folderMissing");
        QTest::newRow("no bulljpg folder") << "Julie" << true;
        QTest::newRow("first name leading out") << "../../Julie" << false;
        QTest::newRow("first name with a backslash") << "Ju\\lie" << false;
        QTest::newRow("first name ..") << ".." << false;
    }
    // A save that can't write its file says which one, closes nothing, and
    // writes nothing anywhere; the clipboard already holds the slip.
    void saveFailures()
    {
        QFETCH(QString, firstName);
        QFETCH(bool, folderMissing);
        QVERIFY(showSlip(0));
        if (folderMissing)
            QVERIFY(QDir(folder() + "bulljpg").removeRecursively());
        win().Entree->selenf->setText(firstName);
        const QImage picture = captureClientArea(win().Bulletin);
        const auto before = tree(m_dir.path());

        bo()->NiceButton2Click();
        QCOMPARE(m_shown,
                 QStringList{"Impossible de créer le fichier " + folder() + "bulljpg/" + firstName + "0302.jpg"});
        QVERIFY(win().Bulletin->isVisible() && bo()->isVisible());
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), picture);
        QCOMPARE(tree(m_dir.path()), before);
        QCOMPARE(QFileInfo::exists(folder() + "bulljpg"), !folderMissing);
    }

    // Under a real X server: after a save, another program pastes the slip.
    void clipboardReadByAnotherProgram()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb")) {
            // Run as tst_printsavewindow_x11 on a machine without xvfb-run.
            if (qEnvironmentVariableIsSet("BERLIVO_X11_TEST"))
                SKIP_UNLESS_CI("needs an X server, and xvfb-run is not installed");
            QSKIP("needs an X server: run by tst_printsavewindow_x11 under xvfb-run");
        }
        const QString xclip = QStandardPaths::findExecutable("xclip");
        if (xclip.isEmpty())
            SKIP_UNLESS_CI("xclip is not installed");
        QVERIFY(showSlip(0));
        const QImage picture = captureClientArea(win().Bulletin);
        bo()->NiceButton2Click();
        QCOMPARE(m_shown, QStringList());
        // xclip asks this process for the picture: the event loop must run.
        QProcess p;
        p.start(xclip, {"-selection", "clipboard", "-t", "image/png", "-o"});
        QVERIFY(QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 30000));
        QCOMPARE(p.exitCode(), 0);
        const QImage pasted = QImage::fromData(p.readAllStandardOutput(), "PNG");
        QCOMPARE(pasted.convertToFormat(QImage::Format_RGB32), picture);
    }
};

QTEST_MAIN(TestPrintSaveWindow)
#include "tst_printsavewindow.moc"
