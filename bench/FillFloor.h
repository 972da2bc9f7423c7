#pragma once

#include <QString>

struct ReportModel;

// The statements Fill from host sends, as the host writes them (in the engine's reading of "= NULL" and of
// case-blind text), run through the SQLite C API on one connection, reading every row and column: what running
// them costs at the least. withRecordsets adds the two member recordsets that the first Fill after a fresh
// start-up reads (all members by name, the current committee rows).
struct FillFloorRun
{
    int statements = 0;
    long long rows = 0;
};

FillFloorRun RunFillFloor(const QString& primaryPath, const ReportModel& model, bool withRecordsets);
