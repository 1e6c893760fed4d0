// Applying a clicked thumbnail to the portrait.

#include "fakeenvironment.h"
#include "pickerfixture.h"

#include "core/colourcode.h"
#include "core/compose.h"

using namespace pickertest;
using picker::PartApplier;
using picker::ThumbPager;
using Result = PartApplier::Result;

namespace {

const Part& partOf(const std::vector<Part>& parts, int kind, int fileNo)
{
    for (const Part& p : parts)
        if (p.kind == kind && p.fileNo == fileNo)
            return p;
    throw std::logic_error("no such part");
}

}  // namespace

// A first part goes to its standard place; an exchanged part keeps the move the user gave
// the part before it (and its size change), in its own box.
TEST(Apply, ExchangeKeepsTheUsersMove)
{
    const std::vector<Part> parts = category(3, 4);
    PagerFixture f(parts);
    f.open(3, 2);
    const core::PartSlot& s = f.session.state.PartTable[3];
    const core::PartSlot& e = f.session.images.PreviewTable[3];

    ASSERT_EQ(f.apply(0), Result::Applied);
    const Part& first = partOf(parts, 3, 1);
    EXPECT_EQ(s.FileNo, 1);
    EXPECT_EQ(QRect(s.BaseX, s.BaseY, s.Width, s.Height), first.fullBox);
    EXPECT_EQ(QPoint(s.PosX, s.PosY), first.fullBox.topLeft());
    EXPECT_EQ(QRect(e.BaseX, e.BaseY, e.Width, e.Height), first.smallBox);
    EXPECT_EQ(QPoint(e.PosX, e.PosY), first.smallBox.topLeft());
    EXPECT_EQ(e.FileNo, 1);
    EXPECT_FALSE(f.session.images.colour(3).isNull());
    EXPECT_FALSE(f.session.images.smallMask(3).isNull());

    // The user drags it (the editor moves both scales) and widens the outline.
    f.session.state.PartTable[3].PosX += 12;
    f.session.state.PartTable[3].PosY -= 6;
    f.session.images.PreviewTable[3].PosX += 4;
    f.session.images.PreviewTable[3].PosY -= 2;
    f.session.state.PartTable[3].GrowW = 9;

    ASSERT_EQ(f.apply(1), Result::Applied);
    const Part& second = partOf(parts, 3, 2);
    ASSERT_NE(first.fullBox.topLeft(), second.fullBox.topLeft());
    EXPECT_EQ(s.FileNo, 2);
    EXPECT_EQ(QRect(s.BaseX, s.BaseY, s.Width, s.Height), second.fullBox);
    EXPECT_EQ(QPoint(s.PosX, s.PosY), second.fullBox.topLeft() + QPoint(12, -6));
    EXPECT_EQ(QPoint(e.PosX, e.PosY), second.smallBox.topLeft() + QPoint(4, -2));
    EXPECT_EQ(s.GrowW, 9);
}

// Eyes: "左" places only the left eye (12), "右" only the right (11), "両方" both, the left
// one 53 pixels (one-third scale: 17) further left, from the same pictures.
TEST(Apply, PairsFollowTheSideChoice)
{
    struct Case {
        int side;
        bool right;
        bool left;
    };
    const Case cases[] = {{0, false, true}, {1, true, false}, {2, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.side);
        const std::vector<Part> parts = category(11, 4);
        PagerFixture f(parts);
        f.session.state.EyeSpacing = 1;  // 3 pixels closer on each side
        f.open(11, 0);
        ASSERT_EQ(f.apply(1, c.side), Result::Applied);
        const core::PartTable& t = f.session.state.PartTable;
        const core::PartTable& e = f.session.images.PreviewTable;
        EXPECT_EQ(t[11].present(), c.right);
        EXPECT_EQ(t[12].present(), c.left);
        const Part& eye = partOf(parts, 11, 2);
        if (c.right) {
            EXPECT_EQ(t[11].FileNo, 2);
            EXPECT_EQ(t[11].BaseX, eye.fullBox.x());
            EXPECT_EQ(t[11].PosX, eye.fullBox.x() - 3);
            EXPECT_EQ(t[11].Extra, 3);
            EXPECT_EQ(e[11].BaseX, eye.smallBox.x());
        }
        if (c.left) {
            EXPECT_EQ(t[12].FileNo, 2);
            EXPECT_EQ(t[12].BaseX, eye.fullBox.x() - 53);
            EXPECT_EQ(t[12].PosX, eye.fullBox.x() - 53 + 3);
            EXPECT_EQ(t[12].BaseY, eye.fullBox.y());
            EXPECT_EQ(t[12].Width, eye.fullBox.width());
            EXPECT_EQ(e[12].BaseX, eye.smallBox.x() - 17);
            EXPECT_EQ(e[12].FileNo, 1);
            // The pair's picture holds both eyes.
            EXPECT_TRUE(f.session.images.colour(12) == f.session.images.colour(11) || !c.right);
            EXPECT_FALSE(f.session.images.colour(12).isNull());
        }
    }
}

