// The member list: the search box, Add to the grid and to an activity text, Remove, the submitting officer
// from the list, and Fill and Refresh from the File menu.

#include "WindowFixture.h"

#include "HostFixture.h"

#include "demo/DemoHost.h"
#include "editor/MemberListGroup.h"
#include "editor/RecognitionGroup.h"
#include "store/DateText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

namespace {

// Selects entry `row` of the member list.
void selectMember(WindowFixture& f, int row)
{
    f.find<QListWidget>("cmbName")->setCurrentRow(row);
}

// The first member of the list without rank, grade or any office (made so before start-up).
void plainFirstMember(const QString& dataDir)
{
    HostFixture::Writer w(dataDir + DemoHost::kPrimaryDb);
    const QString first = "(SELECT Mem_ID FROM Members ORDER BY Last, First LIMIT 1)";
    w.exec("UPDATE Members SET SquadRank = NULL, Rank = NULL, Grade = NULL WHERE Mem_ID = " + first);
    w.exec("DELETE FROM MemberCom WHERE Mem_ID = " + first);
}

} // namespace

class TestMemberList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void findListMatch_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("index");
        // Abel, Baker, Baxter, Cole, Dunn
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("exact start") << "Bax" << 2;
        QTest::newRow("lower case") << "bak" << 1;
        QTest::newRow("letter before every name") << "A" << 0;
        QTest::newRow("no name with that letter") << "Ca" << 3;
        QTest::newRow("between two names") << "Bz" << 2;
        QTest::newRow("letter missing between") << "D" << 4;
        QTest::newRow("letter past every name") << "Z" << 4;
        QTest::newRow("before the first") << "0" << -1;
    }

    void findListMatch()
    {
        QFETCH(QString, text);
        QFETCH(int, index);
        QCOMPARE(FindListMatch({"Abel, Amy", "Baker, Bo", "Baxter, Al", "Cole, Cy", "Dunn, Di"}, text), index);
    }

    // Add on an Executive row lands in the first one without a certificate; a name without one counts as empty.
    void addToOfficerRun()
    {
        WindowFixture f;
        QVERIFY(f.start());
        ReportModel& m = f.session.model;
        QVERIFY(m.officerCount() >= 30);
        for (int row = 19; row <= 30; ++row) {
            m.officer(row).Cert = row < 21 ? QString("90000%1").arg(row) : QString();
            m.officer(row).Last = row == 21 ? "Nameonly" : QString();
        }
        auto* grid = f.find<RecognitionGroup>("Frame2");
        grid->showCategory(0);
        grid->setCurrentCell(25, 3);
        selectMember(f, 1);
        QTest::mouseClick(f.find<QPushButton>("cmdAdd"), Qt::LeftButton);
        QVERIFY(!m.officer(21).Cert.isEmpty());
        QVERIFY(m.officer(21).Last != "Nameonly");
        QCOMPARE(grid->cellText(21, 3), m.officer(21).Last);
        QVERIFY(m.officer(25).Cert.isEmpty());
        QCOMPARE(m.officer(19).Cert, "9000019");
    }

    // Add while the activities text is the target: the name goes to the clipboard for pasting, without blanks at
    // either end for a member without rank and grade, and the box shows the text again.
    void addToActivities()
    {
        WindowFixture f;
        QVERIFY(f.start(plainFirstMember));
        QTest::mouseClick(f.find<QRadioButton>("OptActivities_1"), Qt::LeftButton);
        auto* box = f.find<QPlainTextEdit>("txtActivities");
        QTRY_VERIFY(box->hasFocus());
        selectMember(f, 0);
        QTest::mouseClick(f.find<QPushButton>("cmdAdd"), Qt::LeftButton);
        const QString text = QGuiApplication::clipboard()->text();
        QVERIFY(!text.isEmpty());
        QCOMPARE(text, text.trimmed());
        QCOMPARE(text.count(' '), 1);
        QTRY_VERIFY(box->hasFocus());
    }

    // Add and Remove with nothing to act on change nothing; Remove answered No changes nothing either.
    void addAndRemoveGuards()
    {
        WindowFixture f;
        QVERIFY(f.start());
        ReportModel& m = f.session.model;
        m.entry(3, 1).Last = "Keep";
        m.entry(3, 1).Cert = "1234567";
        auto* grid = f.find<RecognitionGroup>("Frame2");
        grid->showCategory(3);
        grid->setCurrentCell(1, 3);
        f.find<QListWidget>("cmbName")->setCurrentRow(-1);
        QTest::mouseClick(f.find<QPushButton>("cmdAdd"), Qt::LeftButton);
        QCOMPARE(m.entry(3, 1).Last, "Keep");
        f.prompt.queue(Prompt::Answer::No);
        QTest::mouseClick(f.find<QPushButton>("cmdRemove"), Qt::LeftButton);
        QVERIFY(f.prompt.told(Prompt::Icon::Question, {"Confirm removal"}));
        QCOMPARE(f.prompt.shown.last().title, "Remove Member");
        QCOMPARE(m.entry(3, 1).Last, "Keep");
        f.prompt.queue(Prompt::Answer::Yes);
        QTest::mouseClick(f.find<QPushButton>("cmdRemove"), Qt::LeftButton);
        QVERIFY(m.entry(3, 1).Last.isEmpty());
        QVERIFY(grid->cellText(1, 3).isEmpty());
    }

    // cmdSubO for a member who is neither Secretary nor Historian: no title; the officer list is not touched.
    void submittingOfficerFromList()
    {
        WindowFixture f;
        QVERIFY(f.start(plainFirstMember));
        const QList<Officer> officers = f.session.model.Officers;
        selectMember(f, 0);
        QTest::mouseClick(f.find<QPushButton>("cmdSubO"), Qt::LeftButton);
        QVERIFY(!f.session.model.SubOLast.isEmpty());
        QCOMPARE(f.find<QLineEdit>("txtTitle")->text(), "");
        QCOMPARE(f.session.model.SubOTitle, "");
        QCOMPARE(f.find<QLineEdit>("txtEmail")->text(), f.session.model.SubOEmail);
        QCOMPARE(f.session.model.Officers.size(), officers.size());
        QCOMPARE(f.session.model.officer(1).Cert, officers.first().Cert);
    }

    // Fill from the menu shows what it changed: the counts and the officer list.
    void fillFromMenu()
    {
        WindowFixture f;
        QVERIFY(f.start());
        ReportModel& m = f.session.model;
        m.FromDate = DateText::displayText(DemoHost::watchFrom());
        m.ToDate = DateText::displayText(DemoHost::watchTo());
        m.NoActive = 1;
        f.prompt.setDefaultAnswer(Prompt::Answer::Yes);
        QVERIFY(f.trigger("mnuFileFill"));
        QVERIFY(m.NoActive > 1);
        QCOMPARE(f.find<QLineEdit>("txtActMem")->text(), QString::number(m.NoActive));
        QCOMPARE(f.find<QLineEdit>("txtNewSenior")->text(), QString::number(m.NoSenior));
        QVERIFY(f.find<QRadioButton>("OptGrid_0")->isChecked());
        auto* grid = f.find<QTableWidget>("Grid");
        QVERIFY(grid->isVisible());
        QCOMPARE(grid->rowCount(), m.officerCount());

        QVERIFY(f.trigger("mnuFileRefresh"));
        QVERIFY(f.prompt.told(Prompt::Icon::Information, {"have been refreshed"}));
    }
};

QTEST_MAIN(TestMemberList)
#include "tst_memberlist.moc"
