#include "imaging/engine/filters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <set>

using imaging::Raster;

namespace {

// A non-flat picture: smooth gradients with seeded noise, so windows see real variety.
Raster noisy(int w, int h, unsigned seed = 7)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> d(-40, 40);
    Raster r(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            r.setPixel(x, y, qRgb(std::clamp(x * 255 / w + d(rng), 0, 255),
                                  std::clamp(y * 255 / h + d(rng), 0, 255),
                                  std::clamp(128 + d(rng) * 3, 0, 255)));
    return r;
}

QRgb at(const Raster& r, int x, int y)
{
    return r.pixel(std::clamp(x, 0, r.width() - 1), std::clamp(y, 0, r.height() - 1));
}

int channel(QRgb c, int ch) { return ch == 0 ? qRed(c) : ch == 1 ? qGreen(c) : qBlue(c); }

int roundDiv(long long num, long long den) { return int(std::floor(double(num) / double(den) + 0.5)); }

// --- Naive references, one pixel at a time.

Raster naiveWindow(const Raster& src, int n, const std::function<int(std::vector<int>&)>& pick)
{
    Raster out = src;
    const int lo = (n - 1) / 2, hi = n / 2;
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x) {
            int v[3];
            for (int ch = 0; ch < 3; ++ch) {
                std::vector<int> values;
                for (int dy = -lo; dy <= hi; ++dy)
                    for (int dx = -lo; dx <= hi; ++dx)
                        values.push_back(channel(at(src, x + dx, y + dy), ch));
                v[ch] = pick(values);
            }
            out.setPixel(x, y, qRgb(v[0], v[1], v[2]));
        }
    return out;
}

Raster naiveMedian(const Raster& src, int n)
{
    return naiveWindow(src, n, [](std::vector<int>& v) {
        std::sort(v.begin(), v.end());
        return v[(v.size() - 1) / 2];
    });
}

Raster naiveAverage(const Raster& src, int n)
{
    return naiveWindow(src, n, [](std::vector<int>& v) {
        long long s = 0;
        for (int c : v)
            s += c;
        return roundDiv(s, (long long)v.size());
    });
}

Raster naiveSharpen(const Raster& src, int s)
{
    const int kk = s < 0 ? s : 2 * s;
    Raster out = src;
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x) {
            int v[3];
            for (int ch = 0; ch < 3; ++ch) {
                int sum = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        sum += channel(at(src, x + dx, y + dy), ch);
                const int c = channel(src.pixel(x, y), ch);
                v[ch] = std::clamp(c + roundDiv((long long)kk * (9 * c - sum), 9000), 0, 255);
            }
            out.setPixel(x, y, qRgb(v[0], v[1], v[2]));
        }
    return out;
}

int luma(QRgb c) { return (77 * qRed(c) + 150 * qGreen(c) + 29 * qBlue(c) + 128) >> 8; }

Raster naiveEmboss(const Raster& src, int dir, int depth)
{
    const int dxs[8] = {0, -1, -1, -1, 0, 1, 1, 1}, dys[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
    Raster out = src;
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x) {
            const int diff = luma(at(src, x - dxs[dir], y - dys[dir])) - luma(at(src, x + dxs[dir], y + dys[dir]));
            const int v = std::clamp(128 + roundDiv((long long)diff * depth, 250), 0, 255);
            out.setPixel(x, y, qRgb(v, v, v));
        }
    return out;
}

Raster naiveMosaic(const Raster& src, int n)
{
    Raster out = src;
    for (int ty = 0; ty < src.height(); ty += n)
        for (int tx = 0; tx < src.width(); tx += n) {
            long long s[3] = {0, 0, 0}, count = 0;
            for (int y = ty; y < std::min(ty + n, src.height()); ++y)
                for (int x = tx; x < std::min(tx + n, src.width()); ++x) {
                    for (int ch = 0; ch < 3; ++ch)
                        s[ch] += channel(src.pixel(x, y), ch);
                    ++count;
                }
            const QRgb c = qRgb(roundDiv(s[0], count), roundDiv(s[1], count), roundDiv(s[2], count));
            for (int y = ty; y < std::min(ty + n, src.height()); ++y)
                for (int x = tx; x < std::min(tx + n, src.width()); ++x)
                    out.setPixel(x, y, c);
        }
    return out;
}

