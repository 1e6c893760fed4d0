#pragma once

// The pure rules of photo registration: the size a registered picture may have, the depth
// each picture is stored at, how a preview fits its picture, and the automatic mask.

#include "imaging/engine/raster.h"

#include <QRect>
#include <QSize>

#include <cstdint>

namespace photo {

// The portrait window shows pictures up to this size; larger ones are refused.
inline constexpr int kMaxPhotoWidth = 575;
inline constexpr int kMaxPhotoHeight = 395;

bool fitsPortraitWindow(QSize picture);

// How a bound image slot stores its picture: the engine's save format, bits per pixel and
// quality factor of the field binding.
struct FieldSaveSettings {
    int format = 0;
    int bits = 0;
    std::int32_t quality = 0;
    bool operator==(const FieldSaveSettings&) const = default;
};

// True when every colour the picture uses (its palette, else its pixels) is a grey.
bool isGreyPicture(const imaging::Raster& picture);

// 1 bit: 26/1/0; 4 bits: 1/4/0; deeper grey pictures 20/8/-4; deeper colour ones 20/24/-1.
FieldSaveSettings fieldSaveSettings(const imaging::Raster& picture);

// Where a preview of `control` size draws a picture of `picture` size: as large as fits,
// keeping its proportions, centred across the spare direction. Empty for an empty picture
// or control.
QRect fitPreview(QSize control, QSize picture);

// A channel at least this bright counts as near white in the automatic mask.
inline constexpr int kNearWhite = 235;

// The automatic mask of a picture on a plain light background: the near-white pixels that
// connect to the picture's edge through near-white pixels are background (white), all
// others are the figure (black). A 1-bit picture of the same size; empty for an empty one.
imaging::Raster makeAutoMask(const imaging::Raster& main);

// The main picture as a part needs it under `mask`: black wherever the mask is white, so
// that drawing it through the mask leaves the portrait untouched there. Same depth as
// `main`; unchanged when the sizes differ.
imaging::Raster clearMaskedArea(const imaging::Raster& main, const imaging::Raster& mask);

}  // namespace photo
