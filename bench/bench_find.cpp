// Finding a tiling's number from its letter grid, once the database is open,
// and what the index that makes it a lookup costs at start-up.

#include "solutions/Catalogue.h"
#include "solutions/Database.h"
#include "solutions/Decoding.h"
#include "solutions/LetterGrid.h"
#include "solutions/Puzzles.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

using namespace tw;

// The database's records, read and checked.
const SolutionIndex &records()
{
    static const SolutionIndex read = [] {
        auto r = OpenDatabase(TILEWRIGHT_DATABASE, readOnlyUri(TILEWRIGHT_DATABASE));
        if (!r)
            throw std::runtime_error("cannot open " + std::string(TILEWRIGHT_DATABASE));
        return std::move(*r);
    }();
    return read;
}

// A catalogue of the database's trays that has made no index yet.
Catalogue fresh()
{
    Catalogue c;
    c.setDatabase(records());
    return c;
}

const Catalogue &opened()
{
    static const Catalogue c = fresh();
    return c;
}

const Integer Square = *Catalogue::databaseTrayNamed("8x8");

// The last solution of the tray, as its letter grid.
std::string lastGrid(Integer tray)
{
    return letterRows(opened().solution(tray, opened().count(tray)));
}

void FindTiling(benchmark::State &bench)
{
    const auto board = static_cast<Integer>(bench.range(0));
    const std::string grid = lastGrid(board);
    for (auto _ : bench) {
        const auto read = readLetterGrid(grid);
        benchmark::DoNotOptimize(opened().find(read->board, read->images));
    }
    bench.SetLabel(opened().tray(board).label());
}
BENCHMARK(FindTiling)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

// Opening and checking the database, the index included.
void OpenTheDatabase(benchmark::State &bench)
{
    for (auto _ : bench)
        benchmark::DoNotOptimize(
            OpenDatabase(TILEWRIGHT_DATABASE, readOnlyUri(TILEWRIGHT_DATABASE)));
}
BENCHMARK(OpenTheDatabase)->Unit(benchmark::kMillisecond);

// Building the index alone, from every record.
void BuildTheIndex(benchmark::State &bench)
{
    std::vector<std::pair<Integer, RecordKey>> all;
    for (Integer board = 0; board < 5; ++board)
        for (const RecordKey &key : records().records(board))
            all.emplace_back(board, key);
    for (auto _ : bench) {
        SolutionIndex index;
        for (const auto &[board, key] : all)
            index.add(board, key);
        index.finish();
        benchmark::DoNotOptimize(index);
    }
    bench.SetLabel(std::to_string(all.size()) + " records");
}
BENCHMARK(BuildTheIndex)->Unit(benchmark::kMillisecond);

// The 8 x 8 tray's index of tilings, made from its records.
void BuildTheTilingIndex(benchmark::State &bench)
{
    for (auto _ : bench) {
        bench.PauseTiming();
        const Catalogue c = fresh();
        bench.ResumeTiming();
        benchmark::DoNotOptimize(c.tilingIndex(Square));
    }
}
BENCHMARK(BuildTheTilingIndex)->Unit(benchmark::kMillisecond);

// A sheet of 60 puzzles with the fewest pieces given on the 8 x 8 tray, the
// index made included: what Preview and --practice wait for before the
// pages are drawn.
void SixtyFewestPuzzles(benchmark::State &bench)
{
    std::uint64_t seed = 1;
    for (auto _ : bench) {
        bench.PauseTiming();
        const Catalogue c = fresh();
        bench.ResumeTiming();
        benchmark::DoNotOptimize(makePuzzles(*c.tilingIndex(Square), {60, FewestGiven, seed++}));
    }
}
BENCHMARK(SixtyFewestPuzzles)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