// First differing pixel, for a readable failure.
std::string firstDifference(const Raster& a, const Raster& b)
{
    if (a.size() != b.size())
        return "sizes differ";
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return "at " + std::to_string(x) + "," + std::to_string(y) + ": " + std::to_string(a.pixel(x, y) & 0xffffff)
                    + " vs " + std::to_string(b.pixel(x, y) & 0xffffff);
    return "";
}

struct KernelCase {
    const char* name;
    std::function<void(Raster&)> fast;
    std::function<Raster(const Raster&)> naive;
};

const KernelCase kKernelCases[] = {
    {"median 2", [](Raster& r) { imaging::median(r, 2); }, [](const Raster& r) { return naiveMedian(r, 2); }},
    {"median 3", [](Raster& r) { imaging::median(r, 3); }, [](const Raster& r) { return naiveMedian(r, 3); }},
    {"median 8", [](Raster& r) { imaging::median(r, 8); }, [](const Raster& r) { return naiveMedian(r, 8); }},
    {"median 25", [](Raster& r) { imaging::median(r, 25); }, [](const Raster& r) { return naiveMedian(r, 25); }},
    {"average 2", [](Raster& r) { imaging::average(r, 2); }, [](const Raster& r) { return naiveAverage(r, 2); }},
    {"average 5", [](Raster& r) { imaging::average(r, 5); }, [](const Raster& r) { return naiveAverage(r, 5); }},
    {"average 25", [](Raster& r) { imaging::average(r, 25); }, [](const Raster& r) { return naiveAverage(r, 25); }},
    {"sharpen 1000", [](Raster& r) { imaging::sharpen(r, 1000); }, [](const Raster& r) { return naiveSharpen(r, 1000); }},
    {"sharpen -1000", [](Raster& r) { imaging::sharpen(r, -1000); }, [](const Raster& r) { return naiveSharpen(r, -1000); }},
    {"sharpen 370", [](Raster& r) { imaging::sharpen(r, 370); }, [](const Raster& r) { return naiveSharpen(r, 370); }},
    {"emboss up", [](Raster& r) { imaging::emboss(r, 0, 500); }, [](const Raster& r) { return naiveEmboss(r, 0, 500); }},
    {"emboss down-right", [](Raster& r) { imaging::emboss(r, 5, 1000); }, [](const Raster& r) { return naiveEmboss(r, 5, 1000); }},
    {"emboss left", [](Raster& r) { imaging::emboss(r, 2, 130); }, [](const Raster& r) { return naiveEmboss(r, 2, 130); }},
    {"mosaic 4", [](Raster& r) { imaging::mosaic(r, 4); }, [](const Raster& r) { return naiveMosaic(r, 4); }},
    {"mosaic 64", [](Raster& r) { imaging::mosaic(r, 64); }, [](const Raster& r) { return naiveMosaic(r, 64); }},
};

}  // namespace

TEST(Filters, NeighbourhoodKernelsMatchNaiveReferences)
{
    // Odd sizes, a one-pixel-wide strip, a window larger than the picture.
    const QSize sizes[] = {{23, 17}, {1, 9}, {9, 1}, {6, 5}};
    for (const KernelCase& k : kKernelCases)
        for (const QSize& s : sizes) {
            const Raster src = noisy(s.width(), s.height());
            Raster fast = src;
            k.fast(fast);
            EXPECT_EQ(firstDifference(fast, k.naive(src)), "") << k.name << " on " << s.width() << "x" << s.height();
        }
}

TEST(Filters, ThreadedBandsMatchNaiveReferences)
{
    // Large enough to be split over the worker threads; the band seams must not show.
    const Raster src = noisy(700, 420, 3);
    for (int i : {1, 5, 13}) {
        const KernelCase& k = kKernelCases[size_t(i)];
        Raster fast = src;
        k.fast(fast);
        EXPECT_EQ(firstDifference(fast, k.naive(src)), "") << k.name;
    }
}

