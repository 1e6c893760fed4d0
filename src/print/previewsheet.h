#pragma once

#include "print/sheetlayout.h"

#include <QSizeF>
#include <QString>

namespace imaging {
class Raster;
}

namespace print {

// The blank sheet of the preview, in the program folder: its pixel size stands for the
// printer's printable page.
inline constexpr char kSheetPictureName[] = "format.bmp";

// The preview's sheet: `sheet` (the blank sheet picture), turned by 90 degrees when the
// printer is in landscape, with `picture` scaled to the cell size and combined into every
// cell of the preview grid (on the white sheet the picture replaces the background).
// `printableMm` is the printer's printable page in its current orientation. Throws
// imaging::ImagingError when the engine fails.
imaging::Raster renderPreviewSheet(const imaging::Raster& sheet, bool landscape,
                                   const imaging::Raster& picture, const SheetLayout& layout,
                                   QSizeF printableMm);

}  // namespace print
