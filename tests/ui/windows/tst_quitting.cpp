// Every way out, with each window open: the program ends with status 0, or a
// window stays on screen to go on from; the question of a window holding
// unstored days comes first. A start on a folder that a running program
// holds brings that program's window forward.

#include "datafolder/startup.h"
#include "widgets/comeforward.h"
#include "windows/aboutbox.h"
#include "windows/background.h"
#include "windows/contractslipwindow.h"
#include "windows/contractwindow.h"
#include "windows/declarationwindow.h"
#include "windows/grossslipwindow.h"
#include "windows/hourswindow.h"
#include "windows/mainwindow.h"
#include "windows/monthreviewwindow.h"
#include "windows/netslipwindow.h"
#include "windows/parameterswindow.h"
#include "windows/printsavewindow.h"
#include "windows/slipviewerwindow.h"
#include "windows/yearsummarywindow.h"

#include "slipmonth.h"
#include "windowtest.h"

#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QTimeEdit>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <memory>

namespace {
// How the event loop ended when the program did not end it: it went on,
// with a window on screen, once every event the route queued was handled;
// or it was left running with no window at all.
constexpr int WentOn = 77;
constexpr int Stranded = 78;

enum class Way { Button, Menu, MainCloseBox, OwnCloseBox, OwnExit, PrintWindowCloseBox };

// The windows a user works in, on screen (the backdrop and the print/save
// window, which goes with its slip, are not ones).
QWidgetList windowsOnScreen()
{
    QWidgetList shown;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && w != win().BVPfond && w != win().BO && !(w->windowType() & Qt::Popup & ~Qt::Window))
            shown << w;
    return shown;
}

// Runs the program's event loop and `route` in it; returns the loop's exit
// code, WentOn or Stranded.
int runThrough(const std::function<void()> &route)
{
    // What the loop is asked to do later dies with this call, should the
    // loop end before it.
    QObject pending;
    QTimer strandedFor;
    strandedFor.setSingleShot(true);
    QObject::connect(&strandedFor, &QTimer::timeout, &pending, [] { QCoreApplication::exit(Stranded); });
    std::function<void(int)> settle = [&](int rounds) {
        if (rounds > 0)
            QTimer::singleShot(0, &pending, [&settle, rounds] { settle(rounds - 1); });
        else if (!windowsOnScreen().isEmpty())
            QCoreApplication::exit(WentOn);
        else
            strandedFor.start(10000);
    };
    QTimer::singleShot(0, &pending, [&] {
        route();
        // A program that ends hides its windows on its way out; one that
        // goes on keeps one on screen once what it queued is handled. With
        // neither, only the watchdog ends the loop.
        settle(10);
    });
    return QApplication::exec();
}
} // namespace

class TestQuitting : public WindowTest {
    Q_OBJECT
    QStringList m_asked;
    int m_answer = 0;

    static TEntree *entree() { return win().Entree; }

    // Opens the window named as a user does, from the main window on screen;
    // returns it once it is up (a slip with its print/save window).
    static QWidget *open(const QString &name)
    {
        showAndActivate(entree());
        if (name == "TParametres") {
            entree()->BitBtn4Click();
            return win().Parametres;
        }
        if (name == "THoraire") {
            entree()->Dbuter1->trigger();
            return win().Horaire;
        }
        if (name == "TContrat") {
            entree()->Contrat1->trigger();
            return win().Contrat;
        }
        if (name.startsWith("TBulletin")) {
            enterMonth(3, "Julie", name == "TBulletinbrut" ? 1 : 0);
            SlipSheet *slip = name == "TBulletin" ? static_cast<SlipSheet *>(win().Bulletin) : win().Bulletinbrut;
            if (name == "TBulletinContrat")
                slip = win().BulletinContrat = new TBulletinContrat;
            // A contract slip with no contract says why on its sheet, with
            // no print/save window: shown here all the same.
            if (activate(slip) && slip == win().BulletinContrat)
                win().BO->showFor(slip);
            return QTest::qWaitFor([] { return win().BO->isVisible(); }) ? slip : nullptr;
        }
        const QHash<QString, QWidget *> others{{"TRecap", win().Recap},
                                               {"TRevisu", win().Revisu},
                                               {"TAboutBox", win().AboutBox},
                                               {"TDeclaration", win().Declaration},
                                               {"TAnnuel", win().Annuel}};
        showAndActivate(others.value(name));
        return others.value(name);
    }

