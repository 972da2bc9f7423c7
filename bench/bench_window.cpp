// The add-in's window as a whole process: from its start to the report loaded and shown, next to a bare Qt
// window started the same way.

#include "BenchHost.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#if defined(Q_OS_UNIX)
#include <sys/resource.h>
#endif

namespace {

// The environment of a window started offscreen on the bench host, told to end once it has loaded.
QProcessEnvironment windowEnvironment(const BenchHost& host, const QString& runtimeDir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), host.root + QStringLiteral("/config"));
    env.insert(QStringLiteral("R318_QUIT_WHEN_LOADED"), QStringLiteral("1"));
    return env;
}

// The processor time of the ended children of this process so far, in seconds (0 where unknown): on a
// shared machine it varies far less than the time on the clock.
double childrenCpuSeconds()
{
#if defined(Q_OS_UNIX)
    struct rusage usage = {};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
#else
    return 0;
#endif
}

// Starts program and returns the seconds until it prints "loaded"; waits for its end, which is not timed.
// Returns a negative number with *error set when it never says so or does not end well.
double secondsToLoaded(const QString& program, const QStringList& args, const QProcessEnvironment& env, QString* error)
{
    QProcess p;
    p.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    p.start(program, args);
    QByteArray out;
    while (!out.contains("loaded\n")) {
        if (!p.waitForReadyRead(30000)) {
            p.kill();
            p.waitForFinished();
            *error = program + QStringLiteral(" did not load: ") + QString::fromLocal8Bit(p.readAllStandardError());
            return -1;
        }
        out += p.readAllStandardOutput();
    }
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *error = program + QStringLiteral(" did not end well: ") + QString::fromLocal8Bit(p.readAllStandardError());
        return -1;
    }
    return seconds;
}

// Each iteration starts the bare window, then the add-in; the benchmark's time is the add-in's, floor_ms the
// bare window's, ratio the add-in's time over the bare window's and cpu_ms the add-in's processor time to its
// end.
void BM_WindowProcess(benchmark::State& state)
{
    const BenchHost& host = benchHost();
    rewriteHeavyReport();
    QTemporaryDir runtimeDir;
    const QProcessEnvironment env = windowEnvironment(host, runtimeDir.path());
    const QStringList args{host.commandLine};
    double windowSum = 0;
    double floorSum = 0;
    double cpuSum = 0;
    for (auto _ : state) {
        QString error;
        const double floor = secondsToLoaded(QStringLiteral(R318_BARE_WINDOW_PATH), {}, env, &error);
        const double cpuBefore = childrenCpuSeconds();
        const double window = floor < 0 ? -1 : secondsToLoaded(QStringLiteral(R318_GUI_PATH), args, env, &error);
        cpuSum += childrenCpuSeconds() - cpuBefore;
        if (window < 0) {
            state.SkipWithError(qPrintable(error));
            break;
        }
        state.SetIterationTime(window);
        windowSum += window;
        floorSum += floor;
    }
    const double n = double(state.iterations());
    if (n > 0 && floorSum > 0) {
        state.counters["floor_ms"] = floorSum * 1000.0 / n;
        state.counters["ratio"] = windowSum / floorSum;
        state.counters["cpu_ms"] = cpuSum * 1000.0 / n;
    }
}
BENCHMARK(BM_WindowProcess)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(1.0)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

} // namespace
