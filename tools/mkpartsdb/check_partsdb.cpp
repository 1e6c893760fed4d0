// check_partsdb: checks the delivered databases in a folder against the conventions the
// programs rely on. Prints every fault found; exits 0 when there is none.
//
//   check_partsdb DIST_DIR

#include "imaging/engine/imagefield.h"
#include "imaging/engine/raster.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <sqlite3.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace {

int faults = 0;

void fault(const QString& text)
{
    ++faults;
    std::fprintf(stderr, "FAULT: %s\n", text.toLocal8Bit().constData());
}

struct Kind {
    int rows;
    QSize canvas;
};

// Expected layout, written out independently of the builder.
const std::map<int, Kind>& kinds()
{
    static const QSize face(300, 300), body(300, 395), wide(575, 395);
    static const std::map<int, Kind> k = {
        {1, {2, wide}},  {3, {2, face}},  {4, {2, body}},  {5, {2, body}},  {6, {3, face}},
        {7, {2, face}},  {8, {2, face}},  {9, {3, face}},  {10, {3, face}}, {11, {3, face}},
        {12, {3, face}}, {13, {3, face}}, {14, {3, face}}, {15, {2, face}}, {16, {2, face}},
        {17, {3, face}}, {18, {2, face}}, {19, {2, face}}, {20, {2, face}}, {21, {2, face}},
        {22, {2, wide}}};
    return k;
}

struct Record {
    int pictureId = 0;
    int fileNo = 0;
    QString whoMain;
    QImage main;
    QImage mask;
    QRect box;
    int option1 = 0;
    std::optional<int> fileCnt;
};

QImage decode(const void* blob, int size, const QString& where)
{
    imaging::Raster r;
    const QByteArray bytes(static_cast<const char*>(blob), size);
    if (const int code = imaging::decodeImageField(bytes, r); code != 0) {
        fault(where + QStringLiteral(": picture does not decode (%1)").arg(code));
        return {};
    }
    return r.image();
}

std::optional<std::vector<Record>> readFile(const QString& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        fault(path + QStringLiteral(": cannot be opened"));
        sqlite3_close(db);
        return std::nullopt;
    }
    sqlite3_stmt* s = nullptr;
    const char* sql = "SELECT PictureID, FileNo, who_main, photo_main, photo_mask, X, Y, Width, Height, "
                      "OptionID1, FileCnt FROM people ORDER BY PictureID,FileNo,who_main";
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK) {
        fault(path + QStringLiteral(": table people is not as expected: ") + QString::fromUtf8(sqlite3_errmsg(db)));
        sqlite3_close(db);
        return std::nullopt;
    }
    std::vector<Record> out;
    while (sqlite3_step(s) == SQLITE_ROW) {
        Record r;
        r.pictureId = sqlite3_column_int(s, 0);
        r.fileNo = sqlite3_column_int(s, 1);
        r.whoMain = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 2)));
        const QString where = QStringLiteral("%1 %2/%3 %4").arg(QFileInfo(path).fileName()).arg(r.pictureId).arg(r.fileNo).arg(r.whoMain);
        r.main = decode(sqlite3_column_blob(s, 3), sqlite3_column_bytes(s, 3), where + QStringLiteral(" photo_main"));
        r.mask = decode(sqlite3_column_blob(s, 4), sqlite3_column_bytes(s, 4), where + QStringLiteral(" photo_mask"));
        r.box = QRect(sqlite3_column_int(s, 5), sqlite3_column_int(s, 6), sqlite3_column_int(s, 7),
                      sqlite3_column_int(s, 8));
        r.option1 = sqlite3_column_int(s, 9);
        if (sqlite3_column_type(s, 10) != SQLITE_NULL)
            r.fileCnt = sqlite3_column_int(s, 10);
        out.push_back(std::move(r));
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    return out;
}

