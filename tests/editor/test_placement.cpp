#include "editor/placement.h"

#include "core/captions.h"
#include "core/document.h"
#include "core/kinds.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <array>
#include <cstdint>

using namespace core;
using editor::PartsPosRules;
using editor::PartsPosSettings;
using editor::PositionRules;

namespace {

constexpr std::array<PartKind, 4> kHeadKinds{kind::Outline, kind::Hairstyle, kind::Fringe,
                                             kind::Ears};

// A portrait with a face in every slot: full-scale boxes at BaseX 100 and their thumbnails
// at 33, positions moved away from the standard place so that untouched fields show.
struct Portrait {
    PortraitState state;
    PartTable preview;

    Portrait()
    {
        for (int k = 1; k <= kind::Count; ++k) {
            PartSlot& s = state.PartTable[k];
            s.FileNo = 1;
            s.BaseX = 100;
            s.BaseY = 80;
            s.PosX = 111;
            s.PosY = 77;
            s.Width = 60;
            s.Height = 40;
            s.GrowW = 4;
            s.GrowH = 3;
            PartSlot& p = preview[k];
            p.FileNo = 1;
            p.BaseX = 33;
            p.BaseY = 27;
            p.PosX = 37;
            p.PosY = 26;
        }
    }
};

}  // namespace

// Both outline sliders at the same step: every head kind grows by the step's change, the
// thumbnails by a third of it (halves to even), and the body follows the height step.
TEST(PartsPosRules, OutlineStepsSizeTheHeadAndShiftTheBody)
{
    struct Row {
        int step;
        int growW, growH, previewW, previewH, bodyShift;
    };
    const Row rows[] = {
        {-2, -50, -30, -17, -10, 5},
        {-1, -25, -15, -8, -5, 2},
        {0, 0, 0, 0, 0, 0},
        {1, 25, 15, 8, 5, -1},
        {2, 50, 30, 17, 10, -2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.step);
        Portrait p;
        PartsPosRules(p.state, p.preview).apply({r.step, r.step, 0, 0, 0, 0});
        for (const PartKind k : kHeadKinds) {
            SCOPED_TRACE(k);
            EXPECT_EQ(p.state.PartTable[k].GrowW, r.growW);
            EXPECT_EQ(p.state.PartTable[k].GrowH, r.growH);
            EXPECT_EQ(p.preview[k].GrowW, r.previewW);
            EXPECT_EQ(p.preview[k].GrowH, r.previewH);
            EXPECT_EQ(p.state.PartTable[k].PosX, 111);  // they grow about their centre
        }
        EXPECT_EQ(p.state.BodyShift, r.bodyShift);
        EXPECT_EQ(p.state.OutlineWidthStep, r.step);
        EXPECT_EQ(p.state.OutlineHeightStep, r.step);
        // Kinds outside the head keep their own size.
        for (const PartKind k : {kind::Body, kind::Nose, kind::Hat, kind::Wrinkles})
            EXPECT_EQ(p.state.PartTable[k].GrowW, 4);
    }
}

TEST(PartsPosRules, WidthAndHeightAreSeparateSliders)
{
    Portrait p;
    PartsPosRules(p.state, p.preview).apply({2, -1, 0, 0, 0, 0});
    EXPECT_EQ(p.state.PartTable[kind::Outline].GrowW, 50);
    EXPECT_EQ(p.state.PartTable[kind::Outline].GrowH, -15);
    EXPECT_EQ(p.state.BodyShift, 2);  // from the height alone
}

