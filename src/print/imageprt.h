#pragma once

#include "imaging/engine/raster.h"
#include "print/sheetformats.h"
#include "print/sheetlayout.h"
#include "print/sheetprinter.h"

#include <QDialog>

class QComboBox;
class QFrame;
class QPrinter;
class QPushButton;

namespace print {

class LayoutFields;
class PrintPrompts;

// Where the printed picture comes from: the editor's portrait or an image window's picture.
inline constexpr int kPrintSourceEditor = 1;
inline constexpr int kPrintSourceImage = 2;
// 1 when the active child window is the editor (its form name is "EditForm"), else 2.
int printSourceOf(const QString& activeFormName);

// "似顔絵の印刷": prints one picture into every cell of a print sheet format's grid. The
// picture arrives ready to print (for the editor's portrait, with its captions drawn in
// by Disp_Character2); Img2 keeps it as it came, Pic1 shows it as it will be printed
// (turned by "ｲﾒｰｼﾞの回転").
//
// Controls (objectName): Pic1, PrintType, the layout boxes of LayoutFields in the frame
// "調整", PicPrint ("O K"), preview ("プレビュー"), PrinterProp ("プリンタ設定"), PicRotate,
// Command1 ("閉じる") and cancelbt ("キャンセル", shown only while printing).
class ImagePrt : public QDialog {
    Q_OBJECT

public:
    // `printer` and `prompts` must outlive the dialog; `appPath` holds PRTSET.DFT and
    // format.bmp.
    ImagePrt(int printSource, const imaging::Raster& picture, const QString& appPath,
             QPrinter& printer, PrintPrompts& prompts, QWidget* parent = nullptr);
    ~ImagePrt() override;

    int PrintSource() const { return printSource_; }
    const imaging::Raster& Img2() const { return img2_; }
    const imaging::Raster& Pic1() const { return pic1_; }
    const SheetFormatTable& formats() const { return store_.table(); }
    const SheetLayout& layout() const { return layout_; }
    LayoutFields& fields() const { return *fields_; }
    const PrintOutcome& lastOutcome() const { return lastOutcome_; }
    bool printing() const { return printing_; }

    // The buttons, callable as the clicks are.
    void choose(int index);  // PrintType
    void printClicked();     // "O K"; returns once printing has ended
    void previewClicked();
    void printerSetupClicked();
    void rotateClicked();
    void cancelClicked();

signals:
    // Right before "O K" draws the cells (after the printer was chosen).
    void printingStarted();

private:

    int printSource_;
    imaging::Raster img2_;
    imaging::Raster pic1_;
    QString appPath_;
    QPrinter& printer_;
    PrintPrompts& prompts_;
    SheetFormatStore store_;
    SheetLayout layout_;
    PrintOutcome lastOutcome_;
    bool printing_ = false;
    bool cancelRequested_ = false;

    QFrame* picture_ = nullptr;
    QComboBox* type_ = nullptr;
    LayoutFields* fields_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* preview_ = nullptr;
    QPushButton* setup_ = nullptr;
    QPushButton* rotate_ = nullptr;
    QPushButton* close_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace print
