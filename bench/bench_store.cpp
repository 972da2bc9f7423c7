// The report store and the upload file on the heavy report.

#include "BenchHost.h"
#include "HeavyReport.h"
#include "SaveFloor.h"

#include "app/Session.h"
#include "output/UploadFile.h"
#include "store/ReportIO.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// The whole heavy model written back into the report file in one transaction, each save storing a report that
// differs from the stored one in every value (two heavy reports in turn): every page of the report is written and
// the commit waits for the disk.
void BM_SaveReport(benchmark::State& state)
{
    const BenchHost& host = benchHost();
    rewriteHeavyReport();
    Session session;
    startLoadedSession(session);
    ReportModel first = session.model;
    MakeHeavyReport(first, 318);
    ReportModel second = session.model;
    MakeHeavyReport(second, 319);
    SilentPrompt prompt;
    double saveSum = 0;
    double floorSum = 0;
    for (auto _ : state) {
        // The floor stores one report, SaveReport the other: each finds every value changed.
        QElapsedTimer timer;
        timer.start();
        if (!RunSaveFloor(host.reportPath, second))
            state.SkipWithError("the floor could not write the report");
        const double floor = double(timer.nsecsElapsed()) / 1e9;
        session.model = first;
        timer.restart();
        if (!SaveReport(session, prompt))
            state.SkipWithError("the report was not saved");
        const double save = double(timer.nsecsElapsed()) / 1e9;
        state.SetIterationTime(save);
        saveSum += save;
        floorSum += floor;
    }
    if (floorSum > 0) {
        state.counters["floor_ms"] = floorSum * 1000.0 / double(state.iterations());
        state.counters["ratio"] = saveSum / floorSum;
    }
    session.host.closeAll();
    rewriteHeavyReport();
}
BENCHMARK(BM_SaveReport)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

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

// The floor: the four tables read whole through the SQLite C API and the file's bytes written durably through
// a temporary file (written, flushed to the disk, renamed into place).
void BM_WriteUploadFile(benchmark::State& state)
{
    const BenchHost& host = benchHost();
    rewriteHeavyReport();
    Session session;
    startLoadedSession(session);
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("R318_Upload.txt"));
    const QString floorPath = out.filePath(QStringLiteral("floor.txt"));
    QString why;
    if (!WriteUploadFile(session, path, &why))
        state.SkipWithError(qPrintable(why));
    QFile made(path);
    made.open(QIODevice::ReadOnly);
    const QByteArray bytes = made.readAll();
    double writeSum = 0;
    double floorSum = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        {
            FloorConnection db(host.reportPath);
            for (const char* table : {"Misc", "Officers", "Activities", "Recognized"})
                db.read(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(table)));
        }
        QSaveFile file(floorPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
            state.SkipWithError("cannot write the floor's file");
        const double floor = double(timer.nsecsElapsed()) / 1e9;
        timer.restart();
        if (!WriteUploadFile(session, path, &why))
            state.SkipWithError(qPrintable(why));
        const double write = double(timer.nsecsElapsed()) / 1e9;
        state.SetIterationTime(write);
        writeSum += write;
        floorSum += floor;
    }
    if (floorSum > 0) {
        state.counters["floor_ms"] = floorSum * 1000.0 / double(state.iterations());
        state.counters["ratio"] = writeSum / floorSum;
    }
    session.host.closeAll();
}
BENCHMARK(BM_WriteUploadFile)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace
