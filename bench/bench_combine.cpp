// Combine is the kernel that draws every part of every portrait: a mask pass (AND) and a
// colour pass (XOR) per part. Target: at least 1 gigapixel a second per pass on one core,
// compared side by side with a plain memcpy of the same rows.
#include "imaging/engine/raster.h"

#include <benchmark/benchmark.h>

#include <cstring>

using imaging::Raster;

namespace {

constexpr int kBox = 200;

Raster canvas() { return Raster(575, 395, 24, qRgb(255, 255, 255)); }

Raster part(bool mask)
{
    Raster r(300, 300, mask ? 1 : 24, mask ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x)
            if ((x - 150) * (x - 150) + (y - 150) * (y - 150) < 90 * 90)
                r.setPixel(x, y, mask ? qRgb(0, 0, 0) : qRgb(255, 192, 128));
    return r;
}

void setRate(benchmark::State& state, int passes)
{
    state.counters["Gpx_per_pass"] = benchmark::Counter(
        double(kBox) * kBox / 1e9, benchmark::Counter::kIsIterationInvariantRate);
    state.SetBytesProcessed(int64_t(state.iterations()) * kBox * kBox * 4 * passes);
}

void BM_CombineMaskThenColour_200x200_target_1Gpx_per_pass(benchmark::State& state)
{
    Raster dst = canvas();
    const Raster mask = part(true);
    const Raster colour = part(false);
    for (auto _ : state) {
        dst.combine(180, 90, kBox, kBox, mask, 50, 50, imaging::kCombineMask);
        dst.combine(180, 90, kBox, kBox, colour, 50, 50, imaging::kCombineColour);
        benchmark::DoNotOptimize(dst.constScanLine(100));
    }
    state.counters["Gpx_per_pass"] = benchmark::Counter(
        double(kBox) * kBox * 2 / 1e9, benchmark::Counter::kIsIterationInvariantRate);
    state.SetBytesProcessed(int64_t(state.iterations()) * kBox * kBox * 4 * 2);
}
BENCHMARK(BM_CombineMaskThenColour_200x200_target_1Gpx_per_pass);

void BM_CombineOnePass(benchmark::State& state)
{
    const int code = int(state.range(0));
    Raster dst = canvas();
    const Raster src = part(code == 0);
    for (auto _ : state) {
        dst.combine(180, 90, kBox, kBox, src, 50, 50, code);
        benchmark::DoNotOptimize(dst.constScanLine(100));
    }
    setRate(state, 1);
}
BENCHMARK(BM_CombineOnePass)->Arg(0)->Arg(512)->Arg(288)->Arg(768);

// The same rows moved by memcpy: the floor a memory-bound pass can reach.
void BM_MemcpyBaseline_200x200(benchmark::State& state)
{
    Raster dst = canvas();
    const Raster src = part(false);
    for (auto _ : state) {
        for (int y = 0; y < kBox; ++y)
            std::memcpy(dst.scanLine(90 + y) + 180, src.constScanLine(50 + y) + 50, kBox * 4);
        benchmark::DoNotOptimize(dst.constScanLine(100));
    }
    setRate(state, 1);
}
BENCHMARK(BM_MemcpyBaseline_200x200);

}  // namespace

BENCHMARK_MAIN();
