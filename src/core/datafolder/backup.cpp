#include "datafolder/backup.h"

#include "common/environment.h"
#include "common/dblayout.h"
#include "common/errors.h"
#include "common/journal.h"
#include "common/text1252.h"
#include "common/version.h"
#include "datafolder/folderlayout.h"
#include "settings/familyfile.h"
#include "settings/paramrecord.h"
#include "settings/ratesfile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
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

#include <cerrno>
#include <cmath>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace backup {
namespace {

const QString formatName = QStringLiteral("Berlivo Paye sauvegarde");
// 2: names escaped as "%XX" where their bytes are not plain UTF-8 text.
constexpr int formatVersion = 2;
constexpr qint64 chunk = 1 << 20;
// A table is checked whole in memory: far beyond any real one (25 years of
// days take about a megabyte), and a forged archive cannot make the check
// ask for more memory than this.
constexpr qint64 tableLimit = qint64(256) << 20;
// A slip picture or PDF is a few hundred kilobytes; the settings files a
// few kilobytes.
constexpr qint64 pictureLimit = qint64(64) << 20;
constexpr qint64 settingsLimit = qint64(1) << 20;
constexpr qint64 manifestLimit = 4 << 20;

// ------------------------------------------------------------ paths as the texts show them

QString native(const QString &path) { return QDir::toNativeSeparators(path); }
QString native(const QByteArray &path) { return QDir::toNativeSeparators(QFile::decodeName(path)); }

// ------------------------------------------------------------ SQLite

struct Sqlite {
    sqlite3 *db = nullptr;
    ~Sqlite() { sqlite3_close(db); }
};

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

// What a copy of a database gave.
enum class Copy { Done, Busy, Unreadable };

// A consistent copy of the database at `path`, as the bytes of a database
// file. It is read through the program's own connection when one holds the
// table (that connection's lock lets it read), otherwise through a connection
// of its own that waits a moment for another program's write to end.
Copy copyDatabase(const QString &path, QByteArray *image)
{
    Sqlite own;
    sqlite3 *source = openConnection(path);
    if (!source) {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &own.db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            return Copy::Unreadable;
        sqlite3_busy_timeout(own.db, 2000);
        source = own.db;
    }
    Sqlite copy;
    if (sqlite3_open(":memory:", &copy.db) != SQLITE_OK)
        throw RuntimeError(rtl::outOfMemory());
    sqlite3_backup *b = sqlite3_backup_init(copy.db, "main", source, "main");
    if (!b)
        return Copy::Unreadable;
    const int step = sqlite3_backup_step(b, -1);
    sqlite3_backup_finish(b);
    if (step == SQLITE_BUSY || step == SQLITE_LOCKED)
        return Copy::Busy;
    if (step != SQLITE_DONE)
        return Copy::Unreadable;
    sqlite3_int64 size = 0;
    unsigned char *bytes = sqlite3_serialize(copy.db, "main", &size, 0);
    if (!bytes)
        throw RuntimeError(rtl::outOfMemory());
    *image = QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(size));
    sqlite3_free(bytes);
    return Copy::Done;
}

// Why the bytes `image` are not a table this program may put in place as
// `kind`, or "" when they are: the same judgement as the program's own files
// get (see dblayout.h). It is looked at in memory, so that a check needs no
// room on disk.
QString tableFault(QByteArray image, const folder::Database &kind)
{
    Sqlite s;
    if (sqlite3_open(":memory:", &s.db) != SQLITE_OK)
        throw RuntimeError(rtl::outOfMemory());
    if (sqlite3_deserialize(s.db, "main", reinterpret_cast<unsigned char *>(image.data()), image.size(), image.size(),
                            SQLITE_DESERIALIZE_READONLY) != SQLITE_OK)
        return backupmsg::tableUnreadable(kind.name);
    switch (dblayout::judge(s.db, {kind.schema, kind.upgrade, kind.olderSchema}).verdict) {
    case dblayout::Verdict::Current:
    case dblayout::Verdict::Older: return {};
    case dblayout::Verdict::Damaged: return backupmsg::tableUnreadable(kind.name);
    case dblayout::Verdict::Hostile: return backupmsg::tableHostile(kind.name);
    default: return backupmsg::tableOtherLayout(kind.name);
    }
}

