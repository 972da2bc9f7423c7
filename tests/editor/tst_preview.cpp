// The print preview: opening on page 1, the colour modes, the page buttons, the two scales and dragging, and
// printing through the print dialog's seam into PDF files.

#include "WindowTestHelpers.h"

#include "app/Session.h"
#include "editor/PrintPreview.h"
#include "editor/Scheme.h"
#include "store/OfficeCatalogue.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

// The pages are laid out for the default printer: without a print server that is the PDF output on Letter paper,
// whatever printers the machine has.
[[maybe_unused]] const bool kNoPrintServer = qputenv("CUPS_SERVER", "/nonexistent/cups.sock");

// The pages of a PDF file as the print output writes it: one page object each.
int pdfPages(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? int(file.readAll().count("/Type /Page\n")) : -1;
}

void mouse(QWidget* w, QEvent::Type type, const QPoint& pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

// A drag on the page by `by` with that button.
void drag(QWidget* page, Qt::MouseButton button, const QPoint& by)
{
    const QPoint from(100, 100);
    mouse(page, QEvent::MouseButtonPress, from, button, button);
    mouse(page, QEvent::MouseMove, from + by, Qt::NoButton, button);
    mouse(page, QEvent::MouseButtonRelease, from + by, button, Qt::NoButton);
}

// A print run from page 3 of 6: the button, whether the dialog is accepted and the margins set in it (inches; 0
// keeps the printer's), the pages printed (-1: no file; 0: as many as then laid out) and the page then shown.
struct Printing
{
    const char* button;
    bool accept;
    double margin;
    int printed, shownAfter;
};

// The preview, shown, of a report with the whole officer list and one short text (four pages), and optionally an
// activity text of about `lines` lines.
struct Preview
{
    explicit Preview(const QString& mode = "color", int lines = 0)
    {
        ReportModel& m = session.model;
        for (const CatalogueLine& line : OfficeCatalogue()) {
            Officer& o = m.Officers.emplace_back();
            std::tie(o.Title, o.Code, o.Order) = std::tuple(line.title, line.code, m.Officers.size());
        }
        std::tie(m.SquadronName, m.SquadronNoText, m.ReportYear, m.SubDate) =
            std::tuple("Alder Sound Squadron", "0143", "2020", "Sep 1, 2019");
        std::tie(m.officer(2).First, m.officer(2).Last) = std::tuple("Amy", "Abel");
        m.ActivityText[1] = "Three cruises to the islands.";
        m.ActivityText[0] =
            QString("Members met at the club and heard a talk on charts. ").repeated(2 * lines).trimmed();
        session.ColorMode = mode;
        window = std::make_unique<PrintPreview>(session);
        window->show();
    }
    template <typename T = QWidget> T* find(const char* name) const { return window->findChild<T*>(name); }
    QString indicator() const { return find<QLabel>("lblPageNo")->text(); }
    void click(const char* name) const { QTest::mouseClick(find<QPushButton>(name), Qt::LeftButton); }

    Session session;
    std::unique_ptr<PrintPreview> window;
};

} // namespace

