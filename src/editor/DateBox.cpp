#include "editor/DateBox.h"

DateBox::DateBox(const QString& objectName, std::function<void(const QString&)> store, QWidget* parent)
    : QLineEdit(parent), m_store(std::move(store))
{
    setObjectName(objectName);
}

void DateBox::showDate(const QString& stored)
{
    m_editing = false;
    setText(stored);
}

void DateBox::commit() {}
void DateBox::keyPressEvent(QKeyEvent* event)
{
    QLineEdit::keyPressEvent(event);
}
void DateBox::keyReleaseEvent(QKeyEvent* event)
{
    QLineEdit::keyReleaseEvent(event);
}
void DateBox::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
}
void DateBox::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
}
void DateBox::inputMethodEvent(QInputMethodEvent* event)
{
    QLineEdit::inputMethodEvent(event);
}
void DateBox::startEditing() {}
void DateBox::finish(bool) {}
