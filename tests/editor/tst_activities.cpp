// The activities and awards texts: picking a text, storing the box when it loses the focus or another text is
// picked, CR LF line breaks in the report, and a reload that must leave nothing to store.

#include "WindowFixture.h"
#include "WindowTestHelpers.h"

#include "editor/ActivitiesGroup.h"
#include "editor/Scheme.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QPlainTextEdit>

namespace {

QString option(int i)
{
    return QStringLiteral("OptActivities_%1").arg(i);
}

// Picks text i; its box once it has the focus.
QPlainTextEdit* pick(const WindowFixture& f, int i)
{
    f.click(option(i));
    auto* box = f.find<QPlainTextEdit>("txtActivities");
    return QTest::qWaitFor([box] { return box->hasFocus(); }) ? box : nullptr;
}

QString title(const WindowFixture& f)
{
    return f.find<QGroupBox>("Frame11")->title();
}

} // namespace

class TestActivities : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pickShowsPromptAndText_data()
    {
        QTest::addColumn<QString>("mode");
        row("color", "color");
        row("mono", "mono");
    }
    void pickShowsPromptAndText()
    {
        QFETCH(QString, mode);
        WindowFixture f(mode);
        QVERIFY(f.start());
        QVERIFY(f.find("txtActivities")->isHidden());
        f.session.model.ActivityText[11] = "12 checks\r\n3 examiners";
        QPlainTextEdit* box = pick(f, 11);
        QVERIFY(box);
        QCOMPARE(title(f), "Vessel Safety Checks: No of checks and examiners, awards");
        QCOMPARE(box->toPlainText(), "12 checks\n3 examiners");
        QVERIFY(f.window()->findChild<ActivitiesGroup*>()->activitiesTarget());
        QCOMPARE(f.find(option(11))->palette().color(QPalette::Button), Scheme::Picked);
        QVERIFY(f.find(option(0))->palette().color(QPalette::Button) != Scheme::Picked);

        // Tab leaves the box instead of typing a tab.
        QTest::keyClick(box, Qt::Key_Tab);
        QVERIFY(!box->hasFocus());
        QCOMPARE(f.session.model.ActivityText[11], "12 checks\r\n3 examiners");
    }

    void focusLossStoresText_data()
    {
        QTest::addColumn<QString>("typed"); // \r: the Return key
        QTest::addColumn<QString>("stored");
        row("inner and trailing breaks", "Cruise to Bay\rRendezvous\r\r", "Cruise to Bay\r\nRendezvous");
        row("only breaks", "\r\r", "");
    }
    void focusLossStoresText()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        WindowFixture f;
        QVERIFY(f.start());
        f.session.model.ActivityText[1] = "Old text";
        QPlainTextEdit* box = pick(f, 1);
        QVERIFY(box);
        box->selectAll();
        QTest::keyClicks(box, typed);
        f.find("txtFind")->setFocus();
        QTRY_VERIFY(!box->hasFocus());
        QCOMPARE(f.session.model.ActivityText[1], stored);
        QCOMPARE(box->toPlainText(), QString(stored).replace("\r\n", "\n"));
        QVERIFY(f.trigger("mnuFileSave"));
        QCOMPARE(storedModel(f.reportPath()).ActivityText[1], stored);
    }

    void pickingAnotherTextStoresTheShownOne()
    {
        WindowFixture f;
        QVERIFY(f.start());
        f.session.model.ActivityText[8] = "Web site award";
        QPlainTextEdit* box = pick(f, 0);
        QVERIFY(box);
        QTest::keyClicks(box, "Twelve meetings\r");
        // A click from code does not take the focus from the box.
        f.find<QAbstractButton>(option(8))->click();
        QCOMPARE(f.session.model.ActivityText[0], "Twelve meetings");
        QCOMPARE(box->toPlainText(), "Web site award");
        QCOMPARE(title(f), "National: Excellence in journalism, web site, teaching aids");
    }

    void boxNeverFocusedChangesNothingAtExit()
    {
        WindowFixture f;
        QVERIFY(f.start());
        for (int i = 0; i < ReportModel::ActivityCount; ++i)
            f.session.model.ActivityText[std::size_t(i)] = QStringLiteral("Text %1\r\nsecond line").arg(i);
        const auto texts = f.session.model.ActivityText;
        f.close();
        QCOMPARE(storedModel(f.reportPath()).ActivityText, texts);
    }

    // A reload while the box had the focus empties and hides it; the exit must not store the emptied box
    // over the text that was saved.
    void reloadLeavesNothingToStore()
    {
        WindowFixture f;
        QVERIFY(f.start());
        QPlainTextEdit* box = pick(f, 5);
        QVERIFY(box);
        QTest::keyClicks(box, "Boat show\rParade");
        QVERIFY(f.trigger("mnuFileSave"));
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        QTest::keyClicks(box, " not kept");
        QVERIFY(f.trigger("mnuFileRevert"));
        QVERIFY(box->isHidden());
        QCOMPARE(title(f), "Activities and Awards");
        f.close();
        QCOMPARE(storedModel(f.reportPath()).ActivityText[5], "Boat show\r\nParade");
        QCOMPARE(storedModel(f.session.CurrentBakPath).ActivityText[5], "Boat show\r\nParade");
    }
};

QTEST_MAIN(TestActivities)
#include "tst_activities.moc"
