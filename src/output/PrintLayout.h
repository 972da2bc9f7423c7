#pragma once

#include "output/PrintSurface.h"

#include <QString>

#include <array>

struct ReportModel;

// The drawing primitives of the printed report: the target and its inch coordinates, the line grid of a page,
// one printed line, word wrap with hand-back of what did not fit, the decision to move an item whole to the
// next page, and the footer. The page operations (ReportPages) draw only through these, on the printer and on
// the preview alike.
class PrintLayout
{
public:
    enum class Target { Printer, Preview }; // "P", "S"

    // The continuation tables hold pages 0 to 20 and items 0 to 20.
    static constexpr int kLastPage = 20;
    static constexpr int kTableSize = kLastPage + 1;

    // Draws on `surface` from the next SetTarget on; the surface must outlive its use.
    void Use(PrintSurface& surface, Target target);
    PrintSurface* surface() const { return m_surface; }

    // Prepares the target for a page: a blank picture on the preview; both targets then read the printer's
    // margins (GetPrinterMargins). Every page operation begins with it.
    void SetTarget();
    // The printer's margins, printable area and TopY, from the surface.
    void GetPrinterMargins();

    // A position x inches from the paper's left edge, in the target's coordinates.
    double Tab(double x) const { return TargetCode == Target::Printer ? x - LeftMargin : x; }

    // Prints one line. The size is scaled by PreviewScale on the preview. A negative y keeps the current vertical
    // position, a negative x the current horizontal one; a centred text ignores x. With stayOnLine the text is
    // printed and the next text continues the line; the line counter stays. Otherwise lineNo is counted first and
    // a line beyond MaxLines is not printed but reported in `overflow` (left alone when the line fits). No text
    // is printed on a line beyond MaxLines.
    void PrintLine(const QString& text, double x, double y, double size, bool centred, bool stayOnLine, int& lineNo,
                   bool bold, bool& overflow);

    // Prints a text at x = indent, size 10, regular, one line per paragraph (paragraphs end at CR LF) or more
    // where a paragraph is wider than the line, at y = top + lineNo × lineHeight. At most 100 paragraphs are
    // printed; `text` is then emptied. When a line does not fit, `overflow` becomes true and `text` holds what
    // was not printed: the rest of that paragraph, from the line that did not fit, and every later paragraph.
    void ParseText(QString& text, double indent, int& lineNo, double lineHeight, double top, bool& overflow);
    // The number of lines ParseText would print for the text, with the average character width taken from
    // "aeiou." where ParseText takes it from "Aeiou.".
    int CountLines(const QString& text, double indent);

    // Decides in the first pass whether an item that starts at line 42 or later fits on the rest of the page;
    // one that does not is marked in SkipFlags and moved whole to the next page (its text emptied, `skip` true).
    // Later drawings repeat the decision from SkipFlags.
    void SetSkip(QString& text, double indent, int maxLines, int lineNo, int page, int item, bool& skip);

    // The footer line: the form's name at x, "Page n of m pages" and the submission date as stored.
    void PrintFooter(double x, const QString& subDate);

    // Empties the continuation tables for a new first pass.
    void ClearContinuations();

    Target TargetCode = Target::Preview;
    double PreviewScale = 1;
    double LeftMargin = 0;
    double RightMargin = 0;
    double TopMargin = 0;
    double BottomMargin = 0;
    double PrintWidth = 8.5;
    double PrintHeight = 11;
    double TopY = 0.5;
    int MaxLines = 0;
    bool FirstPass = false;
    std::array<std::array<bool, kTableSize>, kTableSize> SkipFlags{}; // [page][item]
    std::array<int, kTableSize> ContItem{};
    std::array<QString, kTableSize> ContText;
    int PageNo = 0;
    int TotalPages = 0;

private:
    // Lays a text out as ParseText does with the average width of `sample`; `line` receives every line and
    // returns false when it did not fit, which ends the layout with the unprinted rest in `text`.
    template <typename LineSink> bool Wrap(QString& text, double indent, const QString& sample, LineSink&& line);
    void SetBodyFont();

    PrintSurface* m_surface = nullptr;
    double m_x = 0;
    double m_y = 0;
};

// The text of officer row `row` (1-based): its title and ":  " when asked for and the title is not empty, then
// rank, first and last name and ", " grade. An office nobody holds gives its title part followed by "None"
// (without a title: "None"), unless noNone is set. A row beyond the officer list is an empty office.
QString FormatName(const ReportModel& model, int row, bool withTitle, bool noNone = false);
