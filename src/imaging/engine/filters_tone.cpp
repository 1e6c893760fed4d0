// Tone and colour filters: each is a table per channel or a short per-pixel formula.
#include "imaging/engine/filterkit.h"
#include "imaging/engine/filters.h"

#include <cmath>
#include <numbers>

namespace imaging {

using namespace kit;

namespace {

// The tables are filled from a formula on one channel value.
template <typename F>
ChannelLut lutFrom(F f)
{
    uint8_t table[256];
    for (int c = 0; c < 256; ++c)
        table[c] = uint8_t(clamp255(f(c)));
    ChannelLut lut;
    lut.setAll(table);
    return lut;
}

int roundHalfUp(double v) { return int(std::floor(v + 0.5)); }

// Contrast factor for a strength -1000..1000; infinite at 1000.
double contrastFactor(int strength)
{
    if (strength <= 0)
        return (1000.0 + strength) / 1000.0;
    if (strength >= 1000)
        return HUGE_VAL;
    return 1000.0 / (1000.0 - strength);
}

ChannelLut contrastLut(double pivot, int strength)
{
    const double f = contrastFactor(strength);
    return lutFrom([pivot, f](int c) {
        if (std::isinf(f))
            return c > pivot ? 255 : (c < pivot ? 0 : roundHalfUp(pivot));
        return roundHalfUp(pivot + (c - pivot) * f);
    });
}

// Whether a palette picture's palette follows its pixels: only when all of them changed.
template <typename F>
void mapPalette(Raster& picture, F f)
{
    if (picture.hasRegion() || picture.bits() > 8 || picture.palette().isEmpty())
        return;
    QVector<QRgb> palette = picture.palette();
    for (QRgb& entry : palette)
        entry = f(entry | kOpaque);
    picture.setPalette(palette);
}

void applyLutAndPalette(Raster& picture, const ChannelLut& lut)
{
    applyLut(picture, lut);
    mapPalette(picture, [&lut](uint32_t c) {
        return rgb(lut.r[red(c)], lut.g[green(c)], lut.b[blue(c)]);
    });
}

// Row kernels written for the vectoriser; the AVX2 clone is picked at load time.
__attribute__((target_clones("avx2", "default")))
void hueRow(uint32_t* p, int n, const int (&m)[3][3])
{
    for (int i = 0; i < n; ++i) {
        const int r = int((p[i] >> 16) & 0xff), g = int((p[i] >> 8) & 0xff), b = int(p[i] & 0xff);
        int nr = (m[0][0] * r + m[0][1] * g + m[0][2] * b + 32768) >> 16;
        int ng = (m[1][0] * r + m[1][1] * g + m[1][2] * b + 32768) >> 16;
        int nb = (m[2][0] * r + m[2][1] * g + m[2][2] * b + 32768) >> 16;
        nr = nr < 0 ? 0 : (nr > 255 ? 255 : nr);
        ng = ng < 0 ? 0 : (ng > 255 ? 255 : ng);
        nb = nb < 0 ? 0 : (nb > 255 ? 255 : nb);
        p[i] = 0xff000000u | uint32_t(nr) << 16 | uint32_t(ng) << 8 | uint32_t(nb);
    }
}

// Saturation in 8.8 fixed point: Y from 77/150/29 weights (sum 256).
__attribute__((target_clones("avx2", "default")))
void saturationRow(uint32_t* p, int n, int k256)
{
    for (int i = 0; i < n; ++i) {
        const int r = int((p[i] >> 16) & 0xff), g = int((p[i] >> 8) & 0xff), b = int(p[i] & 0xff);
        const int y = (77 * r + 150 * g + 29 * b + 128) >> 8;
        int nr = y + (((r - y) * k256 + 128) >> 8);
        int ng = y + (((g - y) * k256 + 128) >> 8);
        int nb = y + (((b - y) * k256 + 128) >> 8);
        nr = nr < 0 ? 0 : (nr > 255 ? 255 : nr);
        ng = ng < 0 ? 0 : (ng > 255 ? 255 : ng);
        nb = nb < 0 ? 0 : (nb > 255 ? 255 : nb);
        p[i] = 0xff000000u | uint32_t(nr) << 16 | uint32_t(ng) << 8 | uint32_t(nb);
    }
}

__attribute__((target_clones("avx2", "default")))
void invertRow(uint32_t* p, int n)
{
    for (int i = 0; i < n; ++i)
        p[i] = ~p[i] | 0xff000000u;
}

__attribute__((target_clones("avx2", "default")))
void greyRow(uint32_t* p, int n)
{
    for (int i = 0; i < n; ++i) {
        const uint32_t r = (p[i] >> 16) & 0xff, g = (p[i] >> 8) & 0xff, b = p[i] & 0xff;
        const uint32_t y = (77 * r + 150 * g + 29 * b + 128) >> 8;
        p[i] = 0xff000000u | y << 16 | y << 8 | y;
    }
}

int meanLuma(const Raster& picture)
{
    const ConstRows rows(picture);
    qint64 sum = 0, count = 0;
    auto add = [&](int x0, int n, int y) {
        const uint32_t* p = rows.row(y) + x0;
        for (int i = 0; i < n; ++i)
            sum += luma(p[i]);
        count += n;
    };
    if (!picture.hasRegion()) {
        for (int y = 0; y < rows.height; ++y)
            add(0, rows.width, y);
    } else {
        for (const QRect& r : picture.region().spans().intersected(picture.rect()))
            for (int y = r.top(); y <= r.bottom(); ++y)
                add(r.left(), r.width(), y);
    }
    return count ? int((sum + count / 2) / count) : 128;
}

}  // namespace

void invert(Raster& picture)
{
    requirePicture(picture);
    forEachSpan(picture, [](uint32_t* line, int x0, int n, int) { invertRow(line + x0, n); });
    mapPalette(picture, [](uint32_t c) { return ~c | kOpaque; });
}

void grayscale(Raster& picture, int bits)
{
    requirePicture(picture);
    if (bits != 8 && bits != 12 && bits != 16)
        throw ImagingError(kErrBadParam);
    forEachSpan(picture, [](uint32_t* line, int x0, int n, int) { greyRow(line + x0, n); });
    if (picture.hasRegion())
        return;
    QVector<QRgb> greys(256);
    for (int i = 0; i < 256; ++i)
        greys[i] = qRgb(i, i, i);
    picture.setBits(8);
    picture.setPalette(greys);
}

void intensity(Raster& picture, int strength)
{
    requirePicture(picture);
    requireRange(strength, -1000, 1000);
    applyLutAndPalette(picture, lutFrom([strength](int c) {
        if (strength >= 0)
            return c + (((255 - c) * strength * 2 + 1000) / 2000);
        return (c * (1000 + strength) * 2 + 1000) / 2000;
    }));
}

void contrast(Raster& picture, int strength)
{
    requirePicture(picture);
    requireRange(strength, -1000, 1000);
    applyLutAndPalette(picture, contrastLut(127.5, strength));
}

void gammaCorrect(Raster& picture, int gamma)
{
    requirePicture(picture);
    requireRange(gamma, 1, 500);
    const double exponent = 100.0 / gamma;
    applyLutAndPalette(picture, lutFrom([exponent](int c) {
        return roundHalfUp(255.0 * std::pow(c / 255.0, exponent));
    }));
}

void hue(Raster& picture, int degrees)
{
    requirePicture(picture);
    requireRange(degrees, -360, 360);
    const double a = degrees * std::numbers::pi / 180.0;
    const double co = std::cos(a), si = std::sin(a);
    const double m[3][3] = {
        {0.213 + co * 0.787 - si * 0.213, 0.715 - co * 0.715 - si * 0.715,
         0.072 - co * 0.072 + si * 0.928},
        {0.213 - co * 0.213 + si * 0.143, 0.715 + co * 0.285 + si * 0.140,
         0.072 - co * 0.072 - si * 0.283},
        {0.213 - co * 0.213 - si * 0.787, 0.715 - co * 0.715 + si * 0.715,
         0.072 + co * 0.928 + si * 0.072},
    };
    // 16.16 fixed point with each row summing to exactly one, so greys stay exact.
    int fixed[3][3];
    for (int i = 0; i < 3; ++i) {
        int sum = 0;
        for (int j = 0; j < 3; ++j) {
            fixed[i][j] = int(std::lround(m[i][j] * 65536));
            sum += fixed[i][j];
        }
        fixed[i][i] += 65536 - sum;
    }
    forEachSpan(picture, [&fixed](uint32_t* line, int x0, int n, int) { hueRow(line + x0, n, fixed); });
    mapPalette(picture, [&fixed](uint32_t c) {
        hueRow(&c, 1, fixed);
        return c;
    });
}

void saturation(Raster& picture, int strength)
{
    requirePicture(picture);
    requireRange(strength, -1000, 1000);
    const int k256 = int(std::lround(256.0 * (1000 + strength) / 1000.0));
    forEachSpan(picture, [k256](uint32_t* line, int x0, int n, int) { saturationRow(line + x0, n, k256); });
    mapPalette(picture, [k256](uint32_t c) {
        saturationRow(&c, 1, k256);
        return c;
    });
}

void posterize(Raster& picture, int levels)
{
    requirePicture(picture);
    requireRange(levels, 1, 256);
    const int steps = std::max(levels, 2) - 1;
    applyLutAndPalette(picture, lutFrom([steps](int c) {
        const int level = (c * steps * 2 + 255) / 510;  // nearest level
        return (level * 255 * 2 + steps) / (2 * steps);
    }));
}

void histoContrast(Raster& picture, int strength)
{
    requirePicture(picture);
    requireRange(strength, -1000, 1000);
    applyLutAndPalette(picture, contrastLut(meanLuma(picture), strength));
}

void histoEqualize(Raster& picture)
{
    requirePicture(picture);
    const std::vector<qint64> h = channelHistogram(picture);
    qint64 total = 0, first = 0;
    for (int c = 0; c < 256; ++c) {
        if (total == 0)
            first = h[size_t(c)];
        total += h[size_t(c)];
    }
    if (total == first)
        return;  // one value only: nothing to spread
    // c' = (cdf(c) - cdf(min)) x 255 / (N - cdf(min)), rounded
    uint8_t table[256];
    qint64 cdf = 0;
    for (int c = 0; c < 256; ++c) {
        cdf += h[size_t(c)];
        const qint64 v = cdf <= first ? 0 : ((cdf - first) * 510 + (total - first)) / (2 * (total - first));
        table[c] = uint8_t(clamp255(int(v)));
    }
    ChannelLut lut;
    lut.setAll(table);
    applyLutAndPalette(picture, lut);
}

void stretchIntensity(Raster& picture)
{
    requirePicture(picture);
    const std::vector<qint64> h = channelHistogram(picture);
    int lo = 0, hi = 255;
    while (lo < 255 && h[size_t(lo)] == 0)
        ++lo;
    while (hi > 0 && h[size_t(hi)] == 0)
        --hi;
    if (hi <= lo)
        return;
    // c' = (c - lo) x 255 / (hi - lo), rounded
    applyLutAndPalette(picture, lutFrom([lo, hi](int c) {
        return ((c - lo) * 510 + (hi - lo)) / (2 * (hi - lo));
    }));
}

void intensityDetect(Raster& picture, int low, int high)
{
    requirePicture(picture);
    requireRange(low, 0, 255);
    requireRange(high, 0, 255);
    if (low > high)
        throw ImagingError(kErrBadParam);
    forEachSpan(picture, [low, high](uint32_t* line, int x0, int n, int) {
        uint32_t* p = line + x0;
        for (int i = 0; i < n; ++i) {
            const int y = luma(p[i]);
            if (y < low || y > high)
                p[i] = kOpaque;
        }
    });
    mapPalette(picture, [low, high](uint32_t c) {
        const int y = luma(c);
        return y < low || y > high ? kOpaque : c;
    });
}

void addNoise(Raster& picture, int range, int channel, uint32_t seed)
{
    requirePicture(picture);
    requireRange(range, 0, 1000);
    requireRange(channel, 0, 3);
    const int amplitude = (range * 255 * 2 + 1000) / 2000;
    if (amplitude == 0)
        return;
    const uint32_t span = uint32_t(2 * amplitude + 1);
    forEachSpan(picture, [=](uint32_t* line, int x0, int n, int y) {
        uint32_t* p = line + x0;
        for (int i = 0; i < n; ++i) {
            // A hash of the position: the same noise whichever thread draws it.
            uint32_t h = uint32_t(x0 + i) * 0x9e3779b1u ^ uint32_t(y) * 0x85ebca77u ^ seed * 0xc2b2ae3du;
            h ^= h >> 16;
            h *= 0x7feb352du;
            h ^= h >> 15;
            h *= 0x846ca68bu;
            h ^= h >> 16;
            const int d = int(uint32_t((uint64_t(h) * span) >> 32)) - amplitude;
            const uint32_t c = p[i];
            int r = red(c), g = green(c), b = blue(c);
            if (channel == 0 || channel == 1)
                r = clamp255(r + d);
            if (channel == 0 || channel == 2)
                g = clamp255(g + d);
            if (channel == 0 || channel == 3)
                b = clamp255(b + d);
            p[i] = rgb(r, g, b);
        }
    });
    if (!picture.hasRegion() && picture.bits() <= 8)
        picture.setBits(24);  // noise leaves the palette behind
}

}  // namespace imaging
