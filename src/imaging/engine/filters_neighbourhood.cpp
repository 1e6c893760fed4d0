// Filters that look at a window around each pixel. Each computes its result for the work
// area into a new image, reading the unchanged picture, and copies it back inside the region.
#include "imaging/engine/filterkit.h"
#include "imaging/engine/filters.h"

#include <atomic>
#include <cstring>

namespace imaging {

using namespace kit;

namespace {

// floor(num / den + 1/2) for any sign of num; den > 0.
inline int divRound(qint64 num, qint64 den)
{
    const qint64 twice = 2 * num + den;
    const qint64 d = 2 * den;
    return int(twice >= 0 ? twice / d : -((-twice + d - 1) / d));
}

// A row of a result image the filter owns alone; constBits does not detach, so worker
// threads may share the image.
uint32_t* resultRow(QImage& image, int y)
{
    return reinterpret_cast<uint32_t*>(const_cast<uchar*>(image.constBits()) + qptrdiff(y) * image.bytesPerLine());
}

// Runs band(y0, y1) over the area's rows on the workers; a band that runs out of memory
// makes the whole filter fail with 20001 instead of ending the program.
void runBands(const QRect& area, const std::function<void(int, int)>& band)
{
    std::atomic<bool> failed{false};
    parallelRows(area.top(), area.bottom() + 1, area.width(), [&](int y0, int y1) {
        try {
            band(y0, y1);
        } catch (...) {
            failed = true;
        }
    });
    if (failed)
        throw ImagingError(kErrNoMemory);
}

// --- Median: constant-time sliding histograms (one per column, one for the window).

constexpr int kBins = 256;
constexpr int kCoarse = 16;
constexpr int kChannelBins = kBins + kCoarse;  // fine bins, then coarse bins
constexpr int kHistWords = 3 * kChannelBins;

__attribute__((target_clones("avx2", "default")))
void slideHistogram(uint16_t* __restrict k, const uint16_t* __restrict in, const uint16_t* __restrict out)
{
    for (int i = 0; i < kHistWords; ++i)
        k[i] = uint16_t(k[i] + in[i] - out[i]);
}

__attribute__((target_clones("avx2", "default")))
void addHistogram(uint16_t* __restrict k, const uint16_t* __restrict in)
{
    for (int i = 0; i < kHistWords; ++i)
        k[i] = uint16_t(k[i] + in[i]);
}

inline void countPixel(uint16_t* h, uint32_t c, int delta)
{
    const int v[3] = {red(c), green(c), blue(c)};
    for (int ch = 0; ch < 3; ++ch) {
        uint16_t* fine = h + ch * kChannelBins;
        fine[v[ch]] = uint16_t(fine[v[ch]] + delta);
        fine[kBins + (v[ch] >> 4)] = uint16_t(fine[kBins + (v[ch] >> 4)] + delta);
    }
}

// The value of the given rank (0-based) in one channel's histogram.
inline int rankValue(const uint16_t* h, int rank)
{
    int acc = 0;
    int j = 0;
    while (acc + h[kBins + j] <= rank)
        acc += h[kBins + j++];
    int i = j * 16;
    while (acc + h[i] <= rank)
        acc += h[i++];
    return i;
}

void medianArea(const ConstRows& src, const QRect& area, int size, QImage& result)
{
    const int lo = (size - 1) / 2, hi = size / 2;
    const int rank = (size * size - 1) / 2;
    const int W = src.width, H = src.height;
    const int cx0 = std::max(0, area.left() - lo);
    const int cx1 = std::min(W - 1, area.right() + hi);
    const int columns = cx1 - cx0 + 1;
    runBands(area, [&](int y0, int y1) {
        std::vector<uint16_t> cols(size_t(columns) * kHistWords, 0);
        std::vector<uint16_t> window(kHistWords);
        auto column = [&](int x) { return cols.data() + size_t(clampTo(x, 0, W - 1) - cx0) * kHistWords; };
        for (int dy = -lo; dy <= hi; ++dy) {
            const uint32_t* row = src.row(clampTo(y0 + dy, 0, H - 1));
            for (int x = cx0; x <= cx1; ++x)
                countPixel(column(x), row[x], 1);
        }
        for (int y = y0; y < y1; ++y) {
            if (y > y0) {
                const uint32_t* gone = src.row(clampTo(y - 1 - lo, 0, H - 1));
                const uint32_t* come = src.row(clampTo(y + hi, 0, H - 1));
                if (gone != come) {
                    for (int x = cx0; x <= cx1; ++x) {
                        uint16_t* h = column(x);
                        countPixel(h, gone[x], -1);
                        countPixel(h, come[x], 1);
                    }
                }
            }
            std::fill(window.begin(), window.end(), uint16_t(0));
            for (int dx = -lo; dx <= hi; ++dx)
                addHistogram(window.data(), column(area.left() + dx));
            uint32_t* out = resultRow(result, y - area.top());
            for (int x = area.left(); x <= area.right(); ++x) {
                const uint16_t* k = window.data();
                out[x - area.left()] = rgb(rankValue(k, rank), rankValue(k + kChannelBins, rank),
                                           rankValue(k + 2 * kChannelBins, rank));
                if (x < area.right())
                    slideHistogram(window.data(), column(x + 1 + hi), column(x - lo));
            }
        }
    });
}

// --- Average: running sums, first along each row, then down the columns.

void rowSums(const uint32_t* row, int width, const QRect& area, int lo, int hi, uint32_t* sums)
{
    uint32_t r = 0, g = 0, b = 0;
    for (int dx = -lo; dx <= hi; ++dx) {
        const uint32_t c = row[clampTo(area.left() + dx, 0, width - 1)];
        r += (c >> 16) & 0xff;
        g += (c >> 8) & 0xff;
        b += c & 0xff;
    }
    const int n = area.width();
    for (int i = 0;; ++i) {
        sums[3 * i] = r;
        sums[3 * i + 1] = g;
        sums[3 * i + 2] = b;
        if (i + 1 == n)
            break;
        const int x = area.left() + i;
        const uint32_t in = row[clampTo(x + 1 + hi, 0, width - 1)];
        const uint32_t out = row[clampTo(x - lo, 0, width - 1)];
        r += ((in >> 16) & 0xff) - ((out >> 16) & 0xff);
        g += ((in >> 8) & 0xff) - ((out >> 8) & 0xff);
        b += (in & 0xff) - (out & 0xff);
    }
}

__attribute__((target_clones("avx2", "default")))
void slideSums(uint32_t* __restrict acc, const uint32_t* __restrict in, const uint32_t* __restrict out, int n)
{
    for (int i = 0; i < n; ++i)
        acc[i] += in[i] - out[i];
}

void averageArea(const ConstRows& src, const QRect& area, int size, QImage& result)
{
    const int lo = (size - 1) / 2, hi = size / 2;
    const uint64_t count = uint64_t(size) * size;
    // (sum + count / 2) / count as a multiply and shift; exact for every sum a window holds.
    const uint64_t reciprocal = ((uint64_t(1) << 40) + count - 1) / count;
    const int n = area.width();
    runBands(area, [&](int y0, int y1) {
        std::vector<uint32_t> acc(size_t(n) * 3, 0), in(size_t(n) * 3), out(size_t(n) * 3);
        for (int dy = -lo; dy <= hi; ++dy) {
            rowSums(src.row(clampTo(y0 + dy, 0, src.height - 1)), src.width, area, lo, hi, in.data());
            for (size_t i = 0; i < acc.size(); ++i)
                acc[i] += in[i];
        }
        for (int y = y0; y < y1; ++y) {
            if (y > y0) {
                const int gone = clampTo(y - 1 - lo, 0, src.height - 1);
                const int come = clampTo(y + hi, 0, src.height - 1);
                if (gone != come) {
                    rowSums(src.row(come), src.width, area, lo, hi, in.data());
                    rowSums(src.row(gone), src.width, area, lo, hi, out.data());
                    slideSums(acc.data(), in.data(), out.data(), n * 3);
                }
            }
            uint32_t* line = resultRow(result, y - area.top());
            for (int i = 0; i < n; ++i) {
                const uint32_t r = uint32_t(((acc[3 * i] + count / 2) * reciprocal) >> 40);
                const uint32_t g = uint32_t(((acc[3 * i + 1] + count / 2) * reciprocal) >> 40);
                const uint32_t b = uint32_t(((acc[3 * i + 2] + count / 2) * reciprocal) >> 40);
                line[i] = kOpaque | r << 16 | g << 8 | b;
            }
        }
    });
}

// --- 3 x 3 kernels

struct Kernel3 {
    int w[9];     // row by row, top-left first
    int divisor;  // > 0
    int bias;     // added after dividing
};

void convolveArea(const ConstRows& src, const QRect& area, const Kernel3& k, QImage& result)
{
    const int W = src.width, H = src.height;
    runBands(area, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            const uint32_t* rows[3] = {src.row(clampTo(y - 1, 0, H - 1)), src.row(y),
                                       src.row(clampTo(y + 1, 0, H - 1))};
            uint32_t* out = resultRow(result, y - area.top());
            for (int x = area.left(); x <= area.right(); ++x) {
                const int xs[3] = {std::max(x - 1, 0), x, std::min(x + 1, W - 1)};
                qint64 r = 0, g = 0, b = 0;
                for (int j = 0; j < 3; ++j)
                    for (int i = 0; i < 3; ++i) {
                        const uint32_t c = rows[j][xs[i]];
                        const int w = k.w[j * 3 + i];
                        r += w * red(c);
                        g += w * green(c);
                        b += w * blue(c);
                    }
                out[x - area.left()] = rgb(clamp255(divRound(r, k.divisor) + k.bias),
                                           clamp255(divRound(g, k.divisor) + k.bias),
                                           clamp255(divRound(b, k.divisor) + k.bias));
            }
        }
    });
}

