#pragma once

#include "core/options.h"
#include "core/partimages.h"
#include "core/portrait.h"
#include "imaging/engine/raster.h"

#include <QRect>

#include <cstdint>

namespace picker {

// One of the five candidates: the pictures and fields of the row it was read from.
struct ThumbSlot {
    imaging::Raster main;  // L2(i)
    imaging::Raster mask;  // L2M(i)
    std::int16_t fileNo = 0;  // ThumbFileNo
    // X, Y, Width and Height of the row. Our parts have tight boxes that differ from part to
    // part, so every kind keeps its candidate's own box, not only the option kind.
    QRect box;
    qint64 row = 0;  // the row's bookmark: where the window's parts lie in the table

    bool isEmpty() const { return main.isNull(); }
    void clear();
};

// What a thumbnail is drawn over: the portrait's one-third-scale parts.
struct ThumbScene {
    const core::PortraitState& state;   // which kinds are placed, and LayerOrder
    const core::PartImages& images;     // SmallPart and PreviewTable
    const core::Settings::Kinds& OverlayKinds;
    const imaging::Raster& WhitePic;   // the white base of overlay thumbnails
};

// One-third-scale offset of a pair's second half from the first.
inline constexpr int kPairStepSmall = 17;

// Draws thumbnails (DrawThumb). Keeps its scratch pictures between calls.
class ThumbRenderer {
public:
    // Display mode 0 and 2: the candidate alone; 2 shows the hairstyle, ears, outline and
    // fringe at the portrait's outline size. Mode 1: the portrait's parts with the candidate
    // in its place. `colourCode` is the swatch's treatment of the candidate's colours.
    void DrawThumb(const ThumbSlot& slot, int kind, int displayMode, int colourCode,
                   const ThumbScene& scene, imaging::Raster& out);

private:
    void drawAlone(const ThumbSlot& slot, int kind, int displayMode, int colourCode,
                   const ThumbScene& scene, imaging::Raster& out);
    void drawOverlay(const ThumbSlot& slot, int kind, int colourCode, const ThumbScene& scene,
                     imaging::Raster& out);
    void drawCandidate(const ThumbSlot& slot, int k, bool partner, int colourCode,
                       const ThumbScene& scene, imaging::Raster& out);
    void drawPlaced(int k, const ThumbScene& scene, imaging::Raster& out);
    // The box of both pictures resized to w x h and drawn through the mask at (x, y).
    void drawResized(const imaging::Raster& mask, const imaging::Raster& colour, const QRect& box,
                     int w, int h, int x, int y, imaging::Raster& out);
    const imaging::Raster& treated(const imaging::Raster& colour, int colourCode);

    imaging::Raster SizeCHG;  // a resized mask
    imaging::Raster sizedColour_;
    imaging::Raster CBL;      // a colour-treated picture
};

}  // namespace picker
