#include "daytable.h"

#include "attendance/monthchoice.h"
#include "common/errors.h"
#include "common/monthkey.h"
#include "common/programfiles.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <functional>

#include <algorithm>
#include <cmath>

namespace {
const QString driver = QStringLiteral("QSQLITE");

QString quoted(const QString &name) { return '"' + QString(name).replace('"', QStringLiteral("\"\"")) + '"'; }

QString fieldList()
{
    QStringList names;
    for (const QString &n : day::fieldNames())
        names << quoted(n);
    return names.join(QStringLiteral(", "));
}

QString engineText(const QSqlError &e) { return e.text().trimmed(); }

// SQLITE_BUSY or SQLITE_LOCKED, plain or extended: another connection holds
// the file (the month review keeps its table exclusively until "Quitter").
bool isLockedOut(const QSqlError &e)
{
    bool ok = false;
    const int code = e.nativeErrorCode().toInt(&ok) & 0xff;
    return ok && (code == 5 || code == 6);
}

QSqlDatabase database(const QString &connection) { return QSqlDatabase::database(connection, false); }

// Runs one statement; raises the engine's message when it fails.
void run(QSqlQuery &q, const QString &sql)
{
    const bool ok = q.exec(sql);
    q.finish();
    if (!ok)
        throw RuntimeError(engineText(q.lastError()));
}

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("berlivo-day-table-%1").arg(counter.fetchAndAddRelaxed(1) + 1);
}

// Runs `read` on a read-only connection of its own to the table file at
// `path`, which never waits on a table a window holds. `read` returns the
// engine's error or ""; it is raised once the connection is gone.
void readOnly(const QString &path, const std::function<QString(QSqlDatabase &)> &read)
{
    const QString connection = nextConnectionName();
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, connection);
        db.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=ro"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=0"));
        if (!db.open()) {
            error = engineText(db.lastError());
        } else {
            error = read(db);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (!error.isEmpty())
        throw RuntimeError(error);
}
} // namespace

QString tableNameForSlot(int tabIndex) { return folder::dayTable(tabIndex + 1); }

// ---------------------------------------------------------------- DayTable

DayTable::DayTable() : m_connection(nextConnectionName()), m_model(std::make_unique<DayModel>(this)) {}

DayTable::~DayTable() { close(); }

QString DayTable::sqlTable() { return QStringLiteral("Jours"); }

QStringList DayTable::schema()
{
    // The declared types give SQLite tools their reading of each column; the
    // stored forms (ISO dates, HH:MM:SS, 0/1) never look like numbers, so the
    // column affinities leave them as they are, and Moan keeps its zero.
    static const char *const types[day::FieldCount] = {"DATE",    "TIME",    "TIME",    "TIME",    "TIME",
                                                       "REAL",    "BOOLEAN", "BOOLEAN", "BOOLEAN", "BOOLEAN",
                                                       "BOOLEAN", "BOOLEAN", "CHAR(4)"};
    QStringList columns;
    for (int f = 0; f < day::FieldCount; ++f)
        columns << quoted(day::fieldNames().at(f)) + ' ' + QString::fromLatin1(types[f]);
    return {
        QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(sqlTable()), columns.join(QStringLiteral(", "))),
        QStringLiteral("CREATE INDEX \"Dates\" ON %1 (\"Date\" COLLATE NOCASE)").arg(quoted(sqlTable())),
    };
}

