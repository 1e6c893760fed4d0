#include "editor/editorlogic.h"

#include "core/rounding.h"
#include "imaging/engine/region.h"

#include <cmath>

namespace editor {

using core::PartSlot;
using core::PortraitState;

namespace {

constexpr int kWideCanvas = 575;
constexpr int kButtonLeft = 1;   // imaging::kButtonLeft
constexpr int kButtonRight = 2;  // imaging::kButtonRight

bool near(double v, double edge, double grab) { return v >= edge - grab && v <= edge + grab; }

int roundInt(double v) { return core::roundTo<int>(v); }

}  // namespace

QPoint displayOffset(const PortraitState& state, int k)
{
    if (k == core::kind::User || k == core::kind::Balloon)
        return {};
    // The narrow canvases draw the figure where it stands, whatever mode a document left.
    if (state.CanvasWidth != kWideCanvas)
        return {};
    switch (state.FigurePosMode) {
    case 1: return {140, 0};
    case 2: return {280, 0};
    case 3: return {20 * state.FigureStepX, 10 * state.FigureStepY};
    default: return {};
    }
}

QRect partFrame(const PortraitState& state, int k)
{
    if (!core::isPartKind(k))
        return {};
    const PartSlot& s = state.PartTable[k];
    const QPoint off = displayOffset(state, k);
    return QRect(off.x() + s.PosX, off.y() + s.PosY, s.Width + s.GrowW, s.Height + s.GrowH);
}

int PickPart(const PortraitState& state, QPointF at)
{
    for (int k = core::kind::Last; k >= core::kind::First; --k) {
        if (!isMovableKind(k) || !state.PartTable[k].present())
            continue;
        const QRect f = partFrame(state, k);
        // Edges as lines between pixels: left < x < left + width, strictly.
        const double left = f.x();
        const double top = f.y();
        const double right = left + f.width();
        const double bottom = top + f.height();
        if (left < at.x() && at.x() < right && top < at.y() && at.y() < bottom)
            return k;
    }
    return 0;
}

void Rub_Ctl(int ResizeDflt, double RgnXY, double RgnWH, double XY, double& RubXY, double& RubWH)
{
    if (ResizeDflt == -1) {
        if (XY <= RgnXY + RgnWH) {
            RubXY = XY;
            RubWH = RgnXY + RgnWH - XY;
        } else {
            RubXY = RgnXY + RgnWH;
            RubWH = 0;
        }
    } else if (XY <= RgnXY) {
        RubXY = RgnXY;
        RubWH = 0;
    } else {
        RubXY = RgnXY;
        RubWH = XY - RgnXY;
    }
}

PointerChoice choosePointer(const QRectF& frame, QPointF at, double grab)
{
    PointerChoice c;
    if (frame.isEmpty())
        return c;
    const double left = frame.left();
    const double top = frame.top();
    const double right = frame.left() + frame.width();
    const double bottom = frame.top() + frame.height();
    const double x = at.x();
    const double y = at.y();
    const bool nearTop = near(y, top, grab);
    const bool nearBottom = !nearTop && near(y, bottom, grab);
    const bool betweenY = y > top + grab && y < bottom - grab;

    auto vertical = [&](int topShape, int bottomShape) {
        if (nearTop) {
            c.shape = topShape;
            c.resizeY = -1;
            c.setsY = true;
        } else if (betweenY) {
            c.shape = kPointerWE;
        } else if (nearBottom) {
            c.shape = bottomShape;
            c.resizeY = 0;
            c.setsY = true;
        }
    };

    if (near(x, left, grab)) {
        vertical(kPointerNWSE, kPointerNESW);
        if (c.shape != kPointerDefault) {
            c.resizeX = -1;
            c.setsX = true;
        }
    } else if (x > left + grab && x < right - grab) {
        if (nearTop) {
            c.shape = kPointerNS;
            c.resizeY = -1;
            c.setsY = true;
        } else if (nearBottom) {
            c.shape = kPointerNS;
            c.resizeY = 0;
            c.setsY = true;
        }
    } else if (near(x, right, grab)) {
        vertical(kPointerNESW, kPointerNWSE);
        if (c.shape != kPointerDefault) {
            c.resizeX = 0;
            c.setsX = true;
        }
    }
    return c;
}

imaging::Raster buildDragPicture(core::PortraitComposer& composer, const PortraitState& state,
                                 const imaging::Raster& blankTile, int k)
{
    if (!core::isPartKind(k))
        return {};
    const PartSlot& s = state.PartTable[k];
    const int w = s.Width + s.GrowW;
    const int h = s.Height + s.GrowH;
    if (w <= 0 || h <= 0)
        return {};
    imaging::Raster picture;
    if (blankTile.isNull()) {
        picture.create(w, h, 24, qRgb(255, 255, 255));
    } else {
        picture = blankTile;
        picture.freeRegion();
        picture.size(w, h, 1);
        if (picture.bits() < 24)
            picture.setBits(24);
    }
    // Drawn at (0, 0) without the figure offset, the way the composition draws it. The
    // balloon is never drawn resized or turned.
    const bool grown = s.GrowW != 0 || s.GrowH != 0;
    if (k == core::kind::Balloon || (!grown && s.Angle == 0))
        composer.DrawPart(k, picture, 0, 0);
    else if (!grown)
        composer.DrawRotatedPart(k, picture, 0, 0, 0, 0, 2);
    else
        composer.DrawResizedPart(k, picture, 0, 0, 0, 0);
    picture.setRegion(imaging::Region::rectangle(QRect(0, 0, w, h)));
    return picture;
}

// --- CanvasInteraction -------------------------------------------------------------------

CanvasInteraction::PressResult CanvasInteraction::press(const PortraitState& state, int button,
                                                        QPointF at)
{
    if (pointer_ != kPointerDefault && !resizeActive_ && !frame_.isEmpty()) {
        resizeActive_ = true;
        band_ = frame_;
        lastPos_ = at;
        return PressResult::StretchStarted;
    }
    if (partSelected_) {
        const QPoint pixel(int(std::floor(at.x())), int(std::floor(at.y())));
        if (!frame_.contains(pixel)) {
            clear();
            return PressResult::Deselected;
        }
        if (button == kButtonRight)
            return PressResult::None;
        floater_ = QRectF(frame_);
        dragActive_ = true;
        partSelected_ = false;
        // The floater follows the pointer from here, not from the click that picked.
        lastPos_ = at;
        return PressResult::DragStarted;
    }
    if (button == kButtonRight)
        return PressResult::None;
    downPos_ = lastPos_ = at;
    const int k = PickPart(state, at);
    if (k == 0) {
        selectedKind_ = 0;
        return PressResult::Missed;
    }
    select(state, k);
    return PressResult::Picked;
}

bool CanvasInteraction::move(int buttons, QPointF at, bool inside)
{
    const bool left = (buttons & kButtonLeft) != 0;
    if (resizeActive_ && left) {
        double x = band_.x();
        double y = band_.y();
        double w = band_.width();
        double h = band_.height();
        const bool both = pointer_ == kPointerNESW || pointer_ == kPointerNWSE;
        if (both || pointer_ == kPointerWE)
            Rub_Ctl(resizeDfltX_, frame_.x(), frame_.width(), at.x(), x, w);
        if (both || pointer_ == kPointerNS)
            Rub_Ctl(resizeDfltY_, frame_.y(), frame_.height(), at.y(), y, h);
        const QRect band(roundInt(x), roundInt(y), roundInt(w), roundInt(h));
        const bool moved = band != band_;
        band_ = band;
        return moved;
    }
    if (selectedKind_ != 0) {
        const PointerChoice c = choosePointer(QRectF(frame_), at, grab_);
        pointer_ = c.shape;
        if (c.setsX)
            resizeDfltX_ = c.resizeX;
        if (c.setsY)
            resizeDfltY_ = c.resizeY;
    }
    if (dragActive_ && left && inside) {
        const QPointF delta = at - lastPos_;
        lastPos_ = at;
        if (delta.isNull())
            return false;
        floater_.translate(delta);
        return true;
    }
    return false;
}

CanvasInteraction::ReleaseResult CanvasInteraction::release(int button) const
{
    if (resizeActive_)
        return ReleaseResult::CommitStretch;
    if (button == kButtonRight && partSelected_)
        return ReleaseResult::PartMenu;
    if (button == kButtonRight && !dragActive_)
        return ReleaseResult::GroupMenu;
    if (dragActive_)
        return ReleaseResult::CommitMove;
    return ReleaseResult::None;
}

bool CanvasInteraction::select(const PortraitState& state, int k)
{
    if (!isMovableKind(k) || !state.PartTable[k].present())
        return false;
    const QRect f = partFrame(state, k);
    if (f.isEmpty())
        return false;
    selectedKind_ = k;
    partSelected_ = true;
    dragActive_ = false;
    resizeActive_ = false;
    frame_ = f;
    floater_ = QRectF();
    return true;
}

void CanvasInteraction::clear()
{
    selectedKind_ = 0;
    partSelected_ = false;
    dragActive_ = false;
    resizeActive_ = false;
    pointer_ = kPointerDefault;
    frame_ = QRect();
    floater_ = QRectF();
    band_ = QRect();
}

void CanvasInteraction::dropSelection()
{
    // A redraw also sets the default pointer, so no stretch can start from a stale frame.
    pointer_ = kPointerDefault;
    if (!partSelected_)
        return;
    partSelected_ = false;
    dragActive_ = false;
    frame_ = QRect();
    floater_ = QRectF();
}

Commit CanvasInteraction::commitMove(PortraitState& state, core::PartTable& preview)
{
    Commit c;
    c.kind = selectedKind_;
    if (dragActive_ && core::isPartKind(c.kind)) {
        PartSlot& s = state.PartTable[c.kind];
        const QPoint off = displayOffset(state, c.kind);
        const std::int16_t x = core::roundToInt16(floater_.left() - off.x());
        const std::int16_t y = core::roundToInt16(floater_.top() - off.y());
        c.changed = x != s.PosX || y != s.PosY;
        if (c.changed) {
            s.PosX = x;
            s.PosY = y;
            preview[c.kind].PosX = core::roundToInt16(x / 3.0);
            preview[c.kind].PosY = core::roundToInt16(y / 3.0);
        }
    }
    clear();
    return c;
}

Commit CanvasInteraction::nudge(PortraitState& state, core::PartTable& preview, int dx, int dy)
{
    if (!partSelected_ || selectedKind_ == 0)
        return {};
    floater_ = QRectF(frame_).translated(dx, dy);
    dragActive_ = true;
    partSelected_ = false;
    return commitMove(state, preview);
}

Commit CanvasInteraction::commitStretch(PortraitState& state, core::PartTable& preview)
{
    Commit c;
    c.kind = selectedKind_;
    const QRect band = band_;
    const bool stretch = resizeActive_ && core::isPartKind(c.kind) && c.kind != core::kind::Balloon;
    clear();
    if (!stretch)
        return c;

    PartSlot& s = state.PartTable[c.kind];
    const QPoint off = c.kind == core::kind::User ? QPoint() : displayOffset(state, c.kind);
    const std::int16_t x = core::clampToInt16(band.x() - off.x());
    const std::int16_t y = core::clampToInt16(band.y() - off.y());

    int width = band.width();
    if (width > state.CanvasWidth)
        width = state.CanvasWidth - 6;
    int growW = width - s.Width;
    if (growW <= 10 - s.Width)
        growW = 10 - s.Width;  // at least 10 pixels wide
    int height = band.height();
    if (height > state.CanvasHeight)
        height = state.CanvasHeight;
    int growH = height - s.Height;
    if (growH <= 10 - s.Height)
        growH = 10 - s.Height;

    const PartSlot before = s;
    s.PosX = x;
    s.PosY = y;
    s.GrowW = core::clampToInt16(growW);
    s.GrowH = core::clampToInt16(growH);
    core::clampPartSize(s);
    c.changed = !(before == s);
    if (c.changed) {
        preview[c.kind].PosX = core::roundToInt16(x / 3.0);
        preview[c.kind].PosY = core::roundToInt16(y / 3.0);
    }
    return c;
}

}  // namespace editor
