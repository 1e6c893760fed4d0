#include "core/history.h"

#include "catalog/categories.h"
#include "catalog/partsdatabase.h"
#include "catalog/recordsource.h"
#include "core/colourcode.h"
#include "history_testdb.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

using namespace core;
using historytest::Part;
using imaging::Raster;

namespace {

struct FakeHost : HistoryHost {
    bool undoEnabled = false;
    bool redoEnabled = false;
    bool menuEnabled = false;
    int checkedItem = -1;
    QSize editorTwips{4500, 4905};
    bool busy = false;

    void setUndoEnabled(bool on) override { undoEnabled = on; }
    void setRedoEnabled(bool on) override { redoEnabled = on; }
    bool figurePosMenuEnabled() const override { return menuEnabled; }
    void setFigurePosMenuEnabled(bool on) override { menuEnabled = on; }
    void checkFigurePosItem(int mode) override { checkedItem = mode; }
    QSize editorWindowSizeTwips() const override { return editorTwips; }
    void setEditorWindowSizeTwips(QSize size) override { editorTwips = size; }
    void setBusyPointer(bool on) override { busy = on; }
};

// The parts database of these tests. Outline and nose lack their part 1, as after a deletion;
// the parts database also holds a user image, which must never be taken for a photo.
const QList<Part> kParts = {
    {kind::Background, 1601, QRect(0, 0, 575, 395), 1, QSize(575, 395)},
    {kind::User, 4, QRect(0, 0, 120, 90)},
    {kind::Hairstyle, 1, QRect(60, 30, 180, 150)},
    {kind::Hairstyle, 2, QRect(57, 27, 186, 156)},
    {kind::Ears, 1, QRect(50, 120, 200, 60)},
    {kind::Outline, 2, QRect(75, 60, 150, 180)},
    {kind::BrowRight, 1, QRect(160, 100, 45, 15)},
    {kind::BrowLeft, 1, QRect(107, 100, 45, 15)},
    {kind::EyeRight, 1, QRect(165, 125, 30, 18)},
    {kind::EyeLeft, 1, QRect(112, 125, 30, 18)},
    {kind::Mouth, 1, QRect(126, 200, 48, 21)},
    {kind::Mouth, 2, QRect(120, 198, 60, 24), 0, QSize(300, 300), false},  // records lost
    {kind::Nose, 3, QRect(138, 150, 24, 33)},
    {kind::Nose, 5, QRect(135, 147, 30, 36)},
    {kind::Option, 1, QRect(30, 30, 60, 60)},
    {kind::Fringe, 1, QRect(72, 36, 156, 72)},
    {kind::Balloon, 1, QRect(330, 21, 210, 120), 0, QSize(575, 395)},
};
const Part kPhoto{kind::User, 4, QRect(0, 0, 150, 200)};

const Part* findPart(int k, int fileNo)
{
    const auto it = std::find_if(kParts.begin(), kParts.end(),
                                 [&](const Part& p) { return p.kind == k && p.fileNo == fileNo; });
    return it == kParts.end() ? nullptr : &*it;
}

const Part& partOf(int k, int fileNo)
{
    const Part* p = findPart(k, fileNo);
    Q_ASSERT(p);
    return *p;
}

int lastRow(const Part& p) { return std::max(1, catalog::RowsPerPart(p.kind)); }

Raster coloured(Raster picture, int code)
{
    ApplyColourCode(picture, code);
    return picture;
}

bool contains(const std::vector<int>& kinds, int k)
{
    return std::find(kinds.begin(), kinds.end(), k) != kinds.end();
}

class HistoryTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    PortraitState state;
    PartImages images;
    OptionMemory option;
    CaptionTable captions;
    core::History history;
    catalog::PartsDatabase partsDb;
    catalog::PartsDatabase photoDb;
    FakeHost host;
    HistoryContext ctx{state, images, option, captions, history, {&partsDb, &photoDb}, &host};
    // What a composition does last.
    std::function<void()> compose = [this] { RecordSnapshot(ctx); };

    QString partsPath() const { return dir.filePath("Ravoze.mdb"); }
    QString photoPath() const { return dir.filePath("Photo.mdb"); }

    void openDatabases(const QList<Part>& photos = {kPhoto})
    {
        ASSERT_EQ(historytest::buildDatabase(partsPath(), kParts), QString());
        ASSERT_EQ(historytest::buildDatabase(photoPath(), photos), QString());
        ASSERT_TRUE(partsDb.open(partsPath(), catalog::kListOrderSource).ok());
        ASSERT_TRUE(photoDb.open(photoPath(), catalog::kListOrderSource).ok());
    }

