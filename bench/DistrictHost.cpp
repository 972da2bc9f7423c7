#include "DistrictHost.h"

#include "base/SeededRandom.h"

#include "app/HostSettings.h"
#include "host/HostSchema.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <array>

namespace {

const std::array<const char*, 24> kFirst = {
    "Arlo",   "Bree", "Cato",  "Dara",  "Elric", "Fenna",    "Galen", "Hesper", "Ivo",   "Jessa", "Kellan", "Liora",
    "Mattis", "Nell", "Orrin", "Petra", "Quill", "Rosalind", "Soren", "Tamsin", "Ulric", "Vela",  "Wendel", "Yara"};
const std::array<const char*, 24> kLast = {"Ashdown", "Brackwell", "Corrigan",  "Dunmore", "Elsworth", "Farrow",
                                           "Gillard", "Hollins",   "Ingram",    "Jessop",  "Kirtland", "Lanyon",
                                           "Merriot", "Norcott",   "Oakhurst",  "Pellow",  "Quenby",   "Rowntree",
                                           "Selwood", "Thackery",  "Underhill", "Vance",   "Westlake", "Yelland"};
const std::array<const char*, 6> kGrades = {"", "S", "P", "AP", "JN", "N"};
const std::array<const char*, 6> kRanks = {"", "Lt", "1st/Lt", "Lt/C", "Cdr", "P/C"};
const std::array<const char*, 5> kStats = {"AC", "AC", "AC", "LM", "XX"};

bool run(QSqlQuery& q, const QVariantList& values, QString* error)
{
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values.at(i));
    if (q.exec())
        return true;
    if (error)
        *error = q.lastError().text();
    return false;
}

} // namespace

