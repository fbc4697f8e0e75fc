#include "Fixtures.h"
#include "Recorders.h"
#include "pieces/Appearance.h"
#include "pieces/PieceTables.h"
#include "report/Report.h"
#include "solutions/Decoding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace tw {
namespace {

using test::onBoard;
using test::record;
using test::RecordingCanvas;
using test::RecordingPreview;
using Call = RecordingPreview::Call;

struct Tray
{
    const char *name;
    Integer board;
    SolutionRecord record;
};

void PrintTo(const Tray &t, std::ostream *os)
{
    *os << t.name;
}

const Tray Examples[] = {
    {"first_10x6", 0, record(0, 2, {22, 4, 2, 54, 62, 42, 9, 11, 16, 23, 36})},
    {"square_in_the_centre", SquareBoard, record(30, 2, {22, 1, 30, 36, 5, 14, 43, 51, 9, 18, 61})},
};

// The colour painted last at a point.
Colour colourAt(const std::vector<RecordingCanvas::Box> &boxes, double x, double y)
{
    for (auto b = boxes.rbegin(); b != boxes.rend(); ++b)
        if (x >= b->x && x < b->x + b->width && y >= b->y && y < b->y + b->height)
            return b->colour;
    return -1;
}

class LookOfATray : public testing::TestWithParam<Tray>
{
protected:
    SharedState prepared(int outputMode)
    {
        SharedState state = onBoard(GetParam().board);
        state.OutputMode = outputMode;
        ResetUnitSize(state);
        state.OriginX = state.TrayLeft;
        state.OriginY = state.TrayTop;
        return state;
    }
    RecordingCanvas paint(Appearance look)
    {
        SharedState state = prepared(0);
        RecordingCanvas canvas;
        state.Screen = &canvas;
        state.Look = look;
        EXPECT_FALSE(DecodeSolution(state, GetParam().record, DecodeTarget::Screen));
        return canvas;
    }
};

TEST_P(LookOfATray, EachPieceCarriesItsLetterInItsLargestSquare)
{
    const auto tiling = tileRecord(GetParam().board, GetParam().record);
    const std::string grid = letterGrid(*tiling);
    const TrayInfo &tray = Trays[static_cast<std::size_t>(GetParam().board)];
    const auto letterAt = [&](double x, double y) {
        const int c = static_cast<int>(std::floor((x - tray.trayLeft) / 200));
        const int r = static_cast<int>(std::floor((y - tray.trayTop) / 200));
        return grid.at(static_cast<std::size_t>(r * (tray.cols + 1) + c));
    };
    for (const Palette palette : {Palette::Standard, Palette::Safe}) {
        const RecordingCanvas plain = paint({false, palette});
        const RecordingCanvas lettered = paint({true, palette});
        EXPECT_TRUE(plain.letters.empty());
        EXPECT_EQ(plain.boxes, lettered.boxes); // letters only add to the picture
        ASSERT_EQ(lettered.letters.size(), tiling->placements.size());
        std::set<char> seen;
        for (const auto &l : lettered.letters) {
            seen.insert(l.letter);
            EXPECT_EQ(l.side, 200);
            // On its own piece: the P's and the square's in the middle of
            // their 2 x 2 block, every quarter around the middle theirs.
            const double cx = l.x + 100, cy = l.y + 100;
            const double reach = l.letter == 'P' || l.letter == 'O' ? 150 : 50;
            for (double dx : {-reach, reach})
                for (double dy : {-reach, reach})
                    EXPECT_EQ(letterAt(cx + dx, cy + dy), l.letter) << GetParam().name;
            // Black or white, as it reads on the colour under it.
            EXPECT_EQ(l.colour, letterColourOn(colourAt(lettered.boxes, cx, cy))) << l.letter;
        }
        EXPECT_EQ(seen.size(), lettered.letters.size());
    }
}

TEST_P(LookOfATray, TheSafePaletteGivesEveryPieceAColourOfItsOwn)
{
    const RecordingCanvas safe = paint({false, Palette::Safe});
    const RecordingCanvas standard = paint({false, Palette::Standard});
    std::set<Colour> colours;
    for (std::size_t k = 0; k < safe.boxes.size(); ++k) {
        const Colour mine = safe.boxes[k].colour;
        if (mine == MidGrey) { // the square keeps its grey
            EXPECT_EQ(standard.boxes[k].colour, MidGrey);
            continue;
        }
        colours.insert(mine);
        EXPECT_NE(mine, standard.boxes[k].colour == Black ? -1 : standard.boxes[k].colour);
    }
    EXPECT_EQ(colours.size(), 12u);
}

TEST_P(LookOfATray, PagesCarryLettersAsTheirRenderingReads)
{
    for (const Integer render : {0, 1}) {
        for (const Single unit : {200.0f, 100.0f}) {
            SharedState state = prepared(1);
            RecordingPreview preview;
            state.PreviewControl = &preview;
            state.RenderMode = render;
            state.UnitSize = unit;
            state.DoubleUnit = 2 * unit;
            state.Look = {true, Palette::Safe};
            ASSERT_FALSE(DecodeSolution(state, GetParam().record, DecodeTarget::Report));
            if (state.BoardIndex == SquareBoard)
                PrintSquarePiece(state);
            const auto letters = preview.ofKind(Call::Letter);
            // A unit square under 117 twips holds no letter.
            if (unit < MinimumLetterSquare) {
                EXPECT_TRUE(letters.empty());
                continue;
            }
            EXPECT_EQ(letters.size(), GetParam().board == SquareBoard ? 13u : 12u);
            for (const Call &l : letters) {
                const Colour expected = l.text == "O" ? letterColourOn(MidGrey)
                                        : render == 1 ? (l.text == "X" ? White : Black)
                                                      : letterColourOn(l.brush);
                EXPECT_EQ(l.fore, expected) << l.text << " rendering " << render;
            }
            EXPECT_EQ(preview.ForeColor(), Black); // left as the page expects it
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, LookOfATray, testing::ValuesIn(Examples),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(LetterColour, IsWhateverReadsBetter)
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
