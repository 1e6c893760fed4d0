// The cursor of PartsDatabase: opening, moves, finds, bookmarks, fields and writes.
#include "testdb.h"

#include "catalog/partsdatabase.h"
#include "catalog/schema.h"
#include "imaging/engine/raster.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace catalog;

namespace {

const QString kList = QLatin1String(kListOrderSource);
const QString kMerge = QLatin1String(kMergeOrderSource);
const QString kPhoto = QLatin1String(kPhotoOrderSource);

class Cursor : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("Ravoze.mdb"));
        // ListOrder: blank, 3:2 (2 rows), 7:1..3 (2 rows each), 9:5 (3 rows) = 12 records.
        QList<testdb::Row> rows{testdb::blankTile()};
        rows += testdb::category(9, {5});
        rows += testdb::category(7, {2, 1, 3});
        rows += testdb::category(3, {2});
        testdb::build(path, rows);
    }

    // who_main of every record from the current one to the end.
    QStringList walk(PartsDatabase& db)
    {
        QStringList names;
        for (bool on = db.hasCurrent(); on; on = db.moveNext())
            names << db.value("who_main").toString();
        return names;
    }

    QString name(const PartsDatabase& db) const { return db.value("who_main").toString(); }

    QTemporaryDir dir;
    QString path;
};

}  // namespace

