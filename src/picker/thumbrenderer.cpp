#include "picker/thumbrenderer.h"

#include "core/colourcode.h"
#include "core/kinds.h"
#include "core/rounding.h"

namespace picker {

using imaging::Raster;
namespace kind = core::kind;

namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);
// The one-third-scale face canvas, when the database has no blank tile to start from.
constexpr int kSmallCanvas = 100;

// The outline sliders resize these four about their centre.
bool growsAboutCentre(int k)
{
    return k == kind::Hairstyle || k == kind::Ears || k == kind::Outline || k == kind::Fringe;
}

bool treats(int colourCode) { return colourCode != 0 && colourCode != 5; }

// The box (x, y, w, h) of `src` as a picture of its own, at src's depth so that a two-colour
// mask stays one when it is resampled. What lies outside src gets `fill`.
void copyBox(const Raster& src, const QRect& box, QRgb fill, Raster& out)
{
    const int bits = imaging::validBits(src.bits()) ? src.bits() : 24;
    out.create(box.width(), box.height(), bits, fill);
    if (bits <= 8 && !src.palette().isEmpty())
        out.setPalette(src.palette());
    out.combine(0, 0, box.width(), box.height(), src, box.x(), box.y(), imaging::kCombineAddCopy);
}

// A thumbnail holds colour whatever depth its base was stored at.
void startFrom(const Raster& base, Raster& out)
{
    out = base;
    out.freeRegion();
    if (out.bits() < 24)
        out.setBits(24);
}

void whiteBase(const ThumbScene& scene, Raster& out)
{
    if (scene.WhitePic.isNull())
        out.create(kSmallCanvas, kSmallCanvas, 24, kWhite);
    else
        startFrom(scene.WhitePic, out);
}

bool hasSizeChange(const core::PartSlot& e) { return e.GrowW != 0 || e.GrowH != 0; }

}  // namespace

void ThumbSlot::clear()
{
    main.free();
    mask.free();
    fileNo = 0;
    box = QRect();
    row = 0;
}

const Raster& ThumbRenderer::treated(const Raster& colour, int colourCode)
{
    if (!treats(colourCode))
        return colour;
    CBL = colour;
    core::ApplyColourCode(CBL, colourCode);
    return CBL;
}

void ThumbRenderer::drawResized(const Raster& mask, const Raster& colour, const QRect& box, int w,
                                int h, int x, int y, Raster& out)
{
    if (w <= 0 || h <= 0 || box.width() <= 0 || box.height() <= 0)
        return;
    copyBox(mask, box, kWhite, SizeCHG);
    SizeCHG.size(w, h, 1);
    copyBox(colour, box, kBlack, sizedColour_);
    sizedColour_.size(w, h, 1);
    // Resampling blends the colour into the black around it; where the resized mask lets the
    // base through, the colour must be black again or it would leave a fringe.
    sizedColour_.combine(0, 0, w, h, SizeCHG, 0, 0, imaging::kCombineOr);
    sizedColour_.combine(0, 0, w, h, SizeCHG, 0, 0, imaging::kCombineXor);
    out.combine(x, y, w, h, SizeCHG, 0, 0, imaging::kCombineMask);
    out.combine(x, y, w, h, sizedColour_, 0, 0, imaging::kCombineColour);
    SizeCHG.free();
    sizedColour_.free();
}

void ThumbRenderer::drawAlone(const ThumbSlot& slot, int kind, int displayMode, int colourCode,
                              const ThumbScene& scene, Raster& out)
{
    const core::PartSlot& e = scene.images.PreviewTable[kind];
    // Mode 0 shows the middle row, a thumbnail of its own scale: the outline's size change
    // means nothing there.
    if (displayMode == 2 && growsAboutCentre(kind) && hasSizeChange(e)) {
        // At the portrait's outline size: the candidate's box grown about its centre.
        out.create(slot.mask.width(), slot.mask.height(), 24, kWhite);
        const Raster& colour = treated(slot.main, colourCode);
        const int w = slot.box.width() + e.GrowW;
        const int h = slot.box.height() + e.GrowH;
        const int x = core::roundTo<int>(slot.box.x() - e.GrowW / 2.0);
        const int y = core::roundTo<int>(slot.box.y() - e.GrowH / 2.0);
        drawResized(slot.mask, colour, slot.box, w, h, x, y, out);
        CBL.free();
        return;
    }
    startFrom(slot.mask, out);
    out.combine(0, 0, out.width(), out.height(), treated(slot.main, colourCode), 0, 0,
                imaging::kCombineColour);
    CBL.free();
}