    // A slot as a loaded document holds it: the part at its standard place.
    PartSlot& place(int k, int fileNo)
    {
        const Part* part = findPart(k, fileNo);
        const QRect box = part ? part->box : QRect();
        PartSlot& s = state.PartTable[k];
        s = PartSlot{};
        s.FileNo = std::int16_t(fileNo);
        s.PosX = s.BaseX = std::int16_t(box.x());
        s.PosY = s.BaseY = std::int16_t(box.y());
        s.Width = std::int16_t(box.width());
        s.Height = std::int16_t(box.height());
        return s;
    }

    // Change n of a series: leaves a mark that tells the states apart.
    void change(int n)
    {
        state.FigureStepX = std::int16_t(n);
        captions[1].Text = QString::number(n);
        RecordSnapshot(ctx);
    }
    int shown() const
    {
        EXPECT_EQ(captions[1].Text, QString::number(state.FigureStepX));
        return state.FigureStepX;
    }

    // Marks every fetched picture, so that a fetch during a step shows as a lost mark.
    void markPictures()
    {
        for (Raster& r : images.Part_Pic) {
            if (!r.isNull())
                r.setPixel(0, 0, qRgb(1, 2, 3));
        }
    }
    bool marked(int k) const { return images.colour(k).pixel(0, 0) == qRgb(1, 2, 3); }
};

}  // namespace

TEST_F(HistoryTest, RingKeepsTheLastElevenStates)
{
    for (int n = 1; n <= 12; ++n) {
        change(n);
        EXPECT_EQ(host.undoEnabled, n > 1) << "a first state cannot be undone, change " << n;
    }
    for (int n = 11; n >= 2; --n) {
        ASSERT_TRUE(Undo(ctx, compose));
        EXPECT_EQ(shown(), n);
        EXPECT_TRUE(host.redoEnabled);
    }
    EXPECT_FALSE(host.undoEnabled);
    EXPECT_FALSE(Undo(ctx, compose));
    EXPECT_EQ(shown(), 2);
    EXPECT_EQ(history.UndoCount, 1);

    for (int n = 3; n <= 12; ++n) {
        ASSERT_TRUE(Redo(ctx, compose));
        EXPECT_EQ(shown(), n);
    }
    EXPECT_FALSE(host.redoEnabled);
    EXPECT_FALSE(Redo(ctx, compose));
    EXPECT_EQ(history.UndoCount, 11);
    EXPECT_FALSE(history.UndoInProgress || history.RedoInProgress);
}

TEST_F(HistoryTest, NewChangeAfterUndoDropsTheRedoRange)
{
    for (int n = 1; n <= 4; ++n)
        change(n);
    ASSERT_TRUE(Undo(ctx, compose));
    // Without a composition the step still ends like one, or the next change would be lost.
    ASSERT_TRUE(Undo(ctx));
    EXPECT_EQ(shown(), 2);
    EXPECT_TRUE(host.redoEnabled);

    change(5);
    EXPECT_FALSE(host.redoEnabled);
    EXPECT_FALSE(Redo(ctx, compose));
    ASSERT_TRUE(Undo(ctx, compose));
    EXPECT_EQ(shown(), 2);
    ASSERT_TRUE(Redo(ctx, compose));
    EXPECT_EQ(shown(), 5);
    EXPECT_FALSE(Redo(ctx, compose));
}

