#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

class QSqlError;
class QSqlQuery;

// The engine's primary result codes that the program tells apart. An extended code carries its primary code in
// the low byte.
namespace SqlResult {
enum Code : int {
    Ok = 0, // no error, or one that did not come from the engine
    Busy = 5,
    Locked = 6,
    ReadOnly = 8,
    Damaged = 11,
    DiskFull = 13,
    CannotOpen = 14,
    NotADatabase = 26,
};
} // namespace SqlResult

// One connection to a SQLite database file under a connection name of its own, open from construction to
// destruction. Opening for reading, or for reading and writing, never creates a file: a missing file is an
// error. Every failure keeps the engine's text and its primary result code.
class SqlConnection
{
public:
    enum class Mode {
        ReadOnly,  // an existing file, read only
        ReadWrite, // an existing file, read and written
        Create,    // read and written; a missing file is created
    };

    // busyTimeout: how long a statement waits for another program's lock, in milliseconds.
    SqlConnection(const QString& path, Mode mode, int busyTimeout = 5000);
    ~SqlConnection();
    SqlConnection(const SqlConnection&) = delete;
    SqlConnection& operator=(const SqlConnection&) = delete;

    bool isOpen() const { return m_open; }
    QString path() const { return m_path; }
    QSqlDatabase database() const;

    // The last error: its text and the engine's primary result code (SqlResult::Ok when it did not come from
    // the engine).
    QString error() const { return m_error; }
    int errorCode() const { return m_errorCode; }

    // Runs one statement with values bound to its "?" markers.
    bool exec(const QString& statement, const QVariantList& params = {});
    // Prepares and runs a statement into `query` (which must be made on database()).
    bool run(QSqlQuery& query, const QString& statement, const QVariantList& params = {});
    // Runs a query prepared before, with the values bound to its markers in order.
    bool execPrepared(QSqlQuery& query, const QVariantList& params);
    // Reads the schema, so that a damaged file or one of another format is found now rather than at the first
    // query.
    bool readSchema();

    // The engine's own text of an error, without the driver's words around it.
    static QString engineText(const QSqlError& error);
    // Keeps the error as the last one; returns false.
    bool fail(const QSqlError& error);
    void setError(const QString& text, int code = SqlResult::Ok);

    // What a file holds, told from its first bytes.
    enum class Content {
        Unreadable,         // the file cannot be read (*error says why)
        Empty,              // zero length
        Database,           // a SQLite database file
        OldDesktopDatabase, // a file of the old desktop database format
        Other,
    };
    static Content fileContent(const QString& path, QString* error = nullptr);

private:
    QString m_connection;
    QString m_path;
    QString m_error;
    int m_errorCode = SqlResult::Ok;
    bool m_open = false;
};
