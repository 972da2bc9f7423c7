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
    {"BM_WindowProcess", "start-up to a loaded report, window process", nullptr, 150.0, "ms"},
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
        std::fprintf(out, "\nMedians against their targets (time: the figure's own median; floor: the same work at "
                          "the least, timed in the same run)\n");
        std::fprintf(out, "%-48s %10s %10s %10s %7s %12s  %s\n", "figure", "median", "time", "floor", "ratio", "target",
                     "");
        for (const Target& t : kTargets) {
            const auto it = m_medians.find(t.benchmark);
            if (it == m_medians.end()) {
                std::fprintf(out, "%-48s %10s %10s %10s %7s %8.1f %-3s\n", t.figure, "not run", "", "", "", t.limit,
                             t.unit);
                continue;
            }
            const Median& m = it->second;
            double value = m.ms;
            if (t.counter) {
                const auto c = m.counters.find(t.counter);
                value = c == m.counters.end() ? -1 : c->second;
            }
            char time[24] = "";
            char floor[24] = "";
            char ratio[24] = "";
            if (t.counter && std::string(t.unit) != "ms")
                std::snprintf(time, sizeof time, "%.1f ms", m.ms);
            if (m.counters.count("floor_ms"))
                std::snprintf(floor, sizeof floor, "%.1f ms", m.counters.at("floor_ms"));
            if (m.counters.count("ratio"))
                std::snprintf(ratio, sizeof ratio, "%.2f", m.counters.at("ratio"));
            std::fprintf(out, "%-48s %6.2f %-3s %10s %10s %7s %8.1f %-3s  %s\n", t.figure, value, t.unit, time, floor,
                         ratio, t.limit, t.unit, value >= 0 && value <= t.limit ? "met" : "MISSED");
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
