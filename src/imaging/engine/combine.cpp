#include "imaging/engine/raster.h"

#include <algorithm>
#include <cstring>

namespace imaging {

namespace {

constexpr uint32_t kOpaque = 0xff000000u;

// Adds the four bytes of a and b, each clamped at 255, within one 32-bit word.
inline uint32_t saturatingAdd(uint32_t a, uint32_t b)
{
    constexpr uint32_t high = 0x80808080u;
    const uint32_t differ = (a ^ b) & high;
    uint32_t carry = a & b & high;
    const uint32_t low = (a & ~high) + (b & ~high);
    carry |= differ & low;
    const uint32_t clamp = (carry << 1) - (carry >> 7);
    return (low ^ differ) | clamp;
}

// One kernel per operation, written so that the compiler vectorises the loops. The template
// is inlined into plain functions below, since clang cannot clone templates per target.
template <int Op, bool BlackDest>
__attribute__((always_inline)) inline void combineRow(uint32_t* __restrict d, const uint32_t* __restrict s, int n)
{
    if constexpr (Op == kCombineAnd) {
        if constexpr (BlackDest) {
            std::fill_n(d, n, kOpaque);
        } else {
            for (int i = 0; i < n; ++i)
                d[i] = (d[i] & s[i]) | kOpaque;
        }
    } else if constexpr (Op == kCombineOr || (BlackDest && Op == kCombineXor)) {
        if constexpr (BlackDest) {
            for (int i = 0; i < n; ++i)
                d[i] = s[i] | kOpaque;
        } else {
            for (int i = 0; i < n; ++i)
                d[i] = d[i] | s[i] | kOpaque;
        }
    } else if constexpr (Op == kCombineXor) {
        for (int i = 0; i < n; ++i)
            d[i] = (d[i] ^ s[i]) | kOpaque;
    } else {  // addition, per channel, saturating
        if constexpr (BlackDest) {
            for (int i = 0; i < n; ++i)
                d[i] = s[i] | kOpaque;
        } else {
            for (int i = 0; i < n; ++i)
                d[i] = saturatingAdd(d[i], s[i]) | kOpaque;
        }
    }
}

#define FACIORA_COMBINE_KERNEL(name, op, black)                                              \
    __attribute__((target_clones("avx2", "default"))) void name(                           \
        uint32_t* __restrict d, const uint32_t* __restrict s, int n)                      \
    {                                                                                     \
        combineRow<op, black>(d, s, n);                                                   \
    }
FACIORA_COMBINE_KERNEL(andRow, kCombineAnd, false)
FACIORA_COMBINE_KERNEL(andBlackRow, kCombineAnd, true)
FACIORA_COMBINE_KERNEL(orRow, kCombineOr, false)
FACIORA_COMBINE_KERNEL(orBlackRow, kCombineOr, true)
FACIORA_COMBINE_KERNEL(xorRow, kCombineXor, false)
FACIORA_COMBINE_KERNEL(xorBlackRow, kCombineXor, true)
FACIORA_COMBINE_KERNEL(addRow, kCombineAdd, false)
FACIORA_COMBINE_KERNEL(addBlackRow, kCombineAdd, true)
#undef FACIORA_COMBINE_KERNEL

using RowFn = void (*)(uint32_t*, const uint32_t*, int);

RowFn kernelFor(int code)
{
    switch (code) {
    case 0: return andRow;
    case 32: return andBlackRow;
    case 256: return orRow;
    case 288: return orBlackRow;
    case 512: return xorRow;
    case 544: return xorBlackRow;
    case 768: return addRow;
    case 800: return addBlackRow;
    default: return nullptr;
    }
}

}  // namespace

void Raster::combine(int dstLeft, int dstTop, int width, int height, const Raster& src,
                     int srcLeft, int srcTop, int code)
{
    const RowFn kernel = kernelFor(code);
    if (!kernel)
        throw ImagingError(kErrBadParam);
    if (isNull() || src.isNull())
        throw ImagingError(kErrBadHandle);
    if (&src == this) {
        const Raster copy = src;  // reads must see the picture as it was
        combine(dstLeft, dstTop, width, height, copy, srcLeft, srcTop, code);
        return;
    }

    // Clip the box so that it lies inside both pictures; 64-bit arithmetic keeps
    // extreme arguments from overflowing.
    qint64 dx = dstLeft, dy = dstTop, sx = srcLeft, sy = srcTop, w = width, h = height;
    if (sx < 0) { dx -= sx; w += sx; sx = 0; }
    if (sy < 0) { dy -= sy; h += sy; sy = 0; }
    if (dx < 0) { sx -= dx; w += dx; dx = 0; }
    if (dy < 0) { sy -= dy; h += dy; dy = 0; }
    w = std::min({w, qint64(this->width()) - dx, qint64(src.width()) - sx});
    h = std::min({h, qint64(this->height()) - dy, qint64(src.height()) - sy});
    if (w <= 0 || h <= 0)
        return;

    const QRect box{int(dx), int(dy), int(w), int(h)};
    const int offX = int(sx - dx);
    const int offY = int(sy - dy);
    // Row addresses computed once: QImage's scanLine checks sharing on every call, which
    // costs more than the row itself for small boxes.
    uint32_t* const dstBase = scanLine(0);
    const qptrdiff dstStride = image_.bytesPerLine() / 4;
    const uint32_t* const srcBase = src.constScanLine(0);
    const qptrdiff srcStride = src.image_.bytesPerLine() / 4;
    auto run = [&](const QRect& r) {
        uint32_t* d = dstBase + qptrdiff(r.top()) * dstStride + r.left();
        const uint32_t* s = srcBase + qptrdiff(r.top() + offY) * srcStride + r.left() + offX;
        for (int y = r.top(); y <= r.bottom(); ++y, d += dstStride, s += srcStride)
            kernel(d, s, r.width());
    };
    if (!hasRegion()) {
        run(box);
        return;
    }
    for (const QRect& r : region_.spans().intersected(box))
        run(r);
}

void Raster::underlay(const Raster& pattern, int mode)
{
    if (isNull() || pattern.isNull())
        throw ImagingError(kErrBadHandle);
    if (mode != 0 && mode != 1)
        throw ImagingError(kErrBadParam);
    // The pattern goes under the picture: its colours show through where the picture is
    // white, and darker picture pixels darken it (a multiply, as paper under ink).
    Raster under;
    if (mode == 1) {
        under = pattern;
        under.freeRegion();
        under.size(this->width(), this->height(), 1);
    }
    const QRect area = hasRegion() ? region_.bounds().intersected(rect()) : rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        uint32_t* d = scanLine(y);
        const uint32_t* p = mode == 1 ? under.constScanLine(y)
                                      : pattern.constScanLine(y % pattern.height());
        for (int x = area.left(); x <= area.right(); ++x) {
            if (hasRegion() && !region_.contains(x, y))
                continue;
            const uint32_t a = d[x];
            const uint32_t b = mode == 1 ? p[x] : p[x % pattern.width()];
            const uint32_t r = (qRed(a) * qRed(b) + 127) / 255;
            const uint32_t g = (qGreen(a) * qGreen(b) + 127) / 255;
            const uint32_t bl = (qBlue(a) * qBlue(b) + 127) / 255;
            d[x] = qRgb(int(r), int(g), int(bl));
        }
    }
}

}  // namespace imaging
