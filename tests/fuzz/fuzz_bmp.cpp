// Windows and OS/2 bitmaps, RLE included.
#include "picture_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::fuzzPictureFile(fuzz::withMagic(fuzz::bytes(data, size), "BM"), "in.bmp");
    return 0;
}
