#include "demo/DemoHost.h"

#include "app/HostSettings.h"
#include "base/SeededRandom.h"
#include "base/SqlConnection.h"
#include "host/HostSchema.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QSaveFile>
#include <QSet>
#include <QSettings>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr quint64 kSeed = 0x52333138DE0C0DE5ULL;

// The last month in which the demo's data records anything: the watch year's last month.
constexpr int kLastMonth = 2026 * 12 + 1; // February 2026, as year * 12 + month - 1

QString monthText(int months)
{
    return QStringLiteral("%1%2")
        .arg(months / 12, 4, 10, QLatin1Char('0'))
        .arg(months % 12 + 1, 2, 10, QLatin1Char('0'));
}

// ---------------------------------------------------------------------------------------------------------
// Invented name and place material.

const char* const kFirstNames[] = {
    "Abigail", "Adrian",    "Alden",   "Alice",   "Amos",    "Anita",        "Arthur",   "Beatrice",    "Benedict",
    "Bernard", "Brenda",    "Caleb",   "Carla",   "Carol",   "Cedric",       "Clara",    "Clifford",    "Colin",
    "Daphne",  "Darren",    "Deborah", "Delia",   "Dennis",  "Diane",        "Douglas",  "Edith",       "Edmund",
    "Eileen",  "Elliot",    "Estelle", "Eugene",  "Evelyn",  "Felix",        "Fiona",    "Frances",     "Gavin",
    "Gerald",  "Gloria",    "Gordon",  "Harriet", "Harold",  "Hazel",        "Henry",    "Ingrid",      "Irene",
    "Isaac",   "Jacob",     "Janet",   "Jasper",  "Joan",    "Judith",       "Julian",   "Karen",       "Keith",
    "Laura",   "Leonard",   "Lillian", "Lloyd",   "Lucille", "Malcolm",      "Margaret", "Marian",      "Martin",
    "Maureen", "Miles",     "Miriam",  "Nathan",  "Neil",    "Nora",         "Oliver",   "Pamela",      "Patrick",
    "Philip",  "Priscilla", "Quentin", "Rachel",  "Raymond", "Ren\303\251e", "Roland",   "Rosalind",    "Russell",
    "Ruth",    "Samuel",    "Sandra",  "Simon",   "Stanley", "Sylvia",       "Teresa",   "Theodore",    "Thomas",
    "Valerie", "Vernon",    "Vivian",  "Walter",  "Wendy",   "Wesley",       "Yvonne",   "Bartholomew", "Josephine"};

// Surnames are put together from these beginnings and endings, plus a few whole ones.
const char* const kSurnameStarts[] = {"Ash",   "Black", "Bram",  "Brook", "Cald", "Crane", "Dun",  "Eld",
                                      "Fair",  "Fen",   "Gold",  "Hal",   "Hart", "Hol",   "Kel",  "Lang",
                                      "Mar",   "Mor",   "North", "Pen",   "Red",  "Rook",  "Shel", "Stan",
                                      "Thorn", "Wal",   "West",  "Wick",  "Wyn",  "Cor",   "Tal",  "Ever"};
const char* const kSurnameEnds[] = {"bury", "by",   "cott",  "dale", "den", "field", "ford", "ham",
                                    "ley",  "more", "ridge", "ston", "ton", "well",  "wood", "worth"};
const char* const kWholeSurnames[] = {"O'Dallan",  "McGarrow",  "MacFennick", "Van Rensler",   "Delacorte",
                                      "Kowalczyn", "Haverkamp", "Lindqvist",  "Ferreira-Lund", "Abernathy-Cole"};

const char* const kStreetNames[] = {"Heron",  "Willow",    "Harbor",   "Lantern", "Mariner",   "Juniper",   "Osprey",
                                    "Quarry", "Saltmarsh", "Tern",     "Beacon",  "Cedar",     "Driftwood", "Gull",
                                    "Keel",   "Anchor",    "Windward", "Cove",    "Schooner",  "Spruce",    "Tidewater",
                                    "Maple",  "Ridge",     "Orchard",  "Mill",    "Lighthouse"};
const char* const kStreetKinds[] = {"Lane", "Road", "Street", "Drive", "Court", "Way", "Avenue", "Terrace", "Place"};

struct Town
{
    const char* name;
    const char* state;
    const char* zip;
    const char* area; // telephone area code
    int weight;
};
const Town kTowns[] = {
    {"Alder Sound", "NR", "27301", "271", 30},     {"Kestrel Point", "NR", "27305", "271", 12},
    {"Marrowby", "NR", "27312", "274", 10},        {"Penhallow Cove", "NR", "27318", "274", 9},
    {"Wickerton", "NR", "27322", "271", 8},        {"Granby Mills", "NR", "27340", "278", 7},
    {"Holloway Landing", "NR", "27347", "278", 7}, {"Saltcombe", "NR", "27351", "274", 6},
    {"Tamsford", "WE", "28114", "316", 6},         {"Orrin Falls", "WE", "28120", "316", 5},
};

const char* const kMailDomains[] = {"example.com", "example.net", "example.org", "mail.example.net",
                                    "post.example.com"};

// ---------------------------------------------------------------------------------------------------------
// Offices and the host's title tables.

// The squadron's offices in the order of the officer list, with the host's title of each office's committee.
struct Office
{
    const char* code;
    const char* committee;
};
const Office kOffices[] = {
    {"1701", "Commander"},
    {"1702", "Executive Officer"},
    {"1703", "Educational Officer"},
    {"1704", "Administrative Officer"},
    {"1705", "Secretary"},
    {"1706", "Treasurer"},
    {"5700", "Assistant Educational Officer"},
    {"7700", "Assistant Secretary"},
    {"8700", "Assistant Treasurer"},
    {"6700", "Assistant Administrative Officer"},
    {"2003", "Rules"},
    {"2303", "Rules"},
    {"2001", "Auditing"},
    {"2401", "Auditing"},
    {"2501", "Auditing"},
    {"2300", "Executive"},
    {"2002", "Nominating"},
    {"2402", "Nominating"},
    {"2502", "Nominating"},
    {"2302", "Nominating"},
    {"3702", "Chaplain"},
    {"3704", "Medical"},
    {"3701", "Flag Lieutenant"},
    {"4003", "Liaison"},
    {"2006", "Law"},
    {"3710", "Parliamentarian"},
    {"3003", "Merit Marks"},
    {"3700", "Aide to Commander"},
    {"4005", "Radio Technical"},
    {"4001", "Cooperative Charting"},
    {"4004", "Public Relations"},
    {"4006", "Safety"},
    {"4002", "Legislative"},
    {"6004", "Member Involvement"},
    {"6005", "Membership"},
    {"6001", "Boating Activities"},
    {"6728", "Operations Training"},
    {"6006", "Leadership Development"},
    {"4009", "Vessel Safety Check"},
    {"7002", "Publications"},
    {"7703", "Historian"},
    {"7017", "Ships Store"},
    {"7001", "Information Technology"},
    {"7011", "Photography"},
    {"8001", "Budget"},
    {"2004", "Finance"},
    {"8005", "Property"},
    {"6003", "Member Benefits"},
    {"4000", "Boat Show"},
    {"2005", "Housing"},
    {"6008", "Predicted Log"},
    {"6010", "Port Captain"},
    {"7007", "Web Site"},
    {"7008", "KESTRAN Correspondent"},
    {"8006", "Supply"},
    {"5003", "Public Boating"},
    {"5005", "Seamanship"},
    {"5031", "Boat Handling"},
    {"5006", "Piloting"},
    {"5007", "Advanced Piloting"},
    {"5032", "Inland and Coastal Navigation"},
    {"5008", "Junior Navigation"},
    {"5033", "Offshore Navigation"},
    {"5009", "Navigation"},
    {"5034", "Electro-Mechanical"},
    {"5011", "Engine Maintenance"},
    {"5013", "Marine Electronics"},
    {"5035", "Marine Environment"},
    {"5012", "Instructor Development"},
    {"5014", "Sail"},
    {"5017", "Learning Guides"},
    {"5015", "Weather"},
    {"5740", "Seminars"},
    {"5016", "Cruise Planning"},
    {"5022", "Teaching Aids"},
};

// Committees that only district and national assignments use.
const Office kStaffOffices[] = {
    {"9710", "Staff Commander"}, {"9311", "National Staff Committee"},
    {"7302", "Publications"},    {"5303", "Public Boating"},
    {"4306", "Safety"},
};

// Offices the demo squadron leaves vacant this watch.
const char* const kVacant[] = {"4003", "3704", "6008", "5035", "7008", "8006", "4005"};

const char* const kDepartments[][2] = {
    {"1", "Bridge"},
    {"2", "Executive and General Committees"},
    {"3", "Commander's Staff"},
    {"4", "Public Affairs"},
    {"5", "Education"},
    {"6", "Administration"},
    {"7", "Secretary's Department"},
    {"8", "Treasurer's Department"},
    {"9", "Special Staff"},
};

const char* const kPositions[][2] = {
    {"0", "Chairman"}, {"1", "Vice Chairman"},        {"2", "Assistant Chairman"},
    {"3", "Member"},   {"4", "Member (2-year term)"}, {"5", "Member (3-year term)"},
    {"7", "Officer"},
};

// The office code rule: department = 1st character, position = 2nd, committee = 1st and the 3rd on.
QString departmentOf(const QString& code)
{
    return code.left(1);
}
QString positionOf(const QString& code)
{
    return code.mid(1, 1);
}
QString committeeOf(const QString& code)
{
    return code.left(1) + code.mid(2);
}

struct Squadron
{
    int number;
    const char* code;
    const char* name;
    int district;
};
const Squadron kSquadrons[] = {
    {143, "ASQ", "Alder Sound Squadron", 27},     {87, "BMS", "Brackenmoor Squadron", 27},
    {212, "CHV", "Cinderhaven Squadron", 27},     {331, "DLS", "Dunmere Lake Squadron", 27},
    {458, "EHB", "Elmstead Harbor Squadron", 27}, {519, "FRB", "Farrowby Squadron", 27},
    {604, "GSH", "Gannet Shoals Squadron", 14},   {1207, "HLK", "Hollin Lake Squadron", 14},
};

// ---------------------------------------------------------------------------------------------------------
// The generated host.

struct Person
{
    qint32 id = 0;
    qint32 squadron = DemoHost::kSquadronNo;
    QString cert, last, first, grade, rank, squadRank, address, address2, city, state, zip, phone, email;
    QString memTypeStat;
    QVariant otherMember; // Null: the squadron's own member
    QString senior;
    QStringList courses; // parallel to HostSchema::courseFields(); empty: not completed
    int joinMonth = 0;   // year * 12 + month - 1
    int gradeLevel = 0;  // 0 none, 1 S ... 5 N
    int household = -1;  // index of the member whose household this member joined
    bool pastCommander = false;
    int offices = 0;
    bool district = false;
    bool national = false;

    bool active() const { return memTypeStat.startsWith(QLatin1String("AC")); }
    bool own() const { return otherMember.toString().isEmpty(); }
    int joinYear() const { return joinMonth / 12; }
};

struct Assignment
{
    qint32 memId;
    QString code;
    QString sdn;
    bool newOd;
};

struct MeritMark
{
    qint32 memId;
    QString year;
    QString prec;
};

struct DemoData
{
    std::vector<Person> members;
    std::vector<Assignment> assignments;
    std::vector<MeritMark> merits;
};

QString asciiFold(const QString& text)
{
    QString out;
    for (const QChar c : text.normalized(QString::NormalizationForm_D).toLower()) {
        if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            out += c;
    }
    return out;
}

QString makeEmail(SeededRandom& rng, const Person& p)
{
    const QString first = asciiFold(p.first);
    const QString last = asciiFold(p.last);
    QString local;
    switch (rng.below(4)) {
    case 0:
        local = first + QLatin1Char('.') + last;
        break;
    case 1:
        local = first.left(1) + last;
        break;
    case 2:
        local = last + first.left(1) + QString::number(rng.between(10, 99));
        break;
    default:
        local = first + QLatin1Char('_') + last.left(1);
        break;
    }
    const QString domain = QLatin1String(kMailDomains[rng.below(int(std::size(kMailDomains)))]);
    QString email = local + QLatin1Char('@') + domain;
    if (email.size() > 40)
        email = first.left(1) + last.left(20) + QLatin1String("@example.com");
    return email;
}

std::vector<QString> makeSurnames(SeededRandom& rng)
{
    std::vector<QString> all;
    for (const char* start : kSurnameStarts) {
        for (const char* end : kSurnameEnds)
            all.push_back(QLatin1String(start) + QLatin1String(end));
    }
    rng.shuffle(all);
    all.resize(150);
    for (const char* whole : kWholeSurnames)
        all.push_back(QString::fromUtf8(whole));
    return all;
}

void makeGradeAndCourses(SeededRandom& rng, Person& p)
{
    p.courses = QStringList(HostSchema::courseFields().size());
    const int levels = rng.weighted({18, 22, 24, 18, 10, 8});
    int month = p.joinMonth;
    for (int k = 0; k < levels; ++k) {
        month += k == 0 ? rng.between(2, 18) : rng.between(8, 40);
        if (month > kLastMonth)
            break;
        p.courses[k] = monthText(month);
        p.gradeLevel = k + 1;
    }
    static const char* const grades[] = {"", "S", "P", "AP", "JN", "N"};
    p.grade = QLatin1String(grades[p.gradeLevel]);
    // Electives and other courses, each by its own share of the membership.
    static const int shares[] = {22, 18, 15, 16, 6, 12, 10, 9};
    for (int e = 0; e < int(std::size(shares)); ++e) {
        if (!rng.chance(shares[e]) || p.joinMonth + 2 > kLastMonth)
            continue;
        p.courses[5 + e] = monthText(rng.between(p.joinMonth + 2, kLastMonth));
    }
}

Person makePerson(SeededRandom& rng, const std::vector<Person>& members, const std::vector<QString>& surnames,
                  QSet<QString>& names)
{
    Person p;
    // About one member in seven joins a household already in the list: same name, address and telephone.
    int head = -1;
    if (!members.empty() && rng.chance(14)) {
        const int candidate = rng.below(int(members.size()));
        if (members[size_t(candidate)].household < 0)
            head = candidate;
    }
    if (head >= 0) {
        const Person& h = members[size_t(head)];
        p.household = head;
        p.last = h.last;
        p.address = h.address;
        p.address2 = h.address2;
        p.city = h.city;
        p.state = h.state;
        p.zip = h.zip;
        p.phone = h.phone;
        p.joinMonth = std::min(h.joinMonth + rng.between(0, 80), kLastMonth - 1);
        p.memTypeStat = h.active() ? QStringLiteral("ACF") : h.memTypeStat;
    } else {
        p.last = surnames[size_t(rng.below(int(surnames.size())))];
        // One draw per statement: the order in which a call's arguments are worked out is not fixed.
        const int houseNo = rng.between(10, 9899);
        const QLatin1String street(kStreetNames[rng.below(int(std::size(kStreetNames)))]);
        const QLatin1String kind(kStreetKinds[rng.below(int(std::size(kStreetKinds)))]);
        p.address = QStringLiteral("%1 %2 %3").arg(houseNo).arg(street, kind);
        if (rng.chance(8)) {
            if (rng.chance(50)) {
                const int flat = rng.between(1, 24);
                p.address2 = QStringLiteral("Apt %1%2").arg(flat).arg(QLatin1Char("ABCD"[rng.below(4)]));
            } else {
                p.address2 = QStringLiteral("Unit %1").arg(rng.between(2, 40));
            }
        }
        int total = 0;
        for (const Town& t : kTowns)
            total += t.weight;
        int r = rng.below(total);
        const Town* town = &kTowns[0];
        for (const Town& t : kTowns) {
            if (r < t.weight) {
                town = &t;
                break;
            }
            r -= t.weight;
        }
        p.city = QLatin1String(town->name);
        p.state = QLatin1String(town->state);
        p.zip = QLatin1String(town->zip);
        if (rng.chance(10))
            p.zip += QStringLiteral("-%1").arg(rng.between(1000, 9999));
        if (!rng.chance(7))
            p.phone = QStringLiteral("%1-555-01%2")
                          .arg(QLatin1String(town->area))
                          .arg(rng.below(100), 2, 10, QLatin1Char('0'));
        // More members joined in recent years than long ago.
        const int draw1 = rng.below(48);
        const int draw2 = rng.below(48);
        const int year = 1978 + std::max(draw1, draw2);
        p.joinMonth = std::min(year * 12 + rng.below(12), kLastMonth - 1);
        switch (rng.weighted({80, 6, 5, 4, 3, 2})) {
        case 0:
            p.memTypeStat = QStringLiteral("AC");
            break;
        case 1:
            p.memTypeStat = year < 2005 ? QStringLiteral("ACL") : QStringLiteral("AC");
            break;
        case 2:
            p.memTypeStat = QStringLiteral("ACA");
            break;
        case 3:
            p.memTypeStat = QStringLiteral("NR");
            break;
        case 4:
            p.memTypeStat = QStringLiteral("RS");
            break;
        default:
            p.memTypeStat = QStringLiteral("DC");
            break;
        }
    }
    for (int attempt = 0;; ++attempt) {
        p.first = QString::fromUtf8(kFirstNames[rng.below(int(std::size(kFirstNames)))]);
        const QString key = p.last + QLatin1Char('|') + p.first;
        if (!names.contains(key) || attempt > 50) {
            names.insert(key);
            break;
        }
    }
    makeGradeAndCourses(rng, p);
    if (!rng.chance(9))
        p.email = makeEmail(rng, p);
    return p;
}

// Gives each office of the officer list its holders for the current watch, and the other assignments.
void makeAssignments(SeededRandom& rng, DemoData& d)
{
    std::vector<Person>& m = d.members;
    std::vector<int> pool;
    for (int i = 0; i < int(m.size()); ++i) {
        if (m[size_t(i)].own() && m[size_t(i)].active())
            pool.push_back(i);
    }
    rng.shuffle(pool);

    // Past commanders: long-standing members with an advanced grade.
    int pastCommanders = 0;
    for (int i : pool) {
        Person& p = m[size_t(i)];
        if (pastCommanders < 10 && p.gradeLevel >= 3 && p.joinYear() <= 2012) {
            p.pastCommander = true;
            ++pastCommanders;
        }
    }

    using Test = std::function<bool(const Person&)>;
    const auto take = [&](const Test& test) {
        for (int pass = 0; pass < 2; ++pass) {
            for (int i : pool) {
                Person& p = m[size_t(i)];
                if (p.offices == 0 && (pass == 1 || test(p))) {
                    ++p.offices;
                    return i;
                }
            }
        }
        return pool.front();
    };
    const Test any = [](const Person&) {
        return true;
    };
    const Test seasoned = [](const Person& p) {
        return p.gradeLevel >= 2 && p.joinYear() <= 2019;
    };
    const Test teacher = [](const Person& p) {
        return p.gradeLevel >= 3;
    };
    const Test pastCdr = [](const Person& p) {
        return p.pastCommander;
    };
    const Test reachable = [](const Person& p) {
        return !p.email.isEmpty() && !p.phone.isEmpty();
    };

    QMap<QString, int> holder; // office code -> first holder
    const QSet<QString> vacant(std::begin(kVacant), std::end(kVacant));
    const QMap<QString, QString> sharedWith = {{QStringLiteral("7007"), QStringLiteral("7001")},
                                               {QStringLiteral("5031"), QStringLiteral("5005")}};
    const auto assign = [&](const QString& code, int who, const QString& sdn, bool newOd) {
        d.assignments.push_back({m[size_t(who)].id, code, sdn, newOd});
        if (sdn == QLatin1String("S") && !newOd && !holder.contains(code))
            holder.insert(code, who);
    };

    for (const Office& office : kOffices) {
        const QString code = QLatin1String(office.code);
        if (vacant.contains(code))
            continue;
        if (sharedWith.contains(code)) {
            const int who = holder.value(sharedWith.value(code));
            ++m[size_t(who)].offices;
            assign(code, who, QStringLiteral("S"), false);
            continue;
        }
        if (code == QLatin1String("2300")) {
            // The executive committee: the six elected officers and four members at large.
            for (const char* bridge : {"1701", "1702", "1703", "1704", "1705", "1706"})
                assign(code, holder.value(QLatin1String(bridge)), QStringLiteral("S"), false);
            for (int k = 0; k < 4; ++k)
                assign(code, take(seasoned), QStringLiteral("S"), false);
            continue;
        }
        if (code == QLatin1String("2302")) {
            for (int k = 0; k < 5; ++k)
                assign(code, take(pastCdr), QStringLiteral("S"), false);
            continue;
        }
        if (code == QLatin1String("2303")) {
            for (int k = 0; k < 2; ++k)
                assign(code, take(pastCdr), QStringLiteral("S"), false);
            continue;
        }
        Test test = any;
        if (code == QLatin1String("1703") || code.startsWith(QLatin1Char('5')))
            test = code == QLatin1String("5700") || code == QLatin1String("5003") ? seasoned : teacher;
        else if (code.startsWith(QLatin1String("17")))
            test = [](const Person& p) {
                return p.gradeLevel >= 2 && p.joinYear() <= 2018 && !p.pastCommander;
            };
        else if (code == QLatin1String("2002") || code == QLatin1String("2003") || code == QLatin1String("2402") ||
                 code == QLatin1String("2502"))
            test = pastCdr;
        else if (code == QLatin1String("7703"))
            test = reachable;
        assign(code, take(test), QStringLiteral("S"), false);
    }

    // District and national assignments; the title tables hold every code used here.
    QSet<int> bridge;
    for (const char* code : {"1701", "1702", "1703", "1704", "1705", "1706"})
        bridge.insert(holder.value(QLatin1String(code)));
    std::vector<int> staffPool = pool;
    rng.shuffle(staffPool);
    std::vector<int> staff;
    for (int i : staffPool) {
        const Person& p = m[size_t(i)];
        if (p.gradeLevel >= 2 && p.joinYear() <= 2020 && !bridge.contains(i) && staff.size() < 13)
            staff.push_back(i);
    }
    for (size_t k = 0; staff.size() < 13; ++k)
        staff.push_back(pool[k]);
    const char* const districtCodes[] = {"1703", "1705", "2300", "5003", "5009", "4006", "7703", "9710", "6005"};
    for (size_t k = 0; k < std::size(districtCodes); ++k) {
        assign(QLatin1String(districtCodes[k]), staff[k], QStringLiteral("D"), false);
        m[size_t(staff[k])].district = true;
    }
    assign(QStringLiteral("2302"), staff[0], QStringLiteral("D"), false); // one member with two district posts
    assign(QStringLiteral("5009"), staff[9], QStringLiteral("D"), true);  // last watch's district post
    m[size_t(staff[9])].district = true;
    const char* const nationalCodes[] = {"5303", "4306", "9311", "7302", "2303"};
    for (size_t k = 0; k < std::size(nationalCodes); ++k) {
        const int who = k < 2 ? staff[k + 1] : staff[k + 8];
        assign(QLatin1String(nationalCodes[k]), who, QStringLiteral("N"), false);
        m[size_t(who)].national = true;
    }

    // Last watch's officers (NewOD set): its commander is now a past commander.
    std::vector<int> lastWatch = pool;
    rng.shuffle(lastWatch);
    std::vector<int> others;
    int lastCommander = -1;
    for (int i : lastWatch) {
        const Person& p = m[size_t(i)];
        if (p.pastCommander && lastCommander < 0)
            lastCommander = i;
        else if (p.gradeLevel >= 1)
            others.push_back(i);
    }
    size_t next = 0;
    const auto someone = [&]() {
        return others[next++ % others.size()];
    };
    assign(QStringLiteral("1701"), lastCommander >= 0 ? lastCommander : someone(), QStringLiteral("S"), true);
    for (const char* code : {"1702", "1703", "1704", "1705", "1706", "7703", "5003", "6005", "7002", "2002"})
        assign(QLatin1String(code), someone(), QStringLiteral("S"), true);
    for (int k = 0; k < 8; ++k)
        assign(QStringLiteral("2300"), someone(), QStringLiteral("S"), true);
    for (int k = 0; k < 3; ++k)
        assign(QStringLiteral("2302"), someone(), QStringLiteral("S"), true);
}

