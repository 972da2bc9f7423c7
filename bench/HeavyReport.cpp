#include "HeavyReport.h"

#include "base/SeededRandom.h"

#include "app/Session.h"
#include "store/ReportIO.h"

#include <array>

namespace {

const std::array<const char*, 48> kWords = {
    "squadron", "members",  "cruise",     "harbour",   "channel",    "evening",    "course",      "instructors",
    "boats",    "weather",  "charts",     "safety",    "inspection", "volunteers", "dinner",      "meeting",
    "district", "national", "awards",     "flotilla",  "mooring",    "tide",       "navigation",  "seminar",
    "families", "river",    "lighthouse", "crew",      "sailing",    "engine",     "radio",       "checks",
    "spring",   "autumn",   "regatta",    "anchorage", "marina",     "students",   "graduates",   "committee",
    "public",   "classes",  "weekend",    "island",    "beacon",     "survey",     "photographs", "newsletter"};
const std::array<const char*, 12> kJoins = {"and",  "with", "for", "after", "before", "during",
                                            "near", "by",   "of",  "on",    "at",     "through"};
// Names and places with letters outside ASCII, quotes and a dash, as members type them.
const std::array<const char*, 8> kFlavour = {"Ren\u00e9e's \"Sea Breeze\"",
                                             "the Caf\u00e9 du Port",
                                             "M\u00fcller Point",
                                             "\u2013 weather permitting \u2013",
                                             "\u20ac120 raised",
                                             "Gr\u00e2ce Harbour",
                                             "the \"Blue Heron\"",
                                             "Fjord\u00e5s Landing"};

// Invented prose of about `length` characters: sentences of 8 to 20 words in paragraphs of 4 to 8
// sentences, the paragraphs separated by an empty line (CR LF twice).
QString prose(SeededRandom& rng, int length)
{
    QString text;
    text.reserve(length + 200);
    int sentencesLeft = 4 + rng.below(5);
    while (text.size() < length) {
        const int words = 8 + rng.below(13);
        QString sentence;
        for (int w = 0; w < words; ++w) {
            QString word = QString::fromUtf8(w % 4 == 2 ? kJoins[std::size_t(rng.below(int(kJoins.size())))]
                                                        : kWords[std::size_t(rng.below(int(kWords.size())))]);
            if (rng.below(40) == 0)
                word = QString::fromUtf8(kFlavour[std::size_t(rng.below(int(kFlavour.size())))]);
            if (w == 0)
                word[0] = word.at(0).toUpper();
            sentence += (w ? QStringLiteral(" ") : QString()) + word;
        }
        sentence += rng.below(6) == 0 ? QStringLiteral("!") : QStringLiteral(".");
        text += sentence;
        if (--sentencesLeft == 0) {
            text += QStringLiteral("\r\n\r\n");
            sentencesLeft = 4 + rng.below(5);
        } else {
            text += QLatin1Char(' ');
        }
    }
    return text.trimmed();
}

// A text of exactly `size` characters (the field's size), so that nothing is cut on saving.
QString sized(const QString& stem, int number, int size)
{
    QString t = stem + QString::number(number);
    while (t.size() < size)
        t += QLatin1Char('a' + char(t.size() % 26));
    return t.left(size);
}

} // namespace

void MakeHeavyReport(ReportModel& m, quint64 seed)
{
    SeededRandom rng(seed);
    m.SubDate = QStringLiteral("Sep 15, 2020");
    m.FromDate = QStringLiteral("Sep 1, 2019");
    m.ToDate = QStringLiteral("Aug 31, 2020");
    m.ReportYear = QStringLiteral("2020");
    m.NoMM = 812;
    m.Incorp = true;
    m.NoActive = 13377;
    m.NoSenior = 1204;
    m.SubOCert = QStringLiteral("1000077");
    m.SubOLast = sized(QStringLiteral("Westlake-Oakhurst"), 7, 25);
    m.SubOFirst = sized(QStringLiteral("Rosalind"), 7, 16);
    m.SubOGrade = QStringLiteral("AP");
    m.SubORank = QStringLiteral("1st/Lt");
    m.SubOAddress = sized(QStringLiteral("877 Tideway Lane, Harbour View Apartments "), 12, 60);
    m.SubOCity = sized(QStringLiteral("Bellmouth Narrows "), 1, 30);
    m.SubOState = QStringLiteral("NA");
    m.SubOZip = QStringLiteral("04101-2211");
    m.SubOTitle = QStringLiteral("Historian");
    m.SubOPhone = QStringLiteral("555-012-3456");
    m.SubOEmail = sized(QStringLiteral("historian@bellmouth-narrows.example."), 0, 40);
    m.PubName = sized(QStringLiteral("The Narrows Lookout "), 2020, 30);
    m.SubmitURL = QStringLiteral("https://example.org/r318?");
    for (std::size_t i = 0; i < m.AGCount.size(); ++i)
        m.AGCount[i] = 20 + rng.below(200);
    for (std::size_t i = 0; i < m.EGCount.size(); ++i)
        m.EGCount[i] = 20 + rng.below(200);
    for (std::size_t i = 0; i < m.BCCount.size(); ++i)
        m.BCCount[i] = 20 + rng.below(200);
    for (std::size_t i = 0; i < m.OCCount.size(); ++i)
        m.OCCount[i] = 20 + rng.below(200);
    m.FromKUR = true;

    for (QString& text : m.ActivityText)
        text = prose(rng, kHeavyActivityChars);

    // Every office of the officer list (section headings hold no member).
    for (int i = 1; i <= m.officerCount(); ++i) {
        Officer& o = m.officer(i);
        if (o.Heading)
            continue;
        o.Cert = QString::number(1000000 + rng.below(20000));
        o.Last = sized(QStringLiteral("Officer-%1-").arg(seed % 1000), i, 25);
        o.First = sized(QStringLiteral("First%1-").arg(seed % 1000), i, 16);
        o.Rank = QStringLiteral("1st/Lt");
        o.Grade = QStringLiteral("AP");
    }
    // All 168 recognition slots, each with an office text of full length.
    for (int c = 1; c <= ReportModel::CategoryCount; ++c) {
        for (int e = 1; e <= ReportModel::EntriesPerCategory; ++e) {
            RecognizedEntry& r = m.entry(c, e);
            r.Cert = QString::number(1000000 + rng.below(20000));
            r.Last = sized(QStringLiteral("Member-%1-%2-").arg(seed % 1000).arg(c), e, 25);
            r.First = sized(QStringLiteral("First%1-").arg(seed % 1000), e, 16);
            r.Rank = QStringLiteral("P/C");
            r.Grade = QStringLiteral("SN");
            r.Office = sized(QStringLiteral("Assistant Committee Chairman, District Education Seminar "), e, 75);
            r.Category = c;
        }
    }
}

bool WriteHeavyReport(Session& session, QString* error, quint64 seed)
{
    QString why;
    if (!LoadReport(session, &why)) {
        if (error)
            *error = QStringLiteral("cannot load %1: %2").arg(session.CurrentDBPath, why);
        return false;
    }
    MakeHeavyReport(session.model, seed);
    if (!WriteReport(session, &why)) {
        if (error)
            *error = QStringLiteral("cannot save %1: %2").arg(session.CurrentDBPath, why);
        return false;
    }
    return true;
}
