#pragma once

// The stored form of pictures in database image fields: PNG bytes at the picture's own
// depth, so that masks, palettes and every pixel come back exactly.

#include "imaging/engine/raster.h"

#include <QByteArray>

namespace imaging {

// Bounds for fields read from files the user chose; the defaults suit add-on parts files.
struct ImageFieldLimits {
    int maxWidth = 4096;
    int maxHeight = 4096;
    // Largest stored field, and largest decoded picture (4 bytes a pixel).
    qint64 maxBytes = qint64(64) << 20;
    // Largest decoded picture in pixels; negative: maxBytes / 4.
    qint64 maxPixels = -1;
};

// The field bytes for `r` at `bits` (0: the picture's own depth): 1, 4 and 8 bits with the
// palette, 16 and 24 as RGB, 32 as RGBA. Throws ImagingError 20002 for an empty picture,
// 20027 for a depth that is not 0, 1, 4, 8, 16, 24 or 32.
QByteArray encodeImageField(const Raster& r, int bits = 0);

// Reads field bytes into `out`: 0 or a code (20009 not a picture, 20011 beyond `limits`,
// 20007 truncated or damaged). Empty bytes are an empty field and give an empty picture.
// Never throws; `out` is unchanged on failure.
int decodeImageField(const QByteArray& bytes, Raster& out, const ImageFieldLimits& limits = {});

}  // namespace imaging
