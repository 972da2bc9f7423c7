#include "store/ReportFile.h"

#include "base/Prompt.h"
#include "store/ReportConnection.h"
#include "store/ReportDatabase.h"
#include "store/ReportFiles.h"
#include "store/ReportIO.h"
#include "store/ReportSession.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>

namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

bool fail(QString* why, const QString& reason)
{
    if (why)
        *why = reason;
    return false;
}

} // namespace

bool BackupReport(ReportSession& session, QString* why)
{
    ReportFiles& files = ReportFiles::current();
    if (!files.exists(session.CurrentDBPath))
        return fail(why, QStringLiteral("the report file %1 does not exist").arg(native(session.CurrentDBPath)));
    // Copy only a settled file: a write left unfinished by an ended program is rolled back first.
    SettleJournal(session.CurrentDBPath);
    return files.copy(session.CurrentDBPath, session.CurrentBakPath, why);
}

bool Save(ReportSession& session, Prompt& prompt)
{
    if (!SaveReport(session, prompt))
        return false;
    QString why;
    if (!BackupReport(session, &why)) {
        prompt.warning(
            QStringLiteral("The backup copy %1 could not be written: %2.").arg(native(session.CurrentBakPath), why));
        return false;
    }
    return true;
}

bool RestoreBackup(ReportSession& session, Prompt& prompt)
{
    const ReportFileCheck check = CheckReportFile(session.CurrentBakPath, false);
    if (check.state != ReportFileCheck::State::Usable) {
        prompt.warning(QStringLiteral("The changes could not be abandoned: the backup copy %1 cannot be opened: %2. "
                                      "The report is unchanged.")
                           .arg(native(session.CurrentBakPath), check.reason));
        return false;
    }
    SettleJournal(session.CurrentDBPath);
    QString why;
    if (!ReportFiles::current().copy(session.CurrentBakPath, session.CurrentDBPath, &why)) {
        prompt.warning(QStringLiteral("The changes could not be abandoned: %1. The report is unchanged.").arg(why));
        return false;
    }
    return true;
}

bool Revert(ReportSession& session, Prompt& prompt)
{
    return RestoreBackup(session, prompt) && LoadReport(session, prompt);
}

QString CompactScratchPath(const ReportSession& session)
{
    QString dir = session.DataDir;
    if (dir.isEmpty())
        dir = QFileInfo(session.CurrentDBPath).absolutePath() + QLatin1Char('/');
    return dir + QLatin1String("~~Temp.mdb");
}

bool CompactReportDatabase(ReportSession& session, QString* why)
{
    ReportFiles& files = ReportFiles::current();
    const QString& main = session.CurrentDBPath;
    const QString scratch = CompactScratchPath(session);
    const QString scratchJournal = scratch + QLatin1String("-journal");
    const auto removeScratch = [&] {
        files.remove(scratch);
        files.remove(scratchJournal);
    };

    // 1. A scratch file left by an interrupted run is only ever a scratch file. (So are the scratch files of
    // copies that an ended program left beside the report; this runs as the program ends.)
    if (!files.remove(scratchJournal, why) || !files.remove(scratch, why))
        return false;
    files.removeScratchFiles(main);
    files.removeScratchFiles(session.CurrentBakPath);
    if (!files.exists(main))
        return fail(why, QStringLiteral("the report file %1 does not exist").arg(native(main)));

    // 2. Compact the report into the scratch file.
    {
        ReportConnection db(main);
        if (!db.isOpen() || !db.exec(QStringLiteral("VACUUM INTO ?"), {QDir::toNativeSeparators(scratch)})) {
            const QString error = db.error();
            removeScratch();
            return fail(why, QStringLiteral("cannot compact %1: %2").arg(native(main), error));
        }
    }

    // 3. Check the compacted copy before any file is replaced: on the disk, sound, and a report.
    QString error;
    if (!files.flush(scratch, &error)) {
        removeScratch();
        return fail(why, error);
    }
    const ReportFileCheck check = CheckReportFile(scratch);
    if (check.state != ReportFileCheck::State::Usable) {
        removeScratch();
        return fail(why, QStringLiteral("the compacted copy cannot be used: %1").arg(check.reason));
    }

    // 4. The backup copy takes the report as it stands, uncompacted.
    if (!BackupReport(session, &error)) {
        removeScratch();
        return fail(why, error);
    }

    // 5. The compacted copy replaces the report in one step.
    SettleJournal(main);
    if (!files.rename(scratch, main, &error)) {
        removeScratch();
        return fail(why, error);
    }
    return true;
}
