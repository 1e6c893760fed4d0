#pragma once

#include "core/session.h"
#include "imaging/engine/raster.h"

#include <QSizeF>

#include <cstdint>
#include <functional>

namespace picker {

class PickerEnvironment;
class ThumbPager;

// Puts the part of a clicked thumbnail into the portrait (ApplyPart): the kind's slot and
// one-third-scale slot, the pictures of both scales, the pair's second half, the exclusive
// kinds, the editor window's size and "表示位置", then the composition.
class PartApplier {
public:
    enum class Result {
        Ignored,  // no candidate there: nothing changed
        Applied,
        Failed,   // the part's rows could not be read: nothing changed, nothing shown
    };

    // `environment` may be null (no main window); `compose` redraws the portrait (the
    // editor's composition) and may be empty. Window sizes go out in twips at `twipsPerPixel`.
    PartApplier(core::PortraitSession& session, PickerEnvironment* environment,
                std::function<void()> compose, QSizeF twipsPerPixel = QSizeF(15, 15));

    // Thumbnail `slot` of `pager`'s window. `sideChoice` is P_LR (0 left only, 1 right
    // only, 2 both) and matters for the eyebrows and eyes; `colourCode` is the swatches'
    // treatment for the skin and hair kinds. The pager's cursor is back where it was after.
    Result ApplyPart(ThumbPager& pager, int slot, int sideChoice, int colourCode);

private:
    struct Row {
        std::int16_t fileNo = 0;
        std::int16_t x = 0;
        std::int16_t y = 0;
        std::int16_t width = 0;
        std::int16_t height = 0;
        std::int16_t optionId1 = 0;
        imaging::Raster main;
        imaging::Raster mask;
    };

    bool readRows(ThumbPager& pager, int slot, Row& small, Row& full);
    void placeSmall(int k, const Row& small, const imaging::Raster& colour, int xOffset);
    void placeFull(int k, const Row& full, const imaging::Raster& colour, int xOffset);
    void sizeEditorWindow(int widthPx, int heightPx);

    core::PortraitSession& session_;
    PickerEnvironment* environment_;
    std::function<void()> compose_;
    QSizeF twipsPerPixel_;
};

// Full-scale offset of a pair's second half from the first.
inline constexpr int kPairStep = 53;

}  // namespace picker
