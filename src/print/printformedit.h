#pragma once

#include "print/sheetformats.h"
#include "print/sheetlayout.h"

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace print {

class LayoutFields;
class PrintPrompts;

// "印刷用紙設定": the editor of the print sheet formats in PRTSET.DFT. Browse state lists
// the formats; "追　加" and "変　更" open the edit state, "登　録" stores the entry and
// writes the file, the second "キャンセル" drops the edit. Every write is followed by a
// fresh load, as is the dialog's opening.
//
// Controls (objectName): List1, FrmName, the layout boxes of LayoutFields, AddBt, ChgBt,
// DelBt, cancelbt (closes), RegBt, CanBt, and the frame "設定" (Frame_settei).
class PrintFormEdit : public QDialog {
    Q_OBJECT

public:
    // `path` is the formats file; `prompts` answers the message boxes and must outlive the
    // dialog.
    PrintFormEdit(const QString& path, PrintPrompts& prompts, QWidget* parent = nullptr);
    ~PrintFormEdit() override;

    // bt_ctl: 0 browse, 1 edit.
    void bt_ctl(int mode);
    int mode() const { return mode_; }
    // The entry being edited (1-based).
    int target() const { return target_; }
    const SheetFormatTable& table() const { return store_.table(); }

    // The buttons and the list, callable as the clicks are.
    void listClicked();
    void addClicked();
    void changeClicked();
    void deleteClicked();
    void registerClicked();
    void cancelEditClicked();

private:
    void reload();

    SheetFormatStore store_;
    PrintPrompts& prompts_;
    int mode_ = 0;
    int target_ = 0;
    bool loadReported_ = false;

    QListWidget* list_ = nullptr;
    QGroupBox* settings_ = nullptr;
    QLineEdit* name_ = nullptr;
    LayoutFields* fields_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* change_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* close_ = nullptr;
    QPushButton* register_ = nullptr;
    QPushButton* cancelEdit_ = nullptr;
};

}  // namespace print
