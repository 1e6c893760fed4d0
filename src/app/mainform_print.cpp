// The File menu's printing commands.

#include "app/mainform.h"
#include "core/captions.h"
#include "editor/editform.h"
#include "imaging/view/imageview.h"
#include "print/imageprt.h"
#include "print/printcommands.h"

namespace app {

print::PrintCommands& MainForm::printCommands()
{
    if (!printCommands_)
        printCommands_ = new print::PrintCommands(appPath_, this, printPrompts_);
    return *printCommands_;
}

void MainForm::printImage()
{
    // Image windows will hand over their own picture (PrintSource 2); until they exist the
    // editor is the only window that prints.
    if (!editorActive())
        return;
    const int source = print::printSourceOf(editor_->objectName());
    // The captions are drawn into a copy: the canvas keeps showing them on the display only.
    imaging::Raster picture = editor_->canvas().raster();
    core::Disp_Character2(session_.captions, picture);
    printCommands().print(source, picture);
}

void MainForm::printerSetup() { printCommands().printerSetup(); }

void MainForm::editPrintFormats() { printCommands().editFormats(); }

}  // namespace app
