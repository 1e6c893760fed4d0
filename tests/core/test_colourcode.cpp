#include "core/colourcode.h"

#include <gtest/gtest.h>

#include <cstdlib>

using imaging::Raster;

namespace {

constexpr QRgb kSkin = qRgb(255, 192, 128);
constexpr QRgb kHair = qRgb(192, 64, 0);

// A colour picture as parts are stored: the part in its standard colour on black.
Raster partPicture(QRgb colour)
{
    Raster r(6, 4, 24, qRgb(0, 0, 0));
    r.setRegion(imaging::Region::rectangle(QRect(1, 1, 4, 2)));
    r.fill(colour);
    r.freeRegion();
    return r;
}

}  // namespace

TEST(ApplyColourCode, EachCodeGivesItsSwatchAndKeepsBlack)
{
    struct Row {
        int code;
        QRgb standard;
        QRgb swatch;
    };
    const Row rows[] = {
        {1, kSkin, qRgb(255, 128, 0)},
        {2, kSkin, qRgb(255, 224, 192)},
        {3, kHair, qRgb(64, 64, 64)},
        {4, kHair, qRgb(192, 192, 192)},
    };
    for (const Row& row : rows) {
        Raster picture = partPicture(row.standard);
        core::ApplyColourCode(picture, row.code);
        const QRgb got = picture.pixel(2, 1);
        EXPECT_LE(std::abs(qRed(got) - qRed(row.swatch)), 8) << "code " << row.code;
        EXPECT_LE(std::abs(qGreen(got) - qGreen(row.swatch)), 8) << "code " << row.code;
        EXPECT_LE(std::abs(qBlue(got) - qBlue(row.swatch)), 8) << "code " << row.code;
        EXPECT_EQ(picture.pixel(0, 0), qRgb(0, 0, 0)) << "code " << row.code;
        EXPECT_EQ(picture.pixel(5, 3), qRgb(0, 0, 0)) << "code " << row.code;
    }
}

TEST(ApplyColourCode, StandardAndUnknownCodesAndEmptyPicturesChangeNothing)
{
    for (int code : {0, 5, 6, -1, 99}) {
        Raster picture = partPicture(kHair);
        const Raster before = picture;
        core::ApplyColourCode(picture, code);
        EXPECT_EQ(picture, before) << "code " << code;
    }
    Raster empty;
    core::ApplyColourCode(empty, 1);
    EXPECT_TRUE(empty.isNull());
}
