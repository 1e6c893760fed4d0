#include "core/cp932.h"
#include "core/document.h"

#include <gtest/gtest.h>

#include "support/failingwrites.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <functional>
#include <sys/resource.h>

using namespace core;

namespace {


// Every field of every slot distinct, negative values and a 32-bit angle included; the user
// image in front and a custom figure position.
PortraitState sampleState()
{
    PortraitState s;
    for (int k = 1; k <= 22; ++k) {
        PartSlot& p = s.PartTable[k];
        p.FileNo = std::int16_t(k);
        p.PosX = std::int16_t(k * 10 - 100);
        p.PosY = std::int16_t(k * 11);
        p.BaseX = std::int16_t(k * 12);
        p.BaseY = std::int16_t(-k * 13);
        p.Width = std::int16_t(k * 14);
        p.Height = std::int16_t(k * 15);
        p.GrowW = std::int16_t(-k);
        p.GrowH = std::int16_t(k * 2);
        p.Extra = std::int16_t(k % 5);
        p.Angle = -70000 - k * 1000;
    }
    s.PartTable[kind::User].Extra = 22;
    for (const PartKind k : {kind::Background, kind::Balloon}) {
        s.PartTable[k].Extra = 3;
        s.PartTable[k].ShiftX = 4;
        s.PartTable[k].ShiftY = -2;
    }
    s.FigurePosMode = 3;
    return s;
}

CaptionEntry caption(const QString& text)
{
    CaptionEntry c;
    c.Text = text;
    c.TextSettingA = 7;
    c.FontName = QStringLiteral("ＭＳ 明朝");
    c.FontSize = 14;
    c.FontBold = true;
    c.FontUnderline = true;
    c.TextSettingB = 0xff0000;
    c.TextSettingC = -1;
    c.TextSettingD = 2147483647;
    c.TextSettingE = 4;
    c.TextSettingF = -3;
    c.TextSettingG = 258;
    c.BoxWidth = 120;
    c.BoxHeight = 30;
    c.BoxLeft = -2;
    c.BoxTop = 250;
    c.Shown = true;
    return c;
}

CaptionTable sampleCaptions()
{
    CaptionTable t;
    t[1] = caption(QStringLiteral("山田 太郎"));
    t[2] = caption(QStringLiteral("彼は\"こんにちは\", と言った\""));
    t[3] = caption(QStringLiteral("一行目\r\n二行目\n"));
    t[4] = caption(QStringLiteral("¥100 \\ 表示 😀 𠮷"));
    return t;  // 5 stays cleared
}

const QByteArray kFirstLine = encodeCp932(
    u"\"山田 太郎\",7,\"ＭＳ 明朝\",14,#TRUE#,#FALSE#,#TRUE#,#FALSE#,16711680,-1,2147483647,"
    u"4,-3,258,120,30,-2,250,#TRUE#\r\n");
const QByteArray kClearedLine =
    "\"\",0,\"\",0,#FALSE#,#FALSE#,#FALSE#,#FALSE#,0,0,0,0,0,0,0,0,0,0,#FALSE#\r\n";

// A state left over from another portrait, to see what loading replaces.
PortraitState leftover()
{
    PortraitState s;
    for (int k = 1; k <= 22; ++k)
        s.PartTable[k].FileNo = 5;
    s.PartTable[kind::AnimalBody].FileNo = 7;
    s.FigurePosMode = 1;
    return s;
}

// The default portrait's part numbers; the animal kinds keep what leftover() gave them.
void expectDefaultPartNumbers(const PortraitState& s)
{
    for (int k = 1; k <= 22; ++k) {
        const bool face = k == 3 || k == 6 || k == 7 || (k >= 9 && k <= 14) || k == 19;
        const int expected = face ? 1 : k == 5 ? 7 : k == 21 ? 5 : 0;
        EXPECT_EQ(s.PartTable[k].FileNo, expected) << "kind " << k;
    }
}

class DocumentTest : public testing::Test {
protected:
    QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }
    QStringList files() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                          QDir::Name);
    }
    QTemporaryDir dir;
};

}  // namespace

