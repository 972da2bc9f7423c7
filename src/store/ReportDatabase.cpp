#include "store/ReportDatabase.h"

#include "base/Prompt.h"
#include "store/OfficeCatalogue.h"
#include "store/ReportConnection.h"
#include "store/ReportFiles.h"
#include "store/ReportIO.h"
#include "store/ReportSchema.h"
#include "store/ReportSession.h"
#include "store/ReportValues.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>

namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

bool setReason(QString* reason, const QString& text)
{
    if (reason)
        *reason = text;
    return false;
}

// Fields that the upgrade adds to files of older versions; every other field must be in every report file.
bool addedByUpgrade(const QString& table, const QString& field)
{
    static const QStringList added = {QStringLiteral("Education.OC_Sem"),   QStringLiteral("Activities.VSC"),
                                      QStringLiteral("Activities.Award_S"), QStringLiteral("Misc.SubmitURL"),
                                      QStringLiteral("Misc.Year"),          QStringLiteral("Misc.Rostrelv6")};
    return added.contains(table + QLatin1Char('.') + field, Qt::CaseInsensitive);
}

ReportFileCheck unusable(const QString& reason)
{
    return {ReportFileCheck::State::Unusable, reason};
}

} // namespace

ReportFileCheck CheckReportFile(const QString& path, bool forWriting)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {ReportFileCheck::State::Missing, QStringLiteral("the file does not exist")};
    if (!info.exists())
        return unusable(QStringLiteral("it is a link to a file that does not exist"));
    if (info.isDir())
        return unusable(QStringLiteral("it is a folder, not a file"));
    if (!info.permission(QFileDevice::ReadOwner))
        return unusable(QStringLiteral("no permission to read it"));
    switch (SqlConnection::fileContent(path)) {
    case SqlConnection::Content::Unreadable:
        return unusable(QStringLiteral("no permission to read it"));
    case SqlConnection::Content::Empty:
        return unusable(QStringLiteral("the file is empty (zero length)"));
    case SqlConnection::Content::OldDesktopDatabase:
        return unusable(QStringLiteral("it is a file of the old desktop database format, which this version "
                                       "cannot read"));
    case SqlConnection::Content::Other:
        return unusable(QStringLiteral("it is not a report database"));
    case SqlConnection::Content::Database:
        break;
    }
    if (forWriting && (!info.isWritable() || !info.permission(QFileDevice::WriteOwner)))
        return unusable(QStringLiteral("no permission to write to it (the file is read-only)"));

    ReportConnection db(path);
    const auto engineProblem = [&db]() -> ReportFileCheck {
        switch (db.errorCode()) {
        case SqlResult::Busy:
        case SqlResult::Locked:
            return {ReportFileCheck::State::Locked, QStringLiteral("it is locked by another program")};
        case SqlResult::NotADatabase:
            return unusable(QStringLiteral("it is not a report database (%1)").arg(db.error()));
        default:
            return unusable(QStringLiteral("it is damaged (%1)").arg(db.error()));
        }
    };
    if (!db.isOpen())
        return engineProblem();
    // Exclusive use: no other program reads or writes the file while it is looked at. Reading also rolls
    // back a write that an ended program left unfinished.
    if (!db.begin(ReportConnection::Lock::Exclusive))
        return engineProblem();
    {
        QSqlQuery q(db.database());
        if (!db.run(q, QStringLiteral("PRAGMA quick_check(1)")))
            return engineProblem();
        const QString answer = q.next() ? q.value(0).toString() : QString();
        if (answer != QLatin1String("ok"))
            return unusable(
                QStringLiteral("it is damaged (%1)").arg(answer.isEmpty() ? QStringLiteral("no answer") : answer));
    }
    for (const ReportSchema::Table& table : ReportSchema::tables()) {
        const auto fields = db.fields(table.name);
        if (fields.isEmpty())
            return unusable(QStringLiteral("it is damaged (the table %1 is missing)").arg(table.name));
        for (const ReportSchema::Field& field : table.fields) {
            if (!fields.contains(field.name.toLower()) && !addedByUpgrade(table.name, field.name))
                return unusable(
                    QStringLiteral("it is damaged (the table %1 has no field %2)").arg(table.name, field.name));
        }
    }
    db.rollback();
    return {ReportFileCheck::State::Usable, {}};
}

