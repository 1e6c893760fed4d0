#include "picture_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::fuzzPictureFile(fuzz::withMagic(fuzz::bytes(data, size), "\xff\xd8\xff"), "in.jpg");
    return 0;
}
