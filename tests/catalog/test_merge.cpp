// Merging add-on parts into the parts database, deleting parts, and the count holder.
#include "testdb.h"

#include "catalog/partops.h"
#include "catalog/schema.h"
#include "imaging/engine/imagefield.h"
#include "imaging/engine/raster.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

using namespace catalog;
using testdb::Seen;

namespace {

const QString kList = QLatin1String(kListOrderSource);
const QString kMerge = QLatin1String(kMergeOrderSource);

struct FakeSink : DeleteErrorSink {
    void deleteError(const QString& message) override { messages << message; }
    QStringList messages;
};

class Merge : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        target = dir.filePath(QStringLiteral("Ravoze.mdb"));
        source = dir.filePath(QStringLiteral("addon.mdb"));
        QList<testdb::Row> rows{testdb::blankTile()};
        rows += testdb::category(7, {10, 20});
        rows += testdb::category(9, {5});
        rows += testdb::category(10, {5});
        rows += testdb::category(13, {1});
        testdb::build(target, rows);
    }

    void makeSource(const QList<testdb::Row>& parts)
    {
        QList<testdb::Row> rows{testdb::blankTile()};
        testdb::build(source, rows + parts);
    }

    void openBoth()
    {
        ASSERT_TRUE(src.open(source, kList, OpenMode::ReadOnly).ok());
        ASSERT_TRUE(dst.open(target, kMerge).ok());
    }

    // FileNo of each part of a category with the FileCnt of its first record.
    QList<std::pair<int, QVariant>> parts(int category)
    {
        QList<std::pair<int, QVariant>> out;
        for (const Seen& r : testdb::records(target, category)) {
            if (out.isEmpty() || out.last().first != r.fileNo)
                out << std::pair<int, QVariant>(r.fileNo, r.fileCnt);
        }
        return out;
    }

    QTemporaryDir dir;
    QString target;
    QString source;
    PartsDatabase src;
    PartsDatabase dst;
};

using Parts = QList<std::pair<int, QVariant>>;
const QVariant Null;
QVariant n(int v) { return QVariant(qlonglong(v)); }

}  // namespace

TEST_F(Merge, NewPartsAreCopiedFieldForFieldAndTheCountMovesToTheNewFirstPart)
{
    makeSource(testdb::category(7, {5, 10, 30}));
    openBoth();
    int events = 0;
    const MergeResult r = CopyCategoryParts(src, dst, 7, [&] { ++events; });
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.added, 2);
    EXPECT_EQ(events, 3);  // once before each part of the file

    // 5 is smaller than every existing number: it becomes the count holder, 10 loses it.
    EXPECT_EQ(parts(7), (Parts{{5, n(4)}, {10, Null}, {20, Null}, {30, Null}}));
    EXPECT_EQ(testdb::records(target, 7).size(), 8);

    // Every field but FileCnt is carried over unchanged.
    PartsDatabase check;
    ASSERT_TRUE(check.open(target, kList).ok());
    ASSERT_TRUE(src.findFirst("PictureID = 7 AND FileNo = 30").ok());
    ASSERT_TRUE(check.findFirst("PictureID = 7 AND FileNo = 30").ok());
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 13; ++column)
            EXPECT_EQ(check.value(column), src.value(column)) << kPeopleFields[column];
        EXPECT_TRUE(check.value("FileCnt").isNull());
        src.moveNext();
        check.moveNext();
    }

    // The target is left requeried, on the count holder.
    EXPECT_EQ(dst.value("FileNo").toInt(), 5);
    EXPECT_EQ(dst.value("FileCnt").toInt(), 4);
}

TEST_F(Merge, AMergeThatAddsNothingLeavesTheCount)
{
    makeSource(testdb::category(7, {10, 20}));
    const QList<Seen> before = testdb::records(target);
    openBoth();
    const MergeResult r = CopyCategoryParts(src, dst, 7);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.added, 0);
    EXPECT_EQ(testdb::records(target), before);
}

TEST_F(Merge, IntoACategoryTheTargetLacks)
{
    makeSource(testdb::category(3, {2, 1}));
    openBoth();
    const MergeResult r = CopyCategoryParts(src, dst, 3);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.added, 2);
    EXPECT_EQ(parts(3), (Parts{{1, n(2)}, {2, Null}}));
}

