#include "contract/contractstore.h"

#include "common/counts.h"
#include "common/environment.h"
#include "common/errors.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QVariant>

namespace contract {

namespace {
const QString driver = QStringLiteral("QSQLITE");
const QStringList weekdayColumns = {"lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi", "dimanche"};

// Each table and its columns, in order: what a file must hold to be read.
// Of the first layout, the same without the paid leave's payment.
QList<std::pair<QString, QStringList>> layout(int version)
{
    QStringList contracts =
        QStringList{"enfant", "type", "debut", "fin"} + weekdayColumns + QStringList{"semaines", "maj_hc", "maj_hm"};
    if (version >= 2)
        contracts << QStringLiteral("paiement_cp");
    if (version >= 3)
        contracts << QStringLiteral("motif_fin") << QStringLiteral("date_notification");
    return {
        {"Contrats", contracts},
        {"Periodes", {"enfant", "ligne", "du", "au"}},
        {"Absences", {"enfant", "ligne", "du", "au", "motif"}},
    };
}

// The same definition in a new file and in an upgraded one, so that both
// have one layout.
const QString leavePaymentColumn =
    QStringLiteral("paiement_cp INTEGER NOT NULL DEFAULT 0 CHECK (paiement_cp BETWEEN 0 AND 2)");
// Why the contract ends and when the letter was first presented; NULL while
// no end is given.
const QStringList endColumns = {
    QStringLiteral("motif_fin INTEGER CHECK (motif_fin BETWEEN 0 AND 4)"),
    QStringLiteral("date_notification TEXT"),
};

QString native(const QString &path) { return QDir::toNativeSeparators(path); }
QString engineText(const QSqlError &e) { return e.text().trimmed(); }
QString isoDate(QDate d) { return d.isValid() ? d.toString(isoDateFormat()) : QString(); }
QDate fromIso(const QVariant &v) { return QDate::fromString(v.toString(), isoDateFormat()); }

// One connection for the length of one call.
class Connection {
public:
    Connection(const QString &path, bool readOnly)
    {
        static QAtomicInt counter;
        m_name = QStringLiteral("berlivo-contracts-%1").arg(counter.fetchAndAddRelaxed(1) + 1);
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, m_name);
        if (readOnly) {
            db.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=ro"));
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=2000"));
        } else {
            db.setDatabaseName(path);
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
        }
        m_open = db.open();
        if (!m_open)
            m_error = engineText(db.lastError());
    }
    ~Connection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    bool open() const { return m_open; }
    QString error() const { return m_error; }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
    bool m_open = false;
    QString m_error;
};

enum class State { Empty, Sound, Older, Foreign, Newer };

// What the file holds: nothing yet (a new file), this layout, something
// else, or a later layout. A file SQLite cannot read is foreign.
State stateOf(const QSqlDatabase &db, int *versionFound = nullptr)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        return State::Foreign;
    const int version = q.value(0).toInt();
    if (versionFound)
        *versionFound = version;
    q.finish();
    if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !q.next())
        return State::Foreign;
    const int objects = q.value(0).toInt();
    q.finish();
    if (version == 0 && objects == 0)
        return State::Empty;
    if (version > SchemaVersion)
        return State::Newer;
    if (version < 1)
        return State::Foreign;
    for (const auto &[table, columns] : layout(version)) {
        QStringList found;
        if (!q.exec(QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(table)))
            return State::Foreign;
        while (q.next())
            found << q.value(0).toString();
        q.finish();
        if (found != columns)
            return State::Foreign;
    }
    if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next() || q.value(0).toString() != QLatin1String("ok"))
        return State::Foreign;
    q.finish();
    return version == SchemaVersion ? State::Sound : State::Older;
}

QString refusal(State s, const QString &path)
{
    switch (s) {
    case State::Foreign: return contractmsg::notAContractFile(native(path));
    case State::Newer: return contractmsg::newerContractFile(native(path));
    default: return {};
    }
}

bool ownerMayWrite(const QString &path) { return QFileInfo(path).permissions() & QFileDevice::WriteOwner; }
} // namespace

