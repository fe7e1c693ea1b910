#include "common/dblayout.h"

#include "common/errors.h"

#include <QHash>
#include <QMutex>
#include <sqlite3.h>

#include <cstring>

namespace dblayout {

namespace {

// One connection to a database in memory, closed on every path.
struct Memory {
    sqlite3 *db = nullptr;
    Memory()
    {
        if (sqlite3_open(":memory:", &db) != SQLITE_OK)
            throw RuntimeError(rtl::outOfMemory());
    }
    ~Memory() { sqlite3_close(db); }
    Memory(const Memory &) = delete;
    Memory &operator=(const Memory &) = delete;
};

// The rows of one query, each as its columns joined by "|"; a query that
// fails gives a row no layout has.
QStringList rowsOf(sqlite3 *db, const QString &sql)
{
    QStringList rows;
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
        return {QStringLiteral("<error>")};
    int step;
    while ((step = sqlite3_step(st)) == SQLITE_ROW) {
        QStringList columns;
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            columns << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, c)));
        rows << columns.join('|');
    }
    sqlite3_finalize(st);
    if (step != SQLITE_DONE)
        rows << QStringLiteral("<error>");
    return rows;
}

QString quoted(QString name) { return '"' + name.replace('"', QStringLiteral("\"\"")) + '"'; }

// Everything the layout of a file is made of, as one text: its version, and
// each table and index with the statement that made it, its columns (name,
// type, NOT NULL, default, key) and its indexed columns.
QString layoutOf(sqlite3 *db)
{
    QStringList out = rowsOf(db, QStringLiteral("PRAGMA user_version"));
    sqlite3_stmt *st = nullptr;
    QStringList tables;
    if (sqlite3_prepare_v2(db,
                           "SELECT type, name, tbl_name, sql FROM sqlite_master WHERE name NOT LIKE 'sqlite%' "
                           "ORDER BY type, name",
                           -1, &st, nullptr) != SQLITE_OK)
        return QStringLiteral("<error>");
    while (sqlite3_step(st) == SQLITE_ROW) {
        QStringList columns;
        for (int c = 0; c < 4; ++c)
            columns << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, c)));
        if (columns[0] == QLatin1String("table"))
            tables << columns[1];
        columns[3] = normalised(columns[3]);
        out << columns.join('|');
    }
    sqlite3_finalize(st);
    for (const QString &t : std::as_const(tables)) {
        out << QStringLiteral("table ") + t << rowsOf(db, QStringLiteral("PRAGMA table_xinfo(%1)").arg(quoted(t)));
        for (const QString &index : rowsOf(db, QStringLiteral("PRAGMA index_list(%1)").arg(quoted(t)))) {
            out << QStringLiteral("index ") + index.section('|', 1);
            out << rowsOf(db, QStringLiteral("PRAGMA index_xinfo(%1)").arg(quoted(index.section('|', 1, 1))));
        }
    }
    return out.join('\n');
}

// The layout a new file gets from `statements`, worked out once per list.
QString layoutOfStatements(const QStringList &statements)
{
    static QMutex mutex;
    static QHash<QString, QString> known;
    const QString key = statements.join(QChar(0));
    const QMutexLocker lock(&mutex);
    if (auto it = known.constFind(key); it != known.cend())
        return *it;
    Memory m;
    for (const QString &statement : statements)
        sqlite3_exec(m.db, statement.toUtf8().constData(), nullptr, nullptr, nullptr);
    return *known.insert(key, layoutOf(m.db));
}

int versionOf(sqlite3 *db)
{
    const QStringList v = rowsOf(db, QStringLiteral("PRAGMA user_version"));
    return v.size() == 1 ? v.first().toInt() : -1;
}

// A copy in memory of the database open on `db`, that may be written: SQLite
// checks the rows against the CHECK constraints only on a database it may
// write, and an upgrade is tried there without touching the file.
bool copyOf(sqlite3 *db, Memory *copy)
{
    sqlite3_int64 size = 0;
    unsigned char *bytes = sqlite3_serialize(db, "main", &size, 0);
    if (!bytes) // a file of no page yet (one about to be laid out) gives none
        return rowsOf(db, QStringLiteral("PRAGMA page_count")) == QStringList{QStringLiteral("0")};
    return sqlite3_deserialize(copy->db, "main", bytes, size, size,
                               SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE) == SQLITE_OK;
}

// Whether the upgrade from `version`, run on the copy, gives exactly the
// present layout with every row inside its checks.
bool upgradesCleanly(sqlite3 *copy, const Shape &shape, int version)
{
    const QStringList statements = shape.upgrade ? shape.upgrade(version) : QStringList();
    if (statements.isEmpty())
        return false;
    bool ok = sqlite3_exec(copy, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    for (const QString &statement : statements)
        ok = ok && sqlite3_exec(copy, statement.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    ok = ok && sqlite3_exec(copy, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    return ok && layoutOf(copy) == layoutOfStatements(shape.schema());
}

} // namespace

QString normalised(const QString &sql)
{
    QString out;
    out.reserve(sql.size());
    bool blank = false;
    const auto tight = [](QChar c) { return c == '(' || c == ')' || c == ','; };
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (c == '\'' || c == '"') {
            const qsizetype end = sql.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? sql.size() : end + 1;
            if (blank && !out.isEmpty() && !tight(out.back()))
                out += ' ';
            blank = false;
            out += QStringView(sql).mid(i, stop - i);
            i = stop - 1;
        } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            const qsizetype end = sql.indexOf('\n', i);
            i = end < 0 ? sql.size() : end - 1;
            blank = true;
        } else if (c.isSpace()) {
            blank = true;
        } else {
            if (blank && !out.isEmpty() && !tight(out.back()) && !tight(c))
                out += ' ';
            blank = false;
            out += c;
        }
    }
    return out;
}

Finding judge(sqlite3 *file, const Shape &shape)
{
    Finding f;
    Memory copy;
    if (!copyOf(file, &copy)) {
        f.verdict = Verdict::Damaged;
        return f;
    }
    sqlite3 *db = copy.db;
    f.version = versionOf(db);
    if (rowsOf(db, QStringLiteral("PRAGMA quick_check")) != QStringList{QStringLiteral("ok")}) {
        f.verdict = Verdict::Damaged;
        return f;
    }
    if (rowsOf(db, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type IN ('trigger', 'view')")) !=
        QStringList{QStringLiteral("0")}) {
        f.verdict = Verdict::Hostile;
        return f;
    }
    const QString layout = layoutOf(db);
    const QString wanted = layoutOfStatements(shape.schema());
    if (layout == wanted) {
        f.verdict = Verdict::Current;
        return f;
    }
    if (f.version == 0 &&
        rowsOf(db, QStringLiteral("SELECT count(*) FROM sqlite_master")) == QStringList{QStringLiteral("0")}) {
        f.verdict = Verdict::Empty;
        return f;
    }
    const int present = wanted.section('\n', 0, 0).toInt();
    if (f.version > present) {
        f.verdict = Verdict::Newer;
        return f;
    }
    const bool shapeKnown = !shape.olderSchema || layout == layoutOfStatements(shape.olderSchema(f.version));
    f.verdict = shapeKnown && upgradesCleanly(db, shape, f.version) ? Verdict::Older : Verdict::Foreign;
    return f;
}

} // namespace dblayout
