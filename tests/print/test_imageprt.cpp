#include "fakeprompts.h"
#include "pdfmeasure.h"
#include "print/imageprt.h"
#include "print/layoutfields.h"
#include "print/previewform.h"
#include "print/previewsheet.h"
#include "print/sheetprinter.h"
#include "support/testfiles.h"

#include "core/captions.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <iostream>
#include <QFile>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

using namespace print;

namespace {

// White, with a red square at the top-left corner and a blue one at the bottom-right.
imaging::Raster markedPicture(int w = 300, int h = 395)
{
    imaging::Raster r(w, h, 24, qRgb(255, 255, 255));
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            r.setPixel(x, y, qRgb(255, 0, 0));
            r.setPixel(w - 1 - x, h - 1 - y, qRgb(0, 0, 255));
        }
    }
    return r;
}

struct ImagePrtTest : ::testing::Test {
    QTemporaryDir home;
    FakePrintPrompts prompts;
    QPrinter printer{QPrinter::HighResolution};
    std::unique_ptr<ImagePrt> dialog;

    void SetUp() override
    {
        ASSERT_TRUE(QFile::copy(QStringLiteral(FACIORA_DATA_DIR "/PRTSET.DFT"), home.filePath("PRTSET.DFT")));
        ASSERT_TRUE(QFile::copy(QStringLiteral(FACIORA_DATA_DIR "/format.bmp"), home.filePath("format.bmp")));
    }
    void open(const imaging::Raster& picture = markedPicture())
    {
        dialog = std::make_unique<ImagePrt>(kPrintSourceEditor, picture, home.path(), printer, prompts);
    }
    template <typename T>
    T* child(const char* name) const { return dialog->findChild<T*>(QLatin1String(name)); }
    QComboBox* type() const { return child<QComboBox>("PrintType"); }
    // "O K" onto an A4 PDF printer whose whole sheet is printable.
    void printTo(const QString& pdf)
    {
        prompts.onChoosePrinter = [pdf](QPrinter& p) {
            setUpA4PdfPrinter(p, pdf);
            return true;
        };
        dialog->printClicked();
    }
};

void expectCellsWhereTheGeometrySays(const QString& pdf, const Grid& grid, bool turned)
{
    const QImage page = pdfmeasure::rasterise(pdf);
    ASSERT_FALSE(page.isNull());
    EXPECT_NEAR(page.width() / pdfmeasure::kPxPerMm, 210.0, 0.5);
    ASSERT_FALSE(grid.cells.isEmpty());
    for (const QPoint& at : grid.cells) {
        const QRectF cell(at, QSizeF(grid.cellWidth, grid.cellHeight));
        const auto corners = pdfmeasure::cellCorners(page, cell, turned);
        ASSERT_TRUE(corners.has_value()) << at.x() << "," << at.y();
        EXPECT_NEAR(corners->topLeft.x(), cell.left(), 0.5);
        EXPECT_NEAR(corners->topLeft.y(), cell.top(), 0.5);
        EXPECT_NEAR(corners->bottomRight.x(), cell.right(), 0.5);
        EXPECT_NEAR(corners->bottomRight.y(), cell.bottom(), 0.5);
    }
}

}  // namespace

TEST_F(ImagePrtTest, OpensWithTheFirstFormatAndFillsTheFieldsOnChoice)
{
    open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("似顔絵の印刷"));
    EXPECT_EQ(dialog->PrintSource(), kPrintSourceEditor);
    ASSERT_EQ(type()->count(), 6);
    EXPECT_EQ(type()->currentIndex(), 0);
    EXPECT_EQ(dialog->fields().field(PictureWidth)->text(), "180");
    EXPECT_TRUE(child<QPushButton>("cancelbt")->isHidden());
    dialog->choose(3);
    EXPECT_EQ(dialog->fields().field(PictureWidth)->text(), "91");
    // Out of range: the last entry.
    dialog->choose(17);
    EXPECT_EQ(type()->currentIndex(), 5);
    EXPECT_EQ(dialog->fields().field(PictureWidth)->text(), "0");
    EXPECT_EQ(printSourceOf("EditForm"), kPrintSourceEditor);
    EXPECT_EQ(printSourceOf("ImageForm"), kPrintSourceImage);
}

TEST_F(ImagePrtTest, WithoutFormatsOkReportsTheTopMargin)
{
    QFile::remove(home.filePath("PRTSET.DFT"));
    open();
    EXPECT_EQ(type()->count(), 0);
    EXPECT_TRUE(dialog->fields().field(TopMargin)->text().isEmpty());
    dialog->printClicked();
    EXPECT_EQ(prompts.warnings, QStringList{QStringLiteral("入力値エラー|値が不正です。正しい値(0～999)を設定して下さい。")});
    EXPECT_EQ(dialog->focusWidget(), dialog->fields().field(TopMargin));
    EXPECT_EQ(prompts.printerChoices, 0);
    dialog->previewClicked();
    EXPECT_EQ(prompts.warnings.size(), 2);
}

