#include "app/mainform.h"

#include "app/aboutbox.h"
#include "app/characterform.h"
#include "app/helpwindow.h"
#include "app/icons.h"
#include "app/prompts.h"
#include "app/toolbarbuttons.h"
#include "core/document.h"
#include "core/options.h"
#include "editor/editform.h"
#include "editor/partspos.h"
#include "editor/position.h"
#include "picker/picker.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace app {

MainForm::MainForm(const MainFormOptions& options, QWidget* parent)
    : QMainWindow(parent),
      appPath_(options.appPath.isEmpty() ? core::appPath() : options.appPath),
      documentName_(options.document),
      ownPrompts_(options.prompts ? nullptr : std::make_unique<DialogPrompts>()),
      prompts_(options.prompts ? options.prompts : ownPrompts_.get()),
      fileCommands_(*this, *prompts_),
      printPrompts_(options.printPrompts)
{
    setWindowTitle(QString::fromUtf16(kCaption));
    setWindowIcon(applicationIcon());
    mdi_ = new QMdiArea(this);
    setCentralWidget(mdi_);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &MainForm::subWindowActivated);

    mdiTimer_.setSingleShot(true);
    mdiTimer_.setInterval(kStartTimerMs);
    connect(&mdiTimer_, &QTimer::timeout, this, &MainForm::finishPortraitStart);

    picker_ = new picker::Picker(session_, *this, this, appPath_);
    picker_->setComposer([this] {
        if (editorActive())
            editor_->composePortrait();
    });

    createActions();
    createMenus();
    createToolbars();
    createStatusBar();
    resize(800, 640);
}

MainForm::~MainForm()
{
    mdiTimer_.stop();
    // These windows hold the session by reference: they go before it does.
    delete picker_;
    delete partsPos_.data();
    delete position_.data();
    delete character_.data();
    delete options_.data();
    delete editorSub_.data();
    if (busy_)
        QApplication::restoreOverrideCursor();
}

