#include "HostFixture.h"

#include "app/HostSettings.h"
#include "host/HostSchema.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

HostFixture::HostFixture()
{
    m_hadConfig = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    m_oldConfig = qgetenv("XDG_CONFIG_HOME");
    QDir().mkpath(m_dir.path() + QStringLiteral("/config"));
    QDir().mkpath(dataDir());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path() + QStringLiteral("/config")));
}

HostFixture::~HostFixture()
{
    if (m_hadConfig)
        qputenv("XDG_CONFIG_HOME", m_oldConfig);
    else
        qunsetenv("XDG_CONFIG_HOME");
}

void HostFixture::writeSettings(const QString& primary, const QString& mouse, const QString& userPw, bool withDataPath)
{
    m_primary = primary;
    HostSettings::write(QStringLiteral("Rostrel"), QStringLiteral("Startup"), QStringLiteral("PrimaryDB"), primary);
    if (!mouse.isEmpty())
        HostSettings::write(QStringLiteral("Rostrel"), QStringLiteral("Startup"), QStringLiteral("Mouse"), mouse);
    const int dot = int(primary.indexOf(QLatin1Char('.')));
    if (dot > 0)
        HostSettings::write(QStringLiteral("Rostrel"), primary.left(dot), QStringLiteral("UserPW"), userPw);
    if (withDataPath)
        HostSettings::write(QStringLiteral("Rostrelv3"), QStringLiteral("Startup"), QStringLiteral("DataPath"),
                            dataPath());
}

void HostFixture::exec(const QString& path, const QString& sql, const QVariantList& params)
{
    const QString name = QStringLiteral("fixture");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QVERIFY2(db.open(), qPrintable(db.lastError().text()));
        QSqlQuery q(db);
        QVERIFY2(q.prepare(sql), qPrintable(sql + QStringLiteral(": ") + q.lastError().text()));
        for (const QVariant& v : params)
            q.addBindValue(v);
        QVERIFY2(q.exec(), qPrintable(sql + QStringLiteral(": ") + q.lastError().text()));
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void HostFixture::createDatabases(const QString& name, const QString& code, int number, int district,
                                  const QVariant& historianUrl)
{
    for (const QString& sql : HostSchema::primaryTables())
        execPrimary(sql);
    for (const QString& sql : HostSchema::squadronsTables())
        execSquadrons(sql);
    execPrimary(QStringLiteral("INSERT INTO HomeSquad VALUES (?, ?, ?, ?)"), {name, code, number, district});
    execSquadrons(QStringLiteral("INSERT INTO AllSquadrons VALUES (?, ?, ?, ?)"), {number, code, name, district});
    execSquadrons(QStringLiteral("INSERT INTO url_list VALUES (?, ?)"),
                  {historianUrl, QStringLiteral("https://example.org/")});
}

void HostFixture::execPrimary(const QString& sql, const QVariantList& params)
{
    exec(primaryPath(), sql, params);
}

void HostFixture::execSquadrons(const QString& sql, const QVariantList& params)
{
    exec(squadronsPath(), sql, params);
}

void HostFixture::addMember(const Member& m)
{
    execPrimary(QStringLiteral("INSERT INTO Members (Mem_ID, Squadron, Cert, Last, First, Grade, Rank, SquadRank, "
                               "MemTypeStat, OtherMember) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                {m.id, m.squadron, m.cert, m.last, m.first, m.grade, m.rank, m.squadRank, m.memTypeStat,
                 m.otherMember.isEmpty() ? QVariant() : QVariant(m.otherMember)});
}

void HostFixture::addCommittee(qint32 memId, const QString& department, const QString& position,
                               const QString& committee, const QString& sdn, bool newOd)
{
    execPrimary(QStringLiteral("INSERT INTO MemberCom VALUES (?, ?, ?, ?, ?, ?)"),
                {memId, department, position, committee, sdn, newOd ? 1 : 0});
}

QString HostFixture::commandLine(const QString& mode) const
{
    return QStringLiteral("Rostrel,%1,%2,%3").arg(m_primary, m_squadrons, mode);
}
