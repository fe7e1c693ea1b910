// The old slip viewer: its look, the picture dialog, the reduction of a large
// picture, the picture and file remembered, and the load failures, after
// which the picture area keeps what it showed.

#include "windows/mainwindow.h"
#include "windows/parameterswindow.h"
#include "windows/slipviewerwindow.h"
#include "windows/windowset.h"
#include "common/environment.h"
#include "common/errors.h"
#include "common/messages.h"
#include "payslip/jpegcodec.h"
#include "payslip/slippicture.h"

#include "testfiles.h"
#include "windowtest.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <cstdio>
#include <jerror.h>

namespace {
QByteArray jpegOf(QSize size, QColor colour)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    return encodeJpeg(picture);
}
} // namespace

class TestSlipViewerWindow : public WindowTest {
    Q_OBJECT
    static TRevisu *viewer() { return win().Revisu; }
    QString bulljpg() const { return m_dir.path() + "/bulljpg/"; }
    QSize shown() const { return viewer()->Image1->pixmap().size(); }

    // Clicks "&Rechercher" and, once its dialog is up, does what the user
    // does in it: picks `file` (a full name), or cancels when it is empty.
    void search(const QString &file, QString *startFolder = nullptr)
    {
        QTimer::singleShot(0, this, [=] {
            QFileDialog *dialog = viewer()->OpenPictureDialog1;
            // Cancelled, or left by a failed check: it must not wait for ever.
            auto cancel = qScopeGuard([dialog] { dialog->reject(); });
            QVERIFY(dialog->isVisible());
            if (startFolder)
                *startFolder = dialog->directory().absolutePath();
            if (file.isEmpty())
                return;
            // Typed in the name field, as a user does, then confirmed.
            auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
            QVERIFY(name);
            name->setText(file);
            cancel.dismiss();
            QMetaObject::invokeMethod(dialog, "accept");
        });
        QTest::mouseClick(viewer()->BitBtn2, Qt::LeftButton);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(start());
        QVERIFY(QDir(m_dir.path()).mkdir("bulljpg"));
        writeBytes(bulljpg() + "Julie0302.jpg", jpegOf({750, 834}, Qt::white));
        writeBytes(bulljpg() + "Paul0402.jpg", jpegOf({742, 800}, Qt::yellow));
        writeBytes(bulljpg() + "small.jpg", jpegOf({100, 100}, Qt::blue));
        writeBytes(bulljpg() + "notes.txt", "not a picture\n");
    }
    void init() { openWindows(); }
    void cleanup() { destroyWindows(); }

    void look()
    {
        TRevisu *w = viewer();
        QCOMPARE(w->objectName(), "TRevisu");
        QCOMPARE(w->windowTitle(), "Visualiser un bulletin ancien");
        QCOMPARE(w->size(), QSize(872, 824));
        QCOMPARE(w->Image1->geometry(), QRect(0, 0, 705, 789));
        const QStringList instruction = {"Recherchez l'image",   "souhaitée dont le nom", "correspond au prénom",
                                         "de l'enfant suivi du", "mois et de l'année",    "de création du bulletin."};
        int previousTop = -1;
        for (int k = 0; k < 6; ++k) {
            auto *label = w->findChild<QLabel *>(QStringLiteral("Label%1").arg(k + 1));
            QVERIFY(label);
            QCOMPARE(label->text(), instruction[k]);
            QVERIFY(label->x() >= 705 && label->y() > previousTop); // one under the other, at the right
            previousTop = label->y();
        }
        QCOMPARE(w->findChild<QPushButton *>("BitBtn2")->text(), "&Rechercher");
        QCOMPARE(w->findChild<QPushButton *>("BitBtn1")->text(), "&Fermer");
        auto *edit3 = w->findChild<QLineEdit *>("Edit3");
        QCOMPARE(edit3->text(), "Enfant selectionné  :");
        QVERIFY(edit3->isReadOnly());
        auto *selenf = w->findChild<QLineEdit *>("selenf");
        QVERIFY(selenf->isReadOnly() && selenf->font().bold());
        // The dialog is made when first needed, as a child of the window.
        QVERIFY(!w->findChild<QFileDialog *>("OpenPictureDialog1"));
        auto *dialog = win().Revisu->openPictureDialog();
        QCOMPARE(w->findChild<QFileDialog *>("OpenPictureDialog1"), dialog);
        QCOMPARE(dialog->windowTitle(), "Bulletin à charger...");
        QCOMPARE(dialog->nameFilters(), QStringList{"Fichier image JPEG (*.jpg)"});
        QCOMPARE(dialog->fileMode(), QFileDialog::AnyFile);
        QVERIFY(dialog->findChild<QLabel *>("preview"));
    }

    // The child's first name comes from the main window on each activation;
    // the picture stays, and closing only hides the window.
    void firstNameAndRememberedPicture()
    {
        win().Entree->selenf->setText("Julie");
        QVERIFY(activate(viewer()));
        QCOMPARE(viewer()->selenf->text(), "Julie");

        QString startFolder;
        search(bulljpg() + "small.jpg", &startFolder);
        QCOMPARE(startFolder, QDir(bulljpg()).absolutePath());
        QCOMPARE(m_shown, QStringList());
        QCOMPARE(shown(), QSize(100, 100));
        const qint64 picture = viewer()->Image1->pixmap().cacheKey();

        QTest::mouseClick(viewer()->BitBtn1, Qt::LeftButton);
        QVERIFY(!viewer()->isVisible());
        // The main window takes the name from the parameters when it is
        // activated, and the viewer from the main window.
        win().Parametres->prenom3->setText("Paul");
        QVERIFY(activate(win().Entree));
        win().Entree->BitBtn7Click(); // "Re&voir un Bulletin"
        QVERIFY(QTest::qWaitForWindowActive(viewer()));
        QCOMPARE(viewer()->selenf->text(), "Paul");
        QCOMPARE(viewer()->Image1->pixmap().cacheKey(), picture);
    }

