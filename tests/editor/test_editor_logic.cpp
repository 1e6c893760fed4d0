// The editor's rules without a window: picking, pointer shapes, the rubber band, commits of
// moves and stretches, and the pop-up menus' commands and enabled states.

#include "core/compose.h"
#include "core/partimages.h"
#include "core/portrait.h"
#include "editor/editorcommands.h"
#include "editor/editorlogic.h"
#include "imaging/engine/raster.h"

#include <gtest/gtest.h>

#include <QString>

#include <cstring>
#include <vector>

using namespace editor;
using core::PartSlot;
using core::PortraitState;

namespace {

PartSlot slot(int x, int y, int w, int h)
{
    PartSlot s;
    s.FileNo = 1;
    s.PosX = s.BaseX = std::int16_t(x);
    s.PosY = s.BaseY = std::int16_t(y);
    s.Width = std::int16_t(w);
    s.Height = std::int16_t(h);
    return s;
}

PortraitState wideState(int mode)
{
    PortraitState st;
    st.CanvasWidth = 575;
    st.CanvasHeight = 395;
    st.FigurePosMode = std::int16_t(mode);
    return st;
}

int itemIndex(const char* name)
{
    const auto items = groupMenuItems();
    for (std::size_t i = 0; i < items.size(); ++i)
        if (std::strcmp(items[i].name, name) == 0)
            return int(i);
    ADD_FAILURE() << "no item " << name;
    return -1;
}

}  // namespace

TEST(EditorPick, HigherKindWinsWhateverTheLayerOrderAndEdgesDoNotCount)
{
    PortraitState st;
    st.PartTable[14] = slot(100, 100, 40, 40);  // nose
    st.PartTable[18] = slot(110, 110, 40, 40);  // glasses over it
    st.PartTable[7] = slot(0, 0, 300, 300);     // outline: never picked
    // The nose drawn last must not matter.
    core::MoveUserLayer(st, 22);
    std::swap(st.LayerOrder[14], st.LayerOrder[18]);

    struct Row {
        const char* name;
        QPointF at;
        int kind;
    };
    const Row rows[] = {
        {"overlap picks the higher kind", {120, 120}, 18},
        {"nose alone", {105, 105}, 14},
        {"on the nose's left edge line", {100, 105}, 0},
        {"on the glasses' right edge line", {150, 130}, 0},
        {"on the glasses' top edge line, inside the nose", {120, 110}, 14},
        {"just inside the right edge", {149.5, 130}, 18},
        {"outline area only", {10, 10}, 0},
    };
    for (const Row& r : rows)
        EXPECT_EQ(PickPart(st, r.at), r.kind) << r.name;
}

TEST(EditorPick, FigureOffsetMovesFacePartsOnTheWideCanvasOnly)
{
    PortraitState st = wideState(1);  // 中央
    st.PartTable[20] = slot(50, 20, 60, 30);   // hat: shown 140 further right
    st.PartTable[22] = slot(50, 100, 60, 30);  // balloon: never offset
    EXPECT_EQ(PickPart(st, {200, 30}), 20);
    EXPECT_EQ(PickPart(st, {60, 30}), 0);
    EXPECT_EQ(PickPart(st, {60, 110}), 22);
    EXPECT_EQ(partFrame(st, 20), QRect(190, 20, 60, 30));

    st.FigurePosMode = 3;
    st.FigureStepX = 2;
    st.FigureStepY = -1;
    EXPECT_EQ(displayOffset(st, 20), QPoint(40, -10));
    EXPECT_EQ(displayOffset(st, 2), QPoint(0, 0));

    // A narrow canvas draws the figure unshifted, so it is picked where it is seen.
    st.CanvasWidth = 300;
    EXPECT_EQ(displayOffset(st, 20), QPoint(0, 0));
    EXPECT_EQ(PickPart(st, {60, 30}), 20);
}

TEST(EditorPick, GrowthWidensTheFrame)
{
    PortraitState st;
    st.PartTable[2] = slot(10, 10, 50, 50);
    st.PartTable[2].GrowW = 30;
    st.PartTable[2].GrowH = -20;
    EXPECT_EQ(PickPart(st, {85, 35}), 2);
    EXPECT_EQ(PickPart(st, {85, 45}), 0);
}