TEST_F(HistoryTest, StepRestoresTheKeptState)
{
    // No databases: the slots come back as kept, only their pictures are missing.
    ctx.databases = {};
    place(kind::User, 4);
    MoveUserLayer(state, 22);
    place(kind::Background, 1601).Extra = 3;
    place(kind::Hairstyle, 1).GrowW = 25;
    state.BackgroundOption = 1;
    state.FigurePosMode = 3;
    state.FigureStepX = 2;
    state.FigureStepY = -1;
    state.OutlineWidthStep = 1;
    state.EyeSpacing = -2;
    state.EyeAngle = 5;
    state.BrowSpacing = 1;
    state.BrowAngle = -3;
    images.PreviewTable[kind::Hairstyle] = {1, 20, 10, 20, 10, 60, 50, 8, 0, 0, 0, 0, 0};
    images.PreviewTable[kind::Hat].PosX = 7;
    captions[2].Text = QStringLiteral("はじめ");
    captions[2].Shown = true;
    host.editorTwips = QSize(8625, 6330);
    host.menuEnabled = true;
    RecordSnapshot(ctx);
    const PortraitState kept = state;
    const PartSlot keptPreview = images.PreviewTable[kind::Hairstyle];
    const CaptionTable keptCaptions = captions;

    state = PortraitState{};
    images.PreviewTable[kind::Hairstyle].PosX = 99;
    images.PreviewTable[kind::Hat].PosX = 55;
    captions = CaptionTable{};
    host.editorTwips = QSize(4500, 4905);
    RecordSnapshot(ctx);

    ASSERT_TRUE(Undo(ctx, compose));
    EXPECT_EQ(state.PartTable, kept.PartTable);
    EXPECT_EQ(state.LayerOrder, kept.LayerOrder);
    EXPECT_EQ(state.LayerOrder[22], kind::User);
    EXPECT_EQ(state.BackgroundOption, 1);
    EXPECT_EQ(state.FigurePosMode, 3);
    EXPECT_EQ(state.FigureStepX, 2);
    EXPECT_EQ(state.FigureStepY, -1);
    EXPECT_EQ(state.OutlineWidthStep, 1);
    EXPECT_EQ(state.EyeSpacing, -2);
    EXPECT_EQ(state.EyeAngle, 5);
    EXPECT_EQ(state.BrowSpacing, 1);
    EXPECT_EQ(state.BrowAngle, -3);
    EXPECT_EQ(images.PreviewTable[kind::Hairstyle], keptPreview);
    EXPECT_EQ(images.PreviewTable[kind::Hat].PosX, 55) << "the hat's overlay slot is not kept";
    EXPECT_EQ(captions, keptCaptions);
    EXPECT_EQ(host.editorTwips, QSize(8625, 6330));
    EXPECT_EQ(host.checkedItem, 3);
    EXPECT_FALSE(host.busy);
}

TEST_F(HistoryTest, FreshPortraitTakesItsGeometryFromTheDatabase)
{
    openDatabases();
    const int defaults[] = {kind::Hairstyle, kind::Ears, kind::Outline, kind::BrowRight,
                            kind::BrowLeft, kind::EyeRight, kind::EyeLeft, kind::Mouth,
                            kind::Nose, kind::Fringe};
    for (const int k : defaults) {
        PartSlot& s = state.PartTable[k];
        s = PartSlot{1, 5, 5, 5, 5, 5, 5, 5, 5, 9, 900, 0, 0};
    }
    state.EyeSpacing = 2;
    history.FreshPortrait = true;

    const RebuildReport report = RebuildPartImages(ctx);
    EXPECT_TRUE(report.dropped.empty());
    EXPECT_TRUE(report.failed.empty()) << report.errors.join(u'\n').toStdString();
    EXPECT_FALSE(history.FreshPortrait);
    EXPECT_EQ(state.EyeSpacing, 0);

    for (const int k : defaults) {
        SCOPED_TRACE(k);
        // Number 1 is the kind's first part: the outline's and the nose's were deleted.
        const int fileNo = k == kind::Outline ? 2 : k == kind::Nose ? 3 : 1;
        const Part& part = partOf(k, fileNo);
        const int code = k == kind::Hairstyle || k == kind::Fringe ? 3 : 0;
        const PartSlot& s = state.PartTable[k];
        EXPECT_EQ(s, (PartSlot{std::int16_t(fileNo), std::int16_t(part.box.x()),
                               std::int16_t(part.box.y()), std::int16_t(part.box.x()),
                               std::int16_t(part.box.y()), std::int16_t(part.box.width()),
                               std::int16_t(part.box.height()), 0, 0, std::int16_t(code), 0, 0,
                               0}));
        const PartSlot& p = images.PreviewTable[k];
        EXPECT_EQ(p.PosX, part.box.x() / 3);
        EXPECT_EQ(p.BaseY, part.box.y() / 3);
        EXPECT_EQ(p.Width, part.box.width() / 3);
        EXPECT_EQ(p.GrowW, 0);
        EXPECT_TRUE(images.mask(k) == historytest::partMask(part, lastRow(part)));
        EXPECT_TRUE(images.colour(k) == coloured(historytest::partPicture(part, lastRow(part)), code));
        EXPECT_TRUE(images.smallMask(k) == historytest::partMask(part, 1));
        EXPECT_TRUE(images.smallColour(k) == coloured(historytest::partPicture(part, 1), code));
    }
}

