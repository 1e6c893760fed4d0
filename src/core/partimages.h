#pragma once

#include "core/kinds.h"
#include "core/portrait.h"
#include "imaging/engine/raster.h"

#include <QtGlobal>

#include <array>
#include <cstddef>
#include <cstdint>

namespace core {

// The pictures of the placed parts. For kind k the mask is at 2k - 2 and the colour picture
// at 2k - 1, in both stores; a part picture is full size and the part occupies its slot's
// box (BaseX, BaseY, Width, Height) in it, except the user image, whose picture is its box.
struct PartImages {
    static constexpr int kCount = 2 * kind::Count;

    std::array<imaging::Raster, kCount> Part_Pic;  // full scale: what the portrait is drawn from
    std::array<imaging::Raster, kCount> SmallPart;  // one-third scale: the picker's overlays
    // The one-third-scale slots that go with SmallPart (FileNo only marks a filled entry);
    // whether a kind is in the portrait is read from the portrait's own table.
    core::PartTable PreviewTable;

    static constexpr std::size_t maskIndex(int k) { return std::size_t(2 * k - 2); }
    static constexpr std::size_t colourIndex(int k) { return std::size_t(2 * k - 1); }

    // k must be a part kind (asserted).
    imaging::Raster& mask(int k) { return Part_Pic[checked(maskIndex(k), k)]; }
    const imaging::Raster& mask(int k) const { return Part_Pic[checked(maskIndex(k), k)]; }
    imaging::Raster& colour(int k) { return Part_Pic[checked(colourIndex(k), k)]; }
    const imaging::Raster& colour(int k) const { return Part_Pic[checked(colourIndex(k), k)]; }
    imaging::Raster& smallMask(int k) { return SmallPart[checked(maskIndex(k), k)]; }
    const imaging::Raster& smallMask(int k) const { return SmallPart[checked(maskIndex(k), k)]; }
    imaging::Raster& smallColour(int k) { return SmallPart[checked(colourIndex(k), k)]; }
    const imaging::Raster& smallColour(int k) const { return SmallPart[checked(colourIndex(k), k)]; }

private:
    static std::size_t checked(std::size_t index, int k)
    {
        Q_ASSERT(isPartKind(k));
        Q_UNUSED(k);
        return index;
    }
};

// The option part's one-third-scale box and position, as the picker remembers them.
struct OptionMemory {
    std::int16_t BaseX = 0;
    std::int16_t BaseY = 0;
    std::int16_t Width = 0;
    std::int16_t Height = 0;
    std::int16_t PosX = 0;
    std::int16_t PosY = 0;

    friend bool operator==(const OptionMemory&, const OptionMemory&) = default;
};

// What the picker reads back from the portrait: the part number in use for each kind
// (index = kind, entry 0 unused, 0 = none) and the option part's remembered box.
struct PickerMarks {
    std::array<std::int16_t, kind::Count + 1> InUseFileNo{};
    core::OptionMemory OptionMemory;
};

}  // namespace core
