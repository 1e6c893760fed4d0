#include "app/icons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>
#include <functional>

namespace app {

namespace {

// The standard skin and hair colours of the delivered parts.
const QColor kSkin(255, 192, 128);
const QColor kHair(192, 64, 0);
const QColor kLine(90, 50, 20);
const QColor kInk(40, 40, 40);

using Drawing = std::function<void(QPainter&)>;

QPen pen(const QColor& c, qreal w = 1.6)
{
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void face(QPainter& p, const QRectF& r)
{
    p.setPen(pen(kLine));
    p.setBrush(kSkin);
    p.drawEllipse(r);
}

// Every picture is drawn on a 32 x 32 grid.
const QHash<QString, Drawing>& drawings()
{
    static const QHash<QString, Drawing> table = {
        {"rinkaku", [](QPainter& p) {
             p.setPen(pen(kLine, 2));
             p.setBrush(kSkin);
             QPainterPath path;
             path.moveTo(16, 3);
             path.cubicTo(26, 3, 28, 12, 27, 18);
             path.cubicTo(26, 25, 21, 29, 16, 29);
             path.cubicTo(11, 29, 6, 25, 5, 18);
             path.cubicTo(4, 12, 6, 3, 16, 3);
             p.drawPath(path);
         }},
        {"kamigata", [](QPainter& p) {
             face(p, QRectF(8, 9, 16, 19));
             p.setPen(pen(kHair.darker(130)));
             p.setBrush(kHair);
             QPainterPath hair;
             hair.moveTo(5, 26);
             hair.cubicTo(2, 10, 8, 3, 16, 3);
             hair.cubicTo(24, 3, 30, 10, 27, 26);
             hair.cubicTo(25, 18, 24, 12, 16, 11);
             hair.cubicTo(8, 12, 7, 18, 5, 26);
             p.drawPath(hair);
         }},
        {"maegami", [](QPainter& p) {
             face(p, QRectF(6, 8, 20, 22));
             p.setPen(pen(kHair.darker(130)));
             p.setBrush(kHair);
             QPainterPath fringe;
             fringe.moveTo(6, 17);
             fringe.cubicTo(5, 8, 10, 5, 16, 5);
             fringe.cubicTo(22, 5, 27, 8, 26, 17);
             fringe.lineTo(22, 12);
             fringe.lineTo(19, 16);
             fringe.lineTo(16, 11);
             fringe.lineTo(13, 16);
             fringe.lineTo(10, 12);
             fringe.closeSubpath();
             p.drawPath(fringe);
         }},
        {"me", [](QPainter& p) {
             for (int x : {3, 17}) {
                 p.setPen(pen(kInk, 1.4));
                 p.setBrush(Qt::white);
                 p.drawEllipse(QRectF(x, 11, 12, 9));
                 p.setBrush(kInk);
                 p.drawEllipse(QRectF(x + 4, 12.5, 5, 6));
             }
         }},
        {"mayuge", [](QPainter& p) {
             p.setPen(pen(kHair.darker(160), 3));
             p.setBrush(Qt::NoBrush);
             QPainterPath brows;
             brows.moveTo(3, 18);
             brows.quadTo(8, 11, 14, 15);
             brows.moveTo(18, 15);
             brows.quadTo(24, 11, 29, 18);
             p.drawPath(brows);
         }},
        {"mimi", [](QPainter& p) {
             p.setPen(pen(kLine, 2));
             p.setBrush(kSkin);
             QPainterPath ear;
             ear.moveTo(13, 4);
             ear.cubicTo(24, 2, 28, 12, 23, 19);
             ear.cubicTo(20, 23, 20, 28, 14, 28);
             ear.cubicTo(10, 28, 9, 24, 11, 22);
             ear.closeSubpath();
             p.drawPath(ear);
             p.setBrush(Qt::NoBrush);
             QPainterPath inner;
             inner.moveTo(15, 9);
             inner.cubicTo(21, 8, 22, 15, 18, 18);
             p.drawPath(inner);
         }},
        {"hana", [](QPainter& p) {
             face(p, QRectF(3, 3, 26, 26));
             p.setPen(pen(kLine, 2));
             p.setBrush(Qt::NoBrush);
             QPainterPath nose;
             nose.moveTo(17, 8);
             nose.lineTo(12, 20);
             nose.quadTo(16, 24, 20, 20);
             p.drawPath(nose);
         }},
        {"kuchi", [](QPainter& p) {
             p.setPen(pen(QColor(150, 30, 30), 1.6));
             p.setBrush(QColor(220, 70, 70));
             QPainterPath mouth;
             mouth.moveTo(4, 14);
             mouth.quadTo(16, 10, 28, 14);
             mouth.quadTo(16, 28, 4, 14);
             p.drawPath(mouth);
             p.setBrush(Qt::white);
             p.drawRect(QRectF(10, 14, 12, 3));
         }},
        {"hige", [](QPainter& p) {
             p.setPen(pen(kInk, 1));
             p.setBrush(QColor(70, 50, 40));
             QPainterPath beard;
             beard.moveTo(16, 13);
             beard.cubicTo(10, 9, 4, 12, 2, 17);
             beard.cubicTo(7, 15, 11, 17, 16, 16);
             beard.cubicTo(21, 17, 25, 15, 30, 17);
             beard.cubicTo(28, 12, 22, 9, 16, 13);
             p.drawPath(beard);
         }},
        {"hokuro", [](QPainter& p) {
             face(p, QRectF(3, 3, 26, 26));
             p.setPen(Qt::NoPen);
             p.setBrush(kInk);
             p.drawEllipse(QRectF(18, 17, 5, 5));
         }},
        {"shiwa", [](QPainter& p) {
             face(p, QRectF(3, 3, 26, 26));
             p.setPen(pen(kLine, 1.4));
             p.setBrush(Qt::NoBrush);
             for (int y : {9, 13}) {
                 QPainterPath line;
                 line.moveTo(9, y + 1);
                 line.quadTo(16, y - 2, 23, y + 1);
                 p.drawPath(line);
             }
             p.drawLine(QPointF(8, 20), QPointF(11, 25));
             p.drawLine(QPointF(24, 20), QPointF(21, 25));
         }},
        {"megane", [](QPainter& p) {
             p.setPen(pen(kInk, 2));
             p.setBrush(QColor(180, 220, 255, 120));
             p.drawRoundedRect(QRectF(2, 11, 12, 10), 3, 3);
             p.drawRoundedRect(QRectF(18, 11, 12, 10), 3, 3);
             p.drawLine(QPointF(14, 14), QPointF(18, 14));
         }},
        {"option", [](QPainter& p) {
             p.setPen(pen(QColor(170, 120, 0), 1.4));
             p.setBrush(QColor(255, 210, 40));
             QPolygonF star;
             for (int i = 0; i < 10; ++i) {
                 const qreal r = i % 2 ? 5.5 : 13.5;
                 const qreal a = -M_PI / 2 + i * M_PI / 5;
                 star << QPointF(16 + r * std::cos(a), 17 + r * std::sin(a));
             }
             p.drawPolygon(star);
         }},
        {"boushi", [](QPainter& p) {
             p.setPen(pen(QColor(30, 50, 110)));
             p.setBrush(QColor(60, 100, 190));
             QPainterPath hat;
             hat.moveTo(7, 21);
             hat.cubicTo(7, 8, 25, 8, 25, 21);
             hat.closeSubpath();
             p.drawPath(hat);
             p.drawRoundedRect(QRectF(2, 20, 28, 5), 2, 2);
         }},
        {"karada", [](QPainter& p) {
             p.setPen(pen(kLine));
             p.setBrush(kSkin);
             p.drawRect(QRectF(13, 3, 6, 7));
             p.setPen(pen(QColor(30, 60, 120)));
             p.setBrush(QColor(74, 120, 192));
             QPainterPath body;
             body.moveTo(3, 30);
             body.cubicTo(3, 14, 9, 9, 16, 9);
             body.cubicTo(23, 9, 29, 14, 29, 30);
             body.closeSubpath();
             p.drawPath(body);
         }},
        {"anitop", [](QPainter& p) {
             const QColor fur(230, 160, 60);
             p.setPen(pen(kLine));
             p.setBrush(fur);
             p.drawPolygon(QPolygonF({QPointF(5, 14), QPointF(7, 3), QPointF(14, 9)}));
             p.drawPolygon(QPolygonF({QPointF(27, 14), QPointF(25, 3), QPointF(18, 9)}));
             p.drawEllipse(QRectF(4, 7, 24, 21));
             p.setBrush(kInk);
             p.drawEllipse(QRectF(10, 15, 3, 4));
             p.drawEllipse(QRectF(19, 15, 3, 4));
             p.setBrush(QColor(230, 90, 110));
             p.drawEllipse(QRectF(14.5, 20, 3, 2.5));
         }},
        {"anibottom", [](QPainter& p) {
             const QColor fur(230, 160, 60);
             p.setPen(pen(kLine));
             p.setBrush(fur);
             p.drawEllipse(QRectF(6, 6, 20, 20));
             p.drawRoundedRect(QRectF(7, 22, 6, 8), 2, 2);
             p.drawRoundedRect(QRectF(19, 22, 6, 8), 2, 2);
             p.setBrush(Qt::NoBrush);
             QPainterPath tail;
             tail.moveTo(25, 15);
             tail.cubicTo(31, 13, 31, 6, 27, 4);
             p.drawPath(tail);
         }},
        {"fukidashi", [](QPainter& p) {
             p.setPen(pen(kInk, 1.6));
             p.setBrush(Qt::white);
             QPainterPath balloon;
             balloon.addRoundedRect(QRectF(2, 4, 28, 18), 8, 8);
             QPainterPath tail;
             tail.moveTo(8, 20);
             tail.lineTo(6, 29);
             tail.lineTo(15, 21);
             tail.closeSubpath();
             p.drawPath(balloon.united(tail));
             p.setPen(pen(kInk, 2));
             for (int x : {10, 16, 22})
                 p.drawPoint(QPointF(x, 13));
         }},
        {"haikei", [](QPainter& p) {
             p.setPen(pen(kInk, 1));
             p.setBrush(QColor(150, 200, 255));
             p.drawRect(QRectF(2, 4, 28, 24));
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(90, 170, 80));
             p.drawPolygon(QPolygonF({QPointF(2.5, 27.5), QPointF(2.5, 20), QPointF(11, 13),
                                      QPointF(18, 21), QPointF(23, 16), QPointF(29.5, 22),
                                      QPointF(29.5, 27.5)}));
             p.setBrush(QColor(255, 220, 60));
             p.drawEllipse(QRectF(20, 7, 6, 6));
         }},
        {"user", [](QPainter& p) {
             p.setPen(pen(kInk, 1));
             p.setBrush(QColor(235, 235, 235));
             p.drawRect(QRectF(3, 3, 26, 26));
             p.setBrush(kSkin);
             p.drawEllipse(QRectF(11, 7, 10, 11));
             p.setBrush(QColor(120, 120, 120));
             QPainterPath shoulders;
             shoulders.moveTo(6, 28.5);
             shoulders.cubicTo(6, 20, 26, 20, 26, 28.5);
             shoulders.closeSubpath();
             p.drawPath(shoulders);
         }},
        {"moji", [](QPainter& p) {
             p.setPen(pen(kInk, 1));
             p.setBrush(Qt::white);
             p.drawRect(QRectF(3, 3, 26, 26));
             QFont font(QStringLiteral("IPAPGothic"));
             font.setPixelSize(20);
             font.setBold(true);
             p.setFont(font);
             p.setPen(QColor(30, 30, 160));
             p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, QStringLiteral("字"));
         }},
        {"NewImage", [](QPainter& p) {
             p.setPen(pen(kInk, 1.4));
             p.setBrush(Qt::white);
             QPolygonF page({QPointF(7, 3), QPointF(20, 3), QPointF(26, 9), QPointF(26, 29),
                             QPointF(7, 29)});
             p.drawPolygon(page);
             p.drawPolyline(QPolygonF({QPointF(20, 3), QPointF(20, 9), QPointF(26, 9)}));
         }},
        {"OpenImage", [](QPainter& p) {
             p.setPen(pen(QColor(140, 100, 0), 1.4));
             p.setBrush(QColor(240, 200, 80));
             p.drawPolygon(QPolygonF({QPointF(3, 8), QPointF(11, 8), QPointF(13, 11),
                                      QPointF(26, 11), QPointF(26, 27), QPointF(3, 27)}));
             p.setBrush(QColor(255, 225, 120));
             p.drawPolygon(QPolygonF({QPointF(3, 27), QPointF(8, 15), QPointF(30, 15),
                                      QPointF(26, 27)}));
         }},
        {"SaveImage", [](QPainter& p) {
             p.setPen(pen(QColor(20, 40, 90), 1.4));
             p.setBrush(QColor(60, 90, 170));
             p.drawPolygon(QPolygonF({QPointF(4, 4), QPointF(25, 4), QPointF(28, 7),
                                      QPointF(28, 28), QPointF(4, 28)}));
             p.setBrush(Qt::white);
             p.drawRect(QRectF(8, 4, 15, 9));
             p.setBrush(QColor(200, 200, 200));
             p.drawRect(QRectF(9, 18, 14, 10));
         }},
        {"PrintImage", [](QPainter& p) {
             p.setPen(pen(kInk, 1.4));
             p.setBrush(Qt::white);
             p.drawRect(QRectF(9, 3, 14, 9));
             p.setBrush(QColor(170, 170, 170));
             p.drawRoundedRect(QRectF(3, 11, 26, 12), 2, 2);
             p.setBrush(Qt::white);
             p.drawRect(QRectF(9, 19, 14, 10));
         }},
        {"UndoImage", [](QPainter& p) {
             p.setPen(pen(QColor(30, 110, 40), 3));
             p.setBrush(Qt::NoBrush);
             QPainterPath arc;
             arc.moveTo(9, 12);
             arc.cubicTo(20, 6, 30, 14, 26, 24);
             p.drawPath(arc);
             p.setPen(pen(QColor(30, 110, 40), 1));
             p.setBrush(QColor(30, 110, 40));
             p.drawPolygon(QPolygonF({QPointF(3, 13), QPointF(12, 6), QPointF(13, 17)}));
         }},
        {"RedoImage", [](QPainter& p) {
             p.translate(32, 0);
             p.scale(-1, 1);
             p.setPen(pen(QColor(30, 110, 40), 3));
             p.setBrush(Qt::NoBrush);
             QPainterPath arc;
             arc.moveTo(9, 12);
             arc.cubicTo(20, 6, 30, 14, 26, 24);
             p.drawPath(arc);
             p.setPen(pen(QColor(30, 110, 40), 1));
             p.setBrush(QColor(30, 110, 40));
             p.drawPolygon(QPolygonF({QPointF(3, 13), QPointF(12, 6), QPointF(13, 17)}));
         }},
        {"Faciora", [](QPainter& p) {
             p.setPen(pen(kLine, 1.4));
             p.setBrush(kSkin);
             p.drawEllipse(QRectF(5, 5, 22, 25));
             p.setBrush(kHair);
             QPainterPath hair;
             hair.moveTo(5, 17);
             hair.cubicTo(3, 4, 29, 4, 27, 17);
             hair.cubicTo(22, 10, 10, 10, 5, 17);
             p.drawPath(hair);
             p.setBrush(kInk);
             p.drawEllipse(QRectF(11, 17, 3, 3));
             p.drawEllipse(QRectF(18, 17, 3, 3));
             p.setBrush(Qt::NoBrush);
             QPainterPath smile;
             smile.moveTo(12, 24);
             smile.quadTo(16, 27, 20, 24);
             p.drawPath(smile);
         }},
    };
    return table;
}

QIcon iconFor(const QString& key)
{
    if (!drawings().contains(key))
        return {};
    QIcon icon;
    for (int size : {16, 24, 28, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(drawButtonPicture(key, size)));
    return icon;
}

}  // namespace

QImage drawButtonPicture(const QString& key, int size)
{
    const auto it = drawings().constFind(key);
    if (it == drawings().constEnd() || size <= 0)
        return {};
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(size / 32.0, size / 32.0);
    (*it)(painter);
    return image;
}

QIcon partButtonIcon(const QString& key)
{
    return iconFor(key);
}

QIcon fileButtonIcon(const QString& key)
{
    return iconFor(key);
}

QIcon applicationIcon()
{
    return iconFor(QStringLiteral("Faciora"));
}

}  // namespace app