void makeRanks(SeededRandom& rng, DemoData& d)
{
    QMap<qint32, QStringList> current; // member -> current squadron office codes
    for (const Assignment& a : d.assignments) {
        if (a.sdn == QLatin1String("S") && !a.newOd)
            current[a.memId] << a.code;
    }
    for (Person& p : d.members) {
        const QStringList codes = current.value(p.id);
        const auto holds = [&](std::initializer_list<const char*> list) {
            for (const char* c : list) {
                if (codes.contains(QLatin1String(c)))
                    return true;
            }
            return false;
        };
        if (holds({"1701"}))
            p.squadRank = QStringLiteral("Cdr");
        else if (holds({"1702", "1703", "1704", "1705", "1706"}))
            p.squadRank = QStringLiteral("Lt/C");
        else if (p.pastCommander)
            p.squadRank = QStringLiteral("P/C");
        else if (holds({"5700", "7700", "8700", "6700"}))
            p.squadRank = QStringLiteral("1st/Lt");
        else if (!codes.isEmpty())
            p.squadRank = QStringLiteral("Lt");
        else if (p.joinYear() < 2010 && p.gradeLevel >= 2 && rng.chance(15))
            p.squadRank = QStringLiteral("P/Lt/C");

        if (p.pastCommander)
            p.rank = p.district ? QStringLiteral("P/D/Lt/C") : QStringLiteral("P/C");
        else if (p.district)
            p.rank = QStringLiteral("D/Lt");
        else if (p.squadRank == QLatin1String("P/Lt/C"))
            p.rank = p.squadRank;
        else if (!codes.isEmpty() || p.national)
            p.rank = QStringLiteral("Lt");
        else if (rng.chance(25))
            p.rank = QStringLiteral("Lt");
        else if (rng.chance(10))
            p.rank = QStringLiteral("1st/Lt");
    }
}

