#include "datafolder/backup.h"

#include "common/environment.h"
#include "common/errors.h"
#include "common/version.h"
#include "datafolder/folderlayout.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>
#include <sqlite3.h>

#include <functional>
#include <vector>

namespace backup {
namespace {

const QString formatName = QStringLiteral("Berlivo Paye sauvegarde");
constexpr int formatVersion = 1;
constexpr qint64 chunk = 1 << 20;
// A table is checked whole in memory: far beyond any real one (25 years of
// days take about a megabyte), and a forged archive cannot make the check
// ask for more memory than this.
constexpr qint64 tableLimit = qint64(256) << 20;
constexpr qint64 manifestLimit = 4 << 20;

// ------------------------------------------------------------ the texts

QString native(const QString &path) { return QDir::toNativeSeparators(path); }
const QString unchanged = QStringLiteral("\nVos données n'ont pas été modifiées.");

QString notABackup(const QString &zip)
{
    return QStringLiteral("Le fichier « %1 » n'est pas une sauvegarde de Berlivo Paye.").arg(native(zip)) + unchanged;
}
QString damaged(const QString &zip, const QString &what)
{
    return QStringLiteral("La sauvegarde « %1 » est endommagée ou incomplète (%2) : elle ne peut pas être restaurée.")
               .arg(native(zip), what) +
           unchanged;
}
QString tooNew(const QString &zip, const QString &version)
{
    return QStringLiteral("La sauvegarde « %1 » a été faite par une version plus récente de Berlivo Paye (%2) : "
                          "cette version ne sait pas la restaurer.")
               .arg(native(zip), version) +
           unchanged;
}
QString tableBusy(const QString &table)
{
    return QStringLiteral("La table %1 est utilisée par un autre programme : la sauvegarde n'a pas été faite.\n"
                          "Fermez l'autre programme, puis recommencez.")
        .arg(table);
}
QString tableInUse(const QString &table)
{
    return QStringLiteral("La table %1 est ouverte (fenêtre « Revoir un mois » ou autre programme) : "
                          "fermez-la, puis recommencez la restauration.")
               .arg(table) +
           unchanged;
}
QString cannotWrite(const QString &zip, const QString &why)
{
    return QStringLiteral("La sauvegarde n'a pas pu être écrite dans « %1 » : %2").arg(native(zip), why);
}
QString unsavable(const QString &path)
{
    return QStringLiteral("Le fichier « %1 » a un nom qu'une sauvegarde ne peut pas garder : "
                          "renommez-le, puis recommencez la sauvegarde.")
        .arg(native(path));
}
QString moveFailed(const QString &path)
{
    return QStringLiteral("La restauration a échoué : « %1 » n'a pas pu être déplacé.\n"
                          "Vos données ont été remises en place.")
        .arg(native(path));
}

// ------------------------------------------------------------ SQLite

struct Sqlite {
    sqlite3 *db = nullptr;
    ~Sqlite() { sqlite3_close(db); }
};

QString sqliteText(sqlite3 *db) { return QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory"); }

// The connection of this program that has the database at `path` open (the
// month review holds its table from its "&Valide" to its "Quitter"), or null.
sqlite3 *openConnection(const QString &path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    for (const QString &name : QSqlDatabase::connectionNames()) {
        const QSqlDatabase db = QSqlDatabase::database(name, false);
        if (!db.isOpen() || !db.driver())
            continue;
        const QVariant handle = db.driver()->handle();
        if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
            continue;
        sqlite3 *h = *static_cast<sqlite3 *const *>(handle.constData());
        const char *file = h ? sqlite3_db_filename(h, "main") : nullptr;
        if (file && *file && QFileInfo(QString::fromUtf8(file)).canonicalFilePath() == target)
            return h;
    }
    return nullptr;
}

// A consistent copy of the database at `path`, as the bytes of a database
// file. It is read through the program's own connection when one holds the
// table (that connection's lock lets it read), otherwise through a connection
// of its own that waits a moment for another program's write to end.
QByteArray copyDatabase(const QString &path, const QString &name)
{
    Sqlite own;
    sqlite3 *source = openConnection(path);
    if (!source) {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &own.db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw RuntimeError(rtl::cannotOpenFile(native(path)) + QStringLiteral(" (") + sqliteText(own.db) + ')');
        sqlite3_busy_timeout(own.db, 2000);
        source = own.db;
    }
    Sqlite copy;
    if (sqlite3_open(":memory:", &copy.db) != SQLITE_OK)
        throw RuntimeError(sqliteText(copy.db));
    sqlite3_backup *b = sqlite3_backup_init(copy.db, "main", source, "main");
    if (!b)
        throw RuntimeError(sqliteText(copy.db));
    const int step = sqlite3_backup_step(b, -1);
    sqlite3_backup_finish(b);
    if (step == SQLITE_BUSY || step == SQLITE_LOCKED)
        throw RuntimeError(tableBusy(name));
    if (step != SQLITE_DONE)
        throw RuntimeError(rtl::cannotOpenFile(native(path)) + QStringLiteral(" (") +
                           QString::fromUtf8(sqlite3_errstr(step)) + ')');
    sqlite3_int64 size = 0;
    unsigned char *bytes = sqlite3_serialize(copy.db, "main", &size, 0);
    if (!bytes)
        throw RuntimeError(sqliteText(copy.db));
    QByteArray image(reinterpret_cast<const char *>(bytes), qsizetype(size));
    sqlite3_free(bytes);
    return image;
}

// Whether `image` is the file of a sound SQLite database; it is looked at in
// memory, so that a check needs no room on disk.
bool soundDatabase(QByteArray image)
{
    Sqlite s;
    if (sqlite3_open(":memory:", &s.db) != SQLITE_OK ||
        sqlite3_deserialize(s.db, "main", reinterpret_cast<unsigned char *>(image.data()), image.size(), image.size(),
                            SQLITE_DESERIALIZE_READONLY) != SQLITE_OK)
        return false;
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(s.db, "PRAGMA quick_check", -1, &st, nullptr) != SQLITE_OK)
        return false;
    const bool ok = sqlite3_step(st) == SQLITE_ROW &&
                    qstrcmp(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)), "ok") == 0;
    sqlite3_finalize(st);
    return ok;
}

