#include "contract/contractstore.h"

#include "common/counts.h"
#include "common/dblayout.h"
#include "common/environment.h"
#include "common/errors.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QVariant>
#include <sqlite3.h>

namespace contract {

namespace {
const QString driver = QStringLiteral("QSQLITE");
const QStringList weekdayColumns = {"lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi", "dimanche"};
// Each weekday's planned times (fifth layout): the arrival, the break's
// start and its end, in minutes after midnight, NULL while not given.
QStringList timeColumns()
{
    QStringList columns;
    for (const QString &d : weekdayColumns)
        columns << QStringLiteral("arrivee_") + d << QStringLiteral("pause_") + d << QStringLiteral("reprise_") + d;
    return columns;
}
const QStringList holidayColumns = {"alsace_moselle", "feries_travailles"};
const QStringList contractColumns =
    QStringList{"type", "debut", "fin"} + weekdayColumns +
    QStringList{"semaines", "maj_hc", "maj_hm", "paiement_cp", "motif_fin", "date_notification"} + timeColumns() +
    holidayColumns;

// The present columns as a file of `version` holds them: a column it does
// not know yet reads as its value in a contract of that time (the leave paid
// in June, no end given).
QStringList columnsAsOf(int version)
{
    QStringList columns = contractColumns;
    if (version < 2)
        columns.replace(columns.indexOf(QStringLiteral("paiement_cp")), QStringLiteral("0"));
    if (version < 3) {
        columns.replace(columns.indexOf(QStringLiteral("motif_fin")), QStringLiteral("NULL"));
        columns.replace(columns.indexOf(QStringLiteral("date_notification")), QStringLiteral("NULL"));
    }
    // Before the fifth layout a contract had hours and no times, and knew
    // only the national holidays, none of them worked.
    if (version < 5) {
        for (const QString &t : timeColumns())
            columns.replace(columns.indexOf(t), QStringLiteral("NULL"));
        for (const QString &h : holidayColumns)
            columns.replace(columns.indexOf(h), QStringLiteral("0"));
    }
    return columns;
}

// The column definitions of the layouts before the fourth, kept word for
// word: an older file is taken only with exactly the layout it was given.
const QString leavePaymentColumn =
    QStringLiteral("paiement_cp INTEGER NOT NULL DEFAULT 0 CHECK (paiement_cp BETWEEN 0 AND 2)");
const QStringList endColumns = {
    QStringLiteral("motif_fin INTEGER CHECK (motif_fin BETWEEN 0 AND 4)"),
    QStringLiteral("date_notification TEXT"),
};

// The checks of the present layout, made from the ranges a typed value is
// held to: a row SQLite accepts is one the contract window could have stored.
QString whole(const QString &column, IntRange r, bool mayBeNull = false)
{
    return QStringLiteral("CHECK (%1typeof(%2) = 'integer' AND %2 BETWEEN %3 AND %4)")
        .arg(mayBeNull ? QStringLiteral("%1 IS NULL OR ").arg(column) : QString(), column)
        .arg(r.min)
        .arg(r.max);
}
QString day(const QString &column)
{
    // date() gives back the same text only for a real day written YYYY-MM-DD.
    return QStringLiteral("CHECK (%1 = date(%1) AND %1 BETWEEN '%2' AND '%3')")
        .arg(column, FirstDateAllowed.toString(isoDateFormat()), LastDateAllowed.toString(isoDateFormat()));
}

QString native(const QString &path) { return QDir::toNativeSeparators(path); }
QString engineText(const QSqlError &e) { return e.text().trimmed(); }
QString isoDate(QDate d) { return d.isValid() ? d.toString(isoDateFormat()) : QString(); }
bool diskFull(const QSqlError &e) { return (e.nativeErrorCode().toInt() & 0xff) == SQLITE_FULL; }

// SQLite leaves a journal beside a file whose write was interrupted (the
// program killed in the middle of a store); only a connection that may
// write can roll it back, and a read-only one sees a damaged file.
bool interruptedWrite(const QString &path)
{
    return QFileInfo::exists(path + QStringLiteral("-journal")) || QFileInfo::exists(path + QStringLiteral("-wal"));
}
bool ownerMayWrite(const QString &path) { return QFileInfo(path).permissions() & QFileDevice::WriteOwner; }

// One connection for the length of one call.
class Connection {
public:
    enum Mode { Read, Write };
    Connection(const QString &path, Mode mode)
    {
        static QAtomicInt counter;
        m_name = QStringLiteral("berlivo-contracts-%1").arg(counter.fetchAndAddRelaxed(1) + 1);
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, m_name);
        // A read opens the file read-only, unless a write was interrupted
        // there and the file may be written: it then opens it for writing
        // (never creating it), so that SQLite puts back the last whole
        // contract before anything is judged.
        const bool recover = mode == Read && interruptedWrite(path) && ownerMayWrite(path) &&
                             QFileInfo(QFileInfo(path).absolutePath()).isWritable();
        if (mode == Read) {
            db.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) +
                               (recover ? QStringLiteral("?mode=rw") : QStringLiteral("?mode=ro")));
            db.setConnectOptions(recover ? QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000")
                                         : QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY;"
                                                          "QSQLITE_BUSY_TIMEOUT=2000"));
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

// What the file holds, judged as a restored file is (see dblayout.h).
dblayout::Finding judge(const QSqlDatabase &db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return {};
    sqlite3 *h = *static_cast<sqlite3 *const *>(handle.constData());
    if (!h)
        return {};
    return dblayout::judge(h, {&schema, &upgrade, &schemaOf});
}

// The refusal of a file that is not a contract file this program may read,
// or "" for one it may.
QString refusal(dblayout::Verdict v, const QString &path)
{
    switch (v) {
    case dblayout::Verdict::Current:
    case dblayout::Verdict::Older:
    case dblayout::Verdict::Empty: return {};
    case dblayout::Verdict::Newer: return contractmsg::newerContractFile(native(path));
    default: return contractmsg::notAContractFile(native(path));
    }
}

// Reads the slot's contract from a file already judged sound, into `out`
// (left empty when the slot has none). Every value is held to the ranges a
// typed one is, and the whole contract to the checks a stored one passed:
// a file holding anything else is refused, never mended in silence.
void readSlot(const QSqlDatabase &db, const QString &path, int version, int slot, std::optional<Contract> *out)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    auto run = [&](const QString &sql) {
        q.prepare(sql);
        q.addBindValue(slot);
        if (!q.exec())
            throw RuntimeError(contractmsg::readFailed(native(path), engineText(q.lastError())));
    };
    QString fault;
    auto integer = [&](const QVariant &v, const QString &field) {
        bool ok = false;
        const qlonglong n = v.toLongLong(&ok);
        if (fault.isEmpty() && (v.typeId() != QMetaType::LongLong || !ok || n != int(n)))
            fault = contractmsg::notAWholeNumber(field, v.toString());
        return int(n);
    };
    auto date = [&](const QVariant &v, const QString &field, bool mayBeNull) {
        if (mayBeNull && v.isNull())
            return QDate();
        const QDate d = QDate::fromString(v.toString(), isoDateFormat());
        if (fault.isEmpty() && (v.typeId() != QMetaType::QString || isoDate(d) != v.toString()))
            fault = contractmsg::notAStoredDate(field, v.toString());
        return d;
    };
    // An older file reads as it would have been brought up to date.
    run(QStringLiteral("SELECT %1 FROM Contrats WHERE enfant = ?")
            .arg(columnsAsOf(version).join(QStringLiteral(", "))));
    out->reset();
    if (!q.next())
        return;
    Contract k;
    k.kind = Kind(integer(q.value(0), QStringLiteral("Type de contrat")));
    k.first = date(q.value(1), FirstCaption, false);
    k.last = date(q.value(2), LastCaption, true);
    for (int i = 0; i < 7; ++i)
        k.plannedMinutes[size_t(i)] = integer(q.value(3 + i), weekdayTexts().at(i));
    k.weeks = integer(q.value(10), WeeksCaption);
    k.majHC = integer(q.value(11), MajHCCaption);
    k.majHM = integer(q.value(12), majHMCaption(std::nullopt));
    k.leavePayment = LeavePayment(integer(q.value(13), QStringLiteral("Paiement des congés")));
    if (!q.value(14).isNull())
        k.endReason = EndReason(integer(q.value(14), QStringLiteral("Motif de la fin")));
    k.notified = date(q.value(15), NotifiedCaption, true);
    auto time = [&](const QVariant &v, const QString &field) {
        return v.isNull() ? std::optional<int>() : std::optional<int>(integer(v, field));
    };
    for (int i = 0; i < 7; ++i) {
        const QString field = weekdayTexts().at(i);
        DayTimes &t = k.plannedTimes[size_t(i)];
        t.arrival = time(q.value(16 + 3 * i), field);
        t.breakFrom = time(q.value(17 + 3 * i), field);
        t.breakTo = time(q.value(18 + 3 * i), field);
    }
    auto flag = [&](const QVariant &v, const QString &field) {
        const int n = integer(v, field);
        if (fault.isEmpty())
            fault = rangeFault(field, n, {0, 1});
        return n == 1;
    };
    k.alsaceMoselle = flag(q.value(37), AlsaceMoselleCaption);
    k.holidaysWorked = flag(q.value(38), HolidaysWorkedCaption);
    q.finish();
    run(QStringLiteral("SELECT du, au FROM Periodes WHERE enfant = ? ORDER BY ligne"));
    while (q.next() && fault.isEmpty()) {
        const QString field = QStringLiteral("Périodes sans accueil, ligne %1").arg(k.periodsWithoutCare.size() + 1);
        k.periodsWithoutCare << DateRange{date(q.value(0), field, false), date(q.value(1), field, false)};
    }
    q.finish();
    run(QStringLiteral("SELECT du, au, motif FROM Absences WHERE enfant = ? ORDER BY ligne"));
    while (q.next() && fault.isEmpty()) {
        const QString field = QStringLiteral("Absences, ligne %1").arg(k.absences.size() + 1);
        k.absences << Absence{{date(q.value(0), field, false), date(q.value(1), field, false)},
                              Reason(integer(q.value(2), field + QStringLiteral(", motif")))};
    }
    q.finish();
    if (fault.isEmpty())
        fault = validate(k, std::nullopt);
    if (!fault.isEmpty())
        throw RuntimeError(contractmsg::damagedContractFile(native(path), slot, fault));
    *out = k;
}

