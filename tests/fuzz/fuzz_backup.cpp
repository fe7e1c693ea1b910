// A backup the user picks to restore: a real one, one whose manifest was
// edited, one cut short, or any file named ".zip". Checking it reads the
// archive whole; it must either say what the backup holds, with only names
// that stay inside the program folder, or refuse it with a RuntimeError.
//
// An input starting with "DB:" is instead the bytes of a day table, packed
// with a manifest whose size and checksum match: the fuzzer could never
// forge a SHA-256, and without it the check of the table itself (the file a
// restore would put in place) is out of its reach.

#include "fuzzcheck.h"

#include "common/errors.h"
#include "datafolder/backup.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

namespace {
void packTable(const QString &path, const QByteArray &table)
{
    const QJsonObject entry{{QStringLiteral("name"), QStringLiteral("Enf1.db")},
                            {QStringLiteral("size"), double(table.size())},
                            {QStringLiteral("sha256"), QString::fromLatin1(QCryptographicHash::hash(
                                                           table, QCryptographicHash::Sha256).toHex())}};
    const QByteArray manifest = QJsonDocument(QJsonObject{{QStringLiteral("format"), QStringLiteral("Berlivo Paye sauvegarde")},
                                                          {QStringLiteral("formatVersion"), 1},
                                                          {QStringLiteral("files"), QJsonArray{entry}}})
                                    .toJson();
    QuaZip zip(path);
    FUZZ_CHECK(zip.open(QuaZip::mdCreate));
    for (const auto &[name, bytes] : {std::pair{QStringLiteral("Enf1.db"), table}, std::pair{backup::manifestName, manifest}}) {
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
            FUZZ_CHECK(c.files == QStringList{QStringLiteral("Enf1.db")} && c.bytes == qint64(size) - 3);
    } catch (const RuntimeError &e) {
        FUZZ_CHECK(!e.message().isEmpty());
        // A packed table can only be refused for itself.
        if (table)
            FUZZ_CHECK(e.message().contains(QStringLiteral("(table Enf1.db abîmée)")));
    }
    return 0;
}
