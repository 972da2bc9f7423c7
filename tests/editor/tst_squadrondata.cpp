// The "Squadron Data" group: date entry in its display and editing states, the count boxes, commit before a menu
// operation, and the count buttons.

#include "WindowFixture.h"
#include "WindowTestHelpers.h"

#include "editor/DateBox.h"
#include "store/DateText.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QScopeGuard>
#include <QSignalSpy>

#include <functional>

namespace {

enum class End { Enter, Escape, Leave };

// The model field a date box stores into.
QString& dateField(ReportModel& model, const QString& box)
{
    return box == "txtFrom" ? model.FromDate : box == "txtTo" ? model.ToDate : model.SubDate;
}

} // namespace

class TestSquadronData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Editing starts with the focus and shows the date's digits; at most six digits are held. Enter, Esc and
    // leaving end it; the from-date sets the report year. Months are stored in English in any locale.
    void dateEntry_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<End>("end");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("year"); // the report year, 1999 before
        QTest::addColumn<QString>("locale");
        const QString sep18 = "Sep 1, 2018", c = "C";
        row("six digits", "txtFrom", sep18, "090119", End::Enter, "Sep 1, 2019", "2020", c);
        row("June from-date", "txtFrom", sep18, "063019", End::Leave, "Jun 30, 2019", "2019", c);
        row("four digits", "txtTo", sep18, "7419", End::Enter, "Jul 4, 2019", "1999", c);
        row("five digits", "txtTo", sep18, "70419", End::Enter, "Jul 4, 2019", "1999", c);
        row("short, leaving", "txtFrom", sep18, "123", End::Leave, sep18, "2019", c);
        row("short, Enter", "txtDate", sep18, "123", End::Enter, "", "1999", c);
        row("seventh digit", "txtDate", "", "0704195", End::Enter, "Jul 4, 2019", "1999", c);
        row("impossible, Enter", "txtTo", sep18, "023019", End::Enter, sep18, "1999", c);
        row("impossible, leaving", "txtFrom", sep18, "023019", End::Leave, sep18, "2019", c);
        row("Esc", "txtFrom", sep18, "1231", End::Escape, sep18, "2019", c);
        row("cleared", "txtFrom", sep18, "\b", End::Enter, "", "1999", c);
        row("year window", "txtDate", "", "123130", End::Enter, "Dec 31, 1930", "1999", c);
        row("unreadable kept", "txtDate", "1.9.2019", "", End::Leave, "1.9.2019", "1999", c);
        row("German locale", "txtFrom", sep18, "100319", End::Enter, "Oct 3, 2019", "2020", "de_DE");
    }
    void dateEntry()
    {
        QFETCH(QString, box);
        QFETCH(QString, before);
        QFETCH(QString, keys);
        QFETCH(End, end);
        QFETCH(QString, stored);
        QFETCH(QString, year);
        QFETCH(QString, locale);
        const auto restore = qScopeGuard([saved = QLocale()] { QLocale::setDefault(saved); });
        QLocale::setDefault(QLocale(locale));
        WindowFixture f;
        QVERIFY(f.start());
        f.find("txtFind")->setFocus();
        ReportModel& model = f.session.model;
        dateField(model, box) = before;
        model.ReportYear = "1999";
        f.window()->Fillvalues();
        auto* date = f.find<DateBox>(box);
        QCOMPARE(date->text(), before);

        date->setFocus(Qt::MouseFocusReason);
        QVERIFY(date->isEditing());
        QCOMPARE(date->text(), DateText::toDigits(before));
        date->selectAll();
        QTest::keyClicks(date, keys);
        QCOMPARE(date->text(), keys.remove('\b').left(6));
        if (end == End::Leave)
            f.find("txtPub")->setFocus(Qt::MouseFocusReason);
        else
            QTest::keyClick(date, end == End::Enter ? Qt::Key_Return : Qt::Key_Escape);
        QVERIFY(!date->isEditing());
        QCOMPARE(dateField(model, box), stored);
        QCOMPARE(date->text(), stored);
        QCOMPARE(model.ReportYear, year);
        if (end != End::Leave)
            QCOMPARE(QApplication::focusWidget(), f.find("txtFind"));
    }

    // In display state typed keys and Delete change nothing, Enter starts editing; showing the values ends the
    // editing without storing what was typed.
    void displayState()
    {
        WindowFixture f;
        QVERIFY(f.start());
        f.session.model.FromDate = "Sep 1, 2019";
        f.window()->Fillvalues();
        auto* from = f.find<DateBox>("txtFrom");
        from->setFocus();
        QTest::keyClicks(from, "12");
        f.window()->Fillvalues();
        QVERIFY(!from->isEditing());
        QTest::keyClicks(from, "7a");
        QTest::keyClick(from, Qt::Key_Delete);
        QTest::keyClick(from, Qt::Key_Backspace);
        QCOMPARE(from->text(), "Sep 1, 2019");
        QCOMPARE(f.session.model.FromDate, "Sep 1, 2019");
        QTest::keyClick(from, Qt::Key_Return);
        QVERIFY(from->isEditing());
        QCOMPARE(from->text(), "090119");
    }

    // Without watch dates the host is not asked and the focus goes to the missing from-date. Each key typed into
    // the to-date is announced.
    void newSeniorsNeedWatchDates()
    {
        WindowFixture f;
        QVERIFY(f.start());
        QSignalSpy keys(f.find("Frame1"), SIGNAL(toDateKeyTyped()));
        QSignalSpy refilled(f.find("Frame1"), SIGNAL(categoryRefilled(int)));
        for (const char* name : {"txtFrom", "txtTo"}) {
            QWidget* box = f.find(name);
            box->setFocus();
            QTest::keyClicks(box, "\b\b\b\b\b\b");
            QTest::keyClick(box, Qt::Key_Return);
        }
        QCOMPARE(keys.count(), 6);
        QVERIFY(f.session.model.FromDate.isEmpty() && f.session.model.ToDate.isEmpty());
        f.prompt.clear();
        f.click("cmdNewSen");
        QCOMPARE(f.prompt.texts(), QStringList{"Cannot search database without watch year dates."});
        QCOMPARE(QApplication::focusWidget(), f.find("txtFrom"));
        QVERIFY(f.find<DateBox>("txtFrom")->isEditing());
        QCOMPARE(refilled.count(), 0);
    }

    // A count box takes digits only, nine at most, also when pasted; Enter moves on and the number is stored.
    void countBox_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("paste");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<qint32>("stored");
        row("letters ignored", "1a2-b3", "", "123", 123);
        row("empty", "", "", "", 0);
        row("ten digits", "1234567890", "", "123456789", 123456789);
        row("paste of letters", "12", "3x4", "12", 12);
        row("paste of digits", "12", "345", "12345", 12345);
        row("paste past the cap", "1234567", "890", "1234567", 1234567);
    }
    void countBox()
    {
        QFETCH(QString, keys);
        QFETCH(QString, paste);
        QFETCH(QString, shown);
        QFETCH(qint32, stored);
        WindowFixture f;
        QVERIFY(f.start());
        auto* mm = f.find<QLineEdit>("txtMM");
        mm->setFocus();
        mm->selectAll();
        QTest::keyClick(mm, Qt::Key_Backspace);
        QTest::keyClicks(mm, keys);
        if (!paste.isEmpty()) {
            QGuiApplication::clipboard()->setText(paste);
            mm->paste();
        }
        QCOMPARE(mm->text(), shown);
        QTest::keyClick(mm, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f.find("cmdUpdateMM"));
        QCOMPARE(f.session.model.NoMM, stored);
    }

    // A menu item does not take the focus: before its operation the box being typed into stores what it holds,
    // however often that runs.
    void commitStoresPendingValues()
    {
        WindowFixture f;
        QVERIFY(f.start());
        ReportModel& m = f.session.model;
        const struct
        {
            const char *box, *keys;
            std::function<QString()> stored;
            QString expected;
        } cases[] = {
            {"txtPub", "  Harbour Lights ", [&] { return m.PubName; }, "Harbour Lights"},
            {"txtActMem", "778", [&] { return QString::number(m.NoActive); }, "778"},
            {"txtTo", "063020", [&] { return m.ToDate; }, "Jun 30, 2020"},
            {"txtFrom", "090119", [&] { return m.FromDate + ' ' + m.ReportYear; }, "Sep 1, 2019 2020"},
        };
        for (const auto& c : cases) {
            auto* box = f.find<QLineEdit>(c.box);
            box->setFocus();
            box->selectAll();
            QTest::keyClicks(box, c.keys);
            for (int i = 0; i < 2; ++i) {
                f.window()->commitEdits();
                QCOMPARE(c.stored(), c.expected);
            }
        }
        f.click("chkInc");
        QCOMPARE(m.Incorp, f.find<QCheckBox>("chkInc")->isChecked());
    }

    void activeAnsweredNoKeepsOld()
    {
        WindowFixture f;
        QVERIFY(f.start());
        f.session.model.NoActive = 5;
        f.window()->Fillvalues();
        f.prompt.queue(Prompt::Answer::No);
        f.click("cmdActive");
        QVERIFY(f.prompt.told(Prompt::Icon::Question, {"Rostrel lists ", ", change current value"}));
        QCOMPARE(f.session.model.NoActive, 5);
        QCOMPARE(f.find<QLineEdit>("txtActMem")->text(), "5");
    }
};

QTEST_MAIN(TestSquadronData)
#include "tst_squadrondata.moc"
