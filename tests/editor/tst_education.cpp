// The education panel: the scroll bar sets the selected course's count, selecting a course and showing the
// report move the bar without writing a count, counts beyond the bar's range, and the host's update buttons.

#include "WindowFixture.h"

#include "demo/DemoHost.h"
#include "host/MemberStats.h"
#include "store/DateText.h"
#include "store/ReportIO.h"

#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

namespace {

int shown(const WindowFixture& f, const QString& label)
{
    return f.find<QLabel>(label)->text().toInt();
}

void select(const WindowFixture& f, const QString& option)
{
    QTest::mouseClick(f.find<QRadioButton>(option), Qt::LeftButton);
}

// Moves the bar as the user does with the keyboard: steps down the bar add, up subtract.
void press(QScrollBar* bar, Qt::Key key, int times = 1)
{
    for (int i = 0; i < times; ++i)
        QTest::keyClick(bar, key);
}

// The model's count of course i of an advanced grade (0), elective (1), other course (2) or public boating
// course (3).
qint32 count(const ReportModel& model, int group, int i)
{
    switch (group) {
    case 0:
        return model.AGCount[std::size_t(i)];
    case 1:
        return model.EGCount[std::size_t(i)];
    case 2:
        return model.OCCount[std::size_t(i)];
    }
    return model.BCCount[std::size_t(i)];
}

} // namespace

