#include "editor/PrintPreview.h"

#include "app/Session.h"
#include "editor/PainterSurface.h"
#include "editor/Scheme.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

// Window measures are twips (1440 to the inch), 15 to a pixel.
int px(double twips)
{
    return int(std::lround(twips / 15));
}

const QString kToolTip = QStringLiteral("Double-Click to switch scale.");

} // namespace

// PicPage: the page picture, seen through Picture1.
class PrintPreview::PagePicture : public QWidget
{
public:
    PagePicture(PrintPreview& owner, QWidget* parent) : QWidget(parent), m_owner(owner) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.drawImage(QPoint(0, 0), m_owner.m_image);
        p.setPen(Qt::gray);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    void mouseDoubleClickEvent(QMouseEvent*) override { m_owner.PicPageDblClick(); }
    void mousePressEvent(QMouseEvent* e) override { m_owner.PicPageMouseDown(e->position().toPoint()); }
    void mouseMoveEvent(QMouseEvent* e) override { m_owner.PicPageMouseMove(e->position().toPoint(), e->buttons()); }

private:
    PrintPreview& m_owner;
};

PrintPreview::PrintPreview(Session& session, QWidget* parent)
    : QDialog(parent), m_session(session), m_printer(MakeReportPrinter()), m_metrics(PrinterPageMetrics(*m_printer)),
      m_pages(m_layout, session.model), m_printDialog(&PrintPreview::SystemPrintDialog)
{
    setObjectName(QStringLiteral("PrintPreview"));
    setWindowTitle(QStringLiteral("Print Preview"));
    // The print job's title, as the printer's queue and a PDF printer name it.
    m_printer->setDocName(QStringLiteral("Form R-318 ") + session.model.SquadronName);
    setFixedSize(px(12000), px(9000));

    auto* frame = new QGroupBox(this);
    m_frame = frame;
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setFont(QFont(QStringLiteral("Arial"), 10));
    frame->setGeometry(px(240), px(240), px(4700), px(4200));
    auto* buttons = new QVBoxLayout(frame);
    auto button = [&](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromLatin1(caption), frame);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setMinimumHeight(px(450));
        buttons->addWidget(b);
        return b;
    };
    m_prev = button("cmdPrev", "Previous Page");
    m_next = button("cmdNext", "Next Page");
    m_pageNo = new QLabel(frame);
    m_pageNo->setObjectName(QStringLiteral("lblPageNo"));
    m_pageNo->setAlignment(Qt::AlignCenter);
    m_pageNo->setFrameShape(QFrame::Panel);
    m_pageNo->setFrameShadow(QFrame::Sunken);
    m_pageNo->setFixedHeight(px(450));
    buttons->addWidget(m_pageNo);
    m_printPage = button("cmdPrintPage", "Print Page");
    m_printAll = button("cmdPrintAll", "Print All");
    m_close = button("cmdClose", "Close");
    m_prev->setEnabled(false);
    frame->resize(frame->width(), frame->sizeHint().height());

    m_view = new QWidget(this);
    m_view->setObjectName(QStringLiteral("Picture1"));
    m_page = new PagePicture(*this, m_view);
    m_page->setObjectName(QStringLiteral("PicPage"));
    m_page->setFont(QFont(QStringLiteral("Arial")));
    m_page->setToolTip(kToolTip);

    connect(m_next, &QPushButton::clicked, this, &PrintPreview::cmdNextClick);
    connect(m_prev, &QPushButton::clicked, this, &PrintPreview::cmdPrevClick);
    connect(m_printPage, &QPushButton::clicked, this, &PrintPreview::cmdPrintPageClick);
    connect(m_printAll, &QPushButton::clicked, this, &PrintPreview::cmdPrintAllClick);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);

    // Full size once, then the small page the window opens with.
    m_layout.PreviewScale = 1;
    ScalePreviewToPrinter();
    m_layout.PreviewScale = 0;
    m_layout.PreviewScale = ScalePreviewToPrinter();

    if (m_session.ColorMode != QLatin1String("mono"))
        paint();
}

PrintPreview::~PrintPreview() = default;

void PrintPreview::paint()
{
    for (QWidget* w :
         {static_cast<QWidget*>(this), m_frame, static_cast<QWidget*>(m_prev), static_cast<QWidget*>(m_next),
          static_cast<QWidget*>(m_printPage), static_cast<QWidget*>(m_printAll), static_cast<QWidget*>(m_close)})
        Scheme::setBackground(w, Scheme::Background);
    Scheme::setBackground(m_pageNo, Scheme::Box);
}

