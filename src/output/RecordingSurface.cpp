#include "output/RecordingSurface.h"

RecordingSurface::RecordingSurface(bool printer) : m_printer(printer)
{
    metrics.leftMargin = metrics.rightMargin = metrics.topMargin = metrics.bottomMargin = 0.25;
    metrics.printWidth = 8;
    metrics.printHeight = 10.5;
    metrics.resolution = 600;
}

void RecordingSurface::setFont(const QString&, double size, bool bold, bool)
{
    m_size = size;
    m_bold = bold;
}

std::optional<double> RecordingSurface::textWidth(const QString& text)
{
    if (text.size() > measurableChars)
        return std::nullopt;
    double width = 0;
    for (const QChar c : text)
        width += c.isUpper() ? 0.09 : 0.06;
    return width * m_size / scale / 10;
}

double RecordingSurface::textHeight(const QString&)
{
    return m_size / scale / 72 * 1.15;
}

void RecordingSurface::drawText(double x, double y, const QString& text, int lineNo)
{
    calls.append({text, x, y, m_size, m_bold, lineNo, m_page});
}

void RecordingSurface::clear()
{
    ++clears;
    if (!m_printer)
        calls.clear();
}

void RecordingSurface::newPage()
{
    ++m_page;
}
