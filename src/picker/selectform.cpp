#include "picker/selectform.h"

#include "catalog/partsdatabase.h"
#include "catalog/recordsource.h"
#include "core/rounding.h"
#include "core/session.h"
#include "picker/partapplier.h"
#include "picker/picker.h"
#include "picker/pickerenvironment.h"
#include "picker/thumbpager.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QFrame>
#include <QToolButton>
#include <QToolTip>
#include <qdrawutil.h>

#include <functional>

namespace picker {

namespace kind = core::kind;

namespace {

// Geometry in twips, at the picker's client area (the frame is the platform's).
constexpr int kClientWidth = 8385;
constexpr int kClientHeight = 3080 - 27 * 15;
constexpr int kThumbLeft[5] = {130, 1740, 3350, 4950, 6550};
constexpr int kThumbTop = 710;
constexpr int kThumbSide = 1605;
constexpr int kControlTop = 120;
constexpr int kSwatchLeft[3] = {3345, 3945, 4545};
constexpr int kLayerLeft[2] = {3360, 3960};
constexpr int kButtonSide = 495;
// Where the picker opens the first time.
constexpr int kFirstLeft = 3160;
constexpr int kFirstTop = 3860;

// The first fill waits until the window has appeared; a double click closes it a moment
// after the click that applied the part.
constexpr int kFirstFillDelayMs = 1;
constexpr int kDoubleClickCloseMs = 5;

// The hourglass while the picker loads.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

QString swatchStyle(QRgb colour)
{
    const QString c = QColor(colour).name();
    return QStringLiteral("QToolButton { background-color: %1; border: 2px outset #a0a0a0; }"
                          "QToolButton:checked { border: 2px inset #606060; }")
        .arg(c);
}

}  // namespace

// One thumbnail (L1(i)): the picture fitted into the cell, keeping its proportions, with a
// raised border when it shows the part in use.
class ThumbCell : public QWidget {
public:
    explicit ThumbCell(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    std::function<void()> onClick;
    std::function<void()> onDoubleClick;
    std::function<QString()> toolTipText;

    void setPicture(const imaging::Raster& picture, bool raised)
    {
        const qint64 key = picture.isNull() ? 0 : picture.image().cacheKey();
        if (key == key_ && raised == raised_)
            return;
        key_ = key;
        raised_ = raised;
        setProperty("inUse", raised);
        image_ = picture.isNull() ? QImage() : picture.image();
        update();
    }
    bool isRaised() const { return raised_; }
    const QImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        const QRect inner = rect().adjusted(2, 2, -2, -2);
        if (!image_.isNull()) {
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            const QSizeF fitted = QSizeF(image_.size()).scaled(QSizeF(inner.size()), Qt::KeepAspectRatio);
            const QRectF target(inner.x() + (inner.width() - fitted.width()) / 2,
                                inner.y() + (inner.height() - fitted.height()) / 2, fitted.width(),
                                fitted.height());
            p.drawImage(target, image_);
        }
        if (raised_)
            qDrawShadePanel(&p, rect(), palette(), false, 2);
        else
            qDrawPlainRect(&p, rect(), palette().color(QPalette::Mid), 1);
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        pressed_ = e->button() == Qt::LeftButton;
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        // The release after a double click ends that double click, not another click.
        const bool click = pressed_ && e->button() == Qt::LeftButton && rect().contains(e->pos());
        pressed_ = false;
        if (click && onClick)
            onClick();
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        pressed_ = false;
        if (e->button() == Qt::LeftButton && onDoubleClick)
            onDoubleClick();
    }
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::ToolTip) {
            const QString text = toolTipText ? toolTipText() : QString();
            if (text.isEmpty())
                QToolTip::hideText();
            else
                QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), text, this);
            return true;
        }
        return QWidget::event(e);
    }

private:
    QImage image_;
    qint64 key_ = -1;
    bool raised_ = false;
    bool pressed_ = false;
};

// ---- load -------------------------------------------------------------------------------

