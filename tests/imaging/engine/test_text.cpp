#include "imaging/engine/raster.h"
#include "imaging/engine/text.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPainter>

#include <functional>

using imaging::Raster;
using imaging::TextStyle;

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QString kJapanese = QStringLiteral("似顔絵ＡＢＣ");

// Bounding box of the pixels that differ from `background`, and how many there are.
struct Ink {
    QRect bounds;
    int count = 0;
};

Ink inkOf(const Raster& r, QRgb background = kWhite)
{
    Ink ink;
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x)
            if (r.pixel(x, y) != background) {
                ink.bounds |= QRect(x, y, 1, 1);
                ++ink.count;
            }
    return ink;
}

int countColour(const Raster& r, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x)
            n += r.pixel(x, y) == colour;
    return n;
}

TextStyle gothic(double points = 12)
{
    TextStyle s;
    s.fontName = QStringLiteral("ＭＳ Ｐゴシック");
    s.fontSize = points;
    return s;
}

Raster drawn(const QString& text, const QRect& box, const TextStyle& style, QSize size = {200, 80})
{
    Raster r(size.width(), size.height(), 24, kWhite);
    r.drawText(text, box, style);
    return r;
}

}  // namespace

TEST(TextFont, StoredNamesResolveToInstalledFamilies)
{
    const struct {
        const char* name;
        const char* family;
    } rows[] = {
        {"ＭＳ Ｐゴシック", "IPAPGothic"},
        {"ＭＳ ゴシック", "IPAGothic"},
        {"ＭＳ 明朝", "IPAMincho"},
        {"ＭＳ Ｐ明朝", "IPAPMincho"},
        {"MS PGothic", "IPAPGothic"},
        {"ms pｺﾞｼｯｸ", "IPAPGothic"},
        {"", "IPAPGothic"},
        {"No Such Face 4711", "IPAPGothic"},
        {"IPAGothic", "IPAGothic"},  // installed names are used as they are
    };
    for (const auto& row : rows)
        EXPECT_EQ(imaging::resolveFontFamily(QString::fromUtf8(row.name)), QString::fromLatin1(row.family))
            << row.name;

    TextStyle style = gothic(12);
    style.bold = true;
    style.strikeout = true;
    QFont font = imaging::resolveFont(style);
    EXPECT_EQ(font.pixelSize(), 16);  // 12 pt at 96 dpi
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.strikeOut());
    EXPECT_FALSE(font.italic());
    style.fontSize = 0;  // unset size draws at 12 pt
    EXPECT_EQ(imaging::resolveFont(style).pixelSize(), 16);
    EXPECT_EQ(style.fontName, QStringLiteral("ＭＳ Ｐゴシック"));
}

TEST(TextDraw, JapaneseDrawsInsideItsBoxWithRealGlyphs)
{
    const TextStyle style = gothic();
    const QFontMetrics metrics(imaging::resolveFont(style));
    for (const QChar c : kJapanese)
        EXPECT_TRUE(metrics.inFont(c)) << "no glyph for U+" << std::hex << int(c.unicode());

    const QRect box(10, 10, 180, 40);
    const Raster r = drawn(kJapanese, box, style);
    const Ink ink = inkOf(r);
    ASSERT_GT(ink.count, 100);
    EXPECT_TRUE(box.contains(ink.bounds)) << ink.bounds.x() << "," << ink.bounds.y() << " "
                                          << ink.bounds.width() << "x" << ink.bounds.height();
    EXPECT_GT(countColour(r, qRgb(0, 0, 0)), 0);  // solid strokes carry the fore colour
}

