#pragma once

#include "editor/placement.h"

#include <QDialog>
#include <QPoint>

#include <functional>

class QLabel;
class QSlider;

namespace core {
struct PortraitSession;
}

namespace editor {

class EditForm;

// "人物表示位置": moves the whole figure on the wide canvas in steps of 20 pixels across and
// 10 pixels down. Modeless; every slider movement changes the portrait at once.
//
// Meant to be made once by the main window (its parent, which it stays above) and kept: it
// opens where it was last closed. The main window opens it from "その他" of "表示位置", and
// closes it with closeDialog() when RemovePart asks (FigureMenuHost::closePositionDialog) and
// when the editor unloads. The slider rules are PositionRules.
class Position : public QDialog {
    Q_OBJECT

public:
    static constexpr char16_t kCaption[] = u"人物表示位置";

    // Changes go through `compose`, called once after each change.
    Position(core::PortraitSession& session, std::function<void()> compose,
             QWidget* parent = nullptr);
    // Composes through `editor` and follows its compositions (undo, redo), so that the
    // sliders always show the portrait. Once the editor is gone, nothing is drawn.
    Position(core::PortraitSession& session, EditForm& editor, QWidget* parent = nullptr);
    ~Position() override;

    // When closed: set both sliders from FigureStepX / FigureStepY and open where it was last
    // closed (the first time at (5500, 1000) twips); then show, raise and give it the focus.
    void openDialog();
    // Closes the dialog (remembering its place, emitting closed()); nothing when not open.
    void closeDialog();

    QSlider* horizontalSlider() const;  // Slider1, "左右"
    QSlider* verticalSlider() const;    // Slider2, "上下"

    // Where the dialog was last closed, in twips; (0, 0) until then.
    QPoint rememberedPlaceTwips() const { return remembered_; }

public slots:
    // The sliders show FigureStepX / FigureStepY again, without applying anything.
    void syncFromState();

signals:
    // A slider moved the figure: "表示位置" should check "その他" and uncheck the other three.
    // Emitted before the portrait is composed.
    void customPositionChosen();
    // The dialog closed: "左", "中央" and "右" of "表示位置" may be enabled again.
    void closed();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void build();
    void stepXChanged(int value);
    void stepYChanged(int value);
    void moved();
    void compose();

    PositionRules rules_;
    std::function<void()> compose_;
    QSlider* horizontal_ = nullptr;
    QSlider* vertical_ = nullptr;
    QPoint remembered_;
};

}  // namespace editor
