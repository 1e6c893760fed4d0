// A full redraw of the portrait runs after every change the user makes, so it has to feel
// instant. Target: ComposePortrait with all 22 kinds present, two of them turned (the eyes)
// and three resized (outline, hairstyle and fringe, as the outline sliders do), on the
// 575 x 395 canvas, in under 3 ms median.
#include "core/compose.h"

#include <benchmark/benchmark.h>

#include <QRect>

using core::PartImages;
using core::PartSlot;
using core::PortraitState;
using imaging::Raster;
namespace kind = core::kind;

namespace {

struct PartShape {
    int k;
    QSize picture;
    QRect box;
};

// Boxes of the size the delivered artwork has; face parts live in 300 x 300 pictures,
// bodies in 300 x 395, scenes in 575 x 395, the user image is its box.
const PartShape kShapes[] = {
    {kind::Background, {575, 395}, {0, 0, 575, 395}},
    {kind::User, {160, 200}, {0, 0, 160, 200}},
    {kind::Hairstyle, {300, 300}, {60, 30, 180, 150}},
    {kind::Body, {300, 395}, {40, 250, 220, 145}},
    {kind::AnimalBody, {300, 395}, {50, 260, 200, 135}},
    {kind::Ears, {300, 300}, {58, 120, 184, 60}},
    {kind::Outline, {300, 300}, {74, 48, 152, 216}},
    {kind::Wrinkles, {300, 300}, {100, 90, 100, 120}},
    {kind::BrowRight, {300, 300}, {160, 100, 40, 14}},
    {kind::BrowLeft, {300, 300}, {107, 100, 40, 14}},
    {kind::EyeRight, {300, 300}, {160, 125, 40, 24}},
    {kind::EyeLeft, {300, 300}, {107, 125, 40, 24}},
    {kind::Mouth, {300, 300}, {125, 210, 50, 24}},
    {kind::Nose, {300, 300}, {138, 160, 24, 36}},
    {kind::Mole, {300, 300}, {180, 190, 6, 6}},
    {kind::Beard, {300, 300}, {100, 200, 100, 70}},
    {kind::Option, {300, 300}, {200, 60, 60, 60}},
    {kind::Glasses, {300, 300}, {95, 115, 110, 45}},
    {kind::Fringe, {300, 300}, {70, 30, 160, 80}},
    {kind::Hat, {300, 300}, {55, 0, 190, 90}},
    {kind::AnimalHead, {300, 300}, {60, 10, 180, 110}},
    {kind::Balloon, {575, 395}, {330, 20, 220, 140}},
};

// The part as an ellipse filling its box: black in a 1-bit mask, colour on black.
void paint(Raster& mask, Raster& colour, const QRect& box, QRgb c)
{
    const double cx = box.x() + box.width() / 2.0, cy = box.y() + box.height() / 2.0;
    const double rx = box.width() / 2.0, ry = box.height() / 2.0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const double u = (x + 0.5 - cx) / rx, v = (y + 0.5 - cy) / ry;
            if (u * u + v * v <= 1.0) {
                mask.setPixel(x, y, qRgb(0, 0, 0));
                colour.setPixel(x, y, c);
            }
        }
    }
}

struct Portrait {
    PortraitState state;
    PartImages images;
    core::PickerMarks marks;

    Portrait()
    {
        state.FigurePosMode = 1;
        for (const PartShape& s : kShapes) {
            PartSlot& slot = state.PartTable[s.k];
            slot.FileNo = std::int16_t(s.k * 10 + 1);
            slot.BaseX = slot.PosX = std::int16_t(s.box.x());
            slot.BaseY = slot.PosY = std::int16_t(s.box.y());
            slot.Width = std::int16_t(s.box.width());
            slot.Height = std::int16_t(s.box.height());
            Raster& mask = images.mask(s.k);
            Raster& colour = images.colour(s.k);
            mask = Raster(s.picture.width(), s.picture.height(), 1, qRgb(255, 255, 255));
            colour = Raster(s.picture.width(), s.picture.height(), 24, qRgb(0, 0, 0));
            paint(mask, colour, s.box, qRgb(40 + s.k * 9, 250 - s.k * 7, 100 + s.k * 5));
        }
        state.PartTable[kind::User].PosX = 20;
        state.PartTable[kind::User].PosY = 150;
        state.PartTable[kind::EyeRight].Angle = -500;
        state.PartTable[kind::EyeLeft].Angle = 500;
        for (int k : {kind::Outline, kind::Hairstyle, kind::Fringe}) {
            state.PartTable[k].GrowW = 25;
            state.PartTable[k].GrowH = 15;
        }
    }
};

void BM_ComposePortrait_22kinds_575x395_target_median_under_3ms(benchmark::State& st)
{
    Portrait p;
    const Raster tile(100, 100, 24, qRgb(255, 255, 255));
    Raster canvas;
    core::PortraitComposer composer(p.state, p.images);
    composer.ComposePortrait(canvas, tile, p.marks);
    if (canvas.width() != 575 || canvas.height() != 395) {
        st.SkipWithError("the portrait did not get the wide canvas");
        return;
    }
    for (auto _ : st) {
        composer.ComposePortrait(canvas, tile, p.marks);
        benchmark::DoNotOptimize(canvas.constScanLine(200));
    }
}
BENCHMARK(BM_ComposePortrait_22kinds_575x395_target_median_under_3ms)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// The same with a composer made for each call, as the free function does.
void BM_ComposePortrait_freshComposer(benchmark::State& st)
{
    Portrait p;
    const Raster tile(100, 100, 24, qRgb(255, 255, 255));
    Raster canvas;
    for (auto _ : st) {
        core::ComposePortrait(p.state, p.images, canvas, tile, p.marks);
        benchmark::DoNotOptimize(canvas.constScanLine(200));
    }
}
BENCHMARK(BM_ComposePortrait_freshComposer)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