TEST_F(DocumentTest, RoundTripKeepsEveryFieldAndCaption)
{
    PortraitState state = sampleState();
    const CaptionTable captions = sampleCaptions();
    ASSERT_EQ(SaveDocument(path("face.fcr"), state, captions), std::nullopt);
    EXPECT_EQ(state, sampleState());  // custom figure position: the steps stay

    const QByteArray doc = readBytes(path("face.fcr"));
    ASSERT_EQ(doc.size(), 616);
    const PartSlot::Bytes record7 = sampleState().PartTable[7].toBytes();
    EXPECT_EQ(doc.mid(6 * 28, 28), QByteArray(reinterpret_cast<const char*>(record7.data()), 28));
    const QByteArray companion = readBytes(path("face.fcr.fcm"));
    EXPECT_TRUE(companion.startsWith(kFirstLine));
    EXPECT_TRUE(companion.endsWith(kClearedLine));
    EXPECT_EQ(companion.count("\r\n"), 5);
    EXPECT_EQ(companion.count('\n'), 5);

    PortraitState loaded = leftover();
    CaptionTable loadedCaptions;
    const DocumentLoad result = LoadDocument(path("face.fcr"), loaded, loadedCaptions);
    EXPECT_EQ(result.status, DocumentLoad::Status::Loaded);
    EXPECT_FALSE(result.freshPortrait);
    EXPECT_EQ(result.error, QString());
    EXPECT_EQ(loaded.PartTable, sampleState().PartTable);
    EXPECT_EQ(loadedCaptions, captions);
    EXPECT_EQ(loaded.LayerOrder[22], kind::User);
    EXPECT_EQ(loaded.LayerOrder[2], 3);
    EXPECT_EQ(loaded.FigurePosMode, 3);
    EXPECT_EQ(loaded.FigureStepX, 4);
    EXPECT_EQ(loaded.FigureStepY, -2);
    EXPECT_EQ(readBytes(path("face.fcr")), doc);
    EXPECT_EQ(files(), QStringList({"face.fcr", "face.fcr.fcm"}));
}

TEST_F(DocumentTest, FigureStepsAreKeptOnlyForACustomPosition)
{
    PortraitState state = sampleState();
    state.FigurePosMode = 2;  // "右"
    state.PartTable[kind::Background].Extra = 2;
    ASSERT_EQ(SaveDocument(path("right.fcr"), state, CaptionTable()), std::nullopt);
    for (const PartKind k : {kind::Background, kind::Balloon}) {
        EXPECT_EQ(state.PartTable[k].ShiftX, 0);
        EXPECT_EQ(state.PartTable[k].ShiftY, 0);
    }
    PortraitState loaded;
    CaptionTable captions;
    LoadDocument(path("right.fcr"), loaded, captions);
    EXPECT_EQ(loaded.FigurePosMode, 2);
    EXPECT_EQ(loaded.FigureStepX, 0);
    EXPECT_EQ(loaded.PartTable, state.PartTable);
}

TEST_F(DocumentTest, OldDocumentIsUpgradedTo616Bytes)
{
    PortraitState old = sampleState();
    QByteArray bytes;
    for (int k = 1; k <= 22; ++k) {
        old.PartTable[k].ShiftX = old.PartTable[k].ShiftY = 0;
        const PartSlot::Bytes b = old.PartTable[k].toBytes();
        bytes.append(reinterpret_cast<const char*>(b.data()), 24);
    }
    ASSERT_EQ(bytes.size(), 528);
    writeBytes(path("old.fcr"), bytes);

    PortraitState loaded = leftover();
    CaptionTable captions;
    const DocumentLoad result = LoadDocument(path("old.fcr"), loaded, captions);
    EXPECT_EQ(result.status, DocumentLoad::Status::Upgraded);
    EXPECT_FALSE(result.freshPortrait);
    EXPECT_EQ(result.error, QString());
    EXPECT_EQ(loaded.PartTable, old.PartTable);
    EXPECT_EQ(loaded.LayerOrder[22], kind::User);
    EXPECT_EQ(readBytes(path("old.fcr")), encodeDocument(old.PartTable));
    // It had no companion: one is written, with no captions.
    EXPECT_EQ(readBytes(path("old.fcr.fcm")), kClearedLine.repeated(5));
}

