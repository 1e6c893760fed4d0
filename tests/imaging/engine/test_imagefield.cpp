#include "imaging/engine/imagefield.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

using imaging::decodeImageField;
using imaging::encodeImageField;
using imaging::ImageFieldLimits;
using imaging::ImagingError;
using imaging::Raster;

namespace {

// A picture at `bits` using every entry of a palette in no standard order.
Raster fieldPicture(int bits, int w = 37, int h = 5)
{
    Raster r(w, h, 24);
    QVector<QRgb> palette;
    if (bits <= 8) {
        const int n = 1 << bits;
        for (int i = 0; i < n; ++i)
            palette.append(qRgb((i * 151) % 256, 255 - i * 255 / (n - 1), (i * 29) % 256));
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (bits <= 8)
                r.setPixel(x, y, palette[(x * 7 + y * 3) % palette.size()]);
            else
                r.setPixel(x, y, qRgb(x * 7 % 256, y * 50, (x ^ y) * 13 % 256));
        }
    }
    r.setBits(bits);
    if (bits <= 8)
        r.setPalette(palette);
    return r;
}

QImage readWithQt(const QByteArray& bytes)
{
    QImage image;
    image.loadFromData(bytes, "PNG");
    return image;
}

TEST(ImageField, RoundTripKeepsDepthPaletteAndPixels)
{
    struct {
        int bits;
        int pngDepth;
        int pngColourType;
    } rows[] = {{1, 1, 3}, {4, 4, 3}, {8, 8, 3}, {16, 8, 2}, {24, 8, 2}, {32, 8, 6}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.bits);
        const Raster original = fieldPicture(row.bits);
        const QByteArray bytes = encodeImageField(original);
        ASSERT_TRUE(bytes.startsWith("\x89PNG\r\n\x1a\n"));
        EXPECT_EQ(bytes.mid(12, 4), "IHDR");
        EXPECT_EQ(uchar(bytes[24]), row.pngDepth);
        EXPECT_EQ(uchar(bytes[25]), row.pngColourType);
        // Other readers see the same picture.
        EXPECT_EQ(readWithQt(bytes).convertToFormat(QImage::Format_RGB32).pixel(5, 3),
                  original.pixel(5, 3));

        Raster back;
        ASSERT_EQ(decodeImageField(bytes, back), 0);
        EXPECT_EQ(back.bits(), row.bits);
        EXPECT_TRUE(back == original);
        if (row.bits <= 8) {
            EXPECT_EQ(back.palette(), original.palette());
        }
    }
}

TEST(ImageField, MaskSurvivesExactly)
{
    Raster mask(61, 9, 1, qRgb(255, 255, 255));
    for (int y = 0; y < 9; ++y)
        for (int x = y; x < 61; x += 3)
            mask.setPixel(x, y, qRgb(0, 0, 0));
    Raster back;
    ASSERT_EQ(decodeImageField(encodeImageField(mask), back), 0);
    EXPECT_EQ(back.bits(), 1);
    EXPECT_EQ(back.palette(), mask.palette());
    EXPECT_TRUE(back == mask);
}

TEST(ImageField, EncodesAtARequestedDepth)
{
    Raster few(10, 4, 24, qRgb(1, 2, 3));
    few.setPixel(9, 3, qRgb(250, 128, 0));
    Raster back;
    ASSERT_EQ(decodeImageField(encodeImageField(few, 4), back), 0);
    EXPECT_EQ(back.bits(), 4);
    EXPECT_EQ(back.pixel(9, 3), qRgb(250, 128, 0));
    EXPECT_EQ(back.pixel(0, 0), qRgb(1, 2, 3));
}

TEST(ImageField, EncodeRefusesEmptyPicturesAndBadDepths)
{
    struct {
        Raster raster;
        int bits;
        int code;
    } rows[] = {{Raster(), 0, 20002}, {Raster(2, 2, 24), 7, 20027}, {Raster(2, 2, 24), -1, 20027}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.code);
        try {
            encodeImageField(row.raster, row.bits);
            ADD_FAILURE() << "no error raised";
        } catch (const ImagingError& e) {
            EXPECT_EQ(e.code(), row.code);
        }
    }
}

TEST(ImageField, EmptyFieldIsAnEmptyPicture)
{
    Raster r(3, 3, 24);
    EXPECT_EQ(decodeImageField(QByteArray(), r), 0);
    EXPECT_TRUE(r.isNull());
}

TEST(ImageField, BadBytesGiveCodesAndLeaveThePicture)
{
    const QByteArray good = encodeImageField(fieldPicture(24, 100, 50));
    ImageFieldLimits narrow;
    narrow.maxWidth = 99;
    ImageFieldLimits low;
    low.maxHeight = 49;
    ImageFieldLimits small;
    small.maxBytes = 100 * 50 * 4 - 1;
    ImageFieldLimits tinyField;
    tinyField.maxBytes = good.size() - 1;
    QByteArray flipped = good;
    flipped[good.size() / 2] = char(flipped[good.size() / 2] ^ 0x55);

    struct {
        const char* name;
        QByteArray bytes;
        ImageFieldLimits limits;
        int code;
    } rows[] = {
        {"garbage", QByteArray("not a picture at all"), {}, 20009},
        {"a jpeg", QByteArray("\xff\xd8\xff\xe0\0\x10JFIF", 10), {}, 20009},
        {"signature only", good.left(8), {}, 20007},
        {"cut header", good.left(20), {}, 20007},
        {"cut pixels", good.left(good.size() / 2), {}, 20007},
        {"no end", good.left(good.size() - 12), {}, 20007},
        {"damaged pixels", flipped, {}, 20007},
        {"too wide", good, narrow, 20011},
        {"too high", good, low, 20011},
        {"too many pixels", good, small, 20011},
        {"field too large", good, tinyField, 20011},
    };
    const Raster before = fieldPicture(4);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Raster r = before;
        EXPECT_EQ(decodeImageField(row.bytes, r, row.limits), row.code);
        EXPECT_TRUE(r == before);
        EXPECT_EQ(r.palette(), before.palette());
    }
}

TEST(ImageField, ReadsPngFromOtherWriters)
{
    struct {
        QImage::Format format;
        int bits;
    } rows[] = {{QImage::Format_Grayscale8, 8}, {QImage::Format_RGB32, 24},
                {QImage::Format_ARGB32, 32}, {QImage::Format_Mono, 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.bits);
        QImage image(6, 4, row.format);
        if (row.format == QImage::Format_Mono) {
            image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
            image.fill(1);
            image.setPixel(2, 1, 0);
        } else {
            image.fill(qRgb(90, 90, 90));
            image.setPixel(2, 1, qRgb(0, 0, 0));
        }
        QByteArray bytes;
        QBuffer buffer(&bytes);
        ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
        ASSERT_TRUE(image.save(&buffer, "PNG"));
        Raster r;
        ASSERT_EQ(decodeImageField(bytes, r), 0);
        EXPECT_EQ(r.bits(), row.bits);
        EXPECT_EQ(r.pixel(2, 1), qRgb(0, 0, 0));
        EXPECT_EQ(r.pixel(0, 0), row.format == QImage::Format_Mono ? qRgb(255, 255, 255)
                                                                  : qRgb(90, 90, 90));
    }
}

}  // namespace
