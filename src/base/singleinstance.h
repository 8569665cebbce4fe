// Keeps one running copy of the program per user. The first copy listens on
// a local socket; a later start connects, asks it to raise its main window
// and ends without creating a window of its own.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // The name identifies the instance; the program uses defaultName().
    explicit SingleInstance(const QString &name, QObject *parent = nullptr);
    ~SingleInstance() override;
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // Per-user name of the program's socket.
    static QString defaultName();

    // True when this process is the running copy and listens for later
    // starts. False when another copy runs: it has been asked to come to
    // the front, and this process should end.
    bool claim();

signals:
    // A later start asked the running copy to show itself.
    void activationRequested();

private:
    bool askRunningCopyToActivate();
    void onNewConnection();

    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer m_server;
};
