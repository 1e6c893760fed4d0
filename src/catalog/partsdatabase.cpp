#include "catalog/partsdatabase.h"

#include "imaging/engine/durablefile.h"
#include "catalog/schema.h"
#include "catalog/sqliteutil.h"
#include "imaging/engine/imagefield.h"
#include "imaging/engine/raster.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <array>
#include <bitset>
#include <limits>
#include <vector>

namespace catalog {

using detail::Stmt;
using detail::StmtUse;

namespace {

constexpr int kFieldCount = int(std::size(kPeopleFields));

enum class FieldKind { Int16, Text, Bytes, Any };

FieldKind fieldKind(int column)
{
    switch (column) {
    case 2:
    case 3:
        return FieldKind::Text;
    case 4:
    case 5:
        return FieldKind::Bytes;
    case 6:
    case 11:
        return FieldKind::Any;
    default:
        return FieldKind::Int16;
    }
}

// PictureID, FileNo and who_main decide a record's place in every order.
bool isSortKey(int column) { return column <= 2; }

QString columnList()
{
    QStringList names;
    for (const char* f : kPeopleFields)
        names << QLatin1String(f);
    return names.join(QStringLiteral(", "));
}

QString orderBy(RecordSource source)
{
    return source == RecordSource::ListOrder ? QStringLiteral(" ORDER BY PictureID, FileNo, who_main, rowid")
                                             : QStringLiteral(" ORDER BY FileNo, who_main, rowid");
}

QString criterionSql(Criterion::Form form)
{
    switch (form) {
    case Criterion::Form::Category:
        return QStringLiteral("PictureID = ?1");
    case Criterion::Form::Part:
        return QStringLiteral("PictureID = ?1 AND FileNo = ?2");
    case Criterion::Form::FileNoOnly:
        return QStringLiteral("FileNo = ?2");
    case Criterion::Form::Range:
        return QStringLiteral("PictureID = ?1 AND FileNo >= ?3 AND FileNo <= ?4");
    }
    return {};
}

imaging::ImageFieldLimits imageLimits()
{
    imaging::ImageFieldLimits limits;
    limits.maxWidth = kMaxImageSide;
    limits.maxHeight = kMaxImageSide;
    limits.maxBytes = kMaxFieldBytes;
    return limits;
}

// Checks and normalises a value for a field; false when it does not fit.
bool convertForField(int column, const QVariant& in, QVariant& out)
{
    if (in.isNull() || !in.isValid()) {
        out = QVariant();
        return true;
    }
    switch (fieldKind(column)) {
    case FieldKind::Int16: {
        bool ok = false;
        qlonglong v = 0;
        const int type = in.typeId();
        if (type == QMetaType::Double || type == QMetaType::Float) {
            const double x = in.toDouble();
            ok = x == x && x > -1e9 && x < 1e9;
            v = ok ? qRound64(x) : 0;
        } else if (type == QMetaType::QString) {
            v = in.toString().trimmed().toLongLong(&ok);
        } else if (type != QMetaType::QByteArray && in.canConvert<qlonglong>()) {
            v = in.toLongLong(&ok);
        }
        if (!ok || v < std::numeric_limits<qint16>::min() || v > std::numeric_limits<qint16>::max())
            return false;
        out = QVariant(v);
        return true;
    }
    case FieldKind::Text:
        if (in.typeId() == QMetaType::QByteArray || !in.canConvert<QString>())
            return false;
        out = QVariant(in.toString());
        return true;
    case FieldKind::Bytes:
        if (in.typeId() != QMetaType::QByteArray)
            return false;
        out = in;
        return true;
    case FieldKind::Any:
        if (in.typeId() == QMetaType::QByteArray || in.typeId() == QMetaType::QString
            || in.canConvert<qlonglong>() || in.canConvert<double>()) {
            out = in;
            return true;
        }
        return false;
    }
    return false;
}

}  // namespace

struct PartsDatabase::Impl {
    sqlite3* db = nullptr;
    QString path;
    RecordSource source = RecordSource::ListOrder;
    OpenMode mode = OpenMode::Update;

