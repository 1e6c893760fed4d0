#pragma once

#include "imaging/engine/raster.h"

namespace core {

// Gives a part's colour picture the colour of the swatch chosen for it. The parts are drawn
// in the standard skin colour (255, 192, 128) or hair colour (192, 64, 0); the codes turn
// them into the other swatches' colours:
//   1  skin to (255, 128, 0)    saturation 100, twice
//   2  skin to (255, 224, 192)  colour contrast 400, then hue -10
//   3  hair to (64, 64, 64)     intensity -500
//   4  hair to (192, 192, 192)  saturation -1000, then colour contrast 300
// Codes 0 and 5 are the standard colours themselves, and any other code changes nothing;
// so does an empty picture. Black, where the part is transparent, stays black.
void ApplyColourCode(imaging::Raster& picture, int code);

}  // namespace core
