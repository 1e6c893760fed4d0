// The information call on any bytes, each page it claims.
#include "fuzz_support.h"

#include "imaging/engine/raster.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = fuzz::writeScratch("in.pic", fuzz::bytes(data, size));
    imaging::FileInfo info;
    if (imaging::Raster::getFileInfo(path, 1, info) == 0) {
        for (int page = 2; page <= std::min(info.pageCount, 8); ++page) {
            imaging::FileInfo more;
            (void)imaging::Raster::getFileInfo(path, page, more);
        }
    }
    return 0;
}
