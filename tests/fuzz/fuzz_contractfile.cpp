// A contract file whose rows a user or another program wrote: the input's
// bytes become the values of one contract row and one absence (each value a
// whole number, a text or NULL, as its first byte says), written into a file
// of the present layout past SQLite's checks. Reading it must either refuse
// the file with a RuntimeError or give a contract that passes validate().

#include "fuzzcheck.h"

#include "common/errors.h"
#include "contract/contractstore.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {
// The next value of the row, eating the input as it goes.
QVariant nextValue(const uint8_t *&data, size_t &size)
{
    if (size == 0)
        return QVariant();
    const uint8_t kind = data[0];
    ++data;
    --size;
    switch (kind % 3) {
    case 0: {
        qint64 n = 0;
        const size_t bytes = std::min<size_t>(size, 1 + kind / 3 % 8);
        for (size_t i = 0; i < bytes; ++i)
            n = qint64(quint64(n) << 8 | data[i]);
        data += bytes;
        size -= bytes;
        return (kind & 0x80) ? -n : n;
    }
    case 1: {
        const size_t length = std::min<size_t>(size, 10);
        const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(length));
        data += length;
        size -= length;
        return text;
    }
    default: return QVariant();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = fuzzProgramFolder() + QStringLiteral("Contrats.db");
    QFile::remove(path);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fuzz"));
        db.setDatabaseName(path);
        FUZZ_CHECK(db.open());
        for (const QString &statement : contract::schema())
            FUZZ_CHECK(QSqlQuery(db).exec(statement));
        QSqlQuery(db).exec(QStringLiteral("PRAGMA ignore_check_constraints = ON"));
        QSqlQuery q(db);
        q.prepare(QStringLiteral("INSERT INTO Contrats VALUES (1%1)").arg(QStringLiteral(", ?").repeated(16)));
        for (int i = 0; i < 16; ++i)
            q.addBindValue(nextValue(data, size));
        q.exec();
        q.prepare(QStringLiteral("INSERT INTO Absences VALUES (1, 1, ?, ?, ?)"));
        for (int i = 0; i < 3; ++i)
            q.addBindValue(nextValue(data, size));
        q.exec();
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fuzz"));
    const QByteArray before = [] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    try {
        const std::optional<contract::Contract> c = contract::loadContract(path, 1);
        if (c)
            FUZZ_CHECK(contract::validate(*c, std::nullopt).isEmpty());
    } catch (const RuntimeError &e) {
        FUZZ_CHECK(e.message().contains(QStringLiteral("Contrats.db")));
    }
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::ReadOnly) && f.readAll() == before);
    return 0;
}
