// The slip of a regular contract's month: opened by the hours window's
// "Bulletin" for a month the child's contract pays, every figure the one the
// pure unit works out from the same windows and files, saved, printed and
// declared as the other slips are; a child paid by the hour keeps its slip.

#include "archive/sliparchive.h"
#include "attendance/daytable.h"
#include "common/environment.h"
#include "common/messages.h"
#include "common/monthkey.h"
#include "common/numbers.h"
#include "common/programfiles.h"
#include "contract/contractinputs.h"
#include "contract/contractstore.h"
#include "legal/minimums.h"
#include "payslip/declaration.h"
#include "widgets/radiogroup.h"
#include "windows/contractslipwindow.h"
#include "windows/declarationwindow.h"
#include "windows/grossslipwindow.h"
#include "windows/hourswindow.h"
#include "windows/mainwindow.h"
#include "windows/netslipwindow.h"
#include "windows/parameterswindow.h"
#include "windows/printsavewindow.h"
#include "windows/windowset.h"

#include "contract/monthfill.h"
#include "pdfqueue.h"
#include "required.h"
#include "storedrows.h"
#include "slipmonth.h"
#include "testfiles.h"

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QDateTimeEdit>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QtTest>

using namespace contract;

class TestContractSlipWindow : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QStringList m_shown;

    static THoraire *hours() { return win().Horaire; }
    static TBulletinContrat *slip() { return win().BulletinContrat; }
    QString folder() const { return m_dir.path() + '/'; }
    // The contract slip of the month on screen, from the program folder.
    static ContractSlip folderSlip(bool gross)
    {
        const SlipInput in = gatherSlipInput();
        return contractSlipOf(loadSlipInputs(programFolder(), 1, in.moan), in, gross);
    }

    static bool activate(QWidget *w)
    {
        showAndActivate(w);
        return QTest::qWaitForWindowActive(w);
    }

    // A complete year from 5 January 2026, 8 hours from Monday to Friday,
    // the childminder absent on 9 and 10 March; or, given `last`, one that
    // ends that day.
    void storeExample(const QDate &last = {})
    {
        Contract c;
        c.kind = Kind::CompleteYear;
        c.first = QDate(2026, 1, 5);
        c.last = last;
        for (int d = 0; d < 5; ++d)
            c.plannedMinutes[size_t(d)] = 8 * 60;
        if (!last.isValid())
            c.absences << Absence{{QDate(2026, 3, 9), QDate(2026, 3, 10)}, Reason::MinderAbsent};
        storeContract(folder() + folder::contracts, 1, c);
    }

    // The weekdays of the month starting `first` typed in the hours window and
    // validated; `hoursOf` gives a day's arrival and departure, none for a
    // day left out. A meal on the 4th.
    void validateMonth(QDate first, const std::function<std::optional<std::pair<QTime, QTime>>(QDate)> &hoursOf)
    {
        QVERIFY(activate(hours()));
        for (QDate d = first; d < first.addMonths(1); d = d.addDays(1)) {
            const auto times = d.dayOfWeek() > 5 ? std::nullopt : hoursOf(d);
            if (!times)
                continue;
            QTest::mouseClick(hours()->Date, Qt::LeftButton);
            hours()->Date->setDate(d);
            QTest::mouseClick(hours()->H1, Qt::LeftButton);
            hours()->H1->setTime(times->first);
            QTest::mouseClick(hours()->H2, Qt::LeftButton);
            hours()->H2->setTime(times->second);
            if (d.day() == 4)
                QTest::mouseClick(hours()->Dej, Qt::LeftButton);
            QTest::mouseClick(hours()->Suiv, Qt::LeftButton);
        }
        QTest::mouseClick(hours()->BitBtn3, Qt::LeftButton);
        QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join('|')));
        QCOMPARE(hours()->moan->text(), MonthKey::of(first.month(), first.year()).text());
    }

    // March 2026: every weekday but the two days of absence, 8 hours, and the
    // week of the 16th 47 hours.
    void validateMarch()
    {
        validateMonth(QDate(2026, 3, 1), [](QDate d) -> std::optional<std::pair<QTime, QTime>> {
            if (d == QDate(2026, 3, 9) || d == QDate(2026, 3, 10))
                return std::nullopt;
            const bool longDay = d >= QDate(2026, 3, 16) && d <= QDate(2026, 3, 20);
            return std::pair{QTime(longDay ? 7 : 8, 0), longDay ? QTime(16, 24) : QTime(16, 0)};
        });
    }

    // "Bulletin": the slip that opens, once its figures are on screen.
    SlipSheet *openSlip()
    {
        QTest::mouseClick(hours()->BitBtn5, Qt::LeftButton);
        SlipSheet *shown = nullptr;
        (void)QTest::qWaitFor([&] {
            for (SlipSheet *s : {static_cast<SlipSheet *>(win().Bulletin), static_cast<SlipSheet *>(win().Bulletinbrut),
                                 static_cast<SlipSheet *>(slip())})
                if (s && s->isVisible() && s->shownSlip())
                    shown = s;
            return shown && win().BO->isVisible();
        });
        return shown;
    }

    // The labels of the contract's slip beside the texts the unit gives.
    static QList<std::pair<QLabel *, QString>> labelsAndTexts(const TBulletinContrat *w, const ContractSlip &c,
                                                              bool gross)
    {
        const ContractPay &p = c.pay;
        const SlipResult &r = c.slip;
        QList<std::pair<QLabel *, QString>> all = {
            {w->hmens, p.hmens},     {w->tauxh, p.tauxh},     {w->salmens, p.salmens},   {w->habs, p.habs},
            {w->hplan, p.hplan},     {w->deduc, p.deduc},     {w->datesabs, p.datesabs}, {w->hcomp, p.hcomp},
            {w->mtcomp, p.mtcomp},   {w->hmaj, p.hmaj},       {w->mtmaj, p.mtmaj},       {w->hferie, p.hferie},
            {w->mtferie, p.mtferie}, {w->libcp, p.libcp},     {w->jcp, p.jcp},           {w->mtcp, p.mtcp},
            {w->salmois, p.salmois}, {w->salnet, *r.salnet},    {w->Cong, *r.Cong},
            {w->abs, *r.abs},        {w->diver, *r.diver},    {w->entret, *r.entret},    {w->totcs, *r.totcs},
            {w->nour, *r.nour},      {w->acpt, *r.acpt},      {w->net, *r.net},          {w->totheur, *r.totheur},
            {w->mois, *r.mois},      {w->an, *r.an},          {w->prenom, *r.prenom},
            {w->hpreavis, p.hpreavis}, {w->mtpreavis, p.mtpreavis}, {w->mtregul, p.mtregul}, {w->mtrupture, p.mtrupture}};
        for (int k = 0; k < ContributionLines; ++k) {
            all << std::pair{w->cs[k], *r.cs[k]} << std::pair{w->St[k], *r.St[k]};
            all << std::pair{gross ? w->rate[k] : w->Ed[k], *r.rate[k]};
            if (gross)
                all << std::pair{w->base[k], *r.base[k]};
        }
        if (gross)
            all << std::pair{w->salbrut, *r.salbrut} << std::pair{w->salimp, *r.salimp};
        return all;
    }

