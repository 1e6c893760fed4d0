// "ｲﾒｰｼﾞ登録": the photo registration window, modal over the main window.

#include "app/mainform.h"
#include "app/prompts.h"
#include "photo/photoform.h"

#include <QAction>

namespace app {

void MainForm::showImageRegistration()
{
    if (photoForm_)
        return;
    // The picker must not show the photos while they change underneath it.
    if (QAction* user = partAction(QStringLiteral("user")))
        user->setEnabled(false);
    auto* form = new photo::PhotoForm(appPath_, *prompts_, this);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->setWindowModality(Qt::ApplicationModal);
    connect(form, &QDialog::finished, this, [this] {
        if (QAction* user = partAction(QStringLiteral("user")))
            user->setEnabled(true);
    });
    photoForm_ = form;
    form->show();
}

photo::PhotoForm* MainForm::photoForm() const
{
    return photoForm_;
}

}  // namespace app
