#pragma once
// A small file system of its own for a test that needs a full disk: a tmpfs
// of a few pages, mounted over a temporary folder (root only).

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

class SmallDisk {
public:
    explicit SmallDisk(int kib)
    {
        if (::geteuid() != 0) {
            m_reason = QStringLiteral("a full disk needs a small tmpfs, which only root may mount");
            return;
        }
        const QByteArray options = "size=" + QByteArray::number(kib) + "k";
        if (!m_dir.isValid() ||
            ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, options.constData()) != 0) {
            m_reason = QStringLiteral("mounting a small tmpfs was refused: %1")
                           .arg(QString::fromLocal8Bit(std::strerror(errno)));
            return;
        }
        m_mounted = true;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool isMounted() const { return m_mounted; }
    // Why there is no small disk.
    QString reason() const { return m_reason; }
    QString path() const { return m_dir.path(); }

    // Fills the disk, then frees `room` bytes of it.
    bool fillLeaving(qint64 room)
    {
        const QByteArray name = QFile::encodeName(m_dir.filePath(QStringLiteral("filler")));
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0)
            return false;
        const QByteArray block(4096, 'x');
        qint64 size = 0;
        for (;;) {
            const ssize_t n = ::write(fd, block.constData(), size_t(block.size()));
            if (n <= 0)
                break;
            size += n;
        }
        const bool ok = size >= room && ::ftruncate(fd, size - room) == 0;
        ::close(fd);
        return ok;
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_reason;
};
