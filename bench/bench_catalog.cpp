// The parts database layer on a generated database of 20,000 parts (about 50,000 records,
// every category but the photos). Targets: open with ListOrder and requery under 100 ms;
// locating a part (find first + move) under 0.1 ms; CopyCategoryParts of 5,000 new
// three-row parts with 10 KB pictures under 5 s; DeletePart under 10 ms; compaction under 5 s.
#include "../tests/catalog/testdb.cpp"

#include "catalog/categories.h"
#include "catalog/compaction.h"
#include "catalog/partops.h"
#include "catalog/partsdatabase.h"
#include "catalog/schema.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>

#include <unistd.h>

using namespace catalog;

namespace {

constexpr int kParts = 20000;
constexpr int kAddOnParts = 5000;
constexpr int kAddOnCategory = 13;  // three records a part
constexpr int kAddOnFirstNumber = 20001;

struct Fixture {
    QTemporaryDir dir;
    QString parts;  // the 20,000-part database
    QString addOn;  // 5,000 new parts of category 13
    std::vector<std::pair<int, int>> existing;  // (category, FileNo) of every part
};

// Every category but 2 gets an equal share; thumbnails-sized pictures (2 KB colour, 1 KB mask).
void generateParts(Fixture& f)
{
    const QByteArray main = testdb::noisyPicture(1, 2000);
    const QByteArray mask = testdb::noisyPicture(2, 1000);
    QList<testdb::Row> rows{testdb::blankTile()};
    QList<int> categories;
    for (int c = kFirstCategory; c <= kLastCategory; ++c) {
        if (c != kPhotoCategory)
            categories << c;
    }
    const int perCategory = kParts / int(categories.size());
    int made = 0;
    for (int i = 0; i < categories.size(); ++i) {
        const int c = categories[i];
        const int count = i + 1 == categories.size() ? kParts - made : perCategory;
        QList<int> numbers;
        for (int k = 1; k <= count; ++k) {
            numbers << k;
            f.existing.emplace_back(c, k);
        }
        made += count;
        QList<testdb::Row> part = testdb::category(c, numbers);
        for (testdb::Row& r : part) {
            r.photoMain = main;
            r.photoMask = mask;
        }
        rows += part;
    }
    testdb::build(f.parts, rows);
}

void generateAddOn(Fixture& f)
{
    QList<testdb::Row> rows{testdb::blankTile()};
    QList<int> numbers;
    for (int k = 0; k < kAddOnParts; ++k)
        numbers << kAddOnFirstNumber + k;
    QList<testdb::Row> part = testdb::category(kAddOnCategory, numbers);
    // A handful of different 10 KB pictures, so that every record carries real picture data.
    QList<QByteArray> pictures;
    for (int i = 0; i < 16; ++i)
        pictures << testdb::noisyPicture(100 + i, 10000);
    for (int i = 0; i < part.size(); ++i) {
        part[i].photoMain = pictures[i % 16];
        part[i].photoMask = pictures[(i + 7) % 16];
    }
    testdb::build(f.addOn, rows + part);
}

Fixture& fixture()
{
    // Built once; destroyed at exit, which removes the files.
    static Fixture f;
    static const bool made = [] {
        f.parts = f.dir.filePath(QStringLiteral("Ravoze.mdb"));
        f.addOn = f.dir.filePath(QStringLiteral("addon.mdb"));
        QElapsedTimer t;
        t.start();
        generateParts(f);
        generateAddOn(f);
        std::fprintf(stderr, "generated: parts database %.0f MB, add-on file %.0f MB in %.1f s\n",
                     QFileInfo(f.parts).size() / 1e6, QFileInfo(f.addOn).size() / 1e6, t.elapsed() / 1000.0);
        return true;
    }();
    (void)made;
    return f;
}

// A private copy of the parts database in its own folder.
QString copyOfParts(QTemporaryDir& into)
{
    const QString path = into.filePath(QStringLiteral("Ravoze.mdb"));
    QFile::copy(fixture().parts, path);
    // Everything on disk before any timing starts: a commit's flush would otherwise wait for
    // the copy and for what earlier benchmarks wrote.
    ::sync();
    return path;
}

void BM_OpenListOrderAndRequery_20000parts_target_100ms(benchmark::State& state)
{
    const QString path = fixture().parts;
    for (auto _ : state) {
        PartsDatabase db;
        if (!db.open(path, QLatin1String(kListOrderSource)).ok() || !db.requery().ok()) {
            state.SkipWithError("open failed");
            break;
        }
        benchmark::DoNotOptimize(db.recordCount());
    }
    state.SetLabel("records " + std::to_string([&] {
        PartsDatabase db;
        (void)db.open(path, QLatin1String(kListOrderSource));
        return db.recordCount();
    }()));
}
BENCHMARK(BM_OpenListOrderAndRequery_20000parts_target_100ms)->Unit(benchmark::kMillisecond);

void BM_LocatePart_FindFirstAndMove_target_0_1ms(benchmark::State& state)
{
    const bool merge = state.range(0) == 1;
    PartsDatabase db;
    if (!db.open(fixture().parts, QLatin1String(merge ? kMergeOrderSource : kListOrderSource)).ok()) {
        state.SkipWithError("open failed");
        return;
    }
    std::mt19937 random(7);
    const auto& parts = fixture().existing;
    for (auto _ : state) {
        const auto [category, fileNo] = parts[random() % parts.size()];
        db.moveFirst();
        (void)db.findFirst(partCriterion(category, fileNo));
        db.move(RowsPerPart(category) - 1);
        benchmark::DoNotOptimize(db.value("photo_main"));
    }
    state.SetLabel(merge ? "MergeOrder" : "ListOrder");
}
BENCHMARK(BM_LocatePart_FindFirstAndMove_target_0_1ms)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_CopyCategoryParts_5000_threeRowParts_10KB_target_5s(benchmark::State& state)
{
    fixture();
    for (auto _ : state) {
        QTemporaryDir scratch;
        const QString target = copyOfParts(scratch);
        PartsDatabase source, merge;
        if (!source.open(fixture().addOn, QLatin1String(kListOrderSource), OpenMode::ReadOnly).ok()
            || !merge.open(target, QLatin1String(kMergeOrderSource)).ok()) {
            state.SkipWithError("open failed");
            break;
        }
        QElapsedTimer t;
        t.start();
        const MergeResult r = CopyCategoryParts(source, merge, kAddOnCategory, [] {});
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
        if (!r.ok() || r.added != kAddOnParts) {
            state.SkipWithError(r.error.toStdString().c_str());
            break;
        }
    }
}
BENCHMARK(BM_CopyCategoryParts_5000_threeRowParts_10KB_target_5s)
    ->UseManualTime()
    ->Iterations(2)
    ->Unit(benchmark::kSecond);

void BM_DeletePart_target_10ms(benchmark::State& state)
{
    QTemporaryDir scratch;
    const QString path = copyOfParts(scratch);
    PartsDatabase db;
    if (!db.open(path, QLatin1String(kListOrderSource)).ok()) {
        state.SkipWithError("open failed");
        return;
    }
    struct Sink : DeleteErrorSink {
        void deleteError(const QString&) override { ++errors; }
        int errors = 0;
    } sink;
    // Parts in a shuffled order, each deleted once; pairs take their companion along.
    std::vector<std::pair<int, int>> parts;
    for (const auto& p : fixture().existing) {
        if (p.first != 10 && p.first != 12)
            parts.push_back(p);
    }
    std::shuffle(parts.begin(), parts.end(), std::mt19937(11));
    size_t next = 0;
    for (auto _ : state) {
        const auto [category, fileNo] = parts[next++ % parts.size()];
        const DeleteResult r = DeletePart(db, category, fileNo, sink);
        if (!r.ok()) {
            state.SkipWithError(r.error.toStdString().c_str());
            break;
        }
    }
}
BENCHMARK(BM_DeletePart_target_10ms)->Iterations(300)->Unit(benchmark::kMillisecond);

void BM_CompactPartsDatabase_20000parts_target_5s(benchmark::State& state)
{
    fixture();
    for (auto _ : state) {
        QTemporaryDir scratch;
        const QString path = copyOfParts(scratch);
        {
            // Compaction follows deletions: take out about one part in a hundred first.
            PartsDatabase db;
            (void)db.open(path, QLatin1String(kListOrderSource));
            struct : DeleteErrorSink {
                void deleteError(const QString&) override {}
            } sink;
            for (size_t i = 0; i < fixture().existing.size(); i += 97) {
                const auto [category, fileNo] = fixture().existing[i];
                if (category != 10 && category != 12)
                    (void)DeletePart(db, category, fileNo, sink);
            }
        }
        QElapsedTimer t;
        t.start();
        const DbResult r = CompactPartsDatabase(scratch.path());
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
        if (!r.ok()) {
            state.SkipWithError(r.error().toStdString().c_str());
            break;
        }
    }
}
BENCHMARK(BM_CompactPartsDatabase_20000parts_target_5s)
    ->UseManualTime()
    ->Iterations(2)
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
