#pragma once
// The files opened in one folder while a test runs some code, as the kernel
// saw them (inotify's IN_OPEN on the folder): every open(2) of a file there
// counts, whichever library made it (QFile, SQLite), so a count says what
// the code did, not what it meant to do. Linux only.
//
// The kernel merges an event into the one queued just before it when the two
// are the same: the closes are watched too, so that a file opened, closed and
// opened again counts twice (two opens of one file with nothing between them,
// not even its close, would still count once).

#include <QHash>
#include <QString>
#include <QtGlobal>

#include <cerrno>
#include <sys/inotify.h>
#include <unistd.h>

class FileOpens {
public:
    explicit FileOpens(const QString &folder)
        : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)),
          m_watch(m_fd < 0 ? -1 : inotify_add_watch(m_fd, folder.toLocal8Bit().constData(),
                                                         IN_OPEN | IN_CLOSE_WRITE | IN_CLOSE_NOWRITE))
    {
    }
    ~FileOpens()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    FileOpens(const FileOpens &) = delete;
    FileOpens &operator=(const FileOpens &) = delete;

    bool watching() const { return m_watch >= 0; }

    // The opens of each file name since the last call (the kernel queues the
    // events as the opens happen, so none is still on its way).
    QHash<QString, int> take()
    {
        QHash<QString, int> opens;
        alignas(inotify_event) char buffer[64 * 1024];
        for (;;) {
            const ssize_t n = read(m_fd, buffer, sizeof buffer);
            if (n <= 0)
                break;
            for (ssize_t at = 0; at < n;) {
                const auto *e = reinterpret_cast<const inotify_event *>(buffer + at);
                if (e->len > 0 && (e->mask & IN_OPEN) && !(e->mask & IN_ISDIR))
                    ++opens[QString::fromLocal8Bit(e->name)];
                at += ssize_t(sizeof(inotify_event) + e->len);
            }
        }
        return opens;
    }

private:
    int m_fd;
    int m_watch;
};
