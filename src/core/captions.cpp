#include "core/captions.h"

#include "core/rounding.h"
#include "imaging/engine/raster.h"

#include <QPainter>
#include <QtGlobal>

namespace core {

namespace {

constexpr int kArrowStep = 5;
const QPoint kFirstDialogPos(6650, 4650);

QRgb rgbOf(std::int32_t setting) { return qRgb((setting >> 16) & 0xff, (setting >> 8) & 0xff, setting & 0xff); }

Qt::Alignment alignmentOf(std::int16_t a)
{
    Qt::Alignment align;
    switch (a & 0x3) {
    case 1: align |= Qt::AlignHCenter; break;
    case 2: align |= Qt::AlignRight; break;
    default: align |= Qt::AlignLeft; break;
    }
    switch ((a >> 2) & 0x3) {
    case 1: align |= Qt::AlignVCenter; break;
    case 2: align |= Qt::AlignBottom; break;
    default: align |= Qt::AlignTop; break;
    }
    return align;
}

QRect storedBox(const CaptionEntry& c) { return QRect(c.BoxLeft, c.BoxTop, c.BoxWidth, c.BoxHeight); }

// One axis of placeCaptionBox(); computed in int so that odd stored sizes cannot overflow.
std::int16_t placedStart(std::int16_t start, std::int16_t size, int canvas)
{
    if (canvas < size)
        return 0;
    if (start <= canvas - size)
        return start;
    return clampToInt16(canvas - size);
}

void fillDefaults(CaptionEntry& c)
{
    if (c.FontName.isEmpty())
        c.FontName = QString::fromUtf16(kDefaultCaptionFont);
    if (c.FontSize == 0)
        c.FontSize = kDefaultCaptionFontSize;
}

}  // namespace

CaptionEntry& CaptionTable::operator[](int number)
{
    Q_ASSERT(number >= 1 && number <= kCount);
    return entries[std::size_t(number - 1)];
}

const CaptionEntry& CaptionTable::operator[](int number) const
{
    Q_ASSERT(number >= 1 && number <= kCount);
    return entries[std::size_t(number - 1)];
}

QPoint textDialogPosition(const CaptionDrawState& state)
{
    return state.TextDialogPos.isNull() ? kFirstDialogPos : state.TextDialogPos;
}

imaging::TextStyle captionTextStyle(const CaptionEntry& c)
{
    imaging::TextStyle style;
    style.fontName = c.FontName.isEmpty() ? QString::fromUtf16(kDefaultCaptionFont) : c.FontName;
    style.fontSize = c.FontSize == 0 ? kDefaultCaptionFontSize : c.FontSize;
    style.bold = c.FontBold;
    style.italic = c.FontItalic;
    style.underline = c.FontUnderline;
    style.strikeout = c.FontStrikethrough;
    style.alignment = alignmentOf(c.TextSettingA);
    style.wordWrap = (c.TextSettingA & 0x10) != 0;
    style.backTransparent = (c.TextSettingA & 0x20) == 0;
    style.foreColor = rgbOf(c.TextSettingB);
    style.backColor = rgbOf(c.TextSettingC);
    style.effectColor = rgbOf(c.TextSettingD);
    switch (c.TextSettingG & 0xff) {
    case 1: style.effect = imaging::TextStyle::Effect::Shadow; break;
    case 2: style.effect = imaging::TextStyle::Effect::Outline; break;
    default: style.effect = imaging::TextStyle::Effect::None; break;
    }
    style.effectDepth = (std::uint16_t(c.TextSettingG) >> 8) & 0xff;
    return style;
}

QSize captionBoxSize(const CaptionEntry& c)
{
    const QSize text = imaging::Raster::textExtent(c.Text, captionTextStyle(c));
    // Without fonts nothing is measured (the size comes back invalid).
    const double w = qMax(0, text.width());
    const double h = qMax(0, text.height());
    // A shown caption without text (possible in a stored file) has no average character.
    const double halfChar = c.Text.isEmpty() ? 0.0 : w / double(c.Text.size()) / 2.0;
    return QSize(roundToInt16(w + c.TextSettingE + halfChar),
                 roundToInt16(h + c.TextSettingF + h / 10.0));
}

void placeCaptionBox(CaptionEntry& c, QSize canvas)
{
    c.BoxLeft = placedStart(c.BoxLeft, c.BoxWidth, canvas.width());
    c.BoxTop = placedStart(c.BoxTop, c.BoxHeight, canvas.height());
}

void layoutCaptions(CaptionTable& captions, const CaptionDrawState& state, QSize canvas)
{
    for (int n = 1; n <= CaptionTable::kCount; ++n) {
        CaptionEntry& c = captions[n];
        if (!c.Shown)
            continue;
        fillDefaults(c);
        if (n == state.CurrentCaption) {
            const QSize size = captionBoxSize(c);
            c.BoxWidth = std::int16_t(size.width());
            c.BoxHeight = std::int16_t(size.height());
        }
        placeCaptionBox(c, canvas);
    }
}

void Disp_Character(CaptionTable& captions, CaptionDrawState& state, imaging::Raster& picture)
{
    // Without a canvas every box would be pinned to 0, 0 and stored so.
    if (!picture.isNull())
        layoutCaptions(captions, state, picture.size());
    if (state.BurnCaptions && !picture.isNull()) {
        for (const CaptionEntry& c : captions.entries) {
            if (!c.Shown)
                continue;
            try {
                picture.drawText(c.Text, storedBox(c), captionTextStyle(c));
            } catch (const imaging::ImagingError&) {
                // No fonts without a GUI application: the picture keeps no text.
                break;
            }
        }
    }
    state.BurnCaptions = false;
    state.CaptionsOnScreen = true;
}

void Disp_Character2(CaptionTable& captions, imaging::Raster& picture)
{
    bool drawing = !picture.isNull();
    for (CaptionEntry& c : captions.entries) {
        if (!c.Shown)
            continue;
        fillDefaults(c);
        if (!drawing)
            continue;
        try {
            picture.drawText(c.Text, storedBox(c), captionTextStyle(c));
        } catch (const imaging::ImagingError&) {
            drawing = false;  // no fonts without a GUI application
        }
    }
}

void paintCaptions(QPainter& painter, const CaptionTable& captions)
{
    for (const CaptionEntry& c : captions.entries) {
        if (c.Shown)
            imaging::paintText(painter, c.Text, QRectF(storedBox(c)), captionTextStyle(c));
    }
}

void clearCaption(CaptionEntry& caption) { caption = CaptionEntry(); }

void setCaptionText(CaptionEntry& caption, const QString& text)
{
    caption.Text = text;
    if (text.isEmpty())
        caption.Shown = false;
}

void confirmCaption(CaptionEntry& caption)
{
    if (caption.Text.isEmpty())
        clearCaption(caption);
    else
        caption.Shown = true;
}

bool stepCaption(CaptionEntry& c, CaptionArrow arrow, QSize canvas)
{
    switch (arrow) {
    case CaptionArrow::Left:
        if (c.BoxLeft < 0)
            return false;
        c.BoxLeft = clampToInt16(c.BoxLeft - kArrowStep);
        return true;
    case CaptionArrow::Up:
        if (c.BoxTop < 0)
            return false;
        c.BoxTop = clampToInt16(c.BoxTop - kArrowStep);
        return true;
    case CaptionArrow::Down:
        if (c.BoxTop >= canvas.height() - c.BoxHeight)
            return false;
        c.BoxTop = clampToInt16(c.BoxTop + kArrowStep);
        return true;
    case CaptionArrow::Right:
        if (c.BoxLeft >= canvas.width() - c.BoxWidth)
            return false;
        c.BoxLeft = clampToInt16(c.BoxLeft + kArrowStep);
        return true;
    }
    return false;
}

int moveCaptionWhileHeld(CaptionEntry& caption, CaptionArrow arrow, QSize canvas,
                         const std::function<bool()>& held,
                         const std::function<void()>& redraw)
{
    if (!caption.Shown)
        return 0;
    int steps = 0;
    while (held() && stepCaption(caption, arrow, canvas)) {
        ++steps;
        if (redraw)
            redraw();
    }
    return steps;
}

}  // namespace core
