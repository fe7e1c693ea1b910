#pragma once
// Files in a test's own program folder.

#include <QByteArray>
#include <QFile>
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
