#pragma once

#include "catalog/partsdatabase.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace imaging {
class Raster;
}

namespace picker {

// The picker's database cursor over its own view of table `people` (ListOrder). Every move
// remembers the position before it (OldPosition) and after it (NewPosition, -1 when the
// cursor has left the rows), which is how a load that ran out of parts goes back one step.
// Pictures are decoded only when asked for: most moves only pass over rows.
class PickerCursor {
public:
    explicit PickerCursor(catalog::PartsDatabase& db) : db_(db) {}

    catalog::PartsDatabase& database() { return db_; }
    const catalog::PartsDatabase& database() const { return db_; }

    bool moveFirst();
    bool moveLast();
    bool move(int rows);
    // The first row in order that meets `criterion`; false (cursor unchanged) when none does.
    bool findFirst(const QString& criterion);
    // An absolute position; -1 puts the cursor past the end.
    bool goTo(int position);
    bool goToBookmark(catalog::Bookmark mark);
    // Back to where the cursor stood before its last move (nothing when it never moved).
    bool goBack();

    bool onRow() const { return db_.hasCurrent(); }
    int position() const { return db_.absolutePosition(); }
    catalog::Bookmark bookmark() const { return db_.bookmark(); }
    std::optional<int> OldPosition() const { return oldPosition_; }
    int NewPosition() const { return newPosition_; }

    // Fields of the current row; 0 when there is none or the field is Null.
    std::int16_t field(const char* name) const;
    // Whether `name` is Null (or there is no current row).
    bool isNull(const char* name) const;
    // The row's pictures (Img1(0) and Img1(1)): 0 or the engine's error code.
    int mainImage(imaging::Raster& out) const;
    int maskImage(imaging::Raster& out) const;

private:
    void moved();

    catalog::PartsDatabase& db_;
    std::optional<int> oldPosition_;
    int newPosition_ = -1;
};

}  // namespace picker
