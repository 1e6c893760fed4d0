#include "editor/placement.h"

#include "core/kinds.h"
#include "core/rounding.h"

#include <array>

namespace editor {

namespace {

// Indexed by step + 2.
constexpr std::array<int, 5> kWidthChange{-50, -25, 0, 25, 50};
constexpr std::array<int, 5> kHeightChange{-30, -15, 0, 15, 30};
constexpr std::array<int, 5> kBodyShift{5, 2, 0, -1, -2};

// The kinds whose size the outline sliders set together.
constexpr std::array<core::PartKind, 4> kHeadKinds{core::kind::Outline, core::kind::Hairstyle,
                                                   core::kind::Fringe, core::kind::Ears};

std::size_t stepIndex(int step)
{
    return std::size_t(kOutlineStepRange.clamp(step) + 2);
}

std::int16_t third(int v)
{
    return core::roundToInt16(v / 3.0);
}

double effectiveDpi(double dpi)
{
    return dpi > 0 ? dpi : 96.0;
}

}  // namespace

int outlineWidthChange(int step)
{
    return kWidthChange[stepIndex(step)];
}

int outlineHeightChange(int step)
{
    return kHeightChange[stepIndex(step)];
}

int bodyShiftForHeightStep(int step)
{
    return kBodyShift[stepIndex(step)];
}

int pairSpacingPixels(int step)
{
    return step >= 0 ? step * 3 : step * 4;
}

PartsPosSettings PartsPosSettings::clamped() const
{
    return PartsPosSettings{kOutlineStepRange.clamp(outlineWidth),
                            kOutlineStepRange.clamp(outlineHeight),
                            kSpacingRange.clamp(eyeSpacing),
                            kAngleRange.clamp(eyeAngle),
                            kSpacingRange.clamp(browSpacing),
                            kAngleRange.clamp(browAngle)};
}

PartsPosRules::PartsPosRules(core::PortraitState& state, core::PartTable& preview)
    : state_(state), preview_(preview)
{
}

PartsPosSettings PartsPosRules::current() const
{
    // A document may carry values no slider can show; they are shown at the nearest end.
    return PartsPosSettings{state_.OutlineWidthStep, state_.OutlineHeightStep,
                            state_.EyeSpacing,       int(state_.EyeAngle),
                            state_.BrowSpacing,      int(state_.BrowAngle)}
        .clamped();
}

void PartsPosRules::apply(const PartsPosSettings& requested)
{
    using namespace core;
    const PartsPosSettings s = requested.clamped();

    const int growW = outlineWidthChange(s.outlineWidth);
    const int growH = outlineHeightChange(s.outlineHeight);
    for (const PartKind k : kHeadKinds) {
        state_.PartTable[k].GrowW = std::int16_t(growW);
        state_.PartTable[k].GrowH = std::int16_t(growH);
        preview_[k].GrowW = third(growW);
        preview_[k].GrowH = third(growH);
    }
    state_.BodyShift = std::int16_t(bodyShiftForHeightStep(s.outlineHeight));

    state_.OutlineWidthStep = std::int16_t(s.outlineWidth);
    state_.OutlineHeightStep = std::int16_t(s.outlineHeight);
    state_.EyeSpacing = std::int16_t(s.eyeSpacing);
    state_.EyeAngle = s.eyeAngle;
    state_.BrowSpacing = std::int16_t(s.browSpacing);
    state_.BrowAngle = s.browAngle;

    // The full-scale halves follow the same rule as a newly applied eye or eyebrow.
    for (const PartKind k : {kind::EyeRight, kind::EyeLeft, kind::BrowRight, kind::BrowLeft})
        ApplyPairSpacing(state_, k);

    applyPairPreview(kind::EyeRight, pairSpacingPixels(s.eyeSpacing), s.eyeAngle);
    applyPairPreview(kind::EyeLeft, pairSpacingPixels(s.eyeSpacing), s.eyeAngle);
    applyPairPreview(kind::BrowRight, pairSpacingPixels(s.browSpacing), s.browAngle);
    applyPairPreview(kind::BrowLeft, pairSpacingPixels(s.browSpacing), s.browAngle);
}

void PartsPosRules::applyPairPreview(int k, int spacingPixels, int angle)
{
    core::PartSlot& slot = preview_[k];
    // The sum is rounded as a whole; with an integral BaseX that is BaseX +- round(p / 3).
    const double shift = spacingPixels / 3.0;
    const bool first = core::isFirstOfPair(k);
    slot.PosX = core::roundToInt16(first ? slot.BaseX - shift : slot.BaseX + shift);
    slot.Extra = third(spacingPixels);
    slot.Angle = (first ? -angle : angle) * 100;
}

PositionRules::PositionRules(core::PortraitState& state) : state_(state) {}

int PositionRules::sliderX() const
{
    return kFigureStepXRange.clamp(state_.FigureStepX);
}

int PositionRules::sliderY() const
{
    return kFigureStepYRange.clamp(state_.FigureStepY);
}

bool PositionRules::setStepX(int value)
{
    const int v = kFigureStepXRange.clamp(value);
    if (v == state_.FigureStepX)
        return false;
    state_.FigureStepX = std::int16_t(v);
    storeCustomPosition();
    return true;
}

bool PositionRules::setStepY(int value)
{
    const int v = kFigureStepYRange.clamp(value);
    if (v == state_.FigureStepY)
        return false;
    state_.FigureStepY = std::int16_t(v);
    storeCustomPosition();
    return true;
}

void PositionRules::storeCustomPosition()
{
    state_.FigurePosMode = 3;
    state_.FigureOffsetX = std::int16_t(state_.FigureStepX * kFigureStepXPixels);
    state_.FigureOffsetY = std::int16_t(state_.FigureStepY * kFigureStepYPixels);
    // Both steps, not only the one that moved: "中央" and "右" set FigureStepX without
    // storing it in these slots, and a document is reopened from what they hold.
    for (const core::PartKind k : {core::kind::Background, core::kind::Balloon}) {
        core::PartSlot& slot = state_.PartTable[k];
        slot.Extra = state_.FigurePosMode;
        slot.ShiftX = state_.FigureStepX;
        slot.ShiftY = state_.FigureStepY;
    }
}

QPoint positionPlaceTwips(QPoint remembered)
{
    return remembered.isNull() ? kPositionDefaultPlaceTwips : remembered;
}

int twipsToPixels(int twips, double dpi)
{
    return core::roundTo<int>(twips * effectiveDpi(dpi) / 1440.0);
}

std::int16_t pixelsToTwips(int pixels, double dpi)
{
    return core::roundToInt16(pixels * 1440.0 / effectiveDpi(dpi));
}

}  // namespace editor
