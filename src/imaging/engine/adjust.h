#pragma once

#include "imaging/engine/raster.h"

namespace imaging {

// Colour adjustments with one signed strength each. They change the picture in place, only
// inside its region when it has one, and map a palette picture's palette as well (without a
// region). Black stays black under every one of them, and greys stay grey (adjustIntensity
// only changes their level): the colour picture of a part is black wherever the part is
// transparent, and that must survive a colour change.
//
// The HSV-based ones keep the hue exactly: with V the brightest channel, S = (V - min) / V
// and the middle channel's place between min and V kept, only S and V change.
//
// Each throws ImagingError 20002 for an empty picture and 20013 for a strength out of range.

// Saturation, strength -1000..1000 (percent): S' = S x (1 + s / 100), clamped to 0..1, V kept.
// 100 doubles the saturation; -100 or less gives the grey of the colour's brightest channel.
void adjustSaturation(Raster& picture, int strength);

// Colour contrast, strength -1000..1000: S' = S ^ (2 ^ (s / 400)), V kept. Positive strengths
// fade pale colours while fully saturated ones stay (400 squares S: 0.5 becomes 0.25);
// negative ones lift pale colours towards full colour. Greys have no colour and stay.
void adjustColourContrast(Raster& picture, int strength);

// Hue turn by `degrees` (-360..360), positive from red towards yellow and green. The turn is
// the luminance-keeping rotation of the SVG/CSS hue-rotate filter, a 3 x 3 matrix whose rows
// each sum to one: greys are fixed points, and pale colours move little.
void adjustHue(Raster& picture, int degrees);

// Intensity, strength -1000..1000: V' = V x f with f = max(0, 1 + s / 750), clamped to 1.
// Dimming also drains the colour, faster than the light (S' = S x f^3), as colours fade in
// dim light: -500 leaves a third of the brightness and a 27th of the saturation, all but a
// grey. Brightening keeps the saturation.
void adjustIntensity(Raster& picture, int strength);

}  // namespace imaging
