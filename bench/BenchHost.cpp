#include "BenchHost.h"

#include "DistrictHost.h"
#include "HeavyReport.h"

#include "app/Session.h"
#include "app/Startup.h"
#include "store/ReportIO.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace {
[[noreturn]] void abortRun(const QString& why)
{
    std::fprintf(stderr, "r318bench: %s\n", qPrintable(why));
    std::exit(1);
}
} // namespace

const BenchHost& benchHost()
{
    static std::unique_ptr<QTemporaryDir> dir;
    static BenchHost host;
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        // R318_BENCH_HOST_DIR keeps the host in a folder of one's choice, made at the first run and used again
        // by later runs (for profiling single benchmarks).
        const QString kept = qEnvironmentVariable("R318_BENCH_HOST_DIR");
        host.root = kept.isEmpty() ? dir->path() : QDir(kept).absolutePath();
        if (!kept.isEmpty() && QFileInfo::exists(host.root + QStringLiteral("/data/Rostrelv3/BNQ.mdb"))) {
            qputenv("XDG_CONFIG_HOME", QFile::encodeName(host.root + QStringLiteral("/config")));
            host.commandLine = QStringLiteral("Rostrel,BNQ.mdb,Squadrons.mdb,color");
        } else {
            QString error;
            host.commandLine = CreateDistrictHost(host.root, {}, &error);
            if (host.commandLine.isEmpty())
                abortRun(QStringLiteral("cannot create the district host: %1").arg(error));
        }
        host.dataDir = host.root + QStringLiteral("/data/Rostrelv3/");
        host.primaryPath = host.dataDir + QStringLiteral("BNQ.mdb");
        host.reportPath = host.dataDir + QStringLiteral("r318_BNQ.mdb");
        // The first start-up creates the report file; the heavy report goes into it.
        rewriteHeavyReport();
    }
    return host;
}

void startBenchSession(Session& session)
{
    SilentPrompt prompt;
    const Startup::Outcome outcome = Startup::Main(session, benchHost().commandLine, prompt);
    if (outcome.kind != Startup::Outcome::Kind::Ready)
        abortRun(QStringLiteral("start-up refused: %1").arg(outcome.reason));
}

void startLoadedSession(Session& session)
{
    startBenchSession(session);
    QString why;
    if (!LoadReport(session, &why))
        abortRun(QStringLiteral("cannot load the report: %1").arg(why));
}

void rewriteHeavyReport()
{
    Session session;
    startBenchSession(session);
    QString error;
    if (!WriteHeavyReport(session, &error))
        abortRun(error);
    session.host.closeAll();
}

long long sqliteFloor(const QString& databasePath, const char* statement)
{
    FloorConnection db(databasePath);
    db.read(QString::fromUtf8(statement));
    return db.bytes();
}

FloorConnection::FloorConnection(const QString& databasePath)
{
    if (sqlite3_open_v2(databasePath.toUtf8().constData(), &m_db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        abortRun(QStringLiteral("cannot open %1").arg(databasePath));
}

FloorConnection::~FloorConnection()
{
    sqlite3_close(m_db);
}

int FloorConnection::read(const QString& statement, const QStringList& params, int keepRows)
{
    m_first.clear();
    m_columns.clear();
    sqlite3_stmt* stmt = nullptr;
    const QByteArray sql = statement.toUtf8();
    if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK)
        abortRun(QStringLiteral("%1: %2").arg(statement, QString::fromUtf8(sqlite3_errmsg(m_db))));
    std::vector<QByteArray> bound;
    for (int i = 0; i < params.size(); ++i) {
        bound.push_back(params.at(i).toUtf8());
        sqlite3_bind_text(stmt, i + 1, bound.back().constData(), int(bound.back().size()), SQLITE_TRANSIENT);
    }
    const int columns = sqlite3_column_count(stmt);
    for (int c = 0; c < columns; ++c)
        m_columns << QString::fromUtf8(sqlite3_column_name(stmt, c));
    int rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        QStringList kept;
        for (int c = 0; c < columns; ++c) {
            const unsigned char* text = sqlite3_column_text(stmt, c);
            const int size = sqlite3_column_bytes(stmt, c);
            m_bytes += size;
            if (rows < keepRows)
                kept << (text ? QString::fromUtf8(reinterpret_cast<const char*>(text), size) : QString());
        }
        if (rows < keepRows)
            m_first << kept;
        ++rows;
    }
    sqlite3_finalize(stmt);
    return rows;
}

bool syncWrite(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const QByteArray block(4096, 'x');
    if (file.write(block) != block.size() || !file.flush())
        return false;
#if defined(Q_OS_UNIX)
    return ::fdatasync(file.handle()) == 0;
#else
    return true;
#endif
}

ChildRun runChild(const QString& program, const QStringList& args)
{
    ChildRun run;
#if defined(Q_OS_UNIX)
    std::vector<QByteArray> storage;
    storage.push_back(program.toLocal8Bit());
    for (const QString& a : args)
        storage.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& s : storage)
        argv.push_back(s.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        run.error = QStringLiteral("cannot start %1").arg(program);
        return run;
    }
    int status = 0;
    struct rusage usage = {};
    if (wait4(pid, &status, 0, &usage) != pid) {
        run.error = QStringLiteral("cannot wait for %1").arg(program);
        return run;
    }
    run.seconds = double(timer.nsecsElapsed()) / 1e9;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.maxRssMiB = double(usage.ru_maxrss) / 1024.0; // kibibytes on Linux
#else
    Q_UNUSED(program)
    Q_UNUSED(args)
    run.error = QStringLiteral("child measurement is not available on this system");
#endif
    return run;
}
