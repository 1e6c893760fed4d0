#include "imaging/engine/imagefield.h"

#include "imaging/engine/codecs.h"

#include <QBuffer>
#include <QHash>
#include <QIODevice>
#include <QSet>

#include <libimagequant.h>
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

// libpng reports errors by longjmp. Every function below that calls setjmp keeps only plain
// data in its frame, so that the jump never skips a destructor; buffers and guards live in
// the callers.

namespace imaging {

namespace {

constexpr bool kLittleEndian = Q_BYTE_ORDER == Q_LITTLE_ENDIAN;

// ---- reading ------------------------------------------------------------------------------

struct PngInput {
    QIODevice* device = nullptr;
    bool truncated = false;
};

void pngReadData(png_structp png, png_bytep data, size_t length)
{
    auto* in = static_cast<PngInput*>(png_get_io_ptr(png));
    size_t done = 0;
    while (done < length) {
        const qint64 n = in->device->read(reinterpret_cast<char*>(data) + done,
                                          qint64(length - done));
        if (n <= 0) {
            in->truncated = true;
            png_error(png, "unexpected end of data");
        }
        done += size_t(n);
    }
}

void pngError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

struct PngHeader {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colorType = 0;
    int interlace = 0;
    bool hasSbit = false;
    png_color_8 sbit = {};
    png_uint_32 xPpm = 0;
    png_uint_32 yPpm = 0;
    int unit = 0;
    int paletteSize = 0;
    png_color palette[256] = {};
};

bool pngReadHeader(png_structp png, png_infop info, PngHeader& h)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_info(png, info);
    int compression = 0;
    int filter = 0;
    png_get_IHDR(png, info, &h.width, &h.height, &h.bitDepth, &h.colorType, &h.interlace,
                 &compression, &filter);
    png_color_8p sbit = nullptr;
    if (png_get_sBIT(png, info, &sbit) && sbit) {
        h.hasSbit = true;
        h.sbit = *sbit;
    }
    png_get_pHYs(png, info, &h.xPpm, &h.yPpm, &h.unit);
    png_colorp palette = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &palette, &count) && palette) {
        h.paletteSize = std::clamp(count, 0, 256);
        std::memcpy(h.palette, palette, sizeof(png_color) * size_t(h.paletteSize));
    }
    return true;
}

// How the decoded rows are laid out in memory.
enum class RowLayout { Index, Rgb32, Argb32 };

bool pngReadRows(png_structp png, png_infop info, RowLayout layout, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_strip_16(png);
    if (layout == RowLayout::Index) {
        png_set_packing(png);
    } else {
        if (png_get_color_type(png, info) == PNG_COLOR_TYPE_GRAY_ALPHA)
            png_set_gray_to_rgb(png);
        if (kLittleEndian)
            png_set_bgr(png);
        if (layout == RowLayout::Rgb32)
            png_set_filler(png, 0xff, kLittleEndian ? PNG_FILLER_AFTER : PNG_FILLER_BEFORE);
        else if (!kLittleEndian)
            png_set_swap_alpha(png);
    }
    png_read_image(png, rows);
    // Reading on to the end catches files cut after the last pixels and damaged chunks.
    png_read_end(png, nullptr);
    return true;
}