TEST_F(HistoryTest, LoadedPortraitKeepsItsGeometryAndColours)
{
    openDatabases();
    PartSlot& hair = place(kind::Hairstyle, 2);
    hair = PartSlot{2, 61, 29, 57, 27, 186, 156, 25, 15, 4, 0, 0, 0};
    PartSlot& opt = place(kind::Option, 1);
    opt.PosX = 200;
    opt.PosY = 50;
    place(kind::Nose, 1);
    const PartSlot keptHair = hair;

    const RebuildReport report = RebuildPartImages(ctx);
    EXPECT_TRUE(report.failed.empty()) << report.errors.join(u'\n').toStdString();
    EXPECT_EQ(state.PartTable[kind::Hairstyle], keptHair);
    EXPECT_EQ(state.PartTable[kind::Nose].FileNo, 3);

    // The picker's slot is the portrait's at a third, rounded.
    const PartSlot& p = images.PreviewTable[kind::Hairstyle];
    EXPECT_EQ(p.PosX, 20);
    EXPECT_EQ(p.PosY, 10);
    EXPECT_EQ(p.BaseX, 19);
    EXPECT_EQ(p.GrowW, 8);
    EXPECT_EQ(p.GrowH, 5);
    EXPECT_EQ(p.Width, 186 / 3);
    EXPECT_EQ(images.PreviewTable[kind::Option].PosX, 67);
    EXPECT_EQ(option, (OptionMemory{10, 10, 20, 20, 0, 0}));

    // Grey hair (code 4) in the portrait and in the picker's thumbnails alike.
    const Part& part = partOf(kind::Hairstyle, 2);
    EXPECT_TRUE(images.colour(kind::Hairstyle) == coloured(historytest::partPicture(part, 2), 4));
    EXPECT_TRUE(images.smallColour(kind::Hairstyle) == coloured(historytest::partPicture(part, 1), 4));
    EXPECT_FALSE(images.colour(kind::Hairstyle) == historytest::partPicture(part, 2));
}

TEST_F(HistoryTest, LoadedOutlineGivesTheSliderPositions)
{
    openDatabases();
    struct Row {
        int growW, growH;
        int widthStep, heightStep, bodyShift;
    };
    const Row rows[] = {
        {0, 0, 0, 0, 0},      {25, 15, 1, 1, -1},  {50, 30, 2, 2, -2},
        {-50, -30, -2, -2, 5}, {-25, -15, -1, -1, 2},
        {10, 7, 9, 9, 9},  // no slider position: left alone
        {25, 7, 1, 9, 9},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.growW << " x " << row.growH);
        PartSlot& outline = place(kind::Outline, 2);
        outline.GrowW = std::int16_t(row.growW);
        outline.GrowH = std::int16_t(row.growH);
        state.OutlineWidthStep = state.OutlineHeightStep = state.BodyShift = 9;
        RebuildPartImages(ctx);
        EXPECT_EQ(state.OutlineWidthStep, row.widthStep);
        EXPECT_EQ(state.OutlineHeightStep, row.heightStep);
        EXPECT_EQ(state.BodyShift, row.bodyShift);
    }
}

