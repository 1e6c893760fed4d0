#include "print/printformedit.h"

#include "print/layoutfields.h"
#include "print/printprompts.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace print {

namespace {
const QString kProgramTitle = QStringLiteral("Faciora");
}

PrintFormEdit::PrintFormEdit(const QString& path, PrintPrompts& prompts, QWidget* parent)
    : QDialog(parent), store_(path), prompts_(prompts)
{
    setObjectName(QStringLiteral("PrintFormEdit"));
    setWindowTitle(QStringLiteral("印刷用紙設定"));

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("List1"));
    list_->setMinimumWidth(220);
    connect(list_, &QListWidget::itemClicked, this, [this] { listClicked(); });
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            listClicked();
    });

    settings_ = new QGroupBox(QStringLiteral("設定"), this);
    settings_->setObjectName(QStringLiteral("Frame_settei"));
    auto* nameRow = new QHBoxLayout;
    auto* nameLabel = new QLabel(QStringLiteral("名称"), settings_);
    name_ = new QLineEdit(settings_);
    name_->setObjectName(QStringLiteral("FrmName"));
    limitTyping(name_, fieldMaxLength(PrintSheetFormat::Name));
    nameLabel->setBuddy(name_);
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(name_, 1);
    fields_ = new LayoutFields(settings_);
    auto* settingsLayout = new QVBoxLayout(settings_);
    settingsLayout->addLayout(nameRow);
    settingsLayout->addWidget(fields_);
    register_ = new QPushButton(QStringLiteral("登　録"), settings_);
    register_->setObjectName(QStringLiteral("RegBt"));
    cancelEdit_ = new QPushButton(QStringLiteral("キャンセル"), settings_);
    cancelEdit_->setObjectName(QStringLiteral("CanBt"));
    auto* editButtons = new QHBoxLayout;
    editButtons->addStretch();
    editButtons->addWidget(register_);
    editButtons->addWidget(cancelEdit_);
    settingsLayout->addLayout(editButtons);

    add_ = new QPushButton(QStringLiteral("追　加"), this);
    add_->setObjectName(QStringLiteral("AddBt"));
    change_ = new QPushButton(QStringLiteral("変　更"), this);
    change_->setObjectName(QStringLiteral("ChgBt"));
    delete_ = new QPushButton(QStringLiteral("削　除"), this);
    delete_->setObjectName(QStringLiteral("DelBt"));
    close_ = new QPushButton(QStringLiteral("キャンセル"), this);
    close_->setObjectName(QStringLiteral("cancelbt"));
    for (QPushButton* b : {add_, change_, delete_, close_, register_, cancelEdit_})
        b->setAutoDefault(false);

    connect(add_, &QPushButton::clicked, this, &PrintFormEdit::addClicked);
    connect(change_, &QPushButton::clicked, this, &PrintFormEdit::changeClicked);
    connect(delete_, &QPushButton::clicked, this, &PrintFormEdit::deleteClicked);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    connect(register_, &QPushButton::clicked, this, &PrintFormEdit::registerClicked);
    connect(cancelEdit_, &QPushButton::clicked, this, &PrintFormEdit::cancelEditClicked);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {add_, change_, delete_})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(close_);

    auto* right = new QVBoxLayout;
    right->addWidget(settings_);
    right->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(list_);
    top->addLayout(right, 1);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(top, 1);
    outer->addLayout(buttons);

    reload();
}

PrintFormEdit::~PrintFormEdit() = default;

void PrintFormEdit::bt_ctl(int mode)
{
    mode_ = mode == 1 ? 1 : 0;
    const bool browse = mode_ == 0;
    for (QPushButton* b : {add_, change_, delete_, close_})
        b->setEnabled(browse);
    list_->setEnabled(browse);
    settings_->setEnabled(!browse);
    register_->setVisible(!browse);
    cancelEdit_->setVisible(!browse);
}

void PrintFormEdit::reload()
{
    list_->blockSignals(true);
    list_->clear();
    store_.load();
    // Said once per opening; the reloads after each write would only repeat it.
    if (!loadReported_) {
        loadReported_ = true;
        const QString text = store_.loadMessage();
        if (!text.isEmpty())
            prompts_.warning(this, kProgramTitle, text);
    }
    const SheetFormatTable& table = store_.table();
    for (int n = 1; n <= table.count; ++n)
        list_->addItem(table[n].name());
    list_->setCurrentRow(-1);
    list_->clearSelection();
    list_->blockSignals(false);
    name_->clear();
    fields_->clear();
    bt_ctl(0);
}

void PrintFormEdit::listClicked()
{
    const SheetFormatTable& table = store_.table();
    if (table.count == 0)
        return;
    int number = list_->currentRow() + 1;
    if (number < 1 || number > table.count || list_->selectedItems().isEmpty()) {
        number = table.count;
        list_->blockSignals(true);
        list_->setCurrentRow(number - 1);
        list_->blockSignals(false);
    }
    name_->setText(table[number].name());
    fields_->showFormat(table[number]);
}

void PrintFormEdit::addClicked()
{
    const int next = store_.table().count + 1;
    if (next > SheetFormatTable::kCapacity) {
        prompts_.message(this, kProgramTitle, QStringLiteral("最大登録数を超えています"));
        return;
    }
    target_ = next;
    name_->clear();
    fields_->clear();
    bt_ctl(1);
    name_->setFocus(Qt::OtherFocusReason);
}

void PrintFormEdit::changeClicked()
{
    if (list_->currentRow() < 0 || list_->selectedItems().isEmpty())
        return;
    target_ = list_->currentRow() + 1;
    bt_ctl(1);
    name_->setFocus(Qt::OtherFocusReason);
}

void PrintFormEdit::deleteClicked()
{
    if (list_->currentRow() < 0 || list_->selectedItems().isEmpty())
        return;
    target_ = list_->currentRow() + 1;
    SheetFormatTable& table = store_.table();
    const QString question = table[target_].name() + QStringLiteral("を削除してよろしいですか？");
    if (prompts_.askYesNo(this, kProgramTitle, question))
        table.remove(target_);
    // Yes or No, the table is written and read again.
    if (auto error = store_.save())
        prompts_.warning(this, kProgramTitle,
                         QStringLiteral("印刷用紙設定を保存できません。(%1)").arg(*error));
    reload();
}

void PrintFormEdit::registerClicked()
{
    SheetLayout checked;
    if (fields_->validate(checked, prompts_, this))
        return;
    if (name_->text().isEmpty()) {
        ShowSheetLayoutError(prompts_, this, 1);
        name_->setFocus(Qt::OtherFocusReason);
        return;
    }
    SheetFormatTable& table = store_.table();
    if (target_ < 1 || target_ > SheetFormatTable::kCapacity)
        return;
    PrintSheetFormat& entry = table[target_];
    entry[PrintSheetFormat::Name] = name_->text();
    fields_->storeInto(entry);
    if (target_ > table.count)
        table.count = std::int16_t(target_);
    if (auto error = store_.save()) {
        // The edit stays on the screen so that nothing typed is lost.
        prompts_.warning(this, kProgramTitle,
                         QStringLiteral("印刷用紙設定を保存できません。(%1)").arg(*error));
        return;
    }
    reload();
}

void PrintFormEdit::cancelEditClicked() { reload(); }

}  // namespace print