TEST_F(Merge, TheFileCountIsNotTrusted)
{
    // The file claims one part (or none); all three are merged and counted.
    for (const QVariant& claimed : {n(1), Null, n(50)}) {
        SetUp();
        makeSource(testdb::category(7, {1, 2, 3}, claimed));
        openBoth();
        const MergeResult r = CopyCategoryParts(src, dst, 7);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r.added, 3);
        EXPECT_EQ(testdb::holderCount(target, 7), n(5));
        EXPECT_EQ(testdb::partCount(target, 7), 5);
    }
}

TEST_F(Merge, PairsAreMergedWithTheirCompanion)
{
    makeSource(testdb::category(9, {5, 6, 2}) + testdb::category(10, {2, 5, 6}));
    openBoth();
    const MergeResult r = CopyCategoryParts(src, dst, 9);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.added, 2);
    EXPECT_EQ(r.companionAdded, 2);
    EXPECT_EQ(parts(9), (Parts{{2, n(3)}, {5, Null}, {6, Null}}));
    EXPECT_EQ(parts(10), (Parts{{2, n(3)}, {5, Null}, {6, Null}}));

    // Running it again for the companion, as a caller may, adds nothing.
    const QList<Seen> after = testdb::records(target);
    const MergeResult again = CopyCategoryParts(src, dst, 10);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.added + again.companionAdded, 0);
    EXPECT_EQ(testdb::records(target), after);
}

TEST_F(Merge, AFileWithHalfAPairIsRefused)
{
    const QList<Seen> before = testdb::records(target);
    for (const auto& parts : {testdb::category(9, {6}), testdb::category(9, {6, 7}) + testdb::category(10, {6})}) {
        makeSource(parts);
        openBoth();
        EXPECT_FALSE(CopyCategoryParts(src, dst, 9).ok());
        EXPECT_FALSE(CopySelectedParts(src, dst, 9, {6, 7}).ok());
        EXPECT_EQ(testdb::records(target), before);
    }
}

TEST_F(Merge, SelectedPartsInTheOrderChosen)
{
    makeSource(testdb::category(7, {5, 10, 30, 40}));
    openBoth();
    int events = 0;
    // 10 exists, 99 is not in the file, 30 comes twice: only 40 and 30 are added.
    const MergeResult r = CopySelectedParts(src, dst, 7, {40, 10, 30, 99, 30}, [&] { ++events; });
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.added, 2);
    EXPECT_EQ(events, 5);
    EXPECT_EQ(parts(7), (Parts{{10, n(4)}, {20, Null}, {30, Null}, {40, Null}}));

    QList<int> tooMany;
    for (int i = 1; i <= kMaxSelection + 1; ++i)
        tooMany << i;
    EXPECT_FALSE(CopySelectedParts(src, dst, 7, tooMany).ok());
    EXPECT_TRUE(CopySelectedParts(src, dst, 7, tooMany.mid(0, kMaxSelection)).ok());
}

TEST_F(Merge, SelectedPairParts)
{
    makeSource(testdb::category(9, {1, 5, 8}) + testdb::category(10, {1, 5, 8}));
    openBoth();
    const MergeResult r = CopySelectedParts(src, dst, 9, {8, 1, 5});
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.added, 2);
    EXPECT_EQ(r.companionAdded, 2);
    EXPECT_EQ(parts(9), (Parts{{1, n(3)}, {5, Null}, {8, Null}}));
    EXPECT_EQ(parts(10), (Parts{{1, n(3)}, {5, Null}, {8, Null}}));
}

