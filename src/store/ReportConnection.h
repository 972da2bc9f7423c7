#pragma once

#include "base/SqlConnection.h"

#include <QHash>
#include <QString>

// One operation's handle on a report database file. Every operation opens the file itself and closes it
// before it returns; no handle stays open between user actions. The file is opened for reading and writing
// and is never created by accident: only a new file being built passes `newFile`. A new file is written
// without waiting for the disk at each step; whoever builds it flushes it once, complete, before it takes
// the place of a report. Statements, errors and result codes are those of SqlConnection.
class ReportConnection : public SqlConnection
{
public:
    enum class Lock { Immediate, Exclusive };

    explicit ReportConnection(const QString& path, bool newFile = false);
    ~ReportConnection(); // rolls back a transaction still open, closes the file
    ReportConnection(const ReportConnection&) = delete;
    ReportConnection& operator=(const ReportConnection&) = delete;

    // Starts a transaction. Exclusive keeps every other process from reading or writing until it ends;
    // Immediate keeps them from writing.
    bool begin(Lock lock);
    // Commits; a commit that fails rolls the transaction back and keeps the engine's error.
    bool commit();
    void rollback();
    bool inTransaction() const { return m_inTransaction; }

    // The fields of a table with their declared sizes (0 for non-text fields), read from the file; empty
    // when the table does not exist. Names are keyed in lower case.
    struct FieldInfo
    {
        QString name;
        QString type;
        int size = 0;
    };
    QHash<QString, FieldInfo> fields(const QString& table);
    bool hasTable(const QString& table);

    // How long an operation waits for another program's lock before it gives up, in milliseconds.
    static int busyTimeout();
    static void setBusyTimeout(int milliseconds);

private:
    bool m_inTransaction = false;
};

// Makes sure no rollback journal of `path` is left over before `path` is replaced by another file: a journal
// left by an interrupted write is rolled back into its own file first (by opening it), and a journal whose
// file is gone is removed. Otherwise the engine would later apply the old journal to the new file.
void SettleJournal(const QString& path);
