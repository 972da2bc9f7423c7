// Start-up and host reads.

#include "BenchHost.h"

#include "app/Session.h"
#include "app/Startup.h"
#include "host/HostDatabase.h"
#include "host/Recordset.h"

#include <QProcess>

#include <benchmark/benchmark.h>

namespace {

// The statements start-up runs on the members, read whole through the C API.
void BM_StartupStatementsFloor(benchmark::State& state)
{
    const BenchHost& host = benchHost();
    for (auto _ : state) {
        benchmark::DoNotOptimize(sqliteFloor(host.primaryPath, "SELECT * FROM Members ORDER BY Last, First"));
        benchmark::DoNotOptimize(
            sqliteFloor(host.primaryPath, "SELECT * FROM MemberCom WHERE NewOD = 0 ORDER BY Department, Position"));
    }
}
BENCHMARK(BM_StartupStatementsFloor)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_MembersRecordset(benchmark::State& state)
{
    const BenchHost& host = benchHost();
    HostDatabase db;
    db.open(host.primaryPath);
    for (auto _ : state) {
        Recordset rs = Recordset::open(db, QStringLiteral("SELECT * FROM Members ORDER BY Last, First"));
        benchmark::DoNotOptimize(rs.recordCount());
    }
}
BENCHMARK(BM_MembersRecordset)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(5)->ReportAggregatesOnly(true);

// Start-up in this process: settings, host databases, identity, member recordsets, report database.
void BM_StartupInProcess(benchmark::State& state)
{
    const BenchHost& host = benchHost();
    for (auto _ : state) {
        Session session;
        SilentPrompt prompt;
        const auto outcome = Startup::Main(session, host.commandLine, prompt);
        if (outcome.kind != Startup::Outcome::Kind::Ready)
            state.SkipWithError(qPrintable(outcome.reason));
        session.host.closeAll();
    }
}
BENCHMARK(BM_StartupInProcess)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(5)->ReportAggregatesOnly(true);

// The batch command as a whole process: start-up to the heavy report loaded, printed as JSON.
void BM_CliDumpProcess(benchmark::State& state)
{
    const BenchHost& host = benchHost();
    rewriteHeavyReport();
    for (auto _ : state) {
        QProcess p;
        p.start(QStringLiteral(R318_CLI_PATH), {QStringLiteral("--host"), host.commandLine, QStringLiteral("dump")});
        p.waitForFinished(-1);
        if (p.exitCode() != 0 || p.readAllStandardOutput().size() < 13 * 1000)
            state.SkipWithError(p.readAllStandardError().constData());
    }
}
BENCHMARK(BM_CliDumpProcess)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(7)->ReportAggregatesOnly(true);

} // namespace
