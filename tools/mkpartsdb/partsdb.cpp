#include "partsdb.h"

#include "catalog/schema.h"
#include "imaging/engine/imagefield.h"
#include "imaging/engine/raster.h"

#include <QCoreApplication>
#include <QFile>

#include <sqlite3.h>

#include <memory>
#include <stdexcept>

namespace mkparts {

namespace {

struct DbCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct StmtFinalizer {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};

[[noreturn]] void dbFail(sqlite3* db, const QString& path, const char* what)
{
    throw std::runtime_error(QStringLiteral("%1: %2: %3")
                                 .arg(path, QString::fromUtf8(what),
                                      QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory"))
                                 .toStdString());
}

void exec(sqlite3* db, const QString& path, const char* sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        dbFail(db, path, sql);
}

QByteArray maskField(const QImage& mask)
{
    return imaging::encodeImageField(imaging::Raster::fromImage(mask, 1), 1);
}

QByteArray colourField(const QImage& colour)
{
    return imaging::encodeImageField(imaging::Raster::fromImage(colour, 24), 24);
}

struct Record {
    int pictureId = 0;
    int fileNo = 0;
    QString whoMain;
    QString whoMask;
    const Row* row = nullptr;
    int option1 = 0;
    int fileCnt = -1;  // -1: Null
};

void insert(sqlite3_stmt* s, sqlite3* db, const QString& path, const Record& r)
{
    const QByteArray main = colourField(r.row->colour);
    const QByteArray mask = maskField(r.row->mask);
    const QByteArray whoMain = r.whoMain.toUtf8();
    const QByteArray whoMask = r.whoMask.toUtf8();
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
    sqlite3_bind_int(s, 1, r.pictureId);
    sqlite3_bind_int(s, 2, r.fileNo);
    sqlite3_bind_text(s, 3, whoMain.constData(), int(whoMain.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(s, 4, whoMask.constData(), int(whoMask.size()), SQLITE_TRANSIENT);
    sqlite3_bind_blob(s, 5, main.constData(), int(main.size()), SQLITE_TRANSIENT);
    sqlite3_bind_blob(s, 6, mask.constData(), int(mask.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(s, 7, "", 0, SQLITE_STATIC);  // PairFile: read by nothing
    sqlite3_bind_int(s, 8, r.row->box.x);
    sqlite3_bind_int(s, 9, r.row->box.y);
    sqlite3_bind_int(s, 10, r.row->box.width);
    sqlite3_bind_int(s, 11, r.row->box.height);
    sqlite3_bind_int(s, 12, 0);  // Enable: read by nothing
    sqlite3_bind_int(s, 13, r.option1);
    if (r.fileCnt >= 0)
        sqlite3_bind_int(s, 14, r.fileCnt);
    else
        sqlite3_bind_null(s, 14);
    if (sqlite3_step(s) != SQLITE_DONE)
        dbFail(db, path, "insert");
}

}  // namespace

QString mainName(int kind, int fileNo, int row)
{
    return QStringLiteral("p%1_%2_%3.bmp")
        .arg(kind, 2, 10, QLatin1Char('0'))
        .arg(fileNo, 4, 10, QLatin1Char('0'))
        .arg(row);
}

QString maskName(int kind, int fileNo, int row)
{
    return QStringLiteral("m%1_%2_%3.bmp")
        .arg(kind, 2, 10, QLatin1Char('0'))
        .arg(fileNo, 4, 10, QLatin1Char('0'))
        .arg(row);
}

void writePartsFile(const QString& path, const std::vector<Part>& parts, int blankRecords)
{
    // A name of this process's own, so that two builds of one folder cannot share it.
    const QString work = path + QStringLiteral(".part%1").arg(QCoreApplication::applicationPid());
    QFile::remove(work);
    QFile::remove(work + QStringLiteral("-journal"));

    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(work).constData(), &raw,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    std::unique_ptr<sqlite3, DbCloser> db(raw);
    if (rc != SQLITE_OK)
        dbFail(raw, work, "open");

    // Fixed settings, so the same input gives the same bytes.
    exec(db.get(), work, "PRAGMA page_size = 4096");
    exec(db.get(), work, "PRAGMA encoding = 'UTF-8'");
    exec(db.get(), work, "PRAGMA journal_mode = DELETE");
    exec(db.get(), work, "BEGIN");
    exec(db.get(), work, catalog::kCreatePeople);
    exec(db.get(), work, catalog::kCreateListIndex);
    exec(db.get(), work, catalog::kCreateMergeIndex);

    sqlite3_stmt* rawStmt = nullptr;
    const char* sql =
        "INSERT INTO people (PictureID, FileNo, who_main, who_mask, photo_main, photo_mask, "
        "PairFile, X, Y, Width, Height, Enable, OptionID1, FileCnt) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
    if (sqlite3_prepare_v2(db.get(), sql, -1, &rawStmt, nullptr) != SQLITE_OK)
        dbFail(db.get(), work, "prepare");
    std::unique_ptr<sqlite3_stmt, StmtFinalizer> stmt(rawStmt);

    const Row blank = blankTile();
    for (int i = 1; i <= blankRecords; ++i) {
        Record r;
        r.whoMain = QStringLiteral("blank_%1.bmp").arg(i);
        r.whoMask = QStringLiteral("blank_mask_%1.bmp").arg(i);
        r.row = &blank;
        insert(stmt.get(), db.get(), work, r);
    }

    // Parts in database order; the first record of each category carries its count.
    for (size_t i = 0; i < parts.size();) {
        size_t end = i;
        while (end < parts.size() && parts[end].kind == parts[i].kind)
            ++end;
        const int count = int(end - i);
        for (size_t j = i; j < end; ++j) {
            const Part& p = parts[j];
            for (size_t n = 0; n < p.rows.size(); ++n) {
                Record r;
                r.pictureId = p.kind;
                r.fileNo = p.fileNo;
                r.whoMain = mainName(p.kind, p.fileNo, int(n) + 1);
                r.whoMask = maskName(p.kind, p.fileNo, int(n) + 1);
                r.row = &p.rows[n];
                r.option1 = p.option1;
                r.fileCnt = (j == i && n == 0) ? count : -1;
                insert(stmt.get(), db.get(), work, r);
            }
        }
        i = end;
    }
    stmt.reset();
    exec(db.get(), work, "COMMIT");
    exec(db.get(), work, "VACUUM");
    if (sqlite3_close(db.release()) != SQLITE_OK)
        throw std::runtime_error((work + QStringLiteral(": close failed")).toStdString());

    QFile::remove(path);
    if (!QFile::rename(work, path))
        throw std::runtime_error((path + QStringLiteral(": cannot be replaced")).toStdString());
}

}  // namespace mkparts
