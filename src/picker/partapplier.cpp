#include "picker/partapplier.h"

#include "core/colourcode.h"
#include "core/kinds.h"
#include "core/rounding.h"
#include "picker/pickercategories.h"
#include "picker/pickerenvironment.h"
#include "picker/thumbpager.h"
#include "picker/thumbrenderer.h"

namespace picker {

using imaging::Raster;
namespace kind = core::kind;

namespace {

// The editor window's outer sizes (with the 27-pixel caption) for a body, and for a
// background or balloon.
constexpr int kNarrowWidth = 300;
constexpr int kWideWidth = 575;
constexpr int kTallHeight = 422;

bool takesColourCode(int k)
{
    return k == kind::Hairstyle || k == kind::Ears || k == kind::Outline || k == kind::Nose
        || k == kind::Fringe;
}

// Applying one of these removes the other.
int exclusiveWith(int k)
{
    switch (k) {
    case kind::Body: return kind::AnimalBody;
    case kind::AnimalBody: return kind::Body;
    case kind::Hat: return kind::AnimalHead;
    case kind::AnimalHead: return kind::Hat;
    default: return 0;
    }
}

}  // namespace

PartApplier::PartApplier(core::PortraitSession& session, PickerEnvironment* environment,
                         std::function<void()> compose, QSizeF twipsPerPixel)
    : session_(session),
      environment_(environment),
      compose_(std::move(compose)),
      twipsPerPixel_(twipsPerPixel)
{
}

bool PartApplier::readRows(ThumbPager& pager, int slot, Row& small, Row& full)
{
    PickerCursor& c = pager.cursor();
    const int k = pager.kind();
    const int R = pager.rowsPerPart();
    const int remembered = c.position();

    auto readRow = [&](Row& row) {
        if (!c.onRow() || c.field("PictureID") != k || c.field("FileNo") != pager.slot(slot).fileNo)
            return false;
        row.fileNo = c.field("FileNo");
        row.x = c.field("X");
        row.y = c.field("Y");
        row.width = c.field("Width");
        row.height = c.field("Height");
        row.optionId1 = c.field("OptionID1");
        return c.mainImage(row.main) == 0 && c.maskImage(row.mask) == 0 && !row.main.isNull()
            && !row.mask.isNull();
    };

    bool ok = c.findFirst(pager.findPath());
    if (ok) {
        c.move((pager.scroll().value + slot + pager.emptyTail() - 1) * R);
        ok = readRow(small);
    }
    if (ok) {
        if (R > 1)
            c.move(R - 1);
        ok = readRow(full);
    }
    // The next scroll continues from the same window, whatever happened here.
    c.goTo(remembered);
    return ok;
}

void PartApplier::placeSmall(int k, const Row& small, const Raster& colour, int xOffset)
{
    core::PartSlot& e = session_.images.PreviewTable[k];
    // Our parts' boxes differ from part to part: an exchanged part keeps the move the user
    // gave its predecessor, not the predecessor's box corner.
    const bool placed = session_.state.PartTable[k].present();
    const int moveX = placed ? e.PosX - e.BaseX : 0;
    const int moveY = placed ? e.PosY - e.BaseY : 0;
    e.BaseX = core::clampToInt16(small.x + xOffset);
    e.BaseY = small.y;
    e.PosX = core::clampToInt16(e.BaseX + moveX);
    e.PosY = core::clampToInt16(e.BaseY + moveY);
    e.Width = small.width;
    e.Height = small.height;
    e.FileNo = 1;
    if (k == kind::Option) {
        core::OptionMemory& m = session_.marks.OptionMemory;
        m.BaseX = small.x;
        m.BaseY = small.y;
        m.Width = small.width;
        m.Height = small.height;
    }
    session_.images.smallColour(k) = colour;
    session_.images.smallMask(k) = small.mask;
}

void PartApplier::placeFull(int k, const Row& full, const Raster& colour, int xOffset)
{
    core::PartSlot& s = session_.state.PartTable[k];
    // A first part goes to its standard place; an exchanged one stays as far from its
    // standard place as the user moved the part before it.
    const bool placed = s.present();
    const int moveX = placed ? s.PosX - s.BaseX : 0;
    const int moveY = placed ? s.PosY - s.BaseY : 0;
    s.BaseX = core::clampToInt16(full.x + xOffset);
    s.BaseY = full.y;
    s.PosX = core::clampToInt16(s.BaseX + moveX);
    s.PosY = core::clampToInt16(s.BaseY + moveY);
    s.Width = full.width;
    s.Height = full.height;
    s.FileNo = full.fileNo;
    session_.images.colour(k) = colour;
    session_.images.mask(k) = full.mask;
}

void PartApplier::sizeEditorWindow(int widthPx, int heightPx)
{
    if (!environment_)
        return;
    environment_->setEditorWindowSizeTwips(
        QSize(core::roundTo<int>(widthPx * twipsPerPixel_.width()),
              core::roundTo<int>(heightPx * twipsPerPixel_.height())));
}

PartApplier::Result PartApplier::ApplyPart(ThumbPager& pager, int slot, int sideChoice,
                                           int colourCode)
{
    if (slot < 0 || slot >= ThumbPager::kSlots || pager.pictureCount() == 0
        || pager.scroll().value + slot > pager.pictureCount() || pager.slot(slot).isEmpty()
        || pager.thumbnail(slot).isNull())
        return Result::Ignored;

    const int k = pager.kind();
    core::PortraitState& state = session_.state;
    try {
        // Everything is read before anything is written: a part whose rows cannot be read
        // leaves the portrait as it was.
        Row small;
        Row full;
        if (!readRows(pager, slot, small, full))
            return Result::Failed;
        Raster smallColour = small.main;
        Raster fullColour = full.main;
        core::ApplyColourCode(smallColour, colourCode);
        core::ApplyColourCode(fullColour, colourCode);

        const bool pair = core::isFirstOfPair(k);
        const bool thisSide = !(pair && sideChoice == kLeftOnly);
        const bool otherSide = pair && (sideChoice == kLeftOnly || sideChoice == kBothSides);
        const int partner = core::pairPartner(k);

        if (thisSide)
            placeSmall(k, small, smallColour, 0);
        if (otherSide)
            placeSmall(partner, small, smallColour, -kPairStepSmall);
        if (thisSide) {
            placeFull(k, full, fullColour, 0);
            core::ApplyPairSpacing(state, k);
        }
        if (otherSide) {
            placeFull(partner, full, fullColour, -kPairStep);
            core::ApplyPairSpacing(state, partner);
        }

        const core::PartTable& parts = state.PartTable;
        if ((k == kind::Body || k == kind::AnimalBody) && !parts[kind::Background].present()
            && !parts[kind::Balloon].present())
            sizeEditorWindow(kNarrowWidth, kTallHeight);
        if (k == kind::Background || k == kind::Balloon) {
            sizeEditorWindow(kWideWidth, kTallHeight);
            if (environment_ && !environment_->figurePosMenuEnabled()) {
                environment_->setFigurePosMenuEnabled(true);
                environment_->checkFigurePosItem(state.FigurePosMode);
            }
            state.PartTable[k].Extra = state.FigurePosMode;
        }
        if (k == kind::Background)
            state.BackgroundOption = full.optionId1;
        if (const int other = exclusiveWith(k)) {
            state.PartTable[other].FileNo = 0;
            session_.marks.InUseFileNo[std::size_t(other)] = 0;
        }
        if (takesColourCode(k))
            state.PartTable[k].Extra = std::int16_t(colourCode);

        if (compose_)
            compose_();
        pager.MarkInUse();
    } catch (const imaging::ImagingError&) {
        // Swallowed: what was written stays, and the click ends.
        return Result::Failed;
    }
    return Result::Applied;
}

}  // namespace picker