void MainForm::createActions()
{
    auto make = [this](MenuItem item, const char16_t* text) {
        auto* a = new QAction(QString::fromUtf16(text), this);
        actions_[std::size_t(item)] = a;
        return a;
    };
    auto separator = [this](MenuItem item) {
        auto* a = new QAction(this);
        a->setSeparator(true);
        actions_[std::size_t(item)] = a;
    };

    // The usual keys, the same on every platform.
    QAction* a = make(MenuItem::FNew, u"新規作成(&N)...");
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(a, &QAction::triggered, this, &MainForm::newPortrait);
    a = make(MenuItem::FOpen, u"開く(&O)...");
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(a, &QAction::triggered, this, &MainForm::openFile);
    a = make(MenuItem::FClose, u"閉じる(&C)");
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    connect(a, &QAction::triggered, this, &MainForm::closeActiveChild);
    separator(MenuItem::FSepa0);
    a = make(MenuItem::FOverwrite, u"上書き保存(&S)");
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(a, &QAction::triggered, this, &MainForm::saveFile);
    a = make(MenuItem::FFilename, u"名前を付けて保存(&A)...");
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    connect(a, &QAction::triggered, this, &MainForm::saveFileAs);
    separator(MenuItem::FSepa2);
    a = make(MenuItem::FprtFrm, u"印刷用紙設定(&F)...");
    connect(a, &QAction::triggered, this, &MainForm::editPrintFormats);
    a = make(MenuItem::Fprtset, u"プリンタ設定(&R)...");
    connect(a, &QAction::triggered, this, &MainForm::printerSetup);
    a = make(MenuItem::FPrint, u"印刷(&P)...");
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(a, &QAction::triggered, this, &MainForm::printImage);
    a = make(MenuItem::FEnd, u"終了(&X)");
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    a->setMenuRole(QAction::QuitRole);
    connect(a, &QAction::triggered, this, &QWidget::close);

    a = make(MenuItem::EUndo, u"戻る(&U)");
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    a->setEnabled(false);
    connect(a, &QAction::triggered, this, &MainForm::undo);
    a = make(MenuItem::ERedo, u"進む(&R)");
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    a->setEnabled(false);
    connect(a, &QAction::triggered, this, &MainForm::redo);
    separator(MenuItem::ESepa1);
    a = make(MenuItem::EUser, u"ｲﾒｰｼﾞ登録");
    connect(a, &QAction::triggered, this, &MainForm::showImageRegistration);
    a = make(MenuItem::EParts, u"ﾊﾟｰﾂ調整");
    connect(a, &QAction::triggered, this, &MainForm::showPartsPos);

    static constexpr const char16_t* kPositions[4] = {u"左", u"中央", u"右", u"その他"};
    for (int i = 0; i < 4; ++i) {
        auto* item = new QAction(QString::fromUtf16(kPositions[i]), this);
        item->setCheckable(true);
        item->setObjectName(QStringLiteral("menuVPmode_%1").arg(i));
        connect(item, &QAction::triggered, this, [this, i] { setFigurePosition(i); });
        figurePosActions_[std::size_t(i)] = item;
    }
    static constexpr const char16_t* kToolbars[3] = {u"ｵﾌﾟｼｮﾝﾂｰﾙﾊﾞｰ1", u"ｵﾌﾟｼｮﾝﾂｰﾙﾊﾞｰ2", u"ﾌｧｲﾙﾂｰﾙﾊﾞｰ"};
    for (int i = 0; i < 3; ++i) {
        auto* item = new QAction(QString::fromUtf16(kToolbars[i]), this);
        item->setCheckable(true);
        item->setChecked(toolbarShown_[std::size_t(i)]);
        item->setObjectName(QStringLiteral("menuVOtoolber_%1").arg(i));
        connect(item, &QAction::triggered, this, [this, i] { toggleToolbar(i); });
        toolbarActions_[std::size_t(i)] = item;
    }
    separator(MenuItem::VSepa0);
    separator(MenuItem::VSepa1);
    a = make(MenuItem::VOption, u"ｵﾌﾟｼｮﾝ(&O)...");
    connect(a, &QAction::triggered, this, &MainForm::showOptions);

    a = make(MenuItem::HHelp, u"ﾍﾙﾌﾟ(&H)");
    a->setShortcut(QKeySequence(Qt::Key_F1));
    connect(a, &QAction::triggered, this, &MainForm::showHelp);
    a = make(MenuItem::HVersion, u"ﾊﾞｰｼﾞｮﾝ情報(&A)");
    a->setMenuRole(QAction::AboutRole);
    connect(a, &QAction::triggered, this, &MainForm::showAbout);
}

void MainForm::createMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    for (MenuItem item : {MenuItem::FNew, MenuItem::FOpen, MenuItem::FClose, MenuItem::FSepa0,
                          MenuItem::FOverwrite, MenuItem::FFilename, MenuItem::FSepa2})
        file->addAction(action(item));
    for (MenuItem item : {MenuItem::FprtFrm, MenuItem::Fprtset, MenuItem::FPrint})
        file->addAction(action(item));
    file->addSeparator();
    file->addAction(action(MenuItem::FEnd));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    actions_[std::size_t(MenuItem::Edit)] = edit->menuAction();
    for (MenuItem item : {MenuItem::EUndo, MenuItem::ERedo, MenuItem::ESepa1, MenuItem::EUser, MenuItem::EParts})
        edit->addAction(action(item));

    QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    actions_[std::size_t(MenuItem::View)] = view->menuAction();
    QMenu* point = view->addMenu(QStringLiteral("表示位置"));
    actions_[std::size_t(MenuItem::VPoint)] = point->menuAction();
    for (QAction* item : figurePosActions_)
        point->addAction(item);
    // Enabled by the composition while the canvas is wide.
    point->menuAction()->setEnabled(false);
    view->addAction(action(MenuItem::VSepa0));
    QMenu* bars = view->addMenu(QStringLiteral("ﾂｰﾙﾊﾞｰ(&T)"));
    actions_[std::size_t(MenuItem::VToolber)] = bars->menuAction();
    for (QAction* item : toolbarActions_)
        bars->addAction(item);
    view->addAction(action(MenuItem::VSepa1));
    view->addAction(action(MenuItem::VOption));

    QMenu* help = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    help->addAction(action(MenuItem::HHelp));
    help->addAction(action(MenuItem::HVersion));
}