    Stmt keySetStmt;
    Stmt loadRowStmt;
    Stmt insertStmt;
    Stmt deleteStmt;
    std::array<Stmt, 4> findStmts;

    // The key set: row ids in position order. Positions [0, sortedCount) are in the
    // source's order; later ones were added since the last requery.
    std::vector<qint64> keys;
    QHash<qint64, int> positionOf;
    std::vector<int> deleted;  // sorted positions of deleted records
    int sortedCount = 0;
    // An edit moved a record within the order: finds must then look at every match.
    bool orderDirty = false;

    // Pixels decoded so far beyond the widest canvas; see image().
    qint64 oversizedPixels = 0;

    // The cursor: a position, or one of the two ends.
    enum class Edge { None, BeforeFirst, AfterLast };
    int cur = -1;
    Edge edge = Edge::BeforeFirst;
    bool curDeleted = false;
    std::array<QVariant, kFieldCount> row;
    QString rowError;

    int editMode = kEditNone;
    std::array<QVariant, kFieldCount> buffer;
    std::bitset<kFieldCount> dirty;

    bool noMatch = false;
    Bookmark lastModified = 0;
    bool inTransaction = false;
    Bookmark transactionMark = 0;

    ~Impl() { closeDb(); }

    void closeDb()
    {
        keySetStmt.reset();
        loadRowStmt.reset();
        insertStmt.reset();
        deleteStmt.reset();
        for (Stmt& s : findStmts)
            s.reset();
        if (db)
            sqlite3_close(db);
        db = nullptr;
    }

    bool isDeleted(int pos) const { return std::binary_search(deleted.begin(), deleted.end(), pos); }
    void markDeleted(int pos)
    {
        auto it = std::lower_bound(deleted.begin(), deleted.end(), pos);
        if (it == deleted.end() || *it != pos)
            deleted.insert(it, pos);
    }
    int liveCount() const { return int(keys.size() - deleted.size()); }
    // Live records before `pos`.
    int ordinalOf(int pos) const
    {
        return pos - int(std::lower_bound(deleted.begin(), deleted.end(), pos) - deleted.begin());
    }
    int positionOfOrdinal(int ordinal) const
    {
        int p = ordinal;
        for (int d : deleted) {
            if (d > p)
                break;
            ++p;
        }
        return p;
    }
    bool onLiveRecord() const { return edge == Edge::None && !curDeleted && cur >= 0; }

    void clearRow()
    {
        for (QVariant& v : row)
            v = QVariant();
        rowError.clear();
    }
    void setEdge(Edge e)
    {
        edge = e;
        cur = -1;
        curDeleted = false;
        clearRow();
    }
    void dropEdit()
    {
        editMode = kEditNone;
        dirty.reset();
        for (QVariant& v : buffer)
            v = QVariant();
    }

    // Makes `pos` current and reads its record. False when the record no longer exists
    // (it is then marked deleted); a record that exists but cannot be read is current
    // with rowError set.
    bool land(int pos)
    {
        StmtUse use(loadRowStmt.get());
        sqlite3_bind_int64(use.get(), 1, keys[size_t(pos)]);
        const int rc = sqlite3_step(use.get());
        if (rc == SQLITE_DONE) {
            markDeleted(pos);
            return false;
        }
        cur = pos;
        edge = Edge::None;
        curDeleted = false;
        clearRow();
        if (rc == SQLITE_ROW) {
            for (int i = 0; i < kFieldCount; ++i)
                row[size_t(i)] = detail::columnValue(use.get(), i);
        } else {
            rowError = detail::errorText(db);
        }
        return true;
    }

    // Goes to the live record with this ordinal; records that vanished meanwhile are
    // skipped in direction `dir`.
    bool goOrdinal(int ordinal, int dir)
    {
        dropEdit();
        for (;;) {
            if (ordinal < 0) {
                setEdge(Edge::BeforeFirst);
                return false;
            }
            if (ordinal >= liveCount()) {
                setEdge(Edge::AfterLast);
                return false;
            }
            if (land(positionOfOrdinal(ordinal)))
                return true;
            if (dir < 0)
                --ordinal;
        }
    }

