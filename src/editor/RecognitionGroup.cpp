#include "editor/RecognitionGroup.h"

#include "app/Session.h"
#include "editor/Scheme.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

struct CategoryButton
{
    const char* caption;
    const char* toolTip;
};

constexpr CategoryButton kCategories[] = {
    {"Squadron", "Elected and appointed officers"},
    {"District", "Members holding district office"},
    {"National", "Members holding national office"},
    {"New 25", "New 25 year members"},
    {"New Life", "New life members"},
    {"New SN", "New senior navigators"},
    {"Deceased", "Members deceased in report year"},
    {"New Senior", nullptr},
};

} // namespace

RecognitionGroup::RecognitionGroup(Session& session, Prompt& prompt, QWidget* parent)
    : QGroupBox(QStringLiteral("Members Recognized By Name"), parent), m_session(session), m_prompt(prompt)
{
    setObjectName(QStringLiteral("Frame2"));

    auto* Frame3 = new QWidget(this);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    auto* row = new QHBoxLayout(Frame3);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    m_buttons = new QButtonGroup(this);
    for (int i = 0; i < 8; ++i) {
        auto* button = new QRadioButton(QString::fromLatin1(kCategories[i].caption), Frame3);
        button->setObjectName(QStringLiteral("OptGrid_%1").arg(i));
        if (kCategories[i].toolTip)
            button->setToolTip(QString::fromLatin1(kCategories[i].toolTip));
        // Showing the lists is not built yet: the buttons stay disabled until it is.
        button->setEnabled(false);
        m_buttons->addButton(button, i);
        row->addWidget(button);
    }
    row->addStretch(1);

    Grid = new QTableWidget(this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->verticalHeader()->hide();
    QSizePolicy keepSpace = Grid->sizePolicy();
    keepSpace.setRetainSizeWhenHidden(true);
    Grid->setSizePolicy(keepSpace);
    Edittext = new QLineEdit(Grid->viewport());
    Edittext->setObjectName(QStringLiteral("Edittext"));
    Edittext->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(Frame3);
    layout->addWidget(Grid, 1);
}

void RecognitionGroup::reset()
{
    m_buttons->setExclusive(false);
    for (QAbstractButton* button : m_buttons->buttons())
        button->setChecked(false);
    m_buttons->setExclusive(true);
    Edittext->hide();
    Grid->hide();
    GridCategory = -1;
}

void RecognitionGroup::setCategoriesEnabled(bool) {}

void RecognitionGroup::showCategory(int) {}
void RecognitionGroup::FillGrid() {}
bool RecognitionGroup::isGridShown() const
{
    return Grid->isVisible();
}
int RecognitionGroup::currentRow() const
{
    return 0;
}
int RecognitionGroup::currentColumn() const
{
    return 0;
}
void RecognitionGroup::setCurrentCell(int, int) {}
QString RecognitionGroup::cellText(int, int) const
{
    return {};
}
void RecognitionGroup::setCellText(int, int, const QString&) {}
bool RecognitionGroup::isHeadingRow(int) const
{
    return false;
}
void RecognitionGroup::commit() {}
bool RecognitionGroup::isEditing() const
{
    return Edittext->isVisible();
}

void RecognitionGroup::paint()
{
    Scheme::setBackground(this, Scheme::Background);
    Scheme::setCaption(this, Scheme::Caption);
    for (QAbstractButton* button : m_buttons->buttons())
        Scheme::setBackground(button, Scheme::Background);
    Scheme::setBackground(Edittext, Scheme::EditBox);
    Scheme::setBoxBackground(Edittext, Scheme::EditBox);
}
