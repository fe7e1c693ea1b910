// The main window's backup and restore commands, and the about box's data
// folder: the wiring of the menu to the backup unit, and the questions and
// messages the user sees.

#include "windows/aboutbox.h"
#include "windows/mainwindow.h"
#include "windows/windowset.h"
#include "common/environment.h"
#include "common/messages.h"
#include "datafolder/folderlayout.h"

#include "testfiles.h"
#include "windowtest.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class TestBackupMenu : public WindowTest {
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> m_root; // a new one for each case
    QString m_data;
    QStringList m_asked;
    bool m_answer = true;

    TEntree *entree() { return win().Entree; }
    QString zip() const { return m_root->filePath("sauvegarde.zip"); }

    // Answers the file dialog the command opens with `file`.
    void answerFileDialog(const QString &file)
    {
        QTimer::singleShot(0, [file] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->selectFile(file);
            QMetaObject::invokeMethod(dialog, "accept");
        });
    }

private slots:
    void initTestCase()
    {
        QVERIFY(start({QDate(2026, 3, 14), QTime(10, 0)}));
        setQuestionSink([this](const QString &q) {
            m_asked << q;
            return m_answer;
        });
    }
    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        m_data = m_root->filePath("data/");
        folder::layOut(m_data, QStringLiteral(BERLIVO_SOURCE_DIR "/data/Taux.txt"));
        setProgramFolder(m_data);
        m_asked.clear();
        m_answer = true;
        openWindows();
    }
    void cleanup() { destroyWindows(); }

    void menuOffersBackupAndRestoreBeforeQuitting()
    {
        QStringList captions;
        for (QAction *a : entree()->Fichier1->actions())
            captions << (a->isSeparator() ? a->objectName() : a->text());
        QCOMPARE(captions, QStringList({"&Parametrer", "&Calculer le salaire", "&Ouvrir un mois...",
                                        "Remplir d'après le &contrat", "&Revoir un mois",
                                        "Re&voir un bulletin", "Déclaration du &mois...", "Récapitulatif &annuel...",
                                        "Contrat de l'&enfant...", "N5", "Sauvegarder mes données...",
                                        "Restaurer une sauvegarde...", "N3", "&Quitter"}));
        QCOMPARE(entree()->Sauvegarder1->objectName(), QString("Sauvegarder1"));
        QCOMPARE(entree()->Restaurer1->objectName(), QString("Restaurer1"));
    }

    void aboutBoxSaysWhereTheDataLives()
    {
        entree()->Apropos1->trigger();
        QLabel *label = win().AboutBox->findChild<QLabel *>("DataFolder");
        QVERIFY(label && label->isVisible());
        QCOMPARE(label->toolTip(), m_data);
        QVERIFY(label->text().startsWith("Vos données sont dans :\n"));
        QVERIFY(label->fontMetrics().horizontalAdvance(label->text().section('\n', 1)) <= label->width());
    }

    void backupCommandAsksForAFileAndSaysWhereItWent()
    {
        answerFileDialog(m_root->filePath("ma sauvegarde")); // ".zip" is added
        entree()->Sauvegarder1->trigger();
        const QString saved = m_root->filePath("ma sauvegarde.zip");
        QVERIFY(QFileInfo(saved).isFile());
        QCOMPARE(m_shown, QStringList("Vos données (6 fichiers) sont sauvegardées dans\n" + saved));
    }

    void nameGainingItsZipIsAskedAboutBeforeReplacing_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("replace") << true;
        QTest::newRow("keep the earlier backup") << false;
    }
    void nameGainingItsZipIsAskedAboutBeforeReplacing()
    {
        QFETCH(bool, answer);
        const QString saved = m_root->filePath("ma sauvegarde.zip");
        writeBytes(saved, "an earlier backup");
        m_answer = answer;
        answerFileDialog(m_root->filePath("ma sauvegarde"));
        entree()->Sauvegarder1->trigger();
        QCOMPARE(m_asked, QStringList("Le fichier « " + saved + " » existe déjà.\nVoulez-vous le remplacer\u00a0?"));
        QCOMPARE(readBytes(saved) != "an earlier backup", answer);
    }

    void damagedSlipArchiveIsSaidAfterTheBackup()
    {
        writeBytes(m_data + "Bulletins.db", QByteArray(4096, 'x'));
        entree()->saveBackup(zip());
        QCOMPARE(m_shown, QStringList("Vos données (6 fichiers) sont sauvegardées dans\n" + zip() + "\n\n" +
                                      texts::backupLeftOut({"Bulletins.db"})));
    }

    void restoreAsksFirstAndKeepsThePreviousData_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("confirmed") << true;
        QTest::newRow("declined") << false;
    }
    void restoreAsksFirstAndKeepsThePreviousData()
    {
        QFETCH(bool, answer);
        entree()->saveBackup(zip());
        writeBytes(m_data + "Taux.txt", "changed\r\n");
        QVERIFY(QFile::remove(m_data + "Enf4.db"));
        m_shown.clear();
        m_answer = answer;

        answerFileDialog(zip());
        entree()->Restaurer1->trigger();

        QCOMPARE(m_asked, QStringList("Restaurer la sauvegarde du 14/03/2026 à 10:00 (6 fichiers)\u00a0?\n"
                                      "Elle remplacera vos données, qui seront gardées dans un dossier daté, dans\n" +
                                      m_data));
        const QString kept = m_data + "Avant restauration 2026-03-14 10h00m00/";
        if (answer) {
            QCOMPARE(readBytes(m_data + "Taux.txt"), readBytes(BERLIVO_SOURCE_DIR "/data/Taux.txt"));
            QVERIFY(QFileInfo(m_data + "Enf4.db").isFile());
            QCOMPARE(readBytes(kept + "Taux.txt"), QByteArray("changed\r\n"));
            QCOMPARE(m_shown, QStringList("La sauvegarde du 14/03/2026 à 10:00 est restaurée.\n"
                                          "Vos données précédentes sont gardées dans\n" +
                                          kept));
        } else {
            QCOMPARE(readBytes(m_data + "Taux.txt"), QByteArray("changed\r\n"));
            QVERIFY(!QFileInfo::exists(m_data + "Enf4.db"));
            QVERIFY(!QFileInfo::exists(kept));
            QVERIFY(m_shown.isEmpty());
        }
        // Nothing unpacked is left behind either way.
        QCOMPARE(QDir(m_data).entryList({".restauration-*"}, QDir::Dirs | QDir::Hidden), QStringList());
    }

    void foreignFileIsRefusedWithoutAsking()
    {
        writeBytes(zip(), "not a backup");
        entree()->restoreBackup(zip());
        QVERIFY(m_asked.isEmpty());
        QCOMPARE(m_shown, QStringList("Le fichier « " + zip() +
                                      " » n'est pas une sauvegarde de Berlivo Paye.\n"
                                      "Vos données n'ont pas été modifiées."));
    }
};

QTEST_MAIN(TestBackupMenu)
#include "tst_backupmenu.moc"
