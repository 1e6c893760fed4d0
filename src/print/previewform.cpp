#include "print/previewform.h"

#include "imaging/engine/errors.h"
#include "print/previewsheet.h"
#include "print/sheetprinter.h"

#include "core/inifile.h"

#include <QHBoxLayout>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace print {

namespace {

// The sheet, centred: left = (inner width - sheet width) / 2, likewise the top.
class SheetView final : public QWidget {
public:
    SheetView(const imaging::Raster& sheet, QWidget* parent) : QWidget(parent), sheet_(sheet)
    {
        setObjectName(QStringLiteral("previewimg"));
        setMinimumSize(sheet.size());
    }
    QRect sheetRect() const
    {
        return QRect(QPoint((width() - sheet_.width()) / 2, (height() - sheet_.height()) / 2),
                     sheet_.size());
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Dark));
        p.drawImage(sheetRect().topLeft(), sheet_.image());
    }

private:
    const imaging::Raster& sheet_;
};

}  // namespace

std::optional<QString> buildPreviewSheet(const QString& appPath, const QPrinter& printer,
                                         const imaging::Raster& picture,
                                         const SheetLayout& layout, imaging::Raster& sheet)
{
    const QString path = core::findFileNoCase(appPath, QString::fromLatin1(kSheetPictureName));
    imaging::Raster blank;
    if (const int code = blank.load(path); code != 0)
        return QStringLiteral("%1 (%2)").arg(imaging::DecodeError(code), QString::fromLatin1(kSheetPictureName));
    const bool landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    try {
        sheet = renderPreviewSheet(blank, landscape, picture, layout, printableSizeMm(printer));
    } catch (const imaging::ImagingError& e) {
        return imaging::DecodeError(e.code());
    }
    return std::nullopt;
}

PreviewForm::PreviewForm(const imaging::Raster& sheet, QWidget* parent)
    : QDialog(parent), sheet_(sheet)
{
    setObjectName(QStringLiteral("previewform"));
    setWindowTitle(QStringLiteral("印刷プレビュー"));
    view_ = new SheetView(sheet_, this);
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("Command1"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addLayout(buttons);
    const int side = std::max(sheet_.width(), sheet_.height()) + 40;
    resize(side, side + 50);
}

PreviewForm::~PreviewForm() = default;

QRect PreviewForm::sheetRect() const
{
    return static_cast<SheetView*>(view_)->sheetRect().translated(view_->pos());
}

}  // namespace print
