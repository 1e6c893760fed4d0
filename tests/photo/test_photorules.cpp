// Sizes, storage depths, preview fitting and the automatic mask.
#include "photo/photorules.h"

#include <gtest/gtest.h>

using namespace photo;
using imaging::Raster;

TEST(PhotoRules, PicturesUpTo575By395FitThePortraitWindow)
{
    struct Case {
        int w, h;
        bool fits;
    };
    for (const Case& c : {Case{575, 395, true}, Case{1, 1, true}, Case{576, 395, false},
                          Case{575, 396, false}, Case{576, 396, false}, Case{100, 1000, false}})
        EXPECT_EQ(fitsPortraitWindow(QSize(c.w, c.h)), c.fits) << c.w << "x" << c.h;
}

TEST(PhotoRules, FieldSaveSettingsFollowDepthAndGreyness)
{
    Raster greyPalette(4, 4, 8, qRgb(90, 90, 90));
    greyPalette.setPalette({qRgb(0, 0, 0), qRgb(90, 90, 90), qRgb(255, 255, 255)});
    Raster colourPalette(4, 4, 8, qRgb(90, 90, 90));
    colourPalette.setPalette({qRgb(90, 90, 90), qRgb(255, 0, 0)});
    Raster greyTrue(4, 4, 24, qRgb(7, 7, 7));
    Raster colourTrue(4, 4, 24, qRgb(7, 7, 7));
    colourTrue.setPixel(3, 3, qRgb(7, 8, 7));

    struct Case {
        const char* name;
        Raster picture;
        FieldSaveSettings expected;
    };
    const Case cases[] = {
        {"1 bit", Raster(4, 4, 1), {26, 1, 0}},
        {"4 bits", Raster(4, 4, 4), {1, 4, 0}},
        {"8 bits grey palette", greyPalette, {20, 8, -4}},
        {"8 bits colour palette", colourPalette, {20, 24, -1}},
        {"24 bits grey", greyTrue, {20, 8, -4}},
        {"24 bits, one pixel of colour", colourTrue, {20, 24, -1}},
        {"32 bits colour", Raster(4, 4, 32, qRgb(10, 200, 30)), {20, 24, -1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fieldSaveSettings(c.picture), c.expected) << c.name;
}

TEST(PhotoRules, PreviewsFitTheirPictureCentred)
{
    struct Case {
        QSize control, picture;
        QRect expected;
    };
    const Case cases[] = {
        // Wider than the control: full width, centred vertically.
        {{200, 100}, {400, 100}, {0, 25, 200, 50}},
        // Taller: full height, centred horizontally.
        {{200, 100}, {100, 200}, {75, 0, 50, 100}},
        // Same shape: the whole control.
        {{200, 100}, {50, 25}, {0, 0, 200, 100}},
        // Small pictures are enlarged.
        {{120, 120}, {3, 1}, {0, 40, 120, 40}},
        {{200, 100}, {}, {}},
        {{0, 0}, {10, 10}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fitPreview(c.control, c.picture), c.expected) << c.picture.width() << "x" << c.picture.height();
}

TEST(PhotoRules, AutoMaskMakesTheEdgeConnectedWhiteTheBackground)
{
    // A near-white background (with a little noise), a dark ring, a white hole in the ring
    // and a light-grey pixel that is not near white.
    Raster main(9, 9, 24, qRgb(250, 245, 255));
    main.setPixel(0, 0, qRgb(kNearWhite, kNearWhite, kNearWhite));
    for (int y = 2; y <= 6; ++y)
        for (int x = 2; x <= 6; ++x)
            main.setPixel(x, y, qRgb(40, 20, 10));
    main.setPixel(4, 4, qRgb(255, 255, 255));
    main.setPixel(8, 8, qRgb(kNearWhite - 1, 255, 255));

    const Raster mask = makeAutoMask(main);
    ASSERT_EQ(mask.size(), main.size());
    EXPECT_EQ(mask.bits(), 1);
    QString seen;
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 9; ++x)
            seen += mask.pixel(x, y) == qRgb(255, 255, 255) ? u'.' : u'#';
    }
    EXPECT_EQ(seen, QStringLiteral("........."
                                   "........."
                                   "..#####.."
                                   "..#####.."
                                   "..#####.."
                                   "..#####.."
                                   "..#####.."
                                   "........."
                                   "........#"));

    // The stored main picture is black under the white of the mask and unchanged elsewhere.
    const Raster cleared = clearMaskedArea(main, mask);
    EXPECT_EQ(cleared.bits(), 24);
    EXPECT_EQ(cleared.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(cleared.pixel(3, 3), qRgb(40, 20, 10));
    EXPECT_EQ(cleared.pixel(4, 4), qRgb(255, 255, 255));
    EXPECT_EQ(cleared.pixel(8, 8), qRgb(kNearWhite - 1, 255, 255));
    EXPECT_EQ(main.pixel(0, 0), qRgb(kNearWhite, kNearWhite, kNearWhite));

    EXPECT_TRUE(makeAutoMask(Raster()).isNull());
    // A picture that is all figure gives an all-black mask.
    const Raster dark = makeAutoMask(Raster(3, 2, 24, qRgb(0, 0, 0)));
    EXPECT_EQ(dark, Raster(3, 2, 1, qRgb(0, 0, 0)));
}
