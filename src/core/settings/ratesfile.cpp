#include "ratesfile.h"

#include "wholefile.h"

#include "common/environment.h"
#include "common/errors.h"
#include "common/text1252.h"

#include <QDir>
#include <QFile>

QString RatesList::line(int n) const { return n >= 0 && n < m_lines.size() ? m_lines.at(n) : QString(); }

void RatesList::setLine(int n, const QString &text)
{
    if (n >= 0 && n < m_lines.size())
        m_lines[n] = text;
}

QStringList RatesList::splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != '\r' && c != '\n')
            continue;
        lines << text.mid(start, i - start);
        if (c == '\r' && i + 1 < text.size() && text.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    // Text after the last line break is a line of its own; a break at the
    // very end does not open one.
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

void RatesList::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError(rtl::cannotOpenFile(QDir::toNativeSeparators(path)));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw RuntimeError(rtl::cannotOpenFile(QDir::toNativeSeparators(path)));
    m_lines = splitLines(fromWin1252(bytes));
}

QByteArray RatesList::fileBytes() const
{
    QByteArray bytes;
    for (int n = 0; n < rates::LineCount; ++n) {
        // A pasted line break would shift every later value by a line.
        QString text = line(n);
        text.replace(QChar('\r'), QChar(' ')).replace(QChar('\n'), QChar(' '));
        bytes += toWin1252(text) + "\r\n";
    }
    return bytes;
}

void RatesList::save(const QString &path) const { writeWholeFile(path, fileBytes()); }

QString ratesFilePath() { return programFolder() + QStringLiteral("Taux.txt"); }
