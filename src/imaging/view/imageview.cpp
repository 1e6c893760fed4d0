#include "imaging/view/imageview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace imaging {

namespace {

constexpr int kAntsInterval = 150;  // ms per step of the moving frame
constexpr int kAntsDash = 4;        // pixels per dash and per gap

int buttonCode(Qt::MouseButtons buttons)
{
    int code = 0;
    if (buttons & Qt::LeftButton)
        code |= kButtonLeft;
    if (buttons & Qt::RightButton)
        code |= kButtonRight;
    if (buttons & Qt::MiddleButton)
        code |= kButtonMiddle;
    return code;
}

int shiftCode(Qt::KeyboardModifiers modifiers)
{
    int code = 0;
    if (modifiers & Qt::ShiftModifier)
        code |= kShiftShift;
    if (modifiers & Qt::ControlModifier)
        code |= kShiftCtrl;
    if (modifiers & Qt::AltModifier)
        code |= kShiftAlt;
    return code;
}

std::optional<Qt::CursorShape> cursorFor(int shape)
{
    switch (shape) {
    case 1: return Qt::ArrowCursor;
    case 2: return Qt::CrossCursor;
    case 3: return Qt::IBeamCursor;
    case 5:
    case 15: return Qt::SizeAllCursor;
    case 6: return Qt::SizeBDiagCursor;
    case 7: return Qt::SizeVerCursor;
    case 8: return Qt::SizeFDiagCursor;
    case 9: return Qt::SizeHorCursor;
    case 10: return Qt::UpArrowCursor;
    case 11: return Qt::WaitCursor;
    case 12: return Qt::ForbiddenCursor;
    case 13: return Qt::BusyCursor;
    case 14: return Qt::WhatsThisCursor;
    default: return std::nullopt;
    }
}

}  // namespace

// --- ViewMapping -------------------------------------------------------------------------

QPointF ViewMapping::toBitmap(const QPointF& client) const
{
    const double x = display.width() != 0
        ? (client.x() - display.left()) * source.width() / display.width() + source.left()
        : source.left();
    const double y = display.height() != 0
        ? (client.y() - display.top()) * source.height() / display.height() + source.top()
        : source.top();
    return {x, y};
}

QPointF ViewMapping::toClient(const QPointF& bitmap) const
{
    const double x = source.width() != 0
        ? (bitmap.x() - source.left()) * display.width() / source.width() + display.left()
        : display.left();
    const double y = source.height() != 0
        ? (bitmap.y() - source.top()) * display.height() / source.height() + display.top()
        : display.top();
    return {x, y};
}

QRectF ViewMapping::toClient(const QRectF& bitmap) const
{
    return QRectF(toClient(bitmap.topLeft()), toClient(bitmap.bottomRight())).normalized();
}

QTransform ViewMapping::transform() const
{
    const double sx = source.width() != 0 ? display.width() / source.width() : 1.0;
    const double sy = source.height() != 0 ? display.height() / source.height() : 1.0;
    return QTransform(sx, 0, 0, sy, display.left() - source.left() * sx,
                      display.top() - source.top() * sy);
}

// --- ClientUnits -------------------------------------------------------------------------

QPointF ClientUnits::toPixels(const QPointF& p) const
{
    if (mode != kScaleTwips)
        return p;
    return {p.x() / twipsPerPixelX, p.y() / twipsPerPixelY};
}

QPointF ClientUnits::fromPixels(const QPointF& p) const
{
    if (mode != kScaleTwips)
        return p;
    return {p.x() * twipsPerPixelX, p.y() * twipsPerPixelY};
}

QRectF ClientUnits::toPixels(const QRectF& r) const
{
    return QRectF(toPixels(r.topLeft()), toPixels(r.bottomRight()));
}

QRectF ClientUnits::fromPixels(const QRectF& r) const
{
    return QRectF(fromPixels(r.topLeft()), fromPixels(r.bottomRight()));
}

// --- RegionMarker ------------------------------------------------------------------------

void RegionMarker::press(const QPointF& p)
{
    points_.clear();
    points_.append(p);
}

void RegionMarker::move(const QPointF& p)
{
    if (points_.isEmpty())
        return;
    if (shape_ == MarkShape::Freehand) {
        if (points_.last() != p)
            points_.append(p);
    } else if (points_.size() == 1) {
        points_.append(p);
    } else {
        points_.last() = p;
    }
}

QRect RegionMarker::box() const
{
    if (points_.size() < 2)
        return QRect();
    if (shape_ == MarkShape::Freehand)
        return points_.boundingRect().toAlignedRect();
    const QPoint a = points_.first().toPoint();
    const QPoint b = points_.last().toPoint();
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QSize(std::abs(b.x() - a.x()), std::abs(b.y() - a.y())));
}

