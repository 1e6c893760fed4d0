#include "core/compose.h"
#include "imaging/engine/errors.h"

#include "core/rounding.h"

namespace core {

using imaging::Raster;

namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);

// Canvas sizes: narrow, tall (body or tall user image), wide (background, balloon or wide
// user image). A user image larger than the standard 300 pixels needs the bigger canvas.
constexpr int kNarrow = 300;
constexpr int kTall = 395;
constexpr int kWide = 575;
constexpr int kUserLimit = 300;

// The figure offset moves face parts only: the background, the user image and the balloon
// belong to the scene, not to the figure.
bool takesFigureOffset(int k)
{
    return k != kind::Background && k != kind::User && k != kind::Balloon;
}

// Hairstyle, ears, outline and fringe follow the outline sliders and grow about their centre.
bool growsAboutCentre(int k)
{
    return k == kind::Hairstyle || k == kind::Ears || k == kind::Outline || k == kind::Fringe;
}

// Keeping inside for the user image and the balloon, which never take the offset. `gw`, `gh`
// is the growth that counts: the user image's, none for the balloon.
void keepInside(PartSlot& s, int canvasW, int canvasH, int gw, int gh)
{
    if (canvasW - s.Width - gw < s.PosX)
        s.PosX = clampToInt16(canvasW - s.Width - gw);
    else if (s.PosX < 0)
        s.PosX = 0;
    if (canvasH - s.Height - gh < s.PosY)
        s.PosY = clampToInt16(canvasH - s.Height - gh);
    else if (s.PosY < 0)
        s.PosY = 0;
}

// Keeping inside for the movable face parts, in canvas coordinates (with the offset).
void keepInsideWithOffset(PartSlot& s, int canvasW, int canvasH, int dx, int dy)
{
    if (canvasW - s.Width - s.GrowW < s.PosX + dx)
        s.PosX = clampToInt16(canvasW - s.Width - s.GrowW - dx);
    else if (s.PosX + dx < 0)
        s.PosX = clampToInt16(-dx);
    if (canvasH - s.Height - s.GrowH < s.PosY + dy)
        s.PosY = clampToInt16(canvasH - s.Height - s.GrowH - dy);
    else if (s.PosY + dy < 0)
        s.PosY = clampToInt16(-dy);
}

// Copies the box (x, y, w, h) of `src` into `out`, which becomes w x h at src's depth (a
// mask stays a two-colour mask when it is resampled). What lies outside src gets `fill`, so
// it stays transparent. Reuses out's pixels when it already has that size and depth.
void copyBox(const Raster& src, int x, int y, int w, int h, QRgb fill, Raster& out)
{
    const int bits = imaging::validBits(src.bits()) ? src.bits() : 24;
    if (out.isNull() || out.width() != w || out.height() != h || out.bits() != bits) {
        out.create(w, h, bits, fill);
    } else {
        out.freeRegion();
        out.fill(fill);
    }
    if (bits <= 8 && !src.palette().isEmpty())
        out.setPalette(src.palette());
    out.combine(0, 0, w, h, src, x, y, imaging::kCombineAddCopy);
}

}  // namespace

PortraitComposer::PortraitComposer(PortraitState& state, const PartImages& images)
    : state_(state), images_(images)
{
}

void PortraitComposer::drawBox(int k, Raster& target, int x, int y, int srcX, int srcY) const
{
    const PartSlot& s = state_.PartTable[k];
    const Raster& mask = images_.mask(k);
    const Raster& colour = images_.colour(k);
    // A part whose pictures are not there (yet) cannot be drawn: one pass without the other
    // would leave a hole or garble the canvas.
    if (mask.isNull() || colour.isNull())
        return;
    target.combine(x, y, s.Width, s.Height, mask, srcX, srcY, imaging::kCombineMask);
    target.combine(x, y, s.Width, s.Height, colour, srcX, srcY, imaging::kCombineColour);
}

