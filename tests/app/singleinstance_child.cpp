// The program's single-instance guard in a process of its own: prints "ready" when it runs as the only copy,
// "activated" (and ends) when a later copy asks it to come to the front, "second" when it is the later copy.

#include "app/SingleInstance.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    SingleInstance instance(app.arguments().value(1), app.arguments().value(2));
    if (!instance.claim())
        return std::printf("second\n"), 3;
    QObject::connect(&instance, &SingleInstance::activationRequested, &app, [] {
        std::printf("activated\n");
        QCoreApplication::quit();
    });
    std::printf("ready\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}