class TestPreview : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The preview opens with page 1 of 4 drawn small, the focus on "Next Page"; in colour mode the window, its
    // buttons and the page indicator take the scheme's colours. "Next Page" on the last page shows page 1;
    // "Previous Page" goes back one page and cannot be used on page 1.
    void opensAndPages_data()
    {
        QTest::addColumn<QString>("mode");
        row("color", "color");
        row("mono", "mono");
    }
    void opensAndPages()
    {
        QFETCH(QString, mode);
        Preview p(mode);
        QCOMPARE(p.indicator(), " Page 1 of 4 pages ");
        QTRY_COMPARE(QApplication::focusWidget(), p.find("cmdNext"));
        QVERIFY(!p.find("cmdPrev")->isEnabled());
        QCOMPARE(p.find("PicPage")->geometry(), QRect(0, 0, 438, 567));
        QVERIFY(qAbs(p.window->previewScale() - 6568.0 / 1440 / 8.5) < 1e-9);

        // Page 1's title line darkens the top of the picture; the bottom half above the footer is empty paper.
        const QImage image = p.window->pageImage();
        const auto dark = [&image](int from, int to) {
            for (int y = from * image.height() / 10; y < to * image.height() / 10; ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (qGray(image.pixel(x, y)) < 128)
                        return true;
            return false;
        };
        QVERIFY(dark(0, 1) && !dark(6, 9));

        const bool color = mode == "color";
        for (const char* name : {"Frame1", "cmdPrev", "cmdNext", "cmdPrintPage", "cmdPrintAll", "cmdClose"})
            QCOMPARE(p.find(name)->palette().color(p.find(name)->backgroundRole()) == Scheme::Background, color);
        QCOMPARE(p.window->palette().color(QPalette::Window) == Scheme::Background, color);
        QCOMPARE(p.find("lblPageNo")->palette().color(p.find("lblPageNo")->backgroundRole()) == Scheme::Box, color);

        for (const int page : {2, 3, 4, 1}) {
            p.click("cmdNext");
            QCOMPARE(p.indicator(), QString(" Page %1 of 4 pages ").arg(page));
        }
        p.click("cmdNext");
        p.click("cmdNext");
        p.click("cmdPrev");
        QCOMPARE(p.indicator(), " Page 2 of 4 pages ");
        p.click("cmdPrev");
        QVERIFY(!p.find("cmdPrev")->isEnabled());
    }

    // A double-click switches to full size, where a left drag moves the page inside its frame, never beyond its
    // corners; a second double-click returns to the small scale. Dragging does nothing at the small scale and with
    // the right button.
    void zoomAndDrag()
    {
        Preview p;
        QWidget* page = p.find("PicPage");
        drag(page, Qt::LeftButton, QPoint(-50, -50));
        QCOMPARE(page->pos(), QPoint(0, 0));

        QTest::mouseDClick(page, Qt::LeftButton);
        QCOMPARE(p.window->previewScale(), 1.0);
        QCOMPARE(page->size(), QSize(816, 1056));
        QCOMPARE(p.window->pageImage().deviceIndependentSize(), QSizeF(816, 1056));
        drag(page, Qt::RightButton, QPoint(-50, -50));
        QCOMPARE(page->pos(), QPoint(0, 0));
        drag(page, Qt::LeftButton, QPoint(-50, -30));
        QCOMPARE(page->pos(), QPoint(-50, -30));
        drag(page, Qt::LeftButton, QPoint(-2000, -2000));
        QCOMPARE(page->pos(), QPoint(438 - 816, 567 - 1056));
        drag(page, Qt::LeftButton, QPoint(3000, 3000));
        QCOMPARE(page->pos(), QPoint(0, 0));

        QTest::mouseDClick(page, Qt::LeftButton);
        QVERIFY(p.window->previewScale() < 0.7);
        QCOMPARE(page->geometry(), QRect(0, 0, 438, 567));
    }

    // Printing from page 3 of 6: a cancelled dialog prints nothing and leaves the page shown; Print Page prints
    // it; Print All prints every page and shows page 1. A printer with a smaller printable area lays the pages out
    // again, for the file and the preview.
    void printing_data()
    {
        QTest::addColumn<Printing>("c");
        row("cancel prints nothing", Printing{"cmdPrintAll", false, 0, -1, 3});
        row("print page", Printing{"cmdPrintPage", true, 0, 1, 3});
        row("print all, then page 1", Printing{"cmdPrintAll", true, 0, 6, 1});
        row("another printable area is laid out again", Printing{"cmdPrintAll", true, 2, 0, 1});
    }
    void printing()
    {
        QFETCH(Printing, c);
        QTemporaryDir dir;
        const QString pdf = dir.filePath("out.pdf");
        Preview p("color", 120);
        int asked = 0;
        p.window->setPrintDialog([&](QPrinter& printer, QWidget*) {
            ++asked;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            if (c.margin > 0)
                printer.setPageMargins(QMarginsF(c.margin, c.margin, c.margin, c.margin), QPageLayout::Inch);
            return c.accept;
        });
        QCOMPARE(p.window->totalPages(), 6);
        p.click("cmdNext");
        p.click("cmdNext");
        const QImage shown = p.window->pageImage();

        p.click(c.button);
        QCOMPARE(asked, 1);
        QCOMPARE(p.window->pageNo(), c.shownAfter);
        if (c.printed < 0) {
            QVERIFY(!QFile::exists(pdf));
            QCOMPARE(p.window->pageImage(), shown);
            return;
        }
        if (c.margin > 0) {
            QVERIFY(p.window->totalPages() > 6);
            QCOMPARE(p.indicator(), QString(" Page 1 of %1 pages ").arg(p.window->totalPages()));
        }
        QCOMPARE(pdfPages(pdf), c.margin > 0 ? p.window->totalPages() : c.printed);
    }
};

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
