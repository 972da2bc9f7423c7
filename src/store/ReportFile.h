#pragma once

#include <QString>

class Prompt;
struct ReportSession;

// The report file operations around the backup copy: the backup copy at CurrentBakPath holds the last saved
// state of the report at CurrentDBPath.

// Copies CurrentDBPath over CurrentBakPath (through a scratch file and a rename).
bool BackupReport(ReportSession& session, QString* why = nullptr);

// "Save Current Changes": SaveReport into CurrentDBPath, then the backup copy. A failure of either shows a
// warning naming the file and the reason.
bool Save(ReportSession& session, Prompt& prompt);

// Copies the backup copy back over CurrentDBPath. A backup copy that is missing or cannot be opened is never
// copied over the report: a warning says so and nothing changes.
bool RestoreBackup(ReportSession& session, Prompt& prompt);

// "Abandon Current Changes": copies the backup copy back over CurrentDBPath and reloads the report model
// (LoadReport). A backup copy that is missing or cannot be opened is never copied over the report: a
// warning says so and nothing changes.
bool Revert(ReportSession& session, Prompt& prompt);

// The compaction scratch file "~~Temp.mdb", in DataDir beside the report.
QString CompactScratchPath(const ReportSession& session);

// Compacts the report at exit, after the final save and backup copy: a left-over scratch file is removed,
// the report is compacted into the scratch file, the compacted copy is checked (it opens and the engine's
// integrity check answers ok), the report is copied over its backup copy, and the compacted copy is renamed
// over the report. At every moment a complete report stands at CurrentDBPath; any failing step stops the
// compaction and leaves the report as it was. Nothing is shown; false (with the reason) when it stopped.
bool CompactReportDatabase(ReportSession& session, QString* why = nullptr);