QString CreateDistrictHost(const QString& root, const DistrictHostSpec& spec, QString* error)
{
    const QString dataDir = root + QStringLiteral("/data/Rostrelv3/");
    QDir().mkpath(dataDir);
    QDir().mkpath(root + QStringLiteral("/config"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root + QStringLiteral("/config")));
    HostSettings::write(QStringLiteral("Rostrel"), QStringLiteral("Startup"), QStringLiteral("PrimaryDB"),
                        QStringLiteral("BNQ.mdb"));
    HostSettings::write(QStringLiteral("Rostrel"), QStringLiteral("BNQ"), QStringLiteral("UserPW"),
                        QStringLiteral("bench"));
    HostSettings::write(QStringLiteral("Rostrelv3"), QStringLiteral("Startup"), QStringLiteral("DataPath"),
                        root + QStringLiteral("/data"));

    SeededRandom rng(spec.seed);
    const QString connection = QStringLiteral("district-host");
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(dataDir + QStringLiteral("Squadrons.mdb"));
        ok = db.open();
        QSqlQuery q(db);
        for (const QString& sql : HostSchema::squadronsTables())
            ok = ok && q.exec(sql);
        ok =
            ok &&
            q.exec(QStringLiteral("INSERT INTO url_list VALUES ('https://example.org/r318?', 'https://example.org/')"));
        for (int s = 0; ok && s < 40; ++s) {
            q.prepare(QStringLiteral("INSERT INTO AllSquadrons VALUES (?, ?, ?, ?)"));
            ok = run(q, {100 + s, QStringLiteral("SQ%1").arg(s), QStringLiteral("Squadron %1").arg(s), s < 30 ? 9 : 8},
                     error);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    if (!ok)
        return {};

    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(dataDir + QStringLiteral("BNQ.mdb"));
        ok = db.open();
        QSqlQuery q(db);
        q.exec(QStringLiteral("PRAGMA journal_mode=OFF"));
        q.exec(QStringLiteral("PRAGMA synchronous=OFF"));
        for (const QString& sql : HostSchema::primaryTables())
            ok = ok && q.exec(sql);
        ok = ok && db.transaction();
        ok = ok && q.exec(QStringLiteral("INSERT INTO HomeSquad VALUES ('Bellmouth Narrows', 'BNQ', 105, 9)"));

        const QStringList courses = HostSchema::courseFields();
        QString insertMember = QStringLiteral("INSERT INTO Members (Mem_ID, Squadron, Cert, Last, First, Grade, Rank, "
                                              "SquadRank, Address, Address2, City, "
                                              "State, ZIP, Phone, Email, MemTypeStat, OtherMember, GH_Senior");
        for (const QString& c : courses)
            insertMember += QStringLiteral(", ") + c;
        insertMember +=
            QStringLiteral(") VALUES (?") + QStringLiteral(", ?").repeated(17 + int(courses.size())) + QLatin1Char(')');
        ok = ok && q.prepare(insertMember);
        for (int m = 1; ok && m <= spec.members; ++m) {
            const bool other = rng.below(3) == 0;
            const QString last =
                QString::fromLatin1(kLast[rng.below(24)]) + (m % 7 ? QString() : QStringLiteral("-%1").arg(m % 97));
            const QString first = QString::fromLatin1(kFirst[rng.below(24)]);
            QVariantList values{m,
                                other ? 100 + rng.below(40) : 105,
                                QStringLiteral("%1").arg(1000000 + m),
                                last,
                                first,
                                QString::fromLatin1(kGrades[rng.below(6)]),
                                QString::fromLatin1(kRanks[rng.below(6)]),
                                QString::fromLatin1(kRanks[rng.below(6)]),
                                QStringLiteral("%1 Tideway Lane").arg(1 + rng.below(900)),
                                rng.below(5) == 0 ? QVariant(QStringLiteral("Apt %1").arg(rng.below(40))) : QVariant(),
                                QStringLiteral("Bellmouth"),
                                QStringLiteral("NA"),
                                QStringLiteral("%1").arg(10000 + rng.below(89999)),
                                QStringLiteral("555-%1").arg(1000 + rng.below(8999)),
                                QStringLiteral("member%1@example.org").arg(m),
                                QString::fromLatin1(kStats[rng.below(5)]),
                                other ? QVariant(QStringLiteral("Y")) : QVariant(),
                                rng.below(10) == 0 ? QVariant(QString::number(2015 + rng.below(11))) : QVariant()};
            for (int c = 0; c < courses.size(); ++c) {
                values << (rng.below(8) == 0 ? QVariant(QStringLiteral("%1%2")
                                                            .arg(2015 + rng.below(11))
                                                            .arg(1 + rng.below(12), 2, 10, QLatin1Char('0')))
                                             : QVariant());
            }
            ok = run(q, values, error);
        }

        ok = ok && q.prepare(QStringLiteral("INSERT INTO MemberCom VALUES (?, ?, ?, ?, ?, ?)"));
        for (int r = 0; ok && r < spec.committeeRows; ++r) {
            const int kind = rng.below(10);
            const QString sdn = kind < 6 ? QStringLiteral("S") : kind < 9 ? QStringLiteral("D") : QStringLiteral("N");
            const int dep = 1 + rng.below(8);
            const int pos = rng.below(8);
            const QString committee =
                QString::number(dep) + QStringLiteral("%1").arg(rng.below(40), 2, 10, QLatin1Char('0'));
            ok = run(q,
                     {1 + rng.below(spec.members), QString::number(dep), QString::number(pos), committee, sdn,
                      rng.below(3) == 0 ? 1 : 0},
                     error);
        }
        ok = ok && q.prepare(QStringLiteral("INSERT INTO MeritMarks VALUES (?, ?, ?)"));
        for (int r = 0; ok && r < spec.meritMarks; ++r) {
            ok = run(q,
                     {1 + rng.below(spec.members), QString::number(2015 + rng.below(11)),
                      QString(QChar(u"AAARX"[rng.below(5)]))},
                     error);
        }
        for (int d = 1; ok && d <= 8; ++d) {
            ok = q.exec(QStringLiteral("INSERT INTO commdept VALUES ('%1', 'Department %1')").arg(d));
            for (int c = 0; ok && c < 40; ++c)
                ok = q.exec(QStringLiteral("INSERT INTO CommDesc VALUES ('%1%2', 'Committee %1%2')")
                                .arg(d)
                                .arg(c, 2, 10, QLatin1Char('0')));
        }
        for (int p = 0; ok && p < 8; ++p)
            ok = q.exec(QStringLiteral("INSERT INTO CommPos VALUES ('%1', 'Position %1')").arg(p));
        ok = ok && db.commit();
        if (!ok && error && error->isEmpty())
            *error = q.lastError().text() + db.lastError().text();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    if (!ok)
        return {};
    return QStringLiteral("Rostrel,BNQ.mdb,Squadrons.mdb,color");
}
