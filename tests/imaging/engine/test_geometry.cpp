#include "imaging/engine/raster.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <functional>
#include <set>
#include <string>
#include <vector>

using imaging::ImagingError;
using imaging::Raster;

namespace {

using Rows = std::vector<std::string>;

constexpr QRgb kFill = qRgb(1, 2, 3);
constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kWhite = qRgb(255, 255, 255);

// Each letter stands for its own colour; '.' is the fill colour.
QRgb colourOf(char c)
{
    return c == '.' ? kFill : qRgb(c, 255 - c, 2 * c);
}

char letterOf(QRgb c)
{
    if (c == kFill)
        return '.';
    for (char l = 'a'; l <= 'z'; ++l) {
        if (colourOf(l) == c)
            return l;
    }
    return '?';
}

Raster fromRows(const Rows& rows)
{
    Raster r(int(rows[0].size()), int(rows.size()), 24);
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x)
            r.setPixel(x, y, colourOf(rows[size_t(y)][size_t(x)]));
    return r;
}

Rows toRows(const Raster& r)
{
    Rows rows(size_t(r.height()), std::string(size_t(r.width()), ' '));
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x)
            rows[size_t(y)][size_t(x)] = letterOf(r.pixel(x, y));
    return rows;
}

// Every pixel a different colour, so that any misplaced pixel shows.
Raster numbered(int w, int h)
{
    Raster r(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            r.setPixel(x, y, qRgb(x & 0xff, y & 0xff, (x >> 8) << 4 | (y >> 8)));
    return r;
}

std::set<QRgb> coloursOf(const Raster& r)
{
    std::set<QRgb> colours;
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x)
            colours.insert(r.pixel(x, y));
    return colours;
}

// A black ellipse on white, drawn without antialiasing: a part mask.
Raster ellipseMask(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kWhite);
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(QRect(w / 6, h / 6, w * 2 / 3, h * 2 / 3));
    p.end();
    return Raster::fromImage(image, 24);
}

int errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const ImagingError& e) {
        return e.code();
    }
    return 0;
}

}  // namespace

TEST(Geometry, FlipAndReverse)
{
    Raster flipped = fromRows({"abc", "def"});
    flipped.flip();
    EXPECT_EQ(toRows(flipped), (Rows{"def", "abc"}));

    Raster reversed = fromRows({"abc", "def"});
    reversed.reverse();
    EXPECT_EQ(toRows(reversed), (Rows{"cba", "fed"}));

    Raster odd = fromRows({"a", "b", "c"});
    odd.flip();
    EXPECT_EQ(toRows(odd), (Rows{"c", "b", "a"}));
}