bool DayTable::createEmpty(const QString &path)
{
    if (QFileInfo::exists(path))
        return false;
    // Built under a temporary name and renamed once complete, so that an
    // interrupted build never leaves a half-made table in the program folder.
    const QString partial = path + QStringLiteral(".part");
    QFile::remove(partial);
    const QString connection = nextConnectionName();
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, connection);
        db.setDatabaseName(partial);
        if (!db.open()) {
            error = engineText(db.lastError());
        } else {
            QSqlQuery q(db);
            try {
                for (const QString &statement : schema())
                    run(q, statement);
            } catch (const RuntimeError &e) {
                error = e.message();
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (error.isEmpty() && !QFile::rename(partial, path))
        error = rtl::cannotCreateFile(QDir::toNativeSeparators(path));
    if (!error.isEmpty()) {
        QFile::remove(partial);
        throw RuntimeError(error);
    }
    return true;
}

QList<int> DayTable::monthsWithDays(const QString &path, int year)
{
    QList<int> months;
    if (!QFileInfo(path).isFile())
        return months;
    readOnly(path, [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        // The key is MMYY: the year's last two digits end it.
        q.prepare(QStringLiteral("SELECT DISTINCT substr(\"Moan\", 1, 2) FROM %1 WHERE substr(\"Moan\", 3, 2) = ?")
                      .arg(quoted(sqlTable())));
        q.addBindValue(QStringLiteral("%1").arg(year % 100, 2, 10, QChar('0')));
        if (!q.exec())
            return engineText(q.lastError());
        while (q.next()) {
            const int m = q.value(0).toString().toInt();
            if (m >= 1 && m <= 12)
                months << m;
        }
        q.finish();
        return QString();
    });
    std::sort(months.begin(), months.end());
    return months;
}

QList<WorkedDay> DayTable::workedDays(const QString &path, QDate from, QDate to)
{
    QList<WorkedDay> days;
    if (!QFileInfo(path).isFile())
        return days;
    readOnly(path, [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        const QStringList &names = day::fieldNames();
        q.prepare(QStringLiteral("SELECT %1, %2, %3 FROM %4 WHERE %1 BETWEEN ? AND ? ORDER BY rowid")
                      .arg(quoted(names[day::Date]), quoted(names[day::Duree]), quoted(names[day::Ferie]),
                           quoted(sqlTable())));
        q.addBindValue(day::fromValue(day::Date, from));
        q.addBindValue(day::fromValue(day::Date, to));
        if (!q.exec())
            return engineText(q.lastError());
        while (q.next()) {
            WorkedDay d;
            d.date = day::toValue(day::Date, q.value(0)).toDate();
            // A duration typed over in the review may be anything: no
            // day holds less than nothing or more than a day.
            const double hours = q.value(1).toDouble();
            d.minutes = std::isfinite(hours) ? int(std::lround(std::clamp(hours, 0.0, 24.0) * 60.0)) : 0;
            d.holiday = day::toValue(day::Ferie, q.value(2)).toBool();
            if (d.date.isValid())
                days << d;
        }
        q.finish();
        return QString();
    });
    return days;
}

QList<HeldMonth> DayTable::heldMonthList(const QString &path)
{
    QList<HeldMonth> months;
    if (!QFileInfo(path).isFile())
        return months;
    readOnly(path, [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("SELECT \"Moan\", count(*) FROM %1 WHERE \"Moan\" IS NOT NULL GROUP BY \"Moan\"")
                        .arg(quoted(sqlTable()))))
            return engineText(q.lastError());
        while (q.next())
            months << HeldMonth{q.value(0).toString(), q.value(1).toInt()};
        q.finish();
        return QString();
    });
    // MMYY sorts by month before year: the key's own reading orders them.
    const auto order = [](const HeldMonth &m) {
        const std::optional<MonthKey> k = MonthKey::fromText(m.key);
        return k ? k->year() * 100 + k->month() : -1;
    };
    std::stable_sort(months.begin(), months.end(), [&](const HeldMonth &a, const HeldMonth &b) {
        const int oa = order(a), ob = order(b);
        return oa != ob ? oa > ob : a.key < b.key;
    });
    return months;
}

QList<day::Record> DayTable::monthDays(const QString &path, const QString &key)
{
    QList<day::Record> days;
    if (!QFileInfo(path).isFile())
        return days;
    readOnly(path, [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        q.prepare(
            QStringLiteral("SELECT %1 FROM %2 WHERE \"Moan\" = ? ORDER BY rowid").arg(fieldList(), quoted(sqlTable())));
        q.addBindValue(key);
        if (!q.exec())
            return engineText(q.lastError());
        while (q.next()) {
            day::Record rec;
            for (int f = 0; f < day::FieldCount; ++f)
                rec[f] = day::toText(f, q.value(f));
            days << rec;
        }
        q.finish();
        return QString();
    });
    return days;
}

