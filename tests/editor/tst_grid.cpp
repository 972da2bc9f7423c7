// The grid of officers and members recognised by name: the lists' shapes, the edit box over a cell, the keys it
// takes per column, committing and cancelling, and the copy of a member's changed data.

#include "ReportFixture.h"
#include "WindowFixture.h"
#include "WindowTestHelpers.h"

#include "editor/RecognitionGroup.h"
#include "editor/Scheme.h"

#include <QLineEdit>
#include <QMenu>
#include <QTableWidget>

#include <tuple>

namespace {

// The list, row (0: the first officer line, -1: the first heading line) and column of a cell, the keys typed
// and the text the box then holds (null: the box stays shut).
struct Typing
{
    int category, row, column;
    QString keys, box;
};

// A member's data edited: where, the keys, the cell's new value and the answer to copy it ("": not asked).
struct Change
{
    int category, column;
    QString keys, value, answer;
};

// The first officer line that is (or is not) a section heading.
int officerRow(const ReportModel& m, bool heading)
{
    for (int r = 1; r <= m.officerCount(); ++r)
        if (m.officer(r).Heading == heading)
            return r;
    return 0;
}

// The window with the grid's controls at hand.
struct Window : WindowFixture
{
    using WindowFixture::WindowFixture;
    RecognitionGroup* group() const { return find<RecognitionGroup>("Frame2"); }
    QTableWidget* grid() const { return find<QTableWidget>("Grid"); }
    bool fileMenuEnabled() const { return find<QMenu>("mnuFile")->menuAction()->isEnabled(); }

    // Shows list `category` and opens the edit box over a cell with the Enter key; the box, or null when it stays
    // shut.
    QLineEdit* openBox(int category, int row, int column) const
    {
        group()->showCategory(category);
        group()->setCurrentCell(row, column);
        grid()->setFocus();
        QTest::keyClick(grid(), Qt::Key_Return);
        auto* box = find<QLineEdit>("Edittext");
        return group()->isEditing() && box->hasFocus() ? box : nullptr;
    }
    // A double click on a cell as the platform delivers it: press, release, double click, release.
    void doubleClick(Qt::MouseButton button, int row, int column) const
    {
        const QPoint cell = grid()->visualRect(grid()->model()->index(row - 1, column)).center();
        QTest::mouseClick(grid()->viewport(), button, {}, cell);
        QTest::mouseDClick(grid()->viewport(), button, {}, cell);
        QTest::mouseRelease(grid()->viewport(), button, {}, cell);
    }
};

} // namespace

