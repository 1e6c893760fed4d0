#pragma once

#include "app/menumode.h"

#include <array>
#include <span>

namespace app {

inline constexpr int kToolbarIconSize = 28;

// The part toolbar (Toolbar1): one button per picker category and the text button, in the
// picker's strip order. Group 0 is always shown; groups 1 and 2 are option toolbars 1 and 2
// (each begins with a separator and is hidden from "ﾂｰﾙﾊﾞｰ(&T)"); group 3 is "moji".
struct PartButton {
    const char* key;
    const char16_t* toolTip;
    int group;
};
std::span<const PartButton> partButtons();

// The file toolbar (Toolbar2).
struct FileButtonInfo {
    FileButton id;
    const char* key;
    const char16_t* toolTip;
};
const std::array<FileButtonInfo, 6>& fileButtonTable();

}  // namespace app