// The fixed filters: 0..7 compass gradients (light from N, NE, E, SE, S, SW, W, NW),
// 8/9 Sobel horizontal/vertical edges, 10/11 Prewitt horizontal/vertical, 12 Laplace with
// four neighbours, 13 with eight, 14 diagonal Laplace, 15 horizontal line detector, and 16
// the edge detector for edge emphasis (eight neighbours, a dark picture with bright edges).
const Kernel3 kSpatialFilters[] = {
    {{1, 1, 1, 1, -2, 1, -1, -1, -1}, 1, 0},
    {{1, 1, 1, -1, -2, 1, -1, -1, 1}, 1, 0},
    {{-1, 1, 1, -1, -2, 1, -1, 1, 1}, 1, 0},
    {{-1, -1, 1, -1, -2, 1, 1, 1, 1}, 1, 0},
    {{-1, -1, -1, 1, -2, 1, 1, 1, 1}, 1, 0},
    {{1, -1, -1, 1, -2, -1, 1, 1, 1}, 1, 0},
    {{1, 1, -1, 1, -2, -1, 1, 1, -1}, 1, 0},
    {{1, 1, 1, 1, -2, -1, 1, -1, -1}, 1, 0},
    {{-1, -2, -1, 0, 0, 0, 1, 2, 1}, 1, 0},
    {{-1, 0, 1, -2, 0, 2, -1, 0, 1}, 1, 0},
    {{-1, -1, -1, 0, 0, 0, 1, 1, 1}, 1, 0},
    {{-1, 0, 1, -1, 0, 1, -1, 0, 1}, 1, 0},
    {{0, -1, 0, -1, 4, -1, 0, -1, 0}, 1, 0},
    {{-1, -1, -1, -1, 8, -1, -1, -1, -1}, 1, 0},
    {{-1, 0, -1, 0, 4, 0, -1, 0, -1}, 1, 0},
    {{-1, -1, -1, 2, 2, 2, -1, -1, -1}, 1, 0},
    {{-1, -1, -1, -1, 8, -1, -1, -1, -1}, 2, 0},
};

