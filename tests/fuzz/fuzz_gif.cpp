// GIF pictures and their frames.
#include "picture_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray in = fuzz::bytes(data, size);
    const QByteArray file = in.startsWith("GIF87a") || in.startsWith("GIF89a") ? in : "GIF89a" + in;
    fuzz::fuzzPictureFile(file, "in.gif");
    return 0;
}
