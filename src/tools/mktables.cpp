// Lays out a fresh program folder beside the built executable: the first
// rates file, the five empty day-record tables and the folder of slip
// pictures, by the same rule the installed program follows at its first
// start. What is already there is the user's and is left as it is.

#include "common/errors.h"
#include "datafolder/folderlayout.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <program folder> <first Taux.txt>\n", argv[0]);
        return 2;
    }
    try {
        const QStringList created = folder::layOut(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
        for (const QString &path : created)
            std::printf("%s\n", qPrintable(QDir::toNativeSeparators(path)));
    } catch (const RuntimeError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
