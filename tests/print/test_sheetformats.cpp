#include "print/sheetformats.h"
#include "print/sheetlayout.h"
#include "support/testfiles.h"

#include "core/cp932.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace print;

namespace {

PrintSheetFormat format(const QString& name, const QString& rows = QStringLiteral("2"))
{
    PrintSheetFormat f;
    f.fields = {name, QStringLiteral("10"), QStringLiteral(" 5"), QStringLiteral("0"), QStringLiteral("50"),
                QStringLiteral("2.5"), QStringLiteral("3"), rows, QStringLiteral("3")};
    return f;
}

SheetFormatTable tableOf(int n)
{
    SheetFormatTable t;
    for (int i = 1; i <= n; ++i)
        t[i] = format(QStringLiteral("形式%1").arg(i));
    t.count = std::int16_t(n);
    return t;
}

}  // namespace

TEST(SheetFormatFile, WritesNineQuotedFieldsPerLineInCp932AndReadsThemBack)
{
    SheetFormatTable t;
    t[1] = format(QStringLiteral("名刺, 10面"));  // a comma stays inside the quotes
    t[2] = format(QStringLiteral("A \"quoted\" name"));
    t[3] = format(QString());                     // a free slot: not written
    t[4] = format(QStringLiteral("証明写真"));
    t.count = 4;
    bool lossy = true;
    const QByteArray bytes = encodeSheetFormats(t, &lossy);
    EXPECT_FALSE(lossy);
    const QByteArray first = core::encodeCp932(u"\"名刺, 10面\",\"10\",\" 5\",\"0\",\"50\",\"2.5\",\"3\",\"2\",\"3\"\r\n");
    EXPECT_TRUE(bytes.startsWith(first)) << bytes.constData();
    EXPECT_EQ(bytes.count("\r\n"), 3);

    SheetFormatParse info;
    const SheetFormatTable back = parseSheetFormats(bytes, &info);
    ASSERT_EQ(back.count, 3);
    EXPECT_EQ(back[1], t[1]);
    EXPECT_EQ(back[2], t[2]);
    EXPECT_EQ(back[3], t[4]);
    EXPECT_EQ(info.shortLines, 0);
    EXPECT_EQ(info.ignoredLines, 0);
}

TEST(SheetFormatFile, ShortLinesBlankLinesAndUnquotedFields)
{
    const QByteArray bytes = "\"a\",\"1\",\"2\"\r\n\r\n  \nb , 3 ,\"4\",5,6,7,8,9,1,\"extra\"\n\"c\"";
    SheetFormatParse info;
    const SheetFormatTable t = parseSheetFormats(bytes, &info);
    ASSERT_EQ(t.count, 3);
    EXPECT_EQ(t[1][PrintSheetFormat::TopMargin], "1");
    EXPECT_EQ(t[1][PrintSheetFormat::LeftMargin], "2");
    EXPECT_EQ(t[1][PrintSheetFormat::Columns], "");
    EXPECT_EQ(t[2].name(), "b");
    EXPECT_EQ(t[2][PrintSheetFormat::TopMargin], "3");
    EXPECT_EQ(t[2][PrintSheetFormat::Columns], "1");
    EXPECT_EQ(t[3].name(), "c");
    EXPECT_EQ(info.shortLines, 2);
}

TEST(SheetFormatFile, LinesPastFiftyAreLeftOutAndCounted)
{
    QByteArray bytes;
    for (int i = 1; i <= 53; ++i)
        bytes += QStringLiteral("\"f%1\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\"\r\n").arg(i).toLatin1();
    SheetFormatParse info;
    const SheetFormatTable t = parseSheetFormats(bytes, &info);
    EXPECT_EQ(t.count, 50);
    EXPECT_EQ(t[50].name(), "f50");
    EXPECT_EQ(info.ignoredLines, 3);
}

TEST(SheetFormatFile, BytesThatAreNotCp932BecomeQuestionMarks)
{
    SheetFormatParse info;
    const SheetFormatTable t =
        parseSheetFormats(QByteArray("\"a\xff") + core::encodeCp932(u"顔\",\"1\""), &info);
    ASSERT_EQ(t.count, 1);
    EXPECT_TRUE(info.undecodable);
    EXPECT_EQ(t[1].name(), QStringLiteral("a?顔"));
    EXPECT_EQ(t[1][PrintSheetFormat::TopMargin], "1");
}

TEST(SheetFormatTable, DeleteMovesTheLaterEntriesDown)
{
    SheetFormatTable t = tableOf(5);
    ASSERT_TRUE(t.remove(3));
    EXPECT_EQ(t.count, 4);
    const QStringList names = {"形式1", "形式2", "形式4", "形式5"};
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(t[i].name(), names[i - 1]);
    EXPECT_TRUE(t[5].isFree());
    EXPECT_FALSE(t.remove(5));
    EXPECT_FALSE(t.remove(0));

    SheetFormatTable full = tableOf(50);
    ASSERT_TRUE(full.remove(50));
    EXPECT_EQ(full.count, 49);
    EXPECT_TRUE(full[50].isFree());
    full = tableOf(50);
    ASSERT_TRUE(full.remove(1));
    EXPECT_EQ(full[1].name(), "形式2");
    EXPECT_EQ(full[49].name(), "形式50");
}

