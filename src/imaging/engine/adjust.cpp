#include "imaging/engine/adjust.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace imaging {

namespace {

constexpr uint32_t kOpaque = 0xff000000u;

void checkStrength(const Raster& picture, int strength, int limit)
{
    if (picture.isNull())
        throw ImagingError(kErrBadHandle);
    if (strength < -limit || strength > limit)
        throw ImagingError(kErrBadParam);
}

inline int toChannel(float v)
{
    const int c = int(v + 0.5f);
    return c < 0 ? 0 : (c > 255 ? 255 : c);
}

// Applies `fn` (0xRRGGBB in, 0xRRGGBB out) to every pixel inside the region, or to the whole
// picture. Part pictures are mostly a few flat colours, so the last result is remembered.
template <typename Fn>
void mapPixels(Raster& picture, Fn fn)
{
    uint32_t lastIn = 0;
    uint32_t lastOut = fn(0u) | kOpaque;
    auto run = [&](const QRect& r) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            uint32_t* line = picture.scanLine(y) + r.left();
            for (int x = 0; x < r.width(); ++x) {
                const uint32_t c = line[x] & 0xffffffu;
                if (c != lastIn) {
                    lastIn = c;
                    lastOut = fn(c) | kOpaque;
                }
                line[x] = lastOut;
            }
        }
    };
    if (!picture.hasRegion()) {
        run(picture.rect());
        // Saving maps pixels onto the palette, so the palette has to follow them. With a
        // region only part of the pixels changed and the palette is left alone.
        if (picture.bits() <= 8 && !picture.palette().isEmpty()) {
            QVector<QRgb> palette = picture.palette();
            for (QRgb& entry : palette)
                entry = fn(entry & 0xffffffu) | kOpaque;
            picture.setPalette(palette);
        }
        return;
    }
    for (const QRect& r : picture.region().spans().intersected(picture.rect()))
        run(r);
}

// Rewrites a pixel through its HSV saturation and value; `f(s, v)` changes both in place
// (0..1). The hue is kept exactly: the channels keep their order and the middle one its
// relative place between the others.
template <typename F>
uint32_t mapHsv(uint32_t c, F f)
{
    const std::array<int, 3> ch{int((c >> 16) & 0xff), int((c >> 8) & 0xff), int(c & 0xff)};
    int hi = 0;
    for (int i = 1; i < 3; ++i)
        if (ch[size_t(i)] > ch[size_t(hi)])
            hi = i;
    int lo = hi == 0 ? 1 : 0;
    for (int i = 0; i < 3; ++i)
        if (i != hi && ch[size_t(i)] < ch[size_t(lo)])
            lo = i;
    const int mid = 3 - hi - lo;
    const int max = ch[size_t(hi)], min = ch[size_t(lo)];
    if (max == 0)
        return 0;  // black has no colour and no light to change
    float s = float(max - min) / float(max);
    float v = float(max) / 255.0f;
    const float frac = max > min ? float(ch[size_t(mid)] - min) / float(max - min) : 0.0f;
    f(s, v);
    s = std::clamp(s, 0.0f, 1.0f);
    v = std::clamp(v, 0.0f, 1.0f);
    const float top = v * 255.0f;
    const float bottom = top * (1.0f - s);
    std::array<int, 3> out{};
    out[size_t(hi)] = toChannel(top);
    out[size_t(lo)] = toChannel(bottom);
    out[size_t(mid)] = toChannel(bottom + (top - bottom) * frac);
    return uint32_t(out[0]) << 16 | uint32_t(out[1]) << 8 | uint32_t(out[2]);
}

}  // namespace

void adjustSaturation(Raster& picture, int strength)
{
    checkStrength(picture, strength, 1000);
    const float factor = 1.0f + float(strength) / 100.0f;
    mapPixels(picture, [factor](uint32_t c) {
        return mapHsv(c, [factor](float& s, float&) { s *= factor; });
    });
}

void adjustColourContrast(Raster& picture, int strength)
{
    checkStrength(picture, strength, 1000);
    const float exponent = std::exp2(float(strength) / 400.0f);
    mapPixels(picture, [exponent](uint32_t c) {
        return mapHsv(c, [exponent](float& s, float&) { s = std::pow(s, exponent); });
    });
}

void adjustHue(Raster& picture, int degrees)
{
    checkStrength(picture, degrees, 360);
    const double a = degrees * std::numbers::pi / 180.0;
    const double co = std::cos(a), si = std::sin(a);
    // The hue-rotate matrix: luminance weights plus the turn of the chroma.
    const double m[3][3] = {
        {0.213 + co * 0.787 - si * 0.213, 0.715 - co * 0.715 - si * 0.715,
         0.072 - co * 0.072 + si * 0.928},
        {0.213 - co * 0.213 + si * 0.143, 0.715 + co * 0.285 + si * 0.140,
         0.072 - co * 0.072 - si * 0.283},
        {0.213 - co * 0.213 - si * 0.787, 0.715 - co * 0.715 + si * 0.715,
         0.072 + co * 0.928 + si * 0.072},
    };
    // 16.16 fixed point; each row is made to sum to exactly one so that greys stay exact.
    constexpr int kOne = 1 << 16;
    int fixed[3][3];
    for (int i = 0; i < 3; ++i) {
        int sum = 0;
        for (int j = 0; j < 3; ++j) {
            fixed[i][j] = int(std::lround(m[i][j] * kOne));
            sum += fixed[i][j];
        }
        fixed[i][i] += kOne - sum;
    }
    mapPixels(picture, [&fixed](uint32_t c) {
        const int in[3] = {int((c >> 16) & 0xff), int((c >> 8) & 0xff), int(c & 0xff)};
        uint32_t out = 0;
        for (int i = 0; i < 3; ++i) {
            const int v = (fixed[i][0] * in[0] + fixed[i][1] * in[1] + fixed[i][2] * in[2]
                           + kOne / 2) >> 16;
            out = out << 8 | uint32_t(std::clamp(v, 0, 255));
        }
        return out;
    });
}

void adjustIntensity(Raster& picture, int strength)
{
    checkStrength(picture, strength, 1000);
    const float f = std::max(0.0f, 1.0f + float(strength) / 750.0f);
    const float drain = f < 1.0f ? f * f * f : 1.0f;
    mapPixels(picture, [f, drain](uint32_t c) {
        return mapHsv(c, [f, drain](float& s, float& v) {
            v *= f;
            s *= drain;
        });
    });
}

}  // namespace imaging
