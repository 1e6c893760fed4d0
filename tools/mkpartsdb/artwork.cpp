#include "artwork.h"

#include "svgraster.h"

#include "core/rounding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace mkparts {

namespace {

constexpr QRgb kBlack = 0xff000000u;
constexpr QRgb kWhite = 0xffffffffu;

const QSize kFace(300, 300);
const QSize kBody(300, 395);
const QSize kWide(575, 395);

[[noreturn]] void fail(const QString& file, const QString& what)
{
    throw std::runtime_error((file + ": " + what).toStdString());
}

// Straight-alpha ARGB32 picture -> mask and colour picture, thresholding alpha at 128.
Row splitAlpha(const QImage& argb)
{
    const QImage src = argb.convertToFormat(QImage::Format_ARGB32);
    Row row;
    row.mask = QImage(src.size(), QImage::Format_RGB32);
    row.colour = QImage(src.size(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y) {
        const auto* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        auto* m = reinterpret_cast<QRgb*>(row.mask.scanLine(y));
        auto* c = reinterpret_cast<QRgb*>(row.colour.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            const bool part = qAlpha(s[x]) >= 128;
            m[x] = part ? kBlack : kWhite;
            c[x] = part ? (s[x] | kBlack) : kBlack;
        }
    }
    return row;
}

// The part as a straight-alpha picture again: opaque where the mask is black.
QImage joinAlpha(const Row& row)
{
    QImage out(row.mask.size(), QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        const auto* m = reinterpret_cast<const QRgb*>(row.mask.constScanLine(y));
        const auto* c = reinterpret_cast<const QRgb*>(row.colour.constScanLine(y));
        auto* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            o[x] = (m[x] & 0xffffffu) == 0 ? (c[x] | kBlack) : 0u;
    }
    return out;
}

struct Tap {
    int index;
    double weight;
};

// Source pixels covered by each target pixel when `from` pixels shrink or grow to `to`.
std::vector<std::vector<Tap>> areaTaps(int from, int to)
{
    std::vector<std::vector<Tap>> taps(to);
    const double f = double(from) / to;
    for (int i = 0; i < to; ++i) {
        const double a = i * f, b = (i + 1) * f;
        for (int j = int(std::floor(a)); j < from && j < b; ++j) {
            const double w = std::min(b, j + 1.0) - std::max(a, double(j));
            if (w > 1e-9)
                taps[i].push_back({j, w});
        }
    }
    return taps;
}

// Area-average resampling of a straight-alpha picture, thresholded again: a target pixel
// is part of the mask when at least half of it is covered, and takes the average colour
// of the covered source pixels. Uniform areas keep their colour exactly.
Row resample(const QImage& argb, QSize to)
{
    const auto tx = areaTaps(argb.width(), to.width());
    const auto ty = areaTaps(argb.height(), to.height());
    const double area = double(argb.width()) / to.width() * (double(argb.height()) / to.height());
    Row row;
    row.mask = QImage(to, QImage::Format_RGB32);
    row.colour = QImage(to, QImage::Format_RGB32);
    for (int y = 0; y < to.height(); ++y) {
        auto* m = reinterpret_cast<QRgb*>(row.mask.scanLine(y));
        auto* c = reinterpret_cast<QRgb*>(row.colour.scanLine(y));
        for (int x = 0; x < to.width(); ++x) {
            double sa = 0, sr = 0, sg = 0, sb = 0;
            for (const Tap& v : ty[y]) {
                const auto* s = reinterpret_cast<const QRgb*>(argb.constScanLine(v.index));
                for (const Tap& h : tx[x]) {
                    const QRgb p = s[h.index];
                    const double w = v.weight * h.weight * (qAlpha(p) / 255.0);
                    sa += w;
                    sr += w * qRed(p);
                    sg += w * qGreen(p);
                    sb += w * qBlue(p);
                }
            }
            if (sa >= 0.5 * area && sa > 0) {
                m[x] = kBlack;
                c[x] = qRgb(int(std::lround(sr / sa)), int(std::lround(sg / sa)),
                            int(std::lround(sb / sa)));
            } else {
                m[x] = kWhite;
                c[x] = kBlack;
            }
        }
    }
    return row;
}

// Bounding box of the black mask pixels in columns [fromX, toX).
Box blackBox(const QImage& mask, int fromX, int toX)
{
    int x0 = toX, y0 = mask.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < mask.height(); ++y) {
        const auto* m = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = fromX; x < toX; ++x) {
            if ((m[x] & 0xffffffu) == 0) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
        }
    }
    if (x1 < 0)
        return {};
    return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

// Rebuilds the left half of a pair picture (columns < split) as the mirror image of its
// right half, `step` pixels to the left: the box [x, x + w) of the right half maps onto
// [x - step, x - step + w), which is where the programs put the other half's box.
// Rendering each half separately could differ by a pixel.
void mirrorPair(Row& row, int split, const Box& right, int step)
{
    const int w = row.mask.width();
    const int sum = 2 * right.x + right.width - 1 - step;  // column c goes to sum - c
    for (int y = 0; y < row.mask.height(); ++y) {
        auto* m = reinterpret_cast<QRgb*>(row.mask.scanLine(y));
        auto* c = reinterpret_cast<QRgb*>(row.colour.scanLine(y));
        for (int x = 0; x < std::min(split, right.x); ++x) {
            m[x] = kWhite;
            c[x] = kBlack;
        }
        for (int x = std::max(split, right.x); x < w; ++x) {
            const int t = sum - x;
            if (t < 0 || t >= right.x || (m[x] & 0xffffffu) != 0)
                continue;
            m[t] = kBlack;
            c[t] = c[x];
        }
    }
}

struct SvgMeta {
    QString title;
    bool overFigure = false;
};

SvgMeta readMeta(const QByteArray& data)
{
    SvgMeta meta;
    QXmlStreamReader xml(data);
    int depth = 0;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            if (depth == 1) {
                meta.overFigure = xml.attributes().value("urn:faciora:parts", "over-figure") == u"1";
            } else if (depth == 2 && xml.name() == u"title") {
                meta.title = xml.readElementText().trimmed();
                --depth;
            }
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        }
    }
    return meta;
}

