#include "core/captions.h"
#include "core/rounding.h"
#include "imaging/engine/raster.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

using namespace core;

namespace {

const QSize kCanvas(300, 300);

CaptionEntry boxAt(int width, int height, int left, int top, bool shown = true)
{
    CaptionEntry c;
    c.Text = QStringLiteral("文字");
    c.BoxWidth = std::int16_t(width);
    c.BoxHeight = std::int16_t(height);
    c.BoxLeft = std::int16_t(left);
    c.BoxTop = std::int16_t(top);
    c.Shown = shown;
    return c;
}

// Pixels of `image` inside and outside `box` that are not white.
struct Ink {
    int inside = 0;
    int outside = 0;
};
Ink inkOf(const QImage& image, const QRect& box)
{
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xffffff) != 0xffffff)
                ++(box.contains(x, y) ? ink.inside : ink.outside);
        }
    }
    return ink;
}

}  // namespace

TEST(Captions, BoxesAreKeptOnTheCanvas)
{
    struct Row {
        const char* name;
        int width, height, left, top;
        int expectedLeft, expectedTop;
    };
    const Row rows[] = {
        {"fits", 100, 20, 50, 60, 50, 60},
        {"at the far edges", 100, 20, 200, 280, 200, 280},
        {"wider than the canvas: left edge", 400, 20, 50, 60, 0, 60},
        {"taller than the canvas: top edge", 100, 400, 10, 50, 10, 0},
        {"past the right and bottom: moved back", 100, 20, 250, 290, 200, 280},
        {"partly off the left and top: stays", 100, 20, -2, -4, -2, -4},
        {"stored garbage", 32767, -32768, -32768, 32767, 0, 32767},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CaptionEntry c = boxAt(row.width, row.height, row.left, row.top);
        placeCaptionBox(c, kCanvas);
        EXPECT_EQ(c.BoxLeft, row.expectedLeft);
        EXPECT_EQ(c.BoxTop, row.expectedTop);
        EXPECT_EQ(c.BoxWidth, row.width);
    }
}

