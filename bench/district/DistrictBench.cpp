// nearestDistrictName per call over the shipped district table, with the indexed lookup and with
// the full scan that measures every row.

#include "metadata/DistrictTable.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <vector>

namespace {

struct Position {
    float latitude;
    float longitude;
};

// Positions spread over the country's box (sea and land alike), fixed by the seed.
const std::vector<Position>& positions() {
    static const std::vector<Position> list = [] {
        std::mt19937 random(2026);
        std::uniform_real_distribution<float> latitude(33.1f, 38.6f), longitude(124.6f, 131.9f);
        std::vector<Position> result(4096);
        for (Position& p : result)
            p = {latitude(random), longitude(random)};
        return result;
    }();
    return list;
}

// Positions within about 2 km of the table's own rows, as recordings on roads mostly are.
const std::vector<Position>& positionsNearRows() {
    static const std::vector<Position> list = [] {
        std::mt19937 random(7);
        std::uniform_real_distribution<float> jitter(-0.02f, 0.02f);
        std::vector<Position> result;
        const QList<QStringList>& rows = districtTable().rows();
        for (int k = 0; k < 4096 && !rows.isEmpty(); ++k) {
            const QStringList& row =
                rows[static_cast<qsizetype>(random() % static_cast<unsigned>(rows.size()))];
            result.push_back({row[3].toFloat() + jitter(random), row[2].toFloat() + jitter(random)});
        }
        return result;
    }();
    return list;
}

bool loadShippedTable() {
    if (!districtTable().isEmpty())
        return true;
    return loadAdminDistrictInfo(QStringLiteral(KAVRIN_SOURCE_DIR "/resources/AdminDistrictInfo.dat"));
}

void BM_nearestDistrictName(benchmark::State& state) {
    if (!loadShippedTable()) {
        state.SkipWithError("district table not found");
        return;
    }
    size_t i = 0;
    for (auto _ : state) {
        const Position& p = positions()[i++ % positions().size()];
        benchmark::DoNotOptimize(nearestDistrictName(p.latitude, p.longitude));
    }
    state.counters["rows"] = static_cast<double>(districtTable().size());
}
BENCHMARK(BM_nearestDistrictName);

void BM_nearestDistrictNameNearRows(benchmark::State& state) {
    if (!loadShippedTable()) {
        state.SkipWithError("district table not found");
        return;
    }
    const std::vector<Position>& list = positionsNearRows();
    size_t i = 0;
    for (auto _ : state) {
        const Position& p = list[i++ % list.size()];
        benchmark::DoNotOptimize(nearestDistrictName(p.latitude, p.longitude));
    }
}
BENCHMARK(BM_nearestDistrictNameNearRows);

void BM_nearestRowByScan(benchmark::State& state) {
    if (!loadShippedTable()) {
        state.SkipWithError("district table not found");
        return;
    }
    const DistrictTable& table = districtTable();
    size_t i = 0;
    for (auto _ : state) {
        const Position& p = positions()[i++ % positions().size()];
        benchmark::DoNotOptimize(table.nearestRowByScan(p.latitude, p.longitude));
    }
}
BENCHMARK(BM_nearestRowByScan);

} // namespace

BENCHMARK_MAIN();