bool isNumber(const QString& s)
{
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), [](QChar c) { return c.isDigit(); });
}

}  // namespace

const std::vector<KindInfo>& deliveredKinds()
{
    static const std::vector<KindInfo> kinds = {
        {1, 2, kWide, false},  {3, 2, kFace, false},  {4, 2, kBody, false},
        {5, 2, kBody, false},  {6, 3, kFace, false},  {7, 2, kFace, false},
        {8, 2, kFace, false},  {9, 3, kFace, true},   {10, 3, kFace, false},
        {11, 3, kFace, true},  {12, 3, kFace, false}, {13, 3, kFace, false},
        {14, 3, kFace, false}, {15, 2, kFace, false}, {16, 2, kFace, false},
        {17, 3, kFace, false}, {18, 2, kFace, false}, {19, 2, kFace, false},
        {20, 2, kFace, false}, {21, 2, kFace, false}, {22, 2, kWide, false},
    };
    return kinds;
}

const KindInfo* kindInfo(int kind)
{
    for (const KindInfo& k : deliveredKinds())
        if (k.kind == kind)
            return &k;
    return nullptr;
}

int third(int v)
{
    return int(core::roundHalfEven(v / 3.0));
}

Part renderPart(const QString& svgFile, int kind, int fileNo)
{
    const KindInfo* info = kindInfo(kind);
    if (!info || kind == 10 || kind == 12)
        fail(svgFile, QStringLiteral("kind %1 has no artwork of its own").arg(kind));
    QFile file(svgFile);
    if (!file.open(QIODevice::ReadOnly))
        fail(svgFile, QStringLiteral("cannot be read"));
    const QByteArray data = file.readAll();
    QSvgRenderer renderer(data);
    if (!renderer.isValid())
        fail(svgFile, QStringLiteral("is not a valid SVG document"));
    const QSize canvas = info->canvas;
    if (renderer.viewBoxF() != QRectF(QPointF(0, 0), QSizeF(canvas)))
        fail(svgFile, QStringLiteral("view box must be 0 0 %1 %2").arg(canvas.width()).arg(canvas.height()));

    const SvgMeta meta = readMeta(data);
    Part part;
    part.kind = kind;
    part.fileNo = fileNo;
    part.option1 = meta.overFigure ? 1 : 0;
    part.title = meta.title;

    // Full scale.
    Row full = splitAlpha(renderAliased(renderer, canvas));
    full.pairStep = kPairStep;
    const int split = canvas.width() / 2;
    if (info->pairFirst) {
        full.box = blackBox(full.mask, split, canvas.width());
        if (full.box.width == 0)
            fail(svgFile, QStringLiteral("draws nothing on the right-hand half"));
        if (full.box.width > kPairStep)
            fail(svgFile, QStringLiteral("right-hand half is %1 pixels wide, more than the pair step %2")
                              .arg(full.box.width).arg(kPairStep));
        // The drawing's own left half should already be where the mirror puts it; say so
        // when it is not, since the picture then differs from its source.
        const Box drawn = blackBox(full.mask, 0, split);
        if (std::abs(drawn.x - (full.box.x - kPairStep)) > 1 || std::abs(drawn.width - full.box.width) > 1)
            std::fprintf(stderr, "mkpartsdb: %s: left half drawn at x %d width %d, expected x %d width %d; "
                                 "it is rebuilt from the right half\n",
                         qPrintable(svgFile), drawn.x, drawn.width, full.box.x - kPairStep, full.box.width);
        mirrorPair(full, split, full.box, kPairStep);
    } else {
        full.box = blackBox(full.mask, 0, canvas.width());
        if (full.box.width == 0)
            fail(svgFile, QStringLiteral("draws nothing"));
    }

    // One-third scale, from the full-scale pictures.
    const QSize smallSize(third(canvas.width()), third(canvas.height()));
    Row small = resample(joinAlpha(full), smallSize);
    small.box = {third(full.box.x), third(full.box.y), third(full.box.width), third(full.box.height)};
    small.pairStep = kPairStepSmall;
    if (info->pairFirst)
        mirrorPair(small, smallSize.width() / 2, small.box, kPairStepSmall);

    part.rows.push_back(small);

    // Three-row kinds: the part magnified (or reduced) to fill a thumbnail, drawn again from
    // the vector source so that small parts stay sharp.
    if (info->rowsPerPart == 3) {
        QRectF crop(full.box.x, full.box.y, full.box.width, full.box.height);
        if (info->pairFirst)
            crop.setLeft(full.box.x - kPairStep);
        const double margin = kThumbSide - 8;
        const double scale = std::min({margin / crop.width(), margin / crop.height(), 4.0});
        const double half = kThumbSide / 2.0 / scale;
        const QRectF view(crop.center().x() - half, crop.center().y() - half, 2 * half, 2 * half);
        constexpr int kSuper = 4;
        const QImage big = renderAliased(renderer, QSize(kThumbSide, kThumbSide) * kSuper, view);
        Row middle = resample(big.convertToFormat(QImage::Format_ARGB32), QSize(kThumbSide, kThumbSide));
        middle.box = info->pairFirst ? blackBox(middle.mask, kThumbSide / 2, kThumbSide)
                                     : blackBox(middle.mask, 0, kThumbSide);
        if (middle.box.width == 0)
            fail(svgFile, QStringLiteral("thumbnail came out empty"));
        middle.pairStep = int(core::roundHalfEven(kPairStep * scale));
        part.rows.push_back(middle);
    }
    part.rows.push_back(full);
    return part;
}

