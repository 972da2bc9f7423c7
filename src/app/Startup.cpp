#include "app/Startup.h"

#include "app/HostSettings.h"
#include "app/Session.h"
#include "base/Prompt.h"
#include "host/HostData.h"
#include "store/ReportDatabase.h"

namespace Startup {

namespace {

Outcome refuse(Session& session, const QString& reason)
{
    session.host.closeAll();
    return {Outcome::Kind::Refused, reason};
}

QString field(const CommandLine& line, int k)
{
    return k - 1 < line.fields.size() ? line.fields.at(k - 1) : QString();
}

Outcome registration(Session& session, const QString& commandLine)
{
    session.HostConnect = hostConnectString();
    session.SettingsApp = commandLine.trimmed();
    session.PrimaryDBPath =
        HostSettings::read(session.SettingsApp, QStringLiteral("Startup"), QStringLiteral("PrimaryDB"));
    if (session.PrimaryDBPath.isEmpty())
        return refuse(session, QStringLiteral("the host settings name no primary database"));
    if (!SquadronCheck(session.PrimaryDBPath))
        return refuse(session, QStringLiteral("%1 is not a squadron database").arg(session.PrimaryDBPath));
    if (!ReadDataPath(session))
        return refuse(session, QStringLiteral("the host settings name no data path"));
    HostDatabase& db = session.host.HostDB;
    if (!db.open(session.PrimaryDBPath, session.HostConnect))
        return refuse(session, QStringLiteral("cannot open %1: %2").arg(session.PrimaryDBPath, db.error()));
    QString error;
    const bool done = RegisterAddin(db, &error);
    db.close();
    if (!done)
        return refuse(session, QStringLiteral("cannot register the add-in: %1").arg(error));
    return {Outcome::Kind::Registered, {}};
}

} // namespace

QString hostConnectString()
{
    return QStringLiteral(";pwd=Q84#mZr&UvL%");
}

CommandLine CommandLine::parse(const QString& text)
{
    CommandLine line;
    line.commas = int(text.count(QLatin1Char(',')));
    for (const QString& f : text.split(QLatin1Char(',')))
        line.fields << f.trimmed();
    return line;
}

QString joinArguments(const QStringList& arguments)
{
    return arguments.join(QLatin1Char(' '));
}

bool SquadronCheck(const QString& primaryDbName)
{
    // Character positions count from 1: the first "D" from character 2 on, at character 3 and followed by
    // a digit, marks a district's database; a digit at character 3 marks a national one.
    const QString& n = primaryDbName;
    const int d = int(n.indexOf(QLatin1Char('D'), 1)) + 1; // 1-based, 0 when absent
    const auto isDigitAt = [&n](int pos) {
        return pos <= n.size() && n.at(pos - 1) >= QLatin1Char('0') && n.at(pos - 1) <= QLatin1Char('9');
    };
    if (d == 3 && isDigitAt(4))
        return false;
    if (isDigitAt(3))
        return false;
    return true;
}

bool ReadDataPath(Session& session)
{
    session.DataPath =
        HostSettings::read(QStringLiteral("Rostrelv3"), QStringLiteral("Startup"), QStringLiteral("DataPath"));
    if (session.DataPath.isEmpty())
        return false;
    QString base = session.DataPath;
    base.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    session.DataDir = base + QLatin1String("Rostrelv3/");
    session.SquadronsDBPath = session.DataDir + session.SquadronsDBPath;
    session.PrimaryDBPath = session.DataDir + session.PrimaryDBPath;
    session.UploadFilePath = session.DataDir + QLatin1String("R318_Upload.txt");
    return true;
}

bool RegisterAddin(HostDatabase& hostDb, QString* error)
{
    const QString exe = QStringLiteral("r318form.exe");
    const QString menu = QStringLiteral("Historian Form");
    const QString comLine = QStringLiteral("2,4,18,22");
    QSqlDatabase db = hostDb.database();
    const auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        db.rollback();
        return false;
    };
    if (!db.transaction())
        return fail(hostDb.error());
    if (!hostDb.exec(QStringLiteral("UPDATE FormsAddin SET MenuName = ?, ComLine = ?, Window = ? WHERE rowid = "
                                    "(SELECT rowid FROM FormsAddin WHERE Addinexe = ? COLLATE NOCASE "
                                    "ORDER BY rowid LIMIT 1)"),
                     {menu, comLine, 1, exe}))
        return fail(hostDb.error());
    if (!hostDb.exec(QStringLiteral("INSERT INTO FormsAddin (MenuName, Addinexe, ComLine, Window) "
                                    "SELECT ?, ?, ?, ? WHERE NOT EXISTS "
                                    "(SELECT 1 FROM FormsAddin WHERE Addinexe = ? COLLATE NOCASE)"),
                     {menu, exe, comLine, 1, exe}))
        return fail(hostDb.error());
    if (!db.commit())
        return fail(QStringLiteral("the change could not be committed"));
    return true;
}

