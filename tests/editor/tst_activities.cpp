// The activities and awards texts: picking a text, storing the box when it loses the focus or another text is
// picked, CR LF line breaks in the report, and a reload that must leave nothing to store.

#include "WindowFixture.h"
#include "WindowTestHelpers.h"

#include "editor/ActivitiesGroup.h"
#include "editor/ArchiveActions.h"
#include "editor/Scheme.h"
#include "store/ReportArchive.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QPlainTextEdit>

class TestActivities : public QObject
{
    Q_OBJECT

    static QString option(int i) { return QString("OptActivities_%1").arg(i); }
    static QString title(const WindowFixture& f) { return f.find<QGroupBox>("Frame11")->title(); }
    // Picks text i; its box once it has the focus.
    static QPlainTextEdit* pick(const WindowFixture& f, int i)
    {
        f.click(option(i));
        auto* box = f.find<QPlainTextEdit>("txtActivities");
        return QTest::qWaitFor([box] { return box->hasFocus(); }) ? box : nullptr;
    }

private Q_SLOTS:
    // A pick shows the text with its prompt as the group's title and marks its button, in both colour modes. Tab
    // leaves the box; picking another text stores the one shown, also when the click does not take the focus.
    void picking()
    {
        for (const QString mode : {"color", "mono"}) {
            WindowFixture f(mode);
            QVERIFY(f.start());
            QVERIFY(f.find("txtActivities")->isHidden());
            f.session.model.ActivityText[11] = "12 checks\r\n3 examiners";
            f.session.model.ActivityText[8] = "Web site award";
            QPlainTextEdit* box = pick(f, 11);
            QVERIFY(box);
            QCOMPARE(title(f), "Vessel Safety Checks: No of checks and examiners, awards");
            QCOMPARE(box->toPlainText(), "12 checks\n3 examiners");
            QVERIFY(f.window()->findChild<ActivitiesGroup*>()->activitiesTarget());
            QCOMPARE(f.find(option(11))->palette().color(QPalette::Button), Scheme::Picked);
            QVERIFY(f.find(option(0))->palette().color(QPalette::Button) != Scheme::Picked);
            QTest::keyClick(box, Qt::Key_Tab);
            QVERIFY(!box->hasFocus());
            QCOMPARE(f.session.model.ActivityText[11], "12 checks\r\n3 examiners");

            QVERIFY(pick(f, 0));
            QTest::keyClicks(box, "Twelve meetings\r"); // \r: the Return key
            f.find<QAbstractButton>(option(8))->click();
            QCOMPARE(f.session.model.ActivityText[0], "Twelve meetings");
            QCOMPARE(box->toPlainText(), "Web site award");
            QCOMPARE(title(f), "National: Excellence in journalism, web site, teaching aids");
        }
    }

    // Losing the focus stores the text without its trailing line breaks, with CR LF inside.
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

    // A click into the box of an inactive window gives it the focus as the window becomes active: what is typed
    // then is still stored at exit, and the texts never shown are stored as they were.
    void focusAsTheWindowBecomesActive()
    {
        WindowFixture f;
        QVERIFY(f.start());
        for (int i = 0; i < ReportModel::ActivityCount; ++i)
            f.session.model.ActivityText[std::size_t(i)] = QString("Text %1\r\nsecond line").arg(i);
        auto texts = f.session.model.ActivityText;
        texts[3] = "Council in May";
        QPlainTextEdit* box = pick(f, 3);
        QVERIFY(box);
        f.click("OptGrid_1"); // the grid is the member list's target now
        QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(box, &in);
        box->selectAll();
        box->insertPlainText("Council in May");
        f.close();
        QCOMPARE(storedModel(f.reportPath()).ActivityText, texts);
    }

    // A reload while the box had the focus (Abandon, or opening an archive and closing it again) empties and
    // hides it; the exit must not store the emptied box over the text that was saved.
    void reloadLeavesNothingToStore_data()
    {
        QTest::addColumn<bool>("throughArchive");
        QTest::newRow("abandon") << false;
        QTest::newRow("open and close an archive") << true;
    }

    void reloadLeavesNothingToStore()
    {
        QFETCH(bool, throughArchive);
        WindowFixture f;
        QVERIFY(f.start());
        f.session.model.FromDate = "Sep 1, 2025";
        f.session.model.ToDate = "Aug 31, 2026";
        QPlainTextEdit* box = pick(f, 5);
        QVERIFY(box);
        QTest::keyClicks(box, "Boat show\rParade");
        QVERIFY(f.trigger("mnuFileSave"));
        const QString archive = f.dataDir() + "r318_ASQ_2526A.mdb";
        if (throughArchive)
            QVERIFY(f.trigger("mnuFileAchive"));
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        if (throughArchive) {
            f.window()->archiveActions().setChooser([&](const QString&) {
                return OpenArchiveFile(f.session, archive, f.prompt) ? QStringLiteral("O") : QString();
            });
            QVERIFY(f.trigger("mnuFileOpen"));
            QVERIFY(f.trigger("mnuFileCloseArchive"));
        } else {
            QTest::keyClicks(box, " not kept");
            QVERIFY(f.trigger("mnuFileRevert"));
        }
        QVERIFY(box->isHidden());
        QCOMPARE(title(f), "Activities and Awards");
        f.close();
        QCOMPARE(storedModel(f.reportPath()).ActivityText[5], "Boat show\r\nParade");
        QCOMPARE(storedModel(f.session.CurrentBakPath).ActivityText[5], "Boat show\r\nParade");
    }
};

QTEST_MAIN(TestActivities)
#include "tst_activities.moc"
