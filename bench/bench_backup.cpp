// A backup of a program folder after 25 years of use (five children, one
// record per day each, and 300 saved slip pictures), the check of that
// archive, and its restore; against a plain copy of the same files, the
// least any backup must cost.

#include "datafolder/backup.h"
#include "datafolder/folderlayout.h"

#include "benchfixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace {
QString g_root;   // ends with "/"
QString g_folder; // the program folder
QString g_zip;

void storeYears(const QString &table, int years)
{
    // Two spans of care a day, 08:00 to 12:00 and 13:30 to 17:20, and a lunch.
    storeMonths(g_folder, table, QDate(2002, 1, 1), QDate(2002 + years, 1, 1), [](QDate d) {
        day::Record r = careDay(d);
        r[day::Heure2] = QStringLiteral("12:00:00");
        r[day::Heure3] = QStringLiteral("13:30:00");
        r[day::Heure4] = QStringLiteral("17:20:00");
        r[day::Duree] = QStringLiteral("7.83");
        return r;
    });
}

// A picture the size of a slip window, mostly white with lines of text,
// saved as the print/save window saves them (JPEG, quality 90).
void savePicture(const QString &path, int n)
{
    QImage image(750, 834, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(QFont(QStringLiteral("Liberation Sans"), 9));
    for (int line = 0; line < 48; ++line)
        p.drawText(24, 30 + line * 16,
                   QStringLiteral("Ligne %1 du bulletin %2   Salaire de base   %3.%4 €   Cotisation   %5")
                       .arg(line)
                       .arg(n)
                       .arg(1000 + n * 7 + line)
                       .arg(line % 100, 2, 10, QChar('0'))
                       .arg(n * line));
    p.drawRect(10, 10, 730, 814);
    p.end();
    image.save(path, "JPEG", 90);
}

qint64 folderBytes(const QString &folder)
{
    qint64 total = 0;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        total += it.fileInfo().size();
    }
    return total;
}

void BM_Backup(benchmark::State &state)
{
    for (auto _ : state)
        backup::create(g_folder, g_zip);
    state.counters["archive_MB"] = double(QFileInfo(g_zip).size()) / 1e6;
    state.counters["data_MB"] = double(folderBytes(g_folder)) / 1e6;
}
BENCHMARK(BM_Backup)->Unit(benchmark::kMillisecond)->Name("backup and restore: backup");

void BM_Check(benchmark::State &state)
{
    for (auto _ : state)
        backup::check(g_zip);
}
BENCHMARK(BM_Check)->Unit(benchmark::kMillisecond)->Name("backup and restore: check of the archive");

void BM_Restore(benchmark::State &state)
{
    for (auto _ : state) {
        const QString kept = backup::Restore(g_folder, g_zip).apply();
        state.PauseTiming();
        QDir(kept).removeRecursively();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Restore)->Unit(benchmark::kMillisecond)->Name("backup and restore: restore");

// The same files copied one by one to another folder on the same disk.
void BM_PlainCopy(benchmark::State &state)
{
    const QString copy = g_root + QStringLiteral("copy");
    for (auto _ : state) {
        state.PauseTiming();
        QDir(copy).removeRecursively();
        state.ResumeTiming();
        QDirIterator it(g_folder, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString from = it.next();
            const QString to = copy + '/' + QDir(g_folder).relativeFilePath(from);
            QDir().mkpath(QFileInfo(to).path());
            QFile::copy(from, to);
        }
    }
}
BENCHMARK(BM_PlainCopy)
    ->Unit(benchmark::kMillisecond)
    ->Name("backup and restore: plain copy of the same files (baseline)");
} // namespace

int main(int argc, char **argv)
{
    BenchRun<QGuiApplication> bench(argc, argv);
    // The folder backed up inside the bench's own, the archive beside it.
    g_root = programFolder();
    g_folder = g_root + QStringLiteral("data/");
    g_zip = g_root + QStringLiteral("sauvegarde.zip");
    folder::layOut(g_folder, QStringLiteral(BERLIVO_SOURCE_DIR "/data/Taux.txt"));
    QFile params(g_folder + folder::paramFile);
    if (params.open(QIODevice::WriteOnly))
        params.write(QByteArray(5680, ' '));
    params.close();
    for (const QString &table : folder::dayTables())
        storeYears(table, 25);
    for (int n = 0; n < 300; ++n)
        savePicture(g_folder + QStringLiteral("bulljpg/Enfant%1%2.jpg").arg(n % 5 + 1).arg(n, 4, 10, QChar('0')), n);

    return bench.run();
}
