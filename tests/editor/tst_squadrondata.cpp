// The "Squadron Data" group: date entry in its display and editing states, the count boxes, commit before a menu
// operation, and the count buttons.

#include "WindowFixture.h"
#include "WindowTestHelpers.h"

#include "editor/DateBox.h"
#include "store/DateText.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFocusEvent>
#include <QLineEdit>
#include <QScopeGuard>
#include <QSignalSpy>

#include <functional>

namespace {

enum class End { Enter, Escape, Leave };

// A date typed into a box that showed `before` while the report year was 1999, the way the editing ended, the date
// then stored and the report year.
struct DateCase
{
    QString box, before, keys;
    End end;
    QString stored, year, locale = "C";
};

} // namespace

class TestSquadronData : public QObject
{
    Q_OBJECT

    // The model field a date box stores into.
    static QString& dateField(ReportModel& m, const QString& box)
    {
        return box == "txtFrom" ? m.FromDate : box == "txtTo" ? m.ToDate : m.SubDate;
    }

private Q_SLOTS:
    // Editing starts with the focus and shows the date's digits; at most six digits are held. Enter, Esc and
    // leaving end it; the from-date sets the report year. Months are stored in English in any locale.
    void dateEntry_data()
    {
        QTest::addColumn<DateCase>("d");
        const QString from = "txtFrom", to = "txtTo", sub = "txtDate", sep18 = "Sep 1, 2018";
        row("six digits", DateCase{from, sep18, "090119", End::Enter, "Sep 1, 2019", "2020"});
        row("June from-date", DateCase{from, sep18, "063019", End::Leave, "Jun 30, 2019", "2019"});
        row("four digits", DateCase{to, sep18, "7419", End::Enter, "Jul 4, 2019", "1999"});
        row("five digits", DateCase{to, sep18, "70419", End::Enter, "Jul 4, 2019", "1999"});
        row("short, leaving", DateCase{from, sep18, "123", End::Leave, sep18, "2019"});
        row("short, Enter", DateCase{sub, sep18, "123", End::Enter, "", "1999"});
        row("seventh digit", DateCase{sub, "", "0704195", End::Enter, "Jul 4, 2019", "1999"});
        row("impossible, Enter", DateCase{to, sep18, "023019", End::Enter, sep18, "1999"});
        row("impossible, leaving", DateCase{from, sep18, "023019", End::Leave, sep18, "2019"});
        row("Esc", DateCase{from, sep18, "123119", End::Escape, sep18, "2019"});
        row("cleared", DateCase{from, sep18, "\b", End::Enter, "", "1999"});
        row("year window", DateCase{sub, "", "123130", End::Enter, "Dec 31, 1930", "1999"});
        row("unreadable kept", DateCase{sub, "1.9.2019", "", End::Leave, "1.9.2019", "1999"});
        row("German locale", DateCase{from, sep18, "100319", End::Enter, "Oct 3, 2019", "2020", "de_DE"});
    }
    void dateEntry()
    {
        QFETCH(DateCase, d);
        const auto restore = qScopeGuard([saved = QLocale()] { QLocale::setDefault(saved); });
        QLocale::setDefault(QLocale(d.locale));
        WindowFixture f;
        QVERIFY(f.start());
        f.find("txtFind")->setFocus();
        ReportModel& m = f.session.model;
        dateField(m, d.box) = d.before;
        m.ReportYear = "1999";
        f.window()->Fillvalues();
        auto* date = f.find<DateBox>(d.box);
        QCOMPARE(date->text(), d.before);

        date->setFocus(Qt::MouseFocusReason);
        QVERIFY(date->isEditing());
        QCOMPARE(date->text(), DateText::toDigits(d.before));
        date->selectAll();
        QTest::keyClicks(date, d.keys);
        QCOMPARE(date->text(), d.keys.remove('\b').left(6));
        if (d.end == End::Leave)
            f.find("txtPub")->setFocus(Qt::MouseFocusReason);
        else
            QTest::keyClick(date, d.end == End::Enter ? Qt::Key_Return : Qt::Key_Escape);
        QVERIFY(!date->isEditing());
        QCOMPARE(dateField(m, d.box), d.stored);
        QCOMPARE(date->text(), d.stored);
        QCOMPARE(m.ReportYear, d.year);
        if (d.end != End::Leave)
            QCOMPARE(QApplication::focusWidget(), f.find("txtFind"));
    }

