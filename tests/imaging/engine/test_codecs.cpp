#include "imaging/engine/raster.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <tiffio.h>

#include <csignal>
#include <sys/resource.h>

using imaging::FileInfo;
using imaging::Raster;

namespace {

const QString kData = QStringLiteral(FACIORA_TEST_DATA "/imaging/engine/data/");
const QString kMalformed = kData + QStringLiteral("malformed/");

// A palette in an order no default palette has, so that a writer that reorders shows.
QVector<QRgb> scrambledPalette(int bits)
{
    QVector<QRgb> p;
    const int n = 1 << bits;
    for (int i = 0; i < n; ++i) {
        const int k = (i * 37 + 11) % n;
        p.append(qRgb(255 - k * 255 / std::max(1, n - 1), (k * 97) % 256, (k * 53 + 40) % 256));
    }
    return p;
}

// A picture at `bits` whose pixels use its whole palette. Odd width: rows need padding.
Raster picture(int bits, int w = 13, int h = 7)
{
    Raster r(w, h, 24);
    QVector<QRgb> palette;
    if (bits <= 8)
        palette = scrambledPalette(bits);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            QRgb c;
            if (bits <= 8)
                c = palette[(x * 3 + y * 5) % palette.size()];
            else if (bits == 16)  // colours a 5-bit channel holds exactly
                c = qRgb((x + y) % 2 * 255, (x & 2) ? 255 : 0, y % 2 * 255);
            else
                c = qRgb(x * 19 % 256, y * 37 % 256, x * y * 11 % 256);
            r.setPixel(x, y, c);
        }
    }
    r.setBits(bits);
    if (bits <= 8)
        r.setPalette(palette);
    r.setResolution(150, 200);
    return r;
}

qint64 fileSize(const QString& path)
{
    return QFileInfo(path).size();
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Two pages: 4 x 3 RGB, then 5 x 2 with a 4-bit palette.
void writeTwoPageTiff(const QString& path)
{
    TIFF* tif = TIFFOpen(QFile::encodeName(path).constData(), "w");
    ASSERT_NE(tif, nullptr);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 4);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 3);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 3);
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, 300.0f);
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, 300.0f);
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    for (int y = 0; y < 3; ++y) {
        uint8_t row[12];
        for (int x = 0; x < 4; ++x) {
            row[x * 3] = uint8_t(x * 60);
            row[x * 3 + 1] = uint8_t(y * 100);
            row[x * 3 + 2] = 7;
        }
        TIFFWriteScanline(tif, row, uint32_t(y), 0);
    }
    TIFFWriteDirectory(tif);

    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 5);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 2);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 4);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 2);
    uint16_t red[16], green[16], blue[16];
    const QVector<QRgb> palette = scrambledPalette(4);
    for (int i = 0; i < 16; ++i) {
        red[i] = uint16_t(qRed(palette[i]) * 257);
        green[i] = uint16_t(qGreen(palette[i]) * 257);
        blue[i] = uint16_t(qBlue(palette[i]) * 257);
    }
    TIFFSetField(tif, TIFFTAG_COLORMAP, red, green, blue);
    for (int y = 0; y < 2; ++y) {
        uint8_t row[3] = {};
        for (int x = 0; x < 5; ++x)
            row[x / 2] |= uint8_t(((x + y * 5) % 16) << (x % 2 ? 0 : 4));
        TIFFWriteScanline(tif, row, uint32_t(y), 0);
    }
    TIFFWriteDirectory(tif);
    TIFFClose(tif);
}

class Codecs : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

// ---- saving and reading back --------------------------------------------------------------

struct RoundTrip {
    const char* name;
    int format;
    int bits;
    bool keepsResolution;
};

