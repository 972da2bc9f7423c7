#pragma once

#include "output/PrintLayout.h"

#include <QString>

struct ReportModel;

// The pages of the printed report, drawn from the report model through a PrintLayout: page 1 (title, squadron
// and elected officers), page 2 (assignments and appointed officers), page 3 (education and recognition) and
// page 4, which with every further page holds the activities and awards texts, section IX and the submitting
// officer. The first pass lays every page out once and records in the layout's tables where page 4 and its
// continuations break; every later drawing, on the preview or the printer, follows those tables.
class ReportPages
{
public:
    // The items of page 4 and its continuations; item 14 is the submitting officer block.
    static constexpr int kItems = 14;

    ReportPages(PrintLayout& layout, const ReportModel& model) : L(layout), m_model(model) {}

    void Page1();
    void Page2();
    void Page3();
    void Page4(int page);
    // The page operation of page n (Page4 for 4 and later), with PageNo set to n.
    void DrawPage(int page);

    // Lays out every page on `surface` as the preview does, recording SkipFlags, ContItem and ContText: pages 1 to
    // 4, then each further page that the one before continues, up to page 20. Sets TotalPages (returned) and
    // PageNo 1. The surface's drawings are of no further use.
    int FirstPass(PrintSurface& surface);

    // Draws the report on the printer surface as "Print All" prints it: pages 1 to 4, then each further page
    // up to TotalPages that continues the one before, with a new printer page between pages. The layout is
    // then left targeting the preview again.
    void PrintAll(PrintSurface& printer);
    // Draws page n on the printer surface.
    void PrintPage(PrintSurface& printer, int page);

    // The last line of page 20 when the report needs more pages than that.
    static QString lastPageNote() { return QStringLiteral("Text continues beyond the last printed page."); }

private:
    // Starts a page: SetTarget, its line height (PrintHeight / divisor) and MaxLines, line 0.
    void Begin(double divisor, int maxLines);
    // Prints a text on the current line at x inches from the paper's left edge (negative: where the line stands);
    // `ends` moves to the next line. False when the line did not fit.
    bool Text(const QString& text, double x, bool ends = true, bool bold = false, double size = 10);
    // A heading: bold and centred.
    bool Heading(const QString& text, double size = 10);
    // A pair on one line: the left text at x1 staying on the line, the right one at x2 ending it.
    bool Pair(const QString& left, double x1, const QString& right, double x2);
    bool Recognized(const QString& label, int category);
    bool Courses(const QString& label, const QStringList& codes, const qint32* counts, int n, qint64& total);
    // Page 4 from item `first` on; returns the last item begun (0 when the submitting officer block was
    // completed) and leaves in `rest` what the page handed back of it.
    int Items(int page, int first, QString& rest);
    bool SubmittingOfficer();
    QString ItemText(int item) const;

    PrintLayout& L;
    const ReportModel& m_model;
    double m_lineHeight = 0;
    int m_lineNo = 0;
    bool m_full = false;
};
