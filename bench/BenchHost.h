#pragma once

#include <QString>

// The district host shared by all benchmarks of one run, made once in a temporary folder.
struct BenchHost
{
    QString root;
    QString commandLine;
    QString primaryPath;
    QString dataDir;
};

const BenchHost& benchHost();

// Reads every row of a statement through the SQLite C API, touching every column: what running the
// statement costs at the least.
long long sqliteFloor(const QString& databasePath, const char* statement);