// The spacing moves both halves of a pair symmetrically, 4 pixels a step apart and 3 a step
// closer; the tilt is opposite on the two halves. Eyes and eyebrows use their own sliders.
TEST(PartsPosRules, PairSpacingAndTiltPlaceBothHalves)
{
    struct Row {
        int spacing, angle;
        int firstPosX, secondPosX, extra;  // full scale, BaseX 100
        int previewFirst, previewSecond, previewExtra;  // one third, BaseX 33
    };
    const Row rows[] = {
        {-2, 5, 108, 92, -8, 36, 30, -3},    // 8 apart each side; -8/3 = -2.67
        {-1, -180, 104, 96, -4, 34, 32, -1},  // -4/3 = -1.33
        {0, 0, 100, 100, 0, 33, 33, 0},
        {1, 180, 97, 103, 3, 32, 34, 1},
        {2, 30, 94, 106, 6, 31, 35, 2},      // only 6 closer each side
    };
    struct Pair {
        PartKind first, second;
        bool eyes;
    };
    for (const Pair pair : {Pair{kind::EyeRight, kind::EyeLeft, true},
                            Pair{kind::BrowRight, kind::BrowLeft, false}}) {
        for (const Row& r : rows) {
            SCOPED_TRACE(testing::Message() << "first kind " << pair.first << ", spacing "
                                            << r.spacing << ", angle " << r.angle);
            Portrait p;
            // The other pair's sliders stay at a different, fixed setting.
            PartsPosSettings s{0, 0, 1, 45, 1, 45};
            (pair.eyes ? s.eyeSpacing : s.browSpacing) = r.spacing;
            (pair.eyes ? s.eyeAngle : s.browAngle) = r.angle;
            PartsPosRules(p.state, p.preview).apply(s);

            const PartSlot& first = p.state.PartTable[pair.first];
            const PartSlot& second = p.state.PartTable[pair.second];
            EXPECT_EQ(first.PosX, r.firstPosX);
            EXPECT_EQ(second.PosX, r.secondPosX);
            EXPECT_EQ(first.Extra, r.extra);
            EXPECT_EQ(second.Extra, r.extra);
            EXPECT_EQ(first.Angle, -r.angle * 100);
            EXPECT_EQ(second.Angle, r.angle * 100);
            EXPECT_EQ(first.PosY, 77);

            EXPECT_EQ(p.preview[pair.first].PosX, r.previewFirst);
            EXPECT_EQ(p.preview[pair.second].PosX, r.previewSecond);
            EXPECT_EQ(p.preview[pair.first].Extra, r.previewExtra);
            EXPECT_EQ(p.preview[pair.second].Extra, r.previewExtra);
            EXPECT_EQ(p.preview[pair.first].Angle, -r.angle * 100);
            EXPECT_EQ(p.preview[pair.second].Angle, r.angle * 100);

            const PartKind other = pair.eyes ? kind::BrowRight : kind::EyeRight;
            EXPECT_EQ(p.state.PartTable[other].PosX, 97);
            EXPECT_EQ(p.state.PartTable[other].Angle, -4500);
        }
    }
}

// Whatever the dialog applies is what a part picked later gets from ApplyPairSpacing, and
// what current() shows again when the dialog opens.
TEST(PartsPosRules, GlobalsKeepThePositionsAndMatchApplyPairSpacing)
{
    Portrait p;
    PartsPosRules rules(p.state, p.preview);
    const PartsPosSettings s{-1, 2, -2, 30, 2, -90};
    rules.apply(s);
    EXPECT_EQ(rules.current(), s);
    EXPECT_EQ(p.state.EyeSpacing, -2);
    EXPECT_EQ(p.state.EyeAngle, 30);
    EXPECT_EQ(p.state.BrowSpacing, 2);
    EXPECT_EQ(p.state.BrowAngle, -90);

    for (const PartKind k : {kind::BrowRight, kind::BrowLeft, kind::EyeRight, kind::EyeLeft}) {
        PortraitState again = p.state;
        again.PartTable[k].PosX = 0;
        again.PartTable[k].Angle = 0;
        ApplyPairSpacing(again, k);
        EXPECT_EQ(again.PartTable[k], p.state.PartTable[k]) << "kind " << k;
    }
}

// Values beyond the sliders (a document can carry any number) are taken at the nearest end,
// both when applied and when shown.
TEST(PartsPosRules, ValuesOutsideTheRangesAreTakenAtTheEnds)
{
    Portrait p;
    PartsPosRules rules(p.state, p.preview);
    rules.apply({9, -9, 5, 400, -7, -1000});
    const PartsPosSettings ends{2, -2, 2, 180, -2, -180};
    EXPECT_EQ(rules.current(), ends);
    EXPECT_EQ(p.state.PartTable[kind::Outline].GrowW, 50);
    EXPECT_EQ(p.state.PartTable[kind::EyeLeft].Angle, 18000);

    p.state.EyeAngle = 720;
    p.state.OutlineWidthStep = -3;
    EXPECT_EQ(rules.current().eyeAngle, 180);
    EXPECT_EQ(rules.current().outlineWidth, -2);
}

// Empty slots keep the numbers, so that a part applied later already fits the sliders; their
// FileNo stays 0.
TEST(PartsPosRules, EmptySlotsTakeTheNumbersAndStayEmpty)
{
    PortraitState state;
    PartTable preview;
    state.PartTable[kind::EyeRight].BaseX = 120;
    PartsPosRules(state, preview).apply({1, 1, -2, 10, 0, 0});
    EXPECT_EQ(state.PartTable[kind::Outline].GrowW, 25);
    EXPECT_EQ(state.PartTable[kind::Fringe].GrowH, 15);
    EXPECT_EQ(state.PartTable[kind::EyeRight].PosX, 128);
    EXPECT_EQ(state.PartTable[kind::EyeLeft].Angle, 1000);
    EXPECT_EQ(state.BodyShift, -1);
    for (int k = 1; k <= kind::Count; ++k)
        EXPECT_FALSE(state.PartTable[k].present()) << "kind " << k;
}

