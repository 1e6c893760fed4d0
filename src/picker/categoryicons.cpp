#include "picker/categoryicons.h"

#include "catalog/partsdatabase.h"
#include "imaging/engine/raster.h"
#include "picker/pickercategories.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace picker {

namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255);

QImage blankIcon(int side)
{
    QImage icon(side, side, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    return icon;
}

// The registered pictures: a framed picture of a person.
QImage drawPhotoIcon(int side)
{
    QImage icon = blankIcon(side);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = side;
    const QRectF frame(s * 0.1, s * 0.14, s * 0.8, s * 0.72);
    p.setPen(QPen(QColor(90, 70, 40), s * 0.06));
    p.setBrush(QColor(200, 225, 245));
    p.drawRect(frame);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 192, 128));
    p.drawEllipse(QPointF(s * 0.5, s * 0.42), s * 0.13, s * 0.15);
    QPainterPath shoulders;
    shoulders.moveTo(s * 0.24, frame.bottom());
    shoulders.quadTo(s * 0.5, s * 0.46, s * 0.76, frame.bottom());
    shoulders.closeSubpath();
    p.setBrush(QColor(70, 110, 170));
    p.drawPath(shoulders);
    return icon;
}

QImage drawLetterIcon(const QString& letter, int side, const QColor& colour)
{
    QImage icon = blankIcon(side);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont font;
    font.setPixelSize(qMax(6, side * 3 / 4));
    font.setBold(true);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QRect(0, 0, side, side), Qt::AlignCenter, letter);
    return icon;
}

// The part as it is drawn: its colours through its mask onto white, cut to its box.
QImage partPicture(catalog::PartsDatabase& db, int kind, int rowsPerPart)
{
    db.moveFirst();
    if (!db.findFirst(QStringLiteral("PictureID = %1").arg(kind)) || db.noMatch())
        return {};
    // Three-row parts keep a magnified thumbnail in their middle row: small parts (a mole,
    // a pair of ears) read better from it.
    if (rowsPerPart == 3 && (!db.moveNext() || db.value("PictureID").toInt() != kind))
        return {};
    imaging::Raster main;
    imaging::Raster mask;
    if (db.image("photo_main", main) != 0 || db.image("photo_mask", mask) != 0 || main.isNull()
        || mask.isNull())
        return {};
    QRect box(db.value("X").toInt(), db.value("Y").toInt(), db.value("Width").toInt(),
              db.value("Height").toInt());
    box = box.intersected(mask.rect());
    if (box.isEmpty())
        box = mask.rect();
    imaging::Raster part(mask.width(), mask.height(), 24, kWhite);
    part.combine(0, 0, mask.width(), mask.height(), mask, 0, 0, imaging::kCombineMask);
    part.combine(0, 0, main.width(), main.height(), main, 0, 0, imaging::kCombineColour);
    // White shows as the toolbar's own background.
    QImage cut = part.image().copy(box).convertToFormat(QImage::Format_ARGB32);
    const QImage maskCut = mask.image().copy(box);
    for (int y = 0; y < cut.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(cut.scanLine(y));
        const auto* m = reinterpret_cast<const QRgb*>(maskCut.constScanLine(y));
        for (int x = 0; x < cut.width(); ++x) {
            if (qGray(m[x]) > 127)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return cut;
}

}  // namespace

QImage renderCategoryIcon(catalog::PartsDatabase* parts, const PickerCategory& category, int side)
{
    side = qMax(4, side);
    if (category.controls == CategoryControls::TextDialog)
        return drawLetterIcon(QStringLiteral("文"), side, QColor(30, 30, 30));
    if (category.photoDatabase)
        return drawPhotoIcon(side);
    QImage picture;
    if (parts && parts->isOpen())
        picture = partPicture(*parts, category.kind, category.rowsPerPart);
    if (picture.isNull())
        return drawLetterIcon(QString(QChar(category.name[0])), side, QColor(90, 60, 30));
    QImage icon = blankIcon(side);
    QPainter p(&icon);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    // A tiny part (a mole) magnified to the whole icon would only be a blur.
    QSizeF fitted = QSizeF(picture.size()).scaled(QSizeF(side, side), Qt::KeepAspectRatio);
    const qreal maxGrowth = 3.0;
    if (fitted.width() > picture.width() * maxGrowth)
        fitted = QSizeF(picture.size()) * maxGrowth;
    const QRectF target((side - fitted.width()) / 2, (side - fitted.height()) / 2, fitted.width(),
                        fitted.height());
    p.drawImage(target, picture);
    return icon;
}

}  // namespace picker