    // In display state typed keys and Delete change nothing, Enter starts editing; showing the values ends the
    // editing without storing what was typed. Without watch dates the host is not asked for new senior members and
    // the focus goes to the missing from-date. Each key typed into the to-date is announced.
    void displayStateAndMissingDates()
    {
        WindowFixture f;
        QVERIFY(f.start());
        QSignalSpy keys(f.find("Frame1"), SIGNAL(toDateKeyTyped()));
        QSignalSpy refilled(f.find("Frame1"), SIGNAL(categoryRefilled(int)));
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
        // A box that gets the focus as its window becomes active (the click that activated the window chose it)
        // edits as well; only a closing menu leaves it in the display state.
        f.window()->Fillvalues();
        for (const Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
            QFocusEvent in(QEvent::FocusIn, reason);
            QApplication::sendEvent(from, &in);
            QCOMPARE(from->isEditing(), reason == Qt::ActiveWindowFocusReason);
        }

        for (DateBox* box : {from, f.find<DateBox>("txtTo")}) {
            box->setFocus();
            QTest::keyClicks(box, "\b\b\b\b\b\b");
            QTest::keyClick(box, Qt::Key_Return);
        }
        QCOMPARE(keys.count(), 6);
        f.prompt.clear();
        f.click("cmdNewSen");
        QCOMPARE(f.prompt.texts(), QStringList{"Cannot search database without watch year dates."});
        QCOMPARE(QApplication::focusWidget(), from);
        QVERIFY(from->isEditing());
        QCOMPARE(refilled.count(), 0);
    }

    // A count box takes digits only, nine at most, also when pasted; Enter moves on and the number is stored.
    void countBox_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("paste");
        QTest::addColumn<QString>("shown");
        row("letters ignored", "1a2-b3", "", "123");
        row("empty", "", "", "");
        row("ten digits", "1234567890", "", "123456789");
        row("paste of letters", "12", "3x4", "12");
        row("paste of digits", "12", "345", "12345");
        row("paste past the cap", "1234567", "890", "1234567");
    }
    void countBox()
    {
        QFETCH(QString, keys);
        QFETCH(QString, paste);
        QFETCH(QString, shown);
        WindowFixture f;
        QVERIFY(f.start());
        auto* mm = f.find<QLineEdit>("txtMM");
        mm->setFocus();
        mm->selectAll();
        QTest::keyClick(mm, Qt::Key_Backspace);
        QTest::keyClicks(mm, keys);
        QGuiApplication::clipboard()->setText(paste);
        mm->paste();
        QCOMPARE(mm->text(), shown);
        QTest::keyClick(mm, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f.find("cmdUpdateMM"));
        QCOMPARE(f.session.model.NoMM, shown.toInt());
    }

    // A menu item does not take the focus: before its operation the box being typed into stores what it holds,
    // however often that runs. A count kept against the host's (answer No) stays in its box.
    void commitStoresPendingValues()
    {
        WindowFixture f;
        QVERIFY(f.start());
        ReportModel& m = f.session.model;
        const std::tuple<const char*, const char*, std::function<QString()>, QString> cases[] = {
            {"txtPub", "  Harbour Lights ", [&] { return m.PubName; }, "Harbour Lights"},
            {"txtActMem", "778", [&] { return QString::number(m.NoActive); }, "778"},
            {"txtTo", "063020", [&] { return m.ToDate; }, "Jun 30, 2020"},
            {"txtFrom", "090119", [&] { return m.FromDate + ' ' + m.ReportYear; }, "Sep 1, 2019 2020"},
        };
        for (const auto& [name, keys, stored, expected] : cases) {
            auto* box = f.find<QLineEdit>(name);
            box->setFocus();
            box->selectAll();
            QTest::keyClicks(box, keys);
            for (int i = 0; i < 2; ++i) {
                f.window()->commitEdits();
                QCOMPARE(stored(), expected);
            }
        }
        f.click("chkInc");
        QCOMPARE(m.Incorp, f.find<QCheckBox>("chkInc")->isChecked());
        f.prompt.queue(Prompt::Answer::No);
        f.click("cmdActive");
        QVERIFY(f.prompt.told(Prompt::Icon::Question, {"Rostrel lists ", ", change current value"}));
        QCOMPARE(m.NoActive, 778);
        QCOMPARE(f.find<QLineEdit>("txtActMem")->text(), "778");
    }
};

QTEST_MAIN(TestSquadronData)
#include "tst_squadrondata.moc"
