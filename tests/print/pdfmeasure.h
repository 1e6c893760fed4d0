#pragma once

// Measures where printed cells landed: the PDF is rasterised with pdftoppm and the corner
// markers of each cell (a red square at its top-left, a blue one at its bottom-right) are
// found near where the geometry puts them.

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QProcess>
#include <QRect>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <optional>

namespace pdfmeasure {

inline constexpr int kDpi = 254;  // 10 pixels a millimetre
inline constexpr double kPxPerMm = kDpi / 25.4;

inline bool available() { return !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty(); }

inline QImage rasterise(const QString& pdf)
{
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("page"));
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(kDpi), QStringLiteral("-png"),
                                         QStringLiteral("-singlefile"), pdf, prefix});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

inline bool isRed(QRgb c) { return qRed(c) > 160 && qGreen(c) < 96 && qBlue(c) < 96; }
inline bool isBlue(QRgb c) { return qBlue(c) > 160 && qRed(c) < 96 && qGreen(c) < 96; }

// The bounding box, in millimetres, of the marker pixels within `windowMm` of the page.
inline std::optional<QRectF> markerBox(const QImage& page, const QRectF& windowMm, bool (*isMarker)(QRgb))
{
    const QRect window = QRect(QPoint(int(windowMm.left() * kPxPerMm), int(windowMm.top() * kPxPerMm)),
                               QPoint(int(windowMm.right() * kPxPerMm), int(windowMm.bottom() * kPxPerMm)))
                             .intersected(page.rect());
    int minX = INT_MAX, minY = INT_MAX, maxX = -1, maxY = -1;
    for (int y = window.top(); y <= window.bottom(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        for (int x = window.left(); x <= window.right(); ++x) {
            if (isMarker(line[x])) {
                minX = std::min(minX, x);
                minY = std::min(minY, y);
                maxX = std::max(maxX, x);
                maxY = std::max(maxY, y);
            }
        }
    }
    if (maxX < 0)
        return std::nullopt;
    return QRectF(minX / kPxPerMm, minY / kPxPerMm, (maxX + 1 - minX) / kPxPerMm, (maxY + 1 - minY) / kPxPerMm);
}

// The top-left corner of the red marker and the bottom-right corner of the blue one of the
// cell at `cellMm`, both in millimetres; nothing when a marker is not found.
struct Corners {
    QPointF topLeft;
    QPointF bottomRight;
};
// A picture turned a quarter counter-clockwise has its red mark at the bottom-left and its
// blue mark at the top-right: `turned` measures those.
inline std::optional<Corners> cellCorners(const QImage& page, const QRectF& cellMm, bool turned = false)
{
    if (turned) {
        const double m = 3.0;
        const auto red = markerBox(page, QRectF(cellMm.bottomLeft() - QPointF(m, m), QSizeF(2 * m, 2 * m)), isRed);
        const auto blue = markerBox(page, QRectF(cellMm.topRight() - QPointF(m, m), QSizeF(2 * m, 2 * m)), isBlue);
        if (!red || !blue)
            return std::nullopt;
        return Corners{QPointF(red->left(), blue->top()), QPointF(blue->right(), red->bottom())};
    }
    const double m = 3.0;  // search this far around each corner
    const auto red = markerBox(page, QRectF(cellMm.topLeft() - QPointF(m, m), QSizeF(2 * m, 2 * m)), isRed);
    const auto blue = markerBox(page, QRectF(cellMm.bottomRight() - QPointF(m, m), QSizeF(2 * m, 2 * m)), isBlue);
    if (!red || !blue)
        return std::nullopt;
    return Corners{red->topLeft(), blue->bottomRight()};
}

}  // namespace pdfmeasure