TEST(PositionRules, StepsMoveTheFigureToTheCustomPosition)
{
    struct Row {
        const char* name;
        bool horizontal;
        int value;
        bool changed;
        int stepX, stepY, offsetX, offsetY;
    };
    // The portrait starts at steps (2, 1) in mode 3.
    const Row rows[] = {
        {"far right", true, 17, true, 17, 1, 340, 10},
        {"left of zero", true, -3, true, -3, 1, -60, 10},
        {"beyond the right end", true, 40, true, 17, 1, 340, 10},
        {"up", false, -5, true, 2, -5, 40, -50},
        {"down", false, 9, true, 2, 9, 40, 90},
        {"beyond the top", false, -8, true, 2, -5, 40, -50},
        {"same across", true, 2, false, 2, 1, 40, 10},
        {"same down", false, 1, false, 2, 1, 40, 10},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        PortraitState state;
        state.FigurePosMode = 3;
        state.FigureStepX = 2;
        state.FigureStepY = 1;
        state.FigureOffsetX = 40;
        state.FigureOffsetY = 10;
        for (const PartKind k : {kind::Background, kind::Balloon}) {
            state.PartTable[k].Extra = 3;
            state.PartTable[k].ShiftX = 2;
            state.PartTable[k].ShiftY = 1;
        }
        const PortraitState before = state;

        PositionRules rules(state);
        EXPECT_EQ(r.horizontal ? rules.setStepX(r.value) : rules.setStepY(r.value), r.changed);
        if (!r.changed) {
            EXPECT_EQ(state, before);
            continue;
        }
        EXPECT_EQ(state.FigurePosMode, 3);
        EXPECT_EQ(state.FigureStepX, r.stepX);
        EXPECT_EQ(state.FigureStepY, r.stepY);
        EXPECT_EQ(state.FigureOffsetX, r.offsetX);
        EXPECT_EQ(state.FigureOffsetY, r.offsetY);
        for (const PartKind k : {kind::Background, kind::Balloon}) {
            EXPECT_EQ(state.PartTable[k].Extra, 3);
            EXPECT_EQ(state.PartTable[k].ShiftX, r.stepX);
            EXPECT_EQ(state.PartTable[k].ShiftY, r.stepY);
            EXPECT_FALSE(state.PartTable[k].present());  // empty slots keep the numbers only
        }
        EXPECT_EQ(rules.sliderX(), r.stepX);
        EXPECT_EQ(rules.sliderY(), r.stepY);
    }
}

// "中央" sets FigureStepX to 7 without storing it in the slots. Moving only the vertical
// slider afterwards must still save the horizontal step, or the reopened document would put
// the figure back at the left.
TEST(PositionRules, AVerticalMoveAfterCentreKeepsTheHorizontalStepInTheDocument)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = QDir(dir.path()).filePath(QStringLiteral("centre.fcr"));

    PortraitState state;
    PartSlot& background = state.PartTable[kind::Background];
    background.FileNo = 1;
    background.Width = 575;
    background.Height = 395;
    state.FigurePosMode = 1;  // what "中央" leaves
    state.FigureStepX = 7;
    background.Extra = 1;

    ASSERT_TRUE(PositionRules(state).setStepY(3));
    CaptionTable captions;
    ASSERT_FALSE(SaveDocument(path, state, captions).has_value());

    PortraitState reopened;
    CaptionTable reopenedCaptions;
    const DocumentLoad load = LoadDocument(path, reopened, reopenedCaptions, false);
    ASSERT_EQ(load.status, DocumentLoad::Status::Loaded) << load.error.toStdString();
    EXPECT_EQ(reopened.FigurePosMode, 3);
    EXPECT_EQ(reopened.FigureStepX, 7);
    EXPECT_EQ(reopened.FigureStepY, 3);
}

TEST(PositionRules, SlidersShowStepsOutsideTheirRangesAtTheEnds)
{
    PortraitState state;
    state.FigureStepX = 25;
    state.FigureStepY = -12;
    const PositionRules rules(state);
    EXPECT_EQ(rules.sliderX(), 17);
    EXPECT_EQ(rules.sliderY(), -5);
}

TEST(PlacementPlaces, TwipsAndRememberedPlace)
{
    EXPECT_EQ(editor::twipsToPixels(5500, 96), 367);  // 366.67
    EXPECT_EQ(editor::twipsToPixels(1000, 96), 67);   // 66.67
    EXPECT_EQ(editor::twipsToPixels(1440, 144), 144);
    EXPECT_EQ(editor::twipsToPixels(1440, 0), 96);    // no dpi: the usual 96
    EXPECT_EQ(editor::pixelsToTwips(367, 96), 5505);
    EXPECT_EQ(editor::pixelsToTwips(-20, 96), -300);
    EXPECT_EQ(editor::pixelsToTwips(100000, 96), 32767);  // 16-bit twips saturate

    EXPECT_EQ(editor::positionPlaceTwips({0, 0}), QPoint(5500, 1000));
    EXPECT_EQ(editor::positionPlaceTwips({1200, 0}), QPoint(1200, 0));
    EXPECT_EQ(editor::positionPlaceTwips({0, 450}), QPoint(0, 450));
}