class TestEducation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void barSetsSelectedCourse()
    {
        WindowFixture f;
        QVERIFY(f.start());
        ReportModel& model = f.session.model;
        model.AGCount = {5, 0, 1, 2, 0};
        model.EGCount = {0, 4, 0, 0, 0, 0};
        f.window()->Fillvalues();
        QCOMPARE(shown(f, "lblAGtot"), 8);
        QCOMPARE(shown(f, "lblEdTot"), 12);
        auto* bar = f.find<QScrollBar>("AGscroll");

        select(f, "optAG_3");
        QCOMPARE(bar->value(), 2);
        press(bar, Qt::Key_Down, 5);
        QCOMPARE(shown(f, "lblAG_3"), 7);
        QCOMPARE(model.AGCount[3], 7);
        QCOMPARE(shown(f, "lblAGtot"), 13);
        QCOMPARE(shown(f, "lblEdTot"), 17);

        // Another course: the bar shows its count, no count changes.
        select(f, "optAG_0");
        QCOMPARE(bar->value(), 5);
        QCOMPARE(model.AGCount, (std::array<qint32, 5>{5, 0, 1, 7, 0}));
        QCOMPARE(shown(f, "lblAG_3"), 7);

        // Showing the report again with a course selected changes nothing either.
        model.AGCount[0] = 9;
        f.window()->Fillvalues();
        QCOMPARE(bar->value(), 9);
        QCOMPARE(model.AGCount, (std::array<qint32, 5>{9, 0, 1, 7, 0}));
        QCOMPARE(shown(f, "lblEdTot"), 21);

        // A bar without a selected course writes no count.
        auto* electives = f.find<QScrollBar>("EGscroll");
        press(electives, Qt::Key_Down, 3);
        QCOMPARE(model.EGCount, (std::array<qint32, 6>{0, 4, 0, 0, 0, 0}));
        QCOMPARE(shown(f, "lblEGtot"), 4);
        QCOMPARE(shown(f, "lblEdTot"), 21);
    }

    void barRange_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("scroll");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("total");
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("course");
        QTest::addColumn<int>("top");
        QTest::newRow("advanced grades") << "optAG_4"
                                         << "AGscroll"
                                         << "lblAG_4"
                                         << "lblAGtot" << 0 << 4 << 250;
        QTest::newRow("electives") << "optEG_5"
                                   << "EGscroll"
                                   << "lblEG_5"
                                   << "lblEGtot" << 1 << 5 << 250;
        QTest::newRow("other courses") << "OptOC_3"
                                       << "OCscroll"
                                       << "lblOC_3"
                                       << "lblOCtot" << 2 << 3 << 250;
        QTest::newRow("public boating") << "OptBC_1"
                                        << "BCscroll"
                                        << "lblBC_1"
                                        << "lblBCtot" << 3 << 1 << 2500;
    }
    void barRange()
    {
        QFETCH(QString, option);
        QFETCH(QString, scroll);
        QFETCH(QString, label);
        QFETCH(QString, total);
        QFETCH(int, group);
        QFETCH(int, course);
        QFETCH(int, top);
        WindowFixture f;
        QVERIFY(f.start());
        select(f, option);
        press(f.find<QScrollBar>(scroll), Qt::Key_End);
        QCOMPARE(count(f.session.model, group, course), top);
        QCOMPARE(shown(f, label), top);
        QCOMPARE(shown(f, total), top);
        QCOMPARE(shown(f, "lblEdTot"), top);
    }

    // A count above the bar's range, written by another path, is neither cut by selecting its course nor by
    // reloading the report with the course selected.
    void countAboveRangeStays()
    {
        WindowFixture f;
        QVERIFY(f.start());
        f.session.model.AGCount[1] = 300;
        QVERIFY(f.trigger("mnuFileSave"));
        f.window()->LoadFormData(false);
        QCOMPARE(shown(f, "lblAG_1"), 300);

        select(f, "optAG_1");
        QCOMPARE(f.find<QScrollBar>("AGscroll")->value(), 250);
        QVERIFY(f.trigger("mnuFileSave"));
        f.window()->LoadFormData(false);
        QCOMPARE(f.session.model.AGCount[1], 300);
        QCOMPARE(shown(f, "lblAG_1"), 300);
        QCOMPARE(shown(f, "lblAGtot"), 300);
        QCOMPARE(shown(f, "lblEdTot"), 300);

        ReportSession stored;
        stored.CurrentDBPath = f.reportPath();
        QVERIFY(LoadScalars(stored));
        QCOMPARE(stored.model.AGCount[1], 300);
    }

    void updateWithoutHostData_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("told");
        QTest::newRow("nothing selected") << QString() << "cmdAGdb" << QStringList();
        QTest::newRow("seminar") << "OptOC_3"
                                 << "cmdOCdb" << QStringList{"Rostrel does not support data on the selected topic."};
    }
    void updateWithoutHostData()
    {
        QFETCH(QString, option);
        QFETCH(QString, button);
        QFETCH(QStringList, told);
        WindowFixture f;
        QVERIFY(f.start());
        ReportModel& model = f.session.model;
        model.FromDate = DateText::displayText(DemoHost::watchFrom());
        model.ToDate = DateText::displayText(DemoHost::watchTo());
        model.AGCount = {1, 2, 3, 4, 5};
        model.OCCount = {6, 7, 8, 9};
        f.window()->Fillvalues();
        if (!option.isEmpty())
            select(f, option);
        f.prompt.clear();

        QTest::mouseClick(f.find<QWidget>(button), Qt::LeftButton);
        QCOMPARE(f.prompt.texts(), told);
        QCOMPARE(model.AGCount, (std::array<qint32, 5>{1, 2, 3, 4, 5}));
        QCOMPARE(model.OCCount, (std::array<qint32, 4>{6, 7, 8, 9}));
        QCOMPARE(shown(f, "lblOC_3"), 9);
        QCOMPARE(shown(f, "lblEdTot"), 45);
    }

    void updateFromHost()
    {
        WindowFixture f;
        QVERIFY(f.start());
        ReportModel& model = f.session.model;
        model.FromDate = DateText::displayText(DemoHost::watchFrom());
        model.ToDate = DateText::displayText(DemoHost::watchTo());
        model.AGCount = {0, 0, 0, 300, 0};
        f.window()->Fillvalues();
        const qint32 completions = FindCourseCompletion(f.session, QStringLiteral("GH_JN"));
        select(f, "optAG_3");
        f.prompt.setDefaultAnswer(Prompt::Answer::Yes);

        QTest::mouseClick(f.find<QWidget>("cmdAGdb"), Qt::LeftButton);
        QCOMPARE(model.AGCount[3], completions);
        QCOMPARE(shown(f, "lblAG_3"), completions);
        QCOMPARE(f.find<QScrollBar>("AGscroll")->value(), completions);
        QCOMPARE(shown(f, "lblAGtot"), completions);
        QCOMPARE(shown(f, "lblEdTot"), completions);
    }
};

QTEST_MAIN(TestEducation)
#include "tst_education.moc"
