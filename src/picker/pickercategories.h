#pragma once

// The picker's categories: the strip's buttons, the arrows' order, the sub-category lists
// and the colour swatches. Plain data, no widgets.

#include "core/kinds.h"

#include <QRgb>
#include <QString>
#include <QStringView>

#include <array>
#include <span>

namespace picker {

// The controls a category shows beside the thumbnails.
enum class CategoryControls {
    None,
    SkinSwatches,    // OP1: outline, ears, nose
    HairSwatches,    // OP2: hairstyle, fringe
    SideChoice,      // OP3: eyebrows, eyes
    BackgroundList,  // Combo1
    BodyList,        // Combo2
    LayerButtons,    // OP4: user images
    TextDialog,      // "moji": no thumbnails, the text dialog instead
};

struct PickerCategory {
    int icon;                // position in the strip, 1-based; also the icon's number
    const char* key;         // the strip's (and the main window's part toolbar's) button key
    const char16_t* name;    // the button's tool tip
    core::PartKind kind;     // 0 for "moji"
    int rowsPerPart;         // RowsPerPart; 0 for "moji"
    bool photoDatabase;      // photo.mdb instead of ravoze.mdb
    CategoryControls controls;
};

inline constexpr int kCategoryCount = 21;

// In strip order: "rinkaku" first, "moji" last.
const std::array<PickerCategory, kCategoryCount>& pickerCategories();
// Null for an unknown key. Keys are matched exactly.
const PickerCategory* categoryByKey(QStringView key);
// The category showing kind k: the pairs' second halves (10, 12) belong to 9 and 11. Null
// for anything else that is not a kind.
const PickerCategory* categoryByKind(int k);

// The picker never stays on the second half of a pair.
constexpr core::PartKind shownKind(int k)
{
    if (k == core::kind::BrowLeft)
        return core::kind::BrowRight;
    if (k == core::kind::EyeLeft)
        return core::kind::EyeRight;
    return core::PartKind(k);
}

// File names in the data folder, as the picker asks for them.
inline constexpr char kPickerPartsFile[] = "ravoze.mdb";
inline constexpr char kPickerPhotoFile[] = "photo.mdb";
QString pickerDatabaseFor(int k);

// The arrows. t1 and t2: whether option toolbar 1 and option toolbar 2 of the main window
// are shown. A kind outside the cycle gives itself back.
int nextCategory(int k, bool t1, bool t2);
int previousCategory(int k, bool t1, bool t2);

// Thumbnail display modes: 0 the part alone from its middle row, 1 over the portrait,
// 2 the part alone from its first row.
int displayModeFor(int k, int overlayMode, int rowsPerPart);

// The colour treatment a category starts with: hair in code 3, everything else as stored.
int initialColourCode(int k);

struct Subcategory {
    const char16_t* caption;
    const char* criterion;  // the find-first criterion of the entry's first part
};
std::span<const Subcategory> backgroundSubcategories();  // Combo1, 12 entries
std::span<const Subcategory> bodySubcategories();        // Combo2, 9 entries
// The list kind k shows (backgrounds, bodies); empty for every other kind.
std::span<const Subcategory> subcategoriesFor(int k);
inline constexpr char16_t kSubcategoryLabel[] = u"カテゴリー選択";

struct Swatch {
    QRgb colour;
    int colourCode;
};
std::span<const Swatch, 3> skinSwatches();  // OP1
std::span<const Swatch, 3> hairSwatches();  // OP2

// Captions of the side choice OP3 (P_LR 0, 1, 2) and the layer buttons OP4.
inline constexpr const char16_t* kSideCaptions[3] = {u"左", u"右", u"両方"};
inline constexpr const char16_t* kLayerCaptions[2] = {u"下", u"上"};
enum SideChoice : int { kLeftOnly = 0, kRightOnly = 1, kBothSides = 2 };

}  // namespace picker
