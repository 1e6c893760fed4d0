#include "imaging/engine/raster.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <vector>

namespace imaging {

namespace {

int squaredDistance(QRgb a, QRgb b)
{
    const int dr = qRed(a) - qRed(b);
    const int dg = qGreen(a) - qGreen(b);
    const int db = qBlue(a) - qBlue(b);
    return dr * dr + dg * dg + db * db;
}

// Index of the palette entry closest to c; the palette is never empty here.
int nearestIndex(const QVector<QRgb>& palette, QRgb c)
{
    int best = 0;
    int bestDistance = INT32_MAX;
    for (int i = 0; i < palette.size(); ++i) {
        const int d = squaredDistance(palette[i], c);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
            if (d == 0)
                break;
        }
    }
    return best;
}

int bitsOf(const QImage& image)
{
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return 1;
    case QImage::Format_Indexed8:
        return image.colorCount() <= 16 && image.colorCount() > 2 ? 4 : 8;
    case QImage::Format_Grayscale8:
        return 8;
    case QImage::Format_RGB16:
    case QImage::Format_RGB555:
    case QImage::Format_RGB444:
        return 16;
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        return image.hasAlphaChannel() ? 32 : 24;
    default:
        return 24;
    }
}

// Distinct colours of the picture when there are at most `limit`, else an empty list.
QVector<QRgb> exactColours(const QImage& rgb, int limit)
{
    QVector<QRgb> colours;
    QSet<QRgb> seen;
    QRgb last = 0;
    bool haveLast = false;
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb c = line[x] | 0xff000000u;
            if (haveLast && c == last)
                continue;
            last = c;
            haveLast = true;
            if (!seen.contains(c)) {
                if (colours.size() == limit)
                    return {};
                seen.insert(c);
                colours.append(c);
            }
        }
    }
    return colours;
}

}  // namespace

bool validBits(int bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

int checkSize(qint64 width, qint64 height)
{
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide
        || width * height > kMaxPixels)
        return kErrBadSize;
    return kOk;
}

