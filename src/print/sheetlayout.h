#pragma once

#include <QPoint>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QVector>

#include <array>
#include <cstdint>
#include <optional>

namespace print {

// The layout in use, in millimetres. Only ValidateSheetLayout writes it.
struct SheetLayout {
    std::int16_t topMargin = 0;
    std::int16_t leftMargin = 0;
    std::int16_t pictureWidth = 0;   // 0: automatic
    std::int16_t pictureHeight = 0;  // 0: automatic
    std::int16_t rowGap = 0;
    std::int16_t columnGap = 0;
    std::int16_t rows = 0;
    std::int16_t columns = 0;

    friend bool operator==(const SheetLayout&, const SheetLayout&) = default;
};

// The eight layout texts in checking order: top margin, left margin, picture width,
// picture height, row gap, column gap, rows, columns (the format's fields 2 to 9).
using LayoutTexts = std::array<QString, 8>;
// Which text box each of them is: the control arrays Blank, PictSize, Gap and block.
enum LayoutField : int { TopMargin, LeftMargin, PictureWidth, PictureHeight, RowGap, ColumnGap, Rows, Columns };

// Whether a text reads as a number the way the platform's numeric test reads it: spaces
// around it, a sign, digits with one decimal point, an exponent ("1e2"), or &H / &O with hex
// or octal digits. Full-width digits, signs and spaces count as their ASCII forms.
bool isNumericText(const QString& text);
// The number of such a text; nothing when it is not numeric.
std::optional<double> numericValue(const QString& text);

// The messages of ShowSheetLayoutError, titled "入力値エラー".
inline constexpr char16_t kLayoutErrorTitle[] = u"入力値エラー";
QString sheetLayoutErrorText(int code);  // code 0, 1 or 2

struct LayoutError {
    int field = 0;  // LayoutField: where the focus goes
    int code = 0;   // 0 for margins, sizes and gaps, 2 for rows and columns
};

// Checks the texts in order. A margin, size or gap must be numeric; rows and columns must
// be numeric and greater than 0. Every field that passes is rounded (halves to even) into
// `layout` at once, so at the first failure the fields before it are already stored. A
// number that does not fit the 16-bit field fails like text that is not a number. Returns
// the first failure, nothing when all eight pass.
std::optional<LayoutError> ValidateSheetLayout(const LayoutTexts& texts, SheetLayout& layout);

// The grid of cells on the printable page, in whole millimetres (or sheet pixels for the
// preview). Cells are listed row by row, left to right.
struct Grid {
    int cellWidth = 0;
    int cellHeight = 0;
    QVector<QPoint> cells;
};

// The cell size of the grid geometry: with picture width and height both non-zero the
// fixed size; otherwise as many cells across as there are columns in the available width
// (page minus left margin; the gaps and the far margins are not subtracted), with the
// picture's proportions, shrunk when the rows would not fit the available height (page
// minus top margin). Operands of every division are rounded to whole numbers first.
QSize gridCellSize(const SheetLayout& layout, QSizeF page, QSize picture);

// Every cell on the printed page: the first at (left margin, top margin), the next across
// w + column gap further right, the next row h + row gap further down. Nothing is clipped.
Grid printGrid(const SheetLayout& layout, QSizeF pageMm, QSize picture);

// The preview's grid on the sheet picture of `sheet` pixels standing for the printable
// page of `printableMm`: the scale sx = sheet width / printable width (likewise sy), the
// cell size in sheet pixels, and the cells placed with each step rounded to whole pixels
// (halves to even).
Grid previewGrid(const SheetLayout& layout, QSize sheet, QSizeF printableMm, QSize picture);

}  // namespace print