// Light directions of emboss: up, up-left, left, down-left, down, down-right, right, up-right.
constexpr int kEmbossDx[8] = {0, -1, -1, -1, 0, 1, 1, 1};
constexpr int kEmbossDy[8] = {-1, -1, 0, 1, 1, 1, 0, -1};

void embossArea(const ConstRows& src, const QRect& area, int direction, int depth, QImage& result)
{
    const int dx = kEmbossDx[direction], dy = kEmbossDy[direction];
    const int W = src.width, H = src.height;
    runBands(area, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            const uint32_t* lit = src.row(clampTo(y + dy, 0, H - 1));
            const uint32_t* shade = src.row(clampTo(y - dy, 0, H - 1));
            uint32_t* out = resultRow(result, y - area.top());
            for (int x = area.left(); x <= area.right(); ++x) {
                const int diff = luma(shade[clampTo(x - dx, 0, W - 1)]) - luma(lit[clampTo(x + dx, 0, W - 1)]);
                const int v = clamp255(128 + divRound(qint64(diff) * depth, 250));
                out[x - area.left()] = rgb(v, v, v);
            }
        }
    });
}

template <typename F>
void filterArea(Raster& picture, F compute)
{
    const QRect area = workArea(picture);
    if (area.isEmpty())
        return;
    QImage result = newImage(area.width(), area.height());
    compute(ConstRows(picture), area, result);
    writeBack(picture, area, result);
    if (!picture.hasRegion() && picture.bits() <= 8)
        picture.setBits(24);  // new colours leave the palette behind
}

}  // namespace

