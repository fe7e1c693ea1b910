// The contract window stores what is typed, as the contract unit reads it
// back, shows the figures the unit gives, and refuses a faulty contract (or
// an unsound file) without touching Contrats.db.

#include "common/environment.h"
#include "common/messages.h"
#include "common/numbers.h"
#include "common/programfiles.h"
#include "contract/contractinputs.h"
#include "contract/contractstore.h"
#include "contract/monthfigures.h"
#include "legal/minimums.h"
#include "contract/paidleave.h"
#include "contract/rangemodel.h"
#include "contract/endofcontract.h"
#include "archive/sliparchive.h"
#include "attendance/dayrecord.h"
#include "pdfqueue.h"
#include "required.h"
#include "slipmonth.h"
#include "attendance/daytable.h"
#include "widgets/radiogroup.h"
#include "windows/contractwindow.h"
#include "windows/mainwindow.h"
#include "windows/parameterswindow.h"
#include "windows/windowset.h"

#include "dayrecords.h"
#include "testfiles.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QDir>
#include <QRadioButton>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QWheelEvent>
#include <QtTest>

using namespace contract;

class TestContractWindow : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QStringList m_shown;

    static TContrat *window() { return win().Contrat; }
    static QString path() { return TContrat::filePath(); }

    static void openFromMenu()
    {
        win().Entree->Contrat1->trigger();
        QVERIFY(window());
        QVERIFY(QTest::qWaitForWindowExposed(window()));
    }
    // A date typed into a picker as a user types it, then the picker left.
    static void typeDate(QWidget *picker, const QString &digits)
    {
        picker->setFocus();
        QTest::keyClicks(picker, digits);
        QTest::keyClick(picker, Qt::Key_Tab);
    }
    // A number typed over a box's own, then the box left.
    static void typeNumber(QSpinBox *box, const QString &digits)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, digits);
        QTest::keyClick(box, Qt::Key_Tab);
    }
    // The editor open in a table, if any (the view hides one it closes).
    static QWidget *editorOf(QTableView *t)
    {
        for (QWidget *w : t->viewport()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (w->isVisible() && (qobject_cast<QDateTimeEdit *>(w) || qobject_cast<QComboBox *>(w)))
                return w;
        return nullptr;
    }
    // A cell taken by a click, its editor returned.
    static QWidget *cell(QTableView *t, int row, int column)
    {
        const QModelIndex i = t->model()->index(row, column);
        // The cell being edited already holds its editor.
        if (t->currentIndex() != i || !editorOf(t))
            QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, t->visualRect(i).center());
        return editorOf(t);
    }
    // The "Congés" page as shown, once shown.
    static QList<QStringList> leavePageRows()
    {
        window()->Pages->setCurrentWidget(window()->findChild<QWidget *>("PageConges"));
        QList<QStringList> rows;
        for (int r = 0; r < window()->Conges->rowCount(); ++r) {
            QStringList row;
            for (int k = 0; k < window()->Conges->columnCount(); ++k)
                row << window()->Conges->item(r, k)->text();
            rows << row;
        }
        return rows;
    }
    static int storedReason()
    {
        int reason = -1;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "plain");
            db.setDatabaseName(path());
            QSqlQuery q(db);
            if (db.open() && q.exec("SELECT motif FROM Absences WHERE enfant = 2") && q.next())
                reason = q.value(0).toInt();
        }
        QSqlDatabase::removeDatabase("plain");
        return reason;
    }
    static void chooseReason(QTableView *t, int row, Reason reason)
    {
        auto *motif = qobject_cast<QComboBox *>(cell(t, row, RangeModel::Why));
        QVERIFY(motif);
        motif->setCurrentIndex(int(reason));
    }

    // 30 h a week, Monday to Friday, 36 weeks from 1 September 2025, the
    // autumn holidays without care and three days of a sick child.
    void typeIncompleteYear()
    {
        window()->TypeContrat->button(2)->click();
        typeDate(window()->DebutContrat, "01092025");
        typeNumber(window()->Semaines, "36");
        for (QTimeEdit *day : window()->planning.mid(0, 5)) {
            day->setFocus();
            QTest::keyClicks(day, "0600");
        }
        // Monday from 8:30; Wednesday from 8:00, home from 11:30 to 13:30.
        const std::pair<QTimeEdit *, const char *> times[] = {{window()->ALundi, "0830"},
                                                              {window()->AMercredi, "0800"},
                                                              {window()->breakFrom[2], "1130"},
                                                              {window()->breakTo[2], "1330"}};
        for (const auto &[picker, typed] : times) {
            picker->setFocus();
            QTest::keyClicks(picker, typed);
        }
        window()->AlsaceMoselle->click();
        typeNumber(window()->MajHC, "25");
        window()->Pages->setCurrentWidget(window()->Periodes->parentWidget());
        window()->AjoutPeriode->click();
        typeDate(cell(window()->Periodes, 0, 0), "18102025");
        typeDate(cell(window()->Periodes, 0, 1), "02112025");
        window()->Pages->setCurrentWidget(window()->Absences->parentWidget());
        window()->AjoutAbsence->click();
        QVERIFY(editorOf(window()->Absences)->hasFocus()); // the cursor is in the new row
        typeDate(cell(window()->Absences, 0, 0), "12112025");
        typeDate(cell(window()->Absences, 0, 1), "14112025");
        chooseReason(window()->Absences, 0, Reason::ChildSick);
    }

    // A contract that ran a year, its stored days and saved slips (February,
    // its last month, not saved), ended by the parent's letter, its window
    // open on the "Fin du contrat" page.
    void openEndedContract()
    {
        // 30 h a week, 36 weeks, from 3 March 2025 to Friday 27 February
        // 2026; the letter presented on 16 February, under a year.
        Contract c;
        c.kind = Kind::IncompleteYear;
        c.first = QDate(2025, 3, 3);
        c.last = QDate(2026, 2, 27);
        c.weeks = 36;
        for (size_t d = 0; d < 5; ++d)
            c.plannedMinutes[d] = 6 * 60;
        c.periodsWithoutCare << DateRange{QDate(2025, 7, 7), QDate(2025, 10, 26)};
        storeContract(path(), 2, c);
        // Every planned day worked, Fridays an hour longer; the slips of
        // March 2025 to January 2026 saved, February's not.
        DayTable table;
        table.setFolder(programFolder());
        table.setTableName(folder::dayTable(2));
        QFile::remove(programFolder() + SlipArchive::fileName());
        auto archive = std::make_unique<SlipArchive>(programFolder() + SlipArchive::fileName());
        for (QDate m(2025, 3, 1); m <= c.last; m = m.addMonths(1)) {
            QList<day::Record> days;
            for (QDate d = m; d.month() == m.month(); d = d.addDays(1)) {
                if (c.plannedOn(d) == 0)
                    continue;
                days << storedDay(d.toString("dd/MM/yyyy"), d.dayOfWeek() == Qt::Friday ? "7" : "6");
            }
            if (!days.isEmpty()) // the summer without care
                table.storeMonth(days);
            if (m.month() == 2 && m.year() == 2026)
                continue;
            ArchivedSlip slip;
            slip.slot = 2;
            slip.firstName = "Julie";
            slip.monthKey = m.toString("MMyy");
            slip.grossBasis = true;
            slip.salbrut = 36000;
            slip.salnet = 28000;
            slip.totcs = 8000;
            slip.contract = true;
            slip.complementaryHours = m.month() == 3 ? 200 : 0;
            slip.picture = "Julie" + slip.monthKey + ".jpg";
            slip.savedAt = now();
            archive->put(slip);
        }
        archive.reset();
        TParametres *p = win().Parametres;
        p->nom3->setText("Martin");
        p->prenom2->setText("Paul");
        p->nom2->setText("Martin");
        p->ville2->setText("Lyon");
        p->prenom1->setText("Anne");
        p->nom1->setText("Durand");

        openFromMenu();
        auto *page = window()->findChild<QWidget *>("PageFin");
        QVERIFY(page);
        window()->MotifFin->setCurrentIndex(int(EndReason::ChildWithdrawn));
        typeDate(window()->DateNotification, "16022026");
        QCOMPARE(window()->ChiffresFin->rowCount(), 0); // computed when shown
        window()->Pages->setCurrentWidget(page);
        QCOMPARE(window()->DernierJour->text(), QString("27/02/2026"));
    }

