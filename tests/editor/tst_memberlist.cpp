// The member list: the search box, Add to the grid and to an activity text, Remove, the submitting officer
// from the list, and Fill and Refresh from the File menu.

#include "WindowFixture.h"

#include "editor/MemberListGroup.h"

#include <QTest>

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
};

QTEST_MAIN(TestMemberList)
#include "tst_memberlist.moc"
