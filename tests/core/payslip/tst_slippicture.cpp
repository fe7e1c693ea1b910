// The slip picture: its JPEG encoding against the reference encoder, its
// decoding and decoding failures, its file name, the save in two steps, and
// the sizes it is printed and shown at.

#include "payslip/jpegcodec.h"
#include "payslip/slippicture.h"
#include "common/errors.h"

#include "pictures.h"
#include "required.h"
#include "raised.h"

#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>

namespace {
// A picture that exercises every part of the encoder: smooth gradients,
// sharp edges and noise, at a size that is no multiple of the 16-pixel MCU.
QImage testPicture(int w, int h, quint32 draw)
{
    QImage img(w, h, QImage::Format_RGB32);
    QRandomGenerator rng(draw);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            if ((x / 40 + y / 24) % 5 == 0)
                line[x] = rng.generate() | 0xff000000u;
            else if ((x / 7) % 9 == 0)
                line[x] = qRgb(0, 0, 0);
            else
                line[x] = qRgb(x * 255 / w, y * 255 / h, (x + y) % 256);
        }
    }
    return img;
}

// A file whose frame header is made to claim another size and coding: 0xC0
// baseline, 0xC2 progressive (whose coefficients the library would hold for
// the whole picture).
QByteArray forged(QByteArray jpeg, int w, int h, uchar frame)
{
    const qsizetype sof = jpeg.indexOf("\xff\xc0");
    jpeg[sof + 1] = char(frame);
    jpeg[sof + 5] = char(h >> 8), jpeg[sof + 6] = char(h);
    jpeg[sof + 7] = char(w >> 8), jpeg[sof + 8] = char(w);
    return jpeg;
}

// The marker segments of a JPEG file up to its first scan: marker -> payload.
QMap<int, QByteArray> segments(const QByteArray &jpeg)
{
    QMap<int, QByteArray> out;
    qsizetype at = 2;
    while (at + 4 <= jpeg.size() && uchar(jpeg[at]) == 0xff) {
        const int marker = uchar(jpeg[at + 1]);
        const int length = uchar(jpeg[at + 2]) << 8 | uchar(jpeg[at + 3]);
        out.insert(marker, jpeg.mid(at + 4, length - 2));
        if (marker == 0xda)
            break;
        at += 2 + length;
    }
    return out;
}

} // namespace

