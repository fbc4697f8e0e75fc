// tilewright-solve: searches every tray and writes the solution database.

#include "base/NumberText.h"
#include "solutions/Boards.h"
#include "solutions/Region.h"
#include "solver/DatabaseWriter.h"
#include "solver/RegionSolver.h"
#include "solver/Solver.h"

#include <fstream>
#include <sstream>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr const char *Usage =
    "usage: tilewright-solve PATH\n"
    "       tilewright-solve --board K PATH\n"
    "       tilewright-solve --region FILE [--list]\n"
    "\n"
    "Finds every way of fitting the twelve pentominoes into each tray and writes\n"
    "them to the solution database PATH: all five trays, or with --board only\n"
    "tray K (0 10 x 6, 1 12 x 5, 2 15 x 4, 3 20 x 3, 4 8 x 8).\n"
    "\n"
    "With --region, counts the tilings of the region drawn in FILE (rows of # for\n"
    "a cell and . for none; 60 cells, or 64 with the 2 x 2 square) and keeps\n"
    "nothing; --list then prints each solution, in solution order, as its rows\n"
    "of letters separated by /.\n";

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// tilewright-solve --region FILE [--list]: exit 0, 1 when the file cannot
// be read, 2 when it holds no tray or one that cannot be tiled.
int solveRegionFile(const std::string &path, bool list)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (in)
        text << in.rdbuf();
    if (!in) {
        std::fprintf(stderr, "tilewright-solve: cannot read %s\n", path.c_str());
        return 1;
    }
    auto drawn = tw::readRegion(text.str());
    if (!drawn) {
        std::fprintf(stderr, "tilewright-solve: %s: %s\n", path.c_str(), drawn.error().c_str());
        return 2;
    }
    const tw::Tray region = tw::standardOrientation(*drawn);
    if (const auto obstacle = tw::visibleObstacle(region)) {
        std::fprintf(stderr, "tilewright-solve: %s: no tiling: %s\n", path.c_str(),
                     obstacle->message.c_str());
        return 2;
    }
    const bool terminal = ::isatty(STDERR_FILENO);
    const auto found = tw::solveRegion(region, 0, [&](const tw::RegionProgress &p) {
        if (terminal)
            std::fprintf(stderr, "\r%s placements, %s tilings found",
                         tw::groupedNumber(p.placements).c_str(),
                         tw::groupedNumber(p.tilings).c_str());
    });
    if (terminal)
        std::fputs("\r\033[K", stderr);
    const auto solutions = static_cast<long long>(found->solutions.size());
    std::printf("%d cells, %zu %s: %s %s, %s %s\n", region.cellCount(), region.symmetries().size(),
                region.symmetries().size() == 1 ? "symmetry" : "symmetries",
                tw::groupedNumber(found->tilings).c_str(), found->tilings == 1 ? "tiling" : "tilings",
                tw::groupedNumber(solutions).c_str(), solutions == 1 ? "solution" : "solutions");
    if (list)
        for (const auto &solution : found->solutions)
            std::printf("%s\n", tw::letterLine(region, solution).c_str());
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if ((args.size() == 2 || args.size() == 3) && args[0] == "--region" &&
        (args.size() == 2 || args[2] == "--list"))
        return solveRegionFile(args[1], args.size() == 3);
    std::vector<int> boards{0, 1, 2, 3, 4};
    std::string path;
    if (args.size() == 1 && !args[0].starts_with("-")) {
        path = args[0];
    } else if (args.size() == 3 && args[0] == "--board" && args[1].size() == 1 &&
               args[1][0] >= '0' && args[1][0] <= '4') {
        boards = {args[1][0] - '0'};
        path = args[2];
    } else {
        std::fputs(Usage, stderr);
        return 2;
    }

    const auto start = std::chrono::steady_clock::now();
    // The file is prepared first: a path that cannot be written is reported
    // before the search, and an interruption from here on leaves nothing.
    tw::removeOnSignals(tw::temporaryPathFor(path, ::getpid()));
    tw::SolutionDatabaseFile file;
    if (const auto error = file.open(path)) {
        std::fprintf(stderr, "tilewright-solve: %s\n", error->c_str());
        return 1;
    }
    // Every tray at once, so that both cores stay busy to the end.
    auto solutions = tw::solveTrays(boards);
    std::vector<tw::BoardSolutions> found;
    for (std::size_t k = 0; k < boards.size(); ++k) {
        std::printf("%-6s %6zu solutions\n",
                    std::string(tw::Trays[static_cast<std::size_t>(boards[k])].label).c_str(),
                    solutions[k].size());
        found.push_back({boards[k], std::move(solutions[k])});
    }
    std::printf("searched in %.1f ms\n", millisecondsSince(start));
    const auto error = file.commit(found);
    tw::removeOnSignals({});
    if (error) {
        std::fprintf(stderr, "tilewright-solve: %s\n", error->c_str());
        return 1;
    }
    std::printf("wrote %s in %.1f ms\n", path.c_str(), millisecondsSince(start));
    return 0;
}
