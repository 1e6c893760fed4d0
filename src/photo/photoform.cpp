#include "photo/photoform.h"

#include "app/prompts.h"
#include "catalog/partsdatabase.h"
#include "imaging/engine/errors.h"
#include "imaging/view/imageview.h"
#include "photo/photorules.h"

#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace photo {

namespace {

constexpr QSize kPreviewSize(200, 150);
// Without "format.bmp" the empty preview takes the shape of an A4 sheet, as that file has.
constexpr QSize kBlankSheet(210, 297);

// The hourglass while a step runs.
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

QString fieldText(const QVariant& v)
{
    return v.isNull() ? QString() : v.toString();
}

}  // namespace

PhotoForm::PhotoForm(const QString& appPath, app::Prompts& prompts, QWidget* parent)
    : QDialog(parent), appPath_(appPath), prompts_(prompts)
{
    setObjectName(QStringLiteral("PhotoForm"));
    setWindowTitle(QString::fromUtf16(kCaption));
    setAttribute(Qt::WA_DeleteOnClose, false);
    buildControls();

    BusyPointer busy;
    opened_ = registry_.open(appPath_);
    timer_.setSingleShot(true);
    timer_.setInterval(kFirstDisplayMs);
    connect(&timer_, &QTimer::timeout, this, &PhotoForm::firstDisplay);
    timer_.start();
}

PhotoForm::~PhotoForm() = default;

QStringList PhotoForm::fileFilters()
{
    // The original list, cut to the formats the engine reads, with PNG and GIF added.
    return {QStringLiteral("Grapics (*.jpg *.jpeg *.jff *.jtf *.bmp *.tif *.tiff *.png *.gif)")};
}