TEST_F(Codecs, SavedPicturesReadBackExactly)
{
    const RoundTrip rows[] = {
        {"bmp1", 6, 1, true},   {"bmp4", 6, 4, true},   {"bmp8", 6, 8, true},
        {"bmp16", 6, 16, true}, {"bmp24", 6, 24, true}, {"bmp32", 6, 32, true},
        {"os2_1", 14, 1, false}, {"os2_4", 14, 4, false}, {"os2_8", 14, 8, false},
        {"os2_24", 14, 24, false},
        {"png1", 75, 1, true},  {"png4", 75, 4, true},  {"png8", 75, 8, true},
        {"png16", 75, 16, true}, {"png24", 75, 24, true}, {"png32", 75, 32, true},
    };
    for (const RoundTrip& row : rows) {
        SCOPED_TRACE(row.name);
        const Raster original = picture(row.bits);
        const QString file = path(QString::fromLatin1(row.name));
        ASSERT_EQ(original.save(file, row.format, 0, 0), 0);
        Raster back;
        ASSERT_EQ(back.load(file), 0);
        EXPECT_EQ(back.bits(), row.bits);
        EXPECT_TRUE(back == original);
        if (row.bits <= 8) {
            EXPECT_EQ(back.palette(), original.palette());
        }
        EXPECT_EQ(back.xRes(), row.keepsResolution ? 150 : 96);
        EXPECT_EQ(back.yRes(), row.keepsResolution ? 200 : 96);
    }
}

TEST_F(Codecs, SavingAtAnotherDepthChoosesAPalette)
{
    // 24-bit pictures with few colours keep them exactly; many colours are quantised.
    Raster few(9, 5, 24, qRgb(10, 20, 30));
    few.setPixel(1, 1, qRgb(200, 0, 0));
    few.setPixel(8, 4, qRgb(0, 200, 0));
    Raster many(64, 32, 24);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            many.setPixel(x, y, qRgb(x * 4, y * 8, (x + y) * 2));

    for (int format : {6, 75}) {
        SCOPED_TRACE(format);
        Raster back;
        ASSERT_EQ(few.save(path("few"), format, 4, 0), 0);
        ASSERT_EQ(back.load(path("few")), 0);
        EXPECT_EQ(back.bits(), 4);
        EXPECT_EQ(back.palette().size(), 3);
        for (int y = 0; y < few.height(); ++y)
            for (int x = 0; x < few.width(); ++x)
                ASSERT_EQ(back.pixel(x, y), few.pixel(x, y));

        ASSERT_EQ(many.save(path("many"), format, 8, 0), 0);
        ASSERT_EQ(back.load(path("many")), 0);
        EXPECT_EQ(back.bits(), 8);
        EXPECT_LE(back.palette().size(), 256);
        qint64 error = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 64; ++x) {
                ASSERT_TRUE(back.palette().contains(back.pixel(x, y)));
                error += std::abs(qRed(back.pixel(x, y)) - qRed(many.pixel(x, y)))
                         + std::abs(qGreen(back.pixel(x, y)) - qGreen(many.pixel(x, y)))
                         + std::abs(qBlue(back.pixel(x, y)) - qBlue(many.pixel(x, y)));
            }
        }
        EXPECT_LT(error / (64 * 32 * 3), 8);

        ASSERT_EQ(many.save(path("mono"), format, 1, 0), 0);
        ASSERT_EQ(back.load(path("mono")), 0);
        EXPECT_EQ(back.bits(), 1);
        EXPECT_EQ(back.pixel(0, 0), qRgb(0, 0, 0));
        EXPECT_EQ(back.pixel(63, 31), qRgb(255, 255, 255));
    }
}

TEST_F(Codecs, JpegSavesColourAndGrey)
{
    Raster flat(16, 16, 24, qRgb(200, 100, 50));
    struct {
        int format;
        int bits;
        int expectBits;
        const char* sampling;
    } rows[] = {{10, 24, 24, "JPEG 4:4:4"}, {23, 24, 24, "JPEG 4:2:2"},
                {21, 24, 24, "JPEG 4:1:1"}, {10, 8, 8, "JPEG"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.format * 100 + row.bits);
        ASSERT_EQ(flat.save(path("a.jpg"), row.format, row.bits, 2), 0);
        FileInfo info;
        ASSERT_EQ(Raster::getFileInfo(path("a.jpg"), 1, info), 0);
        EXPECT_EQ(info.compression, QString::fromLatin1(row.sampling));
        Raster back;
        ASSERT_EQ(back.load(path("a.jpg")), 0);
        EXPECT_EQ(back.bits(), row.expectBits);
        const QRgb expected = row.bits == 8 ? qRgb(qGray(200, 100, 50), qGray(200, 100, 50),
                                                   qGray(200, 100, 50))
                                            : qRgb(200, 100, 50);
        const QRgb got = back.pixel(7, 7);
        EXPECT_NEAR(qRed(got), qRed(expected), 3);
        EXPECT_NEAR(qGreen(got), qGreen(expected), 3);
        EXPECT_NEAR(qBlue(got), qBlue(expected), 3);
    }
}

