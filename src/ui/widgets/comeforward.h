#pragma once
// A second start on a data folder that a running program holds asks that
// program to bring its window forward, through a local socket named after
// the folder and the user (made for its owner alone, and a peer of another
// account is not listened to).
//
// Written on the system's own Unix-domain sockets and an event-loop notifier
// (QtCore), not Qt Network: the listener is made at every start, and that
// library with its own (Kerberos, proxies) would be loaded for it alone.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>

class ComeForwardListener : public QObject {
public:
    // Listens for as long as the object lives; `comeForward` runs on each request.
    ComeForwardListener(const QString &programFolder, std::function<void()> comeForward, QObject *parent = nullptr);
    ~ComeForwardListener() override;
    ComeForwardListener(const ComeForwardListener &) = delete;
    ComeForwardListener &operator=(const ComeForwardListener &) = delete;

private:
    void take();
    void respond(int fd, const QByteArray &said);

    int m_fd = -1;
    QByteArray m_path;
    std::function<void()> m_comeForward;
};

// Asks the program running on `programFolder` to come forward; false when
// none took the request within a second, or none said within five seconds
// that its window came forward.
bool askToComeForward(const QString &programFolder);
