#pragma once

#include "editor/SpellingUi.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTextEdit;

// "Spelling": the modal dialog that walks a spelling check with the user. It shows the unknown word in its
// sentence, the dictionary's suggestions and a box with the replacement (the first suggestion, else the word),
// and offers Ignore, Ignore All, Change, Change All, Add and Cancel. Closing it or pressing Esc cancels.
class SpellingDialog : public QDialog, public SpellingUi
{
    Q_OBJECT
public:
    explicit SpellingDialog(QWidget* parent = nullptr);

    bool run(SpellCheck& check) override;

private:
    // Shows the check's current word.
    void showWord();
    // A decision was applied: the next unknown word, or the end of the check.
    void goOn();
    void replacementEdited();

    SpellCheck* m_check = nullptr;
    QTextEdit* txtSentence = nullptr;
    QLineEdit* txtChangeTo = nullptr;
    QListWidget* lstSuggestions = nullptr;
    QPushButton* cmdIgnore = nullptr;
    QPushButton* cmdIgnoreAll = nullptr;
    QPushButton* cmdChange = nullptr;
    QPushButton* cmdChangeAll = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdCancel = nullptr;
};