void makeSeniorYears(SeededRandom& rng, DemoData& d)
{
    std::vector<Person>& m = d.members;
    for (Person& p : m) {
        if (p.gradeLevel >= 1 && p.joinYear() + 5 <= 2024 && rng.chance(40))
            p.senior = QString::number(rng.between(p.joinYear() + 5, 2024));
    }
    // The watch year's new senior members, and one member of another squadron who must not count.
    std::vector<int> candidates;
    for (int i = 0; i < int(m.size()); ++i) {
        const Person& p = m[size_t(i)];
        if (p.own() && p.active() && p.senior.isEmpty() && p.joinYear() <= 2020)
            candidates.push_back(i);
    }
    rng.shuffle(candidates);
    const QString year = QString::number(DemoHost::watchFrom().year());
    for (size_t k = 0; k < 7 && k < candidates.size(); ++k)
        m[size_t(candidates[k])].senior = year;
    for (Person& p : m) {
        if (!p.own() && p.senior.isEmpty()) {
            p.senior = year;
            break;
        }
    }
}

void makeMeritMarks(SeededRandom& rng, DemoData& d)
{
    int extra = 0;
    for (const Person& p : d.members) {
        if (!p.own() || !p.active())
            continue;
        if (p.offices == 0) {
            if (extra >= 40 || !rng.chance(25))
                continue;
            ++extra;
        }
        for (int year = std::max(p.joinYear() + 1, 2014); year <= DemoHost::watchFrom().year(); ++year) {
            if (!rng.chance(50))
                continue;
            static const char* const kinds[] = {"A", "R", "D", "P"};
            d.merits.push_back({p.id, QString::number(year), QLatin1String(kinds[rng.weighted({74, 12, 8, 6})])});
        }
    }
}

