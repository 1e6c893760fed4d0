#pragma once

// The editor's part commands without a window: the part menu acting on the selected part
// and the group menu deleting placed parts by group. Each changes the portrait and leaves the
// redraw (which also records the history step) to the caller.

#include "core/partimages.h"
#include "core/portrait.h"

#include <QString>

#include <array>
#include <span>
#include <vector>

namespace editor {

// Part menu ("削除", "標準位置に戻す", "標準ｻｲｽﾞに戻す") on kind k. Kinds outside 1..22 do
// nothing.
// "削除": RemovePart (which resets what depends on the part) and no part in use for k.
void deletePart(core::PortraitState& state, core::PickerMarks& marks, int k,
                core::FigureMenuHost* host);
// "標準位置に戻す": the slot's position back to its base, the one-third-scale slot likewise;
// growth, tilt and extra stay.
void restoreStandardPosition(core::PortraitState& state, core::PartTable& preview, int k);
// "標準ｻｲｽﾞに戻す": no growth; position, tilt and extra stay.
void restoreStandardSize(core::PortraitState& state, int k);

// One item of the group menu. Items with kinds delete them in their order; a submenu's
// items follow it in the table with its number as their parent.
struct GroupMenuItem {
    enum class Rule {
        Heading,     // no action; always enabled
        Submenu,     // enabled when any kind of its items has a part
        Any,         // enabled when any of its kinds has a part (a single kind: that kind)
        All,         // enabled when every one of its kinds has a part ("全部", "両方")
        AtLeastTwo,  // enabled when at least two of its kinds have a part (the face's "全部")
    };
    const char* name;          // the item's name, e.g. "menuP2PartsKami(1)"
    const char16_t* caption;   // e.g. u"全部"
    int parent;                // index of its submenu in the table, -1 for the top level
    Rule rule;
    std::span<const int> kinds;
};

// The group menu in display order, submenus before their items.
std::span<const GroupMenuItem> groupMenuItems();

// Whether item `index` of groupMenuItems() is enabled for the portrait in `parts`.
bool groupItemEnabled(const core::PartTable& parts, int index);
// All of them at once, in table order.
std::vector<bool> groupMenuEnabled(const core::PartTable& parts);

// Removes the kinds of item `index` in its order with RemovePart and clears their parts in
// use. False (nothing changed) for a heading or a submenu.
bool runGroupItem(core::PortraitState& state, core::PickerMarks& marks, int index,
                  core::FigureMenuHost* host);

}  // namespace editor