TEST(TextDraw, ExtentIsPlausibleGrowsWithSizeAndHoldsTheInk)
{
    const QSize small = Raster::textExtent(kJapanese, gothic(12));
    const QSize large = Raster::textExtent(kJapanese, gothic(24));
    EXPECT_GE(small.height(), 16);
    EXPECT_LE(small.height(), 26);
    EXPECT_GE(small.width(), 6 * 8);   // six characters, half-width or wider
    EXPECT_LE(small.width(), 6 * 20);
    EXPECT_GT(large.width(), small.width() * 3 / 2);
    EXPECT_GT(large.height(), small.height() * 3 / 2);

    const QSize twoLines = Raster::textExtent(QStringLiteral("ＡＢ\nＣ"), gothic(12));
    EXPECT_GE(twoLines.height(), 2 * small.height() - 2);

    const QSize empty = Raster::textExtent(QString(), gothic(12));
    EXPECT_EQ(empty.width(), 0);
    EXPECT_EQ(empty.height(), small.height());

    // Drawn at the box's origin, the ink stays within the measured extent.
    const Ink ink = inkOf(drawn(kJapanese, QRect(QPoint(0, 0), large), gothic(24), {300, 100}));
    EXPECT_TRUE(QRect(QPoint(0, 0), large).contains(ink.bounds));
}

TEST(TextDraw, ResultDoesNotDependOnThePicturesResolution)
{
    QImage hiRes(200, 80, QImage::Format_RGB32);
    hiRes.fill(kWhite);
    hiRes.setDotsPerMeterX(11811);  // 300 dpi
    hiRes.setDotsPerMeterY(11811);
    Raster r300 = Raster::fromImage(hiRes, 24);
    ASSERT_EQ(r300.xRes(), 300);
    r300.drawText(kJapanese, QRect(5, 5, 190, 70), gothic(14));
    EXPECT_TRUE(r300 == drawn(kJapanese, QRect(5, 5, 190, 70), gothic(14)));
}

TEST(TextDraw, StaysInsideTheRegion)
{
    Raster r(120, 40, 24, kWhite);
    r.setRegion(imaging::Region::rectangle(QRect(0, 0, 60, 40)));
    TextStyle style = gothic(20);
    style.backTransparent = false;
    style.backColor = qRgb(255, 0, 0);
    r.drawText(QStringLiteral("ＡＡＡＡＡＡＡＡ"), r.rect(), style);
    for (int y = 0; y < r.height(); ++y)
        for (int x = 60; x < r.width(); ++x)
            ASSERT_EQ(r.pixel(x, y), kWhite) << x << "," << y;
    EXPECT_GT(countColour(r, qRgb(255, 0, 0)), 0);
}

TEST(TextDraw, AlignmentPlacesTheTextInItsThirdOfTheBox)
{
    const struct {
        Qt::Alignment align;
        int column;  // 0 left, 1 centre, 2 right
        int row;     // 0 top, 1 centre, 2 bottom
    } rows[] = {
        {Qt::AlignLeft | Qt::AlignTop, 0, 0},       {Qt::AlignHCenter | Qt::AlignTop, 1, 0},
        {Qt::AlignRight | Qt::AlignTop, 2, 0},      {Qt::AlignLeft | Qt::AlignVCenter, 0, 1},
        {Qt::AlignCenter, 1, 1},                    {Qt::AlignRight | Qt::AlignVCenter, 2, 1},
        {Qt::AlignLeft | Qt::AlignBottom, 0, 2},    {Qt::AlignHCenter | Qt::AlignBottom, 1, 2},
        {Qt::AlignRight | Qt::AlignBottom, 2, 2},
    };
    const QRect box(0, 0, 240, 120);
    for (const auto& row : rows) {
        TextStyle style = gothic(10);
        style.alignment = row.align;
        const Ink ink = inkOf(drawn(QStringLiteral("ABC"), box, style, box.size()));
        ASSERT_GT(ink.count, 0);
        const QPoint c = ink.bounds.center();
        EXPECT_EQ(c.x() * 3 / box.width(), row.column) << int(row.align);
        EXPECT_EQ(c.y() * 3 / box.height(), row.row) << int(row.align);
    }
}

TEST(TextDraw, OpaqueBackgroundFillsExactlyTheBox)
{
    TextStyle style = gothic();
    style.backTransparent = false;
    style.backColor = qRgb(0, 0, 255);
    style.foreColor = qRgb(255, 255, 0);
    const QRect box(20, 10, 100, 30);
    const Raster opaque = drawn(QStringLiteral("Ab"), box, style);
    EXPECT_EQ(inkOf(opaque).bounds, box);
    EXPECT_EQ(opaque.pixel(box.right(), box.bottom()), qRgb(0, 0, 255));
    EXPECT_GT(countColour(opaque, qRgb(255, 255, 0)), 0);

    style.backTransparent = true;
    EXPECT_EQ(countColour(drawn(QStringLiteral("Ab"), box, style), qRgb(0, 0, 255)), 0);
}

