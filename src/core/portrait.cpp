#include "core/portrait.h"

#include <algorithm>

#include "core/rounding.h"

#include <QtGlobal>

#include <initializer_list>
#include <utility>

namespace core {

namespace {

void putLe16(std::uint8_t* out, std::int16_t v)
{
    const auto u = std::uint16_t(v);
    out[0] = std::uint8_t(u & 0xff);
    out[1] = std::uint8_t(u >> 8);
}

void putLe32(std::uint8_t* out, std::int32_t v)
{
    const auto u = std::uint32_t(v);
    for (int i = 0; i < 4; ++i)
        out[i] = std::uint8_t((u >> (8 * i)) & 0xff);
}

std::int16_t getLe16(const std::uint8_t* in)
{
    return std::int16_t(std::uint16_t(in[0] | (in[1] << 8)));
}

std::int32_t getLe32(const std::uint8_t* in)
{
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= std::uint32_t(in[i]) << (8 * i);
    return std::int32_t(u);
}

// Everything ResetSlot clears except Extra.
void resetGeometry(PartSlot& slot)
{
    slot.PosX = slot.BaseX;
    slot.PosY = slot.BaseY;
    slot.Angle = 0;
    slot.GrowW = 0;
    slot.GrowH = 0;
}

// Pixels each half of pair kind k moves inward: 3 a step closer, 4 a step apart.
int pairOffset(const PortraitState& state, int k)
{
    const int s = k <= kind::BrowLeft ? state.BrowSpacing : state.EyeSpacing;
    return s >= 0 ? s * 3 : s * 4;
}

// PosX and Extra of a pair half from the spacing; the angle is not touched.
void placePairHalf(PortraitState& state, int k)
{
    PartSlot& slot = state.PartTable[k];
    const int p = pairOffset(state, k);
    slot.PosX = clampToInt16(isFirstOfPair(k) ? slot.BaseX - p : slot.BaseX + p);
    slot.Extra = clampToInt16(p);
}

void swapUserLayer(PortraitState& state, int from, int to)
{
    std::swap(state.LayerOrder[from], state.LayerOrder[to]);
    state.PartTable[kind::User].Extra = std::int16_t(to);
}

}  // namespace

PartSlot::Bytes PartSlot::toBytes() const
{
    Bytes b{};
    putLe16(&b[0], FileNo);
    putLe16(&b[2], PosX);
    putLe16(&b[4], PosY);
    putLe16(&b[6], BaseX);
    putLe16(&b[8], BaseY);
    putLe16(&b[10], Width);
    putLe16(&b[12], Height);
    putLe16(&b[14], GrowW);
    putLe16(&b[16], GrowH);
    putLe16(&b[18], Extra);
    putLe32(&b[20], Angle);
    putLe16(&b[24], ShiftX);
    putLe16(&b[26], ShiftY);
    return b;
}

PartSlot PartSlot::fromBytes(std::span<const std::uint8_t, kByteSize> b)
{
    PartSlot s;
    s.FileNo = getLe16(&b[0]);
    s.PosX = getLe16(&b[2]);
    s.PosY = getLe16(&b[4]);
    s.BaseX = getLe16(&b[6]);
    s.BaseY = getLe16(&b[8]);
    s.Width = getLe16(&b[10]);
    s.Height = getLe16(&b[12]);
    s.GrowW = getLe16(&b[14]);
    s.GrowH = getLe16(&b[16]);
    s.Extra = getLe16(&b[18]);
    s.Angle = getLe32(&b[20]);
    s.ShiftX = getLe16(&b[24]);
    s.ShiftY = getLe16(&b[26]);
    return s;
}

PartSlot& PartTable::operator[](int k)
{
    Q_ASSERT(k >= 0 && k < kSize);
    return entries[std::size_t(k)];
}

const PartSlot& PartTable::operator[](int k) const
{
    Q_ASSERT(k >= 0 && k < kSize);
    return entries[std::size_t(k)];
}

PartKind& LayerOrder::operator[](int pos)
{
    Q_ASSERT(isPartKind(pos));
    return entries[std::size_t(pos)];
}

PartKind LayerOrder::operator[](int pos) const
{
    Q_ASSERT(isPartKind(pos));
    return entries[std::size_t(pos)];
}

int LayerOrder::positionOf(int k) const
{
    for (int i = 1; i <= kind::Count; ++i) {
        if (entries[std::size_t(i)] == k)
            return i;
    }
    return 0;
}

bool LayerOrder::isPermutation() const
{
    std::array<bool, kind::Count + 1> seen{};
    for (int i = 1; i <= kind::Count; ++i) {
        const int k = entries[std::size_t(i)];
        if (!isPartKind(k) || seen[std::size_t(k)])
            return false;
        seen[std::size_t(k)] = true;
    }
    return entries[0] == 0;
}

void InitLayerOrder(PortraitState& state)
{
    state.LayerOrder.entries = LayerOrder::initial();
}

void UserLayerBack(PortraitState& state)
{
    const int i = state.LayerOrder.positionOf(kind::User);
    if (i > 1)
        swapUserLayer(state, i, i - 1);
}

void UserLayerFront(PortraitState& state)
{
    const int i = state.LayerOrder.positionOf(kind::User);
    if (i != 0 && i < kind::Count)
        swapUserLayer(state, i, i + 1);
}

void MoveUserLayer(PortraitState& state, int n)
{
    if (!isPartKind(n))
        return;
    LayerOrder& order = state.LayerOrder;
    const int i = order.positionOf(kind::User);
    if (i == 0)
        return;
    if (n < i) {
        for (int j = i; j > n; --j)
            order[j] = order[j - 1];
    } else {
        for (int j = i; j < n; ++j)
            order[j] = order[j + 1];
    }
    order[n] = kind::User;
    state.PartTable[kind::User].Extra = std::int16_t(n);
}

void ResetSlot(PortraitState& state, int k)
{
    if (!isPartKind(k))
        return;
    PartSlot& slot = state.PartTable[k];
    resetGeometry(slot);
    slot.Extra = 0;
}

void ApplyPairSpacing(PortraitState& state, int k)
{
    if (!isPairKind(k))
        return;
    placePairHalf(state, k);
    const long long degrees = k <= kind::BrowLeft ? state.BrowAngle : state.EyeAngle;
    // The right-hand half tilts the other way, so the pair stays mirror-symmetric.
    const long long hundredths = degrees * 100;
    state.PartTable[k].Angle = clampToInt32(isFirstOfPair(k) ? -hundredths : hundredths);
}

void RemovePart(PortraitState& state, int k, FigureMenuHost* host)
{
    if (!isPartKind(k))
        return;
    PartTable& parts = state.PartTable;
    parts[k].FileNo = 0;

    switch (k) {
    case kind::User:
        ResetSlot(state, k);
        parts[k].Extra = kind::User;
        MoveUserLayer(state, kind::User);
        state.UserSizeClass = 0;
        break;
    case kind::Hairstyle:
    case kind::Ears:
    case kind::Fringe:
        // Their geometry follows the outline sliders, so it stays.
        break;
    case kind::Outline:
        ResetSlot(state, kind::Outline);
        // The parts that follow the outline go back to their standard geometry but stay
        // placed, and keep their colour code: Extra is what rebuilds their pictures, so
        // clearing it would change their colour at the next undo or reopen.
        for (const PartKind related : {kind::Fringe, kind::Hairstyle, kind::Ears})
            resetGeometry(parts[related]);
        state.OutlineWidthStep = 0;
        state.OutlineHeightStep = 0;
        state.BodyShift = 0;
        break;
    case kind::BrowRight:
    case kind::BrowLeft:
    case kind::EyeRight:
    case kind::EyeLeft: {
        const int partner = pairPartner(k);
        if (!parts[partner].present()) {
            const int first = isFirstOfPair(k) ? k : partner;
            ResetSlot(state, first);
            ResetSlot(state, first + 1);
            if (first == kind::EyeRight) {
                state.EyeSpacing = 0;
                state.EyeAngle = 0;
            } else {
                state.BrowSpacing = 0;
                state.BrowAngle = 0;
            }
        } else {
            placePairHalf(state, k);
        }
        break;
    }
    default:
        ResetSlot(state, k);
        break;
    }

    // Only a background, a balloon or a wide user image needs the wide canvas on which the
    // figure position means anything.
    if (parts[kind::Balloon].present() || parts[kind::Background].present()
        || state.UserSizeClass == 2)
        return;
    if (host) {
        if (!host->figurePosMenuEnabled())
            return;
        host->setFigurePosMenuEnabled(false);
    }
    state.FigurePosMode = 0;
    state.FigureStepX = 0;
    state.FigureStepY = 0;
    if (host)
        host->closePositionDialog();
}

void clampPartSize(PartSlot& slot)
{
    auto bound = [](std::int16_t& size, std::int16_t& grow) {
        size = std::int16_t(std::clamp<int>(size, 0, kMaxPartExtent));
        if (size + grow > kMaxPartExtent)
            grow = std::int16_t(kMaxPartExtent - size);
    };
    bound(slot.Width, slot.GrowW);
    bound(slot.Height, slot.GrowH);
}

}  // namespace core