void DayTable::setFolder(const QString &folder)
{
    if (folder != m_folder && isOpen())
        throw RuntimeError(rtl::dataSetOpen());
    m_folder = folder;
}

void DayTable::setTableName(const QString &name)
{
    if (name != m_tableName && isOpen())
        throw RuntimeError(rtl::dataSetOpen());
    m_tableName = name;
}

bool DayTable::isOpen() const { return database(m_connection).isOpen(); }

void DayTable::open(Access access)
{
    if (isOpen())
        return;
    const QString file = path();
    // SQLite would make an empty database of a missing file; the tables are
    // installed with the program, so a missing one is an error of its own.
    if (!QFileInfo(file).isFile())
        throw RuntimeError(rtl::cannotOpenFile(QDir::toNativeSeparators(file)));

    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, m_connection);
        // mode=rw: read and write, never create. No waiting on a lock: a table
        // held by the other window fails at once with the engine's message.
        // A table the user marked read-only is opened for reading only, even
        // by a user the system would let write (root), as the settings files
        // are: storing into it then fails with the engine's message.
        const bool readOnly = !(QFileInfo(file).permissions() & QFileDevice::WriteOwner);
        db.setDatabaseName(QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded) +
                           (readOnly ? QStringLiteral("?mode=ro") : QStringLiteral("?mode=rw")));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=0"));
        try {
            if (!db.open())
                throw RuntimeError(engineText(db.lastError()));
            QSqlQuery q(db);
            // A table held by another connection is said so in plain words.
            const auto step = [&](const QString &sql) {
                const bool ok = q.exec(sql);
                q.finish();
                if (!ok)
                    throw RuntimeError(isLockedOut(q.lastError()) ? rtl::tableLocked(QDir::toNativeSeparators(file))
                                                                  : engineText(q.lastError()));
            };
            // Reading the fields proves the file is a day-record table.
            step(QStringLiteral("SELECT %1 FROM %2 LIMIT 0").arg(fieldList(), quoted(sqlTable())));
            if (access == Access::Exclusive) {
                // An exclusive lock taken once is kept until the connection closes.
                step(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));
                step(QStringLiteral("BEGIN EXCLUSIVE"));
                step(QStringLiteral("COMMIT"));
            }
            QStringList marks;
            for (int f = 0; f < day::FieldCount; ++f)
                marks << QStringLiteral("?");
            m_insert = std::make_unique<QSqlQuery>(db);
            if (!m_insert->prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                       .arg(quoted(sqlTable()), fieldList(), marks.join(','))))
                throw RuntimeError(engineText(m_insert->lastError()));
        } catch (const RuntimeError &e) {
            error = e.message();
        }
    }
    if (!error.isEmpty()) {
        close();
        throw RuntimeError(error);
    }
}

void DayTable::close()
{
    m_filter.clear();
    m_pending.reset();
    m_model->clear();
    m_insert.reset();
    if (QSqlDatabase::contains(m_connection)) {
        {
            QSqlDatabase db = database(m_connection);
            if (db.isOpen())
                db.close();
        }
        QSqlDatabase::removeDatabase(m_connection);
    }
}

void DayTable::append()
{
    if (!isOpen())
        throw RuntimeError(rtl::dataSetClosed());
    if (m_pending)
        post();
    m_pending.emplace();
}

void DayTable::setField(const QString &fieldName, const QString &text)
{
    const int field = day::fieldIndex(fieldName);
    if (field < 0)
        throw RuntimeError(rtl::fieldNotFound(fieldName));
    if (!m_pending)
        throw RuntimeError(rtl::notEditing());
    (*m_pending)[field] = day::fromText(field, text);
}

void DayTable::post()
{
    if (!m_pending)
        throw RuntimeError(rtl::notEditing());
    for (int f = 0; f < day::FieldCount; ++f)
        m_insert->bindValue(f, (*m_pending)[f]);
    const bool ok = m_insert->exec();
    m_insert->finish();
    if (!ok)
        throw RuntimeError(engineText(m_insert->lastError()));
    m_pending.reset();
}

