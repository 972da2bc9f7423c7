#pragma once

#include <QString>
#include <QStringList>

class HostDatabase;
class Prompt;
struct Session;

namespace Startup {

// The host's connect string for both host databases.
QString hostConnectString();

// The host passes one string: the fields are separated by "," and each is trimmed of blanks.
struct CommandLine
{
    QStringList fields;
    int commas = 0;
    static CommandLine parse(const QString& text);
};

// The command line as the host passes it: the program's arguments joined by one blank.
QString joinArguments(const QStringList& arguments);

// The add-in serves squadron databases only: false for a district's or national database name.
bool SquadronCheck(const QString& primaryDbName);

// Reads the host's data path and derives DataDir and the paths beside it; false when the host has none.
bool ReadDataPath(Session& session);

// Writes (or updates) the add-in's row in the host table FormsAddin; the reason on failure.
bool RegisterAddin(HostDatabase& hostDb, QString* error = nullptr);

struct Outcome
{
    enum class Kind { Registered, Ready, Refused };
    Kind kind = Kind::Refused;
    QString reason; // why start-up was refused
    int exitCode() const { return kind == Kind::Refused ? 1 : 0; }
};

// Runs start-up from the host's command line, without the single-instance check and without a window:
// registration when there is no comma; with three commas the host settings, the host databases, the
// squadron identity and member recordsets, the report paths and the report database. Any other command
// line, and every failure, is refused with a one-line reason and nothing shown.
Outcome Main(Session& session, const QString& commandLine, Prompt& prompt);

} // namespace Startup
