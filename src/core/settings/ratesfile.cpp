#include "ratesfile.h"

#include "paramrecord.h"
#include "wholefile.h"

#include "common/environment.h"
#include "common/errors.h"
#include "common/programfiles.h"
#include "common/text1252.h"

#include <QDir>
#include <QFile>

namespace rates {
namespace {
QStringList buildLineFields()
{
    QStringList f;
    for (int i = 1; i <= ContributionLines; ++i)
        f << QStringLiteral("StaticText%1").arg(i);
    for (int i = 1; i <= 2 * ContributionLines; ++i)
        f << QStringLiteral("Edit%1").arg(i);
    for (const char *base : paramrecord::baseNames)
        f << QString::fromLatin1(base);
    f << QStringLiteral("SH") << QStringLiteral("SHbr") << QStringLiteral("FJ") << QStringLiteral("FJbr")
      << QStringLiteral("conge") << QStringLiteral("Indentr") << QStringLiteral("PD") << QStringLiteral("D")
      << QStringLiteral("G") << QStringLiteral("Sp") << QStringLiteral("ETH") << QStringLiteral("EFJ");
    return f;
}

const QStringList &lineFields()
{
    static const QStringList fields = buildLineFields();
    return fields;
}
} // namespace

QString lineField(int n) { return lineFields().value(n); }
int lineOfField(const QString &field) { return int(lineFields().indexOf(field)); }
} // namespace rates

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

QString ratesFilePath() { return programFolder() + folder::ratesFile; }
