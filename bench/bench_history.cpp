// The snapshot history on the delivered parts database (<build>/dist/ravoze.mdb, or the file
// named by FACIORA_PARTS_DB; without either a generated one of similar size), with one
// registered photo. Targets: RebuildPartImages of a portrait with all 22 kinds under 30 ms;
// one undo step after a move under 10 ms, with and without the composition that ends it.
#include "../tests/core/history_testdb.cpp"

#include "catalog/categories.h"
#include "catalog/partsdatabase.h"
#include "catalog/recordsource.h"
#include "core/compose.h"
#include "core/history.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

using namespace core;

namespace {

// A stand-in for the delivered database: every kind but the user image, ten parts each, full
// pictures of the delivered sizes.
QString generateParts(const QString& path)
{
    QList<historytest::Part> parts;
    for (int k = kind::First; k <= kind::Last; ++k) {
        if (k == kind::User)
            continue;
        const bool wide = k == kind::Background || k == kind::Balloon;
        const QSize picture = wide ? QSize(575, 395) : QSize(300, 300);
        for (int n = 1; n <= 10; ++n)
            parts.append({k, n, QRect(60, 60, 150, 150), 0, picture});
    }
    return historytest::buildDatabase(path, parts);
}

struct Fixture {
    QTemporaryDir dir;
    QString source;  // where the parts came from, for the label
    catalog::PartsDatabase parts;
    catalog::PartsDatabase photos;
    PortraitState state;
    PartImages images;
    OptionMemory option;
    CaptionTable captions;
    History history;
    HistoryContext ctx{state, images, option, captions, history, {&parts, &photos}, nullptr};
    QString error;

    Fixture()
    {
        const QString copy = dir.filePath("Ravoze.mdb");
        QString delivered = qEnvironmentVariable("FACIORA_PARTS_DB");
        if (delivered.isEmpty())
            delivered = QDir(QCoreApplication::applicationDirPath()).filePath("../dist/ravoze.mdb");
        if (QFile::exists(delivered) && QFile::copy(delivered, copy)) {
            source = QStringLiteral("delivered database");
        } else {
            source = QStringLiteral("generated database");
            error = generateParts(copy);
        }
        if (error.isEmpty())
            error = historytest::buildDatabase(dir.filePath("Photo.mdb"),
                                               {{kind::User, 1, QRect(0, 0, 240, 300)}});
        if (error.isEmpty())
            error = parts.open(copy, catalog::kListOrderSource).error();
        if (error.isEmpty())
            error = photos.open(dir.filePath("Photo.mdb"), catalog::kListOrderSource).error();
        if (!error.isEmpty())
            return;

        // Every kind's first part, its geometry from the database as for a new portrait, then
        // colour codes and sizes as a user would set them.
        for (int k = kind::First; k <= kind::Last; ++k)
            state.PartTable[k].FileNo = 1;
        history.FreshPortrait = true;
        const RebuildReport report = RebuildPartImages(ctx);
        if (report.reloaded.size() != std::size_t(kind::Count)) {
            error = QStringLiteral("only %1 kinds placed: %2")
                        .arg(report.reloaded.size())
                        .arg(report.errors.join(u"; "));
            return;
        }
        state.PartTable[kind::User].Extra = 2;
        state.PartTable[kind::Hairstyle].Extra = 4;
        state.PartTable[kind::Fringe].Extra = 4;
        state.PartTable[kind::Ears].Extra = 1;
        state.PartTable[kind::Outline].Extra = 1;
        state.PartTable[kind::Nose].Extra = 1;
        for (const int k : {kind::Hairstyle, kind::Ears, kind::Outline, kind::Fringe}) {
            state.PartTable[k].GrowW = 25;
            state.PartTable[k].GrowH = 15;
        }
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

bool ready(benchmark::State& bench, Fixture& f)
{
    if (!f.error.isEmpty()) {
        bench.SkipWithError(f.error.toStdString().c_str());
        return false;
    }
    bench.SetLabel(f.source.toStdString());
    return true;
}

void BM_RebuildPartImages_FullPortrait_target_30ms(benchmark::State& bench)
{
    Fixture& f = fixture();
    if (!ready(bench, f))
        return;
    f.history.UndoInProgress = f.history.RedoInProgress = false;
    for (auto _ : bench) {
        const RebuildReport report = RebuildPartImages(f.ctx);
        if (report.reloaded.size() != std::size_t(kind::Count)) {
            bench.SkipWithError("a kind was not fetched");
            break;
        }
    }
}
BENCHMARK(BM_RebuildPartImages_FullPortrait_target_30ms)->Unit(benchmark::kMillisecond);

// Arg 0: the step with only the recording that ends it; 1: with the full composition.
void BM_UndoAfterMove_target_10ms(benchmark::State& bench)
{
    Fixture& f = fixture();
    if (!ready(bench, f))
        return;
    const bool withComposition = bench.range(0) != 0;
    resetHistory(f.history);
    RebuildPartImages(f.ctx);

    PortraitComposer composer(f.state, f.images);
    PickerMarks marks;
    imaging::Raster canvas;
    imaging::Raster tile;
    f.parts.moveFirst();
    (void)f.parts.image("photo_main", tile);
    ComposeHooks hooks;
    hooks.recordSnapshot = [&] { RecordSnapshot(f.ctx); };
    const std::function<void()> compose = [&] {
        if (withComposition)
            composer.ComposePortrait(canvas, tile, marks, nullptr, hooks);
        else
            RecordSnapshot(f.ctx);
    };
    compose();

    int direction = 1;
    for (auto _ : bench) {
        bench.PauseTiming();
        f.state.PartTable[kind::Nose].PosX += std::int16_t(direction);
        direction = -direction;
        compose();
        bench.ResumeTiming();
        if (!Undo(f.ctx, compose)) {
            bench.SkipWithError("undo refused");
            break;
        }
    }
    bench.SetLabel(f.source.toStdString() + (withComposition ? ", with composition" : ", history only"));
}
BENCHMARK(BM_UndoAfterMove_target_10ms)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
