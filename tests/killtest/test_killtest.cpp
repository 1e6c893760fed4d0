// Writers killed at random moments: a child process saves in a loop, the parent kills it
// with SIGKILL after a random delay, then checks that what is on disk is a whole old or new
// version. KILLTEST_ROUNDS sets the kills per writer (scripts/killtest.sh runs 1,000).

#include "../catalog/testdb.h"

#include "catalog/compaction.h"
#include "catalog/partops.h"
#include "catalog/partsdatabase.h"
#include "catalog/partsfile.h"
#include "catalog/photos.h"
#include "catalog/recordsource.h"
#include "catalog/schema.h"
#include "core/document.h"
#include "core/inifile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

int rounds()
{
    const int n = qEnvironmentVariableIntValue("KILLTEST_ROUNDS");
    return n > 0 ? n : 50;
}

// Runs `loop` in a child until it is killed after a random delay below `maxMicros`, then
// runs `check` in the parent; `rounds()` times. Files in `folder` beyond those there before
// the kill show that a kill caught a save half done; their count is reported, so that
// a run whose kills all fell between saves is seen as the weak run it is.
void killRepeatedly(const QString& folder, int maxMicros, const std::function<void(int round)>& loop,
                    const std::function<void(int round)>& check)
{
    const auto entries = [&] {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    };
    QStringList before = entries();
    int halfDone = 0;
    int done = 0;
    QRandomGenerator random(12345);
    for (int round = 0; round < rounds(); ++round) {
        SCOPED_TRACE(round);
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            loop(round);
            _exit(0);
        }
        ::usleep(useconds_t(random.bounded(maxMicros)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        for (const QString& name : entries())
            if (!before.contains(name)) {
                ++halfDone;
                break;
            }
        check(round);
        ++done;
        before = entries();
        if (testing::Test::HasFatalFailure() || testing::Test::HasNonfatalFailure())
            break;
    }
    std::printf("[ killtest ] %d of %d kills caught a save half done\n", halfDone, done);
}

const QString kList = QLatin1String(catalog::kListOrderSource);
const QString kMerge = QLatin1String(catalog::kMergeOrderSource);

// Every category's count matches its parts, and the file passes the engine's check.
void expectConsistentDatabase(const QString& path, const QList<int>& categories)
{
    catalog::PartsDatabase db;
    ASSERT_TRUE(db.open(path, kList).ok()) << path.toStdString();
    db.close();
    for (int c : categories) {
        const int parts = testdb::partCount(path, c);
        const QVariant held = testdb::holderCount(path, c);
        if (parts > 0)
            EXPECT_EQ(held.toInt(), parts) << "category " << c;
    }
    EXPECT_EQ(testdb::exec(path, QStringLiteral("PRAGMA integrity_check")), QString());
}

}  // namespace

TEST(KillTest, PortraitDocumentAndCompanionStayAPair)
{
    QTemporaryDir dir;
    const QString doc = dir.filePath(QStringLiteral("face.fcr"));
    // The generation is in the document (the nose's place) and in the captions' text.
    auto save = [&](int generation) {
        core::PortraitState state;
        state.PartTable[core::kind::Nose].FileNo = 1;
        state.PartTable[core::kind::Nose].PosX = std::int16_t(generation);
        core::CaptionTable captions;
        captions[1].Text = QStringLiteral("世代 %1 ").arg(generation).repeated(40);
        return core::SaveDocument(doc, state, captions);
    };
    ASSERT_EQ(save(0), std::nullopt);
    int generation = 0;
    killRepeatedly(
        dir.path(), 4000,
        [&](int) {
            for (int g = generation + 1;; ++g)
                (void)save(g);
        },
        [&](int) {
            core::PortraitState state;
            core::CaptionTable captions;
            const core::DocumentLoad load = core::LoadDocument(doc, state, captions);
            ASSERT_EQ(load.status, core::DocumentLoad::Status::Loaded) << load.error.toStdString();
            const int g = state.PartTable[core::kind::Nose].PosX;
            EXPECT_EQ(captions[1].Text, QStringLiteral("世代 %1 ").arg(g).repeated(40));
            EXPECT_GE(g, generation);
            generation = g;
            // Loading finished any half-done save: only the pair is left.
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                      QStringList({"face.fcr", "face.fcr.fcm"}));
        });
}

TEST(KillTest, SettingsFileIsOldOrNew)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("ravoze.ini"));
    auto contents = [](int generation) {
        core::IniFile file;
        for (int i = 0; i < 200; ++i)
            file.setValue(u"Option Select", QStringLiteral("Key%1").arg(i), QString::number(generation));
        return file;
    };
    ASSERT_TRUE(contents(0).save(ini));
    killRepeatedly(
        dir.path(), 4000,
        [&](int) {
            for (int g = 1;; ++g)
                (void)contents(g).save(ini);
        },
        [&](int) {
            core::IniFile file;
            ASSERT_TRUE(file.load(ini));
            const QString first = file.value(u"Option Select", u"Key0");
            ASSERT_FALSE(first.isEmpty());
            EXPECT_EQ(file.toBytes(), contents(first.toInt()).toBytes());
        });
}

