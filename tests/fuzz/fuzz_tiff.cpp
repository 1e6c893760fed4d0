// TIFF pictures and their pages, in either byte order.
#include "picture_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray in = fuzz::bytes(data, size);
    const QByteArray le("II*\0", 4);
    const QByteArray be("MM\0*", 4);
    const QByteArray file = in.startsWith(le) || in.startsWith(be) ? in : le + in;
    fuzz::fuzzPictureFile(file, "in.tif");
    return 0;
}
