#include "wholefile.h"

#include "common/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
[[noreturn]] void raise(int code) { throw RuntimeError(rtl::ioErrorText(code)); }
} // namespace

int ioCodeForErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY: return rtl::AccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return rtl::DiskFull;
    default: return 29;
    }
}

bool isMarkedReadOnly(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !(info.permissions() & QFileDevice::WriteOwner);
}

void writeWholeFile(const QString &path, const QByteArray &bytes)
{
    // The saved file would quietly replace a read-only file or stumble on a
    // folder late: both are refused before anything is written.
    const QFileInfo target(path);
    if (target.isDir() || isMarkedReadOnly(path))
        raise(rtl::AccessDenied);

    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        raise(ioCodeForErrno(errno));
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const int error = errno;
        file.cancelWriting();
        raise(ioCodeForErrno(error));
    }
    errno = 0;
    if (!file.commit())
        raise(ioCodeForErrno(errno));
}

namespace {
QByteArray native(const QString &path) { return QFile::encodeName(path); }

// A fresh, unused name beside `target`, hidden from a folder listing.
QString stagingName(const QString &target, int *fd)
{
    const QFileInfo info(target);
    QByteArray name = native(info.dir().filePath(QStringLiteral(".%1.XXXXXX").arg(info.fileName())));
    errno = 0;
    *fd = ::mkstemp(name.data());
    if (*fd < 0)
        raise(ioCodeForErrno(errno));
    return QFile::decodeName(name);
}

// Writes `bytes` whole to a new temporary file beside `target`, with the
// target's permissions, flushed to the disk. Returns its name.
QString stage(const QString &target, const QByteArray &bytes, QList<QString> &staged)
{
    int fd = -1;
    QString temp = stagingName(target, &fd);
    staged << temp;
    struct stat st {};
    ::fchmod(fd, ::stat(native(target).constData(), &st) == 0 ? (st.st_mode & 07777) : 0644);
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        errno = 0;
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = errno ? errno : ENOSPC;
            ::close(fd);
            raise(ioCodeForErrno(error));
        }
        data += n;
        left -= n;
    }
    errno = 0;
    if (::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        raise(ioCodeForErrno(error));
    }
    errno = 0;
    if (::close(fd) != 0)
        raise(ioCodeForErrno(errno));
    return temp;
}

// A second name for the file in place, taking no room on the disk, or a
// copy of its bytes where the file system has no such names. Empty when the
// file is not there.
QString keepAside(const QString &target, QList<QString> &staged)
{
    if (!QFileInfo::exists(target))
        return {};
    int fd = -1;
    QString name = stagingName(target, &fd);
    ::close(fd);
    ::unlink(native(name).constData());
    if (::link(native(target).constData(), native(name).constData()) == 0) {
        staged << name;
        return name;
    }
    QFile old(target);
    if (!old.open(QIODevice::ReadOnly))
        raise(ioCodeForErrno(errno ? errno : EACCES));
    return stage(target, old.readAll(), staged);
}

void removeAll(const QList<QString> &names)
{
    for (const QString &n : names)
        ::unlink(native(n).constData());
}
} // namespace

void replaceFiles(const QList<FileReplacement> &files)
{
    for (const FileReplacement &f : files)
        if (QFileInfo(f.path).isDir() || isMarkedReadOnly(f.path))
            raise(rtl::AccessDenied);

    struct Move {
        QString from, to;
        QString previous; // the old file under a second name, to go back to
        bool backup = false;
    };
    QList<QString> staged;
    QList<Move> moves;
    try {
        QList<Move> backups;
        for (const FileReplacement &f : files) {
            if (f.keepOld) {
                const QString old = keepAside(f.path, staged);
                if (!old.isEmpty())
                    backups << Move{old, f.path + QStringLiteral(".bak"), {}, true};
            }
            moves << Move{stage(f.path, f.bytes, staged), f.path, keepAside(f.path, staged)};
        }
        // The backups first: an old file is safe before anything replaces it.
        moves = backups + moves;
    } catch (const RuntimeError &) {
        removeAll(staged);
        throw;
    }

    for (qsizetype i = 0; i < moves.size(); ++i) {
        errno = 0;
        if (::rename(native(moves[i].from).constData(), native(moves[i].to).constData()) == 0)
            continue;
        const int error = errno;
        // Put back the files already replaced; a backup made on the way
        // holds the same bytes as the file in place and may stay.
        for (qsizetype j = 0; j < i; ++j) {
            if (!moves[j].previous.isEmpty())
                ::rename(native(moves[j].previous).constData(), native(moves[j].to).constData());
            else if (!moves[j].backup)
                ::unlink(native(moves[j].to).constData()); // there was no file before
        }
        removeAll(staged);
        raise(ioCodeForErrno(error));
    }
    for (const Move &m : moves)
        if (!m.previous.isEmpty())
            ::unlink(native(m.previous).constData());
}
