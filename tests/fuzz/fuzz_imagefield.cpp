// Image fields of the databases; a field that decodes must encode and decode back the same.
#include "fuzz_support.h"

#include "imaging/engine/imagefield.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    imaging::ImageFieldLimits limits;
    limits.maxWidth = 1024;
    limits.maxHeight = 1024;
    limits.maxBytes = 4 << 20;
    imaging::Raster r;
    if (imaging::decodeImageField(fuzz::bytes(data, size), r, limits) != 0 || r.isNull())
        return 0;
    imaging::Raster again;
    if (imaging::decodeImageField(imaging::encodeImageField(r), again, limits) != 0
        || again.image() != r.image())
        __builtin_trap();
    return 0;
}