// ------------------------------------------------------------ names

bool isDatabase(const QString &name) { return folder::databases().contains(name); }

// The names a backup may hold: the fixed files, and pictures under bulljpg/
// without any way out of that folder.
bool isDataName(const QString &name)
{
    if (name == folder::ratesFile || name == folder::paramFile || isDatabase(name))
        return true;
    const QString prefix = folder::pictures + '/';
    if (!name.startsWith(prefix))
        return false;
#ifdef Q_OS_WIN
    if (name.contains('\\')) // a separator there
        return false;
#endif
    const QStringList parts = name.mid(prefix.size()).split('/');
    for (const QString &p : parts) {
        if (p.isEmpty() || p == QLatin1String(".") || p == QLatin1String(".."))
            return false;
        for (QChar c : p)
            if (c.unicode() < 0x20)
                return false;
    }
    return true;
}

// The data of a program folder, as names relative to it: what a backup holds
// and what a restore replaces. `except` (the archive being written, when the
// user puts it among the pictures) is left out.
QStringList dataFiles(const QString &programFolder, const QString &except = QString())
{
    const QDir dir(programFolder);
    QStringList names;
    for (const QString &n : QStringList{folder::ratesFile, folder::paramFile} + folder::databases())
        if (QFileInfo(dir.filePath(n)).isFile())
            names << n;
    QStringList pictures;
    QDirIterator it(dir.filePath(folder::pictures), QDir::Files | QDir::Hidden | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    const QString skipped = QFileInfo(except).absoluteFilePath();
    while (it.hasNext()) {
        const QString path = it.next();
        if (QFileInfo(path).absoluteFilePath() != skipped)
            pictures << dir.relativeFilePath(path);
    }
    pictures.sort();
    return names + pictures;
}

// ------------------------------------------------------------ reading

struct Entry {
    QString name;
    qint64 size = 0;
    QByteArray sha256; // hexadecimal
};

struct Manifest {
    Contents contents;
    QList<Entry> entries;
};

QByteArray readEntry(QuaZip &zip, const QString &name, qint64 limit, bool *ok)
{
    *ok = false;
    if (!zip.setCurrentFile(name, QuaZip::csSensitive))
        return {};
    QuaZipFile f(&zip);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = f.read(limit + 1);
    f.close();
    *ok = f.getZipError() == UNZ_OK && bytes.size() <= limit;
    return bytes;
}

Manifest readManifest(QuaZip &zip, const QString &zipPath)
{
    const QStringList names = zip.getFileNameList();
    if (!names.contains(manifestName))
        throw RuntimeError(notABackup(zipPath));
    bool ok = false;
    const QByteArray text = readEntry(zip, manifestName, manifestLimit, &ok);
    if (!ok)
        throw RuntimeError(damaged(zipPath, QStringLiteral("inventaire illisible")));
    QJsonParseError parse;
    const QJsonObject root = QJsonDocument::fromJson(text, &parse).object();
    if (parse.error != QJsonParseError::NoError)
        throw RuntimeError(damaged(zipPath, QStringLiteral("inventaire illisible")));
    if (root.value(QStringLiteral("format")).toString() != formatName)
        throw RuntimeError(notABackup(zipPath));

    Manifest m;
    m.contents.programVersion = root.value(QStringLiteral("programVersion")).toString();
    if (root.value(QStringLiteral("formatVersion")).toInt() > formatVersion)
        throw RuntimeError(tooNew(zipPath, m.contents.programVersion));
    m.contents.created = QDateTime::fromString(root.value(QStringLiteral("created")).toString(), Qt::ISODate);

    QSet<QString> listed;
    for (const auto &v : root.value(QStringLiteral("files")).toArray()) {
        const QJsonObject o = v.toObject();
        Entry e{o.value(QStringLiteral("name")).toString(), qint64(o.value(QStringLiteral("size")).toDouble(-1)),
                o.value(QStringLiteral("sha256")).toString().toLatin1()};
        // A name that would land outside the data (or on another file) is
        // not this program's doing.
        if (!isDataName(e.name) || listed.contains(e.name) || e.size < 0 || e.sha256.size() != 64)
            throw RuntimeError(notABackup(zipPath));
        listed.insert(e.name);
        m.entries << e;
        m.contents.files << e.name;
        m.contents.bytes += e.size;
    }
    // Every entry of the archive is listed, once; every listed file is there.
    if (names.size() != listed.size() + 1)
        throw RuntimeError(QSet<QString>(names.begin(), names.end()).size() != names.size() ? damaged(zipPath, QStringLiteral("fichier en double"))
                                                                 : notABackup(zipPath));
    for (const QString &n : names)
        if (n != manifestName && !listed.contains(n))
            throw RuntimeError(notABackup(zipPath));
    return m;
}

// Opens the archive and reads it whole: every listed file is read, sized and
// hashed; when `staging` is given, each is written there too. Raises a text
// naming the first fault.
Manifest readArchive(const QString &zipPath, const QString &staging)
{
    QFile raw(zipPath);
    if (!raw.open(QIODevice::ReadOnly))
        throw RuntimeError(rtl::cannotOpenFile(native(zipPath)));
    const bool looksLikeZip = raw.peek(2) == "PK";
    raw.close();

    QuaZip zip(zipPath);
    zip.setUtf8Enabled(true);
    if (!zip.open(QuaZip::mdUnzip))
        throw RuntimeError(looksLikeZip ? damaged(zipPath, QStringLiteral("archive illisible")) : notABackup(zipPath));
    Manifest m = readManifest(zip, zipPath);

    QByteArray buffer;
    for (const Entry &e : std::as_const(m.entries)) {
        auto broken = [&](const QString &why) { return RuntimeError(damaged(zipPath, why.arg(e.name))); };
        if (isDatabase(e.name) && e.size > tableLimit)
            throw broken(QStringLiteral("table %1 trop grande"));
        if (!zip.setCurrentFile(e.name, QuaZip::csSensitive))
            throw broken(QStringLiteral("%1 manquant"));
        QuaZipFile in(&zip);
        if (!in.open(QIODevice::ReadOnly))
            throw broken(QStringLiteral("%1 illisible"));
        QFile out;
        if (!staging.isEmpty()) {
            const QString target = staging + '/' + e.name;
            QDir().mkpath(QFileInfo(target).path());
            out.setFileName(target);
            if (!out.open(QIODevice::WriteOnly))
                throw RuntimeError(rtl::cannotCreateFile(native(target)));
        }
        QCryptographicHash hash(QCryptographicHash::Sha256);
        QByteArray table; // a database is looked at whole once read
        qint64 total = 0;
        for (;;) {
            buffer.resize(chunk);
            const qint64 n = in.read(buffer.data(), chunk);
            if (n < 0)
                throw broken(QStringLiteral("%1 illisible"));
            if (n == 0)
                break;
            total += n;
            // Never more than the manifest announced: a forged size cannot
            // fill the disk.
            if (total > e.size)
                throw broken(QStringLiteral("%1 altéré"));
            hash.addData(QByteArrayView(buffer.constData(), n));
            if (isDatabase(e.name))
                table.append(buffer.constData(), n);
            if (out.isOpen() && out.write(buffer.constData(), n) != n)
                throw RuntimeError(rtl::cannotCreateFile(native(out.fileName())));
        }
        in.close();
        if (in.getZipError() != UNZ_OK || total != e.size || hash.result().toHex() != e.sha256)
            throw broken(QStringLiteral("%1 altéré"));
        if (isDatabase(e.name) && !soundDatabase(table))
            throw broken(QStringLiteral("table %1 abîmée"));
        if (out.isOpen()) {
            out.close();
            if (out.error() != QFileDevice::NoError)
                throw RuntimeError(rtl::cannotCreateFile(native(out.fileName())));
        }
    }
    return m;
}

// ------------------------------------------------------------ writing

// A failure of the zip library while writing, by its error number.
struct ZipFailure {
    int code;
    QString text() const { return QStringLiteral("erreur zip %1").arg(code); }
};

void addEntry(QuaZip &zip, const QString &name, const QByteArray &bytes, const QDateTime &stamp, QJsonArray &files)
{
    QuaZipNewInfo info(name);
    info.dateTime = stamp;
    // Pictures are JPEG already: deflating them again costs time for nothing.
    const bool stored = name.startsWith(folder::pictures + '/') && name.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive);
    QuaZipFile out(&zip);
    if (!out.open(QIODevice::WriteOnly, info, nullptr, 0, stored ? 0 : Z_DEFLATED, stored ? 0 : 6) ||
        out.write(bytes) != bytes.size())
        throw ZipFailure{out.getZipError()};
    out.close();
    if (out.getZipError() != ZIP_OK)
        throw ZipFailure{out.getZipError()};
    if (files.isEmpty() && name == manifestName)
        return;
    files.append(QJsonObject{{QStringLiteral("name"), name},
                             {QStringLiteral("size"), double(bytes.size())},
                             {QStringLiteral("sha256"), QString::fromLatin1(
                                  QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex())}});
}

