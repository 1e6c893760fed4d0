#include "core/history.h"

#include "catalog/categories.h"
#include "catalog/partsdatabase.h"
#include "core/colourcode.h"
#include "core/rounding.h"
#include "imaging/engine/errors.h"

#include <algorithm>

namespace core {

using imaging::Raster;

namespace {

// The picker's overlay thumbnails never show these kinds, so their one-third-scale slots
// are not kept.
bool keepsPreview(int k)
{
    return k != kind::Background && k != kind::Body && k != kind::AnimalBody && k != kind::Hat
        && k != kind::AnimalHead && k != kind::Balloon;
}

bool carriesFigurePosition(int k) { return k == kind::Background || k == kind::Balloon; }

// Sized together by the outline sliders.
bool followsOutline(int k)
{
    return k == kind::Hairstyle || k == kind::Ears || k == kind::Outline || k == kind::Fringe;
}

bool takesColourCode(int k)
{
    return followsOutline(k) || k == kind::Nose;
}

// The fields the snapshot keeps of a one-third-scale slot.
void copyPreviewFields(const PartSlot& from, PartSlot& to)
{
    to.FileNo = from.FileNo;
    to.PosX = from.PosX;
    to.PosY = from.PosY;
    to.BaseX = from.BaseX;
    to.BaseY = from.BaseY;
    to.Width = from.Width;
    to.Height = from.Height;
    to.GrowW = from.GrowW;
    to.GrowH = from.GrowH;
    to.Extra = from.Extra;
    to.Angle = from.Angle;
}

// A kind's pictures depend on these; a position or box change alone leaves them right.
bool samePictures(const PartSlot& a, const PartSlot& b)
{
    return a.FileNo == b.FileNo && a.GrowW == b.GrowW && a.GrowH == b.GrowH && a.Angle == b.Angle
        && a.Extra == b.Extra;
}

std::int16_t third(int v) { return roundToInt16(v / 3.0); }

void updateHistoryCommands(const History& h, HistoryHost* host)
{
    if (!host)
        return;
    host->setUndoEnabled(h.UndoCount > 1);
    host->setRedoEnabled(h.RedoCount > 0);
}

bool validRingPosition(int pos) { return pos >= 1 && pos <= History::kRingSize; }

// One record of a part as the rebuild reads it.
struct PartRow {
    int pictureId = 0;
    int fileNo = 0;
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::int16_t width = 0;
    std::int16_t height = 0;
    std::int16_t optionId1 = 0;
    Raster main;
    Raster mask;
};

std::int16_t field16(const catalog::PartsDatabase& db, const char* name)
{
    bool ok = false;
    const qlonglong v = db.value(name).toLongLong(&ok);
    return ok ? clampToInt16(v) : std::int16_t(0);
}

// Empty when the current record was read; else why not.
QString readRow(const catalog::PartsDatabase& db, PartRow& row)
{
    if (!db.hasCurrent())
        return QStringLiteral("the part's records are incomplete");
    if (const QString e = db.recordError(); !e.isEmpty())
        return e;
    row.pictureId = field16(db, "PictureID");
    row.fileNo = field16(db, "FileNo");
    row.x = field16(db, "X");
    row.y = field16(db, "Y");
    row.width = field16(db, "Width");
    row.height = field16(db, "Height");
    row.optionId1 = field16(db, "OptionID1");
    if (const int rc = db.image("photo_main", row.main); rc != 0)
        return QStringLiteral("its picture cannot be read (error %1)").arg(rc);
    if (const int rc = db.image("photo_mask", row.mask); rc != 0)
        return QStringLiteral("its mask cannot be read (error %1)").arg(rc);
    return {};
}

enum class Fetch { Done, Dropped, Failed };

// Finds the part of slot k and reads its one-third-scale (first) and full-scale (last)
// records. Leaves the database view wherever the reading ended.
Fetch fetchPart(catalog::PartsDatabase* db, int k, const PartSlot& slot, PartRow& small,
                PartRow& full, QString& error)
{
    if (!db || !db->isOpen()) {
        error = QStringLiteral("its database is not open");
        return Fetch::Failed;
    }
    if (k == kind::User) {
        // Photos registered since the view was opened must be found too.
        if (const catalog::DbResult r = db->refresh(); !r) {
            error = r.error();
            return Fetch::Failed;
        }
    }
    // Number 1 stands for the kind's first part, whatever its number is.
    const QString criterion = slot.FileNo == 1
        ? QStringLiteral("PictureID = %1").arg(k)
        : QStringLiteral("PictureID = %1 and FileNo = %2").arg(k).arg(slot.FileNo);
    db->moveFirst();
    if (const catalog::DbResult r = db->findFirst(criterion); !r) {
        error = r.error();
        return Fetch::Failed;
    }
    if (db->noMatch())
        return Fetch::Dropped;
    if (error = readRow(*db, small); !error.isEmpty())
        return Fetch::Failed;
    const int more = std::max(0, catalog::RowsPerPart(k) - 1);
    if (more == 0) {
        full = small;
        return Fetch::Done;
    }
    db->move(more);
    if (error = readRow(*db, full); !error.isEmpty())
        return Fetch::Failed;
    // A group that lost records would hand over another part's picture.
    if (full.pictureId != k || full.fileNo != small.fileNo) {
        error = QStringLiteral("the part's records are incomplete");
        return Fetch::Failed;
    }
    return Fetch::Done;
}

// Slider positions the outline's size change stands for; other sizes leave them alone.
void deriveOutlineSteps(const PartSlot& slot, PortraitState& state)
{
    switch (slot.GrowW) {
    case 0: state.OutlineWidthStep = 0; break;
    case 25: state.OutlineWidthStep = 1; break;
    case 50: state.OutlineWidthStep = 2; break;
    case -50: state.OutlineWidthStep = -2; break;
    case -25: state.OutlineWidthStep = -1; break;
    default: break;
    }
    struct HeightStep {
        int growH;
        std::int16_t step;
        std::int16_t bodyShift;
    };
    static constexpr HeightStep kHeightSteps[] = {
        {0, 0, 0}, {15, 1, -1}, {30, 2, -2}, {-30, -2, 5}, {-15, -1, 2}};
    for (const HeightStep& h : kHeightSteps) {
        if (slot.GrowH == h.growH) {
            state.OutlineHeightStep = h.step;
            state.BodyShift = h.bodyShift;
            break;
        }
    }
}

// Pair spacing in steps from a half's offset in pixels (3 a step closer, 4 apart), and the
// pair's tilt from the second half, which turns the positive way.
void derivePairSettings(int k, const PartSlot& slot, PortraitState& state)
{
    const std::int16_t spacing = slot.Extra < 0 ? roundToInt16(slot.Extra / 4.0)
                                                : roundToInt16(slot.Extra / 3.0);
    const std::int32_t degrees = roundToInt32(slot.Angle / 100.0);
    if (k == kind::EyeRight || k == kind::EyeLeft) {
        state.EyeSpacing = spacing;
        if (k == kind::EyeLeft)
            state.EyeAngle = degrees;
    } else {
        state.BrowSpacing = spacing;
        if (k == kind::BrowLeft)
            state.BrowAngle = degrees;
    }
}

void clearPictures(PartImages& images, int k)
{
    images.mask(k).free();
    images.colour(k).free();
    images.smallMask(k).free();
    images.smallColour(k).free();
}

void rebuildKind(HistoryContext& ctx, int k, bool stepping, RebuildReport& report)
{
    PortraitState& state = ctx.state;
    PartSlot& slot = state.PartTable[k];
    if (!slot.present())
        return;
    const bool fresh = ctx.history.FreshPortrait;
    catalog::PartsDatabase* db = k == kind::User ? ctx.databases.photos : ctx.databases.parts;

    PartRow small;
    PartRow full;
    QString error;
    const Fetch fetched = fetchPart(db, k, slot, small, full, error);
    if (fetched == Fetch::Dropped) {
        slot.FileNo = 0;
        report.dropped.push_back(k);
        return;
    }
    if (fetched == Fetch::Failed) {
        // Not knowing is no reason to drop the part: saving would lose it for good. Without
        // pictures the composition leaves it out.
        clearPictures(ctx.images, k);
        report.failed.push_back(k);
        report.errors << QStringLiteral("kind %1, part %2: %3").arg(k).arg(slot.FileNo).arg(error);
        return;
    }

    slot.FileNo = clampToInt16(small.fileNo);
    PartImages& images = ctx.images;
    images.smallColour(k) = small.main;
    images.smallMask(k) = small.mask;
    PartSlot& preview = images.PreviewTable[k];
    preview.FileNo = 1;
    if (fresh) {
        preview.PosX = preview.BaseX = small.x;
        preview.PosY = preview.BaseY = small.y;
        preview.GrowW = preview.GrowH = preview.Extra = 0;
        preview.Angle = 0;
    } else {
        preview.PosX = third(slot.PosX);
        preview.PosY = third(slot.PosY);
        preview.BaseX = third(slot.BaseX);
        preview.BaseY = third(slot.BaseY);
        preview.GrowW = third(slot.GrowW);
        preview.GrowH = third(slot.GrowH);
        if (k == kind::Option) {
            ctx.OptionMemory.BaseX = small.x;
            ctx.OptionMemory.BaseY = small.y;
            ctx.OptionMemory.Width = small.width;
            ctx.OptionMemory.Height = small.height;
        }
    }
    preview.Width = small.width;
    preview.Height = small.height;

    images.colour(k) = full.main;
    images.mask(k) = full.mask;

    if (fresh) {
        slot.PosX = slot.BaseX = full.x;
        slot.PosY = slot.BaseY = full.y;
        slot.Width = full.width;
        slot.Height = full.height;
        slot.GrowW = slot.GrowH = 0;
        slot.Angle = 0;
        // A new portrait's hair starts in colour code 3.
        slot.Extra = k == kind::Hairstyle || k == kind::Fringe ? 3 : 0;
    } else {
        if (k == kind::Background)
            state.BackgroundOption = full.optionId1;
        if (carriesFigurePosition(k)) {
            // A step has restored the figure position already; a loaded portrait takes it
            // from its slots, the balloon's winning because it comes later.
            if (!stepping) {
                state.FigurePosMode = slot.Extra;
                state.FigureStepX = slot.ShiftX;
                state.FigureStepY = slot.ShiftY;
            }
            if (HistoryHost* host = ctx.host) {
                if (!host->figurePosMenuEnabled())
                    host->setFigurePosMenuEnabled(true);
                host->checkFigurePosItem(state.FigurePosMode);
            }
        }
        if (followsOutline(k))
            deriveOutlineSteps(slot, state);
    }

    if (takesColourCode(k)) {
        ApplyColourCode(images.colour(k), slot.Extra);
        ApplyColourCode(images.smallColour(k), slot.Extra);
    }
    if (isPairKind(k))
        derivePairSettings(k, slot, state);
    report.reloaded.push_back(k);
}

}  // namespace

void resetHistory(History& history)
{
    history.HistoryCursor = 0;
    history.UndoCount = 0;
    history.RedoCount = 0;
    history.UndoInProgress = false;
    history.RedoInProgress = false;
}

Snapshot takeSnapshot(const HistoryContext& ctx)
{
    const PortraitState& st = ctx.state;
    const PartTable& preview = ctx.images.PreviewTable;
    Snapshot s;
    for (int k = kind::First; k <= kind::Last; ++k) {
        const PartSlot& slot = st.PartTable[k];
        if (!slot.present())
            continue;
        s.PartTable[k] = slot;
        if (keepsPreview(k))
            copyPreviewFields(preview[k], s.PreviewTable[k]);
    }
    if (st.PartTable[kind::Background].present())
        s.BackgroundOption = st.BackgroundOption;
    s.FigurePosMode = st.FigurePosMode;
    s.FigureStepX = st.FigureStepX;
    s.FigureStepY = st.FigureStepY;
    if (ctx.host) {
        const QSize twips = ctx.host->editorWindowSizeTwips();
        s.EditorSizeTwips = QSize(clampToInt16(twips.width()), clampToInt16(twips.height()));
    }
    s.OutlineWidthStep = st.OutlineWidthStep;
    s.OutlineHeightStep = st.OutlineHeightStep;
    s.EyeSpacing = st.EyeSpacing;
    s.EyeAngle = st.EyeAngle;
    s.BrowSpacing = st.BrowSpacing;
    s.BrowAngle = st.BrowAngle;
    s.Captions = ctx.captions;
    return s;
}

void restoreSnapshot(HistoryContext& ctx, const Snapshot& s)
{
    PortraitState& st = ctx.state;
    PartTable& preview = ctx.images.PreviewTable;
    for (int k = kind::First; k <= kind::Last; ++k) {
        st.PartTable[k] = s.PartTable[k];
        if (keepsPreview(k))
            copyPreviewFields(s.PreviewTable[k], preview[k]);
    }
    if (st.PartTable[kind::Background].present())
        st.BackgroundOption = s.BackgroundOption;
    st.FigurePosMode = s.FigurePosMode;
    st.FigureStepX = s.FigureStepX;
    st.FigureStepY = s.FigureStepY;
    HistoryHost* host = ctx.host;
    if (host && !s.EditorSizeTwips.isEmpty())
        host->setEditorWindowSizeTwips(s.EditorSizeTwips);
    InitLayerOrder(st);
    MoveUserLayer(st, st.PartTable[kind::User].Extra);
    if (host && host->figurePosMenuEnabled())
        host->checkFigurePosItem(st.FigurePosMode);
    st.OutlineWidthStep = s.OutlineWidthStep;
    st.OutlineHeightStep = s.OutlineHeightStep;
    st.EyeSpacing = s.EyeSpacing;
    st.EyeAngle = s.EyeAngle;
    st.BrowSpacing = s.BrowSpacing;
    st.BrowAngle = s.BrowAngle;
    ctx.captions = s.Captions;
}

void RecordSnapshot(HistoryContext& ctx)
{
    History& h = ctx.history;
    if (!h.UndoInProgress && !h.RedoInProgress) {
        h.HistoryCursor = std::int16_t(History::next(h.HistoryCursor));
        h.HistoryRing[std::size_t(h.HistoryCursor)] = takeSnapshot(ctx);
        h.UndoCount = std::int16_t(std::min<int>(h.UndoCount + 1, History::kRingSize));
        h.RedoCount = 0;
    }
    updateHistoryCommands(h, ctx.host);
    h.UndoInProgress = false;
    h.RedoInProgress = false;
}

namespace {

bool step(HistoryContext& ctx, bool undo, const std::function<void()>& composeAgain)
{
    History& h = ctx.history;
    // The commands are disabled then; a stray call must not move the counts out of range.
    const bool possible = undo ? h.UndoCount > 1 : h.RedoCount > 0;
    if (!possible || !validRingPosition(h.HistoryCursor))
        return false;

    HistoryHost* host = ctx.host;
    if (host)
        host->setBusyPointer(true);
    if (undo) {
        h.UndoInProgress = true;
        h.HistoryCursor = std::int16_t(History::previous(h.HistoryCursor));
    } else {
        h.RedoInProgress = true;
        h.HistoryCursor = std::int16_t(History::next(h.HistoryCursor));
    }
    restoreSnapshot(ctx, h.HistoryRing[std::size_t(h.HistoryCursor)]);
    h.UndoCount = std::int16_t(h.UndoCount + (undo ? -1 : 1));
    h.RedoCount = std::int16_t(h.RedoCount + (undo ? 1 : -1));

    RebuildPartImages(ctx);
    if (composeAgain)
        composeAgain();
    // A composition that did not record would leave the flags set, and the next change
    // would then go unrecorded.
    if (h.UndoInProgress || h.RedoInProgress)
        RecordSnapshot(ctx);
    if (host)
        host->setBusyPointer(false);
    return true;
}

}  // namespace

bool Undo(HistoryContext& ctx, const std::function<void()>& composeAgain)
{
    return step(ctx, true, composeAgain);
}

bool Redo(HistoryContext& ctx, const std::function<void()>& composeAgain)
{
    return step(ctx, false, composeAgain);
}

RebuildReport RebuildPartImages(HistoryContext& ctx)
{
    RebuildReport report;
    History& h = ctx.history;
    const bool stepping = h.UndoInProgress || h.RedoInProgress;
    // The state shown before the step: the entry after the cursor for an undo, before it
    // for a redo.
    const Snapshot* shown = nullptr;
    if (stepping && validRingPosition(h.HistoryCursor)) {
        const int pos = h.UndoInProgress ? History::next(h.HistoryCursor)
                                         : History::previous(h.HistoryCursor);
        shown = &h.HistoryRing[std::size_t(pos)];
    }

    for (int k = kind::First; k <= kind::Last; ++k) {
        const PartSlot& slot = ctx.state.PartTable[k];
        // A part whose pictures an earlier fetch could not provide is fetched again.
        const bool hasPictures = !ctx.images.mask(k).isNull() && !ctx.images.colour(k).isNull();
        if (shown && samePictures(slot, shown->PartTable[k]) && (!slot.present() || hasPictures))
            continue;
        try {
            rebuildKind(ctx, k, stepping, report);
        } catch (const imaging::ImagingError& e) {
            clearPictures(ctx.images, k);
            report.failed.push_back(k);
            report.errors << QStringLiteral("kind %1: imaging error %2").arg(k).arg(e.code());
        }
    }
    h.FreshPortrait = false;
    return report;
}

}  // namespace core
