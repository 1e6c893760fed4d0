// Registering, numbering, counting and deleting photos on temporary photo databases.
#include "photofixture.h"

#include "photo/photoregistry.h"

#include <QElapsedTimer>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace photo;
using Seen = PhotoFolder::Seen;

namespace {

class Registry : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.createDatabase();
        ASSERT_TRUE(registry.open(folder.dir.path()).ok());
        main = folder.picture(QStringLiteral("main.bmp"), 40, 30);
        mask = folder.picture(QStringLiteral("mask.bmp"), 20, 10, 1);
    }

    // One whole registration through the controller; returns the number it got.
    int add(const QString& mainFile, const QString& maskFile)
    {
        registry.beginAdd();
        EXPECT_EQ(registry.choose(Slot::Main, mainFile).status, PhotoRegistry::Choice::Loaded);
        EXPECT_EQ(registry.choose(Slot::Mask, maskFile).status, PhotoRegistry::Choice::Loaded);
        const PhotoRegistry::StoreResult r = registry.store();
        EXPECT_EQ(r.status, PhotoRegistry::Store::Stored) << r.error.toStdString();
        return r.fileNo;
    }
    int add() { return add(main, mask); }

    bool deleteNumber(int fileNo)
    {
        for (int i = 0; i < registry.count(); ++i) {
            registry.showRecord(i);
            if (registry.field("FileNo").toInt() == fileNo)
                return registry.deleteCurrent().status == PhotoRegistry::Delete::Deleted;
        }
        return false;
    }

    QList<int> numbers() const
    {
        QList<int> out;
        for (const Seen& s : folder.photos())
            out << s.fileNo;
        return out;
    }
    QVariant count() const
    {
        const QList<Seen> all = folder.photos();
        return all.isEmpty() ? QVariant() : all.first().fileCnt;
    }

    PhotoFolder folder;
    PhotoRegistry registry;
    QString main, mask;
};

QVariant n(int v) { return QVariant(qlonglong(v)); }

}  // namespace

TEST_F(Registry, TheFirstRegistrationGetsNumberOneAndTheCount)
{
    EXPECT_EQ(registry.count(), 0);
    EXPECT_FALSE(registry.hasCurrent());
    EXPECT_EQ(registry.beginAdd(), 1);
    EXPECT_TRUE(registry.isAdding());
    ASSERT_EQ(registry.choose(Slot::Main, main).status, PhotoRegistry::Choice::Loaded);
    ASSERT_EQ(registry.choose(Slot::Mask, mask).status, PhotoRegistry::Choice::Loaded);
    const PhotoRegistry::StoreResult r = registry.store();
    ASSERT_EQ(r.status, PhotoRegistry::Store::Stored) << r.error.toStdString();
    EXPECT_EQ(r.fileNo, 1);
    EXPECT_FALSE(registry.isAdding());

    EXPECT_EQ(folder.photos(), (QList<Seen>{{1, main, n(1)}}));
    // The new photo is shown, with the main picture's size whatever the mask's.
    EXPECT_EQ(registry.count(), 1);
    EXPECT_EQ(registry.position(), 0);
    EXPECT_EQ(registry.field("PictureID").toInt(), 2);
    EXPECT_EQ(registry.field("who_mask").toString(), mask);
    EXPECT_EQ(registry.field("Width").toInt(), 40);
    EXPECT_EQ(registry.field("Height").toInt(), 30);
    EXPECT_EQ(registry.field("X").toInt(), 0);
    EXPECT_EQ(registry.field("Y").toInt(), 0);
    const imaging::Raster storedMask = registry.picture(Slot::Mask);
    EXPECT_EQ(storedMask.size(), QSize(20, 10));
    EXPECT_EQ(storedMask.bits(), 1);
    EXPECT_EQ(registry.picture(Slot::Main).size(), QSize(40, 30));
}