TEST(Captions, LayoutSizesOnlyTheEditedCaptionAndStoresFontDefaults)
{
    CaptionTable t;
    t[1] = boxAt(40, 10, 0, 0);
    t[1].Text = QStringLiteral("似顔絵ABC");
    t[1].TextSettingE = 4;
    t[1].TextSettingF = 2;
    t[2] = boxAt(40, 10, 290, 0);  // not edited: keeps its size, is moved back
    t[3] = boxAt(40, 10, 0, 0, false);
    t[4] = boxAt(40, 10, 0, 0);
    t[4].Text.clear();  // shown without text, as a stored file may have it
    CaptionDrawState state;
    state.CurrentCaption = 1;
    layoutCaptions(t, state, kCanvas);

    imaging::TextStyle style;
    style.fontName = QString::fromUtf16(kDefaultCaptionFont);
    style.fontSize = 12;
    const QSize text = imaging::Raster::textExtent(t[1].Text, style);
    ASSERT_GT(text.width(), 0);
    EXPECT_EQ(t[1].BoxWidth, roundToInt16(text.width() + 4 + text.width() / 6.0 / 2.0));
    EXPECT_EQ(t[1].BoxHeight, roundToInt16(text.height() + 2 + text.height() / 10.0));
    EXPECT_EQ(t[1].FontName, QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(t[1].FontSize, 12);
    EXPECT_EQ(t[2].BoxWidth, 40);
    EXPECT_EQ(t[2].BoxLeft, 260);
    EXPECT_TRUE(t[3].FontName.isEmpty());  // hidden captions are left alone
    EXPECT_EQ(t[3].FontSize, 0);

    // An edited caption without text has no average character to add.
    state.CurrentCaption = 4;
    t[4].TextSettingE = 3;
    layoutCaptions(t, state, kCanvas);
    EXPECT_EQ(t[4].BoxWidth, 3);
}

TEST(Captions, HeldArrowsStopAtTheirLimits)
{
    struct Row {
        const char* name;
        CaptionArrow arrow;
        int left, top;
        int steps;
        int expectedLeft, expectedTop;
    };
    // Box 100 x 20 on 300 x 300: the far limits are left 200 and top 280.
    const Row rows[] = {
        {"left from 3: one step to -2", CaptionArrow::Left, 3, 50, 1, -2, 50},
        {"left from 12", CaptionArrow::Left, 12, 50, 3, -3, 50},
        {"up from 0", CaptionArrow::Up, 50, 0, 1, 50, -5},
        {"down to the edge", CaptionArrow::Down, 50, 270, 2, 50, 280},
        {"down past the edge: the redraw clamps", CaptionArrow::Down, 50, 278, 1, 50, 280},
        {"right at the edge", CaptionArrow::Right, 200, 50, 0, 200, 50},
        {"right to the edge", CaptionArrow::Right, 185, 50, 3, 200, 50},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CaptionEntry c = boxAt(100, 20, row.left, row.top);
        const int steps = moveCaptionWhileHeld(c, row.arrow, kCanvas, [] { return true; },
                                               [&] { placeCaptionBox(c, kCanvas); });
        EXPECT_EQ(steps, row.steps);
        EXPECT_EQ(c.BoxLeft, row.expectedLeft);
        EXPECT_EQ(c.BoxTop, row.expectedTop);
    }

    CaptionEntry hidden = boxAt(100, 20, 50, 50, false);
    EXPECT_EQ(moveCaptionWhileHeld(hidden, CaptionArrow::Left, kCanvas, [] { return true; }, {}), 0);
    CaptionEntry released = boxAt(100, 20, 50, 50);
    EXPECT_EQ(moveCaptionWhileHeld(released, CaptionArrow::Left, kCanvas, [] { return false; }, {}), 0);
    EXPECT_EQ(released.BoxLeft, 50);
}

TEST(Captions, DialogRules)
{
    CaptionEntry c = boxAt(100, 20, 5, 6);
    c.FontName = QStringLiteral("IPAGothic");
    c.TextSettingB = 0xff0000;

    setCaptionText(c, QStringLiteral("新しい"));
    EXPECT_TRUE(c.Shown);
    EXPECT_EQ(c.Text, QStringLiteral("新しい"));

    setCaptionText(c, QString());  // emptied: hidden at once ...
    EXPECT_FALSE(c.Shown);
    EXPECT_EQ(c.BoxLeft, 5);
    confirmCaption(c);  // ... and ＯＫ clears it
    EXPECT_EQ(c, CaptionEntry());

    c = boxAt(100, 20, 5, 6, false);
    confirmCaption(c);
    EXPECT_TRUE(c.Shown);
    clearCaption(c);  // 消去
    EXPECT_EQ(c, CaptionEntry());

    CaptionDrawState state;
    EXPECT_EQ(textDialogPosition(state), QPoint(6650, 4650));
    state.TextDialogPos = QPoint(10, 0);
    EXPECT_EQ(textDialogPosition(state), QPoint(10, 0));
}

TEST(Captions, TextSettingsMapOntoTheEngineStyle)
{
    using Effect = imaging::TextStyle::Effect;
    struct Row {
        const char* name;
        std::int16_t a;
        std::int16_t g;
        Qt::Alignment alignment;
        bool wrap, transparent;
        Effect effect;
        int depth;
    };
    const Row rows[] = {
        {"all zero", 0, 0, Qt::AlignLeft | Qt::AlignTop, false, true, Effect::None, 0},
        {"centre, bottom, wrap", 0x1 | 0x8 | 0x10, 0, Qt::AlignHCenter | Qt::AlignBottom, true, true,
         Effect::None, 0},
        {"right, vcentre, opaque", 0x2 | 0x4 | 0x20, 0x0301, Qt::AlignRight | Qt::AlignVCenter, false,
         false, Effect::Shadow, 3},
        {"unused values", 0x3 | 0xc, 0x0205, Qt::AlignLeft | Qt::AlignTop, false, true, Effect::None, 2},
        {"rim", 0, 0x1002, Qt::AlignLeft | Qt::AlignTop, false, true, Effect::Outline, 16},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CaptionEntry c;
        c.TextSettingA = row.a;
        c.TextSettingG = row.g;
        c.TextSettingB = 0x123456;
        c.TextSettingC = std::int32_t(0xff654321);  // the top byte is ignored
        c.TextSettingD = 0x00ff00;
        c.FontBold = true;
        c.FontStrikethrough = true;
        const imaging::TextStyle s = captionTextStyle(c);
        EXPECT_EQ(s.alignment, row.alignment);
        EXPECT_EQ(s.wordWrap, row.wrap);
        EXPECT_EQ(s.backTransparent, row.transparent);
        EXPECT_EQ(s.effect, row.effect);
        EXPECT_EQ(s.effectDepth, row.depth);
        EXPECT_EQ(s.foreColor, qRgb(0x12, 0x34, 0x56));
        EXPECT_EQ(s.backColor, qRgb(0x65, 0x43, 0x21));
        EXPECT_EQ(s.effectColor, qRgb(0, 0xff, 0));
        EXPECT_EQ(s.fontName, QStringLiteral("ＭＳ Ｐゴシック"));
        EXPECT_EQ(s.fontSize, 12);
        EXPECT_TRUE(s.bold && s.strikeout && !s.italic && !s.underline);
    }
}

TEST(Captions, BurnDrawsIntoThePictureAndTheDisplayShowsTheSame)
{
    CaptionTable t;
    t[2] = boxAt(0, 0, 20, 10);
    t[2].Text = QStringLiteral("顔■");
    t[2].TextSettingB = 0xff0000;
    t[5] = boxAt(500, 30, 40, 40);  // wider than the canvas: drawn at left 0
    t[5].Text = QStringLiteral("■■■■■■■■■■");
    CaptionDrawState state;
    state.CurrentCaption = 2;

    const imaging::Raster blank(160, 80, 24, qRgb(255, 255, 255));
    imaging::Raster shown = blank;
    Disp_Character(t, state, shown);
    EXPECT_EQ(shown, blank);  // display only: the picture has no text
    EXPECT_TRUE(state.CaptionsOnScreen);
    ASSERT_GT(t[2].BoxWidth, 0);
    EXPECT_EQ(t[5].BoxLeft, 0);

    QImage display = blank.image().copy();
    {
        QPainter painter(&display);
        paintCaptions(painter, t);
    }

    imaging::Raster burnt = blank;
    state.BurnCaptions = true;
    Disp_Character(t, state, burnt);
    EXPECT_FALSE(state.BurnCaptions);
    const QRect box2(t[2].BoxLeft, t[2].BoxTop, t[2].BoxWidth, t[2].BoxHeight);
    const QRect box5(t[5].BoxLeft, t[5].BoxTop, t[5].BoxWidth, t[5].BoxHeight);
    const Ink ink = inkOf(burnt.image(), box2.united(box5));
    EXPECT_GT(ink.inside, 20);
    EXPECT_EQ(ink.outside, 0);
    EXPECT_EQ(burnt.image(), display);

    // The red caption is drawn in red.
    bool red = false;
    for (int y = box2.top(); y <= box2.bottom() && !red; ++y)
        for (int x = box2.left(); x <= box2.right() && !red; ++x)
            red = burnt.pixel(x, y) == qRgb(255, 0, 0);
    EXPECT_TRUE(red);
}
