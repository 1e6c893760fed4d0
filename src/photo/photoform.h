#pragma once

#include "photo/photoregistry.h"

#include <QDialog>
#include <QString>
#include <QTimer>

#include <array>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace app {
class Prompts;
}

namespace imaging {
class ImageView;
}

namespace photo {

// The registration window "ｲﾒｰｼﾞ登録": browses the registered pictures one at a time, adds
// one from two picture files (or a picture and a mask made from it) and deletes one. A thin
// view of PhotoRegistry; open it modal over the main window.
//
// Controls are named for tests: Pic_main and Pic_mask (previews), NoText (hidden number),
// MainText, MaskText, XText, YText, WidthText, HeightText, HScroll1, AddBTN, DelBTN,
// MainRefBTN, MaskRefBTN, AutoMaskBTN, OKBTN, CancelBTN, CloseBTN.
class PhotoForm : public QDialog {
    Q_OBJECT

public:
    static constexpr char16_t kCaption[] = u"ｲﾒｰｼﾞ登録";
    static constexpr char16_t kMessageTitle[] = u"Faciora";
    static constexpr char16_t kTooLarge[] =
        u"似顔絵作成ウインドウに表示しきれないサイズです。\n575×395ピクセル以下の画像を選択して下さい。";
    static constexpr char16_t kNoNumber[] = u"イメージ番号　未入力";
    static constexpr char16_t kNoFile[] = u"ファイル未指定";
    static constexpr char16_t kStored[] = u"登録しました。";
    static constexpr char16_t kDeleted[] = u"削除しました。";
    static constexpr char16_t kNotStored[] = u"登録できませんでした。写真データベースは変更されていません。";
    static constexpr char16_t kNotDeleted[] = u"削除できませんでした。写真データベースは変更されていません。";
    static constexpr char16_t kCannotOpen[] = u"写真データベース（Photo.mdb）を開けません。";
    static constexpr char16_t kNoMainYet[] = u"メインのｲﾒｰｼﾞを先に選択して下さい。";
    static constexpr char16_t kOpenTitle[] = u"Open File";
    // The first display waits for the window to appear.
    static constexpr int kFirstDisplayMs = 1;

    // `appPath` holds "Photo.mdb" and "format.bmp". The prompts must outlive the window.
    PhotoForm(const QString& appPath, app::Prompts& prompts, QWidget* parent = nullptr);
    ~PhotoForm() override;

    // The file dialog's filters: the formats the engine reads.
    static QStringList fileFilters();

    PhotoRegistry& registry() { return registry_; }
    bool firstDisplayDone() const { return firstDone_; }
    // The picture a preview shows (a blank in the button-face colour when it has none).
    const imaging::Raster& previewPicture(Slot slot) const;
    QRect previewRect(Slot slot) const;

    // The buttons' commands, as clicking them runs them.
    void addClicked();
    void browseClicked(Slot slot);
    void autoMaskClicked();
    void okClicked();
    void cancelClicked();
    void deleteClicked();

private:
    void buildControls();
    void firstDisplay();
    void browse(int value);
    void showFields();
    void enterBrowseState();
    void enterEditState();
    void refreshPreviews();
    void setPreview(Slot slot, const imaging::Raster& picture);
    imaging::Raster blankPreview() const;
    void message(const QString& text);

    QString appPath_;
    app::Prompts& prompts_;
    PhotoRegistry registry_;
    catalog::DbResult opened_;
    QTimer timer_;
    bool firstDone_ = false;

    std::array<imaging::ImageView*, 2> previews_{};
    QLineEdit* number_ = nullptr;
    std::array<QLineEdit*, 2> names_{};
    QLineEdit* x_ = nullptr;
    QLineEdit* y_ = nullptr;
    QLineEdit* width_ = nullptr;
    QLineEdit* height_ = nullptr;
    QScrollBar* scroll_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* delete_ = nullptr;
    std::array<QPushButton*, 2> browse_{};
    QPushButton* autoMask_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace photo