struct PngReadGuard {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngReadGuard() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

// The nominal depth a PNG's header declares.
int pngNominalBits(const PngHeader& h)
{
    switch (h.colorType) {
    case PNG_COLOR_TYPE_PALETTE:
    case PNG_COLOR_TYPE_GRAY:
        return h.bitDepth == 1 ? 1 : h.bitDepth <= 4 ? 4 : 8;
    case PNG_COLOR_TYPE_RGB:
        // RGB with at most 5-6-5 significant bits is how 16-bit pictures are stored.
        if (h.bitDepth == 8 && h.hasSbit && h.sbit.red <= 5 && h.sbit.green <= 6
            && h.sbit.blue <= 5)
            return 16;
        return 24;
    default:
        return 32;
    }
}

QVector<QRgb> greyRamp(int entries)
{
    QVector<QRgb> ramp;
    ramp.reserve(entries);
    for (int i = 0; i < entries; ++i) {
        const int v = entries > 1 ? i * 255 / (entries - 1) : 0;
        ramp.append(qRgb(v, v, v));
    }
    return ramp;
}

// ---- writing ------------------------------------------------------------------------------

struct PngOutput {
    unsigned char* data = nullptr;
    size_t size = 0;
    size_t capacity = 0;
    ~PngOutput() { std::free(data); }
};

void pngWriteData(png_structp png, png_bytep bytes, size_t length)
{
    auto* out = static_cast<PngOutput*>(png_get_io_ptr(png));
    if (out->size + length > out->capacity) {
        size_t capacity = std::max<size_t>(out->capacity * 2, 4096);
        while (capacity < out->size + length)
            capacity *= 2;
        auto* grown = static_cast<unsigned char*>(std::realloc(out->data, capacity));
        if (!grown)
            png_error(png, "out of memory");
        out->data = grown;
        out->capacity = capacity;
    }
    std::memcpy(out->data + out->size, bytes, length);
    out->size += length;
}

void pngFlush(png_structp) {}

struct PngJob {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 8;
    int colorType = PNG_COLOR_TYPE_RGB;
    RowLayout layout = RowLayout::Rgb32;
    const png_color* palette = nullptr;
    int paletteSize = 0;
    bool sbit555 = false;
    png_uint_32 xPpm = 0;
    png_uint_32 yPpm = 0;
    png_bytepp rows = nullptr;     // index rows, or the raster's RGB32 rows
    png_bytep scratch = nullptr;   // one RGBA row, for 32 bits
};

bool pngWriteAll(png_structp png, png_infop info, const PngJob& s)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, s.width, s.height, s.bitDepth, s.colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (s.palette)
        png_set_PLTE(png, info, s.palette, s.paletteSize);
    if (s.sbit555) {
        png_color_8 sbit = {};
        sbit.red = sbit.green = sbit.blue = 5;
        png_set_sBIT(png, info, &sbit);
    }
    if (s.xPpm > 0 && s.yPpm > 0)
        png_set_pHYs(png, info, s.xPpm, s.yPpm, PNG_RESOLUTION_METER);
    png_write_info(png, info);
    switch (s.layout) {
    case RowLayout::Index:
        png_set_packing(png);
        png_write_image(png, s.rows);
        break;
    case RowLayout::Rgb32:
        if (kLittleEndian)
            png_set_bgr(png);
        png_set_filler(png, 0, kLittleEndian ? PNG_FILLER_AFTER : PNG_FILLER_BEFORE);
        png_write_image(png, s.rows);
        break;
    case RowLayout::Argb32:
        // The pixels carry no transparency: every pixel is written opaque.
        for (png_uint_32 y = 0; y < s.height; ++y) {
            const png_bytep src = s.rows[y];
            for (png_uint_32 x = 0; x < s.width; ++x) {
                const uint32_t p = reinterpret_cast<const uint32_t*>(src)[x];
                png_bytep d = s.scratch + x * 4;
                d[0] = png_byte(p >> 16);
                d[1] = png_byte(p >> 8);
                d[2] = png_byte(p);
                d[3] = 0xff;
            }
            png_write_row(png, s.scratch);
        }
        break;
    }
    png_write_end(png, info);
    return true;
}

struct PngWriteGuard {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngWriteGuard() { png_destroy_write_struct(&png, info ? &info : nullptr); }
};

png_uint_32 pixelsPerMetre(int dpi)
{
    return dpi > 0 ? png_uint_32(qRound(dpi / 0.0254)) : 0;
}

// ---- palettes -----------------------------------------------------------------------------

// Maps every pixel onto `palette`; false when a pixel is not in it.
bool mapOntoPalette(const Raster& r, const QVector<QRgb>& palette, QImage& out)
{
    QHash<QRgb, int> index;
    for (int i = palette.size() - 1; i >= 0; --i)
        index.insert(palette[i] | 0xff000000u, i);
    QImage image(r.width(), r.height(), QImage::Format_Indexed8);
    if (image.isNull())
        throw std::bad_alloc();
    QRgb last = 0;
    int lastIndex = -1;
    for (int y = 0; y < r.height(); ++y) {
        const uint32_t* src = r.constScanLine(y);
        uchar* dst = image.scanLine(y);
        for (int x = 0; x < r.width(); ++x) {
            const QRgb c = src[x] | 0xff000000u;
            if (c != last || lastIndex < 0) {
                const auto it = index.constFind(c);
                if (it == index.constEnd())
                    return false;
                last = c;
                lastIndex = *it;
            }
            dst[x] = uchar(lastIndex);
        }
    }
    image.setColorTable(palette);
    out = image;
    return true;
}

