#include "store/ReportArchive.h"

#include "base/Prompt.h"
#include "store/ReportConnection.h"
#include "store/ReportDatabase.h"
#include "store/ReportFiles.h"
#include "store/ReportIO.h"
#include "store/ReportSession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

bool archiveIsOpen(const ReportSession& session)
{
    return QDir::cleanPath(session.CurrentDBPath) != QDir::cleanPath(session.ReportDBPath);
}

// What follows the first "318_" of a report-like name, in lower case: "12" for "R318_12.MDB", "12_1920a" for
// "r318_12_1920A.mdb"; null for anything else.
QString afterPrefix(const QString& fileName)
{
    const QString lower = fileName.toLower();
    if (lower.startsWith(QLatin1Char('~')) || lower.contains(QLatin1String(".unreadable-")) ||
        !lower.endsWith(QLatin1String(".mdb")))
        return {};
    const QString stem = lower.chopped(4);
    const qsizetype at = stem.indexOf(QLatin1String("318_"));
    return at < 0 ? QString() : stem.mid(at + 4);
}

// The name a file of DataDir carries when it matches `name` in any letter case; empty when there is none.
QString existingName(const QString& dataDir, const QString& name)
{
    for (const QString& present : QDir(dataDir).entryList(QDir::Files | QDir::Hidden)) {
        if (present.compare(name, Qt::CaseInsensitive) == 0)
            return present;
    }
    return {};
}

} // namespace

bool IsReportFileName(const QString& fileName, const QString& code)
{
    const QString c = code.trimmed().toLower();
    return !c.isEmpty() && afterPrefix(fileName) == c;
}

bool IsArchiveFileName(const QString& fileName, const QString& code)
{
    const QString c = code.trimmed().toLower() + QLatin1Char('_');
    const QString rest = afterPrefix(fileName);
    return c.size() > 1 && rest.size() > c.size() && rest.startsWith(c);
}

QStringList ArchiveFileNames(const QString& dataDir, const QString& code)
{
    QStringList names;
    for (const QString& name : QDir(dataDir).entryList(QDir::Files | QDir::Hidden, QDir::Unsorted)) {
        if (IsArchiveFileName(name, code))
            names << name;
    }
    return names;
}

QString BackupPathFor(const QString& path)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    const QString folder = path.left(path.size() - name.size());
    return folder + (dot < 0 ? name : name.left(dot)) + QLatin1String(".bak");
}

ArchiveNameResult ArchiveName(const ReportSession& session, Prompt& prompt)
{
    const ReportModel& m = session.model;
    const QString from = m.FromDate.trimmed().isEmpty() ? QStringLiteral("ff") : m.FromDate.trimmed().right(2);
    const QString to = m.ToDate.trimmed().isEmpty() ? QStringLiteral("tt") : m.ToDate.trimmed().right(2);
    const QString stem = QLatin1String("r318_") + m.SquadronCode.trimmed() + QLatin1Char('_') + from + to;

    // A copy may carry the prefix in upper case: a letter is taken whatever the case of its file.
    QSet<QString> present;
    for (const QString& name : QDir(session.DataDir).entryList(QDir::Files | QDir::Hidden))
        present.insert(name.toLower());
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const QString name = stem + QLatin1Char(letter);
        if (!present.contains((name + QLatin1String(".mdb")).toLower()))
            return {name, QLatin1Char(letter)};
    }
    prompt.warning(QStringLiteral("Too many Archive files for this year.\nSuggest deleting some earlier ones."),
                   QStringLiteral("Name archive file"));
    return {};
}

