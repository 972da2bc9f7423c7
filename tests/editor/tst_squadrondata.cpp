// The "Squadron Data" group: date entry in its display and editing states, the count boxes, the text boxes,
// commit before a menu operation, and the count buttons.

#include "WindowFixture.h"

#include "editor/DateBox.h"
#include "store/DateText.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <functional>

namespace {

enum class End { Enter, Escape, Leave };

// The model field a date box stores into.
QString& dateField(ReportModel& model, const QString& box)
{
    if (box == QLatin1String("txtFrom"))
        return model.FromDate;
    if (box == QLatin1String("txtTo"))
        return model.ToDate;
    return model.SubDate;
}

} // namespace

class TestSquadronData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dateEntry_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<End>("end");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("year");

        const char* sep18 = "Sep 1, 2018";
        const struct
        {
            const char* name;
            const char* box;
            const char* before;
            const char* keys;
            const char* typed;
            End end;
            const char* stored;
            const char* year;
        } cases[] = {
            {"six digits", "txtFrom", sep18, "090119", "090119", End::Enter, "Sep 1, 2019", "2020"},
            {"June from-date", "txtFrom", sep18, "063019", "063019", End::Leave, "Jun 30, 2019", "2019"},
            {"four digits", "txtTo", sep18, "7419", "7419", End::Enter, "Jul 4, 2019", "1999"},
            {"five digits", "txtTo", sep18, "70419", "70419", End::Enter, "Jul 4, 2019", "1999"},
            {"short, leaving", "txtFrom", sep18, "123", "123", End::Leave, sep18, "2019"},
            {"short, Enter", "txtDate", sep18, "123", "123", End::Enter, "", "1999"},
            {"seventh digit", "txtDate", "", "0704195", "070419", End::Enter, "Jul 4, 2019", "1999"},
            {"impossible, Enter", "txtTo", sep18, "023019", "023019", End::Enter, sep18, "1999"},
            {"impossible, leaving", "txtFrom", sep18, "023019", "023019", End::Leave, sep18, "2019"},
            {"Esc", "txtFrom", sep18, "1231", "1231", End::Escape, sep18, "2019"},
            {"cleared", "txtFrom", sep18, "\b", "", End::Enter, "", "1999"},
            {"year window", "txtDate", "", "123130", "123130", End::Enter, "Dec 31, 1930", "1999"},
            {"unreadable kept", "txtDate", "1.9.2019", "", "", End::Leave, "1.9.2019", "1999"},
        };
        for (const auto& c : cases) {
            QTest::newRow(c.name) << QString(c.box) << QString(c.before) << QString(c.keys) << QString(c.typed) << c.end
                                  << QString(c.stored) << QString(c.year);
        }
    }

    void dateEntry()
    {
        QFETCH(QString, box);
        QFETCH(QString, before);
        QFETCH(QString, keys);
        QFETCH(QString, typed);
        QFETCH(End, end);
        QFETCH(QString, stored);
        QFETCH(QString, year);

        WindowFixture f;
        QVERIFY(f.start());
        f.find<QWidget>("txtFind")->setFocus();
        ReportModel& model = f.session.model;
        dateField(model, box) = before;
        model.ReportYear = QStringLiteral("1999");
        f.window()->Fillvalues();
        auto* date = f.find<DateBox>(box);
        QCOMPARE(date->text(), before);

        date->setFocus(Qt::MouseFocusReason);
        QVERIFY(date->isEditing());
        QCOMPARE(date->text(), DateText::toDigits(before));
        date->selectAll();
        QTest::keyClicks(date, keys);
        QCOMPARE(date->text(), typed);
        switch (end) {
        case End::Enter:
            QTest::keyClick(date, Qt::Key_Return);
            break;
        case End::Escape:
            QTest::keyClick(date, Qt::Key_Escape);
            break;
        case End::Leave:
            f.find<QLineEdit>("txtPub")->setFocus(Qt::MouseFocusReason);
            break;
        }
        QVERIFY(!date->isEditing());
        QCOMPARE(dateField(model, box), stored);
        QCOMPARE(date->text(), stored);
        QCOMPARE(model.ReportYear, year);
        if (end != End::Leave)
            QCOMPARE(QApplication::focusWidget(), f.find<QWidget>("txtFind"));
    }

    // Typing in display state changes nothing; Enter starts editing there.
    void displayState()
    {
        WindowFixture f;
        QVERIFY(f.start());
        f.session.model.FromDate = QStringLiteral("Sep 1, 2019");
        f.window()->Fillvalues();
        auto* from = f.find<DateBox>("txtFrom");
        from->setFocus();
        QTest::keyClicks(from, "12");
        // Showing the values ends the editing without storing what was typed.
        f.window()->Fillvalues();
        QVERIFY(!from->isEditing());
        QCOMPARE(from->text(), "Sep 1, 2019");
        QTest::keyClicks(from, "7a");
        QTest::keyClick(from, Qt::Key_Delete);
        QTest::keyClick(from, Qt::Key_Backspace);
        QCOMPARE(from->text(), "Sep 1, 2019");
        QTest::keyClick(from, Qt::Key_Return);
        QVERIFY(from->isEditing());
        QCOMPARE(from->text(), "090119");
        f.find<QLineEdit>("txtPub")->setFocus();
        QCOMPARE(f.session.model.FromDate, "Sep 1, 2019");
    }

    void storesEnglishMonthsInAnyLocale()
    {
        const auto restore = qScopeGuard([saved = QLocale()] { QLocale::setDefault(saved); });
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        WindowFixture f;
        QVERIFY(f.start());
        auto* from = f.find<DateBox>("txtFrom");
        from->setFocus();
        QTest::keyClicks(from, "\b\b\b\b\b\b100319");
        QTest::keyClick(from, Qt::Key_Return);
        QCOMPARE(f.session.model.FromDate, "Oct 3, 2019");
        QCOMPARE(f.session.model.ReportYear, "2020");
    }

    // Without watch dates the host is not asked and the focus goes to the missing from-date.
    void newSeniorsNeedWatchDates()
    {
        WindowFixture f;
        QVERIFY(f.start());
        QSignalSpy keys(f.find<QObject>("Frame1"), SIGNAL(toDateKeyTyped()));
        QSignalSpy refilled(f.find<QObject>("Frame1"), SIGNAL(categoryRefilled(int)));
        for (const char* name : {"txtFrom", "txtTo"}) {
            auto* box = f.find<DateBox>(name);
            box->setFocus();
            QTest::keyClicks(box, "\b\b\b\b\b\b");
            QTest::keyClick(box, Qt::Key_Return);
        }
        QCOMPARE(keys.count(), 6);
        QVERIFY(f.session.model.FromDate.isEmpty() && f.session.model.ToDate.isEmpty());
        f.prompt.clear();
        QTest::mouseClick(f.find<QPushButton>("cmdNewSen"), Qt::LeftButton);
        QCOMPARE(f.prompt.texts(), QStringList{"Cannot search database without watch year dates."});
        QCOMPARE(QApplication::focusWidget(), f.find<QWidget>("txtFrom"));
        QVERIFY(f.find<DateBox>("txtFrom")->isEditing());
        QCOMPARE(refilled.count(), 0);
    }

    void countBox_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("paste");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<qint32>("stored");

        const struct
        {
            const char* name;
            const char* keys;
            const char* paste;
            const char* shown;
            qint32 stored;
        } cases[] = {
            {"letters ignored", "1a2-b3", "", "123", 123},
            {"empty", "", "", "", 0},
            {"ten digits", "1234567890", "", "123456789", 123456789},
            {"paste of letters", "12", "3x4", "12", 12},
            {"paste of digits", "12", "345", "12345", 12345},
            {"paste past the cap", "1234567", "890", "1234567", 1234567},
        };
        for (const auto& c : cases)
            QTest::newRow(c.name) << QString(c.keys) << QString(c.paste) << QString(c.shown) << c.stored;
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
        // Enter goes on to the next control, which stores the number.
        QTest::keyClick(mm, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f.find<QWidget>("cmdUpdateMM"));
        QCOMPARE(f.session.model.NoMM, stored);
    }

    // A menu item does not take the focus: before its operation the box being typed into stores what it holds,
    // however often that runs.
    void commitStoresPendingValues()
    {
        WindowFixture f;
        QVERIFY(f.start());
        ReportModel& model = f.session.model;
        const struct
        {
            const char* box;
            const char* keys;
            std::function<QString()> stored;
            QString expected;
        } cases[] = {
            {"txtPub", "  Harbour Lights ", [&] { return model.PubName; }, "Harbour Lights"},
            {"txtActMem", "778", [&] { return QString::number(model.NoActive); }, "778"},
            {"txtTo", "063020", [&] { return model.ToDate; }, "Jun 30, 2020"},
            {"txtFrom", "090119", [&] { return model.FromDate + ' ' + model.ReportYear; }, "Sep 1, 2019 2020"},
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
        auto* incorporated = f.find<QCheckBox>("chkInc");
        QTest::mouseClick(incorporated, Qt::LeftButton);
        QCOMPARE(model.Incorp, incorporated->isChecked());
    }

    void activeAnsweredNoKeepsOld()
    {
        WindowFixture f;
        QVERIFY(f.start());
        f.session.model.NoActive = 5;
        f.window()->Fillvalues();
        f.prompt.clear();
        f.prompt.queue(Prompt::Answer::No);
        QTest::mouseClick(f.find<QPushButton>("cmdActive"), Qt::LeftButton);
        QVERIFY(f.prompt.told(Prompt::Icon::Question, {"Rostrel lists ", ", change current value"}));
        QCOMPARE(f.session.model.NoActive, 5);
        QCOMPARE(f.find<QLineEdit>("txtActMem")->text(), "5");
    }
};

QTEST_MAIN(TestSquadronData)
#include "tst_squadrondata.moc"
