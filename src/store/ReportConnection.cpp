#include "store/ReportConnection.h"

#include "store/ReportFiles.h"
#include "store/ReportSchema.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>

namespace {
QAtomicInt g_counter;
int g_busyTimeout = 3000;

// The engine's primary result code from an error's native code (extended codes carry it in the low byte).
int primaryCode(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xff) : 0;
}
} // namespace

int ReportConnection::busyTimeout()
{
    return g_busyTimeout;
}

void ReportConnection::setBusyTimeout(int milliseconds)
{
    g_busyTimeout = milliseconds;
}

ReportConnection::ReportConnection(const QString& path, bool newFile) : m_path(path)
{
    m_connection = QStringLiteral("report-%1").arg(g_counter.fetchAndAddRelaxed(1));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    // A URI with mode=rw opens an existing file only; a missing file is an error, never a new empty report.
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    url.setQuery(newFile ? QStringLiteral("mode=rwc") : QStringLiteral("mode=rw"));
    db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(g_busyTimeout));
    if (!db.open()) {
        setError(db.lastError());
        if (m_error.isEmpty())
            m_error = QStringLiteral("the file cannot be opened");
        return;
    }
    m_open = true;
    if (newFile)
        exec(QStringLiteral("PRAGMA synchronous = OFF"));
}

ReportConnection::~ReportConnection()
{
    if (m_inTransaction)
        rollback();
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

QSqlDatabase ReportConnection::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

void ReportConnection::setError(const QSqlError& error)
{
    m_error = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    m_errorCode = primaryCode(error);
}

bool ReportConnection::run(QSqlQuery& query, const QString& statement, const QVariantList& params)
{
    if (!m_open) {
        m_errorCode = 0;
        m_error = QStringLiteral("the report database is not open");
        return false;
    }
    if (!query.prepare(statement)) {
        setError(query.lastError());
        return false;
    }
    for (const QVariant& v : params)
        query.addBindValue(v);
    if (!query.exec()) {
        setError(query.lastError());
        return false;
    }
    return true;
}

bool ReportConnection::exec(const QString& statement, const QVariantList& params)
{
    QSqlQuery query(database());
    return run(query, statement, params);
}

bool ReportConnection::begin(Lock lock)
{
    if (!exec(lock == Lock::Exclusive ? QStringLiteral("BEGIN EXCLUSIVE") : QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    m_inTransaction = true;
    return true;
}

bool ReportConnection::commit()
{
    if (!exec(QStringLiteral("COMMIT"))) {
        const QString error = m_error;
        const int code = m_errorCode;
        rollback();
        m_error = error;
        m_errorCode = code;
        return false;
    }
    m_inTransaction = false;
    return true;
}

void ReportConnection::rollback()
{
    QSqlQuery query(database());
    query.exec(QStringLiteral("ROLLBACK"));
    m_inTransaction = false;
}

QHash<QString, ReportConnection::FieldInfo> ReportConnection::fields(const QString& table)
{
    QHash<QString, FieldInfo> result;
    QSqlQuery query(database());
    if (!run(query, QStringLiteral("PRAGMA table_info(%1)").arg(ReportSchema::quoted(table))))
        return result;
    while (query.next()) {
        FieldInfo info;
        info.name = query.value(1).toString();
        info.type = query.value(2).toString();
        info.size = ReportSchema::declaredSize(info.type);
        result.insert(info.name.toLower(), info);
    }
    return result;
}

bool ReportConnection::hasTable(const QString& table)
{
    QSqlQuery query(database());
    if (!run(query, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"),
             {table}))
        return false;
    return query.next();
}

void SettleJournal(const QString& path)
{
    ReportFiles& files = ReportFiles::current();
    const QString journal = path + QLatin1String("-journal");
    if (!files.exists(journal))
        return;
    if (files.exists(path)) {
        // Reading the file rolls an interrupted write back and removes its journal. When the file cannot be
        // read (another program is writing it), its journal is that program's and stays.
        ReportConnection connection(path);
        if (!connection.isOpen() || !connection.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
            return;
    }
    // Rolled back, or orphaned by a file that is gone: nothing may be left to apply to a later file.
    files.remove(journal);
}
