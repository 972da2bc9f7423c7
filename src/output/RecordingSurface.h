#pragma once

#include "output/PrintSurface.h"

#include <QList>
#include <QString>

// A drawing surface that keeps every text drawn, for tests of the layout and the pages. Text is measured
// without fonts: at size 10 a capital letter is 0.09 inches wide and any other character 0.06, a line
// 10 / 72 × 1.15 inches high, all in proportion to the size, on a Letter page with quarter-inch margins
// unless told otherwise.
class RecordingSurface : public PrintSurface
{
public:
    struct Call
    {
        QString text;
        double x = 0;
        double y = 0;
        double size = 0;
        bool bold = false;
        int lineNo = 0;
        int page = 1; // counted from 1 by newPage
    };

    explicit RecordingSurface(bool printer = false);

    PageMetrics printerMetrics() const override { return metrics; }
    double targetWidth() const override { return m_printer ? metrics.printWidth : metrics.paperWidth; }
    void setFont(const QString& family, double size, bool bold, bool underline) override;
    std::optional<double> textWidth(const QString& text) override;
    double textHeight(const QString& text) override;
    void drawText(double x, double y, const QString& text, int lineNo) override;
    void clear() override;
    void newPage() override;

    // The texts drawn since the last clear (all of them on the printer).
    QList<Call> calls;
    PageMetrics metrics;
    // Font sizes are divided by this before measuring: the preview's scale.
    double scale = 1;
    // The longest text measured; longer ones cannot be.
    int measurableChars = kMeasurableChars;
    int clears = 0;

private:
    bool m_printer;
    double m_size = 10;
    bool m_bold = false;
    int m_page = 1;
};
