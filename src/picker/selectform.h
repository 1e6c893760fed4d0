#pragma once

#include "picker/pickercategories.h"

#include <QWidget>

#include <array>
#include <memory>

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QFrame;
class QToolButton;

namespace catalog {
class PartsDatabase;
}

namespace picker {

class Picker;
class ThumbCell;
class ThumbPager;
class PartApplier;

// The parts picker window ("ﾊﾟｰﾂ選択ｳｨﾝﾄﾞｳ"): five thumbnails of one category with the scroll
// bar, the category icon and strip, the arrows, and the kind's own controls. One window
// shows one category; changing the category makes a new window (Picker::OpenPicker).
class SelectForm : public QWidget {
    Q_OBJECT

public:
    static constexpr char16_t kCaption[] = u"ﾊﾟｰﾂ選択ｳｨﾝﾄﾞｳ";
    static constexpr char16_t kNoImagesTitle[] = u"カテゴリー確認";
    static constexpr char16_t kNoImagesText[] = u"選択されたカテゴリーに該当する画像はありません";

    // The window's load for the picker's CurrentKind: its database view opened, the size and
    // place set, the first fill started a moment after it appears.
    SelectForm(Picker& picker, QWidget* owner);
    ~SelectForm() override;

    int kind() const { return kind_; }
    bool isFilled() const { return filled_; }
    // Null when the database could not be opened.
    ThumbPager* pager() const { return pager_.get(); }
    int sideChoice() const { return P_LR; }  // P_LR
    int colourCode() const { return ColourCode; }

    // What the user can do, also for tests.
    void clickThumbnail(int i);
    void doubleClickThumbnail(int i);
    void scrollTo(int value);
    void showCategoryStrip();      // Picture2
    void chooseStripKey(const QString& key);  // a Toolbar1 button
    void goNext();                 // Command2
    void goPrevious();             // Command3
    void erase();                  // Command1 "消去"
    void chooseSubcategory(int entry);  // Combo1 / Combo2
    void chooseSwatch(int i);      // OP1 / OP2
    void chooseSide(int i);        // OP3
    void layerBack();              // OP4(0) "下"
    void layerFront();             // OP4(1) "上"

    // The in-use borders again, after a composition made elsewhere.
    void markInUse();

    // The controls, for tests and screenshots.
    QScrollBar* scrollBar() const;
    QWidget* thumbnailCell(int i) const;
    QWidget* categoryStrip() const;
    QComboBox* subcategoryList() const;
    QAbstractButton* swatchButton(int i) const;
    QAbstractButton* sideButton(int i) const;
    QPushButton* layerButton(int i) const;
    QPushButton* eraseButton() const;
    QToolButton* categoryIcon() const;
    QLabel* subcategoryLabel() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    void firstFill();
    void unload();
    void syncView();
    void updateLayerButtons();
    void hideStrip();
    void selectSwatchByCode(int i);
    void swatchClicked(int i);
    void sideClicked(int i);
    double twipsPerPixel(bool vertical) const;
    int twips(int pixels, bool vertical) const;
    int pixels(int twips, bool vertical) const;
    QRect twipsRect(int x, int y, int w, int h) const;

    Picker& picker_;
    int kind_;
    int rows_;
    std::unique_ptr<catalog::PartsDatabase> DPeople;
    std::unique_ptr<ThumbPager> pager_;
    std::unique_ptr<PartApplier> applier_;

    // Window variables; they start afresh with every window.
    int P_LR = kBothSides;
    int ColourCode = 0;
    bool FirstTimeOnly = true;
    bool OPB_NoMove = false;
    bool filled_ = false;
    bool unloaded_ = false;
    bool closing_ = false;

    std::array<ThumbCell*, 5> L1{};
    QScrollBar* HSB = nullptr;
    QToolButton* Command3 = nullptr;  // previous category
    QToolButton* Picture2 = nullptr;  // the category icon
    QToolButton* Command2 = nullptr;  // next category
    QLabel* label_ = nullptr;
    QComboBox* combo_ = nullptr;
    std::array<QToolButton*, 3> swatches_{};  // OP1 or OP2
    std::array<QToolButton*, 3> sides_{};     // OP3
    std::array<QPushButton*, 2> layers_{};    // OP4
    QPushButton* Command1 = nullptr;          // 消去
    QFrame* Toolbar1 = nullptr;               // the category strip
    QButtonGroup* swatchGroup_ = nullptr;
    QButtonGroup* sideGroup_ = nullptr;
};

}  // namespace picker
