// The Help menu.

#include "app/aboutbox.h"
#include "app/helpwindow.h"
#include "app/mainform.h"

namespace app {

void MainForm::showHelp()
{
    // A missing help page is not reported.
    const QString page = helpPagePath(appPath_);
    if (page.isEmpty())
        return;
    if (!help_)
        help_ = new HelpWindow(this);
    help_->showPage(page);
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void MainForm::showAbout()
{
    if (!about_)
        about_ = new AboutBox(this);
    about_->show();
    about_->raise();
    about_->activateWindow();
}

}  // namespace app
