// Start-up and host reads.

#include "BenchHost.h"

#include "app/Prompt.h"
#include "app/Session.h"
#include "app/Startup.h"
#include "host/HostDatabase.h"
#include "host/Recordset.h"

#include <QProcess>

#include <benchmark/benchmark.h>

namespace {

class SilentPrompt : public Prompt
{
public:
    Answer ask(const Message&) override { return Answer::Yes; }
};

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
BENCHMARK(BM_StartupStatementsFloor)->Unit(benchmark::kMillisecond)->MinTime(2.0);

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
BENCHMARK(BM_MembersRecordset)->Unit(benchmark::kMillisecond)->MinTime(2.0);

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
BENCHMARK(BM_StartupInProcess)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The batch command as a whole process: start-up to a loaded report, printed as JSON.
void BM_CliDumpProcess(benchmark::State& state)
{
    const BenchHost& host = benchHost();
    for (auto _ : state) {
        QProcess p;
        p.start(QStringLiteral(R318_CLI_PATH),
                {QStringLiteral("--host"), host.commandLine, QStringLiteral("identity")});
        p.waitForFinished(-1);
        if (p.exitCode() != 0)
            state.SkipWithError(p.readAllStandardError().constData());
    }
}
BENCHMARK(BM_CliDumpProcess)->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace
