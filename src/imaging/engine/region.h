#pragma once

#include <QPainterPath>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QRegion>

namespace imaging {

// An area of a bitmap in bitmap pixels. Stored as exact pixel spans so that
// combining inside it is a list of rectangles, never a per-pixel test.
class Region {
public:
    enum class Shape { Empty, Rectangle, Ellipse, RoundedRectangle, Polygon };

    Region() = default;

    static Region rectangle(const QRect& r);
    static Region ellipse(const QRect& bounds);
    // rx, ry: corner radii in pixels.
    static Region roundedRectangle(const QRect& r, int rx, int ry);
    // Free-hand outline: the points as the mouse visited them, closed automatically.
    static Region polygon(const QPolygon& points);

    bool isEmpty() const { return spans_.isEmpty(); }
    Shape shape() const { return isEmpty() ? Shape::Empty : shape_; }
    QRect bounds() const { return spans_.boundingRect(); }
    int left() const { return bounds().left(); }
    int top() const { return bounds().top(); }
    int width() const { return bounds().width(); }
    int height() const { return bounds().height(); }

    bool contains(int x, int y) const { return spans_.contains(QPoint(x, y)); }
    Region translated(int dx, int dy) const;
    Region intersected(const QRect& r) const;

    // The pixel spans; rectangles do not overlap.
    const QRegion& spans() const { return spans_; }
    // Outline for the animated frame.
    QPainterPath outline() const;

    bool operator==(const Region& o) const { return spans_ == o.spans_; }
    bool operator!=(const Region& o) const { return !(*this == o); }

private:
    Region withShape(Shape shape) const;
    Region(Shape shape, QRegion spans) : shape_(shape), spans_(std::move(spans)) {}

    Shape shape_ = Shape::Empty;
    QRegion spans_;
};

}  // namespace imaging
