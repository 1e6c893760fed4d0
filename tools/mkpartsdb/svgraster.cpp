#include "svgraster.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

namespace mkparts {

namespace {

// QSvgRenderer switches antialiasing on inside its own drawing, whatever the painter was
// told. This engine takes its calls and hands them to a painter on the picture with every
// render hint off, so fills keep their exact colours and the alpha stays 0 or 255.
class AliasedEngine final : public QPaintEngine {
public:
    explicit AliasedEngine(QImage* target) : QPaintEngine(QPaintEngine::AllFeatures), target_(target) {}

    bool begin(QPaintDevice*) override
    {
        if (!painter_.begin(target_))
            return false;
        painter_.setRenderHints(QPainter::RenderHints());
        return true;
    }
    bool end() override { return painter_.end(); }

    void updateState(const QPaintEngineState& state) override
    {
        const DirtyFlags f = state.state();
        if (f & DirtyPen)
            painter_.setPen(state.pen());
        if (f & DirtyBrush)
            painter_.setBrush(state.brush());
        if (f & DirtyBrushOrigin)
            painter_.setBrushOrigin(state.brushOrigin());
        if (f & DirtyBackground)
            painter_.setBackground(state.backgroundBrush());
        if (f & DirtyBackgroundMode)
            painter_.setBackgroundMode(state.backgroundMode());
        if (f & DirtyTransform)
            painter_.setTransform(state.transform());
        if (f & DirtyOpacity)
            painter_.setOpacity(state.opacity());
        if (f & DirtyCompositionMode)
            painter_.setCompositionMode(state.compositionMode());
        if (f & DirtyClipPath)
            painter_.setClipPath(state.clipPath(), state.clipOperation());
        if (f & DirtyClipRegion)
            painter_.setClipRegion(state.clipRegion(), state.clipOperation());
        if (f & DirtyClipEnabled)
            painter_.setClipping(state.isClipEnabled());
        painter_.setRenderHints(QPainter::RenderHints());
    }

    void drawPath(const QPainterPath& path) override { painter_.drawPath(path); }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        if (mode == PolylineMode)
            painter_.drawPolyline(points, count);
        else
            painter_.drawPolygon(points, count,
                                 mode == OddEvenMode ? Qt::OddEvenFill : Qt::WindingFill);
    }
    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override
    {
        painter_.drawPixmap(r, pm, sr);
    }
    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr,
                   Qt::ImageConversionFlags flags) override
    {
        painter_.drawImage(r, image, sr, flags);
    }
    Type type() const override { return User; }

private:
    QImage* target_;
    QPainter painter_;
};

class AliasedDevice final : public QPaintDevice {
public:
    explicit AliasedDevice(QImage* target) : target_(target), engine_(target) {}
    ~AliasedDevice() override = default;
    QPaintEngine* paintEngine() const override { return &engine_; }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return target_->width();
        case PdmHeight: return target_->height();
        case PdmWidthMM: return target_->width() * 254 / 960;
        case PdmHeightMM: return target_->height() * 254 / 960;
        case PdmNumColors: return 0;
        case PdmDepth: return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 96;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        default: return 0;
        }
    }

private:
    QImage* target_;
    mutable AliasedEngine engine_;
};

}  // namespace

QImage renderAliased(QSvgRenderer& renderer, QSize size, const QRectF& viewBox)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const QRectF oldBox = renderer.viewBoxF();
    if (!viewBox.isNull())
        renderer.setViewBox(viewBox);
    {
        AliasedDevice device(&image);
        QPainter painter(&device);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    if (!viewBox.isNull())
        renderer.setViewBox(oldBox);
    return image;
}

}  // namespace mkparts
