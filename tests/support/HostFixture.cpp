#include "HostFixture.h"

#include "app/HostSettings.h"
#include "host/HostSchema.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

HostFixture::HostFixture()
{
    if (qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
        m_oldConfig = qgetenv("XDG_CONFIG_HOME");
    QDir().mkpath(m_dir.path() + QStringLiteral("/config"));
    QDir().mkpath(dataDir());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path() + QStringLiteral("/config")));
}

void HostFixture::writeSettings(const QString& primary, const QString& mouse, const QString& userPw, bool withDataPath)
{
    m_primary = primary;
    const QString app = QStringLiteral("Rostrel"), startup = QStringLiteral("Startup");
    HostSettings::write(app, startup, QStringLiteral("PrimaryDB"), primary);
    if (!mouse.isEmpty())
        HostSettings::write(app, startup, QStringLiteral("Mouse"), mouse);
    if (const int dot = int(primary.indexOf(QLatin1Char('.'))); dot > 0)
        HostSettings::write(app, primary.left(dot), QStringLiteral("UserPW"), userPw);
    if (withDataPath)
        HostSettings::write(app + QStringLiteral("v3"), startup, QStringLiteral("DataPath"), dataPath());
}

HostFixture::Writer::Writer(const QString& path) : m_name(QStringLiteral("fixture-writer-%1").arg(quintptr(this)))
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(path);
    if (!db.open())
        qFatal("cannot open %s: %s", qPrintable(path), qPrintable(db.lastError().text()));
    exec(QStringLiteral("PRAGMA synchronous = OFF"));
    db.transaction();
}

void HostFixture::Writer::exec(const QString& sql, const QVariantList& params)
{
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    bool ok = q.prepare(sql);
    for (const QVariant& v : params)
        q.addBindValue(v);
    if (!ok || !q.exec())
        qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
}

void HostFixture::Writer::done()
{
    if (m_name.isEmpty())
        return;
    if (!QSqlDatabase::database(m_name, false).commit())
        qFatal("cannot commit: %s", qPrintable(QSqlDatabase::database(m_name, false).lastError().text()));
    QSqlDatabase::removeDatabase(std::exchange(m_name, QString()));
}

void HostFixture::createDatabases(const QString& name, const QString& code, int number, int district,
                                  const QVariant& historianUrl)
{
    Writer primary(primaryPath()), squadrons(squadronsPath());
    for (const QString& sql : HostSchema::primaryTables())
        primary.exec(sql);
    for (const QString& sql : HostSchema::squadronsTables())
        squadrons.exec(sql);
    primary.exec(QStringLiteral("INSERT INTO HomeSquad VALUES (?, ?, ?, ?)"), {name, code, number, district});
    squadrons.exec(QStringLiteral("INSERT INTO AllSquadrons VALUES (?, ?, ?, ?)"), {number, code, name, district});
    squadrons.exec(QStringLiteral("INSERT INTO url_list VALUES (?, ?)"),
                   {historianUrl, QStringLiteral("https://example.org/")});
}

void HostFixture::addMember(const Member& m)
{
    execPrimary(QStringLiteral("INSERT INTO Members (Mem_ID, Squadron, Cert, Last, First, Grade, Rank, SquadRank, "
                               "MemTypeStat, OtherMember) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                {m.id, m.squadron, m.cert, m.last, m.first, m.grade, m.rank, m.squadRank, m.memTypeStat,
                 m.otherMember.isEmpty() ? QVariant() : QVariant(m.otherMember)});
}

QString HostFixture::commandLine(const QString& mode) const
{
    return QStringLiteral("Rostrel,%1,%2,%3").arg(m_primary, m_squadrons, mode);
}
