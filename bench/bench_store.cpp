// The report store and the upload file on the heavy report.

#include "BenchHost.h"
#include "HeavyReport.h"

#include "app/Session.h"
#include "output/UploadFile.h"
#include "store/ReportIO.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// The whole heavy model written back into the report file in one transaction, each save storing a report that
// differs from the stored one in every value (two heavy reports in turn): every page of the report is written and
// the commit waits for the disk.
void BM_SaveReport(benchmark::State& state)
{
    rewriteHeavyReport();
    Session session;
    startLoadedSession(session);
    ReportModel first = session.model;
    MakeHeavyReport(first, 318);
    ReportModel second = session.model;
    MakeHeavyReport(second, 319);
    SilentPrompt prompt;
    bool odd = false;
    for (auto _ : state) {
        state.PauseTiming();
        session.model = odd ? first : second;
        odd = !odd;
        state.ResumeTiming();
        if (!SaveReport(session, prompt))
            state.SkipWithError("the report was not saved");
    }
    session.host.closeAll();
    rewriteHeavyReport();
}
BENCHMARK(BM_SaveReport)->Unit(benchmark::kMillisecond)->MinTime(0.2)->Repetitions(9)->ReportAggregatesOnly(true);

// The heavy report saved as it was loaded (as at exit, or before a preview, after no change): the engine finds
// every row as it is and writes no page.
void BM_SaveReportUnchanged(benchmark::State& state)
{
    rewriteHeavyReport();
    Session session;
    startLoadedSession(session);
    SilentPrompt prompt;
    for (auto _ : state) {
        if (!SaveReport(session, prompt))
            state.SkipWithError("the report was not saved");
    }
    session.host.closeAll();
}
BENCHMARK(BM_SaveReportUnchanged)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.2)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// What the disk asks for one write of 4 KiB made durable (write, then flush to the disk): a durable commit of the
// report waits for four of them (the journal twice, its folder entry, the file).
void BM_DiskSync(benchmark::State& state)
{
    const BenchHost& host = benchHost();
    const QString path = host.dataDir + QStringLiteral("sync-probe.bin");
    for (auto _ : state) {
        if (!syncWrite(path))
            state.SkipWithError("cannot write the probe file");
    }
    QFile::remove(path);
}
BENCHMARK(BM_DiskSync)->Unit(benchmark::kMillisecond)->MinTime(0.2)->Repetitions(9)->ReportAggregatesOnly(true);

// LoadOfficers, LoadRecognized and LoadScalars, each opening and closing the file as the add-in does.
void BM_ThreeLoads(benchmark::State& state)
{
    rewriteHeavyReport();
    Session session;
    startBenchSession(session);
    for (auto _ : state) {
        QString why;
        const bool officers = LoadOfficers(session, &why);
        const bool recognized = LoadRecognized(session, &why);
        const bool scalars = LoadScalars(session, &why);
        if (!officers || !recognized || !scalars)
            state.SkipWithError(qPrintable(why));
    }
    if (session.model.ActivityText[12].size() < kHeavyActivityChars / 2)
        state.SkipWithError("the heavy report was not loaded");
    session.host.closeAll();
}
BENCHMARK(BM_ThreeLoads)->Unit(benchmark::kMillisecond)->MinTime(0.2)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_WriteUploadFile(benchmark::State& state)
{
    rewriteHeavyReport();
    Session session;
    startLoadedSession(session);
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("R318_Upload.txt"));
    for (auto _ : state) {
        QString why;
        if (!WriteUploadFile(session, path, &why))
            state.SkipWithError(qPrintable(why));
    }
    session.host.closeAll();
}
BENCHMARK(BM_WriteUploadFile)->Unit(benchmark::kMillisecond)->MinTime(0.2)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace
