#pragma once

#include "core/portrait.h"

#include <QPoint>

namespace editor {

// What a slider of the placement dialogs can be set to.
struct SliderRange {
    int minimum;
    int maximum;
    int tickInterval;  // distance between tick marks

    constexpr int clamp(int v) const { return v < minimum ? minimum : v > maximum ? maximum : v; }
};

inline constexpr SliderRange kOutlineStepRange{-2, 2, 1};  // "幅：" and "高さ："
inline constexpr SliderRange kSpacingRange{-2, 2, 1};      // the pairs' "位置："
inline constexpr SliderRange kAngleRange{-180, 180, 45};   // the pairs' "角度：", degrees
inline constexpr SliderRange kFigureStepXRange{-3, 17, 1};  // "左右"
inline constexpr SliderRange kFigureStepYRange{-5, 9, 1};   // "上下"

// Pixels per step of the figure position.
inline constexpr int kFigureStepXPixels = 20;
inline constexpr int kFigureStepYPixels = 10;

// The outline sliders' steps (clamped to -2..2): the size change of the outline, hairstyle,
// fringe and ears, and the body correction that keeps the neck under a shorter or longer head.
int outlineWidthChange(int step);
int outlineHeightChange(int step);
int bodyShiftForHeightStep(int step);

// How far each half of a pair moves inward for a spacing step: 3 pixels a step closer,
// 4 a step apart.
int pairSpacingPixels(int step);

// The six slider positions of "似顔絵調整".
struct PartsPosSettings {
    int outlineWidth = 0;   // OutlineWidthStep
    int outlineHeight = 0;  // OutlineHeightStep
    int eyeSpacing = 0;     // EyeSpacing
    int eyeAngle = 0;       // EyeAngle, degrees
    int browSpacing = 0;    // BrowSpacing
    int browAngle = 0;      // BrowAngle, degrees

    // Every value within its slider's range.
    PartsPosSettings clamped() const;

    friend bool operator==(const PartsPosSettings&, const PartsPosSettings&) = default;
};

// What the sliders of "似顔絵調整" do to the portrait, without any window.
class PartsPosRules {
public:
    // `preview` is the one-third-scale table the picker's thumbnails are drawn from.
    PartsPosRules(core::PortraitState& state, core::PartTable& preview);

    // The slider positions the globals stand for, each within its range.
    PartsPosSettings current() const;

    // Applies all six sliders (out-of-range values are taken at the nearest end): the
    // outline steps become GrowW/GrowH of the outline, hairstyle, fringe and ears and the
    // body shift; the spacing and tilt place both halves of each pair (ApplyPairSpacing);
    // the one-third-scale slots get the same changes divided by 3; the globals keep the
    // positions. Empty slots get the numbers too, so a part applied later fits at once.
    // Does not redraw.
    void apply(const PartsPosSettings& settings);

private:
    void applyPairPreview(int k, int spacingPixels, int angle);

    core::PortraitState& state_;
    core::PartTable& preview_;
};

// What the sliders of "人物表示位置" do to the portrait, without any window.
class PositionRules {
public:
    explicit PositionRules(core::PortraitState& state);

    // The slider positions FigureStepX / FigureStepY stand for, within their ranges.
    int sliderX() const;
    int sliderY() const;

    // A slider moved to `value` (taken within its range). Returns false, changing nothing,
    // when the step already has that value. Otherwise the figure goes to the custom position
    // (FigurePosMode 3) with its offset in pixels, and the background and balloon slots keep
    // the mode and both steps, so the position survives saving and reopening; the caller
    // checks "その他" and redraws.
    bool setStepX(int value);
    bool setStepY(int value);

private:
    void storeCustomPosition();

    core::PortraitState& state_;
};

// Where the dialogs open, in twips: "似顔絵調整" always at (5500, 500); "人物表示位置" where it
// was last closed, or at (5500, 1000) while it has not been closed yet (remembered (0, 0)).
inline constexpr QPoint kPartsPosPlaceTwips{5500, 500};
inline constexpr QPoint kPositionDefaultPlaceTwips{5500, 1000};
QPoint positionPlaceTwips(QPoint remembered);

// Twips are pixels x 1440 / logical dpi. Results are rounded; twips are kept in 16 bits and
// saturate at its limits. A dpi that is not positive counts as 96.
int twipsToPixels(int twips, double dpi);
std::int16_t pixelsToTwips(int pixels, double dpi);

}  // namespace editor
