#include "host/HostDatabase.h"

#include "base/SqlConnection.h"
#include "host/Recordset.h"

#include <QFileInfo>

#include <utility>

HostDatabase::HostDatabase() = default;

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
    QString why;
    switch (SqlConnection::fileContent(path, &why)) {
    case SqlConnection::Content::Unreadable:
        return QStringLiteral("no permission to read it (%1)").arg(why);
    case SqlConnection::Content::Empty:
        return QStringLiteral("the file is empty (zero length)");
    case SqlConnection::Content::Database:
        return {};
    case SqlConnection::Content::OldDesktopDatabase:
        return QStringLiteral("it is a file of the old desktop database format");
    case SqlConnection::Content::Other:
        break;
    }
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
    m_db = std::make_unique<SqlConnection>(path, SqlConnection::Mode::ReadWrite, 2000);
    // Touch the schema so that a damaged file is found now rather than at the first query.
    if (!m_db->isOpen() || !m_db->readSchema()) {
        m_error = m_db->error();
        m_db.reset();
        return false;
    }
    return true;
}

void HostDatabase::close()
{
    m_db.reset();
}

bool HostDatabase::isOpen() const
{
    return m_db != nullptr;
}

QSqlDatabase HostDatabase::database() const
{
    return m_db ? m_db->database() : QSqlDatabase();
}

bool HostDatabase::exec(const QString& statement, const QVariantList& params)
{
    if (!m_db) {
        m_error = QStringLiteral("the database is not open");
        return false;
    }
    if (!m_db->exec(statement, params)) {
        m_error = m_db->error();
        return false;
    }
    return true;
}

bool HostDatabase::failed(const Recordset& query) const
{
    const QString failure = query.failure();
    if (failure.isEmpty())
        return false;
    noteFailure(failure);
    return true;
}

void HostDatabase::noteFailure(const QString& error) const
{
    m_failures << error;
}

QStringList HostDatabase::takeFailures()
{
    return std::exchange(m_failures, {});
}
