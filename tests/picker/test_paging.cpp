// Paging over the picker's cursor: windows of five, sliding, jumps, sub-categories, tool tips
// and the in-use marks, on small generated databases.

#include "pickerfixture.h"

#include "picker/pickercategories.h"

#include <QStringList>

#include <algorithm>

using namespace pickertest;
using picker::ThumbPager;

namespace {

std::vector<int> expectedWindow(const std::vector<int>& numbers, int first /*1-based*/)
{
    std::vector<int> w;
    for (int i = 0; i < ThumbPager::kSlots; ++i) {
        const int n = first - 1 + i;
        w.push_back(n < int(numbers.size()) ? numbers[std::size_t(n)] : 0);
    }
    return w;
}

std::vector<int> numbered(int count)
{
    std::vector<int> n;
    for (int i = 1; i <= count; ++i)
        n.push_back(i);
    return n;
}

}  // namespace

// Small categories: the scroll range, the empty trailing slots and their tool tips.
TEST(Paging, SmallCategories)
{
    struct Case {
        int count;
        int maximum;
        QStringList tips;
    };
    const Case cases[] = {
        {3, 1, {"1/3", "2/3", "3/3", "", ""}},
        {5, 1, {"1/5", "2/5", "3/5", "4/5", "5/5"}},
        {6, 2, {"1/6", "2/6", "3/6", "4/6", "5/6"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        std::vector<Part> parts = category(3, c.count);
        const std::vector<Part> after = category(4, 2);
        parts.insert(parts.end(), after.begin(), after.end());
        PagerFixture f(parts);
        ThumbPager& p = f.open(3, 2);
        EXPECT_EQ(p.pictureCount(), c.count);
        EXPECT_EQ(p.scroll().minimum, 1);
        EXPECT_EQ(p.scroll().maximum, c.maximum);
        EXPECT_EQ(p.scroll().value, 1);
        EXPECT_EQ(f.window(), expectedWindow(numbered(c.count), 1));
        for (int i = 0; i < ThumbPager::kSlots; ++i) {
            EXPECT_EQ(p.toolTip(i), c.tips[i]) << i;
            EXPECT_EQ(p.thumbnail(i).isNull(), i >= c.count) << i;
        }
        EXPECT_EQ(f.drawn, 5);
    }
}

// Walking the bar step by step to its end and back, then jumping about: every window shows
// the parts of its scroll value in order, whether the category is followed by another or
// ends the table, for one, two and three rows a part and in every display mode. A step draws
// exactly one thumbnail.
TEST(Paging, WalksAndJumpsShowTheRightWindow)
{
    struct Case {
        const char* name;
        int kind;
        int count;
        bool lastInTable;
        int mode;
    };
    const Case cases[] = {
        {"two rows, followed by another kind", 3, 12, false, 2},
        {"two rows, end of the table", 22, 9, true, 2},
        {"three rows, middle row shown", 13, 10, false, 0},
        {"three rows over the portrait", 13, 7, false, 1},
        {"three rows, end of the table", 17, 8, true, 0},
        {"pair, second half follows", 11, 8, false, 0},
        {"one row (registered pictures)", 2, 7, true, 2},
        {"six parts", 7, 6, false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Part> parts = category(1, 3);  // something before the category
        if (c.kind == 2)
            parts.clear();
        const std::vector<Part> mine = category(c.kind, c.count);
        parts.insert(parts.end(), mine.begin(), mine.end());
        if (!c.lastInTable) {
            const std::vector<Part> after = category(c.kind + 2, 4);
            parts.insert(parts.end(), after.begin(), after.end());
        }
        PagerFixture f(parts);
        ThumbPager& p = f.open(c.kind, c.mode);
        const std::vector<int> numbers = numbered(c.count);
        const int maximum = std::max(1, c.count - 4);
        ASSERT_EQ(p.scroll().maximum, maximum);

        std::vector<int> values;
        for (int v = 2; v <= maximum; ++v)
            values.push_back(v);
        for (int v = maximum - 1; v >= 1; --v)
            values.push_back(v);
        for (int v : {maximum, 1, (maximum + 1) / 2, (maximum + 1) / 2 + 1, maximum, maximum - 1, 2, 1})
            values.push_back(std::clamp(v, 1, maximum));
        int last = 1;
        for (int v : values) {
            SCOPED_TRACE(QStringLiteral("%1 -> %2").arg(last).arg(v).toStdString());
            f.drawn = 0;
            p.setScrollValue(v);
            EXPECT_EQ(p.scroll().value, v);
            EXPECT_EQ(f.window(), expectedWindow(numbers, v));
            if (v == last)
                EXPECT_EQ(f.drawn, 0);
            else if (std::abs(v - last) == 1)
                EXPECT_EQ(f.drawn, 1);
            else
                EXPECT_EQ(f.drawn, 5);
            for (int i = 0; i < ThumbPager::kSlots; ++i)
                EXPECT_EQ(p.thumbnail(i).isNull(), f.window()[std::size_t(i)] == 0) << i;
            last = v;
        }
    }
}

TEST(Paging, ThumbnailsShowTheCandidatesRow)
{
    std::vector<Part> parts = category(13, 6);
    PagerFixture f(parts);

    // Mode 0: the middle row, a 100 x 100 thumbnail of its own.
    ThumbPager& alone = f.open(13, 0);
    EXPECT_EQ(alone.thumbnail(0).size(), QSize(100, 100));
    EXPECT_EQ(alone.thumbnail(0).image().pixel(50, 50), partColour(13, 1));
    EXPECT_EQ(alone.thumbnail(4).image().pixel(50, 50), partColour(13, 5));
    EXPECT_EQ(alone.thumbnail(4).image().pixel(5, 5), qRgb(255, 255, 255));

    // Mode 2: the one-third-scale row, the part in its box.
    ThumbPager& small = f.open(13, 2);
    const QRect box = parts[1].smallBox;
    EXPECT_EQ(small.thumbnail(1).image().pixel(box.center()), partColour(13, 2));
    EXPECT_EQ(small.thumbnail(1).image().pixel(box.right() + 2, box.center().y()), qRgb(255, 255, 255));
}

// The thumbnail of the part in use is marked; empty slots never are.
TEST(Paging, MarksThePartInUse)
{
    PagerFixture f(category(8, 7));
    ThumbPager& p = f.open(8, 2);
    auto marked = [&] {
        std::vector<int> m;
        for (int i = 0; i < ThumbPager::kSlots; ++i)
            m.push_back(p.inUse(i) ? 1 : 0);
        return m;
    };
    EXPECT_EQ(marked(), (std::vector<int>{0, 0, 0, 0, 0}));
    f.session.state.PartTable[8].FileNo = 3;
    f.session.marks.InUseFileNo[8] = 3;
    p.MarkInUse();
    EXPECT_EQ(marked(), (std::vector<int>{0, 0, 1, 0, 0}));
    p.setScrollValue(2);
    EXPECT_EQ(marked(), (std::vector<int>{0, 1, 0, 0, 0}));
    p.setScrollValue(3);
    EXPECT_EQ(marked(), (std::vector<int>{1, 0, 0, 0, 0}));
    p.setScrollValue(1);
    EXPECT_EQ(marked(), (std::vector<int>{0, 0, 1, 0, 0}));

    // A short category's empty slots hold no part, even while none is in use.
    PagerFixture g(category(8, 2));
    ThumbPager& q = g.open(8, 2);
    for (int i = 0; i < ThumbPager::kSlots; ++i)
        EXPECT_FALSE(q.inUse(i)) << i;
}

TEST(Paging, EmptyCategoryShowsNothing)
{
    PagerFixture f(category(3, 4));
    ThumbPager& p = f.open(15, 2);
    EXPECT_EQ(p.pictureCount(), 0);
    EXPECT_EQ(f.window(), (std::vector<int>{0, 0, 0, 0, 0}));
    EXPECT_EQ(p.scroll().maximum, p.scroll().minimum);
    for (int i = 0; i < ThumbPager::kSlots; ++i)
        EXPECT_TRUE(p.toolTip(i).isEmpty());
    EXPECT_EQ(f.apply(0), picker::PartApplier::Result::Ignored);
    EXPECT_FALSE(f.session.state.PartTable[15].present());
}

// A count that promises more parts than the category has leaves empty slots, not stale ones.
TEST(Paging, OverstatedCountEmptiesTheMissingSlots)
{
    std::vector<Part> parts = category(3, 6);
    const std::vector<Part> after = category(4, 3);
    parts.insert(parts.end(), after.begin(), after.end());
    PagerFixture f(parts);
    ASSERT_EQ(exec(f.path, QStringLiteral("UPDATE people SET FileCnt = 9 WHERE FileCnt = 6")), QString());
    f.db.requery().ok();
    ThumbPager& p = f.open(3, 2);
    ASSERT_EQ(p.scroll().maximum, 5);
    p.setScrollValue(4);
    EXPECT_EQ(f.window(), (std::vector<int>{4, 5, 6, 0, 0}));
    EXPECT_TRUE(p.thumbnail(3).isNull());
    EXPECT_TRUE(p.thumbnail(4).isNull());
    EXPECT_TRUE(p.toolTip(4).isEmpty());
}

// ---- sub-categories ----------------------------------------------------------------------

namespace {

// Backgrounds in the ranges of the list, "店" (5001-6000) left empty.
const std::vector<int> kBackgroundNumbers = {1601, 1602, 1701, 1751, 1801, 2001, 3001, 4001,
                                             6001, 7001, 7002, 8001, 8002, 9001, 9002};

struct Backgrounds : PagerFixture {
    Backgrounds() : PagerFixture(parts()) {}
    static std::vector<Part> parts()
    {
        std::vector<Part> p = category(1, kBackgroundNumbers);
        const std::vector<Part> after = category(3, 3);
        p.insert(p.end(), after.begin(), after.end());
        return p;
    }
};

int entryOf(const char16_t* caption)
{
    const auto list = picker::backgroundSubcategories();
    for (std::size_t i = 0; i < list.size(); ++i)
        if (QStringView(list[i].caption) == QStringView(caption))
            return int(i);
    return -1;
}

}  // namespace

TEST(Subcategories, JumpShowsTheRangesFirstPart)
{
    struct Case {
        const char16_t* entry;
        int value;
        std::vector<int> window;
        QString firstTip;
    };
    const int n = int(kBackgroundNumbers.size());  // 15 parts, bar 1..11
    const Case cases[] = {
        {u"宇宙", 1, {1601, 1602, 1701, 1751, 1801}, "1/15"},
        {u"その他", 10, {7001, 7002, 8001, 8002, 9001}, "10/15"},
        {u"動物", 11, {8001, 8002, 9001, 9002, 0}, "12/15"},
        {u"正月", 11, {9001, 9002, 0, 0, 0}, "14/15"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.entry).toStdString());
        Backgrounds f;
        ThumbPager& p = f.open(1, 2);
        ASSERT_EQ(p.scroll().maximum, n - 4);
        EXPECT_EQ(p.subcategoryJump(entryOf(c.entry)), ThumbPager::JumpResult::Jumped);
        EXPECT_EQ(p.scroll().value, c.value);
        EXPECT_EQ(f.window(), c.window);
        EXPECT_EQ(p.toolTip(0), c.firstTip);
        // The part applied is the one shown.
        EXPECT_EQ(f.apply(0), picker::PartApplier::Result::Applied);
        EXPECT_EQ(f.session.state.PartTable[1].FileNo, c.window[0]);
    }
}

// After a jump into the last four parts the first steps back slide the window while the bar
// stays at its end; once the window is full again the bar moves.
TEST(Subcategories, StepsBackFromTheEndSlideWithoutTheBar)
{
    Backgrounds f;
    ThumbPager& p = f.open(1, 2);
    ASSERT_EQ(p.subcategoryJump(entryOf(u"正月")), ThumbPager::JumpResult::Jumped);
    ASSERT_EQ(p.emptyTail(), 3);
    const std::vector<std::vector<int>> expected = {
        {8002, 9001, 9002, 0, 0},
        {8001, 8002, 9001, 9002, 0},
        {7002, 8001, 8002, 9001, 9002},
    };
    for (const std::vector<int>& w : expected) {
        f.drawn = 0;
        p.setScrollValue(p.scroll().value - 1);
        EXPECT_EQ(p.scroll().value, 11);
        EXPECT_EQ(f.window(), w);
        EXPECT_EQ(f.drawn, 1);
    }
    EXPECT_EQ(p.emptyTail(), 0);
    EXPECT_EQ(f.toolTips(), (std::vector<QString>{"11/15", "12/15", "13/15", "14/15", "15/15"}));
    p.setScrollValue(10);
    EXPECT_EQ(p.scroll().value, 10);
    EXPECT_EQ(f.window(), (std::vector<int>{7001, 7002, 8001, 8002, 9001}));
    EXPECT_EQ(f.apply(2), picker::PartApplier::Result::Applied);
    EXPECT_EQ(f.session.state.PartTable[1].FileNo, 8001);
}

// A jump that fills the window leaves no empty tail behind from the jump before it.
TEST(Subcategories, JumpAfterJumpStartsAfresh)
{
    Backgrounds f;
    ThumbPager& p = f.open(1, 2);
    ASSERT_EQ(p.subcategoryJump(entryOf(u"正月")), ThumbPager::JumpResult::Jumped);
    ASSERT_EQ(p.subcategoryJump(entryOf(u"ガレキ")), ThumbPager::JumpResult::Jumped);
    EXPECT_EQ(p.scroll().value, 3);
    EXPECT_EQ(f.window(), (std::vector<int>{1701, 1751, 1801, 2001, 3001}));
    EXPECT_EQ(p.toolTip(0), "3/15");
    EXPECT_EQ(f.apply(0), picker::PartApplier::Result::Applied);
    EXPECT_EQ(f.session.state.PartTable[1].FileNo, 1701);
    // And the bar goes on from there.
    p.setScrollValue(4);
    EXPECT_EQ(f.window(), (std::vector<int>{1751, 1801, 2001, 3001, 4001}));
}

TEST(Subcategories, RangeWithoutPartsLeavesTheWindow)
{
    Backgrounds f;
    ThumbPager& p = f.open(1, 2);
    p.setScrollValue(2);
    p.setScrollValue(3);
    const std::vector<int> before = f.window();
    for (int attempt = 0; attempt < 2; ++attempt) {
        SCOPED_TRACE(attempt);
        f.drawn = 0;
        EXPECT_EQ(p.subcategoryJump(entryOf(u"店")), ThumbPager::JumpResult::NoMatch);
        EXPECT_EQ(f.window(), before);
        EXPECT_EQ(f.drawn, 0);
        EXPECT_EQ(p.scroll().value, 3);
    }
    // The cursor is where the window left it: the bar still slides both ways.
    p.setScrollValue(4);
    EXPECT_EQ(f.window(), expectedWindow(kBackgroundNumbers, 4));
    p.setScrollValue(3);
    EXPECT_EQ(f.window(), expectedWindow(kBackgroundNumbers, 3));
    EXPECT_EQ(p.subcategoryJump(-1), ThumbPager::JumpResult::Nothing);
}

// A sub-category chosen again goes back to its remembered first part.
TEST(Subcategories, VisitedEntryUsesItsMark)
{
    Backgrounds f;
    ThumbPager& p = f.open(1, 2);
    ASSERT_EQ(p.subcategoryJump(entryOf(u"季節")), ThumbPager::JumpResult::Jumped);
    p.setScrollValue(1);
    ASSERT_EQ(p.subcategoryJump(entryOf(u"季節")), ThumbPager::JumpResult::Jumped);
    EXPECT_EQ(p.scroll().value, 5);
    EXPECT_EQ(f.window(), expectedWindow(kBackgroundNumbers, 5));
}
