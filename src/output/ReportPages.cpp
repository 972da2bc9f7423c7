#include "output/ReportPages.h"

#include "base/Text.h"
#include "host/HostData.h"
#include "output/UploadFile.h"
#include "store/DateText.h"
#include "store/ReportModel.h"

#include <QDate>

namespace {

constexpr double kTab1 = 0.7;
constexpr double kTab2 = 4.7;
constexpr double kTab3 = 3.4;
constexpr int kLastStartLine = 41; // no section heading or officer block starts below this line
constexpr int kOfficerLine = 43;

const QString kLineBreak = QStringLiteral("\r\n");

// A stored date printed "mm dd, yyyy"; a text that is no date is printed as it is.
QString printedDate(const QString& stored)
{
    const QDate date = DateText::parseStored(stored);
    return date.isValid() ? date.toString(QStringLiteral("MM dd, yyyy")) : stored;
}

// Page 4's items: the label printed above the text, and the text's index in ActivityText.
struct Item
{
    const char* label;
    int activity;
};
const Item kItemTable[ReportPages::kItems - 1] = {
    {"A. Meetings:", 0},
    {"B. Boating Activities:", 1},
    {"C. Cooperative Charting:", 2},
    {"D. Participation in District Affairs:", 3},
    {"E. Participation in National Affairs:", 4},
    {"F. Participation in Community Affairs:", 5},
    {"G. Vessel Safety Checks:", 11},
    {"A. SQUADRON: ", 12},
    {"B. DISTRICT: ", 7},
    {"C. NATIONAL: ", 8},
    {"D. COMMUNITY: ", 9},
    {"E. OTHER: ", 10},
    {nullptr, 6}, // section IX has no label
};

// The heading that opens a section before an item, or none.
QString sectionBefore(int item)
{
    if (item == 8)
        return QStringLiteral("SECTION VIII - AWARDS OR RECOGNITION MADE OR RECEIVED");
    if (item == 13)
        return QStringLiteral("SECTION IX - OTHER IMPORTANT INFORMATION");
    return {};
}

} // namespace

void ReportPages::Begin(double divisor, int maxLines)
{
    L.SetTarget();
    m_lineHeight = L.PrintHeight / divisor;
    L.MaxLines = maxLines;
    m_lineNo = 0;
    m_full = false;
}

bool ReportPages::Text(const QString& text, double x, bool ends, bool bold, double size)
{
    bool overflow = false;
    L.PrintLine(text, x < 0 ? x : L.Tab(x), L.TopY + m_lineNo * m_lineHeight, size, false, !ends, m_lineNo, bold,
                overflow);
    m_full = m_full || overflow;
    return !overflow;
}

bool ReportPages::Heading(const QString& text, double size)
{
    bool overflow = false;
    L.PrintLine(text, 0, L.TopY + m_lineNo * m_lineHeight, size, true, false, m_lineNo, true, overflow);
    m_full = m_full || overflow;
    return !overflow;
}

bool ReportPages::Pair(const QString& left, double x1, const QString& right, double x2)
{
    const bool first = Text(left, x1, false);
    const bool second = Text(right, x2);
    return first && second;
}