TEST(EditorDragPicture, ThePartAsTheCompositionDrawsIt)
{
    PortraitState st;
    core::PartImages images;
    // The user image's picture is its box: drawn from (0, 0) whatever its base says.
    st.PartTable[2] = slot(120, 80, 30, 20);
    images.mask(2) = imaging::Raster(30, 20, 1, qRgb(0, 0, 0));
    images.colour(2) = imaging::Raster(30, 20, 24, qRgb(10, 200, 30));
    // A nose inside a full-size picture, grown by 10 x 4.
    st.PartTable[14] = slot(40, 50, 20, 10);
    st.PartTable[14].GrowW = 10;
    st.PartTable[14].GrowH = 4;
    images.mask(14) = imaging::Raster(100, 100, 1, qRgb(255, 255, 255));
    images.colour(14) = imaging::Raster(100, 100, 24, qRgb(0, 0, 0));
    for (int y = 50; y < 60; ++y)
        for (int x = 40; x < 60; ++x) {
            images.mask(14).setPixel(x, y, qRgb(0, 0, 0));
            images.colour(14).setPixel(x, y, qRgb(0, 0, 255));
        }
    core::PortraitComposer composer(st, images);

    const imaging::Raster user = buildDragPicture(composer, st, imaging::Raster(), 2);
    ASSERT_EQ(user.size(), QSize(30, 20));
    EXPECT_EQ(user.region().bounds(), QRect(0, 0, 30, 20));
    EXPECT_EQ(user.pixel(0, 0), qRgb(10, 200, 30));
    EXPECT_EQ(user.pixel(29, 19), qRgb(10, 200, 30));

    const imaging::Raster nose = buildDragPicture(composer, st, imaging::Raster(), 14);
    ASSERT_EQ(nose.size(), QSize(30, 14));
    EXPECT_EQ(nose.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(nose.pixel(29, 13), qRgb(0, 0, 255));

    st.PartTable[14].GrowW = -20;  // no width left
    EXPECT_TRUE(buildDragPicture(composer, st, imaging::Raster(), 14).isNull());
}

TEST(EditorRubCtl, OneAxis)
{
    struct Row {
        int dflt;
        double xy;
        double start, length;
    };
    // Region from 100, length 50.
    const Row rows[] = {
        {-1, 80, 80, 70},    // start edge dragged outwards
        {-1, 100, 100, 50},  // on the start edge
        {-1, 120, 120, 30},  // inwards
        {-1, 150, 150, 0},   // onto the far edge
        {-1, 170, 150, 0},   // beyond it
        {0, 90, 100, 0},     // far edge dragged before the start
        {0, 100, 100, 0},
        {0, 130, 100, 30},
        {0, 200, 100, 100},
    };
    for (const Row& r : rows) {
        double start = -1;
        double length = -1;
        Rub_Ctl(r.dflt, 100, 50, r.xy, start, length);
        EXPECT_EQ(start, r.start) << r.dflt << " at " << r.xy;
        EXPECT_EQ(length, r.length) << r.dflt << " at " << r.xy;
    }
}

TEST(EditorPointer, ShapesAndEdgesAroundTheFrame)
{
    const QRectF frame(100, 100, 60, 40);  // right 160, bottom 140
    struct Row {
        const char* name;
        QPointF at;
        int shape;
        int resizeX;  // -2: not set
        int resizeY;
    };
    const Row rows[] = {
        {"top-left", {100, 101}, kPointerNWSE, -1, -1},
        {"bottom-right", {161, 139}, kPointerNWSE, 0, 0},
        {"top-right", {159, 99}, kPointerNESW, 0, -1},
        {"bottom-left", {99, 141}, kPointerNESW, -1, 0},
        {"left edge", {101, 120}, kPointerWE, -1, -2},
        {"right edge", {160, 120}, kPointerWE, 0, -2},
        {"top edge", {130, 100}, kPointerNS, -2, -1},
        {"bottom edge", {130, 141}, kPointerNS, -2, 0},
        {"inside", {130, 120}, kPointerDefault, -2, -2},
        {"outside", {50, 50}, kPointerDefault, -2, -2},
        {"left edge far below", {100, 200}, kPointerDefault, -2, -2},
    };
    for (const Row& r : rows) {
        const PointerChoice c = choosePointer(frame, r.at, 2.0);
        EXPECT_EQ(c.shape, r.shape) << r.name;
        EXPECT_EQ(c.setsX ? c.resizeX : -2, r.resizeX) << r.name;
        EXPECT_EQ(c.setsY ? c.resizeY : -2, r.resizeY) << r.name;
    }
}

// Press on a part, press again inside to drag, move, release.
TEST(EditorInteraction, DragCommitsPositionWithoutTheOffset)
{
    PortraitState st = wideState(1);
    st.PartTable[20] = slot(50, 20, 60, 30);
    core::PartTable preview;
    CanvasInteraction ia;

    EXPECT_EQ(ia.press(st, 1, {200, 30}), CanvasInteraction::PressResult::Picked);
    EXPECT_EQ(ia.selectedKind(), 20);
    EXPECT_TRUE(ia.partSelected());
    EXPECT_EQ(ia.frame(), QRect(190, 20, 60, 30));
    EXPECT_EQ(ia.release(1), CanvasInteraction::ReleaseResult::None);

    // The pointer strays before the second press: the floater follows from that press.
    ia.move(0, {210, 35}, true);
    EXPECT_EQ(ia.press(st, 1, {210, 35}), CanvasInteraction::PressResult::DragStarted);
    EXPECT_TRUE(ia.dragActive());
    EXPECT_FALSE(ia.partSelected());
    EXPECT_TRUE(ia.move(1, {220, 40}, true));
    EXPECT_FALSE(ia.move(1, {400, 40}, false));  // outside the canvas: not followed
    EXPECT_TRUE(ia.move(1, {221.5, 41}, true));
    EXPECT_EQ(ia.floaterRect(), QRectF(201.5, 26, 60, 30));
    ASSERT_EQ(ia.release(1), CanvasInteraction::ReleaseResult::CommitMove);

    const Commit c = ia.commitMove(st, preview);
    EXPECT_TRUE(c.changed);
    EXPECT_EQ(c.kind, 20);
    EXPECT_EQ(st.PartTable[20].PosX, 62);  // 201.5 - 140 rounds half to even
    EXPECT_EQ(st.PartTable[20].PosY, 26);
    EXPECT_EQ(preview[20].PosX, 21);
    EXPECT_EQ(preview[20].PosY, 9);
    EXPECT_EQ(ia.selectedKind(), 0);
    EXPECT_FALSE(ia.dragActive());
}

TEST(EditorInteraction, SelectionEndsOnClickOutsideAndRedraws)
{
    PortraitState st;
    st.PartTable[14] = slot(100, 100, 40, 40);
    core::PartTable preview;
    CanvasInteraction ia;
    using P = CanvasInteraction::PressResult;
    using R = CanvasInteraction::ReleaseResult;

    EXPECT_EQ(ia.press(st, 1, {10, 10}), P::Missed);
    EXPECT_EQ(ia.release(2), R::GroupMenu);
    EXPECT_EQ(ia.press(st, 2, {120, 120}), P::None);  // right button never picks

    ASSERT_EQ(ia.press(st, 1, {120, 120}), P::Picked);
    EXPECT_EQ(ia.press(st, 2, {120, 120}), P::None);
    EXPECT_EQ(ia.release(2), R::PartMenu);
    EXPECT_EQ(ia.press(st, 1, {10, 10}), P::Deselected);
    EXPECT_EQ(ia.selectedKind(), 0);
    EXPECT_FALSE(ia.partSelected());

    // A redraw by another window drops the frame but keeps SelectedKind.
    ASSERT_EQ(ia.press(st, 1, {120, 120}), P::Picked);
    ia.dropSelection();
    EXPECT_EQ(ia.selectedKind(), 14);
    EXPECT_FALSE(ia.partSelected());
    EXPECT_TRUE(ia.frame().isEmpty());
    ia.move(0, {100, 120}, true);
    EXPECT_EQ(ia.pointerShape(), kPointerDefault);  // no stale frame to stretch
    EXPECT_EQ(ia.press(st, 1, {120, 120}), P::Picked);

    // Press and release inside without moving: nothing to commit.
    ASSERT_EQ(ia.press(st, 1, {120, 120}), P::DragStarted);
    EXPECT_FALSE(ia.commitMove(st, preview).changed);
    EXPECT_EQ(st.PartTable[14].PosX, 100);
}

namespace {

// Picks kind k at its frame's centre, goes to `grabAt` for the pointer, presses, moves to
// `to` and commits the stretch.
Commit stretch(PortraitState& st, core::PartTable& preview, int k, QPointF grabAt, QPointF to)
{
    CanvasInteraction ia;
    const QRect f = partFrame(st, k);
    EXPECT_EQ(ia.press(st, 1, QRectF(f).center()), CanvasInteraction::PressResult::Picked);
    ia.move(0, grabAt, true);
    EXPECT_NE(ia.pointerShape(), kPointerDefault);
    EXPECT_EQ(ia.press(st, 1, grabAt), CanvasInteraction::PressResult::StretchStarted);
    EXPECT_EQ(ia.rubberBand(), f);
    ia.move(1, to, true);
    EXPECT_EQ(ia.release(1), CanvasInteraction::ReleaseResult::CommitStretch);
    return ia.commitStretch(st, preview);
}

}  // namespace

TEST(EditorInteraction, StretchRules)
{
    struct Row {
        const char* name;
        int kind;
        int mode;
        QPointF grab;  // on the frame (100, 100, 40, 40) plus the offset
        QPointF to;
        QRect expect;  // PosX, PosY, Width + GrowW, Height + GrowH
    };
    const Row rows[] = {
        {"bottom-right outwards", 14, 0, {140, 140}, {170.4, 150.6}, {100, 100, 70, 51}},
        {"top-left inwards", 14, 0, {100, 100}, {110, 120}, {110, 120, 30, 20}},
        {"below ten pixels", 14, 0, {140, 140}, {103, 102}, {100, 100, 10, 10}},
        {"turned inside out", 14, 0, {100, 120}, {300, 120}, {140, 100, 10, 40}},
        {"right edge only", 14, 0, {140, 120}, {160, 300}, {100, 100, 60, 40}},
        {"beyond the canvas", 14, 0, {140, 140}, {700, 520}, {100, 100, 569, 395}},
        {"offset removed", 20, 1, {240, 100}, {250, 90}, {110, 90, 30, 50}},
        {"user image keeps its place", 2, 1, {100, 100}, {90, 90}, {90, 90, 50, 50}},
    };
    for (const Row& r : rows) {
        PortraitState st = wideState(r.mode);
        st.PartTable[r.kind] = slot(100, 100, 40, 40);
        core::PartTable preview;
        const Commit c = stretch(st, preview, r.kind, r.grab, r.to);
        const PartSlot& s = st.PartTable[r.kind];
        EXPECT_TRUE(c.changed) << r.name;
        EXPECT_EQ(QRect(s.PosX, s.PosY, s.Width + s.GrowW, s.Height + s.GrowH), r.expect) << r.name;
        EXPECT_EQ(s.Width, 40) << r.name;
        EXPECT_EQ(preview[r.kind].PosX, qRound(s.PosX / 3.0)) << r.name;
    }
}

TEST(EditorInteraction, BalloonIsNeverStretched)
{
    PortraitState st = wideState(0);
    st.PartTable[22] = slot(100, 100, 40, 40);
    const PortraitState before = st;
    core::PartTable preview;
    const Commit c = stretch(st, preview, 22, {140, 140}, {200, 200});
    EXPECT_FALSE(c.changed);
    EXPECT_EQ(st, before);
}

TEST(EditorInteraction, NudgeGoesThroughTheMoveCommit)
{
    PortraitState st;
    st.PartTable[14] = slot(100, 100, 40, 40);
    core::PartTable preview;
    CanvasInteraction ia;
    EXPECT_FALSE(ia.nudge(st, preview, 1, 0).changed);  // nothing selected
    ASSERT_EQ(ia.press(st, 1, {120, 120}), CanvasInteraction::PressResult::Picked);
    const Commit c = ia.nudge(st, preview, -10, 1);
    EXPECT_TRUE(c.changed);
    EXPECT_EQ(st.PartTable[14].PosX, 90);
    EXPECT_EQ(st.PartTable[14].PosY, 101);
    EXPECT_EQ(preview[14].PosX, 30);
    EXPECT_EQ(ia.selectedKind(), 0);
}

TEST(EditorCommands, StandardPositionAndSizeKeepTheOtherFields)
{
    PortraitState st;
    PartSlot s = slot(100, 100, 40, 40);
    s.PosX = 7;
    s.PosY = 250;
    s.BaseX = 103;
    s.GrowW = 12;
    s.GrowH = -5;
    s.Angle = -500;
    s.Extra = 3;
    st.PartTable[20] = s;
    core::PartTable preview;

    restoreStandardPosition(st, preview, 20);
    EXPECT_EQ(st.PartTable[20].PosX, 103);
    EXPECT_EQ(st.PartTable[20].PosY, 100);
    EXPECT_EQ(preview[20].PosX, 34);
    EXPECT_EQ(preview[20].PosY, 33);
    EXPECT_EQ(st.PartTable[20].GrowW, 12);
    EXPECT_EQ(st.PartTable[20].Angle, -500);
    EXPECT_EQ(st.PartTable[20].Extra, 3);

    st.PartTable[20].PosX = 5;
    restoreStandardSize(st, 20);
    EXPECT_EQ(st.PartTable[20].GrowW, 0);
    EXPECT_EQ(st.PartTable[20].GrowH, 0);
    EXPECT_EQ(st.PartTable[20].PosX, 5);
    EXPECT_EQ(st.PartTable[20].Angle, -500);
}

TEST(EditorGroupMenu, EnabledRules)
{
    // Every item hangs under a submenu, in the order shown.
    const auto items = groupMenuItems();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].parent >= 0) {
            ASSERT_LT(std::size_t(items[i].parent), i) << items[i].name;
            EXPECT_EQ(items[std::size_t(items[i].parent)].rule, GroupMenuItem::Rule::Submenu) << items[i].name;
        }
    }

    struct Row {
        const char* name;
        std::vector<int> placed;
        std::vector<const char*> enabled;
        std::vector<const char*> disabled;
    };
    const Row rows[] = {
        {"only a left eyebrow", {10},
         {"menuP2Delete", "menuP2Parts(3)", "menuP2PartsKao(4)", "menuP2PartsMayu(3)"},
         {"menuP2PartsMayu(1)", "menuP2PartsMayu(2)", "menuP2PartsKao(1)", "menuP2Parts(2)",
          "menuP2PartsKao(5)", "menuP2Parts(1)", "menuP2Parts(11)"}},
        {"all eleven face kinds", {6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16},
         {"menuP2Parts(3)", "menuP2PartsKao(1)", "menuP2PartsMayu(1)", "menuP2PartsMe(1)",
          "menuP2PartsKao(10)"},
         {"menuP2Parts(2)", "menuP2Parts(4)"}},
        {"two face kinds", {13, 14}, {"menuP2PartsKao(1)", "menuP2PartsKao(7)"},
         {"menuP2PartsKao(2)"}},
        {"hairstyle only", {3}, {"menuP2Parts(2)", "menuP2PartsKami(2)"},
         {"menuP2PartsKami(1)", "menuP2PartsKami(3)", "menuP2Parts(3)"}},
        {"hair and fringe", {3, 19}, {"menuP2PartsKami(1)", "menuP2PartsKami(3)"}, {}},
        {"scene", {1, 2, 4, 5, 17, 18, 20, 21, 22},
         {"menuP2Parts(1)", "menuP2Parts(4)", "menuP2Parts(5)", "menuP2Parts(6)",
          "menuP2Parts(7)", "menuP2Parts(8)", "menuP2Parts(9)", "menuP2Parts(10)",
          "menuP2Parts(11)"},
         {"menuP2Parts(2)", "menuP2Parts(3)"}},
    };
    for (const Row& r : rows) {
        core::PartTable parts;
        for (int k : r.placed)
            parts[k].FileNo = 1;
        for (const char* name : r.enabled)
            EXPECT_TRUE(groupItemEnabled(parts, itemIndex(name))) << r.name << ": " << name;
        for (const char* name : r.disabled)
            EXPECT_FALSE(groupItemEnabled(parts, itemIndex(name))) << r.name << ": " << name;
    }
}

