#include "Drawn.h"
#include "solutions/Boards.h"
#include "solutions/Tray.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace tw {
namespace {

using test::drawn;

// The symmetry of a tray is what maps its cells onto themselves, found
// from the cells: the five trays, and regions with holes.
TEST(Tray, ItsSymmetriesAreThoseThatMapItsCellsOntoThemselves)
{
    const std::tuple<const char *, Tray, std::vector<int>, int> rows[] = {
        {"the 10 x 6 tray", trayOf(0), {0, 1, 2, 3}, 12},
        {"the 20 x 3 tray", trayOf(3), {0, 1, 2, 3}, 12},
        {"the 8 x 8 tray", trayOf(SquareBoard), {0, 1, 2, 3, 4, 5, 6, 7}, 13},
        {"8 x 8 with its centre out",
         drawn("########/########/########/###..###/###..###/########/########/########"),
         {0, 1, 2, 3, 4, 5, 6, 7},
         12},
        {"a square that only a half-turn maps onto itself",
         drawn("####/.###/###./####"),
         {0, 3},
         12},
        {"a square mapped onto itself across its diagonal",
         drawn(".###/#.##/##.#/###."),
         {0, 3, 4, 7},
         12},
        {"a strip with a hole off its middle", drawn("#####/##.##/#####/#####"), {0, 1}, 12},
        {"no symmetry", drawn("##../###./####"), {0}, 12},
    };
    for (const auto &[name, tray, symmetries, pieces] : rows) {
        SCOPED_TRACE(name);
        EXPECT_EQ(tray.symmetries(), symmetries);
        EXPECT_EQ(tray.pieceCount(), pieces);
    }
    // The word a title gives it.
    EXPECT_EQ(trayOf(0).kind(), "Rectangle");
    EXPECT_EQ(trayOf(SquareBoard).kind(), "Square");
    EXPECT_EQ(std::get<1>(rows[3]).kind(), "Tray");
}

} // namespace
} // namespace tw
