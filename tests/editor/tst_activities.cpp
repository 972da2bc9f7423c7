// The activities and awards texts: picking a text, storing the box when it loses the focus or another text is
// picked, CR LF line breaks in the report, and a reload that must leave nothing to store.

#include "WindowFixture.h"

#include "editor/ActivitiesGroup.h"
#include "editor/Scheme.h"
#include "store/ReportIO.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

namespace {

// Types the text as keys; a line break is the Return key.
void type(QWidget* box, const QString& text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClicks(box, lines[i]);
    }
}

// The activity texts as stored in the report file at path.
std::array<QString, ReportModel::ActivityCount> storedTexts(const QString& path)
{
    ReportSession stored;
    stored.CurrentDBPath = path;
    if (!LoadScalars(stored))
        qWarning("%s does not load", qPrintable(path));
    return stored.model.ActivityText;
}

QRadioButton* option(const WindowFixture& f, int i)
{
    return f.find<QRadioButton>(QStringLiteral("OptActivities_%1").arg(i));
}

} // namespace

class TestActivities : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pickShowsPromptAndText_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::newRow("color") << "color";
        QTest::newRow("mono") << "mono";
    }
    void pickShowsPromptAndText()
    {
        QFETCH(QString, mode);
        WindowFixture f(mode);
        QVERIFY(f.start());
        auto* box = f.find<QPlainTextEdit>("txtActivities");
        QVERIFY(box->isHidden());
        f.session.model.ActivityText[11] = "12 checks\r\n3 examiners";

        QTest::mouseClick(option(f, 11), Qt::LeftButton);
        QCOMPARE(f.find<QGroupBox>("Frame11")->title(), "Vessel Safety Checks: No of checks and examiners, awards");
        QVERIFY(box->isVisible());
        QCOMPARE(box->toPlainText(), "12 checks\n3 examiners");
        QTRY_VERIFY(box->hasFocus());
        QVERIFY(f.window()->findChild<ActivitiesGroup*>()->activitiesTarget());
        QCOMPARE(option(f, 11)->palette().color(QPalette::Button), Scheme::Picked);
        QVERIFY(option(f, 0)->palette().color(QPalette::Button) != Scheme::Picked);

        // Tab leaves the box instead of typing a tab.
        QTest::keyClick(box, Qt::Key_Tab);
        QVERIFY(!box->hasFocus());
        QCOMPARE(f.session.model.ActivityText[11], "12 checks\r\n3 examiners");
    }

    void focusLossStoresText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("inner and trailing breaks") << "Cruise to Bay\nRendezvous\n\n"
                                                   << "Cruise to Bay\r\nRendezvous";
        QTest::newRow("only breaks") << "\n\n" << QString();
    }
    void focusLossStoresText()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        WindowFixture f;
        QVERIFY(f.start());
        f.session.model.ActivityText[1] = "Old text";
        auto* box = f.find<QPlainTextEdit>("txtActivities");
        QTest::mouseClick(option(f, 1), Qt::LeftButton);
        QTRY_VERIFY(box->hasFocus());
        box->selectAll();
        type(box, typed);

        f.find<QLineEdit>("txtFind")->setFocus();
        QTRY_VERIFY(!box->hasFocus());
        QCOMPARE(f.session.model.ActivityText[1], stored);
        QCOMPARE(box->toPlainText(), QString(stored).replace("\r\n", "\n"));
        QVERIFY(f.trigger("mnuFileSave"));
        QCOMPARE(storedTexts(f.reportPath())[1], stored);
    }

    void pickingAnotherTextStoresTheShownOne()
    {
        WindowFixture f;
        QVERIFY(f.start());
        f.session.model.ActivityText[8] = "Web site award";
        auto* box = f.find<QPlainTextEdit>("txtActivities");
        QTest::mouseClick(option(f, 0), Qt::LeftButton);
        QTRY_VERIFY(box->hasFocus());
        type(box, "Twelve meetings\n");

        // A click from code does not take the focus from the box.
        option(f, 8)->click();
        QCOMPARE(f.session.model.ActivityText[0], "Twelve meetings");
        QCOMPARE(box->toPlainText(), "Web site award");
        QCOMPARE(f.find<QGroupBox>("Frame11")->title(), "National: Excellence in journalism, web site, teaching aids");
    }

    void boxNeverFocusedChangesNothingAtExit()
    {
        WindowFixture f;
        QVERIFY(f.start());
        for (int i = 0; i < ReportModel::ActivityCount; ++i)
            f.session.model.ActivityText[std::size_t(i)] = QStringLiteral("Text %1\r\nsecond line").arg(i);
        const auto texts = f.session.model.ActivityText;
        f.close();
        QCOMPARE(storedTexts(f.reportPath()), texts);
    }

    // A reload while the box had the focus empties and hides it; the exit must not store the emptied box
    // over the text that was saved.
    void reloadLeavesNothingToStore()
    {
        WindowFixture f;
        QVERIFY(f.start());
        auto* box = f.find<QPlainTextEdit>("txtActivities");
        QTest::mouseClick(option(f, 5), Qt::LeftButton);
        QTRY_VERIFY(box->hasFocus());
        type(box, "Boat show\nParade");
        QVERIFY(f.trigger("mnuFileSave"));

        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        type(box, " not kept");
        QVERIFY(f.trigger("mnuFileRevert"));
        QVERIFY(box->isHidden());
        QCOMPARE(f.find<QGroupBox>("Frame11")->title(), "Activities and Awards");
        f.close();

        const QString saved = "Boat show\r\nParade";
        QCOMPARE(storedTexts(f.reportPath())[5], saved);
        QCOMPARE(storedTexts(f.session.CurrentBakPath)[5], saved);
    }
};

QTEST_MAIN(TestActivities)
#include "tst_activities.moc"
