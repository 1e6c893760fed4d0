#include "print/printbatch.h"

#include "core/captions.h"
#include "core/session.h"
#include "imaging/engine/raster.h"
#include "print/sheetformats.h"
#include "print/sheetlayout.h"
#include "print/sheetprinter.h"

#include <QPrinter>

namespace print {

namespace {

const char* const kFieldNames[8] = {"top margin", "left margin", "picture width", "picture height",
                                    "row gap", "column gap", "rows", "columns"};

}  // namespace

std::optional<QString> printPortraitPdf(const PdfPrintRequest& request)
{
    SheetFormatStore formats(sheetFormatPath(request.home));
    const SheetFormatLoad& load = formats.load();
    if (load.status == SheetFormatLoad::Status::Unreadable)
        return QStringLiteral("cannot read %1: %2").arg(formats.path(), load.error);
    const SheetFormatTable& table = formats.table();
    int chosen = 0;
    for (int n = 1; n <= table.count && chosen == 0; ++n) {
        if (request.formatName.isEmpty() ? !table[n].isFree() : table[n].name() == request.formatName)
            chosen = n;
    }
    if (chosen == 0) {
        if (request.formatName.isEmpty())
            return QStringLiteral("no print sheet format in %1").arg(formats.path());
        return QStringLiteral("no print sheet format named \"%1\" in %2").arg(request.formatName, formats.path());
    }

    LayoutTexts texts;
    for (int f = 0; f < 8; ++f)
        texts[std::size_t(f)] = table[chosen][f + 1];
    SheetLayout layout;
    if (const auto error = ValidateSheetLayout(texts, layout))
        return QStringLiteral("format \"%1\", %2 \"%3\": %4")
            .arg(table[chosen].name(), QLatin1String(kFieldNames[error->field]),
                 texts[std::size_t(error->field)], sheetLayoutErrorText(error->code));

    core::PortraitSession session;
    imaging::Raster picture;
    if (auto error = core::composePortraitFile(request.home, request.document, session, picture, false))
        return error;
    // What the print dialog receives from the editor: the portrait with its captions.
    core::Disp_Character2(session.captions, picture);
    if (request.rotate)
        rotatePicture(picture);

    QPrinter printer(QPrinter::HighResolution);
    setUpA4PdfPrinter(printer, request.output);
    const PrintOutcome outcome = printSheetToPdf(printer, request.output, picture.toImage(), layout);
    if (!outcome.printed())
        return outcome.error.isEmpty() ? QStringLiteral("printing was cancelled") : outcome.error;
    return std::nullopt;
}

}  // namespace print
