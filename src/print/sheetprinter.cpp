#include "print/sheetprinter.h"

#include "imaging/engine/durablefile.h"
#include "imaging/engine/raster.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

namespace print {

QSizeF printableSizeMm(const QPrinter& printer)
{
    return printer.pageLayout().paintRect(QPageLayout::Millimeter).size();
}

void setUpA4PdfPrinter(QPrinter& printer, const QString& outputFile)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(outputFile);
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
}

PrintOutcome printSheet(QPrinter& printer, const QImage& picture, const SheetLayout& layout,
                        const std::function<bool()>& cancelled)
{
    PrintOutcome outcome;
    if (picture.isNull()) {
        outcome.status = PrintOutcome::Status::Failed;
        outcome.error = QStringLiteral("印刷する画像がありません。");
        return outcome;
    }
    const Grid grid = printGrid(layout, printableSizeMm(printer), picture.size());

    // The cells are gathered first and the printer gets the page only when every cell is
    // there: no print back end here can take back a page it has been given (CUPS queues it
    // as soon as the document ends), so a cancel must come before that.
    QVector<QRectF> cells;
    const bool drawable = grid.cellWidth > 0 && grid.cellHeight > 0;
    for (const QPoint& at : grid.cells) {
        if (drawable)
            cells << QRectF(at.x(), at.y(), grid.cellWidth, grid.cellHeight);
        // So that "キャンセル" can be pressed between cells.
        QCoreApplication::processEvents();
        if (cancelled && cancelled()) {
            outcome.status = PrintOutcome::Status::Cancelled;
            return outcome;  // nothing reaches the printer
        }
    }

    QPainter painter;
    if (!painter.begin(&printer)) {
        outcome.status = PrintOutcome::Status::Failed;
        outcome.error = QStringLiteral("印刷を開始できません。プリンタの設定を確認して下さい。");
        return outcome;
    }
    // One unit is one millimetre from the corner of the printable page.
    painter.scale(printer.logicalDpiX() / 25.4, printer.logicalDpiY() / 25.4);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (const QRectF& cell : cells)
        painter.drawImage(cell, picture);
    if (!painter.end()) {
        outcome.status = PrintOutcome::Status::Failed;
        outcome.error = QStringLiteral("印刷できませんでした。");
    }
    return outcome;
}

PrintOutcome printSheetToPdf(QPrinter& printer, const QString& path, const QImage& picture,
                             const SheetLayout& layout, const std::function<bool()>& cancelled)
{
    PrintOutcome outcome;
    const auto fail = [&outcome](const QString& why) {
        outcome.status = PrintOutcome::Status::Failed;
        outcome.error = why;
        return outcome;
    };
    if (QFileInfo(path).isDir())
        return fail(QStringLiteral("%1 はフォルダです。").arg(path));
    QTemporaryDir work;
    if (!work.isValid())
        return fail(QStringLiteral("作業用のフォルダを作れません。"));
    const QString staged = work.filePath(QStringLiteral("page.pdf"));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(staged);
    outcome = printSheet(printer, picture, layout, cancelled);
    printer.setOutputFileName(path);
    if (!outcome.printed())
        return outcome;

    QFile in(staged);
    if (!in.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("印刷できませんでした。"));
    const QByteArray bytes = in.readAll();
    // The finished page replaces `path` in one step; a failure leaves what was there.
    if (const auto error = imaging::durable::writeAtomically(path, bytes))
        return fail(error->message);
    return outcome;
}

void rotatePicture(imaging::Raster& picture)
{
    if (!picture.isNull())
        picture.rotate(9000, true, qRgb(255, 255, 255));
}

}  // namespace print
