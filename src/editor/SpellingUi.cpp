#include "SpellingUi.h"

#include "base/Prompt.h"
#include "output/SpellCheck.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QTextCursor>

SpellOutcome SpellCheckActivities(QPlainTextEdit* box, Prompt& prompt, SpellingUi& ui)
{
    const QString text = box->toPlainText();
    if (text.isEmpty())
        return SpellOutcome::Empty;
    Dictionary* dictionary = SpellingDictionary();
    if (!dictionary) {
        prompt.information(QStringLiteral("To spell check, a spelling dictionary must be available"));
        return SpellOutcome::NoDictionary;
    }

    SpellCheck check(text, *dictionary);
    if (check.next() && !ui.run(check)) {
        QGuiApplication::clipboard()->setText(text);
        return SpellOutcome::Cancelled;
    }

    const QString checked = check.text();
    if (checked != text) {
        QTextCursor whole(box->document());
        whole.select(QTextCursor::Document);
        whole.insertText(checked);
    }
    QTextCursor end = box->textCursor();
    end.movePosition(QTextCursor::End);
    box->setTextCursor(end);
    QGuiApplication::clipboard()->setText(checked);

    if (checked != text)
        return SpellOutcome::Corrected;
    prompt.information(QStringLiteral("The spelling check is complete"));
    return SpellOutcome::Complete;
}
