#include "core/portrait.h"

#include <gtest/gtest.h>

#include <vector>

using namespace core;

namespace {

// The layer order without the user image, which must always be 1, 3, 4, ..., 22.
std::vector<int> othersInOrder(const LayerOrder& order)
{
    std::vector<int> others;
    for (int i = 1; i <= kind::Count; ++i) {
        if (order[i] != kind::User)
            others.push_back(order[i]);
    }
    return others;
}

std::vector<int> standardOthers()
{
    std::vector<int> v;
    for (int k = 1; k <= kind::Count; ++k) {
        if (k != kind::User)
            v.push_back(k);
    }
    return v;
}

struct FakeMenuHost : FigureMenuHost {
    bool enabled = true;
    int closeCalls = 0;
    bool figurePosMenuEnabled() const override { return enabled; }
    void setFigurePosMenuEnabled(bool on) override { enabled = on; }
    void closePositionDialog() override { ++closeCalls; }
};

PartSlot placedSlot(std::int16_t fileNo, std::int16_t baseX, std::int16_t baseY)
{
    PartSlot s;
    s.FileNo = fileNo;
    s.BaseX = baseX;
    s.BaseY = baseY;
    s.PosX = std::int16_t(baseX + 7);
    s.PosY = std::int16_t(baseY - 5);
    s.Width = 40;
    s.Height = 30;
    s.GrowW = 4;
    s.GrowH = -2;
    return s;
}

}  // namespace

TEST(LayerOrder, StartsInKindOrderAndInitRestoresIt)
{
    PortraitState state;
    EXPECT_EQ(state.LayerOrder.entries, LayerOrder::initial());
    EXPECT_TRUE(state.LayerOrder.isPermutation());
    EXPECT_EQ(state.CanvasWidth, 300);
    EXPECT_EQ(state.CanvasHeight, 300);

    MoveUserLayer(state, 17);
    state.PartTable[kind::User].Extra = 17;
    InitLayerOrder(state);
    EXPECT_EQ(state.LayerOrder.entries, LayerOrder::initial());
    // Restoring runs InitLayerOrder and then MoveUserLayer(Extra), so Extra must survive.
    EXPECT_EQ(state.PartTable[kind::User].Extra, 17);
}

TEST(LayerOrder, BackAndFrontStepOnePlaceAndStopAtTheEnds)
{
    struct Row {
        const char* name;
        int start;
        bool front;
        int expected;
    };
    const Row rows[] = {
        {"back from standard", 2, false, 1},
        {"back at the first place", 1, false, 1},
        {"front from standard", 2, true, 3},
        {"front at the last place", 22, true, 22},
        {"back from the last place", 22, false, 21},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PortraitState state;
        MoveUserLayer(state, row.start);
        const PortraitState before = state;
        row.front ? UserLayerFront(state) : UserLayerBack(state);
        if (row.start == row.expected) {
            EXPECT_EQ(state, before);
        }
        EXPECT_EQ(state.LayerOrder.positionOf(kind::User), row.expected);
        EXPECT_EQ(state.PartTable[kind::User].Extra, row.expected);
        EXPECT_EQ(othersInOrder(state.LayerOrder), standardOthers());
    }
}

TEST(LayerOrder, MoveUserLayerKeepsTheOthersInOrder)
{
    struct Row {
        int from;
        int to;
    };
    const Row rows[] = {{2, 22}, {22, 2}, {22, 1}, {1, 22}, {10, 5}, {5, 10}, {7, 7}, {1, 2}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.from << " -> " << row.to);
        PortraitState state;
        MoveUserLayer(state, row.from);
        MoveUserLayer(state, row.to);
        EXPECT_TRUE(state.LayerOrder.isPermutation());
        EXPECT_EQ(state.LayerOrder[row.to], kind::User);
        EXPECT_EQ(state.PartTable[kind::User].Extra, row.to);
        EXPECT_EQ(othersInOrder(state.LayerOrder), standardOthers());
        if (row.to == 2) {
            EXPECT_EQ(state.LayerOrder.entries, LayerOrder::initial());
        }
    }
}

TEST(PortraitState, OutOfRangeArgumentsChangeNothing)
{
    PortraitState state;
    state.PartTable[kind::Outline] = placedSlot(3, 10, 20);
    state.PartTable[kind::EyeRight] = placedSlot(3, 10, 20);
    state.PartTable[kind::User].Extra = 9;
    MoveUserLayer(state, 9);
    const PortraitState before = state;

    for (int n : {0, -1, 23, 40000, -32768})
        MoveUserLayer(state, n);
    for (int k : {0, -1, 23, 65538}) {
        ResetSlot(state, k);
        ApplyPairSpacing(state, k);
        RemovePart(state, k);
    }
    for (int k : {1, 8, 13, 22})
        ApplyPairSpacing(state, k);
    EXPECT_EQ(state, before);
}