// Why the open file is not one this program may read or write, or "": its
// layout, then every child's contract.
QString fileFault(const QSqlDatabase &db, const QString &path, dblayout::Finding *finding)
{
    *finding = judge(db);
    if (QString refused = refusal(finding->verdict, path); !refused.isEmpty())
        return refused;
    if (finding->verdict == dblayout::Verdict::Empty)
        return {};
    try {
        std::optional<Contract> ignored;
        for (int slot = 1; slot <= ChildCount; ++slot)
            readSlot(db, path, finding->version, slot, &ignored);
    } catch (const RuntimeError &e) {
        return e.message();
    }
    return {};
}
} // namespace

QStringList schemaOf(int version)
{
    if (version < 1 || version > SchemaVersion)
        return {};
    QStringList weekdays;
    QString contracts;
    QString periods, absences;
    if (version < 4) {
        for (const QString &d : weekdayColumns)
            weekdays << d + QStringLiteral(" INTEGER NOT NULL CHECK (%1 BETWEEN 0 AND 1440)").arg(d);
        QStringList later;
        if (version >= 2)
            later << leavePaymentColumn;
        if (version >= 3)
            later << endColumns;
        contracts =
            QStringLiteral("CREATE TABLE Contrats (\n"
                           "  enfant INTEGER PRIMARY KEY CHECK (enfant BETWEEN 1 AND %2),\n"
                           "  type INTEGER NOT NULL CHECK (type BETWEEN 0 AND 2),\n"
                           "  debut TEXT NOT NULL,\n"
                           "  fin TEXT,  -- NULL while the end is not known\n"
                           "  %1,\n"
                           "  semaines INTEGER NOT NULL,\n"
                           "  maj_hc INTEGER NOT NULL,\n"
                           "  maj_hm INTEGER NOT NULL%3\n"
                           ")")
                .arg(weekdays.join(QStringLiteral(",\n  ")))
                .arg(ChildCount)
                .arg(later.isEmpty() ? QString() : QStringLiteral(",\n  ") + later.join(QStringLiteral(",\n  ")));
        periods = QStringLiteral("CREATE TABLE Periodes (\n"
                                 "  enfant INTEGER NOT NULL REFERENCES Contrats (enfant),\n"
                                 "  ligne INTEGER NOT NULL,\n"
                                 "  du TEXT NOT NULL,\n"
                                 "  au TEXT NOT NULL,\n"
                                 "  PRIMARY KEY (enfant, ligne)\n"
                                 ") WITHOUT ROWID");
        absences = QStringLiteral("CREATE TABLE Absences (\n"
                                  "  enfant INTEGER NOT NULL REFERENCES Contrats (enfant),\n"
                                  "  ligne INTEGER NOT NULL,\n"
                                  "  du TEXT NOT NULL,\n"
                                  "  au TEXT NOT NULL,\n"
                                  "  motif INTEGER NOT NULL CHECK (motif BETWEEN 0 AND 4),\n"
                                  "  PRIMARY KEY (enfant, ligne)\n"
                                  ") WITHOUT ROWID");
    } else {
        for (const QString &d : weekdayColumns)
            weekdays << d + QStringLiteral(" INTEGER NOT NULL ") + whole(d, DayMinutesRange);
        // Dates are YYYY-MM-DD, planned hours whole minutes, rates whole percents.
        QStringList contractLines{
                QStringLiteral("CREATE TABLE Contrats (\n  enfant INTEGER PRIMARY KEY CHECK (enfant BETWEEN 1 AND %1)")
                    .arg(ChildCount),
                QStringLiteral("type INTEGER NOT NULL ") + whole(QStringLiteral("type"), KindRange),
                QStringLiteral("debut TEXT NOT NULL ") + day(QStringLiteral("debut")),
                QStringLiteral("fin TEXT ") + day(QStringLiteral("fin")) +
                    QStringLiteral(",  -- NULL while the end is not known\n  ") +
                    weekdays.join(QStringLiteral(",\n  ")),
                QStringLiteral("semaines INTEGER NOT NULL ") + whole(QStringLiteral("semaines"), WeeksRange),
                QStringLiteral("maj_hc INTEGER NOT NULL ") + whole(QStringLiteral("maj_hc"), MajorationRange),
                QStringLiteral("maj_hm INTEGER NOT NULL ") + whole(QStringLiteral("maj_hm"), MajorationRange),
                QStringLiteral("paiement_cp INTEGER NOT NULL DEFAULT 0 ") +
                    whole(QStringLiteral("paiement_cp"), LeavePaymentRange),
                // Why the contract ends and when the letter was first
                // presented; NULL while no end is given.
                QStringLiteral("motif_fin INTEGER ") + whole(QStringLiteral("motif_fin"), EndReasonRange, true),
                QStringLiteral("date_notification TEXT ") + day(QStringLiteral("date_notification")),
            };
        // The planned times and the holiday options came with the fifth layout.
        if (version >= 5) {
            for (const QString &t : timeColumns())
                contractLines << t + QStringLiteral(" INTEGER ") + whole(t, DayMinutesRange, true);
            for (const QString &h : holidayColumns)
                contractLines << h + QStringLiteral(" INTEGER NOT NULL DEFAULT 0 ") + whole(h, {0, 1});
        }
        contracts = contractLines
                .join(QStringLiteral(",\n  ")) +
            QStringLiteral("\n)");
        const QString ranges = QStringLiteral("  enfant INTEGER NOT NULL REFERENCES Contrats (enfant),\n"
                                              "  ligne INTEGER NOT NULL,\n"
                                              "  du TEXT NOT NULL %1,\n"
                                              "  au TEXT NOT NULL %2,\n")
                                   .arg(day(QStringLiteral("du")), day(QStringLiteral("au")));
        periods = QStringLiteral("CREATE TABLE Periodes (\n") + ranges +
                  QStringLiteral("  CHECK (au >= du),\n  PRIMARY KEY (enfant, ligne)\n) WITHOUT ROWID");
        absences = QStringLiteral("CREATE TABLE Absences (\n") + ranges + QStringLiteral("  motif INTEGER NOT NULL ") +
                   whole(QStringLiteral("motif"), ReasonRange) +
                   QStringLiteral(",\n  CHECK (au >= du),\n  PRIMARY KEY (enfant, ligne)\n) WITHOUT ROWID");
    }
    return {contracts, periods, absences, QStringLiteral("PRAGMA user_version = %1").arg(version)};
}

