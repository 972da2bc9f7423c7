// The print layout and the report pages, drawn on a surface that records every text: word wrap and hand-back,
// the line grid, officer names, the texts of pages 1 to 3, and how page 4 continues onto further pages.

#include "output/PrintLayout.h"
#include "output/RecordingSurface.h"
#include "output/ReportPages.h"
#include "store/OfficeCatalogue.h"
#include "store/ReportModel.h"

#include <QTest>

namespace {

using Call = RecordingSurface::Call;
using Target = PrintLayout::Target;

const QString CRLF = QStringLiteral("\r\n");

// A paragraph that ParseText prints as exactly n lines of the recording surface: 21 words of 5 characters fill a
// line of 108 characters, each line but the last keeping its blank. CountLines, with its narrower average, makes
// fewer lines of it.
QString lines(int n)
{
    return QStringLiteral("abcd ").repeated(21 * n).trimmed();
}
const QString kLine = QStringLiteral("abcd ").repeated(21);

// How many lines of such paragraphs a page holds.
int bodyLines(const QStringList& texts)
{
    return int(std::count_if(texts.begin(), texts.end(), [](const QString& t) { return t.startsWith("abcd"); }));
}

ReportModel catalogueModel()
{
    ReportModel m;
    int order = 0;
    for (const CatalogueLine& line : OfficeCatalogue()) {
        Officer o;
        o.Title = QString::fromLatin1(line.title);
        o.Code = QString::fromLatin1(line.code);
        o.Order = ++order;
        o.Heading = IsHeadingCode(o.Code);
        m.Officers.append(o);
    }
    m.SquadronName = QStringLiteral("Alder Sound Squadron");
    m.SquadronNoText = QStringLiteral("0143");
    m.DistrictNo = 27;
    m.SubDate = QStringLiteral("Sep 1, 2019");
    m.FromDate = QStringLiteral("Sep 1, 2019");
    m.ToDate = QStringLiteral("Aug 31, 2020");
    m.ReportYear = QStringLiteral("2020");
    return m;
}

void setMember(RecognizedEntry& e, const QString& first, const QString& last, int category)
{
    e.First = first;
    e.Last = last;
    e.Rank = QStringLiteral("Lt");
    e.Grade = QStringLiteral("P");
    e.Category = category;
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
    for (const Call& c : calls) {
        if (c.text == text)
            return &c;
    }
    return nullptr;
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
        QTest::addColumn<bool>("overflow");
        QTest::addColumn<QString>("rest");

        const QString words = QStringLiteral("abcd ").repeated(40); // 200 characters, a blank at the end
        const QString first = kLine;
        QStringList hundred;
        for (int i = 1; i <= 101; ++i)
            hundred << QStringLiteral("p%1").arg(i);

        QTest::newRow("a fitting paragraph is printed whole")
            << QStringLiteral("  Harbour day.  ") << 58 << kMeasurableChars << QStringList{"  Harbour day.  "} << false
            << QString();
        QTest::newRow("an empty text prints one empty line")
            << QString() << 58 << kMeasurableChars << QStringList{""} << false << QString();
        QTest::newRow("a line break at the end prints an empty last line")
            << QStringLiteral("One\r\nTwo\r\n") << 58 << kMeasurableChars << QStringList{"One", "Two", ""} << false
            << QString();
        QTest::newRow("101 paragraphs print 100")
            << hundred.join(CRLF) << 200 << kMeasurableChars << hundred.mid(0, 100) << false << QString();
        QTest::newRow("a wide paragraph breaks after the last blank within the line")
            << words << 58 << kMeasurableChars << QStringList{first, QStringLiteral("abcd ").repeated(19).trimmed()}
            << false << QString();
        QTest::newRow("a word longer than the line is broken at the line's length")
            << QString(250, 'x') << 58 << kMeasurableChars
            << QStringList{QString(108, 'x'), QString(108, 'x'), QString(34, 'x')} << false << QString();
        QTest::newRow("overflow hands back the paragraph from the line that did not fit and all after it")
            << "Intro\r\n" + lines(3) + "\r\n\r\nLast" << 2 << kMeasurableChars << QStringList{"Intro", first} << true
            << lines(2) + "\r\n\r\nLast";
        QTest::newRow("overflow on a paragraph that fits hands it back whole")
            << QStringLiteral("One\r\nTwo\r\nThree") << 1 << kMeasurableChars << QStringList{"One"} << true
            << QStringLiteral("Two\r\nThree");
        QTest::newRow("a paragraph too long to measure is printed as its halves")
            << QStringLiteral("one two three four five six seven") << 58 << 20
            << QStringList{"one two three four", "five six seven"} << false << QString();
        QTest::newRow("an unmeasurable paragraph cut by overflow is handed back in one piece")
            << QStringLiteral("x\r\none two three four five six seven\r\nend") << 1 << 20 << QStringList{"x"} << true
            << QStringLiteral("one two three four five six seven\r\nend");
    }

