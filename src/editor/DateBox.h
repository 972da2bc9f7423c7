#pragma once

#include <QLineEdit>

#include <functional>

// A date box of the squadron data: it shows the stored date "mmm d, yyyy" and is edited as six digits "mmddyy".
//
// Display state: typed characters are dropped and nothing else changes the text. Entering the box, or Enter, starts
// editing: the date becomes its digits, and the date is remembered. While editing only digits and Backspace are
// taken, and a seventh digit is removed at once. Enter finishes: 4, 5 or 6 digits become the date, any other
// count clears it. Esc puts the remembered date back and finishes. Leaving the box finishes too, but fewer than six
// digits (or an impossible date) keep the date the box had when editing began. Finishing stores the date
// through the store function and, after Enter or Esc, moves the focus to the member search box.
//
// An impossible date (02 30 19) keeps the date the box had when editing began, after Enter as after leaving. A
// stored text that does not read as a date is shown as it is and starts editing with no digits. The focus
// leaving for a menu, a context menu or another window does not finish editing.
class DateBox : public QLineEdit
{
    Q_OBJECT
public:
    // store receives the stored text ("Sep 1, 2019" or empty) whenever editing finishes.
    DateBox(const QString& objectName, std::function<void(const QString&)> store, QWidget* parent = nullptr);

    // Where the focus goes after Enter or Esc.
    void setFocusAfterFinish(QWidget* widget) { m_next = widget; }

    // Shows a stored date in display state (ends any editing without storing).
    void showDate(const QString& stored);

    bool isEditing() const { return m_editing; }
    // Finishes editing as leaving the box does (the value is stored); nothing when not editing.
    void commit();

Q_SIGNALS:
    // After every key typed while the box has the focus.
    void keyTyped();
    // Editing finished and the date was stored.
    void dateStored();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    enum class Finish { Enter, Escape, Leave };
    class Validator;

    void startEditing();
    void finish(Finish how);
    // Shows the text in display state.
    void display(const QString& text);

    std::function<void(const QString&)> m_store;
    QWidget* m_next = nullptr;
    bool m_editing = false;
    // What the box shows in display state; nothing else gets past the validator there.
    QString m_shown;
    // The stored text when editing began: what an Esc, a short entry or an impossible date puts back.
    QString m_before;
};
