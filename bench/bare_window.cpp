// The least a window process costs: a bare main window shown offscreen, "loaded" on stdout at its first show
// (through a zero timer, as the add-in loads its report), then the end.

#include <QApplication>
#include <QMainWindow>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(800, 600);
    window.show();
    QTimer::singleShot(0, &window, [] {
        std::fputs("loaded\n", stdout);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    return QApplication::exec();
}