TEST_F(DocumentTest, MissingWorkSnapshotBecomesTheDefaultPortrait)
{
    const QString snapshot = workSnapshotPath(dir.path());
    EXPECT_EQ(snapshot, path("Ravoze.sav"));
    PortraitState state = leftover();
    CaptionTable captions = sampleCaptions();  // the previous portrait's texts must not stay
    const DocumentLoad result = LoadDocument(snapshot, state, captions);
    EXPECT_EQ(result.status, DocumentLoad::Status::Created);
    EXPECT_TRUE(result.freshPortrait);
    EXPECT_EQ(result.error, QString());
    expectDefaultPartNumbers(state);
    EXPECT_EQ(captions, CaptionTable());
    EXPECT_EQ(files(), QStringList({"Ravoze.sav", "Ravoze.sav.sac"}));
    EXPECT_EQ(readBytes(snapshot), encodeDocument(state.PartTable));
    EXPECT_EQ(readBytes(path("Ravoze.sav.sac")), kClearedLine.repeated(5));
}

TEST_F(DocumentTest, DamagedDocumentGivesTheDefaultAndIsLeftAlone)
{
    const QByteArray garbage = QByteArray("\xff\x00\x7f\x80", 4).repeated(1024);
    struct Row {
        const char* name;
        QByteArray bytes;
    };
    const Row rows[] = {
        {"empty", QByteArray()},       {"one byte", "x"},
        {"527", garbage.left(527)},    {"615", garbage.left(615)},
        {"617", garbage.left(617)},    {"4096", garbage},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        writeBytes(path("bad.fcr"), row.bytes);
        PortraitState state = leftover();
        CaptionTable captions = sampleCaptions();
        const DocumentLoad result = LoadDocument(path("bad.fcr"), state, captions);
        EXPECT_EQ(result.status, DocumentLoad::Status::Damaged);
        EXPECT_TRUE(result.freshPortrait);
        EXPECT_FALSE(result.error.isEmpty());
        expectDefaultPartNumbers(state);
        EXPECT_EQ(captions, CaptionTable());
        EXPECT_EQ(readBytes(path("bad.fcr")), row.bytes);
        EXPECT_EQ(files(), QStringList({"bad.fcr"}));
    }

    // A folder where the document should be, with captions beside it that are still read.
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.fcr"));
    PortraitState state = leftover();
    CaptionTable captions;
    PortraitState unused = sampleState();
    ASSERT_EQ(SaveDocument(path("other.fcr"), unused, sampleCaptions()), std::nullopt);
    ASSERT_TRUE(QFile::rename(path("other.fcr.fcm"), path("folder.fcr.fcm")));
    const QByteArray companion = readBytes(path("folder.fcr.fcm"));
    const DocumentLoad result = LoadDocument(path("folder.fcr"), state, captions);
    EXPECT_EQ(result.status, DocumentLoad::Status::Damaged);
    EXPECT_EQ(captions, sampleCaptions());
    EXPECT_EQ(readBytes(path("folder.fcr.fcm")), companion);
}

TEST_F(DocumentTest, MissingCompanionHidesTheCaptionsAndIsWritten)
{
    PortraitState state = sampleState();
    ASSERT_EQ(SaveDocument(path("face.fcr"), state, sampleCaptions()), std::nullopt);
    ASSERT_TRUE(QFile::remove(path("face.fcr.fcm")));
    CaptionTable captions = sampleCaptions();
    const DocumentLoad result = LoadDocument(path("face.fcr"), state, captions);
    EXPECT_EQ(result.status, DocumentLoad::Status::Loaded);
    EXPECT_EQ(captions, CaptionTable());
    EXPECT_EQ(readBytes(path("face.fcr.fcm")), kClearedLine.repeated(5));
}

TEST_F(DocumentTest, CompanionNamesIgnoreLetterCase)
{
    // Capital extensions keep their captions (rather than having no companion at all).
    PortraitState state = sampleState();
    ASSERT_EQ(SaveDocument(path("FACE.FCR"), state, sampleCaptions()), std::nullopt);
    EXPECT_EQ(files(), QStringList({"FACE.FCR", "FACE.FCR.fcm"}));
    CaptionTable captions;
    LoadDocument(path("FACE.FCR"), state, captions);
    EXPECT_EQ(captions, sampleCaptions());

    // Files copied from a system whose names ignore case are found as they are spelled.
    ASSERT_TRUE(QFile::rename(path("FACE.FCR"), path("RAVOZE.SAV")));
    ASSERT_TRUE(QFile::rename(path("FACE.FCR.fcm"), path("ravoze.SAV.SAC")));
    EXPECT_EQ(workSnapshotPath(dir.path()), path("RAVOZE.SAV"));
    EXPECT_EQ(companionPath(path("RAVOZE.SAV")), path("ravoze.SAV.SAC"));
    captions = CaptionTable();
    LoadDocument(workSnapshotPath(dir.path()), state, captions);
    EXPECT_EQ(captions, sampleCaptions());
    ASSERT_EQ(SaveDocument(workSnapshotPath(dir.path()), state, CaptionTable()), std::nullopt);
    EXPECT_EQ(files(), QStringList({"RAVOZE.SAV", "ravoze.SAV.SAC"}));
    EXPECT_EQ(readBytes(path("ravoze.SAV.SAC")), kClearedLine.repeated(5));

    EXPECT_EQ(companionPath(path("face.fcr")), path("face.fcr.fcm"));
    EXPECT_EQ(companionPath(path("face.bak")), path("face.bak.fcm"));
}

