// Lays out the five empty day-record tables in the program folder given as
// the one argument. A table already there is left as it is: it holds the
// user's days.

#include "attendance/daytable.h"
#include "common/errors.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <program folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "%s\n", qPrintable(rtl::cannotCreateFile(folder)));
        return 1;
    }
    try {
        for (int tab = 0; tab < 5; ++tab) {
            const QString path = QDir(folder).filePath(tableNameForSlot(tab));
            if (DayTable::createEmpty(path))
                std::printf("%s\n", qPrintable(QDir::toNativeSeparators(path)));
        }
    } catch (const RuntimeError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