TEST_F(ImagePrtTest, PrintsEveryCellWhereTheGeometrySays)
{
    if (!pdfmeasure::available())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    open();
    const struct {
        int format;
        bool rotate;
    } runs[] = {{4, false}, {6, true}};
    for (const auto& run : runs) {
        dialog->choose(run.format - 1);
        if (run.rotate)
            dialog->rotateClicked();
        const QString pdf = home.filePath(QStringLiteral("out%1.pdf").arg(run.format));
        printTo(pdf);
        ASSERT_TRUE(dialog->lastOutcome().printed()) << dialog->lastOutcome().error.toStdString();
        EXPECT_FALSE(child<QPushButton>("Command1")->isHidden());
        EXPECT_TRUE(child<QPushButton>("cancelbt")->isHidden());
        const Grid grid = printGrid(dialog->layout(), QSizeF(210, 297), dialog->Pic1().size());
        EXPECT_EQ(grid.cells.size(), run.format == 4 ? 10 : 6);
        expectCellsWhereTheGeometrySays(pdf, grid, run.rotate);
    }
}

TEST_F(ImagePrtTest, CancelDuringPrintingWritesNothing)
{
    open();
    dialog->choose(4);  // 20 cells
    QObject::connect(dialog.get(), &ImagePrt::printingStarted, dialog.get(), [this] {
        EXPECT_TRUE(child<QPushButton>("Command1")->isHidden());
        EXPECT_FALSE(child<QPushButton>("cancelbt")->isHidden());
        QTimer::singleShot(0, dialog.get(), [this] { child<QPushButton>("cancelbt")->click(); });
    });
    const QString pdf = home.filePath("cancelled.pdf");
    printTo(pdf);
    EXPECT_EQ(dialog->lastOutcome().status, PrintOutcome::Status::Cancelled);
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_FALSE(child<QPushButton>("Command1")->isHidden());
    EXPECT_TRUE(child<QPushButton>("cancelbt")->isHidden());
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(ImagePrtTest, RotationTurnsPic1AndLeavesImg2)
{
    open();
    dialog->rotateClicked();
    EXPECT_EQ(dialog->Pic1().size(), QSize(395, 300));
    EXPECT_EQ(dialog->Img2().size(), QSize(300, 395));
    // The red corner went to the bottom-left (counter-clockwise).
    EXPECT_EQ(dialog->Pic1().pixel(5, 295), 0xffff0000u);
    dialog->rotateClicked();
    dialog->rotateClicked();
    dialog->rotateClicked();
    EXPECT_EQ(dialog->Pic1(), dialog->Img2());
}

TEST_F(ImagePrtTest, PreviewPutsThePictureInEveryCellOfTheSheet)
{
    open();
    dialog->choose(1);  // 2 x 2, 90 x 118 mm
    SheetLayout layout;
    ASSERT_FALSE(dialog->fields().validate(layout, prompts, nullptr));
    setUpA4PdfPrinter(printer, home.filePath("unused.pdf"));
    imaging::Raster sheet;
    ASSERT_EQ(buildPreviewSheet(home.path(), printer, dialog->Pic1(), layout, sheet), std::nullopt);
    EXPECT_EQ(sheet.size(), QSize(420, 594));
    const Grid grid = previewGrid(layout, sheet.size(), QSizeF(210, 297), dialog->Pic1().size());
    ASSERT_EQ(grid.cells.size(), 4);
    for (const QPoint& at : grid.cells) {
        EXPECT_EQ(sheet.pixel(at.x() + 1, at.y() + 1), 0xffff0000u);
        EXPECT_EQ(sheet.pixel(at.x() + grid.cellWidth - 2, at.y() + grid.cellHeight - 2), 0xff0000ffu);
        EXPECT_EQ(sheet.pixel(at.x() - 1, at.y() - 1), 0xffffffffu);
    }

    // A landscape printer turns the sheet; the cells are laid out on the turned sheet.
    printer.setPageOrientation(QPageLayout::Landscape);
    ASSERT_EQ(buildPreviewSheet(home.path(), printer, dialog->Pic1(), layout, sheet), std::nullopt);
    EXPECT_EQ(sheet.size(), QSize(594, 420));
    const Grid turned = previewGrid(layout, sheet.size(), QSizeF(297, 210), dialog->Pic1().size());
    EXPECT_EQ(sheet.pixel(turned.cells[1].x() + 1, turned.cells[1].y() + 1), 0xffff0000u);

    PreviewForm form(sheet);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("印刷プレビュー"));
    form.resize(800, 700);
    form.show();
    const QRect r = form.sheetRect();
    EXPECT_EQ(r.size(), QSize(594, 420));

    // No sheet picture: the error's own description.
    QFile::remove(home.filePath("format.bmp"));
    EXPECT_NE(buildPreviewSheet(home.path(), printer, dialog->Pic1(), layout, sheet), std::nullopt);
}