    static void go(Way way, QWidget *window)
    {
        switch (way) {
        case Way::Button: QTest::mouseClick(entree()->BitBtn1, Qt::LeftButton); break;
        case Way::Menu: entree()->Quitter1->trigger(); break;
        // The window system's close box: the platform's close request.
        case Way::MainCloseBox: entree()->windowHandle()->close(); break;
        case Way::OwnCloseBox: window->windowHandle()->close(); break;
        case Way::OwnExit: QTest::mouseClick(win().Horaire->BitBtn4, Qt::LeftButton); break; // "Annule"
        case Way::PrintWindowCloseBox: win().BO->windowHandle()->close(); break;
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(start({QDate(2024, 4, 2), QTime(9, 30)}, WithRates));
        QVERIFY(QDir(m_dir.path()).mkpath("bulljpg"));
        setChoiceSink([this](const Choice &c) {
            m_asked << c.question;
            return m_answer;
        });
    }
    void init()
    {
        m_asked.clear();
        openWindows();
    }
    void cleanup() { destroyWindows(); }

    void everyWayOut_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<Way>("way");
        const QList<QPair<Way, const char *>> ways{{Way::Button, "button"},
                                                   {Way::Menu, "menu"},
                                                   {Way::MainCloseBox, "main close box"},
                                                   {Way::OwnCloseBox, "own close box"}};
        QTest::newRow("main window alone/button") << QString() << Way::Button;
        QTest::newRow("main window alone/close box") << QString() << Way::MainCloseBox;
        for (const QString window : {"THoraire", "TBulletin", "TBulletinbrut", "TBulletinContrat", "TRecap", "TRevisu",
                                     "TAboutBox", "TDeclaration", "TAnnuel", "TContrat"})
            for (const auto &[way, wayName] : ways)
                QTest::addRow("%s/%s", qPrintable(window), wayName) << window << way;
        // A slip and its print/save window ask for no close box; some window
        // managers give them one all the same.
        for (const QString window : {"TBulletin", "TBulletinbrut", "TBulletinContrat"})
            QTest::addRow("%s/print window close box", qPrintable(window)) << window << Way::PrintWindowCloseBox;
        QTest::newRow("THoraire/Annule") << "THoraire" << Way::OwnExit;
        // The main window is hidden while the parameters are edited: their
        // own close box is the one way there.
        QTest::newRow("TParametres/own close box") << "TParametres" << Way::OwnCloseBox;
    }
    // The main window's ways end the program; a window's own way out leaves
    // the main window on screen. None leaves a program running with no
    // window.
    void everyWayOut()
    {
        QFETCH(QString, window);
        QFETCH(Way, way);
        QWidget *w = window.isEmpty() ? (showAndActivate(entree()), entree()) : open(window);
        QVERIFY(w && w->isVisible());

        const int code = runThrough([&] { go(way, w); });
        QVERIFY(code != Stranded);
        if (way == Way::Button || way == Way::Menu || way == Way::MainCloseBox) {
            QCOMPARE(code, 0);
            QCOMPARE(windowsOnScreen(), QWidgetList());
        } else {
            QCOMPARE(code, WentOn);
            QVERIFY(entree()->isVisible());
            // Its own way out takes the window away; the print/save
            // window's leaves the slip.
            QCOMPARE(w->isVisible(), way == Way::PrintWindowCloseBox);
        }
        QCOMPARE(m_asked, QStringList());
    }

    // Whatever hid the main window, closing the last window on screen ends
    // the program rather than leave it running unseen.
    void lastWindowClosedEndsTheProgram()
    {
        QWidget *hours = open("THoraire");
        entree()->hide();
        QCOMPARE(windowsOnScreen(), QWidgetList{hours});
        const int code = runThrough([&] { go(Way::OwnCloseBox, hours); });
        QCOMPARE(code, 0);
    }

    void daysNotStoredAreAskedAbout_data()
    {
        QTest::addColumn<Way>("way");
        QTest::addColumn<int>("answer");
        QTest::newRow("menu, Oui") << Way::Menu << 0;
        QTest::newRow("menu, Non") << Way::Menu << 1;
        QTest::newRow("close box, Non") << Way::MainCloseBox << 1;
    }
    // Days typed and not validated: quitting asks the hours window's own
    // question first; "Non" keeps every window as it was.
    void daysNotStoredAreAskedAbout()
    {
        QFETCH(Way, way);
        QFETCH(int, answer);
        THoraire *hours = win().Horaire;
        QVERIFY(activate(open("THoraire")));
        QTest::mouseClick(hours->Date, Qt::LeftButton);
        hours->Date->setDate(QDate(2024, 4, 2));
        QTest::mouseClick(hours->H1, Qt::LeftButton);
        hours->H1->setTime(QTime(8, 0));
        QTest::mouseClick(hours->Suiv, Qt::LeftButton);
        m_answer = answer;
        const int code = runThrough([&] { go(way, hours); });
        QCOMPARE(m_asked, QStringList{ask::dropUnvalidatedDays()});
        if (answer == 0) {
            QCOMPARE(code, 0);
        } else {
            QCOMPARE(code, WentOn);
            QCOMPARE(windowsOnScreen().size(), 2);
            QVERIFY(entree()->isVisible() && win().Horaire->isVisible());
        }
    }

