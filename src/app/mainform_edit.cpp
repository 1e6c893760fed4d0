// The Edit menu, the part toolbar, the file toolbar and the windows they open.

#include "app/characterform.h"
#include "app/mainform.h"
#include "app/optionform.h"
#include "editor/editform.h"
#include "editor/partspos.h"
#include "picker/picker.h"

#include <exception>

namespace app {

void MainForm::undo()
{
    if (editorActive())
        editor_->undo();
}

void MainForm::redo()
{
    if (editorActive())
        editor_->redo();
}

void MainForm::partButtonClicked(const QString& key)
{
    if (!editorOpen_)
        return;
    // The picker closes itself first; "moji" opens the text dialog instead.
    picker_->openKey(key);
}

void MainForm::fileButtonClicked(FileButton button)
{
    closePicker();
    // A failing command leaves the window as it is; nothing is reported from here.
    try {
        switch (button) {
        case FileButton::NewImage:
            newPortrait();
            break;
        case FileButton::OpenImage:
            openFile();
            break;
        case FileButton::SaveImage:
            saveFile();
            break;
        case FileButton::PrintImage:
            printImage();
            break;
        case FileButton::UndoImage:
            undo();
            break;
        case FileButton::RedoImage:
            redo();
            break;
        }
    } catch (const std::exception&) {
    }
}

void MainForm::showCharacterDialog()
{
    if (!editorActive())
        return;
    if (!character_) {
        character_ = new CharacterForm(session_, appPath_,
                                       CharacterForm::editorHooks(session_, *editor_, *this), this);
    }
    character_->show();
    character_->raise();
    character_->activateWindow();
}

void MainForm::showOptions()
{
    if (!options_)
        options_ = new OptionForm(session_.settings, appPath_, this);
    options_->show();
    options_->raise();
    options_->activateWindow();
}

void MainForm::showPartsPos()
{
    if (!editorActive())
        return;
    if (!partsPos_) {
        partsPos_ = new editor::PartsPos(session_, [this] {
            if (editorActive())
                editor_->composePortrait();
        }, this);
    }
    partsPos_->openDialog();
}

void MainForm::closePartsPos()
{
    if (partsPos_)
        partsPos_->closeDialog();
}

void MainForm::closePicker()
{
    picker_->closePicker();
}

void MainForm::setUserImageMenuEnabled(bool enabled)
{
    setMenuItemEnabled(MenuItem::EUser, enabled);
}

void MainForm::pickerActivated()
{
    setFileButtonEnabled(FileButton::NewImage, false);
    setFileButtonEnabled(FileButton::OpenImage, false);
    setFileButtonEnabled(FileButton::SaveImage, true);
    setFileButtonEnabled(FileButton::PrintImage, true);
}

}  // namespace app
