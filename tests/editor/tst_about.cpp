// The About window: its version text, a click anywhere closes it, the picture moves only while it is shown.

#include "editor/AboutDialog.h"
#include "editor/Scheme.h"

#include <QTest>
#include <QTimer>

class TestAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void versionText_data()
    {
        QTest::addColumn<QString>("project");
        QTest::addColumn<QString>("shown");
        QTest::newRow("three numbers") << "7.0.0"
                                       << "7.0.0";
        QTest::newRow("a fourth number") << "7.0.0.12"
                                         << "7.0.0";
        QTest::newRow("two numbers") << "7.1"
                                     << "7.1.0";
    }
    void versionText()
    {
        QFETCH(QString, project);
        QFETCH(QString, shown);
        QCOMPARE(AboutDialog::versionText(project), shown);
    }

    void clickCloses_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("title label") << "lblTitle";
        QTest::newRow("version label") << "lblVersion";
        QTest::newRow("picture") << "picAbout";
        QTest::newRow("window") << "About";
    }
    void clickCloses()
    {
        QFETCH(QString, target);
        AboutDialog dlg;
        dlg.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto* widget = target == dlg.objectName() ? &dlg : dlg.findChild<QWidget*>(target);
        QVERIFY(widget);
        // The window itself is clicked in its margin, where no label or picture lies.
        const QPoint at = widget == &dlg ? QPoint(3, 3) : widget->rect().center();
        QTest::mouseClick(widget, Qt::LeftButton, {}, at);
        QTRY_VERIFY(!dlg.isVisible());
    }

    void animatesWhileShown()
    {
        AboutDialog dlg;
        dlg.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const int first = dlg.frame();
        QTRY_VERIFY(dlg.frame() > first + 1);
        auto* timer = dlg.findChild<QTimer*>();
        QVERIFY(timer && timer->isActive());
        dlg.reject();
        QVERIFY(!timer->isActive());
    }

    void takesTheWindowsColours()
    {
        QWidget window;
        Scheme::setBackground(&window, Scheme::Background);
        AboutDialog dlg(&window);
        QCOMPARE(dlg.palette().color(QPalette::Window), Scheme::Background);
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
