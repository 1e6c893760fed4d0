#include "sheet.h"

#include "imaging/engine/raster.h"

#include <QDir>
#include <QFont>
#include <QPainter>

#include <algorithm>
#include <map>

namespace mkparts {

namespace {

// The kinds a new portrait starts with (hairstyle, ears, outline, eyebrows, eyes, mouth,
// nose, fringe).
constexpr int kDefaultKinds[] = {3, 6, 7, 9, 10, 11, 12, 13, 14, 19};

QImage checker(QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = ((x / 10 + y / 10) % 2) ? qRgb(0xe4, 0xe4, 0xe4) : qRgb(0xf6, 0xf6, 0xf6);
    }
    return img;
}

QImage white(QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

std::vector<Placement> sortedByLayer(std::vector<Placement> list)
{
    std::stable_sort(list.begin(), list.end(),
                     [](const Placement& a, const Placement& b) { return a.part->kind < b.part->kind; });
    return list;
}

// The default face with the part of `kind` replaced by (or, for kinds not on a new
// portrait, added as) `part`; a pair part brings its companion.
std::vector<Placement> faceWith(const std::vector<Part>& parts, const Part& part, int dx = 0,
                                int dy = 0)
{
    std::vector<Placement> list;
    for (const Placement& p : defaultFace(parts, dx, dy))
        if (p.part->kind != part.kind && !(part.kind == 9 && p.part->kind == 10)
            && !(part.kind == 11 && p.part->kind == 12))
            list.push_back(p);
    list.push_back({&part, dx, dy});
    if (part.kind == 9 || part.kind == 11)
        if (const Part* c = findPart(parts, part.kind + 1, part.fileNo))
            list.push_back({c, dx, dy});
    return sortedByLayer(list);
}

QImage labelled(const QImage& picture, const QString& label, int width)
{
    const int textH = 14;
    const QImage scaled = picture.scaledToWidth(width, Qt::SmoothTransformation);
    QImage cell(width, scaled.height() + textH, QImage::Format_RGB32);
    cell.fill(Qt::white);
    QPainter p(&cell);
    p.drawImage(0, 0, scaled);
    QFont f = p.font();
    f.setPixelSize(10);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRect(2, scaled.height(), width - 4, textH), Qt::AlignLeft | Qt::AlignVCenter,
               label);
    return cell;
}

// Lays cells out in rows under headings, one section per kind.
QImage gridOf(const std::vector<std::pair<QString, std::vector<QImage>>>& sections, int sheetWidth)
{
    const int gap = 6, headH = 24;
    // First pass: height.
    auto layout = [&](QPainter* p) {
        int y = gap;
        for (const auto& [title, cells] : sections) {
            if (p) {
                QFont f = p->font();
                f.setPixelSize(15);
                f.setBold(true);
                p->setFont(f);
                p->setPen(Qt::black);
                p->drawText(QRect(gap, y, sheetWidth - 2 * gap, headH), Qt::AlignLeft | Qt::AlignVCenter,
                            title);
            }
            y += headH;
            int x = gap, rowH = 0;
            for (const QImage& c : cells) {
                if (x + c.width() > sheetWidth - gap && x > gap) {
                    x = gap;
                    y += rowH + gap;
                    rowH = 0;
                }
                if (p) {
                    p->drawImage(x, y, c);
                    p->setPen(QColor(0xb0, 0xb0, 0xb0));
                    p->drawRect(x - 1, y - 1, c.width() + 1, c.height() + 1);
                }
                x += c.width() + gap;
                rowH = std::max(rowH, c.height());
            }
            y += rowH + 2 * gap;
        }
        return y;
    };
    const int height = layout(nullptr);
    QImage sheet(sheetWidth, height, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    layout(&p);
    return sheet;
}

QString kindTitle(int kind)
{
    static const std::map<int, const char*> names = {
        {1, "背景 background"}, {3, "髪型 hairstyle"}, {4, "体 body"}, {5, "動物の体 animal body"},
        {6, "耳 ears"}, {7, "輪郭 outline"}, {8, "しわ wrinkles"}, {9, "眉毛 eyebrows (10 repeats 9)"},
        {11, "目 eyes (12 repeats 11)"}, {13, "口 mouth"}, {14, "鼻 nose"}, {15, "ほくろ mole"},
        {16, "髭 beard"}, {17, "ｵﾌﾟｼｮﾝ option"}, {18, "眼鏡 glasses"}, {19, "前髪 fringe"},
        {20, "帽子 hat"}, {21, "動物の頭 animal head"}, {22, "吹き出し balloon"}};
    const auto it = names.find(kind);
    return QStringLiteral("%1  %2").arg(kind).arg(it == names.end() ? "" : QString::fromUtf8(it->second));
}

QString cellLabel(const Part& p)
{
    QString t = p.title;
    const int colon = t.indexOf(QLatin1Char(':'));
    if (colon >= 0)
        t = t.mid(colon + 1).trimmed();
    return QStringLiteral("%1-%2 %3%4").arg(p.kind).arg(p.fileNo).arg(t).arg(p.option1 ? " [over]" : "");
}

}  // namespace

QImage compose(const QImage& base, const std::vector<Placement>& placements, bool wholePicture)
{
    imaging::Raster canvas = imaging::Raster::fromImage(base, 24);
    for (const Placement& pl : placements) {
        const Row& full = pl.part->rows.back();
        const Box b = wholePicture ? Box{0, 0, full.mask.width(), full.mask.height()} : full.box;
        const imaging::Raster mask = imaging::Raster::fromImage(full.mask, 24);
        const imaging::Raster colour = imaging::Raster::fromImage(full.colour, 24);
        canvas.combine(b.x + pl.dx, b.y + pl.dy, b.width, b.height, mask, b.x, b.y,
                       imaging::kCombineMask);
        canvas.combine(b.x + pl.dx, b.y + pl.dy, b.width, b.height, colour, b.x, b.y,
                       imaging::kCombineColour);
    }
    return canvas.image();
}

const Part* findPart(const std::vector<Part>& parts, int kind, int fileNo)
{
    for (const Part& p : parts)
        if (p.kind == kind && p.fileNo == fileNo)
            return &p;
    return nullptr;
}

const Part* firstPart(const std::vector<Part>& parts, int kind)
{
    for (const Part& p : parts)
        if (p.kind == kind)
            return &p;
    return nullptr;
}

std::vector<Placement> defaultFace(const std::vector<Part>& parts, int dx, int dy)
{
    std::vector<Placement> list;
    for (int kind : kDefaultKinds)
        if (const Part* p = firstPart(parts, kind))
            list.push_back({p, dx, dy});
    return list;
}

QImage contactSheet(const std::vector<Part>& parts)
{
    std::vector<std::pair<QString, std::vector<QImage>>> sections;
    for (const KindInfo& k : deliveredKinds()) {
        if (k.kind == 10 || k.kind == 12)
            continue;
        std::vector<QImage> cells;
        for (const Part& p : parts) {
            if (p.kind != k.kind)
                continue;
            const QImage pic = compose(checker(k.canvas), {{&p, 0, 0}}, true);
            cells.push_back(labelled(pic, cellLabel(p), k.canvas.width() * 2 / 5));
        }
        if (!cells.empty())
            sections.emplace_back(kindTitle(k.kind) + QStringLiteral("  (%1 parts)").arg(cells.size()),
                                  std::move(cells));
    }
    return gridOf(sections, 1800);
}

QImage defaultFacePicture(const std::vector<Part>& parts)
{
    return compose(white(QSize(300, 300)), defaultFace(parts));
}

QImage figurePicture(const std::vector<Part>& parts, int backgroundNo, int bodyNo, int balloonNo,
                     int dx)
{
    std::vector<Placement> list;
    const Part* bg = findPart(parts, 1, backgroundNo);
    if (bg && !bg->option1)
        list.push_back({bg, 0, 0});
    if (const Part* body = findPart(parts, 4, bodyNo))
        list.push_back({body, dx, 0});
    for (const Placement& p : defaultFace(parts, dx, 0))
        list.push_back(p);
    if (const Part* balloon = balloonNo ? findPart(parts, 22, balloonNo) : nullptr)
        list.push_back({balloon, 0, 0});
    list = sortedByLayer(list);
    if (bg && bg->option1)
        list.push_back({bg, 0, 0});  // drawn over the figure
    return compose(white(QSize(575, 395)), list);
}

void writeReviewSheets(const std::vector<Part>& parts, const QString& folder)
{
    QDir().mkpath(folder);

    // Mixed faces: every kind of a new portrait picked at a different step, some with extras.
    {
        std::map<int, std::vector<const Part*>> byKind;
        for (const Part& p : parts)
            byKind[p.kind].push_back(&p);
        std::vector<QImage> faces;
        for (int i = 0; i < 16; ++i) {
            std::vector<Placement> list;
            int step = 0;
            for (int kind : {3, 6, 7, 9, 11, 13, 14, 19, 8, 15, 16, 17, 18, 20, 21}) {
                const auto& all = byKind[kind];
                ++step;
                const bool extra = kind != 19 && kind >= 15;
                if (all.empty() || (extra && (i + kind) % 4 != 0) || (kind == 8 && i % 3 != 0))
                    continue;
                const Part* p = all[(i * (2 * step + 1) + step) % all.size()];
                if (kind == 21 && i % 8 != 0)
                    continue;
                list.push_back({p, 0, 0});
                if (kind == 9 || kind == 11)
                    if (const Part* c = findPart(parts, kind + 1, p->fileNo))
                        list.push_back({c, 0, 0});
            }
            faces.push_back(compose(white(QSize(300, 300)), sortedByLayer(list)));
        }
        gridOf({{QStringLiteral("mixed faces"), faces}}, 1860).save(QDir(folder).filePath(QStringLiteral("faces.png")));
    }
    const Part* body = firstPart(parts, 4);
    for (const KindInfo& k : deliveredKinds()) {
        if (k.kind == 10 || k.kind == 12)
            continue;
        std::vector<QImage> cells;
        for (const Part& p : parts) {
            if (p.kind != k.kind)
                continue;
            QImage pic;
            if (k.kind == 1 || k.kind == 22) {
                std::vector<Placement> list = defaultFace(parts);
                if (body)
                    list.push_back({body, 0, 0});
                if (k.kind == 22 || !p.option1)
                    list.push_back({&p, 0, 0});
                list = sortedByLayer(list);
                if (k.kind == 1 && p.option1)
                    list.push_back({&p, 0, 0});
                pic = compose(white(QSize(575, 395)), list);
            } else if (k.kind == 4 || k.kind == 5) {
                std::vector<Placement> list = defaultFace(parts);
                list.push_back({&p, 0, 0});
                pic = compose(white(QSize(300, 395)), sortedByLayer(list));
            } else {
                pic = compose(white(QSize(300, 300)), faceWith(parts, p));
            }
            cells.push_back(labelled(pic, cellLabel(p), pic.width()));
        }
        if (cells.empty())
            continue;
        const QImage sheet = gridOf({{kindTitle(k.kind), cells}}, k.canvas.width() > 300 ? 1770 : 1860);
        sheet.save(QDir(folder).filePath(QStringLiteral("kind%1.png").arg(k.kind, 2, 10, QLatin1Char('0'))));

        // The smaller rows as stored: one-third scale and, for three-row kinds, the thumbnail.
        std::vector<QImage> small;
        for (const Part& p : parts) {
            if (p.kind != k.kind)
                continue;
            for (size_t r = 0; r + 1 < p.rows.size(); ++r) {
                const Row& row = p.rows[r];
                imaging::Raster pic = imaging::Raster::fromImage(checker(row.mask.size()), 24);
                pic.combine(0, 0, row.mask.width(), row.mask.height(), imaging::Raster::fromImage(row.mask, 24),
                            0, 0, imaging::kCombineMask);
                pic.combine(0, 0, row.mask.width(), row.mask.height(), imaging::Raster::fromImage(row.colour, 24),
                            0, 0, imaging::kCombineColour);
                small.push_back(labelled(pic.image(), QStringLiteral("%1-%2 row %3").arg(p.kind).arg(p.fileNo).arg(r + 1),
                                         std::max(row.mask.width(), 100)));
            }
        }
        gridOf({{kindTitle(k.kind), small}}, 1200)
            .save(QDir(folder).filePath(QStringLiteral("rows%1.png").arg(k.kind, 2, 10, QLatin1Char('0'))));
    }
}

}  // namespace mkparts
