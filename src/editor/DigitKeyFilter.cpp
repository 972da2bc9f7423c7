#include "editor/DigitKeyFilter.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

bool isDigits(const QString& text)
{
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

} // namespace

DigitKeyFilter::Verdict DigitKeyFilter::judge(const QKeyEvent& key)
{
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)
        return Verdict::Enter;
    if (key.key() == Qt::Key_Backspace)
        return Verdict::Pass;
    // A key types something when its text begins with a printable character; Delete, Tab, the arrows and
    // the Ctrl shortcuts carry no text or a control character.
    const QString text = key.text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return Verdict::Pass;
    return isDigits(text) ? Verdict::Pass : Verdict::Drop;
}

void DigitKeyFilter::install(QLineEdit* box, int maxDigits)
{
    box->installEventFilter(new DigitKeyFilter(box, maxDigits));
    box->setValidator(new DigitsValidator(maxDigits, box));
}

bool DigitKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (judge(*key)) {
    case Verdict::Drop:
        return true;
    case Verdict::Enter: {
        // The next control is the one Tab goes to.
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(watched, &tab);
        return true;
    }
    case Verdict::Pass:
        break;
    }
    if (m_max > 0 && !key->text().isEmpty() && key->text().at(0).isPrint()) {
        if (const auto* box = qobject_cast<const QLineEdit*>(watched)) {
            // A digit replaces the selection, so it only counts what stays.
            if (box->text().size() - box->selectedText().size() + key->text().size() > m_max)
                return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

QValidator::State DigitsValidator::validate(QString& input, int&) const
{
    if (!isDigits(input) || (m_max > 0 && input.size() > m_max))
        return Invalid;
    return Acceptable;
}
