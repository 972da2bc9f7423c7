// The grid of officers and members recognised by name: the lists' shapes, the edit box over a cell, the keys it
// takes per column, committing and cancelling, and the copy of a member's changed data.

#include "ReportFixture.h"
#include "WindowFixture.h"

#include "editor/RecognitionGroup.h"
#include "editor/Scheme.h"

#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include <tuple>

namespace {

RecognitionGroup* group(const WindowFixture& f)
{
    return f.find<RecognitionGroup>("Frame2");
}

bool fileMenuEnabled(const WindowFixture& f)
{
    return f.find<QMenu>("mnuFile")->menuAction()->isEnabled();
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
    // A click on a category shows its list (24 rows, or one per officer line) with its columns, and marks the
    // button; the officer list's section headings stand out in both colour modes.
    void lists_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<QString>("columns"); // the visible ones
        QTest::addColumn<QString>("mode");
        QTest::newRow("officers") << 0 << "0 1 3 4 5 6"
                                  << "color";
        QTest::newRow("officers, mono") << 0 << "0 1 3 4 5 6"
                                        << "mono";
        QTest::newRow("district") << 1 << "1 3 4 5 6 7"
                                  << "color";
        QTest::newRow("deceased") << 6 << "1 3 4 5 6"
                                  << "color";
    }

    void lists()
    {
        QFETCH(int, category);
        QFETCH(QString, columns);
        QFETCH(QString, mode);
        WindowFixture f(mode);
        QVERIFY(f.start());
        auto* grid = f.find<QTableWidget>("Grid");
        QVERIFY(!group(f)->isGridShown());
        auto* button = f.find<QRadioButton>(QString("OptGrid_%1").arg(category));
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(group(f)->isGridShown());
        QCOMPARE(grid->rowCount(), category == 0 ? f.session.model.officerCount() : 24);
        QStringList visible;
        for (int c = 0; c < grid->columnCount(); ++c)
            if (!grid->isColumnHidden(c))
                visible << QString::number(c);
        QCOMPARE(visible.join(' '), columns);
        QCOMPARE(button->palette().color(QPalette::Button), Scheme::Picked);
        if (category == 0) {
            QCOMPARE(group(f)->title(), "Elected,  Appointed and Other Officers ");
            const int heading = officerRow(f.session.model, true), line = officerRow(f.session.model, false);
            QVERIFY(heading > 0 && line > 0);
            const QColor headingColour = grid->item(heading - 1, 3)->background().color();
            QVERIFY(headingColour != grid->item(line - 1, 3)->background().color());
            QVERIFY(mode == "mono" || headingColour == Scheme::Background);
        }
    }