TEST(Filters, ToneTablesGiveExactValues)
{
    struct Case {
        const char* name;
        std::function<void(Raster&)> apply;
        QRgb in, out;
    };
    const Case cases[] = {
        {"invert", [](Raster& r) { imaging::invert(r); }, qRgb(0, 100, 255), qRgb(255, 155, 0)},
        {"grayscale", [](Raster& r) { imaging::grayscale(r, 8); }, qRgb(255, 0, 0), qRgb(77, 77, 77)},
        {"grayscale keeps grey", [](Raster& r) { imaging::grayscale(r, 8); }, qRgb(93, 93, 93), qRgb(93, 93, 93)},
        // c + (255 - c) x 0.5; c x 0.5, rounded half up
        {"intensity +500", [](Raster& r) { imaging::intensity(r, 500); }, qRgb(0, 100, 255), qRgb(128, 178, 255)},
        {"intensity -500", [](Raster& r) { imaging::intensity(r, -500); }, qRgb(0, 101, 255), qRgb(0, 51, 128)},
        {"intensity -1000", [](Raster& r) { imaging::intensity(r, -1000); }, qRgb(10, 101, 255), qRgb(0, 0, 0)},
        // 127.5 + (c - 127.5) x 2
        {"contrast +500", [](Raster& r) { imaging::contrast(r, 500); }, qRgb(100, 128, 200), qRgb(73, 129, 255)},
        {"contrast -1000", [](Raster& r) { imaging::contrast(r, -1000); }, qRgb(0, 77, 255), qRgb(128, 128, 128)},
        {"contrast +1000", [](Raster& r) { imaging::contrast(r, 1000); }, qRgb(127, 128, 3), qRgb(0, 255, 0)},
        // 255 (c / 255)^(1/2); (c / 255)^5 for the mask gamma
        {"gamma 200", [](Raster& r) { imaging::gammaCorrect(r, 200); }, qRgb(64, 0, 255), qRgb(128, 0, 255)},
        {"gamma 20", [](Raster& r) { imaging::gammaCorrect(r, 20); }, qRgb(200, 250, 128), qRgb(76, 231, 8)},
        {"gamma 100", [](Raster& r) { imaging::gammaCorrect(r, 100); }, qRgb(1, 2, 3), qRgb(1, 2, 3)},
        // levels 0, 85, 170, 255
        {"posterize 4", [](Raster& r) { imaging::posterize(r, 4); }, qRgb(42, 43, 200), qRgb(0, 85, 170)},
        {"posterize 1 is 2", [](Raster& r) { imaging::posterize(r, 1); }, qRgb(127, 128, 255), qRgb(0, 255, 255)},
        {"hue 0", [](Raster& r) { imaging::hue(r, 0); }, qRgb(10, 200, 30), qRgb(10, 200, 30)},
        {"hue keeps grey", [](Raster& r) { imaging::hue(r, 123); }, qRgb(77, 77, 77), qRgb(77, 77, 77)},
        {"hue 360", [](Raster& r) { imaging::hue(r, 360); }, qRgb(10, 200, 30), qRgb(10, 200, 30)},
        // Y = (77 x 200 + 150 x 100 + 29 x 50 + 128) >> 8 = 124
        {"saturation -1000", [](Raster& r) { imaging::saturation(r, -1000); }, qRgb(200, 100, 50), qRgb(124, 124, 124)},
        {"saturation +1000", [](Raster& r) { imaging::saturation(r, 1000); }, qRgb(200, 100, 50), qRgb(255, 76, 0)},
        {"saturation 0", [](Raster& r) { imaging::saturation(r, 0); }, qRgb(200, 100, 50), qRgb(200, 100, 50)},
    };
    for (const Case& c : cases) {
        Raster r(3, 2, 24, c.in);
        c.apply(r);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(r.pixel(x, y) & 0xffffff, c.out & 0xffffff) << c.name;
    }
}

