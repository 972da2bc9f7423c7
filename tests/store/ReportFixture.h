#pragma once

#include "ScriptedPrompt.h"
#include "app/Session.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <utility>
#include <vector>

// Report files for the store's tests: sessions pointing into a folder, report files of older schemas built
// by hand, and plain SQL reads of a file to check what an operation left in it.
namespace ReportFixture {

inline const QString kCode = QStringLiteral("TST");
inline const QString kUrl = QStringLiteral("https://example.org/r318/submit");

// Points a session's report paths into `dir` (r318_TST.mdb / .bak), HistorianURL = kUrl.
void setUp(Session& s, const QString& dir, const QString& code = kCode);

// The shape of a report file made by an older (or the current) version.
struct Shape
{
    bool ocSem = true;     // Education.OC_Sem
    bool bcSem = false;    // Education.BC_Sem (older files only)
    bool vsc = true;       // Activities.VSC
    bool awardS = true;    // Activities.Award_S
    bool submitUrl = true; // Misc.SubmitURL
    bool year = true;      // Misc.Year
    bool rostrelv6 = true; // Misc.Rostrelv6
    QVariant marker;       // value of Rostrelv6 (Null unless set)
    QVariant submitUrlValue;
    int categories = 7; // 6 in files made before the seventh recognition list
    // The Category of each Recognized row in stored order; empty: 24 rows for each of `categories`.
    std::vector<int> recognized;
    // Officer lines (title, code) in Forder order; empty: the current catalogue.
    std::vector<std::pair<QString, QString>> officers;
};

// A shape for the file of an earlier version: no OC_Sem but BC_Sem, no VSC/Award_S, no SubmitURL/Year/
// Rostrelv6, six recognition lists and an older officer list with a dropped code ("9999").
Shape olderShape();
// The officer list of older versions used by olderShape(): the current catalogue, with line 53's code
// changed to "9999" ("Port Engineer", an office since dropped) and "Teaching Aides" missing.
std::vector<std::pair<QString, QString>> olderOfficers();

// Writes a report file of that shape at `path` (replacing any file there), with the default rows.
void write(const QString& path, const Shape& shape);

// Plain SQL on a report file (no store code involved).
void exec(const QString& path, const QString& sql, const QVariantList& params = {});
// The same, reporting the engine's refusal instead of ending the test program.
bool tryExec(const QString& path, const QString& sql, const QVariantList& params = {}, QString* error = nullptr);
QList<QVariantList> rows(const QString& path, const QString& sql, const QVariantList& params = {});
QVariant value(const QString& path, const QString& sql, const QVariantList& params = {});
QStringList columns(const QString& path, const QString& table);
// Declared types of a table's columns, "name TYPE" each, in order.
QStringList declaredColumns(const QString& path, const QString& table);

// Every table's rows in stored order, each row as text ("<Null>" for Null), keyed by table name.
QMap<QString, QStringList> snapshot(const QString& path);

QByteArray bytes(const QString& path);
// File names in a folder (no folders), sorted.
QStringList files(const QString& dir);

// A current report file (created and opened once, so its marker is set) in `dir`, loaded into the model.
void openReport(Session& s, const QString& dir);
// Gives every value of the model a distinct value that fits its field.
void fillModel(ReportModel& m);
// Every value of the model as "name=value" lines, for comparing two models.
QStringList modelLines(const ReportModel& m);

// A prompt that runs a step of the test when it is asked, and answers what the step returns.
class ActingPrompt : public ScriptedPrompt
{
public:
    std::function<Answer(const Message&)> onAsk;
    Answer ask(const Message& message) override
    {
        shown.append(message);
        return onAsk ? onAsk(message) : Answer::Ok;
    }
};

} // namespace ReportFixture
