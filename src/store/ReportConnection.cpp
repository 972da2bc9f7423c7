#include "store/ReportConnection.h"

#include "store/ReportFiles.h"
#include "store/ReportSchema.h"

#include <QSqlQuery>

namespace {
int g_busyTimeout = 3000;
} // namespace

int ReportConnection::busyTimeout()
{
    return g_busyTimeout;
}

void ReportConnection::setBusyTimeout(int milliseconds)
{
    g_busyTimeout = milliseconds;
}

ReportConnection::ReportConnection(const QString& path, bool newFile)
    : SqlConnection(path, newFile ? Mode::Create : Mode::ReadWrite, g_busyTimeout)
{
    if (isOpen() && newFile)
        exec(QStringLiteral("PRAGMA synchronous = OFF"));
}

ReportConnection::~ReportConnection()
{
    if (m_inTransaction)
        rollback();
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
        const QString text = error();
        const int code = errorCode();
        rollback();
        setError(text, code);
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
        if (!connection.isOpen() || !connection.readSchema())
            return;
    }
    // Rolled back, or orphaned by a file that is gone: nothing may be left to apply to a later file.
    files.remove(journal);
}
