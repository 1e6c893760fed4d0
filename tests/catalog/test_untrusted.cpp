// Add-on parts files come from anywhere: whatever is wrong with one is refused before use
// and changes nothing.
#include "testdb.h"

#include "catalog/partops.h"
#include "catalog/partsdatabase.h"
#include "imaging/engine/errors.h"
#include "imaging/engine/raster.h"
#include "catalog/schema.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace catalog;

namespace {

const QString kList = QLatin1String(kListOrderSource);
const QString kMerge = QLatin1String(kMergeOrderSource);

const char kFields[] =
    "PictureID INTEGER, FileNo INTEGER, who_main TEXT, who_mask TEXT, photo_main BLOB, photo_mask BLOB, "
    "PairFile TEXT, X INTEGER, Y INTEGER, Width INTEGER, Height INTEGER, Enable INTEGER, OptionID1 INTEGER";

QString sql(const char* pattern) { return QString::fromLatin1(pattern).replace(QStringLiteral("%F"), QLatin1String(kFields)); }

// Overwrites `count` bytes at `offset`.
void scribble(const QString& path, qint64 offset, int count)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.seek(offset);
    f.write(QByteArray(count, '\x5a'));
}

}  // namespace

TEST(Untrusted, HostileFilesAreRefusedOnOpen)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("addon.mdb"));
    const QList<testdb::Row> parts = QList<testdb::Row>{testdb::blankTile()} + testdb::category(7, {1, 2});
    auto normal = [&] { testdb::build(path, parts); };
    auto withSql = [&](const QString& statements) {
        return [&, statements] {
            QFile::remove(path);
            ASSERT_EQ(testdb::exec(path, statements), QString());
        };
    };
    auto normalThen = [&](const QString& statements) {
        return [&, statements] {
            normal();
            ASSERT_EQ(testdb::exec(path, statements), QString());
        };
    };
    struct Case {
        const char* what;
        std::function<void()> make;
        const char* says;  // a word the error must contain
    } cases[] = {
        {"not a database", [&] {
             QFile f(path);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write(QByteArray("Standard Jet DB").repeated(500));
         }, "not"},
        {"empty file", [&] {
             QFile f(path);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         }, "people"},
        {"no table people", withSql(QStringLiteral("CREATE TABLE others (x INTEGER)")), "people"},
        {"people is a view", withSql(sql("CREATE TABLE t (%F, FileCnt INTEGER); CREATE VIEW people AS SELECT * FROM t")), "view"},
        {"a trigger", normalThen(QStringLiteral("CREATE TABLE log (x); CREATE TRIGGER t AFTER UPDATE ON people "
                                                 "BEGIN INSERT INTO log VALUES (1); END")), "trigger"},
        {"another view", normalThen(QStringLiteral("CREATE VIEW v AS SELECT 1")), "view"},
        {"people is a virtual table",
         withSql(QStringLiteral("CREATE VIRTUAL TABLE people USING fts5(PictureID, FileNo, who_main, who_mask, "
                                "photo_main, photo_mask, PairFile, X, Y, Width, Height, Enable, OptionID1, FileCnt)")),
         "virtual"},
        {"another virtual table", normalThen(QStringLiteral("CREATE VIRTUAL TABLE v USING rtree(id, a, b)")), "virtual"},
        {"generated column", withSql(sql("CREATE TABLE people (%F, FileCnt INTEGER GENERATED ALWAYS AS (1))")), "generated"},
        {"stored generated column",
         withSql(sql("CREATE TABLE people (%F, FileCnt INTEGER GENERATED ALWAYS AS (PictureID * 2) STORED)")), "generated"},
        {"picture field declared as text",
         withSql(QStringLiteral("CREATE TABLE people (PictureID INTEGER, FileNo INTEGER, who_main TEXT, who_mask TEXT, "
                                "photo_main TEXT, photo_mask BLOB, PairFile TEXT, X INTEGER, Y INTEGER, Width INTEGER, "
                                "Height INTEGER, Enable INTEGER, OptionID1 INTEGER, FileCnt INTEGER)")), "type"},
        {"number field declared as real", withSql(sql("CREATE TABLE people (%F, FileCnt REAL)")), "type"},
        {"missing field", withSql(sql("CREATE TABLE people (%F)")), "FileCnt"},
        {"extra field", withSql(sql("CREATE TABLE people (%F, FileCnt INTEGER, secret TEXT)")), "secret"},
        {"without row ids",
         withSql(sql("CREATE TABLE people (%F, FileCnt INTEGER, PRIMARY KEY (PictureID, FileNo, who_main)) WITHOUT ROWID")),
         "row"},
        {"damaged pages", [&] {
             QList<testdb::Row> many = parts;
             for (int f = 3; f < 200; ++f)
                 many += testdb::category(7, {f});
             testdb::build(path, many);
             scribble(path, 4096, 4096);  // the table's root page
         }, "damaged"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(path);
        c.make();
        const QByteArray before = testdb::fileBytes(path);
        PartsDatabase db;
        const DbResult r = db.open(path, kList, OpenMode::ReadOnly);
        EXPECT_FALSE(r.ok());
        EXPECT_TRUE(r.error().contains(QLatin1String(c.says), Qt::CaseInsensitive)) << r.error().toStdString();
        EXPECT_FALSE(db.isOpen());
        EXPECT_EQ(testdb::fileBytes(path), before);
    }

    // The same layout with other spellings of the types and names is fine.
    QFile::remove(path);
    ASSERT_TRUE(testdb::exec(path, QStringLiteral(
        "CREATE TABLE PEOPLE (pictureid SMALLINT, fileno INT, WHO_MAIN VARCHAR(255), who_mask TEXT, photo_main, "
        "photo_mask LONGBLOB, PairFile, X SHORT INTEGER, Y INTEGER, Width INTEGER, Height INTEGER, Enable BOOLEAN, "
        "OptionID1 INTEGER, FileCnt INTEGER)")).isEmpty());
    PartsDatabase db;
    EXPECT_TRUE(db.open(path, kList, OpenMode::ReadOnly).ok());
}