QVector<QRgb> defaultPalette(int bits)
{
    QVector<QRgb> p;
    if (bits == 1) {
        p = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    } else if (bits == 4) {
        p = {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
             qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
             qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
             qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
    } else if (bits == 8) {
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    p.append(qRgb(r * 51, g * 51, b * 51));
        for (int i = 0; p.size() < 256; ++i) {
            const int v = (i + 1) * 255 / 41;
            p.append(qRgb(v, v, v));
        }
    }
    return p;
}

Raster::Raster(int width, int height, int bits, QRgb fill)
{
    create(width, height, bits, fill);
}

void Raster::create(int width, int height, int bits, QRgb fill)
{
    if (checkSize(width, height) != kOk)
        throw ImagingError(kErrBadSize);
    if (!validBits(bits))
        throw ImagingError(kErrBadBits);
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        throw ImagingError(kErrNoMemory);
    image_ = image;
    bits_ = bits;
    palette_ = bits <= 8 ? defaultPalette(bits) : QVector<QRgb>();
    region_ = Region();
    xRes_ = yRes_ = 96;
    if (bits <= 8)
        fill = palette_[nearestIndex(palette_, fill)];
    image_.fill(fill | 0xff000000u);
}

Raster Raster::fromImage(const QImage& image, int bits)
{
    Raster r;
    if (image.isNull())
        return r;
    if (bits != 0 && !validBits(bits))
        throw ImagingError(kErrBadBits);
    r.image_ = image.convertToFormat(QImage::Format_RGB32);
    if (r.image_.isNull())
        throw ImagingError(kErrNoMemory);
    const int own = bitsOf(image);
    r.bits_ = own;
    if (own <= 8 && image.colorCount() > 0) {
        r.palette_.clear();
        for (QRgb c : image.colorTable())
            r.palette_.append(c | 0xff000000u);
    } else if (own <= 8) {
        r.palette_ = defaultPalette(own);
    }
    if (image.dotsPerMeterX() > 0) {
        r.xRes_ = qRound(image.dotsPerMeterX() * 0.0254);
        r.yRes_ = qRound(image.dotsPerMeterY() * 0.0254);
    }
    if (bits != 0 && bits != own) {
        if (own <= 8 && bits <= 8 && r.palette_.size() <= (1 << bits))
            r.bits_ = bits;  // the file's own palette fits the depth it declares
        else
            r.setBits(bits);
    }
    return r;
}

void Raster::free()
{
    image_ = QImage();
    bits_ = 0;
    palette_.clear();
    region_ = Region();
}

void Raster::setBits(int bits)
{
    if (!validBits(bits))
        throw ImagingError(kErrBadBits);
    if (isNull())
        throw ImagingError(kErrBadHandle);
    if (bits == bits_)
        return;
    bits_ = bits;
    if (bits > 8) {
        palette_.clear();
        return;
    }
    // The picture's own colours when they fit, else the standard palette; pixels are
    // moved onto the palette so that what is shown is what will be saved.
    palette_ = exactColours(image_, 1 << bits);
    if (palette_.isEmpty())
        palette_ = defaultPalette(bits);
    else
        return;
    QHash<QRgb, QRgb> cache;
    for (int y = 0; y < height(); ++y) {
        uint32_t* line = scanLine(y);
        for (int x = 0; x < width(); ++x) {
            const QRgb c = line[x] | 0xff000000u;
            auto it = cache.find(c);
            if (it == cache.end())
                it = cache.insert(c, palette_[nearestIndex(palette_, c)]);
            line[x] = *it;
        }
    }
}

int Raster::colorCount() const
{
    if (isNull())
        return 0;
    std::vector<uint64_t> seen((1u << 24) / 64, 0);
    int count = 0;
    for (int y = 0; y < height(); ++y) {
        const uint32_t* line = constScanLine(y);
        for (int x = 0; x < width(); ++x) {
            const uint32_t c = line[x] & 0xffffffu;
            uint64_t& word = seen[c >> 6];
            const uint64_t bit = uint64_t(1) << (c & 63);
            if (!(word & bit)) {
                word |= bit;
                ++count;
            }
        }
    }
    return count;
}

QImage Raster::toImage() const
{
    if (isNull())
        return QImage();
    if (bits_ > 8) {
        QImage out;
        if (bits_ == 16)
            out = image_.convertToFormat(QImage::Format_RGB555);
        else if (bits_ == 24)
            out = image_.convertToFormat(QImage::Format_RGB888);
        else
            out = image_;
        out.setDotsPerMeterX(qRound(xRes_ / 0.0254));
        out.setDotsPerMeterY(qRound(yRes_ / 0.0254));
        return out;
    }
    const QVector<QRgb> palette = palette_.isEmpty() ? defaultPalette(bits_) : palette_;
    QImage out(width(), height(), bits_ == 1 ? QImage::Format_Mono : QImage::Format_Indexed8);
    if (out.isNull())
        throw ImagingError(kErrNoMemory);
    out.setColorTable(palette);
    QHash<QRgb, int> cache;
    for (int i = 0; i < palette.size(); ++i)
        cache.insert(palette[i] | 0xff000000u, i);
    for (int y = 0; y < height(); ++y) {
        const uint32_t* line = constScanLine(y);
        uchar* dst = out.scanLine(y);
        for (int x = 0; x < width(); ++x) {
            const QRgb c = line[x] | 0xff000000u;
            auto it = cache.find(c);
            if (it == cache.end())
                it = cache.insert(c, nearestIndex(palette, c));
            if (bits_ == 1)
                out.setPixel(x, y, uint(*it));
            else
                dst[x] = uchar(*it);
        }
    }
    out.setDotsPerMeterX(qRound(xRes_ / 0.0254));
    out.setDotsPerMeterY(qRound(yRes_ / 0.0254));
    return out;
}

void Raster::fill(QRgb colour)
{
    if (isNull())
        throw ImagingError(kErrBadHandle);
    const uint32_t c = colour | 0xff000000u;
    if (!hasRegion()) {
        image_.fill(c);
        return;
    }
    for (const QRect& r : region_.spans().intersected(rect())) {
        for (int y = r.top(); y <= r.bottom(); ++y)
            std::fill_n(scanLine(y) + r.left(), r.width(), c);
    }
}

bool Raster::operator==(const Raster& o) const
{
    if (isNull() || o.isNull())
        return isNull() == o.isNull();
    if (size() != o.size() || bits_ != o.bits_)
        return false;
    for (int y = 0; y < height(); ++y) {
        const uint32_t* a = constScanLine(y);
        const uint32_t* b = o.constScanLine(y);
        for (int x = 0; x < width(); ++x) {
            if ((a[x] ^ b[x]) & 0xffffffu)
                return false;
        }
    }
    return true;
}

}  // namespace imaging
