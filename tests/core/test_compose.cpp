#include "core/compose.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace core;
using imaging::Raster;

namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kRed = qRgb(200, 30, 40);
constexpr QRgb kGreen = qRgb(20, 180, 60);
constexpr QRgb kBlue = qRgb(30, 60, 210);
constexpr QRgb kGold = qRgb(230, 190, 20);

std::string rgb(QRgb c)
{
    return std::to_string(qRed(c)) + "," + std::to_string(qGreen(c)) + "," + std::to_string(qBlue(c));
}

void fillBox(Raster& r, const QRect& box, QRgb colour)
{
    r.setRegion(imaging::Region::rectangle(box));
    r.fill(colour);
    r.freeRegion();
}

// Records every call in order, so that tests can check what a composition asks of the
// editor and the main window.
struct FakeHost : EditorHost {
    bool menuEnabled = false;
    int checkedItem = -1;
    QSize clientSize;
    std::vector<std::string> calls;

    bool figurePosMenuEnabled() const override { return menuEnabled; }
    void setFigurePosMenuEnabled(bool on) override
    {
        menuEnabled = on;
        calls.push_back(on ? "menu on" : "menu off");
    }
    void closePositionDialog() override { calls.push_back("close position"); }
    void checkFigurePosItem(int mode) override
    {
        checkedItem = mode;
        calls.push_back("check " + std::to_string(mode));
    }
    void dropPartSelection() override { calls.push_back("drop selection"); }
    void setCanvasVisible(bool visible) override { calls.push_back(visible ? "show" : "hide"); }
    void setBusyPointer(bool busy) override { calls.push_back(busy ? "hourglass" : "pointer"); }
    void setEditorClientSize(int w, int h) override
    {
        clientSize = QSize(w, h);
        calls.push_back("size " + std::to_string(w) + "x" + std::to_string(h));
    }
    void PlaceEditorWindow() override { calls.push_back("place"); }
};

class Compose : public ::testing::Test {
protected:
    PortraitState state;
    PartImages images;
    PickerMarks marks;
    Raster canvas;
    Raster tile;  // empty: the canvas starts white
    FakeHost host;
    PortraitComposer composer{state, images};

    // A part of kind k: a `picture`-sized pair of pictures whose box is filled with `colour`,
    // placed at its standard position.
    PartSlot& place(int k, const QRect& box, QRgb colour, QSize picture = QSize(300, 300))
    {
        PartSlot& s = state.PartTable[k];
        s = PartSlot{};
        s.FileNo = std::int16_t(100 + k);
        s.BaseX = s.PosX = std::int16_t(box.x());
        s.BaseY = s.PosY = std::int16_t(box.y());
        s.Width = std::int16_t(box.width());
        s.Height = std::int16_t(box.height());
        images.mask(k) = Raster(picture.width(), picture.height(), 1, kWhite);
        images.colour(k) = Raster(picture.width(), picture.height(), 24, kBlack);
        fillBox(images.mask(k), box, kBlack);
        fillBox(images.colour(k), box, colour);
        return s;
    }

    // The user image's picture is its box; its BaseX/BaseY are only a standard position.
    PartSlot& placeUser(QPoint pos, QSize size, QRgb colour)
    {
        PartSlot& s = state.PartTable[kind::User];
        s = PartSlot{};
        s.FileNo = 7;
        s.PosX = std::int16_t(pos.x());
        s.PosY = std::int16_t(pos.y());
        s.BaseX = 11;
        s.BaseY = 13;
        s.Width = std::int16_t(size.width());
        s.Height = std::int16_t(size.height());
        s.Extra = 2;
        images.mask(kind::User) = Raster(size.width(), size.height(), 1, kBlack);
        images.colour(kind::User) = Raster(size.width(), size.height(), 24, colour);
        return s;
    }

    void compose() { composer.ComposePortrait(canvas, tile, marks, &host); }
    std::string at(int x, int y) const { return rgb(canvas.pixel(x, y)); }
    QSize canvasSize() const { return {state.CanvasWidth, state.CanvasHeight}; }
};

}  // namespace