    DbResult buildKeySet()
    {
        dropEdit();
        keys.clear();
        positionOf.clear();
        deleted.clear();
        sortedCount = 0;
        orderDirty = false;
        setEdge(Edge::BeforeFirst);
        StmtUse use(keySetStmt.get());
        int rc;
        while ((rc = sqlite3_step(use.get())) == SQLITE_ROW)
            keys.push_back(sqlite3_column_int64(use.get(), 0));
        if (rc != SQLITE_DONE) {
            keys.clear();
            return detail::failure(db, QStringLiteral("cannot read the records"));
        }
        positionOf.reserve(qsizetype(keys.size()));
        for (size_t i = 0; i < keys.size(); ++i)
            positionOf.insert(keys[i], int(i));
        sortedCount = int(keys.size());
        return {};
    }

    DbResult prepareStatements()
    {
        const QString order = orderBy(source);
        const QString where = source == RecordSource::PhotoOrder ? QStringLiteral(" WHERE PictureID = 2")
                                                                 : QString();
        if (DbResult r = detail::prepare(db, QStringLiteral("SELECT rowid FROM people") + where + order,
                                         keySetStmt);
            !r)
            return r;
        if (DbResult r = detail::prepare(
                db, QStringLiteral("SELECT %1 FROM people WHERE rowid = ?1").arg(columnList()), loadRowStmt);
            !r)
            return r;
        for (int f = 0; f < 4; ++f) {
            const QString sql = QStringLiteral("SELECT rowid FROM people WHERE ")
                + criterionSql(Criterion::Form(f)) + order;
            if (DbResult r = detail::prepare(db, sql, findStmts[size_t(f)]); !r)
                return r;
        }
        if (mode == OpenMode::Update) {
            QStringList marks;
            for (int i = 1; i <= kFieldCount; ++i)
                marks << QStringLiteral("?%1").arg(i);
            if (DbResult r = detail::prepare(db,
                                             QStringLiteral("INSERT INTO people (%1) VALUES (%2)")
                                                 .arg(columnList(), marks.join(QStringLiteral(", "))),
                                             insertStmt);
                !r)
                return r;
            if (DbResult r = detail::prepare(db, QStringLiteral("DELETE FROM people WHERE rowid = ?1"),
                                             deleteStmt);
                !r)
                return r;
        }
        return {};
    }

    DbResult writable() const
    {
        if (!db)
            return DbResult::failure(QStringLiteral("no database is open"));
        if (mode != OpenMode::Update)
            return DbResult::failure(QStringLiteral("the file is open read-only"));
        return {};
    }
};

PartsDatabase::PartsDatabase() : d(std::make_unique<Impl>()) {}
PartsDatabase::~PartsDatabase() = default;

DbResult PartsDatabase::open(const QString& path, const QString& recordSource, OpenMode mode)
{
    close();
    const std::optional<RecordSource> source = parseRecordSource(recordSource);
    if (!source)
        return DbResult::failure(QStringLiteral("record source refused: \"%1\"").arg(recordSource));
    const QString file = resolveFileNoCase(path);
    if (!QFileInfo(file).isFile())
        return DbResult::failure(QStringLiteral("no such file: %1").arg(path));

    const bool untrusted = mode == OpenMode::ReadOnly;
    sqlite3* db = nullptr;
    if (DbResult r = detail::openConnection(file, untrusted, untrusted, db); !r)
        return r;
    d->db = db;
    d->path = file;
    d->source = *source;
    d->mode = mode;
    DbResult r = detail::checkPartsFile(db, untrusted);
    if (r)
        r = d->prepareStatements();
    if (r)
        r = d->buildKeySet();
    if (!r) {
        close();
        return DbResult::failure(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(file), r.error()));
    }
    d->goOrdinal(0, 1);
    return {};
}

void PartsDatabase::close()
{
    if (d->inTransaction && d->db)
        (void)detail::exec(d->db, "ROLLBACK");
    d = std::make_unique<Impl>();
}

bool PartsDatabase::isOpen() const { return d->db != nullptr; }
bool PartsDatabase::isReadOnly() const { return d->mode != OpenMode::Update; }
QString PartsDatabase::path() const { return d->path; }
RecordSource PartsDatabase::recordSource() const { return d->source; }

