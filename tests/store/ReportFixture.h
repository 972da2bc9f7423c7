#pragma once

#include "ScriptedPrompt.h"
#include "app/Session.h"

#include <QMap>
#include <QStringList>
#include <QVariant>

// Report files for the store's tests: sessions pointing into a folder, plain SQL on a file (no store code
// involved) to set up a case or to check what an operation left in the file, and the report model as text.
namespace ReportFixture {

inline const QString kUrl = QStringLiteral("https://example.org/r318/submit");
// The files setUp names, as files() lists them.
inline const QStringList kReportAndBackup{QStringLiteral("r318_TST.bak"), QStringLiteral("r318_TST.mdb")};

// Points a session's report paths into `dir` (r318_TST.mdb / .bak), HistorianURL = kUrl.
void setUp(Session& s, const QString& dir);

// Writes a report file as this version makes it at `path`, before its second opening sets the marker (or with
// `marker` as Misc.Rostrelv6), replacing any file there (and making no backup copy).
void write(const QString& path, const QVariant& marker = {});

void exec(const QString& path, const QString& sql, const QVariantList& params = {});
QVariant value(const QString& path, const QString& sql, const QVariantList& params = {});
// The rows of a query, each as its values joined by '|' ("<Null>" for Null).
QStringList lines(const QString& path, const QString& sql, const QVariantList& params = {});
// A table's columns as "name TYPE", in order.
QStringList columns(const QString& path, const QString& table);
// Every table's columns and rows in stored order, keyed by table name.
QMap<QString, QStringList> snapshot(const QString& path);

QByteArray bytes(const QString& path);
// Replaces the file at `path` with `data`; a file that cannot be written ends the test program.
void writeBytes(const QString& path, const QByteArray& data);
// File names in a folder (no folders), sorted.
QStringList files(const QString& dir);

// A current report file (created and opened once, so its marker is set) in `dir`, loaded into the model.
void openReport(Session& s, const QString& dir);
// Gives every value of the report file a value of its own that fits its field (but the squadron's identity, the
// marker, the officer list's titles and codes): a member on every officer line, an entry in every recognition slot.
void fillFile(const QString& path);
// The same for the model, by loading such a file.
void fillModel(ReportModel& m);
// Every value of the model as "name=value" lines, for comparing two models: an officer line as
// "Off<line>=order|title|code|H or -|cert|last|first|rank|grade", a recognition entry as
// "Rec<list>.<entry>=cert|last|first|rank|grade|office|category", the other values as "V<n>=value" (flags 0/1).
QStringList modelLines(const ReportModel& m);

} // namespace ReportFixture