QString SetAsidePath(const QString& path)
{
    const QFileInfo info(path);
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString base =
        info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QLatin1String(".unreadable-") + stamp;
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    QString candidate = base + suffix;
    for (int n = 2; QFileInfo::exists(candidate) || QFileInfo::exists(candidate + QLatin1String("-journal")); ++n)
        candidate = base + QLatin1Char('-') + QString::number(n) + suffix;
    return candidate;
}

namespace {

// What the user is offered for one file that cannot be opened. Returns true to look at the files again,
// false to give up (with *reason set).
bool handleProblem(const QString& path, const QString& label, const ReportFileCheck& check, const QString& goOn,
                   Prompt& prompt, QString* reason)
{
    const QString problem = QStringLiteral("%1 %2 cannot be opened: %3.").arg(label, native(path), check.reason);
    setReason(reason, problem);
    // The batch command cannot ask: nothing is changed.
    if (!prompt.canAsk()) {
        prompt.warning(problem + QStringLiteral(" Nothing was changed."));
        return false;
    }
    if (check.state == ReportFileCheck::State::Locked) {
        const Prompt::Answer a =
            prompt.ask({problem + QStringLiteral("\n\nClick 'Retry' to try again, or 'Cancel' to quit; nothing is "
                                                 "changed."),
                        {},
                        Prompt::Icon::Warning,
                        Prompt::Buttons::RetryCancel});
        return a == Prompt::Answer::Retry;
    }
    const QString aside = SetAsidePath(path);
    const Prompt::Answer a = prompt.ask(
        {problem + QStringLiteral("\n\nClick 'Yes' to set it aside as %1 (nothing is deleted) and %2.\nClick 'No' "
                                  "to quit; nothing is changed.")
                       .arg(native(aside), goOn),
         {},
         Prompt::Icon::Warning,
         Prompt::Buttons::YesNo});
    if (a != Prompt::Answer::Yes)
        return false;
    ReportFiles& files = ReportFiles::current();
    const auto notSetAside = [&](const QString& why) {
        const QString text = QStringLiteral("%1 %2 could not be set aside: %3").arg(label, native(path), why);
        prompt.warning(text + QLatin1Char('.'));
        return setReason(reason, text);
    };
    QString why;
    if (!files.rename(path, aside, &why))
        return notSetAside(why);
    // A journal left beside the file belongs to it and goes with it; when it cannot, the file goes back to it.
    const QString journal = path + QLatin1String("-journal");
    if (files.exists(journal) && !files.rename(journal, aside + QLatin1String("-journal"), &why)) {
        QString back;
        if (!files.rename(aside, path, &back))
            return notSetAside(QStringLiteral("its journal %1 could not go with it (%2), and the file stays as %3 "
                                              "(%4)")
                                   .arg(native(journal), why, native(aside), back));
        return notSetAside(QStringLiteral("its journal %1 could not go with it (%2)").arg(native(journal), why));
    }
    return true;
}

// Runs one step of the creation: opens the new file, runs `write` in one exclusive transaction, closes.
template <typename Write> bool creationStep(const QString& path, Write write, int* code, QString* error)
{
    ReportConnection db(path, true);
    const auto failed = [&] {
        *code = db.errorCode();
        *error = db.error();
        return false;
    };
    if (!db.isOpen() || !db.begin(ReportConnection::Lock::Exclusive))
        return failed();
    if (!write(db) || !db.commit())
        return failed();
    return true;
}

} // namespace

