#include "pickertestdb.h"

#include "catalog/categories.h"
#include "catalog/schema.h"
#include "imaging/engine/imagefield.h"
#include "imaging/engine/raster.h"

#include <QFile>

#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <stdexcept>

namespace pickertest {

namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr int kThumb = 100;

void run(sqlite3* db, const char* sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "?";
        sqlite3_free(message);
        throw std::runtime_error(text);
    }
}

// Mask (1 bit, black where the part is) and colour picture (black elsewhere) of `boxes`.
void paint(QSize canvas, const std::vector<QRect>& boxes, QRgb colour, imaging::Raster& mask,
           imaging::Raster& main)
{
    mask.create(canvas.width(), canvas.height(), 1, kWhite);
    main.create(canvas.width(), canvas.height(), 24, kBlack);
    for (const QRect& b : boxes) {
        const QRect r = b.intersected(QRect(QPoint(0, 0), canvas));
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                mask.setPixel(x, y, kBlack);
                main.setPixel(x, y, colour);
            }
        }
    }
}

struct Record {
    int pictureId = 0;
    int fileNo = 0;
    QString whoMain;
    QRect box;
    QByteArray main;
    QByteArray mask;
    int optionId1 = 0;
    bool countHolder = false;
    int count = 0;
};

bool isPairFirst(int kind) { return kind == 9 || kind == 11; }
bool isPairSecond(int kind) { return kind == 10 || kind == 12; }

}  // namespace

QRgb partColour(int kind, int fileNo)
{
    return qRgb(40 + (kind * 37) % 180, 30 + (fileNo * 53) % 197, 30 + (fileNo * 101 + kind * 7) % 193);
}

QSize fullCanvas(int kind)
{
    switch (kind) {
    case 1:
    case 22:
        return {575, 395};
    case 4:
    case 5:
        return {300, 395};
    default:
        return {300, 300};
    }
}

QSize smallCanvas(int kind)
{
    switch (kind) {
    case 1:
    case 22:
        return {192, 132};
    case 4:
    case 5:
        return {100, 132};
    default:
        return {100, 100};
    }
}

std::vector<Part> category(int kind, const std::vector<int>& fileNos)
{
    std::vector<Part> parts;
    for (int f : fileNos) {
        Part p;
        p.kind = kind;
        p.fileNo = f;
        if (kind == 2) {
            // A registered picture is its own box.
            p.fullBox = QRect(0, 0, 60 + (f % 10) * 3, 90);
            p.smallBox = p.fullBox;
        } else {
            // Boxes differ from kind to kind and from part to part.
            const int x = (isPairFirst(kind) ? 55 : 8 + (kind * 7) % 40) + f % 5;
            const int y = 8 + (kind * 11) % 50 + f % 3;
            const int w = isPairFirst(kind) ? 12 + f % 3 : 30 + f % 7;
            const int h = 25 + f % 4;
            p.smallBox = QRect(x, y, w, h);
            p.fullBox = QRect(3 * x, 3 * y, 3 * w, 3 * h);
        }
        parts.push_back(p);
        if (isPairFirst(kind)) {
            Part second = p;
            second.kind = kind + 1;
            second.smallBox.translate(-17, 0);
            second.fullBox.translate(-53, 0);
            parts.push_back(second);
        }
    }
    return parts;
}

std::vector<Part> category(int kind, int count)
{
    std::vector<int> numbers;
    for (int f = 1; f <= count; ++f)
        numbers.push_back(f);
    return category(kind, numbers);
}

