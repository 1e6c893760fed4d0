// Numbering and counting of registered photos.
#include "testdb.h"

#include "catalog/partsfile.h"
#include "catalog/photos.h"
#include "catalog/schema.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace catalog;

namespace {

class Photos : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("photo.mdb"));
        ASSERT_TRUE(createPartsFile(path).ok());
        ASSERT_TRUE(db.open(path, QLatin1String(kPhotoOrderSource)).ok());
    }

    int add(const QString& name)
    {
        PhotoEntry e;
        e.whoMain = QStringLiteral("/photos/") + name;
        e.whoMask = e.whoMain + QStringLiteral(".mask");
        e.main = imaging::Raster(30, 20, 24, qRgb(200, 100, 50));
        e.mask = imaging::Raster(7, 9, 1);
        e.maskBits = 1;
        int number = 0;
        const DbResult r = addPhoto(db, e, &number);
        EXPECT_TRUE(r.ok()) << r.error().toStdString();
        return number;
    }

    // FileNo of every photo, and FileCnt of the first.
    std::pair<QList<int>, QVariant> state()
    {
        QList<int> numbers;
        for (const testdb::Seen& r : testdb::records(path, 2))
            numbers << r.fileNo;
        return {numbers, testdb::holderCount(path, 2)};
    }

    bool deleteNumber(int fileNo)
    {
        db.moveFirst();
        while (db.hasCurrent() && db.value("FileNo").toInt() != fileNo)
            db.moveNext();
        return deletePhoto(db).ok();
    }

    QTemporaryDir dir;
    QString path;
    PartsDatabase db;
};

QVariant n(int v) { return QVariant(qlonglong(v)); }

}  // namespace

TEST_F(Photos, TheFirstPhotoGetsNumberOne)
{
    int next = 0;
    ASSERT_TRUE(nextPhotoNumber(db, next).ok());
    EXPECT_EQ(next, 1);
    EXPECT_EQ(add(QStringLiteral("a.bmp")), 1);
    EXPECT_EQ(state(), std::make_pair(QList<int>{1}, n(1)));

    // The new photo is current, with the main picture's size and no offset.
    EXPECT_EQ(db.value("FileNo").toInt(), 1);
    EXPECT_EQ(db.value("PictureID").toInt(), 2);
    EXPECT_EQ(db.value("Width").toInt(), 30);
    EXPECT_EQ(db.value("Height").toInt(), 20);
    EXPECT_EQ(db.value("X").toInt(), 0);
    EXPECT_EQ(db.value("Y").toInt(), 0);
    EXPECT_EQ(db.value("who_main").toString(), QStringLiteral("/photos/a.bmp"));
    imaging::Raster mask;
    ASSERT_EQ(db.image("photo_mask", mask), 0);
    EXPECT_EQ(mask.size(), QSize(7, 9));
    EXPECT_EQ(mask.bits(), 1);
}

TEST_F(Photos, NumbersFollowTheHighestAndCountsFollowEveryChange)
{
    for (const char* name : {"a", "b", "c"})
        add(QLatin1String(name));
    EXPECT_EQ(state(), std::make_pair(QList<int>{1, 2, 3}, n(3)));

    // A number freed in the middle is not reused; the highest one is.
    ASSERT_TRUE(deleteNumber(2));
    EXPECT_EQ(state(), std::make_pair(QList<int>{1, 3}, n(2)));
    EXPECT_EQ(add(QStringLiteral("d")), 4);
    ASSERT_TRUE(deleteNumber(4));
    EXPECT_EQ(add(QStringLiteral("e")), 4);

    // Deleting the first photo moves the count to the next one.
    ASSERT_TRUE(deleteNumber(1));
    EXPECT_EQ(state(), std::make_pair(QList<int>{3, 4}, n(2)));

    ASSERT_TRUE(deleteNumber(3));
    ASSERT_TRUE(deleteNumber(4));
    EXPECT_EQ(state(), std::make_pair(QList<int>{}, QVariant()));
    EXPECT_EQ(db.recordCount(), 0);
    EXPECT_FALSE(deletePhoto(db).ok());  // nothing left to delete
}

TEST_F(Photos, NoNumberBeyondSixteenBits)
{
    testdb::append(path, {testdb::row(2, 32767, QStringLiteral("last"))});
    ASSERT_TRUE(db.requery().ok());
    int next = 0;
    EXPECT_FALSE(nextPhotoNumber(db, next).ok());
    PhotoEntry e;
    e.main = imaging::Raster(2, 2, 24);
    EXPECT_FALSE(addPhoto(db, e).ok());
    EXPECT_EQ(db.recordCount(), 1);
}

TEST_F(Photos, OnlyInPhotoOrder)
{
    PartsDatabase other;
    ASSERT_TRUE(other.open(path, QLatin1String(kListOrderSource)).ok());
    int next = 0;
    EXPECT_FALSE(nextPhotoNumber(other, next).ok());
    EXPECT_FALSE(addPhoto(other, PhotoEntry{}).ok());
}