DbResult PartsDatabase::refresh() { return requery(); }

DbResult PartsDatabase::requery()
{
    if (!d->db)
        return DbResult::failure(QStringLiteral("no database is open"));
    DbResult r = d->buildKeySet();
    d->noMatch = false;
    if (r)
        d->goOrdinal(0, 1);
    return r;
}

bool PartsDatabase::moveFirst() { return d->db && d->goOrdinal(0, 1); }

bool PartsDatabase::moveLast() { return d->db && d->goOrdinal(d->liveCount() - 1, -1); }

bool PartsDatabase::move(int n)
{
    if (!d->db)
        return false;
    const int dir = n >= 0 ? 1 : -1;
    qint64 target;
    if (d->onLiveRecord()) {
        target = qint64(d->ordinalOf(d->cur)) + n;
    } else if (d->curDeleted) {
        // From a deleted record, one forward is the record that followed it.
        if (n == 0) {
            d->dropEdit();
            return false;
        }
        const int base = d->ordinalOf(d->cur);
        target = n > 0 ? qint64(base) + n - 1 : qint64(base) + n;
    } else if (d->edge == Impl::Edge::BeforeFirst) {
        if (n <= 0) {
            d->dropEdit();
            return false;
        }
        target = qint64(n) - 1;
    } else {
        if (n >= 0) {
            d->dropEdit();
            return false;
        }
        target = qint64(d->liveCount()) + n;
    }
    target = std::clamp<qint64>(target, -1, d->liveCount());
    return d->goOrdinal(int(target), dir);
}

DbResult PartsDatabase::findFirst(const QString& criterion)
{
    d->noMatch = true;
    if (!d->db)
        return DbResult::failure(QStringLiteral("no database is open"));
    const std::optional<Criterion> c = parseCriterion(criterion);
    if (!c)
        return DbResult::failure(QStringLiteral("criterion refused: \"%1\"").arg(criterion));
    d->dropEdit();
    for (;;) {
        int best = -1;
        {
            StmtUse use(d->findStmts[size_t(c->form)].get());
            sqlite3_bind_int(use.get(), 1, c->pictureId);
            sqlite3_bind_int(use.get(), 2, c->fileNo);
            sqlite3_bind_int(use.get(), 3, c->low);
            sqlite3_bind_int(use.get(), 4, c->high);
            int rc;
            while ((rc = sqlite3_step(use.get())) == SQLITE_ROW) {
                const auto it = d->positionOf.constFind(sqlite3_column_int64(use.get(), 0));
                if (it == d->positionOf.constEnd() || d->isDeleted(*it))
                    continue;  // not in this key set
                const int pos = *it;
                if (best < 0 || pos < best)
                    best = pos;
                // The ordered part of the key set is in query order: its first hit is the
                // earliest record, before anything added since.
                if (!d->orderDirty && pos < d->sortedCount)
                    break;
            }
            if (rc != SQLITE_ROW && rc != SQLITE_DONE)
                return detail::failure(d->db, QStringLiteral("find first failed"));
        }
        if (best < 0)
            return {};
        if (d->land(best)) {
            d->noMatch = false;
            return {};
        }
        // The record vanished under another connection: look again.
    }
}

bool PartsDatabase::noMatch() const { return d->noMatch; }
bool PartsDatabase::hasCurrent() const { return d->onLiveRecord(); }
bool PartsDatabase::isBeforeFirst() const { return d->edge == Impl::Edge::BeforeFirst; }
bool PartsDatabase::isAfterLast() const { return d->edge == Impl::Edge::AfterLast; }

int PartsDatabase::absolutePosition() const { return d->onLiveRecord() ? d->ordinalOf(d->cur) : -1; }

int PartsDatabase::recordCount() const { return d->db ? d->liveCount() : 0; }

Bookmark PartsDatabase::bookmark() const { return d->onLiveRecord() ? d->keys[size_t(d->cur)] : 0; }

DbResult PartsDatabase::setBookmark(Bookmark mark)
{
    if (!d->db)
        return DbResult::failure(QStringLiteral("no database is open"));
    const auto it = d->positionOf.constFind(mark);
    if (it == d->positionOf.constEnd())
        return DbResult::failure(QStringLiteral("not a bookmark of this record set"));
    d->dropEdit();
    if (d->isDeleted(*it) || !d->land(*it))
        return DbResult::failure(QStringLiteral("the record was deleted"));
    return {};
}

