#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

// One open host database file. SQLite files open with the embedded engine whatever their extension; any
// other content is refused with a reason. The host's connect string is kept for engines that take a
// password; SQLite files ignore it.
class HostDatabase
{
public:
    HostDatabase() = default;
    ~HostDatabase();
    HostDatabase(const HostDatabase&) = delete;
    HostDatabase& operator=(const HostDatabase&) = delete;

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

private:
    QString m_connection;
    QString m_path;
    QString m_error;
};
