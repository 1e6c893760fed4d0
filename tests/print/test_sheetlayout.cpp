#include "print/sheetlayout.h"

#include <gtest/gtest.h>

using namespace print;

namespace {

LayoutTexts texts(std::initializer_list<const char16_t*> t)
{
    LayoutTexts out;
    int i = 0;
    for (const char16_t* s : t)
        out[std::size_t(i++)] = QString::fromUtf16(s);
    return out;
}

SheetLayout layoutOf(int top, int left, int pw, int ph, int rowGap, int colGap, int rows, int cols)
{
    return SheetLayout{std::int16_t(top), std::int16_t(left), std::int16_t(pw), std::int16_t(ph),
                       std::int16_t(rowGap), std::int16_t(colGap), std::int16_t(rows), std::int16_t(cols)};
}

}  // namespace

TEST(NumericText, ReadsNumbersAsThePlatformDoes)
{
    struct Case {
        const char16_t* text;
        bool numeric;
        double value;
    };
    const Case cases[] = {
        {u"5", true, 5},      {u" 5", true, 5},    {u"5 ", true, 5},   {u"2.5", true, 2.5},
        {u"-3", true, -3},    {u"+4", true, 4},    {u".5", true, 0.5}, {u"1e2", true, 100},
        {u"&H1F", true, 31},  {u"&o17", true, 15}, {u"５", true, 5},   {u"　7", true, 7},
        {u"", false, 0},      {u" ", false, 0},    {u"abc", false, 0}, {u"5a", false, 0},
        {u".", false, 0},     {u"1e", false, 0},   {u"1.2.3", false, 0}, {u"&H", false, 0},
        {u"&HZZ", false, 0},  {u"- 5", false, 0},  {u"1,5", false, 0},
    };
    for (const Case& c : cases) {
        const auto v = numericValue(QString::fromUtf16(c.text));
        EXPECT_EQ(v.has_value(), c.numeric) << QString::fromUtf16(c.text).toStdString();
        if (v && c.numeric)
            EXPECT_DOUBLE_EQ(*v, c.value) << QString::fromUtf16(c.text).toStdString();
    }
}

TEST(ValidateSheetLayout, StoresEachPassingFieldAndStopsAtTheFirstFailure)
{
    SheetLayout l;
    // " 5" is numeric; "2.5" rounds half to even.
    EXPECT_EQ(ValidateSheetLayout(texts({u"10", u" 5", u"0", u"50", u"2.5", u"3.5", u"2", u"3"}), l), std::nullopt);
    EXPECT_EQ(l, layoutOf(10, 5, 0, 50, 2, 4, 2, 3));

    struct Case {
        LayoutTexts in;
        int field;
        int code;
    };
    const Case cases[] = {
        {texts({u"", u"1", u"1", u"1", u"1", u"1", u"1", u"1"}), TopMargin, 0},
        {texts({u"1", u"x", u"1", u"1", u"1", u"1", u"1", u"1"}), LeftMargin, 0},
        {texts({u"1", u"1", u"1", u"1", u"1", u"1", u"0", u"1"}), Rows, 2},
        {texts({u"1", u"1", u"1", u"1", u"1", u"1", u"1", u"abc"}), Columns, 2},
        {texts({u"1", u"1", u"1", u"1", u"1", u"1", u"-1", u"1"}), Rows, 2},
        // Rounds to 0: no grid to lay out.
        {texts({u"1", u"1", u"1", u"1", u"1", u"1", u"0.4", u"1"}), Rows, 2},
        // Too big for the field: refused rather than wrapped.
        {texts({u"1", u"1", u"9e9", u"1", u"1", u"1", u"1", u"1"}), PictureWidth, 0},
    };
    for (const Case& c : cases) {
        SheetLayout before = layoutOf(7, 7, 7, 7, 7, 7, 7, 7);
        const auto error = ValidateSheetLayout(c.in, before);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->field, c.field);
        EXPECT_EQ(error->code, c.code);
    }

    // The fields before the failing one are already stored; the rest keep their values.
    SheetLayout partial = layoutOf(7, 7, 7, 7, 7, 7, 7, 7);
    ASSERT_TRUE(ValidateSheetLayout(texts({u"1", u"2", u"3", u"4", u"5", u"6", u"0", u"8"}), partial));
    EXPECT_EQ(partial, layoutOf(1, 2, 3, 4, 5, 6, 7, 7));
}

TEST(SheetLayoutError, MessagesAreTheSystemsTexts)
{
    EXPECT_EQ(sheetLayoutErrorText(0), QStringLiteral("値が不正です。正しい値(0～999)を設定して下さい。"));
    EXPECT_EQ(sheetLayoutErrorText(1), QStringLiteral("文字を入力して下さい。"));
    EXPECT_EQ(sheetLayoutErrorText(2), QStringLiteral("値が不正です。正しい値(1～9)を設定して下さい。"));
}