Region RegionMarker::region(const QRect& bounds) const
{
    const QRect b = box();
    if (b.isEmpty())
        return Region();
    Region r;
    switch (shape_) {
    case MarkShape::Rectangle:
        r = Region::rectangle(b);
        break;
    case MarkShape::Ellipse:
        r = Region::ellipse(b);
        break;
    case MarkShape::RoundedRectangle: {
        const int radius = std::min(b.width(), b.height()) / 4;
        r = Region::roundedRectangle(b, radius, radius);
        break;
    }
    case MarkShape::Freehand:
        r = Region::polygon(points_.toPolygon());
        break;
    }
    return r.intersected(bounds);
}

QPainterPath RegionMarker::outline() const
{
    QPainterPath path;
    const QRect b = box();
    switch (shape_) {
    case MarkShape::Rectangle:
        path.addRect(b);
        break;
    case MarkShape::Ellipse:
        path.addEllipse(b);
        break;
    case MarkShape::RoundedRectangle: {
        const int radius = std::min(b.width(), b.height()) / 4;
        path.addRoundedRect(b, radius, radius);
        break;
    }
    case MarkShape::Freehand:
        path.addPolygon(points_);
        break;
    }
    return path;
}

// --- ImageView ---------------------------------------------------------------------------

ImageView::ImageView(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    // Pointer shapes follow the mouse even without a button held.
    setMouseTracking(true);
    antsTimer_.setInterval(kAntsInterval);
    connect(&antsTimer_, &QTimer::timeout, this, &ImageView::advanceAnts);
}

ImageView::~ImageView() = default;

void ImageView::setRaster(const Raster& raster)
{
    const QSize oldSize = raster_.size();
    raster_ = raster;
    if (raster_.size() != oldSize) {
        source_ = raster_.rect();
        display_ = QRectF(display_.topLeft(), QSizeF(std::round(raster_.width() * zoom_ / 100.0),
                                                     std::round(raster_.height() * zoom_ / 100.0)));
    }
    notifyChanged();
}

void ImageView::notifyChanged()
{
    updateAntsTimer();
    requestRepaint();
    emit bitmapChanged();
    emitRegionChangedIfNeeded();
}

void ImageView::setRegion(const Region& region)
{
    raster_.setRegion(region);
    updateAntsTimer();
    requestRepaint();
    emitRegionChangedIfNeeded();
}

void ImageView::freeRegion()
{
    setRegion(Region());
}

void ImageView::emitRegionChangedIfNeeded()
{
    if (raster_.region() == shownRegion_)
        return;
    shownRegion_ = raster_.region();
    emit regionChanged();
}

bool ImageView::setScaleMode(int mode)
{
    if (mode != kScaleTwips && mode != kScalePixels)
        return false;
    scaleMode_ = mode;
    return true;
}

ClientUnits ImageView::units() const
{
    ClientUnits u;
    u.mode = scaleMode_;
    const int dpiX = logicalDpiX();
    const int dpiY = logicalDpiY();
    u.twipsPerPixelX = 1440.0 / (dpiX > 0 ? dpiX : 96);
    u.twipsPerPixelY = 1440.0 / (dpiY > 0 ? dpiY : 96);
    return u;
}

double ImageView::clientWidth() const
{
    return units().fromPixels(QPointF(width(), 0)).x();
}

double ImageView::clientHeight() const
{
    return units().fromPixels(QPointF(0, height())).y();
}

void ImageView::setDisplayRect(const QRectF& rect)
{
    display_ = units().toPixels(rect).normalized();
    requestRepaint();
}

QRect ImageView::displayRect() const
{
    return displayRectF().toRect();
}

QRectF ImageView::displayRectF() const
{
    return units().fromPixels(display_);
}

void ImageView::setSourceRect(const QRect& rect)
{
    const QRect r = rect.normalized();
    source_ = r.isEmpty() ? raster_.rect() : r;
    requestRepaint();
}

void ImageView::setClipRect(const QRectF& rect)
{
    const QRectF r = units().toPixels(rect).normalized();
    clip_ = r.isEmpty() ? QRectF() : r;
    requestRepaint();
}

QRect ImageView::clipRect() const
{
    return units().fromPixels(clipPixels()).toRect();
}

QRectF ImageView::clipPixels() const
{
    return clip_.isEmpty() ? QRectF(rect()) : clip_;
}

bool ImageView::setZoom(int percent)
{
    if (percent < 1)
        return false;
    zoom_ = percent;
    const QRect s = source_.isEmpty() ? raster_.rect() : source_;
    display_.setSize(QSizeF(std::round(s.width() * percent / 100.0),
                            std::round(s.height() * percent / 100.0)));
    requestRepaint();
    return true;
}

