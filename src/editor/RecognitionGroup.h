#pragma once

#include <QGroupBox>

class QButtonGroup;
class QLineEdit;
class QTableWidget;
struct Session;

// "Members Recognized By Name" (Frame2): eight option buttons pick the officer list or one of the seven
// recognition lists; the grid shows the picked list.
class RecognitionGroup : public QGroupBox
{
    Q_OBJECT
public:
    explicit RecognitionGroup(Session& session, QWidget* parent = nullptr);

    // A report was loaded: no category picked and the grid hidden.
    void reset();

    // The category buttons, enabled in grid mode and disabled while a cell is edited.
    void setCategoriesEnabled(bool enabled);

    // The list shown (0 officers, 1..7 a recognition category); -1 while none is.
    int gridCategory() const { return GridCategory; }
    // Shows list i as a click on OptGrid_i does.
    void showCategory(int category);
    // Shows the current list again from the model (a host look-up changed it).
    void refresh();

    // The applied colour scheme.
    void paint();

Q_SIGNALS:
    // A category was clicked: the member list's Add targets the grid again.
    void categoryClicked();

private:
    Session& m_session;
    QButtonGroup* m_buttons = nullptr;
    QTableWidget* Grid = nullptr;
    QLineEdit* Edittext = nullptr;
    int GridCategory = -1;
};
