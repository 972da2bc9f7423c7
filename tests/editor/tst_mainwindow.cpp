// The main window: its frame and menus, loading the report, the archive items, the colour modes, the key
// preview, Save, Revert, Submit and the exit sequence.

#include "WindowFixture.h"

#include <QAction>
#include <QMenu>
#include <QTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadsAtFirstShow()
    {
        WindowFixture f;
        QVERIFY(f.start());
        QCOMPARE(f.window()->windowTitle(), "Form " + QDir::toNativeSeparators(f.reportPath()));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
