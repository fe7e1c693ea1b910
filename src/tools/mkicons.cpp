// Writes the program's icon as the PNG files of a freedesktop icon theme
// ("hicolor/<n>x<n>/apps/berlivo-paye.png" under the folder given), so that
// the desktop menu shows the very picture the windows carry.

#include "widgets/appicons.h"
#include "widgets/application.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <icons folder>\n", argv[0]);
        return 2;
    }
    installFontSubstitutes(); // the script face of the windows' icon
    const QDir root(QString::fromLocal8Bit(argv[1]));
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = root.filePath(QStringLiteral("hicolor/%1x%1/apps").arg(size));
        const QString file = dir + QStringLiteral("/berlivo-paye.png");
        if (!QDir().mkpath(dir) || !programPixmap(size).save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