TEST_F(Compose, CanvasSizeFollowsTheKindsPresent)
{
    struct Row {
        const char* name;
        std::vector<int> kinds;
        QSize user;  // a user image of this size when valid
        QSize grow;
        QSize canvas;
        bool menu;
        int sizeClass;
    };
    const Row rows[] = {
        {"face parts only", {kind::Outline, kind::Nose}, {}, {0, 0}, {300, 300}, false, 0},
        {"body", {kind::Outline, kind::Body}, {}, {0, 0}, {300, 395}, false, 0},
        {"animal body", {kind::AnimalBody}, {}, {0, 0}, {300, 395}, false, 0},
        {"background", {kind::Outline, kind::Background}, {}, {0, 0}, {575, 395}, true, 0},
        {"balloon", {kind::Balloon}, {}, {0, 0}, {575, 395}, true, 0},
        {"user image 301 wide", {}, {301, 100}, {0, 0}, {575, 395}, true, 2},
        {"user image 300 wide", {}, {300, 300}, {0, 0}, {300, 300}, false, 0},
        {"user image grown taller", {}, {100, 290}, {0, 11}, {300, 395}, false, 1},
        {"user image grown wider", {}, {290, 100}, {11, 0}, {575, 395}, true, 2},
    };
    for (const Row& row : rows) {
        state = PortraitState{};
        host = FakeHost{};
        for (int k : row.kinds)
            place(k, QRect(10, 10, 20, 20), kRed, k == kind::Background || k == kind::Balloon ? QSize(575, 395) : QSize(300, 300));
        if (row.user.isValid()) {
            PartSlot& u = placeUser({0, 0}, row.user, kBlue);
            u.GrowW = std::int16_t(row.grow.width());
            u.GrowH = std::int16_t(row.grow.height());
        }
        compose();
        EXPECT_EQ(canvasSize(), row.canvas) << row.name;
        EXPECT_EQ(canvas.size(), row.canvas) << row.name;
        EXPECT_EQ(host.clientSize, row.canvas) << row.name;
        EXPECT_EQ(host.menuEnabled, row.menu) << row.name;
        EXPECT_EQ(state.UserSizeClass, row.sizeClass) << row.name;
        EXPECT_EQ(host.checkedItem, row.menu ? 0 : -1) << row.name;
    }
}

TEST_F(Compose, RemovingAWideUserImageShrinksTheCanvasAgain)
{
    place(kind::Outline, QRect(50, 50, 100, 100), kRed);
    placeUser({0, 0}, {301, 120}, kBlue);
    compose();
    ASSERT_EQ(canvasSize(), QSize(575, 395));
    ASSERT_TRUE(host.menuEnabled);

    RemovePart(state, kind::User, &host);
    compose();
    EXPECT_EQ(state.UserSizeClass, 0);
    EXPECT_EQ(canvasSize(), QSize(300, 300));
    EXPECT_FALSE(host.menuEnabled);
    EXPECT_EQ(marks.InUseFileNo[kind::User], 0);
}

TEST_F(Compose, TellsTheHostEachStepInOrderAndRunsTheHooks)
{
    place(kind::Background, QRect(0, 0, 575, 395), kGreen, QSize(575, 395));
    state.FigurePosMode = 2;
    ComposeHooks hooks;
    hooks.drawCaptions = [&](Raster& c) {
        EXPECT_EQ(&c, &canvas);
        EXPECT_EQ(rgb(c.pixel(5, 5)), rgb(kGreen)) << "texts go over the finished portrait";
        host.calls.push_back("captions");
    };
    hooks.recordSnapshot = [&] { host.calls.push_back("snapshot"); };

    composer.ComposePortrait(canvas, tile, marks, &host, hooks);
    const std::vector<std::string> first = {"hourglass", "hide", "drop selection", "menu on",
                                            "check 2", "size 575x395", "place", "show",
                                            "captions", "snapshot", "pointer"};
    EXPECT_EQ(host.calls, first);

    // The menu is already on: its checks are left alone.
    host.calls.clear();
    composer.ComposePortrait(canvas, tile, marks, &host, hooks);
    const std::vector<std::string> again = {"hourglass", "hide", "drop selection", "size 575x395",
                                            "place", "show", "captions", "snapshot", "pointer"};
    EXPECT_EQ(host.calls, again);

    // Without a host and hooks it still draws (headless rendering).
    Raster headless;
    ComposePortrait(state, images, headless, tile, marks);
    EXPECT_EQ(headless, canvas);
}