bool OpenReportDatabase(ReportSession& session, const QString& mode, Prompt& prompt, QString* reason)
{
    if (!mode.isEmpty())
        return CreateReportDatabase(session, prompt, reason);

    ReportFiles& files = ReportFiles::current();
    const QString& main = session.CurrentDBPath;
    const QString& bak = session.CurrentBakPath;
    bool restored = false;
    for (;;) {
        const ReportFileCheck check = CheckReportFile(main);
        if (check.state == ReportFileCheck::State::Usable)
            return UpgradeReportDatabase(session, prompt, reason);
        if (check.state != ReportFileCheck::State::Missing) {
            const bool bakUsable = !restored && CheckReportFile(bak, false).state == ReportFileCheck::State::Usable;
            const QString goOn = bakUsable ? QStringLiteral("go on with its backup copy %1").arg(native(bak))
                                           : QStringLiteral("start a new report");
            if (!handleProblem(main, QStringLiteral("The report file"), check, goOn, prompt, reason))
                return false;
            continue;
        }
        // The report file is missing. Its backup copy holds the last saved report: restore it rather than
        // start an empty report over it.
        if (restored || !files.exists(bak))
            break;
        const ReportFileCheck bakCheck = CheckReportFile(bak, false);
        if (bakCheck.state != ReportFileCheck::State::Usable) {
            if (!handleProblem(bak, QStringLiteral("The report file is missing and its backup copy"), bakCheck,
                               QStringLiteral("start a new report"), prompt, reason))
                return false;
            continue;
        }
        SettleJournal(main);
        QString why;
        if (!files.copy(bak, main, &why)) {
            const QString text = QStringLiteral("The report file %1 is missing and its backup copy %2 could not be "
                                                "restored: %3.")
                                     .arg(native(main), native(bak), why);
            prompt.warning(text);
            return setReason(reason, text);
        }
        prompt.information(QStringLiteral("The report file %1 was missing. The report was restored from its backup "
                                          "copy %2.")
                               .arg(native(main), native(bak)));
        restored = true;
    }
    return CreateReportDatabase(session, prompt, reason);
}

bool CreateReportDatabase(ReportSession& session, Prompt& prompt, QString* reason)
{
    ReportFiles& files = ReportFiles::current();
    const QString& main = session.CurrentDBPath;
    const QString& bak = session.CurrentBakPath;
    const QString scratch = ReportFiles::scratchPathBeside(main);
    const auto removeScratch = [&] {
        files.remove(scratch);
        files.remove(scratch + QLatin1String("-journal"));
    };
    const auto failed = [&](int code, const QString& error) {
        removeScratch();
        const QString text = code != 0 ? QStringLiteral("Error making database %1: %2").arg(code).arg(error)
                                       : QStringLiteral("Error making database: %1").arg(error);
        prompt.plain(text);
        return setReason(reason, text);
    };
    int code = 0;
    QString error;

    // The tables, in creation order.
    if (!creationStep(
            scratch,
            [](ReportConnection& db) {
                for (const ReportSchema::Table& t : ReportSchema::tables()) {
                    if (!db.exec(ReportSchema::createTableSql(t)))
                        return false;
                }
                return true;
            },
            &code, &error))
        return failed(code, error);

    // The default rows, each step opening and closing the file. A failing catalogue shows its own message
    // and the creation goes on.
    BuildCatalogue(session, QString(), prompt, scratch);
    QString url = session.HistorianURL;
    if (!creationStep(
            scratch,
            [&url](ReportConnection& db) {
                const int size = ReportSchema::field(QStringLiteral("Misc"), QStringLiteral("SubmitURL"))->size;
                if (url.size() > size)
                    url.truncate(size);
                return db.exec(QStringLiteral("INSERT INTO Misc (Sub_Date, Incorp, SubmitURL) VALUES (NULL, 0, ?)"),
                               {url.isEmpty() ? QVariant() : QVariant(url)});
            },
            &code, &error))
        return failed(code, error);
    if (!creationStep(
            scratch,
            [](ReportConnection& db) {
                return db.exec(QStringLiteral("INSERT INTO Education (AG_S, PB_KUR) VALUES (0, 0)"));
            },
            &code, &error))
        return failed(code, error);
    if (!creationStep(
            scratch,
            [](ReportConnection& db) {
                return db.exec(QStringLiteral("INSERT INTO Activities (Meetings) VALUES (NULL)"));
            },
            &code, &error))
        return failed(code, error);
    if (!creationStep(
            scratch,
            [](ReportConnection& db) {
                QSqlQuery insert(db.database());
                const QString sql = QStringLiteral("INSERT INTO Recognized (Category) VALUES (?)");
                for (int c = 1; c <= 7; ++c) {
                    for (int e = 1; e <= 24; ++e) {
                        if (!db.run(insert, sql, {c}))
                            return false;
                    }
                }
                return true;
            },
            &code, &error))
        return failed(code, error);

    // The new file is complete: it takes the place of the current file and its backup copy.
    if (!files.flush(scratch, &error))
        return failed(0, error);
    if (!files.remove(bak, &error))
        return failed(0, error);
    SettleJournal(main);
    if (!files.rename(scratch, main, &error))
        return failed(0, error);
    if (!files.copy(main, bak, &error))
        return failed(0, error);
    return true;
}

// ---------------------------------------------------------------------------------------------- upgrade

