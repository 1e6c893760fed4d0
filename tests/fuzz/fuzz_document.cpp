// A portrait document and its companion: the first two bytes (little-endian) give the
// document's length, the rest of the input is the companion.
#include "fuzz_support.h"

#include "core/document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::size_t docSize = std::min<std::size_t>(size - 2, data[0] | (data[1] << 8));
    fuzz::clearScratch();
    const QString doc = fuzz::writeScratch("face.fcr", fuzz::bytes(data + 2, docSize));
    fuzz::writeScratch("face.fcr.fcm", fuzz::bytes(data + 2 + docSize, size - 2 - docSize));
    for (const bool writeBack : {false, true}) {
        core::PortraitState state;
        core::CaptionTable captions;
        (void)core::LoadDocument(doc, state, captions, writeBack);
        // Whatever was read saves and reads back the same.
        if (writeBack) {
            if (core::SaveDocument(doc, state, captions))
                continue;
            core::PortraitState reread;
            core::CaptionTable rereadCaptions;
            (void)core::LoadDocument(doc, reread, rereadCaptions, false);
            if (reread.PartTable != state.PartTable)
                __builtin_trap();
        }
    }
    return 0;
}
