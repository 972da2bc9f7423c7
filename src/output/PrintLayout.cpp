#include "output/PrintLayout.h"

#include "base/Text.h"
#include "store/ReportModel.h"

#include <QStringView>

#include <cmath>

namespace {

const QString kFont = QStringLiteral("Arial");
const QString kLineBreak = QStringLiteral("\r\n");
constexpr int kMaxParagraphs = 100;
constexpr double kBodySize = 10;
constexpr double kFooterSize = 8;

QStringView trimmedView(QStringView s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && s.at(end - 1) == QLatin1Char(' '))
        --end;
    return s.mid(begin, end - begin);
}

// A cut after `count` characters moved left by one where it would split a surrogate pair.
qsizetype wholeCharacters(QStringView s, qsizetype count)
{
    if (count > 0 && count < s.size() && s.at(count - 1).isHighSurrogate() && s.at(count).isLowSurrogate())
        return count - 1 > 0 ? count - 1 : count + 1;
    return count;
}

} // namespace

void PrintLayout::Use(PrintSurface& surface, Target target)
{
    m_surface = &surface;
    TargetCode = target;
}

void PrintLayout::SetTarget()
{
    m_surface->setFont(kFont, kBodySize * (TargetCode == Target::Preview ? PreviewScale : 1), false, false);
    m_surface->clear();
    m_x = 0;
    m_y = 0;
    GetPrinterMargins();
}

void PrintLayout::GetPrinterMargins()
{
    const PageMetrics m = m_surface->printerMetrics();
    LeftMargin = m.leftMargin;
    RightMargin = m.rightMargin;
    TopMargin = m.topMargin;
    BottomMargin = m.bottomMargin;
    PrintWidth = m.printWidth;
    PrintHeight = m.printHeight;
    TopY = TargetCode == Target::Printer ? 0.5 - TopMargin : 0.5;
}

void PrintLayout::PrintLine(const QString& text, double x, double y, double size, bool centred, bool stayOnLine,
                            int& lineNo, bool bold, bool& overflow)
{
    m_surface->setFont(kFont, TargetCode == Target::Preview ? size * PreviewScale : size, bold, false);
    if (y >= 0)
        m_y = y;
    if (centred)
        m_x = (m_surface->targetWidth() - m_surface->textWidth(text).value_or(0)) / 2;
    else if (x >= 0)
        m_x = x;

    if (stayOnLine) {
        if (lineNo >= MaxLines) {
            overflow = true;
            return;
        }
        m_surface->drawText(m_x, m_y, text, lineNo);
        m_x += m_surface->textWidth(text).value_or(0);
        return;
    }
    ++lineNo;
    if (lineNo > MaxLines) {
        overflow = true;
        return;
    }
    m_surface->drawText(m_x, m_y, text, lineNo - 1);
    m_y += m_surface->textHeight(text);
    m_x = 0;
}

void PrintLayout::SetBodyFont()
{
    m_surface->setFont(kFont, TargetCode == Target::Preview ? kBodySize * PreviewScale : kBodySize, false, false);
}

