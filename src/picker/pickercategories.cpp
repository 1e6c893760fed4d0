#include "picker/pickercategories.h"

namespace picker {

using core::PartKind;
namespace kind = core::kind;

namespace {

using C = CategoryControls;

constexpr std::array<PickerCategory, kCategoryCount> kCategories = {{
    {1, "rinkaku", u"輪郭", kind::Outline, 2, false, C::SkinSwatches},
    {2, "kamigata", u"髪型", kind::Hairstyle, 2, false, C::HairSwatches},
    {3, "maegami", u"前髪", kind::Fringe, 2, false, C::HairSwatches},
    {4, "me", u"目", kind::EyeRight, 3, false, C::SideChoice},
    {5, "mayuge", u"まゆげ", kind::BrowRight, 3, false, C::SideChoice},
    {6, "mimi", u"耳", kind::Ears, 3, false, C::SkinSwatches},
    {7, "hana", u"鼻", kind::Nose, 3, false, C::SkinSwatches},
    {8, "kuchi", u"口", kind::Mouth, 3, false, C::None},
    {9, "hige", u"ひげ", kind::Beard, 2, false, C::None},
    {10, "hokuro", u"ほくろ", kind::Mole, 2, false, C::None},
    {11, "shiwa", u"しわ", kind::Wrinkles, 2, false, C::None},
    {12, "megane", u"めがね", kind::Glasses, 2, false, C::None},
    {13, "option", u"ｵﾌﾟｼｮﾝ", kind::Option, 3, false, C::None},
    {14, "boushi", u"帽子", kind::Hat, 2, false, C::None},
    {15, "karada", u"体", kind::Body, 2, false, C::BodyList},
    {16, "anitop", u"動物の頭", kind::AnimalHead, 2, false, C::None},
    {17, "anibottom", u"動物の体", kind::AnimalBody, 2, false, C::None},
    {18, "fukidashi", u"ふきだし", kind::Balloon, 2, false, C::None},
    {19, "haikei", u"背景", kind::Background, 2, false, C::BackgroundList},
    {20, "user", u"ﾕｰｻﾞﾊﾟｰﾂ", kind::User, 1, true, C::LayerButtons},
    {21, "moji", u"文字", 0, 0, false, C::TextDialog},
}};

constexpr Subcategory kBackgrounds[] = {
    {u"宇宙", "PictureID = 1 and FileNo >= 1601 and FileNo <= 1700"},
    {u"ガレキ", "PictureID = 1 and FileNo >= 1701 and FileNo <= 1750"},
    {u"未来", "PictureID = 1 and FileNo >= 1751 and FileNo <= 1800"},
    {u"季節", "PictureID = 1 and FileNo >= 1801 and FileNo <= 2000"},
    {u"スポーツ", "PictureID = 1 and FileNo >= 2001 and FileNo <= 3000"},
    {u"風景", "PictureID = 1 and FileNo >= 3001 and FileNo <= 4000"},
    {u"イベント", "PictureID = 1 and FileNo >= 4001 and FileNo <= 5000"},
    {u"店", "PictureID = 1 and FileNo >= 5001 and FileNo <= 6000"},
    {u"星座", "PictureID = 1 and FileNo >= 6001 and FileNo <= 7000"},
    {u"動物", "PictureID = 1 and FileNo >= 8001 and FileNo <= 9000"},
    {u"正月", "PictureID = 1 and FileNo >= 9001 and FileNo <= 9999"},
    // Listed last although its range lies between the two before it.
    {u"その他", "PictureID = 1 and FileNo >= 7001 and FileNo <= 8000"},
};

constexpr Subcategory kBodies[] = {
    {u"上半身", "PictureID = 4 and FileNo >= 1000 and FileNo <= 1800"},
    {u"普通", "PictureID = 4 and FileNo >= 1801 and FileNo <= 2000"},
    {u"スポーツ", "PictureID = 4 and FileNo >= 2001 and FileNo <= 3000"},
    {u"乗り物", "PictureID = 4 and FileNo >= 3001 and FileNo <= 4000"},
    {u"娯楽", "PictureID = 4 and FileNo >= 4001 and FileNo <= 5000"},
    {u"店員", "PictureID = 4 and FileNo >= 5001 and FileNo <= 6000"},
    {u"女性", "PictureID = 4 and FileNo >= 6001 and FileNo <= 7000"},
    {u"子供", "PictureID = 4 and FileNo >= 8001 and FileNo <= 9000"},
    {u"その他", "PictureID = 4 and FileNo >= 7001 and FileNo <= 8000"},
};

constexpr Swatch kSkin[3] = {
    {qRgb(255, 192, 128), 0},
    {qRgb(255, 224, 192), 2},
    {qRgb(255, 128, 0), 1},
};

constexpr Swatch kHair[3] = {
    {qRgb(64, 64, 64), 3},
    {qRgb(192, 192, 192), 4},
    {qRgb(192, 64, 0), 5},
};

}  // namespace

const std::array<PickerCategory, kCategoryCount>& pickerCategories() { return kCategories; }

const PickerCategory* categoryByKey(QStringView key)
{
    for (const PickerCategory& c : kCategories) {
        if (key == QLatin1String(c.key))
            return &c;
    }
    return nullptr;
}

const PickerCategory* categoryByKind(int k)
{
    if (!core::isPartKind(k))
        return nullptr;
    const int shown = shownKind(k);
    for (const PickerCategory& c : kCategories) {
        if (c.kind == shown)
            return &c;
    }
    return nullptr;
}

QString pickerDatabaseFor(int k)
{
    return QLatin1String(k == kind::User ? kPickerPhotoFile : kPickerPartsFile);
}

int nextCategory(int k, bool t1, bool t2)
{
    switch (k) {
    case 7: return 3;
    case 3: return 19;
    case 19: return 11;
    case 11: return 9;
    case 9: return 6;
    case 6: return 14;
    case 14: return 13;
    case 13: return t1 ? 16 : (t2 ? 20 : 7);
    case 16: return 15;
    case 15: return 8;
    case 8: return 18;
    case 18: return 17;
    case 17: return t2 ? 20 : 7;
    case 20: return 4;
    case 4: return 21;
    case 21: return 5;
    case 5: return 22;
    case 22: return 1;
    case 1: return 2;
    case 2: return 7;
    default: return k;
    }
}

int previousCategory(int k, bool t1, bool t2)
{
    switch (k) {
    case 7: return t2 ? 2 : (t1 ? 17 : 13);
    case 3: return 7;
    case 19: return 3;
    case 11: return 19;
    case 9: return 11;
    case 6: return 9;
    case 14: return 6;
    case 13: return 14;
    case 16: return 13;
    case 15: return 16;
    case 8: return 15;
    case 18: return 8;
    case 17: return 18;
    case 20: return t1 && t2 ? 17 : 13;
    case 4: return 20;
    case 21: return 4;
    case 5: return 21;
    case 22: return 5;
    case 1: return 22;
    case 2: return 1;
    default: return k;
    }
}

int displayModeFor(int k, int overlayMode, int rowsPerPart)
{
    switch (k) {
    case kind::Background:
    case kind::User:
    case kind::Body:
    case kind::AnimalBody:
    case kind::Hat:
    case kind::AnimalHead:
    case kind::Balloon:
        return 2;
    default:
        if (overlayMode != 0)
            return 1;
        return rowsPerPart == 3 ? 0 : 2;
    }
}

int initialColourCode(int k)
{
    return k == kind::Fringe || k == kind::Hairstyle ? 3 : 0;
}

std::span<const Subcategory> backgroundSubcategories() { return kBackgrounds; }
std::span<const Subcategory> bodySubcategories() { return kBodies; }

std::span<const Subcategory> subcategoriesFor(int k)
{
    if (k == kind::Background)
        return kBackgrounds;
    if (k == kind::Body)
        return kBodies;
    return {};
}

std::span<const Swatch, 3> skinSwatches() { return std::span<const Swatch, 3>(kSkin); }
std::span<const Swatch, 3> hairSwatches() { return std::span<const Swatch, 3>(kHair); }

}  // namespace picker
