// The spelling check: which words are looked at, the check of the activities box with the user's decisions
// scripted (messages, the box's text, the clipboard), the personal word list, the dialog itself, and a machine
// without a dictionary.

#include "ScriptedPrompt.h"

#include "editor/SpellingDialog.h"
#include "editor/SpellingUi.h"
#include "output/SpellCheck.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// Decides from a script, one step per unknown word: "ignore", "ignoreall", "add", "cancel", "change:WORD",
// "changeall:WORD"; asked beyond the script, it cancels. Records each word asked as its sentence with the word
// in brackets.
class ScriptedSpelling : public SpellingUi
{
public:
    explicit ScriptedSpelling(QStringList steps) : m_steps(std::move(steps)) {}
    QStringList asked;

    bool run(SpellCheck& check) override
    {
        do {
            const SpellCheck::Sentence s = check.sentence();
            asked << s.text.left(s.wordStart) + '[' + check.word() + ']' +
                         s.text.mid(s.wordStart + check.word().size());
            const QString step = m_steps.isEmpty() ? QStringLiteral("cancel") : m_steps.takeFirst();
            const QString verb = step.section(':', 0, 0), argument = step.section(':', 1);
            if (verb == "cancel")
                return false;
            verb == "ignoreall"   ? check.ignoreAll()
            : verb == "add"       ? check.add()
            : verb == "changeall" ? check.changeAll(argument)
            : verb == "change"    ? check.change(argument)
                                  : check.ignore();
        } while (check.next());
        return true;
    }

private:
    QStringList m_steps;
};

// Runs the check of a box holding `text`; returns the outcome and leaves the box's text in `text`.
SpellOutcome check(QString& text, SpellingUi& ui, ScriptedPrompt& prompt)
{
    QPlainTextEdit box;
    box.setPlainText(text);
    const SpellOutcome outcome = SpellCheckActivities(&box, prompt, ui);
    text = box.toPlainText();
    return outcome;
}

} // namespace

Q_DECLARE_METATYPE(SpellOutcome)

class TestSpellCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY2(IsWord(), "the en_US hunspell dictionary (hunspell-en-us) is needed");
    }
    void cleanupTestCase() { QFile::remove(PersonalWordListPath()); }
    void init()
    {
        QFile::remove(PersonalWordListPath());
        SetDictionaryFolders(DictionaryFolders()); // forgets the personal words loaded before
    }

    void wordsLookedAt()
    {
        const std::pair<QString, QString> rows[] = {
            {"Teh squadron's boats don\u2019t", "Teh|squadron's|boats|don\u2019t"}, // apostrophes inside
            {"'quoted' and squadrons'", "quoted|and|squadrons"},                    // and around
            {"Call 555-1234 on the 3rd, 12 of 1990s A1", "Call|on|the|of"},
            {"Ask the VSC and COW", "Ask|the|and"},
            {"P/C John Smith, e.g. a boat", "John|Smith|boat"},
            {"well-known", "well|known"},
            {"Mail jo.smith@example.org or http://x.org/page www.x.org now", "Mail|or|now"},
            {"one\ntwo\r\nthree", "one|two|three"}};
        for (const auto& [text, expected] : rows) {
            QStringList words;
            for (TextWord w = NextWordToCheck(text, 0); w.found(); w = NextWordToCheck(text, w.start + w.length))
                words << text.mid(w.start, w.length);
            QCOMPARE(words.join('|'), expected);
        }
    }

    void checkActivities_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<SpellOutcome>("outcome");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QStringList>("asked");
        const QString clean = "The squadron held six meetings, 12 with guests.", teh = "Teh boats. Teh dock.";
        QTest::newRow("empty") << "" << QStringList() << SpellOutcome::Empty << "" << QStringList();
        QTest::newRow("clean") << clean << QStringList() << SpellOutcome::Complete << clean << QStringList();
        QTest::newRow("corrected") << "We met. The squadron held six meetngs. Then we sailed\nSecnd line\nand so on"
                                   << QStringList{"change:meetings", "change:Second"} << SpellOutcome::Corrected
                                   << "We met. The squadron held six meetings. Then we sailed\nSecond line\nand so on"
                                   << QStringList{"The squadron held six [meetngs].", "[Secnd] line"};
        QTest::newRow("cancel") << teh << QStringList{"change:The", "cancel"} << SpellOutcome::Cancelled << teh
                                << QStringList{"[Teh] boats.", "[Teh] dock."};
        QTest::newRow("ignored") << teh + " Sailng." << QStringList{"ignoreall", "ignore"} << SpellOutcome::Complete
                                 << teh + " Sailng." << QStringList{"[Teh] boats.", "[Sailng]."};
        QTest::newRow("change all") << "Teh boats. Sailng. Teh dock." << QStringList{"changeall:The", "change:Sailing"}
                                    << SpellOutcome::Corrected << "The boats. Sailing. The dock."
                                    << QStringList{"[Teh] boats.", "[Sailng]."};
        // Add keeps the word in the personal list: known in this check, in the next, and after a new start.
        QTest::newRow("add") << "Zorbly boats. Zorbly dock." << QStringList{"add"} << SpellOutcome::Complete
                             << "Zorbly boats. Zorbly dock." << QStringList{"[Zorbly] boats."};
    }
    void checkActivities()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, steps);
        QFETCH(SpellOutcome, outcome);
        QFETCH(QString, after);
        QPlainTextEdit box;
        box.setPlainText(text);
        QGuiApplication::clipboard()->setText(QStringLiteral("held before"));
        ScriptedPrompt prompt;
        ScriptedSpelling ui(steps);

        QCOMPARE(SpellCheckActivities(&box, prompt, ui), outcome);
        QTEST(ui.asked, "asked");
        QCOMPARE(box.toPlainText(), after);
        QCOMPARE(QGuiApplication::clipboard()->text(), outcome == SpellOutcome::Empty ? "held before" : after);
        const bool complete = outcome == SpellOutcome::Complete;
        QCOMPARE(prompt.texts(), complete ? QStringList("The spelling check is complete") : QStringList());
        QVERIFY(!complete || prompt.shown.last().icon == Prompt::Icon::Information);
        if (complete || outcome == SpellOutcome::Corrected)
            QCOMPARE(box.textCursor().position(), int(after.size()));
        if (outcome == SpellOutcome::Corrected) {
            box.undo(); // the correction is one edit
            QCOMPARE(box.toPlainText(), text);
        }
        if (steps.contains("add")) {
            SetDictionaryFolders(DictionaryFolders()); // loads the dictionary again, as a new start does
            ScriptedSpelling none({});
            QCOMPARE(check(text, none, prompt), SpellOutcome::Complete);
            QVERIFY(none.asked.isEmpty());
            QFile list(PersonalWordListPath());
            QVERIFY(list.open(QIODevice::ReadOnly));
            QCOMPARE(list.readAll(), QByteArray("Zorbly\n"));
        }
    }

    // The real dialog, driven by its buttons: the replacement typed, Change, then Change All.
    void dialogButtons()
    {
        QString text = QStringLiteral("Teh boats met. Sailng, Sailng.");
        SpellingDialog dialog;
        QStringList steps{"The:cmdChange", "Sailing:cmdChangeAll"}, shown;
        QTimer driver;
        connect(&driver, &QTimer::timeout, &dialog, [&] {
            if (!dialog.isVisible())
                return;
            auto* replacement = dialog.findChild<QLineEdit*>(QStringLiteral("txtChangeTo"));
            shown << replacement->text();
            const QString step = steps.isEmpty() ? QStringLiteral(":cmdCancel") : steps.takeFirst(); // asked too often
            replacement->setText(step.section(':', 0, 0));
            dialog.findChild<QPushButton*>(step.section(':', 1))->click();
        });
        driver.start(0);
        ScriptedPrompt prompt;
        QCOMPARE(check(text, dialog, prompt), SpellOutcome::Corrected);
        QCOMPARE(text, QStringLiteral("The boats met. Sailing, Sailing."));
        QCOMPARE(shown.size(), 2);
        QVERIFY2(!shown.contains(QString()), "the replacement box starts with a suggestion or the word");
    }

    // Without a dictionary (an empty folder, or one without the .dic file) nothing is checked and the user is told.
    void noDictionary()
    {
        const QStringList before = DictionaryFolders();
        for (const QStringList& files : {QStringList(), QStringList{"en_US.aff"}}) {
            QTemporaryDir dir;
            for (const QString& name : files)
                QVERIFY(QFile::copy(QStringLiteral("/usr/share/hunspell/") + name, dir.filePath(name)));
            SetDictionaryFolders({dir.path()});
            QVERIFY(!IsWord());
            QString text = QStringLiteral("Teh boats.");
            ScriptedPrompt prompt;
            ScriptedSpelling ui({});
            QCOMPARE(check(text, ui, prompt), SpellOutcome::NoDictionary);
            QVERIFY(
                prompt.told(Prompt::Icon::Information, {"To spell check, a spelling dictionary must be available"}));
            QVERIFY(text == "Teh boats." && ui.asked.isEmpty());
        }
        SetDictionaryFolders(before);
    }
};

QTEST_MAIN(TestSpellCheck)
#include "tst_spellcheck.moc"