SelectForm::SelectForm(Picker& picker, QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::WindowCloseButtonHint | Qt::WindowTitleHint
                         | Qt::CustomizeWindowHint),
      picker_(picker),
      kind_(picker.globals().CurrentKind),
      rows_(picker.globals().RowsPerPart)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("SelectForm"));
    setWindowTitle(QString::fromUtf16(kCaption));
    buildControls();

    // DPeople: the picker's own view of its database.
    core::PortraitSession& session = picker.session();
    DPeople = std::make_unique<catalog::PartsDatabase>();
    const QString path = catalog::findFileNoCase(picker.dataFolder(), picker.globals().PickerDatabase);
    const catalog::DbResult opened =
        path.isEmpty() ? catalog::DbResult::failure(QStringLiteral("%1 was not found in %2")
                                                        .arg(picker.globals().PickerDatabase,
                                                             picker.dataFolder()))
                       : DPeople->open(path, QString::fromLatin1(catalog::kListOrderSource));
    if (opened) {
        pager_ = std::make_unique<ThumbPager>(*DPeople, session, kind_, rows_);
        const QSizeF tpp(twipsPerPixel(false), twipsPerPixel(true));
        applier_ = std::make_unique<PartApplier>(session, &picker.environment(),
                                                 [&picker] { picker.compose(); }, tpp);
    }

    ColourCode = initialColourCode(kind_);
    FirstTimeOnly = true;
    setFixedSize(pixels(kClientWidth, false), pixels(kClientHeight, true));
    const PickerGlobals& g = picker.globals();
    if (g.PickerPosLeft != 0 || g.PickerPosTop != 0)
        move(pixels(g.PickerPosLeft, false), pixels(g.PickerPosTop, true));
    else
        move(pixels(kFirstLeft, false), pixels(kFirstTop, true));
    HSB->setEnabled(true);
    QTimer::singleShot(kFirstFillDelayMs, this, [this] { firstFill(); });

    if (!opened) {
        QTimer::singleShot(0, this, [this, message = opened.error()] {
            picker_.environment().showMessage(this, QStringLiteral("Faciora"), message);
        });
    }
}

SelectForm::~SelectForm()
{
    unload();
}

