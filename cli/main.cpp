// r318form-cli: the add-in's start-up without a window, for batch work and end-to-end tests.

#include "Cli.h"

#include "app/Session.h"
#include "app/Startup.h"
#include "base/Prompt.h"
#include "host/FillFromHost.h"
#include "store/ReportIO.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <memory>

namespace {
QList<CliCommand>& registry()
{
    static QList<CliCommand> commands;
    return commands;
}

// True for a command that draws pages: it needs fonts and the printer, which only a graphical application has
// (on the offscreen platform unless told otherwise; the tool shows no window).
bool drawsPages(int argc, char** argv)
{
    int i = 1;
    if (i < argc && qstrcmp(argv[i], "--host") == 0)
        i += 2;
    for (const CliCommand& c : registry()) {
        if (i < argc && qstrcmp(argv[i], c.name) == 0)
            return c.drawsPages;
    }
    return false;
}

int usage(QTextStream& err)
{
    err << "usage: r318form-cli --host \"APP,PRIMARY,SQUADRONS,MODE\" COMMAND [ARGS...]\n"
           "       r318form-cli COMMAND [ARGS...]\n\ncommands:\n";
    for (const CliCommand& c : registry())
        err << "  " << c.usage << '\n';
    err.flush();
    return 2;
}
} // namespace

CliRegistrar::CliRegistrar(const CliCommand& command)
{
    registry().append(command);
}

const QList<CliCommand>& cliCommands()
{
    return registry();
}

bool loadStoredReport(CliContext& c, bool lookups)
{
    Session& session = *c.session;
    QString why;
    if (!LoadReport(session, &why)) {
        *c.err << "r318form-cli: the report file " << session.CurrentDBPath << " could not be read: " << why << '\n';
        c.err->flush();
        return false;
    }
    if (lookups)
        LoadTimeLookups(session, false, *c.prompt);
    return true;
}

int main(int argc, char** argv)
{
    std::unique_ptr<QCoreApplication> application;
    if (drawsPages(argc, argv)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication& app = *application;
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList args = app.arguments().mid(1);
    QString hostLine;
    bool haveHost = false;
    if (!args.isEmpty() && args.first() == QLatin1String("--host")) {
        if (args.size() < 2)
            return usage(err);
        hostLine = args.at(1);
        haveHost = true;
        args = args.mid(2);
    }
    if (args.isEmpty())
        return usage(err);
    const QString name = args.takeFirst();
    const CliCommand* command = nullptr;
    for (const CliCommand& c : registry()) {
        if (name == QLatin1String(c.name))
            command = &c;
    }
    if (!command) {
        err << "r318form-cli: unknown command " << name << '\n';
        err.flush();
        return usage(err);
    }

    BatchPrompt prompt;
    Session session;
    CliContext context{nullptr, args, &prompt, &out, &err};
    if (command->needsHost) {
        if (!haveHost) {
            err << "r318form-cli: " << name << " needs --host \"APP,PRIMARY,SQUADRONS,MODE\"\n";
            err.flush();
            return 2;
        }
        const Startup::Outcome outcome = Startup::Main(session, hostLine, prompt);
        if (outcome.kind == Startup::Outcome::Kind::Refused) {
            err << "r318form-cli: start-up refused: " << outcome.reason << '\n';
            err.flush();
            return 1;
        }
        if (outcome.kind == Startup::Outcome::Kind::Registered) {
            out << "registered\n";
            return 0;
        }
        context.session = &session;
    }
    const int status = command->run(context);
    out.flush();
    err.flush();
    session.host.closeAll();
    return status;
}
