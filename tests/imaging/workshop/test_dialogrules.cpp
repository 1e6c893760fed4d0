#include "imaging/workshop/dialogrules.h"

#include <gtest/gtest.h>

using namespace workshop;

TEST(ValueDialogRules, TypedTextFollowsTheRangeRules)
{
    ValueDialogRules d;
    d.InitTheForm(QStringLiteral("輝度"), QStringLiteral("ﾚﾍﾞﾙ:"), 100, -100, 0, 10, 1, false);
    EXPECT_FALSE(d.resizeBoxShown());
    EXPECT_EQ(d.text(), QStringLiteral("0"));
    EXPECT_TRUE(ValueDialogRules::acceptsKey(u'-'));
    EXPECT_FALSE(ValueDialogRules::acceptsKey(u'.'));
    EXPECT_FALSE(d.textChanged(QStringLiteral("42")).message);
    EXPECT_EQ(d.GetAmount(), 42);
    // Typing "-5": the lone "-" is not a number, so the message comes and 42 is put back.
    const TextFeedback lone = d.textChanged(QStringLiteral("-"));
    EXPECT_EQ(lone.message, rangeMessage());
    EXPECT_EQ(lone.text, QStringLiteral("42"));
    EXPECT_EQ(lone.value, 42);
    const TextFeedback high = d.textChanged(QStringLiteral("101"));
    EXPECT_TRUE(high.message);
    EXPECT_EQ(high.text, QStringLiteral("42"));
    // Empty text is allowed while typing but refused by OK.
    EXPECT_FALSE(d.textChanged(QString()).message);
    EXPECT_FALSE(d.ok());
    EXPECT_FALSE(d.UserResult());
    d.sliderMoved(-100);
    EXPECT_EQ(d.text(), QStringLiteral("-100"));
    EXPECT_TRUE(d.ok());
    EXPECT_TRUE(d.UserResult());
    EXPECT_EQ(d.GetAmount(), -100);
}

TEST(ValueDialogRules, ResizeBoxOnlyWhenAsked)
{
    ValueDialogRules d;
    d.InitTheForm(QStringLiteral("回転"), QStringLiteral("回転角度( 1/10°):"), 3600, -3600, 0, 50, 10, true);
    EXPECT_TRUE(d.resizeBoxShown());
    EXPECT_TRUE(d.GetResizeHorz());
    d.setResizeTicked(false);
    EXPECT_FALSE(d.GetResizeHorz());
}

TEST(FilterDialogRules, SplitsItemsAtEverySemicolon)
{
    struct Case {
        const char* filters;
        QStringList items;
    };
    const Case cases[] = {
        {"ﾀｲﾙ;ｽﾄﾚｯﾁ", {QStringLiteral("ﾀｲﾙ"), QStringLiteral("ｽﾄﾚｯﾁ")}},
        {"上", {QStringLiteral("上")}},
        {"a;b;", {QStringLiteral("a"), QStringLiteral("b"), QString()}},
    };
    for (const Case& c : cases) {
        FilterDialogRules d;
        d.InitTheForm(QStringLiteral("ｱﾝﾀﾞｰﾚｲ ｴﾌｪｸﾄ"), QString::fromUtf8(c.filters));
        EXPECT_EQ(d.items, c.items) << c.filters;
        EXPECT_EQ(d.GetAmount(), 0);
    }
    FilterDialogRules d;
    d.InitTheForm(QStringLiteral("ｴﾝﾎﾞｽ"), QStringLiteral("上;左上;左;左下;下;右下;右;右上"));
    d.select(5);
    d.select(99);
    d.ok();
    EXPECT_TRUE(d.UserResult());
    EXPECT_EQ(d.GetAmount(), 5);
}

TEST(ColorResRules, OpensOnThePicturesDepth)
{
    ColorResRules deep(24);
    EXPECT_EQ(deep.selectedBits(), 24);
    EXPECT_EQ(deep.GetDither(), 0);
    EXPECT_FALSE(deep.ditherEnabled());
    EXPECT_FALSE(deep.paletteEnabled(1));
    EXPECT_TRUE(deep.orderEnabled());
    EXPECT_EQ(deep.GetPalette(), 4);
    deep.chooseOrder(0);
    EXPECT_EQ(deep.GetPalette(), 0);

    ColorResRules low(8);
    EXPECT_EQ(low.GetDither(), 1);
    EXPECT_TRUE(low.paletteEnabled(64));
    EXPECT_FALSE(low.orderEnabled());
    EXPECT_EQ(low.GetPalette(), 1);
    low.choosePalette(64);
    EXPECT_EQ(low.GetPalette(), 64);
    // Netscape is for 8 bits only: leaving 8 bits falls back to the fixed palette.
    low.chooseBits(4);
    EXPECT_FALSE(low.paletteEnabled(64));
    EXPECT_EQ(low.GetPalette(), 1);
    low.choosePalette(8);
    EXPECT_EQ(low.GetPalette(), 8);
    low.chooseBits(32);
    EXPECT_EQ(low.GetBits(), 32);
    EXPECT_FALSE(low.ditherEnabled());
    EXPECT_EQ(low.GetPalette(), 4);

    // A depth with no option of its own selects none; GetBits then answers 32.
    ColorResRules odd(2);
    EXPECT_EQ(odd.selectedBits(), 0);
    EXPECT_EQ(odd.GetBits(), 32);
}

TEST(ResizeRules, HeightRangeFollowsThePicturesProportion)
{
    struct Case {
        int w, h, expectedMax;
    };
    const Case cases[] = {{640, 480, 12288}, {400, 100, 4096}, {100, 400, 32767}, {3, 2, 10923}, {6, 1, 2731}};
    for (const Case& c : cases) {
        ResizeRules d;
        d.InitTheForm(0, c.w, c.h);
        EXPECT_EQ(d.range2.max, c.expectedMax) << c.w << "x" << c.h;
        EXPECT_EQ(d.range1.max, 16384);
    }
    // halves go to even: 16384 x 1 / 32768 = 0.5 -> 0; 3 x 1 / 2 = 1.5 -> 2
    EXPECT_EQ(proportion(16384, 1, 32768), 0);
    EXPECT_EQ(proportion(3, 1, 2), 2);
    EXPECT_EQ(proportion(5, 1, 2), 2);
}

TEST(ResizeRules, AspectCouplesTheTwoValues)
{
    ResizeRules d;
    d.InitTheForm(0, 640, 480);
    EXPECT_EQ(d.caption, QStringLiteral("ﾘｻｲｽﾞ"));
    EXPECT_TRUE(d.aspect());
    EXPECT_FALSE(d.resample());
    EXPECT_EQ(d.value1(), 640);
    EXPECT_EQ(d.value2(), 480);
    EXPECT_FALSE(d.value1Typed(QStringLiteral("320")).message);
    EXPECT_EQ(d.value2(), 240);
    d.setValue2(300);
    EXPECT_EQ(d.value1(), 400);
    // Out of range: the message and the last accepted text back.
    const TextFeedback f = d.value1Typed(QStringLiteral("16385"));
    EXPECT_EQ(f.message, rangeMessage());
    EXPECT_EQ(f.text, QStringLiteral("400"));
    EXPECT_FALSE(ResizeRules::acceptsKey(u'-'));
    // Without aspect the values are free.
    d.setAspect(false);
    d.setValue1(100);
    EXPECT_EQ(d.value2(), 300);
    d.setAspect(true);
    EXPECT_EQ(d.value2(), 75);
    d.setResample(true);
    EXPECT_TRUE(d.ok());
    bool ok = false, resample = false;
    int v1 = 0, v2 = 0;
    d.GetResults(ok, v1, v2, resample);
    EXPECT_TRUE(ok);
    EXPECT_EQ(v1, 100);
    EXPECT_EQ(v2, 75);
    EXPECT_TRUE(resample);
    // An empty box makes OK do nothing.
    ResizeRules empty;
    empty.InitTheForm(0, 10, 10);
    empty.value2Typed(QString());
    EXPECT_FALSE(empty.ok());
}

TEST(ResizeRules, OtherForms)
{
    ResizeRules region;
    region.InitTheForm(3, 640, 480, 200, 50);
    EXPECT_EQ(region.caption, QStringLiteral("ﾘｰｼﾞｮﾝのﾘｻｲｽﾞ"));
    EXPECT_EQ(region.value1(), 200);
    EXPECT_EQ(region.value2(), 50);
    EXPECT_EQ(region.range2.max, 4096);
    region.setValue1(100);
    EXPECT_EQ(region.value2(), 25);

    ResizeRules intensity;
    intensity.InitTheForm(1, 640, 480);
    EXPECT_FALSE(intensity.checkBoxesShown);
    EXPECT_EQ(intensity.value1(), 128);
    intensity.setValue1(10);
    EXPECT_EQ(intensity.value2(), 128);  // the hidden aspect box does not couple intensities
    EXPECT_EQ(intensity.range2.max, 255);

    ResizeRules stamp;
    stamp.InitTheForm(2, 640, 480);
    EXPECT_EQ(stamp.resampleCaption, QStringLiteral("8-ﾋﾞｯﾄ"));
    EXPECT_EQ(stamp.range1.max, 125);
    EXPECT_EQ(stamp.value2(), 64);
}
