// r318bench_print: the printed report's layout on the printer's measures (the PDF output on Letter paper where
// no printer is installed), with a closing table of each figure's median against its target.
//
// The pages are laid out as the preview's first pass lays them out: text is measured, nothing is painted.

#include "HeavyReport.h"

#include "editor/PainterSurface.h"
#include "output/PrintLayout.h"
#include "output/ReportPages.h"
#include "store/OfficeCatalogue.h"
#include "store/ReportModel.h"

#include <QGuiApplication>
#include <QImage>
#include <QPrinter>

#include <benchmark/benchmark.h>

#include <climits>
#include <cstdio>
#include <map>
#include <memory>

namespace {

QPrinter& printer()
{
    static std::unique_ptr<QPrinter> p = MakeReportPrinter();
    return *p;
}

// The heaviest report: every office and recognition slot filled, thirteen activity texts of several pages each,
// so that page 4 and its continuations run to the last page the report has (20).
ReportModel heavyModel()
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
    MakeHeavyReport(m);
    return m;
}

void BM_FirstPassTwentyPages(benchmark::State& state)
{
    const ReportModel model = heavyModel();
    PrintLayout layout;
    ReportPages pages(layout, model);
    int total = 0;
    for (auto _ : state) {
        PreviewSurface measuring(nullptr, printer(), PrinterPageMetrics(printer()), 0.54);
        total = pages.FirstPass(measuring);
    }
    state.counters["pages"] = total;
    if (total != PrintLayout::kLastPage)
        state.SkipWithError("the heavy report did not fill twenty pages");
}
BENCHMARK(BM_FirstPassTwentyPages)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// Page 4 of the heavy report drawn on the preview's small page picture, for reading the figures above.
void BM_DrawPreviewPage(benchmark::State& state)
{
    const ReportModel model = heavyModel();
    PrintLayout layout;
    ReportPages pages(layout, model);
    const PageMetrics metrics = PrinterPageMetrics(printer());
    {
        PreviewSurface measuring(nullptr, printer(), metrics, 0.54);
        pages.FirstPass(measuring);
    }
    QImage image(438, 567, QImage::Format_RGB32);
    layout.PreviewScale = 6568.0 / 1440 / metrics.paperWidth;
    for (auto _ : state) {
        PreviewSurface surface(&image, printer(), metrics, layout.PreviewScale);
        layout.Use(surface, PrintLayout::Target::Preview);
        pages.DrawPage(4);
    }
}
BENCHMARK(BM_DrawPreviewPage)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// A text of `size` characters in `count` paragraphs (100 is the most ParseText prints) of the heavy report's
// prose.
QString textOf(qsizetype size, int count = 100)
{
    ReportModel m;
    QString prose;
    for (quint64 seed = 1; prose.size() < size; ++seed) {
        MakeHeavyReport(m, seed);
        for (const QString& t : m.ActivityText)
            prose += t + QLatin1Char(' ');
    }
    prose.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    QStringList paragraphs;
    const qsizetype part = size / count;
    for (int i = 0; i < count; ++i)
        paragraphs << prose.mid(i * part, part);
    return paragraphs.join(QStringLiteral("\r\n"));
}

// Every line of the text laid out (no page ends it).
void BM_ParseText(benchmark::State& state)
{
    const QString text = textOf(state.range(0), int(state.range(1)));
    PreviewSurface measuring(nullptr, printer(), PrinterPageMetrics(printer()), 1);
    PrintLayout layout;
    layout.Use(measuring, PrintLayout::Target::Preview);
    layout.SetTarget();
    layout.MaxLines = INT_MAX;
    int lines = 0;
    for (auto _ : state) {
        QString t = text;
        int lineNo = 0;
        bool overflow = false;
        layout.ParseText(t, 0.7, lineNo, 0.17, 0.5, overflow);
        lines = lineNo;
        if (overflow || !t.isEmpty())
            state.SkipWithError("the text did not fit");
    }
    state.counters["lines"] = lines;
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ParseText)
    ->Args({1 << 18, 100})
    ->Args({1 << 19, 100})
    ->Args({1 << 20, 100})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true)
    ->Complexity(benchmark::oN);
// One paragraph: no line is measured, however long the paragraph.
BENCHMARK(BM_ParseText)
    ->Args({1 << 18, 1})
    ->Args({1 << 20, 1})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

struct Target
{
    const char* run;
    const char* figure;
    double limit;
};
const Target kTargets[] = {
    {"BM_FirstPassTwentyPages", "first pass, twenty pages of text", 150},
    {"BM_ParseText/1048576/100", "ParseText, 1 MB in 100 paragraphs", 30},
    {"BM_ParseText/1048576/1", "ParseText, 1 MB in one paragraph", 30},
};

class TargetReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& reports) override
    {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median" && !run.error_occurred)
                m_ms[run.run_name.function_name + (run.run_name.args.empty() ? "" : "/" + run.run_name.args)] =
                    run.GetAdjustedRealTime(); // milliseconds: every run is in them
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nMedians against their targets\n");
        for (const Target& t : kTargets) {
            const auto it = m_ms.find(t.run);
            if (it == m_ms.end())
                std::printf("%-40s %10s %8.1f ms\n", t.figure, "not run", t.limit);
            else
                std::printf("%-40s %7.2f ms %8.1f ms  %s\n", t.figure, it->second, t.limit,
                            it->second <= t.limit ? "met" : "MISSED");
        }
        std::fflush(stdout);
    }

private:
    std::map<std::string, double> m_ms;
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TargetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