    // The edit box opens only where a value can be typed; while it is open the File menu is disabled.
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
        QCOMPARE(fileMenuEnabled(f), !opens);
    }

    // Grades are typed as one letter and become the two-character codes; a deceased member's certificate takes a
    // letter W or A to F, then digits, seven characters at most. Cell and report get the text trimmed.
    void typing_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("box");
        QTest::newRow("grade A") << 6 << "A"
                                 << "AP";
        QTest::newRow("grade j") << 6 << "j"
                                 << "JN";
        QTest::newRow("grade x") << 6 << "x"
                                 << "";
        QTest::newRow("grade S") << 6 << "S"
                                 << "S ";
        QTest::newRow("grade digit dropped") << 6 << "p1"
                                             << "P ";
        QTest::newRow("grade SN") << 6 << "s\bn"
                                  << "SN";
        QTest::newRow("certificate cut") << 1 << "7a1234567"
                                         << "A123456";
        QTest::newRow("certificate letter") << 1 << "wB9"
                                            << "W9";
        QTest::newRow("certificate other letter") << 1 << "g"
                                                  << "";
    }

    void typing()
    {
        QFETCH(int, column);
        QFETCH(QString, keys);
        QFETCH(QString, box);
        WindowFixture f;
        QVERIFY(f.start());
        RecognizedEntry& entry = f.session.model.entry(6, 2);
        entry.Cert.clear();
        entry.Grade.clear();
        QLineEdit* edit = openBox(f, 6, 2, column);
        QVERIFY(edit);
        QTest::keyClicks(edit, keys);
        QCOMPARE(edit->text(), box);
        QCOMPARE(edit->cursorPosition(), box.size());
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(group(f)->cellText(2, column), box.trimmed());
        QCOMPARE(column == 6 ? entry.Grade : entry.Cert, box.trimmed());
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
        const auto put = [](auto& holder, const QString& cert) {
            std::tie(holder.Cert, holder.Last, holder.First, holder.Rank, holder.Grade) =
                std::tuple(cert, "Old", "Ann", "Lt", "P");
        };
        put(m.officer(line), "X999999");
        for (const int c : {1, 5, 6})
            put(m.entry(c, 1), "X999999");
        put(m.entry(3, 1), "X888888");

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
            QCOMPARE(question.text + "|" + question.title, "Change all instances of this member?|Change member data.");
            QCOMPARE(question.icon, Prompt::Icon::Question);
            QCOMPARE(question.buttons, Prompt::Buttons::YesNo);
        }
        const auto field = [column](const auto& holder) {
            return QStringList{holder.Cert, holder.Last, holder.First, holder.Rank, holder.Grade}.at(column - 2);
        };
        const QString old = QStringList{"Old", "Ann", "Lt", "P"}.at(column - 3);
        QCOMPARE(field(m.entry(3, 1)), old);
        QCOMPARE(field(m.officer(line)), category == 0 || (asked && yes) ? value : old);
        for (const int c : {1, 5, 6})
            QCOMPARE(field(m.entry(c, 1)), category == c || (asked && yes) ? value : old);
        QCOMPARE(m.entry(1, 1).Cert, "X999999");
    }

    // Enter, Tab and a double click in the box commit, Esc leaves cell and report unchanged; in each case the grid
    // has the focus again and the File menu is back. While open, the box takes the focus back from other controls.
    void closingTheBox_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("stored");
        QTest::newRow("Enter") << "Enter"
                               << "Port Captain";
        QTest::newRow("Tab") << "Tab"
                             << "Port Captain";
        QTest::newRow("double click") << "double click"
                                      << "Port Captain";
        QTest::newRow("Esc") << "Esc"
                             << "Fleet Captain";
    }

    void closingTheBox()
    {
        QFETCH(QString, how);
        QFETCH(QString, stored);
        WindowFixture f;
        QVERIFY(f.start());
        f.session.model.entry(2, 3).Office = "Fleet Captain";
        QLineEdit* edit = openBox(f, 2, 3, 7);
        QVERIFY(edit);
        QVERIFY(!f.find<QRadioButton>("OptGrid_0")->isEnabled());
        auto* other = new QLineEdit(f.window()->centralWidget());
        other->show();
        other->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        edit->setText(" Port Captain  ");
        if (how == "double click")
            QTest::mouseDClick(edit, Qt::LeftButton);
        else
            QTest::keyClick(edit, how == "Enter" ? Qt::Key_Return : how == "Tab" ? Qt::Key_Tab : Qt::Key_Escape);
        QVERIFY(!group(f)->isEditing());
        QCOMPARE(f.session.model.entry(2, 3).Office, stored);
        QCOMPARE(group(f)->cellText(3, 7), stored);
        QCOMPARE(group(f)->currentRow(), 3);
        QCOMPARE(group(f)->currentColumn(), 7);
        QVERIFY(f.find<QTableWidget>("Grid")->hasFocus());
        QVERIFY(fileMenuEnabled(f));
        QVERIFY(f.find<QRadioButton>("OptGrid_0")->isEnabled());
    }

    // A right-button double click does not open the box, nor does the next double click after a right click;
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
    void closingTheWindow()
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
