#include "app/characterform.h"

#include "catalog/partsdatabase.h"
#include "core/history.h"
#include "core/inifile.h"
#include "core/rounding.h"
#include "core/session.h"
#include "editor/editform.h"
#include "editor/editorenvironment.h"
#include "imaging/view/imagingdialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace app {

namespace {

const QString kSamplePictureName = QStringLiteral("ﾌｫﾝﾄ.bmp");
const char16_t* const kArrowCaptions[] = {u"←", u"↑", u"↓", u"→"};

// TextSettingA's bits that the font dialog edits: placement, word wrap, opaque.
constexpr int kLayoutBits = 0x3f;

std::int32_t packedColour(QRgb colour) { return std::int32_t(colour & 0xffffff); }

int horizontalCode(Qt::Alignment a)
{
    if (a & Qt::AlignHCenter)
        return 1;
    if (a & Qt::AlignRight)
        return 2;
    return 0;
}

int verticalCode(Qt::Alignment a)
{
    if (a & Qt::AlignVCenter)
        return 1;
    if (a & Qt::AlignBottom)
        return 2;
    return 0;
}

int effectCode(imaging::TextStyle::Effect effect)
{
    switch (effect) {
    case imaging::TextStyle::Effect::Shadow: return 1;
    case imaging::TextStyle::Effect::Outline: return 2;
    case imaging::TextStyle::Effect::None: break;
    }
    return 0;
}

QPushButton* button(const QString& caption, const QString& name, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

// Twips per pixel of the screen a window is on.
double twipsPerPixel(int logicalDpi) { return logicalDpi > 0 ? 1440.0 / logicalDpi : 15.0; }

}  // namespace

imaging::FontDialogSettings fontDialogSettings(const core::CaptionEntry& caption)
{
    imaging::FontDialogSettings s;
    s.text = caption.Text;
    // An empty font name shows as "ＭＳ Ｐゴシック", a size of 0 as 12: what is drawn.
    s.style = core::captionTextStyle(caption);
    s.extraWidth = caption.TextSettingE;
    s.extraHeight = caption.TextSettingF;
    return s;
}

void applyFontDialogSettings(core::CaptionEntry& c, const imaging::FontDialogSettings& s)
{
    const imaging::TextStyle& style = s.style;
    c.Text = s.text;
    c.FontName = style.fontName;
    c.FontSize = core::roundToInt16(style.fontSize);
    c.FontBold = style.bold;
    c.FontItalic = style.italic;
    c.FontUnderline = style.underline;
    c.FontStrikethrough = style.strikeout;
    const int layout = horizontalCode(style.alignment) | verticalCode(style.alignment) << 2
        | (style.wordWrap ? 0x10 : 0) | (style.backTransparent ? 0 : 0x20);
    c.TextSettingA = std::int16_t((c.TextSettingA & ~kLayoutBits) | layout);
    c.TextSettingB = packedColour(style.foreColor);
    c.TextSettingC = packedColour(style.backColor);
    c.TextSettingD = packedColour(style.effectColor);
    c.TextSettingE = core::clampToInt16(s.extraWidth);
    c.TextSettingF = core::clampToInt16(s.extraHeight);
    const int depth = std::clamp(style.effectDepth, 0, 0xff);
    c.TextSettingG = std::int16_t(std::uint16_t(effectCode(style.effect) | depth << 8));
}

CharacterForm::Hooks CharacterForm::editorHooks(core::PortraitSession& session,
                                                editor::EditForm& editor,
                                                editor::EditorEnvironment& environment)
{
    Hooks hooks;
    hooks.redraw = [&editor] { editor.showCaptions(); };
    hooks.recordSnapshot = [&session, &editor, &environment] {
        // The editor's own databases, as its compositions record with them.
        catalog::PartsDatabase& parts = editor.partsView();
        catalog::PartsDatabase& photos = editor.photosView();
        core::HistoryContext ctx = session.historyContext(
            core::PartDatabases{parts.isOpen() ? &parts : nullptr, photos.isOpen() ? &photos : nullptr},
            &environment);
        core::RecordSnapshot(ctx);
    };
    return hooks;
}

CharacterForm::CharacterForm(core::PortraitSession& session, const QString& appPath,
                             Hooks hooks, QWidget* parent)
    : QDialog(parent), session_(session), hooks_(std::move(hooks))
{
    setObjectName(QStringLiteral("Character"));
    setWindowTitle(QStringLiteral("文字編集"));
    setAttribute(Qt::WA_DeleteOnClose);

    Text1_ = new QLineEdit(this);
    Text1_->setObjectName(QStringLiteral("Text1"));

    auto* captionRow = new QHBoxLayout;
    for (int i = 0; i < core::CaptionTable::kCount; ++i) {
        QPushButton* b = button(QString::number(i + 1), QStringLiteral("Command2_%1").arg(i), this);
        Command2_[std::size_t(i)] = b;
        captionRow->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, i] { selectCaption(i); });
    }

    Command1_ = button(QStringLiteral("フォント"), QStringLiteral("Command1"), this);
    Command3_ = button(QStringLiteral("消去"), QStringLiteral("Command3"), this);
    Command5_ = button(QStringLiteral("ＯＫ"), QStringLiteral("Command5"), this);

    // The arrows as a cross: ↑ above, ← and → beside, ↓ below.
    auto* arrows = new QGridLayout;
    const struct {
        int row, column;
    } cells[] = {{1, 0}, {0, 1}, {2, 1}, {1, 2}};  // ← ↑ ↓ →
    for (int i = 0; i < 4; ++i) {
        QPushButton* b = button(QString::fromUtf16(kArrowCaptions[i]),
                                QStringLiteral("Command4_%1").arg(i), this);
        b->setFixedWidth(b->sizeHint().height() * 3 / 2);
        Command4_[std::size_t(i)] = b;
        arrows->addWidget(b, cells[i].row, cells[i].column);
        connect(b, &QPushButton::pressed, this, [this, i] { arrowPressed(i); });
        connect(b, &QPushButton::released, this, [this] { arrowReleased(); });
    }

    auto* commands = new QHBoxLayout;
    commands->addWidget(Command1_);
    commands->addStretch();
    commands->addLayout(arrows);
    commands->addStretch();
    auto* endButtons = new QVBoxLayout;
    endButtons->addWidget(Command3_);
    endButtons->addWidget(Command5_);
    commands->addLayout(endButtons);

    auto* top = new QVBoxLayout(this);
    top->addWidget(Text1_);
    top->addLayout(captionRow);
    top->addLayout(commands);

    ImgDlg1_ = new imaging::ImagingDialog(this);
    ImgDlg1_->setObjectName(QStringLiteral("ImgDlg1"));

    connect(Text1_, &QLineEdit::textChanged, this, &CharacterForm::textEdited);
    connect(Command1_, &QPushButton::clicked, this, &CharacterForm::fontClicked);
    connect(Command3_, &QPushButton::clicked, this, &CharacterForm::clearClicked);
    connect(Command5_, &QPushButton::clicked, this, &CharacterForm::okClicked);
    connect(ImgDlg1_, &QDialog::finished, this, &CharacterForm::fontDialogFinished);
    arrowTimer_.setInterval(kArrowRepeatMs);
    connect(&arrowTimer_, &QTimer::timeout, this, &CharacterForm::arrowStep);

    // The load.
    // A missing or unreadable sample leaves the font dialog its plain white one.
    if (Img1_.load(core::findFileNoCase(appPath, kSamplePictureName)) != 0)
        Img1_ = imaging::Raster();
    ImgDlg1_->setSamplePicture(Img1_);
    Img1_ = ImgDlg1_->samplePicture();

    const QPoint twips = core::textDialogPosition(session_.captionDraw);
    move(qRound(twips.x() / twipsPerPixel(logicalDpiX())),
         qRound(twips.y() / twipsPerPixel(logicalDpiY())));
    loaded_ = true;
    selectCaption(0);
}

