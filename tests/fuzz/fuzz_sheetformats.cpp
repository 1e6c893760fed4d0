// PRTSET.DFT reader: any bytes read without fault, and what was read survives being written
// and read again (free entries aside, which writing drops).

#include "print/sheetformats.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    print::SheetFormatParse info;
    const print::SheetFormatTable table = print::parseSheetFormats(bytes, &info);
    if (table.count < 0 || table.count > print::SheetFormatTable::kCapacity)
        std::abort();

    const print::SheetFormatTable again = print::parseSheetFormats(print::encodeSheetFormats(table));
    int n = 1;
    for (int i = 1; i <= table.count; ++i) {
        if (table[i].isFree())
            continue;
        if (n > again.count || !(again[n] == table[i]))
            std::abort();
        ++n;
    }
    if (n - 1 != again.count)
        std::abort();
    return 0;
}
