// The printed report as a PDF file.

#include "Cli.h"

#include "app/Session.h"
#include "editor/PainterSurface.h"
#include "host/FillFromHost.h"
#include "output/PrintLayout.h"
#include "output/ReportPages.h"
#include "store/ReportIO.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

namespace {

// export-pdf FILE: loads the report as the add-in does (with the look-ups that follow the load) and prints every
// page as "Print All" does to FILE, through the PDF output on Letter paper. The pages are laid out for that
// output first, as the preview lays them out for its printer. The report file is not changed.
int exportPdf(CliContext& c)
{
    if (c.args.size() != 1) {
        *c.err << "usage: r318form-cli --host \"...\" export-pdf FILE\n";
        c.err->flush();
        return 2;
    }
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        *c.err << "r318form-cli: export-pdf needs the graphical application object\n";
        c.err->flush();
        return 1;
    }
    if (!loadStoredReport(c, true))
        return 1;
    Session& session = *c.session;

    const QString target = QFileInfo(c.args.first()).absoluteFilePath();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setOutputFileName(target);
    printer.setDocName(QStringLiteral("Form R-318 ") + session.model.SquadronName);

    PrintLayout layout;
    ReportPages pages(layout, session.model);
    PreviewSurface measuring(nullptr, printer, PrinterPageMetrics(printer), 1);
    const int total = pages.FirstPass(measuring);

    QPainter painter;
    if (!painter.begin(&printer)) {
        *c.err << "r318form-cli: " << target << " could not be written\n";
        c.err->flush();
        return 1;
    }
    PrinterSurface surface(printer, painter);
    pages.PrintAll(surface);
    if (!painter.end()) {
        *c.err << "r318form-cli: " << target << " could not be written\n";
        c.err->flush();
        return 1;
    }
    *c.out << target << " (" << total << " pages)\n";
    return 0;
}

const CliRegistrar exportPdfCommand({"export-pdf", true, exportPdf,
                                     "export-pdf FILE        print every page of the report to the PDF file FILE",
                                     true});

} // namespace
