// The grid of officers and members recognised by name: the lists and their shape, the edit box over a cell, the
// keys it takes per column, committing and cancelling, and the copy of a member's changed data.

#include "ReportFixture.h"
#include "WindowFixture.h"

#include "editor/RecognitionGroup.h"
#include "editor/Scheme.h"

#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QVBoxLayout>

namespace {

struct Member
{
    QString Cert, Last, First, Rank, Grade;
};

const Member kMember{"X999999", "Old", "Ann", "Lt", "P"};

RecognitionGroup* group(const WindowFixture& f)
{
    return f.find<RecognitionGroup>("Frame2");
}

// The first officer line that is (or is not) a section heading.
int officerRow(const ReportModel& m, bool heading)
{
    for (int r = 1; r <= m.officerCount(); ++r)
        if (m.officer(r).Heading == heading)
            return r;
    return 0;
}

// Shows list `category` and opens the edit box over a cell with the Enter key; the box, or null when it stays shut.
QLineEdit* openBox(const WindowFixture& f, int category, int row, int column)
{
    group(f)->showCategory(category);
    group(f)->setCurrentCell(row, column);
    auto* grid = f.find<QTableWidget>("Grid");
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Return);
    auto* box = f.find<QLineEdit>("Edittext");
    return group(f)->isEditing() && box->hasFocus() ? box : nullptr;
}

// A double click as the platform delivers it: press, release, double click, release.
void doubleClick(QTableWidget* grid, Qt::MouseButton button, int row, int column)
{
    const QPoint cell = grid->visualRect(grid->model()->index(row - 1, column)).center();
    QTest::mouseClick(grid->viewport(), button, {}, cell);
    QTest::mouseDClick(grid->viewport(), button, {}, cell);
    QTest::mouseRelease(grid->viewport(), button, {}, cell);
}

} // namespace