template <typename LineSink>
bool PrintLayout::Wrap(QString& text, double indent, const QString& sample, LineSink&& line)
{
    SetBodyFont();
    // The line is as wide on the preview as on paper: the printable width less the right margin and the indent
    // from the paper's left edge.
    const double paperIndent = TargetCode == Target::Printer ? indent + LeftMargin : indent;
    const double w = PrintWidth - RightMargin - paperIndent;
    const double average = m_surface->textWidth(sample).value_or(0) / sample.size();
    const qsizetype n = average > 0 ? std::max<qsizetype>(1, std::llround(w / average)) : 1;
    // A text is never narrower than a prefix of it by more than the kerning where it was cut, so a prefix wider
    // than the line by a line's height settles a long paragraph without measuring all of it.
    const qsizetype prefix = 2 * n + 16;
    const double slack = m_surface->textHeight(sample);

    enum class Fit { Fits, TooWide, Unmeasurable };
    auto fit = [&](QStringView p) {
        if (p.size() > prefix) {
            const std::optional<double> head = m_surface->textWidth(p.left(wholeCharacters(p, prefix)).toString());
            if (head && *head > w + slack)
                return Fit::TooWide;
        }
        const std::optional<double> width = m_surface->textWidth(p.toString());
        if (!width)
            return Fit::Unmeasurable;
        return *width <= w ? Fit::Fits : Fit::TooWide;
    };

    // Lays out one piece of a paragraph; false with the unprinted rest of the piece in `rest` on overflow.
    auto layPiece = [&](QStringView p, Fit f, QStringView& rest) {
        if (f != Fit::TooWide) {
            if (!line(p.toString())) {
                rest = p;
                return false;
            }
            return true;
        }
        // Wrapped by character count: each line ends at the last blank within n characters, the blank kept.
        QStringView s = p;
        while (s.size() > n) {
            s = trimmedView(s);
            if (s.size() <= n)
                break;
            qsizetype k = s.lastIndexOf(QLatin1Char(' '), n - 1) + 1;
            if (k <= 0)
                k = wholeCharacters(s, n); // a word longer than the line is broken at the line's length
            if (!line(s.left(k).toString())) {
                rest = s;
                return false;
            }
            s = s.mid(k);
        }
        if (!s.isEmpty() && !line(s.toString())) {
            rest = s;
            return false;
        }
        return true;
    };

    qsizetype pos = 0;
    for (int paragraph = 0; paragraph < kMaxParagraphs; ++paragraph) {
        qsizetype end = text.indexOf(kLineBreak, pos);
        if (end < 0)
            end = text.size();
        const QStringView para = QStringView(text).mid(pos, end - pos);

        // A paragraph too long to measure is split in two at the first blank from its middle on, and the halves
        // are laid out one after the other; `pending` holds the later halves, each with the blank before it.
        struct Piece
        {
            QStringView text;
            bool blankBefore;
        };
        QList<Piece> pending{{para, false}};
        while (!pending.isEmpty()) {
            const Piece piece = pending.takeLast();
            const QStringView p = piece.text;
            const Fit f = fit(p);
            if (f == Fit::Unmeasurable && p.size() > 1) {
                const qsizetype blank = p.indexOf(QLatin1Char(' '), p.size() / 2);
                const qsizetype cut = blank >= 0 ? blank : wholeCharacters(p, p.size() / 2);
                pending.append({p.mid(blank >= 0 ? cut + 1 : cut), blank >= 0});
                pending.append({p.left(cut), false});
                continue;
            }
            QStringView rest;
            if (!layPiece(p, f, rest)) {
                QString back = rest.toString();
                for (qsizetype i = pending.size() - 1; i >= 0; --i) {
                    if (pending.at(i).blankBefore)
                        back += QLatin1Char(' ');
                    back += pending.at(i).text;
                }
                back += QStringView(text).mid(end);
                text = back;
                return false;
            }
        }
        if (end == text.size())
            break;
        pos = end + kLineBreak.size();
    }
    text.clear();
    return true;
}

void PrintLayout::ParseText(QString& text, double indent, int& lineNo, double lineHeight, double top, bool& overflow)
{
    const bool fitted = Wrap(text, indent, QStringLiteral("Aeiou."), [&](const QString& line) {
        bool full = false;
        PrintLine(line, indent, top + lineNo * lineHeight, kBodySize, false, false, lineNo, false, full);
        return !full;
    });
    if (!fitted)
        overflow = true;
}

int PrintLayout::CountLines(const QString& text, double indent)
{
    int count = 0;
    QString copy = text;
    Wrap(copy, indent, QStringLiteral("aeiou."), [&](const QString&) {
        ++count;
        return true;
    });
    return count;
}

void PrintLayout::SetSkip(QString& text, double indent, int maxLines, int lineNo, int page, int item, bool& skip)
{
    skip = false;
    if (page < 0 || page > kLastPage || item < 0 || item > kLastPage)
        return;
    if (FirstPass && lineNo >= 42) {
        if (maxLines - lineNo < CountLines(text, indent)) {
            SkipFlags[size_t(page)][size_t(item)] = true;
            text.clear();
            skip = true;
        }
    } else if (SkipFlags[size_t(page)][size_t(item)] && lineNo > 41) {
        text.clear();
        skip = true;
    }
}

void PrintLayout::PrintFooter(double x, const QString& subDate)
{
    m_surface->setFont(kFont, TargetCode == Target::Preview ? kFooterSize * PreviewScale : kFooterSize, false, false);
    const double y = TopMargin + PrintHeight - 3 * m_surface->textHeight(QStringLiteral("Help"));
    m_surface->drawText(x, y, QStringLiteral("Form R-318, Rostrel(9.6.9)"), -1);
    m_surface->drawText(3.75, y, QStringLiteral("Page %1 of %2 pages").arg(PageNo).arg(TotalPages), -1);
    m_surface->drawText(6.75, y, subDate, -1);
}

void PrintLayout::ClearContinuations()
{
    for (auto& page : SkipFlags)
        page.fill(false);
    ContItem.fill(0);
    ContText.fill(QString());
}

QString FormatName(const ReportModel& model, int row, bool withTitle, bool noNone)
{
    const Officer office = row >= 1 && row <= model.officerCount() ? model.officer(row) : Officer();
    const QString title = withTitle && !office.Title.isEmpty() ? office.Title + QStringLiteral(":  ") : QString();
    QString name = title;
    if (!office.Rank.isEmpty())
        name += office.Rank + QLatin1Char(' ');
    name += office.First + QLatin1Char(' ') + office.Last;
    if (!office.Grade.isEmpty())
        name += QStringLiteral(", ") + office.Grade;
    if (!noNone && trimBlanks(name) == trimBlanks(title))
        name = title + QStringLiteral("None");
    return name;
}