TEST(SheetFormatStore, MissingFileIsEmptyAndUnreadableFileIsNeverReplaced)
{
    QTemporaryDir dir;
    SheetFormatStore missing(sheetFormatPath(dir.path()));
    EXPECT_EQ(missing.load().status, SheetFormatLoad::Status::Missing);
    EXPECT_EQ(missing.table().count, 0);
    EXPECT_TRUE(missing.loadMessage().isEmpty());
    missing.table() = tableOf(2);
    ASSERT_EQ(missing.save(), std::nullopt);
    EXPECT_EQ(readBytes(dir.filePath("PRTSET.DFT")), encodeSheetFormats(tableOf(2)));

    // A folder where the file should be cannot be read, and nothing is saved over it.
    QTemporaryDir other;
    ASSERT_TRUE(QDir(other.path()).mkdir("PRTSET.DFT"));
    SheetFormatStore unreadable(sheetFormatPath(other.path()));
    EXPECT_EQ(unreadable.load().status, SheetFormatLoad::Status::Unreadable);
    EXPECT_FALSE(unreadable.loadMessage().isEmpty());
    EXPECT_NE(unreadable.save(), std::nullopt);

    // Unreadable for lack of permission (root reads anything, so only where it applies).
    const QString locked = dir.filePath("PRTSET.DFT");
    QFile::setPermissions(locked, QFileDevice::Permissions());
    QFile probe(locked);
    if (!probe.open(QIODevice::ReadOnly)) {
        SheetFormatStore store(locked);
        EXPECT_EQ(store.load().status, SheetFormatLoad::Status::Unreadable);
        EXPECT_NE(store.save(), std::nullopt);
    }
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST(SheetFormatStore, FindsTheFileWithoutRegardToCaseAndSavesAtomically)
{
    QTemporaryDir dir;
    writeBytes(dir.filePath("prtset.dft"), encodeSheetFormats(tableOf(3)));
    SheetFormatStore store(sheetFormatPath(dir.path()));
    ASSERT_EQ(store.load().status, SheetFormatLoad::Status::Loaded);
    EXPECT_EQ(store.table().count, 3);
    store.table().remove(2);
    ASSERT_EQ(store.save(), std::nullopt);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"prtset.dft"});
    EXPECT_EQ(parseSheetFormats(readBytes(dir.filePath("prtset.dft"))).count, 2);
}

TEST(SheetFormatStore, TooManyLinesAreReportedOnce)
{
    QTemporaryDir dir;
    QByteArray bytes = encodeSheetFormats(tableOf(50));
    bytes += "\"51\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\"\r\n";
    writeBytes(dir.filePath("PRTSET.DFT"), bytes);
    SheetFormatStore store(sheetFormatPath(dir.path()));
    store.load();
    EXPECT_EQ(store.table().count, 50);
    EXPECT_TRUE(store.loadMessage().contains("50"));
    EXPECT_TRUE(store.writable());
}

TEST(DeliveredFormats, EveryFormatReadsAndValidates)
{
    SheetFormatTable t;
    const SheetFormatLoad load = LoadSheetFormats(QStringLiteral(FACIORA_DATA_DIR "/PRTSET.DFT"), t);
    ASSERT_EQ(load.status, SheetFormatLoad::Status::Loaded);
    EXPECT_EQ(t.count, 6);
    EXPECT_EQ(load.parse.shortLines, 0);
    EXPECT_FALSE(load.parse.undecodable);
    for (int n = 1; n <= t.count; ++n) {
        LayoutTexts texts;
        for (int f = 0; f < 8; ++f) {
            texts[std::size_t(f)] = t[n][f + 1];
            EXPECT_LE(t[n][f + 1].size(), fieldMaxLength(f + 1)) << n;
        }
        EXPECT_LE(t[n].name().size(), 30);
        SheetLayout layout;
        EXPECT_EQ(ValidateSheetLayout(texts, layout), std::nullopt) << t[n].name().toStdString();
        // Every cell on the A4 sheet.
        const Grid grid = printGrid(layout, QSizeF(210, 297), QSize(300, 395));
        EXPECT_LE(grid.cells.last().x() + grid.cellWidth, 210) << n;
        EXPECT_LE(grid.cells.last().y() + grid.cellHeight, 297) << n;
    }
}

TEST(SheetFormatFile, SeedCorpusSurvivesWritingAndReadingAgain)
{
    const QDir corpus(QStringLiteral(FACIORA_TEST_DATA "/fuzz/corpus/sheetformats"));
    const QStringList seeds = corpus.entryList(QDir::Files);
    ASSERT_FALSE(seeds.isEmpty());
    for (const QString& seed : seeds) {
        const SheetFormatTable table = parseSheetFormats(readBytes(corpus.filePath(seed)));
        const SheetFormatTable again = parseSheetFormats(encodeSheetFormats(table));
        int n = 0;
        for (int i = 1; i <= table.count; ++i) {
            if (!table[i].isFree())
                EXPECT_EQ(again[++n], table[i]) << seed.toStdString() << " entry " << i;
        }
        EXPECT_EQ(again.count, n) << seed.toStdString();
    }
}