TEST_F(Cursor, OpenRefusesWhatItCannotUse)
{
    PartsDatabase db;
    struct Case {
        const char* what;
        QString file;
        QString source;
    } cases[] = {
        {"missing file", dir.filePath(QStringLiteral("none.mdb")), kList},
        {"a folder", dir.path(), kList},
        {"another record source", path, QStringLiteral("SELECT * FROM people")},
        {"record source in other case", path, kList.toLower()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DbResult r = db.open(c.file, c.source);
        EXPECT_FALSE(r.ok());
        EXPECT_FALSE(r.error().isEmpty());
        EXPECT_FALSE(db.isOpen());
    }
}

TEST_F(Cursor, NamesAreFoundWithoutRegardToCase)
{
    PartsDatabase db;
    ASSERT_TRUE(db.open(dir.filePath(QStringLiteral("RAVOZE.MDB")), kList).ok());
    EXPECT_EQ(QFileInfo(db.path()).fileName(), QStringLiteral("Ravoze.mdb"));
    EXPECT_EQ(findFileNoCase(dir.path(), QStringLiteral("ravoze.mdb")), dir.filePath(QStringLiteral("Ravoze.mdb")));
    EXPECT_TRUE(findFileNoCase(dir.path(), QStringLiteral("photo.mdb")).isEmpty());
}

TEST_F(Cursor, EachRecordSourceHasItsOrder)
{
    PartsDatabase db;
    ASSERT_TRUE(db.open(path, kList).ok());
    EXPECT_EQ(db.recordCount(), 12);
    EXPECT_EQ(walk(db), (QStringList{"blank", "c3_00002_0", "c3_00002_1", "c7_00001_0", "c7_00001_1",
                                     "c7_00002_0", "c7_00002_1", "c7_00003_0", "c7_00003_1", "c9_00005_0",
                                     "c9_00005_1", "c9_00005_2"}));

    ASSERT_TRUE(db.open(path, kMerge).ok());
    EXPECT_EQ(walk(db), (QStringList{"blank", "c7_00001_0", "c7_00001_1", "c3_00002_0", "c3_00002_1",
                                     "c7_00002_0", "c7_00002_1", "c7_00003_0", "c7_00003_1", "c9_00005_0",
                                     "c9_00005_1", "c9_00005_2"}));

    testdb::append(path, {testdb::row(2, 2, QStringLiteral("photoB")), testdb::row(2, 1, QStringLiteral("photoA"))});
    ASSERT_TRUE(db.open(path, kPhoto).ok());
    EXPECT_EQ(db.recordCount(), 2);
    EXPECT_EQ(walk(db), (QStringList{"photoA", "photoB"}));
}

TEST_F(Cursor, MovesAndTheirEnds)
{
    PartsDatabase db;
    ASSERT_TRUE(db.open(path, kList).ok());
    EXPECT_EQ(db.absolutePosition(), 0);  // open makes the first record current
    EXPECT_EQ(db.value("PictureID").toInt(), 0);

    EXPECT_TRUE(db.moveLast());
    EXPECT_EQ(db.absolutePosition(), 11);
    EXPECT_FALSE(db.move(1));
    EXPECT_EQ(db.absolutePosition(), -1);
    EXPECT_TRUE(db.isAfterLast());
    EXPECT_FALSE(db.value("who_main").isValid());
    EXPECT_TRUE(db.move(-1));  // back from past the end: the last record
    EXPECT_EQ(db.absolutePosition(), 11);

    EXPECT_TRUE(db.moveFirst());
    EXPECT_TRUE(db.move(5));
    EXPECT_EQ(db.absolutePosition(), 5);
    EXPECT_TRUE(db.move(-2));
    EXPECT_EQ(db.absolutePosition(), 3);
    EXPECT_FALSE(db.move(-4));
    EXPECT_EQ(db.absolutePosition(), -1);
    EXPECT_TRUE(db.isBeforeFirst());
    EXPECT_TRUE(db.move(1));
    EXPECT_EQ(db.absolutePosition(), 0);
    EXPECT_FALSE(db.move(12));
    EXPECT_EQ(db.absolutePosition(), -1);
    EXPECT_FALSE(db.move(1));  // stays past the end
    EXPECT_TRUE(db.moveFirst());
    EXPECT_TRUE(db.move(11));
    EXPECT_EQ(name(db), QStringLiteral("c9_00005_2"));
}

TEST_F(Cursor, FindFirstWithEveryForm)
{
    testdb::append(path, testdb::category(1, {1650, 1720}));
    PartsDatabase db;
    ASSERT_TRUE(db.open(path, kList).ok());
    struct Case {
        QString criterion;
        QString found;
        int position;
    } cases[] = {
        {"PictureID = 7", "c7_00001_0", 7},
        {"PictureID = 7 AND FileNo = 3", "c7_00003_0", 11},
        {"PictureID = 7 and FileNo = 2", "c7_00002_0", 9},
        {"FileNo = 5", "c9_00005_0", 13},
        {"FileNo = 2", "c3_00002_0", 5},
        {"PictureID = 1 and FileNo >= 1701 and FileNo <= 1750", "c1_01720_0", 3},
        {"PictureID = 1 AND FileNo >= 1601 AND FileNo <= 1800", "c1_01650_0", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.criterion.toStdString());
        db.moveLast();
        ASSERT_TRUE(db.findFirst(c.criterion).ok());
        EXPECT_FALSE(db.noMatch());
        EXPECT_EQ(name(db), c.found);
        EXPECT_EQ(db.absolutePosition(), c.position);
    }

    // No match: the flag is set and the cursor stays.
    db.moveFirst();
    db.move(3);
    for (const char* none : {"PictureID = 8", "PictureID = 7 AND FileNo = 4", "FileNo = 99",
                             "PictureID = 1 and FileNo >= 1801 and FileNo <= 2000"}) {
        ASSERT_TRUE(db.findFirst(QString::fromLatin1(none)).ok());
        EXPECT_TRUE(db.noMatch()) << none;
        EXPECT_EQ(db.absolutePosition(), 3);
    }
    ASSERT_TRUE(db.findFirst("PictureID = 9").ok());
    EXPECT_FALSE(db.noMatch());

    const DbResult refused = db.findFirst("PictureID = 9 OR 1 = 1");
    EXPECT_FALSE(refused.ok());
    EXPECT_TRUE(db.noMatch());
}

TEST_F(Cursor, BookmarksReturnToTheirRecord)
{
    PartsDatabase db;
    ASSERT_TRUE(db.open(path, kList).ok());
    ASSERT_TRUE(db.findFirst("PictureID = 7 AND FileNo = 2").ok());
    const Bookmark mark = db.bookmark();
    EXPECT_NE(mark, 0);
    db.moveLast();
    ASSERT_TRUE(db.setBookmark(mark).ok());
    EXPECT_EQ(name(db), QStringLiteral("c7_00002_0"));
    EXPECT_EQ(db.absolutePosition(), 5);
    EXPECT_FALSE(db.setBookmark(123456).ok());
    db.move(100);
    EXPECT_EQ(db.bookmark(), 0);
}

TEST_F(Cursor, FieldValuesByName)
{
    PartsDatabase db;
    ASSERT_TRUE(db.open(path, kList).ok());
    ASSERT_TRUE(db.findFirst("PictureID = 7").ok());
    EXPECT_EQ(db.value("FileCnt").toInt(), 3);
    EXPECT_EQ(db.value("filecnt").toInt(), 3);  // names without regard to case
    EXPECT_EQ(db.value("FILENO").toInt(), 1);
    EXPECT_EQ(db.value("PairFile").toString(), QStringLiteral("pair1"));
    EXPECT_EQ(db.value("photo_main").typeId(), QMetaType::QByteArray);
    EXPECT_FALSE(db.value("nonsense").isValid());
    db.moveNext();
    EXPECT_TRUE(db.value("FileCnt").isNull());  // Null

    imaging::Raster picture;
    EXPECT_EQ(db.image("photo_main", picture), 0);
    EXPECT_EQ(picture.size(), QSize(4, 4));
    EXPECT_NE(db.image("who_main", picture), 0);
}

TEST_F(Cursor, EditAndUpdate)
{
    PartsDatabase db;
    ASSERT_TRUE(db.open(path, kList).ok());
    ASSERT_TRUE(db.findFirst("PictureID = 7 AND FileNo = 2").ok());
    EXPECT_FALSE(db.setValue("FileCnt", 9).ok());  // only while editing

    ASSERT_TRUE(db.edit().ok());
    EXPECT_EQ(db.editMode(), kEditInProgress);
    struct Bad {
        const char* field;
        QVariant value;
    } bad[] = {
        {"FileNo", 40000},
        {"X", -40000},
        {"Width", QStringLiteral("wide")},
        {"photo_main", QStringLiteral("not bytes")},
        {"who_main", QByteArray("bytes")},
        {"nonsense", 1},
    };
    for (const Bad& b : bad)
        EXPECT_FALSE(db.setValue(b.field, b.value).ok()) << b.field;
    ASSERT_TRUE(db.setValue("FileCnt", 9).ok());
    ASSERT_TRUE(db.setValue("Enable", QVariant()).ok());
    ASSERT_TRUE(db.setValue("Y", QStringLiteral("12")).ok());
    EXPECT_EQ(db.value("FileCnt").toInt(), 9);  // the pending value
    ASSERT_TRUE(db.update().ok());
    EXPECT_EQ(db.editMode(), kEditNone);
    EXPECT_EQ(db.value("FileCnt").toInt(), 9);
    EXPECT_TRUE(db.value("Enable").isNull());
    EXPECT_EQ(db.value("Y").toInt(), 12);
    EXPECT_EQ(testdb::records(path, 7)[2].fileCnt.toInt(), 9);

    // An edit dropped by a move leaves the record alone.
    ASSERT_TRUE(db.edit().ok());
    ASSERT_TRUE(db.setValue("FileCnt", 1).ok());
    db.moveNext();
    EXPECT_EQ(db.editMode(), kEditNone);
    EXPECT_EQ(testdb::records(path, 7)[2].fileCnt.toInt(), 9);

    // A record whose number changed keeps its place until a requery.
    ASSERT_TRUE(db.findFirst("PictureID = 7 AND FileNo = 3").ok());
    ASSERT_TRUE(db.edit().ok());
    ASSERT_TRUE(db.setValue("FileNo", 0).ok());
    ASSERT_TRUE(db.update().ok());
    ASSERT_TRUE(db.findFirst("PictureID = 7").ok());
    EXPECT_EQ(name(db), QStringLiteral("c7_00001_0"));
    ASSERT_TRUE(db.requery().ok());
    ASSERT_TRUE(db.findFirst("PictureID = 7").ok());
    EXPECT_EQ(name(db), QStringLiteral("c7_00003_0"));
}

TEST_F(Cursor, AddedRecordsAreAtTheEndUntilRequery)
{
    PartsDatabase db;
    ASSERT_TRUE(db.open(path, kList).ok());
    db.move(4);
    const QString before = name(db);

    ASSERT_TRUE(db.addNew().ok());
    EXPECT_EQ(db.editMode(), kEditAdd);
    db.cancelUpdate();
    EXPECT_EQ(db.editMode(), kEditNone);
    EXPECT_EQ(db.recordCount(), 12);

    ASSERT_TRUE(db.addNew().ok());
    ASSERT_TRUE(db.setValue("PictureID", 3).ok());
    ASSERT_TRUE(db.setValue("FileNo", 1).ok());
    ASSERT_TRUE(db.setValue("who_main", QStringLiteral("added")).ok());
    EXPECT_EQ(db.value("who_main").toString(), QStringLiteral("added"));
    ASSERT_TRUE(db.update().ok());
    EXPECT_EQ(db.recordCount(), 13);
    EXPECT_EQ(name(db), before);  // the current record stays

    // Reachable at the end of the key set, and found by a find.
    db.moveLast();
    EXPECT_EQ(name(db), QStringLiteral("added"));
    EXPECT_EQ(db.bookmark(), db.lastModified());
    ASSERT_TRUE(db.findFirst("PictureID = 3 AND FileNo = 1").ok());
    EXPECT_EQ(name(db), QStringLiteral("added"));
    EXPECT_EQ(db.absolutePosition(), 12);
    // A find takes the first record in the key set's order, where the new one comes last.
    ASSERT_TRUE(db.findFirst("PictureID = 3").ok());
    EXPECT_EQ(name(db), QStringLiteral("c3_00002_0"));

    // Requery puts it in its place.
    ASSERT_TRUE(db.requery().ok());
    EXPECT_EQ(db.absolutePosition(), 0);
    ASSERT_TRUE(db.findFirst("PictureID = 3").ok());
    EXPECT_EQ(name(db), QStringLiteral("added"));
    EXPECT_EQ(db.absolutePosition(), 1);

    // A pending add is dropped by a move.
    ASSERT_TRUE(db.addNew().ok());
    ASSERT_TRUE(db.setValue("PictureID", 5).ok());
    db.moveFirst();
    EXPECT_EQ(db.editMode(), kEditNone);
    EXPECT_EQ(testdb::records(path, 5).size(), 0);
}

TEST_F(Cursor, DeletedRecordsAreGoneForEveryLaterMove)
{
    PartsDatabase db;
    ASSERT_TRUE(db.open(path, kList).ok());
    ASSERT_TRUE(db.findFirst("PictureID = 7 AND FileNo = 2").ok());  // position 5
    const Bookmark mark = db.bookmark();
    ASSERT_TRUE(db.deleteRecord().ok());
    EXPECT_FALSE(db.hasCurrent());
    EXPECT_EQ(db.absolutePosition(), -1);
    EXPECT_FALSE(db.value("who_main").isValid());
    EXPECT_FALSE(db.deleteRecord().ok());
    EXPECT_TRUE(db.moveNext());
    EXPECT_EQ(name(db), QStringLiteral("c7_00002_1"));
    EXPECT_EQ(db.absolutePosition(), 5);
    ASSERT_TRUE(db.deleteRecord().ok());
    EXPECT_TRUE(db.movePrevious());
    EXPECT_EQ(name(db), QStringLiteral("c7_00001_1"));

    EXPECT_EQ(db.recordCount(), 10);
    db.moveFirst();
    EXPECT_EQ(walk(db).size(), 10);
    EXPECT_FALSE(walk(db).contains(QStringLiteral("c7_00002_0")));
    db.moveFirst();
    db.move(5);
    EXPECT_EQ(name(db), QStringLiteral("c7_00003_0"));
    EXPECT_FALSE(db.setBookmark(mark).ok());
    ASSERT_TRUE(db.findFirst("PictureID = 7 AND FileNo = 2").ok());
    EXPECT_TRUE(db.noMatch());

    // Deleting the last record leaves a last record before it.
    db.moveLast();
    ASSERT_TRUE(db.deleteRecord().ok());
    db.moveLast();
    EXPECT_EQ(name(db), QStringLiteral("c9_00005_1"));
    EXPECT_EQ(db.absolutePosition(), 8);
}

TEST_F(Cursor, RecordsDeletedElsewhereAreSkipped)
{
    PartsDatabase db;
    ASSERT_TRUE(db.open(path, kList).ok());
    ASSERT_TRUE(testdb::exec(path, "DELETE FROM people WHERE who_main IN ('c7_00001_0', 'c9_00005_2')").isEmpty());
    ASSERT_TRUE(db.findFirst("PictureID = 3").ok());
    db.move(2);
    EXPECT_EQ(name(db), QStringLiteral("c7_00001_1"));
    db.moveLast();
    EXPECT_EQ(name(db), QStringLiteral("c9_00005_1"));
    EXPECT_EQ(db.recordCount(), 10);
}

TEST_F(Cursor, AnAddOnFileIsReadOnly)
{
    PartsDatabase db;
    ASSERT_TRUE(db.open(path, kList, OpenMode::ReadOnly).ok());
    EXPECT_TRUE(db.isReadOnly());
    EXPECT_FALSE(db.addNew().ok());
    EXPECT_FALSE(db.edit().ok());
    EXPECT_FALSE(db.deleteRecord().ok());
    EXPECT_FALSE(db.beginTransaction().ok());
    EXPECT_EQ(db.recordCount(), 12);
}

TEST_F(Cursor, ARolledBackTransactionLeavesNoTrace)
{
    const QList<testdb::Seen> before = testdb::records(path);
    PartsDatabase db;
    ASSERT_TRUE(db.open(path, kList).ok());
    ASSERT_TRUE(db.findFirst("PictureID = 7").ok());
    const Bookmark mark = db.bookmark();
    {
        Transaction tx(db);
        ASSERT_TRUE(tx.started().ok());
        ASSERT_TRUE(db.deleteRecord().ok());
        ASSERT_TRUE(db.addNew().ok());
        ASSERT_TRUE(db.setValue("PictureID", 8).ok());
        ASSERT_TRUE(db.update().ok());
    }
    EXPECT_EQ(testdb::records(path), before);
    EXPECT_EQ(db.recordCount(), 12);
    EXPECT_EQ(db.bookmark(), mark);
}