void PortraitComposer::DrawPart(int k, Raster& target, int x, int y) const
{
    if (!isPartKind(k))
        return;
    const PartSlot& s = state_.PartTable[k];
    // The user image's picture is its box; BaseX and BaseY are only its standard position.
    if (k == kind::User)
        drawBox(k, target, x, y, 0, 0);
    else
        drawBox(k, target, x, y, s.BaseX, s.BaseY);
}

void PortraitComposer::rotatedPass(int k, Raster& target, int x, int y, bool maskPass)
{
    const PartSlot& s = state_.PartTable[k];
    const Raster& picture = maskPass ? images_.mask(k) : images_.colour(k);
    const QRgb fill = maskPass ? kWhite : kBlack;
    const int srcX = k == kind::User ? 0 : s.BaseX;
    const int srcY = k == kind::User ? 0 : s.BaseY;
    copyBox(picture, srcX, srcY, s.Width, s.Height, fill, parts_rt);
    parts_rt.rotate(s.Angle, false, fill);
    target.combine(x, y, s.Width, s.Height, parts_rt, 0, 0,
                   maskPass ? imaging::kCombineMask : imaging::kCombineColour);
}

void PortraitComposer::DrawRotatedPart(int k, Raster& target, int posX, int posY, int dx, int dy,
                                       int mode)
{
    if (!isPartKind(k))
        return;
    const PartSlot& s = state_.PartTable[k];
    if (images_.mask(k).isNull() || images_.colour(k).isNull() || s.Width <= 0 || s.Height <= 0)
        return;
    const int x = posX + dx;
    const int y = posY + dy;
    if (mode != 1)
        rotatedPass(k, target, x, y, true);
    if (mode != 0)
        rotatedPass(k, target, x, y, false);
}

void PortraitComposer::resizedBox(int k, const Raster& picture, QRgb fill, Raster& out)
{
    const PartSlot& s = state_.PartTable[k];
    // Only the box is turned and resized. Turning it about its own centre keeps a tilted part
    // where the unresized drawing puts it, and resizing only the box makes the centre rule
    // right for any box, not just for one that fills its picture.
    if (k == kind::User) {
        out = picture;
        out.freeRegion();
    } else {
        copyBox(picture, s.BaseX, s.BaseY, s.Width, s.Height, fill, out);
    }
    if (s.Angle != 0)
        out.rotate(s.Angle, false, fill);
    out.size(s.Width + s.GrowW, s.Height + s.GrowH, 1);
}

void PortraitComposer::DrawResizedPart(int k, Raster& target, int posX, int posY, int dx, int dy)
{
    if (!isPartKind(k))
        return;
    const PartSlot& s = state_.PartTable[k];
    if (images_.mask(k).isNull() || images_.colour(k).isNull())
        return;
    const int w = s.Width + s.GrowW;
    const int h = s.Height + s.GrowH;
    // Shrunk to nothing, or a box that holds nothing: there is nothing to draw.
    if (w <= 0 || h <= 0 || s.Width <= 0 || s.Height <= 0)
        return;

    resizedBox(k, images_.mask(k), kWhite, Pic1);
    resizedBox(k, images_.colour(k), kBlack, resizedColour_);
    // Resampling blends the colour picture's edge into the black around it. Where the
    // resized mask lets the canvas through, the colour must be black again, or the colour
    // pass would leave a fringe there: (colour OR mask) XOR mask clears it under white.
    resizedColour_.combine(0, 0, w, h, Pic1, 0, 0, imaging::kCombineOr);
    resizedColour_.combine(0, 0, w, h, Pic1, 0, 0, imaging::kCombineXor);

    int x = posX + dx;
    int y = posY + dy;
    if (k == kind::User) {
        x = posX;
        y = posY;
    } else if (growsAboutCentre(k)) {
        // The halves are exact; the position rounds like every conversion to an integer.
        x = roundTo<int>(posX - s.GrowW / 2.0 + dx);
        y = roundTo<int>(posY - s.GrowH / 2.0 + dy);
    }
    target.combine(x, y, w, h, Pic1, 0, 0, imaging::kCombineMask);
    target.combine(x, y, w, h, resizedColour_, 0, 0, imaging::kCombineColour);
}

