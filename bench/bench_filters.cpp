// The picture filters on a 24-megapixel photograph-like picture, beside a plain copy of the
// same pixels in the same run. Targets: table operations at least half the copy's rate;
// Median 25x25 at most 1.5 x Median 7x7; Average independent of its window.
// FACIORA_THREADS sets the worker count (the peer comparison uses the same count).
#include "imaging/engine/filters.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <functional>

using imaging::Raster;

namespace {

const Raster& photo()
{
    static const Raster picture = [] {
        const int w = 6000, h = 4000;
        Raster r(w, h, 24);
        uint32_t seed = 12345;
        for (int y = 0; y < h; ++y) {
            uint32_t* line = r.scanLine(y);
            for (int x = 0; x < w; ++x) {
                seed = seed * 1664525u + 1013904223u;
                const int n = int(seed >> 27) - 16;
                const int red = std::clamp(x * 255 / w + n, 0, 255);
                const int green = std::clamp(((x / 40 + y / 40) % 2 ? 180 : 60) + n, 0, 255);
                const int blue = std::clamp(y * 255 / h - n, 0, 255);
                line[x] = qRgb(red, green, blue);
            }
        }
        return r;
    }();
    return picture;
}

void rate(benchmark::State& state)
{
    const Raster& p = photo();
    state.counters["Mpx_per_s"] = benchmark::Counter(double(p.width()) * p.height() / 1e6,
                                                     benchmark::Counter::kIsIterationInvariantRate);
    state.SetBytesProcessed(int64_t(state.iterations()) * p.width() * p.height() * 4);
}

// Each iteration works on a fresh copy; the copy is not timed.
void run(benchmark::State& state, const std::function<void(Raster&)>& op)
{
    for (auto _ : state) {
        state.PauseTiming();
        Raster r = photo();
        r.scanLine(0);  // detach now, not inside the timed filter
        state.ResumeTiming();
        op(r);
        benchmark::DoNotOptimize(r.constScanLine(0));
    }
    rate(state);
    state.SetLabel("");
}

void BM_CopyBaseline(benchmark::State& state)
{
    const Raster& src = photo();
    Raster dst(src.width(), src.height(), 24);
    const size_t rowBytes = size_t(src.width()) * 4;
    for (auto _ : state) {
        for (int y = 0; y < src.height(); ++y)
            std::memcpy(dst.scanLine(y), src.constScanLine(y), rowBytes);
        benchmark::DoNotOptimize(dst.constScanLine(0));
    }
    rate(state);
}
BENCHMARK(BM_CopyBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

#define FILTER_BENCH(name, call) \
    void BM_##name(benchmark::State& state) { run(state, [&](Raster& r) { call; }); } \
    BENCHMARK(BM_##name)->Unit(benchmark::kMillisecond)->UseRealTime()

FILTER_BENCH(Invert, imaging::invert(r));
FILTER_BENCH(Intensity_300, imaging::intensity(r, 300));
FILTER_BENCH(Contrast_300, imaging::contrast(r, 300));
FILTER_BENCH(GammaCorrect_150, imaging::gammaCorrect(r, 150));
FILTER_BENCH(Posterize_4, imaging::posterize(r, 4));
FILTER_BENCH(Hue_90, imaging::hue(r, 90));
FILTER_BENCH(Saturation_500, imaging::saturation(r, 500));
FILTER_BENCH(Grayscale, imaging::grayscale(r, 8));
FILTER_BENCH(Median_7, imaging::median(r, 7));
FILTER_BENCH(Median_25, imaging::median(r, 25));
FILTER_BENCH(Average_3, imaging::average(r, 3));
FILTER_BENCH(Average_25, imaging::average(r, 25));
FILTER_BENCH(Sharpen_500, imaging::sharpen(r, 500));
FILTER_BENCH(Emboss, imaging::emboss(r, 1, 500));
FILTER_BENCH(Rotate_17_resize, r.rotate(1700, true, qRgb(255, 255, 255)));
FILTER_BENCH(Size_half_bilinear, r.size(3000, 2000, 1));

}  // namespace

BENCHMARK_MAIN();
