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
// "changeall:WORD". Records each word asked as its sentence with the word in brackets.
class ScriptedSpelling : public SpellingUi
{
public:
    explicit ScriptedSpelling(QStringList steps) : m_steps(std::move(steps)) {}
    QStringList asked;
    bool overrun = false; // asked more often than scripted

    bool run(SpellCheck& check) override
    {
        do {
            const SpellCheck::Sentence s = check.sentence();
            asked << s.text.left(s.wordStart) + QLatin1Char('[') + check.word() + QLatin1Char(']') +
                         s.text.mid(s.wordStart + check.word().size());
            if (m_steps.isEmpty()) {
                overrun = true;
                return false;
            }
            const QString step = m_steps.takeFirst();
            const QString argument = step.section(QLatin1Char(':'), 1);
            if (step == QLatin1String("cancel"))
                return false;
            if (step == QLatin1String("ignore"))
                check.ignore();
            else if (step == QLatin1String("ignoreall"))
                check.ignoreAll();
            else if (step == QLatin1String("add"))
                check.add();
            else if (step.startsWith(QLatin1String("changeall:")))
                check.changeAll(argument);
            else
                check.change(argument);
        } while (check.next());
        return true;
    }

private:
    QStringList m_steps;
};

// The words NextWordToCheck finds, joined by "|".
QString wordsOf(const QString& text)
{
    QStringList words;
    for (TextWord w = NextWordToCheck(text, 0); w.found(); w = NextWordToCheck(text, w.start + w.length))
        words << text.mid(w.start, w.length);
    return words.join(QLatin1Char('|'));
}

