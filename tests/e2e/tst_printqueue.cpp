// Printing through a real CUPS queue: "Print All" in the preview sends a heavy report to a cups-pdf queue, and
// the PDF that cups-pdf writes has the preview's pages, each with print on it, alike to export-pdf's.

#include "ScriptedPrompt.h"

#include "app/Session.h"
#include "app/Startup.h"
#include "demo/DemoHost.h"
#include "editor/PrintPreview.h"
#include "host/FillFromHost.h"
#include "store/ReportIO.h"

#include <QDir>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>

#include <unistd.h>

namespace {

// Runs a program to its end: its exit code, -1 when it did not finish in time.
int run(const QString& program, const QStringList& args, QString* out = nullptr)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    const bool finished = p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit;
    if (out)
        *out = QString::fromUtf8(p.readAll());
    return finished ? p.exitCode() : -1;
}

// The pages of a PDF file rasterised at 30 dpi in grey.
QList<QImage> rasterise(const QString& pdf)
{
    QTemporaryDir dir;
    run(QStringLiteral("pdftoppm"), {"-r", "30", "-gray", "-png", pdf, dir.filePath(QStringLiteral("p"))});
    QList<QImage> pages;
    for (const QFileInfo& f : QDir(dir.path()).entryInfoList({"p-*.png"}, QDir::Files, QDir::Name))
        pages << QImage(f.filePath()).convertToFormat(QImage::Format_Grayscale8);
    return pages;
}

// Pixels that differ clearly between `a` and `b` moved `down` rows up, both blurred to a tenth of an inch first:
// cups-pdf draws the glyphs a little differently, but in the same places.
int differing(const QImage& a, const QImage& b, int down = 0)
{
    const int h = std::min(a.height(), b.height()) - down, w = std::min(a.width(), b.width());
    const auto blurred = [&](const QImage& i, int top) {
        return i.copy(0, top, w, h).scaled(w / 3, h / 3, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    };
    const QImage x = blurred(a, 0), y = blurred(b, down);
    int n = 0;
    for (int r = 0; r < x.height(); ++r)
        for (int c = 0; c < x.width(); ++c)
            n += std::abs(qGray(x.pixel(c, r)) - qGray(y.pixel(c, r))) > 48;
    return n;
}

} // namespace

class TestPrintQueue : public QObject
{
    Q_OBJECT

