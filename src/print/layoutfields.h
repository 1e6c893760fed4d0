#pragma once

#include "print/sheetformats.h"
#include "print/sheetlayout.h"

#include <QWidget>

#include <array>

class QLineEdit;

namespace print {

class PrintPrompts;

// A text box that limits what can be typed to `maxLength` characters while keeping a longer
// text put into it from a file whole (a plain maximum length would cut it).
void limitTyping(QLineEdit* edit, int maxLength);

// The message box of an invalid layout field ("入力値エラー", exclamation, OK).
void ShowSheetLayoutError(PrintPrompts& prompts, QWidget* parent, int code);

// The eight layout text boxes shared by the format editor and the print dialog, in the
// frames "面数", "余白", "画像サイズ" and "画像間隔" with the note "単位はmm". The boxes are
// named after their control arrays: Blank_0 ("上"), Blank_1 ("左"), PictSize_0 ("幅"),
// PictSize_1 ("高さ"), Gap_0 ("上下"), Gap_1 ("左右"), block_0 ("縦"), block_1 ("×横").
class LayoutFields : public QWidget {
    Q_OBJECT

public:
    explicit LayoutFields(QWidget* parent = nullptr);

    QLineEdit* field(int layoutField) const { return edits_[std::size_t(layoutField)]; }
    LayoutTexts texts() const;
    // The format's fields 2 to 9.
    void showFormat(const PrintSheetFormat& format);
    void clear();
    void storeInto(PrintSheetFormat& format) const;

    // ValidateSheetLayout on this window: at the first failing field its message is shown
    // and the focus goes there. True when a field failed (as the check reports it).
    bool validate(SheetLayout& layout, PrintPrompts& prompts, QWidget* messageParent);

private:
    std::array<QLineEdit*, 8> edits_{};
};

}  // namespace print
