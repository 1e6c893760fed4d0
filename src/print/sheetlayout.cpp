#include "print/sheetlayout.h"

#include "core/rounding.h"

#include <cmath>
#include <limits>

namespace print {

namespace {

bool isSpace(QChar c) { return c == u' ' || c == u'\t'; }

// The platform's integer division: both operands rounded to whole numbers (halves to even),
// the quotient cut towards zero. A zero divisor gives 0 rather than a fault.
long long intDiv(double a, double b)
{
    const long long x = core::roundTo<std::int32_t>(a);
    const long long y = core::roundTo<std::int32_t>(b);
    return y == 0 ? 0 : x / y;
}

// The cell size for an available width and height (whatever the unit).
QSize cellFor(const SheetLayout& l, double availW, double availH, QSize picture)
{
    if (l.pictureWidth != 0 && l.pictureHeight != 0)
        return QSize(l.pictureWidth, l.pictureHeight);
    if (picture.width() <= 0 || picture.height() <= 0 || l.rows <= 0 || l.columns <= 0)
        return QSize(0, 0);
    long long w = intDiv(availW, l.columns);
    long long h = (long long)picture.height() * w / picture.width();
    const long long rowHeight = intDiv(availH, l.rows);
    if (h > rowHeight) {
        // h > rowHeight guarantees h is not 0 only when rowHeight >= 0.
        w = h == 0 ? 0 : core::roundTo<std::int32_t>(double(rowHeight) / double(h) * double(w));
        h = rowHeight;
    }
    return QSize(core::clampToInt32(w), core::clampToInt32(h));
}

}  // namespace

std::optional<double> numericValue(const QString& raw)
{
    // Full-width forms (what an IME types) read as their ASCII forms.
    const QString text = raw.normalized(QString::NormalizationForm_KC);
    qsizetype i = 0;
    qsizetype n = text.size();
    while (i < n && isSpace(text[i]))
        ++i;
    while (n > i && isSpace(text[n - 1]))
        --n;
    if (i >= n)
        return std::nullopt;
    const QString body = text.sliced(i, n - i);

    if (body.size() > 2 && body[0] == u'&' && (body[1].toUpper() == u'H' || body[1].toUpper() == u'O')) {
        bool ok = false;
        const qlonglong v = body.sliced(2).toLongLong(&ok, body[1].toUpper() == u'H' ? 16 : 8);
        if (!ok || body.sliced(2).startsWith(u'-') || body.sliced(2).startsWith(u'+'))
            return std::nullopt;
        return double(v);
    }

    // sign? digits [. digits] [e sign? digits]
    qsizetype p = 0;
    if (p < body.size() && (body[p] == u'+' || body[p] == u'-'))
        ++p;
    int digits = 0;
    while (p < body.size() && body[p].isDigit() && body[p].unicode() < 128) {
        ++p;
        ++digits;
    }
    if (p < body.size() && body[p] == u'.') {
        ++p;
        while (p < body.size() && body[p].isDigit() && body[p].unicode() < 128) {
            ++p;
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (p < body.size() && (body[p] == u'e' || body[p] == u'E' || body[p] == u'd' || body[p] == u'D')) {
        ++p;
        if (p < body.size() && (body[p] == u'+' || body[p] == u'-'))
            ++p;
        int expDigits = 0;
        while (p < body.size() && body[p].isDigit() && body[p].unicode() < 128) {
            ++p;
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
    }
    if (p != body.size())
        return std::nullopt;
    QString c = body;
    c.replace(u'd', u'e').replace(u'D', u'e');
    bool ok = false;
    const double v = c.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

bool isNumericText(const QString& text) { return numericValue(text).has_value(); }

QString sheetLayoutErrorText(int code)
{
    switch (code) {
    case 1:
        return QStringLiteral("文字を入力して下さい。");
    case 2:
        return QStringLiteral("値が不正です。正しい値(1～9)を設定して下さい。");
    default:
        return QStringLiteral("値が不正です。正しい値(0～999)を設定して下さい。");
    }
}

std::optional<LayoutError> ValidateSheetLayout(const LayoutTexts& texts, SheetLayout& layout)
{
    std::int16_t* targets[8] = {&layout.topMargin, &layout.leftMargin, &layout.pictureWidth,
                                &layout.pictureHeight, &layout.rowGap, &layout.columnGap,
                                &layout.rows, &layout.columns};
    for (int f = 0; f < 8; ++f) {
        const bool count = f == Rows || f == Columns;
        const LayoutError error{f, count ? 2 : 0};
        const std::optional<double> v = numericValue(texts[std::size_t(f)]);
        if (!v)
            return error;
        // A number the field cannot hold is as wrong as no number at all.
        const double r = core::roundHalfEven(*v);
        if (r < std::numeric_limits<std::int16_t>::min() || r > std::numeric_limits<std::int16_t>::max())
            return error;
        // Rows and columns are counted: a value that rounds to 0 would leave no grid (and a
        // division by zero), so it fails like 0 itself.
        if (count && (*v <= 0 || r < 1))
            return error;
        *targets[f] = std::int16_t(r);
    }
    return std::nullopt;
}

QSize gridCellSize(const SheetLayout& layout, QSizeF page, QSize picture)
{
    return cellFor(layout, page.width() - layout.leftMargin, page.height() - layout.topMargin, picture);
}

Grid printGrid(const SheetLayout& layout, QSizeF pageMm, QSize picture)
{
    Grid grid;
    const QSize cell = gridCellSize(layout, pageMm, picture);
    grid.cellWidth = cell.width();
    grid.cellHeight = cell.height();
    long long y = layout.topMargin;
    for (int r = 0; r < layout.rows; ++r) {
        long long x = layout.leftMargin;
        for (int c = 0; c < layout.columns; ++c) {
            grid.cells << QPoint(core::clampToInt32(x), core::clampToInt32(y));
            x += grid.cellWidth + layout.columnGap;
        }
        y += grid.cellHeight + layout.rowGap;
    }
    return grid;
}

Grid previewGrid(const SheetLayout& layout, QSize sheet, QSizeF printableMm, QSize picture)
{
    Grid grid;
    if (printableMm.width() <= 0 || printableMm.height() <= 0)
        return grid;
    const double sx = sheet.width() / printableMm.width();
    const double sy = sheet.height() / printableMm.height();
    if (layout.pictureWidth != 0 && layout.pictureHeight != 0) {
        grid.cellWidth = std::max(1, int(sx * layout.pictureWidth));
        grid.cellHeight = std::max(1, int(sy * layout.pictureHeight));
    } else {
        const QSize cell = cellFor(layout, sheet.width() - int(sx * layout.leftMargin),
                                   sheet.height() - int(sy * layout.topMargin), picture);
        grid.cellWidth = cell.width();
        grid.cellHeight = cell.height();
    }
    const int x0 = core::roundToInt32(sx * layout.leftMargin);
    int y = core::roundToInt32(sy * layout.topMargin);
    for (int r = 0; r < layout.rows; ++r) {
        int x = x0;
        for (int c = 0; c < layout.columns; ++c) {
            grid.cells << QPoint(x, y);
            x = core::roundToInt32(sx * layout.columnGap + grid.cellWidth + x);
        }
        y = core::roundToInt32(sy * layout.rowGap + grid.cellHeight + y);
    }
    return grid;
}

}  // namespace print