void MainForm::createToolbars()
{
    toolbar2_ = new QToolBar(QStringLiteral("ﾌｧｲﾙﾂｰﾙﾊﾞｰ"), this);
    toolbar2_->setObjectName(QStringLiteral("Toolbar2"));
    toolbar1_ = new QToolBar(QStringLiteral("ﾊﾟｰﾂﾂｰﾙﾊﾞｰ"), this);
    toolbar1_->setObjectName(QStringLiteral("Toolbar1"));
    for (QToolBar* bar : {toolbar2_, toolbar1_}) {
        bar->setMovable(false);
        bar->setFloatable(false);
        bar->setIconSize(QSize(kToolbarIconSize, kToolbarIconSize));
    }
    addToolBar(Qt::TopToolBarArea, toolbar2_);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, toolbar1_);

    int group = 0;
    for (const PartButton& b : partButtons()) {
        if (b.group != group && (b.group == 1 || b.group == 2)) {
            QAction* sep = toolbar1_->addSeparator();
            (b.group == 1 ? optionBar1_ : optionBar2_) << sep;
        }
        group = b.group;
        const QString key = QString::fromLatin1(b.key);
        QAction* a = toolbar1_->addAction(partButtonIcon(key), QString::fromUtf16(b.toolTip));
        a->setObjectName(key);
        a->setToolTip(QString::fromUtf16(b.toolTip));
        connect(a, &QAction::triggered, this, [this, key] { partButtonClicked(key); });
        partActions_ << a;
        if (b.group == 1)
            optionBar1_ << a;
        else if (b.group == 2)
            optionBar2_ << a;
    }
    setPartToolbarEnabled(false);

    for (const FileButtonInfo& b : fileButtonTable()) {
        const QString key = QString::fromLatin1(b.key);
        auto* a = new QAction(fileButtonIcon(key), QString::fromUtf16(b.toolTip), this);
        a->setObjectName(key);
        a->setToolTip(QString::fromUtf16(b.toolTip));
        const FileButton id = b.id;
        connect(a, &QAction::triggered, this, [this, id] { fileButtonClicked(id); });
        fileButtons_[std::size_t(id)] = a;
        if (id == FileButton::UndoImage)
            toolbar2_->addSeparator();
        toolbar2_->addAction(a);
    }
    fileAction(FileButton::UndoImage)->setEnabled(false);
    fileAction(FileButton::RedoImage)->setEnabled(false);
    for (int i = 0; i < 3; ++i)
        applyToolbarVisibility(i);
}

void MainForm::createStatusBar()
{
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setObjectName(QStringLiteral("StatusBar1_%1").arg(i + 1));
        panels_[i]->setMinimumWidth(i == 2 ? 90 : 120);
    }
    // Panel 1 gives way to the actions' status tips; the other two stay.
    statusBar()->addWidget(panels_[0], 1);
    statusBar()->addPermanentWidget(panels_[1], 2);
    statusBar()->addPermanentWidget(panels_[2], 0);
}

QAction* MainForm::action(MenuItem item) const
{
    const auto i = std::size_t(item);
    return i < actions_.size() ? actions_[i] : nullptr;
}

QAction* MainForm::figurePosAction(int mode) const
{
    return mode >= 0 && mode < 4 ? figurePosActions_[std::size_t(mode)] : nullptr;
}