private slots:
    void initTestCase()
    {
        setDecimalSeparator('.');
        QVERIFY(m_dir.isValid());
        setProgramFolder(m_dir.path());
        setMessageSink([this](MessageKind, const QString &t) { m_shown << t; });
        setNowForTests(QDateTime(QDate(2026, 3, 10), QTime(9, 30)));
        QVERIFY(copyFirstRates(m_dir.filePath("Taux.txt")));
        QVERIFY(QFile::copy(BERLIVO_SOURCE_DIR "/data/Baremes.txt", m_dir.filePath(folder::legalTable)));
    }
    void init()
    {
        QFile::remove(path());
        // Every program folder has its day tables.
        QFile::remove(m_dir.filePath(folder::dayTable(2)));
        QVERIFY(DayTable::createEmpty(m_dir.filePath(folder::dayTable(2))));
        createWindows();
        TParametres *p = win().Parametres;
        p->ensureLoaded(); // as opening it does, before anything is typed there
        p->TabControl1->setCurrentIndex(1); // child slot 2
        p->prenom3->setText("Julie");
        p->Netbrut->setItemIndex(1);
        p->SHbr->setText("4.00");
        m_shown.clear();
    }
    void cleanup() { destroyWindows(); }

    void typedStoredAndReadBack()
    {
        QVERIFY(!win().Contrat); // built when first opened
        openFromMenu();
        QCOMPARE(window()->prenom->text(), QString("Julie"));
        QCOMPARE(window()->TypeContrat->itemIndex(), 0);
        typeIncompleteYear();

        // The figures are the unit's, at the child's gross rate.
        const Contract shown = window()->contractShown();
        const Mensualised m = mensualised(shown, moneyFromText("4.00"));
        QCOMPARE(window()->HeuresSemaine->text(), QString("30:00"));
        QCOMPARE(window()->HeuresMois->text(), QString("90.00"));
        QCOMPARE(window()->TauxHoraire->text(), QString("4.00 brut"));
        QCOMPARE(window()->SalaireBase->text(), formatAmount(m.base) + " €");
        QCOMPARE(window()->SemainesRestantes->text(), weeksNote(shown, now().date()));
        QVERIFY(!window()->SemainesRestantes->text().isEmpty());
        // The times as typed, and the departures the unit gives them.
        QCOMPARE(shown.plannedTimes[2], (DayTimes{8 * 60, 11 * 60 + 30, 13 * 60 + 30}));
        QVERIFY(shown.alsaceMoselle && !shown.holidaysWorked);
        for (int d : {0, 2})
            QCOMPARE(window()->departures[d]->text(), minutesText(*shown.departure(d)));
        QCOMPARE(window()->departures[1]->text(), QString()); // no arrival given

        // Each page as a real X server shows it (run under xvfb-run with
        // -platform xcb), for a person to look at.
        if (const QByteArray shots = qgetenv("BERLIVO_SHOTS"); !shots.isEmpty()) {
            for (int i = 0; i < window()->Pages->count(); ++i) {
                window()->Pages->setCurrentIndex(i);
                QTest::qWait(300);
                const QString file = QStringLiteral("%1/TContrat-%2.png").arg(QString::fromLocal8Bit(shots)).arg(i + 1);
                if (QProcess::execute("import", {"-window", "root", file}) != 0)
                    window()->grab().save(file);
            }
        }

        QTest::mouseClick(window()->OK, Qt::LeftButton);
        QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join('|')));
        QVERIFY(window()->isHidden());
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "plain");
            db.setDatabaseName(path());
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec("SELECT enfant, type, debut, fin, lundi, vendredi, samedi, semaines, maj_hc, maj_hm "
                           "FROM Contrats"));
            QVERIFY(q.next());
            const QVariantList row = {q.value(0), q.value(1), q.value(2), q.value(3).isNull(), q.value(4),
                                      q.value(5), q.value(6), q.value(7), q.value(8),          q.value(9)};
            QCOMPARE(row, (QVariantList{2, 2, "2025-09-01", true, 360, 360, 0, 36, 25, 10})); // no end: NULL
            QVERIFY(!q.next());
            QVERIFY(q.exec("SELECT du, au FROM Periodes WHERE enfant = 2") && q.next());
            QCOMPARE(q.value(0).toString() + ' ' + q.value(1).toString(), QString("2025-10-18 2025-11-02"));
            QVERIFY(q.exec("SELECT du, au, motif FROM Absences WHERE enfant = 2") && q.next());
            QCOMPARE(q.value(0).toString() + ' ' + q.value(1).toString() + ' ' + q.value(2).toString(),
                     QString("2025-11-12 2025-11-14 1"));
        }
        QSqlDatabase::removeDatabase("plain");

        // Opened again, it shows what is stored; "&Annule" drops an edit.
        openFromMenu();
        QVERIFY(window()->contractShown() == shown);
        window()->MajHM->setValue(5);
        QVERIFY(!window()->Avertissement->isHidden()); // below the legal 10 %
        QTest::mouseClick(window()->Annule, Qt::LeftButton);
        QCOMPARE(loadContract(path(), 2)->majHM, 10);
        openFromMenu();
        QCOMPARE(window()->MajHM->value(), 10);
        QVERIFY(window()->Avertissement->isHidden());

        if (const QByteArray shots = qgetenv("BERLIVO_SHOTS"); !shots.isEmpty()) {
            window()->hide();
            showAndActivate(win().Entree);
            QTest::qWait(300);
            win().Entree->Fichier1->popup(win().Entree->mapToGlobal(QPoint(10, 30)));
            QTest::qWait(300);
            QProcess::execute("import", {"-window", "root", QString::fromLocal8Bit(shots) + "/TEntree-Fichier.png"});
            win().Entree->Fichier1->hide();
        }
    }

    // The "Congés" page shows the unit's periods for the contract on screen
    // and the child's stored days, recomputed each time it is shown; the
    // payment choice is stored with the contract.
    void leavePageIsTheUnits()
    {
        Contract c;
        c.kind = Kind::CompleteYear;
        c.first = QDate(2024, 9, 2);
        for (size_t d = 0; d < 5; ++d)
            c.plannedMinutes[d] = 8 * 60;
        c.absences << Absence{{QDate(2025, 8, 4), QDate(2025, 8, 23)}, Reason::MinderLeave};
        storeContract(path(), 2, c);
        openFromMenu();
        const auto pageRows = leavePageRows;
        const auto unitRows = [] {
            return leaveRows(paidLeaveOf(loadContractInputs(programFolder(), 2, window()->contractShown(), false),
                                         moneyFromText("4.00"), HolidaySetting{}, now().date()));
        };
        QCOMPARE(window()->Conges->rowCount(), 0); // computed when shown
        window()->Pages->setCurrentWidget(window()->findChild<QWidget *>("PageConges"));
        const QList<QStringList> complete = pageRows();
        QCOMPARE(complete.size(), 2); // the running period and the one before it
        QCOMPARE(complete, unitRows());
        QVERIFY(!window()->PaiementCP->isEnabled());

        window()->TypeContrat->button(2)->click();
        window()->Semaines->setValue(46);
        window()->PaiementCP->setCurrentIndex(int(LeavePayment::AsTaken));
        window()->Pages->setCurrentIndex(0);
        window()->Pages->setCurrentWidget(window()->findChild<QWidget *>("PageConges"));
        QCOMPARE(pageRows(), unitRows());
        QVERIFY(pageRows() != complete);
        QTest::mouseClick(window()->OK, Qt::LeftButton);
        QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join('|')));
        QCOMPARE(int(loadContract(path(), 2)->leavePayment), int(LeavePayment::AsTaken));
    }

    // The "Fin du contrat" page of a contract that ran a year, with its
    // stored days and saved slips: every figure is the unit's, it follows
    // the reason chosen, the two documents land beside the slips with the
    // figures in them, and the reason and the letter's date are stored.
    void endPageIsTheUnits()
    {
        openEndedContract();
        if (QTest::currentTestFailed())
            return;
        const auto pageLines = [] {
            QList<EndLine> lines;
            for (int r = 0; r < window()->ChiffresFin->rowCount(); ++r)
                lines << EndLine{window()->ChiffresFin->item(r, 0)->text(), window()->ChiffresFin->item(r, 1)->text()};
            return lines;
        };
        const auto unit = [] {
            return endOfContractOf(loadContractInputs(programFolder(), 2, window()->contractShown(), true),
                                   moneyFromText("4.00"), HolidaySetting{});
        };
        const EndOfContract withdrawn = unit();
        QVERIFY2(withdrawn.complete(), qPrintable(withdrawn.failure));
        QCOMPARE(pageLines(), endLines(withdrawn));
        // The figures are there to compare: a notice day, the indemnity, a
        // true-up of the longer Fridays, February missing.
        QCOMPARE(withdrawn.noticeEnd, QDate(2026, 3, 2));
        QVERIFY(withdrawn.noticePay.count() > 0 && withdrawn.indemnity.count() > 0 && withdrawn.trueUp.count() > 0);
        QCOMPARE(withdrawn.missingMonths, QList<QDate>{QDate(2026, 2, 1)});
        QVERIFY(window()->MessageFin->isHidden());

        // Another reason, the page follows.
        window()->MotifFin->setCurrentIndex(int(EndReason::TrialPeriod));
        QCOMPARE(pageLines(), endLines(unit()));
        QVERIFY(pageLines() != endLines(withdrawn));
        window()->MotifFin->setCurrentIndex(int(EndReason::ChildWithdrawn));
        QCOMPARE(pageLines(), endLines(withdrawn));

        // Both documents beside the slips, read back by poppler.
        QVERIFY(QDir(programFolder()).mkpath(folder::pictures));
        QTest::mouseClick(window()->Certificat, Qt::LeftButton);
        QTest::mouseClick(window()->Recu, Qt::LeftButton);
        const QString certificate = programFolder() + folder::workCertificate(2, "Julie");
        const QString receipt = programFolder() + folder::finalReceipt(2, "Julie");
        QCOMPARE(m_shown,
                 (QStringList{ask::documentSavedTo("Certificat de travail", QDir::toNativeSeparators(certificate)),
                              ask::documentSavedTo("Reçu pour solde de tout compte",
                                                   QDir::toNativeSeparators(receipt))}));
        m_shown.clear();
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            SKIP_UNLESS_CI("pdftotext (poppler-utils) is not installed");
        const QString simplified = pdfText(certificate).simplified();
        for (const QString &expected : {QString("CERTIFICAT DE TRAVAIL"), QString("Monsieur Paul Martin"),
                                        QString("Madame Anne Durand"), QString("« Assistante maternelle agréée »"),
                                        // care stops on 27 February, the notice runs to 2 March
                                        QString("du 03/03/2025 (premier jour) au 02/03/2026 (dernier jour)"),
                                        QString("Fait à Lyon, le 10/03/2026")})
            QVERIFY2(simplified.contains(expected), qPrintable(expected + " not in: " + simplified));
        const QString receiptText = pdfText(receipt).simplified();
        QVERIFY2(receiptText.contains("REÇU POUR SOLDE DE TOUT COMPTE"), qPrintable(receiptText));
        const QList<EndLine> paid = receiptLines(withdrawn);
        QCOMPARE(paid.size(), 5); // notice, indemnity, true-up, leave, total
        for (const EndLine &line : paid)
            QVERIFY2(receiptText.contains(line.value), qPrintable(line.caption + " " + line.value));
        QVERIFY(receiptText.contains("Signature de l'assistante maternelle"));
        QCOMPARE(pdfPages(receipt), 1);

        // The page and both documents, for a person to look at (a real X
        // server, BERLIVO_SHOTS set).
        if (const QByteArray shots = qgetenv("BERLIVO_SHOTS"); !shots.isEmpty()) {
            const QString folderShots = QString::fromLocal8Bit(shots);
            QTest::qWait(300);
            if (QProcess::execute("import", {"-window", "root", folderShots + "/TContrat-Fin.png"}) != 0)
                window()->grab().save(folderShots + "/TContrat-Fin.png");
            QProcess::execute("pdftoppm", {"-png", "-r", "60", certificate, folderShots + "/certificat"});
            QProcess::execute("pdftoppm", {"-png", "-r", "60", receipt, folderShots + "/recu"});
        }

        QTest::mouseClick(window()->OK, Qt::LeftButton);
        QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join('|')));
        const std::optional<Contract> stored = loadContract(path(), 2);
        QVERIFY(stored && stored->endReason == EndReason::ChildWithdrawn);
        QCOMPARE(stored->notified, QDate(2026, 2, 16));
    }

    // Each document printed as one job of one page on the default printer,
    // read back from the PDF queue (whose backend re-encodes the fonts: the
    // wording is checked on the saved PDFs, here only that text was drawn).
    void documentsPrinted()
    {
        const PdfQueue queue = PdfQueue::find();
        if (!queue.unusable.isEmpty())
            SKIP_UNLESS_CI(queue.unusable);
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            SKIP_UNLESS_CI("pdftotext (poppler-utils) is not installed");
        openEndedContract();
        if (QTest::currentTestFailed())
            return;
        QVERIFY(window()->endShown().complete());
        for (QPushButton *button : {window()->ImprimeCertificat, window()->ImprimeRecu}) {
            const QStringList before = queue.pdfs();
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join('|')));
            const QStringList added = queue.newPdfs(before, 1);
            QCOMPARE(added.size(), 1);
            const PrintedPage page = readPdf(added.first());
            // Not a blank page: text was drawn on it.
            const bool drawn = !pdfText(added.first()).trimmed().isEmpty();
            QFile::remove(added.first());
            QCOMPARE(page.pages, 1);
            QVERIFY(drawn);
        }
    }

    void refusalLeavesTheFileAlone_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("field"); // what the message begins with
        QTest::newRow("end before the start") << 0 << "Fin du contrat";
        QTest::newRow("period ending before it starts") << 1 << "Périodes sans accueil, ligne 2";
        QTest::newRow("absence without its end") << 2 << "Absences, ligne 2";
        QTest::newRow("overlapping absences") << 3 << "Absences, lignes 1 et 2";
        QTest::newRow("absence without its reason") << 7 << "Absences, ligne 2 : le motif";
        QTest::newRow("47 weeks") << 4 << "Semaines d'accueil par an";
        QTest::newRow("46 h a week") << 5 << "Heures par semaine";
        QTest::newRow("a file that is not a contract file") << 6 << "Le fichier";
    }
    void refusalLeavesTheFileAlone()
    {
        QFETCH(int, fault);
        QFETCH(QString, field);
        openFromMenu();
        typeIncompleteYear();
        QTest::mouseClick(window()->OK, Qt::LeftButton);
        QVERIFY(m_shown.isEmpty());
        openFromMenu();

        TContrat *w = window();
        switch (fault) {
        case 0:
            w->FinConnue->click();
            typeDate(w->FinContrat, "31082025");
            break;
        case 1:
            w->Pages->setCurrentWidget(w->Periodes->parentWidget());
            w->AjoutPeriode->click();
            typeDate(cell(w->Periodes, 1, 0), "20122025");
            typeDate(cell(w->Periodes, 1, 1), "19122025");
            break;
        case 2:
        case 3:
        case 7:
            w->Pages->setCurrentWidget(w->Absences->parentWidget());
            w->AjoutAbsence->click();
            typeDate(cell(w->Absences, 1, 0), fault == 3 ? "14112025" : "01122025");
            if (fault != 2)
                typeDate(cell(w->Absences, 1, 1), fault == 3 ? "17112025" : "02122025");
            if (fault != 7)
                chooseReason(w->Absences, 1, Reason::MinderAbsent);
            break;
        case 4: w->Semaines->setValue(47); break;
        case 5:
            w->HSamedi->setFocus();
            QTest::keyClicks(w->HSamedi, "1600");
            break;
        case 6: writeBytes(path(), "Ceci n'est pas une base de contrats."); break;
        }
        const QByteArray before = readBytes(path());
        QTest::mouseClick(w->OK, Qt::LeftButton);
        QCOMPARE(m_shown.size(), 1);
        QVERIFY2(m_shown.first().startsWith(field), qPrintable(m_shown.first()));
        if (fault < 6)
            QCOMPARE(m_shown.first(), validate(w->contractShown(), w->limits()));
        if (fault == 7)
            QCOMPARE(m_shown.first(), contractmsg::reasonNotChosen(2));
        QVERIFY(w->isVisible()); // the contract stays on screen to be put right
        QCOMPARE(readBytes(path()), before);
    }

    // The button's shortcut takes the focus first, so an hour still being
    // typed is taken before the contract is read.
    void altOTakesAnHourBeingTyped()
    {
        openFromMenu();
        QVERIFY(QTest::qWaitForWindowActive(window()));
        window()->TypeContrat->button(1)->click();
        window()->HLundi->setFocus();
        QTest::keyClick(window()->HLundi, Qt::Key_7);
        QTest::keyClick(window()->HLundi, Qt::Key_O, Qt::AltModifier);
        QTRY_VERIFY(window()->isHidden()); // a shortcut clicks a moment later
        QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join('|')));
        const std::optional<Contract> stored = loadContract(path(), 2);
        QVERIFY(stored);
        QCOMPARE(stored->plannedMinutes[0], 7 * 60);
    }

    // Every cell of an absence takes the focus by a click, by Tab and by any
    // focus reason without ending the program, and every reason is stored
    // as chosen, by the keys on a new row and by the wheel on a saved one.
    void everyReasonChosenAndStored_data()
    {
        QTest::addColumn<int>("reason");
        for (int r = 0; r < int(reasonTexts().size()); ++r)
            QTest::newRow(qPrintable(reasonTexts()[r])) << r;
    }
    void everyReasonChosenAndStored()
    {
        QFETCH(int, reason);
        openFromMenu();
        QVERIFY(QTest::qWaitForWindowActive(window()));
        window()->TypeContrat->button(1)->click();
        typeDate(window()->DebutContrat, "01092025");
        window()->HLundi->setFocus();
        QTest::keyClicks(window()->HLundi, "0900");
        QTableView *t = window()->Absences;
        window()->Pages->setCurrentWidget(t->parentWidget());
        window()->AjoutAbsence->click();
        QWidget *from = cell(t, 0, RangeModel::From);
        QVERIFY(from && from->hasFocus());
        QTest::keyClicks(from, "02032026");
        QTest::keyClick(from, Qt::Key_Tab);
        QWidget *to = editorOf(t);
        QVERIFY(to && to->hasFocus() && to != from);
        QCOMPARE(t->currentIndex().column(), int(RangeModel::To));
        QTest::keyClicks(to, "03032026");
        QTest::keyClick(to, Qt::Key_Tab);
        auto *motif = qobject_cast<QComboBox *>(editorOf(t));
        QVERIFY(motif && motif->hasFocus());
        QCOMPARE(motif->currentIndex(), -1); // no reason until one is chosen
        // Each cell's editor given the focus for every reason, as a window
        // system, a shortcut or a popup gives it.
        for (Qt::FocusReason why : {Qt::MouseFocusReason, Qt::TabFocusReason, Qt::BacktabFocusReason,
                                    Qt::ActiveWindowFocusReason, Qt::PopupFocusReason, Qt::ShortcutFocusReason,
                                    Qt::MenuBarFocusReason, Qt::OtherFocusReason})
            for (int column : {RangeModel::From, RangeModel::To, RangeModel::Why}) {
                QWidget *editor = cell(t, 0, column);
                QVERIFY(editor);
                editor->setFocus(why);
                QCOMPARE(t->currentIndex(), t->model()->index(0, column));
            }
        motif = qobject_cast<QComboBox *>(editorOf(t));
        QVERIFY(motif);
        for (int k = 0; k <= reason; ++k)
            QTest::keyClick(motif, Qt::Key_Down);
        QTest::mouseClick(window()->OK, Qt::LeftButton);
        QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join('|')));
        QCOMPARE(storedReason(), reason);
        QCOMPARE(loadContract(path(), 2)->absences.first().range, (DateRange{QDate(2026, 3, 2), QDate(2026, 3, 3)}));

        openFromMenu();
        window()->Pages->setCurrentWidget(t->parentWidget());
        motif = qobject_cast<QComboBox *>(cell(t, 0, RangeModel::Why));
        QVERIFY(motif);
        QCOMPARE(motif->currentIndex(), reason);
        const int next = reason + 1 < int(reasonTexts().size()) ? reason + 1 : reason - 1;
        const QPoint middle = motif->rect().center();
        QWheelEvent wheel(middle, motif->mapToGlobal(middle), {}, {0, next > reason ? -120 : 120}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(motif, &wheel);
        QTest::mouseClick(window()->OK, Qt::LeftButton);
        QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join('|')));
        QCOMPARE(storedReason(), next);
    }

    // A planned hour that is not one keeps the day's hours and says which
    // day; a date out of the stored span keeps the date and names the field.
    void mistypedHourOrDateIsRefused()
    {
        openFromMenu();
        QTimeEdit *tuesday = window()->HMardi;
        tuesday->setFocus();
        QTest::keyClicks(tuesday, "0900");
        QTest::keyClicks(tuesday, "2500");
        QTest::keyClick(tuesday, Qt::Key_Tab);
        QCOMPARE(tuesday->time(), QTime(9, 0));
        QTRY_COMPARE(m_shown, QStringList{rtl::inField("Mardi", rtl::notATime("25:00"))});
        QCOMPARE(window()->contractShown().plannedMinutes[1], 9 * 60);

        m_shown.clear();
        const QDate start = window()->DebutContrat->date();
        typeDate(window()->DebutContrat, "01011800");
        QCOMPARE(window()->DebutContrat->date(), start);
        QTRY_COMPARE(m_shown, QStringList{contractmsg::dateRefused("Début du contrat", "01/01/1800", "01/01/1901",
                                                                    "31/12/2100")});
    }

    // The close box asks before dropping what is not stored.
    void closeBoxAsks_data()
    {
        QTest::addColumn<int>("answer"); // -1: nothing changed, nothing asked
        QTest::newRow("nothing changed") << -1;
        QTest::newRow("Oui stores") << 0;
        QTest::newRow("Non drops") << 1;
        QTest::newRow("Annuler stays") << 2;
    }
    void closeBoxAsks()
    {
        QFETCH(int, answer);
        QStringList asked;
        const ChoiceSink before = setChoiceSink([&](const Choice &c) {
            asked << c.question + " " + c.answers.join('/');
            return answer;
        });
        openFromMenu();
        if (answer >= 0)
            window()->MajHC->setValue(25);
        QVERIFY(!window()->close() || answer != 2);
        setChoiceSink(before);
        if (answer < 0) {
            QVERIFY(asked.isEmpty());
        } else {
            QCOMPARE(asked, QStringList{ask::storeContractChanges() + " Oui/Non/Annuler"});
        }
        QCOMPARE(window()->isVisible(), answer == 2);
        const std::optional<Contract> stored = loadContract(path(), 2);
        QCOMPARE(stored.has_value(), answer == 0);
        if (answer == 2) { // the menu again brings the window forward, the edit kept
            openFromMenu();
            QCOMPARE(window()->MajHC->value(), 25);
        }
    }

    // Right after a start the window shows what it shows once the parameters
    // were opened; the parameters then say the contract's leave rules apply.
    void sameBeforeAndAfterTheParameters()
    {
        // The first child, the one shown first.
        QFile::remove(m_dir.filePath(folder::dayTable(1)));
        QVERIFY(DayTable::createEmpty(m_dir.filePath(folder::dayTable(1))));
        TParametres *p = win().Parametres;
        p->TabControl1->setCurrentIndex(0);
        p->prenom3->setText("Julie");
        p->SH->setText("4.00");
        QTest::mouseClick(p->OK, Qt::LeftButton);
        Contract c;
        c.kind = Kind::CompleteYear;
        c.first = QDate(2025, 9, 1);
        for (size_t d = 0; d < 5; ++d)
            c.plannedMinutes[d] = 9 * 60;
        storeContract(path(), 1, c);
        destroyWindows();
        createWindows();
        m_shown.clear(); // the test folder has no help

        const auto shown = [] {
            openFromMenu();
            const QStringList figures{window()->prenom->text(), window()->TauxHoraire->text(),
                                      window()->SalaireBase->text()};
            const QList<QStringList> leave = leavePageRows();
            window()->hide();
            return std::pair(figures, leave);
        };
        const auto first = shown();
        QCOMPARE(first.first.first(), QString("Julie"));
        QVERIFY(!first.second.isEmpty());
        showAndActivate(win().Parametres);
        QCOMPARE(win().Parametres->AvertConges->text(), contractmsg::leaveUnderContract());
        QVERIFY(!win().Parametres->AvertConges->isHidden());
        win().Parametres->Anul->click();
        QCOMPARE(shown(), first);
        QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join('|')));
    }

    // A number outside its field's range is refused when its box is left,
    // the box keeping its value; a contract planning nothing, or an absence
    // wholly outside it, is refused by "&OK"; an absence reaching outside
    // it is stored cut to it, with a line saying so.
    void typedValuesRefusedOrCut_data()
    {
        QTest::addColumn<QString>("box"); // a spin box typed into, or "" for the case's own entry
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("53 weeks") << "Semaines" << "53" << rangeFault(WeeksCaption, 53, WeeksRange);
        QTest::newRow("-3 weeks") << "Semaines" << "-3" << rangeFault(WeeksCaption, -3, WeeksRange);
        QTest::newRow("150 %") << "MajHC" << "150" << rangeFault(MajHCCaption, 150, MajorationRange);
        QTest::newRow("no planned hour") << "" << "0000" << contractmsg::noPlannedHours();
        QTest::newRow("absence outside")
            << "" << "01012025" << contractmsg::absenceOutsideContract(2, "01/01/2025", "05/01/2025");
        QTest::newRow("absence reaching outside") << "" << "02011900" << QString();
    }
    void typedValuesRefusedOrCut()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        openFromMenu();
        typeIncompleteYear(); // from 1 September 2025, Monday to Friday
        TContrat *w = window();
        if (!box.isEmpty()) {
            auto *s = w->findChild<QSpinBox *>(box);
            const int before = s->value();
            typeNumber(s, typed);
            QCOMPARE(s->value(), before);
            QCOMPARE(m_shown, QStringList{message});
            return;
        }
        if (typed == "0000") {
            for (QTimeEdit *day : w->planning) {
                day->setFocus();
                QTest::keyClicks(day, typed);
            }
        } else {
            w->Pages->setCurrentWidget(w->Absences->parentWidget());
            w->AjoutAbsence->click();
            typeDate(cell(w->Absences, 1, 0), typed);
            typeDate(cell(w->Absences, 1, 1), typed == "02011900" ? "05092025" : "05012025");
            chooseReason(w->Absences, 1, Reason::MinderAbsent);
            if (message.isEmpty())
                QCOMPARE(w->Avertissement->text(),
                         contractmsg::absenceCut(2, "02/01/1900", "05/09/2025", "01/09/2025", "05/09/2025"));
        }
        QTest::mouseClick(w->OK, Qt::LeftButton);
        if (!message.isEmpty()) {
            QCOMPARE(m_shown, QStringList{message});
            QVERIFY(!loadContract(path(), 2)); // nothing stored
            return;
        }
        QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join('|')));
        QCOMPARE(loadContract(path(), 2)->absences.last().range, (DateRange{QDate(2025, 9, 1), QDate(2025, 9, 5)}));
        openFromMenu();
        QVERIFY(!w->Avertissement->text().contains("dépasse")); // stored cut, nothing left to say
    }

    void removeDropsTheCurrentRow()
    {
        openFromMenu();
        QTableView *t = window()->Absences;
        window()->Pages->setCurrentWidget(t->parentWidget());
        for (const char *from : {"01122025", "05122025", "09122025"}) {
            window()->AjoutAbsence->click();
            const int row = t->model()->rowCount() - 1;
            typeDate(cell(t, row, 0), from);
            chooseReason(t, row, Reason::ParentsChoice);
        }
        cell(t, 1, 1);
        QTest::mouseClick(window()->SupprAbsence, Qt::LeftButton);
        QCOMPARE(t->model()->rowCount(), 2);
        QCOMPARE(window()->contractShown().absences[1].range.from, QDate(2025, 12, 9));
    }

    // The rate is set against the childminder's minimum in force today, in
    // the unit's own words, as the parameters window does under the wage.
    void rateUnderTheMinimumSaysSo_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("warns");
        QTest::newRow("3.50 gross") << "3.50" << true;
        QTest::newRow("3.64 gross, the minimum") << "3.64" << false;
    }
    void rateUnderTheMinimumSaysSo()
    {
        QFETCH(QString, typed);
        QFETCH(bool, warns);
        win().Parametres->SHbr->setText(typed);
        openFromMenu();
        const legal::Table t = legal::Table::load(BERLIVO_SOURCE_DIR "/data/Baremes.txt");
        const QString note = legal::wageWarning(t, moneyFromText(typed), QDate(2026, 3, 10));
        QCOMPARE(!note.isEmpty(), warns);
        if (warns) {
            QVERIFY(note.contains("3.64"));
            QVERIFY2(window()->Avertissement->text().contains(note), qPrintable(window()->Avertissement->text()));
        } else {
            QVERIFY(window()->Avertissement->text().isEmpty());
        }
    }
};

QTEST_MAIN(TestContractWindow)
#include "tst_contractwindow.moc"
