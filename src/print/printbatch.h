#pragma once

#include <QString>

#include <optional>

namespace print {

// faciora --print-pdf DOC.fcr OUT.pdf [--format NAME] [--rotate]
struct PdfPrintRequest {
    QString home;        // the data folder: databases, settings, PRTSET.DFT
    QString document;    // the portrait document
    QString output;      // the PDF to write
    QString formatName;  // empty: the first format, as the print dialog opens with it
    bool rotate = false; // "ｲﾒｰｼﾞの回転" once before printing
};

// Prints the portrait of the document (with its captions) as "O K" of the print dialog
// would on an A4 PDF printer whose whole sheet is printable. Nothing is written but the
// output, and that only whole. Returns the reason on failure, as one line.
std::optional<QString> printPortraitPdf(const PdfPrintRequest& request);

}  // namespace print
