// r318form: the add-in, started by the host with its command line.

#include "app/Session.h"
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "editor/DesktopBrowser.h"
#include "editor/R318grid.h"
#include "editor/WidgetPrompt.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("r318form"));

    // Only one copy runs: a later one brings the running copy's window to the front and ends.
    SingleInstance instance;
    if (!instance.claim()) {
        if (instance.reason().isEmpty())
            std::fprintf(stderr, "r318form: another copy is running; it was asked to come to the front\n");
        else
            std::fprintf(stderr, "r318form: %s\n", qUtf8Printable(instance.reason()));
        return 1;
    }
    if (!instance.reason().isEmpty())
        std::fprintf(stderr, "r318form: %s\n", qUtf8Printable(instance.reason()));

    WidgetPrompt prompt;
    Session session;
    const Startup::Outcome outcome = Startup::Main(session, Startup::joinArguments(app.arguments().mid(1)), prompt);
    if (outcome.kind != Startup::Outcome::Kind::Ready) {
        if (!outcome.reason.isEmpty())
            std::fprintf(stderr, "r318form: %s\n", qUtf8Printable(outcome.reason));
        return outcome.exitCode();
    }

    DesktopBrowser browser;
    R318grid window(session, prompt, browser);
    prompt.setParent(&window);
    QObject::connect(&instance, &SingleInstance::activationRequested, &window, &R318grid::bringToFront);
    // For the start-up benchmark: "loaded" on stdout once the report is shown, then the program ends.
    if (qEnvironmentVariableIsSet("R318_QUIT_WHEN_LOADED")) {
        QObject::connect(&window, &R318grid::reportLoaded, &window, [] {
            std::fputs("loaded\n", stdout);
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
    }
    window.show();
    const int status = QApplication::exec();
    session.host.closeAll();
    return status;
}
