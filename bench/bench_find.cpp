// Finding a tiling's number from its letter grid, once the database is open,
// and what the index that makes it a lookup costs at start-up.

#include "solutions/Boards.h"
#include "solutions/Database.h"
#include "solutions/Decoding.h"
#include "solutions/LetterGrid.h"
#include "solutions/Puzzles.h"
#include "solutions/SharedState.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

using namespace tw;

SharedState &opened()
{
    static SharedState state = [] {
        SharedState s;
        s.DbPath = TILEWRIGHT_DATABASE;
        s.ConnectString = readOnlyUri(s.DbPath);
        if (OpenDatabase(s))
            throw std::runtime_error("cannot open " + s.DbPath);
        return s;
    }();
    return state;
}

// The last solution of the tray, as its letter grid.
std::string lastGrid(Integer board)
{
    SharedState &s = opened();
    const Integer n = s.RecordIndex.count(board);
    if (SelectBoard(s, board, n, n))
        throw std::runtime_error("cannot read the tray");
    return letterRows(*tileRecord(board, s.SolutionSet.currentRecord()));
}

void FindTiling(benchmark::State &bench)
{
    const auto board = static_cast<Integer>(bench.range(0));
    const std::string grid = lastGrid(board);
    const SharedState &s = opened();
    for (auto _ : bench) {
        const auto read = readLetterGrid(grid);
        benchmark::DoNotOptimize(s.RecordIndex.find(read->board, read->images));
    }
    bench.SetLabel(std::string(Trays[static_cast<std::size_t>(board)].label));
}
BENCHMARK(FindTiling)->DenseRange(0, BoardCount - 1)->Unit(benchmark::kMicrosecond);

// Opening and checking the database, the index included.
void OpenTheDatabase(benchmark::State &bench)
{
    for (auto _ : bench) {
        SharedState s;
        s.DbPath = TILEWRIGHT_DATABASE;
        s.ConnectString = readOnlyUri(s.DbPath);
        benchmark::DoNotOptimize(OpenDatabase(s));
    }
}
BENCHMARK(OpenTheDatabase)->Unit(benchmark::kMillisecond);

// Building the index alone, from every record.
void BuildTheIndex(benchmark::State &bench)
{
    std::vector<std::pair<Integer, RecordKey>> records;
    SharedState &s = opened();
    for (Integer board = 0; board < BoardCount; ++board) {
        SelectBoard(s, board);
        for (s.SolutionSet.MoveFirst(); !s.SolutionSet.IsEOF(); s.SolutionSet.MoveNext()) {
            const SolutionRecord r = s.SolutionSet.currentRecord();
            RecordKey key{static_cast<Integer>(*r.O_Index), static_cast<Integer>(*r.X_Index)};
            for (std::size_t k = 0; k < 11; ++k)
                key[k + 2] = static_cast<Integer>(*r.Shape[k]);
            records.emplace_back(board, key);
        }
    }
    for (auto _ : bench) {
        SolutionIndex index;
        for (const auto &[board, key] : records)
            index.add(board, key);
        index.finish();
        benchmark::DoNotOptimize(index);
    }
    bench.SetLabel(std::to_string(records.size()) + " records");
}
BENCHMARK(BuildTheIndex)->Unit(benchmark::kMillisecond);

// Every record of the tray, as the index of tilings is built from.
std::vector<RecordKey> recordsOf(Integer board)
{
    const auto records = opened().RecordIndex.records(board);
    return {records.begin(), records.end()};
}

void BuildTheTilingIndex(benchmark::State &bench)
{
    const auto records = recordsOf(SquareBoard);
    for (auto _ : bench)
        benchmark::DoNotOptimize(TilingIndex::build(SquareBoard, records));
}
BENCHMARK(BuildTheTilingIndex)->Unit(benchmark::kMillisecond);

// A sheet of 60 puzzles with the fewest pieces given on the 8 x 8 tray, the
// index read and built included: what Preview and --practice wait for
// before the pages are drawn.
void SixtyFewestPuzzles(benchmark::State &bench)
{
    const auto records = recordsOf(SquareBoard);
    std::uint64_t seed = 1;
    for (auto _ : bench) {
        const auto index = TilingIndex::build(SquareBoard, records);
        benchmark::DoNotOptimize(makePuzzles(*index, {60, FewestGiven, seed++}));
    }
}
BENCHMARK(SixtyFewestPuzzles)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