DemoData makeDemo()
{
    SeededRandom rng(kSeed);
    DemoData d;
    const std::vector<QString> surnames = makeSurnames(rng);
    QSet<QString> names;
    qint32 id = 1040;
    for (int i = 0; i < DemoHost::kMemberCount; ++i) {
        Person p = makePerson(rng, d.members, surnames, names);
        id += rng.between(1, 6);
        p.id = id;
        d.members.push_back(p);
    }

    // A few members belong to other squadrons of the district; three own members carry an empty text
    // rather than no value in OtherMember, as older host files do.
    std::vector<int> order(d.members.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    rng.shuffle(order);
    int moved = 0;
    int blank = 0;
    for (int i : order) {
        Person& p = d.members[size_t(i)];
        if (p.household >= 0)
            continue;
        if (moved < 8) {
            const Squadron& s = kSquadrons[1 + moved % 5];
            p.otherMember = QLatin1String(s.code);
            p.squadron = s.number;
            p.memTypeStat = QStringLiteral("AC");
            ++moved;
        } else if (blank < 3) {
            p.otherMember = QString(QLatin1String(""));
            ++blank;
        }
    }

    // Certificate numbers: six digits for long-standing members, a letter and six digits for newer ones.
    QSet<QString> certs;
    for (Person& p : d.members) {
        do {
            if (p.joinYear() < 1996) {
                p.cert = QString::number(rng.between(100000, 799999));
            } else {
                const QChar letter = QLatin1Char("ABCDEFGHJK"[rng.below(10)]);
                p.cert = letter + QString::number(rng.between(100000, 999999));
            }
        } while (certs.contains(p.cert));
        certs.insert(p.cert);
    }

    makeAssignments(rng, d);
    makeRanks(rng, d);
    makeSeniorYears(rng, d);
    makeMeritMarks(rng, d);
    return d;
}

// ---------------------------------------------------------------------------------------------------------
// Writing the files.

QVariant textOrNull(const QString& text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

// A new host database file, written in one transaction; the first failure stops every later step.
class DemoDatabase
{
public:
    explicit DemoDatabase(const QString& path) : m_db(path, SqlConnection::Mode::Create)
    {
        if (!m_db.isOpen())
            m_error = QStringLiteral("cannot create %1: %2").arg(path, m_db.error());
        else if (!m_db.exec(QStringLiteral("BEGIN")))
            m_error = QStringLiteral("cannot write %1: %2").arg(path, m_db.error());
        else
            m_inTransaction = true;
    }
    ~DemoDatabase()
    {
        m_queries.clear();
        if (m_inTransaction)
            m_db.exec(QStringLiteral("ROLLBACK")); // not committed: nothing is kept
    }
    DemoDatabase(const DemoDatabase&) = delete;
    DemoDatabase& operator=(const DemoDatabase&) = delete;

    bool ok() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }

    void exec(const QString& sql, const QVariantList& values = {})
    {
        if (!ok())
            return;
        QSqlQuery* q = prepared(sql);
        if (q && !m_db.execPrepared(*q, values))
            m_error = QStringLiteral("%1: %2").arg(sql, m_db.error());
    }

    bool commit()
    {
        if (!ok())
            return false;
        m_queries.clear();
        if (!m_db.exec(QStringLiteral("COMMIT")))
            m_error = QStringLiteral("cannot commit %1: %2").arg(m_db.path(), m_db.error());
        else
            m_inTransaction = false;
        return ok();
    }

private:
    // The statement prepared once and kept for its later rows; null (with the error kept) when it cannot be.
    QSqlQuery* prepared(const QString& sql)
    {
        auto it = std::find_if(m_queries.begin(), m_queries.end(), [&](const auto& e) { return e.first == sql; });
        if (it != m_queries.end())
            return it->second.get();
        auto q = std::make_unique<QSqlQuery>(m_db.database());
        if (!q->prepare(sql)) {
            m_db.fail(q->lastError());
            m_error = QStringLiteral("%1: %2").arg(sql, m_db.error());
            return nullptr;
        }
        m_queries.emplace_back(sql, std::move(q));
        return m_queries.back().second.get();
    }

    SqlConnection m_db;
    QString m_error;
    bool m_inTransaction = false;
    std::vector<std::pair<QString, std::unique_ptr<QSqlQuery>>> m_queries;
};

bool writePrimary(const QString& path, const DemoData& d, QString* error)
{
    DemoDatabase db(path);
    for (const QString& sql : HostSchema::primaryTables())
        db.exec(sql);
    db.exec(QStringLiteral("INSERT INTO HomeSquad (Home_Name, Home_Code, Home_No, Home_Dist) VALUES (?, ?, ?, ?)"),
            {QLatin1String(DemoHost::kSquadronName), QLatin1String(DemoHost::kSquadronCode), DemoHost::kSquadronNo,
             DemoHost::kDistrictNo});

    const QStringList courseFields = HostSchema::courseFields();
    QString columns = QStringLiteral("Mem_ID, Squadron, Cert, Last, First, Grade, Rank, SquadRank, Address, Address2, "
                                     "City, State, ZIP, Phone, Email, MemTypeStat, OtherMember, GH_Senior");
    QString marks = QStringLiteral("?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?");
    for (const QString& field : courseFields) {
        columns += QLatin1String(", ") + field;
        marks += QLatin1String(", ?");
    }
    const QString insertMember = QStringLiteral("INSERT INTO Members (%1) VALUES (%2)").arg(columns, marks);
    for (const Person& p : d.members) {
        QVariantList values = {p.id,
                               p.squadron,
                               p.cert,
                               p.last,
                               p.first,
                               textOrNull(p.grade),
                               textOrNull(p.rank),
                               textOrNull(p.squadRank),
                               textOrNull(p.address),
                               textOrNull(p.address2),
                               textOrNull(p.city),
                               textOrNull(p.state),
                               textOrNull(p.zip),
                               textOrNull(p.phone),
                               textOrNull(p.email),
                               p.memTypeStat,
                               p.otherMember,
                               textOrNull(p.senior)};
        for (const QString& course : p.courses)
            values << textOrNull(course);
        db.exec(insertMember, values);
    }

    for (const Assignment& a : d.assignments) {
        db.exec(QStringLiteral("INSERT INTO MemberCom (Mem_ID, Department, Position, Committee, SDN, NewOD) "
                               "VALUES (?, ?, ?, ?, ?, ?)"),
                {a.memId, departmentOf(a.code), positionOf(a.code), committeeOf(a.code), a.sdn, a.newOd ? 1 : 0});
    }

    for (const auto& dep : kDepartments)
        db.exec(QStringLiteral("INSERT INTO commdept (Dep_Code, Dep_Title) VALUES (?, ?)"),
                {QLatin1String(dep[0]), QString::fromUtf8(dep[1])});
    for (const auto& pos : kPositions)
        db.exec(QStringLiteral("INSERT INTO CommPos (Pos_Code, Pos_Title) VALUES (?, ?)"),
                {QLatin1String(pos[0]), QLatin1String(pos[1])});
    QMap<QString, QString> committees; // ordered by code
    for (const Office& o : kOffices)
        committees.insert(committeeOf(QLatin1String(o.code)), QLatin1String(o.committee));
    for (const Office& o : kStaffOffices)
        committees.insert(committeeOf(QLatin1String(o.code)), QLatin1String(o.committee));
    for (auto it = committees.cbegin(); it != committees.cend(); ++it)
        db.exec(QStringLiteral("INSERT INTO CommDesc (Com_Code, Com_Title) VALUES (?, ?)"), {it.key(), it.value()});

    for (const MeritMark& mm : d.merits)
        db.exec(QStringLiteral("INSERT INTO MeritMarks (Mem_ID, MM_Year, MM_Prec) VALUES (?, ?, ?)"),
                {mm.memId, mm.year, mm.prec});

    if (!db.commit()) {
        *error = db.error();
        return false;
    }
    return true;
}

bool writeSquadrons(const QString& path, QString* error)
{
    DemoDatabase db(path);
    for (const QString& sql : HostSchema::squadronsTables())
        db.exec(sql);
    for (const Squadron& s : kSquadrons)
        db.exec(QStringLiteral("INSERT INTO AllSquadrons (Squad_No, Squad_Code, Squad_Name, Squad_District) "
                               "VALUES (?, ?, ?, ?)"),
                {s.number, QLatin1String(s.code), QLatin1String(s.name), s.district});
    db.exec(QStringLiteral("INSERT INTO url_list (historian, homepage) VALUES (?, ?)"),
            {QLatin1String(DemoHost::kHistorianUrl), QStringLiteral("https://example.org/alder-sound/")});
    if (!db.commit()) {
        *error = db.error();
        return false;
    }
    return true;
}

bool writeSetting(const QString& configDir, const QString& app, const QString& section, const QString& key,
                  const QString& value, QString* error)
{
    // The same file the host settings are read from: one INI file per application under XDG_CONFIG_HOME.
    const QString folder = configDir + QLatin1Char('/') + QLatin1String(HostSettings::kOrganisation);
    QDir().mkpath(folder);
    QSettings settings(folder + QLatin1Char('/') + app + QLatin1String(".conf"), QSettings::IniFormat);
    settings.beginGroup(section);
    settings.setValue(key, value);
    settings.endGroup();
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        *error = QStringLiteral("cannot write the setting %1 of %2 in %3").arg(key, app, settings.fileName());
        return false;
    }
    return true;
}