Bookmark PartsDatabase::lastModified() const { return d->lastModified; }

QVariant PartsDatabase::value(int column) const
{
    if (column < 0 || column >= kFieldCount)
        return QVariant();
    if (d->editMode != kEditNone)
        return d->buffer[size_t(column)];
    return d->onLiveRecord() ? d->row[size_t(column)] : QVariant();
}

QVariant PartsDatabase::value(QAnyStringView field) const { return value(fieldIndex(field)); }

QString PartsDatabase::recordError() const { return d->onLiveRecord() ? d->rowError : QString(); }

DbResult PartsDatabase::setValue(QAnyStringView field, const QVariant& value)
{
    if (d->editMode == kEditNone)
        return DbResult::failure(QStringLiteral("no edit or add is pending"));
    const int column = fieldIndex(field);
    if (column < 0)
        return DbResult::failure(QStringLiteral("no field \"%1\"").arg(field.toString()));
    QVariant converted;
    if (!convertForField(column, value, converted))
        return DbResult::failure(
            QStringLiteral("value \"%1\" does not fit field \"%2\"").arg(value.toString(), field.toString()));
    d->buffer[size_t(column)] = converted;
    d->dirty.set(size_t(column));
    return {};
}

int PartsDatabase::image(QAnyStringView field, imaging::Raster& out) const
{
    const int column = fieldIndex(field);
    if (column < 0 || fieldKind(column) != FieldKind::Bytes)
        return imaging::kErrBadParam;
    const QVariant v = value(column);
    if (v.isNull()) {
        out = imaging::Raster();
        return 0;
    }
    if (v.typeId() != QMetaType::QByteArray)
        return imaging::kErrBadFormat;

    // A few kilobytes of PNG can claim a huge picture. Every picture of a part fits the
    // widest canvas or the box its record gives; only that much is decoded, and what goes
    // beyond the canvas counts against a budget for the whole open, so a hostile or damaged
    // file is refused before it costs seconds or more than kOversizedBudget pixels.
    imaging::ImageFieldLimits limits = imageLimits();
    auto claimed = [this](const char* origin, const char* size, int canvas) {
        const int o = value(fieldIndex(QLatin1String(origin))).toInt();
        const int n = value(fieldIndex(QLatin1String(size))).toInt();
        return std::clamp(std::max(canvas, o + n), canvas, kMaxImageSide);
    };
    limits.maxWidth = claimed("X", "Width", kCanvasWidth);
    limits.maxHeight = claimed("Y", "Height", kCanvasHeight);
    const qint64 canvasPixels = qint64(kCanvasWidth) * kCanvasHeight;
    const qint64 allowed = qint64(limits.maxWidth) * limits.maxHeight;
    if (allowed > canvasPixels) {
        const qint64 left = kOversizedBudget - d->oversizedPixels;
        if (left <= 0)
            return imaging::kErrBadSize;
        limits.maxPixels = canvasPixels + left;
    } else {
        limits.maxPixels = canvasPixels;
    }
    imaging::Raster picture;
    const int code = imaging::decodeImageField(v.toByteArray(), picture, limits);
    if (code != 0)
        return code;
    d->oversizedPixels += std::max<qint64>(0, qint64(picture.width()) * picture.height() - canvasPixels);
    out = std::move(picture);
    return 0;
}

DbResult PartsDatabase::setImage(QAnyStringView field, const imaging::Raster& picture, int bits)
{
    const int column = fieldIndex(field);
    if (column < 0 || fieldKind(column) != FieldKind::Bytes)
        return DbResult::failure(QStringLiteral("\"%1\" is no image field").arg(field.toString()));
    if (picture.isNull())
        return setValue(field, QVariant());
    try {
        return setValue(field, imaging::encodeImageField(picture, bits));
    } catch (const imaging::ImagingError& e) {
        return DbResult::failure(
            QStringLiteral("the picture cannot be stored at %1 bits (error %2)").arg(bits).arg(e.code()));
    }
}

