#pragma once

#include "core/portrait.h"

#include <QSize>
#include <QString>

class QWidget;

namespace picker {

// What the parts picker needs from the main window. The main window implements it; the
// picker's tests fake it. Calls that the editor's and the history's host interfaces declare
// with the same signature (the "表示位置" menu, the editor window's size, the status bar) are
// meant to be answered by the same override.
//
// It is a FigureMenuHost, so that erasing a part (RemovePart) reaches "表示位置" and the
// Position dialog through it.
class PickerEnvironment : public core::FigureMenuHost {
public:
    ~PickerEnvironment() override = default;

    // "表示位置": uncheck its four items and check the one of `mode` (0 左, 1 中央, 2 右, 3 その他).
    virtual void checkFigurePosItem(int mode) = 0;

    // The editor window's outer size in twips; the 27-pixel caption it includes is the
    // platform's frame here, so the canvas is the height less 27 pixels.
    virtual void setEditorWindowSizeTwips(QSize size) = 0;

    // Status bar panels 1 to 3; the picker writes its progress texts into panel 2.
    virtual void setStatusText(int panel, const QString& text) = 0;

    // "ｲﾒｰｼﾞ登録" (menuEUser): off while the picker shows the registered pictures.
    virtual void setUserImageMenuEnabled(bool enabled) = 0;

    // ToolbarShown: 0 option toolbar 1, 1 option toolbar 2, 2 the file toolbar.
    virtual bool toolbarShown(int toolbar) const = 0;

    // The picker became the active window: file toolbar buttons 1 and 2 (new, open) disabled
    // and 3 and 4 (save, print) enabled.
    virtual void pickerActivated() = 0;

    // The strip's "moji" button: the text dialog "文字編集", modeless, owned by the main window.
    virtual void showCharacterDialog() = 0;

    // A message with an OK button over `parent` ("カテゴリー確認", a database that cannot be
    // opened). The default shows a message box; tests override it.
    virtual void showMessage(QWidget* parent, const QString& title, const QString& text);
};

}  // namespace picker
