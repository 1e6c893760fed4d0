#pragma once

// What every picture target does with its file: the information call and loads at the
// picture's depth, converted, and of its last page.

#include "fuzz_support.h"

#include "imaging/engine/raster.h"

namespace fuzz {

// A few hundred compressed bytes may declare any picture up to the engine's bound (2^28
// pixels), which then takes a minute under the sanitizers just to fill. Such pictures only
// measure memory bandwidth, so the loads skip what declares more than this.
constexpr qint64 kPixelBudget = qint64(1) << 22;

inline void fuzzPictureFile(const QByteArray& file, const char* name)
{
    const QString path = writeScratch(name, file);
    imaging::FileInfo info;
    const int code = imaging::Raster::getFileInfo(path, 1, info);
    if (code == 0 && qint64(info.width) * info.height > kPixelBudget)
        return;
    imaging::Raster r;
    if (r.load(path) == 0 && (r.width() <= 0 || r.height() <= 0))
        __builtin_trap();  // success must give a picture
    if (code == 0) {
        imaging::Raster grey;
        (void)grey.load(path, 8);
        if (info.pageCount > 1) {
            imaging::Raster last;
            (void)last.load(path, 0, std::min(info.pageCount, 64));
        }
    }
}

}  // namespace fuzz
