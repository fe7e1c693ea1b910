#pragma once
// Files in a test's own program folder.

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QtTest>

// The whole content of a file, or a marker that no real file holds.
inline QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

// The rates file the program is installed with.
inline bool copyFirstRates(const QString &destination)
{
    return QFile::copy(QStringLiteral(BERLIVO_SOURCE_DIR "/data/Taux.txt"), destination);
}

// A table of legal values of the given edition whose header matches its
// rows; with the contribution lines' first word, a table of those.
inline QByteArray legalTableFile(const QByteArray &rows, int edition = 1,
                                 const QByteArray &magic = "BERLIVO VALEURS LEGALES")
{
    const QByteArray sum = QCryptographicHash::hash(rows, QCryptographicHash::Sha256).toHex();
    return magic + ';' + QByteArray::number(edition) + ';' + sum + '\n' + rows;
}

// With BERLIVO_SHOTS set (a folder), the X server's whole screen as
// <folder>/<name>.png, taken by ImageMagick's import once the windows have
// painted: run the test with -platform xcb under xvfb-run to look at a window.
inline void screenshot(const QString &name)
{
    const QString folder = qEnvironmentVariable("BERLIVO_SHOTS");
    if (folder.isEmpty())
        return;
    QTest::qWait(300);
    QProcess::execute("import", {"-window", "root", folder + '/' + name + ".png"});
}

// A folder made read-only for whoever runs the test: its mode bits, and for
// a user they do not stop (root), the immutable flag. False when neither
// holds it.
inline bool lockFolder(const QString &folder, bool locked)
{
    QFile::setPermissions(folder, locked ? QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                         : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!locked) {
        QProcess::execute("chattr", {"-i", folder});
        return true;
    }
    const auto writable = [&] {
        QFile probe(folder + "/probe");
        const bool ok = probe.open(QIODevice::WriteOnly);
        probe.remove();
        return ok;
    };
    if (!writable())
        return true;
    QProcess::execute("chattr", {"+i", folder});
    return !writable();
}