QAction* MainForm::toolbarAction(int item) const
{
    return item >= 0 && item < 3 ? toolbarActions_[std::size_t(item)] : nullptr;
}

QAction* MainForm::partAction(const QString& key) const
{
    for (QAction* a : partActions_) {
        if (a->objectName() == key)
            return a;
    }
    return nullptr;
}

QAction* MainForm::fileAction(FileButton button) const
{
    const auto i = std::size_t(button);
    return i < fileButtons_.size() ? fileButtons_[i] : nullptr;
}

QString MainForm::statusText(int panel) const
{
    return panel >= 1 && panel <= 3 ? panels_[std::size_t(panel - 1)]->text() : QString();
}

editor::EditForm* MainForm::editor() const
{
    return editor_.data();
}

QMdiSubWindow* MainForm::editorWindow() const
{
    return editorSub_.data();
}

HelpWindow* MainForm::helpWindow() const
{
    return help_.data();
}

AboutBox* MainForm::aboutBox() const
{
    return about_.data();
}

void MainForm::start()
{
    // Settings, then the toolbars as the settings of the last run do not say otherwise.
    session_.settings = core::LoadSettings(appPath_);
    setMenuItemEnabled(MenuItem::FOpen, true);
    for (FileButton b : {FileButton::NewImage, FileButton::OpenImage, FileButton::SaveImage,
                         FileButton::PrintImage})
        setFileButtonEnabled(b, true);
    toolbarShown_ = {true, true, false};
    for (int i = 0; i < 3; ++i) {
        toolbarActions_[std::size_t(i)]->setChecked(toolbarShown_[std::size_t(i)]);
        applyToolbarVisibility(i);
    }
    setBusyPointer(true);
    core::InitLayerOrder(session_.state);
    if (!loadFirstPortrait(documentName_.isEmpty() ? core::workSnapshotPath(appPath_) : documentName_))
        documentName_.clear();
    setStatusText(2, QString::fromUtf16(kBuildingText));
    session_.captionDraw.TextDialogPos = QPoint();
    shuttingDown_ = false;
    if (!loadEditorWindow()) {
        setBusyPointer(false);
        setStatusText(2, QString());
        return;
    }
    mdiTimer_.start();
}

void MainForm::finishPortraitStart()
{
    mdiTimer_.stop();
    if (editor_ && editorOpen_) {
        (void)editor_->rebuildPartImages();
        editorSub_->show();
        mdi_->setActiveSubWindow(editorSub_);
        // Offscreen and before the frame is shown no activation arrives; the editor in
        // front is what counts.
        editorActivated();
        editor_->composePortrait();
        if (!createdDocument_.isEmpty())
            (void)core::SaveDocument(createdDocument_, session_.state, session_.captions);
    }
    createdDocument_.clear();
    setBusyPointer(false);
    setStatusText(2, QString());
}

void MainForm::subWindowActivated(QMdiSubWindow* window)
{
    // The MDI area reports no window whenever the frame loses the focus (a dialog or the
    // picker in front): the last activated child stays the active one.
    if (window && window == editorSub_)
        editorActivated();
}

void MainForm::editorActivated()
{
    if (!editor_ || !editorOpen_)
        return;
    SetMenuMode(kModeEditor);
    setFileButtonEnabled(FileButton::SaveImage, true);
    setFileButtonEnabled(FileButton::PrintImage, true);
    setFileButtonEnabled(FileButton::OpenImage, false);
}

void MainForm::setMenuItemVisible(MenuItem item, bool visible)
{
    if (QAction* a = action(item))
        a->setVisible(visible);
}

void MainForm::setMenuItemEnabled(MenuItem item, bool enabled)
{
    if (QAction* a = action(item))
        a->setEnabled(enabled);
}

bool MainForm::fileToolbarVisible() const
{
    return !toolbar2_->isHidden();
}