void ImageView::viewNormal()
{
    zoom_ = 100;
    source_ = raster_.rect();
    display_ = QRectF(QPointF(0, 0), QSizeF(raster_.size()));
    requestRepaint();
}

void ImageView::viewSnap()
{
    resize(int(std::ceil(display_.width())), int(std::ceil(display_.height())));
}

ViewMapping ImageView::mapping() const
{
    return ViewMapping{display_, QRectF(source_.isEmpty() ? raster_.rect() : source_)};
}

QPointF ImageView::clientToBitmap(const QPointF& client) const
{
    return mapping().toBitmap(units().toPixels(client));
}

QPointF ImageView::bitmapToClient(const QPointF& bitmap) const
{
    return units().fromPixels(mapping().toClient(bitmap));
}

void ImageView::setAutoRepaint(bool on)
{
    autoRepaint_ = on;
    if (on && dirty_) {
        dirty_ = false;
        update();
    }
}

void ImageView::forceRepaint()
{
    dirty_ = false;
    if (isVisible())
        repaint();
    else
        update();
}

void ImageView::requestRepaint()
{
    if (autoRepaint_)
        update();
    else
        dirty_ = true;
}

void ImageView::setRegionFrameVisible(bool visible)
{
    frameVisible_ = visible;
    updateAntsTimer();
    requestRepaint();
}

void ImageView::setRegionFrameAnimated(bool animated)
{
    frameAnimated_ = animated;
    updateAntsTimer();
}

void ImageView::updateAntsTimer()
{
    const bool run = frameVisible_ && frameAnimated_ && raster_.hasRegion() && isVisible();
    if (run && !antsTimer_.isActive())
        antsTimer_.start();
    else if (!run && antsTimer_.isActive())
        antsTimer_.stop();
}

void ImageView::advanceAnts()
{
    antsPhase_ = (antsPhase_ + 1) % (2 * kAntsDash);
    if (!autoRepaint_)
        return;
    const QRectF frame = mapping().toClient(QRectF(raster_.region().bounds()));
    update(frame.toAlignedRect().adjusted(-2, -2, 2, 2));
}

void ImageView::startMarking(MarkShape shape)
{
    markShape_ = shape;
}

void ImageView::cancelMarking()
{
    markShape_.reset();
    if (markingDrag_) {
        markingDrag_ = false;
        update();
    }
}

void ImageView::setFloater(const Raster& floater)
{
    floater_ = floater;
    if (floaterRect_.isEmpty())
        floaterRect_ = QRectF(floaterRect_.topLeft(), QSizeF(floater_.size()));
    requestRepaint();
}

void ImageView::setFloaterRect(const QRectF& rect)
{
    floaterRect_ = units().toPixels(rect).normalized();
    requestRepaint();
}

QRect ImageView::floaterRect() const
{
    return floaterRectF().toRect();
}

QRectF ImageView::floaterRectF() const
{
    return units().fromPixels(floaterRect_);
}

void ImageView::clearFloater()
{
    floater_ = Raster();
    floaterRect_ = QRectF();
    requestRepaint();
}

void ImageView::floatRegion()
{
    if (raster_.isNull() || !raster_.hasRegion())
        return;
    const QRect b = raster_.region().bounds().intersected(raster_.rect());
    if (b.isEmpty())
        return;
    Raster piece(b.width(), b.height(), raster_.bits());
    piece.setPalette(raster_.palette());
    piece.setResolution(raster_.xRes(), raster_.yRes());
    piece.combine(0, 0, b.width(), b.height(), raster_, b.left(), b.top(), kCombineCopy);
    piece.setRegion(raster_.region().intersected(b), -b.left(), -b.top());
    floater_ = piece;
    floaterRect_ = mapping().toClient(QRectF(b));
    requestRepaint();
}

void ImageView::setRubberBand(const QRect& rect)
{
    rubberBand_ = rect.normalized();
    if (rubberBandVisible_)
        requestRepaint();
}

void ImageView::setRubberBandVisible(bool visible)
{
    rubberBandVisible_ = visible;
    requestRepaint();
}

void ImageView::addDisplayText(const QString& text, const QRect& box, const TextStyle& style)
{
    texts_.append(DisplayText{text, box, style});
    requestRepaint();
}

void ImageView::clearDisplayTexts()
{
    if (texts_.isEmpty())
        return;
    texts_.clear();
    requestRepaint();
}

void ImageView::setCursorShape(int shape)
{
    cursorShape_ = shape;
    if (const auto qtShape = cursorFor(shape))
        setCursor(*qtShape);
    else
        unsetCursor();
}

QSize ImageView::sizeHint() const
{
    if (display_.isEmpty())
        return QWidget::sizeHint();
    return display_.toAlignedRect().size();
}

