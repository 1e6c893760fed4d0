#include "app/optionform.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace app {

namespace {

const QString kGapCaption = QStringLiteral("*待避画面を　　　　　　　枚まで表示する");
const QString kGapLead = QStringLiteral("*待避画面を");
const QString kGap = QStringLiteral("　　　　　　　");

// The saved-screen count's caption leaves a gap of blanks for the count: the text box and
// its spin arrows sit inside that gap, so that the line reads as one sentence.
class GapLabel : public QLabel {
public:
    GapLabel(QWidget* inGap, QWidget* parent) : QLabel(kGapCaption, parent), inGap_(inGap)
    {
        inGap_->setParent(this);
        setMinimumHeight(inGap_->sizeHint().height());
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QLabel::resizeEvent(event);
        const QFontMetrics fm(font());
        const QRect text = contentsRect();
        const int left = text.left() + fm.horizontalAdvance(kGapLead);
        const int width = fm.horizontalAdvance(kGap);
        const int height = inGap_->sizeHint().height();
        inGap_->setGeometry(left, text.top() + (text.height() - height) / 2, width, height);
    }

private:
    QWidget* inGap_;
};

QLabel* heading(const QString& caption, QWidget* parent)
{
    return new QLabel(caption, parent);
}

QToolButton* arrow(Qt::ArrowType type, const char* name, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setArrowType(type);
    b->setAutoRepeat(true);
    b->setFixedSize(14, 10);
    return b;
}

}  // namespace

