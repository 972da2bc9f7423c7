// Wheel turns over the main window scroll the recognition grid three rows a notch, when the host's mouse
// setting is on.

#include "WindowFixture.h"

#include "editor/RecognitionGroup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTableWidget>
#include <QTest>
#include <QWheelEvent>

namespace {

// Sends a wheel turn to the widget, as the platform delivers it under the pointer.
void turn(QWidget* widget, QPoint delta)
{
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QWheelEvent wheel(at, widget->mapToGlobal(at), QPoint(), delta, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(widget, &wheel);
}

} // namespace

class TestWheel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scrollsTheGrid()
    {
        WindowFixture f;
        QVERIFY(f.start());
        QVERIFY(f.window()->scrollsGridByWheel());
        auto* grid = f.find<RecognitionGroup>("Frame2");
        grid->showCategory(3);
        QCOMPARE(grid->rows(), 25);
        QWidget* over = f.find<QWidget>("Frame7"); // anywhere over the window

        turn(over, {0, 120}); // away from the user, at the top
        QCOMPARE(grid->topRow(), 1);
        turn(over, {0, -120});
        QCOMPARE(grid->topRow(), 4);
        turn(over, {0, -60}); // half a notch of a fine wheel waits for the other half
        QCOMPARE(grid->topRow(), 4);
        turn(over, {0, -60});
        QCOMPARE(grid->topRow(), 7);
        turn(over, {120, 0}); // sideways only
        QCOMPARE(grid->topRow(), 7);
        for (int i = 0; i < 10; ++i)
            turn(f.find<QTableWidget>("Grid")->viewport(), {0, -120});
        QCOMPARE(grid->topRow(), 24); // the last row at the top, no further

        // The member list keeps its own scrolling under the pointer.
        auto* list = f.find<QListWidget>("cmbName");
        const int listTop = list->indexAt(QPoint(2, 2)).row();
        turn(list->viewport(), {0, -120});
        QVERIFY(list->indexAt(QPoint(2, 2)).row() > listTop);
        QCOMPARE(grid->topRow(), 24);
    }

    void settingOffInstallsNothing()
    {
        WindowFixture f;
        QVERIFY(f.start([](const QString& dataDir) {
            const QString conf = QDir(dataDir + "../../config/VB and VBA Program Settings").filePath("Rostrel.conf");
            QFile file(conf);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray text = file.readAll().replace("Mouse=True", "Mouse=False");
            file.close();
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(text);
        }));
        QVERIFY(!f.window()->scrollsGridByWheel());
        auto* grid = f.find<RecognitionGroup>("Frame2");
        grid->showCategory(3);
        turn(f.find<QWidget>("Frame7"), {0, -120});
        QCOMPARE(grid->topRow(), 1);
    }
};

QTEST_MAIN(TestWheel)
#include "tst_wheel.moc"
