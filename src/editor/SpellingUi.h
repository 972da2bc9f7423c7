#pragma once

class Prompt;
class QPlainTextEdit;
class SpellCheck;

// Where the user decides on each word the dictionary does not know: the spelling dialog, or a script in tests.
class SpellingUi
{
public:
    virtual ~SpellingUi() = default;
    // Called with the check standing at its first unknown word. Applies the user's decision on it (ignore,
    // change, add ...), moves on with check.next() and repeats until the text ends (true) or the user cancels
    // (false).
    virtual bool run(SpellCheck& check) = 0;
};

enum class SpellOutcome {
    Empty,        // the box holds no text: nothing loaded, nothing shown
    NoDictionary, // "To spell check, a spelling dictionary must be available" shown; the text unchanged
    Complete,     // no word changed: "The spelling check is complete" shown
    Corrected,    // the box holds the corrected text; nothing shown
    Cancelled,    // the user cancelled: the text unchanged, nothing shown
};

// "Spell Check" on the activities text box. The window commits the box before and stores it after a
// correction: the checked text replaces the box's whole text as one edit (undone at once with Ctrl+Z) and the
// caret goes to its end. Once the check has run (also after Cancel) the clipboard holds the box's text, as it
// did when the text went through the clipboard to the word processor.
SpellOutcome SpellCheckActivities(QPlainTextEdit* box, Prompt& prompt, SpellingUi& ui);
