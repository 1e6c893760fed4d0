// An add-on parts file as Kitbin gets it: the input becomes the file, which is checked,
// read and merged into a small parts database.
#include "fuzz_support.h"

#include "catalog/partops.h"
#include "catalog/partsdatabase.h"
#include "catalog/partsfile.h"
#include "catalog/recordsource.h"
#include "imaging/engine/raster.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::clearScratch();
    const QString addon = fuzz::writeScratch("addon.mdb", fuzz::bytes(data, size));
    const QString target = fuzz::scratchPath("ravoze.mdb");
    if (!catalog::createPartsFile(target).ok())
        __builtin_trap();
    const QString list = QLatin1String(catalog::kListOrderSource);
    catalog::PartsDatabase src;
    if (!src.open(addon, list, catalog::OpenMode::ReadOnly).ok())
        return 0;
    imaging::Raster r;
    (void)catalog::readBlankTile(src, r);
    const int category = catalog::addOnCategory(src);
    int records = 0;
    for (bool more = src.moveFirst(); more && records < 64; more = src.moveNext(), ++records) {
        (void)src.image("photo_main", r);
        (void)src.image("photo_mask", r);
    }
    catalog::PartsDatabase dst;
    if (!dst.open(target, QLatin1String(catalog::kMergeOrderSource)).ok())
        __builtin_trap();
    if (category >= 1 && category <= 22)
        (void)catalog::CopyCategoryParts(src, dst, category);
    return 0;
}
