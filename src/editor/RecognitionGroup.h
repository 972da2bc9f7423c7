#pragma once

#include <QGroupBox>

class Prompt;
class QButtonGroup;
class QColor;
class QKeyEvent;
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
    // The first visible data row (1-based), and the number of rows with the header row. Any data row may come to
    // the top, the last one included.
    int topRow() const;
    void setTopRow(int row);
    int rows() const;

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
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A click on OptGrid_i: the button marked, the list shown.
    void optGridClick(int category);
    // The shape of the list shown: rows, columns, headers and widths.
    void GridHeader();
    void putCell(int row, int column, const QString& text);
    QColor cellColour(int row, int column) const;
    // Columns 0 and 1 hold what identifies a row; the certificate of a deceased member can be typed.
    bool isFixedColumn(int column) const;
    void storeInModel(int row, int column, const QString& text);

    // Enter or a double click on the grid: the edit box over the current cell, unless the cell cannot be edited.
    void openEditBox();
    // The box hidden and the grid back in grid mode, with the focus; what the box held is dropped (Esc).
    void closeEditBox();
    void setGridTakesInput(bool takes);
    // Whether the key typed into the box is dropped (or typed upper-cased in its place).
    bool filterEditKey(const QKeyEvent& key);
    // After a typed key is released: the certificate cut to its size, the grade made one of the grade codes.
    void afterEditKey();
    // The box keeps the focus against the other controls of the window, never against a dialog or a menu.
    void keepEditFocus();

    Session& m_session;
    Prompt& m_prompt;
    QButtonGroup* m_buttons = nullptr;
    QTableWidget* Grid = nullptr;
    QLineEdit* Edittext = nullptr;
    int GridCategory = -1;
    int EditRow = 0;
    int EditCol = 0;
    bool RightClickPending = false;
    // The character of the last key typed into the box (8 for Backspace), and whether its release is due.
    int LastEditKey = 0;
    bool m_typedKeyDown = false;
    bool m_committing = false;
    // paint() ran: the cells take the scheme's colours.
    bool m_painted = false;
};
