#include "host/HostDatabase.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace {
QAtomicInt g_connectionCounter;
}

HostDatabase::~HostDatabase()
{
    close();
}

QString HostDatabase::unreadableReason(const QString& path)
{
    QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("the file does not exist");
    if (info.isDir())
        return QStringLiteral("it is a folder");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("no permission to read it (%1)").arg(file.errorString());
    if (file.size() == 0)
        return QStringLiteral("the file is empty (zero length)");
    const QByteArray header = file.read(16);
    if (header == QByteArray("SQLite format 3\0", 16))
        return {};
    if (header.size() >= 4 && header.mid(4, 11) == QByteArray("Standard Je"))
        return QStringLiteral("it is a file of the old desktop database format");
    return QStringLiteral("it is not a database");
}

bool HostDatabase::open(const QString& path, const QString& connect)
{
    Q_UNUSED(connect) // SQLite host files carry no password
    close();
    m_path = path;
    m_error = unreadableReason(path);
    if (!m_error.isEmpty())
        return false;
    m_connection = QStringLiteral("host-%1").arg(g_connectionCounter.fetchAndAddRelaxed(1));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
    if (!db.open()) {
        m_error = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connection);
        m_connection.clear();
        return false;
    }
    // Touch the schema so that a damaged file is found now rather than at the first query.
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        m_error = probe.lastError().text();
        probe = QSqlQuery();
        close();
        return false;
    }
    return true;
}

void HostDatabase::close()
{
    if (m_connection.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
    m_connection.clear();
}

bool HostDatabase::isOpen() const
{
    return !m_connection.isEmpty();
}

QSqlDatabase HostDatabase::database() const
{
    if (m_connection.isEmpty())
        return {};
    return QSqlDatabase::database(m_connection, false);
}

bool HostDatabase::exec(const QString& statement, const QVariantList& params)
{
    if (!isOpen()) {
        m_error = QStringLiteral("the database is not open");
        return false;
    }
    QSqlQuery query(database());
    if (!query.prepare(statement)) {
        m_error = query.lastError().text();
        return false;
    }
    for (const QVariant& value : params)
        query.addBindValue(value);
    if (!query.exec()) {
        m_error = query.lastError().text();
        return false;
    }
    return true;
}