const QString kComplete = QStringLiteral("The spelling check is complete");

} // namespace

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

    void wordsLookedAt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("words");
        QTest::newRow("apostrophes inside") << "Teh squadron's boats don\u2019t"
                                            << "Teh|squadron's|boats|don\u2019t";
        QTest::newRow("quotes around") << "'quoted' and squadrons'"
                                       << "quoted|and|squadrons";
        QTest::newRow("digits") << "Call 555-1234 on the 3rd, 12 of 1990s A1"
                                << "Call|on|the|of";
        QTest::newRow("abbreviations") << "Ask the VSC and COW"
                                       << "Ask|the|and";
        QTest::newRow("single letters") << "P/C John Smith, e.g. a boat"
                                        << "John|Smith|boat";
        QTest::newRow("hyphen divides") << "well-known"
                                        << "well|known";
        QTest::newRow("addresses") << "Mail jo.smith@example.org or http://x.org/page www.x.org now"
                                   << "Mail|or|now";
        QTest::newRow("line breaks") << "one\ntwo\r\nthree"
                                     << "one|two|three";
    }
    void wordsLookedAt()
    {
        QFETCH(QString, text);
        QFETCH(QString, words);
        QCOMPARE(wordsOf(text), words);
    }

    void checkActivities_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QStringList>("asked");

        const auto outcome = [](SpellOutcome o) {
            return int(o);
        };
        QTest::newRow("empty") << "" << QStringList() << outcome(SpellOutcome::Empty) << "" << QStringList();
        QTest::newRow("clean") << "The squadron held six meetings, 12 with guests." << QStringList()
                               << outcome(SpellOutcome::Complete) << "The squadron held six meetings, 12 with guests."
                               << QStringList();
        QTest::newRow("corrected") << "We met twice. The squadron held six meetngs. Then we sailed."
                                   << QStringList{"change:meetings"} << outcome(SpellOutcome::Corrected)
                                   << "We met twice. The squadron held six meetings. Then we sailed."
                                   << QStringList{"The squadron held six [meetngs]."};
        QTest::newRow("second line") << "First line.\nSecnd line" << QStringList{"change:Second"}
                                     << outcome(SpellOutcome::Corrected) << "First line.\nSecond line"
                                     << QStringList{"[Secnd] line"};
        QTest::newRow("cancel") << "Teh boats. Teh dock." << QStringList{"change:The", "cancel"}
                                << outcome(SpellOutcome::Cancelled) << "Teh boats. Teh dock."
                                << QStringList{"[Teh] boats.", "[Teh] dock."};
        QTest::newRow("ignored only") << "Teh boats." << QStringList{"ignore"} << outcome(SpellOutcome::Complete)
                                      << "Teh boats." << QStringList{"[Teh] boats."};
        QTest::newRow("ignore all") << "Teh boats. Teh dock." << QStringList{"ignoreall"}
                                    << outcome(SpellOutcome::Complete) << "Teh boats. Teh dock."
                                    << QStringList{"[Teh] boats."};
        QTest::newRow("change all") << "Teh boats. Sailng. Teh dock." << QStringList{"changeall:The", "change:Sailing"}
                                    << outcome(SpellOutcome::Corrected) << "The boats. Sailing. The dock."
                                    << QStringList{"[Teh] boats.", "[Sailng]."};
    }
    void checkActivities()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, steps);
        QFETCH(int, outcome);
        QFETCH(QString, after);
        QFETCH(QStringList, asked);

        QPlainTextEdit box;
        box.setPlainText(text);
        QGuiApplication::clipboard()->setText(QStringLiteral("held before"));
        ScriptedPrompt prompt;
        ScriptedSpelling ui(steps);

        QCOMPARE(int(SpellCheckActivities(&box, prompt, ui)), outcome);
        QVERIFY(!ui.overrun);
        QCOMPARE(ui.asked, asked);
        QCOMPARE(box.toPlainText(), after);
        const bool ran = outcome != int(SpellOutcome::Empty);
        QCOMPARE(QGuiApplication::clipboard()->text(), ran ? after : QStringLiteral("held before"));
        if (outcome == int(SpellOutcome::Complete)) {
            QCOMPARE(prompt.texts(), QStringList{kComplete});
            QCOMPARE(prompt.shown.last().icon, Prompt::Icon::Information);
        } else {
            QCOMPARE(prompt.texts(), QStringList());
        }
        if (outcome == int(SpellOutcome::Complete) || outcome == int(SpellOutcome::Corrected))
            QCOMPARE(box.textCursor().position(), int(after.size()));
        if (outcome == int(SpellOutcome::Corrected)) {
            box.undo(); // the correction is one edit
            QCOMPARE(box.toPlainText(), text);
        }
    }

    // Add keeps the word in the personal list: known in this check, in the next, and after a new start.
    void addedWordIsKept()
    {
        ScriptedPrompt prompt;
        QPlainTextEdit box;
        box.setPlainText(QStringLiteral("Zorbly boats. Zorbly dock."));
        ScriptedSpelling adding({"add"});
        QCOMPARE(SpellCheckActivities(&box, prompt, adding), SpellOutcome::Complete);
        QCOMPARE(adding.asked.size(), 1);

        SetDictionaryFolders(DictionaryFolders()); // loads the dictionary again, as a new start does
        ScriptedSpelling none({});
        QCOMPARE(SpellCheckActivities(&box, prompt, none), SpellOutcome::Complete);
        QVERIFY(!none.overrun);
        QFile list(PersonalWordListPath());
        QVERIFY(list.open(QIODevice::ReadOnly));
        QCOMPARE(list.readAll(), QByteArray("Zorbly\n"));
    }

    // The real dialog, driven by its buttons: the replacement typed, Change, then Change All.
    void dialogButtons()
    {
        QPlainTextEdit box;
        box.setPlainText(QStringLiteral("Teh boats met. Sailng, Sailng."));
        SpellingDialog dialog;
        QStringList steps{"The:cmdChange", "Sailing:cmdChangeAll"};
        QStringList shown;
        QTimer driver;
        connect(&driver, &QTimer::timeout, &dialog, [&] {
            if (!dialog.isVisible() || steps.isEmpty())
                return;
            auto* replacement = dialog.findChild<QLineEdit*>(QStringLiteral("txtChangeTo"));
            shown << replacement->text();
            const QString step = steps.takeFirst();
            replacement->setText(step.section(QLatin1Char(':'), 0, 0));
            dialog.findChild<QPushButton*>(step.section(QLatin1Char(':'), 1))->click();
        });
        driver.start(0);
        ScriptedPrompt prompt;
        QCOMPARE(SpellCheckActivities(&box, prompt, dialog), SpellOutcome::Corrected);
        QCOMPARE(box.toPlainText(), QStringLiteral("The boats met. Sailing, Sailing."));
        QCOMPARE(shown.size(), 2);
        QVERIFY2(!shown.contains(QString()), "the replacement box starts with a suggestion or the word");
    }

    void noDictionary_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::newRow("empty folder") << QStringList();
        QTest::newRow("no .dic") << QStringList{"en_US.aff"};
    }
    void noDictionary()
    {
        QFETCH(QStringList, files);
        QTemporaryDir dir;
        for (const QString& name : files)
            QVERIFY(QFile::copy(QStringLiteral("/usr/share/hunspell/") + name, dir.filePath(name)));
        const QStringList before = DictionaryFolders();
        SetDictionaryFolders({dir.path()});
        QVERIFY(!IsWord());

        QPlainTextEdit box;
        box.setPlainText(QStringLiteral("Teh boats."));
        ScriptedPrompt prompt;
        ScriptedSpelling ui({});
        QCOMPARE(SpellCheckActivities(&box, prompt, ui), SpellOutcome::NoDictionary);
        QVERIFY(prompt.told(Prompt::Icon::Information, {"To spell check, a spelling dictionary must be available"}));
        QCOMPARE(box.toPlainText(), QStringLiteral("Teh boats."));
        QVERIFY(ui.asked.isEmpty());
        SetDictionaryFolders(before);
    }
};

QTEST_MAIN(TestSpellCheck)
#include "tst_spellcheck.moc"
