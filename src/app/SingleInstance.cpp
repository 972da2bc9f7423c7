#include "app/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace {
const QByteArray kActivate("activate\n");
}

SingleInstance::SingleInstance(const QString& key, const QString& folder, QObject* parent) : QObject(parent)
{
    QString dir = folder;
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    QDir().mkpath(dir);
    m_lockPath = dir + QLatin1Char('/') + key + QLatin1String(".lock");
#ifdef Q_OS_WIN
    // Named pipes are per machine: the user's name keeps users apart.
    m_serverName = key + QLatin1Char('-') + qEnvironmentVariable("USERNAME");
#else
    m_serverName = dir + QLatin1Char('/') + key + QLatin1String(".socket");
#endif
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

bool SingleInstance::claim()
{
    m_reason.clear();
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    // A lock left by a copy that was killed is stale: tryLock takes it over.
    if (!m_lock->tryLock(0)) {
        const QString why = askRunningCopy();
        if (!why.isEmpty())
            m_reason = QStringLiteral("another copy holds %1 but does not answer: %2").arg(m_lockPath, why);
        return false;
    }
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(m_serverName); // a socket left by a crashed copy
    if (m_server->listen(m_serverName))
        connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    else
        m_reason = QStringLiteral("a later copy will not find this one: it cannot listen on %1: %2")
                       .arg(m_serverName, m_server->errorString());
    return true;
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().contains(kActivate.trimmed()))
                Q_EMIT activationRequested();
            socket->disconnectFromServer();
        });
    }
}

QString SingleInstance::askRunningCopy()
{
    // The running copy may still be starting: give it a little time to listen.
    QDeadlineTimer deadline(3000);
    QString why;
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(m_serverName);
        if (socket.waitForConnected(int(std::min<qint64>(deadline.remainingTime(), 500)))) {
            socket.write(kActivate);
            if (!socket.waitForBytesWritten(1000) && socket.bytesToWrite() > 0)
                return socket.errorString();
            socket.waitForDisconnected(1000);
            return {};
        }
        why = socket.errorString();
        if (socket.error() != QLocalSocket::ServerNotFoundError &&
            socket.error() != QLocalSocket::ConnectionRefusedError)
            return why;
        QThread::msleep(100);
    }
    return why.isEmpty() ? QStringLiteral("no answer in time") : why;
}
