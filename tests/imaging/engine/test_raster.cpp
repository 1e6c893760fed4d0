#include "imaging/engine/raster.h"

#include <gtest/gtest.h>

using imaging::Raster;

TEST(Raster, CreateFillCopyAndFree)
{
    Raster r(3, 2, 24, qRgb(10, 20, 30));
    EXPECT_EQ(r.width(), 3);
    EXPECT_EQ(r.height(), 2);
    EXPECT_EQ(r.bits(), 24);
    EXPECT_EQ(r.pixel(2, 1), qRgb(10, 20, 30));

    Raster copy = r;  // assignment copies the picture
    r.setPixel(0, 0, qRgb(1, 2, 3));
    EXPECT_EQ(copy.pixel(0, 0), qRgb(10, 20, 30));

    r.fill(qRgb(9, 9, 9));
    EXPECT_EQ(r.pixel(1, 1), qRgb(9, 9, 9));
    r.free();
    EXPECT_TRUE(r.isNull());
    EXPECT_EQ(r.width(), 0);
}

TEST(Raster, RefusesBadSizesAndDepthsBeforeAllocating)
{
    struct Case { int w, h, bits, code; };
    const Case cases[] = {{0, 5, 24, imaging::kErrBadSize},       {5, -1, 24, imaging::kErrBadSize},
                          {40000, 2, 24, imaging::kErrBadSize},   {30000, 30000, 24, imaging::kErrBadSize},
                          {4, 4, 3, imaging::kErrBadBits},        {4, 4, 0, imaging::kErrBadBits}};
    for (const Case& c : cases) {
        try {
            Raster r(c.w, c.h, c.bits);
            ADD_FAILURE() << c.w << "x" << c.h << "x" << c.bits << " accepted";
        } catch (const imaging::ImagingError& e) {
            EXPECT_EQ(e.code(), c.code) << c.w << "x" << c.h << "x" << c.bits;
        }
    }
}

TEST(Raster, LowDepthsKeepTheirPaletteAndSnapToIt)
{
    Raster mask(2, 2, 1, qRgb(250, 250, 250));
    EXPECT_EQ(mask.pixel(0, 0), qRgb(255, 255, 255));  // blank of a 1-bit picture is a palette colour
    EXPECT_EQ(mask.palette().size(), 2);
    EXPECT_EQ(mask.toImage().format(), QImage::Format_Mono);

    Raster colour(3, 1, 24);
    colour.setPixel(0, 0, qRgb(255, 0, 0));
    colour.setPixel(1, 0, qRgb(0, 0, 255));
    colour.setPixel(2, 0, qRgb(255, 0, 0));
    colour.setBits(8);
    EXPECT_EQ(colour.bits(), 8);
    EXPECT_EQ(colour.palette().size(), 2);  // its own colours fit: kept exactly
    EXPECT_EQ(colour.pixel(1, 0), qRgb(0, 0, 255));
    const QImage indexed = colour.toImage();
    EXPECT_EQ(indexed.format(), QImage::Format_Indexed8);
    EXPECT_EQ(indexed.pixel(1, 0) | 0xff000000u, qRgb(0, 0, 255));

    Raster many(16, 16, 24);
    for (int i = 0; i < 256; ++i)
        many.setPixel(i % 16, i / 16, qRgb(i, 255 - i, (i * 7) & 0xff));
    many.setBits(1);
    EXPECT_LE(many.colorCount(), 2);
}

TEST(Raster, CountsDistinctColours)
{
    Raster r(4, 4, 24, qRgb(1, 1, 1));
    EXPECT_EQ(r.colorCount(), 1);
    r.setPixel(0, 0, qRgb(2, 2, 2));
    r.setPixel(3, 3, qRgb(0, 0, 0));
    EXPECT_EQ(r.colorCount(), 3);
    EXPECT_EQ(Raster().colorCount(), 0);
}

TEST(Raster, FillStaysInsideTheRegion)
{
    Raster r(5, 5, 24, qRgb(0, 0, 0));
    r.setRegion(imaging::Region::rectangle(QRect(1, 1, 2, 2)), 2, 2);
    EXPECT_EQ(r.region().bounds(), QRect(3, 3, 2, 2));
    r.fill(qRgb(255, 0, 0));
    EXPECT_EQ(r.pixel(3, 3), qRgb(255, 0, 0));
    EXPECT_EQ(r.pixel(4, 4), qRgb(255, 0, 0));
    EXPECT_EQ(r.pixel(2, 2), qRgb(0, 0, 0));
    EXPECT_EQ(r.colorCount(), 2);
}

TEST(Raster, FromImageTakesDepthAndPalette)
{
    QImage mono(3, 3, QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.fill(1);
    const Raster m = Raster::fromImage(mono);
    EXPECT_EQ(m.bits(), 1);
    EXPECT_EQ(m.pixel(1, 1), qRgb(255, 255, 255));

    QImage argb(2, 2, QImage::Format_ARGB32);
    argb.fill(qRgba(1, 2, 3, 128));
    EXPECT_EQ(Raster::fromImage(argb).bits(), 32);
    EXPECT_EQ(Raster::fromImage(QImage(2, 2, QImage::Format_RGB888)).bits(), 24);
}
