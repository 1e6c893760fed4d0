// The File menu and the editor window's lifetime.

#include "app/mainform.h"

#include "catalog/partsdatabase.h"
#include "catalog/recordsource.h"
#include "catalog/schema.h"
#include "core/document.h"
#include "core/inifile.h"
#include "app/characterform.h"
#include "editor/editform.h"
#include "editor/partspos.h"
#include "editor/position.h"
#include "picker/picker.h"
#include "imaging/engine/errors.h"
#include "imaging/view/imageview.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace app {

namespace {

// Why the editor cannot show portraits from the parts database in `appPath`; nothing when
// the database opens.
std::optional<QString> partsDatabaseProblem(const QString& appPath)
{
    const QString name = QString::fromLatin1(catalog::kPartsDatabaseName);
    const QString path = core::findFileNoCase(appPath, name);
    if (!QFileInfo(path).isFile())
        return QStringLiteral("パーツデータベース「%1」が見つかりません。\n%2\n\n"
                              "似顔絵を作るにはパーツデータベースが必要です。")
            .arg(name, QDir::toNativeSeparators(path));
    catalog::PartsDatabase db;
    if (const catalog::DbResult r = db.open(path, QString::fromLatin1(catalog::kListOrderSource),
                                            catalog::OpenMode::ReadOnly);
        !r)
        return QStringLiteral("パーツデータベース「%1」を開けません。\n%2")
            .arg(name, r.error());
    return std::nullopt;
}

}  // namespace

bool MainForm::loadEditorWindow()
{
    if (editor_ && editorOpen_)
        return true;
    // An editor that closed itself may still wait for its deletion.
    discardEditorWindow();
    // One clear message rather than the editor's technical one; the rest of the program
    // (opening, new portraits once the database is back, help) stays usable.
    if (const std::optional<QString> problem = partsDatabaseProblem(appPath_)) {
        showError(this, *problem);
        showNoEditor();
        return false;
    }
    auto* form = new editor::EditForm(session_, *this);
    QMdiSubWindow* sub = mdi_->addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(windowIcon());
    // The editor's frame keeps the canvas size the composition sets.
    sub->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                        | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                        | Qt::WindowCloseButtonHint);
    sub->hide();
    editor_ = form;
    editorSub_ = sub;
    connect(form, &editor::EditForm::portraitComposed, this, [this] {
        picker_->refreshMarks();
        if (partsPos_)
            partsPos_->syncFromState();
        if (position_)
            position_->syncFromState();
    });
    // The close box closes the editor without this window asking for it.
    connect(sub, &QObject::destroyed, this, [this] {
        delete character_.data();
        editor_ = nullptr;
        editorSub_ = nullptr;
    });
    if (!form->loadEditor()) {
        // The editor has told the user why; without it the program still opens documents,
        // starts new portraits and shows its help.
        discardEditorWindow();
        showNoEditor();
        return false;
    }
    return true;
}

void MainForm::showNoEditor()
{
    showEditorUnloaded();
    setUndoEnabled(false);
    setRedoEnabled(false);
    setEditorOpen(false);
    SetMenuMode(kModeNoWindow);
}

bool MainForm::closeEditorWindow()
{
    if (!editor_)
        return true;
    if (!editor_->unloadEditor())
        return false;
    discardEditorWindow();
    return true;
}

void MainForm::discardEditorWindow()
{
    // The text dialog draws on this editor's canvas.
    delete character_.data();
    QMdiSubWindow* sub = editorSub_;
    editor_ = nullptr;
    editorSub_ = nullptr;
    delete sub;
}

bool MainForm::loadFirstPortrait(const QString& path)
{
    const core::DocumentLoad load = core::LoadDocument(path, session_.state, session_.captions);
    // A missing or damaged document gives the default portrait, which the editor's load
    // then treats as new.
    session_.history.FreshPortrait = load.freshPortrait;
    // A missing document was just written with part numbers only; once the parts are
    // placed it is written whole, so that a run that ends without closing the editor does
    // not leave a portrait of empty boxes behind.
    createdDocument_ = load.status == core::DocumentLoad::Status::Created ? path : QString();
    if (load.status != core::DocumentLoad::Status::Damaged
        || QFileInfo(path).absoluteFilePath()
               == QFileInfo(core::workSnapshotPath(appPath_)).absoluteFilePath())
        return true;
    // The default portrait must not go out under the damaged document's name: the next
    // 上書き保存 would replace the file with a portrait the user never made.
    showError(this, QStringLiteral("%1 は似顔絵として読み込めませんでした。新しい似顔絵を名前なしで開きます。")
                        .arg(QFileInfo(path).fileName()));
    return false;
}

void MainForm::newPortrait()
{
    // Offered only while no editor window is open.
    if (editorActive())
        return;
    setBusyPointer(true);
    setStatusText(2, QString::fromUtf16(kBuildingText));
    core::startNewPortrait(session_);
    documentName_.clear();
    if (!loadEditorWindow()) {
        setBusyPointer(false);
        setStatusText(2, QString());
        return;
    }
    mdiTimer_.start();
}

void MainForm::openFile()
{
    fileCommands_.openFile();
}

void MainForm::saveFile()
{
    if (editorActive())
        fileCommands_.saveFile();
}

void MainForm::saveFileAs()
{
    if (editorActive())
        fileCommands_.saveFileAs();
}

void MainForm::closeActiveChild()
{
    if (editorActive())
        closeEditorWindow();
}

bool MainForm::editorActive() const
{
    return editor_ && editorOpen_;
}

QString MainForm::workSnapshotPath() const
{
    return core::workSnapshotPath(appPath_);
}

std::optional<QString> MainForm::saveDocument(const QString& path)
{
    return core::SaveDocument(path, session_.state, session_.captions);
}

void MainForm::portraitNamed(const QString& path)
{
    documentName_ = path;
    if (editor_)
        editor_->setWindowTitle(path);
    // A portrait with a name can be saved over from now on.
    setMenuItemEnabled(MenuItem::FOverwrite, true);
}

bool MainForm::openPortrait(const QString& path)
{
    setBusyPointer(true);
    // Cancel to "保存しますか？" keeps the current portrait and its changes: nothing is
    // opened over them.
    if (!closeEditorWindow()) {
        setBusyPointer(false);
        return false;
    }
    setStatusText(2, QString::fromUtf16(kBuildingText));
    const QString name = QFileInfo(path).absoluteFilePath();
    const bool named = loadFirstPortrait(name);
    documentName_ = named ? name : QString();
    if (!loadEditorWindow()) {
        setBusyPointer(false);
        setStatusText(2, QString());
        return false;
    }
    if (named) {
        editor_->setWindowTitle(name);
        setMenuItemEnabled(MenuItem::FOverwrite, true);
    }
    mdiTimer_.start();
    return true;
}

void MainForm::openPicture(const QString&)
{
    // Image windows are not part of this program yet (imageWindowsAvailable() is false).
}

int MainForm::exportPicture(const QString& path, const PictureFormat& format)
{
    if (!editor_)
        return imaging::kErrBadHandle;
    // The captions are drawn into a copy: the canvas keeps showing them on the display only.
    imaging::Raster picture = editor_->canvas().raster();
    session_.captionDraw.BurnCaptions = true;
    core::Disp_Character(session_.captions, session_.captionDraw, picture);
    setBusyPointer(true);
    const int code = picture.save(path, format.format, format.bits, format.quality);
    setBusyPointer(false);
    return code;
}

}  // namespace app