    void parseText()
    {
        QFETCH(QString, text);
        QFETCH(int, maxLines);
        QFETCH(int, measurable);
        RecordingSurface s;
        s.measurableChars = measurable;
        PrintLayout L;
        L.Use(s, Target::Preview);
        L.SetTarget();
        L.MaxLines = maxLines;
        int lineNo = 0;
        bool full = false;
        L.ParseText(text, 0.7, lineNo, 0.2, 0.5, full);

        QFETCH(QStringList, printed);
        QFETCH(bool, overflow);
        QFETCH(QString, rest);
        QCOMPARE(texts(s.calls), printed);
        QCOMPARE(full, overflow);
        QCOMPARE(text, rest);
        for (int i = 0; i < s.calls.size(); ++i) {
            QCOMPARE(s.calls[i].lineNo, i);
            QCOMPARE(s.calls[i].y, 0.5 + i * 0.2);
            QCOMPARE(s.calls[i].x, 0.7);
            QCOMPARE(s.calls[i].size, 10.0);
        }
    }

    // CountLines takes its average width from "aeiou.", ParseText from "Aeiou.": the count is lower.
    void countLinesMeasuresLowerCase()
    {
        RecordingSurface s;
        PrintLayout L;
        L.Use(s, Target::Preview);
        L.SetTarget();
        QCOMPARE(L.CountLines(QStringLiteral("Label\r\n") + lines(20), 0.7), 1 + 19);
        QCOMPARE(L.CountLines(QString(), 0.7), 1);
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
        QTest::newRow("preview") << int(Target::Preview) << 1.0 << false << 0.7 << 10.0 << 0.5;
        QTest::newRow("centred on the preview ignores x")
            << int(Target::Preview) << 1.0 << true << (8.5 - 0.33) / 2 << 10.0 << 0.5;
        QTest::newRow("half scale halves the font") << int(Target::Preview) << 0.5 << false << 0.7 << 5.0 << 0.5;
        QTest::newRow("printer") << int(Target::Printer) << 0.5 << false << 0.45 << 10.0 << 0.25;
        QTest::newRow("centred on the printer's printable width")
            << int(Target::Printer) << 1.0 << true << (8.0 - 0.33) / 2 << 10.0 << 0.25;
    }

    void printLine()
    {
        QFETCH(int, target);
        QFETCH(bool, centred);
        QFETCH(double, scale);
        QFETCH(double, x);
        QFETCH(double, size);
        QFETCH(double, top);
        RecordingSurface s(target == int(Target::Printer));
        s.scale = scale;
        PrintLayout L;
        L.Use(s, Target(target));
        L.PreviewScale = s.scale;
        L.SetTarget();
        L.MaxLines = 2;
        int lineNo = 0;
        bool overflow = false;
        L.PrintLine(QStringLiteral("Title"), L.Tab(0.7), L.TopY, 10, centred, false, lineNo, false, overflow);
        QCOMPARE(s.calls.size(), 1);
        QCOMPARE(s.calls[0].x, x);
        QCOMPARE(s.calls[0].size, size);
        QCOMPARE(s.calls[0].y, top);
        QCOMPARE(lineNo, 1);
        QVERIFY(!overflow);
    }

