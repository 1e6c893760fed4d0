#pragma once

// Shared machinery of the filters: raw pixel access, the area a filter works on, row bands
// over the worker threads, and writing a result back only where the region allows.

#include "imaging/engine/raster.h"

#include <QImage>
#include <QRect>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

namespace imaging::kit {

constexpr uint32_t kOpaque = 0xff000000u;

inline int red(uint32_t c) { return int((c >> 16) & 0xff); }
inline int green(uint32_t c) { return int((c >> 8) & 0xff); }
inline int blue(uint32_t c) { return int(c & 0xff); }
inline uint32_t rgb(int r, int g, int b)
{
    return kOpaque | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
}
inline int clamp255(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }
inline int clampTo(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// Read-only rows of a picture without QImage's per-call checks.
struct ConstRows {
    explicit ConstRows(const Raster& r)
        : base(r.constScanLine(0)), stride(r.image().bytesPerLine() / 4), width(r.width()),
          height(r.height())
    {
    }
    const uint32_t* row(int y) const { return base + qptrdiff(y) * stride; }
    const uint32_t* base;
    qptrdiff stride;
    int width;
    int height;
};

// Writable rows; taking them detaches the picture once.
struct Rows {
    explicit Rows(Raster& r)
        : base(r.scanLine(0)), stride(r.image().bytesPerLine() / 4), width(r.width()),
          height(r.height())
    {
    }
    uint32_t* row(int y) const { return base + qptrdiff(y) * stride; }
    uint32_t* base;
    qptrdiff stride;
    int width;
    int height;
};

// A picture must exist before a filter runs.
void requirePicture(const Raster& picture);
// 20013 unless lo <= value <= hi.
void requireRange(int value, int lo, int hi);

// The rectangle a filter changes: the region's bounds, or the whole picture.
QRect workArea(const Raster& picture);

// Number of threads the kernels use: FACIORA_THREADS when set, else every core.
int workerCount();

// Runs fn(begin, end) over bands of the rows [begin, end), one band per worker; small
// pictures stay on the calling thread. fn must not throw.
void parallelRows(int begin, int end, qint64 pixelsPerRow, const std::function<void(int, int)>& fn);

// Applies fn(row pointer, x0, count, y) to every span of the picture that a filter may
// change: the region's spans, or whole rows. Row bands run in parallel.
void forEachSpan(Raster& picture, const std::function<void(uint32_t*, int, int, int)>& fn);

// A result computed for `area` (an image of the area's size) copied into the picture, only
// inside the region when there is one.
void writeBack(Raster& picture, const QRect& area, const QImage& result);

// A blank RGB32 image of the given size; 20001 when memory runs out.
QImage newImage(int width, int height);

// Three 256-entry tables, one per channel; applied to every changeable pixel.
struct ChannelLut {
    uint8_t r[256];
    uint8_t g[256];
    uint8_t b[256];
    void setAll(const uint8_t* table)
    {
        std::copy(table, table + 256, r);
        std::copy(table, table + 256, g);
        std::copy(table, table + 256, b);
    }
};
void applyLut(Raster& picture, const ChannelLut& lut);

// Histogram of the red, green and blue channels together over the changeable pixels.
std::vector<qint64> channelHistogram(const Raster& picture);

// Luminance as the filters see it: Rec. 601 weights in 8-bit fixed point (77, 150, 29).
inline int luma(uint32_t c)
{
    return (77 * red(c) + 150 * green(c) + 29 * blue(c) + 128) >> 8;
}

}  // namespace imaging::kit
