#pragma once

#include "catalog/recordsource.h"
#include "catalog/result.h"

#include <QString>
#include <QStringView>
#include <QVariant>

#include <memory>

namespace imaging {
class Raster;
}

namespace catalog {

namespace detail {
struct DbAccess;
}

enum class OpenMode {
    // The parts or photo database delivered with the programs: read and write.
    Update,
    // A file the user picked (an add-on parts file): untrusted. Opened read-only with the
    // engine's defensive settings, its layout and integrity checked before any use.
    ReadOnly,
};

// A record's identity: its row id. 0 is no record.
using Bookmark = qint64;

// editMode() values.
inline constexpr int kEditNone = 0;
inline constexpr int kEditInProgress = 1;
inline constexpr int kEditAdd = 2;

// Image fields larger than this, or pictures wider or higher, are refused when read.
inline constexpr int kMaxImageSide = 4096;
inline constexpr int kMaxFieldBytes = 16 * 1024 * 1024;
// The widest canvas: every part picture and registered photo fits it or its record's box.
inline constexpr int kCanvasWidth = 575;
inline constexpr int kCanvasHeight = 395;
// Pixels beyond the canvas size one open of a database may decode in all (32 MB at four
// bytes a pixel).
inline constexpr qint64 kOversizedBudget = qint64(8) << 20;

// One open database file and one record source, with a current record.
//
// Opening builds the key set: the row ids of the source's records in its order. The
// cursor moves over that set. Records added through this object since the last requery
// are reachable at its end; records deleted are skipped by every later move (also when
// another connection deleted them). Finds, too, go by the key set's order, so a record
// added since the last requery is found after every older one. Requery rebuilds the set in
// order.
//
// Field names are matched without regard to case. Values come back as QVariant: a null
// QVariant for Null (and when there is no current record), qlonglong for integers,
// QString for text, QByteArray for byte strings.
class PartsDatabase {
public:
    PartsDatabase();
    ~PartsDatabase();
    PartsDatabase(const PartsDatabase&) = delete;
    PartsDatabase& operator=(const PartsDatabase&) = delete;

    // Opens `path` (found without regard to the case of its name) with one of the three
    // record sources, given as its exact text. The first record becomes current.
    DbResult open(const QString& path, const QString& recordSource, OpenMode mode = OpenMode::Update);
    void close();
    bool isOpen() const;
    bool isReadOnly() const;
    // The file actually opened, in its own spelling.
    QString path() const;
    RecordSource recordSource() const;

    // Both re-run the record source and make the first record current.
    DbResult refresh();
    DbResult requery();

    // Moves drop a pending edit or add. They return whether there is a current record.
    bool moveFirst();
    bool moveLast();
    // n records forward, or back when negative; past either end there is no current record.
    bool move(int n);
    bool moveNext() { return move(1); }
    bool movePrevious() { return move(-1); }

    // The first record in the source's order that meets `criterion`, one of the forms of
    // parseCriterion(). Without a match the current record stays and noMatch() is set; a
    // refused criterion is an error (and sets noMatch()).
    DbResult findFirst(const QString& criterion);
    bool noMatch() const;

    bool hasCurrent() const;
    bool isBeforeFirst() const;
    bool isAfterLast() const;
    // 0-based ordinal of the current record; -1 when there is none.
    int absolutePosition() const;
    int recordCount() const;

    Bookmark bookmark() const;  // 0 when there is no current record
    DbResult setBookmark(Bookmark mark);
    // The record stored by the last update().
    Bookmark lastModified() const;

    // A field of the current record (of the pending record while editing or adding).
    QVariant value(QAnyStringView field) const;
    QVariant value(int column) const;  // in kPeopleFields order
    // Why the current record could not be read (oversized field, damaged file); else empty.
    QString recordError() const;
    // Only between edit()/addNew() and update(). Values are checked against the field's type:
    // 16-bit integers in range, text, byte strings; Null is accepted everywhere.
    DbResult setValue(QAnyStringView field, const QVariant& value);

    // Decodes an image field of the current record (Null or empty: an empty raster). 0 or
    // the engine's error code.
    int image(QAnyStringView field, imaging::Raster& out) const;
    // Sets an image field from a picture at `bits` (0: its own depth); an empty picture
    // stores Null.
    DbResult setImage(QAnyStringView field, const imaging::Raster& picture, int bits = 0);

    DbResult addNew();
    DbResult edit();
    // Stores the pending record. After an add the current record stays the one that was
    // current before it. On failure the edit stays pending (see cancelUpdate()).
    DbResult update();
    void cancelUpdate();
    int editMode() const;
    // Deletes the current record; afterwards there is no current record until a move.
    DbResult deleteRecord();

    // Writes have to be grouped by the caller so that they land together or not at all.
    // Rolling back requeries and returns to the record that was current at the start.
    DbResult beginTransaction();
    DbResult commitTransaction();
    void rollbackTransaction();
    bool inTransaction() const;

    // Writes a compacted copy of the database file `source` to `destination`, which must not
    // exist yet. The copy is checked and flushed to disk before this returns ok; on failure
    // nothing is left at `destination`.
    static DbResult compact(const QString& source, const QString& destination);

private:
    friend struct detail::DbAccess;
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Rolls a transaction back unless it was committed.
class Transaction {
public:
    explicit Transaction(PartsDatabase& db) : db_(db), result_(db.beginTransaction()) {}
    ~Transaction()
    {
        if (result_.ok() && !done_)
            db_.rollbackTransaction();
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Whether the transaction could be started.
    const DbResult& started() const { return result_; }
    DbResult commit()
    {
        done_ = true;
        return db_.commitTransaction();
    }

private:
    PartsDatabase& db_;
    DbResult result_;
    bool done_ = false;
};

// The index of a field name in kPeopleFields, compared without regard to case; -1 if none.
int fieldIndex(QAnyStringView field);

// `path` itself when it exists, else the entry of its folder whose name equals its name
// without regard to case, else `path` unchanged.
QString resolveFileNoCase(const QString& path);
// The entry of `folder` named `name` without regard to case (an exact match first); empty
// when there is none.
QString findFileNoCase(const QString& folder, const QString& name);

}  // namespace catalog
