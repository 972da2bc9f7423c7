#pragma once

#include <QGroupBox>

class QButtonGroup;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QRadioButton;
struct Session;

// "Activities and Awards" (Frame11): thirteen option buttons pick one of the report's activity and award
// texts; one multi-line box shows and edits it, and the group's title becomes the prompt of the picked text.
//
// The report keeps line breaks as CR LF; the box shows them as ordinary line breaks. The box's text goes
// into the model when the box loses the focus (trailing line breaks removed) and when commit() runs.
class ActivitiesGroup : public QGroupBox
{
    Q_OBJECT
public:
    explicit ActivitiesGroup(Session& session, QWidget* parent = nullptr);

    // A report was loaded: no button picked, the box hidden and empty, the title back to "Activities and
    // Awards", and nothing left to store: ActivitiesTarget and PendingInsertText are cleared.
    void reset();

    // Stores the box's text when the box is the target (it took the focus and may hold text not yet stored):
    // the same as the box losing the focus.
    void commit();

    // Stores the box's text into the picked text (the box's text was replaced, as a spelling check does).
    void storeShownText();

    // Picks text i (0..12) as a click on OptActivities_i does.
    void pick(int index);

    // The member list's Add puts names into the box while it is the target.
    bool activitiesTarget() const { return ActivitiesTarget; }
    void setActivitiesTarget(bool target) { ActivitiesTarget = target; }
    int activityIndex() const { return ActivityIndex; }
    int activityCaret() const { return ActivityCaret; }
    QString pendingInsertText() const { return PendingInsertText; }
    void setPendingInsertText(const QString& text) { PendingInsertText = text; }
    QPlainTextEdit* textBox() const { return txtActivities; }

    // The applied colour scheme.
    void paint();

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The box took the focus: it becomes Add's target; the caret goes where Add left it, else to the end.
    void gotFocus();
    // The box's handling when it loses the focus: its text, without trailing line breaks, becomes the picked
    // text of the model and is shown again. Nothing while no text is picked.
    void store();
    // Marks the picked button; -1 unmarks all.
    void markPicked(int index);

    Session& m_session;
    QButtonGroup* m_buttons = nullptr;
    QLabel* Label14 = nullptr;
    QFrame* m_separator = nullptr;
    QPlainTextEdit* txtActivities = nullptr;
    int ActivityIndex = -1;
    bool ActivitiesTarget = false;
    int ActivityCaret = 0;
    QString PendingInsertText;
};
