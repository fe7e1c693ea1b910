#pragma once
// What a test needs from the machine (a tool, a print queue, the right to
// mount a small disk, an X server). Missing on a developer's machine, the
// test skips with the reason; under CI=true it fails with it, so that a CI
// run cannot pass by skipping what it is there to check.

#include <QtTest>

inline bool underCi() { return qEnvironmentVariable("CI") == QLatin1String("true"); }

#define SKIP_UNLESS_CI(reason)                                                                                         \
    do {                                                                                                               \
        if (underCi())                                                                                                 \
            QFAIL(qPrintable(QStringLiteral("under CI=true: ") + QString(reason)));                                    \
        QSKIP(qPrintable(QString(reason)));                                                                            \
    } while (false)