TEST_F(Merge, ABadPartStopsTheMergeAndChangesNothing)
{
    const QList<Seen> before = testdb::records(target);
    testdb::Row garbage = testdb::category(7, {31}).first();
    garbage.photoMain = QByteArray("no picture at all");
    testdb::Row wide = testdb::category(7, {31}).first();
    wide.photoMask = imaging::encodeImageField(imaging::Raster(5000, 2, 1));
    testdb::Row textX = testdb::category(7, {31}).first();
    textX.x = QStringLiteral("left");
    testdb::Row bigNumber = testdb::category(7, {31}).first();
    bigNumber.optionId1 = 70000;
    testdb::Row blobName = testdb::category(7, {31}).first();
    blobName.whoMask = QByteArray("x");
    struct Case {
        const char* what;
        QList<testdb::Row> rows;
    } cases[] = {
        {"undecodable picture", {garbage, testdb::category(7, {31})[1]}},
        {"picture beyond the size limits", {wide, testdb::category(7, {31})[1]}},
        {"text in a number field", {textX, testdb::category(7, {31})[1]}},
        {"number beyond 16 bits", {bigNumber, testdb::category(7, {31})[1]}},
        {"bytes in a text field", {blobName, testdb::category(7, {31})[1]}},
        {"part with too few records", {testdb::category(7, {31})[0]}},
        {"part with too many records", testdb::category(7, {31}) + testdb::category(7, {31}).mid(1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Good parts before and after the bad one: none of them may stay.
        makeSource(testdb::category(7, {1, 2}) + c.rows + testdb::category(7, {40}).mid(0, 2));
        openBoth();
        const MergeResult r = CopyCategoryParts(src, dst, 7);
        EXPECT_FALSE(r.ok());
        EXPECT_TRUE(r.error.contains(QStringLiteral("31"))) << r.error.toStdString();
        EXPECT_EQ(r.added, 0);
        EXPECT_EQ(testdb::records(target), before);
        // The target stays usable.
        EXPECT_EQ(dst.recordCount(), before.size());
        EXPECT_TRUE(CopySelectedParts(src, dst, 7, {1}).ok());
        SetUp();
    }
}

TEST_F(Merge, AKilledMergeLeavesTheOldDatabase)
{
    // Big enough pictures that the merge spills into the file before it commits.
    QList<testdb::Row> rows = testdb::category(7, {1, 2, 3, 4, 5, 6});
    for (int i = 0; i < rows.size(); ++i)
        rows[i].photoMain = testdb::noisyPicture(i, 300000);
    makeSource(rows);
    const QList<Seen> before = testdb::records(target);
    const QByteArray bytesBefore = testdb::fileBytes(target);
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        // Killed in the middle of the merge, with part of it written.
        openBoth();
        int part = 0;
        (void)CopyCategoryParts(src, dst, 7, [&] {
            if (++part == 6)
                std::raise(SIGKILL);
        });
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_NE(testdb::fileBytes(target), bytesBefore);  // half written, with its journal
    EXPECT_TRUE(QFileInfo::exists(target + QStringLiteral("-journal")));
    PartsDatabase reopened;
    ASSERT_TRUE(reopened.open(target, kList).ok());
    EXPECT_EQ(testdb::records(target), before);
    EXPECT_EQ(testdb::holderCount(target, 7), n(testdb::partCount(target, 7)));
}

TEST_F(Merge, ReadOnlyTargetsAndNonCategoriesAreRefused)
{
    makeSource(testdb::category(7, {1}));
    ASSERT_TRUE(src.open(source, kList, OpenMode::ReadOnly).ok());
    PartsDatabase readOnly;
    ASSERT_TRUE(readOnly.open(target, kMerge, OpenMode::ReadOnly).ok());
    EXPECT_FALSE(CopyCategoryParts(src, readOnly, 7).ok());
    ASSERT_TRUE(dst.open(target, kMerge).ok());
    EXPECT_FALSE(CopyCategoryParts(src, dst, 0).ok());
    EXPECT_FALSE(CopyCategoryParts(src, dst, 23).ok());
    EXPECT_EQ(testdb::records(target, 0).size(), 1);
}

TEST_F(Merge, DeleteAPart)
{
    testdb::append(target, testdb::category(7, {30}, Null));
    PartsDatabase db;
    ASSERT_TRUE(db.open(target, kList).ok());
    FakeSink sink;
    struct Step {
        int fileNo;
        Parts after;
    } steps[] = {
        {20, {{10, n(2)}, {30, Null}}},
        {10, {{30, n(1)}}},  // the first part: the next one takes the count
        {30, {}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.fileNo);
        const DeleteResult r = DeletePart(db, 7, s.fileNo, sink);
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        EXPECT_EQ(r.partsDeleted, 1);
        EXPECT_EQ(parts(7), s.after);
        EXPECT_EQ(readCategoryCount(db, 7), int(s.after.size()));
    }
    EXPECT_TRUE(sink.messages.isEmpty());
    EXPECT_EQ(testdb::records(target, 13).size(), 3);
    EXPECT_EQ(testdb::records(target, 0).size(), 1);
}

TEST_F(Merge, DeletingFromAPairDeletesBothHalves)
{
    testdb::append(target, testdb::category(9, {2}, Null) + testdb::category(10, {2}, Null));
    PartsDatabase db;
    ASSERT_TRUE(db.open(target, kList).ok());
    FakeSink sink;
    const DeleteResult r = DeletePart(db, 9, 5, sink);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.partsDeleted, 2);
    EXPECT_EQ(parts(9), (Parts{{2, n(1)}}));
    EXPECT_EQ(parts(10), (Parts{{2, n(1)}}));
    EXPECT_TRUE(sink.messages.isEmpty());
}

TEST_F(Merge, DeletingWhatIsNotThereReportsTheError)
{
    const QList<Seen> before = testdb::records(target);
    PartsDatabase db;
    ASSERT_TRUE(db.open(target, kList).ok());
    for (auto [category, fileNo] : {std::pair{7, 11}, std::pair{8, 1}, std::pair{0, 0}}) {
        FakeSink sink;
        const DeleteResult r = DeletePart(db, category, fileNo, sink);
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(r.partsDeleted, 0);
        EXPECT_EQ(sink.messages, QStringList{QStringLiteral("削除エラー")});
        EXPECT_EQ(testdb::records(target), before);
    }

    // A companion that already lacks the part: the category's half still goes.
    testdb::append(target, testdb::category(9, {7}, Null));
    ASSERT_TRUE(db.requery().ok());
    FakeSink sink;
    const DeleteResult r = DeletePart(db, 9, 7, sink);
    EXPECT_EQ(r.partsDeleted, 1);
    EXPECT_EQ(sink.messages.size(), 1);
    EXPECT_EQ(parts(9), (Parts{{5, n(1)}}));
}

TEST_F(Merge, RecordsAddedBehindTheCursorsBackCount)
{
    makeSource(testdb::category(7, {30, 40}));
    openBoth();
    PartsDatabase list;
    ASSERT_TRUE(list.open(target, kList).ok());
    // Another connection adds part 30 after both were opened.
    testdb::append(target, testdb::category(7, {30}, Null));
    const MergeResult r = CopyCategoryParts(src, dst, 7);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.added, 1);
    EXPECT_EQ(parts(7), (Parts{{10, n(4)}, {20, Null}, {30, Null}, {40, Null}}));
    EXPECT_EQ(testdb::records(target, 7).size(), 8);

    FakeSink sink;
    ASSERT_TRUE(DeletePart(list, 7, 40, sink).ok());
    EXPECT_EQ(parts(7), (Parts{{10, n(3)}, {20, Null}, {30, Null}}));
}

