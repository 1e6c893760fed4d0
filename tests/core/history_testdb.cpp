#include "history_testdb.h"

#include "catalog/categories.h"
#include "catalog/partsdatabase.h"
#include "catalog/partsfile.h"
#include "catalog/recordsource.h"
#include "imaging/engine/raster.h"
#include "imaging/engine/region.h"

#include <QHash>

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace historytest {

namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);

int rowsOf(const Part& part) { return std::max(1, catalog::RowsPerPart(part.kind)); }

bool isSmallRow(const Part& part, int row) { return rowsOf(part) > 1 && row < rowsOf(part); }

QRect boxOf(const Part& part, int row)
{
    if (part.kind == catalog::kPhotoCategory)
        return QRect(QPoint(0, 0), part.box.size());
    if (!isSmallRow(part, row))
        return part.box;
    return QRect(part.box.x() / 3, part.box.y() / 3, part.box.width() / 3, part.box.height() / 3);
}

QSize pictureSize(const Part& part, int row)
{
    if (part.kind == catalog::kPhotoCategory)
        return part.box.size();
    return isSmallRow(part, row) ? part.picture / 3 : part.picture;
}

imaging::Raster boxPicture(const Part& part, int row, int bits, QRgb outside, QRgb inside)
{
    const QSize size = pictureSize(part, row);
    imaging::Raster r(size.width(), size.height(), bits, outside);
    r.setRegion(imaging::Region::rectangle(boxOf(part, row)));
    r.fill(inside);
    r.freeRegion();
    return r;
}

QString addParts(catalog::PartsDatabase& db, const QList<Part>& parts, bool withCounts)
{
    // The category's count sits on its first record, the part with the lowest number.
    QHash<int, int> lowest;
    QHash<int, int> count;
    for (const Part& p : parts) {
        lowest[p.kind] = lowest.contains(p.kind) ? std::min(lowest[p.kind], p.fileNo) : p.fileNo;
        ++count[p.kind];
    }
    catalog::Transaction transaction(db);
    if (!transaction.started())
        return transaction.started().error();
    for (const Part& p : parts) {
        const int rows = p.completeGroup ? rowsOf(p) : 1;
        for (int row = 1; row <= rows; ++row) {
            const QRect box = boxOf(p, row);
            const bool holdsCount = withCounts && row == 1 && p.fileNo == lowest[p.kind];
            const QString name = QStringLiteral("k%1_%2_%3")
                                     .arg(p.kind, 2, 10, QLatin1Char('0'))
                                     .arg(p.fileNo, 5, 10, QLatin1Char('0'))
                                     .arg(row);
            catalog::DbResult r = db.addNew();
            for (const auto& [field, value] : std::initializer_list<std::pair<const char*, QVariant>>{
                     {"PictureID", p.kind},
                     {"FileNo", p.fileNo},
                     {"who_main", name + QStringLiteral(".bmp")},
                     {"who_mask", name + QStringLiteral("m.bmp")},
                     {"X", box.x()},
                     {"Y", box.y()},
                     {"Width", box.width()},
                     {"Height", box.height()},
                     {"OptionID1", row == rowsOf(p) ? p.optionId1 : 0},
                     {"FileCnt", holdsCount ? QVariant(count[p.kind]) : QVariant()}}) {
                if (r)
                    r = db.setValue(field, value);
            }
            if (r)
                r = db.setImage("photo_main", partPicture(p, row));
            if (r)
                r = db.setImage("photo_mask", partMask(p, row));
            if (r)
                r = db.update();
            if (!r)
                return r.error();
        }
    }
    const catalog::DbResult committed = transaction.commit();
    return committed ? QString() : committed.error();
}

}  // namespace

QRgb partColour(int kind, int fileNo, int row)
{
    return qRgb(40 + kind * 9, 30 + (fileNo * 37) % 200, 50 + row * 60);
}

imaging::Raster partMask(const Part& part, int row)
{
    return boxPicture(part, row, 1, kWhite, kBlack);
}

imaging::Raster partPicture(const Part& part, int row)
{
    return boxPicture(part, row, 24, kBlack, partColour(part.kind, part.fileNo, row));
}

QString buildDatabase(const QString& path, const QList<Part>& parts)
{
    if (const catalog::DbResult r = catalog::createPartsFile(path); !r)
        return r.error();
    catalog::PartsDatabase db;
    if (const catalog::DbResult r = db.open(path, QString::fromLatin1(catalog::kListOrderSource)); !r)
        return r.error();
    // The blank tile: a white picture, no part.
    {
        catalog::Transaction transaction(db);
        catalog::DbResult r = db.addNew();
        if (r)
            r = db.setValue("PictureID", 0);
        if (r)
            r = db.setValue("FileNo", 0);
        if (r)
            r = db.setImage("photo_main", imaging::Raster(4, 4, 24, kWhite));
        if (r)
            r = db.update();
        if (r)
            r = transaction.commit();
        if (!r)
            return r.error();
    }
    return addParts(db, parts, true);
}

QString appendParts(const QString& path, const QList<Part>& parts)
{
    catalog::PartsDatabase db;
    if (const catalog::DbResult r = db.open(path, QString::fromLatin1(catalog::kListOrderSource)); !r)
        return r.error();
    return addParts(db, parts, false);
}

}  // namespace historytest
