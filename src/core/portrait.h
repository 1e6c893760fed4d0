#pragma once

#include "core/kinds.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace core {

// One placed part. Field names are the document's; all fields are signed.
struct PartSlot {
    std::int16_t FileNo = 0;  // part number within its kind; 0 = empty slot
    std::int16_t PosX = 0;    // box on the portrait, before any figure offset
    std::int16_t PosY = 0;
    std::int16_t BaseX = 0;   // box inside the part's own full-size image; also the standard PosX
    std::int16_t BaseY = 0;
    std::int16_t Width = 0;
    std::int16_t Height = 0;
    std::int16_t GrowW = 0;   // drawn size is Width + GrowW by Height + GrowH
    std::int16_t GrowH = 0;
    // Kind-dependent: FigurePosMode (1, 22), the user image's layer position (2), pair
    // spacing in pixels (9 to 12), colour code (3, 6, 7, 14, 19), else 0.
    std::int16_t Extra = 0;
    std::int32_t Angle = 0;   // hundredths of a degree (kinds 9 to 12)
    std::int16_t ShiftX = 0;  // custom figure position in steps (slots 1 and 22 only)
    std::int16_t ShiftY = 0;

    // Size of a slot in documents and history snapshots.
    static constexpr int kByteSize = 28;
    using Bytes = std::array<std::uint8_t, kByteSize>;

    bool present() const { return FileNo != 0; }

    // Little-endian, fields in declaration order (Angle at offset 20).
    Bytes toBytes() const;
    static PartSlot fromBytes(std::span<const std::uint8_t, kByteSize> bytes);

    friend bool operator==(const PartSlot&, const PartSlot&) = default;
};

// The in-memory layout happens to match the stored one; serialisation still goes field by
// field so that it does not depend on the host's byte order.
static_assert(sizeof(PartSlot) == PartSlot::kByteSize);
static_assert(offsetof(PartSlot, Angle) == 20 && offsetof(PartSlot, ShiftY) == 26);

// One slot per kind, index = kind; entry 0 exists only so that kinds index directly and is
// never drawn or stored.
struct PartTable {
    static constexpr int kSize = kind::Count + 1;
    std::array<PartSlot, kSize> entries{};

    // k must be 0..22 (asserted); use isPartKind() first for values from outside.
    PartSlot& operator[](int k);
    const PartSlot& operator[](int k) const;

    friend bool operator==(const PartTable&, const PartTable&) = default;
};

// Drawing order, back to front. Positions are 1-based: at(1) is drawn first, at(22) last;
// entry 0 is unused and stays 0. Always a permutation of 1..22; only kind 2 ever moves.
struct LayerOrder {
    std::array<PartKind, kind::Count + 1> entries = initial();

    static constexpr std::array<PartKind, kind::Count + 1> initial()
    {
        std::array<PartKind, kind::Count + 1> a{};
        for (int i = 1; i <= kind::Count; ++i)
            a[i] = PartKind(i);
        return a;
    }

    // Position 1..22 (asserted).
    PartKind& operator[](int pos);
    PartKind operator[](int pos) const;
    // Position of kind k, or 0 when it is not in the order.
    int positionOf(int k) const;
    bool isPermutation() const;

    friend bool operator==(const LayerOrder&, const LayerOrder&) = default;
};

// The portrait being made. One instance lives in the session; windows change it directly
// and then ask for a redraw. Field names are the document's and the history's.
struct PortraitState {
    core::PartTable PartTable;
    core::LayerOrder LayerOrder;
    std::int16_t CanvasWidth = 300;
    std::int16_t CanvasHeight = 300;
    std::int16_t UserSizeClass = 0;   // 0 fits 300x300, 1 taller than 300, 2 wider than 300
    std::int16_t FigurePosMode = 0;   // 0 left, 1 centre, 2 right, 3 custom
    std::int16_t FigureStepX = 0;     // custom position in slider steps
    std::int16_t FigureStepY = 0;
    std::int16_t FigureOffsetX = 0;   // custom position in pixels (steps x 20, x 10)
    std::int16_t FigureOffsetY = 0;
    std::int16_t BackgroundOption = 0;  // 1: background drawn over the figure
    std::int16_t EyeSpacing = 0;      // steps -2..2; positive = closer together
    std::int16_t BrowSpacing = 0;
    std::int32_t EyeAngle = 0;        // whole degrees
    std::int32_t BrowAngle = 0;
    std::int16_t OutlineWidthStep = 0;  // -2..2
    std::int16_t OutlineHeightStep = 0;
    std::int16_t BodyShift = 0;       // vertical body correction that goes with the height step
    // The five text captions join this struct with the caption model.

    friend bool operator==(const PortraitState&, const PortraitState&) = default;
};

// What removing a part does to the main window: the "表示位置" menu and the Position
// dialog. The main window implements it; tests fake it.
struct FigureMenuHost {
    virtual ~FigureMenuHost() = default;
    virtual bool figurePosMenuEnabled() const = 0;
    virtual void setFigurePosMenuEnabled(bool enabled) = 0;
    virtual void closePositionDialog() = 0;
};

// None of these redraws; callers compose afterwards. Arguments out of range do nothing.

void InitLayerOrder(PortraitState& state);  // 1..22; slot 2's Extra is left alone (see below)

// Move the user image one place back / front. Both also set slot 2's Extra to the new
// position, so callers must not adjust it themselves. At the end already: nothing.
void UserLayerBack(PortraitState& state);
void UserLayerFront(PortraitState& state);

// Put the user image at position n (1..22), the others keeping their relative order, and set
// slot 2's Extra to n. n = 0 does nothing: a slot 2 Extra of 0 means "never moved", which is
// why restoring runs InitLayerOrder and then MoveUserLayer(slot 2's Extra).
void MoveUserLayer(PortraitState& state, int n);

// No part is drawn larger than this either way: three widths of the widest canvas
// (575 × 395), more than any stretch in the editor gives, and small enough that a damaged
// document cannot make a composition take seconds and hundreds of megabytes.
inline constexpr int kMaxPartExtent = 3 * 575;

// Bounds Width and Height to 0..kMaxPartExtent and GrowW and GrowH so that the drawn size
// (Width + GrowW by Height + GrowH) stays within it; any slot a user made is unchanged.
void clampPartSize(PartSlot& slot);

// Back to the standard place and no rotation, growth or extra; FileNo and size stay.
void ResetSlot(PortraitState& state, int k);

// For kinds 9 to 12: place the half from the pair's spacing and set its tilt.
void ApplyPairSpacing(PortraitState& state, int k);

// Remove the part of kind k and reset what depends on it. `host` may be null (no main
// window): the figure position is then reset whenever no wide-canvas part remains.
void RemovePart(PortraitState& state, int k, FigureMenuHost* host = nullptr);

}  // namespace core
