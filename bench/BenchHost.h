#pragma once

#include "base/Prompt.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

struct Session;
struct sqlite3;

// The district host shared by all benchmarks of one run, made once in a temporary folder, with the heavy
// report (HeavyReport.h) in its report file.
struct BenchHost
{
    QString root;
    QString commandLine;
    QString primaryPath;
    QString dataDir;
    QString reportPath;
};

const BenchHost& benchHost();

// Answers Yes to every question and shows nothing.
class SilentPrompt : public Prompt
{
public:
    Answer ask(const Message&) override { return Answer::Yes; }
};

// The add-in's start-up on the bench host, without a window; ends the run when it is refused.
void startBenchSession(Session& session);
// The same, then the report loaded into the model.
void startLoadedSession(Session& session);

// Writes the heavy report into the bench host's report file again (a benchmark that changes the report, such
// as the fill command, leaves it otherwise).
void rewriteHeavyReport();

// Reads every row of a statement through the SQLite C API, touching every column: what running the
// statement costs at the least.
long long sqliteFloor(const QString& databasePath, const char* statement);

// One read-only connection through the SQLite C API, for running a series of statements as a floor.
class FloorConnection
{
public:
    explicit FloorConnection(const QString& databasePath);
    ~FloorConnection();
    FloorConnection(const FloorConnection&) = delete;
    FloorConnection& operator=(const FloorConnection&) = delete;

    // Prepares the statement, binds the texts to its "?" markers and reads every row, touching every column.
    // Returns the number of rows; the first rows' cells are kept in firstRows (up to keepRows rows).
    int read(const QString& statement, const QStringList& params = {}, int keepRows = 0);
    const QList<QStringList>& firstRows() const { return m_first; }
    QStringList columns() const { return m_columns; }
    long long bytes() const { return m_bytes; }

private:
    sqlite3* m_db = nullptr;
    QList<QStringList> m_first;
    QStringList m_columns;
    long long m_bytes = 0;
};

// Writes 4 KiB at the start of the file and waits until the disk holds them; false when the file cannot be
// written.
bool syncWrite(const QString& path);

// A child process run to its end, with what the system measured of it.
struct ChildRun
{
    int exitCode = -1;
    double seconds = 0;
    double maxRssMiB = 0; // peak resident memory
    QString error;
};

// Runs program with args and waits for it; the child inherits this process's environment.
ChildRun runChild(const QString& program, const QStringList& args);