TEST_F(Compose, StartsFromTheBlankTileStretchedOrWhite)
{
    compose();
    EXPECT_EQ(canvas.size(), QSize(300, 300));
    EXPECT_EQ(at(0, 0), "255,255,255");
    EXPECT_EQ(at(299, 299), "255,255,255");

    tile = Raster(2, 2, 24, qRgb(240, 230, 200));
    compose();
    EXPECT_EQ(at(0, 0), "240,230,200");
    EXPECT_EQ(at(299, 299), "240,230,200");

    // Another tile must not be hidden by the previous one.
    tile = Raster(3, 3, 1, kWhite);
    fillBox(tile, QRect(0, 0, 3, 3), kBlack);
    compose();
    EXPECT_EQ(at(150, 150), "0,0,0");
    EXPECT_EQ(canvas.bits(), 24) << "the canvas holds colour whatever the tile's depth";
}

TEST_F(Compose, MovablePartsAreKeptInsideAndTheSlotKeepsTheCorrection)
{
    struct Row {
        const char* name;
        int k;
        bool wide;  // with a background: 575 x 395
        std::int16_t mode;
        QPoint pos;
        QSize grow;
        QPoint expected;
    };
    const Row rows[] = {
        {"nose out on the right", kind::Nose, false, 0, {280, 100}, {0, 0}, {270, 100}},
        {"nose out on the left", kind::Nose, false, 0, {-10, 100}, {0, 0}, {0, 100}},
        {"mole out at the bottom", kind::Mole, false, 0, {100, 290}, {0, 0}, {100, 280}},
        {"grown glasses", kind::Glasses, false, 0, {280, 100}, {10, 0}, {260, 100}},
        {"hat in the centre mode, right", kind::Hat, true, 1, {450, 10}, {0, 0}, {405, 10}},
        {"eye in the centre mode, left", kind::EyeRight, true, 1, {-200, 10}, {0, 0}, {-140, 10}},
        {"hairstyle is not kept inside", kind::Hairstyle, false, 0, {280, -5}, {0, 0}, {280, -5}},
        {"animal head is not kept inside", kind::AnimalHead, false, 0, {290, 100}, {0, 0}, {290, 100}},
        {"user image counts its growth, no offset", kind::User, true, 1, {560, -3}, {20, 5}, {525, 0}},
        {"balloon ignores growth", kind::Balloon, true, 0, {560, 380}, {50, 50}, {545, 375}},
    };
    for (const Row& row : rows) {
        state = PortraitState{};
        state.FigurePosMode = row.mode;
        if (row.wide)
            place(kind::Background, QRect(0, 0, 10, 10), kGreen, QSize(575, 395));
        PartSlot& s = row.k == kind::User ? placeUser({0, 0}, {30, 30}, kRed)
                                          : place(row.k, QRect(100, 100, 30, 20), kRed,
                                                  row.k == kind::Balloon ? QSize(575, 395) : QSize(300, 300));
        s.PosX = std::int16_t(row.pos.x());
        s.PosY = std::int16_t(row.pos.y());
        s.GrowW = std::int16_t(row.grow.width());
        s.GrowH = std::int16_t(row.grow.height());
        compose();
        EXPECT_EQ(QPoint(s.PosX, s.PosY), row.expected) << row.name;
    }

    // The corrected nose ends exactly at the edge.
    state = PortraitState{};
    PartSlot& nose = place(kind::Nose, QRect(100, 100, 30, 20), kRed);
    nose.PosX = 290;
    compose();
    EXPECT_EQ(nose.PosX, 270);
    EXPECT_EQ(at(299, 105), rgb(kRed));
    EXPECT_EQ(at(269, 105), "255,255,255");
    EXPECT_EQ(at(270, 105), rgb(kRed));
}

