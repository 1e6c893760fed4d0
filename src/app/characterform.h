#pragma once

#include "core/captions.h"
#include "imaging/engine/raster.h"

#include <QDialog>
#include <QSize>
#include <QString>
#include <QTimer>

#include <array>
#include <functional>

class QLineEdit;
class QPushButton;

namespace core {
struct PortraitSession;
}

namespace editor {
class EditForm;
class EditorEnvironment;
}

namespace imaging {
struct FontDialogSettings;
class ImagingDialog;
}

namespace app {

// The engine's font dialog settings for a caption, and a caption updated from them. The
// seven text settings are packed as core/captions.h describes them; bits of TextSettingA
// the dialog does not edit are kept.
imaging::FontDialogSettings fontDialogSettings(const core::CaptionEntry& caption);
void applyFontDialogSettings(core::CaptionEntry& caption, const imaging::FontDialogSettings& settings);

// The text dialog "文字編集": edits the five captions of the session's CaptionTable. Modeless;
// parent it to the main window. The window deletes itself when it closes; its unload
// (CurrentCaption back to 0, the position kept in TextDialogPos) runs then.
//
// Controls are named (objectName): Text1, the caption buttons Command2_0 to
// Command2_4 ("1" to "5"), Command1 "フォント", the arrows Command4_0 to Command4_3
// ("←", "↑", "↓", "→"), Command3 "消去", Command5 "ＯＫ", and the font dialog ImgDlg1.
class CharacterForm : public QDialog {
    Q_OBJECT

public:
    // What the dialog's commands do to the editor.
    struct Hooks {
        // Disp_Character on the editor's canvas, shown at once; no snapshot.
        std::function<void()> redraw;
        // RecordSnapshot.
        std::function<void()> recordSnapshot;
    };

    // The hooks for the editor window: redraw is its showCaptions(); recordSnapshot records
    // in the session's history with the editor's databases and `environment` as its host.
    static Hooks editorHooks(core::PortraitSession& session, editor::EditForm& editor,
                             editor::EditorEnvironment& environment);

    // The dialog's load. `appPath` is the data folder holding the sample picture "ﾌｫﾝﾄ.bmp".
    CharacterForm(core::PortraitSession& session, const QString& appPath, Hooks hooks,
                  QWidget* parent = nullptr);
    ~CharacterForm() override;

    // Disp_Character for the dialog's own commands.
    void Disp_Character();

    int currentCaption() const;
    // The sample picture handed to the font dialog (white when the file is missing).
    const imaging::Raster& samplePicture() const { return Img1_; }
    imaging::ImagingDialog& fontDialog() const { return *ImgDlg1_; }

    // Steps of a held arrow button follow each other at this interval.
    static constexpr int kArrowRepeatMs = 30;

protected:
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    core::CaptionEntry& current();
    QSize canvasSize() const;
    bool active() const;
    void selectCaption(int index);
    void textEdited(const QString& text);
    void fontClicked();
    void fontDialogFinished(int result);
    void okClicked();
    void clearClicked();
    void arrowPressed(int arrow);
    bool arrowStep();  // false at the limit
    void arrowReleased();
    void recordSnapshot();
    void unload();

    core::PortraitSession& session_;
    Hooks hooks_;
    imaging::Raster Img1_;
    bool loaded_ = false;

    QLineEdit* Text1_ = nullptr;
    std::array<QPushButton*, core::CaptionTable::kCount> Command2_{};
    QPushButton* Command1_ = nullptr;
    std::array<QPushButton*, 4> Command4_{};
    QPushButton* Command3_ = nullptr;
    QPushButton* Command5_ = nullptr;
    imaging::ImagingDialog* ImgDlg1_ = nullptr;

    // The held arrow: which one, on which caption.
    QTimer arrowTimer_;
    int arrow_ = -1;
    int arrowCaption_ = 0;
};

}  // namespace app