// Merges of an add-on file, deletions and compactions of the parts database.
class DatabaseKillTest : public testing::Test {
protected:
    void SetUp() override
    {
        target = dir.filePath(QStringLiteral("ravoze.mdb"));
        addon = dir.filePath(QStringLiteral("addon.mdb"));
        QList<testdb::Row> base = {testdb::blankTile()};
        base += testdb::category(7, {1, 2, 3});
        base += testdb::category(11, {1, 2});
        base += testdb::category(12, {1, 2});
        testdb::build(target, base);
        QList<int> many;
        for (int n = 10; n < 70; ++n)
            many << n;
        QList<testdb::Row> parts = {testdb::blankTile()};
        parts += testdb::category(7, many);
        parts += testdb::category(11, {5, 6, 7});
        parts += testdb::category(12, {5, 6, 7});
        testdb::build(addon, parts);
    }

    // Merges every part of the add-on file, then deletes them again, for ever.
    void mergeAndDeleteForEver()
    {
        struct Quiet : catalog::DeleteErrorSink {
            void deleteError(const QString&) override {}
        } sink;
        for (;;) {
            {
                catalog::PartsDatabase src;
                catalog::PartsDatabase dst;
                if (!src.open(addon, kList, catalog::OpenMode::ReadOnly).ok()
                    || !dst.open(target, kMerge).ok())
                    _exit(3);
                (void)catalog::CopyCategoryParts(src, dst, 7);
                (void)catalog::CopyCategoryParts(src, dst, 11);
            }
            catalog::PartsDatabase db;
            if (!db.open(target, kList).ok())
                _exit(4);
            for (int n = 10; n < 70; ++n)
                (void)catalog::DeletePart(db, 7, n, sink);
            for (int n = 5; n <= 7; ++n)
                (void)catalog::DeletePart(db, 11, n, sink);
        }
    }

    QTemporaryDir dir;
    QString target;
    QString addon;
};

TEST_F(DatabaseKillTest, MergesAndDeletionsKeepCountsAndPairs)
{
    killRepeatedly(
        dir.path(), 300000, [&](int) { mergeAndDeleteForEver(); },
        [&](int) {
            expectConsistentDatabase(target, {7, 11, 12});
            EXPECT_EQ(testdb::partCount(target, 11), testdb::partCount(target, 12));
        });
}

TEST_F(DatabaseKillTest, CompactionLeavesOneWholeDatabase)
{
    const QList<testdb::Seen> before = testdb::records(target);
    killRepeatedly(
        dir.path(), 200000,
        [&](int) {
            for (;;)
                (void)catalog::CompactPartsDatabase(dir.path());
        },
        [&](int) {
            expectConsistentDatabase(target, {7, 11, 12});
            EXPECT_EQ(testdb::records(target), before);
            // A work file left by the kill is the next compaction's to replace.
            ASSERT_TRUE(catalog::CompactPartsDatabase(dir.path()).ok());
        });
}

// Registering users' photos and deleting them again: the count in the first photo always
// matches the photos, and every photo has both of its pictures.
TEST(KillTest, PhotoRegistrationKeepsTheCount)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(catalog::kPhotoDatabaseName));
    ASSERT_TRUE(catalog::createPartsFile(path).ok());
    ASSERT_EQ(testdb::exec(path, QStringLiteral("INSERT INTO people (PictureID, FileNo, who_main, X, Y, "
                                                "Width, Height) VALUES (0, 0, 'blank', 0, 0, 0, 0)")),
              QString());
    const QString photoOrder = QString::fromLatin1(catalog::kPhotoOrderSource);
    killRepeatedly(
        dir.path(), 300000,
        [&](int) {
            catalog::PartsDatabase db;
            if (!db.open(path, photoOrder).ok())
                _exit(3);
            catalog::PhotoEntry entry;
            entry.main = imaging::Raster(120, 90, 24, qRgb(200, 120, 40));
            entry.mask = imaging::Raster(120, 90, 1, qRgb(0, 0, 0));
            for (int i = 0;; ++i) {
                entry.whoMain = QStringLiteral("photo%1.bmp").arg(i);
                entry.whoMask = QStringLiteral("mask%1.bmp").arg(i);
                (void)catalog::addPhoto(db, entry);
                // Keep a handful: delete the first photo once there are five.
                if (db.recordCount() > 5 && db.moveFirst())
                    (void)catalog::deletePhoto(db);
            }
        },
        [&](int) {
            EXPECT_EQ(testdb::exec(path, QStringLiteral("PRAGMA integrity_check")), QString());
            catalog::PartsDatabase db;
            ASSERT_TRUE(db.open(path, photoOrder).ok());
            const int photos = db.recordCount();
            if (photos == 0)
                return;
            ASSERT_TRUE(db.moveFirst());
            EXPECT_EQ(db.value("FileCnt").toInt(), photos);
            imaging::Raster picture;
            for (bool more = true; more; more = db.moveNext()) {
                EXPECT_EQ(db.image("photo_main", picture), 0);
                EXPECT_EQ(picture.width(), 120);
                EXPECT_EQ(db.image("photo_mask", picture), 0);
            }
        });
}