const folder::Database *databaseNamed(const QString &name)
{
    for (const folder::Database &d : folder::databaseFiles())
        if (d.name == name)
            return &d;
    return nullptr;
}

// ------------------------------------------------------------ names

bool isPicture(const QString &name) { return name.startsWith(folder::pictures + '/'); }

// Whether a byte sequence starting at `at` is one UTF-8 character of text
// (not a control character, not "%"): its length, or 0.
qsizetype plainCharacter(const QByteArray &bytes, qsizetype at)
{
    const uchar c = uchar(bytes[at]);
    if (c < 0x80)
        return c >= 0x20 && c != '%' && c != 0x7f ? 1 : 0;
    const qsizetype length = c >= 0xc2 && c <= 0xdf ? 2 : c >= 0xe0 && c <= 0xef ? 3 : c >= 0xf0 && c <= 0xf4 ? 4 : 0;
    if (length == 0 || at + length > bytes.size())
        return 0;
    const QByteArray one = bytes.mid(at, length);
    const QString decoded = QString::fromUtf8(one);
    // Overlong forms, surrogates and other invalid sequences do not come back.
    return decoded.toUtf8() == one && !decoded.contains(QChar::ReplacementCharacter) ? length : 0;
}

} // namespace

QString archiveName(const QByteArray &relativePath)
{
    QString name;
    for (qsizetype i = 0; i < relativePath.size();) {
        const qsizetype n = plainCharacter(relativePath, i);
        if (n > 0 || relativePath[i] == '/') {
            name += QString::fromUtf8(relativePath.mid(i, qMax<qsizetype>(n, 1)));
            i += qMax<qsizetype>(n, 1);
        } else {
            name += QStringLiteral("%%1").arg(uchar(relativePath[i]), 2, 16, QChar('0')).toUpper();
            ++i;
        }
    }
    return name;
}

std::optional<QByteArray> folderName(const QString &name)
{
    const QByteArray text = name.toUtf8();
    QByteArray raw;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            raw += text[i];
            continue;
        }
        bool ok = false;
        const int byte = text.mid(i + 1, 2).toInt(&ok, 16);
        if (!ok || i + 2 >= text.size() || byte == 0 || byte == '/')
            return std::nullopt;
        raw += char(byte);
        i += 2;
    }
    // One name, one way of writing it: two entries cannot be the same file.
    if (archiveName(raw) != name)
        return std::nullopt;
    return raw;
}

