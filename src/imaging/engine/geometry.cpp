#include "imaging/engine/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <utility>
#include <vector>

namespace imaging {

namespace {

constexpr uint32_t kOpaque = 0xff000000u;

// A blank RGB32 picture for a result; sizes are checked before anything is allocated.
QImage newImage(qint64 width, qint64 height)
{
    if (checkSize(width, height) != kOk)
        throw ImagingError(kErrBadSize);
    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        throw ImagingError(kErrNoMemory);
    return image;
}

// Raw access without QImage's per-call checks.
struct Pixels {
    explicit Pixels(const QImage& image)
        : base(reinterpret_cast<const uint32_t*>(image.constBits())),
          stride(image.bytesPerLine() / 4), width(image.width()), height(image.height())
    {
    }
    const uint32_t* row(int y) const { return base + qptrdiff(y) * stride; }
    const uint32_t* base;
    qptrdiff stride;
    int width;
    int height;
};

uint32_t* rowOf(QImage& image, int y)
{
    return reinterpret_cast<uint32_t*>(image.scanLine(y));
}

// --- Quarter turns: plain transposes, done in tiles so that both sides stay in cache.

constexpr int kTile = 32;

// dst(x, y) = src(W - 1 - y, x): a quarter turn counter-clockwise. dst is H x W.
void turnLeft(const Pixels& s, QImage& dst)
{
    const int dw = dst.width(), dh = dst.height();
    uint32_t* dbase = rowOf(dst, 0);
    const qptrdiff dstride = dst.bytesPerLine() / 4;
    for (int ty = 0; ty < dh; ty += kTile) {
        const int ey = std::min(ty + kTile, dh);
        for (int tx = 0; tx < dw; tx += kTile) {
            const int ex = std::min(tx + kTile, dw);
            for (int y = ty; y < ey; ++y) {
                uint32_t* d = dbase + qptrdiff(y) * dstride;
                const uint32_t* col = s.base + (s.width - 1 - y);
                for (int x = tx; x < ex; ++x)
                    d[x] = col[qptrdiff(x) * s.stride];
            }
        }
    }
}

// dst(x, y) = src(y, H - 1 - x): a quarter turn clockwise. dst is H x W.
void turnRight(const Pixels& s, QImage& dst)
{
    const int dw = dst.width(), dh = dst.height();
    uint32_t* dbase = rowOf(dst, 0);
    const qptrdiff dstride = dst.bytesPerLine() / 4;
    for (int ty = 0; ty < dh; ty += kTile) {
        const int ey = std::min(ty + kTile, dh);
        for (int tx = 0; tx < dw; tx += kTile) {
            const int ex = std::min(tx + kTile, dw);
            for (int y = ty; y < ey; ++y) {
                uint32_t* d = dbase + qptrdiff(y) * dstride;
                const uint32_t* col = s.base + y;
                for (int x = tx; x < ex; ++x)
                    d[x] = col[qptrdiff(s.height - 1 - x) * s.stride];
            }
        }
    }
}

void halfTurn(const Pixels& s, QImage& dst)
{
    for (int y = 0; y < s.height; ++y) {
        const uint32_t* src = s.row(s.height - 1 - y);
        std::reverse_copy(src, src + s.width, rowOf(dst, y));
    }
}

// Copies `turned` into `dst` (the original size) with its top-left at (ox, oy), filling
// what it does not cover.
void placeAt(const QImage& turned, QImage& dst, int ox, int oy, uint32_t fill)
{
    dst.fill(fill);
    const Pixels t(turned);
    const int x0 = std::max(0, ox), x1 = std::min(dst.width(), ox + t.width);
    const int y0 = std::max(0, oy), y1 = std::min(dst.height(), oy + t.height);
    for (int y = y0; y < y1; ++y)
        std::memcpy(rowOf(dst, y) + x0, t.row(y - oy) + (x0 - ox), size_t(x1 - x0) * 4);
}

int floorHalf(int v)
{
    return v >= 0 ? v / 2 : -((1 - v) / 2);
}

// --- Resampling.

// Box weights have 14 bits, enough for hundreds of taps; bilinear pairs have 8, so that
// their blends run in 16-bit lanes (the position is still exact to 1/256 pixel).
constexpr int kWeightBits = 14;
constexpr int kOne = 1 << kWeightBits;
constexpr int32_t kHalf = kOne / 2;
constexpr int kPairBits = 8;
constexpr int kPairOne = 1 << kPairBits;

// For each output index, the source indices it reads and their weights (summing to kOne,
// or to kPairOne for pairs).
struct Taps {
    std::vector<int> start;
    std::vector<int> count;
    std::vector<int> offset;
    std::vector<int32_t> weight;
    bool pairs = true;  // every output reads at most `start` and `start + 1`
};

// Pixel-centre mapping: output pixel i covers source [i * n / m, (i + 1) * n / m).
// Up to 2x shrinking is bilinear; beyond that each output averages the source pixels it
// covers (a box filter), so that strong reduction does not alias.
Taps makeTaps(int n, int m)
{
    Taps t;
    t.start.resize(size_t(m));
    t.count.resize(size_t(m));
    t.offset.resize(size_t(m));
    const double scale = double(n) / m;
    t.pairs = scale <= 2;
    t.weight.reserve(size_t(m) * (t.pairs ? 2 : size_t(std::ceil(scale)) + 1));
    for (int i = 0; i < m; ++i) {
        t.offset[size_t(i)] = int(t.weight.size());
        if (t.pairs) {
            const double c = (i + 0.5) * scale - 0.5;
            int i0 = int(std::floor(c));
            int w1 = int(std::lround((c - i0) * kPairOne));
            if (i0 < 0) {
                i0 = 0;
                w1 = 0;
            } else if (i0 >= n - 1) {
                i0 = n - 1;
                w1 = 0;
            }
            if (w1 == kPairOne) {
                ++i0;
                w1 = 0;
            }
            t.start[size_t(i)] = i0;
            t.weight.push_back(kPairOne - w1);
            if (w1 != 0)
                t.weight.push_back(w1);
        } else {
            const double b = i * scale, e = (i + 1) * scale;
            const int j0 = int(std::floor(b));
            const int j1 = std::min(n, int(std::ceil(e)));
            int sum = 0;
            int best = -1;
            size_t largest = t.weight.size();
            for (int j = j0; j < j1; ++j) {
                const double cover = std::min<double>(j + 1, e) - std::max<double>(j, b);
                const int w = int(std::lround(cover / scale * kOne));
                if (w > best) {
                    best = w;
                    largest = t.weight.size();
                }
                t.weight.push_back(w);
                sum += w;
            }
            t.weight[largest] += kOne - sum;  // an exact sum keeps flat areas exactly flat
            t.start[size_t(i)] = j0;
        }
        t.count[size_t(i)] = int(t.weight.size()) - t.offset[size_t(i)];
    }
    return t;
}

// The blends work byte by byte over whole rows so that the compiler vectorises them in
// 16-bit lanes (255 * 256 + 128 fits); the alpha byte stays 0xff because the weights sum
// to one.

// out = a * (1 - w) + b * w, with a weight per byte.
void blendBytes(const uint8_t* __restrict a, const uint8_t* __restrict b,
                const uint16_t* __restrict w, uint8_t* __restrict out, int n)
{
    for (int k = 0; k < n; ++k) {
        const uint16_t v = uint16_t(a[k] * uint16_t(kPairOne - w[k]) + b[k] * w[k] + kPairOne / 2);
        out[k] = uint8_t(v >> kPairBits);
    }
}

// out = a * wa + b * wb, one pair of weights for the whole row.
void blendRows(const uint8_t* __restrict a, const uint8_t* __restrict b, uint16_t wa,
               uint16_t wb, uint8_t* __restrict out, int n)
{
    for (int k = 0; k < n; ++k) {
        const uint16_t v = uint16_t(a[k] * wa + b[k] * wb + kPairOne / 2);
        out[k] = uint8_t(v >> kPairBits);
    }
}

// Resamples each row of `src` to dst's width.
void resampleRows(const Pixels& s, QImage& dst, const Taps& t)
{
    const int m = dst.width();
    if (t.pairs) {
        // Gather both neighbours of every output pixel, then blend the gathered rows byte
        // by byte, which vectorises; per pixel this is far cheaper than unpacking channels.
        std::vector<int> first(static_cast<size_t>(m)), second(static_cast<size_t>(m));
        std::vector<uint16_t> weight(size_t(m) * 4);
        for (int i = 0; i < m; ++i) {
            const bool two = t.count[size_t(i)] == 2;
            first[size_t(i)] = t.start[size_t(i)];
            second[size_t(i)] = t.start[size_t(i)] + (two ? 1 : 0);
            const uint16_t w = two ? uint16_t(t.weight[size_t(t.offset[size_t(i)]) + 1]) : 0;
            std::fill_n(weight.begin() + qptrdiff(i) * 4, 4, w);
        }
        std::vector<uint32_t> a(static_cast<size_t>(m)), b(static_cast<size_t>(m));
        for (int y = 0; y < s.height; ++y) {
            const uint32_t* src = s.row(y);
            for (int i = 0; i < m; ++i) {
                a[size_t(i)] = src[first[size_t(i)]];
                b[size_t(i)] = src[second[size_t(i)]];
            }
            blendBytes(reinterpret_cast<const uint8_t*>(a.data()),
                       reinterpret_cast<const uint8_t*>(b.data()), weight.data(),
                       reinterpret_cast<uint8_t*>(rowOf(dst, y)), m * 4);
        }
        return;
    }
    for (int y = 0; y < s.height; ++y) {
        const uint32_t* src = s.row(y);
        uint32_t* d = rowOf(dst, y);
        for (int i = 0; i < m; ++i) {
            const uint32_t* p = src + t.start[size_t(i)];
            const int32_t* w = t.weight.data() + t.offset[size_t(i)];
            const int n = t.count[size_t(i)];
            int32_t r = kHalf, g = kHalf, b = kHalf;
            for (int k = 0; k < n; ++k) {
                const uint32_t c = p[k];
                r += w[k] * int32_t((c >> 16) & 0xff);
                g += w[k] * int32_t((c >> 8) & 0xff);
                b += w[k] * int32_t(c & 0xff);
            }
            d[i] = kOpaque | uint32_t(r >> kWeightBits) << 16 | uint32_t(g >> kWeightBits) << 8
                   | uint32_t(b >> kWeightBits);
        }
    }
}

// Resamples the columns of `src` to dst's height.
void resampleColumns(const Pixels& s, QImage& dst, const Taps& t)
{
    const int bytes = s.width * 4;
    std::vector<int32_t> acc(t.pairs ? 0 : size_t(bytes));
    for (int j = 0; j < dst.height(); ++j) {
        uint8_t* d = reinterpret_cast<uint8_t*>(rowOf(dst, j));
        const int n = t.count[size_t(j)];
        const int32_t* wt = t.weight.data() + t.offset[size_t(j)];
        const int first = t.start[size_t(j)];
        auto row = [&](int k) { return reinterpret_cast<const uint8_t*>(s.row(first + k)); };
        if (n == 1) {
            std::memcpy(d, row(0), size_t(bytes));
        } else if (n == 2) {
            blendRows(row(0), row(1), uint16_t(wt[0]), uint16_t(wt[1]), d, bytes);
        } else {
            std::fill(acc.begin(), acc.end(), kHalf);
            for (int k = 0; k < n; ++k) {
                const uint8_t* src = row(k);
                const int32_t wk = wt[k];
                for (int x = 0; x < bytes; ++x)
                    acc[size_t(x)] += wk * int32_t(src[x]);
            }
            for (int x = 0; x < bytes; ++x)
                d[x] = uint8_t(acc[size_t(x)] >> kWeightBits);
        }
    }
}

QImage resampleSmooth(const QImage& src, int width, int height)
{
    const int w0 = src.width(), h0 = src.height();
    if (w0 == width && h0 == height)
        return src;
    const bool rows = w0 != width, columns = h0 != height;
    if (!rows || !columns) {
        QImage out = newImage(width, height);
        if (rows)
            resampleRows(Pixels(src), out, makeTaps(w0, width));
        else
            resampleColumns(Pixels(src), out, makeTaps(h0, height));
        return out;
    }
    // Two passes; the order that touches fewer intermediate pixels goes first.
    const Taps tx = makeTaps(w0, width);
    const Taps ty = makeTaps(h0, height);
    QImage out = newImage(width, height);
    if (qint64(h0) * width <= qint64(w0) * height) {
        QImage mid = newImage(width, h0);
        resampleRows(Pixels(src), mid, tx);
        resampleColumns(Pixels(mid), out, ty);
    } else {
        QImage mid = newImage(w0, height);
        resampleColumns(Pixels(src), mid, ty);
        resampleRows(Pixels(mid), out, tx);
    }
    return out;
}

QImage resampleNearest(const QImage& src, int width, int height)
{
    const Pixels s(src);
    // Pixel-centre mapping: an integer enlargement repeats every source pixel exactly.
    std::vector<int> xs(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x)
        xs[size_t(x)] = int((2 * qint64(x) + 1) * s.width / (2 * qint64(width)));
    QImage out = newImage(width, height);
    int previous = -1;
    for (int y = 0; y < height; ++y) {
        const int sy = int((2 * qint64(y) + 1) * s.height / (2 * qint64(height)));
        uint32_t* d = rowOf(out, y);
        if (sy == previous) {
            std::memcpy(d, rowOf(out, y - 1), size_t(width) * 4);
            continue;
        }
        const uint32_t* r = s.row(sy);
        for (int x = 0; x < width; ++x)
            d[x] = r[xs[size_t(x)]];
        previous = sy;
    }
    return out;
}

// Every pixel becomes the nearer of the two colours, so that a 1-bit mask stays a mask.
void snapToTwo(QImage& image, QRgb a, QRgb b)
{
    auto distance = [](uint32_t c, QRgb p) {
        const int dr = int((c >> 16) & 0xff) - qRed(p);
        const int dg = int((c >> 8) & 0xff) - qGreen(p);
        const int db = int(c & 0xff) - qBlue(p);
        return dr * dr + dg * dg + db * db;
    };
    const uint32_t ca = a | kOpaque, cb = b | kOpaque;
    for (int y = 0; y < image.height(); ++y) {
        uint32_t* d = rowOf(image, y);
        for (int x = 0; x < image.width(); ++x)
            d[x] = distance(d[x], a) <= distance(d[x], b) ? ca : cb;
    }
}

// Rounds half away from zero, ignoring the last bits of noise of tan() and friends.
int roundShift(double v)
{
    constexpr double kNoise = 1e-7;
    return v >= 0 ? int(std::floor(v + 0.5 + kNoise)) : -int(std::floor(-v + 0.5 + kNoise));
}

}  // namespace

void Raster::flip()
{
    if (isNull())
        throw ImagingError(kErrBadHandle);
    const int h = height();
    const size_t bytes = size_t(width()) * 4;
    std::vector<uint32_t> tmp(static_cast<size_t>(width()));
    for (int y = 0; y < h / 2; ++y) {
        uint32_t* a = scanLine(y);
        uint32_t* b = scanLine(h - 1 - y);
        std::memcpy(tmp.data(), a, bytes);
        std::memcpy(a, b, bytes);
        std::memcpy(b, tmp.data(), bytes);
    }
    region_ = Region();
}

void Raster::reverse()
{
    if (isNull())
        throw ImagingError(kErrBadHandle);
    for (int y = 0; y < height(); ++y) {
        uint32_t* line = scanLine(y);
        std::reverse(line, line + width());
    }
    region_ = Region();
}

void Raster::rotate(int angle, bool resize, QRgb fill)
{
    if (isNull())
        throw ImagingError(kErrBadHandle);
    const uint32_t fillPixel = fill | kOpaque;
    angle %= 36000;
    if (angle < 0)
        angle += 36000;
    if (angle == 0) {
        region_ = Region();
        return;
    }

    const Pixels s(image_);
    const int w = width(), h = height();
    if (angle % 9000 == 0) {
        // Quarter turns move pixels without resampling: nothing is lost or blended.
        const bool quarter = angle != 18000;
        QImage turned = quarter ? newImage(h, w) : newImage(w, h);
        if (angle == 9000)
            turnLeft(s, turned);
        else if (angle == 27000)
            turnRight(s, turned);
        else
            halfTurn(s, turned);
        if (resize || !quarter || w == h) {
            image_ = std::move(turned);
        } else {
            // Centred; when the sides differ by an odd number the half pixel goes the way
            // the nearest-pixel mapping of the other angles puts it.
            const int k = angle == 9000 ? floorHalf(h - w + 1) : -floorHalf(w - h + 1);
            QImage out = newImage(w, h);
            placeAt(turned, out, -k, k, fillPixel);
            image_ = std::move(out);
        }
        if (quarter)
            std::swap(xRes_, yRes_);
        region_ = Region();
        return;
    }

    // Nearest-pixel sampling on purpose: masks must stay exactly two-coloured and colour
    // pictures exactly black where they were black, because both are combined bitwise
    // (AND, XOR) afterwards; any blended edge pixel would leave a visible fringe.
    const double radians = angle * std::numbers::pi / 18000.0;
    const double c = std::cos(radians), sn = std::sin(radians);
    int dw = w, dh = h;
    if (resize) {
        dw = std::max(1, int(std::lround(std::abs(w * c) + std::abs(h * sn))));
        dh = std::max(1, int(std::lround(std::abs(w * sn) + std::abs(h * c))));
    }
    QImage out = newImage(dw, dh);

    // Inverse mapping of each destination pixel centre (u, v relative to the centre):
    // turning counter-clockwise on screen (y down), the source point is
    // (u cos - v sin, u sin + v cos). Stepped in 32.32 fixed point along each row.
    constexpr double kFix = 4294967296.0;
    const int64_t stepX = std::llround(c * kFix);
    const int64_t stepY = std::llround(sn * kFix);
    const double u0 = 0.5 - dw / 2.0;
    for (int y = 0; y < dh; ++y) {
        const double v = y + 0.5 - dh / 2.0;
        int64_t fx = std::llround((u0 * c - v * sn + w / 2.0) * kFix);
        int64_t fy = std::llround((u0 * sn + v * c + h / 2.0) * kFix);
        uint32_t* d = rowOf(out, y);
        for (int x = 0; x < dw; ++x) {
            const int64_t ix = fx >> 32, iy = fy >> 32;
            d[x] = (uint64_t(ix) < uint64_t(w) && uint64_t(iy) < uint64_t(h))
                       ? s.base[iy * s.stride + ix]
                       : fillPixel;
            fx += stepX;
            fy += stepY;
        }
    }
    image_ = std::move(out);
    region_ = Region();
}

void Raster::shear(int angle, bool horizontal, QRgb fill)
{
    if (angle < -4500 || angle > 4500)
        throw ImagingError(kErrBadParam);
    if (isNull())
        throw ImagingError(kErrBadHandle);
    if (angle == 0) {
        region_ = Region();
        return;
    }
    const uint32_t fillPixel = fill | kOpaque;
    const double slope = std::tan(angle * std::numbers::pi / 18000.0);
    const int w = width(), h = height();
    // x' = x + slope * (y - centre) for rows (likewise for columns). The picture grows to
    // hold the result, so only each line's shift relative to the first one matters; it is
    // rounded to whole pixels, which are moved, never blended, as for rotate.
    const int lines = horizontal ? h : w;
    std::vector<int> shift(static_cast<size_t>(lines));
    for (int i = 0; i < lines; ++i)
        shift[size_t(i)] = roundShift(slope * i);
    const int low = std::min(0, shift.back());
    const int grow = std::abs(shift.back());
    for (int& v : shift)
        v -= low;

    const Pixels s(image_);
    if (horizontal) {
        QImage out = newImage(qint64(w) + grow, h);
        for (int y = 0; y < h; ++y) {
            uint32_t* d = rowOf(out, y);
            const int at = shift[size_t(y)];
            std::fill_n(d, at, fillPixel);
            std::memcpy(d + at, s.row(y), size_t(w) * 4);
            std::fill_n(d + at + w, grow - at, fillPixel);
        }
        image_ = std::move(out);
        region_ = Region();
    } else {
        QImage out = newImage(w, qint64(h) + grow);
        const int dh = out.height();
        for (int y = 0; y < dh; ++y) {
            uint32_t* d = rowOf(out, y);
            for (int x = 0; x < w; ++x) {
                const unsigned sy = unsigned(y - shift[size_t(x)]);
                d[x] = sy < unsigned(h) ? s.row(int(sy))[x] : fillPixel;
            }
        }
        image_ = std::move(out);
        region_ = Region();
    }
}

void Raster::size(int width, int height, int flag)
{
    if (checkSize(width, height) != kOk)
        throw ImagingError(kErrBadSize);
    if (flag != 0 && flag != 1)
        throw ImagingError(kErrBadParam);
    if (isNull())
        throw ImagingError(kErrBadHandle);
    if (width != this->width() || height != this->height()) {
        QImage out = flag == 0 ? resampleNearest(image_, width, height)
                               : resampleSmooth(image_, width, height);
        if (flag == 1 && bits_ == 1) {
            const QVector<QRgb> two = palette_.size() >= 2 ? palette_ : defaultPalette(1);
            snapToTwo(out, two[0], two[1]);
        }
        image_ = std::move(out);
    }
    region_ = Region();
}

}  // namespace imaging
