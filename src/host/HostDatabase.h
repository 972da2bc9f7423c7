#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <memory>

class Recordset;
class SqlConnection;

// One open host database file. SQLite files open with the embedded engine whatever their extension; any
// other content is refused with a reason. The host's connect string is kept for engines that take a
// password; SQLite files ignore it.
class HostDatabase
{
public:
    HostDatabase();
    ~HostDatabase();
    HostDatabase(const HostDatabase&) = delete;
    HostDatabase& operator=(const HostDatabase&) = delete;

    // Opens an existing file for reading and writing (never creates one).
    bool open(const QString& path, const QString& connect = {});
    void close();
    bool isOpen() const;
    QString path() const { return m_path; }
    QString error() const { return m_error; }
    QSqlDatabase database() const;

    // Runs a statement that changes data (registration only); values bound to "?" markers.
    bool exec(const QString& statement, const QVariantList& params = {});

    // Why a file cannot be opened as a database, or empty when it looks like a SQLite file.
    static QString unreadableReason(const QString& path);

    // The look-ups do not read a query that failed as an empty answer: they note the engine's error here, keep
    // the report's value and go on, and the operation that ran them shows what was noted (takeFailures).
    // failed() notes the failure of a query on this database, when it failed, and says whether it did.
    bool failed(const Recordset& query) const;
    void noteFailure(const QString& error) const;
    qsizetype failureCount() const { return m_failures.size(); }
    QStringList takeFailures();

private:
    std::unique_ptr<SqlConnection> m_db;
    QString m_path;
    QString m_error;
    mutable QStringList m_failures;
};