TEST(Filters, HueTurnsPrimariesTheUsualWay)
{
    // A 120 degree turn sends red most of the way to green.
    Raster r(1, 1, 24, qRgb(255, 0, 0));
    imaging::hue(r, 120);
    EXPECT_GT(qGreen(r.pixel(0, 0)), qRed(r.pixel(0, 0)));
    EXPECT_GT(qGreen(r.pixel(0, 0)), qBlue(r.pixel(0, 0)));
}

TEST(Filters, HistogramToolsSpreadTheValuesThatOccur)
{
    // Channel values 100, 110, 120 only: stretch maps them to 0, 128, 255.
    Raster r(3, 1, 24);
    r.setPixel(0, 0, qRgb(100, 100, 100));
    r.setPixel(1, 0, qRgb(110, 110, 110));
    r.setPixel(2, 0, qRgb(120, 120, 120));
    Raster stretched = r;
    imaging::stretchIntensity(stretched);
    EXPECT_EQ(stretched.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(stretched.pixel(1, 0), qRgb(128, 128, 128));
    EXPECT_EQ(stretched.pixel(2, 0), qRgb(255, 255, 255));
    // Equalization: cdf 3, 6, 9 of 9 with cdf(min) 3 gives 0, 128, 255.
    Raster equal = r;
    imaging::histoEqualize(equal);
    EXPECT_EQ(equal, stretched);
    // A flat picture has nothing to spread.
    Raster flat(4, 4, 24, qRgb(50, 50, 50));
    imaging::histoEqualize(flat);
    imaging::stretchIntensity(flat);
    EXPECT_EQ(flat.pixel(2, 2), qRgb(50, 50, 50));
    // Histogram contrast pivots on the mean luminance (110): 100 -> 90, 120 -> 130 at factor 2.
    Raster hc = r;
    imaging::histoContrast(hc, 500);
    EXPECT_EQ(hc.pixel(0, 0), qRgb(90, 90, 90));
    EXPECT_EQ(hc.pixel(1, 0), qRgb(110, 110, 110));
    EXPECT_EQ(hc.pixel(2, 0), qRgb(130, 130, 130));
}

TEST(Filters, IntensityDetectKeepsTheRangeAndBlacksTheRest)
{
    Raster r(3, 1, 24);
    r.setPixel(0, 0, qRgb(10, 10, 10));
    r.setPixel(1, 0, qRgb(200, 100, 50));  // Y 124
    r.setPixel(2, 0, qRgb(250, 250, 250));
    imaging::intensityDetect(r, 124, 200);
    EXPECT_EQ(r.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(r.pixel(1, 0), qRgb(200, 100, 50));
    EXPECT_EQ(r.pixel(2, 0), qRgb(0, 0, 0));
}

TEST(Filters, NoiseStaysWithinItsRangeAndChannel)
{
    const Raster src = noisy(40, 30);
    Raster a = src, b = src, red = src;
    imaging::addNoise(a, 200, 0);
    imaging::addNoise(b, 200, 0);
    EXPECT_EQ(a, b);  // repeatable
    EXPECT_NE(a, src);
    const int amplitude = 51;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const QRgb s = src.pixel(x, y), n = a.pixel(x, y);
            const int d = qRed(n) - qRed(s);
            EXPECT_LE(std::abs(d), amplitude);
            // channel 0: one offset for all three, clamped
            if (qRed(s) > 60 && qRed(s) < 190 && qGreen(s) > 60 && qGreen(s) < 190)
                EXPECT_EQ(qGreen(n) - qGreen(s), d);
        }
    imaging::addNoise(red, 1000, 1);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            EXPECT_EQ(qGreen(red.pixel(x, y)), qGreen(src.pixel(x, y)));
            EXPECT_EQ(qBlue(red.pixel(x, y)), qBlue(src.pixel(x, y)));
        }
}

TEST(Filters, SpatialEdgeFilterIsDarkOnFlatAreasAndBrightOnEdges)
{
    Raster r(10, 10, 24, qRgb(60, 60, 60));
    for (int y = 0; y < 10; ++y)
        for (int x = 5; x < 10; ++x)
            r.setPixel(x, y, qRgb(200, 200, 200));
    imaging::spatialFilter(r, 16);
    EXPECT_EQ(r.pixel(1, 5), qRgb(0, 0, 0));
    EXPECT_EQ(r.pixel(8, 5), qRgb(0, 0, 0));
    // Bright side of the edge: (8 x 200 - 5 x 200 - 3 x 60) / 2 = 210
    EXPECT_EQ(r.pixel(5, 5), qRgb(210, 210, 210));
    EXPECT_EQ(r.pixel(4, 5), qRgb(0, 0, 0));
}

