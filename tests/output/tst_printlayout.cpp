// The print layout and the report pages, drawn on a surface that records every text: word wrap and hand-back,
// the line grid, officer names, the texts of the pages, and how page 4 continues onto further pages.

#include "output/PrintLayout.h"
#include "output/RecordingSurface.h"
#include "output/ReportPages.h"
#include "store/OfficeCatalogue.h"
#include "store/ReportModel.h"

#include <QTest>

namespace {

using Call = RecordingSurface::Call;
using Target = PrintLayout::Target;

// A paragraph that ParseText prints as exactly n lines of the recording surface: 21 words of 5 characters fill a
// line of 108 characters, each line but the last keeping its blank.
QString lines(int n)
{
    return QStringLiteral("abcd ").repeated(21 * n).trimmed();
}
const QString kLine = QStringLiteral("abcd ").repeated(21);

int bodyLines(const QStringList& texts)
{
    return int(std::count_if(texts.begin(), texts.end(), [](const QString& t) { return t.startsWith("abcd"); }));
}

// A layout on the recording surface, its target set, with room for `maxLines` lines.
struct Layout
{
    explicit Layout(int maxLines, Target target = Target::Preview, double scale = 1) : s(target == Target::Printer)
    {
        s.scale = L.PreviewScale = scale;
        L.Use(s, target);
        L.SetTarget();
        L.MaxLines = maxLines;
    }
    RecordingSurface s;
    PrintLayout L;
    int lineNo = 0;
    bool overflow = false;
};

ReportModel catalogueModel()
{
    ReportModel m;
    for (const CatalogueLine& line : OfficeCatalogue()) {
        Officer& o = m.Officers.emplace_back();
        std::tie(o.Title, o.Code, o.Order, o.Heading) =
            std::tuple(line.title, line.code, m.officerCount(), IsHeadingCode(line.code));
    }
    std::tie(m.SquadronName, m.SquadronNoText, m.DistrictNo, m.SubDate, m.FromDate, m.ToDate, m.ReportYear) =
        std::tuple("Alder Sound Squadron", "0143", 27, "Sep 1, 2019", "Sep 1, 2019", "Aug 31, 2020", "2020");
    return m;
}

RecognizedEntry member(const QString& first, const QString& last, int category)
{
    return {{}, last, first, QStringLiteral("Lt"), QStringLiteral("P"), {}, category};
}

// The pages of a model on the recording surface, after the first pass.
struct Report
{
    explicit Report(const ReportModel& m) : model(m), pages(layout, model) { total = pages.FirstPass(surface); }
    QList<Call> page(int n)
    {
        layout.Use(surface, Target::Preview);
        pages.DrawPage(n);
        return surface.calls;
    }
    ReportModel model;
    RecordingSurface surface;
    PrintLayout layout;
    ReportPages pages;
    int total = 0;
};

const Call* find(const QList<Call>& calls, const QString& text)
{
    const auto it = std::find_if(calls.begin(), calls.end(), [&](const Call& c) { return c.text == text; });
    return it == calls.end() ? nullptr : &*it;
}

// The texts drawn on the page's lines, the footer left out.
QStringList texts(const QList<Call>& calls)
{
    QStringList out;
    for (const Call& c : calls) {
        if (c.lineNo >= 0)
            out << c.text;
    }
    return out;
}

// A heading, n full lines and a last one, then the next heading.
QStringList item(const QString& heading, int n, const QString& next)
{
    return QStringList{heading} + QStringList(n, kLine) << lines(1) << next;
}

const QString kSectionNine = QStringLiteral("SECTION IX - OTHER IMPORTANT INFORMATION");
const QString kOfficer = QStringLiteral("Submitting Officer:   ");

} // namespace

class TestPrintLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parseText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxLines");
        QTest::addColumn<int>("measurable");
        QTest::addColumn<QStringList>("printed");
        QTest::addColumn<QString>("rest"); // handed back: overflow

        QStringList hundred;
        for (int i = 1; i <= 101; ++i)
            hundred << QStringLiteral("p%1").arg(i);
        const int all = kMeasurableChars;
        const QString x(108, 'x'), w = QStringLiteral("abcd "), end = QStringLiteral("\r\n\r\nLast");
        const QString seven = QStringLiteral("one two three four five six seven");
        const std::tuple<const char*, QString, int, int, QStringList, QString> rows[] = {
            {"fits whole, blanks kept", "  Harbour day.  ", 58, all, {"  Harbour day.  "}, {}},
            {"empty text: one empty line", {}, 58, all, {""}, {}},
            {"line break at the end: an empty last line", "One\r\nTwo\r\n", 58, all, {"One", "Two", ""}, {}},
            {"101 paragraphs print 100", hundred.join("\r\n"), 200, all, hundred.mid(0, 100), {}},
            {"break after the last blank", w.repeated(40), 58, all, {kLine, w.repeated(19).trimmed()}, {}},
            {"long word broken at the line's length", QString(250, 'x'), 58, all, {x, x, QString(34, 'x')}, {}},
            // Overflow hands back the paragraph from the line that did not fit and all after it.
            {"overflow mid-paragraph", "Intro\r\n" + lines(3) + end, 2, all, {"Intro", kLine}, lines(2) + end},
            {"overflow before a paragraph", "One\r\nTwo\r\nThree", 1, all, {"One"}, "Two\r\nThree"},
            // A paragraph too long to measure is printed as its halves, and handed back in one piece.
            {"unmeasurable: halves", seven, 58, 20, {"one two three four", "five six seven"}, {}},
            {"unmeasurable: overflow", "x\r\n" + seven + "\r\nend", 1, 20, {"x"}, seven + "\r\nend"}};
        for (const auto& [name, text, maxLines, measurable, printed, rest] : rows)
            QTest::newRow(name) << text << maxLines << measurable << printed << rest;
    }
    void parseText()
    {
        QFETCH(QString, text);
        QFETCH(int, maxLines);
        QFETCH(int, measurable);
        Layout l(maxLines);
        l.s.measurableChars = measurable;
        l.L.ParseText(text, 0.7, l.lineNo, 0.2, 0.5, l.overflow);
        QTEST(texts(l.s.calls), "printed");
        QTEST(text, "rest");
        QCOMPARE(l.overflow, !text.isEmpty());
        for (int i = 0; i < l.s.calls.size(); ++i) {
            const Call& c = l.s.calls[i];
            QVERIFY(c.lineNo == i && c.x == 0.7 && c.size == 10.0);
            QCOMPARE(c.y, 0.5 + i * 0.2);
        }
    }

    // CountLines takes its average width from "aeiou.", ParseText from "Aeiou.": the count is lower.
    void countLinesMeasuresLowerCase()
    {
        Layout l(58);
        QCOMPARE(l.L.CountLines(QStringLiteral("Label\r\n") + lines(20), 0.7), 1 + 19);
        QCOMPARE(l.L.CountLines(QString(), 0.7), 1);
    }

    void printLine_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<double>("scale");
        QTest::addColumn<bool>("centred");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("size");
        QTest::addColumn<double>("top");
        // "Title" measures 0.33 inches at size 10 on the recording surface.
        const int preview = int(Target::Preview), printer = int(Target::Printer);
        const std::tuple<const char*, int, double, bool, double, double, double> rows[] = {
            {"preview", preview, 1.0, false, 0.7, 10.0, 0.5},
            {"centred on the preview ignores x", preview, 1.0, true, (8.5 - 0.33) / 2, 10.0, 0.5},
            {"half scale halves the font", preview, 0.5, false, 0.7, 5.0, 0.5},
            {"printer", printer, 0.5, false, 0.45, 10.0, 0.25},
            {"centred on the printer's printable width", printer, 1.0, true, (8.0 - 0.33) / 2, 10.0, 0.25}};
        for (const auto& [name, target, scale, centred, x, size, top] : rows)
            QTest::newRow(name) << target << scale << centred << x << size << top;
    }
    void printLine()
    {
        QFETCH(int, target);
        QFETCH(double, scale);
        QFETCH(bool, centred);
        Layout l(2, Target(target), scale);
        l.L.PrintLine(QStringLiteral("Title"), l.L.Tab(0.7), l.L.TopY, 10, centred, false, l.lineNo, false, l.overflow);
        QCOMPARE(l.s.calls.size(), 1);
        QTEST(l.s.calls[0].x, "x");
        QTEST(l.s.calls[0].size, "size");
        QTEST(l.s.calls[0].y, "top");
        QVERIFY(l.lineNo == 1 && !l.overflow);
    }

    void stayOnLineAndMaxLines()
    {
        Layout l(1);
        l.L.PrintLine(QStringLiteral("Left"), 0.7, 0.5, 10, false, true, l.lineNo, true, l.overflow);
        QCOMPARE(l.lineNo, 0);
        l.L.PrintLine(QStringLiteral(" more"), -1, -1, 10, false, true, l.lineNo, false, l.overflow);
        l.L.PrintLine(QStringLiteral("Right"), 4.7, -1, 10, false, false, l.lineNo, false, l.overflow);
        QVERIFY(l.lineNo == 1 && !l.overflow);
        QCOMPARE(l.s.calls.size(), 3);
        QCOMPARE(l.s.calls[1].x, 0.7 + 0.09 + 3 * 0.06); // right after "Left"
        for (const Call& c : l.s.calls)
            QVERIFY(c.y == 0.5 && c.lineNo == 0);
        // The page has no second line: neither kind of text is printed there.
        for (const bool stay : {true, false}) {
            l.overflow = false;
            l.L.PrintLine(QStringLiteral("Below"), 0.7, -1, 10, false, stay, l.lineNo, false, l.overflow);
            QVERIFY(l.overflow);
        }
        QCOMPARE(l.s.calls.size(), 3);
    }

    void formatName()
    {
        const std::tuple<QStringList, bool, bool, QString> rows[] = {
            // rank, first, last, grade; with the title; without None
            {{"Cdr", "Amy", "Abel", "AP"}, false, false, "Cdr Amy Abel, AP"},
            {{"", "Amy", "Abel", ""}, true, false, "Commander:  Amy Abel"},
            {{"", "", "", ""}, false, false, "None"},
            {{"", "", "", ""}, true, true, "Commander:   "}};
        ReportModel m = catalogueModel();
        Officer& o = m.officer(2);
        for (const auto& [member, withTitle, noNone, expected] : rows) {
            std::tie(o.Rank, o.First, o.Last, o.Grade) = std::tie(member[0], member[1], member[2], member[3]);
            QCOMPARE(FormatName(m, 2, withTitle, noNone), expected);
        }
        QCOMPARE(FormatName(m, 101, false), QStringLiteral("None")); // beyond the list: an empty office
    }

    void pageTexts_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line"); // negative: not on the page
        QTest::addColumn<double>("x"); // negative: centred
        QTest::addColumn<bool>("bold");
        const std::tuple<int, const char*, int, double, bool> rows[] = {
            {1, "ANNUAL SQUADRON HISTORY REPORT FOR YEAR 2020", 0, -1, true},
            {1, "SQUADRON Alder Sound Squadron", 2, 0.7, true},
            {1, " SQUADRON No. 0143", 2, 0.7 + 0.09 * 11 + 0.06 * 18, false},
            {1, "DISTRICT D/27  DATE 09 01, 2019", 3, 0.7, true},
            {1, "PERIOD COVERED: CHANGE-OF-WATCH 09 01, 2019 TO CHANGE-OF-WATCH 08 31, 2020", 4, 0.7, false},
            {1, "IS SQUADRON INCORPORATED?  Yes.", 5, 0.7, false},
            {1, "Commander:  Cdr Amy Abel, AP", 8, 0.7, false},
            {1, "Executive Officer:  None", 8, 4.7, false},
            {1, "CH/ None", 15, 0.7, false},
            {1, "3 yr/ None", 21, 4.7, false},
            {2, "Lt Ann Dory, P", 2, 0.7, false},
            {2, "District Educational Officer", 2, 3.4, false},
            {2, "None", -1, 0, false}, // no None for an empty assignment list
            {2, "Publication Name: The Alder Log", 8, 0.7, true},
            {2, "Supply Officer:  None", 27, 4.7, false},
            {2, "Vessel Safety Check:  None", 28, 0.7, false},
            {3, "S,  5", 14, 0.7, false},
            {3, "N, -1", 14, 3.7, false},
            {3, "Total 11", 14, 5.6, false},
            {3, "KUR,  4", 18, 1.45, false},
            {3, "Total 15", 21, 5.6, false},
            {3, "Lt Ann Dory, P", 24, 0.7, false},
            {3, "Lt Cy Dory, P", 24, 0.7 + 2 * 2.33, false},
            {3, "Lt Di Dory, P", 25, 0.7, false},
            {3, "None", 27, 0.7, false},
            {3, "E. New Senior Members:  3", 32, 0.7, false},
            {3, "G. Active Members 42", 34, 0.7, false},
            {4, "SECTION VIII - AWARDS OR RECOGNITION MADE OR RECEIVED", 22, -1, true},
            {4, "SECTION IX - OTHER IMPORTANT INFORMATION", 38, -1, true},
            {4, "__________________________________________", 48, 0.7, false}};
        for (const auto& [page, text, line, x, bold] : rows)
            QTest::addRow("p%d %s", page, text) << page << QString::fromUtf8(text) << line << x << bold;
    }
    void pageTexts()
    {
        QFETCH(int, page);
        QFETCH(QString, text);
        QFETCH(int, line);
        QFETCH(double, x);
        ReportModel m = catalogueModel();
        m.Incorp = true;
        m.PubName = QStringLiteral("The Alder Log");
        Officer& cdr = m.officer(2);
        std::tie(cdr.Rank, cdr.First, cdr.Last, cdr.Grade) = std::tuple("Cdr", "Amy", "Abel", "AP");
        m.entry(1, 1) = member(QStringLiteral("Ann"), QStringLiteral("Dory"), 1);
        m.entry(1, 1).Office = QStringLiteral("District Educational Officer");
        int e = 0;
        for (const char* first : {"Ann", "Bo", "Cy", "Di"})
            m.entry(3, ++e) = member(QString::fromLatin1(first), QStringLiteral("Dory"), 3);
        m.AGCount = {5, 2, 3, 2, -1};
        m.BCCount = {0, 4, 0};
        std::tie(m.NoSenior, m.NoMM, m.NoActive) = std::tuple(3, 7, 42);

        Report r(m);
        const QList<Call> calls = r.page(page);
        const Call* c = find(calls, text);
        QVERIFY2(bool(c) == (line >= 0), qPrintable(texts(calls).join(" | ")));
        if (!c)
            return;
        QCOMPARE(c->lineNo, line);
        QTEST(c->bold, "bold");
        r.surface.setFont(QStringLiteral("Arial"), c->size, c->bold, false);
        QCOMPARE(c->x, x >= 0 ? x : (8.5 - *r.surface.textWidth(text)) / 2);
        QCOMPARE(c->y, 0.5 + line * 10.5 / (page == 3 ? 65 : page == 4 ? 63 : 60));
    }

    // Page 3 stops at its first line that does not fit; the footer still follows.
    void pageThreeStopsWhenFull()
    {
        ReportModel m = catalogueModel();
        for (int category = 3; category <= 6; ++category) {
            for (int e = 1; e <= 24; ++e)
                m.entry(category, e) = member(QStringLiteral("N%1").arg(e), QStringLiteral("Full"), category);
        }
        const QList<Call> calls = Report(m).page(3);
        QCOMPARE(find(calls, QStringLiteral("D: Names of members deceased during year"))->lineNo, 50);
        QCOMPARE(find(calls, QStringLiteral("E. New Senior Members:  0"))->lineNo, 59);
        QVERIFY(!find(calls, QStringLiteral("F. Merit Marks  0")));
        QCOMPARE(std::max_element(calls.begin(), calls.end(),
                                  [](const Call& a, const Call& b) { return a.lineNo < b.lineNo; })
                     ->lineNo,
                 59);
        QVERIFY(find(calls, QStringLiteral("Page 3 of 4 pages")));
    }

    // Page 4's items on further pages: a text that runs past the page continues after "Continued:"; an item that
    // starts at line 42 or below and does not fit moves whole; section IX moves when item 12 ends below line 41.
    void pageFourContinues_data()
    {
        QTest::addColumn<QList<int>>("activity"); // pairs of an ActivityText index and its number of lines
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("page"); // the page whose first texts are checked
        QTest::addColumn<QStringList>("starts");
        QTest::addColumn<QString>("moved"); // a text not on page 4
        QTest::addColumn<int>("onFour");    // lines of text on page 4
        const QString boating = QStringLiteral("B. Boating Activities:"), charting = "C. Cooperative Charting:";
        const QString cont = QStringLiteral("Continued:");
        const QStringList none{"SECTION VII - ACTIVITIES", "A. Meetings:", "None", boating};
        const std::tuple<const char*, QList<int>, int, int, QStringList, QString, int> rows[] = {
            {"empty texts print None", {}, 4, 4, none, {}, 0},
            {"long meetings text", {0, 70}, 6, 5, item(cont, 13, boating), {}, 56},
            {"item from line 42 moved whole", {0, 39, 1, 20}, 6, 5, item(boating, 19, charting), boating, 39},
            {"item from line 41 continued", {0, 38, 1, 20}, 5, 5, item(cont, 3, charting), {}, 38 + 16},
            {"section IX moved", {10, 6}, 5, 5, {kSectionNine, "None"}, kSectionNine, 6},
            {"section IX kept, the officer block moved", {10, 5}, 5, 5, {kOfficer}, {}, 5}};
        for (const auto& [name, activity, total, page, starts, moved, onFour] : rows)
            QTest::newRow(name) << activity << total << page << starts << moved << onFour;
    }
    void pageFourContinues()
    {
        QFETCH(QList<int>, activity);
        QFETCH(QStringList, starts);
        QFETCH(QString, moved);
        ReportModel m = catalogueModel();
        for (int i = 0; i < activity.size(); i += 2)
            m.ActivityText[size_t(activity[i])] = lines(activity[i + 1]);
        Report r(m);
        QTEST(r.total, "total");
        const QStringList four = texts(r.page(4));
        QFETCH(int, page);
        QCOMPARE(texts(r.page(page)).mid(0, starts.size()), starts);
        QVERIFY(moved.isEmpty() || !four.contains(moved));
        QCOMPARE(texts(r.page(4)), four); // drawn again, a page repeats the first pass's decisions
        QTEST(bodyLines(four), "onFour");
        // The submitting officer block starts at line 43 of the last page and ends with the directions in size 8.
        const QList<Call> last = r.page(r.total);
        QCOMPARE(find(last, kOfficer)->lineNo, 43);
        const Call* directions = find(last, QStringLiteral("This report, made with Rostrel, is intended for "
                                                           "submission via the Corvane web site."));
        QVERIFY(directions->lineNo == 53 && directions->size == 8.0);
        // Print All prints the same pages, each ending where the first pass ended it, at the printer's margins.
        RecordingSurface printer(true);
        r.pages.PrintAll(printer);
        QCOMPARE(r.layout.TargetCode, Target::Preview);
        QCOMPARE(printer.calls.last().page, r.total);
        QStringList printed;
        for (const Call& c : printer.calls) {
            if (c.page == 4)
                printed << c.text;
        }
        QTEST(bodyLines(printed), "onFour");
        const Call* cont = find(printer.calls, QStringLiteral("Continued:"));
        QCOMPARE(bool(cont), starts.first() == "Continued:");
        if (cont) {
            QCOMPARE(cont->page, 5);
            QCOMPARE(cont->x, 0.45);
            QCOMPARE(cont->y, 0.25);
        }
    }

    // A report that needs more than 20 pages ends at page 20 with a note on its last line.
    void twentyPagesAtMost()
    {
        ReportModel m = catalogueModel();
        m.ActivityText[0] = lines(1200);
        Report r(m);
        QCOMPARE(r.total, 20);
        const QList<Call> last = r.page(20);
        QCOMPARE(find(last, ReportPages::lastPageNote())->lineNo, 57);
        QCOMPARE(texts(last).last(), ReportPages::lastPageNote());
        QVERIFY(!find(r.page(19), ReportPages::lastPageNote()));
    }
};

QTEST_GUILESS_MAIN(TestPrintLayout)
#include "tst_printlayout.moc"