TEST(PrintCaptions, DrawsShownCaptionsInTheirStoredBoxes)
{
    core::CaptionTable captions;
    core::CaptionEntry& shown = captions[1];
    shown.Text = "A";
    shown.Shown = true;
    shown.TextSettingA = 0x20;  // opaque
    shown.TextSettingC = 0x00ff00;
    // Partly off the canvas: the printing twin does not move it back.
    shown.BoxLeft = 90;
    shown.BoxTop = 90;
    shown.BoxWidth = 30;
    shown.BoxHeight = 30;
    core::CaptionEntry& hidden = captions[2];
    hidden = shown;
    hidden.Shown = false;
    hidden.BoxLeft = 0;
    hidden.BoxTop = 0;
    hidden.TextSettingC = 0xff0000;

    imaging::Raster picture(100, 100, 24, qRgb(255, 255, 255));
    core::Disp_Character2(captions, picture);
    EXPECT_EQ(picture.pixel(99, 99), 0xff00ff00u);
    EXPECT_EQ(picture.pixel(5, 5), 0xffffffffu);
    EXPECT_EQ(captions[1].BoxLeft, 90);
    EXPECT_EQ(captions[1].FontName, QString::fromUtf16(core::kDefaultCaptionFont));
    EXPECT_EQ(captions[1].FontSize, core::kDefaultCaptionFontSize);
    EXPECT_TRUE(captions[2].FontName.isEmpty());
}

// Printing to a real queue: set FACIORA_CUPS_PRINTER to a CUPS-PDF queue and
// FACIORA_CUPS_OUTPUT to the folder it writes into. Skipped otherwise: tests never need
// a running CUPS.
TEST_F(ImagePrtTest, PrintsToACupsQueue)
{
    const QString queue = qEnvironmentVariable("FACIORA_CUPS_PRINTER");
    const QString outDir = qEnvironmentVariable("FACIORA_CUPS_OUTPUT");
    if (queue.isEmpty() || outDir.isEmpty() || !pdfmeasure::available())
        GTEST_SKIP() << "no CUPS-PDF queue named";
    const QStringList before = QDir(outDir).entryList({"*.pdf"}, QDir::Files);
    open();
    dialog->choose(1);  // 2 x 2
    prompts.onChoosePrinter = [queue](QPrinter& p) {
        p.setOutputFormat(QPrinter::NativeFormat);
        p.setPrinterName(queue);
        p.setPageSize(QPageSize(QPageSize::A4));
        return true;
    };
    dialog->printClicked();
    ASSERT_TRUE(dialog->lastOutcome().printed()) << dialog->lastOutcome().error.toStdString();
    const QRectF paint = printer.pageLayout().paintRect(QPageLayout::Millimeter);
    QString produced;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        for (const QString& f : QDir(outDir).entryList({"*.pdf"}, QDir::Files))
            if (!before.contains(f))
                produced = QDir(outDir).filePath(f);
        return !produced.isEmpty() && QFileInfo(produced).size() > 0;
    }, 30000));
    QTest::qWait(1000);  // let the queue finish writing
    const QImage page = pdfmeasure::rasterise(produced);
    ASSERT_FALSE(page.isNull());
    const Grid grid = printGrid(dialog->layout(), paint.size(), dialog->Pic1().size());
    for (const QPoint& at : grid.cells) {
        const QRectF cell(QPointF(at) + paint.topLeft(), QSizeF(grid.cellWidth, grid.cellHeight));
        const auto corners = pdfmeasure::cellCorners(page, cell);
        ASSERT_TRUE(corners.has_value()) << at.x() << "," << at.y() << " in " << produced.toStdString();
        EXPECT_NEAR(corners->topLeft.x(), cell.left(), 0.5);
        EXPECT_NEAR(corners->topLeft.y(), cell.top(), 0.5);
        EXPECT_NEAR(corners->bottomRight.x(), cell.right(), 0.5);
        EXPECT_NEAR(corners->bottomRight.y(), cell.bottom(), 0.5);
    }
    std::cout << "printed through " << queue.toStdString() << " into " << produced.toStdString()
              << ", printable area " << paint.left() << "," << paint.top() << " " << paint.width() << " x "
              << paint.height() << " mm\n";
}
