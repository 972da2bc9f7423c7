#pragma once

#include <QString>
#include <QStringList>

class Prompt;
struct ReportSession;

// Archives: dated copies of the report in DataDir, "r318_<code>_<from-yy><to-yy><letter>.mdb", at most 26 per
// watch period (letters A to Z). An archive can be opened in place of the current report (it then gets a
// backup copy "<name>.bak" beside it), closed again, made the current report, or deleted. Every copy, rename
// and removal goes through ReportFiles.

// Whether a file name (without folder) is the squadron's current report "...318_<code>.mdb", or one of its
// archives "...318_<code>_<anything>.mdb". Letter case is ignored in the whole name and blanks around the code;
// "..." is whatever precedes the first "318_". A code is matched exactly: the report of squadron "12" is not
// taken for an archive of squadron "123", nor the other way round. Scratch files ("~...") and files set aside by
// the store (".unreadable-...") are neither.
bool IsReportFileName(const QString& fileName, const QString& code);
bool IsArchiveFileName(const QString& fileName, const QString& code);

// The archives of the squadron in `dataDir`, in the folder's own order.
QStringList ArchiveFileNames(const QString& dataDir, const QString& code);

// The backup copy that belongs to an archive (or report) file: the path up to the first "." of its file name,
// with ".bak".
QString BackupPathFor(const QString& path);

// ArchiveName: "r318_<code>_" + F + T + letter, without folder and extension. F is the last two characters
// of the from-date ("ff" when it is empty), T the same of the to-date ("tt"); the letter is the first of A to Z
// for which no such .mdb file exists in DataDir in any letter case. With all 26 taken the message
// "Too many Archive files for this year." / "Suggest deleting some earlier ones." is shown (title "Name
// archive file") and the name is empty.
struct ArchiveNameResult
{
    QString name;
    QChar letter;
};
ArchiveNameResult ArchiveName(const ReportSession& session, Prompt& prompt);

// "Archive R-318 Form", after the window has stored the box being edited. A missing from- or to-date shows
// "Must have watch dates" and names the box to focus ("txtFrom" / "txtTo"). When an archive of the watch
// period exists (letter B or later) the user chooses to overwrite the latest one (Yes), to write a new one
// (No) or to stop (Cancel). The report is saved, copied to the archive, and "File saved as <path>" is shown.
struct ArchiveOutcome
{
    bool written = false;
    QString path;  // the archive written
    QString focus; // the box to give the focus to, or empty
};
ArchiveOutcome ArchiveReport(ReportSession& session, Prompt& prompt);

// The chooser's "Open Database": whether the file can be used as a report (else the message "<reason> Cannot
// open selected database" is shown and nothing changes), then a fresh backup copy beside it, and the archive
// becomes the report being edited (CurrentDBPath, CurrentBakPath). The caller brings it up to the current
// schema and loads it.
bool OpenArchiveFile(ReportSession& session, const QString& path, Prompt& prompt);

// "Close Archive": saves the model into the archive, removes the archive's backup copy, and the squadron's
// current report becomes the report being edited again (the caller reloads it). A failed save leaves the
// archive open.
bool CloseArchive(ReportSession& session, Prompt& prompt);

// "Replace Current With Archive": saves the model into the archive; the archive and its backup copy are copied
// beside the current report under scratch names, then take the places of the current report and its backup
// copy, and the current report becomes the report being edited. The model is not reloaded: it already holds
// the archive. Any failing step leaves the current report and its backup copy as they were and shows a warning
// with the reason; the archive stays open.
bool ReplaceCurrentWithArchive(ReportSession& session, Prompt& prompt);

// "Start a New R-318": the current report becomes the next archive of its watch period (ArchiveName) and a
// new, empty report takes its place, with a fresh backup copy; the model is emptied (ClearReport). While an
// archive is open it is closed first (CloseArchive) and the current report is loaded, so the archive stays as
// it was. The new report is built beside the report under a scratch name before any file is touched; a failing
// step stops with a warning naming the file and the reason, and the report files are put back as they were:
// nothing is deleted.
struct StartNewOutcome
{
    bool started = false;       // a new report stands at CurrentDBPath
    bool archiveClosed = false; // an open archive was closed: the report being edited changed
};
StartNewOutcome StartNewReport(ReportSession& session, Prompt& prompt);

// Removes an archive in the chooser's delete mode: moved to the platform's trash, or removed for good. False
// with the reason when the file is still there.
bool RemoveArchiveFile(const QString& path, bool toTrash, QString* why = nullptr);
