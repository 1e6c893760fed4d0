#pragma once

// The picture filters of the image workshop. Each changes the picture in place, only inside
// its region when it has one (pixels outside the region are still read by the neighbourhood
// filters), throws ImagingError 20002 for an empty picture and 20013 for an argument out of
// range. Strengths are in tenths of a percent (-1000..1000) unless said otherwise.

#include "imaging/engine/raster.h"

namespace imaging {

// --- Tone and colour (one table per channel, or a per-pixel formula)

// 255 - c per channel.
void invert(Raster& picture);
// Every pixel becomes its luminance Y = (77 R + 150 G + 29 B + 128) / 256 (Rec. 601 weights); bits 8, 12 or 16 (pixels hold 8 bits a channel,
// so all three give the same picture; without a region an 8-bit grey palette is set).
void grayscale(Raster& picture, int bits);
// Brightness: s > 0 moves each channel towards white by s / 1000 of the way, s < 0 towards black.
void intensity(Raster& picture, int strength);
// Contrast about mid grey: c' = 127.5 + (c - 127.5) x f, f = 1 + s/1000 below zero,
// 1000 / (1000 - s) above (1000 leaves only black and white).
void contrast(Raster& picture, int strength);
// Gamma in hundredths (1..500): c' = 255 x (c / 255) ^ (100 / gamma); above 100 brightens.
void gammaCorrect(Raster& picture, int gamma);
// Hue turn by `degrees` (-360..360), keeping luminance (the hue-rotate matrix).
void hue(Raster& picture, int degrees);
// Saturation: c' = Y + (c - Y) x (1 + s / 1000); -1000 gives grey, 1000 doubles the colour.
void saturation(Raster& picture, int strength);
// Posterize to `levels` tones per channel (1..256; 1 counts as 2): evenly spaced from 0 to 255.
void posterize(Raster& picture, int levels);
// Contrast as `contrast`, but about the mean luminance of the changed pixels instead of mid grey.
void histoContrast(Raster& picture, int strength);
// Histogram equalization with one table for all three channels (greys stay grey).
void histoEqualize(Raster& picture);
// Stretches the darkest channel value to 0 and the brightest to 255, one table for all channels.
void stretchIntensity(Raster& picture);
// Keeps the pixels whose luminance lies in low..high (0..255, low <= high); the rest become black.
void intensityDetect(Raster& picture, int low, int high);
// Adds noise of up to +-range/1000 of full scale (0..1000): channel 0 the same amount to all
// three channels, 1 red, 2 green, 3 blue only. The same seed gives the same noise.
void addNoise(Raster& picture, int range, int channel, uint32_t seed = 1);

// --- Neighbourhood filters; the picture's edges repeat outwards.

// Per-channel median of the size x size window (1..255); for an even count the lower median.
void median(Raster& picture, int size);
// Per-channel mean of the size x size window (1..255), rounded.
void average(Raster& picture, int size);
// c' = c + k x (c - mean of the 3 x 3 window), k = s / 1000 below zero (-1000 is the 3 x 3
// blur) and 2s / 1000 above.
void sharpen(Raster& picture, int strength);
// Relief in grey: 128 + (Y(p - d) - Y(p + d)) x depth / 250, d the light's direction
// 0 up, 1 up-left, 2 left, 3 down-left, 4 down, 5 down-right, 6 right, 7 up-right; depth 0..1000.
void emboss(Raster& picture, int direction, int depth);
// Tiles of size x size (1..32767) from the area's top-left corner, each its mean colour.
void mosaic(Raster& picture, int size);
// One of the fixed 3 x 3 filters (0..16, see filters_neighbourhood.cpp); 16 is the edge
// detector whose result, added onto the picture, makes its edges stand out.
void spatialFilter(Raster& picture, int filter);

// --- Colour resolution and halftone

enum ColorResPalette : int {
    kPaletteFixed = 1,
    kPaletteOptimal = 2,
    kPaletteOrderBgr = 4,   // for 16 bits and more: colour order only
    kPaletteSystem = 8,
    kPaletteNetscape = 64,  // 8 bits only
};
enum ColorResDither : int {
    kDitherNone = 0,
    kDitherFloydSteinberg = 1,
    kDitherStucki = 2,
    kDitherBurkes = 3,
    kDitherSierra = 4,
    kDitherStevensonArce = 5,
    kDitherJarvis = 6,
    kDitherOrdered = 7,
};
// Reduces the picture to `bits` (1, 4, 8, 16, 24, 32). For 8 bits or less `palette` is one of
// fixed, optimal, system or Netscape and `colours` the palette size (0 means 2^bits; optimal
// may ask for fewer, 2..2^bits); `dither` spreads the error. For 16 bits and more `palette` is
// the colour order (0 RGB, 4 BGR), `colours` 0 and no dithering happens: 16 bits keep 5 bits a
// channel. Without a region the nominal depth and palette change too.
void colorRes(Raster& picture, int bits, int palette, int dither, int colours);
// Black-and-white halftone through a clustered-dot screen turned by `angle` (hundredths of a
// degree, -36000..36000): type 0 for print (8-pixel cells), 1 for display (4-pixel cells).
void halftone(Raster& picture, int type, int angle);

// The system palettes colorRes uses: 2, 16 or 256 entries.
QVector<QRgb> systemPalette(int bits);
QVector<QRgb> netscapePalette();

}  // namespace imaging
