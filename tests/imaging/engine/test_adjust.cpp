#include "imaging/engine/adjust.h"

#include <gtest/gtest.h>

#include <functional>

using imaging::Raster;

namespace {

using Adjust = std::function<void(Raster&, int)>;

struct Op {
    const char* name;
    Adjust apply;
    int limit;
    bool keepsGreyLevel;
};

const Op kOps[] = {
    {"saturation", imaging::adjustSaturation, 1000, true},
    {"colour contrast", imaging::adjustColourContrast, 1000, true},
    {"hue", imaging::adjustHue, 360, true},
    {"intensity", imaging::adjustIntensity, 1000, false},
};

QRgb adjusted(const Adjust& op, QRgb c, int strength)
{
    Raster r(1, 1, 24, c);
    op(r, strength);
    return r.pixel(0, 0);
}

std::string rgb(QRgb c)
{
    return std::to_string(qRed(c)) + "," + std::to_string(qGreen(c)) + "," + std::to_string(qBlue(c));
}

}  // namespace

// Expected values worked out by hand from each adjustment's formula.
TEST(Adjust, KnownColoursComeOutAsTheFormulaSays)
{
    struct Row {
        const char* name;
        Adjust op;
        QRgb in;
        int strength;
        QRgb out;
    };
    const Row rows[] = {
        // S 0.498 doubled, V and the middle channel's place (0.504) kept.
        {"saturation doubles", imaging::adjustSaturation, qRgb(255, 192, 128), 100, qRgb(255, 129, 1)},
        {"saturation clamps at full", imaging::adjustSaturation, qRgb(200, 150, 100), 500, qRgb(200, 100, 0)},
        {"saturation -100 leaves the brightest channel's grey", imaging::adjustSaturation, qRgb(200, 150, 100), -100, qRgb(200, 200, 200)},
        // S 0.5 squared is 0.25: min 150, middle half-way.
        {"colour contrast 400 squares S", imaging::adjustColourContrast, qRgb(200, 150, 100), 400, qRgb(200, 175, 150)},
        {"colour contrast keeps full colour", imaging::adjustColourContrast, qRgb(200, 50, 0), 400, qRgb(200, 50, 0)},
        {"colour contrast -400 takes the root", imaging::adjustColourContrast, qRgb(200, 150, 150), -400, qRgb(200, 100, 100)},
        // The red row of the matrix at 120 degrees: (-0.365, 0.443, -0.362) x 255.
        {"red turned by 120 is green", imaging::adjustHue, qRgb(255, 0, 0), 120, qRgb(0, 113, 0)},
        {"hue 0 changes nothing", imaging::adjustHue, qRgb(12, 200, 99), 0, qRgb(12, 200, 99)},
        {"intensity -500 leaves a third of the value as grey", imaging::adjustIntensity, qRgb(192, 64, 0), -500, qRgb(64, 62, 62)},
        {"intensity +375 brightens by half, colour kept", imaging::adjustIntensity, qRgb(100, 50, 0), 375, qRgb(150, 75, 0)},
        {"intensity -750 is black", imaging::adjustIntensity, qRgb(100, 50, 0), -750, qRgb(0, 0, 0)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(rgb(adjusted(row.op, row.in, row.strength)), rgb(row.out)) << row.name;
}

TEST(Adjust, BlackStaysBlackAndGreysStayGrey)
{
    for (const Op& op : kOps) {
        for (int strength : {-op.limit, -10, 10, op.limit}) {
            EXPECT_EQ(rgb(adjusted(op.apply, qRgb(0, 0, 0), strength)), "0,0,0")
                << op.name << " " << strength;
            const QRgb grey = adjusted(op.apply, qRgb(150, 150, 150), strength);
            EXPECT_TRUE(qRed(grey) == qGreen(grey) && qGreen(grey) == qBlue(grey))
                << op.name << " " << strength << ": " << rgb(grey);
            if (op.keepsGreyLevel) {
                EXPECT_EQ(qRed(grey), 150) << op.name << " " << strength;
            }
        }
    }
}

TEST(Adjust, OnlyTheRegionChangesAndThePaletteFollowsWithoutOne)
{
    Raster r(4, 1, 24, qRgb(255, 192, 128));
    r.setRegion(imaging::Region::rectangle(QRect(1, 0, 2, 1)));
    imaging::adjustSaturation(r, -100);
    EXPECT_EQ(rgb(r.pixel(0, 0)), "255,192,128");
    EXPECT_EQ(rgb(r.pixel(1, 0)), "255,255,255");
    EXPECT_EQ(rgb(r.pixel(2, 0)), "255,255,255");
    EXPECT_EQ(rgb(r.pixel(3, 0)), "255,192,128");

    Raster indexed = Raster::fromImage([] {
        QImage image(2, 1, QImage::Format_Indexed8);
        image.setColorTable({qRgb(0, 0, 0), qRgb(200, 100, 0)});
        image.setPixel(0, 0, 0);
        image.setPixel(1, 0, 1);
        return image;
    }());
    ASSERT_EQ(indexed.bits(), 8);
    imaging::adjustSaturation(indexed, -100);
    EXPECT_EQ(rgb(indexed.pixel(1, 0)), "200,200,200");
    EXPECT_EQ(rgb(indexed.palette().at(1)), "200,200,200");
    EXPECT_EQ(rgb(indexed.toImage().pixel(1, 0)), "200,200,200");
}

TEST(Adjust, EmptyPictureAndStrengthOutOfRangeAreErrors)
{
    for (const Op& op : kOps) {
        Raster empty;
        try {
            op.apply(empty, 10);
            ADD_FAILURE() << op.name << ": no error for an empty picture";
        } catch (const imaging::ImagingError& e) {
            EXPECT_EQ(e.code(), imaging::kErrBadHandle) << op.name;
        }
        Raster r(1, 1, 24, qRgb(10, 20, 30));
        try {
            op.apply(r, op.limit + 1);
            ADD_FAILURE() << op.name << ": no error for strength " << op.limit + 1;
        } catch (const imaging::ImagingError& e) {
            EXPECT_EQ(e.code(), imaging::kErrBadParam) << op.name;
        }
        EXPECT_EQ(rgb(r.pixel(0, 0)), "10,20,30") << op.name << ": changed by a refused call";
    }
}
