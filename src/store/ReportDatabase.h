#pragma once

#include <QString>

class Prompt;
struct Session;

// Opens the report database at CurrentDBPath, creating it when it is missing; any other mode than empty
// always creates a new one in place of the current file. False when no usable report file stands at
// CurrentDBPath; *reason then says why.
bool OpenReportDatabase(Session& session, const QString& mode, Prompt& prompt, QString* reason = nullptr);
