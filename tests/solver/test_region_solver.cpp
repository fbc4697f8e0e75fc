#include "BruteForce.h"
#include "solutions/Region.h"
#include "solver/RegionSolver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <thread>

namespace tw {
namespace {

Tray region(const std::string &text)
{
    auto read = readRegion(text);
    EXPECT_TRUE(read) << (read ? "" : read.error());
    return read ? *read : Tray::rectangle("none", 0, 0);
}

struct Case
{
    const char *name;
    const char *rows;
    std::size_t symmetries;
};

// Every tiling the plain search finds is some solution's image, every
// solution is a tiling, no two solutions are images of each other, and
// the counts agree, for each size of symmetry group and with the square.
TEST(RegionSolver, FindsEachTilingOnceUpToTheRegionsSymmetry)
{
    const Case cases[] = {
        {"8 x 8 with its centre out (8)",
         "########\n########\n########\n###..###\n###..###\n########\n########\n########\n", 8},
        {"the 20 x 3 strip (4)",
         "####################\n####################\n####################\n", 4},
        {"a slanted strip, half-turn only (2)",
         "..####################\n.####################.\n####################..\n", 2},
        {"a strip with a foot, mirror only (2)",
         "####################\n####################\n.##################.\n.........##.........\n",
         2},
        {"no symmetry (1)", "####################.\n####################.\n.####################\n",
         1},
        {"64 cells with the square",
         "####################..\n####################..\n######################\n"
         "..................##..\n",
         1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Tray tray = region(c.rows);
        ASSERT_EQ(tray.symmetries().size(), c.symmetries);
        const auto plain = test::plainTilings(tray);
        const auto found = solveRegion(tray, 2);
        ASSERT_TRUE(found);
        ASSERT_FALSE(plain.empty());
        EXPECT_EQ(found->tilings, static_cast<long long>(plain.size())) << found->solutions.size();
        std::set<CellLetters> images;
        for (const CellLetters &solution : found->solutions) {
            EXPECT_TRUE(plain.contains(solution)) << letterLine(tray, solution);
            for (const auto &moved : cellImages(tray)) {
                CellLetters image(solution.size(), ' ');
                for (std::size_t k = 0; k < solution.size(); ++k)
                    image[static_cast<std::size_t>(moved[k])] = solution[k];
                images.insert(image);
                EXPECT_LE(solution, image) << "not kept as its smallest image";
            }
        }
        EXPECT_EQ(images, plain);
        EXPECT_TRUE(std::is_sorted(found->solutions.begin(), found->solutions.end()));
    }
}

} // namespace
} // namespace tw

namespace tw {
namespace {

// The text of a region moved by symmetry g of its box, set in a larger
// blank margin, with spaces for gaps and CRLF line ends.
std::string redrawn(const Tray &tray, int g)
{
    const int cols = g & 4 ? tray.rows() : tray.cols(), rows = g & 4 ? tray.cols() : tray.rows();
    std::vector<std::string> lines(static_cast<std::size_t>(rows) + 2,
                                   std::string(static_cast<std::size_t>(cols) + 3, ' '));
    for (const auto &[c, r] : cellsInOrder(tray)) {
        const auto [mc, mr] = movedCell(g, c, r, tray.cols(), tray.rows());
        lines[static_cast<std::size_t>(mr) + 1][static_cast<std::size_t>(mc) + 2] = '#';
    }
    std::string text;
    for (const auto &line : lines)
        text += line + "\r\n";
    return text;
}

TEST(RegionSolver, ARegionDrawnAnywhereTurnedOrReflectedGetsTheSameNumbers)
{
    for (const char *rows :
         {"####################.\n####################.\n.####################\n",
          "####################..\n####################..\n"
          "######################\n..................##..\n"}) {
        const Tray drawn = region(rows);
        const Tray standard = standardOrientation(drawn);
        const auto expected = solveRegion(standard, 1);
        for (int g = 0; g < 8; ++g) {
            SCOPED_TRACE(redrawn(drawn, g));
            const auto read = readRegion(redrawn(drawn, g));
            ASSERT_TRUE(read);
            const Tray again = standardOrientation(*read);
            ASSERT_EQ(again, standard);
            EXPECT_EQ(solveRegion(again, 2)->solutions, expected->solutions);
        }
    }
}

// Counts others have published, and the search's work on them: more
// placements tried is a slower search.
TEST(RegionSolver, FindsThePublishedCountsWithinItsWorkBudget)
{
    const std::tuple<const char *, std::vector<std::pair<int, int>>, std::size_t, long long>
        rows[] = {
            {"8 x 8 with its centre out", {{3, 3}, {3, 4}, {4, 3}, {4, 4}}, 65, 100'000},
            {"8 x 8 with four holes", {{2, 2}, {2, 5}, {5, 2}, {5, 5}}, 21, 30'000},
            {"the 10 x 6 tray", {}, 2339, 900'000},
        };
    for (const auto &[name, holes, solutions, budget] : rows) {
        SCOPED_TRACE(name);
        const bool ten = holes.empty();
        std::string text;
        for (int r = 0; r < (ten ? 6 : 8); ++r) {
            for (int c = 0; c < (ten ? 10 : 8); ++c)
                text += std::find(holes.begin(), holes.end(), std::pair(c, r)) != holes.end() ? '.'
                                                                                              : '#';
            text += '\n';
        }
        const auto found = solveRegion(standardOrientation(region(text)), 2);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->solutions.size(), solutions);
        EXPECT_LE(found->placements, budget);
    }
}

} // namespace
} // namespace tw

namespace tw {
namespace {

// A long search tells how far it has come, often, and stops soon after it
// is told to, returning nothing rather than part of the answer.
TEST(RegionSolver, ReportsProgressAndStopsWhenCancelled)
{
    using Clock = std::chrono::steady_clock;
    // 64 cells and no symmetry: seconds of search.
    const Tray tray = region("########\n########\n########\n########\n########\n########\n"
                             "####....\n####....\n####....\n####....\n");
    std::atomic<bool> cancel{false};
    std::vector<std::pair<Clock::time_point, RegionProgress>> reports;
    const auto start = Clock::now();
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        cancel = true;
    });
    const auto found = solveRegion(
        tray, 2, [&](const RegionProgress &p) { reports.emplace_back(Clock::now(), p); }, &cancel);
    const auto stopped = Clock::now();
    canceller.join();
    EXPECT_FALSE(found);
    EXPECT_LT(stopped - start, std::chrono::milliseconds(700 + 300));
    ASSERT_GE(reports.size(), 3u);
    auto last = start;
    long long placements = 0;
    for (const auto &[when, p] : reports) {
        EXPECT_LT(when - last, std::chrono::milliseconds(250));
        EXPECT_GE(p.placements, placements);
        last = when;
        placements = p.placements;
    }
    EXPECT_GT(placements, 0);
}

} // namespace
} // namespace tw
