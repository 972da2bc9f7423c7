// The About window: its version text, a click anywhere closes it, the picture moves only while it is shown.

#include "WindowTestHelpers.h"

#include "editor/AboutDialog.h"
#include "editor/Scheme.h"

#include <QTimer>

class TestAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void versionText_data()
    {
        QTest::addColumn<QString>("project");
        QTest::addColumn<QString>("shown");
        row("three numbers", QString("7.0.0"), QString("7.0.0"));
        row("a fourth number", QString("7.0.0.12"), QString("7.0.0"));
        row("two numbers", QString("7.1"), QString("7.1.0"));
    }
    void versionText()
    {
        QFETCH(QString, project);
        QFETCH(QString, shown);
        QCOMPARE(AboutDialog::versionText(project), shown);
    }

    // A click on a label, the picture or the window's margin closes it; the picture moves only while it is shown.
    void clickClosesAndAnimation_data()
    {
        QTest::addColumn<QString>("target");
        row("title label", QString("lblTitle"));
        row("picture", QString("picAbout"));
        row("window", QString("About"));
    }
    void clickClosesAndAnimation()
    {
        QFETCH(QString, target);
        QWidget window;
        Scheme::setBackground(&window, Scheme::Background);
        AboutDialog dlg(&window);
        QCOMPARE(dlg.palette().color(QPalette::Window), Scheme::Background);
        dlg.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const int first = dlg.frame();
        QTRY_VERIFY(dlg.frame() > first + 1);
        auto* timer = dlg.findChild<QTimer*>();
        QVERIFY(timer && timer->isActive());
        auto* widget = target == dlg.objectName() ? &dlg : dlg.findChild<QWidget*>(target);
        // The window itself is clicked in its margin, where no label or picture lies.
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget == &dlg ? QPoint(3, 3) : widget->rect().center());
        QTRY_VERIFY(!dlg.isVisible());
        QVERIFY(!timer->isActive());
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
