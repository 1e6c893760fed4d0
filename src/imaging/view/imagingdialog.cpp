#include "imaging/view/imagingdialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <functional>

namespace imaging {

namespace {

// Stored names of the Windows faces; drawn with an installed Japanese font (resolveFontFamily).
const char16_t* const kWindowsFaces[] = {
    u"ＭＳ Ｐゴシック", u"ＭＳ ゴシック", u"ＭＳ Ｐ明朝", u"ＭＳ 明朝", u"MS UI Gothic",
};

constexpr int kMinFontSize = 1;
constexpr int kMaxFontSize = 300;
constexpr QSize kPlainSample(240, 60);

int horizontalIndex(Qt::Alignment a)
{
    if (a & Qt::AlignHCenter)
        return 1;
    if (a & Qt::AlignRight)
        return 2;
    return 0;
}

int verticalIndex(Qt::Alignment a)
{
    if (a & Qt::AlignVCenter)
        return 1;
    if (a & Qt::AlignBottom)
        return 2;
    return 0;
}

Qt::Alignment alignmentOf(int horizontal, int vertical)
{
    static const Qt::Alignment h[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    static const Qt::Alignment v[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    return h[std::clamp(horizontal, 0, 2)] | v[std::clamp(vertical, 0, 2)];
}

QIcon swatch(QRgb colour)
{
    QPixmap pixmap(16, 12);
    pixmap.fill(QColor::fromRgb(colour));
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

QCheckBox* checkBox(const QString& caption, const char* name, QWidget* parent)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QPushButton* button(const QString& caption, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

int effectRoom(TextStyle::Effect effect, int depth)
{
    const int d = std::clamp(depth, 0, kMaxEffectDepth);
    switch (effect) {
    case TextStyle::Effect::Shadow: return d;
    case TextStyle::Effect::Outline: return 2 * d;
    case TextStyle::Effect::None: break;
    }
    return 0;
}

QStringList ImagingDialog::fontNames()
{
    QStringList names;
    for (const char16_t* face : kWindowsFaces)
        names << QString::fromUtf16(face);
    QStringList installed = QFontDatabase::families();
    installed.sort(Qt::CaseInsensitive);
    for (const QString& family : installed) {
        if (!names.contains(family) && !QFontDatabase::isPrivateFamily(family))
            names << family;
    }
    return names;
}

QString ImagingDialog::sampleText() { return QStringLiteral("Aaあア亜"); }

ImagingDialog::ImagingDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ImagingDialog"));
    setWindowTitle(QStringLiteral("フォント"));
    buildControls();
    setSamplePicture(Raster());
    showSettings();
}

ImagingDialog::~ImagingDialog() = default;

QColorDialog* ImagingDialog::colorDialog() const { return colorDialog_.data(); }

void ImagingDialog::buildControls()
{
    auto* top = new QVBoxLayout(this);

    auto* form = new QFormLayout;
    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("text"));
    form->addRow(QStringLiteral("文字:"), text_);

    fontName_ = new QComboBox(this);
    fontName_->setObjectName(QStringLiteral("fontName"));
    fontName_->setEditable(true);
    fontName_->setInsertPolicy(QComboBox::NoInsert);
    fontName_->addItems(fontNames());
    resolvedFont_ = new QLabel(this);
    resolvedFont_->setObjectName(QStringLiteral("resolvedFont"));
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(fontName_, 1);
    nameRow->addWidget(resolvedFont_);
    form->addRow(QStringLiteral("ﾌｫﾝﾄ名:"), nameRow);

    fontSize_ = new QSpinBox(this);
    fontSize_->setObjectName(QStringLiteral("fontSize"));
    fontSize_->setRange(kMinFontSize, kMaxFontSize);
    form->addRow(QStringLiteral("ｻｲｽﾞ:"), fontSize_);

    auto* styles = new QHBoxLayout;
    bold_ = checkBox(QStringLiteral("太字"), "bold", this);
    italic_ = checkBox(QStringLiteral("斜体"), "italic", this);
    underline_ = checkBox(QStringLiteral("下線"), "underline", this);
    strikeout_ = checkBox(QStringLiteral("取り消し線"), "strikeout", this);
    for (QCheckBox* b : {bold_, italic_, underline_, strikeout_})
        styles->addWidget(b);
    styles->addStretch();
    form->addRow(QStringLiteral("ｽﾀｲﾙ:"), styles);
    top->addLayout(form);

    auto* placement = new QGroupBox(QStringLiteral("配置"), this);
    auto* placementRow = new QHBoxLayout(placement);
    horizontal_ = new QComboBox(placement);
    horizontal_->setObjectName(QStringLiteral("horizontalAlign"));
    horizontal_->addItems({QStringLiteral("左"), QStringLiteral("中央"), QStringLiteral("右")});
    vertical_ = new QComboBox(placement);
    vertical_->setObjectName(QStringLiteral("verticalAlign"));
    vertical_->addItems({QStringLiteral("上"), QStringLiteral("中央"), QStringLiteral("下")});
    wordWrap_ = checkBox(QStringLiteral("折り返す"), "wordWrap", placement);
    placementRow->addWidget(new QLabel(QStringLiteral("横:"), placement));
    placementRow->addWidget(horizontal_);
    placementRow->addWidget(new QLabel(QStringLiteral("縦:"), placement));
    placementRow->addWidget(vertical_);
    placementRow->addWidget(wordWrap_);
    placementRow->addStretch();
    top->addWidget(placement);

    auto* colours = new QGroupBox(QStringLiteral("色"), this);
    auto* colourRow = new QHBoxLayout(colours);
    foreColour_ = button(QStringLiteral("文字色..."), "foreColorButton", colours);
    opaque_ = checkBox(QStringLiteral("背景を塗る"), "opaque", colours);
    backColour_ = button(QStringLiteral("背景色..."), "backColorButton", colours);
    colourRow->addWidget(foreColour_);
    colourRow->addWidget(opaque_);
    colourRow->addWidget(backColour_);
    colourRow->addStretch();
    top->addWidget(colours);

    auto* effects = new QGroupBox(QStringLiteral("効果"), this);
    auto* effectRow = new QHBoxLayout(effects);
    effect_ = new QComboBox(effects);
    effect_->setObjectName(QStringLiteral("effectKind"));
    effect_->addItems({QStringLiteral("なし"), QStringLiteral("影"), QStringLiteral("縁取り")});
    effectDepth_ = new QSpinBox(effects);
    effectDepth_->setObjectName(QStringLiteral("effectDepth"));
    effectDepth_->setRange(0, kMaxEffectDepth);
    effectColour_ = button(QStringLiteral("効果色..."), "effectColorButton", effects);
    effectRow->addWidget(effect_);
    effectRow->addWidget(new QLabel(QStringLiteral("深さ:"), effects));
    effectRow->addWidget(effectDepth_);
    effectRow->addWidget(effectColour_);
    effectRow->addStretch();
    top->addWidget(effects);

    auto* sampleBox = new QGroupBox(QStringLiteral("ｻﾝﾌﾟﾙ"), this);
    auto* sampleRow = new QHBoxLayout(sampleBox);
    sampleLabel_ = new QLabel(sampleBox);
    sampleLabel_->setObjectName(QStringLiteral("sample"));
    sampleLabel_->setAlignment(Qt::AlignCenter);
    sampleRow->addWidget(sampleLabel_);
    top->addWidget(sampleBox);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    top->addWidget(buttons);

    // Each control edits only its own field, so that a stored value the controls cannot
    // show exactly (a size past the spin range, say) stays as stored until it is changed.
    connect(text_, &QLineEdit::textChanged, this,
            [this](const QString& t) { edit([&](FontDialogSettings& f) { f.text = t; }); });
    connect(fontName_, &QComboBox::currentTextChanged, this, [this](const QString& name) {
        edit([&](FontDialogSettings& f) { f.style.fontName = name; });
        resolvedFont_->setText(resolveFontFamily(name));
    });
    connect(fontSize_, &QSpinBox::valueChanged, this,
            [this](int v) { edit([&](FontDialogSettings& f) { f.style.fontSize = v; }); });
    const struct {
        QCheckBox* box;
        bool TextStyle::*flag;
        bool inverted;
    } flags[] = {
        {bold_, &TextStyle::bold, false},         {italic_, &TextStyle::italic, false},
        {underline_, &TextStyle::underline, false}, {strikeout_, &TextStyle::strikeout, false},
        {wordWrap_, &TextStyle::wordWrap, false}, {opaque_, &TextStyle::backTransparent, true},
    };
    for (const auto& f : flags) {
        connect(f.box, &QCheckBox::toggled, this, [this, f](bool on) {
            edit([&](FontDialogSettings& s) { s.style.*(f.flag) = on != f.inverted; });
        });
    }
    connect(horizontal_, &QComboBox::currentIndexChanged, this, [this](int i) {
        edit([&](FontDialogSettings& f) {
            f.style.alignment = alignmentOf(i, verticalIndex(f.style.alignment));
        });
    });
    connect(vertical_, &QComboBox::currentIndexChanged, this, [this](int i) {
        edit([&](FontDialogSettings& f) {
            f.style.alignment = alignmentOf(horizontalIndex(f.style.alignment), i);
        });
    });
    connect(effect_, &QComboBox::currentIndexChanged, this, [this](int i) {
        edit([&](FontDialogSettings& f) {
            f.style.effect = TextStyle::Effect(std::clamp(i, 0, 2));
            f.style.effectDepth = effectDepth_->value();
            f.extraWidth = f.extraHeight = effectRoom(f.style.effect, f.style.effectDepth);
        });
    });
    connect(effectDepth_, &QSpinBox::valueChanged, this, [this](int depth) {
        edit([&](FontDialogSettings& f) {
            f.style.effectDepth = depth;
            f.extraWidth = f.extraHeight = effectRoom(f.style.effect, depth);
        });
    });
    connect(foreColour_, &QPushButton::clicked, this, [this] { pickColour(ColourRole::Text); });
    connect(backColour_, &QPushButton::clicked, this, [this] { pickColour(ColourRole::Background); });
    connect(effectColour_, &QPushButton::clicked, this, [this] { pickColour(ColourRole::Effect); });
}

void ImagingDialog::setSettings(const FontDialogSettings& settings)
{
    settings_ = settings;
    showSettings();
}

FontDialogSettings ImagingDialog::settings() const { return settings_; }

void ImagingDialog::setText(const QString& text)
{
    if (text == settings_.text)
        return;
    settings_.text = text;
    showSettings();
}

void ImagingDialog::setSamplePicture(const Raster& picture)
{
    if (picture.isNull())
        samplePicture_ = Raster(kPlainSample.width(), kPlainSample.height(), 24, qRgb(255, 255, 255));
    else
        samplePicture_ = picture;
    redrawSample();
}

void ImagingDialog::showSettings()
{
    updating_ = true;
    const TextStyle& s = settings_.style;
    text_->setText(settings_.text);
    if (fontName_->findText(s.fontName, Qt::MatchExactly) < 0 && !s.fontName.isEmpty())
        fontName_->insertItem(0, s.fontName);
    fontName_->setCurrentText(s.fontName);
    resolvedFont_->setText(resolveFontFamily(s.fontName));
    fontSize_->setValue(int(std::lround(s.fontSize > 0 ? s.fontSize : 12.0)));
    bold_->setChecked(s.bold);
    italic_->setChecked(s.italic);
    underline_->setChecked(s.underline);
    strikeout_->setChecked(s.strikeout);
    horizontal_->setCurrentIndex(horizontalIndex(s.alignment));
    vertical_->setCurrentIndex(verticalIndex(s.alignment));
    wordWrap_->setChecked(s.wordWrap);
    opaque_->setChecked(!s.backTransparent);
    backColour_->setEnabled(!s.backTransparent);
    effect_->setCurrentIndex(int(s.effect));
    effectDepth_->setValue(std::clamp(s.effectDepth, 0, kMaxEffectDepth));
    effectColour_->setEnabled(s.effect != TextStyle::Effect::None);
    updating_ = false;
    refreshColourButtons();
    redrawSample();
}

void ImagingDialog::edit(const std::function<void(FontDialogSettings&)>& change)
{
    if (updating_)
        return;
    change(settings_);
    backColour_->setEnabled(!settings_.style.backTransparent);
    effectColour_->setEnabled(settings_.style.effect != TextStyle::Effect::None);
    redrawSample();
    emit settingsChanged();
}

void ImagingDialog::pickColour(ColourRole role)
{
    const TextStyle& s = settings_.style;
    const QRgb current = role == ColourRole::Text ? s.foreColor
        : role == ColourRole::Background          ? s.backColor
                                                  : s.effectColor;
    if (colorDialog_)
        colorDialog_->close();
    auto* dialog = new QColorDialog(QColor::fromRgb(current), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    colorDialog_ = dialog;
    connect(dialog, &QColorDialog::colorSelected, this,
            [this, role](const QColor& colour) { setColour(role, colour.rgb()); });
    dialog->open();
}

void ImagingDialog::setColour(ColourRole role, QRgb colour)
{
    TextStyle& s = settings_.style;
    colour = qRgb(qRed(colour), qGreen(colour), qBlue(colour));
    switch (role) {
    case ColourRole::Text: s.foreColor = colour; break;
    case ColourRole::Background: s.backColor = colour; break;
    case ColourRole::Effect: s.effectColor = colour; break;
    }
    refreshColourButtons();
    redrawSample();
    emit settingsChanged();
}

void ImagingDialog::refreshColourButtons()
{
    foreColour_->setIcon(swatch(settings_.style.foreColor));
    backColour_->setIcon(swatch(settings_.style.backColor));
    effectColour_->setIcon(swatch(settings_.style.effectColor));
}

void ImagingDialog::redrawSample()
{
    if (!sampleLabel_)
        return;
    Raster sample = samplePicture_;
    const QString text = settings_.text.isEmpty() ? sampleText() : settings_.text;
    try {
        sample.drawText(text, sample.rect(), settings_.style);
    } catch (const ImagingError&) {
        // No fonts (no GUI application): the bare picture is shown.
    }
    sample_ = sample.image();
    sampleLabel_->setPixmap(QPixmap::fromImage(sample_));
}

}  // namespace imaging