double PrintPreview::ScalePreviewToPrinter()
{
    const bool full = m_layout.PreviewScale >= 0.7;
    const double width = full ? 12240 : 6568;
    const double height = full ? 15840 : 8500;
    m_page->setGeometry(0, 0, px(width), px(height));
    const double scale = width / 1440 / m_metrics.paperWidth;
    if (scale < 0.7)
        m_view->setGeometry(px(5200), px(30), m_page->width(), m_page->height());
    else
        m_view->setGeometry(px(5200), px(30), px(6568), px(8500));

    const qreal ratio = devicePixelRatioF();
    m_image = QImage(QSize(int(std::lround(m_page->width() * ratio)), int(std::lround(m_page->height() * ratio))),
                     QImage::Format_RGB32);
    m_image.setDevicePixelRatio(ratio);
    m_image.fill(Qt::white);
    return scale;
}

void PrintPreview::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    Flyby();
    m_next->setFocus();
}

void PrintPreview::Flyby()
{
    PreviewSurface measuring(nullptr, *m_printer, m_metrics, m_layout.PreviewScale);
    m_pages.FirstPass(measuring);
    ShowPage();
}

void PrintPreview::ShowPage()
{
    {
        PreviewSurface surface(&m_image, *m_printer, m_metrics, m_layout.PreviewScale);
        m_layout.Use(surface, PrintLayout::Target::Preview);
        m_pages.DrawPage(m_layout.PageNo);
    }
    m_page->update();
    m_prev->setEnabled(m_layout.PageNo > 1);
    m_pageNo->setText(QStringLiteral(" Page %1 of %2 pages ").arg(m_layout.PageNo).arg(m_layout.TotalPages));
}

void PrintPreview::cmdNextClick()
{
    m_layout.PageNo = m_layout.PageNo >= m_layout.TotalPages ? 1 : m_layout.PageNo + 1;
    ShowPage();
}

void PrintPreview::cmdPrevClick()
{
    if (m_layout.PageNo <= 1)
        return;
    --m_layout.PageNo;
    ShowPage();
}

bool PrintPreview::SystemPrintDialog(QPrinter& printer, QWidget* parent)
{
    printer.setCopyCount(1);
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("CommDi"));
    QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintShowPageSize;
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        options |= QAbstractPrintDialog::PrintToFile;
    dialog.setOptions(options);
    return dialog.exec() == QDialog::Accepted;
}

bool PrintPreview::ChoosePrinter()
{
    if (!m_printDialog || !m_printDialog(*m_printer, this))
        return false;
    const PageMetrics chosen = PrinterPageMetrics(*m_printer);
    if (chosen != m_metrics) {
        // Laid out again for the chosen printer's page, so that nothing printed falls off its lines.
        m_metrics = chosen;
        const int shown = m_layout.PageNo;
        m_layout.PreviewScale = ScalePreviewToPrinter();
        PreviewSurface measuring(nullptr, *m_printer, m_metrics, m_layout.PreviewScale);
        m_pages.FirstPass(measuring);
        m_layout.PageNo = std::min(shown, m_layout.TotalPages);
        m_maxOffset =
            QSize(std::max(0, m_page->width() - m_view->width()), std::max(0, m_page->height() - m_view->height()));
    }
    return true;
}

void PrintPreview::cmdPrintPageClick()
{
    if (!ChoosePrinter())
        return;
    QPainter painter;
    if (painter.begin(m_printer.get())) {
        PrinterSurface surface(*m_printer, painter);
        m_pages.PrintPage(surface, m_layout.PageNo);
        painter.end();
    }
    m_layout.TargetCode = PrintLayout::Target::Preview;
    ShowPage();
}

void PrintPreview::cmdPrintAllClick()
{
    if (!ChoosePrinter())
        return;
    QPainter painter;
    if (painter.begin(m_printer.get())) {
        PrinterSurface surface(*m_printer, painter);
        m_pages.PrintAll(surface);
        painter.end();
    }
    m_layout.TargetCode = PrintLayout::Target::Preview;
    m_layout.PageNo = 0;
    cmdNextClick();
}

void PrintPreview::PicPageDblClick()
{
    m_layout.PreviewScale = m_layout.PreviewScale <= 0.7 ? 1 : 0;
    m_layout.PreviewScale = ScalePreviewToPrinter();
    m_page->setToolTip(QString());
    m_maxOffset =
        QSize(std::max(0, m_page->width() - m_view->width()), std::max(0, m_page->height() - m_view->height()));
    ShowPage();
}

void PrintPreview::PicPageMouseDown(const QPoint& pos)
{
    m_dragStart = pos;
}

void PrintPreview::PicPageMouseMove(const QPoint& pos, Qt::MouseButtons buttons)
{
    if (!(buttons & Qt::LeftButton) || m_layout.PreviewScale < 0.7)
        return;
    const QPoint moved = m_page->pos() + (pos - m_dragStart);
    m_page->move(std::clamp(moved.x(), -m_maxOffset.width(), 0), std::clamp(moved.y(), -m_maxOffset.height(), 0));
}

void PrintPreview::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        if (m_help)
            m_help(kHelpTopic);
        return;
    }
    QDialog::keyPressEvent(event);
}

void ShowPrintPreview(Session& session, QWidget* parent, std::function<void(int topic)> help)
{
    PrintPreview preview(session, parent);
    preview.setHelp(std::move(help));
    preview.exec();
}
