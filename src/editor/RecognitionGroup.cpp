#include "editor/RecognitionGroup.h"

#include "app/Session.h"
#include "base/Prompt.h"
#include "editor/Scheme.h"
#include "host/HostLookups.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

struct CategoryButton
{
    const char* caption;
    const char* toolTip;
    const char* title; // the group's title while the list is shown
};

constexpr CategoryButton kCategories[] = {
    {"Squadron", "Elected and appointed officers", "Elected,  Appointed and Other Officers "},
    {"District", "Members holding district office", "Members Holding District Assignments"},
    {"National", "Members holding national office", "Members Holding National Assignments"},
    {"New 25", "New 25 year members", "New 25 Year Members"},
    {"New Life", "New life members", "New Life Members"},
    {"New SN", "New senior navigators", "New Senior Navigators"},
    {"Deceased", "Members deceased in report year", "Members Deceased During Report Year"},
    {"New Senior", nullptr, "New Senior Members"},
};

constexpr int kOfficers = 0;
constexpr int kDeceased = 6;

// The grid's columns; the header is the grid's own, so data row r is the table's row r - 1.
enum Column { Office = 0, Cert = 1, Unused = 2, Last = 3, First = 4, Rank = 5, Grade = 6, Assignment = 7 };

constexpr int kCertSize = 7;
constexpr ushort kBackspace = 8;

bool hasAssignments(int category)
{
    return category == 1 || category == 2;
}

// A grade typed into its cell becomes one of the two-character grade codes, or nothing.
QString normalisedGrade(const QString& typed)
{
    const QString grade = typed.trimmed();
    if (grade == QLatin1String("S") || grade == QLatin1String("P") || grade == QLatin1String("N"))
        return grade + QLatin1Char(' ');
    if (grade == QLatin1String("A"))
        return QStringLiteral("AP");
    if (grade == QLatin1String("J"))
        return QStringLiteral("JN");
    if (grade == QLatin1String("SN"))
        return grade;
    return QString();
}

// Copies a member's names, rank and grade to every officer line and recognition entry with the same certificate;
// certificates, office titles and assignments stay as they are.
void UnifyMemberDataChange(ReportModel& model, const HostMember& unify)
{
    if (unify.Cert.isEmpty())
        return;
    const auto copy = [&unify](auto& holder) {
        if (holder.Cert != unify.Cert)
            return;
        holder.Last = unify.Last;
        holder.First = unify.First;
        holder.Rank = unify.Rank;
        holder.Grade = unify.Grade;
    };
    for (Officer& officer : model.Officers)
        copy(officer);
    for (auto& category : model.Recognized)
        for (RecognizedEntry& entry : category)
            copy(entry);
}

// The eight option buttons share one row of the group: a smaller indicator, closer to its caption, and no margin
// beyond the caption.
class CompactOptionStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        switch (metric) {
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
            return QProxyStyle::pixelMetric(metric, option, widget) * 9 / 14;
        case PM_RadioButtonLabelSpacing:
            return QProxyStyle::pixelMetric(metric, option, widget) / 2;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                           const QWidget* widget) const override
    {
        QSize size = QProxyStyle::sizeFromContents(type, option, contents, widget);
        if (type == CT_RadioButton)
            size.setWidth(contents.width() + pixelMetric(PM_ExclusiveIndicatorWidth, option, widget) +
                          pixelMetric(PM_RadioButtonLabelSpacing, option, widget));
        return size;
    }
};

// The grid scrolls far enough that its last row can come to the top (a table view stops with the last row at
// the bottom). It scrolls by pixels, a row a step, so any row can stand at the top.
class RecognitionTable : public QTableWidget
{
public:
    explicit RecognitionTable(QWidget* parent) : QTableWidget(parent)
    {
        setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    }

protected:
    void updateGeometries() override
    {
        const int top = verticalScrollBar()->value();
        QTableWidget::updateGeometries();
        const int last = rowCount() - 1;
        verticalScrollBar()->setRange(0, last < 0 ? 0 : verticalHeader()->sectionPosition(last));
        verticalScrollBar()->setSingleStep(verticalHeader()->defaultSectionSize());
        verticalScrollBar()->setValue(top);
    }
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
    row->setSpacing(3);
    auto* compact = new CompactOptionStyle;
    compact->setParent(this);
    m_buttons = new QButtonGroup(this);
    for (int i = 0; i < 8; ++i) {
        auto* button = new QRadioButton(QString::fromLatin1(kCategories[i].caption), Frame3);
        button->setObjectName(QStringLiteral("OptGrid_%1").arg(i));
        button->setStyle(compact);
        if (kCategories[i].toolTip)
            button->setToolTip(QString::fromLatin1(kCategories[i].toolTip));
        m_buttons->addButton(button, i);
        row->addWidget(button);
    }
    row->addStretch(1);
    connect(m_buttons, &QButtonGroup::idClicked, this, &RecognitionGroup::optGridClick);