QStringList schema()
{
    QStringList weekdays;
    for (const QString &d : weekdayColumns)
        weekdays << d + QStringLiteral(" INTEGER NOT NULL CHECK (%1 BETWEEN 0 AND 1440)").arg(d);
    return {
        // Dates are YYYY-MM-DD, planned hours whole minutes, rates whole percents.
        QStringLiteral("CREATE TABLE Contrats (\n"
                       "  enfant INTEGER PRIMARY KEY CHECK (enfant BETWEEN 1 AND %2),\n"
                       "  type INTEGER NOT NULL CHECK (type BETWEEN 0 AND 2),\n"
                       "  debut TEXT NOT NULL,\n"
                       "  fin TEXT,  -- NULL while the end is not known\n"
                       "  %1,\n"
                       "  semaines INTEGER NOT NULL,\n"
                       "  maj_hc INTEGER NOT NULL,\n"
                       "  maj_hm INTEGER NOT NULL,\n"
                       "  %3,\n"
                       "  %4\n"
                       ")")
            .arg(weekdays.join(QStringLiteral(",\n  ")))
            .arg(ChildCount)
            .arg(leavePaymentColumn, endColumns.join(QStringLiteral(",\n  "))),
        QStringLiteral("CREATE TABLE Periodes (\n"
                       "  enfant INTEGER NOT NULL REFERENCES Contrats (enfant),\n"
                       "  ligne INTEGER NOT NULL,\n"
                       "  du TEXT NOT NULL,\n"
                       "  au TEXT NOT NULL,\n"
                       "  PRIMARY KEY (enfant, ligne)\n"
                       ") WITHOUT ROWID"),
        QStringLiteral("CREATE TABLE Absences (\n"
                       "  enfant INTEGER NOT NULL REFERENCES Contrats (enfant),\n"
                       "  ligne INTEGER NOT NULL,\n"
                       "  du TEXT NOT NULL,\n"
                       "  au TEXT NOT NULL,\n"
                       "  motif INTEGER NOT NULL CHECK (motif BETWEEN 0 AND 4),\n"
                       "  PRIMARY KEY (enfant, ligne)\n"
                       ") WITHOUT ROWID"),
        QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion),
    };
}

QStringList upgrade(int fromVersion)
{
    if (fromVersion < 1 || fromVersion >= SchemaVersion)
        return {};
    QStringList columns;
    if (fromVersion < 2)
        columns << leavePaymentColumn;
    columns << endColumns;
    QStringList statements;
    for (const QString &column : std::as_const(columns))
        statements << QStringLiteral("ALTER TABLE Contrats ADD COLUMN ") + column;
    return statements << QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion);
}

QString checkContractFile(const QString &path)
{
    Connection c(path, true);
    if (!c.open())
        return contractmsg::notAContractFile(native(path));
    const State s = stateOf(c.db());
    return s == State::Sound || s == State::Older ? QString() : refusal(s == State::Empty ? State::Foreign : s, path);
}

std::optional<Contract> loadContract(const QString &path, int slot)
{
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    Connection c(path, true);
    if (!c.open())
        throw RuntimeError(contractmsg::readFailed(native(path), c.error()));
    int version = 0;
    const State s = stateOf(c.db(), &version);
    if (s == State::Empty)
        return std::nullopt;
    if (s != State::Sound && s != State::Older)
        throw RuntimeError(refusal(s, path));

    QSqlQuery q(c.db());
    q.setForwardOnly(true);
    auto run = [&](const QString &sql) {
        q.prepare(sql);
        q.addBindValue(slot);
        if (!q.exec())
            throw RuntimeError(contractmsg::readFailed(native(path), engineText(q.lastError())));
    };
    // An older file reads as it would have been brought up to date.
    run(QStringLiteral("SELECT type, debut, fin, %1, semaines, maj_hc, maj_hm, %2, %3 FROM Contrats WHERE enfant = ?")
            .arg(weekdayColumns.join(QStringLiteral(", ")),
                 version >= 2 ? QStringLiteral("paiement_cp") : QStringLiteral("0"),
                 version >= 3 ? QStringLiteral("motif_fin, date_notification") : QStringLiteral("NULL, NULL")));
    if (!q.next())
        return std::nullopt;
    Contract k;
    k.kind = Kind(qBound(0, q.value(0).toInt(), 2));
    k.first = fromIso(q.value(1));
    k.last = fromIso(q.value(2));
    for (int i = 0; i < 7; ++i)
        k.plannedMinutes[size_t(i)] = q.value(3 + i).toInt();
    k.weeks = q.value(10).toInt();
    k.majHC = q.value(11).toInt();
    k.majHM = q.value(12).toInt();
    k.leavePayment = LeavePayment(qBound(0, q.value(13).toInt(), 2));
    if (!q.value(14).isNull())
        k.endReason = EndReason(qBound(0, q.value(14).toInt(), 4));
    k.notified = fromIso(q.value(15));
    q.finish();
    run(QStringLiteral("SELECT du, au FROM Periodes WHERE enfant = ? ORDER BY ligne"));
    while (q.next())
        k.periodsWithoutCare << DateRange{fromIso(q.value(0)), fromIso(q.value(1))};
    q.finish();
    run(QStringLiteral("SELECT du, au, motif FROM Absences WHERE enfant = ? ORDER BY ligne"));
    while (q.next())
        k.absences << Absence{{fromIso(q.value(0)), fromIso(q.value(1))}, Reason(qBound(0, q.value(2).toInt(), 4))};
    q.finish();
    return k;
}

