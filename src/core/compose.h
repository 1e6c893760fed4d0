#pragma once

#include "core/partimages.h"
#include "core/portrait.h"
#include "imaging/engine/raster.h"

#include <QtGlobal>

#include <functional>

namespace core {

// What a composition does to the editor and the main window. The main window implements it
// (it owns the "表示位置" menu and the editor window); tests fake it.
struct EditorHost : FigureMenuHost {
    // "表示位置": uncheck its four items and check the one of `mode` (0 左, 1 中央, 2 右, 3 その他).
    virtual void checkFigurePosItem(int mode) = 0;
    // A redraw ends any selection on the canvas: when a part is selected, switch the canvas
    // to pixel units, empty the drag picture, free the canvas region and clear PartSelected
    // and DragActive. Nothing when no part is selected.
    virtual void dropPartSelection() = 0;
    // The canvas is hidden while it is built, so that only the finished portrait is seen.
    virtual void setCanvasVisible(bool visible) = 0;
    virtual void setBusyPointer(bool busy) = 0;  // hourglass, or back to the default pointer
    // The editor window's client area in pixels: the canvas; the window adds its own frame.
    virtual void setEditorClientSize(int width, int height) = 0;
    virtual void PlaceEditorWindow() = 0;
};

// The steps of a composition that belong to other modules, run when set: the texts drawn
// over the finished canvas, then the history snapshot.
struct ComposeHooks {
    std::function<void(imaging::Raster& canvas)> drawCaptions;
    std::function<void()> recordSnapshot;
};

// Draws the portrait of `state` from `images`. Keeps its scratch pictures between calls, so
// the editor and the session hold one for as long as the portrait lives. The state and the
// images must outlive it.
class PortraitComposer {
public:
    PortraitComposer(PortraitState& state, const PartImages& images);

    // Sizes the canvas (CanvasWidth, CanvasHeight, UserSizeClass, the figure offset), starts
    // it as `blankTile` stretched to that size (white when the tile is empty), draws every
    // present kind in LayerOrder, keeps movable parts inside the canvas (writing the corrected
    // positions back into their slots), fills InUseFileNo and the option part's position in
    // OptionMemory, then runs the hooks. `host` may be null (headless rendering).
    void ComposePortrait(imaging::Raster& Pic_view, const imaging::Raster& blankTile,
                         PickerMarks& marks, EditorHost* host = nullptr,
                         const ComposeHooks& hooks = {});

    // The part of kind k at its standard size, its box's top-left at (x, y) on `target`.
    void DrawPart(int k, imaging::Raster& target, int x, int y) const;

    // The part of kind k turned by its Angle at its standard size, at (posX + dx, posY + dy).
    // Mode 0 draws only the mask pass, 1 only the colour pass, anything else both.
    void DrawRotatedPart(int k, imaging::Raster& target, int posX, int posY, int dx, int dy,
                         int mode);

    // The part of kind k at Width + GrowW by Height + GrowH, turned first when it has an
    // Angle. The user image never takes the offset; hairstyle, ears, outline and fringe grow
    // about their centre; every other kind grows from its top-left corner.
    void DrawResizedPart(int k, imaging::Raster& target, int posX, int posY, int dx, int dy);

private:
    void startCanvas(imaging::Raster& canvas, const imaging::Raster& tile, int width, int height);
    void drawBox(int k, imaging::Raster& target, int x, int y, int srcX, int srcY) const;
    void drawByKind(int k, imaging::Raster& canvas, int dx, int dy);
    void drawGeneral(int k, imaging::Raster& canvas, int dx, int dy);
    void rotatedPass(int k, imaging::Raster& target, int x, int y, bool maskPass);
    void resizedBox(int k, const imaging::Raster& picture, QRgb fill, imaging::Raster& out);

    PortraitState& state_;
    const PartImages& images_;
    imaging::Raster parts_rt;  // a rotated part's box
    imaging::Raster Pic1;     // a resized part's mask
    imaging::Raster resizedColour_;  // and its colour picture
    // The blank tile stretched to the canvas, kept while neither changes.
    imaging::Raster stretchedTile_;
    qint64 tileKey_ = -1;
};

// One composition with a composer of its own; see PortraitComposer::ComposePortrait.
void ComposePortrait(PortraitState& state, const PartImages& images, imaging::Raster& Pic_view,
                     const imaging::Raster& blankTile, PickerMarks& marks,
                     EditorHost* host = nullptr, const ComposeHooks& hooks = {});

}  // namespace core
