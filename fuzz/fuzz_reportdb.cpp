// Opening a report database made of mutated bytes: a sound report file with bytes changed, or any bytes.
// The first input byte chooses: even, the rest are (3-byte offset, value) changes to a sound file; odd, the
// rest is the whole file.

#include "FuzzSession.h"

#include "store/ReportDatabase.h"
#include "store/ReportIO.h"

#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzSession fuzz;
    static const QByteArray sound = [] {
        OpenReportDatabase(fuzz.session, QStringLiteral("NewDB"), fuzz.prompt);
        QFile f(fuzz.session.CurrentDBPath);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    if (size == 0 || sound.isEmpty())
        return 0;
    QByteArray bytes;
    if (data[0] % 2 == 0) {
        bytes = sound;
        for (size_t i = 1; i + 4 <= size; i += 4) {
            const size_t offset =
                (size_t(data[i]) << 16 | size_t(data[i + 1]) << 8 | data[i + 2]) % size_t(bytes.size());
            bytes[qsizetype(offset)] = char(data[i + 3]);
        }
    } else {
        bytes = QByteArray(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    }
    // Start from a clean folder: the report file alone, no backup copy.
    QDir dir(fuzz.dir.path());
    for (const QString& name : dir.entryList(QDir::Files))
        dir.remove(name);
    QFile file(fuzz.session.CurrentDBPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(bytes);
    file.close();

    (void)CheckReportFile(fuzz.session.CurrentDBPath);
    QString why;
    if (OpenReportDatabase(fuzz.session, QString(), fuzz.prompt, &why)) {
        LoadReport(fuzz.session, &why);
        WriteReport(fuzz.session, &why);
    }
    return 0;
}