    void reduction_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        QTest::newRow("width limits") << "Paul0402.jpg" << QSize(705, 760);
        QTest::newRow("small, own size") << "small.jpg" << QSize(100, 100);
        QTest::newRow("a saved slip") << "Julie0302.jpg" << fittedPictureSize({750, 834}, {705, 789});
    }
    void reduction()
    {
        QFETCH(QString, file);
        QFETCH(QSize, size);
        showAndActivate(viewer());
        search(bulljpg() + file);
        QCOMPARE(m_shown, QStringList());
        QCOMPARE(shown(), size);
        QCOMPARE(viewer()->Image1->alignment(), Qt::AlignLeft | Qt::AlignTop);
    }

    // Cancelling reloads the file chosen last: what is on disk now.
    void cancelReloadsTheFileChosenLast()
    {
        const QString file = bulljpg() + "changing.jpg";
        writeBytes(file, jpegOf({100, 100}, Qt::red));
        showAndActivate(viewer());
        search(file);
        QCOMPARE(shown(), QSize(100, 100));
        writeBytes(file, jpegOf({742, 800}, Qt::red));
        search(QString());
        QCOMPARE(m_shown, QStringList());
        QCOMPARE(shown(), QSize(705, 760));
        QCOMPARE(viewer()->chosenFile(), file);
    }

    void failures_data()
    {
        QTest::addColumn<QString>("file"); // typed in the dialog; empty: cancelled
        QTest::addColumn<QString>("error");
        const QString b = QDir(bulljpg()).absolutePath() + '/';
        writeBytes(b + "text.jpg", "Julie, mars 2002\n");
        writeBytes(b + "empty.jpg", "");
        QTest::newRow("text renamed .jpg") << b + "text.jpg" << rtl::jpegError(JERR_NO_SOI);
        QTest::newRow("empty .jpg") << b + "empty.jpg" << rtl::jpegError(JERR_INPUT_EMPTY);
        QTest::newRow("a .png name") << b + "Julie0302.png" << rtl::unknownPictureExtension("png");
        QTest::newRow("missing file") << b + "Zoe0302.jpg" << rtl::cannotOpenFile(b + "Zoe0302.jpg");
    }
    // Each failure is told, and the picture area keeps the picture it showed.
    void failures()
    {
        QFETCH(QString, file);
        QFETCH(QString, error);
        showAndActivate(viewer());
        search(bulljpg() + "small.jpg");
        const qint64 before = viewer()->Image1->pixmap().cacheKey();
        search(file);
        QCOMPARE(m_shown, QStringList{error});
        QCOMPARE(viewer()->Image1->pixmap().cacheKey(), before);
        // The failing name is remembered all the same: cancelling fails again.
        m_shown.clear();
        search(QString());
        QCOMPARE(m_shown, QStringList{error});
    }

    // Before any file is chosen, cancelling leaves an empty name to load.
    void cancelBeforeAnyChoice()
    {
        showAndActivate(viewer());
        search(QString());
        QCOMPARE(m_shown, QStringList{rtl::unknownPictureExtension("")});
        QVERIFY(viewer()->Image1->pixmap().isNull());
    }

    // The dialog lists the pictures of every child, and no other file, and
    // previews the one under the cursor.
    void dialogListsEveryChildsPictures()
    {
        QStringList listed;
        QTimer::singleShot(0, this, [&] {
            QFileDialog *dialog = viewer()->OpenPictureDialog1;
            auto cancel = qScopeGuard([dialog] { dialog->reject(); });
            auto *model = dialog->findChild<QFileSystemModel *>();
            QVERIFY(model);
            const QModelIndex folder = model->index(QDir(bulljpg()).absolutePath());
            QVERIFY(QTest::qWaitFor([&] { return model->rowCount(folder) >= 3; }));
            for (int row = 0; row < model->rowCount(folder); ++row) {
                const QModelIndex item = model->index(row, 0, folder);
                if (model->flags(item) & Qt::ItemIsEnabled)
                    listed << item.data().toString();
            }
            // The file under the cursor shows in the preview; one that is
            // no picture shows nothing.
            auto *preview = dialog->findChild<QLabel *>("preview");
            emit dialog->currentChanged(bulljpg() + "Paul0402.jpg");
            QVERIFY(!preview->pixmap().isNull());
            QVERIFY(preview->pixmap().width() <= preview->width());
            emit dialog->currentChanged(bulljpg() + "notes.txt");
            QVERIFY(preview->pixmap().isNull());
        });
        showAndActivate(viewer());
        QTest::mouseClick(viewer()->BitBtn2, Qt::LeftButton);
        listed.sort();
        QVERIFY(listed.contains("Julie0302.jpg") && listed.contains("Paul0402.jpg"));
        QVERIFY(!listed.contains("notes.txt"));
    }
};

QTEST_MAIN(TestSlipViewerWindow)
#include "tst_slipviewerwindow.moc"