    void stayOnLineAndMaxLines()
    {
        RecordingSurface s;
        PrintLayout L;
        L.Use(s, Target::Preview);
        L.SetTarget();
        L.MaxLines = 1;
        int lineNo = 0;
        bool overflow = false;
        L.PrintLine(QStringLiteral("Left"), 0.7, 0.5, 10, false, true, lineNo, true, overflow);
        QCOMPARE(lineNo, 0);
        L.PrintLine(QStringLiteral(" more"), -1, -1, 10, false, true, lineNo, false, overflow);
        L.PrintLine(QStringLiteral("Right"), 4.7, -1, 10, false, false, lineNo, false, overflow);
        QCOMPARE(lineNo, 1);
        QVERIFY(!overflow);
        QCOMPARE(s.calls.size(), 3);
        QCOMPARE(s.calls[1].x, 0.7 + 0.09 + 3 * 0.06); // right after "Left"
        for (const Call& c : s.calls) {
            QCOMPARE(c.y, 0.5);
            QCOMPARE(c.lineNo, 0);
        }
        // The page has no second line: neither kind of text is printed there.
        L.PrintLine(QStringLiteral("Below"), 0.7, -1, 10, false, true, lineNo, false, overflow);
        QVERIFY(overflow);
        overflow = false;
        L.PrintLine(QStringLiteral("Below"), 0.7, -1, 10, false, false, lineNo, false, overflow);
        QVERIFY(overflow);
        QCOMPARE(s.calls.size(), 3);
    }

    void formatName_data()
    {
        QTest::addColumn<QStringList>("member"); // rank, first, last, grade
        QTest::addColumn<bool>("withTitle");
        QTest::addColumn<bool>("noNone");
        QTest::addColumn<QString>("expected");
        const QStringList amy{"Cdr", "Amy", "Abel", "AP"};
        QTest::newRow("title and member") << amy << true << false << "Commander:  Cdr Amy Abel, AP";
        QTest::newRow("without title") << amy << false << false << "Cdr Amy Abel, AP";
        QTest::newRow("no rank, no grade")
            << QStringList{"", "Amy", "Abel", ""} << true << false << "Commander:  Amy Abel";
        QTest::newRow("nobody, with title") << QStringList{"", "", "", ""} << true << false << "Commander:  None";
        QTest::newRow("nobody, without title") << QStringList{"", "", "", ""} << false << false << "None";
        QTest::newRow("nobody, no None") << QStringList{"", "", "", ""} << true << true << "Commander:   ";
    }

    void formatName()
    {
        QFETCH(QStringList, member);
        QFETCH(bool, withTitle);
        QFETCH(bool, noNone);
        QFETCH(QString, expected);
        ReportModel m = catalogueModel();
        Officer& o = m.officer(2);
        o.Rank = member[0];
        o.First = member[1];
        o.Last = member[2];
        o.Grade = member[3];
        QCOMPARE(FormatName(m, 2, withTitle, noNone), expected);
        QCOMPARE(FormatName(m, 101, false), QStringLiteral("None")); // beyond the list: an empty office
    }

    void pageTexts_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<double>("x");
        QTest::addColumn<bool>("bold");

