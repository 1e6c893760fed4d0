// Colour resolution (palettes and dithering) and halftone screens.
#include "imaging/engine/filterkit.h"
#include "imaging/engine/filters.h"

#include <libimagequant.h>

#include <cmath>
#include <numbers>

namespace imaging {

using namespace kit;

QVector<QRgb> systemPalette(int bits)
{
    if (bits != 8)
        return defaultPalette(bits);
    // The twenty colours a display always keeps, the web cube, then greys between.
    QVector<QRgb> p = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),     qRgb(0, 128, 0),     qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128),   qRgb(0, 128, 128),   qRgb(192, 192, 192),
        qRgb(192, 220, 192), qRgb(166, 202, 240), qRgb(255, 251, 240), qRgb(160, 160, 164),
        qRgb(128, 128, 128), qRgb(255, 0, 0),     qRgb(0, 255, 0),     qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255),   qRgb(0, 255, 255),   qRgb(255, 255, 255)};
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                p.append(qRgb(r * 51, g * 51, b * 51));
    for (int i = 1; p.size() < 256; ++i) {
        const int v = i * 255 / 21;
        p.append(qRgb(v, v, v));
    }
    return p;
}

QVector<QRgb> netscapePalette()
{
    QVector<QRgb> p;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                p.append(qRgb(r * 51, g * 51, b * 51));
    return p;
}

namespace {

// floor(num / den + 1/2); den > 0.
inline int divRound(int num, int den)
{
    const int twice = 2 * num + den;
    return twice >= 0 ? twice / (2 * den) : -((-twice + 2 * den - 1) / (2 * den));
}

// Which pixels of the work area may change, one byte each.
std::vector<uint8_t> areaMask(const Raster& picture, const QRect& area)
{
    std::vector<uint8_t> mask(size_t(area.width()) * size_t(area.height()), picture.hasRegion() ? 0 : 1);
    if (picture.hasRegion())
        for (const QRect& r : picture.region().spans().intersected(area))
            for (int y = r.top(); y <= r.bottom(); ++y)
                std::fill_n(mask.begin() + qptrdiff(y - area.top()) * area.width() + (r.left() - area.left()),
                            r.width(), uint8_t(1));
    return mask;
}

// The best palette of `colours` entries for the changeable pixels, by libimagequant on a
// sample of at most about a megapixel.
QVector<QRgb> optimalPalette(const Raster& picture, const QRect& area, const std::vector<uint8_t>& mask,
                             int colours)
{
    const qint64 total = qint64(area.width()) * area.height();
    const int step = int(std::max<qint64>(1, qint64(std::sqrt(double(total) / (1 << 20)))));
    std::vector<unsigned char> rgba;
    const ConstRows rows(picture);
    for (int y = area.top(); y <= area.bottom(); y += step)
        for (int x = area.left(); x <= area.right(); x += step) {
            if (!mask[size_t(y - area.top()) * size_t(area.width()) + size_t(x - area.left())])
                continue;
            const uint32_t c = rows.row(y)[x];
            rgba.insert(rgba.end(), {uchar(red(c)), uchar(green(c)), uchar(blue(c)), 255});
        }
    const int count = int(rgba.size() / 4);
    if (count == 0)
        return defaultPalette(colours <= 2 ? 1 : colours <= 16 ? 4 : 8);
    liq_attr* attr = liq_attr_create();
    if (!attr)
        throw ImagingError(kErrNoMemory);
    liq_set_max_colors(attr, colours);
    liq_image* image = liq_image_create_rgba(attr, rgba.data(), count, 1, 0);
    liq_result* result = nullptr;
    QVector<QRgb> palette;
    if (image && liq_image_quantize(image, attr, &result) == LIQ_OK) {
        const liq_palette* p = liq_get_palette(result);
        for (unsigned i = 0; i < p->count; ++i)
            palette.append(qRgb(p->entries[i].r, p->entries[i].g, p->entries[i].b));
        liq_result_destroy(result);
    }
    if (image)
        liq_image_destroy(image);
    liq_attr_destroy(attr);
    if (palette.isEmpty())
        throw ImagingError(kErrFailure);
    return palette;
}

// Nearest palette entry by squared RGB distance, remembering recent answers.
class NearestColour {
public:
    explicit NearestColour(const QVector<QRgb>& palette) : palette_(palette), keys_(kSlots, ~0u), values_(kSlots) {}