class TestSlipPicture : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_cjpeg, m_djpeg;

    QString folder() const { return m_dir.path() + QLatin1Char('/'); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_cjpeg = QStandardPaths::findExecutable(QStringLiteral("cjpeg"));
        m_djpeg = QStandardPaths::findExecutable(QStringLiteral("djpeg"));
    }

    void encodeMatchesReferenceEncoder_data()
    {
        QTest::addColumn<QImage>("picture");
        QTest::newRow("slip-sized") << testPicture(750, 834, 1);
        QTest::newRow("odd size") << testPicture(17, 9, 2);
        QTest::newRow("one pixel") << testPicture(1, 1, 3);
        // A 32-bit picture with alpha: the alpha is dropped, not blended.
        QTest::newRow("with alpha") << testPicture(64, 48, 5).convertToFormat(QImage::Format_ARGB32);
    }
    void encodeMatchesReferenceEncoder()
    {
        QFETCH(QImage, picture);
        if (m_cjpeg.isEmpty())
            SKIP_UNLESS_CI("cjpeg is not installed (libjpeg-turbo-progs)");
        const QByteArray ours = encodeJpeg(picture);
        const QByteArray reference = runTool(m_cjpeg, cjpegSettings, ppm(picture));
        QVERIFY(!reference.isEmpty());
        QCOMPARE(ours.size(), reference.size());
        QVERIFY(ours == reference);

        // A baseline JFIF of three components at the picture's size.
        const QMap<int, QByteArray> segs = segments(ours);
        QVERIFY(ours.startsWith("\xff\xd8\xff\xe0"));
        QVERIFY(segs.value(0xe0).startsWith(QByteArray("JFIF\0", 5)));
        QVERIFY(!segs.contains(0xc2)); // not progressive
        const QByteArray sof = segs.value(0xc0);
        QCOMPARE(sof.size(), 6 + 3 * 3);
        QCOMPARE(uchar(sof[1]) << 8 | uchar(sof[2]), picture.height());
        QCOMPARE(uchar(sof[3]) << 8 | uchar(sof[4]), picture.width());
        QCOMPARE(int(sof[5]), 3);
    }

    // The decoder gives what the reference decoder gives, pixel for pixel.
    void decodeMatchesReferenceDecoder()
    {
        if (m_djpeg.isEmpty())
            SKIP_UNLESS_CI("djpeg is not installed (libjpeg-turbo-progs)");
        const QImage picture = testPicture(750, 834, 7);
        const QByteArray jpeg = encodeJpeg(picture);
        const QImage decoded = decodeJpeg(jpeg);
        QCOMPARE(decoded.size(), picture.size());
        QCOMPARE(ppm(decoded), runTool(m_djpeg, {"-pnm"}, jpeg));
    }

    void decodeFailures_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QSize>("size");
        const QByteArray good = encodeJpeg(testPicture(120, 90, 9));
        QTest::newRow("empty") << QByteArray() << rtl::jpegError(JERR_INPUT_EMPTY) << QSize(0, 0);
        QTest::newRow("text") << QByteArray("Bulletin de Julie\r\n") << rtl::jpegError(JERR_NO_SOI) << QSize(0, 0);
        // A header cut short reaches the end before any picture.
        QTest::newRow("header cut") << good.left(40) << rtl::jpegError(JERR_NO_IMAGE) << QSize(0, 0);
        // Cut inside the picture data, the decoder only warns: the picture
        // comes out at its size with the missing rows filled in.
        QTest::newRow("truncated") << good.left(good.size() / 2) << QString() << QSize(120, 90);
        QTest::newRow("whole") << good << QString() << QSize(120, 90);
        // A forged size is refused from the header, before anything is
        // allocated for it.
        QTest::newRow("huge") << forged(good, 65000, 65000, 0xc0) << rtl::outOfMemory() << QSize(0, 0);
        QTest::newRow("huge progressive") << forged(good, 65000, 65000, 0xc2) << rtl::outOfMemory() << QSize(0, 0);
        QTest::newRow("just over") << forged(good, 9460, 9460, 0xc2) << rtl::outOfMemory() << QSize(0, 0);
    }
    void decodeFailures()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, error);
        QFETCH(QSize, size);
        QImage decoded;
        QCOMPARE(raised([&] { decoded = decodeJpeg(file); }), error);
        QCOMPARE(decoded.size(), size);
    }

    void load_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content"); // none: no such file; "<folder>": a folder
        QTest::addColumn<QString>("error");      // "%1" stands for the full path
        const QByteArray jpeg = encodeJpeg(testPicture(100, 100, 11));
        QTest::newRow("saved slip") << "Julie0302.jpg" << jpeg << QString();
        QTest::newRow("capitals") << "Julie0402.JPG" << jpeg << QString();
        QTest::newRow("jpeg") << "Julie0502.jpeg" << jpeg << QString();
        QTest::newRow("no name") << "" << QByteArray() << rtl::unknownPictureExtension("");
        QTest::newRow("png") << "Julie0302.png" << jpeg << rtl::unknownPictureExtension("png");
        QTest::newRow("dot in folder only") << "v1.2/Julie" << QByteArray() << rtl::unknownPictureExtension("");
        QTest::newRow("missing") << "Paul0302.jpg" << QByteArray() << rtl::cannotOpenFile("%1");
        QTest::newRow("folder") << "dir.jpg" << QByteArray("<folder>") << rtl::cannotOpenFile("%1");
        QTest::newRow("text renamed") << "notes.jpg" << QByteArray("hello\n") << rtl::jpegError(JERR_NO_SOI);
        QTest::newRow("empty") << "empty.jpg" << QByteArray("") << rtl::jpegError(JERR_INPUT_EMPTY);
    }
    void load()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, error);
        const QString path = name.isEmpty() ? QString() : folder() + name;
        if (content == "<folder>")
            QVERIFY(QDir().mkpath(path));
        else if (!content.isNull())
            writeBytes(path, content);
        QImage loaded;
        const QString failure = raised([&] { loaded = loadSlipPicture(path); });
        if (error.isEmpty()) {
            QCOMPARE(failure, QString());
            QCOMPARE(loaded.size(), QSize(100, 100));
        } else {
            QCOMPARE(failure, error.contains("%1") ? error.arg(path) : error);
        }
    }

    void path_data()
    {
        QTest::addColumn<QString>("firstName");
        QTest::addColumn<QString>("monthKey");
        QTest::addColumn<bool>("refused");
        QTest::newRow("plain") << "Julie"
                               << "0302" << false;
        QTest::newRow("no first name") << ""
                                       << "0302" << false;
        QTest::newRow("kept as typed") << " Zoé-Anne  d'Arc "
                                       << "1299" << false;
        QTest::newRow("slash") << "../../etc/x"
                               << "0302" << true;
        QTest::newRow("backslash") << "a\\b"
                                   << "0302" << true;
        QTest::newRow("dot") << "."
                             << "0302" << true;
        QTest::newRow("dot dot") << ".."
                                 << "0302" << true;
        QTest::newRow("slash in key") << "Julie"
                                      << "03/2" << true;
    }
    void path()
    {
        QFETCH(QString, firstName);
        QFETCH(QString, monthKey);
        QFETCH(bool, refused);
        const QString expected = folder() + "bulljpg/" + firstName + monthKey + ".jpg";
        QString path;
        const QString failure = raised([&] { path = slipPicturePath(folder(), firstName, monthKey); });
        QCOMPARE(failure, refused ? rtl::cannotCreateFile(expected) : QString());
        QCOMPARE(path, refused ? QString() : expected);
    }

    // A save replaces the month's earlier picture only once the new one is
    // whole; the folder is never created; nothing is left behind.
    void save()
    {
        QTemporaryDir dir;
        const QString base = dir.path() + '/';
        const QString path = slipPicturePath(base, "Julie", "0302");
        const QImage first = testPicture(60, 40, 21), second = testPicture(60, 40, 22);

        QCOMPARE(raised([&] { saveSlipPicture(path, first); }), rtl::cannotCreateFile(path));
        QVERIFY(!QFileInfo::exists(base + "bulljpg"));

        QVERIFY(QDir(base).mkdir("bulljpg"));
        saveSlipPicture(path, first);
        QCOMPARE(readBytes(path), encodeJpeg(first));
        saveSlipPicture(path, second);
        QCOMPARE(readBytes(path), encodeJpeg(second));

        {
            // Written but not committed: the earlier picture stays, and the
            // temporary file goes.
            PendingSlipPicture pending(path);
            pending.write(encodeJpeg(first));
            QCOMPARE(readBytes(path), encodeJpeg(second));
        }
        QCOMPARE(QDir(base + "bulljpg").entryList(QDir::Files | QDir::Hidden), QStringList{"Julie0302.jpg"});

        // A name taken by a folder is refused and the folder kept.
        const QString taken = slipPicturePath(base, "Paul", "0302");
        QVERIFY(QDir().mkpath(taken));
        QCOMPARE(raised([&] { saveSlipPicture(taken, first); }), rtl::cannotCreateFile(taken));
        QVERIFY(QFileInfo(taken).isDir());
        QCOMPARE(QDir(base + "bulljpg").entryList(QDir::Files | QDir::Hidden), QStringList{"Julie0302.jpg"});
    }

    // A refused first name writes nothing, anywhere in the folder.
    void refusedNameWritesNothing()
    {
        QTemporaryDir dir;
        const QString base = dir.path() + "/prog/";
        QVERIFY(QDir().mkpath(base + "bulljpg"));
        const auto before = tree(dir.path());
        for (const QString name : {"../x", "../../y", "a/b", "..", "."})
            QCOMPARE(raised([&] { saveSlipPicture(slipPicturePath(base, name, "0302"), testPicture(8, 8, 1)); }),
                     rtl::cannotCreateFile(base + "bulljpg/" + name + "0302.jpg"));
        QCOMPARE(tree(dir.path()), before);
    }

    void fitted_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("shown");
        QTest::newRow("fits") << QSize(100, 100) << QSize(100, 100);
        QTest::newRow("exactly the area") << QSize(705, 789) << QSize(705, 789);
        QTest::newRow("width limits") << QSize(742, 800) << QSize(705, 760);
        QTest::newRow("net slip") << QSize(750, 834) << QSize(705, 783);
        QTest::newRow("tall") << QSize(600, 1600) << QSize(295, 789);
        QTest::newRow("wide") << QSize(1600, 600) << QSize(705, 264);
        QTest::newRow("one too high") << QSize(705, 790) << QSize(704, 789);
        QTest::newRow("square") << QSize(1000, 1000) << QSize(705, 705);
    }
    void fitted()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, shown);
        QCOMPARE(fittedPictureSize(picture, QSize(705, 789)), shown);
    }

    void printed_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QList<int>>("dpi"); // printer x, y, screen x, y
        QTest::addColumn<QSize>("dots");
        QTest::newRow("300 dpi") << QSize(750, 834) << QList<int>{300, 300, 96, 96} << QSize(2344, 2606);
        QTest::newRow("600x300") << QSize(747, 834) << QList<int>{600, 300, 96, 96} << QSize(4669, 2606);
        QTest::newRow("same as screen") << QSize(750, 834) << QList<int>{96, 96, 96, 96} << QSize(750, 834);
        QTest::newRow("half rounds up") << QSize(1, 3) << QList<int>{48, 48, 96, 96} << QSize(1, 2);
        QTest::newRow("large screen dpi") << QSize(750, 834) << QList<int>{300, 300, 120, 144} << QSize(1875, 1738);
        // 2 000 000 × 2400 overflows 32 bits.
        QTest::newRow("64-bit product") << QSize(2000000, 1) << QList<int>{2400, 2400, 96, 96} << QSize(50000000, 25);
    }
    void printed()
    {
        QFETCH(QSize, picture);
        QFETCH(QList<int>, dpi);
        QFETCH(QSize, dots);
        QCOMPARE(printedPictureSize(picture, dpi[0], dpi[1], dpi[2], dpi[3]), dots);
    }
};

QTEST_GUILESS_MAIN(TestSlipPicture)
#include "tst_slippicture.moc"