namespace {

// The names a backup may hold: the fixed files, and pictures under bulljpg/
// without any way out of that folder. Returns the file's path relative to
// the program folder, as bytes.
std::optional<QByteArray> dataPath(const QString &name, int version)
{
    if (folder::settingsFiles().contains(name) || databaseNamed(name))
        return QFile::encodeName(name);
    if (!isPicture(name))
        return std::nullopt;
    std::optional<QByteArray> raw = version >= 2 ? folderName(name) : std::optional(name.toUtf8());
    if (!raw)
        return std::nullopt;
    const QList<QByteArray> parts = raw->mid(folder::pictures.size() + 1).split('/');
    for (const QByteArray &p : parts) {
        if (p.isEmpty() || p == "." || p == ".." || p.contains('\0'))
            return std::nullopt;
#ifdef Q_OS_WIN
        if (p.contains('\\'))
            return std::nullopt;
#endif
        // The first format kept names as text, without control characters.
        if (version < 2)
            for (char c : p)
                if (uchar(c) < 0x20)
                    return std::nullopt;
    }
    return raw;
}

struct DataFile {
    QString name;    // in the archive
    QByteArray path; // on disk, as the system names it
};

// The pictures under `dir` (bytes), recursively; a link or a special file
// refuses the backup. `skip` is the archive being written.
void listPictures(const QByteArray &dir, const QByteArray &relative, const QByteArray &skip, QList<DataFile> &out)
{
    DIR *d = ::opendir(dir.constData());
    if (!d)
        throw RuntimeError(rtl::cannotOpenFile(native(dir)));
    std::vector<QByteArray> names;
    while (const dirent *e = ::readdir(d)) {
        const QByteArray n(e->d_name);
        if (n != "." && n != "..")
            names.push_back(n);
    }
    ::closedir(d);
    std::sort(names.begin(), names.end());
    for (const QByteArray &n : names) {
        const QByteArray full = dir + '/' + n;
        struct stat st;
        if (::lstat(full.constData(), &st) != 0)
            throw RuntimeError(rtl::cannotOpenFile(native(full)));
        if (S_ISLNK(st.st_mode) || !(S_ISDIR(st.st_mode) || S_ISREG(st.st_mode)))
            throw RuntimeError(backupmsg::notAFile(native(full), S_ISLNK(st.st_mode)));
        if (S_ISDIR(st.st_mode))
            listPictures(full, relative + n + '/', skip, out);
        else if (full != skip)
            out.append({archiveName(relative + n), full});
    }
}

// The data of a program folder: what a backup holds. `except` (the archive
// being written, when the user puts it among the pictures) is left out.
QList<DataFile> dataFiles(const QString &programFolder, const QString &except)
{
    const QDir dir(programFolder);
    QList<DataFile> files;
    for (const QString &n : folder::settingsFiles() + folder::databases())
        if (QFileInfo(dir.filePath(n)).isFile())
            files.append({n, QFile::encodeName(dir.filePath(n))});
    const QString pictures = dir.filePath(folder::pictures);
    if (QFileInfo(pictures).isDir()) {
        const QByteArray skip = QFile::encodeName(QFileInfo(except).absoluteFilePath());
        listPictures(QFile::encodeName(QFileInfo(pictures).absoluteFilePath()),
                     QFile::encodeName(folder::pictures) + '/', skip, files);
    }
    return files;
}

bool readRaw(const QByteArray &path, QByteArray *bytes)
{
    QFile f;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    const bool ok = f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    if (!ok) {
        ::close(fd);
        return false;
    }
    *bytes = f.readAll();
    return f.error() == QFileDevice::NoError;
}

// Makes the folders of `relative` (bytes) under `base`.
int makeParents(const QByteArray &base, const QByteArray &relative)
{
    QByteArray path = base;
    const QList<QByteArray> parts = relative.split('/');
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        path += '/' + parts[i];
        if (::mkdir(path.constData(), 0777) != 0 && errno != EEXIST)
            return errno;
    }
    return 0;
}

// ------------------------------------------------------------ reading