    int index(int r, int g, int b)
    {
        const uint32_t key = uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
        const uint32_t slot = (key * 0x9e3779b1u) >> (32 - kSlotBits);
        if (keys_[slot] == key)
            return values_[slot];
        int best = 0;
        int bestDistance = INT_MAX;
        for (int i = 0; i < palette_.size(); ++i) {
            const int dr = qRed(palette_[i]) - r, dg = qGreen(palette_[i]) - g, db = qBlue(palette_[i]) - b;
            const int d = dr * dr + dg * dg + db * db;
            if (d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        keys_[slot] = key;
        values_[slot] = uint8_t(best);
        return best;
    }

private:
    static constexpr int kSlotBits = 16;
    static constexpr int kSlots = 1 << kSlotBits;
    QVector<QRgb> palette_;
    std::vector<uint32_t> keys_;
    std::vector<uint8_t> values_;
};

struct Spread {
    int dx, dy, weight;
};
struct Diffusion {
    std::vector<Spread> taps;
    int divisor;
};

const Diffusion& diffusion(int dither)
{
    static const Diffusion kinds[] = {
        {{}, 1},
        {{{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}}, 16},  // Floyd-Steinberg
        {{{1, 0, 8}, {2, 0, 4}, {-2, 1, 2}, {-1, 1, 4}, {0, 1, 8}, {1, 1, 4}, {2, 1, 2},
          {-2, 2, 1}, {-1, 2, 2}, {0, 2, 4}, {1, 2, 2}, {2, 2, 1}}, 42},  // Stucki
        {{{1, 0, 8}, {2, 0, 4}, {-2, 1, 2}, {-1, 1, 4}, {0, 1, 8}, {1, 1, 4}, {2, 1, 2}}, 32},  // Burkes
        {{{1, 0, 5}, {2, 0, 3}, {-2, 1, 2}, {-1, 1, 4}, {0, 1, 5}, {1, 1, 4}, {2, 1, 2},
          {-1, 2, 2}, {0, 2, 3}, {1, 2, 2}}, 32},  // Sierra
        {{{2, 0, 32}, {-3, 1, 12}, {-1, 1, 26}, {1, 1, 30}, {3, 1, 16}, {-2, 2, 12}, {0, 2, 26},
          {2, 2, 12}, {-3, 3, 5}, {-1, 3, 12}, {1, 3, 12}, {3, 3, 5}}, 200},  // Stevenson-Arce
        {{{1, 0, 7}, {2, 0, 5}, {-2, 1, 3}, {-1, 1, 5}, {0, 1, 7}, {1, 1, 5}, {2, 1, 3},
          {-2, 2, 1}, {-1, 2, 3}, {0, 2, 5}, {1, 2, 3}, {2, 2, 1}}, 48},  // Jarvis
    };
    return kinds[dither];
}

constexpr int kBayer8[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21},
};

void mapToPalette(Raster& picture, const QRect& area, const std::vector<uint8_t>& mask,
                  const QVector<QRgb>& palette, int dither)
{
    NearestColour nearest(palette);
    const Rows rows(picture);
    const int w = area.width();
    if (dither == kDitherNone || dither == kDitherOrdered) {
        // Ordered: a Bayer threshold of about one palette step per channel before the choice.
        const double step = 255.0 / std::max(1.0, std::cbrt(double(palette.size())) - 1.0);
        for (int y = area.top(); y <= area.bottom(); ++y) {
            uint32_t* line = rows.row(y);
            for (int x = area.left(); x <= area.right(); ++x) {
                if (!mask[size_t(y - area.top()) * size_t(w) + size_t(x - area.left())])
                    continue;
                int r = red(line[x]), g = green(line[x]), b = blue(line[x]);
                if (dither == kDitherOrdered) {
                    const int d = int(std::lround((kBayer8[y & 7][x & 7] + 0.5) / 64.0 * step - step / 2));
                    r = clamp255(r + d);
                    g = clamp255(g + d);
                    b = clamp255(b + d);
                }
                line[x] = palette[nearest.index(r, g, b)] | kOpaque;
            }
        }
        return;
    }
    // Error diffusion, left to right; errors go only to pixels that change.
    const Diffusion& kind = diffusion(dither);
    constexpr int kMargin = 3, kRowsKept = 4;
    const int stride = w + 2 * kMargin;
    std::vector<int> error(size_t(stride) * kRowsKept * 3, 0);
    auto cell = [&](int dy, int x) { return error.data() + (size_t(dy % kRowsKept) * stride + size_t(x + kMargin)) * 3; };
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const int ry = y - area.top();
        uint32_t* line = rows.row(y);
        for (int i = 0; i < w; ++i) {
            int* e = cell(ry, i);
            if (!mask[size_t(ry) * size_t(w) + size_t(i)]) {
                e[0] = e[1] = e[2] = 0;
                continue;
            }
            const uint32_t c = line[area.left() + i];
            const int want[3] = {red(c) * kind.divisor + e[0], green(c) * kind.divisor + e[1],
                                 blue(c) * kind.divisor + e[2]};
            int rounded[3], v[3];
            for (int ch = 0; ch < 3; ++ch) {
                rounded[ch] = divRound(want[ch], kind.divisor);
                v[ch] = clamp255(rounded[ch]);
            }
            const QRgb chosen = palette[nearest.index(v[0], v[1], v[2])];
            line[area.left() + i] = chosen | kOpaque;
            const int got[3] = {qRed(chosen), qGreen(chosen), qBlue(chosen)};
            e[0] = e[1] = e[2] = 0;
            for (int ch = 0; ch < 3; ++ch) {
                // The error of what was wanted, limited so that it cannot run away.
                const int err = std::clamp(rounded[ch] - got[ch], -255, 255);
                for (const Spread& s : kind.taps)
                    if (i + s.dx >= -kMargin && i + s.dx < w + kMargin)
                        cell(ry + s.dy, i + s.dx)[ch] += err * s.weight;
            }
        }
        // The row just finished is reused three rows later.
        std::fill_n(error.begin() + qptrdiff(ry % kRowsKept) * stride * 3, stride * 3, 0);
    }
}

}  // namespace

