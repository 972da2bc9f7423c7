// Searches of the host recordset layer with arbitrary criteria texts.

#include "host/Recordset.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Recordset rs = Recordset::fromRows(
        {"Mem_ID", "Last", "SDN", "Department"},
        {{"10", "Abel", "S", "7"}, {"11", "O'Brien", "D", "1"}, {"0012", "", "s", "7"}, {"x", QString(), "N", ""}});
    const QString criteria = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const bool first = rs.findFirst(criteria);
    if (first != !rs.noMatch())
        __builtin_trap();
    for (int i = 0; i < 5 && rs.findNext(criteria); ++i) {
    }
    (void)rs.text(criteria);
    (void)leadingNumber(criteria);
    (void)translateHostStatement(criteria);
    return 0;
}