TEST(Apply, ExclusiveKindsRemoveEachOther)
{
    const int pairs[][2] = {{4, 5}, {5, 4}, {20, 21}, {21, 20}};
    for (const auto& pr : pairs) {
        SCOPED_TRACE(pr[0]);
        std::vector<Part> parts;
        for (int k : {4, 5, 20, 21}) {
            const std::vector<Part> c = category(k, 2);
            parts.insert(parts.end(), c.begin(), c.end());
        }
        PagerFixture f(parts);
        f.open(pr[0], 2);
        ASSERT_EQ(f.apply(0), Result::Applied);
        f.session.marks.InUseFileNo[std::size_t(pr[0])] = 1;
        f.open(pr[1], 2);
        ASSERT_EQ(f.apply(1), Result::Applied);
        EXPECT_FALSE(f.session.state.PartTable[pr[0]].present());
        EXPECT_EQ(f.session.marks.InUseFileNo[std::size_t(pr[0])], 0);
        EXPECT_EQ(f.session.state.PartTable[pr[1]].FileNo, 2);
    }
}

// The editor window's size, "表示位置" and the background's option.
TEST(Apply, BackgroundAndBodySizeTheEditor)
{
    std::vector<Part> parts = category(1, 2);
    parts[1].optionId1 = 1;
    const std::vector<Part> bodies = category(4, 2);
    parts.insert(parts.end(), bodies.begin(), bodies.end());
    PagerFixture f(parts);
    FakeEnvironment env;

    f.open(4, 2);
    ASSERT_EQ(f.apply(0, 2, 0, &env), Result::Applied);
    EXPECT_EQ(env.editorSizeTwips, QSize(300 * 15, 422 * 15));
    EXPECT_FALSE(env.figureMenuEnabled);

    f.session.state.FigurePosMode = 2;
    f.open(1, 2);
    ASSERT_EQ(f.apply(1, 2, 0, &env), Result::Applied);
    EXPECT_EQ(env.editorSizeTwips, QSize(575 * 15, 422 * 15));
    EXPECT_TRUE(env.figureMenuEnabled);
    EXPECT_EQ(env.checkedFigureItem, 2);
    EXPECT_EQ(f.session.state.PartTable[1].Extra, 2);
    EXPECT_EQ(f.session.state.BackgroundOption, 1);
    ASSERT_EQ(f.apply(0, 2, 0, &env), Result::Applied);
    EXPECT_EQ(f.session.state.BackgroundOption, 0);

    // A body beside a background leaves the wide window alone.
    env.editorSizeTwips = QSize();
    f.open(4, 2);
    ASSERT_EQ(f.apply(1, 2, 0, &env), Result::Applied);
    EXPECT_EQ(env.editorSizeTwips, QSize());
}

// Skin and hair kinds take the swatch's treatment into both scales and keep its code.
TEST(Apply, ColourCodeTreatsThePictures)
{
    std::vector<Part> parts = category(3, 2);
    for (int k : {13, 14}) {
        const std::vector<Part> c = category(k, 2);
        parts.insert(parts.end(), c.begin(), c.end());
    }
    PagerFixture f(parts);
    f.open(3, 2);
    ASSERT_EQ(f.apply(0, 2, 0), Result::Applied);
    imaging::Raster plain = f.session.images.colour(3);
    imaging::Raster plainSmall = f.session.images.smallColour(3);
    ASSERT_EQ(f.apply(0, 2, 4), Result::Applied);
    EXPECT_EQ(f.session.state.PartTable[3].Extra, 4);
    core::ApplyColourCode(plain, 4);
    core::ApplyColourCode(plainSmall, 4);
    EXPECT_TRUE(f.session.images.colour(3) == plain);
    EXPECT_TRUE(f.session.images.smallColour(3) == plainSmall);

    f.open(14, 0);
    ASSERT_EQ(f.apply(0, 2, 2), Result::Applied);
    EXPECT_EQ(f.session.state.PartTable[14].Extra, 2);
    f.open(13, 0);
    ASSERT_EQ(f.apply(0, 2, 0), Result::Applied);
    EXPECT_EQ(f.session.state.PartTable[13].Extra, 0);
}

