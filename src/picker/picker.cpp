#include "picker/picker.h"

#include "catalog/partsdatabase.h"
#include "catalog/recordsource.h"
#include "core/session.h"
#include "picker/categoryicons.h"
#include "picker/pickercategories.h"
#include "picker/pickerenvironment.h"
#include "picker/selectform.h"

#include <QPixmap>
#include <QWidget>

namespace picker {

namespace {

constexpr char16_t kLoadingText[] = u"ﾃﾞｰﾀﾍﾞｰｽ読み込み中です。";
constexpr int kIconSide = 32;

}  // namespace

Picker::Picker(core::PortraitSession& session, PickerEnvironment& environment, QWidget* owner,
               QString dataFolder)
    : QObject(owner),
      session_(session),
      environment_(environment),
      owner_(owner),
      dataFolder_(std::move(dataFolder))
{
}

Picker::~Picker()
{
    if (form_) {
        // The window goes with the picker; its unload still tells the main window.
        SelectForm* form = form_;
        form_ = nullptr;
        form->close();
        delete form;
    }
}

void Picker::compose() const
{
    if (compose_)
        compose_();
}

bool Picker::isLoaded() const
{
    return form_ != nullptr;
}

SelectForm* Picker::form() const
{
    return form_;
}

void Picker::OpenPicker(int kind)
{
    const PickerCategory* category = categoryByKind(kind);
    if (!category)
        return;
    closePicker();
    globals_.CurrentKind = category->kind;
    globals_.RowsPerPart = std::int16_t(category->rowsPerPart);
    globals_.PickerDatabase = pickerDatabaseFor(category->kind);
    if (category->photoDatabase)
        environment_.setUserImageMenuEnabled(false);
    environment_.setStatusText(2, QString::fromUtf16(kLoadingText));
    auto* form = new SelectForm(*this, owner_);
    form_ = form;
    form->show();
}

bool Picker::openKey(QStringView key)
{
    const PickerCategory* category = categoryByKey(key);
    if (!category)
        return false;
    if (category->controls == CategoryControls::TextDialog) {
        closePicker();
        environment_.showCharacterDialog();
        return true;
    }
    OpenPicker(category->kind);
    return true;
}

void Picker::closePicker()
{
    if (SelectForm* form = form_) {
        form_ = nullptr;
        form->close();
    }
}

void Picker::formClosed(SelectForm* form)
{
    if (form_ == form)
        form_ = nullptr;
    globals_.PickerOpen = false;
    emit closed();
}

void Picker::refreshMarks()
{
    if (SelectForm* form = form_)
        form->markInUse();
}

QIcon Picker::categoryIcon(int icon)
{
    if (icon < 1 || icon > kCategoryCount)
        return {};
    if (!iconsDrawn_) {
        iconsDrawn_ = true;
        catalog::PartsDatabase parts;
        const QString path =
            catalog::findFileNoCase(dataFolder_, QString::fromLatin1(kPickerPartsFile));
        catalog::PartsDatabase* db = nullptr;
        if (!path.isEmpty()
            && parts.open(path, QString::fromLatin1(catalog::kListOrderSource),
                          catalog::OpenMode::ReadOnly))
            db = &parts;
        for (const PickerCategory& c : pickerCategories())
            icons_[std::size_t(c.icon)] =
                QIcon(QPixmap::fromImage(renderCategoryIcon(db, c, kIconSide)));
    }
    return icons_[std::size_t(icon)];
}

}  // namespace picker
