#pragma once

#include <QWidget>

#include <functional>

namespace editor {

// Runs a redraw for a modeless dialog. Redrawing resizes and places the editor window, which
// takes the focus; a dialog that had it gets it back.
inline void composeKeepingFocus(QWidget& dialog, const std::function<void()>& compose)
{
    if (!compose)
        return;
    const bool wasActive = dialog.isActiveWindow();
    compose();
    if (wasActive && !dialog.isActiveWindow())
        dialog.activateWindow();
}

}  // namespace editor
