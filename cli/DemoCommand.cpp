// The demo host: a complete fictional squadron to try the add-in on.

#include "Cli.h"

#include "demo/DemoHost.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// The add-in's program: beside the command-line tool in an installation, in src/ of a build tree.
QString addinProgram()
{
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("r318form.exe");
#else
    const QString name = QStringLiteral("r318form");
#endif
    const QDir here(QCoreApplication::applicationDirPath());
    for (const QString& candidate : {here.filePath(name), here.filePath(QStringLiteral("../src/") + name)}) {
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    }
    return name;
}

int demo(CliContext& c)
{
    if (c.args.size() != 1) {
        *c.err << "usage: r318form-cli demo DIR\n";
        return 2;
    }
    const QString dir = QDir::cleanPath(QFileInfo(c.args.first()).absoluteFilePath());
    QString error;
    if (!CreateDemoHost(dir, &error)) {
        *c.err << "r318form-cli: demo: " << error << '\n';
        return 1;
    }
    *c.out << "Demo host created in " << dir << ": " << DemoHost::kSquadronName << " (" << DemoHost::kSquadronCode
           << "), " << DemoHost::kMemberCount << " members.\n";
    for (const QString& line : DemoHost::startInstructions(dir, addinProgram()))
        *c.out << line << '\n';
    return 0;
}

const CliRegistrar demoCommand({"demo", false, demo,
                                "demo DIR               create the demo host in DIR (a new or empty folder)"});

} // namespace