// The lock a restore takes on a table before moving it: no connection of
// this program may have it open, and no other program may hold it.
struct TableLock {
    Sqlite s;
    void take(const QString &path, const QString &name)
    {
        if (openConnection(path))
            throw RuntimeError(tableInUse(name));
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &s.db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
            sqlite3_exec(s.db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) != SQLITE_OK)
            throw RuntimeError(tableInUse(name));
    }
    ~TableLock()
    {
        if (s.db)
            sqlite3_exec(s.db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
};

// What a restore moves with a database: the engine's side files of a write
// interrupted on it belong to that file and nowhere else.
QStringList withSideFiles(const QString &name)
{
    return {name, name + QStringLiteral("-journal"), name + QStringLiteral("-wal"), name + QStringLiteral("-shm")};
}

QString keptFolderName(const QDir &dir)
{
    const QString base = QStringLiteral("Avant restauration %1").arg(now().toString(QStringLiteral("yyyy-MM-dd HH'h'mm'm'ss")));
    QString name = base;
    for (int n = 2; QFileInfo::exists(dir.filePath(name)); ++n)
        name = QStringLiteral("%1 (%2)").arg(base).arg(n);
    return name;
}

} // namespace

// ------------------------------------------------------------ create / check

Contents create(const QString &programFolder, const QString &zipPath)
{
    const QDir dir(programFolder);
    const QDateTime stamp = now();
    // Listed before the archive's temporary file exists beside it.
    const QStringList names = dataFiles(programFolder, zipPath);
    for (const QString &name : names)
        if (!isDataName(name))
            throw RuntimeError(unsavable(dir.filePath(name)));
    QSaveFile file(zipPath);
    if (!file.open(QIODevice::WriteOnly))
        throw RuntimeError(cannotWrite(zipPath, file.errorString()));
    {
        QuaZip zip(&file);
        zip.setUtf8Enabled(true);
        zip.setAutoClose(false);
        if (!zip.open(QuaZip::mdCreate))
            throw RuntimeError(cannotWrite(zipPath, ZipFailure{zip.getZipError()}.text()));
        QJsonArray files;
        try {
            for (const QString &name : names) {
                const QString path = dir.filePath(name);
                QByteArray bytes;
                if (isDatabase(name)) {
                    bytes = copyDatabase(path, name);
                } else {
                    QFile in(path);
                    if (!in.open(QIODevice::ReadOnly))
                        throw RuntimeError(rtl::cannotOpenFile(native(path)));
                    bytes = in.readAll();
                    if (in.error() != QFileDevice::NoError)
                        throw RuntimeError(rtl::cannotOpenFile(native(path)));
                }
                addEntry(zip, name, bytes, stamp, files);
            }
            const QJsonObject manifest{{QStringLiteral("format"), formatName},
                                       {QStringLiteral("formatVersion"), formatVersion},
                                       {QStringLiteral("programVersion"), programVersion()},
                                       {QStringLiteral("created"), stamp.toString(Qt::ISODate)},
                                       {QStringLiteral("files"), files}};
            QJsonArray none;
            addEntry(zip, manifestName, QJsonDocument(manifest).toJson(), stamp, none);
        } catch (const RuntimeError &) {
            file.cancelWriting();
            throw;
        } catch (const ZipFailure &z) {
            file.cancelWriting();
            throw RuntimeError(cannotWrite(zipPath, z.text()));
        }
        zip.close();
        if (zip.getZipError() != ZIP_OK) {
            file.cancelWriting();
            throw RuntimeError(cannotWrite(zipPath, ZipFailure{zip.getZipError()}.text()));
        }
    }
    if (!file.commit())
        throw RuntimeError(cannotWrite(zipPath, file.errorString()));
    // What was written is read back before it is called a backup.
    try {
        return readArchive(zipPath, QString()).contents;
    } catch (const RuntimeError &) {
        QFile::remove(zipPath);
        throw RuntimeError(cannotWrite(zipPath, QStringLiteral("l'archive relue ne correspond pas")));
    }
}