void ThumbRenderer::drawCandidate(const ThumbSlot& slot, int k, bool partner, int colourCode,
                                  const ThumbScene& scene, Raster& out)
{
    QRect box = slot.box;
    if (partner)
        box.translate(-kPairStepSmall, 0);
    if (box.width() <= 0 || box.height() <= 0)
        return;
    // A placed part that the user moved keeps its move: the candidate is shown moved as far
    // from its own standard place, which is where applying it puts it.
    const core::PartSlot& e = scene.images.PreviewTable[k];
    int x = box.x();
    int y = box.y();
    if (scene.state.PartTable[k].present()) {
        x += e.PosX - e.BaseX;
        y += e.PosY - e.BaseY;
    }
    const Raster& colour = treated(slot.main, colourCode);
    if (growsAboutCentre(k) && hasSizeChange(e)) {
        drawResized(slot.mask, colour, box, box.width() + e.GrowW, box.height() + e.GrowH,
                    core::roundTo<int>(x - e.GrowW / 2.0), core::roundTo<int>(y - e.GrowH / 2.0),
                    out);
    } else {
        out.combine(x, y, box.width(), box.height(), slot.mask, box.x(), box.y(),
                    imaging::kCombineMask);
        out.combine(x, y, box.width(), box.height(), colour, box.x(), box.y(),
                    imaging::kCombineColour);
    }
    CBL.free();
}

void ThumbRenderer::drawPlaced(int k, const ThumbScene& scene, Raster& out)
{
    const core::PartSlot& e = scene.images.PreviewTable[k];
    const Raster& mask = scene.images.smallMask(k);
    const Raster& colour = scene.images.smallColour(k);
    if (e.Width == 0 || e.Height == 0 || mask.isNull() || colour.isNull())
        return;
    if (growsAboutCentre(k) && hasSizeChange(e)) {
        drawResized(mask, colour, QRect(e.BaseX, e.BaseY, e.Width, e.Height), e.Width + e.GrowW,
                    e.Height + e.GrowH, core::roundTo<int>(e.PosX - e.GrowW / 2.0),
                    core::roundTo<int>(e.PosY - e.GrowH / 2.0), out);
    } else if (k == kind::User) {
        // The user image's picture is its box at full scale.
        drawResized(mask, colour, mask.rect(), core::roundTo<int>(e.Width / 3.0),
                    core::roundTo<int>(e.Height / 3.0), e.PosX, e.PosY, out);
    } else {
        out.combine(e.PosX, e.PosY, e.Width, e.Height, mask, e.BaseX, e.BaseY,
                    imaging::kCombineMask);
        out.combine(e.PosX, e.PosY, e.Width, e.Height, colour, e.BaseX, e.BaseY,
                    imaging::kCombineColour);
    }
}

void ThumbRenderer::drawOverlay(const ThumbSlot& slot, int kind, int colourCode,
                                const ThumbScene& scene, Raster& out)
{
    whiteBase(scene, out);
    const int partner = core::isFirstOfPair(kind) ? core::pairPartner(kind) : 0;
    for (int pos = 1; pos <= kind::Count; ++pos) {
        const int k = scene.state.LayerOrder[pos];
        if (!core::isPartKind(k))
            continue;
        if (k == kind || k == partner) {
            drawCandidate(slot, k, k == partner, colourCode, scene, out);
        } else if (scene.OverlayKinds[std::size_t(k)] && scene.state.PartTable[k].present()) {
            drawPlaced(k, scene, out);
        }
    }
}

void ThumbRenderer::DrawThumb(const ThumbSlot& slot, int kind, int displayMode, int colourCode,
                              const ThumbScene& scene, Raster& out)
{
    if (slot.isEmpty() || slot.mask.isNull() || !core::isPartKind(kind)) {
        out.free();
        return;
    }
    if (displayMode == 1)
        drawOverlay(slot, kind, colourCode, scene, out);
    else
        drawAlone(slot, kind, displayMode, colourCode, scene, out);
}

}  // namespace picker
