#include "base/SqlConnection.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace {
QAtomicInt g_connections;

QString uriMode(SqlConnection::Mode mode)
{
    switch (mode) {
    case SqlConnection::Mode::ReadOnly:
        return QStringLiteral("mode=ro");
    case SqlConnection::Mode::ReadWrite:
        break;
    case SqlConnection::Mode::Create:
        return QStringLiteral("mode=rwc");
    }
    return QStringLiteral("mode=rw");
}
} // namespace

SqlConnection::SqlConnection(const QString& path, Mode mode, int busyTimeout)
    : m_connection(QStringLiteral("sql-%1").arg(g_connections.fetchAndAddRelaxed(1))), m_path(path)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    // The file is named by a URI whose mode says whether a missing file may be created.
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    url.setQuery(uriMode(mode));
    db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeout));
    if (!db.open()) {
        fail(db.lastError());
        if (m_error.isEmpty())
            m_error = QStringLiteral("the file cannot be opened");
        return;
    }
    m_open = true;
}

SqlConnection::~SqlConnection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

QSqlDatabase SqlConnection::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

QString SqlConnection::engineText(const QSqlError& error)
{
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

bool SqlConnection::fail(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    setError(engineText(error), ok ? (code & 0xff) : SqlResult::Ok);
    return false;
}

void SqlConnection::setError(const QString& text, int code)
{
    m_error = text;
    m_errorCode = code;
}

bool SqlConnection::run(QSqlQuery& query, const QString& statement, const QVariantList& params)
{
    if (!m_open) {
        setError(QStringLiteral("the database is not open"));
        return false;
    }
    if (!query.prepare(statement))
        return fail(query.lastError());
    return execPrepared(query, params);
}

bool SqlConnection::execPrepared(QSqlQuery& query, const QVariantList& params)
{
    for (int i = 0; i < params.size(); ++i)
        query.bindValue(i, params.at(i));
    if (!query.exec())
        return fail(query.lastError());
    return true;
}

bool SqlConnection::exec(const QString& statement, const QVariantList& params)
{
    QSqlQuery query(database());
    return run(query, statement, params);
}

bool SqlConnection::readSchema()
{
    return exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
}

SqlConnection::Content SqlConnection::fileContent(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return Content::Unreadable;
    }
    if (file.size() == 0)
        return Content::Empty;
    const QByteArray header = file.read(100);
    if (header.startsWith(QByteArray("SQLite format 3\0", 16)))
        return Content::Database;
    const QByteArray format = header.mid(4, 15);
    if (format == QByteArray("Standard Jet DB") || format == QByteArray("Standard ACE DB"))
        return Content::OldDesktopDatabase;
    return Content::Other;
}