// The picture's distinct colours in ascending order when there are at most `limit`.
QVector<QRgb> distinctColours(const Raster& r, int limit)
{
    QSet<QRgb> seen;
    QRgb last = 0;
    bool haveLast = false;
    for (int y = 0; y < r.height(); ++y) {
        const uint32_t* line = r.constScanLine(y);
        for (int x = 0; x < r.width(); ++x) {
            const QRgb c = line[x] | 0xff000000u;
            if (haveLast && c == last)
                continue;
            last = c;
            haveLast = true;
            seen.insert(c);
            if (seen.size() > limit)
                return {};
        }
    }
    QVector<QRgb> colours(seen.begin(), seen.end());
    std::sort(colours.begin(), colours.end());
    return colours;
}

QImage thresholdToMono(const Raster& r)
{
    QImage image(r.width(), r.height(), QImage::Format_Indexed8);
    if (image.isNull())
        throw std::bad_alloc();
    for (int y = 0; y < r.height(); ++y) {
        const uint32_t* src = r.constScanLine(y);
        uchar* dst = image.scanLine(y);
        for (int x = 0; x < r.width(); ++x)
            dst[x] = qGray(src[x]) >= 128 ? 1 : 0;
    }
    image.setColorTable(defaultPalette(1));
    return image;
}

// An optimal palette of at most 2^bits colours, dithered; a null image when that fails.
QImage quantise(const Raster& r, int bits)
{
    const int w = r.width();
    const int h = r.height();
    std::vector<unsigned char> rgba(size_t(w) * size_t(h) * 4);
    for (int y = 0; y < h; ++y) {
        const uint32_t* src = r.constScanLine(y);
        unsigned char* d = rgba.data() + size_t(y) * size_t(w) * 4;
        for (int x = 0; x < w; ++x, d += 4) {
            d[0] = uchar(qRed(src[x]));
            d[1] = uchar(qGreen(src[x]));
            d[2] = uchar(qBlue(src[x]));
            d[3] = 0xff;
        }
    }
    QImage image(w, h, QImage::Format_Indexed8);
    if (image.isNull())
        throw std::bad_alloc();
    std::vector<unsigned char*> rows(static_cast<size_t>(h));
    for (int y = 0; y < h; ++y)
        rows[size_t(y)] = image.scanLine(y);

    liq_attr* attr = liq_attr_create();
    if (!attr)
        return QImage();
    liq_set_max_colors(attr, 1 << bits);
    liq_image* input = liq_image_create_rgba(attr, rgba.data(), w, h, 0);
    liq_result* result = nullptr;
    QVector<QRgb> palette;
    if (input && liq_image_quantize(input, attr, &result) == LIQ_OK) {
        liq_set_dithering_level(result, 1.0f);
        if (liq_write_remapped_image_rows(result, input, rows.data()) == LIQ_OK) {
            const liq_palette* p = liq_get_palette(result);
            for (unsigned i = 0; i < p->count; ++i)
                palette.append(qRgb(p->entries[i].r, p->entries[i].g, p->entries[i].b));
        }
    }
    if (result)
        liq_result_destroy(result);
    if (input)
        liq_image_destroy(input);
    liq_attr_destroy(attr);
    if (palette.isEmpty())
        return QImage();
    image.setColorTable(palette);
    return image;
}

}  // namespace

QImage indexedPixels(const Raster& r, int bits)
{
    const int limit = 1 << bits;
    QImage out;
    if (r.bits() <= 8 && !r.palette().isEmpty() && r.palette().size() <= limit
        && mapOntoPalette(r, r.palette(), out))
        return out;
    if (mapOntoPalette(r, defaultPalette(bits), out))
        return out;
    const QVector<QRgb> exact = distinctColours(r, limit);
    if (!exact.isEmpty() && mapOntoPalette(r, exact, out))
        return out;
    if (bits == 1)
        return thresholdToMono(r);
    out = quantise(r, bits);
    if (!out.isNull())
        return out;
    // Last resort: nearest colours of the standard palette.
    Raster reduced = r;
    reduced.setBits(24);
    reduced.setBits(bits);
    mapOntoPalette(reduced, reduced.palette(), out);
    return out;
}