bool writeSettings(const QString& dir, QString* error)
{
    const QString config = DemoHost::configDir(dir);
    const QString app = QLatin1String(DemoHost::kSettingsApp);
    const QString primary = QLatin1String(DemoHost::kPrimaryDb);
    const QString startup = QStringLiteral("Startup");
    return writeSetting(config, app, startup, QStringLiteral("PrimaryDB"), primary, error) &&
           writeSetting(config, app, startup, QStringLiteral("Mouse"), QStringLiteral("True"), error) &&
           writeSetting(config, app, primary.left(primary.indexOf(QLatin1Char('.'))), QStringLiteral("UserPW"),
                        QLatin1String(DemoHost::kUserPw), error) &&
           writeSetting(config, QStringLiteral("Rostrelv3"), startup, QStringLiteral("DataPath"),
                        DemoHost::dataPath(dir), error);
}

bool writeEnvFile(const QString& dir, QString* error)
{
    QSaveFile file(DemoHost::envFilePath(dir));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
        return false;
    }
    const QString text =
        QStringLiteral("# The r318form demo host. Source this file in bash, then start the add-in as the "
                       "host does:\n#   r318form \"$R318_HOST_LINE\"\n"
                       "export XDG_CONFIG_HOME=%1\nexport R318_HOST_LINE=%2\n")
            .arg(DemoHost::shellQuoted(DemoHost::configDir(dir)), DemoHost::shellQuoted(DemoHost::hostLine()));
    file.write(text.toUtf8());
    if (!file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
        return false;
    }
    return true;
}

QString absoluteDir(const QString& dir)
{
    return QDir::cleanPath(QFileInfo(dir).absoluteFilePath());
}

} // namespace

namespace DemoHost {

QDate watchFrom()
{
    return QDate(2025, 3, 1);
}

QDate watchTo()
{
    return QDate(2026, 2, 28);
}

QString hostLine(const QString& mode)
{
    return QStringLiteral("%1,%2,%3,%4")
        .arg(QLatin1String(kSettingsApp), QLatin1String(kPrimaryDb), QLatin1String(kSquadronsDb), mode);
}

QString configDir(const QString& dir)
{
    return absoluteDir(dir) + QLatin1String("/config");
}

QString dataPath(const QString& dir)
{
    return absoluteDir(dir) + QLatin1String("/data");
}

QString dataDir(const QString& dir)
{
    return dataPath(dir) + QLatin1String("/Rostrelv3/");
}

QString envFilePath(const QString& dir)
{
    return absoluteDir(dir) + QLatin1String("/host.env");
}

bool exists(const QString& dir)
{
    return QFileInfo::exists(envFilePath(dir));
}

QString shellQuoted(const QString& text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QStringList startInstructions(const QString& dir, const QString& addinProgram)
{
    return {
        QStringLiteral("Start the add-in on it as the host does:"),
        QStringLiteral("  XDG_CONFIG_HOME=%1 %2 %3")
            .arg(shellQuoted(configDir(dir)), shellQuoted(addinProgram), shellQuoted(hostLine())),
        QStringLiteral("or, in bash:"),
        QStringLiteral("  source %1").arg(shellQuoted(envFilePath(dir))),
        QStringLiteral("  %1 \"$R318_HOST_LINE\"").arg(shellQuoted(addinProgram)),
    };
}

} // namespace DemoHost

bool CreateDemoHost(const QString& dir, QString* error)
{
    QString why;
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (dir.trimmed().isEmpty())
        return fail(QStringLiteral("no folder given for the demo host"));
    const QString root = absoluteDir(dir);
    const QFileInfo info(root);
    const bool existed = info.exists();
    if (existed) {
        if (!info.isDir())
            return fail(QStringLiteral("%1 is a file, not a folder").arg(root));
        if (DemoHost::exists(root))
            return fail(QStringLiteral("a demo host already exists in %1; it is not overwritten").arg(root));
        if (!QDir(root).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
            return fail(QStringLiteral("%1 is not empty; the demo host is made in a new or empty folder").arg(root));
    }
    // On a failure nothing half made stays behind: a later run would refuse the folder.
    const auto undo = [&]() {
        if (existed) {
            QDir(DemoHost::configDir(root)).removeRecursively();
            QDir(DemoHost::dataPath(root)).removeRecursively();
            QFile::remove(DemoHost::envFilePath(root));
        } else {
            QDir(root).removeRecursively();
        }
    };
    if (!QDir().mkpath(DemoHost::dataDir(root)) || !QDir().mkpath(DemoHost::configDir(root))) {
        undo();
        return fail(QStringLiteral("cannot create the folders of the demo host in %1").arg(root));
    }

    const DemoData data = makeDemo();
    const bool done = writeSettings(root, &why) &&
                      writePrimary(DemoHost::dataDir(root) + QLatin1String(DemoHost::kPrimaryDb), data, &why) &&
                      writeSquadrons(DemoHost::dataDir(root) + QLatin1String(DemoHost::kSquadronsDb), &why) &&
                      writeEnvFile(root, &why);
    if (!done) {
        undo();
        return fail(why);
    }
    return true;
}
