#include "editor/partspos.h"

#include "editor/dialogfocus.h"

#include "core/session.h"
#include "editor/editform.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace editor {

namespace {

struct SliderDef {
    const char* objectName;
    const char16_t* caption;
    const char16_t* leftLabel;
    const char16_t* rightLabel;
    SliderRange range;
};

// In the order of PartsPos::Slider.
constexpr SliderDef kSliders[6] = {
    {"Slider1", u"幅：", u"狭い", u"広い", kOutlineStepRange},
    {"Slider2", u"高さ：", u"短い", u"長い", kOutlineStepRange},
    {"Slider3_0", u"位置：", u"離れ目", u"より目", kSpacingRange},
    {"Slider3_1", u"角度：", u"-180", u"180", kAngleRange},
    {"Slider4_0", u"位置：", u"離れ眉", u"より眉", kSpacingRange},
    {"Slider4_1", u"角度：", u"-180", u"180", kAngleRange},
};

struct FrameDef {
    const char16_t* caption;
    int firstSlider;
};

constexpr FrameDef kFrames[3] = {{u"輪郭", 0}, {u"目", 2}, {u"まゆげ", 4}};

// The hourglass for as long as a change is applied and drawn.
struct BusyCursor {
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

std::function<void()> composeThrough(EditForm& editor)
{
    QPointer<EditForm> target(&editor);
    return [target] {
        if (target)
            target->composePortrait();
    };
}

}  // namespace

PartsPos::PartsPos(core::PortraitSession& session, std::function<void()> compose, QWidget* parent)
    : QDialog(parent),
      rules_(session.state, session.images.PreviewTable),
      compose_(std::move(compose))
{
    build();
    syncFromState();
}

PartsPos::PartsPos(core::PortraitSession& session, EditForm& editor, QWidget* parent)
    : PartsPos(session, composeThrough(editor), parent)
{
    connect(&editor, &EditForm::portraitComposed, this, &PartsPos::syncFromState);
}

PartsPos::~PartsPos() = default;

void PartsPos::build()
{
    setObjectName(QStringLiteral("PartsPos"));
    setWindowTitle(QString::fromUtf16(kCaption));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    for (const FrameDef& frameDef : kFrames) {
        auto* frame = new QGroupBox(QString::fromUtf16(frameDef.caption), this);
        auto* grid = new QGridLayout(frame);
        for (int row = 0; row < 2; ++row) {
            const int index = frameDef.firstSlider + row;
            const SliderDef& def = kSliders[index];
            auto* slider = new QSlider(Qt::Horizontal, frame);
            slider->setObjectName(QLatin1String(def.objectName));
            slider->setRange(def.range.minimum, def.range.maximum);
            slider->setTickInterval(def.range.tickInterval);
            slider->setTickPosition(QSlider::TicksBelow);
            slider->setFixedWidth(180);  // the same in every frame
            sliders_[index] = slider;
            grid->addWidget(new QLabel(QString::fromUtf16(def.caption), frame), row, 0);
            grid->addWidget(new QLabel(QString::fromUtf16(def.leftLabel), frame), row, 1,
                            Qt::AlignRight);
            grid->addWidget(slider, row, 2);
            grid->addWidget(new QLabel(QString::fromUtf16(def.rightLabel), frame), row, 3);
            connect(slider, &QSlider::valueChanged, this, &PartsPos::applySliders);
        }
        layout->addWidget(frame);
    }

    update_ = new QPushButton(QStringLiteral("更新"), this);
    update_->setObjectName(QStringLiteral("Command1"));
    connect(update_, &QPushButton::clicked, this, &PartsPos::applySliders);
    layout->addWidget(update_, 0, Qt::AlignRight);
}

void PartsPos::openDialog()
{
    if (!isVisible()) {
        syncFromState();
        move(twipsToPixels(kPartsPosPlaceTwips.x(), logicalDpiX()),
             twipsToPixels(kPartsPosPlaceTwips.y(), logicalDpiY()));
    }
    show();
    raise();
    activateWindow();
}

void PartsPos::closeDialog()
{
    if (isVisible())
        close();
}

QSlider* PartsPos::slider(Slider which) const
{
    return sliders_[int(which)];
}

QPushButton* PartsPos::updateButton() const
{
    return update_;
}

void PartsPos::syncFromState()
{
    const PartsPosSettings s = rules_.current();
    const int values[6] = {s.outlineWidth, s.outlineHeight, s.eyeSpacing,
                           s.eyeAngle,     s.browSpacing,   s.browAngle};
    for (int i = 0; i < 6; ++i) {
        // Showing the portrait's values is not a change of them.
        const QSignalBlocker blocker(sliders_[i]);
        sliders_[i]->setValue(values[i]);
    }
}

void PartsPos::applySliders()
{
    const BusyCursor busy;
    rules_.apply(sliderSettings());
    compose();
}

void PartsPos::compose()
{
    composeKeepingFocus(*this, compose_);
}

void PartsPos::changeEvent(QEvent* event)
{
    // An undo or a removed part may have changed the values while another window was active;
    // a slider that still showed the old ones would bring them back with the next change.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        syncFromState();
    QDialog::changeEvent(event);
}

PartsPosSettings PartsPos::sliderSettings() const
{
    return PartsPosSettings{sliders_[0]->value(), sliders_[1]->value(), sliders_[2]->value(),
                            sliders_[3]->value(), sliders_[4]->value(), sliders_[5]->value()};
}

}  // namespace editor
