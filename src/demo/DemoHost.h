#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// A complete fictional host for trying the add-in out and for end-to-end tests: the host's settings in an
// XDG_CONFIG_HOME tree, the data folder with both host databases, and a file that a shell sources to point
// the add-in at them. Everything is made from a fixed seed, so two demo hosts hold the same data.
//
// Layout under the demo folder DIR:
//   DIR/config/                  the settings tree (XDG_CONFIG_HOME)
//   DIR/data/Rostrelv3/ASQ.mdb   the primary host database
//   DIR/data/Rostrelv3/Squadrons.mdb
//   DIR/host.env                 exports XDG_CONFIG_HOME and R318_HOST_LINE; written last
namespace DemoHost {

inline constexpr char kSettingsApp[] = "Rostrel";
inline constexpr char kPrimaryDb[] = "ASQ.mdb";
inline constexpr char kSquadronsDb[] = "Squadrons.mdb";
inline constexpr char kSquadronName[] = "Alder Sound Squadron";
inline constexpr char kSquadronCode[] = "ASQ";
inline constexpr int kSquadronNo = 143;
inline constexpr int kDistrictNo = 27;
inline constexpr int kMemberCount = 300;
inline constexpr char kUserPw[] = "Tidewater-318";
// The submission page; the stored address ends with the "?" that opens the query.
inline constexpr char kHistorianUrl[] = "https://example.org/r318/submit.html?";

// The watch year the demo's data is built around: course completions, new senior members and the
// current officers belong to it.
QDate watchFrom();
QDate watchTo();

// The host's command line for the demo: "Rostrel,ASQ.mdb,Squadrons.mdb,<mode>".
QString hostLine(const QString& mode = QStringLiteral("color"));

// Paths inside a demo folder (absolute, with "/").
QString configDir(const QString& dir);
QString dataPath(const QString& dir);
QString dataDir(const QString& dir); // ends with "/"
QString envFilePath(const QString& dir);

// True when DIR holds a finished demo host (its host.env exists).
bool exists(const QString& dir);

// The text as a single-quoted word for a POSIX shell.
QString shellQuoted(const QString& text);

// The lines that start the add-in on the demo host in DIR; addinProgram is the path of r318form.
QStringList startInstructions(const QString& dir, const QString& addinProgram);

} // namespace DemoHost

// Creates the demo host in DIR, a new or empty folder. Refuses an existing demo host and a folder that
// holds anything else; on a failure removes what it made. False with the reason in *error.
bool CreateDemoHost(const QString& dir, QString* error);
