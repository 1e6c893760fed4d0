// Picture files: reading BMP, PNG, JPEG, TIFF and GIF at their own depth, writing BMP, PNG
// and JPEG, and describing a file without decoding it.

#include "imaging/engine/codecs.h"
#include "imaging/engine/durablefile.h"
#include "imaging/engine/raster.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <cerrno>
#include <QSet>

#include <cstdio>  // jpeglib.h needs FILE
#include <jerror.h>
#include <jpeglib.h>
#include <tiffio.h>

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace imaging {

namespace {

// Format codes at the engine's interface.
enum Format : int {
    kFormatGif = 2,
    kFormatTiff = 3,
    kFormatBmp = 6,
    kFormatJpeg = 10,
    kFormatOs2Bmp = 14,
    kFormatJpeg411 = 21,
    kFormatJpeg422 = 23,
    kFormatPng = 75,
};

constexpr int kErrBadQuality = 20021;
constexpr bool kLittleEndian = Q_BYTE_ORDER == Q_LITTLE_ENDIAN;

// Qt's readers refuse images above this many megabytes; our own size check comes first,
// so this only has to leave room for the largest picture we accept.
constexpr int kReaderAllocationLimitMb = int((kMaxPixels * 4) >> 20) + 256;

// ---- byte helpers -------------------------------------------------------------------------

quint32 le16(const QByteArray& d, qsizetype at)
{
    return quint32(uchar(d[at])) | quint32(uchar(d[at + 1])) << 8;
}

quint32 le32(const QByteArray& d, qsizetype at)
{
    return le16(d, at) | le16(d, at + 2) << 16;
}

quint32 be16(const QByteArray& d, qsizetype at)
{
    return quint32(uchar(d[at])) << 8 | quint32(uchar(d[at + 1]));
}

quint32 be32(const QByteArray& d, qsizetype at)
{
    return be16(d, at) << 16 | be16(d, at + 2);
}

void putLe16(QByteArray& d, qsizetype at, quint32 v)
{
    d[at] = char(v & 0xff);
    d[at + 1] = char((v >> 8) & 0xff);
}

void putLe32(QByteArray& d, qsizetype at, quint32 v)
{
    putLe16(d, at, v & 0xffff);
    putLe16(d, at + 2, v >> 16);
}

int metresToDpi(qint64 perMetre)
{
    return perMetre > 0 ? int(std::clamp<qint64>(qRound64(perMetre * 0.0254), 1, 1000000)) : 0;
}

quint32 dpiToMetres(int dpi)
{
    return dpi > 0 ? quint32(qRound(dpi / 0.0254)) : 0;
}

// ---- probing: what a file holds, read from its headers -----------------------------------

struct Probe {
    FileInfo info;
    QByteArray qtFormat;      // the Qt reader that decodes it; empty for our own decoders
    QVector<QRgb> palette;    // the file's own palette, when it has one
    bool hasTransparent = false;
    QRgb transparent = 0;     // the colour a GIF's transparent index has in the file
    // Uncompressed 16-bit bitmaps, which we decode ourselves.
    qint64 pixelOffset = 0;
    bool topDown = false;
    quint32 masks[3] = {0x7c00, 0x03e0, 0x001f};
};

int nominalFromPaletteBits(int bits)
{
    return bits <= 1 ? 1 : bits <= 4 ? 4 : 8;
}

// -- BMP

// True when run-length data ends properly (end of bitmap, or every row finished).
bool rleComplete(const QByteArray& d, bool rle4, int height)
{
    const qsizetype n = d.size();
    qsizetype i = 0;
    int row = 0;
    while (i + 1 < n) {
        const int count = uchar(d[i]);
        const int code = uchar(d[i + 1]);
        i += 2;
        if (count > 0)
            continue;
        if (code == 0) {  // end of line
            if (++row >= height)
                return true;
        } else if (code == 1) {  // end of bitmap
            return true;
        } else if (code == 2) {  // move
            if (i + 2 > n)
                return false;
            row += uchar(d[i + 1]);
            i += 2;
            if (row >= height)
                return true;
        } else {  // literal pixels, padded to a 16-bit boundary
            qsizetype bytes = rle4 ? (code + 1) / 2 : code;
            bytes = (bytes + 1) & ~qsizetype(1);
            if (i + bytes > n)
                return false;
            i += bytes;
        }
    }
    return false;
}

int probeBmp(QFile& f, Probe& p)
{
    const qint64 fileSize = f.size();
    f.seek(0);
    const QByteArray h = f.read(14 + 124);
    if (h.size() < 18)
        return kErrRead;
    const quint32 offBits = le32(h, 10);
    const quint32 headerSize = le32(h, 14);
    qint64 width = 0;
    qint64 height = 0;
    int bits = 0;
    quint32 compression = 0;
    quint32 coloursUsed = 0;
    qint64 xPpm = 0;
    qint64 yPpm = 0;
    const bool os2 = headerSize == 12;
    if (os2) {
        if (h.size() < 26)
            return kErrRead;
        width = le16(h, 18);
        height = le16(h, 20);
        bits = int(le16(h, 24));
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108
               || headerSize == 124) {
        if (h.size() < 54)
            return kErrRead;
        width = qint32(le32(h, 18));
        height = qint32(le32(h, 22));
        bits = int(le16(h, 28));
        compression = le32(h, 30);
        xPpm = qint32(le32(h, 38));
        yPpm = qint32(le32(h, 42));
        coloursUsed = le32(h, 46);
    } else if (headerSize == 16 || headerSize == 64) {
        p.info.format = kFormatOs2Bmp;  // OS/2 2.x headers
        return kErrSubtype;
    } else {
        return kErrBadFormat;
    }
    p.topDown = height < 0;
    height = height < 0 ? -height : height;

    QString compressionText;
    switch (compression) {
    case 0:
        if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
            return kErrSubtype;
        compressionText = QStringLiteral("Uncompressed");
        break;
    case 1:
        if (bits != 8)
            return kErrBadFormat;
        compressionText = QStringLiteral("RLE8");
        break;
    case 2:
        if (bits != 4)
            return kErrBadFormat;
        compressionText = QStringLiteral("RLE4");
        break;
    case 3:
        if (bits != 16 && bits != 32)
            return kErrBadFormat;
        compressionText = QStringLiteral("Bitfields");
        break;
    case 4:  // JPEG or PNG inside a bitmap
    case 5:
    case 6:  // bit fields with alpha
        return kErrSubtype;
    default:
        return kErrUnknownCompression;
    }
    if (checkSize(width, height) != kOk)
        return kErrBadSize;

    const qint64 paletteStart = 14 + qint64(headerSize) + (headerSize == 40 && compression == 3 ? 12 : 0);
    const int entryBytes = os2 ? 3 : 4;
    qint64 paletteCount = 0;
    if (bits <= 8) {
        paletteCount = coloursUsed ? coloursUsed : (1u << bits);
        if (paletteCount > 256)
            return kErrBadFormat;
    }
    if (paletteStart + paletteCount * entryBytes > fileSize)
        return kErrRead;
    if (paletteCount > 0) {
        f.seek(paletteStart);
        const QByteArray pal = f.read(paletteCount * entryBytes);
        if (pal.size() != paletteCount * entryBytes)
            return kErrRead;
        for (int i = 0; i < paletteCount && i < (1 << bits); ++i) {
            const qsizetype at = qsizetype(i) * entryBytes;
            p.palette.append(qRgb(uchar(pal[at + 2]), uchar(pal[at + 1]), uchar(pal[at])));
        }
    }
    const qint64 pixelStart = offBits >= paletteStart ? qint64(offBits)
                                                      : paletteStart + paletteCount * entryBytes;
    if (compression == 3 && bits == 16) {
        f.seek(54);
        const QByteArray m = f.read(12);
        if (m.size() != 12)
            return kErrRead;
        for (int i = 0; i < 3; ++i)
            p.masks[i] = le32(m, 4 * i);
    }
    p.pixelOffset = pixelStart;
    if (compression == 0 || compression == 3) {
        const qint64 stride = ((width * bits + 31) / 32) * 4;
        if (pixelStart + stride * height > fileSize)
            return kErrRead;
    } else {
        if (pixelStart >= fileSize || !f.seek(pixelStart))
            return kErrRead;
        if (!rleComplete(f.read(fileSize - pixelStart), compression == 2, int(height)))
            return kErrRead;
    }

    p.info.format = os2 ? kFormatOs2Bmp : kFormatBmp;
    p.info.width = int(width);
    p.info.height = int(height);
    p.info.bits = bits;
    p.info.compression = compressionText;
    p.info.xRes = metresToDpi(xPpm);
    p.info.yRes = metresToDpi(yPpm);
    p.qtFormat = "bmp";
    return kOk;
}

// -- PNG

int probePng(QFile& f, Probe& p)
{
    const qint64 fileSize = f.size();
    // Walk the chunks to the end: a file cut anywhere is refused here, before decoding.
    qint64 pos = 8;
    bool first = true;
    bool haveData = false;
    for (;;) {
        if (!f.seek(pos))
            return kErrRead;
        const QByteArray c = f.read(8);
        if (c.size() < 8)
            return kErrRead;
        const quint32 length = be32(c, 0);
        const QByteArray type = c.mid(4, 4);
        if (first && type != "IHDR")
            return kErrBadFormat;
        first = false;
        if (length > 0x7fffffffu || pos + 12 + qint64(length) > fileSize)
            return kErrRead;
        if (type == "IDAT")
            haveData = true;
        if (type == "IEND")
            break;
        pos += 12 + qint64(length);
    }
    if (!haveData)
        return kErrRead;

    f.seek(0);
    PngInfo png;
    const int code = readPngInfo(f, png);
    if (code != kOk)
        return code;
    if (checkSize(png.width, png.height) != kOk)
        return kErrBadSize;
    p.info.format = kFormatPng;
    p.info.width = png.width;
    p.info.height = png.height;
    p.info.bits = png.bits;
    p.info.compression = png.interlaced ? QStringLiteral("Deflate, interlaced")
                                        : QStringLiteral("Deflate");
    p.info.xRes = png.xRes;
    p.info.yRes = png.yRes;
    return kOk;
}

// -- JPEG

bool isStartOfFrame(int marker)
{
    return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
}

// True when an end-of-image marker follows `from`. Inside the coded data a 0xff byte is
// always followed by 0 or a restart marker, so 0xff 0xd9 can only be the real end.
bool jpegHasEnd(QFile& f, qint64 from)
{
    const qint64 size = f.size();
    if (size >= 2 && f.seek(size - 2)) {
        const QByteArray tail = f.read(2);
        if (tail.size() == 2 && uchar(tail[0]) == 0xff && uchar(tail[1]) == 0xd9)
            return true;
    }
    // Data after the end marker: search for it.
    constexpr qint64 kChunk = 1 << 16;
    bool lastWasFf = false;
    for (qint64 pos = from; pos < size; pos += kChunk) {
        if (!f.seek(pos))
            return false;
        const QByteArray d = f.read(kChunk);
        if (d.isEmpty())
            return false;
        const char* data = d.constData();
        if (lastWasFf && uchar(data[0]) == 0xd9)
            return true;
        for (qsizetype i = 0; i + 1 < d.size(); ++i) {
            const void* hit = std::memchr(data + i, 0xff, size_t(d.size() - 1 - i));
            if (!hit)
                break;
            i = static_cast<const char*>(hit) - data;
            if (uchar(data[i + 1]) == 0xd9)
                return true;
        }
        lastWasFf = uchar(data[d.size() - 1]) == 0xff;
    }
    return false;
}

int probeJpeg(QFile& f, Probe& p)
{
    const qint64 fileSize = f.size();
    qint64 pos = 2;
    int frameMarker = -1;
    QByteArray frame;
    int densityUnit = 0;
    int xDensity = 0;
    int yDensity = 0;
    for (;;) {
        if (!f.seek(pos))
            return kErrRead;
        const QByteArray m = f.read(4);
        if (m.size() < 2 || uchar(m[0]) != 0xff)
            return kErrRead;
        const int marker = uchar(m[1]);
        if (marker == 0xff) {  // fill byte
            pos += 1;
            continue;
        }
        if (marker == 0xd8 || marker == 0x01 || (marker >= 0xd0 && marker <= 0xd7)) {
            pos += 2;
            continue;
        }
        if (marker == 0xd9 || m.size() < 4)
            return kErrRead;
        const qint64 length = be16(m, 2);
        if (length < 2 || pos + 2 + length > fileSize)
            return kErrRead;
        if (marker == 0xda)
            break;
        if (isStartOfFrame(marker) && frameMarker < 0) {
            frame = f.read(length - 2);
            if (frame.size() < 6)
                return kErrBadFormat;
            frameMarker = marker;
        } else if (marker == 0xe0 && length >= 16) {
            const QByteArray app = f.read(12);
            if (app.size() == 12 && app.startsWith(QByteArray("JFIF\0", 5))) {
                densityUnit = uchar(app[7]);
                xDensity = int(be16(app, 8));
                yDensity = int(be16(app, 10));
            }
        }
        pos += 2 + length;
    }
    if (frameMarker < 0)
        return kErrBadFormat;
    const int precision = uchar(frame[0]);
    const int height = int(be16(frame, 1));
    const int width = int(be16(frame, 3));
    const int components = uchar(frame[5]);
    // Lossless and 12-bit files are JPEG variants libjpeg builds here do not read.
    const bool lossless = frameMarker == 0xc3 || frameMarker == 0xc7 || frameMarker == 0xcb
                          || frameMarker == 0xcf;
    if (lossless || precision != 8 || (components != 1 && components != 3 && components != 4))
        return kErrSubtype;
    if (frame.size() < 6 + 3 * components)
        return kErrBadFormat;
    if (checkSize(width, height) != kOk)
        return kErrBadSize;
    if (!jpegHasEnd(f, pos))
        return kErrRead;

    QString sampling;
    if (components >= 3) {
        const int h0 = uchar(frame[7]) >> 4;
        const int v0 = uchar(frame[7]) & 15;
        const int h1 = std::max(1, uchar(frame[10]) >> 4);
        const int v1 = std::max(1, uchar(frame[10]) & 15);
        const int rh = h0 / h1;
        const int rv = v0 / v1;
        sampling = rh == 1 && rv == 1   ? QStringLiteral(" 4:4:4")
                   : rh == 2 && rv == 1 ? QStringLiteral(" 4:2:2")
                   : rh == 2 && rv == 2 ? QStringLiteral(" 4:2:0")
                   : rh == 4 && rv == 1 ? QStringLiteral(" 4:1:1")
                                        : QStringLiteral(" %1x%2").arg(rh).arg(rv);
    }
    const bool progressive = frameMarker == 0xc2 || frameMarker == 0xc6 || frameMarker == 0xca
                             || frameMarker == 0xce;
    p.info.format = kFormatJpeg;
    p.info.width = width;
    p.info.height = height;
    p.info.bits = components == 1 ? 8 : 24;
    p.info.compression = (progressive ? QStringLiteral("Progressive JPEG") : QStringLiteral("JPEG"))
                         + sampling;
    if (densityUnit == 1) {
        p.info.xRes = xDensity;
        p.info.yRes = yDensity;
    } else if (densityUnit == 2) {
        p.info.xRes = qRound(xDensity * 2.54);
        p.info.yRes = qRound(yDensity * 2.54);
    }
    return kOk;
}

// -- GIF

int probeGif(QFile& f, int page, Probe& p)
{
    f.seek(0);
    const QByteArray d = f.readAll();
    const qsizetype n = d.size();
    if (n < 13)
        return kErrRead;
    int width = int(le16(d, 6));
    int height = int(le16(d, 8));
    const int screenFlags = uchar(d[10]);
    qsizetype pos = 13;
    int tableBits = 0;
    if (screenFlags & 0x80) {
        tableBits = (screenFlags & 7) + 1;
        const int entries = 1 << tableBits;
        if (pos + 3 * entries > n)
            return kErrRead;
        for (int i = 0; i < entries; ++i)
            p.palette.append(qRgb(uchar(d[pos + 3 * i]), uchar(d[pos + 3 * i + 1]),
                                  uchar(d[pos + 3 * i + 2])));
        pos += 3 * entries;
    }
    // Skips a chain of data sub-blocks; false when the file ends inside it.
    auto skipBlocks = [&]() {
        for (;;) {
            if (pos >= n)
                return false;
            const int length = uchar(d[pos++]);
            if (length == 0)
                return true;
            pos += length;
            if (pos > n)
                return false;
        }
    };
    int frames = 0;
    int transparentIndex = -1;  // from the control block before the next image
    bool cut = false;
    int frameWidth = 0;
    int frameHeight = 0;
    for (bool done = false; !done;) {
        if (pos >= n) {
            cut = true;
            break;
        }
        switch (uchar(d[pos++])) {
        case 0x3b:  // trailer
            done = true;
            break;
        case 0x21:  // extension
            if (pos + 6 <= n && uchar(d[pos]) == 0xf9 && uchar(d[pos + 1]) == 4)
                transparentIndex = (uchar(d[pos + 2]) & 1) ? uchar(d[pos + 5]) : -1;
            if (++pos > n || !skipBlocks())
                cut = done = true;
            break;
        case 0x2c: {  // image
            if (pos + 9 > n) {
                cut = done = true;
                break;
            }
            const int flags = uchar(d[pos + 8]);
            if (frames == 0) {
                frameWidth = int(le16(d, pos)) + int(le16(d, pos + 4));
                frameHeight = int(le16(d, pos + 2)) + int(le16(d, pos + 6));
                if (tableBits == 0 && (flags & 0x80))
                    tableBits = (flags & 7) + 1;
            }
            pos += 9;
            const qsizetype localEntries = (flags & 0x80) ? qsizetype(1) << ((flags & 7) + 1) : 0;
            // Transparent pixels keep the colour of their index, as far as the page asked for.
            if (transparentIndex >= 0 && frames < page) {
                if (transparentIndex < localEntries && pos + 3 * localEntries <= n) {
                    const qsizetype at = pos + 3 * transparentIndex;
                    p.transparent = qRgb(uchar(d[at]), uchar(d[at + 1]), uchar(d[at + 2]));
                    p.hasTransparent = true;
                } else if (localEntries == 0 && transparentIndex < p.palette.size()) {
                    p.transparent = p.palette[transparentIndex];
                    p.hasTransparent = true;
                }
            }
            transparentIndex = -1;
            pos += 3 * localEntries;
            if (++pos > n || !skipBlocks()) {  // code size, then the picture data
                cut = done = true;
                break;
            }
            ++frames;
            break;
        }
        default:  // not a block: the rest is damaged
            cut = done = true;
            break;
        }
    }
    if (frames == 0 || (cut && page == frames + 1))
        return kErrRead;
    if (page > frames)
        return kErrBadParam;
    if (width == 0 || height == 0) {
        width = frameWidth;
        height = frameHeight;
    }
    if (checkSize(width, height) != kOk)
        return kErrBadSize;
    p.info.format = kFormatGif;
    p.info.width = width;
    p.info.height = height;
    p.info.bits = nominalFromPaletteBits(std::max(tableBits, 1));
    p.info.pageCount = frames;
    p.info.compression = QStringLiteral("LZW");
    p.qtFormat = "gif";
    return kOk;
}

// -- TIFF

int tiffQuiet(TIFF*, void*, const char*, const char*, va_list)
{
    return 1;  // handled: nothing reaches the process-wide handlers
}

QString tiffCompressionText(int compression)
{
    switch (compression) {
    case COMPRESSION_NONE:
        return QStringLiteral("Uncompressed");
    case COMPRESSION_CCITTRLE:
        return QStringLiteral("CCITT RLE");
    case COMPRESSION_CCITTFAX3:
        return QStringLiteral("CCITT Group 3");
    case COMPRESSION_CCITTFAX4:
        return QStringLiteral("CCITT Group 4");
    case COMPRESSION_LZW:
        return QStringLiteral("LZW");
    case COMPRESSION_OJPEG:
    case COMPRESSION_JPEG:
        return QStringLiteral("JPEG");
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE:
        return QStringLiteral("Deflate");
    case COMPRESSION_PACKBITS:
        return QStringLiteral("PackBits");
    default:
        return QStringLiteral("Compression %1").arg(compression);
    }
}

struct TiffGuard {
    TIFF* tif = nullptr;
    TIFFOpenOptions* options = nullptr;
    ~TiffGuard()
    {
        if (tif)
            TIFFClose(tif);
        if (options)
            TIFFOpenOptionsFree(options);
    }
};

int probeTiff(const QString& path, qint64 fileSize, int page, Probe& p)
{
    TiffGuard g;
    g.options = TIFFOpenOptionsAlloc();
    if (!g.options)
        return kErrNoMemory;
    TIFFOpenOptionsSetErrorHandlerExtR(g.options, tiffQuiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(g.options, tiffQuiet, nullptr);
    TIFFOpenOptionsSetMaxSingleMemAlloc(g.options, tmsize_t(256) << 20);
    // "m": no memory mapping, so that a file shrinking underneath cannot fault.
    g.tif = TIFFOpenExt(QFile::encodeName(path).constData(), "rm", g.options);
    if (!g.tif)
        return kErrRead;
    const int pages = TIFFNumberOfDirectories(g.tif);
    if (pages <= 0)
        return kErrRead;
    if (page > pages)
        return kErrBadParam;
    if (!TIFFSetDirectory(g.tif, tdir_t(page - 1)))
        return kErrRead;

    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t bitsPerSample = 1;
    uint16_t samples = 1;
    uint16_t photometric = PHOTOMETRIC_MINISWHITE;
    uint16_t compression = COMPRESSION_NONE;
    uint16_t extraCount = 0;
    uint16_t* extra = nullptr;
    TIFFGetField(g.tif, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(g.tif, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(g.tif, TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
    TIFFGetFieldDefaulted(g.tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(g.tif, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(g.tif, TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(g.tif, TIFFTAG_EXTRASAMPLES, &extraCount, &extra);
    if (checkSize(width, height) != kOk)
        return kErrBadSize;
    if (!TIFFIsCODECConfigured(compression))
        return kErrUnknownCompression;

    // Every strip or tile must lie inside the file: a cut file is refused here.
    const uint32_t striles = TIFFIsTiled(g.tif) ? TIFFNumberOfTiles(g.tif) : TIFFNumberOfStrips(g.tif);
    if (striles == 0)
        return kErrRead;
    for (uint32_t i = 0; i < striles; ++i) {
        const uint64_t offset = TIFFGetStrileOffset(g.tif, i);
        const uint64_t count = TIFFGetStrileByteCount(g.tif, i);
        if (count == 0 || offset > uint64_t(fileSize) || count > uint64_t(fileSize) - offset)
            return kErrRead;
    }

    const int colourSamples = samples - extraCount;
    const bool alpha = extraCount > 0;
    int bits = 24;
    if (photometric == PHOTOMETRIC_PALETTE) {
        bits = bitsPerSample <= 8 ? nominalFromPaletteBits(bitsPerSample) : 24;
        uint16_t* red = nullptr;
        uint16_t* green = nullptr;
        uint16_t* blue = nullptr;
        if (bitsPerSample <= 8 && TIFFGetField(g.tif, TIFFTAG_COLORMAP, &red, &green, &blue)) {
            for (int i = 0; i < (1 << bitsPerSample); ++i)
                p.palette.append(qRgb(red[i] >> 8, green[i] >> 8, blue[i] >> 8));
        }
    } else if ((photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE)
               && colourSamples <= 1) {
        if (alpha) {
            bits = 32;
        } else {
            bits = bitsPerSample <= 8 ? nominalFromPaletteBits(bitsPerSample) : 8;
            const int entries = 1 << std::min<int>(bitsPerSample, 8);
            for (int i = 0; i < entries; ++i) {
                int v = entries > 1 ? i * 255 / (entries - 1) : 0;
                if (photometric == PHOTOMETRIC_MINISWHITE)
                    v = 255 - v;
                p.palette.append(qRgb(v, v, v));
            }
        }
    } else {
        bits = alpha ? 32 : 24;
    }

    float xRes = 0;
    float yRes = 0;
    uint16_t unit = RESUNIT_INCH;
    TIFFGetFieldDefaulted(g.tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    if (TIFFGetField(g.tif, TIFFTAG_XRESOLUTION, &xRes) && TIFFGetField(g.tif, TIFFTAG_YRESOLUTION, &yRes)
        && xRes > 0 && yRes > 0 && xRes < 1e6f && yRes < 1e6f && unit != RESUNIT_NONE) {
        const double factor = unit == RESUNIT_CENTIMETER ? 2.54 : 1.0;
        p.info.xRes = std::max(1, int(std::lround(xRes * factor)));
        p.info.yRes = std::max(1, int(std::lround(yRes * factor)));
    }

    p.info.format = kFormatTiff;
    p.info.width = int(width);
    p.info.height = int(height);
    p.info.bits = bits;
    p.info.pageCount = pages;
    p.info.compression = tiffCompressionText(compression);
    p.qtFormat = "tiff";
    return kOk;
}

// -- any file

// Opens `path` and reads what its headers say about `page`; the file stays open for decoding.
int probeFile(const QString& path, int page, QFile& f, Probe& p)
{
    if (path.isEmpty())
        return kErrBadFileName;
    const QFileInfo fi(path);
    if (!fi.exists())
        return kErrFileNotFound;
    // Directories, pipes and devices: opening a pipe could block for ever.
    if (!fi.isFile())
        return kErrOpen;
    f.setFileName(path);
    if (!f.open(QIODevice::ReadOnly))
        return kErrOpen;

    const QByteArray head = f.read(8);
    p.info.page = page;
    p.info.pageCount = 1;
    p.info.sizeDisk = f.size();
    int code = kErrBadFormat;
    if (head.startsWith("BM"))
        code = probeBmp(f, p);
    else if (head.startsWith("\x89PNG\r\n\x1a\n"))
        code = probePng(f, p);
    else if (head.startsWith("\xff\xd8\xff"))
        code = probeJpeg(f, p);
    else if (head.startsWith("GIF87a") || head.startsWith("GIF89a"))
        code = probeGif(f, page, p);
    else if (head.startsWith(QByteArray("II*\0", 4)) || head.startsWith(QByteArray("MM\0*", 4)))
        code = probeTiff(path, f.size(), page, p);
    if (code != kOk)
        return code;
    // Single-picture formats have one page only.
    if (page > p.info.pageCount)
        return kErrBadParam;
    if (p.info.xRes <= 0 || p.info.yRes <= 0)
        p.info.xRes = p.info.yRes = 96;
    p.info.sizeMem = qint64(p.info.width) * p.info.height * 4;
    return kOk;
}

// ---- decoding -----------------------------------------------------------------------------

// Uses the file's own palette (same order as in the file) when every pixel belongs to it.
void applyFilePalette(Raster& r, const QVector<QRgb>& palette)
{
    if (r.bits() > 8 || palette.isEmpty() || palette.size() > (1 << r.bits())
        || r.palette() == palette)
        return;
    QSet<QRgb> colours;
    for (QRgb c : palette)
        colours.insert(c | 0xff000000u);
    QRgb last = 0;
    bool haveLast = false;
    for (int y = 0; y < r.height(); ++y) {
        const uint32_t* line = r.constScanLine(y);
        for (int x = 0; x < r.width(); ++x) {
            const QRgb c = line[x] | 0xff000000u;
            if (haveLast && c == last)
                continue;
            if (!colours.contains(c))
                return;
            last = c;
            haveLast = true;
        }
    }
    r.setPalette(palette);
}

int readerCode(QImageReader::ImageReaderError error)
{
    switch (error) {
    case QImageReader::FileNotFoundError:
        return kErrFileNotFound;
    case QImageReader::UnsupportedFormatError:
        return kErrBadFormat;
    default:
        return kErrRead;
    }
}

// One channel of a 16-bit pixel scaled to 0..255 (Qt's reader leaves 5-bit white at 248).
struct Channel {
    quint32 mask;
    int shift;
    quint32 max;
    explicit Channel(quint32 m) : mask(m), shift(m ? std::countr_zero(m) : 0), max(m ? m >> shift : 0) {}
    int operator()(quint32 pixel) const
    {
        return max ? int((quint64((pixel & mask) >> shift) * 255 + max / 2) / max) : 0;
    }
};

int decodeBmp16(QFile& f, const Probe& p, Raster& out)
{
    const int w = p.info.width;
    const int h = p.info.height;
    const qint64 stride = ((qint64(w) * 16 + 31) / 32) * 4;
    const Channel red(p.masks[0]);
    const Channel green(p.masks[1]);
    const Channel blue(p.masks[2]);
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull())
        return kErrNoMemory;
    if (!f.seek(p.pixelOffset))
        return kErrRead;
    QByteArray row;
    for (int i = 0; i < h; ++i) {
        row = f.read(stride);
        if (row.size() != stride)
            return kErrRead;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(p.topDown ? i : h - 1 - i));
        for (int x = 0; x < w; ++x) {
            const quint32 v = le16(row, 2 * x);
            line[x] = qRgb(red(v), green(v), blue(v));
        }
    }
    out = Raster::fromImage(image, 16);
    return kOk;
}

int decodeWithQt(QFile& f, const Probe& p, int page, Raster& out)
{
    f.seek(0);
    QImageReader::setAllocationLimit(kReaderAllocationLimitMb);
    QImageReader reader(&f, p.qtFormat);
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(false);
    if (page > 1 && !reader.jumpToImage(page - 1)) {
        for (int i = 1; i < page; ++i) {
            if (reader.read().isNull())
                return readerCode(reader.error());
        }
    }
    QImage image = reader.read();
    if (image.isNull())
        return readerCode(reader.error());
    if (checkSize(image.width(), image.height()) != kOk)
        return kErrBadSize;

    if (image.format() == QImage::Format_Grayscale16)
        image = image.convertToFormat(QImage::Format_Grayscale8);
    if (image.format() == QImage::Format_Grayscale8) {
        // Grey pictures are 8-bit pictures with a grey palette.
        QVector<QRgb> ramp;
        for (int i = 0; i < 256; ++i)
            ramp.append(qRgb(i, i, i));
        image.reinterpretAsFormat(QImage::Format_Indexed8);
        image.setColorTable(ramp);
    } else if (image.hasAlphaChannel() && p.hasTransparent) {
        image = image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if (qAlpha(line[x]) == 0)
                    line[x] = p.transparent;
            }
        }
    }
    Raster r = Raster::fromImage(image, p.info.bits);
    applyFilePalette(r, p.palette);
    out = r;
    return kOk;
}

// -- JPEG through libjpeg: it reports cut files, which Qt's reader does not.
//
// libjpeg reports errors by longjmp. The functions that call setjmp keep only plain data
// in their frames, so that the jump never skips a destructor.

struct JpegErrors {
    jpeg_error_mgr mgr;  // first: libjpeg hands back a pointer to it
    std::jmp_buf jump;
    bool damaged;
};

void jpegErrorExit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
}

void jpegMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return;
    const int code = cinfo->err->msg_code;
    if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)
        reinterpret_cast<JpegErrors*>(cinfo->err)->damaged = true;
}

struct JpegSource {
    jpeg_source_mgr mgr;  // first: libjpeg hands back a pointer to it
    QIODevice* device;
    JOCTET* buffer;
    size_t capacity;
};

void jpegInitSource(j_decompress_ptr) {}

boolean jpegFillInput(j_decompress_ptr cinfo)
{
    auto* s = reinterpret_cast<JpegSource*>(cinfo->src);
    qint64 n = s->device->read(reinterpret_cast<char*>(s->buffer), qint64(s->capacity));
    if (n <= 0) {
        WARNMS(cinfo, JWRN_JPEG_EOF);
        s->buffer[0] = 0xff;
        s->buffer[1] = JPEG_EOI;
        n = 2;
    }
    s->mgr.next_input_byte = s->buffer;
    s->mgr.bytes_in_buffer = size_t(n);
    return TRUE;
}

void jpegSkipInput(j_decompress_ptr cinfo, long count)
{
    auto* s = reinterpret_cast<JpegSource*>(cinfo->src);
    while (count > long(s->mgr.bytes_in_buffer)) {
        count -= long(s->mgr.bytes_in_buffer);
        jpegFillInput(cinfo);
    }
    if (count > 0) {
        s->mgr.next_input_byte += count;
        s->mgr.bytes_in_buffer -= size_t(count);
    }
}

void jpegTermSource(j_decompress_ptr) {}

struct JpegDecoder {
    jpeg_decompress_struct cinfo;
    JpegErrors errors;
    JpegSource source;
};

bool jpegReadHeader(JpegDecoder& d)
{
    if (setjmp(d.errors.jump))
        return false;
    jpeg_create_decompress(&d.cinfo);
    d.cinfo.src = &d.source.mgr;
    jpeg_read_header(&d.cinfo, TRUE);
    return true;
}

bool jpegReadRows(JpegDecoder& d, J_COLOR_SPACE space, JSAMPARRAY rows)
{
    if (setjmp(d.errors.jump))
        return false;
    d.cinfo.out_color_space = space;
    jpeg_start_decompress(&d.cinfo);
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        if (jpeg_read_scanlines(&d.cinfo, rows + d.cinfo.output_scanline,
                                d.cinfo.output_height - d.cinfo.output_scanline) == 0)
            return false;
    }
    jpeg_finish_decompress(&d.cinfo);
    return true;
}

struct JpegDecoderGuard {
    JpegDecoder* d;
    ~JpegDecoderGuard() { jpeg_destroy_decompress(&d->cinfo); }
};

int decodeJpeg(QFile& f, const Probe& p, Raster& out)
{
    f.seek(0);
    std::vector<JOCTET> buffer(1 << 16);
    auto d = std::make_unique<JpegDecoder>();
    std::memset(d.get(), 0, sizeof(JpegDecoder));
    d->cinfo.err = jpeg_std_error(&d->errors.mgr);
    d->errors.mgr.error_exit = jpegErrorExit;
    d->errors.mgr.emit_message = jpegMessage;
    d->source.mgr.init_source = jpegInitSource;
    d->source.mgr.fill_input_buffer = jpegFillInput;
    d->source.mgr.skip_input_data = jpegSkipInput;
    d->source.mgr.resync_to_restart = jpeg_resync_to_restart;
    d->source.mgr.term_source = jpegTermSource;
    d->source.device = &f;
    d->source.buffer = buffer.data();
    d->source.capacity = buffer.size();
    JpegDecoderGuard guard{d.get()};
    if (!jpegReadHeader(*d) || d->errors.damaged)
        return kErrRead;
    const int width = int(d->cinfo.image_width);
    const int height = int(d->cinfo.image_height);
    if (checkSize(width, height) != kOk)
        return kErrBadSize;
    const int components = d->cinfo.num_components;
    const bool grey = components == 1;
    const bool cmyk = components == 4;
    QImage image(width, height, grey ? QImage::Format_Indexed8 : QImage::Format_RGB32);
    if (image.isNull())
        return kErrNoMemory;
    std::vector<JSAMPROW> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[size_t(y)] = image.scanLine(y);
    const J_COLOR_SPACE space = grey ? JCS_GRAYSCALE
                                : cmyk ? JCS_CMYK
                                : kLittleEndian ? JCS_EXT_BGRA : JCS_EXT_ARGB;
    const bool inverted = d->cinfo.saw_Adobe_marker;
    if (!jpegReadRows(*d, space, rows.data()) || d->errors.damaged)
        return kErrRead;

    if (grey) {
        QVector<QRgb> ramp;
        for (int i = 0; i < 256; ++i)
            ramp.append(qRgb(i, i, i));
        image.setColorTable(ramp);
    } else if (cmyk) {
        // Adobe's files store the inks inverted.
        for (int y = 0; y < height; ++y) {
            uchar* s = image.scanLine(y);
            auto* line = reinterpret_cast<uint32_t*>(s);
            for (int x = 0; x < width; ++x) {
                int c = s[4 * x];
                int m = s[4 * x + 1];
                int yy = s[4 * x + 2];
                int k = s[4 * x + 3];
                if (!inverted) {
                    c = 255 - c;
                    m = 255 - m;
                    yy = 255 - yy;
                    k = 255 - k;
                }
                line[x] = qRgb(c * k / 255, m * k / 255, yy * k / 255);
            }
        }
    }
    Raster r = Raster::fromImage(image, p.info.bits);
    out = r;
    return kOk;
}

// ---- encoding -----------------------------------------------------------------------------

int writeBmp(const Raster& r, int bits, bool os2, QByteArray& out)
{
    if (os2 && (bits == 16 || bits == 32))
        return kErrBadBits;
    const int w = r.width();
    const int h = r.height();
    QImage indices;
    QVector<QRgb> palette;
    if (bits <= 8) {
        indices = indexedPixels(r, bits);
        if (indices.isNull())
            return kErrNoMemory;
        palette = indices.colorTable();
        if (os2)  // the old header has no colour count: the table is always full
            palette.resize(1 << bits, qRgb(0, 0, 0));
    }
    const qint64 stride = ((qint64(w) * bits + 31) / 32) * 4;
    const qint64 headerSize = os2 ? 12 : 40;
    const qint64 entryBytes = os2 ? 3 : 4;
    const qint64 offBits = 14 + headerSize + palette.size() * entryBytes;
    const qint64 total = offBits + stride * h;
    if (total > 0x7fffffff)
        return kErrBadSize;
    QByteArray d(qsizetype(total), '\0');
    d[0] = 'B';
    d[1] = 'M';
    putLe32(d, 2, quint32(total));
    putLe32(d, 10, quint32(offBits));
    putLe32(d, 14, quint32(headerSize));
    if (os2) {
        putLe16(d, 18, quint32(w));
        putLe16(d, 20, quint32(h));
        putLe16(d, 22, 1);
        putLe16(d, 24, quint32(bits));
    } else {
        putLe32(d, 18, quint32(w));
        putLe32(d, 22, quint32(h));  // positive: rows bottom-up
        putLe16(d, 26, 1);
        putLe16(d, 28, quint32(bits));
        putLe32(d, 30, 0);  // no compression
        putLe32(d, 34, quint32(stride * h));
        putLe32(d, 38, dpiToMetres(r.xRes()));
        putLe32(d, 42, dpiToMetres(r.yRes()));
        putLe32(d, 46, quint32(palette.size()));
        putLe32(d, 50, 0);
    }
    qsizetype at = 14 + headerSize;
    for (QRgb c : palette) {
        d[at] = char(qBlue(c));
        d[at + 1] = char(qGreen(c));
        d[at + 2] = char(qRed(c));
        at += entryBytes;  // the fourth byte stays 0
    }
    char* pixels = d.data() + offBits;
    for (int y = 0; y < h; ++y) {
        auto* dst = reinterpret_cast<uchar*>(pixels + stride * (h - 1 - y));
        if (bits <= 8) {
            const uchar* src = indices.constScanLine(y);
            if (bits == 8) {
                std::memcpy(dst, src, size_t(w));
            } else if (bits == 4) {
                for (int x = 0; x < w; ++x)
                    dst[x / 2] |= uchar((src[x] & 15) << (x % 2 ? 0 : 4));
            } else {
                for (int x = 0; x < w; ++x)
                    dst[x / 8] |= uchar((src[x] & 1) << (7 - x % 8));
            }
            continue;
        }
        const uint32_t* src = r.constScanLine(y);
        for (int x = 0; x < w; ++x) {
            const uint32_t c = src[x];
            if (bits == 16) {
                const quint32 v = (qRed(c) >> 3) << 10 | (qGreen(c) >> 3) << 5 | (qBlue(c) >> 3);
                dst[2 * x] = uchar(v);
                dst[2 * x + 1] = uchar(v >> 8);
            } else {
                uchar* px = dst + x * (bits / 8);
                px[0] = uchar(qBlue(c));
                px[1] = uchar(qGreen(c));
                px[2] = uchar(qRed(c));
            }
        }
    }
    out = d;
    return kOk;
}

struct JpegEncoder {
    jpeg_compress_struct cinfo;
    JpegErrors errors;
    unsigned char* buffer;
    unsigned long size;
};

struct JpegJob {
    int width;
    int height;
    bool grey;
    int quality;    // libjpeg's 1..100
    int hSampling;  // of the brightness, against 1 for the colour
    int xDpi;
    int yDpi;
    JSAMPARRAY rows;
};

bool jpegWriteAll(JpegEncoder& e, const JpegJob& s)
{
    if (setjmp(e.errors.jump))
        return false;
    jpeg_create_compress(&e.cinfo);
    jpeg_mem_dest(&e.cinfo, &e.buffer, &e.size);
    e.cinfo.image_width = JDIMENSION(s.width);
    e.cinfo.image_height = JDIMENSION(s.height);
    e.cinfo.input_components = s.grey ? 1 : 4;
    e.cinfo.in_color_space = s.grey ? JCS_GRAYSCALE : kLittleEndian ? JCS_EXT_BGRX : JCS_EXT_XRGB;
    jpeg_set_defaults(&e.cinfo);
    jpeg_set_quality(&e.cinfo, s.quality, TRUE);
    if (!s.grey) {
        e.cinfo.comp_info[0].h_samp_factor = s.hSampling;
        e.cinfo.comp_info[0].v_samp_factor = 1;
        for (int i = 1; i < 3; ++i) {
            e.cinfo.comp_info[i].h_samp_factor = 1;
            e.cinfo.comp_info[i].v_samp_factor = 1;
        }
    }
    e.cinfo.write_JFIF_header = TRUE;
    e.cinfo.density_unit = 1;
    e.cinfo.X_density = UINT16(std::clamp(s.xDpi, 1, 65535));
    e.cinfo.Y_density = UINT16(std::clamp(s.yDpi, 1, 65535));
    jpeg_start_compress(&e.cinfo, TRUE);
    while (e.cinfo.next_scanline < e.cinfo.image_height)
        jpeg_write_scanlines(&e.cinfo, s.rows + e.cinfo.next_scanline,
                             e.cinfo.image_height - e.cinfo.next_scanline);
    jpeg_finish_compress(&e.cinfo);
    return true;
}

struct JpegEncoderGuard {
    JpegEncoder* e;
    ~JpegEncoderGuard()
    {
        jpeg_destroy_compress(&e->cinfo);
        std::free(e->buffer);
    }
};

bool isGreyPicture(const Raster& r)
{
    if (r.bits() > 8)
        return false;
    for (QRgb c : r.palette()) {
        if (qRed(c) != qGreen(c) || qGreen(c) != qBlue(c))
            return false;
    }
    return true;
}

// Quality factors run from 2 (finest) to 255 (smallest file); 0 takes the usual 20.
int writeJpeg(const Raster& r, int bits, int quality, int hSampling, QByteArray& out)
{
    if (quality == 0)
        quality = 20;
    if (quality < 2 || quality > 255)
        return kErrBadQuality;
    const bool grey = bits == 8;
    const int w = r.width();
    const int h = r.height();
    std::vector<uchar> greyPixels;
    std::vector<JSAMPROW> rows(static_cast<size_t>(h));
    if (grey) {
        greyPixels.resize(size_t(w) * size_t(h));
        for (int y = 0; y < h; ++y) {
            const uint32_t* src = r.constScanLine(y);
            uchar* dst = greyPixels.data() + size_t(y) * size_t(w);
            for (int x = 0; x < w; ++x)
                dst[x] = uchar(qGray(src[x]));
            rows[size_t(y)] = dst;
        }
    } else {
        // libjpeg only reads the rows it is given.
        for (int y = 0; y < h; ++y)
            rows[size_t(y)] = reinterpret_cast<JSAMPROW>(const_cast<uint32_t*>(r.constScanLine(y)));
    }
    JpegJob job{w, h, grey, std::clamp(100 - (quality - 2) * 99 / 253, 1, 100), hSampling,
                  r.xRes(), r.yRes(), rows.data()};
    auto e = std::make_unique<JpegEncoder>();
    std::memset(e.get(), 0, sizeof(JpegEncoder));
    e->cinfo.err = jpeg_std_error(&e->errors.mgr);
    e->errors.mgr.error_exit = jpegErrorExit;
    e->errors.mgr.emit_message = jpegMessage;
    JpegEncoderGuard guard{e.get()};
    if (!jpegWriteAll(*e, job))
        return kErrNoMemory;
    out = QByteArray(reinterpret_cast<const char*>(e->buffer), qsizetype(e->size));
    return kOk;
}

// The depth a format writes for a requested depth (0: the picture's own); 0 when the
// format cannot hold that depth.
int depthForFormat(int format, int bits, const Raster& r)
{
    switch (format) {
    case kFormatJpeg:
    case kFormatJpeg411:
    case kFormatJpeg422:
        if (bits == 0)
            return isGreyPicture(r) && r.bits() == 8 ? 8 : 24;
        return bits == 8 || bits == 24 ? bits : 0;
    case kFormatOs2Bmp:
        if (bits == 0)
            bits = r.bits() > 8 ? 24 : r.bits();
        return bits == 1 || bits == 4 || bits == 8 || bits == 24 ? bits : 0;
    default:
        if (bits == 0)
            bits = r.bits();
        return validBits(bits) ? bits : 0;
    }
}

// Replaces `path` with `data` in one step: the old file stays whole if anything fails.
int writeAtomically(const QString& path, const QByteArray& data)
{
    durable::StagedFile file;
    if (auto error = durable::StagedFile::stage(path, data, file))
        return error->code == EISDIR || error->code == EACCES || error->code == ENOENT
                || error->code == ENOTDIR || error->code == EROFS || error->code == EPERM
            ? kErrOpen
            : kErrWrite;
    return file.commit() ? kErrWrite : kOk;
}

}  // namespace

int Raster::load(const QString& file, int bits, int page, int pageCount)
{
    // One picture is held at a time: the page count of a multi-page read changes nothing.
    Q_UNUSED(pageCount);
    try {
        if (bits != 0 && !validBits(bits))
            return kErrBadBits;
        if (page < 0)
            return kErrBadParam;
        page = std::max(page, 1);
        QFile f;
        Probe p;
        int code = probeFile(file, page, f, p);
        if (code != kOk)
            return code;
        Raster r;
        if (p.info.format == kFormatPng) {
            f.seek(0);
            code = readPng(f, DecodeLimits(), r);
        } else if (p.info.format == kFormatJpeg) {
            code = decodeJpeg(f, p, r);
        } else if (p.qtFormat == "bmp" && p.info.bits == 16) {
            code = decodeBmp16(f, p, r);
        } else {
            code = decodeWithQt(f, p, page, r);
        }
        if (code != kOk)
            return code;
        if (bits != 0 && bits != r.bits())
            r.setBits(bits);
        r.setResolution(p.info.xRes, p.info.yRes);
        *this = r;
        return kOk;
    } catch (const ImagingError& e) {
        return e.code();
    } catch (const std::bad_alloc&) {
        return kErrNoMemory;
    } catch (...) {
        return kErrFailure;
    }
}

int Raster::save(const QString& file, int format, int bits, int quality, bool multipage) const
{
    // Multi-page files come with TIFF writing; BMP, PNG and JPEG hold one picture.
    Q_UNUSED(multipage);
    try {
        if (isNull())
            return kErrBadHandle;
        if (file.isEmpty())
            return kErrBadFileName;
        if (bits != 0 && !validBits(bits))
            return kErrBadBits;
        const int depth = depthForFormat(format, bits, *this);
        if (depth == 0)
            return kErrBadBits;
        QByteArray data;
        int code = kOk;
        switch (format) {
        case kFormatBmp:
        case kFormatOs2Bmp:
            code = writeBmp(*this, depth, format == kFormatOs2Bmp, data);
            break;
        case kFormatPng:
            code = writePng(*this, depth, data);
            break;
        case kFormatJpeg:
            code = writeJpeg(*this, depth, quality, 1, data);
            break;
        case kFormatJpeg422:
            code = writeJpeg(*this, depth, quality, 2, data);
            break;
        case kFormatJpeg411:
            code = writeJpeg(*this, depth, quality, 4, data);
            break;
        default:
            return kErrSubtype;
        }
        if (code != kOk)
            return code;
        return writeAtomically(file, data);
    } catch (const ImagingError& e) {
        return e.code();
    } catch (const std::bad_alloc&) {
        return kErrNoMemory;
    } catch (...) {
        return kErrFailure;
    }
}

int Raster::getFileInfo(const QString& file, int page, FileInfo& info)
{
    try {
        if (page < 0)
            return kErrBadParam;
        QFile f;
        Probe p;
        const int code = probeFile(file, std::max(page, 1), f, p);
        if (code != kOk)
            return code;
        info = p.info;
        return kOk;
    } catch (const std::bad_alloc&) {
        return kErrNoMemory;
    } catch (...) {
        return kErrFailure;
    }
}

}  // namespace imaging
