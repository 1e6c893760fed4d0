#pragma once

#include "imaging/engine/errors.h"
#include "imaging/engine/region.h"

#include <QImage>
#include <QRect>
#include <QRgb>
#include <QSize>
#include <QString>
#include <QVector>

#include <cstdint>

namespace imaging {

struct TextStyle;

// Combine codes: an operation plus kCombineBlackDest when the destination is taken as black.
enum CombineCode : int {
    kCombineAnd = 0,
    kCombineOr = 256,
    kCombineXor = 512,
    kCombineAdd = 768,          // per channel, saturating
    kCombineBlackDest = 32,
    kCombineMask = kCombineAnd,  // mask pass of a part
    kCombineColour = kCombineXor,  // colour pass of a part
    kCombineCopy = kCombineOr | kCombineBlackDest,  // 288
    kCombineAddCopy = kCombineAdd | kCombineBlackDest,  // 800
};

// What GetFileInfo reports about a picture file.
struct FileInfo {
    int format = 0;       // the engine's format code (6 BMP, 75 PNG, 10 JPEG, 3 TIFF, 2 GIF, ...)
    int width = 0;
    int height = 0;
    int bits = 0;
    int page = 0;
    int pageCount = 0;
    qint64 sizeDisk = 0;  // bytes of the file
    qint64 sizeMem = 0;   // bytes the picture takes once loaded
    QString compression;
    int xRes = 0;
    int yRes = 0;
};

// Largest picture the engine accepts, per side and in pixels; larger sizes are refused
// before anything is allocated.
constexpr int kMaxSide = 32767;
constexpr qint64 kMaxPixels = qint64(1) << 28;

// One bitmap: the pixels, the depth it nominally has, its palette and an optional region.
// Pixels are always held as 32-bit 0xffRRGGBB (QImage::Format_RGB32) so that every kernel
// has one pixel format; the nominal depth and palette govern saving and serialization.
// Copying is cheap (shared until written).
class Raster {
public:
    Raster() = default;
    // A blank bitmap of the given size and depth (1, 4, 8, 16, 24 or 32), filled with `fill`.
    // Throws ImagingError 20011 for a bad size, 20027 for a bad depth.
    Raster(int width, int height, int bits, QRgb fill = qRgb(0, 0, 0));

    // Takes the pixels of `image`; bits 0 keeps the image's own depth (and palette).
    static Raster fromImage(const QImage& image, int bits = 0);

    bool isNull() const { return image_.isNull(); }
    void free();  // the bitmap becomes empty; the region goes too
    void create(int width, int height, int bits, QRgb fill = qRgb(0, 0, 0));

    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    QSize size() const { return image_.size(); }
    QRect rect() const { return image_.rect(); }
    int bits() const { return bits_; }
    void setBits(int bits);  // changes the nominal depth only (palette made when needed)
    int xRes() const { return xRes_; }
    int yRes() const { return yRes_; }
    void setResolution(int x, int y) { xRes_ = x; yRes_ = y; }
    const QVector<QRgb>& palette() const { return palette_; }
    void setPalette(const QVector<QRgb>& palette) { palette_ = palette; }
    // Number of distinct colours in the picture.
    int colorCount() const;

    QRgb pixel(int x, int y) const { return image_.pixel(x, y) | 0xff000000u; }
    void setPixel(int x, int y, QRgb c) { image_.setPixel(x, y, c | 0xff000000u); }
    const uint32_t* constScanLine(int y) const
    {
        return reinterpret_cast<const uint32_t*>(image_.constScanLine(y));
    }
    uint32_t* scanLine(int y) { return reinterpret_cast<uint32_t*>(image_.scanLine(y)); }
    // The pixels, Format_RGB32.
    const QImage& image() const { return image_; }
    // The picture at its nominal depth: indexed with the palette for 1, 4 and 8 bits.
    QImage toImage() const;

    // Fills the picture, or only its region when it has one.
    void fill(QRgb colour);

    // Combines the box (srcLeft, srcTop, width, height) of `src` onto this picture at
    // (dstLeft, dstTop), clipped at every edge of both and to this picture's region.
    // Throws ImagingError 20013 for an unknown code, 20002 when either picture is empty.
    void combine(int dstLeft, int dstTop, int width, int height, const Raster& src, int srcLeft,
                 int srcTop, int code);
    // Lays `pattern` under the picture: mode 0 tiles it, 1 stretches it over the whole picture.
    void underlay(const Raster& pattern, int mode);

    // Geometry. Angles are hundredths of a degree, positive counter-clockwise.
    void flip();     // upside down
    void reverse();  // left to right
    // Turns about the centre. Without resize the size stays; with resize the picture grows
    // to hold the turned one. Uncovered pixels get `fill`.
    void rotate(int angle, bool resize, QRgb fill);
    // Slants by `angle` (-4500..4500): horizontal moves rows, vertical moves columns; the
    // picture grows to hold the result.
    void shear(int angle, bool horizontal, QRgb fill);
    // flag 1 resamples (bilinear), 0 picks the nearest pixels.
    void size(int width, int height, int flag);

    // Region in bitmap pixels.
    bool hasRegion() const { return !region_.isEmpty(); }
    const Region& region() const { return region_; }
    void setRegion(const Region& region) { region_ = region; }
    void setRegion(const Region& region, int dx, int dy) { region_ = region.translated(dx, dy); }
    void freeRegion() { region_ = Region(); }

    // Text drawn into the picture within `rect` with the style's font, colours and alignment.
    void drawText(const QString& text, const QRect& rect, const TextStyle& style);
    static QSize textExtent(const QString& text, const TextStyle& style);

    // Files: 0 or an error code; never throw. On failure the previous picture stays.
    int load(const QString& file, int bits = 0, int page = 1, int pageCount = 1);
    int save(const QString& file, int format, int bits, int quality, bool multipage = false) const;
    static int getFileInfo(const QString& file, int page, FileInfo& info);

    bool operator==(const Raster& o) const;  // same size, depth and pixels
    bool operator!=(const Raster& o) const { return !(*this == o); }

private:
    QImage image_;  // Format_RGB32
    int bits_ = 0;
    QVector<QRgb> palette_;
    Region region_;
    int xRes_ = 96;
    int yRes_ = 96;
};

// Checks a size before anything is allocated: 0 or 20011.
int checkSize(qint64 width, qint64 height);
// True for the nominal depths a bitmap may have.
bool validBits(int bits);
// A default palette for 1, 4 and 8 bits (black and white; the 16 VGA colours; a 6x6x6 cube plus greys).
QVector<QRgb> defaultPalette(int bits);

}  // namespace imaging
