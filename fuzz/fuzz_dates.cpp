// Typed date digits and stored date texts.

#include "store/DateText.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString digits = DateText::DigitsOnly(text);
    const QString stored = DateText::fromDigits(digits);
    // A date made from digits reads back to the same digits' date.
    if (!stored.isEmpty() && DateText::fromDigits(DateText::toDigits(stored)) != stored)
        __builtin_trap();
    (void)DateText::parseStored(text);
    (void)DateText::keyYearMonth(text);
    (void)DateText::keyYear(text);
    (void)DateText::mmddyyyy(text);
    (void)DateText::reportYearFor(text);
    (void)DateText::toDigits(text);
    (void)DateText::parseSlashDate(text);
    return 0;
}
