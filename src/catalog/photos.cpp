#include "catalog/photos.h"

#include "catalog/categories.h"
#include "catalog/sqliteutil.h"

#include <limits>

namespace catalog {

using detail::DbAccess;
using detail::Stmt;

namespace {

DbResult checkPhotoDatabase(PartsDatabase& photos)
{
    if (!photos.isOpen())
        return DbResult::failure(QStringLiteral("no database is open"));
    if (photos.recordSource() != RecordSource::PhotoOrder)
        return DbResult::failure(QStringLiteral("the photo database must be open in photo order"));
    return {};
}

DbResult scalar(sqlite3* db, const char* sql, QVariant& out)
{
    Stmt s;
    if (DbResult r = detail::prepare(db, QString::fromLatin1(sql), s, false); !r)
        return r;
    const int rc = sqlite3_step(s.get());
    out = rc == SQLITE_ROW ? detail::columnValue(s.get(), 0) : QVariant();
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        return detail::failure(db, QStringLiteral("query failed"));
    return {};
}

}  // namespace

DbResult nextPhotoNumber(PartsDatabase& photos, int& number)
{
    number = 0;
    if (DbResult r = checkPhotoDatabase(photos); !r)
        return r;
    QVariant last;
    if (DbResult r = scalar(DbAccess::handle(photos),
                            "SELECT MAX(FileNo) FROM people WHERE PictureID = 2 AND typeof(FileNo) = 'integer'",
                            last);
        !r)
        return r;
    const qlonglong next = last.isNull() ? 1 : last.toLongLong() + 1;
    if (next > std::numeric_limits<qint16>::max())
        return DbResult::failure(QStringLiteral("no photo number is left"));
    number = int(std::max<qlonglong>(next, 1));
    return {};
}

DbResult rewritePhotoCount(PartsDatabase& photos)
{
    if (DbResult r = checkPhotoDatabase(photos); !r)
        return r;
    sqlite3* db = DbAccess::handle(photos);
    QVariant first, count;
    if (DbResult r = scalar(db,
                            "SELECT rowid FROM people WHERE PictureID = 2 ORDER BY FileNo, who_main, rowid LIMIT 1",
                            first);
        !r)
        return r;
    if (first.isNull())
        return {};
    if (DbResult r = scalar(db, "SELECT COUNT(*) FROM people WHERE PictureID = 2", count); !r)
        return r;
    if (count.toLongLong() > std::numeric_limits<qint16>::max())
        return DbResult::failure(QStringLiteral("too many photos to count"));
    Stmt s;
    if (DbResult r = detail::prepare(db, QStringLiteral("UPDATE people SET FileCnt = ?1 WHERE rowid = ?2"), s, false);
        !r)
        return r;
    sqlite3_bind_int64(s.get(), 1, count.toLongLong());
    sqlite3_bind_int64(s.get(), 2, first.toLongLong());
    if (sqlite3_step(s.get()) != SQLITE_DONE)
        return detail::failure(db, QStringLiteral("cannot store the photo count"));
    return {};
}

DbResult addPhoto(PartsDatabase& photos, const PhotoEntry& entry, int* fileNo)
{
    if (DbResult r = checkPhotoDatabase(photos); !r)
        return r;
    Bookmark added = 0;
    int number = entry.fileNo;
    {
        Transaction tx(photos);
        if (!tx.started())
            return tx.started();
        if (number == 0) {
            if (DbResult r = nextPhotoNumber(photos, number); !r)
                return r;
        }
        DbResult r = photos.addNew();
        if (r)
            r = photos.setValue(u"PictureID", kPhotoCategory);
        if (r)
            r = photos.setValue(u"FileNo", number);
        if (r)
            r = photos.setValue(u"X", 0);
        if (r)
            r = photos.setValue(u"Y", 0);
        if (r)
            r = photos.setValue(u"who_main", entry.whoMain);
        if (r)
            r = photos.setValue(u"who_mask", entry.whoMask);
        if (r)
            r = photos.setImage(u"photo_main", entry.main, entry.mainBits);
        if (r)
            r = photos.setImage(u"photo_mask", entry.mask, entry.maskBits);
        if (r)
            r = photos.setValue(u"Width", entry.main.width());
        if (r)
            r = photos.setValue(u"Height", entry.main.height());
        if (r)
            r = photos.update();
        if (!r) {
            photos.cancelUpdate();
            return r;
        }
        added = photos.lastModified();
        if (DbResult c = rewritePhotoCount(photos); !c)
            return c;
        if (DbResult c = tx.commit(); !c)
            return c;
    }
    if (fileNo)
        *fileNo = number;
    if (DbResult r = photos.requery(); !r)
        return r;
    return photos.setBookmark(added);
}

DbResult deletePhoto(PartsDatabase& photos)
{
    if (DbResult r = checkPhotoDatabase(photos); !r)
        return r;
    if (!photos.hasCurrent())
        return DbResult::failure(QStringLiteral("no current record"));
    {
        Transaction tx(photos);
        if (!tx.started())
            return tx.started();
        if (DbResult r = photos.deleteRecord(); !r)
            return r;
        if (DbResult r = rewritePhotoCount(photos); !r)
            return r;
        if (DbResult r = tx.commit(); !r)
            return r;
    }
    return photos.requery();
}

}  // namespace catalog
