#pragma once

#include <QString>

class Prompt;
struct ReportSession;

// Opens the report database at CurrentDBPath, creating it when it is missing; any other mode than empty
// ("NewDB") always creates a new one in place of the current file. False when no usable report file stands
// at CurrentDBPath; *reason then says why.
//
// With an empty mode an existing file is opened for exclusive use and brought up to the current schema
// (UpgradeReportDatabase; a file that cannot be brought up to date is not used). A missing file whose backup copy
// exists is restored from the backup copy (the user is told); only when neither exists is a new report created. An
// existing file that cannot be opened is never replaced silently: the user may set it aside under a new name beside it
// and go on, or quit with nothing changed; a file locked by another program offers retry or quit. The batch command,
// where nobody can answer, changes nothing and gives the reason.
bool OpenReportDatabase(ReportSession& session, const QString& mode, Prompt& prompt, QString* reason = nullptr);

// Whether a file can serve as a report database.
struct ReportFileCheck
{
    enum class State {
        Usable,   // a report database, opened for exclusive use and found sound
        Missing,  // no file at the path
        Locked,   // another program holds it
        Unusable, // anything else: see reason
    };
    State state = State::Missing;
    QString reason; // "the file is empty (zero length)", "it is damaged (...)", ...
};

// Looks at the file without changing it: header, permissions, the engine's integrity check and the tables and
// fields every version of the report has. `forWriting` also requires that the file may be written.
ReportFileCheck CheckReportFile(const QString& path, bool forWriting = true);

// Creates a new, empty report database at CurrentDBPath (replacing the file and its backup copy when they
// exist) and its byte-identical backup copy. The file is built beside the target under a scratch name and
// renamed into place when complete. A failure shows "Error making database ..." and returns false.
bool CreateReportDatabase(ReportSession& session, Prompt& prompt, QString* reason = nullptr);

// Where an unusable file is set aside: "r318_TST.mdb" becomes "r318_TST.unreadable-20240131-154500.mdb" beside
// it (with "-2", "-3" ... added when that name is taken).
QString SetAsidePath(const QString& path);

// Adds the 24 slots of recognition category 7 when the file has none. A failure changes nothing and returns
// false with the engine's error in *reason.
bool AddNewSeniorSlots(ReportSession& session, QString* reason = nullptr);

// Brings the report at CurrentDBPath up to the current schema, making only the changes the file lacks, and
// refreshes its submission address. A change, a write or a commit that fails ends it: the warning "The report
// file ... could not be brought up to date: <reason>." is shown, false returned and *reason set. A failing
// rebuild of the officer list shows its own warning; the file is then still used.
bool UpgradeReportDatabase(ReportSession& session, Prompt& prompt, QString* reason = nullptr);