struct Entry {
    QString name;
    QByteArray path; // relative, as bytes
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

qint64 sizeLimit(const QString &name)
{
    return databaseNamed(name) ? tableLimit : isPicture(name) ? pictureLimit : settingsLimit;
}

Manifest readManifest(QuaZip &zip, const QString &zipPath)
{
    const QStringList names = zip.getFileNameList();
    if (!names.contains(manifestName))
        throw RuntimeError(backupmsg::notABackup(native(zipPath)));
    bool ok = false;
    const QByteArray text = readEntry(zip, manifestName, manifestLimit, &ok);
    if (!ok)
        throw RuntimeError(backupmsg::damaged(native(zipPath), backupmsg::manifestUnreadable()));
    QJsonParseError parse;
    const QJsonObject root = QJsonDocument::fromJson(text, &parse).object();
    if (parse.error != QJsonParseError::NoError)
        throw RuntimeError(backupmsg::damaged(native(zipPath), backupmsg::manifestUnreadable()));
    if (root.value(QStringLiteral("format")).toString() != formatName)
        throw RuntimeError(backupmsg::notABackup(native(zipPath)));

    Manifest m;
    m.contents.programVersion = root.value(QStringLiteral("programVersion")).toString();
    // A whole number this program knows, nothing else: "2", 2.5 or none
    // are not a version any program wrote.
    const QJsonValue version = root.value(QStringLiteral("formatVersion"));
    const double v = version.toDouble(0);
    if (!version.isDouble() || v != std::floor(v) || v < 1)
        throw RuntimeError(backupmsg::damaged(native(zipPath), backupmsg::versionUnreadable()));
    if (v > formatVersion)
        throw RuntimeError(backupmsg::tooNew(native(zipPath), m.contents.programVersion));
    m.contents.created = QDateTime::fromString(root.value(QStringLiteral("created")).toString(), Qt::ISODate);

    QSet<QString> listed;
    for (const auto &value : root.value(QStringLiteral("files")).toArray()) {
        const QJsonObject o = value.toObject();
        Entry e;
        e.name = o.value(QStringLiteral("name")).toString();
        e.sha256 = o.value(QStringLiteral("sha256")).toString().toLatin1();
        // A name that would land outside the data (or on another file) is
        // not this program's doing.
        const std::optional<QByteArray> path = dataPath(e.name, int(v));
        if (!path || listed.contains(e.name) || e.sha256.size() != 64)
            throw RuntimeError(backupmsg::notABackup(native(zipPath)));
        e.path = *path;
        // The size is looked at as the number it is before it becomes one
        // the program counts with: never beyond what such a file can be.
        const QJsonValue size = o.value(QStringLiteral("size"));
        const double bytes = size.toDouble(-1);
        if (!size.isDouble() || !std::isfinite(bytes) || bytes < 0 || bytes != std::floor(bytes))
            throw RuntimeError(backupmsg::damaged(native(zipPath), backupmsg::sizeUnreadable(e.name)));
        if (bytes > double(sizeLimit(e.name)))
            throw RuntimeError(
                backupmsg::damaged(native(zipPath), backupmsg::fileTooLarge(e.name, databaseNamed(e.name) != nullptr)));
        e.size = qint64(bytes);
        listed.insert(e.name);
        m.entries << e;
        m.contents.files << e.name;
        m.contents.bytes += e.size;
    }
    // Every entry of the archive is listed, once; every listed file is there.
    if (names.size() != listed.size() + 1)
        throw RuntimeError(QSet<QString>(names.begin(), names.end()).size() != names.size()
                               ? backupmsg::damaged(native(zipPath), backupmsg::duplicateEntry())
                               : backupmsg::notABackup(native(zipPath)));
    for (const QString &n : names)
        if (n != manifestName && !listed.contains(n))
            throw RuntimeError(backupmsg::notABackup(native(zipPath)));
    // What every program folder holds: a backup without it would leave the
    // program nothing to start from.
    QStringList needed{folder::ratesFile};
    for (const folder::Database &d : folder::databaseFiles())
        if (d.required)
            needed << d.name;
    for (const QString &n : std::as_const(needed))
        if (!listed.contains(n))
            throw RuntimeError(backupmsg::damaged(native(zipPath), backupmsg::fileMissing(n)));
    return m;
}

// Why the settings file `name` holding `bytes` is not one the program reads, or "".
QString settingsFault(const QString &name, const QByteArray &bytes)
{
    if (name == folder::ratesFile && RatesList::splitLines(fromWin1252(bytes)).size() < rates::LineCount)
        return backupmsg::fileUnreadable(name);
    // Whole records, at least one: a cut-short file stops the parameters.
    if (name == folder::paramFile && (bytes.isEmpty() || bytes.size() % paramrecord::Size != 0))
        return backupmsg::fileUnreadable(name);
    if (name == folder::familyFile) {
        try {
            family::parse(bytes, name);
        } catch (const RuntimeError &) {
            return backupmsg::fileUnreadable(name);
        }
    }
    return {};
}

// Opens the archive and reads it whole: every listed file is read, sized and
// hashed, and the files the program reads are checked; when `staging` is
// given, each is written there too, flushed. Raises a text naming the first
// fault.
Manifest readArchive(const QString &zipPath, const QString &staging)
{
    QFile raw(zipPath);
    if (!raw.open(QIODevice::ReadOnly))
        throw RuntimeError(backupmsg::cannotOpen(native(zipPath)));
    const bool looksLikeZip = raw.peek(2) == "PK";
    raw.close();

    QuaZip zip(zipPath);
    zip.setUtf8Enabled(true);
    if (!zip.open(QuaZip::mdUnzip))
        throw RuntimeError(looksLikeZip ? backupmsg::damaged(native(zipPath), backupmsg::archiveUnreadable())
                                        : backupmsg::notABackup(native(zipPath)));
    Manifest m = readManifest(zip, zipPath);

    QByteArray buffer;
    for (const Entry &e : std::as_const(m.entries)) {
        auto broken = [&](const QString &why) { return RuntimeError(backupmsg::damaged(native(zipPath), why)); };
        const folder::Database *table = databaseNamed(e.name);
        if (!zip.setCurrentFile(e.name, QuaZip::csSensitive))
            throw broken(backupmsg::fileMissing(e.name));
        QuaZipFile in(&zip);
        if (!in.open(QIODevice::ReadOnly))
            throw broken(backupmsg::fileUnreadable(e.name));
        QCryptographicHash hash(QCryptographicHash::Sha256);
        QByteArray whole; // a file the program reads is looked at whole
        const bool keepWhole = !isPicture(e.name);
        qint64 total = 0;
        for (;;) {
            buffer.resize(chunk);
            const qint64 n = in.read(buffer.data(), chunk);
            if (n < 0)
                throw broken(backupmsg::fileUnreadable(e.name));
            if (n == 0)
                break;
            total += n;
            // Never more than the manifest announced: a forged size cannot
            // fill the disk.
            if (total > e.size)
                throw broken(backupmsg::fileAltered(e.name));
            hash.addData(QByteArrayView(buffer.constData(), n));
            if (keepWhole || !staging.isEmpty())
                whole.append(buffer.constData(), n);
        }
        in.close();
        if (in.getZipError() != UNZ_OK || total != e.size || hash.result().toHex() != e.sha256)
            throw broken(backupmsg::fileAltered(e.name));
        const QString fault = table ? tableFault(whole, *table) : settingsFault(e.name, whole);
        if (!fault.isEmpty())
            throw broken(fault);
        if (!staging.isEmpty()) {
            const QByteArray base = QFile::encodeName(staging);
            int error = makeParents(base, e.path);
            if (!error)
                error = journal::writeFlushed(base + '/' + e.path, whole, 0666, false);
            if (error)
                throw RuntimeError(backupmsg::cannotUnpack(native(QFileInfo(staging).path()), error));
        }
    }
    return m;
}

// ------------------------------------------------------------ writing

// A failure of the zip library while writing, and the system's error then.
struct ZipFailure {
    int error;
};

void addEntry(QuaZip &zip, const QString &name, const QByteArray &bytes, const QDateTime &stamp, QJsonArray &files)
{
    QuaZipNewInfo info(name);
    info.dateTime = stamp;
    // Pictures are JPEG already: deflating them again costs time for nothing.
    const bool stored = isPicture(name) && name.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive);
    QuaZipFile out(&zip);
    errno = 0;
    if (!out.open(QIODevice::WriteOnly, info, nullptr, 0, stored ? 0 : Z_DEFLATED, stored ? 0 : 6) ||
        out.write(bytes) != bytes.size())
        throw ZipFailure{errno};
    out.close();
    if (out.getZipError() != ZIP_OK)
        throw ZipFailure{errno};
    if (files.isEmpty() && name == manifestName)
        return;
    files.append(
        QJsonObject{{QStringLiteral("name"), name},
                    {QStringLiteral("size"), double(bytes.size())},
                    {QStringLiteral("sha256"),
                     QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex())}});
}