void PhotoForm::buildControls()
{
    auto lineEdit = [this](const char* name, bool readOnly) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setReadOnly(readOnly);
        return e;
    };
    auto button = [this](const char* name, const char16_t* text) {
        auto* b = new QPushButton(QString::fromUtf16(text), this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };

    for (Slot slot : {Slot::Main, Slot::Mask}) {
        auto* view = new imaging::ImageView(this);
        view->setObjectName(slot == Slot::Main ? QStringLiteral("Pic_main") : QStringLiteral("Pic_mask"));
        view->setFixedSize(kPreviewSize);
        previews_[std::size_t(slot)] = view;
    }
    scroll_ = new QScrollBar(Qt::Horizontal, this);
    scroll_->setObjectName(QStringLiteral("HScroll1"));
    scroll_->setRange(0, 0);
    // One record per step, and a thumb that shows how many there are.
    scroll_->setSingleStep(1);
    scroll_->setPageStep(1);
    connect(scroll_, &QScrollBar::valueChanged, this, &PhotoForm::browse);

    number_ = lineEdit("NoText", true);
    number_->hide();
    names_[0] = lineEdit("MainText", true);
    names_[0]->setToolTip(QStringLiteral("ｲﾒｰｼﾞ名+ｲﾒｰｼﾞ番号+main/mask"));
    names_[1] = lineEdit("MaskText", true);
    // Nothing typed here would be stored: registering sets the position to 0, 0.
    x_ = lineEdit("XText", true);
    x_->setToolTip(QStringLiteral("ｲﾒｰｼﾞ表示位置のX座標"));
    y_ = lineEdit("YText", true);
    y_->setToolTip(QStringLiteral("ｲﾒｰｼﾞ表示位置のY座標"));
    width_ = lineEdit("WidthText", true);
    width_->setEnabled(false);
    height_ = lineEdit("HeightText", true);
    height_->setEnabled(false);

    add_ = button("AddBTN", u"ｲﾒｰｼﾞ追加");
    delete_ = button("DelBTN", u"ｲﾒｰｼﾞ削除");
    browse_[0] = button("MainRefBTN", u"参照");
    browse_[1] = button("MaskRefBTN", u"参照");
    autoMask_ = button("AutoMaskBTN", u"マスクを自動作成");
    autoMask_->setToolTip(QStringLiteral(
        "マスクのファイルがないときに使います。メインのｲﾒｰｼﾞの周りの白に近い背景を白、"
        "それ以外を黒にしたマスクを作り、メインのｲﾒｰｼﾞの背景は黒にして登録します。"));
    ok_ = button("OKBTN", u"OK");
    cancel_ = button("CancelBTN", u"キャンセル");
    close_ = button("CloseBTN", u"閉じる");
    connect(add_, &QPushButton::clicked, this, &PhotoForm::addClicked);
    connect(delete_, &QPushButton::clicked, this, &PhotoForm::deleteClicked);
    connect(browse_[0], &QPushButton::clicked, this, [this] { browseClicked(Slot::Main); });
    connect(browse_[1], &QPushButton::clicked, this, [this] { browseClicked(Slot::Mask); });
    connect(autoMask_, &QPushButton::clicked, this, &PhotoForm::autoMaskClicked);
    connect(ok_, &QPushButton::clicked, this, &PhotoForm::okClicked);
    connect(cancel_, &QPushButton::clicked, this, &PhotoForm::cancelClicked);
    connect(close_, &QPushButton::clicked, this, &QDialog::close);

    // Initial states: as the browse state of an empty database.
    for (QPushButton* b : browse_)
        b->setEnabled(false);
    autoMask_->setEnabled(false);
    ok_->hide();
    cancel_->hide();

    auto* previews = new QHBoxLayout;
    for (std::size_t i = 0; i < 2; ++i) {
        auto* column = new QVBoxLayout;
        column->addWidget(new QLabel(i == 0 ? QStringLiteral("メイン") : QStringLiteral("マスク"), this));
        // The empty preview is button-face on button-face: the frame shows where it is.
        auto* frame = new QFrame(this);
        frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        auto* inFrame = new QVBoxLayout(frame);
        inFrame->setContentsMargins(2, 2, 2, 2);
        inFrame->addWidget(previews_[i]);
        column->addWidget(frame);
        previews->addLayout(column);
    }

    auto* addDelete = new QGroupBox(QStringLiteral("ｲﾒｰｼﾞ追加・削除"), this);
    auto* addDeleteLayout = new QHBoxLayout(addDelete);
    addDeleteLayout->addWidget(add_);
    addDeleteLayout->addWidget(delete_);

    auto* info = new QGroupBox(QStringLiteral("ｲﾒｰｼﾞ情報"), this);
    auto* grid = new QGridLayout(info);
    grid->addWidget(new QLabel(QStringLiteral("メイン："), this), 0, 0);
    grid->addWidget(names_[0], 0, 1, 1, 3);
    grid->addWidget(browse_[0], 0, 4);
    grid->addWidget(new QLabel(QStringLiteral("マスク："), this), 1, 0);
    grid->addWidget(names_[1], 1, 1, 1, 3);
    grid->addWidget(browse_[1], 1, 4);
    grid->addWidget(autoMask_, 2, 1, 1, 4, Qt::AlignRight);
    grid->addWidget(new QLabel(QStringLiteral("X："), this), 3, 0);
    grid->addWidget(x_, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Y："), this), 3, 2);
    grid->addWidget(y_, 3, 3);
    grid->addWidget(new QLabel(QStringLiteral("幅："), this), 4, 0);
    grid->addWidget(width_, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("高さ："), this), 4, 2);
    grid->addWidget(height_, 4, 3);
    auto* okRow = new QHBoxLayout;
    okRow->addStretch();
    okRow->addWidget(ok_);
    okRow->addWidget(cancel_);
    grid->addLayout(okRow, 5, 0, 1, 5);
    grid->addWidget(number_, 6, 0);
    names_[0]->setMinimumWidth(260);

    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch();
    closeRow->addWidget(close_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(previews);
    layout->addWidget(scroll_);
    layout->addWidget(addDelete);
    layout->addWidget(info);
    layout->addLayout(closeRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

// ---- display -----------------------------------------------------------------------------

void PhotoForm::firstDisplay()
{
    timer_.stop();
    BusyPointer busy;
    for (imaging::ImageView* v : previews_)
        v->hide();
    if (!opened_) {
        for (QPushButton* b : {add_, delete_})
            b->setEnabled(false);
        refreshPreviews();
        for (imaging::ImageView* v : previews_)
            v->show();
        firstDone_ = true;
        message(QString::fromUtf16(kCannotOpen));
        return;
    }
    if (registry_.count() > 0) {
        {
            const QSignalBlocker block(scroll_);
            scroll_->setRange(0, registry_.count() - 1);
            scroll_->setValue(0);
        }
        registry_.showRecord(0);
        showFields();
        enterBrowseState();
    }
    refreshPreviews();
    for (imaging::ImageView* v : previews_)
        v->show();
    firstDone_ = true;
}

void PhotoForm::browse(int value)
{
    if (scroll_->maximum() <= 0)
        return;
    BusyPointer busy;
    registry_.showRecord(value);
    refreshPreviews();
    showFields();
}

void PhotoForm::showFields()
{
    if (registry_.isAdding()) {
        const int n = registry_.pendingNumber();
        number_->setText(n > 0 ? QString::number(n) : QString());
        for (Slot slot : {Slot::Main, Slot::Mask})
            names_[std::size_t(slot)]->setText(registry_.pendingName(slot));
        const imaging::Raster& main = registry_.pendingPicture(Slot::Main);
        x_->clear();
        y_->clear();
        width_->setText(main.isNull() ? QString() : QString::number(main.width()));
        height_->setText(main.isNull() ? QString() : QString::number(main.height()));
        return;
    }
    const bool any = registry_.hasCurrent();
    number_->setText(any ? fieldText(registry_.field("FileNo")) : QString());
    names_[0]->setText(any ? fieldText(registry_.field("who_main")) : QString());
    names_[1]->setText(any ? fieldText(registry_.field("who_mask")) : QString());
    x_->setText(fieldText(registry_.field("X")));
    y_->setText(fieldText(registry_.field("Y")));
    width_->setText(fieldText(registry_.field("Width")));
    height_->setText(fieldText(registry_.field("Height")));
}

void PhotoForm::enterBrowseState()
{
    add_->setEnabled(opened_.ok());
    delete_->setEnabled(registry_.count() > 0);
    for (QPushButton* b : browse_)
        b->setEnabled(false);
    autoMask_->setEnabled(false);
    ok_->hide();
    cancel_->hide();
    scroll_->setEnabled(true);
}

void PhotoForm::enterEditState()
{
    add_->setEnabled(false);
    delete_->setEnabled(false);
    for (QPushButton* b : browse_)
        b->setEnabled(true);
    autoMask_->setEnabled(true);
    ok_->show();
    cancel_->show();
    // Moving to another record would leave the new photo behind unseen.
    scroll_->setEnabled(false);
}

imaging::Raster PhotoForm::blankPreview() const
{
    imaging::Raster blank;
    const QString sheet = catalog::findFileNoCase(appPath_, QStringLiteral("format.bmp"));
    if (sheet.isEmpty() || blank.load(sheet, 0, 0, 1) != 0)
        blank = imaging::Raster(kBlankSheet.width(), kBlankSheet.height(), 24);
    blank.fill(palette().color(QPalette::Button).rgb());
    return blank;
}

void PhotoForm::setPreview(Slot slot, const imaging::Raster& picture)
{
    imaging::ImageView* view = previews_[std::size_t(slot)];
    const bool visible = view->isVisible();
    if (picture.isNull())
        view->hide();
    view->setRaster(picture.isNull() ? blankPreview() : picture);
    const QRect fitted = fitPreview(view->size(), view->raster().size());
    view->setDisplayRect(fitted);
    view->setClipRect(fitted);
    view->forceRepaint();
    if (visible)
        view->show();
}

void PhotoForm::refreshPreviews()
{
    for (Slot slot : {Slot::Main, Slot::Mask})
        setPreview(slot, registry_.isAdding() ? registry_.pendingPicture(slot) : registry_.picture(slot));
}

const imaging::Raster& PhotoForm::previewPicture(Slot slot) const
{
    return previews_[std::size_t(slot)]->raster();
}

QRect PhotoForm::previewRect(Slot slot) const
{
    return previews_[std::size_t(slot)]->displayRect();
}

void PhotoForm::message(const QString& text)
{
    prompts_.information(this, QString::fromUtf16(kMessageTitle), text, QMessageBox::NoIcon);
}

// ---- commands ----------------------------------------------------------------------------

void PhotoForm::addClicked()
{
    if (!opened_ || registry_.isAdding())
        return;
    enterEditState();
    registry_.beginAdd();
    refreshPreviews();
    showFields();
}

void PhotoForm::browseClicked(Slot slot)
{
    if (!registry_.isAdding())
        return;
    const app::Prompts::FileChoice choice =
        prompts_.getOpenFileName(this, QString::fromUtf16(kOpenTitle), fileFilters(), 0);
    PhotoRegistry::ChoiceResult r;
    {
        BusyPointer busy;
        r = registry_.choose(slot, choice.path);
    }
    refreshPreviews();
    showFields();
    switch (r.status) {
    case PhotoRegistry::Choice::TooLarge:
        message(QString::fromUtf16(kTooLarge));
        break;
    case PhotoRegistry::Choice::Failed: {
        QString text = imaging::DecodeError(r.code);
        message(text.isEmpty() ? QStringLiteral("ファイルを読み込めません。（%1）").arg(r.code) : text);
        break;
    }
    case PhotoRegistry::Choice::Loaded:
    case PhotoRegistry::Choice::Cancelled:
        break;
    }
}

void PhotoForm::autoMaskClicked()
{
    if (!registry_.isAdding())
        return;
    bool made;
    {
        BusyPointer busy;
        made = registry_.createAutoMask();
    }
    if (!made) {
        message(QString::fromUtf16(kNoMainYet));
        return;
    }
    refreshPreviews();
    showFields();
}

void PhotoForm::okClicked()
{
    if (!registry_.isAdding())
        return;
    if (number_->text().isEmpty()) {
        message(QString::fromUtf16(kNoNumber));
        return;
    }
    if (names_[0]->text().isEmpty() || names_[1]->text().isEmpty()) {
        message(QString::fromUtf16(kNoFile));
        return;
    }
    PhotoRegistry::StoreResult r;
    {
        BusyPointer busy;
        r = registry_.store();
    }
    switch (r.status) {
    case PhotoRegistry::Store::NoNumber:
        message(QString::fromUtf16(kNoNumber));
        return;
    case PhotoRegistry::Store::NoFile:
        message(QString::fromUtf16(kNoFile));
        return;
    case PhotoRegistry::Store::Failed:
        {
            const QSignalBlocker block(scroll_);
            scroll_->setValue(std::max(registry_.position(), 0));
        }
        refreshPreviews();
        showFields();
        enterBrowseState();
        message(QString::fromUtf16(kNotStored));
        return;
    case PhotoRegistry::Store::Stored:
        break;
    }
    {
        // The registry already shows the new photo, the last one.
        const QSignalBlocker block(scroll_);
        scroll_->setRange(0, registry_.count() - 1);
        scroll_->setValue(scroll_->maximum());
    }
    refreshPreviews();
    enterBrowseState();
    message(QString::fromUtf16(kStored));
    showFields();
}

void PhotoForm::cancelClicked()
{
    if (!registry_.isAdding())
        return;
    {
        BusyPointer busy;
        registry_.cancelAdd(scroll_->value());
    }
    refreshPreviews();
    showFields();
    enterBrowseState();
}

void PhotoForm::deleteClicked()
{
    if (registry_.isAdding())
        return;
    PhotoRegistry::DeleteResult r;
    {
        BusyPointer busy;
        r = registry_.deleteCurrent();
    }
    if (r.status == PhotoRegistry::Delete::NoRecord)
        return;
    if (r.status == PhotoRegistry::Delete::Failed) {
        message(QString::fromUtf16(kNotDeleted));
        return;
    }
    if (registry_.count() > 0) {
        const QSignalBlocker block(scroll_);
        scroll_->setRange(0, registry_.count() - 1);
        scroll_->setValue(0);
    }
    refreshPreviews();
    message(QString::fromUtf16(kDeleted));
    showFields();
    enterBrowseState();
}

}  // namespace photo