ArchiveOutcome ArchiveReport(ReportSession& session, Prompt& prompt)
{
    ArchiveOutcome outcome;
    const ReportModel& m = session.model;
    if (m.FromDate.trimmed().isEmpty() || m.ToDate.trimmed().isEmpty()) {
        prompt.plain(QStringLiteral("Must have watch dates"));
        outcome.focus = m.FromDate.trimmed().isEmpty() ? QStringLiteral("txtFrom") : QStringLiteral("txtTo");
        return outcome;
    }
    const ArchiveNameResult name = ArchiveName(session, prompt);
    if (name.name.isEmpty())
        return outcome;

    QString target = name.name + QLatin1String(".mdb");
    if (name.letter != QLatin1Char('A')) {
        const Prompt::Answer answer =
            prompt.question(QStringLiteral("A previous archive for the current reporting period exists.\n"
                                           "Click 'Yes' to overwright existing file.\n"
                                           "Click 'No' to create a new archive file.\n"
                                           "Click 'Cancel' to abort save."),
                            Prompt::Buttons::YesNoCancel, QStringLiteral("Save Archive"));
        if (answer == Prompt::Answer::Yes) {
            // The latest archive, under the name it carries.
            QString latest = name.name.chopped(1) + QChar(name.letter.unicode() - 1) + QLatin1String(".mdb");
            const QString present = existingName(session.DataDir, latest);
            target = present.isEmpty() ? latest : present;
        } else if (answer != Prompt::Answer::No) {
            return outcome;
        }
    }
    const QString path = session.DataDir + target;

    if (!SaveReport(session, prompt))
        return outcome;
    if (QDir::cleanPath(path) != QDir::cleanPath(session.CurrentDBPath)) {
        SettleJournal(session.CurrentDBPath);
        SettleJournal(path);
        QString why;
        if (!ReportFiles::current().copy(session.CurrentDBPath, path, &why)) {
            prompt.warning(QStringLiteral("The archive %1 could not be written: %2.").arg(native(path), why));
            return outcome;
        }
    }
    prompt.warning(QStringLiteral("File saved as ") + native(path) + QLatin1Char('\n'));
    outcome.written = true;
    outcome.path = path;
    return outcome;
}

bool OpenArchiveFile(ReportSession& session, const QString& path, Prompt& prompt)
{
    const ReportFileCheck check = CheckReportFile(path);
    if (check.state != ReportFileCheck::State::Usable) {
        prompt.plain(QStringLiteral("%1: %2. Cannot open selected database").arg(native(path), check.reason));
        return false;
    }
    // The archive gets a fresh backup copy beside it: the revert point while it is open.
    const QString bak = BackupPathFor(path);
    SettleJournal(path);
    QString why;
    if (!ReportFiles::current().copy(path, bak, &why)) {
        prompt.warning(QStringLiteral("The archive %1 could not be opened: its backup copy could not be written: %2.")
                           .arg(native(path), why));
        return false;
    }
    session.CurrentDBPath = path;
    session.CurrentBakPath = bak;
    return true;
}

bool CloseArchive(ReportSession& session, Prompt& prompt)
{
    if (!archiveIsOpen(session) || !SaveReport(session, prompt))
        return false;
    // The archive's backup copy is only its revert point while it is open; one left behind does no harm.
    ReportFiles::current().remove(session.CurrentBakPath);
    session.CurrentDBPath = session.ReportDBPath;
    session.CurrentBakPath = session.ReportBakPath;
    return true;
}

