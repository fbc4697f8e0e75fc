#include "Fixtures.h"
#include "solutions/Boards.h"
#include "solutions/Decoding.h"
#include "solutions/LetterGrid.h"

#include <gtest/gtest.h>

#include <random>

namespace tw {
namespace {

using test::record;

const SolutionRecord First10x6 = record(0, 2, {22, 4, 2, 54, 62, 42, 9, 11, 16, 23, 36});
const SolutionRecord First8x8 = record(0, 4, {18, 4, 2, 8, 52, 25, 42, 11, 22, 60, 38});
const SolutionRecord Centre8x8 = record(30, 2, {22, 1, 30, 36, 5, 14, 43, 51, 9, 18, 61});

struct BadCase
{
    const char *name;
    Integer board;
    SolutionRecord record;
    DecodeFault fault;
    const char *message;
};

SolutionRecord with(SolutionRecord r, void (*change)(SolutionRecord &))
{
    change(r);
    return r;
}

void PrintTo(const BadCase &c, std::ostream *os)
{
    *os << c.name;
}

class BadRecord : public testing::TestWithParam<BadCase>
{
};

TEST_P(BadRecord, IsReportedWithItsFault)
{
    const BadCase &b = GetParam();
    const auto tiling = DecodeSolution(b.board, b.record);
    ASSERT_FALSE(tiling);
    EXPECT_EQ(tiling.error().fault, b.fault);
    EXPECT_EQ(tiling.error().message, b.message);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BadRecord,
    testing::Values(
        BadCase{"missing_x", 0, with(First10x6, [](auto &r) { r.X_Index.reset(); }),
                DecodeFault::MissingValue, "X_Index is missing"},
        BadCase{"orientation_63", 0, with(First10x6, [](auto &r) { r.Shape[2] = 63; }),
                DecodeFault::BadOrientation,
                "Shape3 is 63, which is not an orientation number (0 to 62)"},
        BadCase{"second_x", 0, with(First10x6, [](auto &r) { r.Shape[4] = 0; }),
                DecodeFault::RepeatedPiece, "Shape5 lays a second X piece"},
        // 7 x 2^32 + 2: cut to 32 bits, column 0 and row 2, the X's own place.
        BadCase{"x_huge", 0, with(First10x6, [](auto &r) { r.X_Index = 30064771074LL; }),
                DecodeFault::OutsideTray,
                "X_Index 30064771074 puts the X where it would leave the tray"},
        BadCase{"o_on_the_bottom_row", 4, with(First8x8, [](auto &r) { r.O_Index = 7; }),
                DecodeFault::OutsideTray,
                "O_Index 7 puts the 2 x 2 square where it would leave the tray"},
        BadCase{"x_over_the_square", 4, with(First8x8, [](auto &r) { r.X_Index = 1; }),
                DecodeFault::Overlap,
                "X_Index 1 puts the X where it would overlap another piece at column 1, row 2"},
        BadCase{"piece_over_the_x", 0, record(0, 2, {1, 4, 22, 54, 62, 42, 9, 11, 16, 23, 36}),
                DecodeFault::Overlap,
                "Shape1 lays the I piece (orientation 1) where it would overlap another piece "
                "at column 1, row 3"},
        BadCase{"piece_too_tall", 3, record(0, 1, {1, 3, 7, 11, 15, 19, 23, 31, 39, 47, 55}),
                DecodeFault::OutsideTray,
                "Shape1 lays the I piece (orientation 1) where it would leave the tray"}),
    [](const auto &info) { return std::string(info.param.name); });

// The quick start-up check gives the full check's verdict: on the golden
// records, on the rectangles' unused O_Index, and on thousands of records one
// or two values away from a tiling (off the tray, over another piece, a
// piece twice, not an orientation).
TEST(FillsTray, GivesTheFullChecksVerdict)
{
    const struct
    {
        Integer board;
        SolutionRecord record;
    } tilings[] = {{0, First10x6}, {4, First8x8}, {4, Centre8x8}};
    std::mt19937 random(2026);
    std::uniform_int_distribution<int> place(0, 12), value(-3, 85);
    int tiles = 0, fails = 0;
    for (const auto &t : tilings) {
        RecordKey key{static_cast<Integer>(*t.record.O_Index),
                      static_cast<Integer>(*t.record.X_Index)};
        for (std::size_t k = 0; k < 11; ++k)
            key[k + 2] = static_cast<Integer>(*t.record.Shape[k]);
        EXPECT_TRUE(fillsTray(t.board, key));
        for (int trial = 0; trial < 4000; ++trial) {
            RecordKey changed = key;
            changed[static_cast<std::size_t>(place(random))] = static_cast<Integer>(value(random));
            if (trial % 2)
                changed[static_cast<std::size_t>(place(random))] =
                    static_cast<Integer>(value(random));
            const bool full = DecodeSolution(t.board, recordOf(changed)).has_value();
            ASSERT_EQ(fillsTray(t.board, changed), full)
                << "board " << t.board << ", trial " << trial;
            (full ? tiles : fails)++;
        }
    }
    // Both verdicts were given many times.
    EXPECT_GT(tiles, 100);
    EXPECT_GT(fails, 1000);
}

// Of a tiling's images, read back from its letters through the grid
// reader's own records, only the smallest is as the generator writes it;
// on every tray, with the square's images laid across and tilings whose X
// lies on a mirror line.
TEST(SmallestImage, IsTheRecordTheGeneratorWrites)
{
    int others = 0;
    for (Integer board = 0; board < BoardCount; ++board) {
        const TilingIndex &index = test::indexOf(board);
        for (std::uint32_t t = 0; t < index.size(); t += index.images() * 37 + 1) {
            const auto read = readLetterGrid(letterRows(index.tiling(t)));
            ASSERT_TRUE(read);
            for (std::size_t k = 0; k < read->images.size(); ++k)
                ASSERT_EQ(smallestImage(board, read->images[k]), k == 0)
                    << "board " << board << ", tiling " << t << ", image " << k;
            others += static_cast<int>(read->images.size()) - 1;
        }
    }
    EXPECT_GT(others, 1000);
}

} // namespace
} // namespace tw
