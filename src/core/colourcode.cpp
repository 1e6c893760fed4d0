#include "core/colourcode.h"

#include "imaging/engine/adjust.h"

namespace core {

void ApplyColourCode(imaging::Raster& picture, int code)
{
    if (picture.isNull())
        return;
    switch (code) {
    case 1:
        imaging::adjustSaturation(picture, 100);
        imaging::adjustSaturation(picture, 100);
        break;
    case 2:
        imaging::adjustColourContrast(picture, 400);
        imaging::adjustHue(picture, -10);
        break;
    case 3:
        imaging::adjustIntensity(picture, -500);
        break;
    case 4:
        imaging::adjustSaturation(picture, -1000);
        imaging::adjustColourContrast(picture, 300);
        break;
    default:
        break;
    }
}

}  // namespace core
