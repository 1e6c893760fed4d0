#pragma once

#include <cstdint>
#include <span>

namespace app {

// Every menu entry whose visibility or enabled state the menu modes set, plus the other
// commands of the main window. Entries of commands that do not exist yet stay in the tables
// so that the modes read as one piece; the window has no item for them and skips them.
enum class MenuItem : int {
    // ﾌｧｲﾙ(&F)
    FNew,
    FOpen,
    FClose,
    FOverwrite,
    FFilename,
    FFormat,
    FprtFrm,
    Fprtset,
    FPrint,
    FEnd,
    FSepa0,
    FSepa2,
    // 編集(&E)
    Edit,
    EUndo,
    ERedo,
    ESepa1,
    EUser,
    EParts,
    EUndo2,
    EUpdown,
    ERightLeft,
    EScurue,
    EResize,
    EMask,
    // 表示(&V)
    View,
    VPoint,
    VToolber,
    VSepa0,
    VSepa1,
    VOption,
    // ｶﾗｰ(&C)
    Color,
    // ﾍﾙﾌﾟ(&H)
    HHelp,
    HVersion,
    Count
};

// File toolbar buttons by key; the numbers are the buttons' positions (5 is the separator).
enum class FileButton : int {
    NewImage = 1,
    OpenImage = 2,
    SaveImage = 3,
    PrintImage = 4,
    UndoImage = 6,
    RedoImage = 7,
};

// One line of a mode's table. Keep leaves that side of the item as it is.
enum class Set : std::int8_t { Keep, Off, On };
struct MenuSetting {
    MenuItem item;
    Set shown;
    Set enabled;
};

// The three states of the menus: no document window, the portrait editor active, an image
// window active.
inline constexpr int kModeNoWindow = 1;
inline constexpr int kModeEditor = 2;
inline constexpr int kModeImage = 3;

// The table of a mode; empty for any other number.
std::span<const MenuSetting> menuModeSettings(int mode);

// What the menu modes act on. Items the window does not have are ignored by it.
class MenuTarget {
public:
    virtual ~MenuTarget() = default;
    virtual void setMenuItemVisible(MenuItem item, bool visible) = 0;
    virtual void setMenuItemEnabled(MenuItem item, bool enabled) = 0;
    virtual bool fileToolbarVisible() const = 0;
    virtual void setFileButtonEnabled(FileButton button, bool enabled) = 0;
};

// SetMenuMode: applies every line of the mode's table in order; after mode 1 a visible file
// toolbar also gets "SaveImage" and "PrintImage" disabled. Any other mode does nothing.
void SetMenuMode(MenuTarget& target, int mode);

}  // namespace app