namespace {

// Opens a PNG stream and reads its header; 0 or a code.
int openPng(QIODevice& device, PngInput& input, PngReadGuard& guard, PngHeader& h)
{
    png_byte signature[8];
    if (device.read(reinterpret_cast<char*>(signature), 8) != 8 || png_sig_cmp(signature, 0, 8))
        return kErrBadFormat;
    input.device = &device;
    guard.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &input, pngError, pngWarning);
    if (!guard.png)
        return kErrNoMemory;
    guard.info = png_create_info_struct(guard.png);
    if (!guard.info)
        return kErrNoMemory;
    png_set_read_fn(guard.png, &input, pngReadData);
    png_set_sig_bytes(guard.png, 8);
    // Sizes are checked against our own limits; ancillary chunks stay small.
    png_set_user_limits(guard.png, 0x7fffffff, 0x7fffffff);
    png_set_chunk_malloc_max(guard.png, 8u << 20);
    png_set_chunk_cache_max(guard.png, 1000);
    if (!pngReadHeader(guard.png, guard.info, h))
        return input.truncated ? kErrRead : kErrBadFormat;
    return kOk;
}

int dotsPerInch(const PngHeader& h, bool vertical)
{
    if (h.unit != PNG_RESOLUTION_METER || h.xPpm == 0 || h.yPpm == 0)
        return 0;
    return qRound((vertical ? h.yPpm : h.xPpm) * 0.0254);
}

}  // namespace

int readPngInfo(QIODevice& device, PngInfo& info)
{
    PngInput input;
    PngReadGuard guard;
    PngHeader h;
    const int code = openPng(device, input, guard, h);
    if (code != kOk)
        return code;
    info.width = int(std::min<png_uint_32>(h.width, 0x7fffffff));
    info.height = int(std::min<png_uint_32>(h.height, 0x7fffffff));
    info.bits = pngNominalBits(h);
    info.interlaced = h.interlace != PNG_INTERLACE_NONE;
    info.xRes = dotsPerInch(h, false);
    info.yRes = dotsPerInch(h, true);
    return kOk;
}

int readPng(QIODevice& device, const DecodeLimits& limits, Raster& out)
{
    PngInput input;
    PngReadGuard guard;
    PngHeader h;
    const int code = openPng(device, input, guard, h);
    if (code != kOk)
        return code;
    if (h.width > png_uint_32(limits.maxWidth) || h.height > png_uint_32(limits.maxHeight)
        || qint64(h.width) * qint64(h.height) > limits.maxPixels
        || checkSize(h.width, h.height) != kOk)
        return kErrBadSize;

    const int bits = pngNominalBits(h);
    const bool indexed = h.colorType == PNG_COLOR_TYPE_PALETTE || h.colorType == PNG_COLOR_TYPE_GRAY;
    const RowLayout layout = indexed ? RowLayout::Index
        : (h.colorType & PNG_COLOR_MASK_ALPHA) ? RowLayout::Argb32 : RowLayout::Rgb32;
    QImage image(int(h.width), int(h.height),
                 indexed ? QImage::Format_Indexed8 : QImage::Format_RGB32);
    if (image.isNull())
        return kErrNoMemory;
    std::vector<png_bytep> rows(h.height);
    for (png_uint_32 y = 0; y < h.height; ++y)
        rows[y] = image.scanLine(int(y));
    if (!pngReadRows(guard.png, guard.info, layout, rows.data()))
        return kErrRead;

    if (indexed) {
        QVector<QRgb> palette;
        if (h.colorType == PNG_COLOR_TYPE_PALETTE) {
            for (int i = 0; i < h.paletteSize; ++i)
                palette.append(qRgb(h.palette[i].red, h.palette[i].green, h.palette[i].blue));
        } else {
            palette = greyRamp(1 << std::min(h.bitDepth, 8));
        }
        if (palette.isEmpty())
            return kErrRead;
        image.setColorTable(palette);
    } else if (layout == RowLayout::Argb32) {
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] |= 0xff000000u;
        }
    }
    Raster r = Raster::fromImage(image, bits);
    const int xRes = dotsPerInch(h, false);
    const int yRes = dotsPerInch(h, true);
    r.setResolution(xRes > 0 ? xRes : 96, yRes > 0 ? yRes : 96);
    out = r;
    return kOk;
}

