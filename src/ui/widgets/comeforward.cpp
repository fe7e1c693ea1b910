#include "widgets/comeforward.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <memory>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
const QByteArray request = "montrer\n";
const QByteArray answer = "montre\n";

// In the temporary folder, named after the user and the folder's path.
QByteArray socketPath(const QString &programFolder)
{
    const QByteArray folder = QDir(programFolder).canonicalPath().toUtf8();
    return QFile::encodeName(
        QDir::tempPath() + '/' +
        QStringLiteral("berlivo-%1-%2")
            .arg(::getuid())
            .arg(QString::fromLatin1(QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(16))));
}

bool addressOf(const QByteArray &path, sockaddr_un &address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= qsizetype(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    return true;
}

// Whether the other end of `fd` runs under this user.
bool peerIsThisUser(int fd)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
}

// Waits for `events` on `fd` until `clock` reaches `ms`; false on timeout.
bool waitFor(int fd, short events, const QElapsedTimer &clock, qint64 ms)
{
    for (;;) {
        const qint64 left = ms - clock.elapsed();
        if (left <= 0)
            return false;
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, int(left));
        if (n > 0)
            return true;
        if (n == 0 || errno != EINTR)
            return false;
    }
}
} // namespace

ComeForwardListener::ComeForwardListener(const QString &programFolder, std::function<void()> comeForward,
                                         QObject *parent)
    : QObject(parent), m_path(socketPath(programFolder)), m_comeForward(std::move(comeForward))
{
    sockaddr_un address;
    if (!addressOf(m_path, address))
        return;
    // The folder's lock is held: a socket of that name is a dead program's.
    ::unlink(m_path.constData());
    m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_fd < 0)
        return;
    // Made for its owner alone, from the start (no moment open to others).
    const mode_t before = ::umask(S_IRWXG | S_IRWXO);
    const bool bound = ::bind(m_fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::umask(before);
    if (!bound || ::listen(m_fd, 8) != 0) {
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    auto *incoming = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(incoming, &QSocketNotifier::activated, this, &ComeForwardListener::take);
}

ComeForwardListener::~ComeForwardListener()
{
    if (m_fd < 0)
        return;
    ::close(m_fd);
    ::unlink(m_path.constData());
}

void ComeForwardListener::take()
{
    for (;;) {
        const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            return;
        if (!peerIsThisUser(fd)) {
            ::close(fd);
            continue;
        }
        // The request may come in pieces: the line is gathered until whole.
        auto *readable = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        auto said = std::make_shared<QByteArray>();
        connect(readable, &QSocketNotifier::activated, this, [this, readable, fd, said] {
            char buffer[64];
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && (errno == EAGAIN || errno == EINTR))
                return;
            if (got > 0)
                said->append(buffer, got);
            if (got > 0 && !said->contains('\n') && said->size() < request.size())
                return; // the rest of the line is on its way
            readable->setEnabled(false);
            respond(fd, *said);
            ::close(fd);
            readable->deleteLater();
        });
    }
}

void ComeForwardListener::respond(int fd, const QByteArray &said)
{
    if (said.left(said.indexOf('\n') + 1) != request)
        return;
    m_comeForward();
    // The answer tells the second start that a window is up.
    (void)::send(fd, answer.constData(), size_t(answer.size()), MSG_NOSIGNAL);
}

bool askToComeForward(const QString &programFolder)
{
    sockaddr_un address;
    if (!addressOf(socketPath(programFolder), address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    QElapsedTimer clock;
    clock.start();
    bool connected = ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    if (!connected && (errno == EINPROGRESS || errno == EAGAIN) && waitFor(fd, POLLOUT, clock, 1000)) {
        int error = 0;
        socklen_t size = sizeof error;
        connected = ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
    }
    // Only a program of this user is asked.
    bool shown = false;
    if (connected && peerIsThisUser(fd) &&
        ::send(fd, request.constData(), size_t(request.size()), MSG_NOSIGNAL) == request.size()) {
        // A program that takes the request but never shows its window (stuck
        // in a long task) is no answer either.
        QByteArray got;
        clock.restart();
        while (got.size() < answer.size() && waitFor(fd, POLLIN, clock, 5000)) {
            char buffer[64];
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0 && !(n < 0 && (errno == EAGAIN || errno == EINTR)))
                break;
            if (n > 0)
                got.append(buffer, n);
        }
        shown = got.startsWith(answer);
    }
    ::close(fd);
    return shown;
}