Part companionOf(const Part& first)
{
    Part p = first;
    p.kind = first.kind + 1;
    for (Row& r : p.rows)
        r.box.x -= r.pairStep;
    return p;
}

std::vector<Part> renderFolder(const QString& folder)
{
    std::vector<Part> parts;
    const QDir root(folder);
    if (!root.exists())
        throw std::runtime_error((folder + ": no such folder").toStdString());
    for (const QString& sub : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (!isNumber(sub))
            continue;
        const int kind = sub.toInt();
        const KindInfo* info = kindInfo(kind);
        if (!info)
            continue;
        const QDir dir(root.filePath(sub));
        for (const QFileInfo& fi : dir.entryInfoList({QStringLiteral("*.svg")}, QDir::Files)) {
            if (!isNumber(fi.completeBaseName()))
                continue;
            const int fileNo = fi.completeBaseName().toInt();
            if (fileNo < 1 || fileNo > 32767)
                fail(fi.filePath(), QStringLiteral("part number out of range"));
            parts.push_back(renderPart(fi.filePath(), kind, fileNo));
            if (info->pairFirst)
                parts.push_back(companionOf(parts.back()));
        }
    }
    std::sort(parts.begin(), parts.end(), [](const Part& a, const Part& b) {
        return a.kind != b.kind ? a.kind < b.kind : a.fileNo < b.fileNo;
    });
    return parts;
}

Row blankTile()
{
    Row row;
    row.mask = QImage(kThumbSide, kThumbSide, QImage::Format_RGB32);
    row.mask.fill(kWhite);
    row.colour = row.mask;
    row.box = {0, 0, kThumbSide, kThumbSide};
    return row;
}

}  // namespace mkparts