    Grid = new RecognitionTable(this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->verticalHeader()->hide();
    Grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grid->horizontalHeader()->setSectionsClickable(false);
    Grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Grid->horizontalHeader()->setHighlightSections(false);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->setTabKeyNavigation(false);
    Grid->setWordWrap(false);
    QSizePolicy keepSpace = Grid->sizePolicy();
    keepSpace.setRetainSizeWhenHidden(true);
    Grid->setSizePolicy(keepSpace);
    Grid->installEventFilter(this);
    Grid->viewport()->installEventFilter(this);

    // The edit box lies over the cell it edits, inside the grid's viewport, so it scrolls with the cell.
    Edittext = new QLineEdit(Grid->viewport());
    Edittext->setObjectName(QStringLiteral("Edittext"));
    Edittext->setFrame(false);
    Edittext->setContextMenuPolicy(Qt::NoContextMenu);
    Edittext->setAcceptDrops(false);
    Edittext->hide();
    Edittext->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(Frame3);
    layout->addWidget(Grid, 1);
}

void RecognitionGroup::reset()
{
    if (isEditing()) {
        Edittext->hide();
        setGridTakesInput(true);
        Q_EMIT editModeChanged(false);
    }
    m_buttons->setExclusive(false);
    const bool color = m_session.ColorMode == QLatin1String("color");
    for (QAbstractButton* button : m_buttons->buttons()) {
        button->setChecked(false);
        Scheme::unmarkOption(button, color);
    }
    m_buttons->setExclusive(true);
    setTitle(QStringLiteral("Members Recognized By Name"));
    Grid->hide();
    GridCategory = -1;
    RightClickPending = false;
}

void RecognitionGroup::setCategoriesEnabled(bool enabled)
{
    for (QAbstractButton* button : m_buttons->buttons())
        button->setEnabled(enabled);
}

void RecognitionGroup::showCategory(int category)
{
    if (QAbstractButton* button = m_buttons->button(category)) {
        button->setChecked(true);
        optGridClick(category);
    }
}

void RecognitionGroup::optGridClick(int category)
{
    const bool color = m_session.ColorMode == QLatin1String("color");
    for (QAbstractButton* button : m_buttons->buttons()) {
        if (m_buttons->id(button) == category)
            Scheme::markOption(button);
        else
            Scheme::unmarkOption(button, color);
    }
    Q_EMIT categoryClicked();
    Grid->hide();
    FillGrid();
    // The first cell that can be typed into.
    if (Grid->rowCount() > 0)
        Grid->setCurrentCell(0, category == kDeceased ? Cert : Last);
    Grid->show();
}

void RecognitionGroup::FillGrid()
{
    const int category = m_buttons->checkedId();
    if (category < 0)
        return;
    const int row = Grid->currentRow(), column = Grid->currentColumn();
    Grid->setUpdatesEnabled(false);
    GridCategory = category;
    setTitle(QString::fromLatin1(kCategories[category].title));
    Grid->clearContents();
    GridHeader();

    const auto putRow = [this](int r, const QStringList& texts) {
        for (int c = 0; c < Grid->columnCount(); ++c)
            putCell(r, c, texts.value(c));
    };
    const ReportModel& model = m_session.model;
    if (category == kOfficers) {
        for (int r = 1; r <= model.officerCount(); ++r) {
            const Officer& o = model.officer(r);
            putRow(r, {o.Title, o.Cert, QString(), o.Last, o.First, o.Rank, o.Grade});
        }
    } else {
        for (int e = 1; e <= ReportModel::EntriesPerCategory; ++e) {
            const RecognizedEntry& x = model.entry(category, e);
            putRow(e, {QString(), x.Cert, QString(), x.Last, x.First, x.Rank, x.Grade, x.Office});
        }
    }
    if (row >= 0 && row < Grid->rowCount() && column >= 0 && column < Grid->columnCount())
        Grid->setCurrentCell(row, column);
    Grid->setUpdatesEnabled(true);
}

void RecognitionGroup::GridHeader()
{
    const bool officers = GridCategory == kOfficers;
    Grid->setColumnCount(hasAssignments(GridCategory) ? 8 : 7);
    Grid->setRowCount(officers ? m_session.model.officerCount() : ReportModel::EntriesPerCategory);
    Grid->setHorizontalHeaderLabels({officers ? QStringLiteral("Office") : QString(), QStringLiteral("Cert.No."),
                                     QString(), QStringLiteral("Last"), QStringLiteral("First"), QStringLiteral("Rnk"),
                                     QStringLiteral("Grd"), QStringLiteral("Assignment")});

    // Widths are those of a number of letters "O" (and one "i") in the grid's font.
    const QFontMetrics metrics(Grid->font());
    const auto letters = [&metrics](int o, int i = 0) {
        return metrics.horizontalAdvance(QString(o, QLatin1Char('O')) + QString(i, QLatin1Char('i')));
    };
    QHeaderView* header = Grid->horizontalHeader();
    header->setMinimumSectionSize(1);
    Grid->setColumnHidden(Office, !officers);
    Grid->setColumnHidden(Unused, true);
    if (officers)
        Grid->setColumnWidth(Office, letters(17));
    Grid->setColumnWidth(Cert, letters(6, 1));
    Grid->setColumnWidth(Last, letters(10));
    Grid->setColumnWidth(First, letters(10));
    Grid->setColumnWidth(Rank, letters(6));
    Grid->setColumnWidth(Grade, letters(3));
    if (hasAssignments(GridCategory)) {
        Grid->setColumnHidden(Assignment, false);
        Grid->setColumnWidth(Assignment, letters(10));
    }
    Grid->verticalHeader()->setDefaultSectionSize(metrics.height() + 4);
}

void RecognitionGroup::putCell(int row, int column, const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    const QColor colour = cellColour(row, column);
    if (colour.isValid())
        item->setBackground(colour);
    Grid->setItem(row - 1, column, item);
}

QColor RecognitionGroup::cellColour(int row, int column) const
{
    if (column >= Last && isHeadingRow(row)) {
        if (m_session.ColorMode == QLatin1String("color"))
            return Scheme::Background;
        return Grid->palette().color(QPalette::Midlight);
    }
    if (isFixedColumn(column))
        return m_painted ? Scheme::Background : Grid->palette().color(QPalette::Button);
    return m_painted ? Scheme::Box : QColor();
}

bool RecognitionGroup::isFixedColumn(int column) const
{
    return column == Office || (column == Cert && GridCategory != kDeceased);
}

bool RecognitionGroup::isGridShown() const
{
    return !Grid->isHidden();
}

int RecognitionGroup::topRow() const
{
    return Grid->rowAt(0) + 1;
}

void RecognitionGroup::setTopRow(int row)
{
    if (row >= 1 && row <= Grid->rowCount())
        Grid->verticalScrollBar()->setValue(Grid->verticalHeader()->sectionPosition(row - 1));
}

int RecognitionGroup::rows() const
{
    return Grid->rowCount() + 1;
}

int RecognitionGroup::currentRow() const
{
    const int row = Grid->currentRow();
    return row < 0 ? 0 : row + 1;
}

int RecognitionGroup::currentColumn() const
{
    return Grid->currentColumn();
}

void RecognitionGroup::setCurrentCell(int row, int column)
{
    Grid->setCurrentCell(row - 1, column);
}

QString RecognitionGroup::cellText(int row, int column) const
{
    const QTableWidgetItem* item = Grid->item(row - 1, column);
    return item ? item->text() : QString();
}

void RecognitionGroup::setCellText(int row, int column, const QString& text)
{
    if (QTableWidgetItem* item = Grid->item(row - 1, column))
        item->setText(text);
    else if (row >= 1 && row <= Grid->rowCount() && column >= 0 && column < Grid->columnCount())
        putCell(row, column, text);
}

bool RecognitionGroup::isHeadingRow(int row) const
{
    const ReportModel& model = m_session.model;
    return GridCategory == kOfficers && row >= 1 && row <= model.officerCount() && model.officer(row).Heading;
}

bool RecognitionGroup::isEditing() const
{
    // Hidden, not invisible: the box still counts as open while the window closes.
    return !Edittext->isHidden();
}

void RecognitionGroup::openEditBox()
{
    if (isEditing() || GridCategory < 0)
        return;
    const int row = currentRow(), column = currentColumn();
    if (row < 1 || column < 0 || isHeadingRow(row) || column == Unused || isFixedColumn(column))
        return;
    EditRow = row;
    EditCol = column;
    const QModelIndex index = Grid->model()->index(row - 1, column);
    Grid->scrollTo(index);
    Edittext->setGeometry(Grid->visualRect(index));
    Edittext->setText(cellText(row, column));
    LastEditKey = 0;
    m_typedKeyDown = false;
    // What reaches the certificate and grade cells comes key by key, through the filter below.
    Edittext->setAttribute(Qt::WA_InputMethodEnabled, column != Cert && column != Grade);
    Edittext->show();
    Edittext->raise();
    setGridTakesInput(false);
    Edittext->setFocus(Qt::OtherFocusReason);
    Edittext->end(false);
    Q_EMIT editModeChanged(true);
}

void RecognitionGroup::setGridTakesInput(bool takes)
{
    Grid->setFocusPolicy(takes ? Qt::StrongFocus : Qt::NoFocus);
    Grid->horizontalScrollBar()->setEnabled(takes);
    Grid->verticalScrollBar()->setEnabled(takes);
}

void RecognitionGroup::closeEditBox()
{
    setGridTakesInput(true);
    // The grid takes the focus before the box goes, so that no other control receives it on the way.
    Grid->setFocus(Qt::OtherFocusReason);
    Edittext->hide();
    Q_EMIT editModeChanged(false);
}

void RecognitionGroup::commit()
{
    if (!isEditing() || m_committing)
        return;
    m_committing = true;
    const QString text = Edittext->text().trimmed();
    setCellText(EditRow, EditCol, text);
    storeInModel(EditRow, EditCol, text);

    if (GridCategory != kDeceased && EditCol >= Last && EditCol <= Rank &&
        m_prompt.question(QStringLiteral("Change all instances of this member?"), Prompt::Buttons::YesNo,
                          QStringLiteral("Change member data.")) == Prompt::Answer::Yes) {
        ReportModel& model = m_session.model;
        HostMember unify;
        if (GridCategory == kOfficers) {
            const Officer& officer = model.officer(EditRow);
            unify = {officer.Cert, officer.Last, officer.First, officer.Rank, officer.Grade};
        } else {
            const RecognizedEntry& entry = model.entry(GridCategory, EditRow);
            unify = {entry.Cert, entry.Last, entry.First, entry.Rank, entry.Grade};
        }
        UnifyMemberDataChange(model, unify);
    }

    closeEditBox();
    FillGrid();
    setCurrentCell(EditRow, EditCol);
    Grid->show();
    Grid->setFocus(Qt::OtherFocusReason);
    m_committing = false;
}

void RecognitionGroup::storeInModel(int row, int column, const QString& text)
{
    ReportModel& model = m_session.model;
    if (GridCategory == kOfficers) {
        if (row < 1 || row > model.officerCount())
            return;
        Officer& officer = model.officer(row);
        switch (column) {
        case Last:
            officer.Last = text;
            break;
        case First:
            officer.First = text;
            break;
        case Rank:
            officer.Rank = text;
            break;
        case Grade:
            officer.Grade = text;
            break;
        default:
            break;
        }
        return;
    }
    if (GridCategory < 1 || GridCategory > ReportModel::CategoryCount || row < 1 ||
        row > ReportModel::EntriesPerCategory)
        return;
    RecognizedEntry& entry = model.entry(GridCategory, row);
    switch (column) {
    case Cert:
        entry.Cert = text;
        break;
    case Last:
        entry.Last = text;
        break;
    case First:
        entry.First = text;
        break;
    case Rank:
        entry.Rank = text;
        break;
    case Grade:
        entry.Grade = text;
        break;
    case Assignment:
        entry.Office = text;
        break;
    default:
        break;
    }
}

bool RecognitionGroup::filterEditKey(const QKeyEvent& key)
{
    if (EditCol != Cert && EditCol != Grade)
        return false;
    const QString text = key.text();
    // Keys that type nothing (arrows, Delete, Home, End) keep working; shortcuts that would bring text of any
    // kind (paste) or change it wholesale are dropped with the other control characters.
    if (key.key() == Qt::Key_Backspace || key.key() == Qt::Key_Delete)
        return false;
    if (text.isEmpty())
        return key.matches(QKeySequence::Paste) || key.matches(QKeySequence::Cut) || key.matches(QKeySequence::Undo) ||
               key.matches(QKeySequence::Redo);
    const QChar c = text.at(0);
    if (text.size() != 1 || !c.isPrint() || (key.modifiers() & Qt::ControlModifier))
        return true;
    if (EditCol == Cert) {
        if (Edittext->text().isEmpty()) {
            if (QStringLiteral("WwABCDEFabcdef").contains(c))
                Edittext->insert(text.toUpper());
            return true;
        }
        return !(c >= QLatin1Char('0') && c <= QLatin1Char('9'));
    }
    if (c.isLetter())
        Edittext->insert(text.toUpper());
    return true;
}

void RecognitionGroup::afterEditKey()
{
    QString text = Edittext->text();
    if (EditCol == Cert)
        text.truncate(kCertSize);
    else if (EditCol == Grade)
        text = normalisedGrade(text);
    else
        return;
    if (text != Edittext->text())
        Edittext->setText(text);
    Edittext->end(false);
}

void RecognitionGroup::keepEditFocus()
{
    if (!isEditing() || QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return;
    const QWidget* focus = QApplication::focusWidget();
    if (focus && focus != Edittext && focus->window() == window())
        Edittext->setFocus(Qt::OtherFocusReason);
}

bool RecognitionGroup::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edittext) {
        switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            // A key that types a character, Backspace included; Delete and the moving keys type none.
            const bool typed =
                key->key() == Qt::Key_Backspace || (key->key() != Qt::Key_Delete && !key->text().isEmpty());
            if (typed)
                LastEditKey = key->key() == Qt::Key_Backspace ? kBackspace : key->text().at(0).unicode();
            switch (key->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
                commit();
                return true;
            case Qt::Key_Escape:
                closeEditBox();
                return true;
            default:
                break;
            }
            m_typedKeyDown = typed;
            return filterEditKey(*key);
        }
        case QEvent::KeyRelease:
            if (m_typedKeyDown && !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
                m_typedKeyDown = false;
                if (LastEditKey != kBackspace)
                    afterEditKey();
            }
            return false;
        case QEvent::MouseButtonDblClick:
            commit();
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
            // The middle button pastes the selection on some desktops.
            return (EditCol == Cert || EditCol == Grade) &&
                   static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton;
        case QEvent::FocusOut:
            // Re-checked once the focus has settled: a dialog or menu that took it keeps it.
            if (isEditing())
                QTimer::singleShot(0, this, &RecognitionGroup::keepEditFocus);
            return false;
        default:
            return false;
        }
    }

    if (watched == Grid) {
        if (event->type() == QEvent::FocusIn) {
            // Also as the window becomes active: the click that activated it may have chosen the grid.
            if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
                Q_EMIT gridFocused();
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                openEditBox();
                return true;
            }
        }
        return false;
    }

    if (watched == Grid->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
        case QEvent::Wheel:
            if (isEditing())
                return true;
            if (event->type() == QEvent::MouseButtonPress &&
                static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
                RightClickPending = true;
            return false;
        case QEvent::MouseButtonDblClick:
            if (isEditing())
                return true;
            if (RightClickPending)
                RightClickPending = false;
            else
                openEditBox();
            return true;
        default:
            return false;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

void RecognitionGroup::paint()
{
    m_painted = true;
    Scheme::setBackground(this, Scheme::Background);
    Scheme::setCaption(this, Scheme::Caption);
    for (QAbstractButton* button : m_buttons->buttons()) {
        if (button->isChecked())
            Scheme::markOption(button);
        else
            Scheme::setBackground(button, Scheme::Background);
    }
    // The header and the area below the rows take the background; the cells take the boxes' colour (FillGrid).
    Scheme::setBoxBackground(Grid, Scheme::Background);
    Scheme::setBackground(Grid->horizontalHeader(), Scheme::Background);
    Scheme::setBackground(Edittext, Scheme::EditBox);
    Scheme::setBoxBackground(Edittext, Scheme::EditBox);
    FillGrid();
}
