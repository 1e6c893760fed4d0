#include "imaging/engine/text.h"

#include "imaging/engine/raster.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QMutex>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace imaging {

namespace {

// Huge stored sizes must not turn into gigantic glyph bitmaps.
constexpr int kMaxPixelSize = 4096;

// Fonts need a QGuiApplication; without one Qt aborts, so text calls refuse instead.
bool fontsAvailable()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

enum class Face { PGothic, Gothic, Mincho, PMincho };

// Which Windows face a stored name stands for; width forms and spacing are ignored so that
// "ＭＳ Ｐゴシック", "MS Pｺﾞｼｯｸ" and "MS PGothic" are one face.
Face faceOf(const QString& name)
{
    QString n = name.normalized(QString::NormalizationForm_KC).toCaseFolded();
    n.remove(QLatin1Char(' '));
    n.remove(QChar(0x3000));
    static const QHash<QString, Face> known = {
        {QStringLiteral("mspゴシック"), Face::PGothic}, {QStringLiteral("mspgothic"), Face::PGothic},
        {QStringLiteral("msuiゴシック"), Face::PGothic}, {QStringLiteral("msuigothic"), Face::PGothic},
        {QStringLiteral("msゴシック"), Face::Gothic},    {QStringLiteral("msgothic"), Face::Gothic},
        {QStringLiteral("ms明朝"), Face::Mincho},        {QStringLiteral("msmincho"), Face::Mincho},
        {QStringLiteral("msp明朝"), Face::PMincho},      {QStringLiteral("mspmincho"), Face::PMincho},
    };
    const auto it = known.constFind(n);
    if (it != known.constEnd())
        return *it;
    // Other serif faces keep a serif look.
    if (n.contains(QStringLiteral("明朝")) || n.contains(QStringLiteral("mincho")))
        return Face::PMincho;
    return Face::PGothic;
}

QString firstInstalled(std::initializer_list<const char*> families)
{
    for (const char* f : families) {
        const QString family = QString::fromLatin1(f);
        if (QFontDatabase::hasFamily(family))
            return family;
    }
    const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
    if (!japanese.isEmpty())
        return japanese.first();
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

QString lookUpFamily(const QString& fontName)
{
    if (!fontName.isEmpty() && QFontDatabase::hasFamily(fontName))
        return fontName;
    switch (faceOf(fontName)) {
    case Face::Gothic:
        return firstInstalled({"IPAGothic", "IPAPGothic"});
    case Face::Mincho:
        return firstInstalled({"IPAMincho", "IPAPMincho", "IPAGothic"});
    case Face::PMincho:
        return firstInstalled({"IPAPMincho", "IPAMincho", "IPAPGothic"});
    case Face::PGothic:
        break;
    }
    return firstInstalled({"IPAPGothic", "IPAGothic"});
}

void paintTextWithFont(QPainter& painter, const QString& text, const QRectF& box,
                       const TextStyle& style, const QFont& font)
{
    if (!box.isValid())
        return;
    painter.save();
    // Text, shadow and rim all stay inside the box.
    painter.setClipRect(box, Qt::IntersectClip);
    if (!style.backTransparent)
        painter.fillRect(box, QColor::fromRgb(style.backColor));
    if (!text.isEmpty()) {
        painter.setFont(font);
        const int flags = textFlags(style) | Qt::TextDontClip;
        const int depth = std::clamp(style.effectDepth, 0, kMaxEffectDepth);
        if (depth > 0 && style.effect != TextStyle::Effect::None) {
            painter.setPen(QColor::fromRgb(style.effectColor));
            if (style.effect == TextStyle::Effect::Shadow) {
                painter.drawText(box.translated(depth, depth), flags, text);
            } else {
                // A disc of copies; the + depth keeps the rim round rather than diamond-like.
                const int limit = depth * depth + depth;
                for (int dy = -depth; dy <= depth; ++dy) {
                    for (int dx = -depth; dx <= depth; ++dx) {
                        if ((dx || dy) && dx * dx + dy * dy <= limit)
                            painter.drawText(box.translated(dx, dy), flags, text);
                    }
                }
            }
        }
        painter.setPen(QColor::fromRgb(style.foreColor));
        painter.drawText(box, flags, text);
    }
    painter.restore();
}

}  // namespace

QString resolveFontFamily(const QString& fontName)
{
    if (!fontsAvailable())
        return QString();
    static QMutex mutex;
    static QHash<QString, QString> cache;
    QMutexLocker lock(&mutex);
    auto it = cache.constFind(fontName);
    if (it == cache.constEnd())
        it = cache.insert(fontName, lookUpFamily(fontName));
    return *it;
}

QFont resolveFont(const TextStyle& style)
{
    QFont font(resolveFontFamily(style.fontName));
    const double points = style.fontSize > 0 ? style.fontSize : 12.0;
    font.setPixelSize(int(std::clamp(std::lround(points * 96.0 / 72.0), 1L, long(kMaxPixelSize))));
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setStrikeOut(style.strikeout);
    return font;
}

int textFlags(const TextStyle& style)
{
    const Qt::Alignment placement =
        style.alignment & (Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask);
    return int(placement) | Qt::TextExpandTabs | (style.wordWrap ? Qt::TextWordWrap : 0);
}

void paintText(QPainter& painter, const QString& text, const QRectF& box, const TextStyle& style)
{
    if (!fontsAvailable())
        return;
    paintTextWithFont(painter, text, box, style, resolveFont(style));
}

void Raster::drawText(const QString& text, const QRect& rect, const TextStyle& style)
{
    if (isNull())
        throw ImagingError(kErrBadHandle);
    if (!fontsAvailable())
        throw ImagingError(kErrFailure);
    QFont font = resolveFont(style);
    // Palette pictures get only the style's own colours, no blended edge pixels.
    if (bits_ <= 8)
        font.setStyleStrategy(QFont::NoAntialias);
    QPainter painter(&image_);
    if (hasRegion())
        painter.setClipRegion(region_.spans());
    paintTextWithFont(painter, text, QRectF(rect), style, font);
}

QSize Raster::textExtent(const QString& text, const TextStyle& style)
{
    if (!fontsAvailable())
        return QSize();
    const QFontMetrics metrics(resolveFont(style));
    const QRect area(0, 0, kMaxSide, kMaxSide);
    // An empty text still takes one line, as tall as a line with text.
    if (text.isEmpty())
        return QSize(0, metrics.boundingRect(area, Qt::TextExpandTabs, QStringLiteral(" ")).height());
    return metrics.boundingRect(area, Qt::TextExpandTabs, text).size();
}

}  // namespace imaging
