#include "editor/DateBox.h"

#include "editor/DigitKeyFilter.h"
#include "store/DateText.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>

namespace {

constexpr int kDigits = 6;

// Menus, context menus and other windows take the focus only for a while: the box stays the window's focus.
bool isPassing(const QFocusEvent* event)
{
    return event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason;
}

} // namespace

// While editing: up to six digits. In display state: the shown text and nothing else, so that no paste, cut,
// Delete or drop changes it.
class DateBox::Validator : public DigitsValidator
{
public:
    explicit Validator(DateBox* box) : DigitsValidator(kDigits, box), m_box(box) {}
    State validate(QString& input, int& pos) const override
    {
        if (m_box->m_editing)
            return DigitsValidator::validate(input, pos);
        return input == m_box->m_shown ? Acceptable : Invalid;
    }

private:
    DateBox* m_box;
};

DateBox::DateBox(const QString& objectName, std::function<void(const QString&)> store, QWidget* parent)
    : QLineEdit(parent), m_store(std::move(store))
{
    setObjectName(objectName);
    setValidator(new Validator(this));
}

void DateBox::display(const QString& text)
{
    m_editing = false;
    m_shown = text;
    setText(text);
    setCursorPosition(0);
}

void DateBox::showDate(const QString& stored)
{
    display(stored);
}

void DateBox::commit()
{
    if (m_editing)
        finish(Finish::Leave);
}

void DateBox::startEditing()
{
    m_before = m_shown;
    m_editing = true;
    const QString digits = DateText::toDigits(m_before);
    setText(digits);
    setCursorPosition(int(digits.size()));
}

void DateBox::finish(Finish how)
{
    const QString digits = text();
    QString stored = m_before;
    if (how == Finish::Enter && DateText::FormatDateDigits(digits).isEmpty()) {
        stored.clear();
    } else if (how != Finish::Escape && (how == Finish::Enter || digits.size() >= kDigits)) {
        const QString date = DateText::fromDigits(digits);
        if (!date.isEmpty())
            stored = date;
    }
    display(stored);
    m_store(stored);
    Q_EMIT dateStored();
    if (how != Finish::Leave && m_next)
        m_next->setFocus(Qt::OtherFocusReason);
}

void DateBox::keyPressEvent(QKeyEvent* event)
{
    const DigitKeyFilter::Verdict verdict = DigitKeyFilter::judge(*event);
    if (verdict == DigitKeyFilter::Verdict::Enter) {
        if (m_editing)
            finish(Finish::Enter);
        else
            startEditing();
        return;
    }
    if (event->key() == Qt::Key_Escape && m_editing) {
        finish(Finish::Escape);
        return;
    }
    if (verdict == DigitKeyFilter::Verdict::Drop || (!m_editing && verdict == DigitKeyFilter::Verdict::Pass &&
                                                     !event->text().isEmpty() && event->text().at(0).isPrint()))
        return;
    QLineEdit::keyPressEvent(event);
}

void DateBox::keyReleaseEvent(QKeyEvent* event)
{
    QLineEdit::keyReleaseEvent(event);
    if (hasFocus() && !event->isAutoRepeat())
        Q_EMIT keyTyped();
}

void DateBox::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // Also when the window becomes active: a click that activates the window gives its box the focus then, and
    // the box must take the typed digits. Only a closing menu leaves the box as it was.
    if (event->reason() != Qt::PopupFocusReason && !m_editing)
        startEditing();
}

void DateBox::focusOutEvent(QFocusEvent* event)
{
    if (!isPassing(event) && m_editing)
        finish(Finish::Leave);
    QLineEdit::focusOutEvent(event);
}

void DateBox::inputMethodEvent(QInputMethodEvent* event)
{
    // In display state an input method commits nothing; while editing the validator keeps to the digits.
    if (!m_editing && !event->commitString().isEmpty()) {
        event->accept();
        return;
    }
    QLineEdit::inputMethodEvent(event);
}