void colorRes(Raster& picture, int bits, int palette, int dither, int colours)
{
    requirePicture(picture);
    if (!validBits(bits))
        throw ImagingError(kErrBadParam);
    requireRange(dither, 0, 7);
    const QRect area = workArea(picture);
    if (bits > 8) {
        if ((palette != 0 && palette != kPaletteOrderBgr) || colours != 0)
            throw ImagingError(kErrBadParam);
        if (bits == 16) {
            // Five bits a channel, spread back over 0..255.
            uint8_t table[256];
            for (int c = 0; c < 256; ++c)
                table[c] = uint8_t(((c >> 3) * 255 * 2 + 31) / 62);
            ChannelLut lut;
            lut.setAll(table);
            applyLut(picture, lut);
        }
        if (!picture.hasRegion())
            picture.setBits(bits);
        return;
    }
    const int most = 1 << bits;
    if (colours == 0)
        colours = most;
    requireRange(colours, 2, most);
    QVector<QRgb> entries;
    const std::vector<uint8_t> mask = areaMask(picture, area);
    switch (palette) {
    case kPaletteFixed: entries = defaultPalette(bits); break;
    case kPaletteSystem: entries = systemPalette(bits); break;
    case kPaletteNetscape:
        if (bits != 8)
            throw ImagingError(kErrBadParam);
        entries = netscapePalette();
        break;
    case kPaletteOptimal: entries = optimalPalette(picture, area, mask, colours); break;
    default: throw ImagingError(kErrBadParam);
    }
    if (!area.isEmpty())
        mapToPalette(picture, area, mask, entries, dither);
    if (!picture.hasRegion()) {
        picture.setBits(bits);
        entries.resize(std::min<qsizetype>(entries.size(), most));
        picture.setPalette(entries);
    }
}

void halftone(Raster& picture, int type, int angle)
{
    requirePicture(picture);
    requireRange(type, 0, 1);
    requireRange(angle, -36000, 36000);
    const double cell = type == 0 ? 8.0 : 4.0;
    const double a = angle / 100.0 * std::numbers::pi / 180.0;
    const double co = std::cos(a) / cell, si = std::sin(a) / cell;
    // Spot function of the turned screen: 1 at a cell's centre, 0 at its corners. A pixel
    // is white when its luminance is above the screen there, so dark areas grow round dots.
    const double twoPi = 2 * std::numbers::pi;
    forEachSpan(picture, [=](uint32_t* line, int x0, int n, int y) {
        for (int i = 0; i < n; ++i) {
            const int x = x0 + i;
            const double u = x * co + y * si, v = y * co - x * si;
            const double spot = 0.5 + 0.25 * (std::cos(twoPi * u) + std::cos(twoPi * v));
            const int threshold = int(spot * 254.0 + 0.5);
            line[x] = luma(line[x]) > threshold ? 0xffffffffu : kOpaque;
        }
    });
    if (!picture.hasRegion()) {
        picture.setBits(1);
        picture.setPalette(defaultPalette(1));
    }
}

}  // namespace imaging
