#pragma once

#include <QGroupBox>

class Prompt;
class QButtonGroup;
class QLineEdit;
class QTableWidget;
struct Session;

// "Members Recognized By Name" (Frame2): eight option buttons pick the officer list (category 0) or one of the
// seven recognition lists (1..7); the grid shows the picked list, and cells are edited in a box laid over
// the cell. Rows are numbered as the report numbers them: data row 1 is the first below the header row.
class RecognitionGroup : public QGroupBox
{
    Q_OBJECT
public:
    RecognitionGroup(Session& session, Prompt& prompt, QWidget* parent = nullptr);

    // A report was loaded: no category picked, the grid hidden, no cell being edited.
    void reset();

    // The category buttons, enabled in grid mode and disabled while a cell is edited.
    void setCategoriesEnabled(bool enabled);

    // The list shown (0 officers, 1..7 a recognition category); -1 while none is.
    int gridCategory() const { return GridCategory; }
    bool isGridShown() const;
    // Shows list i as a click on OptGrid_i does.
    void showCategory(int category);
    // Fills the grid again from the model for the list shown (FillGrid); nothing while none is shown.
    void FillGrid();

    // The current data row (1-based; 0 when there is none) and column of the grid.
    int currentRow() const;
    int currentColumn() const;
    void setCurrentCell(int row, int column);
    // The text of a cell of a data row.
    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString& text);
    // Whether the row of the officer list is a section heading (false for the recognition lists).
    bool isHeadingRow(int row) const;

    // Stores the text of a cell being edited (ProcessEditText); nothing when no cell is edited. Runs before
    // the operations a menu starts and when the window closes.
    void commit();
    bool isEditing() const;

    // The applied colour scheme (the grid's header, empty area and cells included).
    void paint();

Q_SIGNALS:
    // A category was clicked: the member list's Add targets the grid again.
    void categoryClicked();
    // The grid took the focus: the member list's Add targets the grid again, nothing is pending.
    void gridFocused();
    // The edit box opened (true: edit mode) or closed (false: grid mode).
    void editModeChanged(bool editing);

private:
    Session& m_session;
    Prompt& m_prompt;
    QButtonGroup* m_buttons = nullptr;
    QTableWidget* Grid = nullptr;
    QLineEdit* Edittext = nullptr;
    int GridCategory = -1;
    int EditRow = 0;
    int EditCol = 0;
    bool RightClickPending = false;
};
