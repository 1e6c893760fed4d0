#pragma once

#include "app/filecommands.h"
#include "app/menumode.h"
#include "core/session.h"
#include "editor/editorenvironment.h"
#include "picker/pickerenvironment.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <array>
#include <memory>

class QActionGroup;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;

namespace editor {
class EditForm;
class PartsPos;
class Position;
}

namespace picker {
class Picker;
}

namespace photo {
class PhotoForm;
}

namespace print {
class PrintCommands;
class PrintPrompts;
}

namespace app {

class AboutBox;
class HelpWindow;
class Prompts;

struct MainFormOptions {
    QString appPath;   // the data folder; empty: core::appPath()
    QString document;  // the command line: the portrait document to open first
    Prompts* prompts = nullptr;  // null: the real dialogs
    print::PrintPrompts* printPrompts = nullptr;  // null: the real dialogs
};

// The main window "Faciora": the MDI frame with the menus, the part toolbar, the file
// toolbar and the status bar. It owns the portrait session and hands it to every window,
// and it is the environment the editor, the picker and the dialogs report to.
//
// The code is split by menu: mainform.cpp (building, start-up, menu state), _file (file
// commands and the editor's lifetime), _edit (undo, the part toolbar, the dialogs),
// _view (figure position, toolbars, the editor's place), _help (help and about).
class MainForm : public QMainWindow,
                 public editor::EditorEnvironment,
                 public picker::PickerEnvironment,
                 private MenuTarget,
                 private FileCommandHost {
    Q_OBJECT

public:
    static constexpr char16_t kCaption[] = u"Faciora";
    static constexpr char16_t kBuildingText[] = u"似顔絵を作成中です。";
    static constexpr char16_t kReadingText[] = u"ﾃﾞｰﾀﾍﾞｰｽ読み込み中です。";
    // MDITimer
    static constexpr int kStartTimerMs = 10;

    explicit MainForm(const MainFormOptions& options = {}, QWidget* parent = nullptr);
    ~MainForm() override;

    // The main window's load: settings, the first portrait (the document of the command
    // line, else the work snapshot), the editor; then MDITimer finishes the start.
    void start();
    // MDITimer's tick: the part pictures, the editor shown, the first composition.
    void finishPortraitStart();

    // Commands.
    void newPortrait();
    void openFile();
    void saveFile();
    void saveFileAs();
    void closeActiveChild();
    void undo();
    void redo();
    void setFigurePosition(int mode);  // "表示位置" item 0..3
    void toggleToolbar(int item);      // "ﾂｰﾙﾊﾞｰ(&T)" item 0..2
    void partButtonClicked(const QString& key);
    void fileButtonClicked(FileButton button);
    void showOptions();
    void showPartsPos();
    void showImageRegistration();  // "ｲﾒｰｼﾞ登録"
    void showHelp();
    void showAbout();
    // mainform_print.cpp: "印刷(&P)...", "プリンタ設定(&R)...", "印刷用紙設定(&F)...".
    void printImage();
    void printerSetup();
    void editPrintFormats();
    print::PrintCommands& printCommands();
    // A second Faciora asked for this window.
    void raiseWindow();

    // What tests and other windows look at.
    core::PortraitSession& session() { return session_; }
    QString appPath() const { return appPath_; }
    editor::EditForm* editor() const;
    QMdiSubWindow* editorWindow() const;
    QMdiArea* mdiArea() const { return mdi_; }
    picker::Picker& picker() const { return *picker_; }
    QAction* action(MenuItem item) const;
    QAction* figurePosAction(int mode) const;
    QAction* toolbarAction(int item) const;
    QAction* partAction(const QString& key) const;
    QAction* fileAction(FileButton button) const;
    QToolBar* partToolbar() const { return toolbar1_; }
    QToolBar* fileToolbar() const { return toolbar2_; }
    QString statusText(int panel) const;
    bool editorOpen() const { return editorOpen_; }
    bool shuttingDown() const { return shuttingDown_; }
    QTimer& mdiTimer() { return mdiTimer_; }
    // EditorTop / EditorLeft in twips, in the MDI area; image windows open there too.
    QPoint editorPlaceTwips() const { return {editorLeft_, editorTop_}; }
    HelpWindow* helpWindow() const;
    AboutBox* aboutBox() const;
    photo::PhotoForm* photoForm() const;

    // editor::EditorEnvironment (with core::EditorHost, core::HistoryHost)
    bool figurePosMenuEnabled() const override;
    void setFigurePosMenuEnabled(bool enabled) override;
    void checkFigurePosItem(int mode) override;
    void setBusyPointer(bool busy) override;
    void closePositionDialog() override;
    void setEditorClientSize(int width, int height) override;
    void PlaceEditorWindow() override;
    void setUndoEnabled(bool enabled) override;
    void setRedoEnabled(bool enabled) override;
    QSize editorWindowSizeTwips() const override;
    void setEditorWindowSizeTwips(QSize size) override;
    void setStatusText(int panel, const QString& text) override;
    QString DocumentName() const override { return documentName_; }
    void setEditorOpen(bool open) override;
    void showEditorLoaded() override;
    void showEditorUnloaded() override;
    void SetMenuMode(int mode) override;
    void closePicker() override;
    void closePartsPos() override;
    bool reopenAfterExport() const override { return reopenAfterExport_; }
    void setReopenAfterExport(bool on) override { reopenAfterExport_ = on; }
    SaveAnswer askSaveChanges(QWidget* parent, const QString& caption) override;
    void showError(QWidget* parent, const QString& text) override;

    // picker::PickerEnvironment
    void setUserImageMenuEnabled(bool enabled) override;
    bool toolbarShown(int toolbar) const override;
    void pickerActivated() override;
    void showCharacterDialog() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // mainform.cpp
    void createActions();
    void createMenus();
    void createToolbars();
    void createStatusBar();
    void subWindowActivated(QMdiSubWindow* window);
    void editorActivated();
    void setMenuItemVisible(MenuItem item, bool visible) override;
    void setMenuItemEnabled(MenuItem item, bool enabled) override;
    bool fileToolbarVisible() const override;
    void setFileButtonEnabled(FileButton button, bool enabled) override;
    void setPartToolbarEnabled(bool enabled);
    void setFileButtonsForEditor(bool loaded);

    // mainform_file.cpp
    bool loadEditorWindow();
    bool closeEditorWindow();
    void discardEditorWindow();
    void showNoEditor();
    // False when a named document could not be read (the user was told): the default
    // portrait then opens untitled.
    bool loadFirstPortrait(const QString& path);
    QWidget* dialogParent() override { return this; }
    bool editorActive() const override;
    QString documentName() const override { return documentName_; }
    QString workSnapshotPath() const override;
    std::optional<QString> saveDocument(const QString& path) override;
    void portraitNamed(const QString& path) override;
    bool openPortrait(const QString& path) override;
    bool imageWindowsAvailable() const override { return false; }
    void openPicture(const QString& path) override;
    int exportPicture(const QString& path, const PictureFormat& format) override;

    // mainform_view.cpp
    void applyToolbarVisibility(int item);
    double dpiX() const;
    double dpiY() const;

    core::PortraitSession session_;
    QString appPath_;
    QString documentName_;
    QString createdDocument_;  // written whole once its parts are placed
    std::unique_ptr<Prompts> ownPrompts_;
    Prompts* prompts_ = nullptr;
    FileCommands fileCommands_;

    // Application state of the main window.
    bool shuttingDown_ = false;
    bool editorOpen_ = false;
    bool reopenAfterExport_ = false;
    bool busy_ = false;
    std::array<bool, 3> toolbarShown_{true, true, false};
    qint16 editorTop_ = 0;
    qint16 editorLeft_ = 0;

    QMdiArea* mdi_ = nullptr;
    QPointer<editor::EditForm> editor_;
    QPointer<QMdiSubWindow> editorSub_;
    QTimer mdiTimer_;

    std::array<QAction*, int(MenuItem::Count)> actions_{};
    std::array<QAction*, 4> figurePosActions_{};
    std::array<QAction*, 3> toolbarActions_{};
    std::array<QAction*, 8> fileButtons_{};  // by FileButton number
    QList<QAction*> partActions_;
    QList<QAction*> optionBar1_;  // buttons 9 to 14
    QList<QAction*> optionBar2_;  // buttons 15 to 22
    QToolBar* toolbar1_ = nullptr;
    QToolBar* toolbar2_ = nullptr;
    std::array<QLabel*, 3> panels_{};

    picker::Picker* picker_ = nullptr;
    QPointer<HelpWindow> help_;
    QPointer<AboutBox> about_;
    QPointer<QWidget> options_;
    QPointer<QWidget> character_;
    QPointer<editor::PartsPos> partsPos_;
    QPointer<editor::Position> position_;
    QPointer<photo::PhotoForm> photoForm_;
    print::PrintPrompts* printPrompts_ = nullptr;
    print::PrintCommands* printCommands_ = nullptr;
};

}  // namespace app
