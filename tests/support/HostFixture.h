#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantList>

#include <optional>

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
    ~HostFixture() { m_oldConfig ? qputenv("XDG_CONFIG_HOME", *m_oldConfig) : qunsetenv("XDG_CONFIG_HOME"); }

    QString dataPath() const { return m_dir.path() + QStringLiteral("/data"); }
    QString dataDir() const { return dataPath() + QStringLiteral("/Rostrelv3/"); }
    QString primaryPath() const { return dataDir() + m_primary; }
    QString squadronsPath() const { return dataDir() + m_squadrons; }

    // The host's settings for application "Rostrel": PrimaryDB, Mouse, UserPW and the data path.
    void writeSettings(const QString& primary = QStringLiteral("TST.mdb"), const QString& mouse = {},
                       const QString& userPw = QStringLiteral("secret"), bool withDataPath = true);

    // Both host databases with their tables, the home squadron row, its district's squadrons and url_list.
    void createDatabases(const QString& name = QStringLiteral("Test Squadron"),
                         const QString& code = QStringLiteral("TST"), int number = 7, int district = 5,
                         const QVariant& historianUrl = QStringLiteral("https://example.org/r318"));

    // Writes rows into a host database through one connection and transaction, without waiting for the disk; a
    // statement that fails ends the test program.
    class Writer
    {
    public:
        explicit Writer(const QString& path);
        ~Writer() { done(); }
        Writer(const Writer&) = delete;
        Writer& operator=(const Writer&) = delete;
        void exec(const QString& sql, const QVariantList& params = {});
        void done(); // commits and closes; the writer is of no further use

    private:
        QString m_name;
    };

    void execPrimary(const QString& sql, const QVariantList& args = {}) { Writer(primaryPath()).exec(sql, args); }
    void execSquadrons(const QString& sql, const QVariantList& args = {}) { Writer(squadronsPath()).exec(sql, args); }
    void addMember(const Member& m);

    // The host's command line for the add-in: "Rostrel,<primary>,<squadrons>,color".
    QString commandLine(const QString& mode = QStringLiteral("color")) const;

private:
    QTemporaryDir m_dir;
    QString m_primary = QStringLiteral("TST.mdb");
    QString m_squadrons = QStringLiteral("Squadrons.mdb");
    std::optional<QByteArray> m_oldConfig;
};
