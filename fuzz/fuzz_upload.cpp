// The upload file of a report built from arbitrary bytes: texts of any characters, any counts.

#include "FuzzSession.h"

#include "output/UploadFile.h"
#include "store/ReportDatabase.h"
#include "store/ReportIO.h"

#include <QFile>

#include <cstddef>
#include <cstdint>

namespace {

struct Input
{
    const uint8_t* data;
    size_t size;
    size_t at = 0;

    uint8_t byte() { return at < size ? data[at++] : 0; }
    qint32 number()
    {
        qint32 v = 0;
        for (int i = 0; i < 4; ++i)
            v = qint32(quint32(v) << 8 | byte());
        return v;
    }
    QString text()
    {
        const size_t n = byte();
        const size_t take = std::min(n, size - std::min(at, size));
        QString s = QString::fromUtf8(reinterpret_cast<const char*>(data + at), qsizetype(take));
        at += take;
        return s;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzSession fuzz;
    static const bool created = OpenReportDatabase(fuzz.session, QStringLiteral("NewDB"), fuzz.prompt);
    if (!created)
        __builtin_trap();
    Input in{data, size};
    ReportModel& m = fuzz.session.model;
    QString why;
    LoadReport(fuzz.session, &why);
    m.SquadronName = in.text();
    m.SquadronNo = in.number();
    m.SubDate = in.text();
    m.FromDate = in.text();
    m.NoMM = in.number();
    m.NoActive = in.number();
    m.SubOEmail = in.text();
    m.PubName = in.text();
    for (auto& c : m.AGCount)
        c = in.number();
    for (int k = 0; k < ReportModel::ActivityCount && in.at < size; ++k)
        m.ActivityText[k] = in.text();
    for (int i = 1; i <= m.officerCount() && in.at < size; i += 1 + in.byte() % 7) {
        m.officer(i).Last = in.text();
        m.officer(i).Cert = in.text();
    }
    while (in.at < size) {
        const int category = 1 + in.byte() % 7;
        const int entry = 1 + in.byte() % 24;
        m.entry(category, entry).Last = in.text();
        m.entry(category, entry).Office = in.text();
    }
    if (!WriteReport(fuzz.session, &why))
        __builtin_trap();
    if (!WriteUploadFile(fuzz.session, &why))
        __builtin_trap();
    QFile file(fuzz.session.UploadFilePath);
    if (!file.open(QIODevice::ReadOnly))
        __builtin_trap();
    // Every record ends with CR LF.
    if (!file.readAll().endsWith("\r\n"))
        __builtin_trap();
    return 0;
}
