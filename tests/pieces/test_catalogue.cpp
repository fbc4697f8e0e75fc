#include "app/SharedState.h"
#include "pieces/PieceTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace tw {
namespace {

using Cells = std::vector<std::pair<int, int>>; // (column, row)

Cells cellsOf(const clsShape &s)
{
    Cells cells{{0, 0}};
    for (const ColumnRow &step : squareSteps(s))
        cells.emplace_back(step.column, step.row);
    return cells;
}

// Moves the cells so the bounding box starts at (0, 0), sorted.
Cells normalised(Cells cells)
{
    int minC = 99, minR = 99;
    for (auto [c, r] : cells)
        minC = std::min(minC, c), minR = std::min(minR, r);
    for (auto &[c, r] : cells)
        c -= minC, r -= minR;
    std::sort(cells.begin(), cells.end());
    return cells;
}

TEST(LoadShapes, BuildsTwelvePiecesWithTheirOrientationsInTableOrder)
{
    SharedState state;
    LoadShapes(state);
    ASSERT_EQ(state.PieceShapes.size(), 12u);
    const std::vector<std::size_t> counts{1, 2, 4, 4, 4, 4, 4, 8, 8, 8, 8, 8};
    const std::string letters = "XIVWTZUYNLFP";
    int number = 0;
    for (std::size_t p = 0; p < 12; ++p) {
        const auto &piece = state.PieceShapes[p];
        EXPECT_EQ(piece.size(), counts[p]) << "piece " << p;
        for (const clsShape &s : piece) {
            EXPECT_EQ(s.Shape, number++);
            EXPECT_EQ(s.Piece, static_cast<Integer>(p));
            EXPECT_EQ(s.Letter, std::string(1, letters[p]));
        }
    }
    EXPECT_EQ(number, 63);
}

TEST(LoadShapes, TheXIsOrientationZeroAndBlack)
{
    const clsShape &x = orientation(0);
    EXPECT_EQ(x.Letter, "X");
    EXPECT_EQ(x.Piece, 0);
    EXPECT_EQ(x.StartX, 1);
    EXPECT_EQ((std::vector<int>{x.Square2, x.Square3, x.Square4, x.Square5}),
              (std::vector<int>{7, 8, 9, 16}));
    EXPECT_EQ(x.Color, 0);
}

TEST(PieceColours, AreReadAsBlueGreenRed)
{
    struct Case
    {
        int piece, red, green, blue;
    };
    for (const Case &c : {Case{5, 0, 0, 255}, Case{8, 255, 0, 0}, Case{9, 255, 255, 0},
                          Case{1, 255, 192, 128}, Case{10, 160, 0, 160}, Case{11, 176, 176, 176}}) {
        const Colour colour = catalogue()[static_cast<std::size_t>(c.piece)][0].Color;
        EXPECT_EQ(redOf(colour), c.red) << "piece " << c.piece;
        EXPECT_EQ(greenOf(colour), c.green) << "piece " << c.piece;
        EXPECT_EQ(blueOf(colour), c.blue) << "piece " << c.piece;
    }
}

TEST(OffsetToColumnRow, CountsTheThresholdsReached)
{
    // The horizontal I: each offset one column further right, same row.
    for (int k = 1; k <= 4; ++k) {
        const ColumnRow cr = offsetToColumnRow(8 * k);
        EXPECT_EQ(cr.column, k);
        EXPECT_EQ(cr.row, 0);
    }
    // Orientation 46 (L): all four squares in the next column, rows -3 to 0.
    for (int off = 5; off <= 8; ++off) {
        const ColumnRow cr = offsetToColumnRow(off);
        EXPECT_EQ(cr.column, 1);
        EXPECT_EQ(cr.row, off - 8);
    }
    EXPECT_EQ(offsetToColumnRow(4).column, 0);
    EXPECT_EQ(offsetToColumnRow(11).column, 1);
    EXPECT_EQ(offsetToColumnRow(32).column, 4);
}

TEST(OrientationTable, EveryEntryAgreesWithItsOwnOffsets)
{
    for (int n = 0; n < OrientationCount; ++n) {
        const clsShape &s = orientation(n);
        SCOPED_TRACE("orientation " + std::to_string(n));
        const std::vector<int> offsets{s.Square2, s.Square3, s.Square4, s.Square5};
        EXPECT_TRUE(std::is_sorted(offsets.begin(), offsets.end()));
        EXPECT_GT(offsets.front(), 0);
        EXPECT_EQ(std::set<int>(offsets.begin(), offsets.end()).size(), 4u);

        int minC = 0, maxC = 0, minR = 0, maxR = 0;
        for (auto [c, r] : cellsOf(s)) {
            EXPECT_LE(r, 4);
            EXPECT_GE(r, -3);
            minC = std::min(minC, c), maxC = std::max(maxC, c);
            minR = std::min(minR, r), maxR = std::max(maxR, r);
            // Square 1 is the top square of the leftmost column.
            EXPECT_TRUE(c > 0 || r >= 0);
        }
        EXPECT_EQ(minC, 0);
        EXPECT_EQ(s.StartX, -minR);
        EXPECT_EQ(s.Width, maxC - minC + 1);
        EXPECT_EQ(s.Height, maxR - minR + 1);
    }
}

TEST(OrientationTable, HoldsExactlyTheDistinctRotationsAndReflectionsOfEachPiece)
{
    std::set<Cells> all;
    for (int n = 0; n < OrientationCount; ++n)
        all.insert(normalised(cellsOf(orientation(n))));
    EXPECT_EQ(all.size(), 63u) << "two orientations have the same cells";

    for (const PieceCollection &piece : catalogue()) {
        SCOPED_TRACE("piece " + piece.front().Letter);
        // All eight images of the first orientation, duplicates merged.
        std::set<Cells> images;
        Cells cells = cellsOf(piece.front());
        for (int reflect = 0; reflect < 2; ++reflect) {
            for (int turn = 0; turn < 4; ++turn) {
                images.insert(normalised(cells));
                for (auto &[c, r] : cells)
                    std::tie(c, r) = std::pair(-r, c);
            }
            for (auto &[c, r] : cells)
                c = -c;
        }
        std::set<Cells> listed;
        for (const clsShape &s : piece)
            listed.insert(normalised(cellsOf(s)));
        EXPECT_EQ(listed.size(), piece.size()) << "an orientation is listed twice";
        EXPECT_EQ(listed, images);
    }
}

} // namespace
} // namespace tw
