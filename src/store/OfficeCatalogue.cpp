#include "store/OfficeCatalogue.h"

#include "base/Prompt.h"
#include "store/ReportConnection.h"
#include "store/ReportFiles.h"
#include "store/ReportSession.h"
#include "store/ReportValues.h"

#include <QDir>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

// The officer list of the report: four section headings (four capital letters), offices with their 4-digit
// code in the host's committee tables, and offices without a host code (a single blank).
const std::array<CatalogueLine, kCatalogueSize> kCatalogue = {{
    {"ELECTED OFFICERS:", "BROF"},      // 1
    {"Commander", "1701"},              // 2
    {"Executive Officer", "1702"},      // 3
    {"Educational Officer", "1703"},    // 4
    {"Administrative Officer", "1704"}, // 5
    {"Secretary", "1705"},              // 6
    {"Treasurer", "1706"},              // 7
    {"Asst. SEO", "5700"},              // 8
    {"Asst. Secretary", "7700"},        // 9
    {"Asst. Treasurer", "8700"},        // 10
    {"Asst. Admin. Off.", "6700"},      // 11
    {"EXEC & GENERAL:", "XGEN"},        // 12
    {"Ch/Rules", "2003"},               // 13
    {"Rules Mbr", "2303"},              // 14
    {"Rules Mbr", "2303"},              // 15
    {"Ch/Auditing", "2001"},            // 16
    {"Auditing 2yr.", "2401"},          // 17
    {"Auditing 3yr.", "2501"},          // 18
    {"Executive", "2300"},              // 19
    {"Executive", "2300"},              // 20
    {"Executive", "2300"},              // 21
    {"Executive", "2300"},              // 22
    {"Executive", "2300"},              // 23
    {"Executive", "2300"},              // 24
    {"Executive", "2300"},              // 25
    {"Executive", "2300"},              // 26
    {"Executive", "2300"},              // 27
    {"Executive", "2300"},              // 28
    {"Executive", "2300"},              // 29
    {"Executive", "2300"},              // 30
    {"Ch/Nominating", "2002"},          // 31
    {"Nominating 2yr.", "2402"},        // 32
    {"Nominating 3yr.", "2502"},        // 33
    {"Nominating Mbr.", "2302"},        // 34
    {"Nominating Mbr.", "2302"},        // 35
    {"Nominating Mbr.", "2302"},        // 36
    {"Nominating Mbr.", "2302"},        // 37
    {"Nominating Mbr.", "2302"},        // 38
    {"APPOINTED OFFICERS", "APOF"},     // 39
    {"Chaplain", "3702"},               // 40
    {"Medical Officer", "3704"},        // 41
    {"Flag Lt", "3701"},                // 42
    {"Liaison", "4003"},                // 43
    {"Law Officer", "2006"},            // 44
    {"Parliamentarian", "3710"},        // 45
    {"Merit Marks", "3003"},            // 46
    {"Aide to Commander", "3700"},      // 47
    {"Radio Technical", "4005"},        // 48
    {"Co-op Charting", "4001"},         // 49
    {"Public Relations", "4004"},       // 50
    {"Safety", "4006"},                 // 51
    {"Legislative", "4002"},            // 52
    {"Health & Welfare", " "},          // 53
    {"Ch/Member Involvement", "6004"},  // 54
    {"Ch/Membership", "6005"},          // 55
    {"Ch/Boating Activities", "6001"},  // 56
    {"Operations Training", "6728"},    // 57
    {"Leadership Dev'ment", "6006"},    // 58
    {"Vessel Safety Check", "4009"},    // 59
    {"Publications Editor", "7002"},    // 60
    {"Historian", "7703"},              // 61
    {"Ships Store", "7017"},            // 62
    {"Info. Technology", "7001"},       // 63
    {"Photographer", "7011"},           // 64
    {"Ch/Budget", "8001"},              // 65
    {"Ch/Finance", "2004"},             // 66
    {"Property officer", "8005"},       // 67
    {"Member Benefits", "6003"},        // 68
    {"Calendar Coordinator", " "},      // 69
    {"Nat'l Commanders Cup", " "},      // 70
    {"Programs", " "},                  // 71
    {"Entertainment", " "},             // 72
    {"Boat Show", "4000"},              // 73
    {"Housing", "2005"},                // 74
    {"Predicted Log", "6008"},          // 75
    {"Port Captain", "6010"},           // 76
    {"Webmaster", "7007"},              // 77
    {"KESTRAN Correspondent", "7008"},  // 78
    {"Supply Officer", "8006"},         // 79
    {"EDUCATION DEPT:", "EDEP"},        // 80
    {"Ch/Public Boating", "5003"},      // 81
    {"Seamanship", "5005"},             // 82
    {"Ch/Boat Handling", "5031"},       // 83
    {"Piloting", "5006"},               // 84
    {"Advanced Piloting", "5007"},      // 85
    {"Ch/Inland-Coastal Nav.", "5032"}, // 86
    {"Junior Navigation", "5008"},      // 87
    {"Ch/Offshore Nav.", "5033"},       // 88
    {"Navigation", "5009"},             // 89
    {"Ch/Electro-Mechanical", "5034"},  // 90
    {"Engine Maintenance", "5011"},     // 91
    {"Marine Electronics", "5013"},     // 92
    {"Ch/Marine Environ.", "5035"},     // 93
    {"Instructor Devmt.", "5012"},      // 94
    {"Sail", "5014"},                   // 95
    {"Learning Guides", "5017"},        // 96
    {"Weather", "5015"},                // 97
    {"Seminar Courses", "5740"},        // 98
    {"Cruise Planning", "5016"},        // 99
    {"Teaching Aides", "5022"},         // 100
}};

} // namespace

