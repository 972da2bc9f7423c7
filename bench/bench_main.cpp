// r318bench: the speed figures of the add-in on a district-size host, and a closing table of each figure's
// median against its target.

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

struct Target
{
    const char* benchmark;
    const char* figure;
    const char* counter; // nullptr: the benchmark's time in milliseconds
    double limit;
    const char* unit;
};

const Target kTargets[] = {
    {"BM_FillFromHostWarm", "Fill from host (recordsets read) / floor", "ratio", 1.0, "x"},
    {"BM_FillFromHostCold", "Fill from host (first after start-up) / floor", "ratio", 1.0, "x"},
    {"BM_CliDumpProcess", "start-up to a loaded report, dump process", nullptr, 100.0, "ms"},
    {"BM_SaveReport", "SaveReport, heavy report, every value changed", nullptr, 3.0, "ms"},
    {"BM_SaveReportUnchanged", "SaveReport, heavy report as loaded", nullptr, 3.0, "ms"},
    {"BM_ThreeLoads", "LoadOfficers + LoadRecognized + LoadScalars", nullptr, 3.0, "ms"},
    {"BM_WriteUploadFile", "WriteUploadFile, heavy report", nullptr, 3.0, "ms"},
    {"BM_CliFillPeakMemory", "peak memory of the fill command", "peak_MiB", 100.0, "MiB"},
};

// Figures without a target, shown for reading the others.
const Target kContext[] = {
    {"BM_DiskSync", "one durable 4 KiB write (a commit waits for 4)", nullptr, 0, "ms"},
    {"BM_StartupInProcess", "start-up in this process", nullptr, 0, "ms"},
    {"BM_StartupStatementsFloor", "start-up statements through the C API", nullptr, 0, "ms"},
    {"BM_MembersRecordset", "all members read into a recordset", nullptr, 0, "ms"},
};

double toMilliseconds(double value, benchmark::TimeUnit unit)
{
    switch (unit) {
    case benchmark::kNanosecond:
        return value / 1e6;
    case benchmark::kMicrosecond:
        return value / 1e3;
    case benchmark::kMillisecond:
        return value;
    case benchmark::kSecond:
        return value * 1e3;
    }
    return value;
}

// The console table, then the medians against their targets.
class TargetReporter : public benchmark::ConsoleReporter
{
public:
    TargetReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& reports) override
    {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports) {
            if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median" || run.error_occurred)
                continue;
            Median& m = m_medians[run.run_name.function_name];
            m.ms = toMilliseconds(run.GetAdjustedRealTime(), run.time_unit);
            for (const auto& [name, counter] : run.counters)
                m.counters[name] = counter.value;
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::FILE* out = stdout;
        std::fprintf(out, "\nMedians against their targets\n");
        std::fprintf(out, "%-48s %12s %12s %12s  %s\n", "figure", "median", "target", "floor", "");
        for (const Target& t : kTargets) {
            const auto it = m_medians.find(t.benchmark);
            if (it == m_medians.end()) {
                std::fprintf(out, "%-48s %12s %10.1f %s\n", t.figure, "not run", t.limit, t.unit);
                continue;
            }
            const Median& m = it->second;
            double value = m.ms;
            if (t.counter) {
                const auto c = m.counters.find(t.counter);
                value = c == m.counters.end() ? -1 : c->second;
            }
            const auto floor = m.counters.find("floor_ms");
            char floorText[32] = "";
            if (floor != m.counters.end())
                std::snprintf(floorText, sizeof floorText, "%.1f ms", floor->second);
            char fillText[32] = "";
            if (floor != m.counters.end())
                std::snprintf(fillText, sizeof fillText, "(Fill %.1f ms)", m.ms);
            std::fprintf(out, "%-48s %9.2f %-3s %8.1f %-3s %12s  %s %s\n", t.figure, value, t.unit, t.limit, t.unit,
                         floorText, value >= 0 && value <= t.limit ? "met" : "MISSED", fillText);
        }
        for (const Target& t : kContext) {
            const auto it = m_medians.find(t.benchmark);
            if (it != m_medians.end())
                std::fprintf(out, "%-48s %9.2f %-3s\n", t.figure, it->second.ms, t.unit);
        }
        std::fflush(out);
    }

private:
    struct Median
    {
        double ms = 0;
        std::map<std::string, double> counters;
    };
    std::map<std::string, Median> m_medians;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TargetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
