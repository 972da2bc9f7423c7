// The education panel: the scroll bar sets the selected course's count, selecting a course and showing the
// report move the bar without writing a count, counts beyond the bar's range, and the host's update buttons.

#include "WindowFixture.h"
#include "WindowTestHelpers.h"

#include "demo/DemoHost.h"
#include "host/MemberStats.h"
#include "store/DateText.h"

#include <QLabel>
#include <QScrollBar>

class TestEducation : public QObject
{
    Q_OBJECT

    // The numbers the labels (names separated by blanks) show.
    static QList<int> shown(const WindowFixture& f, const QString& labels)
    {
        QList<int> numbers;
        for (const QString& label : labels.split(' '))
            numbers << f.find<QLabel>(label)->text().toInt();
        return numbers;
    }
    // Moves the bar as the user does with the keyboard: steps down the bar add.
    static void press(QScrollBar* bar, Qt::Key key, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(bar, key);
    }

private Q_SLOTS:
    void barSetsSelectedCourse()
    {
        WindowFixture f;
        QVERIFY(f.start());
        ReportModel& m = f.session.model;
        m.AGCount = {5, 0, 1, 2, 0};
        m.EGCount = {0, 4, 0, 0, 0, 0};
        f.window()->Fillvalues();
        auto* bar = f.find<QScrollBar>("AGscroll");
        f.click("optAG_3");
        QCOMPARE(bar->value(), 2);
        press(bar, Qt::Key_Down, 5);
        QCOMPARE(m.AGCount[3], 7);
        QCOMPARE(shown(f, "lblAG_3 lblAGtot lblEdTot"), QList<int>({7, 13, 17}));

        // Selecting another course, or showing the report again, moves the bar and changes no count.
        f.click("optAG_0");
        QCOMPARE(bar->value(), 5);
        QCOMPARE(m.AGCount, (std::array<qint32, 5>{5, 0, 1, 7, 0}));
        m.AGCount[0] = 9;
        f.window()->Fillvalues();
        QCOMPARE(bar->value(), 9);
        QCOMPARE(m.AGCount, (std::array<qint32, 5>{9, 0, 1, 7, 0}));
        QCOMPARE(shown(f, "lblAG_3 lblEdTot"), QList<int>({7, 21}));

        // A bar without a selected course writes no count.
        press(f.find<QScrollBar>("EGscroll"), Qt::Key_Down, 3);
        QCOMPARE(m.EGCount, (std::array<qint32, 6>{0, 4, 0, 0, 0, 0}));
        QCOMPARE(shown(f, "lblEGtot lblEdTot"), QList<int>({4, 21}));
    }

    void barRange_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("group");
        QTest::addColumn<int>("top");
        row("advanced grades", "optAG_4", "AG", 250);
        row("electives", "optEG_5", "EG", 250);
        row("other courses", "OptOC_3", "OC", 250);
        row("public boating", "OptBC_1", "BC", 2500);
    }
    void barRange()
    {
        QFETCH(QString, option);
        QFETCH(QString, group);
        QFETCH(int, top);
        WindowFixture f;
        QVERIFY(f.start());
        f.click(option);
        press(f.find<QScrollBar>(group + "scroll"), Qt::Key_End);
        const QString labels = QString("lbl%1_%2 lbl%1tot lblEdTot").arg(group, option.right(1));
        QCOMPARE(shown(f, labels), QList<int>({top, top, top}));
        const ReportModel& m = f.session.model; // all counts are 0 but the one set
        QCOMPARE(m.AGCount[4] + m.EGCount[5] + m.OCCount[3] + m.BCCount[1], top);
    }

    // A count above the bar's range, written by another path, is neither cut by selecting its course nor by
    // reloading the report with the course selected.
    void countAboveRangeStays()
    {
        WindowFixture f;
        QVERIFY(f.start());
        f.session.model.AGCount[1] = 300;
        f.window()->Fillvalues();
        f.click("optAG_1");
        QVERIFY(f.trigger("mnuFileSave"));
        f.window()->LoadFormData(false);
        QCOMPARE(f.session.model.AGCount[1], 300);
        QCOMPARE(storedModel(f.reportPath()).AGCount[1], 300);
        QCOMPARE(shown(f, "lblAG_1 lblAGtot lblEdTot"), QList<int>({300, 300, 300}));
    }

    // An update button sets the selected course's count, label, bar and totals from the host; with no course
    // selected, or one the host does not hold, nothing changes.
    void updateFromHost_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("told"); // %1: the host's count
        row("nothing selected", "", "cmdAGdb", "");
        row("seminar", "OptOC_3", "cmdOCdb", "Rostrel does not support data on the selected topic.");
        row("junior navigation", "optAG_3", "cmdAGdb", "Rostrel lists %1, change current value");
    }
    void updateFromHost()
    {
        QFETCH(QString, option);
        QFETCH(QString, button);
        QFETCH(QString, told);
        WindowFixture f;
        QVERIFY(f.start());
        ReportModel& m = f.session.model;
        m.FromDate = DateText::displayText(DemoHost::watchFrom());
        m.ToDate = DateText::displayText(DemoHost::watchTo());
        m.AGCount = {1, 2, 3, 300, 5};
        m.OCCount = {6, 7, 8, 9};
        f.window()->Fillvalues();
        const QString host = QString::number(FindCourseCompletion(f.session, "GH_JN"));
        const int jn = told.contains("%1") ? host.toInt() : 300;
        if (!option.isEmpty())
            f.click(option);
        f.prompt.clear();
        f.prompt.setDefaultAnswer(Prompt::Answer::Yes);

        f.click(button);
        QCOMPARE(f.prompt.texts().join(""), told.replace("%1", host));
        QCOMPARE(m.AGCount, (std::array<qint32, 5>{1, 2, 3, jn, 5}));
        QCOMPARE(m.OCCount, (std::array<qint32, 4>{6, 7, 8, 9}));
        QCOMPARE(shown(f, "lblAG_3 lblOC_3 lblAGtot lblEdTot"), QList<int>({jn, 9, 11 + jn, 41 + jn}));
        if (jn != 300)
            QCOMPARE(f.find<QScrollBar>("AGscroll")->value(), jn);
    }
};

QTEST_MAIN(TestEducation)
#include "tst_education.moc"