TEST(Filters, ColorResLeavesOnlyPaletteColours)
{
    const Raster src = noisy(48, 32);
    for (int bits : {1, 4, 8})
        for (int palette : {1, 2, 8, 64})
            for (int dither = 0; dither <= 7; ++dither) {
                if (palette == 64 && bits != 8)
                    continue;
                Raster r = src;
                imaging::colorRes(r, bits, palette, dither, 1 << bits);
                const std::string what = std::to_string(bits) + " bits, palette " + std::to_string(palette)
                    + ", dither " + std::to_string(dither);
                ASSERT_EQ(r.bits(), bits) << what;
                EXPECT_LE(r.palette().size(), 1 << bits) << what;
                const std::set<QRgb> entries(r.palette().begin(), r.palette().end());
                bool inPalette = true;
                for (int y = 0; y < r.height(); ++y)
                    for (int x = 0; x < r.width(); ++x)
                        inPalette = inPalette && entries.count(r.pixel(x, y));
                EXPECT_TRUE(inPalette) << what;
                EXPECT_LE(r.colorCount(), 1 << bits) << what;
            }
}

TEST(Filters, ColorResKeepsPaletteColoursAndSpreadsError)
{
    // Without dithering a palette colour maps to itself.
    Raster exact(2, 1, 24);
    exact.setPixel(0, 0, qRgb(128, 0, 128));
    exact.setPixel(1, 0, qRgb(0, 255, 255));
    imaging::colorRes(exact, 4, imaging::kPaletteFixed, imaging::kDitherNone, 16);
    EXPECT_EQ(exact.pixel(0, 0), qRgb(128, 0, 128));
    EXPECT_EQ(exact.pixel(1, 0), qRgb(0, 255, 255));
    // Mid grey in black and white: diffusion gives about half white pixels, none gives none.
    for (int dither = 0; dither <= 7; ++dither) {
        Raster grey(32, 32, 24, qRgb(128, 128, 128));
        imaging::colorRes(grey, 1, imaging::kPaletteFixed, dither, 2);
        int white = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                white += grey.pixel(x, y) == qRgb(255, 255, 255);
        if (dither == 0)
            EXPECT_TRUE(white == 0 || white == 1024);
        else
            EXPECT_NEAR(white, 512, 40) << "dither " << dither;
    }
    // Optimal with two colours on a two-colour picture finds both.
    Raster two(8, 8, 24, qRgb(200, 30, 40));
    for (int x = 0; x < 8; ++x)
        two.setPixel(x, 0, qRgb(20, 40, 220));
    imaging::colorRes(two, 1, imaging::kPaletteOptimal, imaging::kDitherNone, 2);
    EXPECT_EQ(two.colorCount(), 2);
    EXPECT_LE(std::abs(qRed(two.pixel(3, 3)) - 200), 2);
    EXPECT_LE(std::abs(qBlue(two.pixel(3, 0)) - 220), 2);
}

TEST(Filters, ColorResAboveEightBits)
{
    Raster r(2, 1, 24);
    r.setPixel(0, 0, qRgb(7, 8, 255));
    r.setPixel(1, 0, qRgb(100, 101, 102));
    imaging::colorRes(r, 16, 4, 1, 0);  // a dithering choice left over from the dialog is ignored
    EXPECT_EQ(r.bits(), 16);
    // five bits a channel: 7 -> 0, 8 -> 8 (1 of 31), 100 -> 99 (12 of 31), 102 -> 99
    EXPECT_EQ(r.pixel(0, 0), qRgb(0, 8, 255));
    EXPECT_EQ(r.pixel(1, 0), qRgb(99, 99, 99));
    Raster deep = noisy(5, 5);
    const Raster before = deep;
    imaging::colorRes(deep, 32, 0, 0, 0);
    EXPECT_EQ(deep.bits(), 32);
    EXPECT_EQ(firstDifference(deep, before), "");
}