Contents check(const QString &zipPath) { return readArchive(zipPath, QString()).contents; }

// ------------------------------------------------------------ restore

Restore::Restore(const QString &programFolder, const QString &zipPath) : m_folder(programFolder), m_zipPath(zipPath)
{
    // Unpacked inside the program folder: the same disk, so that putting the
    // files in place is a rename that cannot fail half-way through a file.
    m_staging = std::make_unique<QTemporaryDir>(QDir(programFolder).filePath(QStringLiteral(".restauration-XXXXXX")));
    if (!m_staging->isValid())
        throw RuntimeError(rtl::cannotCreateFile(native(QDir(programFolder).filePath(QStringLiteral(".restauration")))));
    m_contents = readArchive(zipPath, m_staging->path()).contents;
    QDir(m_staging->path()).mkpath(folder::pictures);
}

Restore::~Restore() = default;

QString Restore::apply()
{
    if (m_applied)
        return QString();
    const QDir dir(m_folder);
    const QDir staged(m_staging->path());

    std::vector<std::unique_ptr<TableLock>> locks;
    for (const QString &name : folder::databases()) {
        if (QFileInfo(dir.filePath(name)).isFile()) {
            locks.push_back(std::make_unique<TableLock>());
            locks.back()->take(dir.filePath(name), name);
        }
    }

    // What moves: the current data out, then the backup's in.
    QStringList current{folder::ratesFile, folder::paramFile, folder::pictures};
    for (const QString &db : folder::databases())
        current << withSideFiles(db);
    QStringList incoming{folder::pictures};
    for (const QString &name : std::as_const(m_contents.files))
        if (!name.startsWith(folder::pictures + '/'))
            incoming << name;

    const QString kept = keptFolderName(dir);
    if (!dir.mkdir(kept))
        throw RuntimeError(rtl::cannotCreateFile(native(dir.filePath(kept))));
    const QDir keptDir(dir.filePath(kept));

    std::vector<std::pair<QString, QString>> done;
    auto move = [&](const QString &from, const QString &to) {
        if (QFileInfo::exists(to) || !QDir().rename(from, to))
            throw RuntimeError(moveFailed(from));
        done.emplace_back(from, to);
    };
    try {
        for (const QString &name : std::as_const(current))
            if (QFileInfo::exists(dir.filePath(name)))
                move(dir.filePath(name), keptDir.filePath(name));
        for (const QString &name : std::as_const(incoming))
            move(staged.filePath(name), dir.filePath(name));
    } catch (const RuntimeError &) {
        for (auto it = done.rbegin(); it != done.rend(); ++it)
            QDir().rename(it->second, it->first);
        dir.rmdir(kept);
        throw;
    }
    locks.clear();
    m_applied = true;
    m_staging.reset();
    return keptDir.path() + '/';
}

} // namespace backup
