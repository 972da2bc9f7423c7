#pragma once

#include "output/PrintSurface.h"

#include <QFont>
#include <QFontMetricsF>

#include <map>
#include <memory>
#include <tuple>

class QImage;
class QPaintDevice;
class QPainter;
class QPrinter;

// The printer's page from its page layout: paper, printable area, the margins around it and the resolution.
PageMetrics PrinterPageMetrics(const QPrinter& printer);

// The printer the report goes to: the default printer at its full resolution; on a machine without any printer,
// the PDF output on Letter paper with its own margins.
std::unique_ptr<QPrinter> MakeReportPrinter();

// What the printer and the preview surfaces share: text is measured with QFontMetricsF on the printer, at its
// resolution and at the size the text has on paper, so that both lay lines out alike.
class PainterSurface : public PrintSurface
{
public:
    PageMetrics printerMetrics() const override { return m_metrics; }
    void setFont(const QString& family, double size, bool bold, bool underline) override;
    std::optional<double> textWidth(const QString& text) override;
    double textHeight(const QString& text) override;

protected:
    // `printer` is measured on; font sizes given are divided by fontScale to get the size on paper.
    PainterSurface(QPaintDevice& printer, const PageMetrics& metrics, double fontScale);

    struct Font
    {
        QFont font;
        QFontMetricsF metrics;
    };
    const Font& font() const { return *m_font; }
    // Device units of the measuring printer per inch.
    double dpiX() const { return m_dpiX; }
    double dpiY() const { return m_dpiY; }
    const PageMetrics m_metrics;

private:
    QPaintDevice& m_printer;
    double m_fontScale;
    double m_dpiX;
    double m_dpiY;
    std::map<std::tuple<QString, int, bool, bool>, Font> m_fonts;
    const Font* m_font = nullptr;
};

// The printer: a QPainter on a QPrinter, its origin at the printable area's top left corner.
class PrinterSurface : public PainterSurface
{
public:
    // `painter` is active on `printer`.
    PrinterSurface(QPrinter& printer, QPainter& painter);
    double targetWidth() const override { return m_metrics.printWidth; }
    void drawText(double x, double y, const QString& text, int lineNo) override;
    void clear() override {}
    void newPage() override;

private:
    QPrinter& m_printer;
    QPainter& m_painter;
};

// The preview's page picture: a QPainter on an image that shows the whole paper, texts drawn at the preview's
// scale. Without an image it only measures (the first pass).
class PreviewSurface : public PainterSurface
{
public:
    PreviewSurface(QImage* image, QPaintDevice& printer, const PageMetrics& metrics, double scale);
    ~PreviewSurface() override;
    double targetWidth() const override { return m_metrics.paperWidth; }
    void drawText(double x, double y, const QString& text, int lineNo) override;
    void clear() override;
    void newPage() override {}

private:
    QImage* m_image;
    std::unique_ptr<QPainter> m_painter;
};