class TestGrid : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A click on a category shows its list: 24 rows for a recognition list, one per line for the officers; the
    // columns that list uses; its title; the button marked.
    void lists_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<QString>("columns"); // the visible columns
        QTest::addColumn<QString>("title");
        QTest::newRow("officers") << 0 << "0 1 3 4 5 6"
                                  << "Elected,  Appointed and Other Officers ";
        QTest::newRow("district") << 1 << "1 3 4 5 6 7"
                                  << "Members Holding District Assignments";
        QTest::newRow("new 25") << 3 << "1 3 4 5 6"
                                << "New 25 Year Members";
        QTest::newRow("deceased") << 6 << "1 3 4 5 6"
                                  << "Members Deceased During Report Year";
    }

    void lists()
    {
        QFETCH(int, category);
        QFETCH(QString, columns);
        QFETCH(QString, title);
        WindowFixture f;
        QVERIFY(f.start());
        auto* grid = f.find<QTableWidget>("Grid");
        QVERIFY(!group(f)->isGridShown());
        auto* button = f.find<QRadioButton>(QString("OptGrid_%1").arg(category));
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(group(f)->isGridShown());
        QCOMPARE(group(f)->gridCategory(), category);
        QCOMPARE(grid->rowCount(), category == 0 ? f.session.model.officerCount() : 24);
        QStringList visible;
        for (int c = 0; c < grid->columnCount(); ++c)
            if (!grid->isColumnHidden(c))
                visible << QString::number(c);
        QCOMPARE(visible.join(' '), columns);
        QCOMPARE(group(f)->title(), title);
        QCOMPARE(button->palette().color(QPalette::Button), Scheme::Picked);
        QCOMPARE(f.find<QRadioButton>(QString("OptGrid_%1").arg((category + 1) % 8))->palette().color(QPalette::Button),
                 Scheme::Background);
    }

    // The demo's officer list has section headings: in both colour modes they stand out from the member lines.
    void headingRowsStandOut()
    {
        for (const QString mode : {"color", "mono"}) {
            WindowFixture f(mode);
            QVERIFY(f.start());
            const int heading = officerRow(f.session.model, true), line = officerRow(f.session.model, false);
            QVERIFY(heading > 0 && line > 0);
            group(f)->showCategory(0);
            auto* grid = f.find<QTableWidget>("Grid");
            const QColor headingColour = grid->item(heading - 1, 3)->background().color();
            QVERIFY(headingColour != grid->item(line - 1, 3)->background().color());
            if (mode == "color")
                QCOMPARE(headingColour, Scheme::Background);
            QVERIFY(group(f)->isHeadingRow(heading));
        }
    }

    // The edit box opens only where a value can be typed.
    void editableCells_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<int>("row"); // -1: the first heading line, 0: the first officer line
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("opens");
        QTest::newRow("officer last name") << 0 << 0 << 3 << true;
        QTest::newRow("heading line") << 0 << -1 << 3 << false;
        QTest::newRow("office") << 0 << 0 << 0 << false;
        QTest::newRow("officer's certificate") << 0 << 0 << 1 << false;
        QTest::newRow("hidden column") << 3 << 1 << 2 << false;
        QTest::newRow("district certificate") << 1 << 1 << 1 << false;
        QTest::newRow("deceased certificate") << 6 << 1 << 1 << true;
        QTest::newRow("national assignment") << 2 << 24 << 7 << true;
    }

    void editableCells()
    {
        QFETCH(int, category);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(bool, opens);
        WindowFixture f;
        QVERIFY(f.start());
        if (row <= 0)
            row = officerRow(f.session.model, row < 0);
        QCOMPARE(openBox(f, category, row, column) != nullptr, opens);
        QCOMPARE(!f.find<QMenu>("mnuFile")->menuAction()->isEnabled(), opens);
    }

    // Grades are typed as one letter and become the two-character codes; the cell and the report get them trimmed.
    void gradeTyping_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("box");
        QTest::newRow("A") << "A"
                           << "AP";
        QTest::newRow("j") << "j"
                           << "JN";
        QTest::newRow("x") << "x"
                           << "";
        QTest::newRow("S") << "S"
                           << "S ";
        QTest::newRow("digit dropped") << "p1"
                                       << "P ";
        QTest::newRow("SN") << "s\bn"
                            << "SN";
    }

    void gradeTyping()
    {
        QFETCH(QString, keys);
        QFETCH(QString, box);
        WindowFixture f;
        QVERIFY(f.start());
        f.session.model.entry(3, 2).Grade.clear();
        QLineEdit* edit = openBox(f, 3, 2, 6);
        QVERIFY(edit);
        QTest::keyClicks(edit, keys);
        QCOMPARE(edit->text(), box);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(group(f)->cellText(2, 6), box.trimmed());
        QCOMPARE(f.session.model.entry(3, 2).Grade, box.trimmed());
    }

    // A deceased member's certificate: a letter W or A to F first, then digits, seven characters at most.
    void certificateTyping_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("box");
        QTest::newRow("eighth character cut") << "7a1234567"
                                              << "A123456";
        QTest::newRow("letter after the first") << "wB9"
                                                << "W9";
        QTest::newRow("other letter") << "g"
                                      << "";
    }

    void certificateTyping()
    {
        QFETCH(QString, keys);
        QFETCH(QString, box);
        WindowFixture f;
        QVERIFY(f.start());
        f.session.model.entry(6, 1).Cert.clear();
        QLineEdit* edit = openBox(f, 6, 1, 1);
        QVERIFY(edit);
        QTest::keyClicks(edit, keys);
        QCOMPARE(edit->text(), box);
        QCOMPARE(edit->cursorPosition(), box.size());
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(f.session.model.entry(6, 1).Cert, box);
    }

    // A changed name or rank may be copied to every line of the same member (by certificate); a grade, and any
    // change in the deceased list, is stored in its own line only, without a question.
    void memberChange_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("yes");
        QTest::newRow("officer last name, yes") << 0 << 3 << "er "
                                                << "Older" << true << true;
        QTest::newRow("officer last name, no") << 0 << 3 << "er"
                                               << "Older" << true << false;
        QTest::newRow("new SN rank, yes") << 5 << 5 << "/C"
                                          << "Lt/C" << true << true;
        QTest::newRow("officer grade") << 0 << 6 << "\bn"
                                       << "N" << false << true;
        QTest::newRow("deceased first name") << 6 << 4 << "e"
                                             << "Anne" << false << true;
    }

    void memberChange()
    {
        QFETCH(int, category);
        QFETCH(int, column);
        QFETCH(QString, keys);
        QFETCH(QString, value);
        QFETCH(bool, asked);
        QFETCH(bool, yes);
        WindowFixture f;
        QVERIFY(f.start());
        ReportModel& m = f.session.model;
        const int line = officerRow(m, false);
        const auto put = [](auto& holder, const Member& member) {
            holder.Cert = member.Cert;
            holder.Last = member.Last;
            holder.First = member.First;
            holder.Rank = member.Rank;
            holder.Grade = member.Grade;
        };
        put(m.officer(line), kMember);
        for (const int c : {1, 5, 6})
            put(m.entry(c, 1), kMember);
        Member other = kMember;
        other.Cert = "X888888";
        put(m.entry(3, 1), other);

        f.prompt.queue(yes ? Prompt::Answer::Yes : Prompt::Answer::No);
        const int row = category == 0 ? line : 1;
        QLineEdit* edit = openBox(f, category, row, column);
        QVERIFY(edit);
        QTest::keyClicks(edit, keys);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(group(f)->cellText(row, column), value);

        QCOMPARE(f.prompt.shown.size(), asked ? 1 : 0);
        if (asked) {
            const Prompt::Message& question = f.prompt.shown.first();
            QCOMPARE(question.text, "Change all instances of this member?");
            QCOMPARE(question.title, "Change member data.");
            QCOMPARE(question.icon, Prompt::Icon::Question);
            QCOMPARE(question.buttons, Prompt::Buttons::YesNo);
        }
        const auto field = [column](const auto& holder) {
            return QStringList{holder.Cert, holder.Last, holder.First, holder.Rank, holder.Grade}.at(column - 2);
        };
        const QString old = field(kMember);
        const bool copied = asked && yes;
        QCOMPARE(field(m.officer(line)), category == 0 || copied ? value : old);
        for (const int c : {1, 5, 6})
            QCOMPARE(field(m.entry(c, 1)), category == c || copied ? value : old);
        QCOMPARE(field(m.entry(3, 1)), old);
        QCOMPARE(m.entry(1, 1).Cert, kMember.Cert);
    }

    // Esc closes the box and leaves cell and report as they were; the grid has the focus again.
    void escapeCancels()
    {
        WindowFixture f;
        QVERIFY(f.start());
        f.session.model.entry(4, 1).Last = "Keep";
        QLineEdit* edit = openBox(f, 4, 1, 3);
        QVERIFY(edit);
        QTest::keyClicks(edit, "zzz");
        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(!group(f)->isEditing());
        QCOMPARE(group(f)->cellText(1, 3), "Keep");
        QCOMPARE(f.session.model.entry(4, 1).Last, "Keep");
        QVERIFY(f.find<QTableWidget>("Grid")->hasFocus());
        QVERIFY(f.find<QMenu>("mnuFile")->menuAction()->isEnabled());
        QVERIFY(f.prompt.shown.isEmpty());
    }

    // Enter, Tab and a double click in the box commit; while it is open the File menu and the categories are
    // disabled, and the box keeps the focus.
    void committing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Enter") << "Enter";
        QTest::newRow("Tab") << "Tab";
        QTest::newRow("double click") << "double click";
    }

    void committing()
    {
        QFETCH(QString, how);
        WindowFixture f;
        QVERIFY(f.start());
        QLineEdit* edit = openBox(f, 2, 3, 7);
        QVERIFY(edit);
        QVERIFY(!f.find<QMenu>("mnuFile")->menuAction()->isEnabled());
        QVERIFY(!f.find<QRadioButton>("OptGrid_0")->isEnabled());
        auto* other = new QLineEdit(f.window()->centralWidget());
        other->show();
        other->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        edit->setText(" Port Captain  ");
        if (how == "Enter")
            QTest::keyClick(edit, Qt::Key_Return);
        else if (how == "Tab")
            QTest::keyClick(edit, Qt::Key_Tab);
        else
            QTest::mouseDClick(edit, Qt::LeftButton);
        QVERIFY(!group(f)->isEditing());
        QCOMPARE(f.session.model.entry(2, 3).Office, "Port Captain");
        QCOMPARE(group(f)->currentRow(), 3);
        QCOMPARE(group(f)->currentColumn(), 7);
        QVERIFY(f.find<QTableWidget>("Grid")->hasFocus());
        QVERIFY(f.find<QMenu>("mnuFile")->menuAction()->isEnabled());
        QVERIFY(f.find<QRadioButton>("OptGrid_0")->isEnabled());
    }

    // The box never takes the focus back from a dialog; when the dialog closes the box is still open and the
    // window's focus widget.
    void dialogKeepsTheFocus()
    {
        WindowFixture f;
        QVERIFY(f.start());
        QVERIFY(openBox(f, 3, 1, 3));
        QDialog dialog(f.window());
        auto* answer = new QLineEdit(&dialog);
        (new QVBoxLayout(&dialog))->addWidget(answer);
        dialog.open();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        answer->setFocus();
        QTRY_VERIFY(answer->hasFocus());
        QCoreApplication::processEvents();
        QVERIFY(answer->hasFocus());
        dialog.accept();
        QCOMPARE(f.window()->focusWidget(), f.find<QLineEdit>("Edittext"));
        QVERIFY(group(f)->isEditing());
    }

    // A right-button double click does not open the box (nor does the next double click after a right click);
    // a left double click does.
    void rightDoubleClick()
    {
        WindowFixture f;
        QVERIFY(f.start());
        group(f)->showCategory(7);
        auto* grid = f.find<QTableWidget>("Grid");
        doubleClick(grid, Qt::RightButton, 2, 4);
        QVERIFY(!group(f)->isEditing());
        QTest::mouseClick(grid->viewport(), Qt::RightButton);
        doubleClick(grid, Qt::LeftButton, 2, 4);
        QVERIFY(!group(f)->isEditing());
        doubleClick(grid, Qt::LeftButton, 2, 4);
        QVERIFY(group(f)->isEditing());
        QCOMPARE(group(f)->currentRow(), 2);
        QCOMPARE(group(f)->currentColumn(), 4);
    }

    // Closing the window while a cell is edited stores what the box holds.
    void closingKeepsTheBox()
    {
        WindowFixture f;
        QVERIFY(f.start());
        f.session.model.entry(6, 1) = RecognizedEntry();
        QLineEdit* edit = openBox(f, 6, 1, 3);
        QVERIFY(edit);
        QTest::keyClicks(edit, " Zed ");
        f.close();
        QCOMPARE(
            ReportFixture::value(f.reportPath(), "SELECT COUNT(*) FROM Recognized WHERE Category = 6 AND Last = 'Zed'"),
            QVariant(1));
    }
};

QTEST_MAIN(TestGrid)
#include "tst_grid.moc"
