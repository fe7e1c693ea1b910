// A backup the user picks to restore: a real one, one whose manifest was
// edited, one cut short, or any file named ".zip". Checking it reads the
// archive whole; it must either say what the backup holds, with only names
// that stay inside the program folder, or refuse it with a RuntimeError.
//
// An input starting with "DB:" is instead the bytes of a day table, packed
// with the other files a backup must hold and a manifest whose sizes and
// checksums match: the fuzzer could never forge a SHA-256, and without it
// the check of the table itself (the file a restore would put in place: its
// layout, its triggers and views) is out of its reach.

#include "fuzzcheck.h"

#include "common/errors.h"
#include "attendance/daytable.h"
#include "datafolder/backup.h"

#include <QFile>

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

namespace {
// The files every backup must hold besides the table: a rates file of the
// right form and the four other empty day tables, made once.
const QList<std::pair<QString, QByteArray>> &companions()
{
    static const QList<std::pair<QString, QByteArray>> files = [] {
        QList<std::pair<QString, QByteArray>> list{{QStringLiteral("Taux.txt"), QByteArray("0\r\n").repeated(48)}};
        for (int slot = 1; slot < 5; ++slot) {
            const QString name = tableNameForSlot(slot);
            const QString path = fuzzProgramFolder() + name;
            DayTable::createEmpty(path);
            QFile f(path);
            FUZZ_CHECK(f.open(QIODevice::ReadOnly));
            list.append({name, f.readAll()});
        }
        return list;
    }();
    return files;
}

void packTable(const QString &path, const QByteArray &table)
{
    QList<std::pair<QString, QByteArray>> files = companions();
    files.prepend({QStringLiteral("Enf1.db"), table});
    QJsonArray entries;
    for (const auto &[name, bytes] : files)
        entries.append(
            QJsonObject{{QStringLiteral("name"), name},
                        {QStringLiteral("size"), double(bytes.size())},
                        {QStringLiteral("sha256"),
                         QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex())}});
    const QByteArray manifest =
        QJsonDocument(QJsonObject{{QStringLiteral("format"), QStringLiteral("Berlivo Paye sauvegarde")},
                                  {QStringLiteral("formatVersion"), 2},
                                  {QStringLiteral("files"), entries}})
            .toJson();
    files.append({backup::manifestName, manifest});
    QuaZip zip(path);
    FUZZ_CHECK(zip.open(QuaZip::mdCreate));
    for (const auto &[name, bytes] : files) {
        QuaZipFile f(&zip);
        FUZZ_CHECK(f.open(QIODevice::WriteOnly, QuaZipNewInfo(name)));
        FUZZ_CHECK(f.write(bytes) == bytes.size());
        f.close();
    }
    zip.close();
    FUZZ_CHECK(zip.getZipError() == ZIP_OK);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = fuzzProgramFolder() + QStringLiteral("sauvegarde.zip");
    const QByteArray bytes = bytesOf(data, size);
    const bool table = bytes.startsWith("DB:");
    if (table)
        packTable(path, bytes.mid(3));
    else
        writeInputFile(path, bytes);
    try {
        const backup::Contents c = backup::check(path);
        FUZZ_CHECK(QSet<QString>(c.files.begin(), c.files.end()).size() == c.files.size());
        FUZZ_CHECK(c.bytes >= 0);
        for (const QString &name : c.files) {
            FUZZ_CHECK(!name.isEmpty() && !name.startsWith(QLatin1Char('/')));
            FUZZ_CHECK(!name.split(QLatin1Char('/')).contains(QStringLiteral("..")));
        }
        if (table)
            FUZZ_CHECK(c.files.first() == QStringLiteral("Enf1.db") && c.files.size() == companions().size() + 1);
    } catch (const RuntimeError &e) {
        FUZZ_CHECK(!e.message().isEmpty());
        // A packed table can only be refused for itself.
        if (table)
            FUZZ_CHECK(e.message().contains(QStringLiteral("(table Enf1.db ")));
    }
    return 0;
}