Outcome Main(Session& session, const QString& commandLine, Prompt& prompt)
{
    const CommandLine line = CommandLine::parse(commandLine);
    if (line.commas == 0)
        return registration(session, commandLine);
    if (line.commas != 3)
        return refuse(session,
                      QStringLiteral("the command line has %1 fields; the host passes four").arg(line.commas + 1));

    session.SettingsApp = field(line, 1);
    const QString commandPrimary = field(line, 2);
    session.SquadronsDBPath = field(line, 3);
    session.ColorMode = field(line, 4);
    session.HostConnect = hostConnectString();

    session.PrimaryDBPath =
        HostSettings::read(session.SettingsApp, QStringLiteral("Startup"), QStringLiteral("PrimaryDB"));
    const int dot = int(session.PrimaryDBPath.indexOf(QLatin1Char('.')));
    if (dot < 0)
        return refuse(session, QStringLiteral("the host settings name no primary database file"));
    session.UserPW = HostSettings::read(session.SettingsApp, session.PrimaryDBPath.left(dot), QStringLiteral("UserPW"));
    session.MouseWheel = HostSettings::mouseSettingValue(
        HostSettings::read(session.SettingsApp, QStringLiteral("Startup"), QStringLiteral("Mouse")));
    if (!SquadronCheck(session.PrimaryDBPath))
        return refuse(session, QStringLiteral("%1 is not a squadron database").arg(session.PrimaryDBPath));
    if (session.PrimaryDBPath.toLower() != commandPrimary.toLower())
        return refuse(session, QStringLiteral("the host runs on %1, not on its current database %2")
                                   .arg(commandPrimary, session.PrimaryDBPath));
    if (!ReadDataPath(session))
        return refuse(session, QStringLiteral("the host settings name no data path"));

    HostData& host = session.host;
    if (!host.SquadronsDB.open(session.SquadronsDBPath, session.HostConnect))
        return refuse(session,
                      QStringLiteral("cannot open %1: %2").arg(session.SquadronsDBPath, host.SquadronsDB.error()));
    RefreshHostData(session, false, prompt);
    if (!host.HostDB.isOpen())
        return refuse(session, QStringLiteral("cannot open %1: %2").arg(session.PrimaryDBPath, host.HostDB.error()));
    const ReportModel& model = session.model;
    if (model.SquadronCode.isEmpty())
        return refuse(session, QStringLiteral("%1 names no squadron (HomeSquad)").arg(session.PrimaryDBPath));

    session.ReportDBPath = session.DataDir + QLatin1String("r318_") + model.SquadronCode + QLatin1String(".mdb");
    session.ReportBakPath = session.DataDir + QLatin1String("r318_") + model.SquadronCode + QLatin1String(".bak");
    session.CurrentDBPath = session.ReportDBPath;
    session.CurrentBakPath = session.ReportBakPath;

    Recordset urls = Recordset::open(host.SquadronsDB, QStringLiteral("SELECT * FROM url_list"));
    if (!urls.isOpen())
        return refuse(session,
                      QStringLiteral("cannot read url_list of %1: %2").arg(session.SquadronsDBPath, urls.error()));
    if (!urls.isEmpty()) {
        bool ok = false;
        session.HistorianURL = urls.text(QStringLiteral("historian"), &ok).trimmed();
        if (!ok)
            return refuse(session,
                          QStringLiteral("url_list of %1 has no field historian").arg(session.SquadronsDBPath));
    }
    urls.close();

    QString why;
    if (!OpenReportDatabase(session, QString(), prompt, &why))
        return refuse(session, why.isEmpty() ? QStringLiteral("the report database could not be opened") : why);
    session.HelpFilePath = session.DataDir + QLatin1String("r318form.chm");
    return {Outcome::Kind::Ready, {}};
}

} // namespace Startup
