#pragma once

#include <QString>

#include <optional>

// The printer's page in inches, as its device capabilities give it: the paper, the printable area inside it and
// the unprintable margins around that area, and the resolution its text is measured at.
struct PageMetrics
{
    double paperWidth = 8.5;
    double paperHeight = 11;
    double leftMargin = 0;
    double topMargin = 0;
    double rightMargin = 0;
    double bottomMargin = 0;
    double printWidth = 8.5;
    double printHeight = 11;
    int resolution = 0; // device units per inch

    bool operator==(const PageMetrics&) const = default;
};

// What the report's lines are drawn on: the printer, the preview's page picture, or a recorder for tests. All
// coordinates and widths are inches. On the printer the origin is the printable area's top left corner, on the
// preview the paper's.
//
// A surface measures text as it comes out on the printer's paper, whatever it draws on, so that the page layout
// (where lines break, which item moves to the next page) is the same on the printer and on the preview.
class PrintSurface
{
public:
    virtual ~PrintSurface() = default;

    // The printer's page, also while drawing on the preview.
    virtual PageMetrics printerMetrics() const = 0;
    // The width of the drawing area: the printable width on the printer, the paper's width on the preview.
    virtual double targetWidth() const = 0;

    // The font of the following texts; the size is in points as drawn (on the preview already scaled).
    virtual void setFont(const QString& family, double size, bool bold, bool underline) = 0;
    // The width of a text in the current font; none when the text is longer than the measuring can take.
    virtual std::optional<double> textWidth(const QString& text) = 0;
    // The height of a line of text in the current font.
    virtual double textHeight(const QString& text) = 0;

    // Draws a text with the top of its line at y. `lineNo` is the page line it stands on (-1 for the footer);
    // only a recorder keeps it.
    virtual void drawText(double x, double y, const QString& text, int lineNo) = 0;

    // A blank page picture on the preview; nothing on the printer.
    virtual void clear() = 0;
    // Ends the printer page and starts the next; nothing on the preview.
    virtual void newPage() = 0;
};

// The longest text the printer and the preview measure, in characters (the limit of the printer's text extent).
inline constexpr int kMeasurableChars = 32767;