void median(Raster& picture, int size)
{
    requirePicture(picture);
    requireRange(size, 1, 255);
    if (size == 1)
        return;
    filterArea(picture, [size](const ConstRows& src, const QRect& area, QImage& result) {
        medianArea(src, area, size, result);
    });
}

void average(Raster& picture, int size)
{
    requirePicture(picture);
    requireRange(size, 1, 255);
    if (size == 1)
        return;
    filterArea(picture, [size](const ConstRows& src, const QRect& area, QImage& result) {
        averageArea(src, area, size, result);
    });
}

void sharpen(Raster& picture, int strength)
{
    requirePicture(picture);
    requireRange(strength, -1000, 1000);
    if (strength == 0)
        return;
    // c + kk (9c - S) / 9000 as one kernel: centre 9000 + 8 kk, neighbours -kk.
    const int kk = strength < 0 ? strength : 2 * strength;
    Kernel3 k{{-kk, -kk, -kk, -kk, 9000 + 8 * kk, -kk, -kk, -kk, -kk}, 9000, 0};
    filterArea(picture, [&k](const ConstRows& src, const QRect& area, QImage& result) {
        convolveArea(src, area, k, result);
    });
}

void emboss(Raster& picture, int direction, int depth)
{
    requirePicture(picture);
    requireRange(direction, 0, 7);
    requireRange(depth, 0, 1000);
    filterArea(picture, [=](const ConstRows& src, const QRect& area, QImage& result) {
        embossArea(src, area, direction, depth, result);
    });
}

void spatialFilter(Raster& picture, int filter)
{
    requirePicture(picture);
    requireRange(filter, 0, int(std::size(kSpatialFilters)) - 1);
    filterArea(picture, [filter](const ConstRows& src, const QRect& area, QImage& result) {
        convolveArea(src, area, kSpatialFilters[filter], result);
    });
}

void mosaic(Raster& picture, int size)
{
    requirePicture(picture);
    requireRange(size, 1, kMaxSide);
    if (size == 1)
        return;
    const QRect area = workArea(picture);
    if (area.isEmpty())
        return;
    const ConstRows src(picture);
    QImage result = newImage(area.width(), area.height());
    const int tileRows = (area.height() + size - 1) / size;
    const int tileCols = (area.width() + size - 1) / size;
    parallelRows(0, tileRows, qint64(area.width()) * size, [&](int t0, int t1) {
        for (int t = t0; t < t1; ++t) {
            const int y0 = area.top() + t * size;
            const int y1 = std::min(y0 + size, area.bottom() + 1);
            for (int u = 0; u < tileCols; ++u) {
                const int x0 = area.left() + u * size;
                const int x1 = std::min(x0 + size, area.right() + 1);
                qint64 r = 0, g = 0, b = 0;
                for (int y = y0; y < y1; ++y)
                    for (int x = x0; x < x1; ++x) {
                        const uint32_t c = src.row(y)[x];
                        r += red(c);
                        g += green(c);
                        b += blue(c);
                    }
                const qint64 n = qint64(y1 - y0) * (x1 - x0);
                const uint32_t c = rgb(divRound(r, n), divRound(g, n), divRound(b, n));
                for (int y = y0; y < y1; ++y)
                    std::fill(resultRow(result, y - area.top()) + (x0 - area.left()),
                              resultRow(result, y - area.top()) + (x1 - area.left()), c);
            }
        }
    });
    writeBack(picture, area, result);
    if (!picture.hasRegion() && picture.bits() <= 8)
        picture.setBits(24);
}

}  // namespace imaging
