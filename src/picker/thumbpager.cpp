#include "picker/thumbpager.h"

#include "catalog/partops.h"
#include "picker/pickercategories.h"

#include <algorithm>

namespace picker {

using imaging::Raster;
namespace kind = core::kind;

ThumbPager::ThumbPager(catalog::PartsDatabase& db, core::PortraitSession& session, int kind,
                       int rowsPerPart)
    : cursor_(db),
      session_(session),
      kind_(kind),
      rows_(std::max(1, rowsPerPart)),
      Find_Path(QStringLiteral("PictureID = %1").arg(kind))
{
    subcategoryMarks_.resize(subcategoriesFor(kind).size());
}

int ThumbPager::cursorPosition() const
{
    if (cursor_.onRow())
        return cursor_.position();
    const catalog::PartsDatabase& db = cursor_.database();
    return db.isAfterLast() ? db.recordCount() : -1;
}

void ThumbPager::firstFill()
{
    cursor_.moveFirst();
    for (SubcategoryMark& m : subcategoryMarks_)
        m = SubcategoryMark{};
    DbPosition = 0;
    CategoryBase = 0;
    WindowEnd = 0;
    EmptyTail = 0;
    jumping_ = false;
    secondPartMark_ = 0;
    afterWindowMark_ = 0;
    // The first row of every file is the white blank tile.
    Raster white;
    if (cursor_.mainImage(white) == 0)
        WhitePic = white;
    LoadPage(2);
    OldScp = hsb_.value;
}

// ---- slots ----------------------------------------------------------------------------

void ThumbPager::clearSlots(int from)
{
    for (int m = from; m < kSlots; ++m)
        slots_[std::size_t(m)].clear();
}

void ThumbPager::loadSlot(int j)
{
    ThumbSlot& s = slots_[std::size_t(j)];
    s.clear();
    // A damaged picture leaves the slot without a candidate; clicks on it do nothing.
    if (cursor_.mainImage(s.main) != 0 || cursor_.maskImage(s.mask) != 0 || s.mask.isNull()) {
        s.main.free();
        s.mask.free();
    }
    s.fileNo = cursor_.field("FileNo");
    s.box = QRect(cursor_.field("X"), cursor_.field("Y"), cursor_.field("Width"),
                  cursor_.field("Height"));
    s.row = cursor_.bookmark();
    cursor_.move(rows_);
}

int ThumbPager::loadSlots(int j0, int last)
{
    for (int j = j0; j <= last; ++j) {
        if (cursor_.NewPosition() == -1 || !cursor_.onRow()
            || cursor_.field("PictureID") != kind_) {
            // The category ended: the rest stays empty and the cursor goes back to the last
            // part read.
            for (int m = j; m <= last; ++m)
                slots_[std::size_t(m)].clear();
            cursor_.goBack();
            return j;
        }
        loadSlot(j);
    }
    return last + 1;
}

// ---- loading ----------------------------------------------------------------------------

bool ThumbPager::findCategoryStart()
{
    cursor_.moveFirst();
    return cursor_.findFirst(Find_Path);
}

void ThumbPager::readPictureCount()
{
    if (!cursor_.isNull("FileCnt") && cursor_.field("FileCnt") > 0) {
        Picture_Cnt = cursor_.field("FileCnt");
        return;
    }
    // Writers always keep the count; should it be missing, the parts are counted.
    Picture_Cnt = catalog::countParts(cursor_.database(), kind_);
    findCategoryStart();
}

void ThumbPager::fillPreviewFromRow(int k)
{
    core::PartSlot& e = session_.images.PreviewTable[k];
    e.PosX = e.BaseX = cursor_.field("X");
    e.PosY = e.BaseY = cursor_.field("Y");
    e.Width = cursor_.field("Width");
    e.Height = cursor_.field("Height");
}

void ThumbPager::LoadPage(int mode)
{
    const int R = rows_;
    switch (mode) {
    case 2: {
        if (!findCategoryStart()) {
            Picture_Cnt = 0;
            return;
        }
        CategoryBase = cursor_.position() - 2;
        HSB_NoMove = true;
        if (hsb_.minimum != 1) {
            readPictureCount();
            if (Picture_Cnt > 0)
                setScrollRange(1, Picture_Cnt < 5 ? 1 : Picture_Cnt - 4);
        }
        HSB_NoMove = false;
        // Overlay thumbnails of a kind not in the portrait are drawn at the first part's place.
        bool partnerFound = true;
        const core::PartTable& parts = session_.state.PartTable;
        if (!parts[kind_].present()) {
            fillPreviewFromRow(kind_);
            const int partner = core::isFirstOfPair(kind_) ? core::pairPartner(kind_) : 0;
            if (partner && !parts[partner].present()) {
                const catalog::Bookmark here = cursor_.bookmark();
                const std::int16_t fileNo = cursor_.field("FileNo");
                partnerFound = cursor_.findFirst(
                    QStringLiteral("PictureID = %1 and FileNo = %2").arg(partner).arg(fileNo));
                if (partnerFound)
                    fillPreviewFromRow(partner);
                cursor_.goToBookmark(here);
            }
        }
        if (Disp_Mode == 0)
            cursor_.move(1);
        if (!partnerFound)
            return;
        loadSlots(0);
        // Where the window ends matters to the next step right as much as after any jump.
        WindowEnd = cursorPosition() + R;
        DbPosition = 1;
        ShowSlots(2);
        break;
    }
    case 0: {
        if (DbPosition == 0)
            cursor_.move(4 * R);
        for (int j = 1; j < kSlots; ++j)
            slots_[std::size_t(j - 1)] = std::move(slots_[std::size_t(j)]);
        slots_[kSlots - 1].clear();
        loadSlots(kSlots - 1);
        if (EndReached && WindowEnd >= CategoryBase + (Picture_Cnt + 1) * R) {
            // The window touches the end of the table: stand on its second part rather than
            // past the end, from where relative moves cannot count.
            cursor_.goTo(WindowEnd - 4 * R);
            secondPartMark_ = cursor_.bookmark();
            WindowEnd += R;
            ShowSlots(0);
            DbPosition = 0;
            return;
        }
        WindowEnd = cursorPosition() + R;
        DbPosition = 1;
        ShowSlots(0);
        break;
    }
    case 1: {
        if (hsb_.value == 1) {
            if (!findCategoryStart())
                return;
            if (Disp_Mode == 0)
                cursor_.move(1);
        } else if (DbPosition == 0) {
            cursor_.move(-2 * R);
        } else if (cursor_.database().isAfterLast()) {
            // From past the end: to the first row of the part before the window.
            cursor_.moveLast();
            cursor_.move(-(6 * R - 1) + (Disp_Mode == 0 ? 1 : 0));
        } else {
            cursor_.move(-(EmptyTail != 0 ? 5 - EmptyTail : 6) * R);
        }
        for (int j = kSlots - 2; j >= 0; --j)
            slots_[std::size_t(j + 1)] = std::move(slots_[std::size_t(j)]);
        slots_[0].clear();
        loadSlots(0, 0);
        WindowEnd = cursorPosition() + 5 * R;
        DbPosition = 0;
        ShowSlots(1);
        break;
    }
    case 3: {
        if (!findCategoryStart())
            return;
        if (Disp_Mode == 0)
            cursor_.move(1);
        cursor_.move((hsb_.value - 1) * R);
        // A count that promises more parts than there are leaves empty slots, never stale ones.
        loadSlots(0);
        WindowEnd = cursorPosition() + R;
        DbPosition = 1;
        ShowSlots(3);
        break;
    }
    case 4: {
        jumping_ = true;
        // Sub-categories exist only for kinds with two rows a part.
        const int n = (cursorPosition() - CategoryBase) / 2;
        setScrollValue(Picture_Cnt - n > 4 ? n : hsb_.maximum);
        // A full window has no empty tail, whatever the jump before left.
        EmptyTail = kSlots - loadSlots(0);
        DbPosition = 1;
        jumping_ = false;
        WindowEnd = cursorPosition() + R;
        ShowSlots(4);
        break;
    }
    default:
        return;
    }
    endOfLoad();
}

void ThumbPager::endOfLoad()
{
    if (cursor_.database().isAfterLast()) {
        EndReached = true;
    } else {
        afterWindowMark_ = cursor_.bookmark();
    }
    // The row of the window's second part, wherever the load left the cursor.
    if (!slots_[1].isEmpty())
        secondPartMark_ = slots_[1].row;
}

// ---- drawing ----------------------------------------------------------------------------

void ThumbPager::DrawThumb(int i)
{
    const ThumbScene scene{session_.state, session_.images, session_.settings.OverlayKinds,
                           WhitePic};
    renderer_.DrawThumb(slots_[std::size_t(i)], kind_, Disp_Mode, ColourCode, scene,
                        L1[std::size_t(i)]);
    if (onDrawn)
        onDrawn(i);
}

void ThumbPager::ShowSlots(int mode)
{
    // The option part's remembered box and position are what overlays show it moved by.
    if (session_.state.PartTable[kind::Option].present()) {
        core::PartSlot& e = session_.images.PreviewTable[kind::Option];
        const core::OptionMemory& m = session_.marks.OptionMemory;
        e.BaseX = m.BaseX;
        e.BaseY = m.BaseY;
        e.Width = m.Width;
        e.Height = m.Height;
        e.PosX = m.PosX;
        e.PosY = m.PosY;
    }
    if (mode == 0) {
        for (int m = 1; m < kSlots; ++m)
            L1[std::size_t(m - 1)] = L1[std::size_t(m)];
        DrawThumb(kSlots - 1);
    } else if (mode == 1) {
        for (int m = kSlots - 2; m >= 0; --m)
            L1[std::size_t(m + 1)] = L1[std::size_t(m)];
        DrawThumb(0);
    } else {
        for (int i = 0; i < kSlots; ++i)
            DrawThumb(i);
    }
    MarkInUse();
}

void ThumbPager::MarkInUse()
{
    const auto& inUseNo = session_.marks.InUseFileNo;
    const core::PartTable& parts = session_.state.PartTable;
    std::vector<int> numbers{inUseNo[std::size_t(kind_)]};
    if (core::isFirstOfPair(kind_) && parts[core::pairPartner(kind_)].present())
        numbers.push_back(inUseNo[std::size_t(core::pairPartner(kind_))]);
    for (int j = 0; j < kSlots; ++j) {
        const ThumbSlot& s = slots_[std::size_t(j)];
        // Empty slots show no part, whatever number they last held.
        inUse_[std::size_t(j)] = !s.isEmpty() && s.fileNo != 0
            && std::find(numbers.begin(), numbers.end(), s.fileNo) != numbers.end();
    }
}

QString ThumbPager::toolTip(int i) const
{
    const int v = hsb_.value;
    if (i < 0 || i >= kSlots || v + i > Picture_Cnt || Picture_Cnt < 1 || slots_[std::size_t(i)].isEmpty())
        return {};
    const int ordinal = v + i + (EmptyTail >= 1 ? EmptyTail : 0);
    return QStringLiteral("%1/%2").arg(ordinal).arg(Picture_Cnt);
}

// ---- scroll bar -------------------------------------------------------------------------

void ThumbPager::setScrollRange(int minimum, int maximum)
{
    hsb_.minimum = minimum;
    hsb_.maximum = std::max(minimum, maximum);
    const int clamped = std::clamp(hsb_.value, hsb_.minimum, hsb_.maximum);
    if (clamped != hsb_.value) {
        hsb_.value = clamped;
        scrollChanged();
    }
}

void ThumbPager::setScrollValue(int value)
{
    value = std::clamp(value, hsb_.minimum, hsb_.maximum);
    if (value == hsb_.value)
        return;
    hsb_.value = value;
    scrollChanged();
}

void ThumbPager::scrollChanged()
{
    if (jumping_) {
        OldScp = hsb_.value;
        return;
    }
    if (HSB_NoMove || hsb_.value == OldScp)
        return;
    if (hsb_.value == OldScp + 1) {
        LoadPage(0);
    } else if (hsb_.value == OldScp - 1) {
        LoadPage(1);
        if (EmptyTail > 0) {
            // After a jump into the category's last parts the window slides back part by
            // part while the bar stays at its end.
            --EmptyTail;
            setScrollValue(OldScp);
        }
    } else {
        LoadPage(hsb_.value == 1 ? 2 : 3);
        EmptyTail = 0;
    }
    OldScp = hsb_.value;
    jumping_ = false;
}

// ---- sub-categories ---------------------------------------------------------------------

ThumbPager::JumpResult ThumbPager::subcategoryJump(int entry)
{
    const std::span<const Subcategory> list = subcategoriesFor(kind_);
    if (entry < 0 || entry >= int(list.size()))
        return JumpResult::Nothing;
    SubcategoryMark& m = subcategoryMarks_[std::size_t(entry)];
    bool found = false;
    if (m.visited) {
        found = m.mark != 0 && cursor_.goToBookmark(m.mark);
    } else {
        found = cursor_.findFirst(QLatin1String(list[std::size_t(entry)].criterion));
        if (found)
            m.mark = cursor_.bookmark();
    }
    m.visited = true;
    if (!found) {
        // Back to where the window was loaded from; the thumbnails stay.
        if (EndReached) {
            cursor_.goToBookmark(secondPartMark_);
            DbPosition = 0;
        } else {
            cursor_.goToBookmark(afterWindowMark_);
        }
        return JumpResult::NoMatch;
    }
    LoadPage(4);
    return JumpResult::Jumped;
}

}  // namespace picker
