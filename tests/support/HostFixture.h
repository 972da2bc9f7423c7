#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantList>

// A small host in a temporary folder: the host's settings (XDG_CONFIG_HOME points into the folder while the
// fixture lives), the data folder and both host databases with every table the add-in reads.
class HostFixture
{
public:
    struct Member
    {
        qint32 id = 0;
        QString last = {};
        QString first = {};
        QString cert = {};
        QString grade = {};
        QString rank = {};
        QString squadRank = {};
        qint32 squadron = 0;
        QString memTypeStat = QStringLiteral("AC");
        QString otherMember = {};
    };

    HostFixture();
    ~HostFixture();

    QString root() const { return m_dir.path(); }
    QString dataPath() const { return m_dir.path() + QStringLiteral("/data"); }
    QString dataDir() const { return dataPath() + QStringLiteral("/Rostrelv3/"); }
    QString primaryPath() const { return dataDir() + m_primary; }
    QString squadronsPath() const { return dataDir() + m_squadrons; }
    QString primaryName() const { return m_primary; }

    // The host's settings for application "Rostrel": PrimaryDB, Mouse, UserPW and the data path.
    void writeSettings(const QString& primary = QStringLiteral("TST.mdb"), const QString& mouse = {},
                       const QString& userPw = QStringLiteral("secret"), bool withDataPath = true);

    // Both host databases with their tables, the home squadron row, its district's squadrons and url_list.
    void createDatabases(const QString& name = QStringLiteral("Test Squadron"),
                         const QString& code = QStringLiteral("TST"), int number = 7, int district = 5,
                         const QVariant& historianUrl = QStringLiteral("https://example.org/r318"));

    void execPrimary(const QString& sql, const QVariantList& params = {});
    void execSquadrons(const QString& sql, const QVariantList& params = {});
    void addMember(const Member& m);
    void addCommittee(qint32 memId, const QString& department, const QString& position, const QString& committee,
                      const QString& sdn = QStringLiteral("S"), bool newOd = false);

    // The host's command line for the add-in: "Rostrel,<primary>,<squadrons>,color".
    QString commandLine(const QString& mode = QStringLiteral("color")) const;

private:
    void exec(const QString& path, const QString& sql, const QVariantList& params);

    QTemporaryDir m_dir;
    QString m_primary = QStringLiteral("TST.mdb");
    QString m_squadrons = QStringLiteral("Squadrons.mdb");
    QByteArray m_oldConfig;
    bool m_hadConfig = false;
};