TEST(GridGeometry, FixedSizeCellsStepByCellAndGap)
{
    const Grid g = printGrid(layoutOf(11, 14, 91, 55, 0, 0, 5, 2), QSizeF(210, 297), QSize(300, 395));
    EXPECT_EQ(g.cellWidth, 91);
    EXPECT_EQ(g.cellHeight, 55);
    ASSERT_EQ(g.cells.size(), 10);
    EXPECT_EQ(g.cells[0], QPoint(14, 11));
    EXPECT_EQ(g.cells[1], QPoint(105, 11));
    EXPECT_EQ(g.cells[2], QPoint(14, 66));
    EXPECT_EQ(g.cells[9], QPoint(105, 231));

    const Grid gaps = printGrid(layoutOf(20, 20, 30, 40, 10, 10, 5, 4), QSizeF(210, 297), QSize(1, 1));
    EXPECT_EQ(gaps.cells[5], QPoint(60, 70));
    // Nothing is clipped: a grid larger than the page runs off it.
    const Grid off = printGrid(layoutOf(0, 0, 150, 200, 0, 0, 2, 2), QSizeF(210, 297), QSize(1, 1));
    EXPECT_EQ(off.cells[3], QPoint(150, 200));
}

TEST(GridGeometry, AutomaticSizeKeepsTheProportionsAndShrinksToFitTheRows)
{
    // One size 0 is automatic too: both are computed.
    const QSize widthOnly = gridCellSize(layoutOf(0, 10, 0, 50, 0, 0, 1, 2), QSizeF(210, 297), QSize(300, 300));
    EXPECT_EQ(widthOnly, QSize(100, 100));

    // 0 x 0 on 2 x 3 (rows x columns): three across the available width, shrunk when two
    // rows do not fit the available height. Available 200 x 100: w = 66, h = 86 > 50, so
    // w = round(50 / 86 * 66) = 38 and h = 50.
    const QSize shrunk = gridCellSize(layoutOf(197, 10, 0, 0, 0, 0, 2, 3), QSizeF(210, 297), QSize(300, 395));
    EXPECT_EQ(shrunk, QSize(38, 50));
    // Room enough: w = 66, h = 395 * 66 / 300 = 86.
    EXPECT_EQ(gridCellSize(layoutOf(10, 10, 0, 0, 0, 0, 2, 3), QSizeF(210, 297), QSize(300, 395)), QSize(66, 86));
    // A turned picture swaps the proportions used.
    EXPECT_EQ(gridCellSize(layoutOf(10, 10, 0, 0, 0, 0, 2, 3), QSizeF(210, 297), QSize(395, 300)), QSize(66, 50));
    // Operands are rounded before dividing: 202.6 - 0 -> 203 / 2 = 101.
    EXPECT_EQ(gridCellSize(layoutOf(0, 0, 0, 0, 0, 0, 1, 2), QSizeF(202.6, 500), QSize(100, 100)).width(), 101);
    // Degenerate pages give empty cells, never a division by zero.
    EXPECT_EQ(gridCellSize(layoutOf(400, 0, 0, 0, 0, 0, 1, 1), QSizeF(210, 297), QSize(0, 10)), QSize(0, 0));
    const QSize negative = gridCellSize(layoutOf(400, 300, 0, 0, 0, 0, 1, 1), QSizeF(210, 297), QSize(10, 10));
    EXPECT_LE(negative.width(), 0);
}

TEST(PreviewGrid, ScalesTheLayoutOntoTheSheetPicture)
{
    // format.bmp at 2 pixels a millimetre for a 210 x 297 printable page.
    const Grid fixed = previewGrid(layoutOf(11, 14, 91, 55, 1, 3, 5, 2), QSize(420, 594), QSizeF(210, 297), QSize(300, 395));
    EXPECT_EQ(fixed.cellWidth, 182);
    EXPECT_EQ(fixed.cellHeight, 110);
    EXPECT_EQ(fixed.cells[0], QPoint(28, 22));
    EXPECT_EQ(fixed.cells[1], QPoint(28 + 6 + 182, 22));
    EXPECT_EQ(fixed.cells[2], QPoint(28, 22 + 2 + 110));

    // A smaller printable page: sx = 420 / 200 = 2.1; cells at least one pixel.
    const Grid tiny = previewGrid(layoutOf(5, 5, 1, 0, 0, 0, 1, 1), QSize(420, 594), QSizeF(200, 280), QSize(10, 10));
    EXPECT_GE(tiny.cellWidth, 1);
    const Grid small = previewGrid(layoutOf(0, 0, 1, 1, 0, 1, 1, 3), QSize(420, 594), QSizeF(400, 400), QSize(10, 10));
    EXPECT_EQ(small.cellWidth, 1);
    // sx = 1.05: x = N(1.05 * 1 + 1 + 0) = 2, then N(1.05 + 1 + 2) = 4.
    EXPECT_EQ(small.cells[1].x(), 2);
    EXPECT_EQ(small.cells[2].x(), 4);

    // Automatic size on the sheet: available 420 - int(2 * 15) = 390 across two columns.
    const Grid automatic = previewGrid(layoutOf(15, 15, 0, 0, 5, 5, 3, 2), QSize(420, 594), QSizeF(210, 297), QSize(300, 395));
    // w = 195, h = 395 * 195 / 300 = 256 > 564 / 3 = 188: w = round(188 / 256 * 195) = 143.
    EXPECT_EQ(automatic.cellWidth, 143);
    EXPECT_EQ(automatic.cellHeight, 188);
}
