// A copy of the program's single-instance guard in a process of its own: prints "ready" once it runs as the
// only copy, "activated" (and ends) when a later copy asks it to come to the front, "second" when it is the
// later copy.

#include "app/SingleInstance.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    SingleInstance instance(args.at(1), args.at(2));
    if (!instance.claim()) {
        std::printf("second\n");
        return 3;
    }
    QObject::connect(&instance, &SingleInstance::activationRequested, &app, [] {
        std::printf("activated\n");
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    std::printf("ready\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}
