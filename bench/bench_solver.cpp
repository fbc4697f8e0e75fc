// The search per tray, on one thread and on every core, and the whole
// database as tilewright-solve writes it.

#include "solutions/Boards.h"
#include "solver/DatabaseWriter.h"
#include "solver/Solver.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

void BM_SolveTray(benchmark::State &state)
{
    const int board = static_cast<int>(state.range(0));
    const unsigned threads = static_cast<unsigned>(state.range(1));
    const tw::Solver solver(board);
    tw::Solver::Stats stats;
    for (auto _ : state)
        benchmark::DoNotOptimize(solver.solve(threads, &stats));
    state.SetLabel(std::string(tw::Trays[static_cast<std::size_t>(board)].label) + ", " +
                   std::to_string(threads) + " thread(s)");
    state.counters["tilings"] = static_cast<double>(stats.tilingsFound);
    state.counters["nodes"] = static_cast<double>(stats.nodes);
    state.counters["regions"] = static_cast<double>(stats.regions);
    // Placements tried a second, on the threads together.
    state.counters["nodes/s"] = benchmark::Counter(static_cast<double>(stats.nodes) *
                                                       static_cast<double>(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SolveTray)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Every tray searched together, as tilewright-solve does, and written.
void BM_WholeDatabase(benchmark::State &state)
{
    const auto threads = static_cast<unsigned>(state.range(0));
    const auto path = std::filesystem::temp_directory_path() / "tilewright-bench.mdb";
    for (auto _ : state) {
        auto solutions = tw::solveTrays({0, 1, 2, 3, 4}, threads);
        std::vector<tw::BoardSolutions> boards;
        for (int board = 0; board < tw::BoardCount; ++board)
            boards.push_back({board, std::move(solutions[static_cast<std::size_t>(board)])});
        benchmark::DoNotOptimize(tw::writeSolutionDatabase(path.string(), boards));
    }
    std::filesystem::remove(path);
    state.SetLabel("five trays, written, " + std::to_string(threads) + " thread(s)");
}
BENCHMARK(BM_WholeDatabase)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
