#pragma once

#include "output/PrintLayout.h"
#include "output/ReportPages.h"

#include <QDialog>
#include <QImage>

#include <functional>
#include <memory>

class QLabel;
class QPrinter;
class QPushButton;
struct Session;

// "Print Preview" (PrintPreview): shows the report page by page on a picture of the paper and prints the shown
// page or the whole report. At its first showing the pages are laid out once (the first pass) and page 1 is
// shown; every later drawing, on screen or paper, follows that layout. The page is seen small; a double-click
// switches to full size, where it can be dragged inside its frame with the left button.
//
// The layout is made for the default printer, or the PDF output on Letter paper where no printer is installed.
// When the printer chosen for printing has another page, the pages are laid out again for it before printing,
// and the preview shows that layout from then on.
class PrintPreview : public QDialog
{
    Q_OBJECT
public:
    // The print dialog: sets up `printer` and returns true to print, false when cancelled.
    using PrintDialog = std::function<bool(QPrinter& printer, QWidget* parent)>;

    // The help topic of this window (F1).
    static constexpr int kHelpTopic = 14;

    // The report is session.model, which the caller has saved; the colour mode is session.ColorMode.
    explicit PrintPreview(Session& session, QWidget* parent = nullptr);
    ~PrintPreview() override;

    // Replaces the system's print dialog (tests).
    void setPrintDialog(PrintDialog dialog) { m_printDialog = std::move(dialog); }
    // What F1 calls with kHelpTopic; without it F1 does nothing.
    void setHelp(std::function<void(int topic)> help) { m_help = std::move(help); }

    // The system's print dialog: one copy, no page range, no selection; printing to a file only where no printer
    // is installed, so that the PDF output is offered there.
    static bool SystemPrintDialog(QPrinter& printer, QWidget* parent);

    int pageNo() const { return m_layout.PageNo; }
    int totalPages() const { return m_layout.TotalPages; }
    double previewScale() const { return m_layout.PreviewScale; }
    const QImage& pageImage() const { return m_image; }
    const PrintLayout& layout() const { return m_layout; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    class PagePicture;

    double ScalePreviewToPrinter();
    void Flyby();
    void ShowPage();
    void cmdNextClick();
    void cmdPrevClick();
    void cmdPrintPageClick();
    void cmdPrintAllClick();
    // Runs the print dialog and lays the pages out again when the chosen printer's page differs from the one
    // they were laid out for. False when cancelled.
    bool ChoosePrinter();
    void PicPageDblClick();
    void PicPageMouseDown(const QPoint& pos);
    void PicPageMouseMove(const QPoint& pos, Qt::MouseButtons buttons);
    void paint();

    Session& m_session;
    std::unique_ptr<QPrinter> m_printer;
    PageMetrics m_metrics; // the printer's page the pages are laid out for
    PrintLayout m_layout;
    ReportPages m_pages;
    QImage m_image;
    bool m_shown = false;
    QPoint m_dragStart;
    QSize m_maxOffset;
    PrintDialog m_printDialog;
    std::function<void(int)> m_help;

    QWidget* m_frame = nullptr;
    QWidget* m_view = nullptr; // Picture1
    PagePicture* m_page = nullptr;
    QPushButton* m_prev = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_printPage = nullptr;
    QPushButton* m_printAll = nullptr;
    QPushButton* m_close = nullptr;
    QLabel* m_pageNo = nullptr;
};

// "Preview and Print": opens a new print preview of session.model (saved by the caller) and returns when it is
// closed. `help` is what F1 in the preview calls with PrintPreview::kHelpTopic.
void ShowPrintPreview(Session& session, QWidget* parent, std::function<void(int topic)> help = {});
