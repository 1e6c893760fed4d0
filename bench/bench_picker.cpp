// The parts picker on a generated parts database, with a portrait of thirteen placed parts
// (background, face, eyes and eyebrows in pairs, glasses, beard) to draw the overlay
// thumbnails over. Targets: sliding the window by one part (one row fetched, one overlay
// thumbnail drawn) under 5 ms; the first fill of five overlay thumbnails under 50 ms;
// applying a part, the composition of the portrait included, under 15 ms.
#include "../src/picker/partapplier.cpp"
#include "../src/picker/pickercategories.cpp"
#include "../src/picker/pickercursor.cpp"
#include "../src/picker/thumbpager.cpp"
#include "../src/picker/thumbrenderer.cpp"
#include "../tests/picker/pickertestdb.cpp"

#include "catalog/partops.h"
#include "catalog/recordsource.h"
#include "core/compose.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace picker;

namespace {

constexpr int kMouths = 200;  // the category browsed, three rows a part

struct Setup {
    QTemporaryDir dir;
    QString path;
    catalog::PartsDatabase db;
    core::PortraitSession session;
    imaging::Raster blank;
    imaging::Raster canvas;
    std::unique_ptr<core::PortraitComposer> composer;

    Setup()
    {
        std::vector<pickertest::Part> parts;
        for (int k : {1, 3, 6, 7, 9, 11, 14, 16, 18, 19}) {
            const auto c = pickertest::category(k, 6);
            parts.insert(parts.end(), c.begin(), c.end());
        }
        const auto mouths = pickertest::category(13, kMouths);
        parts.insert(parts.end(), mouths.begin(), mouths.end());
        path = dir.filePath(QStringLiteral("ravoze.mdb"));
        pickertest::build(path, parts);
        if (!db.open(path, QString::fromLatin1(catalog::kListOrderSource)))
            throw std::runtime_error("cannot open the generated database");
        (void)catalog::readBlankTile(db, blank);
        composer = std::make_unique<core::PortraitComposer>(session.state, session.images);
        // The portrait: the first part of each kind, as the picker places them.
        for (int k : {1, 3, 6, 7, 9, 11, 14, 16, 18, 19}) {
            ThumbPager pager(db, session, k, catalog::RowsPerPart(k));
            pager.setDisplayMode(2);
            pager.firstFill();
            PartApplier applier(session, nullptr, [this] { compose(); });
            applier.ApplyPart(pager, 0, kBothSides, 0);
        }
    }

    void compose()
    {
        composer->ComposePortrait(canvas, blank, session.marks);
    }
};

Setup& setup()
{
    static Setup s;
    return s;
}

void SlideByOne_overlay_target_5ms(benchmark::State& state)
{
    Setup& s = setup();
    ThumbPager pager(s.db, s.session, 13, 3);
    pager.setDisplayMode(1);
    pager.firstFill();
    int drawn = 0;
    pager.onDrawn = [&](int) { ++drawn; };
    pager.setScrollValue(100);
    drawn = 0;
    int step = 1;
    for (auto _ : state) {
        const int v = pager.scroll().value;
        // Right to the end of a stretch, then back, always one part at a time.
        if (v >= 120)
            step = -1;
        else if (v <= 100)
            step = 1;
        pager.setScrollValue(v + step);
        benchmark::DoNotOptimize(pager.thumbnail(0));
    }
    state.counters["drawn_per_step"] = double(drawn) / double(state.iterations());
}
BENCHMARK(SlideByOne_overlay_target_5ms)->Unit(benchmark::kMillisecond);

void FirstFill_overlay_target_50ms(benchmark::State& state)
{
    Setup& s = setup();
    for (auto _ : state) {
        ThumbPager pager(s.db, s.session, 13, 3);
        pager.setDisplayMode(1);
        pager.firstFill();
        benchmark::DoNotOptimize(pager.thumbnail(4));
    }
}
BENCHMARK(FirstFill_overlay_target_50ms)->Unit(benchmark::kMillisecond);

// The database view is opened when the picker window loads, before the first fill.
void OpenView(benchmark::State& state)
{
    Setup& s = setup();
    for (auto _ : state) {
        catalog::PartsDatabase db;
        benchmark::DoNotOptimize(db.open(s.path, QString::fromLatin1(catalog::kListOrderSource)).ok());
    }
}
BENCHMARK(OpenView)->Unit(benchmark::kMillisecond);

void ApplyPart_with_composition_target_15ms(benchmark::State& state)
{
    Setup& s = setup();
    ThumbPager pager(s.db, s.session, 3, 2);
    pager.setDisplayMode(2);
    pager.setColourCode(3);
    pager.firstFill();
    PartApplier applier(s.session, nullptr, [&s] { s.compose(); });
    int slot = 0;
    for (auto _ : state) {
        // Exchanging hairstyles, in the hair colour the category opens with.
        if (applier.ApplyPart(pager, slot, kBothSides, 3) != PartApplier::Result::Applied)
            state.SkipWithError("the part was not applied");
        slot = (slot + 1) % ThumbPager::kSlots;
    }
}
BENCHMARK(ApplyPart_with_composition_target_15ms)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
