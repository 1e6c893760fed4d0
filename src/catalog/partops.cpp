#include "catalog/partops.h"

#include "catalog/categories.h"
#include "catalog/schema.h"
#include "catalog/sqliteutil.h"
#include "imaging/engine/raster.h"

#include <QSet>

#include <limits>

namespace catalog {

using detail::DbAccess;
using detail::Stmt;

namespace {

// Columns in kPeopleFields order.
enum Column {
    cPictureID, cFileNo, cWhoMain, cWhoMask, cPhotoMain, cPhotoMask, cPairFile,
    cX, cY, cWidth, cHeight, cEnable, cOptionID1, cFileCnt
};

// Copied from the source in this order; PictureID is set, FileCnt is left Null.
constexpr Column kCopied[] = {cFileNo, cWhoMain, cWhoMask, cPhotoMain, cPhotoMask, cPairFile,
                              cX, cY, cWidth, cHeight, cEnable, cOptionID1};

constexpr int kMaxNameLength = 4096;

bool isInt16(const QVariant& v)
{
    if (v.typeId() != QMetaType::LongLong)
        return false;
    const qlonglong x = v.toLongLong();
    return x >= std::numeric_limits<qint16>::min() && x <= std::numeric_limits<qint16>::max();
}

// A scalar SQL query with one or two bound integers.
DbResult queryInt(sqlite3* db, const char* sql, int a, int b, QVariant& out)
{
    Stmt s;
    if (DbResult r = detail::prepare(db, QString::fromLatin1(sql), s, false); !r)
        return r;
    sqlite3_bind_int(s.get(), 1, a);
    sqlite3_bind_int(s.get(), 2, b);
    const int rc = sqlite3_step(s.get());
    if (rc == SQLITE_ROW) {
        out = detail::columnValue(s.get(), 0);
        return {};
    }
    out = QVariant();
    if (rc == SQLITE_DONE)
        return {};
    return detail::failure(db, QStringLiteral("query failed"));
}

// Row ids of the records of part (category, fileNo), straight from the file, so that records
// this cursor has not seen are covered too.
DbResult recordsOfPart(PartsDatabase& db, int category, int fileNo, QList<Bookmark>& out)
{
    out.clear();
    sqlite3* h = DbAccess::handle(db);
    Stmt s;
    if (DbResult r = detail::prepare(h, QStringLiteral("SELECT rowid FROM people WHERE PictureID = ?1 AND FileNo = ?2"),
                                     s, false);
        !r)
        return r;
    sqlite3_bind_int(s.get(), 1, category);
    sqlite3_bind_int(s.get(), 2, fileNo);
    int rc;
    while ((rc = sqlite3_step(s.get())) == SQLITE_ROW)
        out << sqlite3_column_int64(s.get(), 0);
    if (rc != SQLITE_DONE)
        return detail::failure(h, QStringLiteral("cannot look for a part"));
    return {};
}

// The record that holds a category's count: its first in ListOrder. 0 when it has none.
DbResult countHolder(PartsDatabase& db, int category, Bookmark& out)
{
    QVariant v;
    DbResult r = queryInt(DbAccess::handle(db),
                          "SELECT rowid FROM people WHERE PictureID = ?1 "
                          "ORDER BY FileNo, who_main, rowid LIMIT 1",
                          category, 0, v);
    out = v.isNull() ? 0 : v.toLongLong();
    return r;
}

DbResult partsIn(PartsDatabase& db, int category, int& out)
{
    QVariant v;
    DbResult r = queryInt(DbAccess::handle(db),
                          "SELECT COUNT(DISTINCT FileNo) FROM people WHERE PictureID = ?1", category, 0, v);
    out = v.toInt();
    return r;
}

DbResult setCount(PartsDatabase& db, Bookmark record, const QVariant& count)
{
    sqlite3* h = DbAccess::handle(db);
    Stmt s;
    if (DbResult r = detail::prepare(h, QStringLiteral("UPDATE people SET FileCnt = ?1 WHERE rowid = ?2"), s, false);
        !r)
        return r;
    detail::bindValue(s.get(), 1, count);
    sqlite3_bind_int64(s.get(), 2, record);
    if (sqlite3_step(s.get()) != SQLITE_DONE)
        return detail::failure(h, QStringLiteral("cannot store the category count"));
    return {};
}

// Puts the category's count on its first record and clears it on the record that held it
// before, when that is another one. Written by row id, so that records this cursor has not
// seen yet are covered too; the cursor is left on the count holder.
DbResult rewriteCount(PartsDatabase& db, int category, Bookmark oldHolder)
{
    Bookmark holder = 0;
    if (DbResult r = countHolder(db, category, holder); !r)
        return r;
    if (holder == 0)
        return {};  // the category has no record left
    int count = 0;
    if (DbResult r = partsIn(db, category, count); !r)
        return r;
    if (count > std::numeric_limits<qint16>::max())
        return DbResult::failure(QStringLiteral("category %1 would hold more parts than it can count").arg(category));
    if (oldHolder != 0 && oldHolder != holder) {
        if (DbResult r = setCount(db, oldHolder, QVariant()); !r)
            return r;
    }
    if (DbResult r = setCount(db, holder, QVariant(qlonglong(count))); !r)
        return r;
    (void)db.setBookmark(holder);  // re-reads the record; fails only for a record not in this set
    return {};
}

QString partName(int category, int fileNo)
{
    return QStringLiteral("part %1 of category %2").arg(fileNo).arg(category);
}

// Checks a record of an add-on file before it is written into the parts database.
DbResult checkSourceRecord(const PartsDatabase& source, int category, int fileNo)
{
    const QString part = partName(category, fileNo);
    if (!source.recordError().isEmpty())
        return DbResult::failure(QStringLiteral("%1 cannot be read: %2").arg(part, source.recordError()));
    for (Column c : {cX, cY, cWidth, cHeight, cOptionID1}) {
        const QVariant v = source.value(int(c));
        if (!v.isNull() && !isInt16(v))
            return DbResult::failure(QStringLiteral("%1 has an invalid %2").arg(part, QLatin1String(kPeopleFields[c])));
    }
    for (Column c : {cWhoMain, cWhoMask}) {
        const QVariant v = source.value(int(c));
        if (!v.isNull() && (v.typeId() != QMetaType::QString || v.toString().size() > kMaxNameLength))
            return DbResult::failure(QStringLiteral("%1 has an invalid %2").arg(part, QLatin1String(kPeopleFields[c])));
    }
    for (Column c : {cPhotoMain, cPhotoMask}) {
        const QVariant v = source.value(int(c));
        if (v.isNull())
            continue;
        if (v.typeId() != QMetaType::QByteArray)
            return DbResult::failure(QStringLiteral("%1 has no picture data in %2").arg(part, QLatin1String(kPeopleFields[c])));
        imaging::Raster picture;
        const int code = source.image(QLatin1String(kPeopleFields[c]), picture);
        if (code != 0)
            return DbResult::failure(QStringLiteral("%1 has a picture in %2 that cannot be used (error %3)")
                                         .arg(part, QLatin1String(kPeopleFields[c]))
                                         .arg(code));
    }
    return {};
}

// Appends the source's current record to the target as a record of `category`.
DbResult copyRecord(const PartsDatabase& source, PartsDatabase& target, int category)
{
    if (DbResult r = target.addNew(); !r)
        return r;
    DbResult r = target.setValue(u"PictureID", category);
    for (Column c : kCopied) {
        if (!r)
            break;
        r = target.setValue(QLatin1String(kPeopleFields[c]), source.value(int(c)));
    }
    if (r)
        r = target.update();
    if (!r && target.editMode() == kEditAdd)
        target.cancelUpdate();
    return r;
}

// Whether the source's current record belongs to part (category, fileNo).
bool onPart(const PartsDatabase& source, int category, int fileNo)
{
    if (!source.hasCurrent())
        return false;
    const QVariant id = source.value(int(cPictureID));
    const QVariant no = source.value(int(cFileNo));
    return id.typeId() == QMetaType::LongLong && id.toLongLong() == category
        && no.typeId() == QMetaType::LongLong && no.toLongLong() == fileNo;
}

// With the source on the first record of a part, copies the part's records when the target
// lacks the part, and leaves the source on the record after the part either way. Every part
// must have exactly `rows` records.
DbResult copyPartFromCursor(PartsDatabase& source, PartsDatabase& target, int category, int rows,
                            bool& added)
{
    added = false;
    const QVariant no = source.value(int(cFileNo));
    if (!isInt16(no))
        return DbResult::failure(QStringLiteral("a record of category %1 has an invalid FileNo").arg(category));
    const int fileNo = no.toInt();
    QList<Bookmark> existing;
    if (DbResult r = recordsOfPart(target, category, fileNo, existing); !r)
        return r;
    const bool write = existing.isEmpty();
    int count = 0;
    while (onPart(source, category, fileNo)) {
        if (++count > rows)
            break;
        if (write) {
            if (DbResult r = checkSourceRecord(source, category, fileNo); !r)
                return r;
            if (DbResult r = copyRecord(source, target, category); !r)
                return r;
        }
        source.move(1);
    }
    if (count != rows)
        return DbResult::failure(QStringLiteral("%1 in the add-on file has %2 records instead of %3")
                                     .arg(partName(category, fileNo))
                                     .arg(count > rows ? QStringLiteral("more than %1").arg(rows) : QString::number(count))
                                     .arg(rows));
    added = write;
    return {};
}

// The part numbers of a category in the source, in order.
DbResult sourcePartNumbers(PartsDatabase& source, int category, QList<int>& out)
{
    out.clear();
    Stmt s;
    if (DbResult r = detail::prepare(DbAccess::handle(source),
                                     QStringLiteral("SELECT DISTINCT FileNo FROM people WHERE PictureID = ?1 "
                                                    "ORDER BY FileNo"),
                                     s, false);
        !r)
        return r;
    sqlite3_bind_int(s.get(), 1, category);
    int rc;
    while ((rc = sqlite3_step(s.get())) == SQLITE_ROW) {
        const QVariant v = detail::columnValue(s.get(), 0);
        if (!isInt16(v))
            return DbResult::failure(QStringLiteral("a record of category %1 has an invalid FileNo").arg(category));
        out << v.toInt();
    }
    if (rc != SQLITE_DONE)
        return detail::failure(DbAccess::handle(source), QStringLiteral("cannot read the add-on file"));
    return {};
}

// Deletes a record through the cursor when it knows the record (so that its moves skip it),
// else in the file directly.
DbResult deleteRecordById(PartsDatabase& db, Bookmark record)
{
    if (db.setBookmark(record))
        return db.deleteRecord();
    sqlite3* h = DbAccess::handle(db);
    Stmt s;
    if (DbResult r = detail::prepare(h, QStringLiteral("DELETE FROM people WHERE rowid = ?1"), s, false); !r)
        return r;
    sqlite3_bind_int64(s.get(), 1, record);
    if (sqlite3_step(s.get()) != SQLITE_DONE)
        return detail::failure(h, QStringLiteral("cannot delete the record"));
    return {};
}

DbResult checkMergeArguments(PartsDatabase& source, PartsDatabase& target, int category)
{
    if (!source.isOpen() || !target.isOpen())
        return DbResult::failure(QStringLiteral("a database is not open"));
    if (target.isReadOnly())
        return DbResult::failure(QStringLiteral("the merge target is open read-only"));
    if (!categoryInfo(category))
        return DbResult::failure(QStringLiteral("%1 is no category").arg(category));
    if (source.recordSource() != RecordSource::ListOrder)
        return DbResult::failure(QStringLiteral("the add-on file must be read in ListOrder"));
    return {};
}

// The categories a merge or deletion of `category` covers.
QList<int> pairOf(int category)
{
    QList<int> categories{category};
    if (const int companion = CompanionCategory(category))
        categories << companion;
    return categories;
}

// Runs a merge body in one transaction on the target, with the counts rewritten at the
// end; everything is undone when the body fails.
template <typename Body>
MergeResult runMerge(PartsDatabase& target, int category, Body body)
{
    MergeResult result;
    const QList<int> categories = pairOf(category);
    QList<Bookmark> holders;
    {
        Transaction tx(target);
        DbResult r = tx.started();
        for (int c : categories) {
            if (!r)
                break;
            Bookmark holder = 0;
            r = countHolder(target, c, holder);
            holders << holder;
        }
        int added[2] = {0, 0};
        if (r)
            r = body(categories, added);
        for (int i = 0; i < categories.size() && r; ++i)
            r = rewriteCount(target, categories[i], holders[i]);
        if (r)
            r = tx.commit();
        if (!r) {
            result.error = r.error();
            return result;  // the guard rolls back and requeries
        }
        result.added = added[0];
        result.companionAdded = added[1];
    }
    // As after the copy's own requery: new records in their places, the count holder current.
    if (DbResult r = target.requery(); r)
        (void)target.findFirst(categoryCriterion(category));
    return result;
}

}  // namespace

MergeResult CopyCategoryParts(PartsDatabase& source, PartsDatabase& target, int category,
                              const ProcessEvents& processEvents)
{
    if (DbResult r = checkMergeArguments(source, target, category); !r)
        return MergeResult{0, 0, r.error()};
    const int rows = RowsPerPart(category);
    return runMerge(target, category, [&](const QList<int>& categories, int* added) -> DbResult {
        if (categories.size() == 2) {
            // A pair is only whole with both halves: the file must hold the same parts in both.
            QList<int> first, second;
            if (DbResult r = sourcePartNumbers(source, categories[0], first); !r)
                return r;
            if (DbResult r = sourcePartNumbers(source, categories[1], second); !r)
                return r;
            if (first != second)
                return DbResult::failure(
                    QStringLiteral("the add-on file does not hold the same parts in categories %1 and %2")
                        .arg(categories[0])
                        .arg(categories[1]));
        }
        for (int i = 0; i < categories.size(); ++i) {
            const int c = categories[i];
            source.moveFirst();
            if (DbResult r = source.findFirst(categoryCriterion(c)); !r)
                return r;
            if (source.noMatch())
                continue;
            // The file's own count is not trusted: every part of the category is visited.
            for (;;) {
                if (!source.hasCurrent())
                    break;
                if (!source.recordError().isEmpty())
                    return DbResult::failure(QStringLiteral("a record of the add-on file cannot be read: ")
                                             + source.recordError());
                if (source.value(int(cPictureID)) != QVariant(qlonglong(c)))
                    break;
                if (processEvents)
                    processEvents();
                bool copied = false;
                if (DbResult r = copyPartFromCursor(source, target, c, rows, copied); !r)
                    return r;
                added[i] += copied ? 1 : 0;
            }
        }
        return {};
    });
}

MergeResult CopySelectedParts(PartsDatabase& source, PartsDatabase& target, int category,
                              const QList<int>& fileNos, const ProcessEvents& processEvents)
{
    if (DbResult r = checkMergeArguments(source, target, category); !r)
        return MergeResult{0, 0, r.error()};
    if (fileNos.size() > kMaxSelection)
        return MergeResult{0, 0, QStringLiteral("at most %1 parts can be chosen").arg(kMaxSelection)};
    const int rows = RowsPerPart(category);
    return runMerge(target, category, [&](const QList<int>& categories, int* added) -> DbResult {
        QSet<int> done[2];
        for (int fileNo : fileNos) {
            if (fileNo < std::numeric_limits<qint16>::min() || fileNo > std::numeric_limits<qint16>::max())
                return DbResult::failure(QStringLiteral("%1 is no part number").arg(fileNo));
            if (categories.size() == 2) {
                // Both halves of a chosen pair must be in the file.
                bool inFile[2];
                for (int i = 0; i < 2; ++i) {
                    if (DbResult r = source.findFirst(partCriterion(categories[i], fileNo)); !r)
                        return r;
                    inFile[i] = !source.noMatch();
                }
                if (inFile[0] != inFile[1])
                    return DbResult::failure(QStringLiteral("the add-on file holds only one half of %1")
                                                 .arg(partName(category, fileNo)));
            }
        }
        for (int i = 0; i < categories.size(); ++i) {
            const int c = categories[i];
            for (int fileNo : fileNos) {
                if (processEvents)
                    processEvents();
                if (done[i].contains(fileNo))
                    continue;
                done[i].insert(fileNo);
                if (DbResult r = source.findFirst(partCriterion(c, fileNo)); !r)
                    return r;
                if (source.noMatch())
                    continue;  // not in the file: nothing to add
                bool copied = false;
                if (DbResult r = copyPartFromCursor(source, target, c, rows, copied); !r)
                    return r;
                added[i] += copied ? 1 : 0;
            }
        }
        return {};
    });
}

QString deleteErrorText() { return QStringLiteral("削除エラー"); }

DeleteResult DeletePart(PartsDatabase& db, int category, int fileNo, DeleteErrorSink& sink)
{
    DeleteResult result;
    auto fail = [&](const QString& error) {
        result.partsDeleted = 0;
        result.error = error;
        sink.deleteError(deleteErrorText());
        return result;
    };
    if (!db.isOpen() || db.isReadOnly())
        return fail(QStringLiteral("the parts database is not open for update"));
    // Records with PictureID 0 are no parts and are never deleted as such.
    if (!categoryInfo(category))
        return fail(QStringLiteral("%1 is no category").arg(category));

    Transaction tx(db);
    if (!tx.started())
        return fail(tx.started().error());
    bool first = true;
    for (int c : pairOf(category)) {
        Bookmark holder = 0;
        if (DbResult r = countHolder(db, c, holder); !r)
            return fail(r.error());
        QList<Bookmark> records;
        if (DbResult r = recordsOfPart(db, c, fileNo, records); !r)
            return fail(r.error());
        if (records.isEmpty()) {
            if (first)
                return fail(QStringLiteral("%1 is not in the database").arg(partName(c, fileNo)));
            // The companion lacks the part already: the pair is whole again without it.
            result.error = QStringLiteral("%1 is not in the database").arg(partName(c, fileNo));
            sink.deleteError(deleteErrorText());
            break;
        }
        // Every record of the part goes, and nothing beyond it.
        for (Bookmark record : records) {
            if (DbResult r = deleteRecordById(db, record); !r)
                return fail(r.error());
        }
        if (DbResult r = rewriteCount(db, c, holder); !r)
            return fail(r.error());
        ++result.partsDeleted;
        first = false;
    }
    if (DbResult r = tx.commit(); !r)
        return fail(r.error());
    return result;
}

int countParts(PartsDatabase& db, int category)
{
    if (!db.isOpen())
        return 0;
    int count = 0;
    return partsIn(db, category, count) ? count : 0;
}

int readCategoryCount(PartsDatabase& db, int category)
{
    db.moveFirst();
    if (!db.findFirst(categoryCriterion(category)) || db.noMatch())
        return 0;
    const QVariant v = db.value(u"FileCnt");
    if (isInt16(v) && v.toInt() >= 0)
        return v.toInt();
    return countParts(db, category);
}

int addOnCategory(PartsDatabase& db)
{
    if (!db.moveFirst())
        return 0;
    for (int i = 0; i < 6 && db.hasCurrent(); ++i) {
        const QVariant id = db.value(int(cPictureID));
        if (!(id.typeId() == QMetaType::LongLong && id.toLongLong() == kNoPart))
            return isInt16(id) && categoryInfo(id.toInt()) ? id.toInt() : 0;
        db.move(1);
    }
    return 0;
}

int readBlankTile(PartsDatabase& db, imaging::Raster& out)
{
    out = imaging::Raster();
    if (!db.moveFirst())
        return 0;
    return db.image(u"photo_main", out);
}

}  // namespace catalog