TEST_F(Compose, GrowRulesByKind)
{
    struct Row {
        const char* name;
        int k;
        std::int16_t mode;   // figure mode on a wide canvas (background present)
        QRect box;           // the part's box, also its position
        QSize grow;
        QRect drawn;         // where the part must cover the canvas, and nothing beyond
    };
    const Row rows[] = {
        {"outline narrower about its centre", kind::Outline, 0, {60, 40, 120, 100}, {-50, 0}, {85, 40, 70, 100}},
        {"outline wider and taller about its centre", kind::Outline, 0, {60, 40, 120, 100}, {20, 10}, {50, 35, 140, 110}},
        {"odd half rounds to even (102.5)", kind::Ears, 0, {100, 40, 50, 50}, {-5, 0}, {102, 40, 45, 50}},
        {"odd half rounds to even (103.5)", kind::Ears, 0, {101, 40, 50, 50}, {-5, 0}, {104, 40, 45, 50}},
        {"hairstyle about its centre with the offset", kind::Hairstyle, 1, {60, 40, 100, 100}, {0, 30}, {200, 25, 100, 130}},
        {"fringe about its centre", kind::Fringe, 0, {60, 40, 100, 40}, {-20, -10}, {70, 45, 80, 30}},
        {"mouth from its top-left", kind::Mouth, 0, {100, 200, 40, 20}, {20, 10}, {100, 200, 60, 30}},
        {"wrinkles from their top-left with the offset", kind::Wrinkles, 1, {100, 100, 40, 20}, {-10, 10}, {240, 100, 30, 30}},
    };
    for (const Row& row : rows) {
        state = PortraitState{};
        state.FigurePosMode = row.mode;
        if (row.mode != 0)
            place(kind::Background, QRect(0, 0, 1, 1), kWhite, QSize(575, 395));
        PartSlot& s = place(row.k, row.box, kRed);
        s.GrowW = std::int16_t(row.grow.width());
        s.GrowH = std::int16_t(row.grow.height());
        compose();
        const QRect& d = row.drawn;
        EXPECT_EQ(at(d.left(), d.top()), rgb(kRed)) << row.name;
        EXPECT_EQ(at(d.right(), d.bottom()), rgb(kRed)) << row.name;
        EXPECT_EQ(at(d.left() - 1, d.center().y()), "255,255,255") << row.name;
        EXPECT_EQ(at(d.right() + 1, d.center().y()), "255,255,255") << row.name;
        EXPECT_EQ(at(d.center().x(), d.top() - 1), "255,255,255") << row.name;
        EXPECT_EQ(at(d.center().x(), d.bottom() + 1), "255,255,255") << row.name;
    }
}

TEST_F(Compose, ResizedUserImageIsItsWholePictureStretched)
{
    place(kind::Background, QRect(0, 0, 1, 1), kWhite, QSize(575, 395));
    state.FigurePosMode = 2;  // the user image takes no offset
    PartSlot& u = placeUser({50, 60}, {20, 10}, kBlue);
    fillBox(images.colour(kind::User), QRect(0, 0, 1, 10), kGold);  // its left column
    u.GrowW = 10;
    u.GrowH = 10;
    compose();
    EXPECT_EQ(at(50, 60), rgb(kGold));
    EXPECT_EQ(at(54, 70), rgb(kBlue));
    EXPECT_EQ(at(79, 79), rgb(kBlue));
    EXPECT_EQ(at(80, 70), "255,255,255");
    EXPECT_EQ(at(65, 80), "255,255,255");

    // At its standard size too it is drawn from its own top-left, whatever BaseX says.
    u.GrowW = 0;
    u.GrowH = 0;
    compose();
    EXPECT_EQ(at(50, 60), rgb(kGold));
    EXPECT_EQ(at(69, 69), rgb(kBlue));
    EXPECT_EQ(at(70, 65), "255,255,255");
}

// A 21 x 21 eye box far from the picture's centre, holding a horizontal bar through its middle
// (rows 9 to 11); a quarter turn makes the bar vertical (columns 9 to 11).
TEST_F(Compose, TurnedPartsAreTurnedAboutTheirBoxAtStandardSizeOrBeforeResizing)
{
    PartSlot& eye = state.PartTable[kind::EyeRight];
    auto placeEye = [&] {
        place(kind::EyeRight, QRect(220, 30, 21, 21), kRed);
        images.mask(kind::EyeRight) = Raster(300, 300, 1, kWhite);
        images.colour(kind::EyeRight) = Raster(300, 300, 24, kBlack);
        fillBox(images.mask(kind::EyeRight), QRect(220, 39, 21, 3), kBlack);
        fillBox(images.colour(kind::EyeRight), QRect(220, 39, 21, 3), kRed);
        eye.PosX = 100;
        eye.PosY = 100;
        eye.Angle = 9000;
    };

    placeEye();
    compose();
    EXPECT_EQ(at(110, 100), rgb(kRed));
    EXPECT_EQ(at(109, 120), rgb(kRed));
    EXPECT_EQ(at(100, 110), "255,255,255");
    EXPECT_EQ(at(120, 110), "255,255,255");
    EXPECT_EQ(at(108, 110), "255,255,255");

    // Grown to 42 wide: the vertical bar is stretched to twice its width, so it was turned
    // first, about its own box.
    placeEye();
    eye.GrowW = 21;
    compose();
    EXPECT_EQ(at(120, 100), rgb(kRed));
    EXPECT_EQ(at(120, 120), rgb(kRed));
    EXPECT_EQ(at(117, 110), "255,255,255");
    EXPECT_EQ(at(124, 110), "255,255,255");
    EXPECT_EQ(at(100, 110), "255,255,255");
    EXPECT_EQ(at(141, 110), "255,255,255");
}