// The next scroll continues from the window the click was made in.
TEST(Apply, CursorStaysWithTheWindow)
{
    struct Case {
        int kind;
        int mode;
    };
    for (const Case& c : {Case{3, 2}, Case{13, 0}, Case{17, 1}}) {
        SCOPED_TRACE(c.kind);
        PagerFixture f(category(c.kind, 9));
        ThumbPager& p = f.open(c.kind, c.mode);
        p.setScrollValue(2);
        p.setScrollValue(3);
        ASSERT_EQ(f.apply(2), Result::Applied);
        EXPECT_EQ(f.session.state.PartTable[c.kind].FileNo, 5);
        p.setScrollValue(4);
        EXPECT_EQ(f.window(), (std::vector<int>{4, 5, 6, 7, 8}));
        ASSERT_EQ(f.apply(4), Result::Applied);
        EXPECT_EQ(f.session.state.PartTable[c.kind].FileNo, 8);
        p.setScrollValue(3);
        EXPECT_EQ(f.window(), (std::vector<int>{3, 4, 5, 6, 7}));
    }
}

TEST(Apply, OptionPartIsRemembered)
{
    const std::vector<Part> parts = category(17, 3);
    PagerFixture f(parts);
    f.open(17, 1);
    ASSERT_EQ(f.apply(2), Result::Applied);
    const core::OptionMemory& m = f.session.marks.OptionMemory;
    EXPECT_EQ(QRect(m.BaseX, m.BaseY, m.Width, m.Height), partOf(parts, 17, 3).smallBox);
}

TEST(Apply, RegisteredPictureIsItsOwnBox)
{
    const std::vector<Part> parts = category(2, 3);
    PagerFixture f(parts, QStringLiteral("photo.mdb"));
    f.session.state.PartTable[2].Extra = 5;  // its layer position
    f.open(2, 2);
    ASSERT_EQ(f.apply(1), Result::Applied);
    const core::PartSlot& s = f.session.state.PartTable[2];
    EXPECT_EQ(s.FileNo, 2);
    EXPECT_EQ(QRect(s.PosX, s.PosY, s.Width, s.Height), partOf(parts, 2, 2).fullBox);
    EXPECT_EQ(s.Extra, 5);
    EXPECT_EQ(f.session.images.colour(2).size(), partOf(parts, 2, 2).fullBox.size());
}

// Clicks on empty slots are ignored; a part whose rows cannot be read changes nothing.
TEST(Apply, NothingChangesWithoutAReadablePart)
{
    PagerFixture f(category(3, 3));
    ThumbPager& p = f.open(3, 2);
    EXPECT_EQ(f.apply(3), Result::Ignored);
    EXPECT_EQ(f.apply(4), Result::Ignored);
    EXPECT_EQ(f.apply(-1), Result::Ignored);
    EXPECT_FALSE(f.session.state.PartTable[3].present());

    ASSERT_EQ(exec(f.path, QStringLiteral("UPDATE people SET photo_main = x'0001' "
                                          "WHERE PictureID = 3 AND FileNo = 2 AND who_main LIKE '%_2.bmp'")),
              QString());
    const core::PortraitSession before = f.session;
    EXPECT_EQ(f.apply(1), Result::Failed);
    EXPECT_EQ(f.session.state, before.state);
    EXPECT_EQ(f.session.images.PreviewTable, before.images.PreviewTable);
    EXPECT_TRUE(f.session.images.colour(3).isNull());
    EXPECT_TRUE(f.session.images.smallColour(3).isNull());
    // The cursor is back with the window.
    EXPECT_EQ(f.apply(2), Result::Applied);
    EXPECT_EQ(f.session.state.PartTable[3].FileNo, 3);
    EXPECT_EQ(p.dbPosition(), 1);
}

// The composition runs once, and then the applied part's thumbnail is marked.
TEST(Apply, ComposesAndMarksThePart)
{
    const std::vector<Part> parts = category(7, 6);
    PagerFixture f(parts);
    ThumbPager& p = f.open(7, 2);
    imaging::Raster canvas;
    const imaging::Raster blank;
    int composed = 0;
    PartApplier applier(f.session, nullptr, [&] {
        ++composed;
        core::ComposePortrait(f.session.state, f.session.images, canvas, blank, f.session.marks);
    });
    ASSERT_EQ(applier.ApplyPart(p, 3, 2, 0), Result::Applied);
    EXPECT_EQ(composed, 1);
    const Part& outline = partOf(parts, 7, 4);
    EXPECT_EQ(canvas.image().pixel(outline.fullBox.center()), partColour(7, 4));
    for (int i = 0; i < ThumbPager::kSlots; ++i)
        EXPECT_EQ(p.inUse(i), i == 3) << i;
}
