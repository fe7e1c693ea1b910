#include "wholefile.h"

#include "common/errors.h"

#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

namespace {
[[noreturn]] void raise(int code) { throw RuntimeError(rtl::ioErrorText(code)); }
} // namespace

int ioCodeForErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return 3;
    case EMFILE:
    case ENFILE:
        return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return rtl::AccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return rtl::DiskFull;
    default:
        return 29;
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