TEST_F(Compose, RotatedPartModesDrawOneOrBothPasses)
{
    struct Row {
        int mode;
        QRgb inside;
    };
    const Row rows[] = {
        {0, kBlack},                        // the mask pass alone blackens the part
        {1, qRgb(255 - 200, 255 - 30, 255 - 40)},  // the colour pass alone flips white
        {2, kRed},
    };
    PartSlot& s = place(kind::Glasses, QRect(10, 10, 20, 20), kRed);
    s.Angle = 18000;
    for (const Row& row : rows) {
        Raster target(40, 40, 24, kWhite);
        composer.DrawRotatedPart(kind::Glasses, target, 5, 6, 1, 2, row.mode);
        EXPECT_EQ(rgb(target.pixel(6, 8)), rgb(row.inside)) << "mode " << row.mode;
        EXPECT_EQ(rgb(target.pixel(25, 27)), rgb(row.inside)) << "mode " << row.mode;
        EXPECT_EQ(rgb(target.pixel(5, 8)), "255,255,255") << "mode " << row.mode;
        EXPECT_EQ(rgb(target.pixel(26, 27)), "255,255,255") << "mode " << row.mode;
    }
}

TEST_F(Compose, FigureModeShiftsFacePartsOnly)
{
    struct Row {
        std::int16_t mode;
        QPoint offset;
    };
    const Row rows[] = {{0, {0, 0}}, {1, {140, 0}}, {2, {280, 0}}, {3, {40, 30}}};
    for (const Row& row : rows) {
        state = PortraitState{};
        state.FigurePosMode = row.mode;
        state.FigureStepX = 2;
        state.FigureStepY = 3;
        place(kind::Background, QRect(0, 0, 10, 10), kGreen, QSize(575, 395));
        placeUser({20, 0}, {10, 10}, kBlue);
        place(kind::Balloon, QRect(40, 0, 10, 10), kGold, QSize(575, 395));
        place(kind::Nose, QRect(100, 100, 10, 10), kRed);
        place(kind::Body, QRect(100, 200, 10, 10), kGreen, QSize(300, 395));
        compose();
        const QPoint o = row.offset;
        EXPECT_EQ(at(5, 5), rgb(kGreen)) << "mode " << row.mode;
        EXPECT_EQ(at(25, 5), rgb(kBlue)) << "mode " << row.mode;
        EXPECT_EQ(at(45, 5), rgb(kGold)) << "mode " << row.mode;
        EXPECT_EQ(at(100 + o.x(), 100 + o.y()), rgb(kRed)) << "mode " << row.mode;
        EXPECT_EQ(at(109 + o.x(), 109 + o.y()), rgb(kRed)) << "mode " << row.mode;
        EXPECT_EQ(at(100 + o.x(), 200 + o.y()), rgb(kGreen)) << "mode " << row.mode;
        if (o != QPoint(0, 0)) {
            EXPECT_EQ(at(100, 100), "255,255,255") << "mode " << row.mode;
        }
    }
    EXPECT_EQ(state.FigureOffsetX, 40);
    EXPECT_EQ(state.FigureOffsetY, 30);
}

TEST_F(Compose, BackgroundOverTheFigureShowsItOnlyThroughItsWhiteMask)
{
    for (std::int16_t option : {0, 1}) {
        state = PortraitState{};
        state.BackgroundOption = option;
        place(kind::Background, QRect(0, 0, 575, 395), kGreen, QSize(575, 395));
        // A window in the background: white in the mask, black in the colour picture.
        fillBox(images.mask(kind::Background), QRect(100, 100, 20, 20), kWhite);
        fillBox(images.colour(kind::Background), QRect(100, 100, 20, 20), kBlack);
        place(kind::Outline, QRect(90, 90, 60, 60), kRed);
        compose();
        EXPECT_EQ(at(110, 110), rgb(kRed)) << "option " << option;
        EXPECT_EQ(at(140, 140), rgb(option == 1 ? kGreen : kRed)) << "option " << option;
        EXPECT_EQ(at(300, 300), rgb(kGreen)) << "option " << option;
    }
}

