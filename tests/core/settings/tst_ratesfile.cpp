#include "settings/ratesfile.h"
#include "settings/paramrecord.h"
#include "settings/wholefile.h"

#include "common/environment.h"
#include "common/errors.h"

#include "testfiles.h"
#include "raised.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>

class TestRatesFile : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        setProgramFolder(m_dir.path());
    }

    void splitLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF") << "a\r\nb\r\n" << QStringList{"a", "b"};
        QTest::newRow("LF") << "a\nb\n" << QStringList{"a", "b"};
        QTest::newRow("CR") << "a\rb\r" << QStringList{"a", "b"};
        QTest::newRow("mixed") << "a\r\nb\nc\rd" << QStringList{"a", "b", "c", "d"};
        QTest::newRow("no final break") << "a\r\nb" << QStringList{"a", "b"};
        QTest::newRow("empty lines kept") << "\r\na\r\n\r\n" << QStringList{"", "a", ""};
        QTest::newRow("LF CR is two breaks") << "a\n\rb" << QStringList{"a", "", "b"};
        QTest::newRow("empty text") << "" << QStringList{};
        QTest::newRow("blanks kept") << " x \r\n" << QStringList{" x "};
    }
    void splitLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(RatesList::splitLines(text), lines);
    }

    void everyLineHoldsOneRecordField()
    {
        // The line table drives the defaults of a new child and the window's
        // reading and writing of the file: each line must name a distinct
        // text field of the record, and map back to its own line.
        QSet<QString> seen;
        for (int n = 0; n < rates::LineCount; ++n) {
            const QString field = rates::lineField(n);
            QVERIFY2(paramrecord::textField(field), qPrintable(field));
            QVERIFY(!seen.contains(field));
            seen.insert(field);
            QCOMPARE(rates::lineOfField(field), n);
        }
        QCOMPARE(rates::lineField(rates::NetLine), QString("Edit1"));
        QCOMPARE(rates::lineField(rates::BaseLine + 2), QString("Edit23"));
        QCOMPARE(rates::lineField(rates::EFJ), QString("EFJ"));
        QCOMPARE(rates::lineOfField("nom1"), -1);
    }

    void linesBeyondTheEnd()
    {
        RatesList list({"a", "b"});
        QCOMPARE(list.line(1), QString("b"));
        QCOMPARE(list.line(2), QString());
        QCOMPARE(list.line(-1), QString());
        list.setLine(5, "x");
        list.setLine(0, "z");
        QCOMPARE(list.lines(), (QStringList{"z", "b"}));
    }

    void missingFile()
    {
        RatesList list({"kept"});
        const QString p = path("absent/Taux.txt");
        QCOMPARE(raised([&] { list.load(p); }),
                 QStringLiteral("Impossible d'ouvrir le fichier ") + QDir::toNativeSeparators(p));
        QCOMPARE(list.lines(), QStringList{"kept"});
    }

    void folderInsteadOfFile()
    {
        QVERIFY(QDir(m_dir.path()).mkpath("folder/Taux.txt"));
        RatesList list;
        QVERIFY(raised([&] { list.load(path("folder/Taux.txt")); }).startsWith("Impossible d'ouvrir le fichier "));
    }

    void shortFileWrittenBackWithFortyEightLines()
    {
        const QString p = ratesFilePath();
        writeBytes(p, "RDS\nCSG\r\n");
        RatesList list;
        list.load(p);
        QCOMPARE(list.lines().size(), 2);
        QCOMPARE(list.line(40), QString());
        list.save(p);
        QByteArray expected = "RDS\r\nCSG\r\n";
        for (int n = 2; n < 48; ++n)
            expected += "\r\n";
        QCOMPARE(readBytes(p), expected);
    }

    void linesBeyondTheFortyEighthNeverWritten()
    {
        QStringList lines;
        for (int n = 0; n < 52; ++n)
            lines << QString::number(n);
        RatesList list(lines);
        list.save(ratesFilePath());
        const QByteArray bytes = readBytes(ratesFilePath());
        QCOMPARE(bytes.count("\r\n"), 48);
        QVERIFY(bytes.endsWith("\r\n47\r\n"));
        QCOMPARE(list.lines().size(), 52);
        list.load(ratesFilePath());
        QCOMPARE(list.lines().size(), 48);
    }

    void windows1252RoundTrip()
    {
        RatesList list({QStringLiteral("Sécurité Sociale :"), QStringLiteral("Retraite complémentaire IRCEM :"),
                        QStringLiteral("Coût 10 €")});
        list.save(ratesFilePath());
        const QByteArray bytes = readBytes(ratesFilePath());
        QVERIFY(bytes.startsWith("S\xe9"
                                 "curit\xe9 Sociale :\r\nRetraite compl\xe9mentaire IRCEM :\r\nCo\xfbt 10 \x80\r\n"));
        RatesList back;
        back.load(ratesFilePath());
        QCOMPARE(back.line(0), QStringLiteral("Sécurité Sociale :"));
        QCOMPARE(back.line(2), QStringLiteral("Coût 10 €"));
        QCOMPARE(back.fileBytes(), bytes);
    }

    void lineBreakInsideALineDoesNotShiftTheFile()
    {
        RatesList list({"a\nb", "c"});
        list.save(ratesFilePath());
        RatesList back;
        back.load(ratesFilePath());
        QCOMPARE(back.line(0), QString("a b"));
        QCOMPARE(back.line(1), QString("c"));
        QCOMPARE(back.lines().size(), 48);
    }

    void failedWriteKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("marked read-only") << "ro/Taux.txt" << QStringLiteral("Accès au fichier refusé");
        QTest::newRow("name taken by a folder") << "dir/Taux.txt" << QStringLiteral("Accès au fichier refusé");
        QTest::newRow("parent is a file") << "file/Taux.txt" << QStringLiteral("Erreur E/S 3");
        QTest::newRow("parent missing") << "none/Taux.txt" << QStringLiteral("Erreur E/S 3");
    }
    void failedWriteKeepsTheOldFile()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QDir root(m_dir.path());
        root.mkpath("ro");
        root.mkpath("dir/Taux.txt");
        writeBytes(path("file"), "old");
        const QString ro = path("ro/Taux.txt");
        if (!QFile::exists(ro)) {
            writeBytes(ro, "old\r\n");
            QVERIFY(QFile::setPermissions(ro, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        }
        const QByteArray before = readBytes(path(name));

        RatesList list({"new"});
        QCOMPARE(raised([&] { list.save(path(name)); }), text);
        QCOMPARE(readBytes(path(name)), before);
        QCOMPARE(readBytes(path("file")), QByteArray("old"));
        // Nothing left behind beside the old file.
        QCOMPARE(QDir(path("ro")).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void ioErrorTexts_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("text");
        QTest::newRow("denied") << EACCES << QStringLiteral("Accès au fichier refusé");
        QTest::newRow("read-only file system") << EROFS << QStringLiteral("Accès au fichier refusé");
        QTest::newRow("disk full") << ENOSPC << QStringLiteral("Disque plein");
        QTest::newRow("no such folder") << ENOENT << QStringLiteral("Erreur E/S 3");
        QTest::newRow("too many files") << EMFILE << QStringLiteral("Erreur E/S 4");
        QTest::newRow("device error") << EIO << QStringLiteral("Erreur E/S 29");
    }
    void ioErrorTexts()
    {
        QFETCH(int, error);
        QFETCH(QString, text);
        QCOMPARE(rtl::ioErrorText(ioCodeForErrno(error)), text);
    }
};

QTEST_GUILESS_MAIN(TestRatesFile)
#include "tst_ratesfile.moc"
