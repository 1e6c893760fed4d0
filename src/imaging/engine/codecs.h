#pragma once

// Codec helpers shared by the file codecs and the image-field serialization.

#include "imaging/engine/raster.h"

#include <QByteArray>
#include <QImage>

class QIODevice;

namespace imaging {

// Bounds for pictures read from data that may be hostile; checked before pixels are allocated.
struct DecodeLimits {
    int maxWidth = kMaxSide;
    int maxHeight = kMaxSide;
    qint64 maxPixels = kMaxPixels;
};

// What a PNG's header says, read without decoding the pixels.
struct PngInfo {
    int width = 0;
    int height = 0;
    int bits = 0;  // the nominal depth readPng gives
    bool interlaced = false;
    int xRes = 0;  // dots per inch; 0 when the file gives none
    int yRes = 0;
};

// 0 or a code: 20009 not a PNG, 20007 truncated header.
int readPngInfo(QIODevice& in, PngInfo& info);

// Reads a PNG stream into `out` at the file's own depth (1, 4, 8, 16, 24 or 32) with its
// palette and resolution. 0 or a code: 20009 not a PNG, 20011 beyond the limits, 20007
// truncated or corrupt data. `out` is only written on success.
int readPng(QIODevice& in, const DecodeLimits& limits, Raster& out);

// The picture as PNG bytes at `bits` (1, 4, 8: palette; 16: RGB marked as 5 significant
// bits; 24: RGB; 32: RGBA). Pixels are kept exactly for 16, 24 and 32 bits. 0 or a code.
int writePng(const Raster& raster, int bits, QByteArray& out);

// The picture as palette indices for a depth of 1, 4 or 8 bits: an Indexed8 image whose
// colour table has at most 2^bits entries. The raster's own palette is used when every
// pixel belongs to it, then the standard palette, then the exact colours; otherwise the
// colours are quantised (1 bit: black and white by brightness).
QImage indexedPixels(const Raster& raster, int bits);

}  // namespace imaging
