// The print preview: opening on page 1, the page buttons, the two scales and dragging, the colour modes, F1,
// and printing through the print dialog's seam into PDF files.

#include "app/Session.h"
#include "editor/PrintPreview.h"
#include "editor/Scheme.h"
#include "store/OfficeCatalogue.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A report with the whole officer list and one short text: four pages.
void fillSession(Session& s, const QString& mode = QStringLiteral("color"))
{
    ReportModel& m = s.model;
    int order = 0;
    for (const CatalogueLine& line : OfficeCatalogue()) {
        Officer o;
        o.Title = QString::fromLatin1(line.title);
        o.Code = QString::fromLatin1(line.code);
        o.Order = ++order;
        m.Officers.append(o);
    }
    m.SquadronName = QStringLiteral("Alder Sound Squadron");
    m.SquadronNoText = QStringLiteral("0143");
    m.ReportYear = QStringLiteral("2020");
    m.SubDate = QStringLiteral("Sep 1, 2019");
    m.officer(2).First = QStringLiteral("Amy");
    m.officer(2).Last = QStringLiteral("Abel");
    m.ActivityText[1] = QStringLiteral("Three cruises to the islands.");
    s.ColorMode = mode;
}

// Text of about n lines on Letter paper.
QString longText(int n)
{
    return QStringLiteral("Members met at the club and heard a talk on charts. ").repeated(2 * n).trimmed();
}

int pdfPages(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {path});
    if (!p.waitForFinished(30000))
        return -1;
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n')) {
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    }
    return -1;
}