DbResult PartsDatabase::addNew()
{
    if (DbResult r = d->writable(); !r)
        return r;
    d->dropEdit();
    d->editMode = kEditAdd;
    return {};
}

DbResult PartsDatabase::edit()
{
    if (DbResult r = d->writable(); !r)
        return r;
    if (!d->onLiveRecord())
        return DbResult::failure(QStringLiteral("no current record"));
    if (!d->rowError.isEmpty())
        return DbResult::failure(d->rowError);
    d->dropEdit();
    d->buffer = d->row;
    d->editMode = kEditInProgress;
    return {};
}

DbResult PartsDatabase::update()
{
    if (DbResult r = d->writable(); !r)
        return r;
    if (d->editMode == kEditAdd) {
        {
            StmtUse use(d->insertStmt.get());
            for (int i = 0; i < kFieldCount; ++i)
                detail::bindValue(use.get(), i + 1, d->buffer[size_t(i)]);
            if (sqlite3_step(use.get()) != SQLITE_DONE)
                return detail::failure(d->db, QStringLiteral("cannot add the record"));
        }
        const qint64 rowid = sqlite3_last_insert_rowid(d->db);
        const int pos = int(d->keys.size());
        d->keys.push_back(rowid);
        // A row id freed by a deletion may come back; the old position stays deleted.
        d->positionOf.insert(rowid, pos);
        d->lastModified = rowid;
        d->dropEdit();
        return {};
    }
    if (d->editMode == kEditInProgress) {
        if (!d->onLiveRecord()) {
            d->dropEdit();
            return DbResult::failure(QStringLiteral("no current record"));
        }
        const qint64 rowid = d->keys[size_t(d->cur)];
        if (d->dirty.any()) {
            QStringList sets;
            for (int i = 0; i < kFieldCount; ++i) {
                if (d->dirty.test(size_t(i)))
                    sets << QStringLiteral("%1 = ?%2").arg(QLatin1String(kPeopleFields[i])).arg(i + 1);
            }
            Stmt stmt;
            if (DbResult r = detail::prepare(d->db,
                                             QStringLiteral("UPDATE people SET %1 WHERE rowid = ?%2")
                                                 .arg(sets.join(QStringLiteral(", ")))
                                                 .arg(kFieldCount + 1),
                                             stmt, false);
                !r)
                return r;
            for (int i = 0; i < kFieldCount; ++i) {
                if (d->dirty.test(size_t(i)))
                    detail::bindValue(stmt.get(), i + 1, d->buffer[size_t(i)]);
            }
            sqlite3_bind_int64(stmt.get(), kFieldCount + 1, rowid);
            if (sqlite3_step(stmt.get()) != SQLITE_DONE)
                return detail::failure(d->db, QStringLiteral("cannot store the record"));
            if (sqlite3_changes(d->db) == 0) {
                d->dropEdit();
                d->markDeleted(d->cur);
                d->curDeleted = true;
                return DbResult::failure(QStringLiteral("the record was deleted"));
            }
            for (int i = 0; i < kFieldCount; ++i) {
                if (d->dirty.test(size_t(i)) && isSortKey(i))
                    d->orderDirty = true;
            }
        }
        d->lastModified = rowid;
        d->dropEdit();
        d->land(d->cur);
        return {};
    }
    return DbResult::failure(QStringLiteral("no edit or add is pending"));
}

void PartsDatabase::cancelUpdate() { d->dropEdit(); }

int PartsDatabase::editMode() const { return d->editMode; }

DbResult PartsDatabase::deleteRecord()
{
    if (DbResult r = d->writable(); !r)
        return r;
    d->dropEdit();
    if (!d->onLiveRecord())
        return DbResult::failure(QStringLiteral("no current record"));
    {
        StmtUse use(d->deleteStmt.get());
        sqlite3_bind_int64(use.get(), 1, d->keys[size_t(d->cur)]);
        if (sqlite3_step(use.get()) != SQLITE_DONE)
            return detail::failure(d->db, QStringLiteral("cannot delete the record"));
    }
    const bool existed = sqlite3_changes(d->db) > 0;
    d->markDeleted(d->cur);
    d->curDeleted = true;
    d->clearRow();
    if (!existed)
        return DbResult::failure(QStringLiteral("the record was already deleted"));
    return {};
}

