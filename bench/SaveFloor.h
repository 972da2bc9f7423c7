#pragma once

#include <QString>

struct ReportModel;

// The save's writes through the SQLite C API: every row of the report file updated with the model's values in
// one transaction, with the engine's default journal and syncing (as durable as the add-in's save), the file
// opened and closed around it. What storing these values costs at the least. False when the file cannot be
// written.
bool RunSaveFloor(const QString& path, ReportModel& model);