TEST(Untrusted, OversizedFieldsCannotBeRead)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("addon.mdb"));
    const QString target = dir.filePath(QStringLiteral("Ravoze.mdb"));
    testdb::build(source, QList<testdb::Row>{testdb::blankTile()} + testdb::category(7, {1, 2}));
    ASSERT_TRUE(testdb::exec(source, QStringLiteral("UPDATE people SET photo_main = zeroblob(%1) WHERE FileNo = 2")
                                         .arg(kMaxFieldBytes + 4096))
                    .isEmpty());
    testdb::build(target, QList<testdb::Row>{testdb::blankTile()} + testdb::category(7, {5}));
    const QList<testdb::Seen> before = testdb::records(target);

    PartsDatabase src, dst;
    ASSERT_TRUE(src.open(source, kList, OpenMode::ReadOnly).ok());
    ASSERT_TRUE(src.findFirst("PictureID = 7 AND FileNo = 2").ok());
    EXPECT_FALSE(src.recordError().isEmpty());
    EXPECT_TRUE(src.value("photo_main").isNull());

    ASSERT_TRUE(dst.open(target, kMerge).ok());
    const MergeResult r = CopyCategoryParts(src, dst, 7);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(testdb::records(target), before);
}

// A few kilobytes of PNG can claim millions of pixels. A picture may be as large as the
// widest canvas or its record's box, and pictures beyond the canvas have a budget per open.
TEST(Untrusted, PicturesLargerThanTheirRecordsAreRefusedBeforeDecoding)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bomb.mdb"));
    const QByteArray huge = testdb::picture(3, 2048);  // flat colour: tiny bytes
    ASSERT_LT(huge.size(), 64 * 1024);
    QList<testdb::Row> rows = {testdb::blankTile()};
    auto part = [&](int fileNo, int width, int height, const QByteArray& picture) {
        testdb::Row r = testdb::row(3, fileNo, QStringLiteral("p%1").arg(fileNo));
        r.width = width;
        r.height = height;
        r.photoMain = picture;
        r.photoMask = picture;
        rows << r;
    };
    part(1, 100, 80, huge);                    // claims a small box
    part(2, 300, 300, testdb::picture(4, 395)); // larger than its box, within the canvas
    for (int n = 3; n <= 6; ++n)
        part(n, 2048, 2048, huge);             // claims the size: within the budget, twice
    testdb::build(path, rows);

    for (const OpenMode mode : {OpenMode::Update, OpenMode::ReadOnly}) {
        SCOPED_TRACE(mode == OpenMode::Update ? "delivered" : "add-on");
        PartsDatabase db;
        ASSERT_TRUE(db.open(path, kList, mode).ok());
        imaging::Raster r;
        std::vector<int> codes;
        for (bool more = db.moveFirst(); more; more = db.moveNext()) {
            if (db.value("PictureID").toInt() == 3)
                codes.push_back(db.image("photo_main", r));
        }
        EXPECT_EQ(codes, (std::vector<int>{imaging::kErrBadSize, 0, 0, 0, imaging::kErrBadSize,
                                           imaging::kErrBadSize}));
    }
}