bool isBlack(QRgb p) { return (p & 0xffffffu) == 0; }
bool isWhite(QRgb p) { return (p & 0xffffffu) == 0xffffffu; }

QString nameOf(const Record& r)
{
    return QStringLiteral("%1/%2 %3").arg(r.pictureId).arg(r.fileNo).arg(r.whoMain);
}

// Black pixels' bounding box of the mask in columns [x0, x1).
QRect blackBox(const QImage& mask, int x0, int x1)
{
    QRect box;
    for (int y = 0; y < mask.height(); ++y)
        for (int x = x0; x < x1; ++x)
            if (isBlack(mask.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

void checkPictures(const Record& r)
{
    if (r.main.isNull() || r.mask.isNull())
        return;
    if (r.main.size() != r.mask.size()) {
        fault(nameOf(r) + QStringLiteral(": main and mask differ in size"));
        return;
    }
    for (int y = 0; y < r.mask.height(); ++y) {
        for (int x = 0; x < r.mask.width(); ++x) {
            const QRgb m = r.mask.pixel(x, y);
            if (!isBlack(m) && !isWhite(m)) {
                fault(nameOf(r) + QStringLiteral(": mask not binary at %1,%2").arg(x).arg(y));
                return;
            }
            if (isWhite(m) && !isBlack(r.main.pixel(x, y)) && r.pictureId != 0) {
                fault(nameOf(r) + QStringLiteral(": colour not black outside the mask at %1,%2").arg(x).arg(y));
                return;
            }
        }
    }
}

int thirdOf(int v) { return int(std::nearbyint(v / 3.0)); }

// The blank tile(s) that must lead a file.
void checkLeadingBlanks(const std::vector<Record>& recs, const QString& file, int count)
{
    for (int i = 0; i < count; ++i) {
        if (int(recs.size()) <= i || recs[i].pictureId != 0) {
            fault(file + QStringLiteral(": record %1 is not a PictureID 0 record").arg(i + 1));
            return;
        }
        const QImage& tile = recs[i].main;
        bool white = !tile.isNull();
        for (int y = 0; white && y < tile.height(); ++y)
            for (int x = 0; white && x < tile.width(); ++x)
                white = isWhite(tile.pixel(x, y));
        if (!white)
            fault(file + QStringLiteral(": blank tile %1 is not white").arg(i + 1));
    }
    if (int(recs.size()) > count && recs[count].pictureId == 0)
        fault(file + QStringLiteral(": more PictureID 0 records than expected"));
}

using Groups = std::map<int, std::map<int, std::vector<const Record*>>>;  // kind -> FileNo -> rows

Groups checkParts(const std::vector<Record>& recs, const QString& file)
{
    Groups groups;
    std::set<int> countChecked;
    for (const Record& r : recs) {
        if (r.pictureId == 0)
            continue;
        if (!kinds().count(r.pictureId)) {
            fault(file + QStringLiteral(": unexpected PictureID %1").arg(r.pictureId));
            continue;
        }
        groups[r.pictureId][r.fileNo].push_back(&r);
    }
    for (const auto& [kind, parts] : groups) {
        const Kind& k = kinds().at(kind);
        bool first = true;
        for (const auto& [fileNo, rows] : parts) {
            const QString part = QStringLiteral("%1: part %2/%3").arg(file).arg(kind).arg(fileNo);
            if (int(rows.size()) != k.rows) {
                fault(part + QStringLiteral(": %1 rows, expected %2").arg(rows.size()).arg(k.rows));
                first = false;
                continue;
            }
            for (size_t i = 0; i < rows.size(); ++i) {
                const Record& r = *rows[i];
                const bool holder = first && i == 0;
                if (holder && r.fileCnt != int(parts.size()))
                    fault(part + QStringLiteral(": FileCnt %1, the category has %2 parts")
                                     .arg(r.fileCnt ? QString::number(*r.fileCnt) : QStringLiteral("Null"))
                                     .arg(parts.size()));
                if (!holder && r.fileCnt)
                    fault(part + QStringLiteral(": FileCnt set on a record that does not hold the count"));
                checkPictures(r);
                if (r.option1 != 0 && !(kind == 1 && r.option1 == 1))
                    fault(part + QStringLiteral(": OptionID1 %1").arg(r.option1));
                if (r.option1 != rows.front()->option1)
                    fault(part + QStringLiteral(": rows disagree on OptionID1"));
            }
            first = false;
            const Record& small = *rows.front();
            const Record& full = *rows.back();
            const QSize smallSize(thirdOf(k.canvas.width()), thirdOf(k.canvas.height()));
            if (full.main.size() != k.canvas)
                fault(part + QStringLiteral(": full-scale picture is %1x%2").arg(full.main.width()).arg(full.main.height()));
            if (small.main.size() != smallSize)
                fault(part + QStringLiteral(": one-third-scale picture is %1x%2").arg(small.main.width()).arg(small.main.height()));
            if (k.rows == 3 && rows[1]->main.size() != QSize(100, 100))
                fault(part + QStringLiteral(": thumbnail row is not 100x100"));
            if (full.main.size() != k.canvas || small.main.size() != smallSize)
                continue;
            // The full-scale box is the part's black pixels (the right-hand half for pairs).
            const bool pair = kind >= 9 && kind <= 12;
            if (kind == 9 || kind == 11) {
                const QRect right = blackBox(full.mask, 150, 300);
                if (full.box != right)
                    fault(part + QStringLiteral(": box is not the right-hand half's black pixels"));
            } else if (!pair) {
                if (full.box != blackBox(full.mask, 0, k.canvas.width()))
                    fault(part + QStringLiteral(": box is not the mask's black pixels"));
            }
            if (kind != 10 && kind != 12) {
                const QRect expect(thirdOf(full.box.x()), thirdOf(full.box.y()), thirdOf(full.box.width()),
                                   thirdOf(full.box.height()));
                if (small.box != expect)
                    fault(part + QStringLiteral(": one-third-scale box is not the full box / 3"));
            }
            for (const Record* r : rows)
                if (!QRect(QPoint(0, 0), r->main.size()).contains(r->box) || r->box.isEmpty())
                    fault(part + QStringLiteral(": box lies outside its picture or is empty"));
        }
    }
    return groups;
}

// 10 and 12 repeat 9 and 11: same pictures, X moved by the pair step at each scale.
void checkCompanions(const Groups& g, const QString& file)
{
    for (int first : {9, 11}) {
        const auto a = g.find(first), b = g.find(first + 1);
        if (a == g.end() && b == g.end())
            continue;
        if (a == g.end() || b == g.end()) {
            fault(file + QStringLiteral(": category %1 without its companion").arg(a == g.end() ? first + 1 : first));
            continue;
        }
        std::set<int> na, nb;
        for (const auto& [n, rows] : a->second)
            na.insert(n);
        for (const auto& [n, rows] : b->second)
            nb.insert(n);
        if (na != nb) {
            fault(file + QStringLiteral(": categories %1 and %2 hold different part numbers").arg(first).arg(first + 1));
            continue;
        }
        for (const auto& [n, rows] : a->second) {
            const auto& other = b->second.at(n);
            if (rows.size() != other.size() || rows.size() != 3)
                continue;
            const QString part = QStringLiteral("%1: part %2/%3").arg(file).arg(first + 1).arg(n);
            for (size_t i = 0; i < rows.size(); ++i) {
                if (rows[i]->main != other[i]->main || rows[i]->mask != other[i]->mask)
                    fault(part + QStringLiteral(": pictures differ from its companion's"));
                const QRect ra = rows[i]->box, rb = other[i]->box;
                if (ra.y() != rb.y() || ra.size() != rb.size())
                    fault(part + QStringLiteral(": Y, Width or Height differ from its companion's"));
            }
            if (rows.front()->box.x() - other.front()->box.x() != 17)
                fault(part + QStringLiteral(": one-third-scale X is not 17 left of its companion's"));
            if (rows.back()->box.x() - other.back()->box.x() != 53)
                fault(part + QStringLiteral(": full-scale X is not 53 left of its companion's"));
            // The left half is exactly the mirror image of the right one, one step away.
            const QImage& m = rows.back()->mask;
            const QRect r = rows.back()->box, l = other.back()->box;
            if (blackBox(m, 0, r.left()) != l)
                fault(part + QStringLiteral(": left-hand half's pixels do not fill its box"));
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = 0; x < r.width(); ++x)
                    if (m.pixel(r.left() + x, y) != m.pixel(l.right() - x, y)) {
                        fault(part + QStringLiteral(": halves are not mirror images"));
                        y = r.bottom() + 1;
                        break;
                    }
        }
    }
}

// Skin and hair parts fill with the standard colours exactly, so the colour treatments
// give the swatches' colours: a near miss (a typo, an antialiased edge) is a fault.
void checkStandardColours(const Groups& g, const QString& file)
{
    const std::map<int, QRgb> standard = {{3, qRgb(192, 64, 0)},    {19, qRgb(192, 64, 0)},
                                          {6, qRgb(255, 192, 128)}, {7, qRgb(255, 192, 128)},
                                          {14, qRgb(255, 192, 128)}};
    for (const auto& [kind, colour] : standard) {
        const auto it = g.find(kind);
        if (it == g.end())
            continue;
        int using_ = 0;
        for (const auto& [n, rows] : it->second) {
            const QImage& img = rows.back()->main;
            const QImage& mask = rows.back()->mask;
            bool uses = false, near = false;
            for (int y = 0; y < img.height() && !near; ++y)
                for (int x = 0; x < img.width(); ++x) {
                    if (!isBlack(mask.pixel(x, y)))
                        continue;
                    const QRgb p = img.pixel(x, y) | 0xff000000u;
                    if (p == colour) {
                        uses = true;
                    } else if (std::abs(qRed(p) - qRed(colour)) + std::abs(qGreen(p) - qGreen(colour))
                                   + std::abs(qBlue(p) - qBlue(colour)) < 24) {
                        near = true;
                        break;
                    }
                }
            if (near)
                fault(QStringLiteral("%1: part %2/%3: a colour close to the standard one but not equal").arg(file).arg(kind).arg(n));
            using_ += uses ? 1 : 0;
        }
        if (using_ * 2 < int(it->second.size()))
            fault(QStringLiteral("%1: category %2: fewer than half of the parts use the standard colour").arg(file).arg(kind));
    }
}

void checkAmounts(const Groups& g)
{
    int largest = 0;
    for (const auto& [kind, k] : kinds()) {
        const int n = g.count(kind) ? int(g.at(kind).size()) : 0;
        largest = std::max(largest, n);
        const bool many = kind == 3 || kind == 7 || kind == 9 || kind == 11 || kind == 13 || kind == 19;
        if (n < (many ? 12 : 8))
            fault(QStringLiteral("ravoze.mdb: category %1 has %2 parts").arg(kind).arg(n));
    }
    if (largest <= 18)
        fault(QStringLiteral("ravoze.mdb: no category has more than 18 parts"));
    struct Range { int kind, from, to; };
    const Range ranges[] = {
        {1, 1601, 1700}, {1, 1701, 1750}, {1, 1751, 1800}, {1, 1801, 2000}, {1, 2001, 3000},
        {1, 3001, 4000}, {1, 4001, 5000}, {1, 5001, 6000}, {1, 6001, 7000}, {1, 8001, 9000},
        {1, 9001, 9999}, {1, 7001, 8000}, {4, 1000, 1800}, {4, 1801, 2000}, {4, 2001, 3000},
        {4, 3001, 4000}, {4, 4001, 5000}, {4, 5001, 6000}, {4, 6001, 7000}, {4, 8001, 9000},
        {4, 7001, 8000}};
    for (const Range& r : ranges) {
        int n = 0;
        if (g.count(r.kind))
            for (const auto& [fileNo, rows] : g.at(r.kind))
                n += (fileNo >= r.from && fileNo <= r.to) ? 1 : 0;
        if (n < 2)
            fault(QStringLiteral("ravoze.mdb: category %1 has %2 parts in %3-%4").arg(r.kind).arg(n).arg(r.from).arg(r.to));
    }
    // A new portrait asks for part 1 of these kinds.
    for (int kind : {3, 6, 7, 9, 10, 11, 12, 13, 14, 19})
        if (!g.count(kind) || g.at(kind).begin()->first != 1)
            fault(QStringLiteral("ravoze.mdb: category %1 does not begin with part 1").arg(kind));
    bool over = false;
    if (g.count(1))
        for (const auto& [n, rows] : g.at(1))
            over = over || rows.front()->option1 == 1;
    if (!over)
        fault(QStringLiteral("ravoze.mdb: no background is drawn over the figure"));
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: check_partsdb DIST_DIR\n");
        return 2;
    }
    const QDir dist(QString::fromLocal8Bit(argv[1]));

    std::set<int> ravozeEyes;
    if (const auto recs = readFile(dist.filePath(QStringLiteral("ravoze.mdb")))) {
        checkLeadingBlanks(*recs, QStringLiteral("ravoze.mdb"), 1);
        const Groups g = checkParts(*recs, QStringLiteral("ravoze.mdb"));
        checkCompanions(g, QStringLiteral("ravoze.mdb"));
        checkStandardColours(g, QStringLiteral("ravoze.mdb"));
        checkAmounts(g);
        if (g.count(2))
            fault(QStringLiteral("ravoze.mdb: holds user images"));
        if (g.count(11))
            for (const auto& [n, rows] : g.at(11))
                ravozeEyes.insert(n);
    }
    if (const auto recs = readFile(dist.filePath(QStringLiteral("photo.mdb")))) {
        checkLeadingBlanks(*recs, QStringLiteral("photo.mdb"), 1);
        if (recs->size() != 1)
            fault(QStringLiteral("photo.mdb: %1 records, expected only the blank tile").arg(recs->size()));
    }
    if (const auto recs = readFile(dist.filePath(QStringLiteral("addon_eyes.mdb")))) {
        checkLeadingBlanks(*recs, QStringLiteral("addon_eyes.mdb"), 2);
        const Groups g = checkParts(*recs, QStringLiteral("addon_eyes.mdb"));
        checkCompanions(g, QStringLiteral("addon_eyes.mdb"));
        if (g.size() != 2 || !g.count(11) || !g.count(12))
            fault(QStringLiteral("addon_eyes.mdb: must hold categories 11 and 12 only"));
        int known = 0, fresh = 0;
        if (g.count(11))
            for (const auto& [n, rows] : g.at(11))
                ++(ravozeEyes.count(n) ? known : fresh);
        if (known == 0 || fresh == 0)
            fault(QStringLiteral("addon_eyes.mdb: needs parts both new and already in ravoze.mdb"));
    }
    if (const auto recs = readFile(dist.filePath(QStringLiteral("addon_hats.mdb")))) {
        checkLeadingBlanks(*recs, QStringLiteral("addon_hats.mdb"), 1);
        const Groups g = checkParts(*recs, QStringLiteral("addon_hats.mdb"));
        if (g.size() != 1 || !g.count(20))
            fault(QStringLiteral("addon_hats.mdb: must hold category 20 only"));
    }
    if (faults == 0)
        std::printf("check_partsdb: all checks passed\n");
    return faults == 0 ? 0 : 1;
}