TEST_F(Merge, CountsTilesAndTheAddOnCategory)
{
    PartsDatabase db;
    ASSERT_TRUE(db.open(target, kList).ok());
    EXPECT_EQ(readCategoryCount(db, 7), 2);
    EXPECT_EQ(db.value("FileNo").toInt(), 10);  // left on the count holder
    EXPECT_EQ(readCategoryCount(db, 8), 0);
    imaging::Raster tile;
    EXPECT_EQ(readBlankTile(db, tile), 0);
    EXPECT_EQ(tile.size(), QSize(8, 8));
    EXPECT_EQ(tile.pixel(3, 3), qRgb(255, 255, 255));
    EXPECT_EQ(addOnCategory(db), 7);

    // A count holder without a number: the parts are counted.
    ASSERT_TRUE(testdb::exec(target, "UPDATE people SET FileCnt = NULL").isEmpty());
    ASSERT_TRUE(db.requery().ok());
    EXPECT_EQ(readCategoryCount(db, 7), 2);

    // Up to five leading records that are no parts; six mean the file has none.
    for (int blanks : {5, 6}) {
        QList<testdb::Row> rows;
        for (int i = 0; i < blanks; ++i)
            rows << testdb::blankTile();
        testdb::build(source, rows + testdb::category(11, {1}));
        PartsDatabase addOn;
        ASSERT_TRUE(addOn.open(source, kList, OpenMode::ReadOnly).ok());
        EXPECT_EQ(addOnCategory(addOn), blanks == 5 ? 11 : 0);
    }
}
