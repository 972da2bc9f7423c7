// Commands that write the report's output files.

#include "Cli.h"

#include "app/Session.h"
#include "host/FillFromHost.h"
#include "output/UploadFile.h"
#include "store/ReportIO.h"

#include <QFileInfo>

namespace {

// export-upload [--out FILE]: loads the report as the add-in does (with the look-ups that follow the load),
// saves it and writes the upload file to UploadFilePath or FILE.
int exportUpload(CliContext& c)
{
    QString out;
    QStringList args = c.args;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg == QLatin1String("--out") && !args.isEmpty() && out.isEmpty()) {
            out = args.takeFirst();
        } else {
            *c.err << "r318form-cli: export-upload takes only --out FILE, not " << arg << '\n';
            c.err->flush();
            return 2;
        }
    }

    if (!loadStoredReport(c, true))
        return 1;
    Session& session = *c.session;
    QString why;
    if (!WriteReport(session, &why)) {
        *c.err << "r318form-cli: the report could not be saved to " << session.CurrentDBPath << ": " << why << '\n';
        c.err->flush();
        return 1;
    }
    const QString target = out.isEmpty() ? session.UploadFilePath : QFileInfo(out).absoluteFilePath();
    if (!WriteUploadFile(session, target, &why)) {
        *c.err << "r318form-cli: " << why << '\n';
        c.err->flush();
        return 1;
    }
    *c.out << target << '\n';
    return 0;
}

const CliRegistrar exportUploadCommand(
    {"export-upload", true, exportUpload,
     "export-upload [--out FILE]  save the report and write the upload file (R318_Upload.txt or FILE)"});

} // namespace
