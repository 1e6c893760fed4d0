#pragma once

// The operations both programs run on the parts database: reading a category's count,
// merging parts from an add-on parts file, deleting a part.

#include "catalog/partsdatabase.h"

#include <QList>
#include <QString>

#include <functional>

namespace imaging {
class Raster;
}

namespace catalog {

// Kitbin's selection holds at most this many part numbers.
inline constexpr int kMaxSelection = 501;

// Lets pending window events run between the parts of a merge (the window passes
// QCoreApplication::processEvents).
using ProcessEvents = std::function<void()>;

struct MergeResult {
    int added = 0;           // parts added to the category
    int companionAdded = 0;  // parts added to its companion
    QString error;           // empty when the merge ran to its end
    bool ok() const { return error.isEmpty(); }
};

// Merges every part of `category` in `source` (an add-on parts file, ListOrder) that
// `target` (the parts database, MergeOrder) lacks. For a pair category the same is done for
// its CompanionCategory in the same go, so that both halves of a pair are always added
// together (a file whose two halves hold different parts is refused); running the merge
// again for the companion then adds nothing. The file's own FileCnt is not relied on: every
// part of the category in it is visited, and each must have RowsPerPart records.
//
// The merge is one transaction: on any error (a damaged or hostile record in the source, a
// write that fails) nothing is changed and the error says why. The category's first record
// afterwards holds the number of its parts in FileCnt; a former first record gets Null.
// The target is left requeried, on the category's first record.
MergeResult CopyCategoryParts(PartsDatabase& source, PartsDatabase& target, int category,
                              const ProcessEvents& processEvents = {});

// The same for the parts numbered `fileNos` (in the order chosen, at most kMaxSelection;
// numbers the target already has, or the file lacks, are skipped; for a pair category a
// number the file holds in only one half is refused).
MergeResult CopySelectedParts(PartsDatabase& source, PartsDatabase& target, int category,
                              const QList<int>& fileNos, const ProcessEvents& processEvents = {});

// Shows the deletion failure; Kitbin's list window puts it in a warning box.
struct DeleteErrorSink {
    virtual ~DeleteErrorSink() = default;
    virtual void deleteError(const QString& message) = 0;
};

// The text a failed deletion reports.
QString deleteErrorText();

struct DeleteResult {
    int partsDeleted = 0;  // 1, or 2 with the companion's part
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// Deletes part `fileNo` of `category` and, for a pair category, the same part of its
// CompanionCategory, in one transaction, and rewrites each category's count on its (new)
// first record. A part that is not there is reported through `sink` and, for the category
// itself, changes nothing. The caller sets its PartsDeleted flag when partsDeleted > 0.
DeleteResult DeletePart(PartsDatabase& db, int category, int fileNo, DeleteErrorSink& sink);

// The number of parts of a category as its first record holds it (the cursor is left
// there); 0 for an empty category. Should that record hold no number, the parts are counted.
int readCategoryCount(PartsDatabase& db, int category);

// The number of parts of a category, counted.
int countParts(PartsDatabase& db, int category);

// The category of an add-on parts file: PictureID of the first of its first six records
// that is not 0. 0 when there is none (the file has no parts).
int addOnCategory(PartsDatabase& db);

// The BlankTile: the picture in photo_main of the file's first record. Leaves the cursor
// on the first record. 0 or the engine's error code; an empty file gives an empty picture.
int readBlankTile(PartsDatabase& db, imaging::Raster& out);

}  // namespace catalog
