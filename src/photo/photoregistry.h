#pragma once

#include "catalog/partsdatabase.h"
#include "imaging/engine/raster.h"

#include <QString>

#include <array>

namespace photo {

enum class Slot { Main = 0, Mask = 1 };

// The registration of users' pictures over the photo database, without any window: browse
// the registered pictures in photo order, add one from two picture files (or one picture
// and a mask made from it), delete one. The registration window is a thin view of it.
//
// Adding keeps the new photo in memory until store(): nothing reaches the file before, and
// store() writes the record and the count in one transaction, so a failure or a killed
// program leaves the file as it was.
class PhotoRegistry {
public:
    // "Photo.mdb" in `folder` (the name matched without regard to case), in photo order.
    catalog::DbResult open(const QString& folder);
    void close();
    bool isOpen() const { return db_.isOpen(); }
    catalog::PartsDatabase& database() { return db_; }

    // ---- browsing ----
    int count() const;
    // 0-based place of the shown record in photo order; -1 when there is none.
    int position() const;
    // Moves first and then `position` records forward.
    bool showRecord(int position);
    bool hasCurrent() const { return db_.hasCurrent(); }
    // Fields of the shown record (Null without one).
    QVariant field(QAnyStringView name) const { return db_.value(name); }
    // The shown record's picture; empty without one or when it cannot be read.
    imaging::Raster picture(Slot slot) const;

    // ---- adding ----
    bool isAdding() const { return adding_; }
    // Starts a new photo: no files yet, and the number it will get (the last number + 1,
    // 1 for the first photo). The number is 0 when none is left.
    int beginAdd();
    int pendingNumber() const { return pendingNumber_; }

    // What choosing a file for one of the pictures did.
    enum class Choice {
        Loaded,     // name and picture taken
        Cancelled,  // no name; the picture shown stays
        TooLarge,   // beyond 575 x 395: name and picture dropped
        Failed,     // could not be read: name and picture dropped, code() says why
    };
    struct ChoiceResult {
        Choice status = Choice::Cancelled;
        int code = 0;  // the engine's error code for Failed
    };
    // `path` empty: the file dialog was cancelled.
    ChoiceResult choose(Slot slot, const QString& path);
    // Derives the mask from the main picture (makeAutoMask); the main picture is then
    // stored black where the mask is white. Changing the main picture derives it again.
    // False without a main picture.
    bool createAutoMask();
    bool autoMask() const { return autoMask_; }
    const QString& pendingName(Slot slot) const { return names_[std::size_t(slot)]; }
    const imaging::Raster& pendingPicture(Slot slot) const { return pictures_[std::size_t(slot)]; }
    // The name the mask box shows for an automatic mask of `mainPath`.
    static QString autoMaskName(const QString& mainPath);

    enum class Store {
        Stored,
        NoNumber,  // "イメージ番号　未入力"
        NoFile,    // "ファイル未指定"
        Failed,    // nothing was stored; error() says why
    };
    struct StoreResult {
        Store status = Store::Failed;
        QString error;
        int fileNo = 0;
    };
    // Stores the new photo with the count, and shows it (it is the last one). On NoNumber or
    // NoFile the photo stays pending; on Failed it is dropped and the record at
    // `position` before adding is shown again.
    StoreResult store();
    // Drops the new photo and shows the record at `position` again.
    void cancelAdd(int position);

    // ---- deleting ----
    enum class Delete { Deleted, NoRecord, Failed };
    struct DeleteResult {
        Delete status = Delete::Failed;
        QString error;
    };
    // Deletes the shown record and rewrites the count in one transaction; afterwards the
    // first record is shown.
    DeleteResult deleteCurrent();

private:
    void resetPending();

    catalog::PartsDatabase db_;
    bool adding_ = false;
    bool autoMask_ = false;
    int pendingNumber_ = 0;
    int positionBeforeAdd_ = 0;
    std::array<QString, 2> names_;
    std::array<imaging::Raster, 2> pictures_;
};

}  // namespace photo