void PortraitComposer::drawGeneral(int k, Raster& canvas, int dx, int dy)
{
    const PartSlot& s = state_.PartTable[k];
    const bool grown = s.GrowW != 0 || s.GrowH != 0;
    if (grown) {
        DrawResizedPart(k, canvas, s.PosX, s.PosY, dx, dy);
        Pic1.free();
        resizedColour_.free();
    } else if (s.Angle != 0) {
        DrawRotatedPart(k, canvas, s.PosX, s.PosY, dx, dy, 2);
    } else {
        DrawPart(k, canvas, s.PosX + dx, s.PosY + dy);
    }
}

void PortraitComposer::drawByKind(int k, Raster& canvas, int dx, int dy)
{
    PartSlot& s = state_.PartTable[k];
    const int cw = state_.CanvasWidth;
    const int ch = state_.CanvasHeight;
    switch (k) {
    case kind::Background:
        if (state_.BackgroundOption != 1)
            DrawPart(k, canvas, s.PosX, s.PosY);
        break;
    case kind::User:
        keepInside(s, cw, ch, s.GrowW, s.GrowH);
        if (s.GrowW == 0 && s.GrowH == 0)
            DrawPart(k, canvas, s.PosX, s.PosY);
        else
            DrawResizedPart(k, canvas, s.PosX, s.PosY, 0, 0);
        Pic1.free();
        resizedColour_.free();
        break;
    case kind::Body:
        // The body's box is moved down with the outline's height so that the neck still meets
        // the chin.
        drawBox(k, canvas, s.PosX + dx, s.PosY + dy, s.BaseX, s.BaseY + state_.BodyShift);
        break;
    case kind::Balloon:
        keepInside(s, cw, ch, 0, 0);
        DrawPart(k, canvas, s.PosX, s.PosY);
        break;
    default:
        if ((k >= kind::BrowRight && k <= kind::Glasses) || k == kind::Hat)
            keepInsideWithOffset(s, cw, ch, dx, dy);
        drawGeneral(k, canvas, dx, dy);
        break;
    }
}

void PortraitComposer::startCanvas(Raster& canvas, const Raster& tile, int width, int height)
{
    const qint64 key = tile.isNull() ? 0 : tile.image().cacheKey();
    if (stretchedTile_.isNull() || key != tileKey_ || stretchedTile_.width() != width
        || stretchedTile_.height() != height) {
        if (tile.isNull()) {
            stretchedTile_.create(width, height, 24, kWhite);
        } else {
            stretchedTile_ = tile;
            stretchedTile_.freeRegion();
            stretchedTile_.size(width, height, 1);
            // The canvas holds colour whatever depth the tile was stored at.
            if (stretchedTile_.bits() < 24)
                stretchedTile_.setBits(24);
        }
        tileKey_ = key;
    }
    canvas = stretchedTile_;
}

