#pragma once

#include "store/ReportIO.h"
#include "store/ReportSession.h"

#include <QTest>

// Adds a row to the current QTest data table: its name, then one value per column in order.
template <typename... Values> void row(const char* name, const Values&... values)
{
    (QTest::newRow(name) << ... << values);
}

// The report model as stored in the report file at `path`.
inline ReportModel storedModel(const QString& path)
{
    ReportSession stored;
    stored.CurrentDBPath = path;
    if (!LoadScalars(stored))
        qWarning("%s does not load", qPrintable(path));
    return stored.model;
}
