#pragma once
// What every fuzz target shares: a check that stops the run with a report
// (libFuzzer keeps the input that broke it), the input as text in the forms
// a user's files and fields can bring, and a private program folder.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond)                                                                                               \
    do {                                                                                                               \
        if (!(cond)) {                                                                                                 \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);                              \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// The first byte picks how the rest becomes text: UTF-8 (what is typed or
// pasted), Latin-1 (every byte a character), or raw UTF-16 (lone surrogates
// and all).
inline QString textOf(const uint8_t *data, size_t size)
{
    if (size == 0)
        return QString();
    const char *rest = reinterpret_cast<const char *>(data + 1);
    const qsizetype n = qsizetype(size - 1);
    switch (data[0] % 3) {
    case 0: return QString::fromUtf8(rest, n);
    case 1: return QString::fromLatin1(rest, n);
    default: {
        QString s(n / 2, Qt::Uninitialized);
        for (qsizetype i = 0; i < n / 2; ++i)
            s[i] = QChar(char16_t(uint8_t(rest[2 * i]) | uint8_t(rest[2 * i + 1]) << 8));
        return s;
    }
    }
}

// A folder of the fuzz target's own (in memory when /dev/shm exists), set
// as the program folder, ending with "/".
QString fuzzProgramFolder();

// Writes the input as the file a user picked, replacing the previous one.
void writeInputFile(const QString &path, const QByteArray &bytes);