QStringList schema() { return schemaOf(SchemaVersion); }

QStringList upgrade(int fromVersion)
{
    if (fromVersion < 1 || fromVersion >= SchemaVersion)
        return {};
    // The fourth layout's checks cannot be added to a table: each table is
    // made anew with them (and the fifth's columns), and its rows copied in (a row outside them stops
    // the upgrade, and the file is refused as it stands).
    QStringList statements;
    const QStringList tables = {QStringLiteral("Contrats"), QStringLiteral("Periodes"), QStringLiteral("Absences")};
    for (const QString &t : tables)
        statements << QStringLiteral("ALTER TABLE %1 RENAME TO ancien_%1").arg(t);
    statements << schema().mid(0, 3);
    statements << QStringLiteral("INSERT INTO Contrats (enfant, %1) SELECT enfant, %2 FROM ancien_Contrats")
                      .arg(contractColumns.join(QStringLiteral(", ")),
                           columnsAsOf(fromVersion).join(QStringLiteral(", ")))
               << QStringLiteral("INSERT INTO Periodes SELECT enfant, ligne, du, au FROM ancien_Periodes")
               << QStringLiteral("INSERT INTO Absences SELECT enfant, ligne, du, au, motif FROM ancien_Absences");
    for (auto t = tables.crbegin(); t != tables.crend(); ++t)
        statements << QStringLiteral("DROP TABLE ancien_%1").arg(*t);
    return statements << QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion);
}

