// A drag's mouse-move handling in the editor: the move rule (pointer shape, floater
// position) and the repaint of the wide canvas with the floating picture over it. Target:
// under 2 ms per move, so that the floating picture follows the pointer smoothly.

#include "../src/editor/editorlogic.cpp"

#include "core/compose.h"
#include "core/partimages.h"
#include "imaging/engine/region.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace {

using core::PortraitState;

// A wide portrait with a balloon and a selected hat of 200 x 120 pixels.
struct DragScene {
    PortraitState state;
    core::PartImages images;
    imaging::Raster canvas;
    imaging::Raster floater;
    editor::CanvasInteraction interaction{2.0};

    DragScene()
    {
        state.CanvasWidth = 575;
        state.CanvasHeight = 395;
        state.FigurePosMode = 1;
        core::PartSlot hat;
        hat.FileNo = 1;
        hat.PosX = hat.BaseX = 40;
        hat.PosY = hat.BaseY = 30;
        hat.Width = 200;
        hat.Height = 120;
        state.PartTable[core::kind::Hat] = hat;
        core::PartSlot balloon = hat;
        balloon.PosX = balloon.BaseX = 300;
        state.PartTable[core::kind::Balloon] = balloon;

        for (int k : {int(core::kind::Hat), int(core::kind::Balloon)}) {
            imaging::Raster mask(300, 300, 1, qRgb(255, 255, 255));
            imaging::Raster colour(300, 300, 24, qRgb(0, 0, 0));
            for (int y = 30; y < 150; ++y)
                for (int x = 40; x < 240; ++x) {
                    mask.setPixel(x, y, qRgb(0, 0, 0));
                    colour.setPixel(x, y, qRgb(200, 40, 40));
                }
            images.mask(k) = mask;
            images.colour(k) = colour;
        }
        core::PortraitComposer composer(state, images);
        core::PickerMarks marks;
        composer.ComposePortrait(canvas, imaging::Raster(), marks);
        floater = editor::buildDragPicture(composer, state, imaging::Raster(), core::kind::Hat);

        const QPointF at = QRectF(editor::partFrame(state, core::kind::Hat)).center();
        interaction.press(state, 1, at);  // picks
        interaction.press(state, 1, at);  // starts the drag
    }
};

// What the canvas's repaint draws during a drag: the portrait, the selection frame and the
// floating picture clipped to its region.
void paintDragFrame(QPainter& p, const DragScene& s)
{
    p.drawImage(QPointF(0, 0), s.canvas.image());
    QPainterPath frame;
    frame.addRect(QRectF(s.interaction.frame()));
    p.setPen(QPen(Qt::black, 0, Qt::DashLine));
    p.drawPath(frame);
    p.save();
    const QRectF r = s.interaction.floaterRect();
    p.translate(r.topLeft());
    p.setClipRegion(s.floater.region().spans());
    p.drawImage(QPointF(0, 0), s.floater.image());
    p.restore();
}

void BM_DragMoveRule(benchmark::State& st)
{
    DragScene s;
    double x = 0;
    for (auto _ : st) {
        x = x > 100 ? 0 : x + 1;
        const QPointF at(200 + x, 90 + x / 2);
        benchmark::DoNotOptimize(s.interaction.move(1, at, true));
    }
}
BENCHMARK(BM_DragMoveRule)->Name("DragMoveRule_target_under_2ms");

void BM_DragMoveWithRepaint(benchmark::State& st)
{
    DragScene s;
    QImage screen(575, 395, QImage::Format_RGB32);
    double x = 0;
    for (auto _ : st) {
        x = x > 100 ? 0 : x + 1;
        s.interaction.move(1, QPointF(200 + x, 90 + x / 2), true);
        QPainter p(&screen);
        paintDragFrame(p, s);
        p.end();
        benchmark::DoNotOptimize(screen.constBits());
    }
    st.SetLabel("move + repaint of the 575 x 395 canvas");
}
BENCHMARK(BM_DragMoveWithRepaint)->Name("DragMoveWithRepaint_target_under_2ms")->Unit(benchmark::kMicrosecond);

// Building the drag picture happens once per pick, not per move; shown for comparison.
void BM_BuildDragPicture(benchmark::State& st)
{
    DragScene s;
    core::PortraitComposer composer(s.state, s.images);
    for (auto _ : st)
        benchmark::DoNotOptimize(editor::buildDragPicture(composer, s.state, imaging::Raster(), core::kind::Hat));
}
BENCHMARK(BM_BuildDragPicture)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