TEST(PairSpacing, PlacesEachHalfAndMirrorsTheAngle)
{
    struct Row {
        const char* name;
        int kind;
        int spacing;
        int angle;
        int posX, extra, slotAngle;
    };
    const Row rows[] = {
        {"eyes apart, right eye", 11, -2, 5, 108, -8, -500},
        {"eyes apart, left eye", 12, -2, 5, 92, -8, 500},
        {"brows closer, right brow", 9, 2, -3, 94, 6, 300},
        {"brows closer, left brow", 10, 2, -3, 106, 6, -300},
        {"standard", 11, 0, 0, 100, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PortraitState state;
        const bool eyes = row.kind >= kind::EyeRight;
        // The other pair's settings must not leak in.
        (eyes ? state.EyeSpacing : state.BrowSpacing) = std::int16_t(row.spacing);
        (eyes ? state.EyeAngle : state.BrowAngle) = row.angle;
        (eyes ? state.BrowSpacing : state.EyeSpacing) = 1;
        (eyes ? state.BrowAngle : state.EyeAngle) = 9;
        state.PartTable[row.kind] = placedSlot(1, 100, 50);
        ApplyPairSpacing(state, row.kind);
        const PartSlot& s = state.PartTable[row.kind];
        EXPECT_EQ(s.PosX, row.posX);
        EXPECT_EQ(s.Extra, row.extra);
        EXPECT_EQ(s.Angle, row.slotAngle);
        EXPECT_EQ(s.PosY, 45);  // untouched
    }
}

TEST(PairSpacing, SaturatesInsteadOfOverflowing)
{
    PortraitState state;
    state.EyeSpacing = -2;
    state.EyeAngle = 30'000'000;  // x 100 does not fit 32 bits
    state.PartTable[kind::EyeRight].BaseX = 32765;
    state.PartTable[kind::EyeLeft].BaseX = -32765;
    ApplyPairSpacing(state, kind::EyeRight);
    ApplyPairSpacing(state, kind::EyeLeft);
    EXPECT_EQ(state.PartTable[kind::EyeRight].PosX, 32767);
    EXPECT_EQ(state.PartTable[kind::EyeRight].Angle, -2147483647 - 1);
    EXPECT_EQ(state.PartTable[kind::EyeLeft].PosX, -32768);
    EXPECT_EQ(state.PartTable[kind::EyeLeft].Angle, 2147483647);
}

TEST(RemovePart, OutlineResetsTheFollowingPartsButKeepsThem)
{
    PortraitState state;
    for (int k : {kind::Outline, kind::Fringe, kind::Hairstyle, kind::Ears, kind::Mouth}) {
        state.PartTable[k] = placedSlot(5, 60, 70);
        state.PartTable[k].Extra = 3;  // colour code
    }
    state.OutlineWidthStep = 2;
    state.OutlineHeightStep = -1;
    state.BodyShift = 4;
    const PartSlot mouth = state.PartTable[kind::Mouth];

    RemovePart(state, kind::Outline);

    EXPECT_FALSE(state.PartTable[kind::Outline].present());
    EXPECT_EQ(state.PartTable[kind::Outline].PosX, 60);
    EXPECT_EQ(state.PartTable[kind::Outline].Extra, 0);
    for (int k : {kind::Fringe, kind::Hairstyle, kind::Ears}) {
        SCOPED_TRACE(k);
        const PartSlot& s = state.PartTable[k];
        EXPECT_EQ(s.FileNo, 5);
        EXPECT_EQ(s.PosX, 60);
        EXPECT_EQ(s.PosY, 70);
        EXPECT_EQ(s.GrowW, 0);
        EXPECT_EQ(s.GrowH, 0);
        EXPECT_EQ(s.Width, 40);
        // The colour code rebuilds the picture on undo and reopen; it must survive.
        EXPECT_EQ(s.Extra, 3);
    }
    EXPECT_EQ(state.PartTable[kind::Mouth], mouth);
    EXPECT_EQ(state.OutlineWidthStep, 0);
    EXPECT_EQ(state.OutlineHeightStep, 0);
    EXPECT_EQ(state.BodyShift, 0);
}

TEST(RemovePart, HairEarsAndFringeKeepTheirGeometry)
{
    for (int k : {kind::Hairstyle, kind::Ears, kind::Fringe}) {
        SCOPED_TRACE(k);
        PortraitState state;
        state.PartTable[k] = placedSlot(2, 10, 10);
        PartSlot expected = state.PartTable[k];
        expected.FileNo = 0;
        RemovePart(state, k);
        EXPECT_EQ(state.PartTable[k], expected);
    }
}

TEST(RemovePart, OtherKindsResetTheirSlot)
{
    PortraitState state;
    state.PartTable[kind::Glasses] = placedSlot(4, 30, 40);
    state.PartTable[kind::Glasses].Angle = 120;
    RemovePart(state, kind::Glasses);
    const PartSlot& s = state.PartTable[kind::Glasses];
    EXPECT_EQ(s.FileNo, 0);
    EXPECT_EQ(s.PosX, 30);
    EXPECT_EQ(s.PosY, 40);
    EXPECT_EQ(s.GrowW, 0);
    EXPECT_EQ(s.Angle, 0);
    EXPECT_EQ(s.Width, 40);
}

TEST(RemovePart, PairHalvesOneAtATime)
{
    struct Pair {
        const char* name;
        int first;
        std::int16_t PortraitState::*spacing;
        std::int32_t PortraitState::*angle;
    };
    const Pair pairs[] = {
        {"eyes", kind::EyeRight, &PortraitState::EyeSpacing, &PortraitState::EyeAngle},
        {"brows", kind::BrowRight, &PortraitState::BrowSpacing, &PortraitState::BrowAngle},
    };
    for (const Pair& pair : pairs) {
        SCOPED_TRACE(pair.name);
        const int second = pair.first + 1;
        PortraitState state;
        state.*pair.spacing = -2;
        state.*pair.angle = 5;
        state.PartTable[pair.first] = placedSlot(1, 150, 120);
        state.PartTable[second] = placedSlot(1, 97, 120);
        ApplyPairSpacing(state, pair.first);
        ApplyPairSpacing(state, second);
        const PartSlot remaining = state.PartTable[second];

        // The spacing changed since the halves were placed: the removed half follows it,
        // but keeps its angle; the remaining half stays where it is.
        state.*pair.spacing = 1;
        RemovePart(state, pair.first);
        EXPECT_EQ(state.PartTable[second], remaining);
        const PartSlot& removed = state.PartTable[pair.first];
        EXPECT_FALSE(removed.present());
        EXPECT_EQ(removed.PosX, 147);
        EXPECT_EQ(removed.Extra, 3);
        EXPECT_EQ(removed.Angle, -500);
        EXPECT_EQ(state.*pair.spacing, 1);

        RemovePart(state, second);
        for (int k : {pair.first, second}) {
            const PartSlot& s = state.PartTable[k];
            EXPECT_EQ(s.PosX, s.BaseX);
            EXPECT_EQ(s.PosY, s.BaseY);
            EXPECT_EQ(s.Extra, 0);
            EXPECT_EQ(s.Angle, 0);
        }
        EXPECT_EQ(state.*pair.spacing, 0);
        EXPECT_EQ(state.*pair.angle, 0);
    }
}

TEST(RemovePart, UserImageGoesBackToItsStandardLayer)
{
    PortraitState state;
    state.PartTable[kind::User] = placedSlot(12, 0, 0);
    MoveUserLayer(state, 22);
    state.UserSizeClass = 2;
    RemovePart(state, kind::User);
    EXPECT_FALSE(state.PartTable[kind::User].present());
    EXPECT_EQ(state.PartTable[kind::User].PosX, 0);
    EXPECT_EQ(state.PartTable[kind::User].Extra, 2);
    EXPECT_EQ(state.LayerOrder.entries, LayerOrder::initial());
    EXPECT_EQ(state.UserSizeClass, 0);
}

TEST(RemovePart, FigurePositionMenuFollowsTheWideCanvas)
{
    struct Row {
        const char* name;
        bool background, balloon;
        int userSizeClass;
        std::vector<int> remove;
        bool menuBefore;
        bool menuAfter;  // also: figure position kept
    };
    const Row rows[] = {
        {"background removed, balloon stays", true, true, 0, {kind::Background}, true, true},
        {"both removed, wide user image stays", true, true, 2,
         {kind::Background, kind::Balloon}, true, true},
        {"last wide part removed", true, false, 0, {kind::Background}, true, false},
        {"balloon removed, tall user image", false, true, 1, {kind::Balloon}, true, false},
        {"wide user image removed", false, false, 2, {kind::User}, true, false},
        {"menu already disabled", true, false, 0, {kind::Background}, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PortraitState state;
        FakeMenuHost host;
        host.enabled = row.menuBefore;
        if (row.background)
            state.PartTable[kind::Background] = placedSlot(1, 0, 0);
        if (row.balloon)
            state.PartTable[kind::Balloon] = placedSlot(1, 0, 0);
        state.PartTable[kind::User] = placedSlot(1, 0, 0);
        state.UserSizeClass = std::int16_t(row.userSizeClass);
        state.FigurePosMode = 3;
        state.FigureStepX = 2;
        state.FigureStepY = -1;

        for (int k : row.remove)
            RemovePart(state, k, &host);

        const bool reset = row.menuBefore && !row.menuAfter;
        EXPECT_EQ(host.enabled, row.menuAfter);
        EXPECT_EQ(host.closeCalls, reset ? 1 : 0);
        EXPECT_EQ(state.FigurePosMode, reset ? 0 : 3);
        EXPECT_EQ(state.FigureStepX, reset ? 0 : 2);
        EXPECT_EQ(state.FigureStepY, reset ? 0 : -1);
    }
}

TEST(RemovePart, WithoutAWindowTheFigurePositionIsStillReset)
{
    PortraitState state;
    state.PartTable[kind::Background] = placedSlot(1, 0, 0);
    state.FigurePosMode = 2;
    state.FigureStepX = 1;
    RemovePart(state, kind::Background, nullptr);
    EXPECT_EQ(state.FigurePosMode, 0);
    EXPECT_EQ(state.FigureStepX, 0);
}

TEST(PartSlot, TwentyEightBytesLittleEndian)
{
    PartSlot s;
    s.FileNo = 0x0102;
    s.PosX = -2;
    s.PosY = 0x0304;
    s.BaseX = 0x0506;
    s.BaseY = 0x0708;
    s.Width = 0x090a;
    s.Height = 0x0b0c;
    s.GrowW = -32768;
    s.GrowH = 32767;
    s.Extra = 22;
    s.Angle = -500;
    s.ShiftX = 0x1112;
    s.ShiftY = -3;
    const PartSlot::Bytes expected = {
        0x02, 0x01, 0xfe, 0xff, 0x04, 0x03, 0x06, 0x05, 0x08, 0x07, 0x0a, 0x09, 0x0c, 0x0b,
        0x00, 0x80, 0xff, 0x7f, 0x16, 0x00, 0x0c, 0xfe, 0xff, 0xff, 0x12, 0x11, 0xfd, 0xff,
    };
    EXPECT_EQ(s.toBytes(), expected);
    EXPECT_EQ(PartSlot::fromBytes(expected), s);
    EXPECT_EQ(PartSlot::fromBytes(PartSlot().toBytes()), PartSlot());
}

TEST(Kinds, KeyWordsCaptionsAndPickerKeys)
{
    const char* keyWords[] = {"haikei", "user", "kamigata", "karada", "anibottom", "mimi",
                              "rinkaku", "shiwa", "rmayuge", "lmayuge", "migime", "hidarime",
                              "kuchi", "hana", "hokuro", "hige", "option", "megane",
                              "maegami", "boushi", "anitop", "fukidashi"};
    for (int k = 1; k <= kind::Count; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(keyWord(k), QLatin1StringView(keyWords[k - 1]));
        EXPECT_EQ(kindFromKeyWord(keyWord(k)), k);
    }
    EXPECT_EQ(kindCaption(kind::Background), QStringLiteral("背景"));
    EXPECT_EQ(kindCaption(kind::Option), QStringLiteral("ｵﾌﾟｼｮﾝ"));
    EXPECT_EQ(kindCaption(kind::Balloon), QStringLiteral("吹き出し"));
    for (int k : {kind::User, kind::BrowLeft, kind::EyeLeft})
        EXPECT_TRUE(kindCaption(k).isEmpty());
    EXPECT_EQ(kindInfo(0), nullptr);
    EXPECT_EQ(kindInfo(23), nullptr);
    EXPECT_EQ(kindFromKeyWord(u"Haikei"), 0);

    EXPECT_EQ(pickerKinds(u"mayuge").first, kind::BrowRight);
    EXPECT_EQ(pickerKinds(u"mayuge").second, kind::BrowLeft);
    EXPECT_EQ(pickerKinds(u"me").first, kind::EyeRight);
    EXPECT_EQ(pickerKinds(u"me").second, kind::EyeLeft);
    EXPECT_EQ(pickerKinds(u"moji").first, 0);
    EXPECT_EQ(pickerKinds(u"rinkaku").first, kind::Outline);
    EXPECT_EQ(pickerKinds(u"rinkaku").second, 0);
}
