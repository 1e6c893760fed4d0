#include "editor/editorcommands.h"

#include "core/rounding.h"

namespace editor {

using core::PartSlot;

void deletePart(core::PortraitState& state, core::PickerMarks& marks, int k,
                core::FigureMenuHost* host)
{
    if (!core::isPartKind(k))
        return;
    core::RemovePart(state, k, host);
    marks.InUseFileNo[std::size_t(k)] = 0;
}

void restoreStandardPosition(core::PortraitState& state, core::PartTable& preview, int k)
{
    if (!core::isPartKind(k))
        return;
    PartSlot& s = state.PartTable[k];
    s.PosX = s.BaseX;
    s.PosY = s.BaseY;
    preview[k].PosX = core::roundToInt16(s.PosX / 3.0);
    preview[k].PosY = core::roundToInt16(s.PosY / 3.0);
}

void restoreStandardSize(core::PortraitState& state, int k)
{
    if (!core::isPartKind(k))
        return;
    PartSlot& s = state.PartTable[k];
    s.GrowW = 0;
    s.GrowH = 0;
}

namespace {

using Rule = GroupMenuItem::Rule;

constexpr int kBackground[] = {1};
constexpr int kHairAll[] = {3, 19};
constexpr int kHairstyle[] = {3};
constexpr int kFringe[] = {19};
// The face's "全部" removes the outline first, then the parts drawn on it.
constexpr int kFaceAll[] = {7, 6, 8, 13, 14, 15, 16, 9, 10, 11, 12};
constexpr int kOutline[] = {7};
constexpr int kEars[] = {6};
constexpr int kBrows[] = {9, 10};
constexpr int kBrowRight[] = {9};
constexpr int kBrowLeft[] = {10};
constexpr int kEyes[] = {11, 12};
constexpr int kEyeRight[] = {11};
constexpr int kEyeLeft[] = {12};
constexpr int kWrinkles[] = {8};
constexpr int kMouth[] = {13};
constexpr int kNose[] = {14};
constexpr int kMole[] = {15};
constexpr int kBeard[] = {16};
constexpr int kBody[] = {4};
constexpr int kAnimalBody[] = {5};
constexpr int kUser[] = {2};
constexpr int kOption[] = {17};
constexpr int kGlasses[] = {18};
constexpr int kHat[] = {20};
constexpr int kAnimalHead[] = {21};
constexpr int kBalloon[] = {22};

// Indices of the submenus below, as their items' parents.
constexpr int kHairMenu = 2;
constexpr int kFaceMenu = 6;
constexpr int kBrowMenu = 10;
constexpr int kEyeMenu = 14;

const GroupMenuItem kGroupMenu[] = {
    {"menuP2Delete", u"削除", -1, Rule::Heading, {}},
    {"menuP2Parts(1)", u"背景", -1, Rule::Any, kBackground},
    {"menuP2Parts(2)", u"髪", -1, Rule::Submenu, kHairAll},                // 2
    {"menuP2PartsKami(1)", u"全部", kHairMenu, Rule::All, kHairAll},
    {"menuP2PartsKami(2)", u"髪型", kHairMenu, Rule::Any, kHairstyle},
    {"menuP2PartsKami(3)", u"前髪", kHairMenu, Rule::Any, kFringe},
    {"menuP2Parts(3)", u"顔", -1, Rule::Submenu, kFaceAll},                // 6
    {"menuP2PartsKao(1)", u"全部", kFaceMenu, Rule::AtLeastTwo, kFaceAll},
    {"menuP2PartsKao(2)", u"輪郭", kFaceMenu, Rule::Any, kOutline},
    {"menuP2PartsKao(3)", u"耳", kFaceMenu, Rule::Any, kEars},
    {"menuP2PartsKao(4)", u"まゆげ", kFaceMenu, Rule::Submenu, kBrows},    // 10
    {"menuP2PartsMayu(1)", u"両方", kBrowMenu, Rule::All, kBrows},
    {"menuP2PartsMayu(2)", u"右まゆげ", kBrowMenu, Rule::Any, kBrowRight},
    {"menuP2PartsMayu(3)", u"左まゆげ", kBrowMenu, Rule::Any, kBrowLeft},
    {"menuP2PartsKao(5)", u"目", kFaceMenu, Rule::Submenu, kEyes},         // 14
    {"menuP2PartsMe(1)", u"両方", kEyeMenu, Rule::All, kEyes},
    {"menuP2PartsMe(2)", u"右目", kEyeMenu, Rule::Any, kEyeRight},
    {"menuP2PartsMe(3)", u"左目", kEyeMenu, Rule::Any, kEyeLeft},
    {"menuP2PartsKao(6)", u"しわ", kFaceMenu, Rule::Any, kWrinkles},
    {"menuP2PartsKao(7)", u"口", kFaceMenu, Rule::Any, kMouth},
    {"menuP2PartsKao(8)", u"鼻", kFaceMenu, Rule::Any, kNose},
    {"menuP2PartsKao(9)", u"ほくろ", kFaceMenu, Rule::Any, kMole},
    {"menuP2PartsKao(10)", u"ひげ", kFaceMenu, Rule::Any, kBeard},
    {"menuP2Parts(4)", u"体", -1, Rule::Any, kBody},
    {"menuP2Parts(5)", u"動物の体", -1, Rule::Any, kAnimalBody},
    {"menuP2Parts(6)", u"ﾕｰｻﾞ", -1, Rule::Any, kUser},
    {"menuP2Parts(7)", u"ｵﾌﾟｼｮﾝ", -1, Rule::Any, kOption},
    {"menuP2Parts(8)", u"めがね", -1, Rule::Any, kGlasses},
    {"menuP2Parts(9)", u"帽子", -1, Rule::Any, kHat},
    {"menuP2Parts(10)", u"動物の頭", -1, Rule::Any, kAnimalHead},
    {"menuP2Parts(11)", u"ふきだし", -1, Rule::Any, kBalloon},
};

}  // namespace

std::span<const GroupMenuItem> groupMenuItems()
{
    return kGroupMenu;
}

bool groupItemEnabled(const core::PartTable& parts, int index)
{
    const auto items = groupMenuItems();
    if (index < 0 || index >= int(items.size()))
        return false;
    const GroupMenuItem& item = items[std::size_t(index)];
    int present = 0;
    for (int k : item.kinds)
        present += parts[k].present() ? 1 : 0;
    switch (item.rule) {
    case Rule::Heading:
        return true;
    case Rule::Submenu:
    case Rule::Any:
        return present > 0;
    case Rule::All:
        return present == int(item.kinds.size());
    case Rule::AtLeastTwo:
        return present >= 2;
    }
    return false;
}

std::vector<bool> groupMenuEnabled(const core::PartTable& parts)
{
    std::vector<bool> enabled;
    const int n = int(groupMenuItems().size());
    enabled.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i)
        enabled.push_back(groupItemEnabled(parts, i));
    return enabled;
}

bool runGroupItem(core::PortraitState& state, core::PickerMarks& marks, int index,
                  core::FigureMenuHost* host)
{
    const auto items = groupMenuItems();
    if (index < 0 || index >= int(items.size()))
        return false;
    const GroupMenuItem& item = items[std::size_t(index)];
    if (item.rule == Rule::Heading || item.rule == Rule::Submenu)
        return false;
    for (int k : item.kinds)
        deletePart(state, marks, k, host);
    return true;
}

}  // namespace editor
