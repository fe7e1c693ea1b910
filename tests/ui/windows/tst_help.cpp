// Help: the start-up checks of the main window, F1 on the windows' controls,
// the help commands, and the compiled help as the viewer shows it.

#include "windows/helpviewer.h"
#include "windows/mainwindow.h"
#include "windows/monthreviewwindow.h"
#include "windows/parameterswindow.h"
#include "windows/contractslipwindow.h"
#include "windows/declarationwindow.h"
#include "windows/yearsummarywindow.h"
#include "windows/windowset.h"
#include "common/environment.h"
#include "common/helpfile.h"
#include "common/messages.h"
#include "widgets/helphook.h"

#include "testfiles.h"
#include "windowtest.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QDir>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextBrowser>
#include <QtTest>

namespace {
const QString fileMessage = QStringLiteral("Le fichier d'aide est introuvable !");
const QString viewerMessage =
    QStringLiteral("Vous devez installer la version 1.2 ou supérieurede Microsoft HTML Help !");
} // namespace

class TestHelp : public WindowTest {
    Q_OBJECT
private:
    TEntree *entree() { return win().Entree; }
    TAide *viewer() { return entree()->helpViewer(); }
    QString helpFile() { return m_dir.filePath("Aide/Berlivo.qch"); }
    QString shownPage() { return viewer() ? viewer()->topic().fileName() : QString(); }
    bool viewerShown() { return viewer() && viewer()->isVisible(); }

