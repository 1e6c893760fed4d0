#pragma once

#include <QImage>

namespace catalog {
class PartsDatabase;
}

namespace picker {

struct PickerCategory;

// The category pictures of the strip and of the icon beside the arrows: the category's
// first part as the parts database holds it (its thumbnail row where it has one, else its
// one-third-scale row), cut to its box and fitted into a square of `side` pixels. The registered pictures and the texts, which have no
// artwork of their own, get drawn pictures. `parts` (ListOrder) may be null or lack the
// category; the icon then shows the category's first letter. The cursor is moved.
QImage renderCategoryIcon(catalog::PartsDatabase* parts, const PickerCategory& category, int side);

}  // namespace picker
