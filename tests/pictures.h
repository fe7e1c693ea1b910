#pragma once
// Pictures and the programs that read them, for the slip picture tests.

#include "testfiles.h"

#include <QDirIterator>
#include <QImage>
#include <QMap>
#include <QProcess>

// The picture as a binary PPM file, the input of the reference encoder.
inline QByteArray ppm(const QImage &picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    QByteArray out = QStringLiteral("P6\n%1 %2\n255\n").arg(rgb.width()).arg(rgb.height()).toLatin1();
    for (int y = 0; y < rgb.height(); ++y)
        out.append(reinterpret_cast<const char *>(rgb.constScanLine(y)), rgb.width() * 3);
    return out;
}

// Runs a program to its end on `input`: its standard output, or a null array
// when it could not run or failed.
inline QByteArray runTool(const QString &program, const QStringList &args, const QByteArray &input = {})
{
    QProcess p;
    p.start(program, args);
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    return p.readAllStandardOutput();
}

// The reference encoder's settings for the saved slips.
inline const QStringList cjpegSettings = {"-quality", "90", "-dct", "float", "-baseline"};

// Every file under a folder, with its contents.
inline QMap<QString, QByteArray> tree(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path, readBytes(path));
    }
    return files;
}
