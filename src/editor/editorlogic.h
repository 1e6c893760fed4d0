#pragma once

// The editor's mouse rules without a window: which part a click picks, the pointer shapes
// and stretch edges of a selection frame, the rubber band, the drag and stretch states and
// what releasing them does to the portrait. The window turns its events into these calls
// and shows what they hold. Includes no widget headers, so that the drag benchmark can
// compile it on its own.

#include "core/compose.h"
#include "core/partimages.h"
#include "core/portrait.h"
#include "imaging/engine/raster.h"

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>

namespace editor {

// Kinds that can be picked with the mouse: user image, eyebrows to glasses, hat, balloon.
constexpr bool isMovableKind(int k)
{
    return k == core::kind::User || (k >= core::kind::BrowRight && k <= core::kind::Glasses)
           || k == core::kind::Hat || k == core::kind::Balloon;
}

// Where kind k is shown on the canvas relative to its slot's position, in canvas pixels:
// the figure offset of FigurePosMode for face parts, nothing for the user image and the
// balloon. The offset is the one the composition draws with, so it is (0, 0) while the
// canvas is not the wide one (only that canvas moves the figure).
QPoint displayOffset(const core::PortraitState& state, int k);

// The box kind k occupies on the canvas: offset + position, Width + GrowW by Height + GrowH.
QRect partFrame(const core::PortraitState& state, int k);

// The hit test of a click at `at` (canvas pixels): the movable kinds with a part are tried
// from the highest kind number down, whatever the layer order; the first whose frame holds
// the point strictly inside (not on its edge lines) wins. 0 when none does.
int PickPart(const core::PortraitState& state, QPointF at);

// One axis of the stretch rubber band. ResizeDflt -1 moves the start edge, anything else
// the far edge; the band never turns inside out (a length below 0 becomes 0 at the edge
// that stays).
void Rub_Ctl(int ResizeDflt, double RgnXY, double RgnWH, double XY, double& RubXY, double& RubWH);

// Pointer numbers the editor shows: 0 default, 6 NE-SW, 7 N-S, 8 NW-SE, 9 W-E.
enum Pointer : int { kPointerDefault = 0, kPointerNESW = 6, kPointerNS = 7, kPointerNWSE = 8, kPointerWE = 9 };

struct PointerChoice {
    int shape = kPointerDefault;
    // The edges a stretch starting here moves: -1 the left (top) edge, 0 the right (bottom).
    // Only where setsX / setsY say so; elsewhere the previous edges stay.
    int resizeX = 0;
    int resizeY = 0;
    bool setsX = false;
    bool setsY = false;
};

// The pointer over the selection frame `frame` with a grab zone of `grab` on each side of
// an edge: 8 at the top-left and bottom-right corners, 6 at the other two, 9 on the left and
// right edges, 7 on the top and bottom edges, the default anywhere else.
PointerChoice choosePointer(const QRectF& frame, QPointF at, double grab);

// The drag picture of kind k: the blank tile (white when there is none) at the part's drawn
// size with the part drawn on it as the composition draws it (turned, resized), and the
// whole picture as its region. Empty when the part has no size.
imaging::Raster buildDragPicture(core::PortraitComposer& composer, const core::PortraitState& state,
                                 const imaging::Raster& blankTile, int k);

// A move or stretch ready to be committed to the portrait.
struct Commit {
    int kind = 0;
    bool changed = false;  // false: the slot is as it was, nothing to redraw
};

// The editor's selection, drag and stretch. Coordinates are canvas pixels (the window
// converts from the widget's); `grab` is the pointer's grab zone in canvas pixels.
class CanvasInteraction {
public:
    enum class PressResult {
        None,            // nothing happened (right button away from a selection, ...)
        Picked,          // a part was hit: show its frame (selectedKind())
        Missed,          // the click hit no movable part
        Deselected,      // a click outside the frame ended the selection
        DragStarted,     // the floater is the drag picture at floaterRect()
        StretchStarted,  // the rubber band is shown at rubberBand()
    };
    enum class ReleaseResult {
        None,
        CommitStretch,  // call commitStretch()
        CommitMove,     // call commitMove()
        PartMenu,       // open the part menu
        GroupMenu,      // open the group menu
    };

    explicit CanvasInteraction(double grab = 2.0) : grab_(grab) {}

    void setGrab(double grab) { grab_ = grab; }
    double grab() const { return grab_; }

    // Mouse down with `button` (imaging::MouseButtonCode) at `at`. Picking reads `state`;
    // the window then builds the drag picture and shows the frame.
    PressResult press(const core::PortraitState& state, int button, QPointF at);
    // Mouse move with `buttons` held. Returns whether the floater or the rubber band moved.
    // `inside` tells whether the point lies within the canvas widget.
    bool move(int buttons, QPointF at, bool inside);
    ReleaseResult release(int button) const;

    // Selects kind k as a pick would (frame from its slot). False when k is not a movable
    // kind with a part.
    bool select(const core::PortraitState& state, int k);
    // Ends the selection, the drag and the stretch; SelectedKind goes back to 0.
    void clear();
    // What a redraw does to a selection (it frees the frame): with a part selected, the frame
    // goes and PartSelected and DragActive are cleared; SelectedKind keeps its value.
    void dropSelection();

    // Writes the moved floater's position into the slot and the one-third-scale slot.
    Commit commitMove(core::PortraitState& state, core::PartTable& preview);
    // Writes the rubber band into the slot (position without the display offset, growth
    // with the 10-pixel minimum and the canvas maximum) and the one-third-scale slot. The
    // balloon is never stretched.
    Commit commitStretch(core::PortraitState& state, core::PartTable& preview);

    // The arrow keys: the selected part moved by (dx, dy) canvas pixels through the same
    // commit as a drag (the selection ends as a drag's does). Nothing without a selection.
    Commit nudge(core::PortraitState& state, core::PartTable& preview, int dx, int dy);

    int selectedKind() const { return selectedKind_; }
    bool partSelected() const { return partSelected_; }
    bool dragActive() const { return dragActive_; }
    bool resizeActive() const { return resizeActive_; }
    int pointerShape() const { return pointer_; }
    int resizeDfltX() const { return resizeDfltX_; }
    int resizeDfltY() const { return resizeDfltY_; }
    // The selection frame (the canvas region), empty when none is shown.
    QRect frame() const { return frame_; }
    // The floater's place while dragging.
    QRectF floaterRect() const { return floater_; }
    QRect rubberBand() const { return band_; }
    QPointF mouseDownPos() const { return downPos_; }

private:
    double grab_;
    int selectedKind_ = 0;
    bool partSelected_ = false;
    bool dragActive_ = false;
    bool resizeActive_ = false;
    int resizeDfltX_ = 0;
    int resizeDfltY_ = 0;
    int pointer_ = kPointerDefault;
    QRect frame_;
    QRectF floater_;
    QRect band_;
    QPointF downPos_;
    QPointF lastPos_;
};

}  // namespace editor
