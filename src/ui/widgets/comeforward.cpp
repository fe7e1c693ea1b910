#include "widgets/comeforward.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {
const QByteArray request = "montrer\n";
const QByteArray answer = "montre\n";

QString serverName(const QString &programFolder)
{
    const QByteArray folder = QDir(programFolder).canonicalPath().toUtf8();
    return QStringLiteral("berlivo-%1-%2")
        .arg(::getuid())
        .arg(QString::fromLatin1(QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(16)));
}
} // namespace

ComeForwardListener::ComeForwardListener(const QString &programFolder, std::function<void()> comeForward,
                                         QObject *parent)
    : QObject(parent), m_server(new QLocalServer(this)), m_comeForward(std::move(comeForward))
{
    const QString name = serverName(programFolder);
    // The folder's lock is held: a socket of that name is a dead program's.
    QLocalServer::removeServer(name);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    m_server->listen(name);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine())
                    return; // the rest of the line is on its way
                if (socket->readLine() == request) {
                    m_comeForward();
                    // The answer tells the second start that a window is up.
                    socket->write(answer);
                }
                socket->disconnectFromServer();
            });
        }
    });
}

bool askToComeForward(const QString &programFolder)
{
    QLocalSocket socket;
    socket.connectToServer(serverName(programFolder));
    if (!socket.waitForConnected(1000))
        return false;
    socket.write(request);
    // A program that takes the request but never shows its window (stuck
    // in a long task) is no answer either.
    while (socket.bytesAvailable() < answer.size())
        if (!socket.waitForReadyRead(5000))
            return false;
    return socket.readAll().startsWith(answer);
}