double SelectForm::twipsPerPixel(bool vertical) const
{
    const QScreen* s = screen();
    const double dpi = s ? (vertical ? s->logicalDotsPerInchY() : s->logicalDotsPerInchX()) : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

int SelectForm::twips(int px, bool vertical) const
{
    return qRound(px * twipsPerPixel(vertical));
}

int SelectForm::pixels(int tw, bool vertical) const
{
    return qRound(tw / twipsPerPixel(vertical));
}

QRect SelectForm::twipsRect(int x, int y, int w, int h) const
{
    return QRect(pixels(x, false), pixels(y, true), pixels(w, false), pixels(h, true));
}

void SelectForm::buildControls()
{
    Command3 = new QToolButton(this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setArrowType(Qt::LeftArrow);
    Command3->setGeometry(twipsRect(120, kControlTop, 250, 470));
    connect(Command3, &QToolButton::clicked, this, [this] { goPrevious(); });

    Picture2 = new QToolButton(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setAutoRaise(true);
    Picture2->setToolTip(QStringLiteral("クリックでパーツ切り替え"));
    Picture2->setGeometry(twipsRect(400, 150, 435, 435));
    Picture2->setIconSize(Picture2->size() - QSize(4, 4));
    connect(Picture2, &QToolButton::clicked, this, [this] { showCategoryStrip(); });

    Command2 = new QToolButton(this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setArrowType(Qt::RightArrow);
    Command2->setGeometry(twipsRect(850, kControlTop, 250, 470));
    connect(Command2, &QToolButton::clicked, this, [this] { goNext(); });

    label_ = new QLabel(QString::fromUtf16(kSubcategoryLabel), this);
    label_->setObjectName(QStringLiteral("Label1"));
    label_->setGeometry(twipsRect(1920, kControlTop, 1335, 200));
    label_->hide();
    combo_ = new QComboBox(this);
    combo_->setObjectName(kind_ == kind::Body ? QStringLiteral("Combo2") : QStringLiteral("Combo1"));
    combo_->setGeometry(pixels(1920, false), pixels(320, true), pixels(1335, false),
                        combo_->sizeHint().height());
    for (const Subcategory& s : subcategoriesFor(kind_))
        combo_->addItem(QString::fromUtf16(s.caption));
    combo_->setCurrentIndex(-1);
    combo_->hide();
    connect(combo_, &QComboBox::activated, this, [this](int i) { chooseSubcategory(i); });

    swatchGroup_ = new QButtonGroup(this);
    sideGroup_ = new QButtonGroup(this);
    const bool hair = kind_ == kind::Hairstyle || kind_ == kind::Fringe;
    const std::span<const Swatch, 3> swatchTable = hair ? hairSwatches() : skinSwatches();
    for (int i = 0; i < 3; ++i) {
        auto* swatch = new QToolButton(this);
        swatch->setObjectName(QStringLiteral("%1_%2").arg(hair ? u"OP2" : u"OP1").arg(i));
        swatch->setCheckable(true);
        swatch->setStyleSheet(swatchStyle(swatchTable[std::size_t(i)].colour));
        swatch->setGeometry(twipsRect(kSwatchLeft[i], kControlTop, kButtonSide, kButtonSide));
        swatch->hide();
        swatchGroup_->addButton(swatch, i);
        swatches_[std::size_t(i)] = swatch;

        auto* side = new QToolButton(this);
        side->setObjectName(QStringLiteral("OP3_%1").arg(i));
        side->setCheckable(true);
        side->setText(QString::fromUtf16(kSideCaptions[i]));
        side->setGeometry(twipsRect(kSwatchLeft[i], kControlTop, kButtonSide, kButtonSide));
        side->hide();
        sideGroup_->addButton(side, i);
        sides_[std::size_t(i)] = side;
    }
    swatchGroup_->setExclusive(true);
    sideGroup_->setExclusive(true);
    connect(swatchGroup_, &QButtonGroup::idClicked, this, [this](int i) { chooseSwatch(i); });
    connect(sideGroup_, &QButtonGroup::idClicked, this, [this](int i) { chooseSide(i); });

    for (int i = 0; i < 2; ++i) {
        auto* layer = new QPushButton(QString::fromUtf16(kLayerCaptions[i]), this);
        layer->setObjectName(QStringLiteral("OP4_%1").arg(i));
        layer->setGeometry(twipsRect(kLayerLeft[i], kControlTop, kButtonSide, kButtonSide));
        layer->hide();
        layers_[std::size_t(i)] = layer;
    }
    connect(layers_[0], &QPushButton::clicked, this, [this] { layerBack(); });
    connect(layers_[1], &QPushButton::clicked, this, [this] { layerFront(); });

    Command1 = new QPushButton(QStringLiteral("消去"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twipsRect(5145, kControlTop, kButtonSide, kButtonSide));
    connect(Command1, &QPushButton::clicked, this, [this] { erase(); });

    for (int i = 0; i < ThumbPager::kSlots; ++i) {
        auto* cell = new ThumbCell(this);
        cell->setObjectName(QStringLiteral("L1_%1").arg(i));
        cell->setGeometry(twipsRect(kThumbLeft[i], kThumbTop, kThumbSide, kThumbSide));
        cell->onClick = [this, i] { clickThumbnail(i); };
        cell->onDoubleClick = [this, i] { doubleClickThumbnail(i); };
        cell->toolTipText = [this, i] { return pager_ ? pager_->toolTip(i) : QString(); };
        L1[std::size_t(i)] = cell;
    }

    HSB = new QScrollBar(Qt::Horizontal, this);
    HSB->setObjectName(QStringLiteral("HSB"));
    HSB->setGeometry(twipsRect(145, 2300, 8015, 255));
    HSB->setRange(0, 0);
    HSB->setSingleStep(1);
    HSB->setPageStep(ThumbPager::kSlots);
    connect(HSB, &QScrollBar::valueChanged, this, [this](int v) { scrollTo(v); });

    // The strip lies over the thumbnails while the user picks a category.
    Toolbar1 = new QFrame(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Toolbar1->setAutoFillBackground(true);
    Toolbar1->setGeometry(twipsRect(120, 720, 7305, 435));
    const int button = (Toolbar1->width() - 2) / kCategoryCount;
    const int side = qMin(button, Toolbar1->height() - 2) - 4;
    int x = 1;
    for (const PickerCategory& c : pickerCategories()) {
        auto* a = new QAction(picker_.categoryIcon(c.icon), QString::fromUtf16(c.name), Toolbar1);
        a->setObjectName(QString::fromLatin1(c.key));
        a->setToolTip(QString::fromUtf16(c.name));
        auto* b = new QToolButton(Toolbar1);
        b->setAutoRaise(true);
        b->setDefaultAction(a);
        b->setIconSize(QSize(side, side));
        b->setGeometry(x, 1, button, Toolbar1->height() - 2);
        x += button;
        const QString key = QString::fromLatin1(c.key);
        connect(a, &QAction::triggered, this, [this, key] { chooseStripKey(key); });
    }
    Toolbar1->hide();
}

void SelectForm::firstFill()
{
    if (filled_ || closing_)
        return;
    BusyCursor busy;
    if (!subcategoriesFor(kind_).empty()) {
        combo_->show();
        label_->show();
    }
    if (core::isPairKind(kind_)) {
        sides_[kBothSides]->setChecked(true);
        P_LR = kBothSides;
        for (QToolButton* b : sides_)
            b->show();
    }
    if (kind_ == kind::Ears || kind_ == kind::Outline || kind_ == kind::Nose || kind_ == kind::Fringe
        || kind_ == kind::Hairstyle) {
        selectSwatchByCode(0);
        for (QToolButton* b : swatches_)
            b->show();
    }
    if (kind_ == kind::User) {
        for (QPushButton* b : layers_)
            b->show();
        updateLayerButtons();
    }
    if (FirstTimeOnly) {
        const PickerCategory* c = categoryByKind(kind_);
        if (c)
            Picture2->setIcon(picker_.categoryIcon(c->icon));
        picker_.environment().setStatusText(2, QString());
        FirstTimeOnly = false;
    }
    if (pager_) {
        pager_->setDisplayMode(displayModeFor(kind_, picker_.session().settings.OverlayMode, rows_));
        pager_->setColourCode(ColourCode);
        pager_->firstFill();
    }
    filled_ = true;
    picker_.globals().PickerOpen = true;
    syncView();
    emit picker_.filled();
}

// ---- view -------------------------------------------------------------------------------

void SelectForm::syncView()
{
    if (!pager_)
        return;
    for (int i = 0; i < ThumbPager::kSlots; ++i)
        L1[std::size_t(i)]->setPicture(pager_->thumbnail(i), pager_->inUse(i));
    const ScrollState& s = pager_->scroll();
    const QSignalBlocker block(HSB);
    HSB->setRange(s.minimum, s.maximum);
    HSB->setValue(s.value);
}

void SelectForm::markInUse()
{
    if (!pager_ || !filled_)
        return;
    pager_->MarkInUse();
    syncView();
}

void SelectForm::hideStrip()
{
    Toolbar1->hide();
}

void SelectForm::updateLayerButtons()
{
    const int pos = picker_.session().state.PartTable[kind::User].Extra;
    layers_[0]->setEnabled(pos != 1);
    layers_[1]->setEnabled(pos != kind::Count);
}

// ---- thumbnails and scrolling -------------------------------------------------------------

void SelectForm::clickThumbnail(int i)
{
    hideStrip();
    if (!applier_ || !pager_ || i < 0 || i >= ThumbPager::kSlots)
        return;
    const PartApplier::Result r = applier_->ApplyPart(*pager_, i, P_LR, ColourCode);
    if (r != PartApplier::Result::Applied)
        return;
    if (kind_ == kind::User)
        updateLayerButtons();
    syncView();
    activateWindow();
    setFocus();
}

void SelectForm::doubleClickThumbnail(int)
{
    QTimer::singleShot(kDoubleClickCloseMs, this, [this] { close(); });
}

void SelectForm::scrollTo(int value)
{
    hideStrip();
    if (!pager_ || !filled_)
        return;
    {
        BusyCursor busy;
        pager_->setScrollValue(value);
    }
    syncView();
}

// ---- categories ---------------------------------------------------------------------------

void SelectForm::showCategoryStrip()
{
    Toolbar1->show();
    Toolbar1->raise();
    Toolbar1->setFocus();
}

void SelectForm::chooseStripKey(const QString& key)
{
    // Reopening closes this window; nothing here may run after it.
    picker_.openKey(key);
}

void SelectForm::goNext()
{
    hideStrip();
    PickerEnvironment& env = picker_.environment();
    picker_.OpenPicker(nextCategory(kind_, env.toolbarShown(0), env.toolbarShown(1)));
}

void SelectForm::goPrevious()
{
    hideStrip();
    PickerEnvironment& env = picker_.environment();
    picker_.OpenPicker(previousCategory(kind_, env.toolbarShown(0), env.toolbarShown(1)));
}

void SelectForm::chooseSubcategory(int entry)
{
    if (!pager_ || !filled_)
        return;
    ThumbPager::JumpResult r;
    {
        BusyCursor busy;
        r = pager_->subcategoryJump(entry);
    }
    if (r == ThumbPager::JumpResult::NoMatch)
        picker_.environment().showMessage(this, QString::fromUtf16(kNoImagesTitle),
                                          QString::fromUtf16(kNoImagesText));
    syncView();
}

// ---- per-kind controls --------------------------------------------------------------------

void SelectForm::selectSwatchByCode(int i)
{
    // Selecting from code runs the click handling as a user's click would; the flag keeps
    // it from treating and redrawing anything.
    OPB_NoMove = true;
    swatches_[std::size_t(i)]->setChecked(true);
    swatchClicked(i);
    OPB_NoMove = false;
}

void SelectForm::chooseSwatch(int i)
{
    hideStrip();
    if (i < 0 || i >= 3)
        return;
    swatches_[std::size_t(i)]->setChecked(true);
    swatchClicked(i);
}

void SelectForm::swatchClicked(int i)
{
    if (OPB_NoMove)
        return;
    const std::span<const Swatch, 3> table =
        kind_ == kind::Hairstyle || kind_ == kind::Fringe ? hairSwatches() : skinSwatches();
    ColourCode = table[std::size_t(i)].colourCode;
    picker_.session().state.PartTable[kind_].Extra = std::int16_t(ColourCode);
    if (pager_ && filled_) {
        pager_->setColourCode(ColourCode);
        pager_->ShowSlots(2);
        syncView();
    }
}

void SelectForm::chooseSide(int i)
{
    hideStrip();
    if (i < 0 || i >= 3)
        return;
    sides_[std::size_t(i)]->setChecked(true);
    sideClicked(i);
}

void SelectForm::sideClicked(int i)
{
    P_LR = i;
}

void SelectForm::layerBack()
{
    hideStrip();
    core::PortraitState& state = picker_.session().state;
    if (state.PartTable[kind::User].Extra == 0)
        state.PartTable[kind::User].Extra = 2;
    core::UserLayerBack(state);
    picker_.compose();
    updateLayerButtons();
}

void SelectForm::layerFront()
{
    hideStrip();
    core::PortraitState& state = picker_.session().state;
    if (state.PartTable[kind::User].Extra == 0)
        state.PartTable[kind::User].Extra = 2;
    core::UserLayerFront(state);
    picker_.compose();
    updateLayerButtons();
}

void SelectForm::erase()
{
    hideStrip();
    core::PortraitSession& session = picker_.session();
    PickerEnvironment& env = picker_.environment();
    const int k = kind_;
    if (core::isFirstOfPair(k)) {
        const int left = core::pairPartner(k);
        if (P_LR == kLeftOnly || P_LR == kBothSides)
            core::RemovePart(session.state, left, &env);
        if (P_LR == kRightOnly || P_LR == kBothSides)
            core::RemovePart(session.state, k, &env);
    } else {
        core::RemovePart(session.state, k, &env);
    }
    picker_.compose();
    auto& inUse = session.marks.InUseFileNo;
    inUse[std::size_t(k)] = session.state.PartTable[k].FileNo;
    if (core::isFirstOfPair(k)) {
        const int left = core::pairPartner(k);
        inUse[std::size_t(left)] = session.state.PartTable[left].FileNo;
    }
    if (pager_)
        pager_->MarkInUse();
    if (k == kind::User)
        updateLayerButtons();
    syncView();
}

// ---- activation and closing ---------------------------------------------------------------

void SelectForm::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !closing_)
        picker_.environment().pickerActivated();
    QWidget::changeEvent(event);
}

void SelectForm::closeEvent(QCloseEvent* event)
{
    unload();
    event->accept();
}

void SelectForm::unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    closing_ = true;
    PickerEnvironment& env = picker_.environment();
    env.setUserImageMenuEnabled(true);
    env.setStatusText(2, QString());
    const QPoint p = pos();
    picker_.globals().PickerPosLeft = core::clampToInt16(twips(p.x(), false));
    picker_.globals().PickerPosTop = core::clampToInt16(twips(p.y(), true));
    picker_.formClosed(this);
}

// ---- controls for tests -------------------------------------------------------------------

QScrollBar* SelectForm::scrollBar() const { return HSB; }
QWidget* SelectForm::thumbnailCell(int i) const
{
    return i >= 0 && i < ThumbPager::kSlots ? L1[std::size_t(i)] : nullptr;
}
QWidget* SelectForm::categoryStrip() const { return Toolbar1; }
QComboBox* SelectForm::subcategoryList() const { return combo_; }
QAbstractButton* SelectForm::swatchButton(int i) const { return swatches_.at(std::size_t(i)); }
QAbstractButton* SelectForm::sideButton(int i) const { return sides_.at(std::size_t(i)); }
QPushButton* SelectForm::layerButton(int i) const { return layers_.at(std::size_t(i)); }
QPushButton* SelectForm::eraseButton() const { return Command1; }
QToolButton* SelectForm::categoryIcon() const { return Picture2; }
QLabel* SelectForm::subcategoryLabel() const { return label_; }

}  // namespace picker
