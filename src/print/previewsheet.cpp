#include "print/previewsheet.h"

#include "imaging/engine/raster.h"

#include <QImage>
#include <QPainter>

namespace print {

namespace {
// Beyond this a scaled copy of the whole picture is not made.
constexpr qint64 kMaxCellPixels = qint64(4096) * 4096;
}  // namespace

imaging::Raster renderPreviewSheet(const imaging::Raster& blank, bool landscape,
                                   const imaging::Raster& picture, const SheetLayout& layout,
                                   QSizeF printableMm)
{
    imaging::Raster sheet = blank;
    if (landscape)
        sheet.rotate(9000, true, qRgb(255, 255, 255));
    const Grid grid = previewGrid(layout, sheet.size(), printableMm, picture.size());
    if (grid.cellWidth < 1 || grid.cellHeight < 1 || picture.isNull())
        return sheet;

    if (qint64(grid.cellWidth) * grid.cellHeight > kMaxCellPixels) {
        // A cell far bigger than the sheet (a size typed in a stored file): only the part on
        // the sheet is scaled, instead of a picture that would not fit in memory.
        for (const QPoint& at : grid.cells) {
            const QRect cell(at, QSize(grid.cellWidth, grid.cellHeight));
            const QRect visible = cell.intersected(sheet.rect());
            if (visible.isEmpty())
                continue;
            QImage part(visible.size(), QImage::Format_RGB32);
            part.fill(Qt::white);
            QPainter painter(&part);
            painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
            painter.drawImage(QRectF(QPointF(cell.topLeft() - visible.topLeft()), QSizeF(cell.size())),
                              picture.image());
            painter.end();
            sheet.combine(visible.x(), visible.y(), visible.width(), visible.height(),
                          imaging::Raster::fromImage(part, 24), 0, 0, 0);
        }
        return sheet;
    }

    imaging::Raster work = picture;
    work.size(grid.cellWidth, grid.cellHeight, 1);
    if (work.bits() != 24)
        work.setBits(24);
    for (const QPoint& at : grid.cells)
        sheet.combine(at.x(), at.y(), grid.cellWidth, grid.cellHeight, work, 0, 0, 0);
    return sheet;
}

}  // namespace print