TEST(Filters, HalftoneGivesBlackAndWhiteDots)
{
    for (int type : {0, 1})
        for (int angle : {0, 4500, -36000}) {
            Raster r = noisy(40, 40);
            imaging::halftone(r, type, angle);
            EXPECT_EQ(r.bits(), 1);
            EXPECT_LE(r.colorCount(), 2);
            Raster white(16, 16, 24, qRgb(255, 255, 255)), black(16, 16, 24, qRgb(0, 0, 0));
            imaging::halftone(white, type, angle);
            imaging::halftone(black, type, angle);
            EXPECT_EQ(white.colorCount(), 1);
            EXPECT_EQ(white.pixel(3, 3), qRgb(255, 255, 255));
            EXPECT_EQ(black.pixel(3, 3), qRgb(0, 0, 0));
            // Mid grey gives a mixture of both.
            Raster grey(32, 32, 24, qRgb(128, 128, 128));
            imaging::halftone(grey, type, angle);
            EXPECT_EQ(grey.colorCount(), 2);
        }
}

TEST(Filters, RegionLimitsEveryFilter)
{
    struct Case {
        const char* name;
        std::function<void(Raster&)> apply;
        bool sameInsideAsWhole;  // false for the ones that measure the changed pixels
    };
    const Case cases[] = {
        {"invert", [](Raster& r) { imaging::invert(r); }, true},
        {"grayscale", [](Raster& r) { imaging::grayscale(r, 8); }, true},
        {"intensity", [](Raster& r) { imaging::intensity(r, 300); }, true},
        {"contrast", [](Raster& r) { imaging::contrast(r, 300); }, true},
        {"gamma", [](Raster& r) { imaging::gammaCorrect(r, 250); }, true},
        {"hue", [](Raster& r) { imaging::hue(r, 90); }, true},
        {"saturation", [](Raster& r) { imaging::saturation(r, 500); }, true},
        {"posterize", [](Raster& r) { imaging::posterize(r, 3); }, true},
        {"intensity detect", [](Raster& r) { imaging::intensityDetect(r, 50, 150); }, true},
        {"noise", [](Raster& r) { imaging::addNoise(r, 500, 0); }, true},
        {"median", [](Raster& r) { imaging::median(r, 5); }, true},
        {"average", [](Raster& r) { imaging::average(r, 6); }, true},
        {"sharpen", [](Raster& r) { imaging::sharpen(r, 800); }, true},
        {"emboss", [](Raster& r) { imaging::emboss(r, 3, 500); }, true},
        {"spatial", [](Raster& r) { imaging::spatialFilter(r, 16); }, true},
        {"halftone", [](Raster& r) { imaging::halftone(r, 0, 0); }, true},
        {"mosaic", [](Raster& r) { imaging::mosaic(r, 4); }, false},
        {"histo contrast", [](Raster& r) { imaging::histoContrast(r, 500); }, false},
        {"histo equalize", [](Raster& r) { imaging::histoEqualize(r); }, false},
        {"stretch", [](Raster& r) { imaging::stretchIntensity(r); }, false},
        {"colour resolution", [](Raster& r) { imaging::colorRes(r, 4, 2, 1, 16); }, false},
        {"fill", [](Raster& r) { r.fill(qRgb(1, 2, 3)); }, true},
    };
    const Raster src = noisy(30, 24);
    const imaging::Region region = imaging::Region::ellipse(QRect(5, 4, 17, 13));
    for (const Case& c : cases) {
        Raster whole = src;
        c.apply(whole);
        Raster part = src;
        part.setRegion(region);
        c.apply(part);
        EXPECT_EQ(part.bits(), 24) << c.name;
        int changed = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 30; ++x) {
                if (!region.contains(x, y)) {
                    ASSERT_EQ(part.pixel(x, y), src.pixel(x, y)) << c.name << " at " << x << "," << y;
                } else {
                    changed += part.pixel(x, y) != src.pixel(x, y);
                    if (c.sameInsideAsWhole)
                        ASSERT_EQ(part.pixel(x, y), whole.pixel(x, y)) << c.name << " at " << x << "," << y;
                }
            }
        EXPECT_GT(changed, 0) << c.name;
    }
}