bool AddNewSeniorSlots(ReportSession& session, QString* reason)
{
    ReportConnection db(session.CurrentDBPath);
    const auto failed = [&] {
        return setReason(reason, db.error());
    };
    if (!db.isOpen() || !db.begin(ReportConnection::Lock::Exclusive))
        return failed();
    bool present = true;
    {
        QSqlQuery q(db.database());
        if (!db.run(q, QStringLiteral("SELECT Category FROM Recognized WHERE Category = 7")))
            return failed();
        present = q.next();
    }
    if (!present) {
        QSqlQuery insert(db.database());
        const QString sql = QStringLiteral("INSERT INTO Recognized (Category) VALUES (?)");
        for (int e = 1; e <= 24; ++e) {
            if (!db.run(insert, sql, {7}))
                return failed(); // rolled back when the connection closes
        }
    }
    if (!db.commit())
        return failed();
    return true;
}

namespace {

QString addColumn(const QString& table, const QString& field)
{
    return QStringLiteral("ALTER TABLE %1 ADD COLUMN %2")
        .arg(ReportSchema::quoted(table), ReportSchema::columnSql(*ReportSchema::field(table, field)));
}

} // namespace

bool UpgradeReportDatabase(ReportSession& session, Prompt& prompt, QString* reason)
{
    const QString& path = session.CurrentDBPath;
    const auto failed = [&](const QString& why) {
        const QString text =
            QStringLiteral("The report file %1 could not be brought up to date: %2").arg(native(path), why);
        prompt.warning(text + QLatin1Char('.'));
        return setReason(reason, text);
    };
    QString why;
    if (!AddNewSeniorSlots(session, &why))
        return failed(why);

    bool olderVersion = false;
    {
        ReportConnection db(path);
        if (!db.isOpen() || !db.begin(ReportConnection::Lock::Exclusive))
            return failed(db.error());
        // Only the changes the file lacks are made, in this order; each of them must succeed.
        const auto has = [&db](const QString& table, const QString& field) {
            return db.fields(table).contains(field.toLower());
        };
        const auto add = [&](const QString& table, const QString& field) {
            return has(table, field) || db.exec(addColumn(table, field));
        };
        const QString education = QStringLiteral("Education"), activities = QStringLiteral("Activities"),
                      misc = QStringLiteral("Misc");
        olderVersion = !has(misc, QStringLiteral("Rostrelv6"));
        const bool done = add(education, QStringLiteral("OC_Sem")) &&
                          (!has(education, QStringLiteral("BC_Sem")) ||
                           db.exec(QStringLiteral("ALTER TABLE Education DROP COLUMN BC_Sem"))) &&
                          add(activities, QStringLiteral("VSC")) && add(activities, QStringLiteral("Award_S")) &&
                          add(misc, QStringLiteral("SubmitURL")) && add(misc, QStringLiteral("Year")) &&
                          add(misc, QStringLiteral("Rostrelv6"));
        if (!done || !db.commit())
            return failed(db.error());
    }
    if (olderVersion) {
        // The marker stays Null: the next opening goes through the steps below.
        RebuildOfficers(session, prompt);
        return true;
    }

    bool rebuild = false;
    {
        ReportConnection db(path);
        if (!db.isOpen() || !db.begin(ReportConnection::Lock::Exclusive))
            return failed(db.error());
        QSqlQuery q(db.database());
        if (!db.run(q, QStringLiteral("SELECT rowid, Rostrelv6 FROM Misc ORDER BY rowid LIMIT 1")))
            return failed(db.error());
        if (q.next()) {
            const qint64 first = q.value(0).toLongLong();
            rebuild = ReportValues::text(q.value(1)) != QLatin1String(ReportSchema::kSchemaMarker);
            q.finish();
            // Every opening refreshes the submission address from the host, cut to the field's size.
            QString url = session.HistorianURL;
            TableWriter misc(db, QStringLiteral("Misc"));
            RowEdit r = misc.edit();
            PutText(r, QStringLiteral("SubmitURL"), url);
            if (rebuild)
                r.setValue(QStringLiteral("Rostrelv6"), QString::fromLatin1(ReportSchema::kSchemaMarker));
            if (!misc.update(r, first))
                return failed(misc.error());
        }
        if (!db.commit())
            return failed(db.error());
    }
    if (rebuild)
        RebuildOfficers(session, prompt);
    return true;
}
