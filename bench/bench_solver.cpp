// The search per tray, on one thread and on every core, and the whole
// database as tilewright-solve writes it.

#include "solutions/Boards.h"
#include "solutions/Library.h"
#include "solutions/Region.h"
#include "solver/DatabaseWriter.h"
#include "solver/RegionSolver.h"
#include "solver/Solver.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <set>
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

// An 8 x 8 square less the holes given as (column, row), counted from 0.
tw::Tray square(const std::vector<std::pair<int, int>> &holes, const std::string &more = {})
{
    std::string text;
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c)
            text += std::find(holes.begin(), holes.end(), std::pair(c, r)) != holes.end() ? '.' : '#';
        text += '\n';
    }
    return tw::standardOrientation(*tw::readRegion(text + more));
}

// Regions drawn by users: their search, on every core.
void BM_SolveRegion(benchmark::State &state)
{
    const std::pair<const char *, tw::Tray> regions[] = {
        {"8 x 8, centre hole", square({{3, 3}, {3, 4}, {4, 3}, {4, 4}})},
        {"8 x 8 without corners", square({{0, 0}, {7, 0}, {0, 7}, {7, 7}})},
        {"8 x 8, four holes, no symmetry", square({{1, 1}, {2, 5}, {5, 3}, {6, 6}})},
        {"64 cells, no symmetry: 8 x 6 on 4 x 4", [] {
             return tw::standardOrientation(*tw::readRegion(
                 "########\n########\n########\n########\n########\n########\n"
                 "####....\n####....\n####....\n####....\n"));
         }()},
    };
    const auto &[name, region] = regions[state.range(0)];
    long long placements = 0;
    std::size_t solutions = 0;
    for (auto _ : state) {
        const auto found = tw::solveRegion(region);
        placements = found->placements;
        solutions = found->solutions.size();
    }
    state.SetLabel(name);
    state.counters["solutions"] = static_cast<double>(solutions);
    state.counters["placements"] = static_cast<double>(placements);
}
BENCHMARK(BM_SolveRegion)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime();

// Reading and checking a library of 20 trays of about 2,000 solutions each:
// 8 x 8 squares less four cells in pairs that a half-turn or a mirror swaps.
void BM_ReadLibrary(benchmark::State &state)
{
    // Searching for the trays takes minutes: the library is kept for the
    // next run.
    const auto path = std::filesystem::temp_directory_path() / "tilewright-bench-trays.sqlite";
    std::size_t kept = 0, solutions = 0;
    for (const tw::KeptTray &tray : tw::readLibrary(path.string()).trays)
        ++kept, solutions += tray.solutions.size();
    for (int a = 0; a < 64 && kept < 20; ++a)
        for (int b = a + 1; b < 64 && kept < 20; ++b) {
            const int ac = a / 8, ar = a % 8, bc = b / 8, br = b % 8;
            // A half-turn's pair and a mirror's pair, or two mirror pairs.
            const std::set<std::pair<int, int>> holes =
                (a + b) % 2 ? std::set<std::pair<int, int>>{{ac, ar}, {7 - ac, 7 - ar}, {bc, br}, {7 - bc, 7 - br}}
                            : std::set<std::pair<int, int>>{{ac, ar}, {7 - ac, ar}, {bc, br}, {7 - bc, br}};
            if (holes.size() != 4)
                continue;
            const auto region = square({holes.begin(), holes.end()});
            if (region.cellCount() != 60 ||
                tw::visibleObstacle(region))
                continue;
            const auto found = tw::solveRegion(region);
            const std::string name = "Tray " + std::to_string(kept + 1);
            if (found->solutions.size() < 1200 || found->solutions.size() > 3500 ||
                tw::keepTray(path.string(), {name, name}, region, found->solutions))
                continue;
            ++kept;
            solutions += found->solutions.size();
        }
    for (auto _ : state)
        benchmark::DoNotOptimize(tw::readLibrary(path.string()));
    state.SetLabel(std::to_string(kept) + " trays, " + std::to_string(solutions) + " solutions");
}
BENCHMARK(BM_ReadLibrary)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