void ImageView::render(QPainter& painter, const QRectF& target) const
{
    if (raster_.isNull() || target.isEmpty())
        return;
    const ViewMapping m{target, QRectF(source_.isEmpty() ? raster_.rect() : source_)};
    // Only the part of the source that lies on the bitmap is drawn, where it belongs.
    const QRect visible = m.source.toAlignedRect().intersected(raster_.rect());
    if (visible.isEmpty())
        return;
    painter.drawImage(m.toClient(QRectF(visible)), raster_.image(), QRectF(visible));
}

void ImageView::paintRegionFrame(QPainter& painter, const QPainterPath& bitmapPath,
                                 const ViewMapping& m, int phase) const
{
    if (bitmapPath.isEmpty())
        return;
    const QPainterPath path = m.transform().map(bitmapPath);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    // White under black dashes: visible on any picture, as an inverted line would be.
    QPen under(Qt::white, 0);
    painter.setPen(under);
    painter.drawPath(path);
    QPen dashes(Qt::black, 0, Qt::CustomDashLine);
    dashes.setDashPattern({double(kAntsDash), double(kAntsDash)});
    dashes.setDashOffset(phase);
    painter.setPen(dashes);
    painter.drawPath(path);
    painter.restore();
}

void ImageView::paintFloater(QPainter& painter) const
{
    if (floater_.isNull() || floaterRect_.isEmpty())
        return;
    painter.save();
    const double sx = floaterRect_.width() / floater_.width();
    const double sy = floaterRect_.height() / floater_.height();
    painter.setTransform(QTransform(sx, 0, 0, sy, floaterRect_.left(), floaterRect_.top()), true);
    if (floater_.hasRegion())
        painter.setClipRegion(floater_.region().spans(), Qt::IntersectClip);
    painter.drawImage(QPointF(0, 0), floater_.image());
    painter.restore();
}

void ImageView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setClipRect(clipPixels());
    const ViewMapping m = mapping();
    render(painter, m.display);

    if (!texts_.isEmpty()) {
        painter.save();
        painter.setTransform(m.transform(), true);
        for (const DisplayText& t : texts_)
            paintText(painter, t.text, QRectF(t.box), t.style);
        painter.restore();
    }
    if (frameVisible_ && raster_.hasRegion()) {
        if (frameOutlineFor_ != raster_.region()) {
            frameOutlineFor_ = raster_.region();
            frameOutline_ = frameOutlineFor_.outline();
        }
        paintRegionFrame(painter, frameOutline_, m, antsPhase_);
    }
    if (markingDrag_)
        paintRegionFrame(painter, marker_.outline(), m, 0);
    paintFloater(painter);
    if (rubberBandVisible_ && !rubberBand_.isEmpty()) {
        QPainterPath band;
        band.addRect(QRectF(rubberBand_));
        paintRegionFrame(painter, band, m, 0);
    }
}

void ImageView::mousePressEvent(QMouseEvent* event)
{
    const QPointF at = units().fromPixels(event->position());
    emit mouseDown(buttonCode(event->button()), shiftCode(event->modifiers()), at.x(), at.y());
    // A mouseDown slot may just have started the marking: this press is its first point.
    if (markShape_ && !markingDrag_ && event->button() == Qt::LeftButton) {
        markingDrag_ = true;
        marker_ = RegionMarker(*markShape_);
        marker_.press(mapping().toBitmap(event->position()));
        update();
    }
}

void ImageView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second click of a double click is a press like any other.
    mousePressEvent(event);
}

void ImageView::mouseMoveEvent(QMouseEvent* event)
{
    if (markingDrag_) {
        marker_.move(mapping().toBitmap(event->position()));
        update();
    }
    const QPointF at = units().fromPixels(event->position());
    emit mouseMove(buttonCode(event->buttons()), shiftCode(event->modifiers()), at.x(), at.y());
}

void ImageView::mouseReleaseEvent(QMouseEvent* event)
{
    if (markingDrag_ && event->button() == Qt::LeftButton) {
        marker_.move(mapping().toBitmap(event->position()));
        const Region marked = marker_.region(raster_.rect());
        const bool changes = raster_.hasRegion() || !marked.isEmpty();
        markingDrag_ = false;
        markShape_.reset();
        raster_.setRegion(marked);
        shownRegion_ = marked;
        updateAntsTimer();
        update();
        // Every finished marking is announced, even one that gives the same region again.
        if (changes)
            emit regionChanged();
    }
    const QPointF at = units().fromPixels(event->position());
    emit mouseUp(buttonCode(event->button()), shiftCode(event->modifiers()), at.x(), at.y());
}

void ImageView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    updateAntsTimer();
}

void ImageView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    updateAntsTimer();
}

}  // namespace imaging