namespace {
// "?, ?, ?": one place for each key of a statement's IN list.
QString placesFor(const QStringList &keys)
{
    QStringList marks;
    for (qsizetype i = 0; i < keys.size(); ++i)
        marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}
} // namespace

QStringList DayTable::monthKeys(const QList<day::Record> &days)
{
    QStringList keys;
    for (const day::Record &rec : days) {
        // As stored: a key is kept to its four characters.
        const QString key = day::fromText(day::Moan, rec[day::Moan]).toString();
        if (!keys.contains(key))
            keys << key;
    }
    return keys;
}

QStringList DayTable::heldMonths(const QStringList &keys)
{
    QStringList held;
    if (keys.isEmpty())
        return held;
    const bool wasOpen = isOpen();
    try {
        open();
        QSqlQuery q(database(m_connection));
        q.setForwardOnly(true);
        q.prepare(QStringLiteral("SELECT DISTINCT \"Moan\" FROM %1 WHERE \"Moan\" IN (%2)")
                      .arg(quoted(sqlTable()), placesFor(keys)));
        for (const QString &key : keys)
            q.addBindValue(key);
        QStringList found;
        const bool ok = q.exec();
        while (ok && q.next())
            found << q.value(0).toString();
        const QString error = ok ? QString() : engineText(q.lastError());
        q.finish();
        if (!error.isEmpty())
            throw RuntimeError(error);
        for (const QString &key : keys)
            if (found.contains(key))
                held << key;
    } catch (const RuntimeError &e) {
        if (!wasOpen)
            close();
        throw RuntimeError(rtl::tableFailure(rtl::TableAction::Store, m_tableName, e.message()));
    }
    if (!wasOpen)
        close();
    return held;
}

void DayTable::storeMonth(const QList<day::Record> &days, Stored stored)
{
    if (days.isEmpty())
        throw RuntimeError(rtl::noDayToStore());
    try {
        open();
        try {
            QSqlDatabase db = database(m_connection);
            if (!db.transaction())
                throw RuntimeError(engineText(db.lastError()));
            if (stored == Stored::Replace) {
                const QStringList keys = monthKeys(days);
                QSqlQuery q(db);
                q.prepare(
                    QStringLiteral("DELETE FROM %1 WHERE \"Moan\" IN (%2)").arg(quoted(sqlTable()), placesFor(keys)));
                for (const QString &key : keys)
                    q.addBindValue(key);
                const bool ok = q.exec();
                q.finish();
                if (!ok)
                    throw RuntimeError(engineText(q.lastError()));
            }
            for (const day::Record &rec : days) {
                append();
                for (int f = 0; f < day::FieldCount; ++f)
                    setField(day::fieldNames().at(f), rec[f]);
            }
            post();
            if (!db.commit())
                throw RuntimeError(engineText(db.lastError()));
        } catch (const RuntimeError &) {
            // Nothing of this validation stays stored.
            database(m_connection).rollback();
            close();
            throw;
        }
        close();
    } catch (const RuntimeError &e) {
        throw RuntimeError(rtl::tableFailure(rtl::TableAction::Store, m_tableName, e.message()));
    }
}

void DayTable::setMonthFilter(const QString &key)
{
    m_model->select(key);
    m_filter = key.isEmpty() ? QString() : review::monthFilter(key);
}

// ---------------------------------------------------------------- DayModel

DayModel::DayModel(DayTable *table) : m_table(table) {}

int DayModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }
int DayModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : day::FieldCount; }

bool DayModel::holds(const QModelIndex &index) const
{
    return index.isValid() && index.model() == this && index.row() < m_rows.size() && index.column() < day::FieldCount;
}

const QVariant &DayModel::stored(int row, int field) const
{
    return row == m_editRow ? m_edit[field] : m_rows[row].values[field];
}

QVariant DayModel::data(const QModelIndex &index, int role) const
{
    if (!holds(index))
        return QVariant();
    const QVariant &v = stored(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole: return day::toText(index.column(), v);
    case Qt::EditRole: return day::toValue(index.column(), v);
    default: return QVariant();
    }
}