CharacterForm::~CharacterForm() { unload(); }

int CharacterForm::currentCaption() const { return session_.captionDraw.CurrentCaption; }

core::CaptionEntry& CharacterForm::current() { return session_.captions[currentCaption()]; }

QSize CharacterForm::canvasSize() const
{
    return QSize(session_.state.CanvasWidth, session_.state.CanvasHeight);
}

// The commands act only while the text box is shown (not while the window is hidden).
bool CharacterForm::active() const { return loaded_ && Text1_->isVisible(); }

void CharacterForm::Disp_Character()
{
    if (hooks_.redraw)
        hooks_.redraw();
}

void CharacterForm::recordSnapshot()
{
    if (hooks_.recordSnapshot)
        hooks_.recordSnapshot();
}

void CharacterForm::selectCaption(int index)
{
    arrowReleased();
    for (QPushButton* b : Command2_)
        b->setPalette(QPalette());
    QPalette yellow = Command2_[std::size_t(index)]->palette();
    yellow.setColor(QPalette::Button, Qt::yellow);
    Command2_[std::size_t(index)]->setPalette(yellow);
    session_.captionDraw.CurrentCaption = index + 1;
    const QString text = current().Text;
    if (Text1_->text() == text)
        textEdited(text);  // no change signal for the same text, but the rule still applies
    else
        Text1_->setText(text);
    Text1_->setFocus();
}