TEST(EditorGroupMenu, ItemsRemoveTheirKinds)
{
    PortraitState st;
    core::PickerMarks marks;
    for (int k = 1; k <= 22; ++k) {
        st.PartTable[k] = slot(10, 10, 20, 20);
        marks.InUseFileNo[std::size_t(k)] = 1;
    }
    EXPECT_FALSE(runGroupItem(st, marks, itemIndex("menuP2Parts(3)"), nullptr));  // a submenu
    EXPECT_FALSE(runGroupItem(st, marks, itemIndex("menuP2Delete"), nullptr));
    ASSERT_TRUE(runGroupItem(st, marks, itemIndex("menuP2PartsKao(1)"), nullptr));
    for (int k = 1; k <= 22; ++k) {
        const bool face = k >= 6 && k <= 16;
        EXPECT_EQ(st.PartTable[k].present(), !face) << k;
        EXPECT_EQ(marks.InUseFileNo[std::size_t(k)], face ? 0 : 1) << k;
    }
    ASSERT_TRUE(runGroupItem(st, marks, itemIndex("menuP2PartsKami(1)"), nullptr));
    EXPECT_FALSE(st.PartTable[3].present());
    EXPECT_FALSE(st.PartTable[19].present());
    EXPECT_TRUE(st.PartTable[20].present());
}
