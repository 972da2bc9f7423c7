#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

// Keeps a second copy of the program from running. The first copy holds a lock file and listens on a local
// socket; a later copy finds the lock taken, asks the first one to bring its main window to the front and
// ends. A lock left by a crashed copy is stale and does not block the next start.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // key names the lock and the socket; folder is where they live (empty: the user's runtime folder).
    explicit SingleInstance(const QString& key = QStringLiteral("r318form"), const QString& folder = {},
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the only running copy (it then answers later copies). False when another copy runs:
    // it has been asked to come to the front, or, when reason() is not empty, it could not be reached.
    bool claim();
    // Why the last claim fell short, for the caller to print: the running copy did not answer (claim() false),
    // or this copy cannot listen for later ones (claim() true: it runs, but a later copy will not find it).
    // Empty when the claim did all it should.
    QString reason() const { return m_reason; }

    QString lockPath() const { return m_lockPath; }
    QString serverName() const { return m_serverName; }

Q_SIGNALS:
    // A later copy asked this one to bring its main window to the front.
    void activationRequested();

private:
    void onNewConnection();
    // Empty when the running copy took the request, else why not.
    QString askRunningCopy();

    QString m_lockPath;
    QString m_serverName;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QLocalServer> m_server;
    QString m_reason;
};