void MainForm::setFileButtonEnabled(FileButton button, bool enabled)
{
    if (QAction* a = fileAction(button))
        a->setEnabled(enabled);
}

void MainForm::setPartToolbarEnabled(bool enabled)
{
    toolbar1_->setEnabled(enabled);
}

void MainForm::SetMenuMode(int mode)
{
    app::SetMenuMode(static_cast<MenuTarget&>(*this), mode);
}

void MainForm::setFileButtonsForEditor(bool loaded)
{
    setFileButtonEnabled(FileButton::NewImage, !loaded);
    setFileButtonEnabled(FileButton::OpenImage, !loaded);
    setFileButtonEnabled(FileButton::SaveImage, loaded);
    setFileButtonEnabled(FileButton::PrintImage, loaded);
}

void MainForm::showEditorLoaded()
{
    setMenuItemEnabled(MenuItem::FFilename, true);
    setMenuItemEnabled(MenuItem::FPrint, true);
    setMenuItemEnabled(MenuItem::FNew, false);
    setMenuItemEnabled(MenuItem::FOpen, false);
    setPartToolbarEnabled(true);
    setFileButtonsForEditor(true);
    for (int i = 0; i < 3; ++i)
        toolbarActions_[std::size_t(i)]->setChecked(toolbarShown_[std::size_t(i)]);
    setMenuItemEnabled(MenuItem::FOverwrite, !documentName_.isEmpty());
}

void MainForm::showEditorUnloaded()
{
    // The text dialog draws on the editor's canvas: it goes with the editor.
    delete character_.data();
    setPartToolbarEnabled(false);
    setFileButtonsForEditor(false);
    setMenuItemEnabled(MenuItem::FNew, true);
    setMenuItemEnabled(MenuItem::FOpen, true);
}

void MainForm::setEditorOpen(bool open)
{
    editorOpen_ = open;
}

void MainForm::setStatusText(int panel, const QString& text)
{
    if (panel >= 1 && panel <= 3)
        panels_[std::size_t(panel - 1)]->setText(text);
}

void MainForm::setBusyPointer(bool busy)
{
    if (busy == busy_)
        return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void MainForm::setUndoEnabled(bool enabled)
{
    setMenuItemEnabled(MenuItem::EUndo, enabled);
    setFileButtonEnabled(FileButton::UndoImage, enabled);
}

void MainForm::setRedoEnabled(bool enabled)
{
    setMenuItemEnabled(MenuItem::ERedo, enabled);
    setFileButtonEnabled(FileButton::RedoImage, enabled);
}

editor::EditorEnvironment::SaveAnswer MainForm::askSaveChanges(QWidget* parent, const QString& caption)
{
    const auto answer = prompts_->question(
        parent ? parent : this, QString::fromUtf16(kCaption),
        QStringLiteral("保存しますか？") + u'\n' + caption,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        return SaveAnswer::Yes;
    if (answer == QMessageBox::No)
        return SaveAnswer::No;
    return SaveAnswer::Cancel;
}

void MainForm::showError(QWidget* parent, const QString& text)
{
    prompts_->information(parent ? parent : this, QString::fromUtf16(kCaption), text,
                          QMessageBox::Critical);
}

void MainForm::closeEvent(QCloseEvent* event)
{
    shuttingDown_ = true;
    mdiTimer_.stop();
    if (!closeEditorWindow()) {
        event->ignore();
        return;
    }
    for (QWidget* w : {static_cast<QWidget*>(help_.data()), static_cast<QWidget*>(about_.data()),
                       options_.data(), character_.data(), static_cast<QWidget*>(partsPos_.data()),
                       static_cast<QWidget*>(position_.data())}) {
        if (w)
            w->close();
    }
    event->accept();
}

void MainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    PlaceEditorWindow();
}

void MainForm::raiseWindow()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

}  // namespace app
