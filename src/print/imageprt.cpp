#include "print/imageprt.h"

#include "print/layoutfields.h"
#include "print/previewform.h"
#include "print/printprompts.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace print {

namespace {

const QString kProgramTitle = QStringLiteral("Faciora");

// Pic1: the picture to print, fitted into the box with its proportions, on the light
// yellow background, with a single flat border.
class PicturePane final : public QFrame {
public:
    PicturePane(const imaging::Raster& picture, QWidget* parent) : QFrame(parent), picture_(picture)
    {
        setObjectName(QStringLiteral("Pic1"));
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setLineWidth(1);
        setMinimumSize(240, 240);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, QColor(255, 255, 125));
        setPalette(pal);
        setAutoFillBackground(true);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QFrame::paintEvent(event);
        if (picture_.isNull())
            return;
        const QRect box = contentsRect().adjusted(4, 4, -4, -4);
        QSize fitted = picture_.size();
        if (fitted.width() > box.width() || fitted.height() > box.height())
            fitted.scale(box.size(), Qt::KeepAspectRatio);
        const QRect target(box.center() - QPoint(fitted.width() / 2, fitted.height() / 2), fitted);
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.drawImage(target, picture_.image());
    }

private:
    const imaging::Raster& picture_;
};

}  // namespace

int printSourceOf(const QString& activeFormName)
{
    return activeFormName == QLatin1String("EditForm") ? kPrintSourceEditor : kPrintSourceImage;
}

ImagePrt::ImagePrt(int printSource, const imaging::Raster& picture, const QString& appPath,
                   QPrinter& printer, PrintPrompts& prompts, QWidget* parent)
    : QDialog(parent),
      printSource_(printSource),
      img2_(picture),
      appPath_(appPath),
      printer_(printer),
      prompts_(prompts),
      store_(sheetFormatPath(appPath))
{
    setObjectName(QStringLiteral("ImagePrt"));
    setWindowTitle(QStringLiteral("似顔絵の印刷"));

    pic1_ = img2_;
    picture_ = new PicturePane(pic1_, this);

    auto* typeLabel = new QLabel(QStringLiteral("印刷種別"), this);
    type_ = new QComboBox(this);
    type_->setObjectName(QStringLiteral("PrintType"));
    type_->setMinimumWidth(240);
    typeLabel->setBuddy(type_);
    auto* adjust = new QGroupBox(QStringLiteral("調整"), this);
    fields_ = new LayoutFields(adjust);
    (new QVBoxLayout(adjust))->addWidget(fields_);

    auto button = [this](const char16_t* text, const char* name) {
        auto* b = new QPushButton(QString::fromUtf16(text), this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    print_ = button(u"O K", "PicPrint");
    preview_ = button(u"プレビュー", "preview");
    setup_ = button(u"プリンタ設定", "PrinterProp");
    rotate_ = button(u"ｲﾒｰｼﾞの回転", "PicRotate");
    close_ = button(u"閉じる", "Command1");
    cancel_ = button(u"キャンセル", "cancelbt");
    cancel_->hide();

    connect(type_, &QComboBox::activated, this, &ImagePrt::choose);
    connect(print_, &QPushButton::clicked, this, &ImagePrt::printClicked);
    connect(preview_, &QPushButton::clicked, this, &ImagePrt::previewClicked);
    connect(setup_, &QPushButton::clicked, this, &ImagePrt::printerSetupClicked);
    connect(rotate_, &QPushButton::clicked, this, &ImagePrt::rotateClicked);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    connect(cancel_, &QPushButton::clicked, this, &ImagePrt::cancelClicked);

    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(typeLabel);
    typeRow->addWidget(type_, 1);
    auto* right = new QVBoxLayout;
    right->addLayout(typeRow);
    right->addWidget(adjust);
    right->addStretch();
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {print_, preview_, setup_, rotate_})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(close_);
    buttons->addWidget(cancel_);
    right->addLayout(buttons);
    auto* top = new QHBoxLayout(this);
    top->addWidget(picture_, 1);
    top->addLayout(right);

    // The formats, the first one chosen.
    store_.load();
    const QString problem = store_.loadMessage();
    if (!problem.isEmpty())
        prompts_.warning(parent, kProgramTitle, problem);
    const SheetFormatTable& table = store_.table();
    for (int n = 1; n <= table.count; ++n)
        type_->addItem(table[n].name());
    if (table.count > 0) {
        type_->setCurrentIndex(0);
        fields_->showFormat(table[1]);
    }
}

ImagePrt::~ImagePrt()
{
    if (printing_)
        cancelRequested_ = true;
}

void ImagePrt::choose(int index)
{
    const SheetFormatTable& table = store_.table();
    if (table.count == 0)
        return;
    int number = index + 1;
    if (number < 1 || number > table.count)
        number = table.count;
    type_->setCurrentIndex(number - 1);
    fields_->showFormat(table[number]);
}

void ImagePrt::printClicked()
{
    if (printing_)
        return;
    if (fields_->validate(layout_, prompts_, this))
        return;
    if (!prompts_.choosePrinter(this, printer_))
        return;

    printing_ = true;
    cancelRequested_ = false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    close_->hide();
    cancel_->show();
    emit printingStarted();
    const QImage image = pic1_.toImage();
    const auto cancelled = [this] { return cancelRequested_; };
    const bool toFile = printer_.outputFormat() == QPrinter::PdfFormat && !printer_.outputFileName().isEmpty();
    lastOutcome_ = toFile ? printSheetToPdf(printer_, printer_.outputFileName(), image, layout_, cancelled)
                          : printSheet(printer_, image, layout_, cancelled);
    cancel_->hide();
    close_->show();
    QApplication::restoreOverrideCursor();
    printing_ = false;
    if (lastOutcome_.status == PrintOutcome::Status::Failed)
        prompts_.message(this, kProgramTitle, lastOutcome_.error);
}

void ImagePrt::previewClicked()
{
    if (fields_->validate(layout_, prompts_, this))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    imaging::Raster sheet;
    const std::optional<QString> error = buildPreviewSheet(appPath_, printer_, pic1_, layout_, sheet);
    QApplication::restoreOverrideCursor();
    if (error) {
        prompts_.message(this, kProgramTitle, *error);
        return;
    }
    // Owned by the main window, modal above this dialog.
    PreviewForm preview(sheet, parentWidget() ? parentWidget() : this);
    preview.exec();
}

void ImagePrt::printerSetupClicked() { prompts_.pageSetup(this, printer_); }

void ImagePrt::rotateClicked()
{
    rotatePicture(pic1_);
    picture_->update();
}

void ImagePrt::cancelClicked()
{
    if (printing_)
        cancelRequested_ = true;
}

}  // namespace print