    void secondStartBringsTheFirstForward_data()
    {
        QTest::addColumn<QString>("open");
        QTest::addColumn<QString>("forward");
        QTest::newRow("main window minimised") << ""
                                               << "TEntree";
        QTest::newRow("parameters open") << "TParametres"
                                         << "TParametres";
    }
    // This test is the program that runs first: it holds the folder and
    // listens, as a start does. The real program started on the same folder
    // hands over to it and ends with status 0, having shown nothing (a
    // message box would never be answered here), and the window comes
    // forward.
    void secondStartBringsTheFirstForward()
    {
        QFETCH(QString, open);
        QFETCH(QString, forward);
        // The program's folder is its executable's: a copy of it, in the
        // test's own folder.
        const QString folder = m_dir.filePath("second/");
        QVERIFY(QDir().mkpath(folder));
        const QString program = folder + "berlivo";
        QVERIFY(QFileInfo::exists(program) || QFile::copy(BERLIVO_PROGRAM, program));
        startup::FolderLock lock(folder);
        QCOMPARE(lock.take(), startup::FolderLock::State::Taken);
        auto listener = std::make_unique<ComeForwardListener>(folder, bringProgramForward);

        QWidget *window = open.isEmpty() ? entree() : this->open(open);
        showAndActivate(window);
        QWidget elsewhere;
        QVERIFY(activate(&elsewhere));
        if (window == entree())
            entree()->showMinimized();

        QProcess second;
        second.setProcessChannelMode(QProcess::ForwardedChannels);
        second.start(program, {});
        QVERIFY(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 60000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE(QApplication::activeWindow() ? QApplication::activeWindow()->objectName() : QString(), forward);
        QVERIFY(!QApplication::activeWindow()->isMinimized());
        // It took nothing of the folder: no second lay-out beside the lock.
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"berlivo"});
        // A program that holds the folder and does not listen (hung, say)
        // gives no answer: the start then says so rather than stay silent.
        listener.reset();
        QVERIFY(!askToComeForward(folder));
    }

    // Traced, the real program says each step of its start, the windows
    // beyond the specified ones not among them, and ends with status 0 once
    // its main window is painted, having written the clock: what the
    // start-up benchmark reads.
    void tracedStartEndsOnceThePaintIsDone()
    {
        const QString folder = m_dir.filePath("traced/");
        QVERIFY(QDir().mkpath(folder + "Aide"));
        const QString built = QFileInfo(BERLIVO_PROGRAM).path() + '/';
        for (const char *file : {"berlivo", "Taux.txt", "Aide/Berlivo.qch"})
            QVERIFY(QFile::copy(built + file, folder + file));
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("BERLIVO_START_TRACE", "1");
        program.setProcessEnvironment(env);
        program.start(folder + "berlivo", {});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitCode(), 0);
        bool clock = false;
        QVERIFY(program.readAllStandardOutput().trimmed().toLongLong(&clock) > 0 && clock);
        QStringList steps;
        for (const QByteArray &line : program.readAllStandardError().split('\n'))
            if (line.endsWith(" ms cpu"))
                steps << QString::fromLatin1(line.left(28)).trimmed();
        QCOMPARE(steps.value(0), "libraries loaded");
        // The specified windows in their order, and no other.
        const qsizetype first = steps.indexOf("TEntree");
        QCOMPARE(steps.mid(first, steps.indexOf("main window shown") - first),
                 QStringList({"TEntree", "TParametres", "THoraire", "TBulletin", "TRecap", "TBulletinbrut", "TRevisu",
                              "TBO", "TAboutBox", "TBVPfond"}));
        QCOMPARE(steps.mid(steps.size() - 3),
                 QStringList({"main window shown", "first paint", "first event-loop turn"}));
    }
};

QTEST_MAIN(TestQuitting)
#include "tst_quitting.moc"