const std::array<CatalogueLine, kCatalogueSize>& OfficeCatalogue()
{
    return kCatalogue;
}

OfficeCodeKind ClassifyOfficeCode(const QString& code)
{
    if (code.isEmpty())
        return OfficeCodeKind::Empty;
    const QChar first = code.at(0);
    if (first >= QLatin1Char('A'))
        return OfficeCodeKind::Heading;
    if (first >= QLatin1Char('0') && first <= QLatin1Char('9'))
        return OfficeCodeKind::HostOffice;
    return OfficeCodeKind::NoHostCode;
}

namespace {

void fillCatalogue(ReportModel& m)
{
    m.Officers = QList<Officer>(kCatalogueSize);
    for (int i = 1; i <= kCatalogueSize; ++i) {
        m.officer(i).Title = QString::fromLatin1(kCatalogue[i - 1].title);
        m.officer(i).Code = QString::fromLatin1(kCatalogue[i - 1].code);
        m.officer(i).Order = i;
    }
}

const QString kInsertOfficer = QStringLiteral(
    "INSERT INTO Officers (Cert, Last, First, Rank, Grade, DBcode, Forder, Office) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");

} // namespace

bool BuildCatalogue(ReportSession& session, const QString& mode, Prompt& prompt, const QString& dbPath)
{
    ReportModel& m = session.model;
    fillCatalogue(m);
    if (!mode.isEmpty())
        return true;

    ReportConnection db(dbPath.isEmpty() ? session.CurrentDBPath : dbPath, !dbPath.isEmpty());
    const auto failed = [&] {
        prompt.plain(QStringLiteral("Can't update database, R318 Form is disabled") + db.error());
        return false;
    };
    if (!db.isOpen() || !db.begin(ReportConnection::Lock::Exclusive))
        return failed();
    QSqlQuery insert(db.database());
    if (!insert.prepare(kInsertOfficer)) {
        db.run(insert, kInsertOfficer); // records the engine's message
        return failed();
    }
    bool ok = true;
    for (int i = 1; i <= kCatalogueSize && ok; ++i) {
        ok = db.run(
            insert, kInsertOfficer,
            {QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), m.officer(i).Code, i, m.officer(i).Title});
    }
    insert.finish();
    // The rows written before a failure stay.
    if (!db.commit() || !ok)
        return failed();
    return true;
}

bool RebuildOfficers(ReportSession& session, Prompt& prompt)
{
    ReportModel& m = session.model;
    BuildCatalogue(session, QStringLiteral("UD"), prompt);

    struct OldLine
    {
        QString cert, last, first, rank, grade, code;
    };
    bool ok = false;
    {
        ReportConnection db(session.CurrentDBPath);
        ok = db.isOpen() && db.begin(ReportConnection::Lock::Exclusive);
        std::vector<OldLine> old;
        if (ok) {
            // Vacant lines (Null last name) sort first; equal names keep their stored order.
            QSqlQuery q(db.database());
            ok = db.run(q, QStringLiteral("SELECT * FROM Officers ORDER BY Last COLLATE NOCASE, First COLLATE NOCASE, "
                                          "rowid"));
            const QSqlRecord r = q.record();
            const int iCert = r.indexOf(QStringLiteral("Cert")), iLast = r.indexOf(QStringLiteral("Last")),
                      iFirst = r.indexOf(QStringLiteral("First")), iRank = r.indexOf(QStringLiteral("Rank")),
                      iGrade = r.indexOf(QStringLiteral("Grade")), iCode = r.indexOf(QStringLiteral("DBcode"));
            ok = ok && iCert >= 0 && iLast >= 0 && iFirst >= 0 && iRank >= 0 && iGrade >= 0 && iCode >= 0;
            while (ok && q.next()) {
                using ReportValues::text;
                old.push_back({text(q.value(iCert)), text(q.value(iLast)), text(q.value(iFirst)), text(q.value(iRank)),
                               text(q.value(iGrade)), text(q.value(iCode))});
            }
        }
        ok = ok && db.exec(QStringLiteral("DELETE FROM Officers"));
        if (ok) {
            QSqlQuery insert(db.database());
            for (int i = 1; i <= kCatalogueSize && ok; ++i) {
                const QString& code = m.officer(i).Code;
                const OldLine* match = nullptr;
                if (ClassifyOfficeCode(code) == OfficeCodeKind::HostOffice) {
                    for (OldLine& line : old) {
                        if (line.code == code) {
                            line.code = QStringLiteral("USED"); // the next line with this code takes the next member
                            match = &line;
                            break;
                        }
                    }
                }
                using ReportValues::textOrNull;
                QVariantList values;
                if (match)
                    values << textOrNull(match->cert) << textOrNull(match->last) << textOrNull(match->first)
                           << textOrNull(match->rank) << textOrNull(match->grade);
                else
                    values << QVariant() << QVariant() << QVariant() << QVariant() << QVariant();
                values << code << m.officer(i).Order << m.officer(i).Title;
                ok = db.run(insert, kInsertOfficer, values);
            }
        }
        ok = ok && db.commit();
    }
    if (!ok) {
        prompt.warning(QStringLiteral("Problem updating old database.\nSuggest making a new database.\n"
                                      "'File\\Start a new R-318'"));
        return false;
    }
    // The backup copy follows the rebuilt list, so that a revert never brings the old list back.
    ReportFiles& files = ReportFiles::current();
    QString why;
    if (files.exists(session.CurrentBakPath) && !files.copy(session.CurrentDBPath, session.CurrentBakPath, &why)) {
        prompt.warning(QStringLiteral("The officer list was rebuilt, but the backup copy %1 could not be replaced "
                                      "by a copy of the report: %2.")
                           .arg(QDir::toNativeSeparators(session.CurrentBakPath), why));
        return false;
    }
    return true;
}
