#include "imaging/workshop/operations.h"

#include "imaging/engine/filters.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

using imaging::Raster;
using workshop::ImageBatch;
using workshop::OperationCall;
using workshop::OperationTable;

TEST(OperationTable, ParsesNamesAndArgumentsAsTheEngineTakesThem)
{
    struct Case {
        const char* text;
        const char* name;
        std::vector<int> args;
    };
    const Case cases[] = {
        {"Median=3", "Median", {3}},
        {"gammacorrect=150", "GammaCorrect", {150}},
        {"Rotate=1700,1,ffffff", "Rotate", {1700, 1, 0xffffff}},
        {"Rotate=-4550", "Rotate", {-4550, 1, 0xffffff}},
        {"Invert", "Invert", {}},
        {"AddNoise=1000", "AddNoise", {1000, 0}},
        {"ColorRes=8,2,1,256", "ColorRes", {8, 2, 1, 256}},
        {"Size=320,240,0", "Size", {320, 240, 0}},
        {"Fill=FF8000", "Fill", {0xff8000}},
        {"Grayscale", "Grayscale", {8}},
    };
    for (const Case& c : cases) {
        OperationCall call;
        const auto error = OperationTable::parse(QString::fromUtf8(c.text), call);
        ASSERT_FALSE(error) << c.text << ": " << error->toStdString();
        EXPECT_STREQ(call.operation->name, c.name);
        EXPECT_EQ(call.args, c.args) << c.text;
    }
}

TEST(OperationTable, RefusesMalformedOperations)
{
    const char* bad[] = {
        "Blur=3",            // unknown
        "",                  // nothing
        "=3",                // no name
        "Median",            // argument missing
        "Median=",           // empty argument
        "Median=3,4",        // one too many
        "Median=three",      // not a number
        "Median=3.5",
        "Median= 3",
        "Median=0x10",
        "Median=99999999999",  // beyond 32 bits
        "Rotate=100,2",      // flag not 0 or 1
        "Rotate=100,1,fffff",  // colour too short
        "Rotate=100,1,gggggg",
        "Invert=1",          // takes nothing
        "Ｍedian=3",          // full-width letter
    };
    for (const char* text : bad) {
        OperationCall call;
        const auto error = OperationTable::parse(QString::fromUtf8(text), call);
        EXPECT_TRUE(error.has_value()) << text;
        if (error) {
            EXPECT_FALSE(error->contains(u'\n')) << text;
        }
    }
}

TEST(OperationTable, NamesEveryEngineOperationOnce)
{
    const char* expected[] = {"AddNoise", "Average", "ColorRes", "Contrast", "Emboss", "Fill", "Flip",
                              "GammaCorrect", "Grayscale", "Halftone", "HistoContrast", "HistoEqualize",
                              "Hue", "Intensity", "IntensityDetect", "Invert", "Median", "Mosaic",
                              "Posterize", "Reverse", "Rotate", "Saturation", "Sharpen", "Shear", "Size",
                              "SpatialFilter", "StretchIntensity"};
    EXPECT_EQ(OperationTable::operations().size(), std::size(expected));
    for (const char* name : expected)
        EXPECT_NE(OperationTable::find(QString::fromLatin1(name)), nullptr) << name;
}

class ImageBatchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        input = dir.filePath(QStringLiteral("in.png"));
        Raster r(4, 3, 24, qRgb(10, 20, 30));
        r.setPixel(0, 0, qRgb(200, 100, 0));
        ASSERT_EQ(r.save(input, 75, 24, 0), 0);
    }
    std::optional<QString> batch(const QStringList& args)
    {
        ImageBatch b;
        if (auto error = b.parse(args))
            return error;
        return b.run();
    }
    QTemporaryDir dir;
    QString input;
};

TEST_F(ImageBatchTest, AppliesOperationsInOrderAndWritesByExtension)
{
    const QString out = dir.filePath(QStringLiteral("out.bmp"));
    ASSERT_FALSE(batch({input, out, QStringLiteral("--op"), QStringLiteral("Invert"), QStringLiteral("--op=Rotate=9000,1,ffffff")}));
    Raster r;
    ASSERT_EQ(r.load(out), 0);
    EXPECT_EQ(r.size(), QSize(3, 4));
    Raster expected(4, 3, 24, qRgb(10, 20, 30));
    expected.setPixel(0, 0, qRgb(200, 100, 0));
    imaging::invert(expected);
    expected.rotate(9000, true, qRgb(255, 255, 255));
    EXPECT_EQ(r.image().convertToFormat(QImage::Format_RGB32), expected.image());
    imaging::FileInfo info;
    ASSERT_EQ(Raster::getFileInfo(out, 1, info), 0);
    EXPECT_EQ(info.format, 6);
}

TEST_F(ImageBatchTest, ErrorsAreOneLineAndWriteNothing)
{
    const QString out = dir.filePath(QStringLiteral("out.png"));
    const QStringList cases[] = {
        {},
        {input},
        {input, out, QStringLiteral("--op")},
        {input, out, QStringLiteral("--op"), QStringLiteral("Blur=3")},
        {input, out, QStringLiteral("--op"), QStringLiteral("Median=x")},
        {input, out, QStringLiteral("--op"), QStringLiteral("Median=0")},  // the engine refuses it
        {input, out, QStringLiteral("--op"), QStringLiteral("Invert"), QStringLiteral("--op"), QStringLiteral("Hue=400")},
        {input, out, QStringLiteral("Invert")},
        {input, dir.filePath(QStringLiteral("out.tif"))},
        {input, dir.filePath(QStringLiteral("out"))},
        {dir.filePath(QStringLiteral("missing.png")), out},
        {dir.filePath(QStringLiteral("in.png")), dir.filePath(QStringLiteral("no/such/dir/out.png"))},
    };
    for (const QStringList& args : cases) {
        const auto error = batch(args);
        ASSERT_TRUE(error.has_value()) << args.join(u' ').toStdString();
        EXPECT_FALSE(error->isEmpty());
        EXPECT_FALSE(error->contains(u'\n')) << error->toStdString();
        EXPECT_FALSE(QFileInfo::exists(out)) << args.join(u' ').toStdString();
    }
    // The engine's refusal is named with its message and code.
    const auto error = batch({input, out, QStringLiteral("--op"), QStringLiteral("Median=0")});
    EXPECT_TRUE(error->contains(QStringLiteral("Median=0")));
    EXPECT_TRUE(error->contains(QStringLiteral("20013")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("in.png")});
}
