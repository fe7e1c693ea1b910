#pragma once
// A second start on a data folder that a running program holds asks that
// program to bring its window forward, through a local socket named after
// the folder and the user (no other account can reach it).

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

class ComeForwardListener : public QObject {
public:
    // Listens for as long as the object lives; `comeForward` runs on each request.
    ComeForwardListener(const QString &programFolder, std::function<void()> comeForward, QObject *parent = nullptr);

private:
    QLocalServer *m_server;
    std::function<void()> m_comeForward;
};

// Asks the program running on `programFolder` to come forward; false when
// none took the request within a second, or none said within five seconds
// that its window came forward.
bool askToComeForward(const QString &programFolder);
