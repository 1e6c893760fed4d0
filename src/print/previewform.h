#pragma once

#include "imaging/engine/raster.h"
#include "print/sheetlayout.h"

#include <QDialog>
#include <QSizeF>

#include <optional>

class QPrinter;

namespace print {

// Builds what the preview shows: format.bmp of `appPath` as the printable page of
// `printer` (turned when the printer is in landscape) with `picture` in every cell.
// Returns the reason on failure (the sheet picture missing or unreadable, the engine
// failing).
std::optional<QString> buildPreviewSheet(const QString& appPath, const QPrinter& printer,
                                         const imaging::Raster& picture,
                                         const SheetLayout& layout, imaging::Raster& sheet);

// "印刷プレビュー": the sheet centred in the window, and "閉じる".
// Controls (objectName): previewimg, Command1.
class PreviewForm : public QDialog {
    Q_OBJECT

public:
    explicit PreviewForm(const imaging::Raster& sheet, QWidget* parent = nullptr);
    ~PreviewForm() override;

    const imaging::Raster& sheet() const { return sheet_; }
    // Where the sheet stands in the window's client area.
    QRect sheetRect() const;

private:
    imaging::Raster sheet_;
    QWidget* view_ = nullptr;
};

}  // namespace print