void storeContract(const QString &path, int slot, const Contract &k)
{
    const bool existed = QFileInfo::exists(path);
    // A file whose owner may not write it stays as it is, even for root.
    if (existed && !ownerMayWrite(path))
        throw RuntimeError(contractmsg::storeFailed(native(path), rtl::accessDenied()));
    QString error;
    {
        Connection c(path, false);
        if (!c.open())
            throw RuntimeError(contractmsg::storeFailed(native(path), c.error()));
        QSqlDatabase db = c.db();
        int version = 0;
        const State s = stateOf(db, &version);
        if (s == State::Foreign || s == State::Newer)
            throw RuntimeError(refusal(s, path));

        QSqlQuery q(db);
        auto exec = [&](const QString &sql, const QVariantList &values) {
            if (!error.isEmpty())
                return;
            q.prepare(sql);
            for (const QVariant &v : values)
                q.addBindValue(v);
            if (!q.exec())
                error = engineText(q.lastError());
            q.finish();
        };
        if (!db.transaction())
            error = engineText(db.lastError());
        if (s == State::Empty)
            for (const QString &statement : schema())
                exec(statement, {});
        if (s == State::Older)
            for (const QString &statement : upgrade(version))
                exec(statement, {});
        for (const char *table : {"Periodes", "Absences", "Contrats"})
            exec(QStringLiteral("DELETE FROM %1 WHERE enfant = ?").arg(QLatin1String(table)), {slot});
        QVariantList row{slot, int(k.kind), isoDate(k.first),
                         k.last.isValid() ? QVariant(isoDate(k.last)) : QVariant()};
        for (int m : k.plannedMinutes)
            row << m;
        row << k.weeks << k.majHC << k.majHM << int(k.leavePayment)
            << (k.endReason ? QVariant(int(*k.endReason)) : QVariant())
            << (k.notified.isValid() ? QVariant(isoDate(k.notified)) : QVariant());
        exec(QStringLiteral("INSERT INTO Contrats VALUES (%1)").arg(QStringList(row.size(), "?").join(',')), row);
        for (int i = 0; i < k.periodsWithoutCare.size(); ++i) {
            const DateRange &p = k.periodsWithoutCare[i];
            exec(QStringLiteral("INSERT INTO Periodes VALUES (?, ?, ?, ?)"),
                 {slot, i + 1, isoDate(p.from), isoDate(p.to)});
        }
        for (int i = 0; i < k.absences.size(); ++i) {
            const Absence &a = k.absences[i];
            exec(QStringLiteral("INSERT INTO Absences VALUES (?, ?, ?, ?, ?)"),
                 {slot, i + 1, isoDate(a.range.from), isoDate(a.range.to), int(a.reason)});
        }
        if (error.isEmpty() && !db.commit())
            error = engineText(db.lastError());
        if (!error.isEmpty())
            db.rollback();
    }
    if (!error.isEmpty()) {
        // A first contract that could not be stored leaves no file behind.
        if (!existed) {
            QFile::remove(path);
            QFile::remove(path + QStringLiteral("-journal"));
        }
        throw RuntimeError(contractmsg::storeFailed(native(path), error));
    }
}

} // namespace contract