QVariant DayModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < day::FieldCount ? day::fieldNames().at(section) : QVariant();
    return section + 1;
}

Qt::ItemFlags DayModel::flags(const QModelIndex &index) const
{
    if (!holds(index))
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

bool DayModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !holds(index))
        return false;
    QVariant v;
    try {
        v = day::fromValue(index.column(), value);
    } catch (const RuntimeError &e) {
        m_lastError = e.message();
        return false;
    }
    // Editing another record stores the one being edited first.
    if (m_editRow >= 0 && m_editRow != index.row() && !submit())
        return false;
    if (m_editRow < 0) {
        m_editRow = index.row();
        m_edit = m_rows[m_editRow].values;
    }
    m_edit[index.column()] = v;
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

bool DayModel::submit()
{
    if (m_editRow < 0)
        return true;
    QSqlQuery q(database(m_table->connectionName()));
    QStringList sets;
    for (const QString &n : day::fieldNames())
        sets << quoted(n) + QStringLiteral(" = ?");
    q.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(quoted(DayTable::sqlTable()), sets.join(", ")));
    for (int f = 0; f < day::FieldCount; ++f)
        q.addBindValue(m_edit[f]);
    q.addBindValue(m_rows[m_editRow].id);
    const bool ok = q.exec();
    q.finish();
    if (!ok) {
        m_lastError = engineText(q.lastError());
        return false;
    }
    m_rows[m_editRow].values = m_edit;
    m_editRow = -1;
    return true;
}

void DayModel::revert()
{
    if (m_editRow < 0)
        return;
    const int row = m_editRow;
    m_editRow = -1;
    emit dataChanged(index(row, 0), index(row, day::FieldCount - 1), {Qt::DisplayRole, Qt::EditRole});
}

bool DayModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > m_rows.size())
        return false;
    QSqlDatabase db = database(m_table->connectionName());
    if (!db.transaction()) {
        m_lastError = engineText(db.lastError());
        return false;
    }
    QSqlQuery q(db);
    q.prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoted(DayTable::sqlTable())));
    for (int r = row; r < row + count; ++r) {
        q.bindValue(0, m_rows[r].id);
        const bool ok = q.exec();
        q.finish();
        if (!ok) {
            m_lastError = engineText(q.lastError());
            db.rollback();
            return false;
        }
    }
    if (!db.commit()) {
        m_lastError = engineText(db.lastError());
        db.rollback();
        return false;
    }
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    if (m_editRow >= row && m_editRow < row + count)
        m_editRow = -1;
    else if (m_editRow >= row + count)
        m_editRow -= count;
    m_rows.remove(row, count);
    endRemoveRows();
    return true;
}

void DayModel::select(const QString &key)
{
    if (!m_table->isOpen())
        throw RuntimeError(rtl::dataSetClosed());
    // A change pending on the record being left is stored before the
    // records of the new month are read.
    if (!submit())
        throw RuntimeError(m_lastError);
    QSqlQuery q(database(m_table->connectionName()));
    q.setForwardOnly(true);
    QString sql = QStringLiteral("SELECT rowid, %1 FROM %2").arg(fieldList(), quoted(DayTable::sqlTable()));
    if (!key.isEmpty())
        sql += QStringLiteral(" WHERE \"Moan\" = ?");
    sql += QStringLiteral(" ORDER BY rowid");
    q.prepare(sql);
    if (!key.isEmpty())
        q.addBindValue(key);
    if (!q.exec()) {
        const QString error = engineText(q.lastError());
        q.finish();
        throw RuntimeError(error);
    }
    QList<Row> rows;
    while (q.next()) {
        Row r{q.value(0).toLongLong(), {}};
        for (int f = 0; f < day::FieldCount; ++f)
            r.values[f] = q.value(f + 1);
        rows.append(r);
    }
    q.finish();
    beginResetModel();
    m_rows = std::move(rows);
    m_editRow = -1;
    endResetModel();
}

void DayModel::clear()
{
    if (m_rows.isEmpty() && m_editRow < 0)
        return;
    beginResetModel();
    m_rows.clear();
    m_editRow = -1;
    endResetModel();
}
