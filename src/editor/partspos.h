#pragma once

#include "editor/placement.h"

#include <QDialog>

#include <functional>

class QPushButton;
class QSlider;

namespace core {
struct PortraitSession;
}

namespace editor {

class EditForm;

// "似顔絵調整": sliders for the head's width and height and for the spacing and tilt of the
// eyes and eyebrows. Modeless; every slider movement changes the portrait at once.
//
// Meant to be made once by the main window (its parent, which it stays above) and opened
// with openDialog() as often as needed. The slider rules are PartsPosRules.
class PartsPos : public QDialog {
    Q_OBJECT

public:
    static constexpr char16_t kCaption[] = u"似顔絵調整";

    enum class Slider {
        OutlineWidth,   // Slider1
        OutlineHeight,  // Slider2
        EyeSpacing,     // Slider3(0)
        EyeAngle,       // Slider3(1)
        BrowSpacing,    // Slider4(0)
        BrowAngle,      // Slider4(1)
    };

    // Changes go through `compose`, called once after each change.
    PartsPos(core::PortraitSession& session, std::function<void()> compose,
             QWidget* parent = nullptr);
    // Composes through `editor` and follows its compositions (undo, redo, removed parts), so
    // that the sliders always show the portrait. Once the editor is gone, changes are still
    // stored but nothing is drawn.
    PartsPos(core::PortraitSession& session, EditForm& editor, QWidget* parent = nullptr);
    ~PartsPos() override;

    // "ﾊﾟｰﾂ調整": when closed, set the sliders from the portrait and open at (5500, 500) twips;
    // then show, raise and give it the focus.
    void openDialog();
    // Closes the dialog; nothing when it is not open.
    void closeDialog();

    QSlider* slider(Slider which) const;
    QPushButton* updateButton() const;  // Command1 "更新"

public slots:
    // The sliders show the portrait's values again, without applying anything.
    void syncFromState();
    // Command1, and every slider change: applies all six sliders and composes.
    void applySliders();

protected:
    void changeEvent(QEvent* event) override;

private:
    void build();
    PartsPosSettings sliderSettings() const;
    void compose();

    PartsPosRules rules_;
    std::function<void()> compose_;
    QSlider* sliders_[6] = {};
    QPushButton* update_ = nullptr;
};

}  // namespace editor
