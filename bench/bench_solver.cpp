// The search per tray, on one thread and on every core, and the whole
// database as tilewright-solve writes it.

#include "solutions/Boards.h"
#include "solver/DatabaseWriter.h"
#include "solver/Solver.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <thread>

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
}
BENCHMARK(BM_SolveTray)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_WholeDatabase(benchmark::State &state)
{
    const auto path = std::filesystem::temp_directory_path() / "tilewright-bench.mdb";
    for (auto _ : state) {
        std::vector<tw::BoardSolutions> boards;
        for (int board = 0; board < tw::BoardCount; ++board)
            boards.push_back({board, tw::Solver(board).solve()});
        benchmark::DoNotOptimize(tw::writeSolutionDatabase(path.string(), boards));
    }
    std::filesystem::remove(path);
    state.SetLabel("five trays, written, " + std::to_string(std::thread::hardware_concurrency()) +
                   " cores");
}
BENCHMARK(BM_WholeDatabase)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