TEST(Companion, TextsAreEscapedOnlyWhereTheyMustBe)
{
    struct Row {
        const char* name;
        QString text;
        QByteArray written;  // the text field as written; empty: not checked
    };
    const Row rows[] = {
        {"ordinary Japanese with a comma", QStringLiteral("山田, 太郎"), encodeCp932(u"\"山田, 太郎\"")},
        {"yen and backslash", QStringLiteral("¥100 \\ 表示ソ"), QByteArray()},
        {"quote", QStringLiteral("a\"b"), "\"a\"\"b\""},
        {"quote and comma", QStringLiteral("\",\""), "\"\"\",\"\"\""},
        {"quote before n", QStringLiteral("\"n"), "\"\"\"n\""},
        {"CR LF", QStringLiteral("x\r\ny"), "\"x\"r\"ny\""},
        {"lone line feed", QStringLiteral("\n"), "\"\"n\""},
        {"outside CP932", QStringLiteral("😀𠮷"), "\"\"u{1F600}\"u{20BB7}\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CaptionTable t;
        t[3] = caption(row.text);
        t[3].FontName = row.text;
        const QByteArray bytes = encodeCompanion(t);
        EXPECT_EQ(bytes.count('\n'), 5);
        EXPECT_EQ(bytes.count("\r\n"), 5);
        if (!row.written.isEmpty()) {
            EXPECT_TRUE(bytes.contains("\r\n" + row.written + ",7,"));
        }
        bool damaged = true;
        EXPECT_EQ(decodeCompanion(bytes, &damaged), t);
        EXPECT_FALSE(damaged);
    }
    // A lone surrogate is no character; it must not make the line unreadable.
    CaptionTable t;
    t[1].Text = QString(QChar(0xd800));
    bool damaged = true;
    EXPECT_EQ(decodeCompanion(encodeCompanion(t), &damaged)[1].Text, QString(QChar(0xfffd)));
    EXPECT_FALSE(damaged);
}

TEST(Companion, DamagedLinesGiveClearedCaptions)
{
    const QByteArray good = encodeCompanion(sampleCaptions()).split('\n').first() + '\n';
    struct Row {
        const char* name;
        QByteArray bytes;
        int goodLines;  // leading lines expected to be read
    };
    const Row rows[] = {
        {"empty", QByteArray(), 0},
        {"garbage", "garbage", 0},
        {"three good lines", good.repeated(3), 3},
        {"LF only", QByteArray(good).replace("\r\n", "\n").repeated(5), 5},
        {"unterminated quote", good + "\"abc,1,2\r\n" + good.repeated(3), 1},
        {"too few fields", good + "\"a\",1,\"b\",2\r\n" + good.repeated(3), 1},
        {"text where a number goes", good + QByteArray(good).replace(",7,", ",\"7\",") + good.repeated(3), 1},
        {"junk after a quote", good + QByteArray(good).replace("\",7,", "\"x,7,") + good.repeated(3), 1},
        {"invalid escape", good + "\"\"u{zz}\",0\r\n" + good.repeated(3), 1},
        {"binary", QByteArray("\x00\xff\x81\"\r\n", 6).repeated(50), 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        bool damaged = false;
        const CaptionTable t = decodeCompanion(row.bytes, &damaged);
        EXPECT_EQ(damaged, row.goodLines < 5);
        for (int n = 1; n <= row.goodLines; ++n)
            EXPECT_EQ(t[n], sampleCaptions()[1]) << n;
        if (row.goodLines < 5) {
            EXPECT_EQ(t[row.goodLines + 1], CaptionEntry());
        }
    }
}

TEST_F(DocumentTest, FailedSaveLeavesBothPreviousFiles)
{
    PortraitState oldState = sampleState();
    ASSERT_EQ(SaveDocument(path("face.fcr"), oldState, sampleCaptions()), std::nullopt);
    const QByteArray oldDoc = readBytes(path("face.fcr"));
    const QByteArray oldCompanion = readBytes(path("face.fcr.fcm"));

    PortraitState newState;
    CaptionTable bigCaptions;
    bigCaptions[1] = caption(QString(3000, u'x'));

    // A file size limit makes a write fail half-way, as a full disk would.
    auto withSizeLimit = [](rlim_t limit, const std::function<void()>& body) {
        rlimit old{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
        rlimit small = old;
        small.rlim_cur = limit;
        auto previous = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        body();
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previous);
    };
    struct Row {
        const char* name;
        rlim_t limit;
        CaptionTable captions;
    };
    const Row rows[] = {
        {"the document cannot be written", 300, CaptionTable()},
        {"the companion cannot be written", 1000, bigCaptions},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::optional<QString> error;
        withSizeLimit(row.limit, [&] { error = SaveDocument(path("face.fcr"), newState, row.captions); });
        EXPECT_NE(error, std::nullopt);
        EXPECT_EQ(readBytes(path("face.fcr")), oldDoc);
        EXPECT_EQ(readBytes(path("face.fcr.fcm")), oldCompanion);
        EXPECT_EQ(files(), QStringList({"face.fcr", "face.fcr.fcm"}));
    }

    // The companion's place is taken by a folder: the document must not change either.
    ASSERT_TRUE(QFile::rename(path("face.fcr.fcm"), path("kept.fcm")));
    ASSERT_TRUE(QDir(dir.path()).mkdir("face.fcr.fcm"));
    EXPECT_NE(SaveDocument(path("face.fcr"), newState, CaptionTable()), std::nullopt);
    EXPECT_EQ(readBytes(path("face.fcr")), oldDoc);
    EXPECT_EQ(files(), QStringList({"face.fcr", "face.fcr.fcm", "kept.fcm"}));
}

TEST_F(DocumentTest, SaveReplacesALongerFileWhole)
{
    writeBytes(path("face.fcr"), QByteArray(700, 'z'));
    PortraitState state = sampleState();
    ASSERT_EQ(SaveDocument(path("face.fcr"), state, CaptionTable()), std::nullopt);
    EXPECT_EQ(readBytes(path("face.fcr")), encodeDocument(state.PartTable));
    PortraitState loaded;
    CaptionTable captions;
    EXPECT_EQ(LoadDocument(path("face.fcr"), loaded, captions).status, DocumentLoad::Status::Loaded);
}

// A save killed between putting the document in place and putting the companion in place
// leaves the new document and the new companion under its pending name; killed earlier, the
// old pair and a pending companion that matches no document. Either way a load must give a
// pair that was saved together.
TEST_F(DocumentTest, KilledSaveGivesTheOldPairOrTheNewOne)
{
    PortraitState stateA = sampleState();
    ASSERT_EQ(SaveDocument(path("face.fcr"), stateA, sampleCaptions()), std::nullopt);
    const QByteArray docA = readBytes(path("face.fcr"));
    const QByteArray compA = readBytes(path("face.fcr.fcm"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("b"));
    PortraitState stateB = sampleState();
    stateB.PartTable[kind::Nose].PosX = 77;
    CaptionTable captionsB;
    captionsB[2] = caption(QStringLiteral("新しい文字"));
    ASSERT_EQ(SaveDocument(path("b/face.fcr"), stateB, captionsB), std::nullopt);
    const QByteArray docB = readBytes(path("b/face.fcr"));
    const QByteArray compB = readBytes(path("b/face.fcr.fcm"));
    const QString pendingB = pendingCompanionPath(path("face.fcr.fcm"), docB);

    struct Row {
        const char* name;
        QByteArray doc;
        bool writeBack;
        CaptionTable captions;
        QByteArray companionAfter;
        QStringList filesAfter;
    };
    const QStringList pair = {"b", "face.fcr", "face.fcr.fcm"};
    const QString pendingName = QFileInfo(pendingB).fileName();
    const Row rows[] = {
        {"killed after the document's rename", docB, true, captionsB, compB, pair},
        {"killed before the document's rename", docA, true, sampleCaptions(), compA, pair},
        {"batch read after the document's rename", docB, false, captionsB, compA,
         {"b", "face.fcr", "face.fcr.fcm", pendingName}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        writeBytes(path("face.fcr"), row.doc);
        writeBytes(path("face.fcr.fcm"), compA);
        writeBytes(pendingB, compB);
        PortraitState loaded = leftover();
        CaptionTable captions;
        const DocumentLoad result = LoadDocument(path("face.fcr"), loaded, captions, row.writeBack);
        EXPECT_EQ(result.status, DocumentLoad::Status::Loaded);
        EXPECT_EQ(result.error, QString());
        EXPECT_EQ(captions, row.captions);
        EXPECT_EQ(readBytes(path("face.fcr.fcm")), row.companionAfter);
        EXPECT_EQ(files(), row.filesAfter);
        QFile::remove(pendingB);
    }

    // A temporary of a save killed while writing is cleared away, the pair left as it is.
    writeBytes(path("face.fcr"), docA);
    writeBytes(path(".face.fcr.0123abcd.tmp"), docB.left(100));
    writeBytes(path(".face.fcr.fcm.89abcdef.tmp"), compB.left(10));
    PortraitState loaded;
    CaptionTable captions;
    LoadDocument(path("face.fcr"), loaded, captions);
    EXPECT_EQ(captions, sampleCaptions());
    EXPECT_EQ(files(), pair);
}

TEST_F(DocumentTest, FullDiskLeavesThePreviousPairAndSaysWhyInJapanese)
{
    PortraitState oldState = sampleState();
    ASSERT_EQ(SaveDocument(path("face.fcr"), oldState, sampleCaptions()), std::nullopt);
    const QByteArray oldDoc = readBytes(path("face.fcr"));
    const QByteArray oldCompanion = readBytes(path("face.fcr.fcm"));
    struct Row {
        const char* name;
        long long allowed;
        int error;
        const char16_t* says;
    };
    const Row rows[] = {
        {"nothing can be written", 0, ENOSPC, u"ディスクの空き容量が足りません"},
        {"the companion fits, the document does not", 520, ENOSPC, u"ディスクの空き容量が足りません"},
        {"the device fails", 600, EIO, u"入出力エラー"},
        {"a read-only file system", 0, EROFS, u"読み取り専用"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PortraitState newState;
        std::optional<QString> error;
        {
            FailingWrites disk(row.allowed, row.error);
            error = SaveDocument(path("face.fcr"), newState, CaptionTable());
        }
        ASSERT_NE(error, std::nullopt);
        EXPECT_TRUE(error->contains(QString::fromUtf16(row.says))) << error->toStdString();
        EXPECT_TRUE(error->startsWith(u"face.fcr")) << error->toStdString();
        EXPECT_EQ(readBytes(path("face.fcr")), oldDoc);
        EXPECT_EQ(readBytes(path("face.fcr.fcm")), oldCompanion);
        EXPECT_EQ(files(), QStringList({"face.fcr", "face.fcr.fcm"}));
    }
}

TEST_F(DocumentTest, ImpossibleSizesAreBoundedOnLoad)
{
    PortraitState state = sampleState();
    const PartTable madeByUser = state.PartTable;
    state.PartTable[kind::Nose].GrowW = 32767;
    state.PartTable[kind::Nose].GrowH = 32767;
    state.PartTable[kind::Mouth].Width = 32767;
    state.PartTable[kind::Mouth].Height = -5;
    writeBytes(path("huge.fcr"), encodeDocument(state.PartTable));
    PortraitState loaded;
    CaptionTable captions;
    ASSERT_EQ(LoadDocument(path("huge.fcr"), loaded, captions).status, DocumentLoad::Status::Loaded);
    const PartSlot& nose = loaded.PartTable[kind::Nose];
    EXPECT_EQ(nose.Width + nose.GrowW, kMaxPartExtent);
    EXPECT_EQ(nose.Height + nose.GrowH, kMaxPartExtent);
    EXPECT_EQ(loaded.PartTable[kind::Mouth].Width, kMaxPartExtent);
    EXPECT_EQ(loaded.PartTable[kind::Mouth].Height, 0);
    for (int k = 1; k <= 22; ++k) {
        if (k != kind::Nose && k != kind::Mouth)
            EXPECT_EQ(loaded.PartTable[k], madeByUser[k]) << "kind " << k;
    }
}
