#include "app/menumode.h"

namespace app {

namespace {

using enum MenuItem;
constexpr Set K = Set::Keep;
constexpr Set N = Set::Off;
constexpr Set Y = Set::On;

constexpr MenuSetting kEditorMode[] = {
    {FNew, N, K},
    {FOpen, Y, N},
    {FClose, Y, Y},
    {FOverwrite, Y, K},
    {FFilename, Y, Y},
    {FFormat, N, K},
    {FPrint, Y, K},
    {FprtFrm, Y, K},
    {Fprtset, Y, K},
    {FEnd, Y, Y},
    {FSepa0, Y, K},
    {FSepa2, Y, K},
    {Edit, Y, Y},
    {EUndo, Y, K},
    {ERedo, Y, K},
    {EUser, Y, Y},
    {EParts, Y, Y},
    {EUndo2, N, K},
    {EUpdown, N, K},
    {ERightLeft, N, K},
    {EScurue, N, K},
    {EResize, N, K},
    {EMask, N, K},
    {View, Y, K},
    {VPoint, Y, K},
    {Color, N, K},
};

constexpr MenuSetting kImageMode[] = {
    {FNew, N, N},
    {FOpen, Y, Y},
    {FClose, Y, Y},
    {FOverwrite, Y, Y},
    {FFilename, Y, Y},
    {FFormat, Y, K},
    {FPrint, Y, Y},
    {FprtFrm, Y, Y},
    {Fprtset, Y, Y},
    {FEnd, Y, Y},
    {Edit, Y, K},
    {EUser, N, K},
    {EParts, N, K},
    {EUndo2, Y, K},
    {EUpdown, Y, K},
    {ERightLeft, Y, K},
    {EScurue, Y, K},
    {EResize, Y, K},
    {EMask, Y, K},
    {ESepa1, N, K},
    {ERedo, N, K},
    {EUndo, N, K},
    {View, Y, K},
    {VPoint, N, K},
    {VToolber, N, K},
    {VSepa0, N, K},
    {VSepa1, N, K},
    {Color, Y, K},
};

constexpr MenuSetting kNoWindowMode[] = {
    {FNew, Y, Y},
    {FOpen, Y, Y},
    {FClose, N, K},
    {FOverwrite, N, K},
    {FFilename, N, K},
    {FFormat, N, K},
    {FPrint, N, K},
    {FprtFrm, N, K},
    {Fprtset, N, K},
    {FEnd, Y, Y},
    {FSepa0, N, K},
    {FSepa2, N, K},
    {Edit, N, K},
    {View, N, K},
    {Color, N, K},
};

}  // namespace

std::span<const MenuSetting> menuModeSettings(int mode)
{
    switch (mode) {
    case kModeNoWindow:
        return kNoWindowMode;
    case kModeEditor:
        return kEditorMode;
    case kModeImage:
        return kImageMode;
    default:
        return {};
    }
}

void SetMenuMode(MenuTarget& target, int mode)
{
    for (const MenuSetting& s : menuModeSettings(mode)) {
        if (s.shown != Set::Keep)
            target.setMenuItemVisible(s.item, s.shown == Set::On);
        if (s.enabled != Set::Keep)
            target.setMenuItemEnabled(s.item, s.enabled == Set::On);
    }
    if (mode == kModeNoWindow && target.fileToolbarVisible()) {
        target.setFileButtonEnabled(FileButton::SaveImage, false);
        target.setFileButtonEnabled(FileButton::PrintImage, false);
    }
}

}  // namespace app
