#include "journal.h"

#include "errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace journal {

QString fileName() { return QStringLiteral(".berlivo-journal.json"); }
QString stagedSuffix() { return QStringLiteral(".tmp-berlivo"); }

int writeFlushed(const QByteArray &path, const QByteArray &bytes, unsigned mode, bool flush)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode_t(mode));
    if (fd < 0)
        return errno;
    int error = 0;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            break;
        }
        done += n;
    }
    if (!error && flush && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && !error)
        error = errno;
    if (error)
        ::unlink(path.constData());
    return error;
}

void syncFolder(const QString &folder) { syncFolder(QFile::encodeName(folder)); }

void syncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool syncFileSystem(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::syncfs(fd) == 0;
    ::close(fd);
    return ok;
}

namespace {
QByteArray at(const QString &folder, const QString &name) { return QFile::encodeName(QDir(folder).filePath(name)); }
bool exists(const QByteArray &path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0;
}
} // namespace

bool write(const QString &folder, const Entry &entry)
{
    QJsonArray moves;
    for (const Move &m : entry.moves)
        moves.append(QJsonObject{{QStringLiteral("de"), m.from},
                                 {QStringLiteral("vers"), m.to},
                                 {QStringLiteral("versLibre"), m.intoEmptyPlace}});
    const QByteArray text = QJsonDocument(QJsonObject{{QStringLiteral("type"), entry.kind},
                                                      {QStringLiteral("deplacements"), moves},
                                                      {QStringLiteral("details"), entry.details}})
                                .toJson();
    const QByteArray path = at(folder, fileName());
    const QByteArray staged = path + QFile::encodeName(stagedSuffix());
    if (writeFlushed(staged, text, 0600) != 0)
        return false;
    if (::rename(staged.constData(), path.constData()) != 0) {
        ::unlink(staged.constData());
        return false;
    }
    syncFolder(folder);
    return true;
}

void remove(const QString &folder)
{
    ::unlink(at(folder, fileName()).constData());
    syncFolder(folder);
}

std::optional<Entry> read(const QString &folder)
{
    const QString path = QDir(folder).filePath(fileName());
    QFile f(path);
    if (!f.exists())
        return std::nullopt;
    const auto unreadable = [&] { return RuntimeError(texts::journalUnreadable(QDir::toNativeSeparators(folder))); };
    if (!f.open(QIODevice::ReadOnly))
        throw unreadable();
    QJsonParseError parse;
    const QJsonObject root = QJsonDocument::fromJson(f.read(4 << 20), &parse).object();
    if (parse.error != QJsonParseError::NoError || !root.value(QStringLiteral("type")).isString())
        throw unreadable();
    Entry e;
    e.kind = root.value(QStringLiteral("type")).toString();
    e.details = root.value(QStringLiteral("details")).toObject();
    for (const auto &v : root.value(QStringLiteral("deplacements")).toArray()) {
        const QJsonObject o = v.toObject();
        Move m{o.value(QStringLiteral("de")).toString(), o.value(QStringLiteral("vers")).toString(),
               o.value(QStringLiteral("versLibre")).toBool()};
        // Every move stays inside the folder.
        for (const QString &p : {m.from, m.to})
            if (p.isEmpty() || QDir::isAbsolutePath(p) || QDir::cleanPath(p).startsWith(QLatin1String("..")))
                throw unreadable();
        e.moves << m;
    }
    return e;
}

bool isMade(const QString &folder, const Move &move)
{
    return move.intoEmptyPlace ? exists(at(folder, move.to)) : !exists(at(folder, move.from));
}

bool make(const QString &folder, const Move &move)
{
    return ::rename(at(folder, move.from).constData(), at(folder, move.to).constData()) == 0;
}

Outcome settle(const QString &folder, const Entry &entry)
{
    bool canFinish = true;
    for (const Move &m : entry.moves)
        if (!isMade(folder, m) && !exists(at(folder, m.from)))
            canFinish = false;
    const auto fail = [&](const QString &path) {
        throw RuntimeError(texts::cannotPutBack(QDir::toNativeSeparators(QDir(folder).filePath(path))));
    };
    if (canFinish) {
        for (const Move &m : entry.moves)
            if (!isMade(folder, m) && !make(folder, m))
                fail(m.from);
    } else {
        for (auto it = entry.moves.crbegin(); it != entry.moves.crend(); ++it)
            if (isMade(folder, *it) && exists(at(folder, it->to)) && !exists(at(folder, it->from)) &&
                !make(folder, {it->to, it->from}))
                fail(it->to);
    }
    syncFolder(folder);
    return canFinish ? Outcome::Finished : Outcome::Undone;
}

} // namespace journal