QString checkContractFile(const QString &path)
{
    Connection c(path, Connection::Read);
    if (!c.open())
        return contractmsg::notAContractFile(native(path));
    dblayout::Finding finding;
    QString fault = fileFault(c.db(), path, &finding);
    if (!fault.isEmpty())
        return fault;
    return finding.verdict == dblayout::Verdict::Empty ? contractmsg::notAContractFile(native(path)) : QString();
}

std::optional<Contract> loadContract(const QString &path, int slot)
{
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    Connection c(path, Connection::Read);
    if (!c.open())
        throw RuntimeError(contractmsg::readFailed(native(path), c.error()));
    // The whole file is judged, not only the slot asked for: a file is
    // read, and written, as a whole or not at all.
    dblayout::Finding finding;
    if (QString refused = fileFault(c.db(), path, &finding); !refused.isEmpty())
        throw RuntimeError(refused);
    std::optional<Contract> k;
    if (finding.verdict != dblayout::Verdict::Empty)
        readSlot(c.db(), path, finding.version, slot, &k);
    return k;
}

void storeContract(const QString &path, int slot, const Contract &k)
{
    // A value no contract may hold is refused before the file is opened.
    if (QString fault = valueFault(k); !fault.isEmpty())
        throw RuntimeError(fault);
    const bool existed = QFileInfo::exists(path);
    // A file whose owner may not write it stays as it is, even for root.
    if (existed && !ownerMayWrite(path))
        throw RuntimeError(contractmsg::storeFailed(native(path), rtl::accessDenied()));
    QString error;
    bool full = false;
    {
        Connection c(path, Connection::Write);
        if (!c.open())
            throw RuntimeError(contractmsg::storeFailed(native(path), c.error()));
        QSqlDatabase db = c.db();
        // The whole file is checked as a read checks it, before anything is
        // written: a file the window could not have shown is never written.
        dblayout::Finding finding;
        if (QString refused = fileFault(db, path, &finding); !refused.isEmpty())
            throw RuntimeError(refused);

        QSqlQuery q(db);
        auto exec = [&](const QString &sql, const QVariantList &values) {
            if (!error.isEmpty())
                return;
            q.prepare(sql);
            for (const QVariant &v : values)
                q.addBindValue(v);
            if (!q.exec()) {
                error = engineText(q.lastError());
                full = diskFull(q.lastError());
            }
            q.finish();
        };
        if (!db.transaction()) {
            error = engineText(db.lastError());
            full = diskFull(db.lastError());
        }
        if (finding.verdict == dblayout::Verdict::Empty)
            for (const QString &statement : schema())
                exec(statement, {});
        if (finding.verdict == dblayout::Verdict::Older)
            for (const QString &statement : upgrade(finding.version))
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
        const auto time = [](const std::optional<int> &m) { return m ? QVariant(*m) : QVariant(); };
        for (const DayTimes &t : k.plannedTimes)
            row << time(t.arrival) << time(t.breakFrom) << time(t.breakTo);
        row << int(k.alsaceMoselle) << int(k.holidaysWorked);
        exec(QStringLiteral("INSERT INTO Contrats (enfant, %1) VALUES (%2)")
                 .arg(contractColumns.join(QStringLiteral(", ")), QStringList(row.size(), "?").join(',')),
             row);
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
        if (error.isEmpty() && !db.commit()) {
            error = engineText(db.lastError());
            full = diskFull(db.lastError());
        }
        if (!error.isEmpty())
            db.rollback();
    }
    if (!error.isEmpty()) {
        // A first contract that could not be stored leaves no file behind.
        if (!existed) {
            QFile::remove(path);
            QFile::remove(path + QStringLiteral("-journal"));
        }
        throw RuntimeError(full ? contractmsg::contractDiskFull(native(path))
                                : contractmsg::storeFailed(native(path), error));
    }
}

} // namespace contract
