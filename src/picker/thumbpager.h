#pragma once

#include "catalog/partsdatabase.h"
#include "core/session.h"
#include "imaging/engine/raster.h"
#include "picker/pickercursor.h"
#include "picker/thumbrenderer.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace picker {

// The scroll bar below the thumbnails, as the paging sees it. It starts at 0..0 and gets
// its range from the first page; an empty category leaves it there.
struct ScrollState {
    int minimum = 0;
    int maximum = 0;
    int value = 0;
};

// The five thumbnails of one category and the paging over the picker's database cursor.
// The window of five slides by one part (fetching and drawing one candidate), or jumps to
// the scroll value, to the first page or to a sub-category. Plain logic: the window shows
// thumbnail(i), inUse(i) and scroll(), and forwards the user's scrolling and choices.
class ThumbPager {
public:
    static constexpr int kSlots = 5;

    // The cursor is moved by this object only; `db` is the picker's own view (ListOrder).
    ThumbPager(catalog::PartsDatabase& db, core::PortraitSession& session, int kind,
               int rowsPerPart);

    // Disp_Mode (0, 1, 2) and ColourCode, chosen by the window before the first page.
    void setDisplayMode(int mode) { Disp_Mode = mode; }
    int displayMode() const { return Disp_Mode; }
    void setColourCode(int code) { ColourCode = code; }
    int colourCode() const { return ColourCode; }

    // The first fill: WhitePic from the table's first row, the marks and the paging state
    // cleared, the first page loaded and OldScp set from the scroll bar.
    void firstFill();

    // Modes: 0 next (one part right), 1 previous (one part left), 2 first page, 3 the scroll
    // value, 4 the cursor (a sub-category).
    void LoadPage(int mode);
    // 0: slide left and draw slot 4; 1: slide right and draw slot 0; else draw all five.
    void ShowSlots(int mode);
    // Which thumbnails show the part in the portrait.
    void MarkInUse();

    // Moves the scroll bar, from code or from the user; a change runs the scroll handling.
    void setScrollValue(int value);
    const ScrollState& scroll() const { return hsb_; }

    enum class JumpResult {
        Nothing,  // no entry chosen, or the kind has no list
        NoMatch,  // "選択されたカテゴリーに該当する画像はありません": the thumbnails stay
        Jumped,
    };
    // Combo1 / Combo2 entry `entry` (-1: none chosen).
    JumpResult subcategoryJump(int entry);

    int kind() const { return kind_; }
    int rowsPerPart() const { return rows_; }
    const QString& findPath() const { return Find_Path; }
    int pictureCount() const { return Picture_Cnt; }
    int emptyTail() const { return EmptyTail; }
    int dbPosition() const { return DbPosition; }
    bool endReached() const { return EndReached; }
    PickerCursor& cursor() { return cursor_; }

    const ThumbSlot& slot(int i) const { return slots_[std::size_t(i)]; }
    const imaging::Raster& thumbnail(int i) const { return L1[std::size_t(i)]; }
    bool inUse(int i) const { return inUse_[std::size_t(i)]; }
    // "3/25": the part's ordinal in the category; empty for a slot without a candidate.
    QString toolTip(int i) const;

    // Called with the slot index after each thumbnail drawn (benchmarks count them).
    std::function<void(int)> onDrawn;

private:
    struct SubcategoryMark {
        catalog::Bookmark mark = 0;  // 0: empty
        bool visited = false;
    };

    void loadSlot(int j);
    // Loads slots j0..last from the cursor; returns the slot at which the category ended
    // (last + 1 when it did not). The slots from there on are emptied.
    int loadSlots(int j0, int last = kSlots - 1);
    void clearSlots(int from);
    // The cursor's position, with the place past the last row counted as the row count, so
    // that window ends computed there stay comparable.
    int cursorPosition() const;
    bool findCategoryStart();
    void readPictureCount();
    void fillPreviewFromRow(int k);
    void scrollChanged();
    void setScrollRange(int minimum, int maximum);
    void endOfLoad();
    void DrawThumb(int i);

    PickerCursor cursor_;
    core::PortraitSession& session_;
    int kind_;
    int rows_;
    QString Find_Path;
    int Picture_Cnt = 0;
    int Disp_Mode = 2;
    int ColourCode = 0;

    // Paging state.
    int DbPosition = 0;
    int CategoryBase = 0;
    int WindowEnd = 0;
    int EmptyTail = 0;
    bool jumping_ = false;
    bool EndReached = false;
    catalog::Bookmark secondPartMark_ = 0;
    catalog::Bookmark afterWindowMark_ = 0;

    ScrollState hsb_;
    int OldScp = 0;
    bool HSB_NoMove = false;

    std::vector<SubcategoryMark> subcategoryMarks_;
    std::array<ThumbSlot, kSlots> slots_;
    std::array<imaging::Raster, kSlots> L1;
    std::array<bool, kSlots> inUse_{};
    imaging::Raster WhitePic;
    ThumbRenderer renderer_;
};

}  // namespace picker
