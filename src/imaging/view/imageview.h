#pragma once

#include "imaging/engine/raster.h"
#include "imaging/engine/region.h"
#include "imaging/engine/text.h"

#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QTimer>
#include <QTransform>
#include <QVector>
#include <QWidget>

#include <optional>

class QPainter;

namespace imaging {

// Client coordinate units, numbered as stored settings and callers know them.
enum ScaleMode : int { kScaleTwips = 1, kScalePixels = 3 };

// Shapes a region can be marked in with the mouse.
enum class MarkShape : int { Rectangle = 1, RoundedRectangle = 2, Ellipse = 3, Freehand = 4 };

// Mouse buttons and shift keys as the mouse signals report them.
enum MouseButtonCode : int { kButtonLeft = 1, kButtonRight = 2, kButtonMiddle = 4 };
enum ShiftCode : int { kShiftShift = 1, kShiftCtrl = 2, kShiftAlt = 4 };

// Where the source rectangle of a bitmap is shown: a display rectangle in client pixels.
struct ViewMapping {
    QRectF display;  // client pixels
    QRectF source;   // bitmap pixels

    QPointF toBitmap(const QPointF& client) const;
    QPointF toClient(const QPointF& bitmap) const;
    QRectF toClient(const QRectF& bitmap) const;
    // Bitmap pixels to client pixels.
    QTransform transform() const;
};

// Client units to pixels and back; twips are pixels × 1440 / dpi.
struct ClientUnits {
    int mode = kScalePixels;
    double twipsPerPixelX = 15;
    double twipsPerPixelY = 15;

    QPointF toPixels(const QPointF& p) const;
    QPointF fromPixels(const QPointF& p) const;
    QRectF toPixels(const QRectF& r) const;
    QRectF fromPixels(const QRectF& r) const;
};

// The geometry of a region being marked: press, moves, result. Points are bitmap pixels.
class RegionMarker {
public:
    explicit RegionMarker(MarkShape shape = MarkShape::Rectangle) : shape_(shape) {}

    MarkShape shape() const { return shape_; }
    void press(const QPointF& p);
    void move(const QPointF& p);
    bool isStarted() const { return !points_.isEmpty(); }

    // Box between the press and the last point, corners rounded to whole pixels.
    QRect box() const;
    // The marked region clipped to `bounds`; empty when the mouse did not move.
    Region region(const QRect& bounds) const;
    // What to show while the mouse is still down.
    QPainterPath outline() const;

private:
    MarkShape shape_;
    QPolygonF points_;
};

// Shows one bitmap: its source rectangle is painted into the display rectangle, within
// the clip rectangle. Shows the bitmap's region with a moving frame, a floating bitmap,
// a rubber band and display-only texts, lets the user mark a region, and reports mouse
// events in client units.
//
// Units: display, clip and floater rectangles, mouse positions and client sizes are
// client units (pixels or twips, see setScaleMode); source rectangle, region, rubber band
// and display texts are bitmap pixels.
class ImageView : public QWidget {
    Q_OBJECT

public:
    explicit ImageView(QWidget* parent = nullptr);
    ~ImageView() override;

    const Raster& raster() const { return raster_; }
    // Edits through this reference are not seen: call notifyChanged() afterwards.
    Raster& raster() { return raster_; }
    // A picture of another size resets the source to the whole bitmap and the display to
    // its size at the current zoom; the display origin stays.
    void setRaster(const Raster& raster);
    // Repaints and emits bitmapChanged (and regionChanged when the region differs from the
    // one last shown) after the raster was changed through raster().
    void notifyChanged();
    // Sets or frees the raster's region; emits regionChanged.
    void setRegion(const Region& region);
    void freeRegion();

    // 1 twips, 3 pixels; other values are refused (false) and the mode stays.
    bool setScaleMode(int mode);
    int scaleMode() const { return scaleMode_; }
    ClientUnits units() const;
    double clientWidth() const;
    double clientHeight() const;

    // Client units; the zoom stays as it is.
    void setDisplayRect(const QRectF& rect);
    QRect displayRect() const;
    QRectF displayRectF() const;
    // Bitmap pixels; an empty rectangle means the whole bitmap.
    void setSourceRect(const QRect& rect);
    QRect sourceRect() const { return source_; }
    // Client units; an empty rectangle means the whole client area.
    void setClipRect(const QRectF& rect);
    QRect clipRect() const;
    // Percentage: the display size becomes the source size × percent / 100 (rounded),
    // keeping the display origin. Values below 1 are refused (false).
    bool setZoom(int percent);
    int zoom() const { return zoom_; }
    // Zoom 100, whole bitmap at its own size at the client's top-left corner.
    void viewNormal();
    // Resizes the widget to the display rectangle's size.
    void viewSnap();
    // Display and source in client pixels and bitmap pixels.
    ViewMapping mapping() const;

