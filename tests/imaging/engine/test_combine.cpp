#include "imaging/engine/raster.h"

#include <gtest/gtest.h>

using imaging::Raster;

namespace {

// A picture whose every pixel differs, so a misplaced copy cannot go unnoticed.
Raster numbered(int w, int h, int seed)
{
    Raster r(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            r.setPixel(x, y, qRgb((x * 37 + seed) & 0xff, (y * 53 + seed) & 0xff, (x * y + seed * 7) & 0xff));
    return r;
}

int sat(int v) { return v > 255 ? 255 : v; }

QRgb expected(int code, QRgb d, QRgb s)
{
    if (code & 32)
        d = qRgb(0, 0, 0);
    auto each = [&](auto f) { return qRgb(f(qRed(d), qRed(s)), f(qGreen(d), qGreen(s)), f(qBlue(d), qBlue(s))); };
    switch (code & ~32) {
    case 0: return each([](int a, int b) { return a & b; });
    case 256: return each([](int a, int b) { return a | b; });
    case 512: return each([](int a, int b) { return a ^ b; });
    default: return each([](int a, int b) { return sat(a + b); });
    }
}

}  // namespace

class CombineCode : public ::testing::TestWithParam<int> {};

TEST_P(CombineCode, EveryPixelOfTheBoxFollowsTheOperation)
{
    const int code = GetParam();
    const Raster before = numbered(9, 7, 3);
    const Raster src = numbered(6, 5, 101);
    Raster dst = before;
    dst.combine(2, 1, 4, 3, src, 1, 2, code);
    for (int y = 0; y < dst.height(); ++y) {
        for (int x = 0; x < dst.width(); ++x) {
            const bool inside = x >= 2 && x < 6 && y >= 1 && y < 4;
            const QRgb want = inside ? expected(code, before.pixel(x, y), src.pixel(x - 2 + 1, y - 1 + 2))
                                     : before.pixel(x, y);
            ASSERT_EQ(dst.pixel(x, y), want) << "code " << code << " at " << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllCodes, CombineCode, ::testing::Values(0, 32, 256, 288, 512, 544, 768, 800));

TEST(Combine, MaskThenColourDrawsAPartAndLeavesTheRest)
{
    Raster canvas(4, 1, 24, qRgb(200, 100, 50));
    Raster mask(4, 1, 1, qRgb(255, 255, 255));
    mask.setPixel(1, 0, qRgb(0, 0, 0));
    mask.setPixel(2, 0, qRgb(0, 0, 0));
    Raster colour(4, 1, 24, qRgb(0, 0, 0));
    colour.setPixel(1, 0, qRgb(255, 192, 128));
    colour.setPixel(2, 0, qRgb(0, 0, 0));  // black inside the part stays black
    canvas.combine(0, 0, 4, 1, mask, 0, 0, imaging::kCombineMask);
    canvas.combine(0, 0, 4, 1, colour, 0, 0, imaging::kCombineColour);
    EXPECT_EQ(canvas.pixel(0, 0), qRgb(200, 100, 50));
    EXPECT_EQ(canvas.pixel(1, 0), qRgb(255, 192, 128));
    EXPECT_EQ(canvas.pixel(2, 0), qRgb(0, 0, 0));
    EXPECT_EQ(canvas.pixel(3, 0), qRgb(200, 100, 50));
}

struct ClipCase {
    const char* name;
    int dx, dy, w, h, sx, sy;
};

class CombineClip : public ::testing::TestWithParam<ClipCase> {};

// Reference: visit every box pixel and copy only those inside both pictures.
TEST_P(CombineClip, CopiesExactlyThePixelsInsideBothPictures)
{
    const ClipCase c = GetParam();
    const Raster before = numbered(8, 6, 1);
    const Raster src = numbered(5, 4, 77);
    Raster dst = before;
    dst.combine(c.dx, c.dy, c.w, c.h, src, c.sx, c.sy, imaging::kCombineCopy);
    Raster want = before;
    for (int j = 0; j < c.h; ++j) {
        for (int i = 0; i < c.w; ++i) {
            const int x = c.dx + i, y = c.dy + j, u = c.sx + i, v = c.sy + j;
            if (x >= 0 && y >= 0 && x < 8 && y < 6 && u >= 0 && v >= 0 && u < 5 && v < 4)
                want.setPixel(x, y, src.pixel(u, v));
        }
    }
    EXPECT_TRUE(dst == want) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Edges, CombineClip,
    ::testing::Values(ClipCase{"inside", 1, 1, 3, 2, 1, 1},
                      ClipCase{"negative destination left", -2, 1, 4, 2, 0, 0},
                      ClipCase{"negative destination top", 1, -3, 4, 5, 0, 0},
                      ClipCase{"off destination right and bottom", 6, 4, 5, 4, 0, 0},
                      ClipCase{"negative source", 2, 2, 4, 3, -1, -2},
                      ClipCase{"off source right and bottom", 0, 0, 8, 6, 2, 1},
                      ClipCase{"both negative", -1, -1, 9, 9, -2, -1},
                      ClipCase{"entirely outside destination", 20, 0, 3, 3, 0, 0},
                      ClipCase{"entirely outside source", 0, 0, 3, 3, -10, 0},
                      ClipCase{"zero size", 1, 1, 0, 3, 0, 0},
                      ClipCase{"negative size", 1, 1, -3, 3, 0, 0}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (!isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return n;
    });

TEST(Combine, ExtremeArgumentsDoNotOverflow)
{
    Raster dst = numbered(4, 4, 0);
    const Raster before = dst;
    const Raster src = numbered(4, 4, 9);
    dst.combine(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, src, 0, 0, 288);
    dst.combine(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, src, INT32_MIN, INT32_MIN, 288);
    EXPECT_TRUE(dst == before);
}

TEST(Combine, StaysInsideTheDestinationsRegion)
{
    Raster dst(6, 6, 24, qRgb(255, 255, 255));
    dst.setRegion(imaging::Region::rectangle(QRect(2, 2, 2, 3)));
    const Raster black(6, 6, 24, qRgb(0, 0, 0));
    dst.combine(0, 0, 6, 6, black, 0, 0, imaging::kCombineAnd);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(dst.pixel(x, y), QRect(2, 2, 2, 3).contains(x, y) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));

    Raster round(9, 9, 24, qRgb(255, 255, 255));
    round.setRegion(imaging::Region::ellipse(QRect(0, 0, 9, 9)));
    round.combine(0, 0, 9, 9, Raster(9, 9, 24, qRgb(0, 0, 0)), 0, 0, 32);
    EXPECT_EQ(round.pixel(4, 4), qRgb(0, 0, 0));
    EXPECT_EQ(round.pixel(0, 0), qRgb(255, 255, 255));  // corner lies outside the ellipse
}

TEST(Combine, OntoItselfReadsThePictureAsItWas)
{
    Raster r = numbered(6, 1, 5);
    const Raster before = r;
    r.combine(1, 0, 5, 1, r, 0, 0, imaging::kCombineCopy);
    for (int x = 1; x < 6; ++x)
        EXPECT_EQ(r.pixel(x, 0), before.pixel(x - 1, 0));
}

TEST(Combine, RefusesUnknownCodesAndEmptyPictures)
{
    Raster dst(2, 2, 24);
    const Raster src(2, 2, 24);
    for (int code : {1, 64, 1024, -1, 33})
        EXPECT_THROW(dst.combine(0, 0, 2, 2, src, 0, 0, code), imaging::ImagingError) << code;
    try {
        dst.combine(0, 0, 2, 2, Raster(), 0, 0, 0);
        FAIL();
    } catch (const imaging::ImagingError& e) {
        EXPECT_EQ(e.code(), imaging::kErrBadHandle);
    }
}

TEST(Underlay, TileMultipliesThePatternUnderThePicture)
{
    Raster pic(4, 2, 24, qRgb(255, 255, 255));
    pic.setPixel(1, 0, qRgb(0, 0, 0));
    Raster pattern(2, 1, 24, qRgb(255, 0, 0));
    pattern.setPixel(1, 0, qRgb(0, 0, 255));
    pic.underlay(pattern, 0);
    EXPECT_EQ(pic.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(pic.pixel(1, 0), qRgb(0, 0, 0));  // ink stays ink
    EXPECT_EQ(pic.pixel(2, 1), qRgb(255, 0, 0));
    EXPECT_EQ(pic.pixel(3, 1), qRgb(0, 0, 255));
    EXPECT_THROW(pic.underlay(pattern, 2), imaging::ImagingError);
}