TEST(Filters, BadArgumentsAndEmptyPicturesAreRefused)
{
    struct Case {
        const char* name;
        std::function<void(Raster&)> apply;
    };
    const Case bad[] = {
        {"grayscale 24", [](Raster& r) { imaging::grayscale(r, 24); }},
        {"intensity 1001", [](Raster& r) { imaging::intensity(r, 1001); }},
        {"contrast -1001", [](Raster& r) { imaging::contrast(r, -1001); }},
        {"gamma 0", [](Raster& r) { imaging::gammaCorrect(r, 0); }},
        {"gamma 501", [](Raster& r) { imaging::gammaCorrect(r, 501); }},
        {"hue 361", [](Raster& r) { imaging::hue(r, 361); }},
        {"saturation 2000", [](Raster& r) { imaging::saturation(r, 2000); }},
        {"posterize 0", [](Raster& r) { imaging::posterize(r, 0); }},
        {"histo contrast 1001", [](Raster& r) { imaging::histoContrast(r, 1001); }},
        {"detect 300", [](Raster& r) { imaging::intensityDetect(r, 0, 300); }},
        {"detect swapped", [](Raster& r) { imaging::intensityDetect(r, 200, 100); }},
        {"noise 1001", [](Raster& r) { imaging::addNoise(r, 1001, 0); }},
        {"noise channel 4", [](Raster& r) { imaging::addNoise(r, 10, 4); }},
        {"median 0", [](Raster& r) { imaging::median(r, 0); }},
        {"median 256", [](Raster& r) { imaging::median(r, 256); }},
        {"average -3", [](Raster& r) { imaging::average(r, -3); }},
        {"sharpen 1001", [](Raster& r) { imaging::sharpen(r, 1001); }},
        {"emboss direction 8", [](Raster& r) { imaging::emboss(r, 8, 100); }},
        {"emboss depth -1", [](Raster& r) { imaging::emboss(r, 0, -1); }},
        {"mosaic 0", [](Raster& r) { imaging::mosaic(r, 0); }},
        {"spatial 17", [](Raster& r) { imaging::spatialFilter(r, 17); }},
        {"colorres bits 3", [](Raster& r) { imaging::colorRes(r, 3, 1, 0, 8); }},
        {"colorres palette 3", [](Raster& r) { imaging::colorRes(r, 8, 3, 0, 256); }},
        {"colorres netscape 4 bits", [](Raster& r) { imaging::colorRes(r, 4, 64, 0, 16); }},
        {"colorres dither 8", [](Raster& r) { imaging::colorRes(r, 8, 1, 8, 256); }},
        {"colorres colours 17 at 4 bits", [](Raster& r) { imaging::colorRes(r, 4, 2, 0, 17); }},
        {"colorres colours at 24 bits", [](Raster& r) { imaging::colorRes(r, 24, 0, 0, 256); }},
        {"colorres order 1 at 24 bits", [](Raster& r) { imaging::colorRes(r, 24, 1, 0, 0); }},
        {"halftone type 2", [](Raster& r) { imaging::halftone(r, 2, 0); }},
        {"halftone angle", [](Raster& r) { imaging::halftone(r, 0, 36001); }},
    };
    const Raster src = noisy(6, 6);
    for (const Case& c : bad) {
        Raster r = src;
        try {
            c.apply(r);
            ADD_FAILURE() << c.name << " was accepted";
        } catch (const imaging::ImagingError& e) {
            EXPECT_EQ(e.code(), imaging::kErrBadParam) << c.name;
        }
        EXPECT_EQ(r, src) << c.name << " changed the picture";
    }
    Raster empty;
    try {
        imaging::median(empty, 3);
        ADD_FAILURE() << "median of nothing";
    } catch (const imaging::ImagingError& e) {
        EXPECT_EQ(e.code(), imaging::kErrBadHandle);
    }
}
