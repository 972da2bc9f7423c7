// Fill from host on the district host, each figure next to its floor, and the fill command's peak memory.

#include "BenchHost.h"
#include "FillFloor.h"

#include "app/Session.h"
#include "host/FillFromHost.h"

#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

double seconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

// Each iteration times the floor, then Fill; the benchmark's time is Fill's, floor_ms the floor's and ratio
// Fill's time over the floor's.
void reportAgainstFloor(benchmark::State& state, double fillSum, double floorSum)
{
    const double n = double(state.iterations());
    if (n > 0 && floorSum > 0) {
        state.counters["floor_ms"] = floorSum * 1000.0 / n;
        state.counters["ratio"] = fillSum / floorSum;
    }
}

// The session's recordsets already read (the window has filled before, or searched the members).
void BM_FillFromHostWarm(benchmark::State& state)
{
    const BenchHost& host = benchHost();
    rewriteHeavyReport();
    Session session;
    startLoadedSession(session);
    SilentPrompt prompt;
    if (!FillFromHost(session, prompt).filled)
        state.SkipWithError("Fill did not run");
    double fillSum = 0;
    double floorSum = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        benchmark::DoNotOptimize(RunFillFloor(host.primaryPath, session.model, false));
        const double floor = seconds(timer);
        timer.restart();
        const FillOutcome outcome = FillFromHost(session, prompt);
        const double fill = seconds(timer);
        if (!outcome.filled)
            state.SkipWithError("Fill did not run");
        state.SetIterationTime(fill);
        fillSum += fill;
        floorSum += floor;
    }
    reportAgainstFloor(state, fillSum, floorSum);
    session.host.closeAll();
}
BENCHMARK(BM_FillFromHostWarm)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

// A fresh start-up before each Fill: the first Fill pays the first read of the member recordsets, and so does
// its floor.
void BM_FillFromHostCold(benchmark::State& state)
{
    const BenchHost& host = benchHost();
    rewriteHeavyReport();
    SilentPrompt prompt;
    double fillSum = 0;
    double floorSum = 0;
    for (auto _ : state) {
        auto session = std::make_unique<Session>();
        startLoadedSession(*session);
        QElapsedTimer timer;
        timer.start();
        benchmark::DoNotOptimize(RunFillFloor(host.primaryPath, session->model, true));
        const double floor = seconds(timer);
        timer.restart();
        const FillOutcome outcome = FillFromHost(*session, prompt);
        const double fill = seconds(timer);
        if (!outcome.filled)
            state.SkipWithError("Fill did not run");
        state.SetIterationTime(fill);
        fillSum += fill;
        floorSum += floor;
        session->host.closeAll();
    }
    reportAgainstFloor(state, fillSum, floorSum);
}
BENCHMARK(BM_FillFromHostCold)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

// "r318form-cli --host ... fill" as a whole process: load, look-ups, Fill, save. peak_MiB is its peak resident
// memory.
void BM_CliFillPeakMemory(benchmark::State& state)
{
    const BenchHost& host = benchHost();
    double peak = 0;
    for (auto _ : state) {
        const ChildRun run = runChild(QStringLiteral(R318_CLI_PATH),
                                      {QStringLiteral("--host"), host.commandLine, QStringLiteral("fill")});
        if (!run.error.isEmpty() || run.exitCode != 0) {
            state.SkipWithError(run.error.isEmpty() ? "the fill command failed" : qPrintable(run.error));
            break;
        }
        state.SetIterationTime(run.seconds);
        peak = std::max(peak, run.maxRssMiB);
    }
    state.counters["peak_MiB"] = peak;
    rewriteHeavyReport();
}
BENCHMARK(BM_CliFillPeakMemory)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
