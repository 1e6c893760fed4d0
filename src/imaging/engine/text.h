#pragma once

#include <QFont>
#include <QRectF>
#include <QRgb>
#include <QSize>
#include <QString>
#include <Qt>

class QPainter;

namespace imaging {

// How a text is drawn: font, colours, placement in its box and an optional effect.
// Plain data so that callers can map their own stored settings onto it field by field.
struct TextStyle {
    enum class Effect { None, Shadow, Outline };

    // Font face as stored by the caller; names that are not installed (the Windows
    // Japanese faces among them) are drawn with an installed Japanese font, see resolveFont().
    QString fontName;
    // Points, converted at 96 dpi (12 pt = 16 pixels) whatever the device; 0 or less means 12.
    double fontSize = 12;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;

    QRgb foreColor = qRgb(0, 0, 0);
    QRgb backColor = qRgb(255, 255, 255);
    // When false the whole box is filled with backColor before the text is drawn.
    bool backTransparent = true;

    // Placement inside the box: one of left/centre/right combined with one of top/vcentre/bottom.
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    // Breaks lines at the box's width; otherwise only line breaks in the text start new lines.
    bool wordWrap = false;

    // Shadow: the text repeated effectDepth pixels right and down in effectColor, under it.
    // Outline: the text surrounded by a rim effectDepth pixels wide in effectColor.
    Effect effect = Effect::None;
    QRgb effectColor = qRgb(128, 128, 128);
    int effectDepth = 2;  // pixels, clamped to 0..kMaxEffectDepth
};

constexpr int kMaxEffectDepth = 16;

// The installed family used for a stored font name: the name itself when installed,
// otherwise the IPA font matching the Windows face (P-gothic, gothic, mincho, P-mincho),
// and the proportional IPA gothic for anything else. Needs a QGuiApplication.
QString resolveFontFamily(const QString& fontName);
// The font for a style, sized in pixels at 96 dpi.
QFont resolveFont(const TextStyle& style);
// Qt::TextFlags for drawing and measuring a style's text.
int textFlags(const TextStyle& style);

// Draws text into `box` on any painter in the painter's current coordinates, one unit
// being one bitmap pixel; the painter's transform and clip apply. This is the path used
// both for text burnt into a picture and for text shown only on a display.
void paintText(QPainter& painter, const QString& text, const QRectF& box, const TextStyle& style);

}  // namespace imaging
