#pragma once

#include "core/compose.h"
#include "core/history.h"

#include <QSize>
#include <QString>

class QWidget;

namespace editor {

// What the editor window needs from the main window. The main window implements it (it owns
// the menus, the toolbars, the status bar, the picker, the placement dialogs and the MDI
// sub-window the editor lives in); the editor's tests fake it.
//
// Both core interfaces are included, so that the main window answers the composition, the
// history and RemovePart through this one object (it is a FigureMenuHost too). Where both
// bases declare the same call, one override serves both.
//
// Activation is the main window's own business (QMdiArea::subWindowActivated): ActiveChild,
// SetMenuMode(2), file toolbar buttons 3 and 4 enabled and 2 disabled.
class EditorEnvironment : public core::EditorHost, public core::HistoryHost {
public:
    enum class SaveAnswer { Yes, No, Cancel };

    ~EditorEnvironment() override = default;

    // Declared again so that calls through this class are not ambiguous.
    bool figurePosMenuEnabled() const override = 0;
    void setFigurePosMenuEnabled(bool enabled) override = 0;
    void checkFigurePosItem(int mode) override = 0;
    void setBusyPointer(bool busy) override = 0;

    // The editor's own side of a composition. EditForm answers these itself (it passes its
    // own host to the composer), so the main window has nothing to do here.
    void dropPartSelection() final {}
    void setCanvasVisible(bool) final {}

    // From core::EditorHost, still to be implemented by the main window:
    //   setEditorClientSize(w, h): size the editor's sub-window so that its client area (the
    //     EditForm widget, which is all canvas) is w x h pixels; the frame is the platform's.
    //   PlaceEditorWindow(): EditorTop/EditorLeft below the toolbars.
    // From core::HistoryHost: the undo/redo commands, "表示位置", the editor window's size
    // in twips (the sub-window's outer size), the pointer.
    // From core::FigureMenuHost: closePositionDialog() (the "人物表示位置" dialog).

    // Status bar panels, numbered 1 to 3. The editor writes panel 3 (the canvas's client
    // size, "300×300"); panel 2 carries the progress texts.
    virtual void setStatusText(int panel, const QString& text) = 0;

    // The path of the portrait document; empty for an untitled portrait.
    virtual QString DocumentName() const = 0;

    // EditorOpen: true once the editor's load reached its step 6, false at its unload.
    virtual void setEditorOpen(bool open) = 0;

    // The main window's state for a loaded editor: "名前を付けて保存(&A)..." and "印刷(&P)..."
    // enabled, "新規作成(&N)..." and "開く(&O)..." disabled, the part toolbar enabled, file
    // toolbar buttons 1 and 2 disabled and 3 and 4 enabled, the three "ﾂｰﾙﾊﾞｰ(&T)" items ticked
    // as ToolbarShown says, and "上書き保存(&S)" enabled exactly when there is a DocumentName.
    // The editor disables undo and redo itself right after (through HistoryHost).
    virtual void showEditorLoaded() = 0;

    // The main window's state once the editor is gone: the part toolbar disabled, file
    // toolbar buttons 1 and 2 enabled and 3 and 4 disabled, "新規作成(&N)..." and
    // "開く(&O)..." enabled. Undo/redo, EditorOpen and SetMenuMode(1) are called separately.
    virtual void showEditorUnloaded() = 0;

    // MenuMod: 1 no document window, 2 editor active, 3 image window active.
    virtual void SetMenuMode(int mode) = 0;

    // Closed when the editor unloads: the parts picker and the "似顔絵調整" dialog (PartsPos).
    // Nothing when they are not open.
    virtual void closePicker() = 0;
    virtual void closePartsPos() = 0;

    // ReopenAfterExport: set by a picture export from the editor, which has already offered
    // to save; the editor's load clears it and its unload then neither compares nor saves.
    virtual bool reopenAfterExport() const = 0;
    virtual void setReopenAfterExport(bool on) = 0;

    // The question asked when a named, modified portrait closes: "保存しますか？", a line
    // break and `caption` (the editor's caption), with Yes, No and Cancel. The default shows
    // a question box over `parent`; tests override it.
    virtual SaveAnswer askSaveChanges(QWidget* parent, const QString& caption);

    // A failure the user is told about (load errors, a failed save): a message box titled
    // "Faciora" over `parent` by default; tests override it.
    virtual void showError(QWidget* parent, const QString& text);
};

}  // namespace editor
