#include "archive/slipsave.h"
#include "common/errors.h"
#include "common/numbers.h"
#include "payslip/slippicture.h"
#include "testfiles.h"
#include "raised.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
ArchivedSlip row(const QString &monthKey, qint64 net)
{
    ArchivedSlip s;
    s.slot = 1;
    s.firstName = "Julie";
    s.monthKey = monthKey;
    s.hours = 8000;
    s.salnet = net - 100;
    s.net = net;
    s.picture = "Julie" + monthKey + ".jpg";
    s.savedAt = QDateTime(QDate(2002, 4, 1), QTime(10, 0));
    return s;
}

} // namespace

class TestSlipSave : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_folder;
    QString picture(const char *key = "0302") const { return slipPicturePath(m_folder, "Julie", key); }
    QString archive() const { return m_folder + SlipArchive::fileName(); }

    void saveMarch(qint64 net, const QByteArray &jpeg)
    {
        saveSlip(m_folder, {picture(), jpeg, "%PDF " + jpeg, row("0302", net)});
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_folder = m_dir.path() + '/';
    }
    void init()
    {
        lockFolder(m_folder + "bulljpg", false);
        QDir(m_folder + "bulljpg").removeRecursively();
        QVERIFY(QDir(m_folder).mkdir("bulljpg"));
        QFile::remove(archive());
    }
    void cleanup() { lockFolder(m_folder + "bulljpg", false); }

    void savesAllThree()
    {
        saveMarch(12345, "first");
        QCOMPARE(readBytes(picture()), "first");
        QCOMPARE(readBytes(m_folder + "bulljpg/Julie0302.pdf"), "%PDF first");
        QCOMPARE(SlipArchive(archive()).find(1, "0302"), std::optional(row("0302", 12345)));
        // Saved again: all three replaced, still one row.
        saveMarch(999, "second");
        QCOMPARE(readBytes(picture()), "second");
        QCOMPARE(readBytes(m_folder + "bulljpg/Julie0302.pdf"), "%PDF second");
        QCOMPARE(SlipArchive(archive()).count(), 1);
        QCOMPARE(SlipArchive(archive()).find(1, "0302")->net, 999);
        // A slip without figures keeps its picture and PDF, and no row.
        saveSlip(m_folder, {picture("0402"), "april", "%PDF april", std::nullopt});
        QCOMPARE(readBytes(picture("0402")), "april");
        QCOMPARE(SlipArchive(archive()).count(), 1);
        QCOMPARE(slipPdfPath(picture()), m_folder + "bulljpg/Julie0302.pdf");
    }

    // A failure at any step leaves the pictures, the PDFs and the archive
    // byte for byte as they were.
    void failureChangesNothing_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("read-only bulljpg") << "readonly";
        QTest::newRow("folder in the PDF's place") << "pdf";
        QTest::newRow("archive not an archive") << "archive";
    }
    void failureChangesNothing()
    {
        QFETCH(QString, fault);
        saveMarch(12345, "first");
        const QString pdfPath = m_folder + "bulljpg/Julie0302.pdf";
        QString expected;
        if (fault == "readonly") {
            if (!lockFolder(m_folder + "bulljpg", true))
                QSKIP("bulljpg/ cannot be made read-only here");
            expected = rtl::cannotCreateFile(picture());
        } else if (fault == "pdf") {
            // The picture is renamed into place before the PDF fails: it
            // must come back.
            QFile::remove(pdfPath);
            QVERIFY(QDir().mkpath(pdfPath + "/held"));
        } else {
            QFile::remove(archive());
            writeBytes(archive(), "not a database, not even close to one, but long enough to be read as a header");
        }
        const QByteArray archiveBefore = readBytes(archive());
        const QByteArray pdfBefore = readBytes(pdfPath);
        const QString error = raised([&] { saveMarch(777, "second"); });
        QVERIFY2(!error.isEmpty(), "the save did not fail");
        if (!expected.isEmpty())
            QCOMPARE(error, expected);
        QCOMPARE(readBytes(picture()), "first");
        QCOMPARE(readBytes(pdfPath), pdfBefore);
        QCOMPARE(readBytes(archive()), archiveBefore);
        // No temporary file is left behind in bulljpg/.
        lockFolder(m_folder + "bulljpg", false);
        QCOMPARE(QDir(m_folder + "bulljpg").entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList({"Julie0302.jpg", "Julie0302.pdf"}));
        if (fault != "archive")
            QCOMPARE(SlipArchive(archive()).find(1, "0302")->net, 12345);
    }
};

QTEST_GUILESS_MAIN(TestSlipSave)
#include "tst_slipsave.moc"
