#pragma once

#include "core/captions.h"
#include "core/partimages.h"
#include "core/portrait.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace catalog {
class PartsDatabase;
}

namespace core {

// One state of the portrait as the history keeps it. Pictures are not kept: stepping to a
// state fetches again the pictures of the kinds that differ.
struct Snapshot {
    // Slots 1 to 22; an empty slot is kept as all zeros.
    core::PartTable PartTable;
    // FileNo to Angle of the one-third-scale slots, only for the kinds the picker overlays
    // (not 1, 4, 5, 20, 21, 22); zeros where the portrait's slot is empty.
    core::PartTable PreviewTable;
    std::int16_t BackgroundOption = 0;  // only while slot 1 is present
    std::int16_t FigurePosMode = 0;
    std::int16_t FigureStepX = 0;
    std::int16_t FigureStepY = 0;
    QSize EditorSizeTwips;  // empty when there was no editor window
    std::int16_t OutlineWidthStep = 0;
    std::int16_t OutlineHeightStep = 0;
    std::int16_t EyeSpacing = 0;
    std::int32_t EyeAngle = 0;
    std::int16_t BrowSpacing = 0;
    std::int32_t BrowAngle = 0;
    CaptionTable Captions;

    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

// The last eleven states of the portrait. Positions in the ring are 1-based, 0 meaning none.
struct History {
    static constexpr int kRingSize = 11;

    // Entry 0 is unused so that ring positions index directly.
    std::array<Snapshot, kRingSize + 1> HistoryRing{};
    std::int16_t HistoryCursor = 0;  // the entry the portrait shows; 0 before the first recording
    std::int16_t UndoCount = 0;      // states up to and including the current one, 0..11
    std::int16_t RedoCount = 0;      // states after the current one
    // Set by a step; the recording that ends the step's composition is skipped.
    bool UndoInProgress = false;
    bool RedoInProgress = false;
    // The portrait was just created or defaulted: the rebuild takes the slots' geometry from
    // the database. Cleared by every rebuild.
    bool FreshPortrait = false;

    // The ring position after / before `pos`, wrapping between 1 and 11.
    // A position outside the ring counts as none (next gives 1).
    static int next(int pos) { return pos < 1 || pos >= kRingSize ? 1 : pos + 1; }
    static int previous(int pos) { return pos < 2 || pos > kRingSize ? kRingSize : pos - 1; }
};

// An empty history for a new editor window: cursor, counts and step flags to 0. The ring's
// old entries cannot be reached any more; FreshPortrait is the loader's and stays.
void resetHistory(History& history);

// What the history does to the main window and the editor. The main window implements it;
// tests fake it. The "表示位置" and pointer calls have the signatures of EditorHost's, so one
// override in the main window serves both.
struct HistoryHost {
    virtual ~HistoryHost() = default;
    // "戻る(&U)" with file toolbar button 6 ("UndoImage"); "進む(&R)" with button 7 ("RedoImage").
    virtual void setUndoEnabled(bool enabled) = 0;
    virtual void setRedoEnabled(bool enabled) = 0;
    virtual bool figurePosMenuEnabled() const = 0;
    virtual void setFigurePosMenuEnabled(bool enabled) = 0;
    // Uncheck the four items of "表示位置" and check the one of `mode` (a mode outside 0..3,
    // from a damaged document, checks none).
    virtual void checkFigurePosItem(int mode) = 0;
    // The editor window's outer size in twips.
    virtual QSize editorWindowSizeTwips() const = 0;
    virtual void setEditorWindowSizeTwips(QSize size) = 0;
    virtual void setBusyPointer(bool busy) = 0;  // hourglass, or back to the default pointer
};

// The editor's two database views. The parts database serves every kind but the user image,
// which comes from the photo database. Each must be open with ListOrder; a null or closed
// database makes its kinds unavailable (their slots are kept, see RebuildPartImages).
struct PartDatabases {
    catalog::PartsDatabase* parts = nullptr;
    catalog::PartsDatabase* photos = nullptr;
};

// The session's pieces the history reads and writes.
struct HistoryContext {
    PortraitState& state;
    PartImages& images;  // Part_Pic, SmallPart and PreviewTable
    core::OptionMemory& OptionMemory;
    CaptionTable& captions;
    core::History& history;
    PartDatabases databases{};
    HistoryHost* host = nullptr;  // null: no main window (headless, tests)
};

// The current state as the history keeps it.
Snapshot takeSnapshot(const HistoryContext& ctx);
// Puts a kept state back: the slots, the overlay slots, the figure position, the editor's
// size, the layer order (from slot 2's Extra), the sliders and the captions. Pictures are
// left to RebuildPartImages.
void restoreSnapshot(HistoryContext& ctx, const Snapshot& snapshot);

// Ends every composition. Outside a step it stores the current state at the next ring
// position (the oldest goes after eleven) and drops the redo range; in every case it sets the
// undo and redo commands from the counts and clears the step flags.
void RecordSnapshot(HistoryContext& ctx);

// The undo and redo commands: step the cursor, restore that state, fetch the pictures that
// differ, then `composeAgain`, whose recording the step flags skip. Without `composeAgain`
// the recording is run directly so that the menus and flags are still right. A step that
// is not possible (nothing to undo or redo) changes nothing and returns false.
bool Undo(HistoryContext& ctx, const std::function<void()>& composeAgain = {});
bool Redo(HistoryContext& ctx, const std::function<void()>& composeAgain = {});

struct RebuildReport {
    std::vector<int> reloaded;  // kinds whose pictures were fetched
    std::vector<int> dropped;   // kinds the database no longer holds: their FileNo became 0
    // Kinds kept without pictures: their database was unavailable or their records could not
    // be read. The slot stays as it was, so that saving does not lose the part.
    std::vector<int> failed;
    QStringList errors;  // why, one line each
};

// Fetches the pictures of the placed parts into Part_Pic and SmallPart, fills the
// one-third-scale slots and derives what the slots imply (figure position, "表示位置",
// BackgroundOption, outline sliders and BodyShift, colour codes, pair spacing and tilt).
// A fresh portrait takes its slots' geometry from the database; a FileNo of 1 becomes the
// number of the kind's first part. During an undo or redo a kind whose FileNo, GrowW, GrowH,
// Angle and Extra match the state shown before the step keeps its pictures. Clears
// FreshPortrait.
RebuildReport RebuildPartImages(HistoryContext& ctx);

}  // namespace core