TEST(TextDraw, EffectsWidenTheInkByTheirDepth)
{
    // Centred, so that the rim has room inside the box.
    const QRect box(20, 20, 160, 60);
    TextStyle centred = gothic();
    centred.alignment = Qt::AlignCenter;
    const Ink plain = inkOf(drawn(QStringLiteral("Faciora"), box, centred, {200, 100}));
    const struct {
        TextStyle::Effect effect;
        QMargins growth;  // left, top, right, bottom
    } rows[] = {
        {TextStyle::Effect::Shadow, QMargins(0, 0, 3, 3)},
        {TextStyle::Effect::Outline, QMargins(3, 3, 3, 3)},
    };
    for (const auto& row : rows) {
        TextStyle style = centred;
        style.effect = row.effect;
        style.effectDepth = 3;
        style.effectColor = qRgb(0, 200, 0);
        const Raster r = drawn(QStringLiteral("Faciora"), box, style, {200, 100});
        EXPECT_EQ(inkOf(r).bounds, plain.bounds + row.growth) << int(row.effect);
        EXPECT_GT(countColour(r, qRgb(0, 200, 0)), 0);
        EXPECT_GT(countColour(r, qRgb(0, 0, 0)), 0);  // the text itself stays on top
    }
}

TEST(TextDraw, EachStyleFlagChangesTheGlyphs)
{
    const QRect box(10, 10, 180, 60);
    const QString text = QStringLiteral("Faciora 似顔絵");
    const Raster plain = drawn(text, box, gothic(16));
    const int plainInk = inkOf(plain).count;
    const struct {
        const char* name;
        std::function<void(TextStyle&)> set;
        bool moreInk;
    } rows[] = {
        {"bold", [](TextStyle& s) { s.bold = true; }, true},
        {"underline", [](TextStyle& s) { s.underline = true; }, true},
        {"strikeout", [](TextStyle& s) { s.strikeout = true; }, true},
        {"italic", [](TextStyle& s) { s.italic = true; }, false},
    };
    for (const auto& row : rows) {
        TextStyle style = gothic(16);
        row.set(style);
        const Raster r = drawn(text, box, style);
        EXPECT_TRUE(r != plain) << row.name;
        if (row.moreInk) {
            EXPECT_GT(inkOf(r).count, plainInk) << row.name;
        }
    }
}

TEST(TextDraw, WordWrapBreaksAtTheBoxWidth)
{
    const QRect box(0, 0, 70, 120);
    TextStyle style = gothic();
    const QString text = QStringLiteral("ABC DEF GHI JKL");
    const int line = Raster::textExtent(text, style).height();
    EXPECT_LE(inkOf(drawn(text, box, style, {70, 120})).bounds.height(), line);
    style.wordWrap = true;
    EXPECT_GT(inkOf(drawn(text, box, style, {70, 120})).bounds.height(), line * 3 / 2);
}

TEST(TextDraw, PainterPathMatchesThePicturePath)
{
    TextStyle style = gothic(14);
    style.effect = TextStyle::Effect::Shadow;
    const QRect box(4, 4, 190, 50);
    const Raster burnt = drawn(kJapanese, box, style);

    QImage shown(200, 80, QImage::Format_RGB32);
    shown.fill(kWhite);
    {
        QPainter painter(&shown);
        imaging::paintText(painter, kJapanese, QRectF(box), style);
    }
    EXPECT_TRUE(Raster::fromImage(shown, 24) == burnt);
}

TEST(TextDraw, PalettePicturesGetOnlyTheStyleColoursAndEmptyOnesThrow)
{
    Raster mono(120, 40, 1, kWhite);
    mono.drawText(kJapanese, mono.rect(), gothic(14));
    EXPECT_EQ(mono.colorCount(), 2);

    Raster empty;
    try {
        empty.drawText(kJapanese, QRect(0, 0, 10, 10), gothic());
        FAIL() << "drawing into an empty bitmap must fail";
    } catch (const imaging::ImagingError& e) {
        EXPECT_EQ(e.code(), imaging::kErrBadHandle);
    }
}
