#include "SpellingDialog.h"

#include "output/SpellCheck.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

QPushButton* addButton(QVBoxLayout* column, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    column->addWidget(button);
    return button;
}

} // namespace

SpellingDialog::SpellingDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SpellingDialog"));
    setWindowTitle(QStringLiteral("Spelling"));

    txtSentence = new QTextEdit;
    txtSentence->setObjectName(QStringLiteral("txtSentence"));
    txtSentence->setReadOnly(true);
    txtSentence->setFocusPolicy(Qt::NoFocus);
    txtSentence->setFixedHeight(txtSentence->fontMetrics().lineSpacing() * 4 + 12);
    txtChangeTo = new QLineEdit;
    txtChangeTo->setObjectName(QStringLiteral("txtChangeTo"));
    lstSuggestions = new QListWidget;
    lstSuggestions->setObjectName(QStringLiteral("lstSuggestions"));

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Not in Dictionary:")));
    left->addWidget(txtSentence);
    auto* changeLabel = new QLabel(QStringLiteral("Change &To:"));
    changeLabel->setBuddy(txtChangeTo);
    left->addWidget(changeLabel);
    left->addWidget(txtChangeTo);
    auto* suggestionsLabel = new QLabel(QStringLiteral("Suggestio&ns:"));
    suggestionsLabel->setBuddy(lstSuggestions);
    left->addWidget(suggestionsLabel);
    left->addWidget(lstSuggestions, 1);

    auto* right = new QVBoxLayout;
    right->addSpacing(changeLabel->sizeHint().height());
    cmdIgnore = addButton(right, "cmdIgnore", QStringLiteral("&Ignore"));
    cmdIgnoreAll = addButton(right, "cmdIgnoreAll", QStringLiteral("I&gnore All"));
    cmdAdd = addButton(right, "cmdAdd", QStringLiteral("&Add"));
    right->addSpacing(12);
    cmdChange = addButton(right, "cmdChange", QStringLiteral("&Change"));
    cmdChangeAll = addButton(right, "cmdChangeAll", QStringLiteral("Change A&ll"));
    right->addStretch(1);
    cmdCancel = addButton(right, "cmdCancel", QStringLiteral("Cancel"));
    cmdChange->setDefault(true);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right);
    resize(460, 300);

    connect(cmdIgnore, &QPushButton::clicked, this, [this] {
        m_check->ignore();
        goOn();
    });
    connect(cmdIgnoreAll, &QPushButton::clicked, this, [this] {
        m_check->ignoreAll();
        goOn();
    });
    connect(cmdAdd, &QPushButton::clicked, this, [this] {
        m_check->add();
        goOn();
    });
    connect(cmdChange, &QPushButton::clicked, this, [this] {
        m_check->change(txtChangeTo->text());
        goOn();
    });
    connect(cmdChangeAll, &QPushButton::clicked, this, [this] {
        m_check->changeAll(txtChangeTo->text());
        goOn();
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstSuggestions, &QListWidget::currentTextChanged, this, [this](const QString& text) {
        if (!text.isEmpty())
            txtChangeTo->setText(text);
    });
    connect(lstSuggestions, &QListWidget::itemDoubleClicked, cmdChange, &QPushButton::click);
    connect(txtChangeTo, &QLineEdit::textChanged, this, &SpellingDialog::replacementEdited);
}

bool SpellingDialog::run(SpellCheck& check)
{
    m_check = &check;
    showWord();
    const bool done = exec() == QDialog::Accepted;
    m_check = nullptr;
    return done;
}

void SpellingDialog::showWord()
{
    const SpellCheck::Sentence sentence = m_check->sentence();
    const QString word = m_check->word();
    txtSentence->setHtml(sentence.text.left(sentence.wordStart).toHtmlEscaped() +
                         QStringLiteral("<span style=\"color:#c00000; font-weight:bold\">") + word.toHtmlEscaped() +
                         QStringLiteral("</span>") +
                         sentence.text.mid(sentence.wordStart + word.size()).toHtmlEscaped());
    const QStringList suggestions = m_check->suggestions();
    lstSuggestions->clear();
    lstSuggestions->addItems(suggestions);
    txtChangeTo->setText(suggestions.isEmpty() ? word : suggestions.first());
    if (!suggestions.isEmpty())
        lstSuggestions->setCurrentRow(0);
    txtChangeTo->setFocus();
    txtChangeTo->selectAll();
}

void SpellingDialog::goOn()
{
    if (m_check->next())
        showWord();
    else
        accept();
}

void SpellingDialog::replacementEdited()
{
    // An empty replacement would delete the word: not offered.
    const bool some = !txtChangeTo->text().isEmpty();
    cmdChange->setEnabled(some);
    cmdChangeAll->setEnabled(some);
}