void build(const QString& path, std::vector<Part> parts)
{
    std::sort(parts.begin(), parts.end(), [](const Part& a, const Part& b) {
        return a.kind != b.kind ? a.kind < b.kind : a.fileNo < b.fileNo;
    });
    std::map<int, int> counts;
    for (const Part& p : parts)
        ++counts[p.kind];

    std::vector<Record> records;
    {
        imaging::Raster white(kThumb, kThumb, 24, kWhite);
        Record blank;
        blank.whoMain = QStringLiteral("blank.bmp");
        blank.main = imaging::encodeImageField(white);
        blank.mask = blank.main;
        blank.box = QRect(0, 0, kThumb, kThumb);
        records.push_back(blank);
    }
    int lastKind = -1;
    for (const Part& p : parts) {
        // A pair's picture holds both halves; the second half's records repeat it.
        const int pictureKind = isPairSecond(p.kind) ? p.kind - 1 : p.kind;
        const QRgb colour = partColour(pictureKind, p.fileNo);
        const int rows = catalog::RowsPerPart(p.kind);
        for (int row = 1; row <= rows; ++row) {
            Record r;
            r.pictureId = p.kind;
            r.fileNo = p.fileNo;
            r.whoMain = QStringLiteral("p%1_%2_%3.bmp").arg(p.kind, 2, 10, QLatin1Char('0'))
                            .arg(p.fileNo, 4, 10, QLatin1Char('0')).arg(row);
            r.optionId1 = p.optionId1;
            imaging::Raster mask;
            imaging::Raster main;
            const bool small = row == 1;
            const bool full = row == rows;
            QSize canvas;
            std::vector<QRect> boxes;
            if (full) {
                canvas = p.kind == 2 ? p.fullBox.size() : fullCanvas(p.kind);
                r.box = p.fullBox;
            } else if (small) {
                canvas = p.kind == 2 ? p.smallBox.size() : smallCanvas(p.kind);
                r.box = p.smallBox;
            } else {
                canvas = QSize(kThumb, kThumb);
                r.box = QRect(10, 10, 80, 80);
            }
            boxes.push_back(r.box);
            if (isPairFirst(pictureKind) && (small || full))
                boxes.push_back(r.box.translated(small ? (isPairSecond(p.kind) ? 17 : -17)
                                                       : (isPairSecond(p.kind) ? 53 : -53),
                                                 0));
            paint(canvas, boxes, colour, mask, main);
            r.main = imaging::encodeImageField(main);
            r.mask = imaging::encodeImageField(mask);
            if (p.kind != lastKind && row == 1) {
                r.countHolder = true;
                r.count = counts[p.kind];
            }
            records.push_back(r);
        }
        lastKind = p.kind;
    }

    QFile::remove(path);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr)
        != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot create the test database");
    }
    run(db, catalog::kCreatePeople);
    run(db, catalog::kCreateListIndex);
    run(db, catalog::kCreateMergeIndex);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO people (PictureID, FileNo, who_main, who_mask, photo_main, "
                       "photo_mask, X, Y, Width, Height, OptionID1, FileCnt) "
                       "VALUES (?,?,?,?,?,?,?,?,?,?,?,?)",
                       -1, &s, nullptr);
    run(db, "BEGIN");
    for (const Record& r : records) {
        const QByteArray who = r.whoMain.toUtf8();
        sqlite3_bind_int(s, 1, r.pictureId);
        sqlite3_bind_int(s, 2, r.fileNo);
        sqlite3_bind_text(s, 3, who.constData(), int(who.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 4, who.constData(), int(who.size()), SQLITE_TRANSIENT);
        sqlite3_bind_blob(s, 5, r.main.constData(), int(r.main.size()), SQLITE_TRANSIENT);
        sqlite3_bind_blob(s, 6, r.mask.constData(), int(r.mask.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(s, 7, r.box.x());
        sqlite3_bind_int(s, 8, r.box.y());
        sqlite3_bind_int(s, 9, r.box.width());
        sqlite3_bind_int(s, 10, r.box.height());
        sqlite3_bind_int(s, 11, r.optionId1);
        if (r.countHolder)
            sqlite3_bind_int(s, 12, r.count);
        else
            sqlite3_bind_null(s, 12);
        if (sqlite3_step(s) != SQLITE_DONE) {
            const std::string e = sqlite3_errmsg(db);
            sqlite3_finalize(s);
            sqlite3_close(db);
            throw std::runtime_error(e);
        }
        sqlite3_reset(s);
    }
    run(db, "COMMIT");
    sqlite3_finalize(s);
    sqlite3_close(db);
}

QString exec(const QString& path, const QString& sql)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return QStringLiteral("cannot open");
    }
    char* message = nullptr;
    QString error;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK)
        error = QString::fromUtf8(message ? message : "?");
    sqlite3_free(message);
    sqlite3_close(db);
    return error;
}

}  // namespace pickertest
