#include "editor/position.h"

#include "editor/dialogfocus.h"

#include "core/session.h"
#include "editor/editform.h"

#include <QCloseEvent>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace editor {

namespace {

// Labels under a horizontal slider, each centred under the handle's place for its value.
// It must share the slider's column so that both have the same left and width.
class ScaleMarks : public QWidget {
public:
    ScaleMarks(QSlider* slider, QWidget* parent) : QWidget(parent), slider_(slider)
    {
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }

    void addMark(int value, int row, const QString& text)
    {
        auto* label = new QLabel(text, this);
        label->setObjectName(QStringLiteral("mark"));
        marks_.push_back({value, row, label});
        rows_ = std::max(rows_, row + 1);
    }

    QSize sizeHint() const override
    {
        int height = 0;
        for (const Mark& m : marks_)
            height = std::max(height, m.label->sizeHint().height());
        return {0, height * rows_};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        placeMarks();
    }
    void showEvent(QShowEvent* event) override
    {
        QWidget::showEvent(event);
        placeMarks();
    }

private:
    struct Mark {
        int value;
        int row;
        QLabel* label;
    };

    void placeMarks()
    {
        const int handle = slider_->style()->pixelMetric(QStyle::PM_SliderLength, nullptr, slider_);
        const int span = std::max(0, width() - handle);
        const int rowHeight = rows_ > 0 ? height() / rows_ : 0;
        for (const Mark& m : marks_) {
            const int centre = QStyle::sliderPositionFromValue(
                                   slider_->minimum(), slider_->maximum(), m.value, span)
                + handle / 2;
            const QSize size = m.label->sizeHint();
            m.label->setGeometry(centre - size.width() / 2, m.row * rowHeight, size.width(),
                                 size.height());
        }
    }

    QSlider* slider_;
    std::vector<Mark> marks_;
    int rows_ = 0;
};

std::function<void()> composeThrough(EditForm& editor)
{
    QPointer<EditForm> target(&editor);
    return [target] {
        if (target)
            target->composePortrait();
    };
}

QSlider* makeSlider(Qt::Orientation orientation, const SliderRange& range, const char* name,
                    QWidget* parent)
{
    auto* slider = new QSlider(orientation, parent);
    slider->setObjectName(QLatin1String(name));
    slider->setRange(range.minimum, range.maximum);
    slider->setTickInterval(range.tickInterval);
    slider->setPageStep(1);
    slider->setTickPosition(orientation == Qt::Horizontal ? QSlider::TicksAbove
                                                          : QSlider::TicksLeft);
    return slider;
}

}  // namespace

Position::Position(core::PortraitSession& session, std::function<void()> compose, QWidget* parent)
    : QDialog(parent), rules_(session.state), compose_(std::move(compose))
{
    build();
    syncFromState();
}

Position::Position(core::PortraitSession& session, EditForm& editor, QWidget* parent)
    : Position(session, composeThrough(editor), parent)
{
    connect(&editor, &EditForm::portraitComposed, this, &Position::syncFromState);
}

Position::~Position() = default;

void Position::build()
{
    setObjectName(QStringLiteral("Position"));
    setWindowTitle(QString::fromUtf16(kCaption));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* layout = new QHBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* across = new QGroupBox(QStringLiteral("左右"), this);
    auto* acrossGrid = new QGridLayout(across);
    horizontal_ = makeSlider(Qt::Horizontal, kFigureStepXRange, "Slider1", across);
    horizontal_->setMinimumWidth(260);
    acrossGrid->addWidget(new QLabel(QStringLiteral("左"), across), 0, 0);
    acrossGrid->addWidget(horizontal_, 0, 1);
    acrossGrid->addWidget(new QLabel(QStringLiteral("右"), across), 0, 2);
    auto* marks = new ScaleMarks(horizontal_, across);
    marks->addMark(0, 0, QStringLiteral("０"));
    // Where the menu's "左" and "右" put the figure (steps 0 and 14).
    marks->addMark(0, 1, QStringLiteral("(左)"));
    marks->addMark(14, 1, QStringLiteral("(右)"));
    acrossGrid->addWidget(marks, 1, 1);
    acrossGrid->setRowStretch(2, 1);
    layout->addWidget(across);

    auto* down = new QGroupBox(QStringLiteral("上下"), this);
    auto* downColumn = new QVBoxLayout(down);
    vertical_ = makeSlider(Qt::Vertical, kFigureStepYRange, "Slider2", down);
    // The smallest step ("上") at the top; the arrow keys move the handle the way they point.
    vertical_->setInvertedAppearance(true);
    vertical_->setInvertedControls(true);
    vertical_->setMinimumHeight(120);
    downColumn->addWidget(new QLabel(QStringLiteral("上"), down), 0, Qt::AlignHCenter);
    downColumn->addWidget(vertical_, 1, Qt::AlignHCenter);
    downColumn->addWidget(new QLabel(QStringLiteral("下"), down), 0, Qt::AlignHCenter);
    layout->addWidget(down);

    connect(horizontal_, &QSlider::valueChanged, this, &Position::stepXChanged);
    connect(vertical_, &QSlider::valueChanged, this, &Position::stepYChanged);
}

void Position::openDialog()
{
    if (!isVisible()) {
        syncFromState();
        const QPoint place = positionPlaceTwips(remembered_);
        move(twipsToPixels(place.x(), logicalDpiX()), twipsToPixels(place.y(), logicalDpiY()));
    }
    show();
    raise();
    activateWindow();
}

void Position::closeDialog()
{
    if (isVisible())
        close();
}

QSlider* Position::horizontalSlider() const
{
    return horizontal_;
}

QSlider* Position::verticalSlider() const
{
    return vertical_;
}

void Position::syncFromState()
{
    const QSignalBlocker blockX(horizontal_);
    const QSignalBlocker blockY(vertical_);
    horizontal_->setValue(rules_.sliderX());
    vertical_->setValue(rules_.sliderY());
}

void Position::stepXChanged(int value)
{
    if (rules_.setStepX(value))
        moved();
}

void Position::stepYChanged(int value)
{
    if (rules_.setStepY(value))
        moved();
}

void Position::moved()
{
    emit customPositionChosen();
    compose();
}

void Position::compose()
{
    composeKeepingFocus(*this, compose_);
}

void Position::changeEvent(QEvent* event)
{
    // An undo may have moved the figure while another window was active.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        syncFromState();
    QDialog::changeEvent(event);
}

void Position::closeEvent(QCloseEvent* event)
{
    // QDialog's own handling would go through reject(), which comes back here.
    event->accept();
    if (!isVisible())
        return;  // never opened, or closed already: nothing to remember
    remembered_ = QPoint(pixelsToTwips(pos().x(), logicalDpiX()),
                         pixelsToTwips(pos().y(), logicalDpiY()));
    emit closed();
}

void Position::reject()
{
    // Escape closes the dialog like its close box, so that the place is remembered.
    close();
}

}  // namespace editor
