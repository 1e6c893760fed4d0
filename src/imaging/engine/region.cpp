#include "imaging/engine/region.h"

#include <QVector>

#include <algorithm>
#include <cmath>

namespace imaging {

namespace {

// Rows of one pixel height, top to bottom, are a valid banded list for QRegion::setRects.
QRegion fromRows(const QVector<QRect>& rows)
{
    QRegion region;
    if (!rows.isEmpty())
        region.setRects(rows.constData(), int(rows.size()));
    return region;
}

// Half-width of an ellipse with semi-axes a, b at vertical distance dy from its centre.
double halfWidth(double a, double b, double dy)
{
    const double t = dy / b;
    return t >= 1.0 ? 0.0 : a * std::sqrt(1.0 - t * t);
}

}  // namespace

Region Region::rectangle(const QRect& r)
{
    const QRect n = r.normalized();
    if (n.isEmpty())
        return Region();
    return Region(Shape::Rectangle, QRegion(n));
}

Region Region::ellipse(const QRect& bounds)
{
    const QRect n = bounds.normalized();
    if (n.isEmpty())
        return Region();
    const double a = n.width() / 2.0;
    const double b = n.height() / 2.0;
    const double cx = n.left() + a;
    const double cy = n.top() + b;
    QVector<QRect> rows;
    rows.reserve(n.height());
    for (int y = n.top(); y <= n.bottom(); ++y) {
        const double hw = halfWidth(a, b, std::fabs(y + 0.5 - cy));
        const int x0 = int(std::lround(cx - hw));
        const int x1 = int(std::lround(cx + hw));
        if (x1 > x0)
            rows.append(QRect(x0, y, x1 - x0, 1));
    }
    return Region(Shape::Ellipse, fromRows(rows));
}

Region Region::roundedRectangle(const QRect& r, int rx, int ry)
{
    const QRect n = r.normalized();
    if (n.isEmpty())
        return Region();
    const double a = std::clamp(rx, 0, n.width() / 2);
    const double b = std::clamp(ry, 0, n.height() / 2);
    if (a <= 0 || b <= 0)
        return rectangle(n).withShape(Shape::RoundedRectangle);
    QVector<QRect> rows;
    rows.reserve(n.height());
    for (int y = n.top(); y <= n.bottom(); ++y) {
        const double yc = y + 0.5;
        double inset = 0;
        const double topEdge = n.top() + b;
        const double bottomEdge = n.top() + n.height() - b;
        if (yc < topEdge)
            inset = a - halfWidth(a, b, topEdge - yc);
        else if (yc > bottomEdge)
            inset = a - halfWidth(a, b, yc - bottomEdge);
        const int x0 = int(std::lround(n.left() + inset));
        const int x1 = int(std::lround(n.left() + n.width() - inset));
        if (x1 > x0)
            rows.append(QRect(x0, y, x1 - x0, 1));
    }
    return Region(Shape::RoundedRectangle, fromRows(rows));
}

Region Region::polygon(const QPolygon& points)
{
    if (points.size() < 3)
        return Region();
    QRegion spans(points, Qt::OddEvenFill);
    if (spans.isEmpty())
        return Region();
    return Region(Shape::Polygon, spans);
}

Region Region::withShape(Shape shape) const
{
    return Region(isEmpty() ? Shape::Empty : shape, spans_);
}

Region Region::translated(int dx, int dy) const
{
    return Region(shape_, spans_.translated(dx, dy));
}

Region Region::intersected(const QRect& r) const
{
    QRegion s = spans_.intersected(r);
    return Region(s.isEmpty() ? Shape::Empty : shape_, s);
}

QPainterPath Region::outline() const
{
    QPainterPath path;
    path.addRegion(spans_);
    return path.simplified();
}

}  // namespace imaging
