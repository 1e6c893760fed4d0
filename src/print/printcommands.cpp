#include "print/printcommands.h"

#include "print/imageprt.h"
#include "print/printformedit.h"
#include "print/printprompts.h"
#include "print/sheetformats.h"

#include <QPrinter>

namespace print {

PrintCommands::PrintCommands(const QString& appPath, QWidget* owner, PrintPrompts* prompts)
    : QObject(owner),
      appPath_(appPath),
      owner_(owner),
      ownPrompts_(prompts ? nullptr : std::make_unique<DialogPrintPrompts>()),
      prompts_(prompts ? prompts : ownPrompts_.get())
{
}

PrintCommands::~PrintCommands() = default;

QPrinter& PrintCommands::printer()
{
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void PrintCommands::print(int printSource, const imaging::Raster& picture)
{
    ImagePrt dialog(printSource, picture, appPath_, printer(), *prompts_, owner_);
    dialog.exec();
}

void PrintCommands::printerSetup() { prompts_->pageSetup(owner_, printer()); }

void PrintCommands::editFormats()
{
    PrintFormEdit dialog(sheetFormatPath(appPath_), *prompts_, owner_);
    dialog.exec();
}

}  // namespace print