DbResult PartsDatabase::beginTransaction()
{
    if (DbResult r = d->writable(); !r)
        return r;
    if (d->inTransaction)
        return DbResult::failure(QStringLiteral("a transaction is already running"));
    if (DbResult r = detail::exec(d->db, "BEGIN IMMEDIATE"); !r)
        return r;
    d->inTransaction = true;
    d->transactionMark = bookmark();
    return {};
}

DbResult PartsDatabase::commitTransaction()
{
    if (!d->inTransaction)
        return DbResult::failure(QStringLiteral("no transaction is running"));
    if (DbResult r = detail::exec(d->db, "COMMIT"); !r) {
        rollbackTransaction();
        return r;
    }
    d->inTransaction = false;
    return {};
}

void PartsDatabase::rollbackTransaction()
{
    if (!d->inTransaction)
        return;
    d->inTransaction = false;
    if (!sqlite3_get_autocommit(d->db))
        (void)detail::exec(d->db, "ROLLBACK");
    // Added and deleted positions no longer hold: rebuild from the file.
    const Bookmark mark = d->transactionMark;
    if (requery() && mark != 0 && !setBookmark(mark))
        moveFirst();
}

bool PartsDatabase::inTransaction() const { return d->inTransaction; }

DbResult PartsDatabase::compact(const QString& source, const QString& destination)
{
    const QString from = resolveFileNoCase(source);
    if (!QFileInfo(from).isFile())
        return DbResult::failure(QStringLiteral("no such file: %1").arg(source));
    if (QFileInfo::exists(destination))
        return DbResult::failure(QStringLiteral("%1 already exists").arg(destination));
    const QString to = QFileInfo(destination).absoluteFilePath();

    {
        // Read-write so that an interrupted write left in a journal is rolled back first.
        sqlite3* db = nullptr;
        if (DbResult r = detail::openConnection(from, false, false, db); !r)
            return r;
        std::unique_ptr<sqlite3, int (*)(sqlite3*)> guard(db, sqlite3_close);
        if (DbResult r = detail::checkPartsFile(db, false); !r)
            return r;
        Stmt vacuum;
        if (DbResult r = detail::prepare(db, QStringLiteral("VACUUM INTO ?1"), vacuum, false); !r)
            return r;
        const QByteArray name = to.toUtf8();
        sqlite3_bind_text(vacuum.get(), 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(vacuum.get()) != SQLITE_DONE) {
            const DbResult r = detail::failure(db, QStringLiteral("compaction failed"));
            vacuum.reset();
            guard.reset();
            QFile::remove(to);
            return r;
        }
    }

    // The copy has to be whole before anyone relies on it.
    DbResult verdict;
    {
        sqlite3* db = nullptr;
        verdict = detail::openConnection(to, true, false, db);
        if (verdict) {
            verdict = detail::checkPartsFile(db, true);
            sqlite3_close(db);
        }
    }
    if (verdict && !imaging::durable::syncFile(to))
        verdict = DbResult::failure(QStringLiteral("cannot flush %1 to disk").arg(to));
    if (!verdict) {
        QFile::remove(to);
        return DbResult::failure(QStringLiteral("the compacted copy is not usable: ") + verdict.error());
    }
    return {};
}

int fieldIndex(QAnyStringView field)
{
    for (int i = 0; i < kFieldCount; ++i) {
        if (QAnyStringView::compare(field, QLatin1String(kPeopleFields[i]), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString findFileNoCase(const QString& folder, const QString& name)
{
    const QDir dir(folder);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    if (entries.contains(name))
        return dir.filePath(name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return {};
}

QString resolveFileNoCase(const QString& path)
{
    if (QFileInfo::exists(path))
        return path;
    const QFileInfo info(path);
    const QString found = findFileNoCase(info.absolutePath(), info.fileName());
    return found.isEmpty() ? path : found;
}

namespace detail {

sqlite3* DbAccess::handle(PartsDatabase& db) { return db.d->db; }

}  // namespace detail

}  // namespace catalog
