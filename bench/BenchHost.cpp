#include "BenchHost.h"

#include "DistrictHost.h"

#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

const BenchHost& benchHost()
{
    static std::unique_ptr<QTemporaryDir> dir;
    static BenchHost host;
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        host.root = dir->path();
        QString error;
        host.commandLine = CreateDistrictHost(host.root, {}, &error);
        if (host.commandLine.isEmpty()) {
            std::fprintf(stderr, "cannot create the district host: %s\n", qPrintable(error));
            std::exit(1);
        }
        host.dataDir = host.root + QStringLiteral("/data/Rostrelv3/");
        host.primaryPath = host.dataDir + QStringLiteral("BNQ.mdb");
    }
    return host;
}

long long sqliteFloor(const QString& databasePath, const char* statement)
{
    sqlite3* db = nullptr;
    long long bytes = 0;
    if (sqlite3_open_v2(databasePath.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        return -1;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, statement, -1, &stmt, nullptr) == SQLITE_OK) {
        const int columns = sqlite3_column_count(stmt);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int c = 0; c < columns; ++c) {
                sqlite3_column_text(stmt, c);
                bytes += sqlite3_column_bytes(stmt, c);
            }
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return bytes;
}
