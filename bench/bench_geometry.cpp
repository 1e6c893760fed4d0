// Geometry kernels on the pictures a portrait redraw turns and stretches: a part mask and
// a colour canvas. The Qt cases are the peer for comparison only (different filters).

#include "imaging/engine/raster.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace {

using imaging::Raster;

// A face-like part mask: black outline, eyes, nose and mouth on white, no antialiasing,
// so that it has exactly two colours like a stored mask.
Raster faceMask(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(QRectF(w * 0.15, h * 0.08, w * 0.7, h * 0.86));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(w * 0.32, h * 0.35, w * 0.12, h * 0.07));
    p.drawEllipse(QRectF(w * 0.56, h * 0.35, w * 0.12, h * 0.07));
    QPainterPath nose;
    nose.moveTo(w * 0.5, h * 0.45);
    nose.lineTo(w * 0.45, h * 0.6);
    nose.lineTo(w * 0.55, h * 0.6);
    nose.closeSubpath();
    p.drawPath(nose);
    p.drawChord(QRectF(w * 0.38, h * 0.62, w * 0.24, h * 0.14), 180 * 16, 180 * 16);
    p.end();
    return Raster::fromImage(image, 24);
}

// A colour canvas: background gradient with a shaded face, as a composed portrait.
Raster portrait(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(120, 170, 230));
    sky.setColorAt(1, QColor(240, 230, 200));
    p.fillRect(image.rect(), sky);
    QRadialGradient skin(w * 0.5, h * 0.45, w * 0.3);
    skin.setColorAt(0, QColor(255, 210, 160));
    skin.setColorAt(1, QColor(230, 170, 110));
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(skin);
    p.drawEllipse(QRectF(w * 0.3, h * 0.15, w * 0.4, h * 0.65));
    p.setBrush(QColor(192, 64, 0));
    p.drawChord(QRectF(w * 0.28, h * 0.1, w * 0.44, h * 0.4), 0, 180 * 16);
    p.setBrush(Qt::black);
    p.drawEllipse(QRectF(w * 0.4, h * 0.4, w * 0.05, h * 0.04));
    p.drawEllipse(QRectF(w * 0.55, h * 0.4, w * 0.05, h * 0.04));
    p.end();
    return Raster::fromImage(image, 24);
}

void BM_Rotate300x300_30deg_target_under_2ms(benchmark::State& state)
{
    const Raster mask = faceMask(300, 300);
    for (auto _ : state) {
        Raster r = mask;
        r.rotate(3000, false, qRgb(255, 255, 255));
        benchmark::DoNotOptimize(r.constScanLine(0));
    }
}
BENCHMARK(BM_Rotate300x300_30deg_target_under_2ms)->Unit(benchmark::kMicrosecond);

void BM_Rotate300x300_30deg_Resized(benchmark::State& state)
{
    const Raster mask = faceMask(300, 300);
    for (auto _ : state) {
        Raster r = mask;
        r.rotate(3000, true, qRgb(255, 255, 255));
        benchmark::DoNotOptimize(r.constScanLine(0));
    }
}
BENCHMARK(BM_Rotate300x300_30deg_Resized)->Unit(benchmark::kMicrosecond);

void BM_Rotate575x395_90deg(benchmark::State& state)
{
    const Raster picture = portrait(575, 395);
    for (auto _ : state) {
        Raster r = picture;
        r.rotate(9000, true, qRgb(255, 255, 255));
        benchmark::DoNotOptimize(r.constScanLine(0));
    }
}
BENCHMARK(BM_Rotate575x395_90deg)->Unit(benchmark::kMicrosecond);

void BM_Size575x395To300x300Bilinear_target_under_2ms(benchmark::State& state)
{
    const Raster picture = portrait(575, 395);
    for (auto _ : state) {
        Raster r = picture;
        r.size(300, 300, 1);
        benchmark::DoNotOptimize(r.constScanLine(0));
    }
}
BENCHMARK(BM_Size575x395To300x300Bilinear_target_under_2ms)->Unit(benchmark::kMicrosecond);

// The blank tile stretched to the canvas, as every composition starts.
void BM_Size100x100To575x395Bilinear(benchmark::State& state)
{
    const Raster tile = portrait(100, 100);
    for (auto _ : state) {
        Raster r = tile;
        r.size(575, 395, 1);
        benchmark::DoNotOptimize(r.constScanLine(0));
    }
}
BENCHMARK(BM_Size100x100To575x395Bilinear)->Unit(benchmark::kMicrosecond);

// Strong reduction goes through the box filter.
void BM_Size1800x1200To300x200Box(benchmark::State& state)
{
    const Raster picture = portrait(1800, 1200);
    for (auto _ : state) {
        Raster r = picture;
        r.size(300, 200, 1);
        benchmark::DoNotOptimize(r.constScanLine(0));
    }
}
BENCHMARK(BM_Size1800x1200To300x200Box)->Unit(benchmark::kMicrosecond);

void BM_Size575x395To300x300Nearest(benchmark::State& state)
{
    const Raster picture = portrait(575, 395);
    for (auto _ : state) {
        Raster r = picture;
        r.size(300, 300, 0);
        benchmark::DoNotOptimize(r.constScanLine(0));
    }
}
BENCHMARK(BM_Size575x395To300x300Nearest)->Unit(benchmark::kMicrosecond);

void BM_Size300x300To575x395Nearest(benchmark::State& state)
{
    const Raster mask = faceMask(300, 300);
    for (auto _ : state) {
        Raster r = mask;
        r.size(575, 395, 0);
        benchmark::DoNotOptimize(r.constScanLine(0));
    }
}
BENCHMARK(BM_Size300x300To575x395Nearest)->Unit(benchmark::kMicrosecond);

void BM_Shear300x300_20deg(benchmark::State& state)
{
    const Raster mask = faceMask(300, 300);
    for (auto _ : state) {
        Raster r = mask;
        r.shear(2000, true, qRgb(255, 255, 255));
        benchmark::DoNotOptimize(r.constScanLine(0));
    }
}
BENCHMARK(BM_Shear300x300_20deg)->Unit(benchmark::kMicrosecond);

void BM_Flip575x395(benchmark::State& state)
{
    Raster picture = portrait(575, 395);
    for (auto _ : state) {
        picture.flip();
        benchmark::DoNotOptimize(picture.constScanLine(0));
    }
}
BENCHMARK(BM_Flip575x395)->Unit(benchmark::kMicrosecond);

void BM_Reverse575x395(benchmark::State& state)
{
    Raster picture = portrait(575, 395);
    for (auto _ : state) {
        picture.reverse();
        benchmark::DoNotOptimize(picture.constScanLine(0));
    }
}
BENCHMARK(BM_Reverse575x395)->Unit(benchmark::kMicrosecond);

// Peer: Qt's own nearest rotation and smooth scaling of the same pictures.
void BM_QtPeer_Rotate300x300_30deg(benchmark::State& state)
{
    const QImage mask = faceMask(300, 300).image();
    for (auto _ : state) {
        QImage r = mask.transformed(QTransform().rotate(-30), Qt::FastTransformation);
        benchmark::DoNotOptimize(r.constBits());
    }
}
BENCHMARK(BM_QtPeer_Rotate300x300_30deg)->Unit(benchmark::kMicrosecond);

void BM_QtPeer_Size575x395To300x300Smooth(benchmark::State& state)
{
    const QImage picture = portrait(575, 395).image();
    for (auto _ : state) {
        QImage r = picture.scaled(300, 300, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        benchmark::DoNotOptimize(r.constBits());
    }
}
BENCHMARK(BM_QtPeer_Size575x395To300x300Smooth)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