void CharacterForm::textEdited(const QString& text)
{
    if (!loaded_ || currentCaption() == 0)
        return;
    ImgDlg1_->setText(text);
    core::setCaptionText(current(), text);
}

void CharacterForm::fontClicked()
{
    if (!active())
        return;
    ImgDlg1_->setSettings(fontDialogSettings(current()));
    ImgDlg1_->setSamplePicture(Img1_);
    ImgDlg1_->open();
}

void CharacterForm::fontDialogFinished(int result)
{
    if (!loaded_ || currentCaption() == 0)
        return;
    const bool confirmed = result == QDialog::Accepted;
    if (confirmed) {
        applyFontDialogSettings(current(), ImgDlg1_->settings());
        // The text box follows a text changed in the font dialog (and the rule for an
        // emptied text applies).
        Text1_->setText(current().Text);
    }
    Disp_Character();
    if (current().Shown && confirmed)
        recordSnapshot();
}

void CharacterForm::okClicked()
{
    if (!active())
        return;
    core::confirmCaption(current());
    Disp_Character();
    recordSnapshot();
}

void CharacterForm::clearClicked()
{
    if (!active())
        return;
    core::clearCaption(current());
    Text1_->clear();
    Disp_Character();
    recordSnapshot();
}

void CharacterForm::arrowPressed(int arrow)
{
    if (!active() || !current().Shown)
        return;
    arrow_ = arrow;
    arrowCaption_ = currentCaption();
    // The first step goes at once, the rest while the button stays down.
    if (arrowStep())
        arrowTimer_.start();
}

bool CharacterForm::arrowStep()
{
    if (arrow_ < 0)
        return false;
    core::CaptionEntry& caption = session_.captions[arrowCaption_];
    if (!caption.Shown
        || !core::stepCaption(caption, core::CaptionArrow(arrow_), canvasSize())) {
        // At the limit the loop ends; the release still records.
        arrowTimer_.stop();
        return false;
    }
    Disp_Character();
    return true;
}

void CharacterForm::arrowReleased()
{
    if (arrowCaption_ == 0)
        return;
    arrowTimer_.stop();
    arrow_ = -1;
    arrowCaption_ = 0;
    recordSnapshot();
}

void CharacterForm::unload()
{
    if (!loaded_)
        return;
    arrowReleased();
    loaded_ = false;
    session_.captionDraw.CurrentCaption = 0;
    const QPoint pos = this->pos();
    session_.captionDraw.TextDialogPos =
        QPoint(core::roundToInt16(pos.x() * twipsPerPixel(logicalDpiX())),
               core::roundToInt16(pos.y() * twipsPerPixel(logicalDpiY())));
}

void CharacterForm::closeEvent(QCloseEvent* event)
{
    unload();
    QDialog::closeEvent(event);
}

void CharacterForm::done(int result)
{
    unload();
    QDialog::done(result);
}

}  // namespace app