        auto row = [](int page, const char* text, int line, double x, bool bold = false) {
            QTest::addRow("p%d %s", page, text) << page << QString::fromUtf8(text) << line << x << bold;
        };
        const double centre = -1;
        row(1, "ANNUAL SQUADRON HISTORY REPORT FOR YEAR 2020", 0, centre, true);
        row(1, "SQUADRON Alder Sound Squadron", 2, 0.7, true);
        row(1, " SQUADRON No. 0143", 2, 0.7 + 0.09 * 11 + 0.06 * 18);
        row(1, "DISTRICT D/27  DATE 09 01, 2019", 3, 0.7, true);
        row(1, "PERIOD COVERED: CHANGE-OF-WATCH 09 01, 2019 TO CHANGE-OF-WATCH 08 31, 2020", 4, 0.7);
        row(1, "IS SQUADRON INCORPORATED?  Yes.", 5, 0.7);
        row(1, "SECTION I - ELECTED OFFICERS", 6, centre, true);
        row(1, "Commander:  Cdr Amy Abel, AP", 8, 0.7);
        row(1, "Executive Officer:  None", 8, 4.7);
        row(1, "Asst. Admin. Off.:  None", 9, 4.7);
        row(1, "RULES COMMITTEE:", 14, 0.7, true);
        row(1, "AUDITING COMMITTEE:", 14, 4.7, true);
        row(1, "CH/ None", 15, 0.7);
        row(1, "Ch/ None", 15, 4.7);
        row(1, "EXECUTIVE COMMITTEE: Includes bridge officers", 18, 0.7, true);
        row(1, "3 yr/ None", 21, 4.7);
        row(2, "SECTION II - MEMBERS WITH DISTRICT OR NATIONAL ASSIGNMENTS", 0, centre, true);
        row(2, "Lt Ann Dory, P", 2, 0.7);
        row(2, "District Educational Officer", 2, 3.4);
        row(2, "B. NATIONAL", 4, 0.7);
        row(2, "None", -2, 0.7); // no None for an empty assignment list
        row(2, "SECTION III - APPOINTED OFFICERS", 6, centre, true);
        row(2, "Publications Editor:  None", 7, 0.7);
        row(2, "Publication Name: The Alder Log", 8, 0.7, true);
        row(2, "Chaplain:  None", 9, 0.7);
        row(2, "Historian:  None", 9, 4.7);
        row(2, "Supply Officer:  None", 27, 4.7);
        row(2, "Vessel Safety Check:  None", 28, 0.7);
        row(3, "Ch/Public Boating:  None", 1, 0.7);
        row(3, "Advanced Piloting:  None", 3, 4.7);
        row(3, "Teaching Aides:  None", 11, 0.7);
        row(3, "S,  5", 14, 0.7);
        row(3, "N, -1", 14, 3.7);
        row(3, "Total 11", 14, 5.6);
        row(3, "KUR,  4", 18, 1.45);
        row(3, "Completions for All Classes and Programs:", 21, 0.7);
        row(3, "Total 15", 21, 5.6);
        row(3, "A. Names of new 25 Year Members:", 23, 0.7);
        row(3, "Lt Ann Dory, P", 24, 0.7);
        row(3, "Lt Bo Dory, P", 24, 0.7 + 2.33);
        row(3, "Lt Cy Dory, P", 24, 0.7 + 2 * 2.33);
        row(3, "Lt Di Dory, P", 25, 0.7);
        row(3, "B: Names of new Life Members", 26, 0.7);
        row(3, "None", 27, 0.7);
        row(3, "E. New Senior Members:  3", 32, 0.7);
        row(3, "F. Merit Marks  7", 33, 0.7);
        row(3, "G. Active Members 42", 34, 0.7);
    }

    void pageTexts()
    {
        QFETCH(int, page);
        QFETCH(QString, text);
        QFETCH(int, line);
        QFETCH(double, x);
        QFETCH(bool, bold);
        ReportModel m = catalogueModel();
        m.Incorp = true;
        m.PubName = QStringLiteral("The Alder Log");
        Officer& cdr = m.officer(2);
        cdr.Rank = QStringLiteral("Cdr");
        cdr.First = QStringLiteral("Amy");
        cdr.Last = QStringLiteral("Abel");
        cdr.Grade = QStringLiteral("AP");
        setMember(m.entry(1, 1), QStringLiteral("Ann"), QStringLiteral("Dory"), 1);
        m.entry(1, 1).Office = QStringLiteral("District Educational Officer");
        const char* first[] = {"Ann", "Bo", "Cy", "Di"};
        for (int i = 0; i < 4; ++i)
            setMember(m.entry(3, i + 1), QString::fromLatin1(first[i]), QStringLiteral("Dory"), 3);
        m.AGCount = {5, 2, 3, 2, -1};
        m.BCCount = {0, 4, 0};
        m.NoSenior = 3;
        m.NoMM = 7;
        m.NoActive = 42;

        Report r(m);
        const QList<Call> calls = r.page(page);
        const Call* c = find(calls, text);
        if (line < 0) {
            QVERIFY(!c);
            return;
        }
        QVERIFY2(c, qPrintable(texts(calls).join(" | ")));
        QCOMPARE(c->lineNo, line);
        QCOMPARE(c->bold, bold);
        if (x >= 0)
            QCOMPARE(c->x, x);
        else {
            r.surface.setFont(QStringLiteral("Arial"), c->size, c->bold, false);
            QCOMPARE(c->x, (8.5 - *r.surface.textWidth(text)) / 2);
        }
        const double lineHeight = 10.5 / (page == 3 ? 65 : 60);
        QCOMPARE(c->y, 0.5 + line * lineHeight);
    }

    // Page 3 stops at its first line that does not fit; the footer still follows.
    void pageThreeStopsWhenFull()
    {
        ReportModel m = catalogueModel();
        for (int category = 3; category <= 6; ++category) {
            for (int e = 1; e <= 24; ++e)
                setMember(m.entry(category, e), QStringLiteral("N%1").arg(e), QStringLiteral("Full"), category);
        }
        Report r(m);
        const QList<Call> calls = r.page(3);
        QCOMPARE(find(calls, QStringLiteral("D: Names of members deceased during year"))->lineNo, 50);
        QCOMPARE(find(calls, QStringLiteral("E. New Senior Members:  0"))->lineNo, 59);
        QVERIFY(!find(calls, QStringLiteral("F. Merit Marks  0")));
        QVERIFY(!find(calls, QStringLiteral("G. Active Members 0")));
        int last = 0;
        for (const Call& c : calls)
            last = std::max(last, c.lineNo);
        QCOMPARE(last, 59);
        QVERIFY(find(calls, QStringLiteral("Page 3 of 4 pages")));
    }

    void emptyReportFitsFourPages()
    {
        Report r(catalogueModel());
        QCOMPARE(r.total, 4);
        const QList<Call> calls = r.page(4);
        const QStringList t = texts(calls);
        QCOMPARE(t.mid(0, 4),
                 (QStringList{"SECTION VII - ACTIVITIES", "A. Meetings:", "None", "B. Boating Activities:"}));
        QCOMPARE(find(calls, QStringLiteral("SECTION VIII - AWARDS OR RECOGNITION MADE OR RECEIVED"))->lineNo, 22);
        QCOMPARE(find(calls, QStringLiteral("A. SQUADRON: "))->lineNo, 23);
        QCOMPARE(find(calls, QStringLiteral("SECTION IX - OTHER IMPORTANT INFORMATION"))->lineNo, 38);
        // The submitting officer block starts at line 43 and ends with the directions in size 8.
        QCOMPARE(find(calls, QStringLiteral("Submitting Officer:   "))->lineNo, 43);
        QCOMPARE(find(calls, QString(42, '_'))->lineNo, 48);
        const Call* directions = find(calls, QStringLiteral("This report, made with Rostrel, is intended for "
                                                            "submission via the Corvane web site."));
        QCOMPARE(directions->lineNo, 53);
        QCOMPARE(directions->size, 8.0);
        QCOMPARE(r.layout.ContItem[5], 0);
    }

    // Item 1's label stands on line 1 and its lines from 2 to 57.
    void longTextContinues()
    {
        ReportModel m = catalogueModel();
        m.ActivityText[0] = lines(70);
        Report r(m);
        QCOMPARE(r.total, 6); // page 5 has no room left for the submitting officer
        QCOMPARE(r.layout.ContItem[5], 1);
        QCOMPARE(bodyLines(texts(r.page(4))), 56);
        const QStringList five = texts(r.page(5));
        const QStringList expected =
            QStringList{"Continued:"} + QStringList(13, kLine) + QStringList{lines(1), "B. Boating Activities:"};
        QCOMPARE(five.mid(0, 16), expected);
    }

    // Item 1 ends on line 43; item 2 would start on line 45 and needs 20 lines.
    void itemMovedWhole()
    {
        ReportModel m = catalogueModel();
        m.ActivityText[0] = lines(42);
        m.ActivityText[1] = lines(20);
        Report r(m);
        QCOMPARE(r.layout.ContItem[5], 1);
        QVERIFY(r.layout.ContText[5].isEmpty());
        QVERIFY(r.layout.SkipFlags[4][2]);
        const QStringList four = texts(r.page(4));
        QVERIFY(!four.contains("B. Boating Activities:"));
        const QStringList five = texts(r.page(5));
        QCOMPARE(five.mid(0, 2), (QStringList{"B. Boating Activities:", kLine}));
        QCOMPARE(bodyLines(five), 20);
        // Drawn again, the page repeats the first pass's decision.
        QCOMPARE(texts(r.page(4)), four);
    }

    // Item 12 ends on line 43, below line 41: section IX starts the next page.
    void sectionNineMoved()
    {
        ReportModel m = catalogueModel();
        m.ActivityText[10] = lines(7);
        Report r(m);
        QCOMPARE(r.total, 5);
        QCOMPARE(r.layout.ContItem[5], 12);
        const QString heading = QStringLiteral("SECTION IX - OTHER IMPORTANT INFORMATION");
        QVERIFY(!texts(r.page(4)).contains(heading));
        const QList<Call> five = r.page(5);
        QCOMPARE(texts(five).mid(0, 2), (QStringList{heading, "None"}));
        QCOMPARE(find(five, QStringLiteral("Submitting Officer:   "))->lineNo, 43);
    }

    // Drawn again after the first pass, on the preview or the printer, a page ends where the first pass ended
    // it; Print All prints the continuation pages.
    void printAllFollowsTheFirstPass()
    {
        ReportModel m = catalogueModel();
        m.ActivityText[0] = lines(58);
        Report r(m);
        QCOMPARE(r.total, 5);
        RecordingSurface printer(true);
        r.pages.PrintAll(printer);
        QCOMPARE(printer.calls.last().page, 5);
        QCOMPARE(r.layout.TargetCode, Target::Preview);
        const Call* cont = find(printer.calls, QStringLiteral("Continued:"));
        QCOMPARE(cont->page, 5);
        QCOMPARE(cont->x, 0.45);
        QCOMPARE(cont->y, 0.25);
        QCOMPARE(find(printer.calls, QStringLiteral("Submitting Officer:   "))->page, 5);
        QCOMPARE(find(printer.calls, QStringLiteral("Page 5 of 5 pages"))->page, 5);
        QStringList four;
        for (const Call& c : printer.calls) {
            if (c.page == 4)
                four << c.text;
        }
        QCOMPARE(bodyLines(four), 56);
    }

    // A report that needs more than 20 pages ends at page 20 with a note on its last line.
    void twentyPagesAtMost()
    {
        ReportModel m = catalogueModel();
        m.ActivityText[0] = lines(1200);
        Report r(m);
        QCOMPARE(r.total, 20);
        const QList<Call> last = r.page(20);
        const Call* note = find(last, ReportPages::lastPageNote());
        QVERIFY(note);
        QCOMPARE(note->lineNo, 57);
        QCOMPARE(texts(last).last(), ReportPages::lastPageNote());
        QVERIFY(!find(r.page(19), ReportPages::lastPageNote()));
    }
};

QTEST_GUILESS_MAIN(TestPrintLayout)
#include "tst_printlayout.moc"
