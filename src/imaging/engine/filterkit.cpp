#include "imaging/engine/filterkit.h"

#include <QtGlobal>

#include <cstring>
#include <thread>

namespace imaging::kit {

void requirePicture(const Raster& picture)
{
    if (picture.isNull())
        throw ImagingError(kErrBadHandle);
}

void requireRange(int value, int lo, int hi)
{
    if (value < lo || value > hi)
        throw ImagingError(kErrBadParam);
}

QRect workArea(const Raster& picture)
{
    return picture.hasRegion() ? picture.region().bounds().intersected(picture.rect()) : picture.rect();
}

int workerCount()
{
    static const int count = [] {
        bool ok = false;
        const int wanted = qEnvironmentVariableIntValue("FACIORA_THREADS", &ok);
        if (ok && wanted > 0)
            return std::min(wanted, 64);
        return std::max(1, int(std::thread::hardware_concurrency()));
    }();
    return count;
}

void parallelRows(int begin, int end, qint64 pixelsPerRow, const std::function<void(int, int)>& fn)
{
    const int rows = end - begin;
    if (rows <= 0)
        return;
    // Below about a quarter megapixel a thread costs more than it saves.
    constexpr qint64 kMinPixelsPerBand = 1 << 18;
    const qint64 total = qint64(rows) * std::max<qint64>(pixelsPerRow, 1);
    const int bands = int(std::min<qint64>({qint64(workerCount()), rows, total / kMinPixelsPerBand}));
    if (bands <= 1) {
        fn(begin, end);
        return;
    }
    std::vector<std::thread> threads;
    threads.reserve(size_t(bands - 1));
    auto bandStart = [&](int i) { return begin + int(qint64(rows) * i / bands); };
    for (int i = 1; i < bands; ++i)
        threads.emplace_back([&fn, from = bandStart(i), to = bandStart(i + 1)] { fn(from, to); });
    fn(bandStart(0), bandStart(1));
    for (std::thread& t : threads)
        t.join();
}

void forEachSpan(Raster& picture, const std::function<void(uint32_t*, int, int, int)>& fn)
{
    const Rows rows(picture);
    if (!picture.hasRegion()) {
        parallelRows(0, rows.height, rows.width, [&](int y0, int y1) {
            for (int y = y0; y < y1; ++y)
                fn(rows.row(y), 0, rows.width, y);
        });
        return;
    }
    const QRegion spans = picture.region().spans().intersected(picture.rect());
    const QRect bounds = spans.boundingRect();
    // Spans sorted by row; each band takes the spans whose rows it owns.
    std::vector<QRect> list(spans.begin(), spans.end());
    parallelRows(bounds.top(), bounds.bottom() + 1, bounds.width(), [&](int y0, int y1) {
        for (const QRect& r : list) {
            const int top = std::max(r.top(), y0);
            const int bottom = std::min(r.bottom(), y1 - 1);
            for (int y = top; y <= bottom; ++y)
                fn(rows.row(y), r.left(), r.width(), y);
        }
    });
}

void writeBack(Raster& picture, const QRect& area, const QImage& result)
{
    const Rows rows(picture);
    auto copy = [&](int x, int y, int count) {
        const auto* src = reinterpret_cast<const uint32_t*>(result.constScanLine(y - area.top()));
        std::memcpy(rows.row(y) + x, src + (x - area.left()), size_t(count) * 4);
    };
    if (!picture.hasRegion()) {
        for (int y = area.top(); y <= area.bottom(); ++y)
            copy(area.left(), y, area.width());
        return;
    }
    for (const QRect& r : picture.region().spans().intersected(area))
        for (int y = r.top(); y <= r.bottom(); ++y)
            copy(r.left(), y, r.width());
}

QImage newImage(int width, int height)
{
    if (checkSize(width, height) != kOk)
        throw ImagingError(kErrBadSize);
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        throw ImagingError(kErrNoMemory);
    return image;
}

void applyLut(Raster& picture, const ChannelLut& lut)
{
    forEachSpan(picture, [&lut](uint32_t* line, int x0, int count, int) {
        uint32_t* p = line + x0;
        for (int i = 0; i < count; ++i) {
            const uint32_t c = p[i];
            p[i] = kOpaque | uint32_t(lut.r[(c >> 16) & 0xff]) << 16
                | uint32_t(lut.g[(c >> 8) & 0xff]) << 8 | lut.b[c & 0xff];
        }
    });
}

std::vector<qint64> channelHistogram(const Raster& picture)
{
    std::vector<qint64> histogram(256, 0);
    const ConstRows rows(picture);
    auto count = [&](int x0, int n, int y) {
        const uint32_t* p = rows.row(y) + x0;
        for (int i = 0; i < n; ++i) {
            ++histogram[size_t(red(p[i]))];
            ++histogram[size_t(green(p[i]))];
            ++histogram[size_t(blue(p[i]))];
        }
    };
    if (!picture.hasRegion()) {
        for (int y = 0; y < rows.height; ++y)
            count(0, rows.width, y);
    } else {
        for (const QRect& r : picture.region().spans().intersected(picture.rect()))
            for (int y = r.top(); y <= r.bottom(); ++y)
                count(r.left(), r.width(), y);
    }
    return histogram;
}

}  // namespace imaging::kit