class TestGrid : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A click on a category shows its list with its visible columns and marks the button; the officer list's
    // section headings stand out in both colour modes.
    void lists_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("category");
        QTest::addColumn<QString>("columns");
        row("officers", "color", 0, "0 1 3 4 5 6");
        row("officers, mono", "mono", 0, "0 1 3 4 5 6");
        row("district", "color", 1, "1 3 4 5 6 7");
        row("deceased", "color", 6, "1 3 4 5 6");
    }
    void lists()
    {
        QFETCH(QString, mode);
        QFETCH(int, category);
        QFETCH(QString, columns);
        Window f(mode);
        QVERIFY(f.start());
        QVERIFY(!f.group()->isGridShown());
        const QString button = QString("OptGrid_%1").arg(category);
        f.click(button);
        QVERIFY(f.group()->isGridShown());
        QTableWidget* grid = f.grid();
        QCOMPARE(grid->rowCount(), category == 0 ? f.session.model.officerCount() : 24);
        QStringList visible;
        for (int c = 0; c < grid->columnCount(); ++c)
            if (!grid->isColumnHidden(c))
                visible << QString::number(c);
        QCOMPARE(visible.join(' '), columns);
        QCOMPARE(f.find(button)->palette().color(QPalette::Button), Scheme::Picked);
        if (category == 0) {
            const auto colour = [&](bool heading) {
                return grid->item(officerRow(f.session.model, heading) - 1, 3)->background().color();
            };
            QVERIFY(colour(true) != colour(false));
            QVERIFY(mode == "mono" || colour(true) == Scheme::Background);
        }
    }

    // The edit box opens only where a value can be typed, and disables the File menu. Grades are typed as one
    // letter and become the two-character codes; a deceased member's certificate takes a letter W or A to F, then
    // digits, seven characters at most. Cell and report get the text trimmed.
    void typing_data()
    {
        QTest::addColumn<Typing>("t");
        row("heading line", Typing{0, -1, 3, "", QString()});
        row("office", Typing{0, 0, 0, "", QString()});
        row("officer's certificate", Typing{0, 0, 1, "", QString()});
        row("hidden column", Typing{3, 1, 2, "", QString()});
        row("district certificate", Typing{1, 1, 1, "", QString()});
        row("national assignment", Typing{2, 24, 7, " Sea Scouts", " Sea Scouts"});
        row("grade A", Typing{6, 2, 6, "A", "AP"});
        row("grade j", Typing{6, 2, 6, "j", "JN"});
        row("grade x", Typing{6, 2, 6, "x", ""});
        row("grade S", Typing{6, 2, 6, "S", "S "});
        row("grade digit dropped", Typing{6, 2, 6, "p1", "P "});
        row("grade SN", Typing{6, 2, 6, "s\bn", "SN"});
        row("certificate cut", Typing{6, 2, 1, "7a1234567", "A123456"});
        row("certificate letter", Typing{6, 2, 1, "wB9", "W9"});
        row("certificate other letter", Typing{6, 2, 1, "g", ""});
    }
    void typing()
    {
        QFETCH(Typing, t);
        Window f;
        QVERIFY(f.start());
        ReportModel& m = f.session.model;
        const int row = t.row > 0 ? t.row : officerRow(m, t.row < 0);
        m.entry(6, 2).Cert.clear();
        m.entry(6, 2).Grade.clear();
        m.entry(2, 24).Office.clear();
        QLineEdit* edit = f.openBox(t.category, row, t.column);
        QCOMPARE(edit != nullptr, !t.box.isNull());
        QCOMPARE(f.fileMenuEnabled(), !edit);
        if (!edit)
            return;
        QTest::keyClicks(edit, t.keys);
        QCOMPARE(edit->text(), t.box);
        QCOMPARE(edit->cursorPosition(), t.box.size());
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(f.group()->cellText(row, t.column), t.box.trimmed());
        const RecognizedEntry& e = m.entry(t.category, row);
        QCOMPARE(QStringList({e.Cert, {}, e.Last, e.First, e.Rank, e.Grade, e.Office}).at(t.column - 1),
                 t.box.trimmed());
    }

    // A changed name or rank may be copied to every line of the same member (by certificate); a grade, and any
    // change in the deceased list, is stored in its own line only, without a question.
    void memberChange_data()
    {
        QTest::addColumn<Change>("c");
        row("officer last name, yes", Change{0, 3, "er ", "Older", "yes"});
        row("officer last name, no", Change{0, 3, "er", "Older", "no"});
        row("new SN rank, yes", Change{5, 5, "/C", "Lt/C", "yes"});
        row("officer grade", Change{0, 6, "\bn", "N", ""});
        row("deceased first name", Change{6, 4, "e", "Anne", ""});
    }
    void memberChange()
    {
        QFETCH(Change, c);
        Window f;
        QVERIFY(f.start());
        ReportModel& m = f.session.model;
        const int line = officerRow(m, false);
        const auto put = [](auto& holder, const QString& cert) {
            std::tie(holder.Cert, holder.Last, holder.First, holder.Rank, holder.Grade) =
                std::tuple(cert, "Old", "Ann", "Lt", "P");
        };
        put(m.officer(line), "X999999");
        for (const int list : {1, 5, 6})
            put(m.entry(list, 1), "X999999");
        put(m.entry(3, 1), "X888888");

        f.prompt.queue(c.answer == "yes" ? Prompt::Answer::Yes : Prompt::Answer::No);
        const int row = c.category == 0 ? line : 1;
        QLineEdit* edit = f.openBox(c.category, row, c.column);
        QVERIFY(edit);
        QTest::keyClicks(edit, c.keys);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(f.group()->cellText(row, c.column), c.value);
        QCOMPARE(f.prompt.texts(),
                 c.answer.isEmpty() ? QStringList() : QStringList{"Change all instances of this member?"});
        for (const Prompt::Message& q : f.prompt.shown)
            QVERIFY(q.title == "Change member data." && q.icon == Prompt::Icon::Question &&
                    q.buttons == Prompt::Buttons::YesNo);
        const auto field = [&c](const auto& holder) {
            return QStringList{holder.Last, holder.First, holder.Rank, holder.Grade}.at(c.column - 3);
        };
        const QString old = QStringList{"Old", "Ann", "Lt", "P"}.at(c.column - 3);
        QCOMPARE(field(m.entry(3, 1)), old);
        QCOMPARE(field(m.officer(line)), c.category == 0 || c.answer == "yes" ? c.value : old);
        for (const int list : {1, 5, 6})
            QCOMPARE(field(m.entry(list, 1)), c.category == list || c.answer == "yes" ? c.value : old);
    }

    // A left double click opens the box, a right one does not, nor does the next double click after a right click.
    // Enter, Tab and a double click in the box commit, Esc leaves cell and report unchanged; in each case the grid
    // has the focus again and the other controls are back. While open, the box takes the focus back. Closing the
    // window stores what the box holds.
    void closingTheBox_data()
    {
        QTest::addColumn<int>("key"); // 0: a double click, -1: the window is closed
        QTest::addColumn<QString>("stored");
        row("Enter", int(Qt::Key_Return), "Port Captain");
        row("Tab", int(Qt::Key_Tab), "Port Captain");
        row("double click", 0, "Port Captain");
        row("Esc", int(Qt::Key_Escape), "Fleet Captain");
        row("window closed", -1, "Port Captain");
    }
    void closingTheBox()
    {
        QFETCH(int, key);
        QFETCH(QString, stored);
        Window f;
        QVERIFY(f.start());
        f.session.model.entry(2, 3).Office = "Fleet Captain";
        f.group()->showCategory(2);
        f.doubleClick(Qt::RightButton, 3, 7);
        QTest::mouseClick(f.grid()->viewport(), Qt::RightButton);
        f.doubleClick(Qt::LeftButton, 3, 7);
        QVERIFY(!f.group()->isEditing());
        f.doubleClick(Qt::LeftButton, 3, 7);
        auto* edit = f.find<QLineEdit>("Edittext");
        QVERIFY(f.group()->isEditing() && edit->hasFocus());
        QVERIFY(!f.find("OptGrid_0")->isEnabled());
        auto* other = new QLineEdit(f.window()->centralWidget());
        other->show();
        other->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        edit->setText(" Port Captain  ");
        if (key < 0) {
            f.close();
            const QString sql = "SELECT COUNT(*) FROM Recognized WHERE Category = 2 AND Office = '%1'";
            QCOMPARE(ReportFixture::value(f.reportPath(), sql.arg(stored)), QVariant(1));
            return;
        }
        key ? QTest::keyClick(edit, Qt::Key(key)) : QTest::mouseDClick(edit, Qt::LeftButton);
        QVERIFY(!f.group()->isEditing());
        QCOMPARE(f.session.model.entry(2, 3).Office, stored);
        QCOMPARE(f.group()->cellText(3, 7), stored);
        QCOMPARE(QPoint(f.group()->currentRow(), f.group()->currentColumn()), QPoint(3, 7));
        QVERIFY(f.grid()->hasFocus());
        QVERIFY(f.fileMenuEnabled() && f.find("OptGrid_0")->isEnabled());
    }
};

QTEST_MAIN(TestGrid)
#include "tst_grid.moc"