void ReportPages::Page1()
{
    const ReportModel& m = m_model;
    Begin(60, 55);
    auto name = [&](int row) {
        return FormatName(m, row, false);
    };

    Heading(QStringLiteral("ANNUAL SQUADRON HISTORY REPORT FOR YEAR ") + m.ReportYear, 12);
    ++m_lineNo;
    Text(QStringLiteral("SQUADRON ") + m.SquadronName, kTab1, false, true);
    Text(QStringLiteral(" SQUADRON No. ") + m.SquadronNoText, -1);
    Text(QStringLiteral("DISTRICT D/") + QString::number(m.DistrictNo) + QStringLiteral("  DATE ") +
             printedDate(m.SubDate),
         kTab1, true, true);
    Text(QStringLiteral("PERIOD COVERED: CHANGE-OF-WATCH ") + printedDate(m.FromDate) +
             QStringLiteral(" TO CHANGE-OF-WATCH ") + printedDate(m.ToDate),
         kTab1);
    Text(QStringLiteral("IS SQUADRON INCORPORATED? ") + (m.Incorp ? QStringLiteral(" Yes.") : QStringLiteral(" No.")),
         kTab1);

    Heading(QStringLiteral("SECTION I - ELECTED OFFICERS"));
    Text(QStringLiteral("A. BRIDGE OFFICERS"), kTab1);
    for (const auto& [left, right] : {std::pair{2, 3}, {5, 11}, {4, 8}, {6, 9}, {7, 10}})
        Pair(FormatName(m, left, true), kTab1, FormatName(m, right, true), kTab2);

    Text(QStringLiteral("B. GENERAL COMMITTEE MEMBERS"), kTab1);
    Text(QStringLiteral("RULES COMMITTEE:"), kTab1, false, true);
    Text(QStringLiteral("AUDITING COMMITTEE:"), kTab2, true, true);
    Pair(QStringLiteral("CH/ ") + name(13), kTab1, QStringLiteral("Ch/ ") + name(16), kTab2);
    Pair(name(14), kTab1, name(17), kTab2);
    Pair(name(15), kTab1, name(18), kTab2);

    Text(QStringLiteral("EXECUTIVE COMMITTEE: Includes bridge officers"), kTab1, false, true);
    Text(QStringLiteral("NOMINATING COMMITTEE:"), kTab2, true, true);
    Pair(name(19), kTab1, QStringLiteral("Ch/ ") + name(31), kTab2);
    Pair(name(20), kTab1, QStringLiteral("2 yr/ ") + name(32), kTab2);
    Pair(name(21), kTab1, QStringLiteral("3 yr/ ") + name(33), kTab2);
    for (int row = 22; row <= 26; ++row)
        Pair(name(row), kTab1, name(row + 12), kTab2);
    for (int row = 27; row <= 30; ++row)
        Text(name(row), kTab1);

    L.PrintFooter(L.Tab(kTab1), m.SubDate);
}

void ReportPages::Page2()
{
    const ReportModel& m = m_model;
    Begin(60, 55);

    auto assignments = [&](int category) {
        for (int e = 1; e <= ReportModel::EntriesPerCategory; ++e) {
            const RecognizedEntry& entry = m.entry(category, e);
            const QString name = MemberFullName(entry.Last, entry.First, entry.Grade, entry.Rank);
            if (trimBlanks(name).isEmpty())
                continue;
            Pair(name, kTab1, entry.Office, kTab3);
        }
    };

    Heading(QStringLiteral("SECTION II - MEMBERS WITH DISTRICT OR NATIONAL ASSIGNMENTS"));
    Text(QStringLiteral("A. DISTRICT"), kTab1);
    assignments(1);
    ++m_lineNo;
    Text(QStringLiteral("B. NATIONAL"), kTab1);
    assignments(2);
    ++m_lineNo;

    Heading(QStringLiteral("SECTION III - APPOINTED OFFICERS"));
    Text(FormatName(m, 60, true), kTab1);
    Text(QStringLiteral("Publication Name: ") + m.PubName, kTab1, true, true);
    for (int row = 40; row <= 58; ++row)
        Pair(FormatName(m, row, true), kTab1, FormatName(m, row + 21, true), kTab2);
    Text(FormatName(m, 59, true), kTab1);

    L.PrintFooter(L.Tab(kTab1), m.SubDate);
}

bool ReportPages::Courses(const QString& label, const QStringList& codes, const qint32* counts, int n, qint64& total)
{
    if (!Text(label, kTab1))
        return false;
    qint64 sum = 0;
    for (int i = 0; i < n; ++i) {
        if (!Text(codes.at(i) + SignedCount(counts[i]), kTab1 + 0.75 * i, false))
            return false;
        sum += counts[i];
    }
    total += sum;
    return Text(QStringLiteral("Total ") + QString::number(sum), 5.6);
}

bool ReportPages::Recognized(const QString& label, int category)
{
    if (!Text(label, kTab1))
        return false;
    int names = 0;
    for (int e = 1; e <= ReportModel::EntriesPerCategory; ++e) {
        const RecognizedEntry& entry = m_model.entry(category, e);
        const QString name = MemberFullName(entry.Last, entry.First, entry.Grade, entry.Rank);
        if (trimBlanks(name).isEmpty())
            continue;
        const int column = names++ % 3;
        if (!Text(name, kTab1 + 2.33 * column, column == 2))
            return false;
    }
    if (names == 0)
        return Text(QStringLiteral("None"), kTab1);
    if (names % 3 != 0) { // a line of one or two names ends here
        if (++m_lineNo > L.MaxLines)
            m_full = true;
    }
    return !m_full;
}