void PortraitComposer::ComposePortrait(Raster& Pic_view, const Raster& blankTile,
                                       PickerMarks& marks, EditorHost* host,
                                       const ComposeHooks& hooks)
{
    // The editor must never be left with a hidden canvas and the hourglass.
    struct Restore {
        EditorHost* host;
        bool done = false;
        ~Restore()
        {
            if (!done && host) {
                host->setCanvasVisible(true);
                host->setBusyPointer(false);
            }
        }
    } restore{host};

    if (host) {
        host->setBusyPointer(true);
        host->setCanvasVisible(false);
        host->dropPartSelection();
    }

    PortraitState& st = state_;
    PartTable& parts = st.PartTable;

    // Canvas size and figure offset.
    if (parts[kind::User].present()) {
        const PartSlot& u = parts[kind::User];
        st.UserSizeClass = u.Width + u.GrowW > kUserLimit ? 2 : (u.Height + u.GrowH > kUserLimit ? 1 : 0);
    }
    int dx = 0;
    int dy = 0;
    if (parts[kind::Background].present() || parts[kind::Balloon].present() || st.UserSizeClass == 2) {
        st.CanvasWidth = kWide;
        st.CanvasHeight = kTall;
        if (host && !host->figurePosMenuEnabled()) {
            host->setFigurePosMenuEnabled(true);
            host->checkFigurePosItem(st.FigurePosMode);
        }
        switch (st.FigurePosMode) {
        case 1: dx = 140; break;
        case 2: dx = 280; break;
        case 3:
            st.FigureOffsetX = clampToInt16(st.FigureStepX * 20);
            st.FigureOffsetY = clampToInt16(st.FigureStepY * 10);
            dx = st.FigureOffsetX;
            dy = st.FigureOffsetY;
            break;
        default: break;
        }
    } else {
        const bool tall = parts[kind::Body].present() || parts[kind::AnimalBody].present()
                          || st.UserSizeClass == 1;
        st.CanvasWidth = kNarrow;
        st.CanvasHeight = tall ? kTall : kNarrow;
        if (host)
            host->setFigurePosMenuEnabled(false);
    }

    if (host) {
        host->setEditorClientSize(st.CanvasWidth, st.CanvasHeight);
        host->PlaceEditorWindow();
    }

    startCanvas(Pic_view, blankTile, st.CanvasWidth, st.CanvasHeight);

    for (int i = 1; i <= kind::Count; ++i) {
        const int k = st.LayerOrder[i];
        if (!isPartKind(k))
            continue;
        PartSlot& s = parts[k];
        if (!s.present()) {
            marks.InUseFileNo[std::size_t(k)] = 0;
            continue;
        }
        // A size no editing gives (a damaged document, a slot set by hand): resizing to it
        // would take seconds and hundreds of megabytes, so the part is left out.
        if (s.Width > kMaxPartExtent || s.Height > kMaxPartExtent
            || s.Width + s.GrowW > kMaxPartExtent || s.Height + s.GrowH > kMaxPartExtent) {
            marks.InUseFileNo[std::size_t(k)] = s.FileNo;
            continue;
        }
        try {
            drawByKind(k, Pic_view, takesFigureOffset(k) ? dx : 0, takesFigureOffset(k) ? dy : 0);
        } catch (const imaging::ImagingError&) {
            // One part that cannot be drawn leaves the rest of the portrait standing.
            Pic1.free();
            resizedColour_.free();
        }
        marks.InUseFileNo[std::size_t(k)] = s.FileNo;
        if (k == kind::Option) {
            marks.OptionMemory.PosX = roundToInt16(s.PosX / 3.0);
            marks.OptionMemory.PosY = roundToInt16(s.PosY / 3.0);
        }
    }

    // A background drawn over the figure shows the figure only where its own mask is white.
    const PartSlot& background = parts[kind::Background];
    if (background.present() && st.BackgroundOption == 1)
        DrawPart(kind::Background, Pic_view, background.PosX, background.PosY);

    if (host)
        host->setCanvasVisible(true);
    if (hooks.drawCaptions)
        hooks.drawCaptions(Pic_view);
    if (hooks.recordSnapshot)
        hooks.recordSnapshot();
    if (host)
        host->setBusyPointer(false);
    restore.done = true;
}

void ComposePortrait(PortraitState& state, const PartImages& images, Raster& Pic_view,
                     const Raster& blankTile, PickerMarks& marks, EditorHost* host,
                     const ComposeHooks& hooks)
{
    PortraitComposer composer(state, images);
    composer.ComposePortrait(Pic_view, blankTile, marks, host, hooks);
}

}  // namespace core