void mouse(QWidget* w, QEvent::Type type, const QPoint& pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

// A left or right drag on the page by `by`.
void drag(QWidget* page, Qt::MouseButton button, const QPoint& by)
{
    const QPoint from(100, 100);
    mouse(page, QEvent::MouseButtonPress, from, button, button);
    mouse(page, QEvent::MouseMove, from + by, Qt::NoButton, button);
    mouse(page, QEvent::MouseButtonRelease, from + by, button, Qt::NoButton);
}

struct Preview
{
    explicit Preview(const QString& mode = QStringLiteral("color"))
    {
        fillSession(session, mode);
        window = std::make_unique<PrintPreview>(session);
        window->show();
    }
    template <typename T = QWidget> T* find(const char* name) const
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
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
    void opensOnPageOne()
    {
        Preview p;
        QCOMPARE(p.window->objectName(), QStringLiteral("PrintPreview"));
        QCOMPARE(p.window->windowTitle(), QStringLiteral("Print Preview"));
        QCOMPARE(p.window->size(), QSize(800, 600));
        QCOMPARE(p.indicator(), QStringLiteral(" Page 1 of 4 pages "));
        QTRY_COMPARE(QApplication::focusWidget(), p.find("cmdNext"));
        QVERIFY(!p.find("cmdPrev")->isEnabled());
        const QStringList captions{"cmdPrev=Previous Page", "cmdNext=Next Page", "cmdPrintPage=Print Page",
                                   "cmdPrintAll=Print All", "cmdClose=Close"};
        for (const QString& c : captions) {
            const QStringList nameCaption = c.split('=');
            QCOMPARE(p.find<QPushButton>(qPrintable(nameCaption[0]))->text(), nameCaption[1]);
            QCOMPARE(p.find(qPrintable(nameCaption[0]))->parent(), p.find("Frame1"));
        }
        QWidget* page = p.find("PicPage");
        QCOMPARE(page->toolTip(), QStringLiteral("Double-Click to switch scale."));
        QCOMPARE(page->parent(), p.find("Picture1"));
        QCOMPARE(p.find("Picture1")->geometry(), QRect(347, 2, 438, 567));
        QCOMPARE(page->geometry(), QRect(0, 0, 438, 567));
        QVERIFY(qAbs(p.window->previewScale() - 6568.0 / 1440 / 8.5) < 1e-9);

        // Page 1 is drawn: its title line darkens the top of the picture, the bottom half above the footer is
        // empty paper.
        const QImage image = p.window->pageImage();
        auto darkRows = [&](int from, int to) {
            int rows = 0;
            for (int y = from; y < to; ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    if (qGray(image.pixel(x, y)) < 128) {
                        ++rows;
                        break;
                    }
                }
            }
            return rows;
        };
        QVERIFY(darkRows(0, image.height() / 10) > 0);
        QCOMPARE(darkRows(image.height() * 6 / 10, image.height() * 9 / 10), 0);
    }

    void colours_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::newRow("color") << "color";
        QTest::newRow("mono") << "mono";
    }

    void colours()
    {
        QFETCH(QString, mode);
        Preview p(mode);
        const bool color = mode == "color";
        for (const char* name : {"Frame1", "cmdPrev", "cmdNext", "cmdPrintPage", "cmdPrintAll", "cmdClose"})
            QCOMPARE(p.find(name)->palette().color(p.find(name)->backgroundRole()) == Scheme::Background, color);
        QCOMPARE(p.window->palette().color(QPalette::Window) == Scheme::Background, color);
        QWidget* label = p.find("lblPageNo");
        QCOMPARE(label->palette().color(label->backgroundRole()) == Scheme::Box, color);
    }

    void pageButtons()
    {
        Preview p;
        QStringList seen;
        for (int i = 0; i < 4; ++i) {
            p.click("cmdNext");
            seen << p.indicator();
        }
        QCOMPARE(seen, (QStringList{" Page 2 of 4 pages ", " Page 3 of 4 pages ", " Page 4 of 4 pages ",
                                    " Page 1 of 4 pages "}));
        QVERIFY(!p.find("cmdPrev")->isEnabled());
        p.click("cmdPrev"); // disabled: no wrap to the last page
        QCOMPARE(p.window->pageNo(), 1);
        p.click("cmdNext");
        p.click("cmdNext");
        QVERIFY(p.find("cmdPrev")->isEnabled());
        p.click("cmdPrev");
        QCOMPARE(p.indicator(), QStringLiteral(" Page 2 of 4 pages "));
        p.click("cmdPrev");
        QCOMPARE(p.window->pageNo(), 1);
        QVERIFY(!p.find("cmdPrev")->isEnabled());
    }

    void zoomAndDrag()
    {
        Preview p;
        QWidget* page = p.find("PicPage");
        QWidget* frame = p.find("Picture1");
        drag(page, Qt::LeftButton, QPoint(-50, -50)); // small: the page stays
        QCOMPARE(page->pos(), QPoint(0, 0));

        QTest::mouseDClick(page, Qt::LeftButton);
        QCOMPARE(p.window->previewScale(), 1.0);
        QCOMPARE(page->size(), QSize(816, 1056));
        QCOMPARE(frame->geometry(), QRect(347, 2, 438, 567));
        QCOMPARE(page->toolTip(), QString());
        QCOMPARE(p.window->pageImage().deviceIndependentSize(), QSizeF(816, 1056));

        drag(page, Qt::RightButton, QPoint(-50, -50));
        QCOMPARE(page->pos(), QPoint(0, 0));
        drag(page, Qt::LeftButton, QPoint(-50, -30));
        QCOMPARE(page->pos(), QPoint(-50, -30));
        drag(page, Qt::LeftButton, QPoint(-2000, -2000)); // never beyond the page's far corner
        QCOMPARE(page->pos(), QPoint(438 - 816, 567 - 1056));
        drag(page, Qt::LeftButton, QPoint(3000, 3000)); // nor beyond its near one
        QCOMPARE(page->pos(), QPoint(0, 0));

        QTest::mouseDClick(page, Qt::LeftButton);
        QVERIFY(p.window->previewScale() < 0.7);
        QCOMPARE(page->geometry(), QRect(0, 0, 438, 567));
        QCOMPARE(page->toolTip(), QString());
        QCOMPARE(p.indicator(), QStringLiteral(" Page 1 of 4 pages "));
    }

    void helpKey()
    {
        Preview p;
        QList<int> topics;
        p.window->setHelp([&](int topic) { topics << topic; });
        QTest::keyClick(p.window.get(), Qt::Key_F1);
        QCOMPARE(topics, QList<int>{14});
    }

    void printing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<double>("margin"); // set in the dialog, inches; 0 keeps the printer's
        QTest::addColumn<int>("printed");   // pages in the file; -1 no file
        QTest::addColumn<int>("shownAfter");

        QTest::newRow("cancel prints nothing") << "cmdPrintAll" << false << 0.0 << -1 << 3;
        QTest::newRow("print page") << "cmdPrintPage" << true << 0.0 << 1 << 3;
        QTest::newRow("print all, then page 1") << "cmdPrintAll" << true << 0.0 << 6 << 1;
        QTest::newRow("another printable area is laid out again") << "cmdPrintAll" << true << 2.0 << 0 << 1;
    }

    void printing()
    {
        QFETCH(QString, button);
        QFETCH(bool, accept);
        QFETCH(double, margin);
        QFETCH(int, printed);
        QFETCH(int, shownAfter);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("out.pdf"));

        Session session;
        fillSession(session);
        session.model.ActivityText[0] = longText(120);
        PrintPreview window(session);
        int asked = 0;
        window.setPrintDialog([&](QPrinter& printer, QWidget*) {
            ++asked;
            if (!accept)
                return false;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            if (margin > 0)
                printer.setPageMargins(QMarginsF(margin, margin, margin, margin), QPageLayout::Inch);
            return true;
        });
        window.show();
        const int before = window.totalPages();
        QCOMPARE(before, 6);
        window.findChild<QPushButton*>("cmdNext")->click();
        window.findChild<QPushButton*>("cmdNext")->click();
        const QImage shown = window.pageImage();

        window.findChild<QPushButton*>(button)->click();
        QCOMPARE(asked, 1);
        QCOMPARE(window.pageNo(), shownAfter);
        if (printed < 0) {
            QVERIFY(!QFile::exists(pdf));
            QCOMPARE(window.pageImage(), shown);
            return;
        }
        if (margin > 0) {
            // The narrower lines need more pages; the preview and the file both show them.
            QVERIFY(window.totalPages() > before);
            printed = window.totalPages();
            QCOMPARE(window.findChild<QLabel*>("lblPageNo")->text(),
                     QStringLiteral(" Page 1 of %1 pages ").arg(printed));
        }
        if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
            QSKIP("pdfinfo is not installed");
        QCOMPARE(pdfPages(pdf), printed);
    }
};

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