void ReportPages::Page3()
{
    const ReportModel& m = m_model;
    Begin(65, 60);

    // The page stops at its first line that does not fit; the footer follows.
    [&] {
        if (!Heading(QStringLiteral("SECTION IV - EDUCATION DEPARTMENT")))
            return;
        for (const auto& [left, right] : {std::pair{81, 82},
                                          {83, 84},
                                          {0, 85},
                                          {86, 87},
                                          {88, 89},
                                          {90, 91},
                                          {92, 93},
                                          {94, 95},
                                          {96, 97},
                                          {98, 99}}) {
            if (left && !Text(FormatName(m, left, true), kTab1, false))
                return;
            if (!Text(FormatName(m, right, true), kTab2))
                return;
        }
        if (!Text(FormatName(m, 100, true), kTab1))
            return;

        if (!Heading(QStringLiteral("SECTION V - RESULTS OF EDUCATION CLASSES")))
            return;
        qint64 total = 0;
        if (!Courses(QStringLiteral("A. Number completing Advanced Grades:"), {"S, ", "P, ", "AP, ", "JN, ", "N, "},
                     m.AGCount.data(), 5, total) ||
            !Courses(QStringLiteral("B. Number completing Elective Courses:"),
                     {"EM, ", "ME, ", "SA, ", "WE, ", "ID, ", "CP, "}, m.EGCount.data(), 6, total) ||
            !Courses(QStringLiteral("C. Students completing Public Boating Courses:"), {"CBC, ", "KUR, ", "SBC, "},
                     m.BCCount.data(), 3, total) ||
            !Courses(QStringLiteral("D. Number completing other courses:"), {"DR, ", "OT, ", "LD, ", "SEM, "},
                     m.OCCount.data(), 4, total))
            return;
        if (!Text(QStringLiteral("Completions for All Classes and Programs:"), kTab1, false) ||
            !Text(QStringLiteral("Total ") + QString::number(total), 5.6))
            return;

        if (!Heading(QStringLiteral("SECTION VI - RECOGNITION OF MEMBERSHIP")) ||
            !Recognized(QStringLiteral("A. Names of new 25 Year Members:"), 3) ||
            !Recognized(QStringLiteral("B: Names of new Life Members"), 4) ||
            !Recognized(QStringLiteral("C: Names of new Senior Navigators"), 5) ||
            !Recognized(QStringLiteral("D: Names of members deceased during year"), 6))
            return;
        if (!Text(QStringLiteral("E. New Senior Members: ") + SignedCount(m.NoSenior), kTab1) ||
            !Text(QStringLiteral("F. Merit Marks ") + SignedCount(m.NoMM), kTab1))
            return;
        Text(QStringLiteral("G. Active Members ") + QString::number(m.NoActive), kTab1);
    }();

    L.PrintFooter(L.Tab(kTab1), m.SubDate);
}

QString ReportPages::ItemText(int item) const
{
    const Item& it = kItemTable[item - 1];
    const QString& data = m_model.ActivityText[size_t(it.activity)];
    const QString text = trimBlanks(data).isEmpty() ? QStringLiteral("None") : data;
    return it.label ? QLatin1String(it.label) + kLineBreak + text : text;
}

bool ReportPages::SubmittingOfficer()
{
    const ReportModel& m = m_model;
    const QString name = MemberFullName(m.SubOLast, m.SubOFirst, m.SubOGrade, m.SubORank);
    m_lineNo = kOfficerLine;
    return Text(QStringLiteral("Submitting Officer: ") + name, kTab1) && Text(m.SubOAddress, kTab1) &&
           Text(m.SubOCity + QStringLiteral(", ") + m.SubOState + QLatin1Char(' ') + m.SubOZip, kTab1) &&
           Text(m.SubOPhone + QStringLiteral("    ") + m.SubOEmail, kTab1) && (++m_lineNo, true) &&
           Text(QString(42, QLatin1Char('_')), kTab1) && Text(name, kTab1) && Text(m.SubOTitle, kTab1) &&
           (++m_lineNo, true) &&
           Text(QStringLiteral("DIRECTIONS: The Historian's Report is to be completed within 30 days following the "
                               "end of your watch year."),
                kTab1, true, false, 8) &&
           Text(QStringLiteral("This report, made with Rostrel, is intended for submission via the Corvane web site."),
                kTab1, true, false, 8) &&
           Text(QStringLiteral("Directions for a paper submission can be obtained by downloading the paper version "
                               "from the Corvane web site."),
                kTab1, true, false, 8);
}