// ---- reading files from other writers -----------------------------------------------------

TEST_F(Codecs, ReadsRleBitmapsGifFramesAndTiffPages)
{
    Raster r;
    ASSERT_EQ(r.load(kData + "rle8.bmp"), 0);
    EXPECT_EQ(r.bits(), 8);
    EXPECT_EQ(r.size(), QSize(16, 8));
    EXPECT_EQ(r.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(r.pixel(2, 2), qRgb(0, 0, 0));
    EXPECT_EQ(r.pixel(12, 3), qRgb(255, 0, 0));

    // 5-6-5 bit fields: full channels must come back as 255.
    ASSERT_EQ(r.load(kData + "bitfields565.bmp"), 0);
    EXPECT_EQ(r.bits(), 16);
    EXPECT_EQ(r.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(r.pixel(2, 0), qRgb(255, 0, 0));
    EXPECT_EQ(r.pixel(3, 0), qRgb(0, 255, 0));

    ASSERT_EQ(r.load(kData + "anim.gif", 0, 1), 0);
    EXPECT_EQ(r.bits(), 1);  // a two-colour table
    EXPECT_EQ(r.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(r.pixel(2, 1), qRgb(255, 0, 0));
    // The file's table, in its order.
    EXPECT_EQ(r.palette(), (QVector<QRgb>{qRgb(255, 0, 0), qRgb(255, 255, 255)}));
    ASSERT_EQ(r.load(kData + "anim.gif", 0, 2), 0);
    EXPECT_EQ(r.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(r.pixel(3, 2), qRgb(255, 255, 255));
    EXPECT_EQ(r.load(kData + "anim.gif", 0, 3), 20013);
    // Transparent pixels keep the colour their index has (here black), not the background's.
    ASSERT_EQ(r.load(kData + "transparent.gif"), 0);
    EXPECT_EQ(r.pixel(1, 0), qRgb(255, 0, 0));
    EXPECT_EQ(r.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(r.palette(), (QVector<QRgb>{qRgb(255, 0, 0), qRgb(0, 0, 0)}));

    writeTwoPageTiff(path("two.tif"));
    ASSERT_EQ(r.load(path("two.tif"), 0, 0, -1), 0);  // page 0 is the first page
    EXPECT_EQ(r.size(), QSize(4, 3));
    EXPECT_EQ(r.bits(), 24);
    EXPECT_EQ(r.pixel(3, 2), qRgb(180, 200, 7));
    EXPECT_EQ(r.xRes(), 300);
    ASSERT_EQ(r.load(path("two.tif"), 0, 2), 0);
    EXPECT_EQ(r.size(), QSize(5, 2));
    EXPECT_EQ(r.bits(), 4);
    EXPECT_EQ(r.palette(), scrambledPalette(4));
    EXPECT_EQ(r.pixel(4, 1), scrambledPalette(4)[9]);
    EXPECT_EQ(r.load(path("two.tif"), 0, 3), 20013);
}

TEST_F(Codecs, LoadConvertsToTheRequestedDepth)
{
    ASSERT_EQ(picture(24).save(path("a.png"), 75, 0, 0), 0);
    Raster r;
    ASSERT_EQ(r.load(path("a.png"), 8), 0);
    EXPECT_EQ(r.bits(), 8);
    ASSERT_EQ(r.load(path("a.png"), 32), 0);
    EXPECT_EQ(r.bits(), 32);
    EXPECT_EQ(r.load(path("a.png"), 7), 20027);
}

// ---- failures -----------------------------------------------------------------------------

TEST_F(Codecs, BadFilesGiveCodesAndKeepThePicture)
{
    ASSERT_EQ(picture(24).save(path("one.png"), 75, 0, 0), 0);
    struct {
        const char* name;
        QString file;
        int page;
        int code;
    } rows[] = {
        {"empty name", QString(), 1, 20008},
        {"missing", path("none.png"), 1, 20006},
        {"directory", dir.path(), 1, 20014},
        {"zero length", kMalformed + "empty.png", 1, 20009},
        {"random bytes", kMalformed + "random.bin", 1, 20009},
        {"cut bmp", kMalformed + "truncated.bmp", 1, 20007},
        {"cut rle bmp", kMalformed + "truncated-rle8.bmp", 1, 20007},
        {"cut png", kMalformed + "truncated.png", 1, 20007},
        {"png without end", kMalformed + "no-end.png", 1, 20007},
        {"cut jpeg", kMalformed + "truncated.jpg", 1, 20007},
        {"cut gif", kMalformed + "truncated.gif", 1, 20007},
        {"cut tiff", kMalformed + "truncated.tif", 1, 20007},
        {"huge bmp", kMalformed + "huge.bmp", 1, 20011},
        {"huge png", kMalformed + "huge.png", 1, 20011},
        {"jpeg inside bmp", kMalformed + "jpeg-inside.bmp", 1, 20012},
        {"page past the end", path("one.png"), 2, 20013},
        {"negative page", path("one.png"), -1, 20013},
    };
    const Raster before = picture(8);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Raster r = before;
        EXPECT_EQ(r.load(row.file, 0, row.page), row.code);
        EXPECT_TRUE(r == before);
        EXPECT_EQ(r.palette(), before.palette());
        FileInfo info;
        info.width = -5;
        EXPECT_EQ(Raster::getFileInfo(row.file, row.page, info), row.code);
        EXPECT_EQ(info.width, -5);
    }
}

TEST_F(Codecs, CutOrDamagedFilesNeverGiveAHalfPicture)
{
    ASSERT_EQ(picture(4, 9, 5).save(path("s.bmp"), 6, 0, 0), 0);
    ASSERT_EQ(picture(24, 9, 5).save(path("s.png"), 75, 0, 0), 0);
    ASSERT_EQ(picture(24, 9, 5).save(path("s.jpg"), 10, 0, 0), 0);
    writeTwoPageTiff(path("s.tif"));
    const QString samples[] = {path("s.bmp"), path("s.png"), path("s.jpg"), path("s.tif"),
                               kData + "anim.gif", kData + "rle8.bmp"};
    for (const QString& sample : samples) {
        SCOPED_TRACE(sample.toStdString());
        const QByteArray bytes = readAll(sample);
        Raster full;
        const int page = full.load(sample, 0, 2) == 0 ? 2 : 1;
        ASSERT_EQ(full.load(sample, 0, page), 0);
        const QString damaged = path("damaged");
        // Every cut near the headers and the end, every fifth in between.
        for (qsizetype n = 0; n < bytes.size(); n += (n < 64 || n > bytes.size() - 64) ? 1 : 5) {
            QFile out(damaged);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(bytes.left(n));
            out.close();
            Raster r;
            const int code = r.load(damaged, 0, page);
            if (code == 0)
                ASSERT_TRUE(r == full) << "cut at " << n;
            else
                ASSERT_TRUE(code >= 20000 && code <= 20090) << "cut at " << n;
        }
        for (qsizetype n = 0; n < bytes.size(); n += 3) {
            QByteArray changed = bytes;
            changed[n] = char(changed[n] ^ 0xa5);
            QFile out(damaged);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(changed);
            out.close();
            Raster r;
            FileInfo info;
            const int code = r.load(damaged, 0, page);
            ASSERT_TRUE(code == 0 || (code >= 20000 && code <= 20090)) << "byte " << n;
            const int infoCode = Raster::getFileInfo(damaged, page, info);
            ASSERT_TRUE(infoCode == 0 || (infoCode >= 20000 && infoCode <= 20090)) << "byte " << n;
        }
    }
}

TEST_F(Codecs, SaveRefusesBadArguments)
{
    const Raster r = picture(24);
    struct {
        const char* name;
        Raster raster;
        QString file;
        int format;
        int bits;
        int quality;
        int code;
    } rows[] = {
        {"empty picture", Raster(), path("a"), 6, 0, 0, 20002},
        {"empty name", r, QString(), 6, 0, 0, 20008},
        {"bad depth", r, path("a"), 6, 7, 0, 20027},
        {"os2 32 bits", r, path("a"), 14, 32, 0, 20027},
        {"jpeg 4 bits", r, path("a"), 10, 4, 0, 20027},
        {"jpeg quality", r, path("a"), 10, 24, 300, 20021},
        {"gif not written", r, path("a"), 2, 8, 0, 20012},
        {"missing folder", r, path("no/such/a.bmp"), 6, 0, 0, 20014},
        {"target is a folder", r, dir.path(), 6, 0, 0, 20014},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.raster.save(row.file, row.format, row.bits, row.quality), row.code);
    }
    EXPECT_FALSE(QFile::exists(path("a")));
    EXPECT_TRUE(QFileInfo(dir.path()).isDir());
}

TEST_F(Codecs, FailedSaveLeavesTheOldFile)
{
    const QString file = path("old.bmp");
    ASSERT_EQ(picture(1).save(file, 6, 0, 0), 0);
    const QByteArray old = readAll(file);

    // Writes beyond this size fail (as on a full disk), even for root.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int code = picture(24, 200, 100).save(file, 6, 24, 0);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(code, 20005);
    EXPECT_EQ(readAll(file), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.bmp"});
}

// ---- file information ---------------------------------------------------------------------

TEST_F(Codecs, FileInfoDescribesEachFormat)
{
    ASSERT_EQ(picture(8).save(path("a.bmp"), 6, 0, 0), 0);
    ASSERT_EQ(picture(4).save(path("b.bmp"), 14, 0, 0), 0);
    ASSERT_EQ(picture(1).save(path("c.png"), 75, 0, 0), 0);
    ASSERT_EQ(picture(24).save(path("d.jpg"), 10, 0, 20), 0);
    writeTwoPageTiff(path("e.tif"));

    struct {
        QString file;
        int page;
        int format, width, height, bits, pageCount;
        const char* compression;
        int xRes;
    } rows[] = {
        {path("a.bmp"), 1, 6, 13, 7, 8, 1, "Uncompressed", 150},
        {path("b.bmp"), 0, 14, 13, 7, 4, 1, "Uncompressed", 96},
        {kData + "rle8.bmp", 1, 6, 16, 8, 8, 1, "RLE8", 96},
        {path("c.png"), 1, 75, 13, 7, 1, 1, "Deflate", 150},
        {path("d.jpg"), 1, 10, 13, 7, 24, 1, "JPEG 4:4:4", 150},
        {path("e.tif"), 1, 3, 4, 3, 24, 2, "LZW", 300},
        {path("e.tif"), 2, 3, 5, 2, 4, 2, "Uncompressed", 96},
        {kData + "anim.gif", 2, 2, 4, 3, 1, 2, "LZW", 96},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file.toStdString() + " page " + std::to_string(row.page));
        FileInfo info;
        ASSERT_EQ(Raster::getFileInfo(row.file, row.page, info), 0);
        EXPECT_EQ(info.format, row.format);
        EXPECT_EQ(info.width, row.width);
        EXPECT_EQ(info.height, row.height);
        EXPECT_EQ(info.bits, row.bits);
        EXPECT_EQ(info.page, std::max(row.page, 1));
        EXPECT_EQ(info.pageCount, row.pageCount);
        EXPECT_EQ(info.sizeDisk, fileSize(row.file));
        EXPECT_EQ(info.sizeMem, qint64(row.width) * row.height * 4);
        EXPECT_EQ(info.compression, QString::fromLatin1(row.compression));
        EXPECT_EQ(info.xRes, row.xRes);
    }
}

}  // namespace