    QPointF clientToBitmap(const QPointF& client) const;
    QPointF bitmapToClient(const QPointF& bitmap) const;

    // Off: changes wait for forceRepaint() (or for turning it on again).
    void setAutoRepaint(bool on);
    bool autoRepaint() const { return autoRepaint_; }
    void forceRepaint();

    void setRegionFrameVisible(bool visible);
    bool isRegionFrameVisible() const { return frameVisible_; }
    void setRegionFrameAnimated(bool animated);
    bool isRegionFrameAnimated() const { return frameAnimated_; }

    // The next left press (or the one being handled in a mouseDown slot) starts marking;
    // the release sets the raster's region and emits regionChanged. One region per call.
    void startMarking(MarkShape shape);
    void cancelMarking();
    bool isMarking() const { return markShape_.has_value(); }

    // A bitmap shown over the picture at its rectangle (client units), clipped to its own
    // region when it has one. Setting a floater without a rectangle shows it at its size.
    void setFloater(const Raster& floater);
    const Raster& floater() const { return floater_; }
    bool hasFloater() const { return !floater_.isNull(); }
    void setFloaterRect(const QRectF& rect);
    QRect floaterRect() const;
    QRectF floaterRectF() const;
    void clearFloater();
    // The raster's region lifted as the floater (its bounding box, the region moved to the
    // piece's origin) and placed over the region's own place on the display.
    void floatRegion();

    // Bitmap pixels.
    void setRubberBand(const QRect& rect);
    QRect rubberBand() const { return rubberBand_; }
    void setRubberBandVisible(bool visible);
    bool isRubberBandVisible() const { return rubberBandVisible_; }

    // Texts shown over the picture but not drawn into it; the box is in bitmap pixels and
    // the text zooms with the picture. They stay until cleared.
    void addDisplayText(const QString& text, const QRect& box, const TextStyle& style);
    void clearDisplayTexts();

    // Pointer numbers: 0 default, 1 arrow, 2 cross, 3 I-beam, 5 and 15 size all,
    // 6 NE–SW, 7 N–S, 8 NW–SE, 9 W–E, 10 up arrow, 11 wait, 12 no drop, 13 busy,
    // 14 what's this; others show the default pointer.
    void setCursorShape(int shape);
    int cursorShape() const { return cursorShape_; }

    // The source rectangle of the picture painted into `target` of any painter (screen,
    // printer, PDF, image), in the painter's coordinates.
    void render(QPainter& painter, const QRectF& target) const;
    using QWidget::render;

    QSize sizeHint() const override;

signals:
    void bitmapChanged();
    void regionChanged();
    // button: 1 left, 2 right, 4 middle (move: the buttons held); shift: 1 Shift, 2 Ctrl,
    // 4 Alt; x, y in client units.
    void mouseDown(int button, int shift, double x, double y);
    void mouseMove(int button, int shift, double x, double y);
    void mouseUp(int button, int shift, double x, double y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct DisplayText {
        QString text;
        QRect box;
        TextStyle style;
    };

    void requestRepaint();
    void updateAntsTimer();
    void advanceAnts();
    void emitRegionChangedIfNeeded();
    QRectF clipPixels() const;
    void paintRegionFrame(QPainter& painter, const QPainterPath& bitmapPath, const ViewMapping& m,
                          int phase) const;
    void paintFloater(QPainter& painter) const;

    Raster raster_;
    Region shownRegion_;  // the region as last announced
    int scaleMode_ = kScalePixels;
    QRectF display_;  // client pixels
    QRect source_;    // bitmap pixels
    QRectF clip_;     // client pixels; empty = whole client
    int zoom_ = 100;
    bool autoRepaint_ = true;
    bool dirty_ = false;

    bool frameVisible_ = false;
    bool frameAnimated_ = true;
    int antsPhase_ = 0;
    Region frameOutlineFor_;  // outline cache: tracing a region is not free
    QPainterPath frameOutline_;
    QTimer antsTimer_;

    std::optional<MarkShape> markShape_;
    bool markingDrag_ = false;
    RegionMarker marker_;

    Raster floater_;
    QRectF floaterRect_;  // client pixels

    QRect rubberBand_;
    bool rubberBandVisible_ = false;

    QVector<DisplayText> texts_;
    int cursorShape_ = 0;
};

}  // namespace imaging