    QString m_queue = QStringLiteral("r318-e2e-%1").arg(QCoreApplication::applicationPid());
    QProcess m_cupsd; // the scheduler this test started, if any
    bool m_added = false;

public:
    ~TestPrintQueue() override
    {
        if (m_added)
            run(QStringLiteral("lpadmin"), {"-x", m_queue});
        if (m_cupsd.state() != QProcess::NotRunning) {
            m_cupsd.terminate(); // SIGTERM to the process id it started with
            if (!m_cupsd.waitForFinished(20000))
                m_cupsd.kill();
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        auto schedulerRuns = [] {
            QString out;
            return run(QStringLiteral("lpstat"), {"-r"}, &out) == 0 && out.startsWith("scheduler is running");
        };
        if (!schedulerRuns()) {
            if (geteuid() != 0)
                QSKIP("no CUPS scheduler runs, and only root can start one");
            m_cupsd.start(QStringLiteral("cupsd"), {"-f"});
            QVERIFY2(m_cupsd.waitForStarted(), qPrintable(m_cupsd.errorString()));
            QVERIFY2(QTest::qWaitFor(schedulerRuns, 30000), "cupsd did not come up");
        }
        QString out;
        const int status =
            run(QStringLiteral("lpadmin"),
                {"-p", m_queue, "-E", "-v", "cups-pdf:/", "-P", "/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd"}, &out);
        if (status != 0 && geteuid() != 0)
            QSKIP(qPrintable("the scheduler does not let this user add a queue: " + out));
        QVERIFY2(status == 0, qPrintable(out));
        m_added = true;
        // The queue is the default printer of this process only.
        qputenv("PRINTER", m_queue.toUtf8());
    }

    void printAll()
    {
        const QString cli = qEnvironmentVariable("R318_CLI");
        QVERIFY2(!cli.isEmpty(), "R318_CLI does not name the command-line tool");
        QTemporaryDir dir;
        const QString demo = dir.filePath(QStringLiteral("demo"));
        QString error;
        QVERIFY2(CreateDemoHost(demo, &error), qPrintable(error));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(DemoHost::configDir(demo)));

        // A heavy report: filled from the host for its watch year, with activity texts over several pages.
        const QStringList host{QStringLiteral("--host"), DemoHost::hostLine()};
        QStringList set{"set", "Misc.From_Date", DemoHost::watchFrom().toString("MMddyy"), "Misc.To_Date",
                        DemoHost::watchTo().toString("MMddyy")};
        // Paragraphs of invented prose, CR LF between them.
        QStringList text;
        for (int i = 0; i < 14; ++i)
            text << QStringLiteral("Members crewed the committee boat at the spring regatta, charted the channel near "
                                   "M\u00fcller Point and taught the boating course. ")
                        .repeated(3 + i % 4)
                        .trimmed();
        for (const char* field : {"Meetings", "Cruise", "Community", "Award_S", "VSC"})
            set << QStringLiteral("Activities.") + field << text.join(QStringLiteral("\r\n\r\n"));
        QString out;
        QVERIFY2(run(cli, host + set, &out) == 0, qPrintable(out));
        QVERIFY2(run(cli, host + QStringList{"fill"}, &out) == 0, qPrintable(out));
        const QString exported = dir.filePath(QStringLiteral("export.pdf"));
        QVERIFY2(run(cli, host + QStringList{"export-pdf", exported}, &out) == 0, qPrintable(out));

        // The report as the window loads it.
        Session session;
        ScriptedPrompt prompt;
        QVERIFY(Startup::Main(session, DemoHost::hostLine(), prompt).kind == Startup::Outcome::Kind::Ready);
        QVERIFY(LoadReport(session, prompt));
        LoadTimeLookups(session, false, prompt);

        PrintPreview preview(session);
        preview.setPrintDialog([&](QPrinter& printer, QWidget*) {
            printer.setPrinterName(m_queue);
            printer.setPageSize(QPageSize(QPageSize::Letter)); // the paper export-pdf prints on
            return true;
        });
        preview.show();
        // The first pass was laid out for the queue's printable area.
        const QPrinter queue(QPrinterInfo::printerInfo(m_queue), QPrinter::HighResolution);
        QCOMPARE(preview.layout().PrintWidth, queue.pageRect(QPrinter::Inch).width());

        const QString outDir = printOutFolder();
        const QDateTime started = QDateTime::currentDateTime().addSecs(-1);
        preview.findChild<QPushButton*>(QStringLiteral("cmdPrintAll"))->click();
        const int pages = preview.totalPages();
        QVERIFY(pages > 8);

        QString printed;
        const bool done = QTest::qWaitFor(
            [&] {
                const QFileInfoList newest = QDir(outDir).entryInfoList({"*.pdf"}, QDir::Files, QDir::Time);
                if (!newest.isEmpty() && newest.first().lastModified() >= started)
                    printed = newest.first().filePath();
                QString queued;
                return !printed.isEmpty() && run(QStringLiteral("lpstat"), {"-o", m_queue}, &queued) == 0 &&
                       queued.trimmed().isEmpty();
            },
            120000);
        QVERIFY2(done, qPrintable("no finished job in " + outDir));
        const QList<QImage> paper = rasterise(printed);
        QFile::remove(printed);
        const QList<QImage> exportedPages = rasterise(exported);
        QVERIFY(paper.size() == pages && exportedPages.size() == pages);
        QImage white(paper[0].size(), QImage::Format_Grayscale8);
        white.fill(Qt::white);
        for (int i = 0; i < pages; ++i)
            QVERIFY2(differing(paper[i], white) > 20, qPrintable(QStringLiteral("page %1 is blank").arg(i + 1)));
        // Page 1 on paper and in export-pdf: far fewer differences than a shift by one line (5 pixels) makes.
        QCOMPARE(paper[0].size(), exportedPages[0].size());
        const int shift = differing(exportedPages[0], exportedPages[0], 5);
        const int diff = differing(paper[0], exportedPages[0]);
        QVERIFY2(diff * 4 < shift,
                 qPrintable(QStringLiteral("%1 pixels differ; a shift by one line: %2").arg(diff).arg(shift)));
    }

private:
    // Where cups-pdf writes: its "Out" setting, ${HOME}/PDF unless set otherwise.
    static QString printOutFolder()
    {
        QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
        static const QRegularExpression key(QStringLiteral("^Out\\s+(\\S.*)$"), QRegularExpression::MultilineOption);
        const QRegularExpressionMatch m =
            key.match(conf.open(QIODevice::ReadOnly) ? QString::fromUtf8(conf.readAll()) : QString());
        return (m.hasMatch() ? m.captured(1).trimmed() : QStringLiteral("${HOME}/PDF"))
            .replace(QLatin1String("${HOME}"), QDir::homePath());
    }
};

QTEST_MAIN(TestPrintQueue)
#include "tst_printqueue.moc"
