// Compaction of the parts database at Kitbin's exit.
#include "testdb.h"

#include "catalog/compaction.h"
#include "catalog/partsdatabase.h"
#include "catalog/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace catalog;

namespace {

class Compaction : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QList<testdb::Row> rows{testdb::blankTile()};
        for (int f = 1; f <= 60; ++f)
            rows += testdb::category(7, {f});
        for (testdb::Row& r : rows)
            r.photoMain = testdb::noisyPicture(r.fileNo.toInt(), 3000);
        testdb::build(dir.filePath(QStringLiteral("ravoze.mdb")), rows);
        ASSERT_TRUE(testdb::exec(db(), QStringLiteral("DELETE FROM people WHERE FileNo > 10")).isEmpty());
    }

    QString db() const { return dir.filePath(QStringLiteral("ravoze.mdb")); }
    QStringList entries() const { return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); }

    QTemporaryDir dir;
};

}  // namespace

TEST_F(Compaction, ReplacesTheDatabaseWithItsCompactedCopy)
{
    const QList<testdb::Seen> records = testdb::records(db());
    const qint64 size = QFileInfo(db()).size();
    QFile stale(dir.filePath(QStringLiteral("TMP.mdb")));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("left over");
    stale.close();

    const DbResult r = CompactPartsDatabase(dir.path());
    ASSERT_TRUE(r.ok()) << r.error().toStdString();
    // The database keeps its own spelling; no work file remains.
    EXPECT_EQ(entries(), QStringList{QStringLiteral("ravoze.mdb")});
    EXPECT_EQ(testdb::records(db()), records);
    EXPECT_LT(QFileInfo(db()).size(), size / 2);
    PartsDatabase reopened;
    EXPECT_TRUE(reopened.open(dir.filePath(QStringLiteral("Ravoze.mdb")), QLatin1String(kListOrderSource)).ok());
}

TEST_F(Compaction, AFailureLeavesTheDatabaseAsItWas)
{
    const QByteArray before = testdb::fileBytes(db());

    // The work file cannot be cleared away.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("tmp.mdb")));
    EXPECT_FALSE(CompactPartsDatabase(dir.path()).ok());
    EXPECT_EQ(testdb::fileBytes(db()), before);
    ASSERT_TRUE(QDir(dir.path()).rmdir(QStringLiteral("tmp.mdb")));

    // The database cannot be read to its end: the table's root page is damaged.
    QFile f(db());
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.seek(4096);
    f.write(QByteArray(4096, '\x33'));
    f.close();
    const QByteArray damaged = testdb::fileBytes(db());
    EXPECT_FALSE(CompactPartsDatabase(dir.path()).ok());
    EXPECT_EQ(testdb::fileBytes(db()), damaged);
    EXPECT_EQ(entries(), QStringList{QStringLiteral("ravoze.mdb")});

    // No database at all.
    QTemporaryDir empty;
    EXPECT_FALSE(CompactPartsDatabase(empty.path()).ok());
}

TEST_F(Compaction, TheCopyNeverOverwrites)
{
    const QString copy = dir.filePath(QStringLiteral("copy.mdb"));
    ASSERT_TRUE(PartsDatabase::compact(db(), copy).ok());
    EXPECT_EQ(testdb::records(copy), testdb::records(db()));
    const QByteArray bytes = testdb::fileBytes(copy);
    EXPECT_FALSE(PartsDatabase::compact(db(), copy).ok());
    EXPECT_EQ(testdb::fileBytes(copy), bytes);
}
