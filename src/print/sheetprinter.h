#pragma once

#include "print/sheetlayout.h"

#include <QImage>
#include <QSizeF>
#include <QString>

#include <functional>

class QPrinter;

namespace imaging {
class Raster;
}

namespace print {

// How a print run ended.
struct PrintOutcome {
    enum class Status { Printed, Cancelled, Failed };
    Status status = Status::Printed;
    QString error;  // with Failed: the reason, for the user

    bool printed() const { return status == Status::Printed; }
};

// The printable page of the printer in millimetres, in its current orientation.
QSizeF printableSizeMm(const QPrinter& printer);

// Sets `printer` up as the batch command's printer: PDF into `outputFile`, A4 portrait, the
// whole sheet printable (no margins), so millimetres on the page are millimetres from the
// paper's corner.
void setUpA4PdfPrinter(QPrinter& printer, const QString& outputFile);

// "O K": prints `picture` into every cell of the grid of `layout` on one page of `printer`,
// in millimetres from the printable page's corner. Between cells pending window events run
// and `cancelled` is asked: once it says yes no further cell is drawn and the job is
// dropped before the printer gets anything.
PrintOutcome printSheet(QPrinter& printer, const QImage& picture, const SheetLayout& layout,
                        const std::function<bool()>& cancelled = {});

// printSheet into a PDF file at `path` that appears whole or not at all: the printer's
// output goes to a temporary file that is put in place only when the page is complete. The
// printer keeps its settings; its output file name is set to `path` afterwards.
PrintOutcome printSheetToPdf(QPrinter& printer, const QString& path, const QImage& picture,
                             const SheetLayout& layout,
                             const std::function<bool()>& cancelled = {});

// "ｲﾒｰｼﾞの回転": the picture turned by 90 degrees, grown to hold it, white where uncovered.
void rotatePicture(imaging::Raster& picture);

}  // namespace print
