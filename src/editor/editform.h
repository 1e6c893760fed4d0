#pragma once

#include "core/compose.h"
#include "core/history.h"
#include "editor/editorenvironment.h"
#include "imaging/engine/raster.h"

#include <QString>
#include <QWidget>

#include <memory>

class QMenu;

namespace catalog {
class PartsDatabase;
}

namespace core {
struct PortraitSession;
}

namespace imaging {
class ImageView;
}

namespace editor {

// The portrait editor ("似顔絵作成ｳｨﾝﾄﾞｳ"): shows the composed portrait and lets the user pick,
// drag, stretch, delete and reset parts. The widget is all canvas; the main window puts it
// in an MDI sub-window, whose frame is the platform's. There is one editor at a time.
//
// Every window that changes the portrait calls composePortrait() afterwards.
class EditForm : public QWidget {
    Q_OBJECT

public:
    static constexpr char16_t kCaption[] = u"似顔絵作成ｳｨﾝﾄﾞｳ";

    EditForm(core::PortraitSession& session, EditorEnvironment& environment,
             QWidget* parent = nullptr);
    ~EditForm() override;

    // The editor's load: opens the parts and photo databases in the data folder, fills the
    // default slots of a fresh portrait from ShowDefaultFace, clears the selection and the
    // picker marks, empties the history and sets the main window's state. On failure the
    // message is shown (EditorEnvironment::showError) and false comes back; the editor then
    // counts as not loaded, and unloadEditor() neither compares nor saves.
    bool loadEditor();
    bool isLoaded() const { return loaded_; }

    // Redraws the whole portrait on the canvas, draws the captions and records a history
    // snapshot. Ends any selection on the canvas.
    void composePortrait();

    // Draws the captions again (Disp_Character) on the canvas: shown over the portrait, or
    // burnt into the canvas picture itself while BurnCaptions is set (the picture export).
    // The text dialog calls it after a change, then records its snapshot.
    void showCaptions();

    // Fetches the pictures of the placed parts (RebuildPartImages) from the editor's
    // databases; what it reports is returned for the caller to show or ignore.
    core::RebuildReport rebuildPartImages();

    // "戻る(&U)" and "進む(&R)": step, fetch the pictures that differ, compose.
    bool undo();
    bool redo();

    imaging::ImageView& canvas();
    // The editor's view of the parts database (DPeople); its first record is the blank tile.
    catalog::PartsDatabase& partsView();
    catalog::PartsDatabase& photosView();
    // The blank tile the canvas starts from.
    const imaging::Raster& blankTile() const;

    // Whether the portrait differs from what its document (or the work snapshot, for an
    // untitled portrait) and its companion hold: FileNo to Angle of each slot (not Extra,
    // ShiftX, ShiftY) and every caption field. A missing or unreadable file counts as
    // different.
    bool isModified() const;

    // Closing the editor. Unless ReopenAfterExport is set or the load did not complete: a
    // named, modified portrait asks "保存しますか？" (Yes saves, No goes on, Cancel returns
    // false and nothing else happens); an untitled portrait is always written to the work
    // snapshot. Then the picker and the placement dialogs are closed, the main window's
    // state is set for no editor, and the slider globals and OptionMemory are reset.
    // Does not close the widget itself; closing the widget (its sub-window's close box, or
    // "閉じる(&C)") runs this first and stays open on Cancel. Once unloaded, a second call
    // does nothing and returns true.
    bool unloadEditor();

    // Selection state, for the main window and tests.
    int selectedKind() const;
    bool partSelected() const;
    bool dragActive() const;
    bool resizeActive() const;

    // The two pop-up menus; built once, shown on a right click.
    QMenu* partMenu() const;
    QMenu* groupMenu() const;

signals:
    // After each composition (the canvas holds the new portrait).
    void portraitComposed();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    bool loaded_ = false;
};

}  // namespace editor