TEST_F(Compose, UserImageInFrontKeepsItsOwnHandling)
{
    place(kind::Background, QRect(0, 0, 1, 1), kWhite, QSize(575, 395));
    state.FigurePosMode = 1;
    PartSlot& nose = place(kind::Nose, QRect(100, 100, 40, 40), kRed);
    PartSlot& u = placeUser({250, 380}, {40, 20}, kBlue);
    u.GrowW = 10;

    compose();  // the user image behind
    EXPECT_EQ(QPoint(u.PosX, u.PosY), QPoint(250, 375));
    EXPECT_EQ(at(250, 375), rgb(kBlue));
    EXPECT_EQ(at(250, 394), rgb(kBlue));

    nose.PosX = 115;
    nose.PosY = 370;  // overlaps the user image; kept inside to 355
    compose();
    EXPECT_EQ(at(260, 380), rgb(kRed));

    MoveUserLayer(state, 22);
    u.PosX = 600;  // out on the right: kept inside with its growth, never offset
    compose();
    EXPECT_EQ(QPoint(u.PosX, u.PosY), QPoint(525, 375));
    EXPECT_EQ(nose.PosY, 355);
    EXPECT_EQ(at(574, 380), rgb(kBlue));
    EXPECT_EQ(at(524, 380), "255,255,255");
    u.PosX = 250;
    compose();
    EXPECT_EQ(at(260, 380), rgb(kBlue));
    EXPECT_EQ(at(299, 380), rgb(kBlue));
    EXPECT_EQ(at(300, 380), "255,255,255");
}

TEST_F(Compose, BodyIsDrawnFromItsBoxMovedDownByBodyShift)
{
    PartSlot& body = place(kind::Body, QRect(100, 300, 50, 50), kGreen, QSize(300, 395));
    fillBox(images.colour(kind::Body), QRect(100, 300, 50, 5), kGold);  // the top 5 rows
    compose();
    EXPECT_EQ(at(120, 300), rgb(kGold));
    state.BodyShift = 5;
    compose();
    EXPECT_EQ(at(120, 300), rgb(kGreen));
    EXPECT_EQ(body.PosY, 300);
}

TEST_F(Compose, RecordsThePartsInUseAndTheOptionPosition)
{
    marks.InUseFileNo.fill(99);
    place(kind::Nose, QRect(100, 100, 10, 10), kRed);
    PartSlot& option = place(kind::Option, QRect(10, 11, 10, 10), kGold);
    state.PartTable[kind::Mouth].FileNo = 5;  // present, pictures not fetched yet: not drawn
    compose();
    for (int k = 1; k <= kind::Count; ++k) {
        const int expected = k == kind::Nose || k == kind::Option ? 100 + k : (k == kind::Mouth ? 5 : 0);
        EXPECT_EQ(marks.InUseFileNo[k], expected) << "kind " << k;
    }
    EXPECT_EQ(marks.InUseFileNo[0], 99) << "entry 0 belongs to no kind";
    EXPECT_EQ(marks.OptionMemory.PosX, 3);  // 10 / 3 = 3.33
    EXPECT_EQ(marks.OptionMemory.PosY, 4);  // 11 / 3 = 3.67

    option.PosX = -5;  // kept inside first: 0
    option.PosY = 295;  // kept inside to 290: 96.67
    compose();
    EXPECT_EQ(marks.OptionMemory.PosX, 0);
    EXPECT_EQ(marks.OptionMemory.PosY, 97);
}

// A part grown beyond what the canvas can show (a damaged document) drops out alone.
TEST_F(Compose, AnImpossiblyGrownPartLeavesTheRestStanding)
{
    place(kind::Outline, {60, 40, 120, 100}, kRed);
    PartSlot& nose = place(kind::Nose, {140, 100, 20, 20}, kBlue);
    nose.GrowW = 2500;
    nose.GrowH = 32767;
    compose();
    EXPECT_EQ(at(100, 60), rgb(kRed));
    EXPECT_EQ(at(150, 110), rgb(kRed));  // under the nose that was left out
    EXPECT_EQ(marks.InUseFileNo[std::size_t(kind::Nose)], nose.FileNo);
}
