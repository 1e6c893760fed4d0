// The View menu: figure position, toolbars, and where the editor window stands.

#include "app/mainform.h"

#include "editor/editform.h"
#include "editor/placement.h"
#include "editor/position.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QToolBar>

namespace app {

namespace {

// The height of the caption that the stored editor window sizes include; here the frame is
// the platform's, so it is added and taken off again around the canvas.
constexpr int kStoredCaptionPixels = 27;

}  // namespace

void MainForm::setFigurePosition(int mode)
{
    if (mode < 0 || mode > 3)
        return;
    checkFigurePosItem(mode);
    core::PortraitState& s = session_.state;
    // The fixed places as custom steps, so that "その他" starts from where the figure is.
    static constexpr std::int16_t kStepX[3] = {0, 7, 14};
    if (mode < 3) {
        s.FigureStepX = kStepX[mode];
        s.FigureStepY = 0;
    } else {
        if (!position_) {
            position_ = new editor::Position(session_, [this] {
                if (editorActive())
                    editor_->composePortrait();
            }, this);
            connect(position_, &editor::Position::customPositionChosen, this,
                    [this] { checkFigurePosItem(3); });
            // "左", "中央" and "右" wait while the dialog moves the figure.
            connect(position_, &editor::Position::closed, this, [this] {
                for (int i = 0; i < 3; ++i)
                    figurePosActions_[std::size_t(i)]->setEnabled(true);
            });
        }
        for (int i = 0; i < 3; ++i)
            figurePosActions_[std::size_t(i)]->setEnabled(false);
        position_->openDialog();
    }
    s.FigurePosMode = std::int16_t(mode);
    for (int k : {int(core::kind::Background), int(core::kind::Balloon)}) {
        if (s.PartTable[k].present())
            s.PartTable[k].Extra = std::int16_t(mode);
    }
    // In the custom mode the dialog draws as its sliders move.
    if (mode != 3 && editorActive())
        editor_->composePortrait();
}

bool MainForm::figurePosMenuEnabled() const
{
    return action(MenuItem::VPoint)->isEnabled();
}

void MainForm::setFigurePosMenuEnabled(bool enabled)
{
    action(MenuItem::VPoint)->setEnabled(enabled);
}

void MainForm::checkFigurePosItem(int mode)
{
    for (int i = 0; i < 4; ++i)
        figurePosActions_[std::size_t(i)]->setChecked(i == mode);
}

void MainForm::closePositionDialog()
{
    if (position_)
        position_->closeDialog();
}

void MainForm::toggleToolbar(int item)
{
    if (item < 0 || item > 2)
        return;
    const auto i = std::size_t(item);
    toolbarShown_[i] = !toolbarShown_[i];
    toolbarActions_[i]->setChecked(toolbarShown_[i]);
    applyToolbarVisibility(item);
    PlaceEditorWindow();
}

bool MainForm::toolbarShown(int toolbar) const
{
    return toolbar >= 0 && toolbar < 3 && toolbarShown_[std::size_t(toolbar)];
}

void MainForm::applyToolbarVisibility(int item)
{
    const bool shown = toolbarShown_[std::size_t(item)];
    if (item == 2) {
        toolbar2_->setVisible(shown);
        return;
    }
    for (QAction* a : item == 0 ? optionBar1_ : optionBar2_)
        a->setVisible(shown);
}

void MainForm::PlaceEditorWindow()
{
    // The MDI area begins below the menu bar and the visible toolbars, so the place under
    // the toolbars is its origin; hiding or showing a toolbar moves the area, and the
    // editor with it.
    editorTop_ = 0;
    editorLeft_ = 0;
    if (editorSub_)
        editorSub_->move(editor::twipsToPixels(editorLeft_, dpiX()),
                         editor::twipsToPixels(editorTop_, dpiY()));
}

void MainForm::setEditorClientSize(int width, int height)
{
    if (!editor_ || !editorSub_ || width <= 0 || height <= 0)
        return;
    editor_->setFixedSize(width, height);
    editorSub_->adjustSize();
}

QSize MainForm::editorWindowSizeTwips() const
{
    if (!editor_)
        return {};
    const QSize client = editor_->size();
    return {editor::pixelsToTwips(client.width(), dpiX()),
            editor::pixelsToTwips(client.height() + kStoredCaptionPixels, dpiY())};
}

void MainForm::setEditorWindowSizeTwips(QSize size)
{
    if (size.isEmpty())
        return;
    setEditorClientSize(editor::twipsToPixels(size.width(), dpiX()),
                        editor::twipsToPixels(size.height(), dpiY()) - kStoredCaptionPixels);
}

double MainForm::dpiX() const
{
    return logicalDpiX();
}

double MainForm::dpiY() const
{
    return logicalDpiY();
}

}  // namespace app
