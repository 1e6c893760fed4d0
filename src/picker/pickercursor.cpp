#include "picker/pickercursor.h"

#include "core/rounding.h"
#include "imaging/engine/raster.h"

namespace picker {

void PickerCursor::moved()
{
    oldPosition_ = newPosition_;
    newPosition_ = db_.absolutePosition();
}

bool PickerCursor::moveFirst()
{
    const bool ok = db_.moveFirst();
    moved();
    return ok;
}

bool PickerCursor::moveLast()
{
    const bool ok = db_.moveLast();
    moved();
    return ok;
}

bool PickerCursor::move(int rows)
{
    const bool ok = db_.move(rows);
    moved();
    return ok;
}

bool PickerCursor::findFirst(const QString& criterion)
{
    const catalog::DbResult r = db_.findFirst(criterion);
    if (!r || db_.noMatch())
        return false;
    moved();
    return true;
}

bool PickerCursor::goTo(int position)
{
    bool ok;
    if (position < 0) {
        db_.moveLast();
        ok = db_.move(1);
    } else {
        ok = db_.moveFirst() && (position == 0 || db_.move(position));
    }
    moved();
    return ok;
}

bool PickerCursor::goToBookmark(catalog::Bookmark mark)
{
    const bool ok = db_.setBookmark(mark).ok();
    moved();
    return ok && db_.hasCurrent();
}

bool PickerCursor::goBack()
{
    if (!oldPosition_)
        return false;
    return goTo(*oldPosition_);
}

std::int16_t PickerCursor::field(const char* name) const
{
    bool ok = false;
    const qlonglong v = db_.value(name).toLongLong(&ok);
    return ok ? core::clampToInt16(v) : std::int16_t(0);
}

bool PickerCursor::isNull(const char* name) const
{
    return db_.value(name).isNull();
}

int PickerCursor::mainImage(imaging::Raster& out) const
{
    if (!db_.hasCurrent())
        return imaging::kErrBadHandle;
    return db_.image("photo_main", out);
}

int PickerCursor::maskImage(imaging::Raster& out) const
{
    if (!db_.hasCurrent())
        return imaging::kErrBadHandle;
    return db_.image("photo_mask", out);
}

}  // namespace picker