TEST(Geometry, RotateByQuarterTurnsMovesPixelsExactly)
{
    struct Case {
        const char* name;
        int angle;
        bool resize;
        Rows expected;
    };
    // Counter-clockwise on screen: the top-right pixel d goes to the top-left.
    const Case cases[] = {
        {"90 grown", 9000, true, {"dh", "cg", "bf", "ae"}},
        {"90 kept", 9000, false, {".cg.", ".bf."}},
        {"180 grown", 18000, true, {"hgfe", "dcba"}},
        {"180 kept", 18000, false, {"hgfe", "dcba"}},
        {"270 grown", 27000, true, {"ea", "fb", "gc", "hd"}},
        {"270 kept", 27000, false, {".fb.", ".gc."}},
        {"-90 is 270", -9000, true, {"ea", "fb", "gc", "hd"}},
        {"-270 is 90", -27000, true, {"dh", "cg", "bf", "ae"}},
        {"450 is 90", 45000, true, {"dh", "cg", "bf", "ae"}},
        {"0", 0, true, {"abcd", "efgh"}},
        {"360", 36000, false, {"abcd", "efgh"}},
        {"-360", -36000, true, {"abcd", "efgh"}},
        {"720", 72000, true, {"abcd", "efgh"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Raster r = fromRows({"abcd", "efgh"});
        r.rotate(c.angle, c.resize, kFill);
        EXPECT_EQ(toRows(r), c.expected);
    }

    // Sides differing by an odd number cannot be centred exactly; the half pixel goes the
    // way the nearest-pixel mapping of other angles sends it.
    const Case odd[] = {
        {"90 kept, wide", 9000, false, {"cf.", "be."}},
        {"270 kept, wide", 27000, false, {".eb", ".fc"}},
    };
    for (const Case& c : odd) {
        SCOPED_TRACE(c.name);
        Raster r = fromRows({"abc", "def"});
        r.rotate(c.angle, c.resize, kFill);
        EXPECT_EQ(toRows(r), c.expected);
    }
    Raster tall = fromRows({"ab", "cd", "ef"});
    tall.rotate(9000, false, kFill);
    EXPECT_EQ(toRows(tall), (Rows{"..", "df", "ce"}));
}

TEST(Geometry, QuarterTurnsOfALargerPictureLoseNothing)
{
    Raster original = numbered(100, 50);
    original.setResolution(300, 150);

    Raster left = original;
    left.rotate(9000, true, kFill);
    ASSERT_EQ(left.size(), QSize(50, 100));
    EXPECT_EQ(QSize(left.xRes(), left.yRes()), QSize(150, 300));
    Raster right = original;
    right.rotate(27000, true, kFill);
    ASSERT_EQ(right.size(), QSize(50, 100));
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 50; ++x) {
            ASSERT_EQ(left.pixel(x, y), original.pixel(99 - y, x)) << x << "," << y;
            ASSERT_EQ(right.pixel(x, y), original.pixel(y, 49 - x)) << x << "," << y;
        }
    }

    left.rotate(-9000, true, kFill);
    EXPECT_EQ(left, original);
    Raster full = original;
    for (int i = 0; i < 4; ++i)
        full.rotate(9000, true, kFill);
    EXPECT_EQ(full, original);

    // Kept at 100 x 50, the turned picture is centred: 25 columns of fill either side.
    Raster kept = original;
    kept.rotate(9000, false, kFill);
    ASSERT_EQ(kept.size(), QSize(100, 50));
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 100; ++x) {
            const QRgb expected = x >= 25 && x < 75 ? original.pixel(74 - y, x - 25) : kFill;
            ASSERT_EQ(kept.pixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST(Geometry, RotateAtAnAngleKeepsTheColoursItHad)
{
    const Raster mask = ellipseMask(60, 40);
    for (bool resize : {false, true}) {
        SCOPED_TRACE(resize ? "grown" : "kept");
        Raster r = mask;
        r.rotate(3000, resize, kFill);
        EXPECT_EQ(r.size(), resize ? QSize(72, 65) : QSize(60, 40));
        EXPECT_EQ(coloursOf(r), (std::set<QRgb>{kBlack, kWhite, kFill}));
        EXPECT_EQ(r.pixel(0, 0), kFill);
        EXPECT_EQ(r.pixel(r.width() / 2, r.height() / 2), kBlack);
    }
}

TEST(Geometry, RotateByATinyAngleSamplesPixelCentres)
{
    // A hundredth of a degree moves no pixel centre of this picture by more than 0.01 px,
    // so nearest sampling from the centres must give every pixel back.
    const Raster original = numbered(100, 50);
    for (int angle : {1, -1, 35999}) {
        for (bool resize : {false, true}) {
            SCOPED_TRACE(angle);
            Raster r = original;
            r.rotate(angle, resize, kFill);
            EXPECT_EQ(r, original);
        }
    }
}

TEST(Geometry, RotateAtAnAngleTurnsCounterClockwise)
{
    // A marker 10 pixels right of the centre of a 41 x 41 picture.
    struct Case {
        int angle;
        QPoint expected;  // where the marker's centre lands
    };
    const Case cases[] = {
        {3000, {29, 15}},    // 30 degrees up
        {-3000, {29, 25}},   // 30 degrees down
        {15000, {11, 15}},   // 150 degrees: upper left
        {-12000, {15, 29}},  // 120 degrees clockwise: lower left
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        Raster r(41, 41, 24, kWhite);
        for (int y = 18; y <= 22; ++y)
            for (int x = 28; x <= 32; ++x)
                r.setPixel(x, y, kBlack);
        r.rotate(c.angle, false, kWhite);
        EXPECT_EQ(r.pixel(c.expected.x(), c.expected.y()), kBlack);
        EXPECT_EQ(r.pixel(30, 20), kWhite);
    }
}

TEST(Geometry, ShearSlidesWholeLines)
{
    struct Case {
        const char* name;
        int angle;
        bool horizontal;
        Rows source;
        Rows expected;
    };
    const Case cases[] = {
        {"rows 45", 4500, true, {"ab", "cd", "ef"}, {"ab..", ".cd.", "..ef"}},
        {"rows -45", -4500, true, {"ab", "cd", "ef"}, {"..ab", ".cd.", "ef.."}},
        {"rows 20", 2000, true, {"a", "b", "c", "d"}, {"a.", "b.", ".c", ".d"}},
        {"columns 45", 4500, false, {"abc", "def"}, {"a..", "db.", ".ec", "..f"}},
        {"columns -45", -4500, false, {"abc", "def"}, {"..c", ".bf", "ae.", "d.."}},
        {"none", 0, true, {"ab", "cd"}, {"ab", "cd"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Raster r = fromRows(c.source);
        r.shear(c.angle, c.horizontal, kFill);
        EXPECT_EQ(toRows(r), c.expected);
    }
}

TEST(Geometry, SizeNearestRepeatsAndPicksPixels)
{
    struct Case {
        const char* name;
        Rows source;
        QSize target;
        Rows expected;
    };
    const Case cases[] = {
        {"2x2 to 4x4", {"ab", "cd"}, {4, 4}, {"aabb", "aabb", "ccdd", "ccdd"}},
        {"3x1 to 6x2", {"abc"}, {6, 2}, {"aabbcc", "aabbcc"}},
        {"4x4 to 2x2", {"abcd", "efgh", "ijkl", "mnop"}, {2, 2}, {"fh", "np"}},
        {"1x1 to 3x2", {"a"}, {3, 2}, {"aaa", "aaa"}},
        {"1x3 to 1x6", {"a", "b", "c"}, {1, 6}, {"a", "a", "b", "b", "c", "c"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Raster r = fromRows(c.source);
        r.size(c.target.width(), c.target.height(), 0);
        EXPECT_EQ(toRows(r), c.expected);
    }
}

TEST(Geometry, SizeSmoothKeepsFlatAreasFlat)
{
    struct Case {
        QSize source;
        QSize target;
        QRgb colour;
    };
    const QRgb colour = qRgb(200, 117, 31);
    const Case cases[] = {
        {{7, 5}, {23, 11}, colour},
        {{7, 5}, {5, 4}, colour},
        {{7, 5}, {2, 2}, colour},
        {{7, 5}, {1, 1}, colour},
        {{7, 5}, {40, 1}, colour},
        // Hundreds of taps whose rounded weights would add up past one.
        {{403, 2}, {1, 1}, kWhite},
        {{2, 403}, {1, 1}, kWhite},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString("%1x%2 to %3x%4")
                         .arg(c.source.width())
                         .arg(c.source.height())
                         .arg(c.target.width())
                         .arg(c.target.height())
                         .toStdString());
        Raster r(c.source.width(), c.source.height(), 24, c.colour);
        r.size(c.target.width(), c.target.height(), 1);
        EXPECT_EQ(r.size(), c.target);
        EXPECT_EQ(coloursOf(r), std::set<QRgb>{c.colour});
    }
}

TEST(Geometry, SizeSmoothBlendsNeighboursAndAveragesWhenShrinking)
{
    const QRgb grey128 = qRgb(128, 128, 128);
    const QRgb grey85 = qRgb(85, 85, 85);
    struct Case {
        const char* name;
        Rows source;  // 'a' black, 'b' white
        QSize target;
        std::vector<QRgb> expected;  // row by row
    };
    const Case cases[] = {
        {"2 to 3 across", {"ab"}, {3, 1}, {kBlack, grey128, kWhite}},
        {"2 to 3 down", {"a", "b"}, {1, 3}, {kBlack, grey128, kWhite}},
        // Shrinking four or three times averages what each pixel covers: no aliasing.
        {"stripes by 4", {"abababab"}, {2, 1}, {grey128, grey128}},
        {"stripes by 3", {"abaabaaba"}, {3, 1}, {grey85, grey85, grey85}},
        {"checks by 4", {"abab", "baba", "abab", "baba"}, {1, 1}, {grey128}},
        {"same size", {"ab", "ba"}, {2, 2}, {kBlack, kWhite, kWhite, kBlack}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Raster r(int(c.source[0].size()), int(c.source.size()), 24);
        for (int y = 0; y < r.height(); ++y)
            for (int x = 0; x < r.width(); ++x)
                r.setPixel(x, y, c.source[size_t(y)][size_t(x)] == 'a' ? kBlack : kWhite);
        r.size(c.target.width(), c.target.height(), 1);
        ASSERT_EQ(r.size(), c.target);
        std::vector<QRgb> got;
        for (int y = 0; y < r.height(); ++y)
            for (int x = 0; x < r.width(); ++x)
                got.push_back(r.pixel(x, y));
        EXPECT_EQ(got, c.expected);
    }
}

TEST(Geometry, SizeSmoothKeepsAOneBitMaskTwoColoured)
{
    Raster mask = ellipseMask(31, 23);
    mask.setBits(1);
    ASSERT_EQ(mask.palette().size(), 2);
    const std::set<QRgb> two(mask.palette().begin(), mask.palette().end());
    for (QSize target : {QSize(77, 50), QSize(20, 19), QSize(7, 5)}) {
        Raster r = mask;
        r.size(target.width(), target.height(), 1);
        EXPECT_EQ(r.bits(), 1);
        EXPECT_EQ(r.palette(), mask.palette());
        EXPECT_EQ(coloursOf(r), two);
    }
    // A deeper picture does blend.
    Raster deep = ellipseMask(31, 23);
    deep.size(77, 50, 1);
    EXPECT_GT(coloursOf(deep).size(), 2u);
}

TEST(Geometry, EveryTransformKeepsDepthAndPaletteAndDropsTheRegion)
{
    const std::pair<const char*, std::function<void(Raster&)>> ops[] = {
        {"flip", [](Raster& r) { r.flip(); }},
        {"reverse", [](Raster& r) { r.reverse(); }},
        {"rotate 90", [](Raster& r) { r.rotate(9000, true, kWhite); }},
        {"rotate 0", [](Raster& r) { r.rotate(0, true, kWhite); }},
        {"rotate 30", [](Raster& r) { r.rotate(3000, false, kWhite); }},
        {"shear", [](Raster& r) { r.shear(1000, false, kWhite); }},
        {"size nearest", [](Raster& r) { r.size(9, 9, 0); }},
        {"size smooth", [](Raster& r) { r.size(3, 2, 1); }},
    };
    const QVector<QRgb> palette{qRgb(10, 20, 30), qRgb(250, 240, 230), kBlack, kWhite};
    for (const auto& [name, op] : ops) {
        SCOPED_TRACE(name);
        Raster r(6, 4, 4, kWhite);
        r.setPalette(palette);
        r.setRegion(imaging::Region::rectangle(QRect(1, 1, 2, 2)));
        op(r);
        EXPECT_EQ(r.bits(), 4);
        EXPECT_EQ(r.palette(), palette);
        EXPECT_FALSE(r.hasRegion());
    }
}

TEST(Geometry, EdgeSizes)
{
    Raster dot = fromRows({"a"});
    dot.rotate(3000, false, kFill);
    EXPECT_EQ(toRows(dot), Rows{"a"});
    dot.rotate(4500, true, kFill);
    EXPECT_EQ(toRows(dot), Rows{"a"});
    dot.shear(4500, true, kFill);
    EXPECT_EQ(toRows(dot), Rows{"a"});
    dot.size(3, 1, 1);
    EXPECT_EQ(toRows(dot), Rows{"aaa"});

    Raster line = fromRows({"abcde"});
    line.rotate(9000, true, kFill);
    EXPECT_EQ(toRows(line), (Rows{"e", "d", "c", "b", "a"}));
    line.rotate(9000, false, kFill);
    EXPECT_EQ(toRows(line), (Rows{".", ".", "c", ".", "."}));

    Raster column = fromRows({"a", "b", "c"});
    column.reverse();
    column.shear(4500, false, kFill);
    EXPECT_EQ(toRows(column), (Rows{"a", "b", "c"}));
    column.size(1, 1, 1);
    EXPECT_EQ(column.size(), QSize(1, 1));
}

TEST(Geometry, Errors)
{
    struct Case {
        const char* name;
        std::function<void(Raster&)> op;
        int code;
    };
    const Case onEmpty[] = {
        {"flip", [](Raster& r) { r.flip(); }, imaging::kErrBadHandle},
        {"reverse", [](Raster& r) { r.reverse(); }, imaging::kErrBadHandle},
        {"rotate", [](Raster& r) { r.rotate(9000, true, kWhite); }, imaging::kErrBadHandle},
        {"rotate 0", [](Raster& r) { r.rotate(0, true, kWhite); }, imaging::kErrBadHandle},
        {"shear", [](Raster& r) { r.shear(100, true, kWhite); }, imaging::kErrBadHandle},
        {"size", [](Raster& r) { r.size(5, 5, 1); }, imaging::kErrBadHandle},
    };
    for (const Case& c : onEmpty) {
        SCOPED_TRACE(c.name);
        Raster empty;
        EXPECT_EQ(errorOf([&] { c.op(empty); }), c.code);
    }

    const Case onPicture[] = {
        {"size 0 wide", [](Raster& r) { r.size(0, 5, 1); }, imaging::kErrBadSize},
        {"size negative", [](Raster& r) { r.size(5, -1, 0); }, imaging::kErrBadSize},
        {"size too large", [](Raster& r) { r.size(imaging::kMaxSide + 1, 1, 0); },
         imaging::kErrBadSize},
        {"size too many pixels", [](Raster& r) { r.size(30000, 30000, 1); }, imaging::kErrBadSize},
        {"size flag 2", [](Raster& r) { r.size(5, 5, 2); }, imaging::kErrBadParam},
        {"size flag -1", [](Raster& r) { r.size(5, 5, -1); }, imaging::kErrBadParam},
        {"shear 45.01", [](Raster& r) { r.shear(4501, true, kWhite); }, imaging::kErrBadParam},
        {"shear -45.01", [](Raster& r) { r.shear(-4501, false, kWhite); }, imaging::kErrBadParam},
    };
    for (const Case& c : onPicture) {
        SCOPED_TRACE(c.name);
        Raster r = fromRows({"ab", "cd"});
        EXPECT_EQ(errorOf([&] { c.op(r); }), c.code);
        EXPECT_EQ(toRows(r), (Rows{"ab", "cd"}));
    }

    // Turning a long strip would need more pixels than a picture may have: refused, and
    // the picture stays as it was.
    Raster strip(imaging::kMaxSide, 1, 24, kWhite);
    strip.setRegion(imaging::Region::rectangle(QRect(0, 0, 5, 1)));
    EXPECT_EQ(errorOf([&] { strip.rotate(4500, true, kWhite); }), imaging::kErrBadSize);
    EXPECT_EQ(strip.size(), QSize(imaging::kMaxSide, 1));
    EXPECT_TRUE(strip.hasRegion());
}
