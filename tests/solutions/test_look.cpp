#include "Fixtures.h"
#include "Recorders.h"
#include "pieces/Appearance.h"
#include "report/Report.h"
#include "solutions/Decoding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace tw {
namespace {

using test::RecordingCanvas;
using Call = test::RecordingPreview::Call;

// The first 10 x 6 solution, and an 8 x 8 one with the square in the centre.
const std::pair<Integer, SolutionRecord> Examples[] = {
    {0, test::record(0, 2, {22, 4, 2, 54, 62, 42, 9, 11, 16, 23, 36})},
    {SquareBoard, test::record(30, 2, {22, 1, 30, 36, 5, 14, 43, 51, 9, 18, 61})}};

SharedState prepared(Integer board, int outputMode, Appearance look)
{
    SharedState state = test::onBoard(board);
    state.OutputMode = outputMode;
    ResetUnitSize(state);
    state.OriginX = state.TrayLeft;
    state.OriginY = state.TrayTop;
    state.Look = look;
    return state;
}

RecordingCanvas painted(Integer board, const SolutionRecord &record, Appearance look)
{
    SharedState state = prepared(board, 0, look);
    RecordingCanvas canvas;
    state.Screen = &canvas;
    EXPECT_FALSE(DecodeSolution(state, record, DecodeTarget::Screen));
    return canvas;
}

TEST(Letters, EachPieceCarriesItsLetterInItsLargestSquare)
{
    for (const auto &[board, record] : Examples)
        for (const Palette palette : {Palette::Standard, Palette::Safe}) {
            const std::string grid = letterGrid(*tileRecord(board, record));
            const TrayInfo &tray = Trays[static_cast<std::size_t>(board)];
            const auto letterAt = [&](double x, double y) {
                const auto c = static_cast<std::size_t>(std::floor((x - tray.trayLeft) / 200));
                const auto r = static_cast<std::size_t>(std::floor((y - tray.trayTop) / 200));
                return grid.at(r * static_cast<std::size_t>(tray.cols + 1) + c);
            };
            const RecordingCanvas plain = painted(board, record, {false, palette});
            const RecordingCanvas lettered = painted(board, record, {true, palette});
            EXPECT_TRUE(plain.letters.empty());
            EXPECT_EQ(plain.boxes, lettered.boxes); // letters only add to the picture
            std::set<char> seen;
            for (const auto &l : lettered.letters) {
                seen.insert(l.letter);
                // On its own piece: the P's and the square's in the middle of
                // their 2 x 2 block, every quarter around the middle theirs.
                const double cx = l.x + 100, cy = l.y + 100;
                const double reach = l.letter == 'P' || l.letter == 'O' ? 150 : 50;
                for (double dx : {-reach, reach})
                    for (double dy : {-reach, reach})
                        EXPECT_EQ(letterAt(cx + dx, cy + dy), l.letter);
                // Black or white, as it reads on the colour painted under it.
                const auto under = std::find_if(
                    lettered.boxes.rbegin(), lettered.boxes.rend(), [&](const auto &b) {
                        return cx >= b.x && cx < b.x + b.width && cy >= b.y && cy < b.y + b.height;
                    });
                EXPECT_EQ(l.colour, letterColourOn(under->colour)) << l.letter;
            }
            EXPECT_EQ(seen.size(), board == SquareBoard ? 13u : 12u);
        }
}

TEST(Letters, OnPagesReadAsTheirRenderingAndNeedRoom)
{
    for (const auto &[board, record] : Examples)
        for (const Integer render : {0, 1})
            for (const Single unit : {200.0f, 100.0f}) {
                SharedState state = prepared(board, 1, {true, Palette::Safe});
                test::RecordingPreview preview;
                state.PreviewControl = &preview;
                state.RenderMode = render;
                state.UnitSize = unit;
                state.DoubleUnit = 2 * unit;
                ASSERT_FALSE(DecodeSolution(state, record, DecodeTarget::Report));
                if (board == SquareBoard)
                    PrintSquarePiece(state);
                const auto letters = preview.ofKind(Call::Letter);
                // A unit square under 117 twips holds no letter.
                EXPECT_EQ(letters.size(), unit < MinimumLetterSquare ? 0u
                                          : board == SquareBoard     ? 13u
                                                                     : 12u);
                // Black on outlines but white on the solid X; on colour, what
                // reads better.
                for (const Call &l : letters)
                    EXPECT_EQ(l.fore, l.text == "O" ? letterColourOn(MidGrey)
                                      : render == 1 ? (l.text == "X" ? White : Black)
                                                    : letterColourOn(l.brush))
                        << l.text << " rendering " << render;
                EXPECT_EQ(preview.ForeColor(), Black); // left as the page expects it
            }
}

TEST(Letters, AreBlackOrWhiteWhicheverReadsBetter)
{
    for (const auto &[fill, letter] : {std::pair{White, Black},
                                       {0x00FFFF, Black}, // yellow
                                       {MidGrey, Black},
                                       {Black, White},
                                       {0x884400, White},  // dark blue
                                       {0x0000FF, Black}}) // red
        EXPECT_EQ(letterColourOn(fill), letter) << std::hex << fill;
}

} // namespace
} // namespace tw