bool ReplaceCurrentWithArchive(ReportSession& session, Prompt& prompt)
{
    if (!archiveIsOpen(session) || !SaveReport(session, prompt))
        return false;
    ReportFiles& files = ReportFiles::current();
    const QString& archive = session.CurrentDBPath;
    const QString& main = session.ReportDBPath;
    const QString& bak = session.ReportBakPath;
    const QString newMain = ReportFiles::scratchPathBeside(main);
    const QString newBak = ReportFiles::scratchPathBeside(bak);
    QString oldBak;
    const auto refuse = [&](const QString& why, const QString& note = {}) {
        files.remove(newMain);
        files.remove(newBak);
        prompt.warning(
            QStringLiteral("The current report could not be replaced with the archive: %1. The current report %2 "
                           "is unchanged.%3")
                .arg(why, native(main), note));
        return false;
    };

    // Both copies are made beside their targets first; only then do they take the targets' places.
    QString why;
    SettleJournal(archive);
    if (!files.copy(archive, newMain, &why))
        return refuse(why);
    const QString bakSource = files.exists(session.CurrentBakPath) ? session.CurrentBakPath : archive;
    if (!files.copy(bakSource, newBak, &why))
        return refuse(why);
    const bool hadBak = files.exists(bak);
    if (hadBak) {
        oldBak = ReportFiles::scratchPathBeside(bak);
        if (!files.rename(bak, oldBak, &why))
            return refuse(why);
    }
    // Puts the report's own backup copy back; a note for the warning when it stays under its scratch name.
    const auto restoreBak = [&]() -> QString {
        QString back;
        if (!hadBak)
            files.remove(bak);
        else if (!files.rename(oldBak, bak, &back))
            return QStringLiteral(" Its backup copy could not be put back (%1) and is kept as %2.")
                .arg(back, native(oldBak));
        return {};
    };
    if (!files.rename(newBak, bak, &why))
        return refuse(why, restoreBak());
    // The report is replaced last, in one step.
    SettleJournal(main);
    if (!files.rename(newMain, main, &why))
        return refuse(why, restoreBak());
    if (hadBak)
        files.remove(oldBak);
    session.CurrentDBPath = main;
    session.CurrentBakPath = bak;
    return true;
}

StartNewOutcome StartNewReport(ReportSession& session, Prompt& prompt)
{
    StartNewOutcome outcome;
    // The open archive is closed as "Close Archive" does; the new report is started from the current report.
    if (archiveIsOpen(session)) {
        if (!CloseArchive(session, prompt))
            return outcome;
        outcome.archiveClosed = true;
        if (!LoadReport(session, prompt))
            return outcome;
    }
    const ArchiveNameResult name = ArchiveName(session, prompt);
    if (name.name.isEmpty() || !SaveReport(session, prompt))
        return outcome;

    ReportFiles& files = ReportFiles::current();
    const QString main = session.CurrentDBPath;
    const QString bak = session.CurrentBakPath;
    const QString archive = session.DataDir + name.name + QLatin1String(".mdb");
    const auto refuse = [&](const QString& why) {
        prompt.warning(QStringLiteral("A new report could not be started: %1. The report %2 is unchanged.")
                           .arg(why, native(main)));
        return outcome;
    };

    // The new report and its backup copy, built beside them under scratch names.
    ReportSession fresh;
    fresh.DataDir = session.DataDir;
    fresh.HistorianURL = session.HistorianURL;
    fresh.CurrentDBPath = ReportFiles::scratchPathBeside(main);
    fresh.CurrentBakPath = ReportFiles::scratchPathBeside(bak);
    const auto removeFresh = [&] {
        files.remove(fresh.CurrentDBPath);
        files.remove(fresh.CurrentBakPath);
    };
    QString why;
    if (!CreateReportDatabase(fresh, prompt, &why)) {
        removeFresh();
        return refuse(why);
    }

    // The report becomes the archive, the new report takes its place, the new backup copy replaces the old
    // one. A failing step puts back what the steps before it moved.
    SettleJournal(main);
    SettleJournal(archive);
    if (!files.rename(main, archive, &why)) {
        removeFresh();
        return refuse(why);
    }
    if (!files.rename(fresh.CurrentDBPath, main, &why) || !files.rename(fresh.CurrentBakPath, bak, &why)) {
        QString back;
        if (!files.rename(archive, main, &back)) {
            removeFresh();
            prompt.warning(QStringLiteral("A new report could not be started: %1. The report was kept as %2 (%3).")
                               .arg(why, native(archive), back));
            return outcome;
        }
        removeFresh();
        return refuse(why);
    }

    ClearReport(session.model);
    session.model.Officers = fresh.model.Officers;
    outcome.started = true;
    return outcome;
}

bool RemoveArchiveFile(const QString& path, bool toTrash, QString* why)
{
    if (!toTrash)
        return ReportFiles::current().remove(path, why);
    QFile file(path);
    if (file.moveToTrash())
        return true;
    if (why)
        *why = file.errorString();
    return false;
}
