#pragma once

#include <QList>
#include <QMainWindow>

class Prompt;
class QListWidget;
struct Session;

// The add-in's main window.
class R318grid : public QMainWindow
{
    Q_OBJECT
public:
    R318grid(Session& session, Prompt& prompt, QWidget* parent = nullptr);

    // Restores the window when minimised and brings it to the front (a second copy was started).
    void bringToFront();

    const QList<qint32>& memberIds() const { return MemberIDs; }

private:
    Session& m_session;
    Prompt& m_prompt;
    QListWidget* cmbName = nullptr;
    QList<qint32> MemberIDs;
};