TEST_F(Registry, TheSizeCheckRefuses576WideOr396High)
{
    struct Case {
        int w, h;
        PhotoRegistry::Choice expected;
    };
    registry.beginAdd();
    for (const Case& c : {Case{575, 395, PhotoRegistry::Choice::Loaded}, Case{576, 395, PhotoRegistry::Choice::TooLarge},
                          Case{575, 396, PhotoRegistry::Choice::TooLarge}}) {
        for (Slot slot : {Slot::Main, Slot::Mask}) {
            const QString file = folder.picture(QStringLiteral("%1x%2.png").arg(c.w).arg(c.h), c.w, c.h);
            EXPECT_EQ(registry.choose(slot, file).status, c.expected) << c.w << "x" << c.h;
            const bool loaded = c.expected == PhotoRegistry::Choice::Loaded;
            EXPECT_EQ(registry.pendingName(slot), loaded ? file : QString());
            EXPECT_EQ(registry.pendingPicture(slot).size(), loaded ? QSize(c.w, c.h) : QSize(0, 0));
        }
    }
}

TEST_F(Registry, RefusalsKeepTheNewPhotoPending)
{
    const QString broken = folder.path(QStringLiteral("broken.bmp"));
    {
        QFile f(broken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("BM not really a bitmap");
    }
    registry.beginAdd();
    EXPECT_EQ(registry.store().status, PhotoRegistry::Store::NoFile);
    ASSERT_EQ(registry.choose(Slot::Main, main).status, PhotoRegistry::Choice::Loaded);
    EXPECT_EQ(registry.store().status, PhotoRegistry::Store::NoFile);

    // A file that cannot be read says why and drops the choice.
    ASSERT_EQ(registry.choose(Slot::Mask, mask).status, PhotoRegistry::Choice::Loaded);
    const PhotoRegistry::ChoiceResult bad = registry.choose(Slot::Mask, broken);
    EXPECT_EQ(bad.status, PhotoRegistry::Choice::Failed);
    EXPECT_NE(bad.code, 0);
    EXPECT_TRUE(registry.pendingName(Slot::Mask).isEmpty());
    EXPECT_EQ(registry.choose(Slot::Mask, folder.path(QStringLiteral("missing.bmp"))).status,
              PhotoRegistry::Choice::Failed);

    // Cancelling the dialog empties the name but leaves the picture shown.
    ASSERT_EQ(registry.choose(Slot::Mask, mask).status, PhotoRegistry::Choice::Loaded);
    EXPECT_EQ(registry.choose(Slot::Mask, QString()).status, PhotoRegistry::Choice::Cancelled);
    EXPECT_TRUE(registry.pendingName(Slot::Mask).isEmpty());
    EXPECT_FALSE(registry.pendingPicture(Slot::Mask).isNull());
    EXPECT_EQ(registry.store().status, PhotoRegistry::Store::NoFile);
    EXPECT_TRUE(registry.isAdding());
    EXPECT_TRUE(folder.photos().isEmpty());

    // With no number left the number stays empty.
    registry.cancelAdd(0);
    ASSERT_EQ(folder.exec("INSERT INTO people (PictureID, FileNo, who_main) VALUES (2, 32767, 'last')"), QString());
    ASSERT_TRUE(registry.database().requery().ok());
    EXPECT_EQ(registry.beginAdd(), 0);
    registry.choose(Slot::Main, main);
    registry.choose(Slot::Mask, mask);
    EXPECT_EQ(registry.store().status, PhotoRegistry::Store::NoNumber);
    EXPECT_EQ(numbers(), QList<int>{32767});
}

TEST_F(Registry, TheTopNumberIsReusedAMiddleOneNever)
{
    EXPECT_EQ(add(), 1);
    EXPECT_EQ(add(), 2);
    EXPECT_EQ(add(), 3);
    EXPECT_EQ(registry.position(), 2);  // the last one is shown
    EXPECT_EQ(count(), n(3));

    ASSERT_TRUE(deleteNumber(3));
    EXPECT_EQ(add(), 3);
    ASSERT_TRUE(deleteNumber(2));
    EXPECT_EQ(count(), n(2));
    EXPECT_EQ(add(), 4);
    EXPECT_EQ(numbers(), (QList<int>{1, 3, 4}));

    // Deleting the count holder moves the count to the next photo; the first is shown.
    ASSERT_TRUE(deleteNumber(1));
    EXPECT_EQ(folder.photos(), (QList<Seen>{{3, main, n(2)}, {4, main, QVariant()}}));
    EXPECT_EQ(registry.position(), 0);
    EXPECT_EQ(registry.field("FileNo").toInt(), 3);
}

TEST_F(Registry, DeletingTheOnlyPhotoLeavesAnEmptyDatabase)
{
    add();
    ASSERT_EQ(registry.deleteCurrent().status, PhotoRegistry::Delete::Deleted);
    EXPECT_EQ(registry.count(), 0);
    EXPECT_FALSE(registry.hasCurrent());
    EXPECT_TRUE(folder.photos().isEmpty());
    EXPECT_EQ(registry.deleteCurrent().status, PhotoRegistry::Delete::NoRecord);
    EXPECT_EQ(add(), 1);
}

TEST_F(Registry, CancellingDropsTheNewPhoto)
{
    add();
    add();
    registry.showRecord(0);
    registry.beginAdd();
    registry.choose(Slot::Main, main);
    registry.choose(Slot::Mask, mask);
    registry.cancelAdd(0);
    EXPECT_FALSE(registry.isAdding());
    EXPECT_EQ(registry.position(), 0);
    EXPECT_EQ(numbers(), (QList<int>{1, 2}));
    EXPECT_EQ(registry.store().status, PhotoRegistry::Store::Failed);
}

TEST_F(Registry, AnAutomaticMaskComesFromTheMainPicture)
{
    const QString photo = folder.picture(QStringLiteral("photo.png"), 30, 30, 24, qRgb(250, 250, 250));
    registry.beginAdd();
    EXPECT_FALSE(registry.createAutoMask());  // nothing to make it from
    ASSERT_EQ(registry.choose(Slot::Main, photo).status, PhotoRegistry::Choice::Loaded);
    ASSERT_TRUE(registry.createAutoMask());
    EXPECT_TRUE(registry.autoMask());
    EXPECT_EQ(registry.pendingName(Slot::Mask), PhotoRegistry::autoMaskName(photo));

    // Another main picture gives another mask.
    const QString wide = folder.picture(QStringLiteral("wide.png"), 60, 20, 24, qRgb(250, 250, 250));
    ASSERT_EQ(registry.choose(Slot::Main, wide).status, PhotoRegistry::Choice::Loaded);
    EXPECT_EQ(registry.pendingPicture(Slot::Mask).size(), QSize(60, 20));
    EXPECT_EQ(registry.pendingName(Slot::Mask), PhotoRegistry::autoMaskName(wide));
    ASSERT_EQ(registry.store().status, PhotoRegistry::Store::Stored);

    const imaging::Raster storedMask = registry.picture(Slot::Mask);
    const imaging::Raster storedMain = registry.picture(Slot::Main);
    EXPECT_EQ(storedMask.bits(), 1);
    EXPECT_EQ(storedMask.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(storedMask.pixel(30, 10), qRgb(0, 0, 0));
    // The background is taken out of the main picture, the figure kept.
    EXPECT_EQ(storedMain.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(storedMain.pixel(30, 10), qRgb(0, 0, 0));
    // Black and light grey only: stored as a grey picture.
    EXPECT_EQ(storedMain.bits(), 8);
    EXPECT_EQ(registry.field("who_main").toString(), wide);

    // Choosing a mask file ends the automatic one.
    registry.beginAdd();
    registry.choose(Slot::Main, photo);
    registry.createAutoMask();
    registry.choose(Slot::Mask, mask);
    EXPECT_FALSE(registry.autoMask());
    EXPECT_EQ(registry.pendingName(Slot::Mask), mask);
    // A main picture that cannot be used takes its automatic mask with it.
    registry.createAutoMask();
    registry.choose(Slot::Main, folder.picture(QStringLiteral("big.png"), 600, 20));
    EXPECT_TRUE(registry.pendingName(Slot::Mask).isEmpty());
    EXPECT_TRUE(registry.pendingPicture(Slot::Mask).isNull());
}

// A reader holding the file (here another connection in the middle of a read) keeps the
// store and the delete from committing: nothing may change, and the controller must say so.
TEST_F(Registry, AFailedStoreOrDeleteChangesNothing)
{
    add();
    const QList<Seen> before = folder.photos();

    sqlite3* reader = nullptr;
    ASSERT_EQ(sqlite3_open(folder.database().toUtf8().constData(), &reader), SQLITE_OK);
    sqlite3_stmt* read = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(reader, "SELECT FileNo FROM people", -1, &read, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(read), SQLITE_ROW);

    registry.beginAdd();
    registry.choose(Slot::Main, main);
    registry.choose(Slot::Mask, mask);
    const PhotoRegistry::StoreResult stored = registry.store();
    EXPECT_EQ(stored.status, PhotoRegistry::Store::Failed);
    EXPECT_FALSE(stored.error.isEmpty());
    EXPECT_FALSE(registry.isAdding());
    EXPECT_EQ(registry.count(), 1);
    EXPECT_EQ(registry.position(), 0);

    registry.showRecord(0);
    EXPECT_EQ(registry.deleteCurrent().status, PhotoRegistry::Delete::Failed);
    EXPECT_EQ(registry.count(), 1);
    EXPECT_TRUE(registry.hasCurrent());

    sqlite3_finalize(read);
    sqlite3_close(reader);
    EXPECT_EQ(folder.photos(), before);
    // Once the reader is gone the next number is the one the failed store would have had.
    EXPECT_EQ(add(), 2);
}

// A program killed in the middle of a write leaves the file to be rolled back on the next
// open: the photos and their count are those before the write.
TEST_F(Registry, AKillInTheMiddleOfAWriteLeavesThePhotosAsTheyWere)
{
    add();
    add();
    const QList<Seen> before = folder.photos();
    const QString database = folder.database();
    // Enough picture data that the write spills into the file before the kill.
    const QString big = folder.picture(QStringLiteral("big.png"), 575, 395);

    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        PhotoRegistry writer;
        if (!writer.open(folder.dir.path()).ok())
            _exit(3);
        catalog::PartsDatabase& db = writer.database();
        imaging::Raster noise(575, 395, 24);
        std::uint32_t seed = 1;
        for (int y = 0; y < noise.height(); ++y)
            for (int x = 0; x < noise.width(); ++x)
                noise.setPixel(x, y, (seed = seed * 1664525u + 1013904223u) >> 8);
        if (!db.beginTransaction().ok())
            _exit(4);
        (void)db.moveFirst();
        (void)db.deleteRecord();
        for (int i = 0; i < 8; ++i) {
            if (!db.addNew().ok() || !db.setValue(u"PictureID", 2).ok() || !db.setValue(u"FileNo", 10 + i).ok()
                || !db.setImage(u"photo_main", noise).ok() || !db.update().ok())
                _exit(5);
        }
        std::raise(SIGKILL);
        _exit(6);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "child ended with " << WEXITSTATUS(status);
    EXPECT_TRUE(QFileInfo::exists(database + QStringLiteral("-journal")));

    // The file opens, the interrupted write is gone, and registering goes on from there.
    registry.close();
    ASSERT_TRUE(registry.open(folder.dir.path()).ok());
    EXPECT_EQ(folder.photos(), before);
    EXPECT_EQ(registry.count(), 2);
    EXPECT_EQ(add(big, mask), 3);
    EXPECT_EQ(count(), n(3));
}