// The lock a restore takes on a table before moving it: no connection of
// this program may have it open, and no other program may hold it.
struct TableLock {
    Sqlite s;
    void take(const QString &path, const QString &name)
    {
        if (openConnection(path))
            throw RuntimeError(backupmsg::tableInUse(name));
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &s.db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw RuntimeError(backupmsg::tableInUse(name));
        // A file no program can use (a damaged archive) holds nothing: it
        // goes with the old data like any other.
        const int begun = sqlite3_exec(s.db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) & 0xff;
        if (begun == SQLITE_BUSY || begun == SQLITE_LOCKED)
            throw RuntimeError(backupmsg::tableInUse(name));
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
    const QString base = keptPrefix + now().toString(QStringLiteral("yyyy-MM-dd HH'h'mm'm'ss"));
    QString name = base;
    for (int n = 2; QFileInfo::exists(dir.filePath(name)); ++n)
        name = QStringLiteral("%1 (%2)").arg(base).arg(n);
    return name;
}

} // namespace

// ------------------------------------------------------------ create / check

Contents create(const QString &programFolder, const QString &zipPath)
{
    const QDateTime stamp = now();
    // Listed before the archive's temporary file exists beside it.
    const QList<DataFile> names = dataFiles(programFolder, zipPath);
    QStringList leftOut;
    QSaveFile file(zipPath);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        throw RuntimeError(backupmsg::cannotWrite(native(zipPath), texts::systemReason(errno)));
    // The backup holds every private figure of the folder: its owner alone reads it.
    ::fchmod(file.handle(), S_IRUSR | S_IWUSR);
    {
        QuaZip zip(&file);
        zip.setUtf8Enabled(true);
        zip.setAutoClose(false);
        if (!zip.open(QuaZip::mdCreate))
            throw RuntimeError(backupmsg::cannotWrite(native(zipPath), texts::systemReason(errno)));
        QJsonArray files;
        try {
            for (const DataFile &f : names) {
                QByteArray bytes;
                if (const folder::Database *table = databaseNamed(f.name)) {
                    const QString path = QFile::decodeName(f.path);
                    const Copy copy = copyDatabase(path, &bytes);
                    if (copy == Copy::Busy)
                        throw RuntimeError(backupmsg::tableBusy(f.name));
                    // A damaged table is left out rather than stopping the
                    // backup of everything else, when a folder can do
                    // without it; one the program needs stops the backup.
                    if (copy == Copy::Unreadable || !tableFault(bytes, *table).isEmpty()) {
                        if (table->required)
                            throw RuntimeError(backupmsg::tableDamaged(f.name));
                        leftOut << f.name;
                        continue;
                    }
                } else if (!readRaw(f.path, &bytes)) {
                    throw RuntimeError(rtl::cannotOpenFile(native(f.path)));
                }
                addEntry(zip, f.name, bytes, stamp, files);
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
            throw RuntimeError(backupmsg::cannotWrite(native(zipPath), texts::systemReason(z.error)));
        }
        errno = 0;
        zip.close();
        if (zip.getZipError() != ZIP_OK) {
            file.cancelWriting();
            throw RuntimeError(backupmsg::cannotWrite(native(zipPath), texts::systemReason(errno)));
        }
    }
    errno = 0;
    if (!file.commit())
        throw RuntimeError(backupmsg::cannotWrite(native(zipPath), texts::systemReason(errno)));
    // What was written is read back before it is called a backup.
    Contents contents;
    try {
        contents = readArchive(zipPath, QString()).contents;
    } catch (const RuntimeError &) {
        QFile::remove(zipPath);
        throw RuntimeError(backupmsg::cannotWrite(native(zipPath), backupmsg::readBackMismatch()));
    }
    contents.leftOut = leftOut;
    if (!leftOut.isEmpty())
        contents.leftOutNote = texts::backupLeftOut(leftOut);
    return contents;
}

Contents check(const QString &zipPath) { return readArchive(zipPath, QString()).contents; }

// ------------------------------------------------------------ restore

Restore::Restore(const QString &programFolder, const QString &zipPath) : m_folder(programFolder), m_zipPath(zipPath)
{
    // Unpacked inside the program folder: the same disk, so that putting the
    // files in place is a rename that cannot fail half-way through a file.
    errno = 0;
    m_staging = std::make_unique<QTemporaryDir>(QDir(programFolder).filePath(stagingPrefix + QStringLiteral("XXXXXX")));
    if (!m_staging->isValid())
        throw RuntimeError(backupmsg::cannotUnpack(native(programFolder), errno));
    m_contents = readArchive(zipPath, m_staging->path()).contents;
    QDir(m_staging->path()).mkpath(folder::pictures);
    // Every unpacked file on the disk before any of them is put in place.
    errno = 0;
    if (!journal::syncFileSystem(m_staging->path()))
        throw RuntimeError(backupmsg::cannotUnpack(native(programFolder), errno));
}

Restore::~Restore() = default;

QString Restore::apply()
{
    if (m_applied)
        return QString();
    const QDir dir(m_folder);

    std::vector<std::unique_ptr<TableLock>> locks;
    for (const QString &name : folder::databases()) {
        if (QFileInfo(dir.filePath(name)).isFile()) {
            locks.push_back(std::make_unique<TableLock>());
            locks.back()->take(dir.filePath(name), name);
        }
    }

    // What moves: the current data out, then the backup's in.
    const QString kept = keptFolderName(dir);
    const QString staged = dir.relativeFilePath(m_staging->path());
    QList<journal::Move> moves;
    QStringList current = folder::settingsFiles() << folder::pictures;
    for (const QString &db : folder::databases())
        current << withSideFiles(db);
    for (const QString &name : std::as_const(current))
        if (QFileInfo::exists(dir.filePath(name)) || QFileInfo(dir.filePath(name)).isSymLink())
            moves.append({name, kept + '/' + name, true});
    QStringList incoming{folder::pictures};
    for (const QString &name : std::as_const(m_contents.files))
        if (!isPicture(name))
            incoming << name;
    for (const QString &name : std::as_const(incoming))
        moves.append({staged + '/' + name, name, false});

    errno = 0;
    if (!dir.mkdir(kept))
        throw RuntimeError(backupmsg::cannotStart(native(m_folder), texts::systemReason(errno)));
    journal::syncFolder(m_folder);
    // From here on the restore is decided: a program stopped during the
    // moves finishes them at its next start.
    if (!journal::write(m_folder,
                        {journalKind, moves,
                         QJsonObject{{QStringLiteral("conserve"), kept}, {QStringLiteral("preparation"), staged}}})) {
        const int error = errno;
        dir.rmdir(kept);
        throw RuntimeError(backupmsg::cannotStart(native(m_folder), texts::systemReason(error)));
    }

    qsizetype made = 0;
    for (; made < moves.size(); ++made) {
        const journal::Move &m = moves[made];
        if (QFileInfo::exists(dir.filePath(m.to)) || !journal::make(m_folder, m))
            break;
    }
    if (made < moves.size()) {
        bool back = true;
        for (qsizetype i = made - 1; i >= 0; --i)
            back = journal::make(m_folder, {moves[i].to, moves[i].from}) && back;
        // Should a move back fail too, the journal stays: the next start
        // finishes the restore rather than leave a mixed folder.
        if (back) {
            journal::remove(m_folder);
            dir.rmdir(kept);
        } else {
            m_staging->setAutoRemove(false);
        }
        throw RuntimeError(backupmsg::moveFailed(native(dir.filePath(moves[made].from)), back));
    }
    journal::syncFolder(m_folder);
    journal::syncFolder(dir.filePath(kept));
    journal::remove(m_folder);
    locks.clear();
    m_applied = true;
    m_staging.reset();
    return dir.filePath(kept) + '/';
}

QString settleInterrupted(const QString &programFolder, const journal::Entry &entry)
{
    const QDir dir(programFolder);
    const QString kept = entry.details.value(QStringLiteral("conserve")).toString();
    const QString staged = entry.details.value(QStringLiteral("preparation")).toString();
    const journal::Outcome outcome = journal::settle(programFolder, entry);
    // What is left of the unpacked backup is no one's data any more.
    if (staged.startsWith(stagingPrefix) && !staged.contains('/'))
        QDir(dir.filePath(staged)).removeRecursively();
    if (outcome == journal::Outcome::Undone && !kept.isEmpty() && !kept.contains('/'))
        dir.rmdir(kept);
    journal::remove(programFolder);
    return outcome == journal::Outcome::Finished ? texts::restoreFinished(native(dir.filePath(kept)) + '/')
                                                 : texts::restoreUndone();
}

} // namespace backup