int ReportPages::Items(int page, int first, QString& rest)
{
    rest.clear();
    const double indent = L.Tab(kTab1);
    for (int item = first; item <= kItems; ++item) {
        const QString heading = sectionBefore(item);
        if (!heading.isEmpty()) {
            if (m_lineNo > kLastStartLine)
                return item - 1;
            if (m_lineNo > 0)
                ++m_lineNo;
            Heading(heading);
        }
        if (item == kItems) {
            if (m_lineNo > kLastStartLine)
                return item - 1;
            if (!SubmittingOfficer())
                return item;
            return 0;
        }
        // An item leaves an empty line before it, unless it follows its section's heading.
        if (heading.isEmpty() && item > 1 && m_lineNo > 0)
            ++m_lineNo;
        QString text = ItemText(item);
        if (item >= 2 && item <= 12) {
            bool skip = false;
            L.SetSkip(text, indent, L.MaxLines, m_lineNo, page, item, skip);
            if (skip)
                return item - 1;
        }
        bool overflow = false;
        L.ParseText(text, indent, m_lineNo, m_lineHeight, L.TopY, overflow);
        if (overflow) {
            rest = text;
            return item;
        }
    }
    return 0;
}

void ReportPages::Page4(int page)
{
    Begin(63, 58);
    // Page 20 keeps its last line for the note that the report goes on.
    const bool lastPage = page >= PrintLayout::kLastPage;
    if (lastPage)
        L.MaxLines -= 1;

    const int contItem = page <= PrintLayout::kLastPage ? L.ContItem[size_t(page)] : 0;
    int lastBegun = 0;
    QString rest;
    if (contItem == 0) {
        Heading(QStringLiteral("SECTION VII - ACTIVITIES"));
        lastBegun = Items(page, 1, rest);
    } else {
        QString text = page <= PrintLayout::kLastPage ? L.ContText[size_t(page)] : QString();
        bool overflow = false;
        if (!text.isEmpty()) {
            Text(QStringLiteral("Continued:"), kTab1);
            L.ParseText(text, L.Tab(kTab1), m_lineNo, m_lineHeight, L.TopY, overflow);
        }
        if (overflow) {
            lastBegun = contItem;
            rest = text;
        } else {
            lastBegun = Items(page, contItem + 1, rest);
        }
    }

    if (L.FirstPass && page < PrintLayout::kLastPage) {
        L.ContItem[size_t(page + 1)] = lastBegun;
        L.ContText[size_t(page + 1)] = lastBegun ? rest : QString();
    }
    if (lastPage && lastBegun != 0) {
        m_lineNo = std::min(m_lineNo, L.MaxLines);
        L.MaxLines += 1;
        Text(lastPageNote(), kTab1);
    }
    L.PrintFooter(L.Tab(kTab1), m_model.SubDate);
}

void ReportPages::DrawPage(int page)
{
    L.PageNo = page;
    switch (page) {
    case 1:
        Page1();
        break;
    case 2:
        Page2();
        break;
    case 3:
        Page3();
        break;
    default:
        Page4(page);
        break;
    }
}

int ReportPages::FirstPass(PrintSurface& surface)
{
    L.Use(surface, PrintLayout::Target::Preview);
    L.FirstPass = true;
    L.ClearContinuations();
    for (int page = 1; page <= 4; ++page)
        DrawPage(page);
    int page = 4;
    while (page < PrintLayout::kLastPage && L.ContItem[size_t(page + 1)] >= 1)
        DrawPage(++page);
    L.FirstPass = false;
    L.TotalPages = page;
    L.PageNo = 1;
    return page;
}

void ReportPages::PrintAll(PrintSurface& printer)
{
    L.Use(printer, PrintLayout::Target::Printer);
    for (int page = 1; page <= 4; ++page) {
        if (page > 1)
            printer.newPage();
        DrawPage(page);
    }
    for (int page = 5; page <= L.TotalPages && page <= PrintLayout::kLastPage; ++page) {
        if (L.ContItem[size_t(page)] < 1)
            continue;
        printer.newPage();
        DrawPage(page);
    }
    L.TargetCode = PrintLayout::Target::Preview;
}

void ReportPages::PrintPage(PrintSurface& printer, int page)
{
    const int shown = L.PageNo;
    L.Use(printer, PrintLayout::Target::Printer);
    DrawPage(page);
    L.PageNo = shown;
    L.TargetCode = PrintLayout::Target::Preview;
}
