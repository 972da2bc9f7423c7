#include "editor/PainterSurface.h"

#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cmath>

PageMetrics PrinterPageMetrics(const QPrinter& printer)
{
    const QRectF paper = printer.paperRect(QPrinter::Inch);
    const QRectF page = printer.pageRect(QPrinter::Inch);
    PageMetrics m;
    m.paperWidth = paper.width();
    m.paperHeight = paper.height();
    m.leftMargin = page.left() - paper.left();
    m.topMargin = page.top() - paper.top();
    m.printWidth = page.width();
    m.printHeight = page.height();
    m.rightMargin = m.paperWidth - m.printWidth - m.leftMargin;
    m.bottomMargin = m.paperHeight - m.printHeight - m.topMargin;
    m.resolution = printer.resolution();
    return m;
}

std::unique_ptr<QPrinter> MakeReportPrinter()
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (QPrinterInfo::availablePrinterNames().isEmpty() || printer->outputFormat() == QPrinter::PdfFormat) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setPageSize(QPageSize(QPageSize::Letter));
    }
    return printer;
}

PainterSurface::PainterSurface(QPaintDevice& printer, const PageMetrics& metrics, double fontScale)
    : m_metrics(metrics), m_printer(printer), m_fontScale(fontScale > 0 ? fontScale : 1), m_dpiX(printer.logicalDpiX()),
      m_dpiY(printer.logicalDpiY())
{
}

void PainterSurface::setFont(const QString& family, double size, bool bold, bool underline)
{
    // The size on paper, to a thousandth of a point, so that a size scaled for the preview and scaled back
    // measures exactly as on the printer.
    const int milli = int(std::lround(size / m_fontScale * 1000));
    const auto key = std::make_tuple(family, milli, bold, underline);
    auto it = m_fonts.find(key);
    if (it == m_fonts.end()) {
        QFont f(family);
        f.setPointSizeF(milli / 1000.0);
        f.setBold(bold);
        f.setUnderline(underline);
        f.setHintingPreference(QFont::PreferNoHinting);
        it = m_fonts.emplace(key, Font{f, QFontMetricsF(f, &m_printer)}).first;
    }
    m_font = &it->second;
}

std::optional<double> PainterSurface::textWidth(const QString& text)
{
    if (text.size() > kMeasurableChars)
        return std::nullopt;
    return m_font->metrics.horizontalAdvance(text) / m_dpiX;
}

double PainterSurface::textHeight(const QString&)
{
    return m_font->metrics.height() / m_dpiY;
}

PrinterSurface::PrinterSurface(QPrinter& printer, QPainter& painter)
    : PainterSurface(printer, PrinterPageMetrics(printer), 1), m_printer(printer), m_painter(painter)
{
}

void PrinterSurface::drawText(double x, double y, const QString& text, int)
{
    m_painter.setFont(font().font);
    m_painter.drawText(QPointF(x * dpiX(), y * dpiY() + font().metrics.ascent()), text);
}

void PrinterSurface::newPage()
{
    m_printer.newPage();
}

PreviewSurface::PreviewSurface(QImage* image, QPaintDevice& printer, const PageMetrics& metrics, double scale)
    : PainterSurface(printer, metrics, scale), m_image(image)
{
    if (!m_image || m_image->isNull())
        return;
    // The picture's fonts resolve at the printer's resolution and are scaled down with everything else.
    m_image->setDotsPerMeterX(int(std::lround(dpiX() / 0.0254)));
    m_image->setDotsPerMeterY(int(std::lround(dpiY() / 0.0254)));
    m_painter = std::make_unique<QPainter>(m_image);
    m_painter->setRenderHint(QPainter::TextAntialiasing);
    m_painter->setPen(Qt::black);
    const QSizeF size = m_image->deviceIndependentSize();
    m_painter->scale(size.width() / (metrics.paperWidth * dpiX()), size.height() / (metrics.paperHeight * dpiY()));
}

PreviewSurface::~PreviewSurface() = default;

void PreviewSurface::drawText(double x, double y, const QString& text, int)
{
    if (!m_painter)
        return;
    m_painter->setFont(font().font);
    m_painter->drawText(QPointF(x * dpiX(), y * dpiY() + font().metrics.ascent()), text);
}

void PreviewSurface::clear()
{
    if (m_image && !m_image->isNull() && m_painter) {
        m_painter->save();
        m_painter->resetTransform();
        m_painter->fillRect(QRectF(QPointF(0, 0), m_image->deviceIndependentSize()), Qt::white);
        m_painter->restore();
    }
}