    QWidget *window(const QString &name)
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == name)
                return w;
        return nullptr;
    }

    // The control on its page, as a user would reach it: its tab page shown.
    static void bringIntoView(QWidget *control)
    {
        for (QWidget *w = control; w && !w->isWindow(); w = w->parentWidget())
            if (auto *stack = qobject_cast<QStackedWidget *>(w->parentWidget()))
                stack->setCurrentWidget(w);
    }

    // Text typed as a user would, accented letters included.
    static void type(QWidget *field, const QString &text)
    {
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Press, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }

    // The viewer's search, as typed on its search page.
    int search(const QString &words)
    {
        QHelpSearchEngine *engine = viewer()->engine()->searchEngine();
        QSignalSpy found(engine, &QHelpSearchEngine::searchingFinished);
        auto *field = viewer()->Question->findChild<QLineEdit *>();
        if (!field)
            return -1;
        field->clear();
        type(field, words);
        QTest::keyClick(field, Qt::Key_Return);
        if (!found.wait(10000) && found.isEmpty())
            return -1;
        return found.last().first().toInt();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(start({QDate(2002, 3, 14), QTime(10, 0)}, WithRates));
        QVERIFY(QDir(m_dir.path()).mkpath("Aide"));
        QVERIFY(QFile::copy(QStringLiteral(BERLIVO_HELP_FILE), helpFile()));
        setHelpCacheFolder(m_dir.filePath("cache"));
    }
    void init()
    {
        m_shown.clear();
        createWindows();
    }
    void cleanup()
    {
        destroyWindows();
        setHelpViewerReport({});
    }

    void startUpChecksHelpFileThenViewer_data()
    {
        QTest::addColumn<bool>("helpPresent");
        QTest::addColumn<int>("major"); // -1: the viewer could not be loaded; -2: the real viewer
        QTest::addColumn<int>("minor");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("everything there") << true << -2 << 0 << QStringList();
        QTest::newRow("viewer 4.73") << true << 4 << 73 << QStringList();
        QTest::newRow("viewer 5.0") << true << 5 << 0 << QStringList();
        QTest::newRow("viewer 4.72") << true << 4 << 72 << QStringList{viewerMessage};
        QTest::newRow("viewer 3.99") << true << 3 << 99 << QStringList{viewerMessage};
        QTest::newRow("no viewer") << true << -1 << 0 << QStringList{viewerMessage};
        QTest::newRow("no help file") << false << -2 << 0 << QStringList{fileMessage};
        QTest::newRow("neither") << false << -1 << 0 << QStringList{fileMessage, viewerMessage};
    }
    void startUpChecksHelpFileThenViewer()
    {
        QFETCH(bool, helpPresent);
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(QStringList, shown);
        destroyWindows();
        if (major == -1)
            setHelpViewerReport([] { return std::optional<ViewerVersion>(); });
        else if (major >= 0)
            setHelpViewerReport([=] {
                return std::optional<ViewerVersion>(ViewerVersion{quint16(major), quint16(minor)});
            });
        const QString aside = helpFile() + ".aside";
        if (!helpPresent)
            QVERIFY(QFile::rename(helpFile(), aside));
        m_shown.clear();
        createWindows();
        if (!helpPresent)
            QVERIFY(QFile::rename(aside, helpFile()));

        QCOMPARE(m_shown, shown);
        // Start-up went on, and the path is the program's, in full.
        QVERIFY(win().BVPfond);
        QCOMPARE(entree()->helpFile(), QDir::cleanPath(m_dir.path()) + "/Aide/Berlivo.qch");
        QVERIFY(!viewer());
    }

    void f1OpensTheTopicOfTheFocusedControl_data()
    {
        QTest::addColumn<QString>("windowName");
        QTest::addColumn<QString>("control"); // empty: the window itself
        QTest::addColumn<QString>("page");    // empty: nothing opens
        QTest::newRow("Revoir un mois") << "TEntree"
                                        << "BitBtn5"
                                        << "revoir-mois.html";
        QTest::newRow("main window, no number") << "TEntree"
                                                << "MonthCalendar1"
                                                << "fenetre-principale.html";
        QTest::newRow("Parametrer") << "TEntree"
                                    << "BitBtn4"
                                    << "parametres.html";
        QTest::newRow("Calculer le salaire") << "TEntree"
                                             << "BitBtn3"
                                             << "heures.html";
        QTest::newRow("Revoir un Bulletin") << "TEntree"
                                            << "BitBtn7"
                                            << "revoir-bulletin.html";
        QTest::newRow("parameters help button") << "TParametres"
                                                << "BitBtn3"
                                                << "";
        QTest::newRow("parameters OK") << "TParametres"
                                       << "OK"
                                       << "";
        QTest::newRow("Netbrut, by its page control") << "TParametres"
                                                      << "Netbrut"
                                                      << "parametres.html";
        QTest::newRow("datenaiss, by its page control") << "TParametres"
                                                        << "datenaiss"
                                                        << "parametres.html";
        QTest::newRow("prenom3, by its group") << "TParametres"
                                               << "prenom3"
                                               << "personnes.html";
        QTest::newRow("Secu") << "TParametres"
                              << "Secu"
                              << "personnes.html";
        QTest::newRow("a meal allowance, by its group") << "TParametres"
                                                        << "D"
                                                        << "salaires.html";
        QTest::newRow("Indentre") << "TParametres"
                                  << "Indentre"
                                  << "salaires.html";
        QTest::newRow("accpte, by its group") << "TParametres"
                                              << "accpte"
                                              << "indemnites.html";
        QTest::newRow("ETH") << "TParametres"
                             << "ETH"
                             << "indemnites.html";
        QTest::newRow("au") << "TParametres"
                            << "au"
                            << "dates-heures.html";
        QTest::newRow("child tabs") << "TParametres"
                                    << "TabControl1"
                                    << "enfants.html";
        QTest::newRow("raz") << "TParametres"
                             << "raz"
                             << "raz.html";
        QTest::newRow("H1") << "THoraire"
                            << "H1"
                            << "dates-heures.html";
        QTest::newRow("Jour") << "THoraire"
                              << "Date"
                              << "dates-heures.html";
        QTest::newRow("hours grid, by its window") << "THoraire"
                                                   << "StringGrid1"
                                                   << "heures.html";
        QTest::newRow("review calendar") << "TRecap"
                                         << "Datechoi"
                                         << "revoir-mois.html";
        QTest::newRow("slip viewer") << "TRevisu"
                                     << ""
                                     << "revoir-bulletin.html";
        QTest::newRow("net slip") << "TBulletin"
                                  << ""
                                  << "bulletin.html";
        QTest::newRow("gross slip") << "TBulletinbrut"
                                    << ""
                                    << "bulletin.html";
        QTest::newRow("about box") << "TAboutBox"
                                   << "OKButton"
                                   << "";
        QTest::newRow("declaration, by its window") << "TDeclaration"
                                                    << "Fermer"
                                                    << "declaration.html";
        QTest::newRow("year summary, by its window") << "TAnnuel"
                                                     << "Grille"
                                                     << "annuel.html";
        QTest::newRow("contract, by its window") << "TContrat"
                                                 << "Absences"
                                                 << "contrat.html";
        QTest::newRow("contract slip, by its window") << "TBulletinContrat"
                                                      << ""
                                                      << "bulletin-contrat.html";
        QTest::newRow("end of contract, by its page") << "TContrat"
                                                      << "MotifFin"
                                                      << "fin-contrat.html";
    }
    void f1OpensTheTopicOfTheFocusedControl()
    {
        QFETCH(QString, windowName);
        QFETCH(QString, control);
        QFETCH(QString, page);
        // The functions a first "&Parametrer" enables.
        for (QPushButton *b : {entree()->BitBtn3, entree()->BitBtn5, entree()->BitBtn7})
            b->setEnabled(true);
        if (windowName == "TContrat")
            entree()->Contrat1->trigger(); // built when first opened
        if (windowName == "TDeclaration")
            win().Declaration.get(); // built when first opened
        if (windowName == "TAnnuel")
            win().Annuel.get();
        if (windowName == "TBulletinContrat" && !win().BulletinContrat)
            win().BulletinContrat = new TBulletinContrat; // built when a contract month first needs it
        QWidget *w = window(windowName);
        QVERIFY(w);
        if (windowName == "TRecap" && !w->findChild<QWidget *>(control)) {
            // The review window's calendar, where the window does not hold it yet.
            auto *calendar = new QCalendarWidget(w);
            calendar->setObjectName(control);
        }
        QVERIFY(activate(w));
        m_shown.clear();

        QWidget *target = w;
        if (!control.isEmpty()) {
            target = w->findChild<QWidget *>(control);
            QVERIFY2(target, qPrintable(control));
            bringIntoView(target);
            // A group takes the focus through one of its items.
            if (target->focusPolicy() == Qt::NoFocus)
                for (QWidget *inner : target->findChildren<QWidget *>())
                    if (inner->focusPolicy() != Qt::NoFocus && inner->isEnabled()) {
                        target = inner;
                        break;
                    }
            target->setFocus(Qt::OtherFocusReason);
            QTRY_VERIFY(target->hasFocus() || target->isAncestorOf(QApplication::focusWidget()));
            target = QApplication::focusWidget();
        }
        QTest::keyClick(target, Qt::Key_F1);

        if (page.isEmpty()) {
            QVERIFY(!viewerShown());
        } else {
            QVERIFY(viewerShown());
            QCOMPARE(shownPage(), page);
            QVERIFY(QTest::qWaitForWindowActive(viewer()));
        }
    }

    void onlyContextHelpOpensATopic()
    {
        bool callHelp = true;
        QVERIFY(entree()->ApplicationHelp(HELP_CONTEXT, 1013, callHelp));
        QVERIFY(!callHelp);
        QCOMPARE(shownPage(), QString("indemnites.html"));
        viewer()->hide();

        // Any other command goes on to the toolkit, which shows nothing.
        for (quint16 command : {quint16(2), quint16(3), quint16(15), quint16(0x101)}) {
            callHelp = false;
            QVERIFY(entree()->ApplicationHelp(command, 1006, callHelp));
            QVERIFY(callHelp);
            QVERIFY(!viewer()->isVisible());
        }
    }

    void everyContextNumberNamesOneTopic()
    {
        entree()->Aide1Click();
        for (int context = 1003; context <= 1015; ++context) {
            const QList<QHelpLink> topics = viewer()->engine()->documentsForIdentifier(QString::number(context));
            QCOMPARE(topics.size(), context == 1008 ? 0 : 1);
        }
        // A number the help does not know: said in the viewer, no topic shown.
        bool callHelp = true;
        QVERIFY(entree()->ApplicationHelp(HELP_CONTEXT, 1008, callHelp));
        QVERIFY(viewer()->isVisible());
        QCOMPARE(viewer()->topic(), QUrl());
        QVERIFY(viewer()->Rubrique->toPlainText().contains("1008"));
    }

    void commandsOpenOrBringForwardTheViewer_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("tab");
        QTest::newRow("Sommaire de l'aide") << "Aide1" << 0;
        QTest::newRow("&Aide") << "BitBtn2" << 0;
        QTest::newRow("parameters' &Aide") << "TParametres/BitBtn3" << 0;
        QTest::newRow("Index de l'aide") << "Indexdelaide1" << 1;
        QTest::newRow("Recherche dans l'aide") << "Recherchedanslaide1" << 2;
    }
    void commandsOpenOrBringForwardTheViewer()
    {
        QFETCH(QString, command);
        QFETCH(int, tab);
        auto run = [&] {
            if (command.startsWith("TParametres/"))
                win().Parametres->BitBtn3->click();
            else if (auto *button = entree()->findChild<QPushButton *>(command))
                button->click();
            else
                entree()->findChild<QAction *>(command)->trigger();
        };
        QVERIFY(activate(entree()));
        run();
        QVERIFY(viewerShown());
        QVERIFY(QTest::qWaitForWindowActive(viewer()));
        QCOMPARE(viewer()->Onglets->currentIndex(), tab);
        QCOMPARE(shownPage(), QString("index.html"));
        QVERIFY(viewer()->Rubrique->toPlainText().contains("Bienvenue dans Berlivo Paye"));
        QVERIFY(!viewer()->parentWidget());

        // Again, with the viewer behind another window and a query typed:
        // the same viewer comes forward, and the search page opens empty.
        TAide *first = viewer();
        viewer()->Question->setSearchInput("congés");
        QVERIFY(activate(entree()));
        run();
        QCOMPARE(viewer(), first);
        QVERIFY(QTest::qWaitForWindowActive(viewer()));
        QCOMPARE(viewer()->Question->searchInput().isEmpty(), tab == 2);
        QCOMPARE(viewer()->Reponses->isHidden(), tab == 2);
    }

    void indexKeywordWithAccentOpensItsTopic()
    {
        entree()->Indexdelaide1Click();
        QHelpIndexModel *index = viewer()->engine()->indexModel();
        QTRY_VERIFY(!index->isCreatingIndex() && index->stringList().contains("jour férié"));
        QVERIFY(index->stringList().contains("congés payés"));

        QTRY_VERIFY(viewer()->MotCle->hasFocus());
        type(viewer()->MotCle, "jour féri");
        QTest::keyClick(viewer()->MotCle, Qt::Key_Return);
        QCOMPARE(shownPage(), QString("salaires.html"));
        QCOMPARE(viewer()->topic().fragment(), QString("ferie"));
        QVERIFY(viewer()->Rubrique->toPlainText().contains("Majoration jour férié"));
    }

    void fullTextSearchFindsItsTopic_data()
    {
        QTest::addColumn<QString>("words");
        QTest::addColumn<QString>("page");
        QTest::newRow("sauvegarder") << "sauvegarder"
                                     << "donnees.html";
        QTest::newRow("imposable") << "imposable"
                                   << "bulletin.html";
        QTest::newRow("sécurité") << "sécurité"
                                  << "personnes.html";
        QTest::newRow("férié") << "férié"
                               << "salaires.html";
        QTest::newRow("récapitulatif") << "récapitulatif"
                                       << "annuel.html";
    }
    void fullTextSearchFindsItsTopic()
    {
        QFETCH(QString, words);
        QFETCH(QString, page);
        entree()->Recherchedanslaide1Click();
        QHelpSearchEngine *engine = viewer()->engine()->searchEngine();
        QSignalSpy indexed(engine, &QHelpSearchEngine::indexingFinished);
        QVERIFY(indexed.wait(20000));

        const int count = search(words);
        QVERIFY(count > 0);
        QStringList pages;
        for (const QHelpSearchResult &r : engine->searchResults(0, count))
            pages << r.url().fileName();
        QVERIFY2(pages.contains(page), qPrintable(pages.join(' ')));

        // The first result, opened from the result list by the keyboard.
        auto *results = viewer()->Reponses->findChild<QTextBrowser *>();
        QVERIFY(results);
        results->setFocus();
        QTest::keyClick(results, Qt::Key_Tab);
        QTest::keyClick(results, Qt::Key_Return);
        QCOMPARE(shownPage(), pages.first());
    }

    void missingHelpFileIsSaidInTheViewer()
    {
        const QString aside = helpFile() + ".aside";
        QVERIFY(QFile::rename(helpFile(), aside));
        entree()->Aide1Click();
        const bool reported = viewerShown() && viewer()->topic().isEmpty() &&
                              viewer()->Rubrique->toPlainText().contains("introuvable") &&
                              viewer()->Rubrique->toPlainText().contains(helpFile());
        QVERIFY(QFile::rename(aside, helpFile()));
        QVERIFY(reported);

        // Once the file is back, the next command shows the help.
        entree()->Aide1Click();
        QCOMPARE(shownPage(), QString("index.html"));
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