TEST_F(HistoryTest, PairSpacingAndTiltComeFromTheSlots)
{
    openDatabases();
    struct Row {
        const char* name;
        int k;
        int extra;
        int angle;
        int spacing;                 // EyeSpacing or BrowSpacing
        std::optional<int> degrees;  // EyeAngle or BrowAngle; nothing: left alone
    };
    const Row rows[] = {
        {"eyes apart", kind::EyeRight, -8, -500, -2, std::nullopt},
        {"eyes closer, rounded", kind::EyeRight, 5, 0, 2, std::nullopt},
        {"left eye, halves to even", kind::EyeLeft, -6, 250, -2, 2},
        {"left brow", kind::BrowLeft, 3, -350, 1, -4},
        {"right brow", kind::BrowRight, -4, 900, -1, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        state = PortraitState{};
        state.EyeSpacing = state.BrowSpacing = 7;
        state.EyeAngle = state.BrowAngle = 77;
        PartSlot& s = place(row.k, 1);
        s.Extra = std::int16_t(row.extra);
        s.Angle = row.angle;
        RebuildPartImages(ctx);
        const bool eyes = row.k >= kind::EyeRight;
        EXPECT_EQ(eyes ? state.EyeSpacing : state.BrowSpacing, row.spacing);
        EXPECT_EQ(eyes ? state.EyeAngle : state.BrowAngle, row.degrees.value_or(77));
        EXPECT_EQ(eyes ? state.BrowSpacing : state.EyeSpacing, 7);
    }
}

TEST_F(HistoryTest, FigurePositionAndBackgroundOptionComeFromTheSlots)
{
    openDatabases();
    struct Row {
        const char* name;
        bool background;
        bool balloon;
        int mode, stepX, option;
    };
    const Row rows[] = {
        {"background, custom position", true, false, 3, 4, 1},
        {"balloon only, right", false, true, 2, 0, 0},
        {"balloon wins over background", true, true, 2, 0, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        state = PortraitState{};
        host = FakeHost{};
        if (row.background) {
            PartSlot& s = place(kind::Background, 1601);
            s.Extra = 3;
            s.ShiftX = 4;
        }
        if (row.balloon)
            place(kind::Balloon, 1).Extra = 2;
        RebuildPartImages(ctx);
        EXPECT_EQ(state.FigurePosMode, row.mode);
        EXPECT_EQ(state.FigureStepX, row.stepX);
        // From the full-scale record; the one-third-scale one holds 0.
        EXPECT_EQ(state.BackgroundOption, row.option);
        EXPECT_TRUE(host.menuEnabled);
        EXPECT_EQ(host.checkedItem, row.mode);
    }
}

TEST_F(HistoryTest, UserImageComesFromThePhotoDatabase)
{
    openDatabases({});
    // Registered after the view was opened.
    ASSERT_EQ(historytest::appendParts(photoPath(), {kPhoto}), QString());
    place(kind::User, 4).Extra = 2;

    const RebuildReport report = RebuildPartImages(ctx);
    EXPECT_TRUE(contains(report.reloaded, kind::User)) << report.errors.join(u'\n').toStdString();
    EXPECT_EQ(state.PartTable[kind::User].FileNo, 4);
    EXPECT_TRUE(images.colour(kind::User) == historytest::partPicture(kPhoto, 1));
    EXPECT_TRUE(images.smallMask(kind::User) == historytest::partMask(kPhoto, 1));
}

TEST_F(HistoryTest, PartsTheDatabaseCannotGiveAreDroppedOrKept)
{
    openDatabases();
    struct Row {
        const char* name;
        int k;
        int fileNo;
        bool photosOpen;
        int fileNoAfter;  // 0: dropped; otherwise kept without pictures
    };
    const Row rows[] = {
        {"part deleted from the database", kind::Mouth, 9, true, 0},
        {"photo no longer registered", kind::User, 8, true, 0},
        {"records of the part lost", kind::Mouth, 2, true, 2},
        {"photo database missing", kind::User, 4, false, 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        state = PortraitState{};
        images = PartImages{};
        place(row.k, row.fileNo);
        place(kind::Nose, 3);
        ctx.databases.photos = row.photosOpen ? &photoDb : nullptr;
        const RebuildReport report = RebuildPartImages(ctx);
        EXPECT_EQ(state.PartTable[row.k].FileNo, row.fileNoAfter);
        EXPECT_EQ(contains(report.dropped, row.k), row.fileNoAfter == 0);
        EXPECT_EQ(contains(report.failed, row.k), row.fileNoAfter != 0);
        EXPECT_TRUE(images.colour(row.k).isNull());
        EXPECT_TRUE(contains(report.reloaded, kind::Nose)) << "the other parts still come";
    }
}

TEST_F(HistoryTest, StepsFetchOnlyTheKindsWhosePicturesDiffer)
{
    openDatabases();
    for (const int k : {kind::Hairstyle, kind::EyeRight, kind::EyeLeft, kind::Balloon})
        place(k, 1);
    place(kind::Nose, 3);
    place(kind::User, 4).Extra = 2;
    RebuildPartImages(ctx);
    compose();

    // Moving the nose changes no picture: undo and redo put it back without fetching.
    state.PartTable[kind::Nose].PosX += 10;
    compose();
    markPictures();
    ASSERT_TRUE(Undo(ctx, compose));
    EXPECT_EQ(state.PartTable[kind::Nose].PosX, partOf(kind::Nose, 3).box.x());
    for (const int k : {kind::User, kind::Hairstyle, kind::EyeRight, kind::EyeLeft, kind::Nose,
                        kind::Balloon})
        EXPECT_TRUE(marked(k)) << "kind " << k << " fetched again";
    ASSERT_TRUE(Redo(ctx, compose));
    EXPECT_TRUE(marked(kind::Nose));

    // A colour code changes the nose's pictures, in both directions.
    state.PartTable[kind::Nose].Extra = 2;
    compose();
    markPictures();
    ASSERT_TRUE(Undo(ctx, compose));
    EXPECT_FALSE(marked(kind::Nose));
    EXPECT_TRUE(marked(kind::Hairstyle));
    const Part& nose = partOf(kind::Nose, 3);
    EXPECT_TRUE(images.colour(kind::Nose) == historytest::partPicture(nose, lastRow(nose)));
    markPictures();
    ASSERT_TRUE(Redo(ctx, compose));
    EXPECT_FALSE(marked(kind::Nose));
    EXPECT_TRUE(marked(kind::User));
    EXPECT_TRUE(images.colour(kind::Nose) == coloured(historytest::partPicture(nose, lastRow(nose)), 2));
}