private slots:
    void initTestCase()
    {
        setDecimalSeparator('.');
        setGroupSeparator(QStringLiteral(" "));
        QVERIFY(m_dir.isValid());
        setProgramFolder(m_dir.path());
        setMessageSink([this](MessageKind, const QString &t) { m_shown << t; });
        QVERIFY(copyFirstRates(folder() + "Taux.txt"));
        // The legal limits the contract's extra hours are counted against.
        QVERIFY(QFile::copy(BERLIVO_SOURCE_DIR "/data/Baremes.txt", folder() + folder::legalTable));
    }
    void init()
    {
        setNowForTests(QDateTime(QDate(2026, 4, 2), QTime(9, 30)));
        QFile::remove(folder() + folder::contracts);
        QFile::remove(folder() + SlipArchive::fileName());
        QFile::remove(folder() + "Enf1.db");
        QVERIFY(DayTable::createEmpty(folder() + "Enf1.db"));
        QDir(folder() + "bulljpg").removeRecursively();
        QVERIFY(QDir(folder()).mkdir("bulljpg"));
        createWindows();
        m_shown.clear(); // the start-up help check finds no help in a test folder
        QVERIFY(activate(win().Parametres));
        TParametres *p = win().Parametres;
        win().Parametres->Anul->click();
        // The parameters window's controls are the slips' working copy.
        p->prenom3->setText("Julie");
        p->SH->setText("4.00");
        p->SHbr->setText("5.10");
        p->CheckBox11->setChecked(true);
        p->ETH->setText("0.35");
        win().Entree->selenf->setText("Julie");
    }
    void cleanup() { destroyWindows(); }

    void bothBases_data()
    {
        QTest::addColumn<int>("basis");
        QTest::newRow("net") << 0;
        QTest::newRow("gross") << 1;
    }
    // Every figure of the sheet is the unit's, for a month with an absence,
    // complementary and majorated hours.
    void bothBases()
    {
        QFETCH(int, basis);
        const bool gross = basis == 1;
        storeExample();
        win().Parametres->Netbrut->setItemIndex(basis);
        validateMarch();
        SlipSheet *shown = openSlip();
        QVERIFY(shown);
        QCOMPARE(shown, static_cast<SlipSheet *>(slip()));
        QCOMPARE(slip()->objectName(), "TBulletinContrat");
        QCOMPARE(slip()->windowTitle(), "Bulletin de Salaire");
        QCOMPARE(slip()->mode->text(), gross ? "basé sur le brut" : "basé sur le net");
        QVERIFY(!slip()->Message->isVisible());
        QVERIFY(!slip()->Remarque->isVisible()); // every day typed is paid as typed

        const ContractSlip expected = folderSlip(gross);
        QVERIFY(expected.complete());
        // The month has what the sheet is for: an absence and extra hours of both kinds.
        QVERIFY(expected.figures.deductedMinutes > 0 && expected.figures.complementaryMinutes > 0 &&
                expected.figures.majoratedMinutes > 0 && expected.figures.salary.count() > 0);
        for (const auto &[label, text] : labelsAndTexts(slip(), expected, gross)) {
            QCOMPARE(label->text(), text);
            QVERIFY2(label->isVisible() || text.isEmpty(), qPrintable(label->objectName()));
        }
        QCOMPARE(slip()->Cong->text(), "0.00");
        QCOMPARE(slip()->libcp->text(), "Congés payés :");
        for (int k = 0; k < ContributionLines; ++k)
            QCOMPARE(slip()->Ed[k]->isVisible(), !gross);
        QCOMPARE(slip()->salbrut->isVisible(), gross);
        QCOMPARE(slip()->shownSlip()->contract, std::optional(expected.hours));
        // 0.35 an hour of maintenance is under the minimum of March 2026: the
        // sheet carries the unit's note.
        const QStringList notes = legal::monthWarnings(
            legal::Table::load(BERLIVO_SOURCE_DIR "/data/Baremes.txt"), gatherSlipInput(), gross);
        QVERIFY(!notes.isEmpty());
        QCOMPARE(slip()->Avertissement->text(), notes.join(' '));
        QVERIFY(slip()->Avertissement->isVisible());

        if (const QByteArray shots = qgetenv("BERLIVO_SHOTS"); !shots.isEmpty())
            slip()->grab().save(QStringLiteral("%1/TBulletinContrat-%2.png")
                                    .arg(QString::fromLocal8Bit(shots), gross ? "brut" : "net"));
    }

    // The slip of the contract's last month: the end's lines are the unit's
    // and shown, the indemnity paid apart.
    void lastSlipCarriesTheEnd()
    {
        Contract c;
        c.kind = Kind::CompleteYear;
        c.first = QDate(2025, 1, 6);
        c.last = QDate(2026, 3, 31);
        for (int d = 0; d < 5; ++d)
            c.plannedMinutes[size_t(d)] = 8 * 60;
        c.endReason = EndReason::ChildWithdrawn;
        c.notified = QDate(2026, 3, 20);
        storeContract(folder() + folder::contracts, 1, c);
        win().Parametres->Netbrut->setItemIndex(1);
        validateMarch();
        QVERIFY(openSlip() == slip());
        const ContractSlip expected = folderSlip(true);
        QVERIFY(expected.complete() && expected.end);
        QVERIFY(expected.end->noticePay.count() > 0 && expected.indemnity.count() > 0);
        for (const auto &[label, text] : labelsAndTexts(slip(), expected, true)) {
            QCOMPARE(label->text(), text);
            QVERIFY2(label->isVisible() || text.isEmpty(), qPrintable(label->objectName()));
        }
        QVERIFY(slip()->mtrupture->isVisible() && slip()->mtpreavis->isVisible());
        if (const QByteArray shots = qgetenv("BERLIVO_SHOTS"); !shots.isEmpty())
            slip()->grab().save(QString::fromLocal8Bit(shots) + "/TBulletinContrat-fin.png");
    }

    // The same month of a child paid by the hour opens the slip of its basis
    // and its figures; a month before the child's contract says so, in a
    // line of its own.
    void childPaidByTheHour_data()
    {
        QTest::addColumn<int>("basis");
        QTest::addColumn<bool>("contractLater");
        QTest::newRow("net, no contract") << 0 << false;
        QTest::newRow("gross, no contract") << 1 << false;
        QTest::newRow("net, before the contract") << 0 << true;
        QTest::newRow("gross, before the contract") << 1 << true;
    }
    void childPaidByTheHour()
    {
        QFETCH(int, basis);
        QFETCH(bool, contractLater);
        if (contractLater) {
            Contract c;
            c.kind = Kind::CompleteYear;
            c.first = QDate(2026, 4, 6);
            for (int d = 0; d < 5; ++d)
                c.plannedMinutes[size_t(d)] = 8 * 60;
            storeContract(folder() + folder::contracts, 1, c);
        }
        win().Parametres->Netbrut->setItemIndex(basis);
        validateMarch();
        SlipSheet *shown = openSlip();
        QVERIFY(shown);
        QCOMPARE(shown, basis == 0 ? static_cast<SlipSheet *>(win().Bulletin) : win().Bulletinbrut);
        QVERIFY(!slip() || !slip()->isVisible());
        const SlipInput in = gatherSlipInput();
        const SlipResult r = basis == 0 ? computeNetSlip(in) : computeGrossSlip(in);
        QCOMPARE(shown->net->text(), *r.net);
        QCOMPARE(shown->Cong->text(), *r.Cong);
        QCOMPARE(shown->salnet->text(), *r.salnet);
        const QString note = hourlySlipNoteOf(programFolder(), 1, in.moan, basis == 1);
        QCOMPARE(note.isEmpty(), !contractLater);
        QCOMPARE(shown->Remarque->text(), note);
        QCOMPARE(shown->Remarque->isVisible(), contractLater);
        if (contractLater)
            screenshot(shown->objectName() + "-hors-contrat");
    }

    // Days typed after the contract's last day and one inside a stated
    // absence: the sheet lists them in a line of their own, the figures
    // are the contract's all the same.
    void typedDaysNotPaidAsTyped()
    {
        storeExample(QDate(2026, 3, 25));
        Contract c = *loadContract(folder() + folder::contracts, 1);
        c.absences << Absence{{QDate(2026, 3, 12), QDate(2026, 3, 12)}, Reason::ParentsChoice};
        storeContract(folder() + folder::contracts, 1, c);
        validateMarch();
        QVERIFY(openSlip() == slip());
        const ContractSlip expected = folderSlip(false);
        QCOMPARE(expected.notes.size(), 2);
        QCOMPARE(slip()->Remarque->text(), expected.notes.join('\n'));
        QVERIFY(slip()->Remarque->isVisible());
        for (const auto &[label, text] : labelsAndTexts(slip(), expected, false))
            QCOMPARE(label->text(), text);
        screenshot("TBulletinContrat-jours-saisis");
    }

    // "Remplir d'après le contrat", then a late pick-up and a lunch corrected
    // and the month validated: the stored days and the slip are those of the
    // same month typed day by day, and the slip the unit's.
    void monthFilledFromThePlanning()
    {
        storeExample();
        Contract c = *loadContract(folder() + folder::contracts, 1);
        for (int d = 0; d < 5; ++d)
            c.plannedTimes[size_t(d)].arrival = 8 * 60;
        storeContract(folder() + folder::contracts, 1, c);
        const QDate late(2026, 3, 17), lunch(2026, 3, 4);
        // No meal allowance: a planned day gets no usual tick, as a day typed without one.
        for (QLineEdit *e : {win().Parametres->PD, win().Parametres->D, win().Parametres->G, win().Parametres->Sp})
            e->setText("0");
        const auto slipTexts = [&] {
            QStringList texts;
            for (const auto &[label, text] : labelsAndTexts(slip(), folderSlip(false), false)) {
                [&] { QCOMPARE(label->text(), text); }();
                texts << label->text();
            }
            return texts;
        };

        // Typed day by day (a lunch on the 4th), and its slip.
        validateMonth(QDate(2026, 3, 1), [&](QDate d) -> std::optional<std::pair<QTime, QTime>> {
            if (c.plannedOn(d) == 0 || d == QDate(2026, 3, 9) || d == QDate(2026, 3, 10))
                return std::nullopt;
            return std::pair{QTime(8, 0), d == late ? QTime(18, 30) : QTime(16, 0)};
        });
        const QStringList typedDays = storedRows(folder() + "Enf1.db");
        QCOMPARE(typedDays.size(), 20);
        QVERIFY(openSlip() == slip());
        const QStringList typedSlip = slipTexts();

        // Filled from the planning into a table without the month.
        QFile::remove(folder() + "Enf1.db");
        QVERIFY(DayTable::createEmpty(folder() + "Enf1.db"));
        QVERIFY(activate(hours()));
        QVERIFY(hours()->Remplir->isEnabled());
        hours()->Date->setDate(QDate(2026, 3, 2));
        QTest::mouseClick(hours()->Remplir, Qt::LeftButton);
        QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join('|')));
        QVERIFY(hours()->fromPlanning(2) && !hours()->fromPlanning(9) && !hours()->fromPlanning(7));
        QCOMPARE(hours()->cell(sheet::Date, 9), QString()); // the absence
        QCOMPARE(hours()->Resume->text(),
                 monthSummary(c, 2026, 3, holidaysOf(c, 2026, 3), hours()->sheet()).text());
        screenshot("THoraire-rempli");

        // The corrections, as a parent types them: the day's planned times
        // come into the pickers, one is changed.
        QTest::mouseClick(hours()->Date, Qt::LeftButton);
        hours()->Date->setDate(late);
        QTest::mouseClick(hours()->H2, Qt::LeftButton);
        QCOMPARE(hours()->H1->time(), QTime(8, 0));
        hours()->H2->setTime(QTime(18, 30));
        QTest::mouseClick(hours()->Date, Qt::LeftButton);
        hours()->Date->setDate(lunch);
        QTest::mouseClick(hours()->Dej, Qt::LeftButton);
        QTest::mouseClick(hours()->Suiv, Qt::LeftButton);
        QVERIFY(!hours()->fromPlanning(late.day()) && !hours()->fromPlanning(lunch.day()));
        QVERIFY(hours()->fromPlanning(16));
        QTest::mouseClick(hours()->BitBtn3, Qt::LeftButton);
        QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join('|')));
        QCOMPARE(storedRows(folder() + "Enf1.db"), typedDays);
        QVERIFY(openSlip() == slip());
        QCOMPARE(slipTexts(), typedSlip);

        // Without a regular contract there is nothing to fill from.
        QFile::remove(folder() + folder::contracts);
        QVERIFY(activate(hours()));
        QVERIFY(!hours()->Remplir->isEnabled());
        QCOMPARE(hours()->Resume->text(), QString());
    }

    // A contract changed while its slip is open so that it no longer pays
    // the month: the sheet says so, with no error box and no print/save window.
    void monthOutsideTheContract()
    {
        storeExample();
        validateMarch();
        QVERIFY(openSlip() == slip());
        storeExample(QDate(2026, 2, 27));
        QVERIFY(activate(win().Entree));
        QVERIFY(activate(slip()));
        QTRY_VERIFY(slip()->Message->isVisible());
        const ContractSlip expected = folderSlip(false);
        QVERIFY(expected.figures.outsideContract);
        QCOMPARE(slip()->Message->text(), expected.failure);
        QVERIFY(!win().BO->isVisible());
        QVERIFY(!slip()->shownSlip());
        QCOMPARE(slip()->salnet->text(), QString());
        QCOMPARE(m_shown, QStringList());
    }

    // "Enregistrement": the picture, the PDF and the row of a contract month.
    void saved()
    {
        storeExample();
        validateMarch();
        QVERIFY(openSlip() == slip());
        const SlipSheet::Shown shown = *slip()->shownSlip();
        win().Entree->selenf->setText("Julie");
        win().BO->NiceButton2Click();
        QCOMPARE(m_shown, QStringList());
        QVERIFY(!slip()->isVisible());
        QVERIFY2(QFile::exists(folder() + "bulljpg/Julie0326.jpg"),
                 qPrintable(QDir(folder() + "bulljpg").entryList(QDir::Files).join(',')));
        const QString text = pdfText(folder() + "bulljpg/Julie0326.pdf");
        for (const QString &part : {QString("contrat mensualisé"), slip()->salmois->text(), slip()->net->text()})
            QVERIFY2(text.contains(part), qPrintable(part + " not in\n" + text));
        const auto row = SlipArchive(folder() + SlipArchive::fileName()).find(1, "0326");
        QVERIFY(row);
        QVERIFY(row->contract);
        QCOMPARE(*row, archivedSlipFor(shown.input, shown.result, false, 1, "Julie0326.jpg", now(), shown.contract));
        QCOMPARE(row->complementaryHours, 500);
        QCOMPARE(row->majoratedHours, 200);
    }

    // Two copies on the default printer, read back from the PDF queue.
    void printed()
    {
        const PdfQueue queue = PdfQueue::find();
        if (!queue.unusable.isEmpty())
            SKIP_UNLESS_CI(queue.unusable);
        storeExample();
        validateMarch();
        QVERIFY(openSlip() == slip());
        const QStringList before = queue.pdfs();
        win().BO->NiceButton1Click();
        const QStringList added = queue.newPdfs(before, 2);
        QCOMPARE(added.size(), 2);
        for (const QString &pdf : added) {
            const PrintedPage page = readPdf(pdf);
            QFile::remove(pdf);
            QCOMPARE(page.pages, 1);
            QCOMPARE(page.pictures, QList<QSize>{slip()->size()});
        }
        QVERIFY(win().BO->NiceButton2->isVisible());
    }

    // The declaration of a contract month: ten rows, from the contract's slip.
    void declared()
    {
        storeExample();
        validateMarch();
        win().Entree->Declaration1->trigger();
        TDeclaration *d = win().Declaration;
        QVERIFY(QTest::qWaitForWindowActive(d));
        const ContractSlip c = folderSlip(false);
        const Declaration expected = declarationFor(gatherSlipInput(), c.slip, false, c.hours);
        QCOMPARE(expected.figures.size(), 10);
        QVERIFY(d->Valeur[10]->isHidden());
        for (int i = 0; i < expected.figures.size(); ++i) {
            QVERIFY(d->Valeur[i]->isVisible());
            QCOMPARE(d->Libelle[i]->text(), expected.figures[i].label);
            QCOMPARE(d->Valeur[i]->text(), expected.figures[i].value);
        }
        QCOMPARE(d->Libelle[2]->text(), "Nombre d'heures complémentaires");
        QTest::mouseClick(d->ToutCopier, Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), declarationText(expected));
        QCOMPARE(QGuiApplication::clipboard()->text().count('\n'), 10);
    }

    // The June that opens an incomplete year's leave year pays the period's
    // leave: the sheet shows the paid-leave unit's amount on its own line and
    // in S, and the declaration adds the days and their hours.
    void juneWithPaidLeave()
    {
        Contract c;
        c.kind = Kind::IncompleteYear;
        c.first = QDate(2025, 6, 2);
        c.weeks = 40;
        for (int d = 0; d < 5; ++d)
            c.plannedMinutes[size_t(d)] = 8 * 60;
        c.leavePayment = LeavePayment::InJune;
        storeContract(folder() + folder::contracts, 1, c);
        setNowForTests(QDateTime(QDate(2026, 7, 1), QTime(9, 30)));
        validateMonth(QDate(2026, 6, 1), [](QDate) { return std::pair{QTime(8, 0), QTime(16, 0)}; });
        SlipSheet *shown = openSlip();
        QCOMPARE(shown, static_cast<SlipSheet *>(slip()));

        const ContractInputs inputs = loadContractInputs(programFolder(), 1, c, false);
        const QList<LeavePayout> leave =
            payoutsIn(paidLeaveOf(inputs, moneyFromText("4.00"), {}, QDate(2026, 6, 30)), QDate(2026, 6, 1));
        QCOMPARE(leave.size(), 1);
        QVERIFY(leave[0].days > 0 && leave[0].amount.count() > 0);
        const ContractSlip expected = folderSlip(false);
        QCOMPARE(expected.leave, leave);
        for (const auto &[label, text] : labelsAndTexts(slip(), expected, false))
            QCOMPARE(label->text(), text);
        QCOMPARE(slip()->mtcp->text(), formatAmount(leave[0].amount));
        QCOMPARE(slip()->jcp->text(), QString::number(leave[0].days));
        QCOMPARE(slip()->Cong->text(), slip()->mtcp->text());
        QCOMPARE(slip()->salmois->text(),
                 formatAmount(Money::fromCount(expected.figures.salary.count() + leave[0].amount.count())));

        win().Entree->Declaration1->trigger();
        TDeclaration *d = win().Declaration;
        QVERIFY(QTest::qWaitForWindowActive(d));
        const Declaration declared = declarationFor(gatherSlipInput(), expected.slip, false, expected.hours);
        QCOMPARE(declared.figures.size(), TDeclaration::FigureCount);
        for (int i = 0; i < TDeclaration::FigureCount; ++i)
            QCOMPARE(d->Libelle[i]->text() + '=' + d->Valeur[i]->text(),
                     declared.figures[i].label + '=' + declared.figures[i].value);
        QCOMPARE(d->Libelle[5]->text(), leaveDaysLabel());
        QCOMPARE(d->Valeur[5]->text(), QString::number(leave[0].days));

        if (const QByteArray shots = qgetenv("BERLIVO_SHOTS"); !shots.isEmpty()) {
            slip()->grab().save(QString::fromLocal8Bit(shots) + "/TBulletinContrat-juin.png");
            d->grab().save(QString::fromLocal8Bit(shots) + "/TDeclaration-juin.png");
        }
    }
};

QTEST_MAIN(TestContractSlipWindow)
#include "tst_contractslipwindow.moc"
