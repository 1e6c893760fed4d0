#include "testdb.h"

#include "catalog/categories.h"
#include "catalog/schema.h"
#include "imaging/engine/imagefield.h"
#include "imaging/engine/raster.h"

#include <QFile>
#include <QRandomGenerator>

#include <sqlite3.h>

#include <algorithm>
#include <stdexcept>

namespace testdb {

namespace {

sqlite3* openFile(const QString& path, bool create)
{
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open test database");
    }
    return db;
}

void run(sqlite3* db, const char* sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "?";
        sqlite3_free(message);
        throw std::runtime_error(text);
    }
}

void bind(sqlite3_stmt* s, int i, const QVariant& v)
{
    if (v.isNull()) {
        sqlite3_bind_null(s, i);
    } else if (v.typeId() == QMetaType::QByteArray) {
        const QByteArray b = v.toByteArray();
        sqlite3_bind_blob(s, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    } else if (v.typeId() == QMetaType::QString) {
        const QByteArray t = v.toString().toUtf8();
        sqlite3_bind_text(s, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
    } else if (v.typeId() == QMetaType::Double) {
        sqlite3_bind_double(s, i, v.toDouble());
    } else {
        sqlite3_bind_int64(s, i, v.toLongLong());
    }
}

void insert(sqlite3* db, const QList<Row>& rows)
{
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO people (PictureID, FileNo, who_main, who_mask, photo_main, photo_mask, "
                       "PairFile, X, Y, Width, Height, Enable, OptionID1, FileCnt) "
                       "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
                       -1, &s, nullptr);
    if (!s)
        throw std::runtime_error(sqlite3_errmsg(db));
    run(db, "BEGIN");
    for (const Row& r : rows) {
        const QVariant values[] = {r.pictureId, r.fileNo, r.whoMain, r.whoMask, r.photoMain, r.photoMask,
                                   r.pairFile, r.x, r.y, r.width, r.height, r.enable, r.optionId1,
                                   r.fileCnt};
        for (int i = 0; i < 14; ++i)
            bind(s, i + 1, values[i]);
        if (sqlite3_step(s) != SQLITE_DONE) {
            sqlite3_finalize(s);
            throw std::runtime_error(sqlite3_errmsg(db));
        }
        sqlite3_reset(s);
    }
    run(db, "COMMIT");
    sqlite3_finalize(s);
}

}  // namespace

QByteArray picture(int seed, int side)
{
    imaging::Raster r(side, side, 24, qRgb(seed * 37 % 256, seed * 11 % 256, seed % 256));
    return imaging::encodeImageField(r);
}

QByteArray noisyPicture(int seed, int bytes)
{
    int side = 8;
    while (side * side * 3 < bytes)
        ++side;
    imaging::Raster r(side, side, 24);
    QRandomGenerator gen{quint32(seed)};
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            r.setPixel(x, y, gen.generate() & 0xffffff);
    return imaging::encodeImageField(r);
}

Row row(int pictureId, int fileNo, const QString& whoMain)
{
    Row r;
    r.pictureId = pictureId;
    r.fileNo = fileNo;
    r.whoMain = whoMain;
    return r;
}

Row blankTile()
{
    Row r;
    r.pictureId = 0;
    r.fileNo = 0;
    r.whoMain = QStringLiteral("blank");
    imaging::Raster white(8, 8, 24, qRgb(255, 255, 255));
    r.photoMain = imaging::encodeImageField(white);
    r.photoMask = r.photoMain;
    return r;
}

QList<Row> category(int pictureId, const QList<int>& fileNos, QVariant count)
{
    QList<Row> rows;
    const int perPart = catalog::RowsPerPart(pictureId);
    for (int f : fileNos) {
        for (int k = 0; k < perPart; ++k) {
            Row r;
            r.pictureId = pictureId;
            r.fileNo = f;
            r.whoMain = QStringLiteral("c%1_%2_%3").arg(pictureId).arg(f, 5, 10, QLatin1Char('0')).arg(k);
            r.whoMask = r.whoMain.toString() + QStringLiteral("m");
            r.photoMain = picture(pictureId * 1000 + f * 3 + k);
            r.photoMask = picture(f + k);
            r.x = f % 100;
            r.y = k;
            r.width = 4;
            r.height = 4;
            r.pairFile = QStringLiteral("pair%1").arg(f);
            r.enable = 1;
            r.optionId1 = pictureId == 1 ? f % 2 : 0;
            rows << r;
        }
    }
    if (!rows.isEmpty()) {
        // The count goes on the first record in ListOrder: the smallest number's first row.
        const int first = int(std::min_element(fileNos.begin(), fileNos.end()) - fileNos.begin());
        rows[first * perPart].fileCnt = count == QVariant(-1) ? QVariant(qlonglong(fileNos.size())) : count;
    }
    return rows;
}

void build(const QString& path, const QList<Row>& rows)
{
    QFile::remove(path);
    sqlite3* db = openFile(path, true);
    run(db, catalog::kCreatePeople);
    run(db, catalog::kCreateListIndex);
    run(db, catalog::kCreateMergeIndex);
    insert(db, rows);
    sqlite3_close(db);
}

void append(const QString& path, const QList<Row>& rows)
{
    sqlite3* db = openFile(path, false);
    insert(db, rows);
    sqlite3_close(db);
}

QString exec(const QString& path, const QString& sql)
{
    sqlite3* db = openFile(path, true);
    char* message = nullptr;
    QString error;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK)
        error = QString::fromUtf8(message ? message : "?");
    sqlite3_free(message);
    sqlite3_close(db);
    return error;
}

QList<Seen> records(const QString& path, int pictureId)
{
    sqlite3* db = openFile(path, false);
    sqlite3_stmt* s = nullptr;
    const char* sql = pictureId < 0
        ? "SELECT PictureID, FileNo, who_main, FileCnt FROM people ORDER BY PictureID, FileNo, who_main, rowid"
        : "SELECT PictureID, FileNo, who_main, FileCnt FROM people WHERE PictureID = ?1 "
          "ORDER BY PictureID, FileNo, who_main, rowid";
    sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
    sqlite3_bind_int(s, 1, pictureId);
    QList<Seen> out;
    while (sqlite3_step(s) == SQLITE_ROW) {
        Seen r{sqlite3_column_int(s, 0), sqlite3_column_int(s, 1),
               QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 2))), QVariant()};
        if (sqlite3_column_type(s, 3) != SQLITE_NULL)
            r.fileCnt = qlonglong(sqlite3_column_int64(s, 3));
        out << r;
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    return out;
}

QList<Seen> records(const QString& path) { return records(path, -1); }

int partCount(const QString& path, int pictureId)
{
    QList<int> numbers;
    for (const Seen& r : records(path, pictureId)) {
        if (numbers.isEmpty() || numbers.last() != r.fileNo)
            numbers << r.fileNo;
    }
    return int(numbers.size());
}

QVariant holderCount(const QString& path, int pictureId)
{
    const QList<Seen> rows = records(path, pictureId);
    return rows.isEmpty() ? QVariant() : rows.first().fileCnt;
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace testdb