OptionForm::OptionForm(core::Settings& settings, const QString& appPath, QWidget* parent)
    : QDialog(parent), settings_(settings), appPath_(appPath), dialog_(settings)
{
    setObjectName(QStringLiteral("OptionForm"));
    setWindowTitle(QStringLiteral("ｵﾌﾟｼｮﾝ"));
    setAttribute(Qt::WA_DeleteOnClose);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("TabStrip1"));
    // All three tabs stay in sight; the window grows to hold them.
    tabs_->tabBar()->setUsesScrollButtons(false);
    tabs_->tabBar()->setElideMode(Qt::ElideNone);
    tabs_->addTab(buildFaceFrame(), QStringLiteral("似顔絵作成ｳｨﾝﾄﾞｳ"));
    tabs_->addTab(buildSavedScreenFrame(), QStringLiteral("待避ｳｨﾝﾄﾞｳ"));
    tabs_->addTab(buildPartsFrame(), QStringLiteral("ﾊﾟｰﾂ選択ｳｨﾝﾄﾞｳ"));

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("OKBTN"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel_->setObjectName(QStringLiteral("CANCELBTN"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);

    auto* top = new QVBoxLayout(this);
    top->addWidget(tabs_);
    top->addLayout(buttons);

    // The load: the controls show what the logic loaded; nothing is changed yet.
    defaultFace_->setChecked(dialog_.defaultFaceTicked());
    savedScreens_->setText(dialog_.savedScreenText());
    (dialog_.overlaySelected() ? overlay_ : single_)->setChecked(true);
    for (int b = 0; b < core::OptionsDialog::kBoxCount; ++b)
        boxes_[std::size_t(b)]->setChecked(dialog_.boxTicked(b));
    ok_->setEnabled(dialog_.okEnabled());

    // clicked and textEdited come from the user only, not from the load above.
    connect(defaultFace_, &QCheckBox::clicked, this, [this](bool on) {
        dialog_.clickDefaultFace(on);
        markChanged();
    });
    connect(savedScreens_, &QLineEdit::textEdited, this, [this](const QString& text) {
        dialog_.editSavedScreenText(text);
        markChanged();
    });
    connect(spinUp_, &QToolButton::clicked, this, [this] { spin(1); });
    connect(spinDown_, &QToolButton::clicked, this, [this] { spin(-1); });
    connect(overlay_, &QRadioButton::clicked, this, [this] {
        dialog_.clickOverlayMode(true);
        markChanged();
    });
    connect(single_, &QRadioButton::clicked, this, [this] {
        dialog_.clickOverlayMode(false);
        markChanged();
    });
    for (int b = 0; b < core::OptionsDialog::kBoxCount; ++b) {
        connect(boxes_[std::size_t(b)], &QCheckBox::clicked, this, [this, b](bool on) {
            dialog_.clickBox(b, on);
            markChanged();
        });
    }
    connect(ok_, &QPushButton::clicked, this, &OptionForm::okClicked);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

OptionForm::~OptionForm() = default;

QWidget* OptionForm::buildFaceFrame()
{
    auto* frame = new QFrame;
    frame->setObjectName(QStringLiteral("Frame1"));
    defaultFace_ = new QCheckBox(QStringLiteral("新規作成時に似顔絵を表示する"), frame);
    defaultFace_->setObjectName(QStringLiteral("DfltfaceCK"));
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(defaultFace_);
    layout->addStretch();
    return frame;
}

QWidget* OptionForm::buildSavedScreenFrame()
{
    auto* frame = new QFrame;
    frame->setObjectName(QStringLiteral("Frame2"));

    auto* count = new QWidget;
    savedScreens_ = new QLineEdit(count);
    savedScreens_->setObjectName(QStringLiteral("Text1"));
    savedScreens_->setAlignment(Qt::AlignRight);
    auto* upDown = new QWidget(count);
    upDown->setObjectName(QStringLiteral("UpDown1"));
    spinUp_ = arrow(Qt::UpArrow, "UpDown1Up", upDown);
    spinDown_ = arrow(Qt::DownArrow, "UpDown1Down", upDown);
    auto* arrows = new QVBoxLayout(upDown);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(spinUp_);
    arrows->addWidget(spinDown_);
    auto* row = new QHBoxLayout(count);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(savedScreens_, 1);
    row->addWidget(upDown);

    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(new GapLabel(count, frame));
    layout->addStretch();
    return frame;
}

QWidget* OptionForm::buildPartsFrame()
{
    auto* frame = new QFrame;
    frame->setObjectName(QStringLiteral("Frame3"));
    auto* layout = new QVBoxLayout(frame);

    layout->addWidget(heading(QStringLiteral("*ﾊﾟｰﾂ表示方法"), frame));
    overlay_ = new QRadioButton(QStringLiteral("重ねあわせ"), frame);
    overlay_->setObjectName(QStringLiteral("Option1"));
    single_ = new QRadioButton(QStringLiteral("単一ﾊﾟｰﾂ"), frame);
    single_->setObjectName(QStringLiteral("Option2"));
    auto* modes = new QHBoxLayout;
    modes->addWidget(overlay_);
    modes->addWidget(single_);
    modes->addStretch();
    layout->addLayout(modes);

    layout->addWidget(heading(QStringLiteral("*重ねあわせ表示のとき表示するﾊﾟｰﾂ"), frame));
    auto* grid = new QGridLayout;
    constexpr int kColumns = 4;
    const auto& table = core::OptionsDialog::boxes();
    for (int b = 0; b < core::OptionsDialog::kBoxCount; ++b) {
        auto* box = new QCheckBox(QString::fromUtf16(table[std::size_t(b)].caption), frame);
        box->setObjectName(QLatin1String(table[std::size_t(b)].name));
        boxes_[std::size_t(b)] = box;
        grid->addWidget(box, b / kColumns, b % kColumns);
    }
    layout->addLayout(grid);
    layout->addStretch();
    return frame;
}

void OptionForm::markChanged() { ok_->setEnabled(dialog_.okEnabled()); }

void OptionForm::spin(int delta)
{
    dialog_.spin(delta);
    savedScreens_->setText(dialog_.savedScreenText());
    markChanged();
}

void OptionForm::okClicked()
{
    const bool changed = dialog_.changed();
    const bool written = dialog_.accept(settings_, appPath_);
    if (changed)
        emit settingsChanged();
    if (!written) {
        // The settings in use have changed; only keeping them for the next start failed.
        auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Faciora"),
                                    QStringLiteral("設定を ravoze.ini に保存できませんでした。"),
                                    QMessageBox::Ok, parentWidget());
        box->setObjectName(QStringLiteral("OptionWriteError"));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    }
    accept();
}

}  // namespace app