int writePng(const Raster& r, int bits, QByteArray& out)
{
    if (r.isNull())
        return kErrBadHandle;
    if (!validBits(bits))
        return kErrBadBits;

    PngJob job;
    job.width = png_uint_32(r.width());
    job.height = png_uint_32(r.height());
    job.xPpm = pixelsPerMetre(r.xRes());
    job.yPpm = pixelsPerMetre(r.yRes());
    std::vector<png_bytep> rows(job.height);
    std::vector<png_byte> scratch;
    std::vector<png_color> palette;
    QImage indexed;
    if (bits <= 8) {
        indexed = indexedPixels(r, bits);
        if (indexed.isNull())
            return kErrNoMemory;
        for (QRgb c : indexed.colorTable())
            palette.push_back(png_color{png_byte(qRed(c)), png_byte(qGreen(c)), png_byte(qBlue(c))});
        job.bitDepth = bits;
        job.colorType = PNG_COLOR_TYPE_PALETTE;
        job.layout = RowLayout::Index;
        job.palette = palette.data();
        job.paletteSize = int(palette.size());
        for (png_uint_32 y = 0; y < job.height; ++y)
            rows[y] = indexed.scanLine(int(y));
    } else {
        job.colorType = bits == 32 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
        job.layout = bits == 32 ? RowLayout::Argb32 : RowLayout::Rgb32;
        job.sbit555 = bits == 16;
        // libpng copies each row before transforming it, so the pixels are only read.
        for (png_uint_32 y = 0; y < job.height; ++y)
            rows[y] = reinterpret_cast<png_bytep>(const_cast<uint32_t*>(r.constScanLine(int(y))));
        if (bits == 32) {
            scratch.resize(size_t(job.width) * 4);
            job.scratch = scratch.data();
        }
    }
    job.rows = rows.data();

    PngOutput output;
    PngWriteGuard guard;
    guard.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, pngWarning);
    if (!guard.png)
        return kErrNoMemory;
    guard.info = png_create_info_struct(guard.png);
    if (!guard.info)
        return kErrNoMemory;
    png_set_write_fn(guard.png, &output, pngWriteData, pngFlush);
    if (!pngWriteAll(guard.png, guard.info, job))
        return kErrNoMemory;
    out = QByteArray(reinterpret_cast<const char*>(output.data), qsizetype(output.size));
    return kOk;
}

QByteArray encodeImageField(const Raster& r, int bits)
{
    if (r.isNull())
        throw ImagingError(kErrBadHandle);
    if (bits == 0)
        bits = r.bits();
    if (!validBits(bits))
        throw ImagingError(kErrBadBits);
    QByteArray bytes;
    const int code = writePng(r, bits, bytes);
    if (code != kOk)
        throw ImagingError(code);
    return bytes;
}

int decodeImageField(const QByteArray& bytes, Raster& out, const ImageFieldLimits& limits)
{
    try {
        if (bytes.isEmpty()) {
            out = Raster();
            return kOk;
        }
        if (bytes.size() > limits.maxBytes)
            return kErrBadSize;
        QBuffer buffer;
        buffer.setData(bytes);
        if (!buffer.open(QIODevice::ReadOnly))
            return kErrRead;
        DecodeLimits decodeLimits;
        decodeLimits.maxWidth = limits.maxWidth;
        decodeLimits.maxHeight = limits.maxHeight;
        decodeLimits.maxPixels = limits.maxPixels < 0 ? limits.maxBytes / 4 : limits.maxPixels;
        Raster r;
        const int code = readPng(buffer, decodeLimits, r);
        if (code == kOk)
            out = r;
        return code;
    } catch (const ImagingError& e) {
        return e.code();
    } catch (const std::bad_alloc&) {
        return kErrNoMemory;
    } catch (...) {
        return kErrFailure;
    }
}

}  // namespace imaging
