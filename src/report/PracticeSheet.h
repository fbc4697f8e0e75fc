#pragma once

#include "base/Integer.h"
#include "pieces/Painter.h"
#include "solutions/Puzzles.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tw {

class PreviewInterface;

// A practice sheet for a class: puzzles, each a tray with some pieces given
// and a faint grid where the others go, its number and the letters of the
// pieces to place under it; then, when asked, an answer key and a page of
// the pieces to cut out. Every page has the cheat sheet's head with the
// sheet's number, and "Page n of m".
struct PracticeSheet
{
    std::vector<Puzzle> puzzles;
    std::uint64_t number = 0; // the sheet's number, which makes the same puzzles again
    Single unit = 360;        // side of a unit square, twips
    bool landscape = false;
    PaperLook look; // colour or monochrome, palette, letters
    bool answerKey = true;
    bool cutouts = false;
};

// The unit side a sheet starts with, inches: large enough to draw in, a
// sensible number of trays to a page.
inline constexpr Single PracticeSide = 0.25f;

// The largest side of a unit square, inches, at which a tray of cols x rows
// and its caption fit a practice sheet on page as it is turned: the one
// limit the sheet and the command line name.
Single practiceLargestSide(PreviewInterface &page, int cols, int rows);

// Draws the sheet of index's tray on page, from a new document. Returns why
// when it cannot: a tray too large for the page at this side, which the
// message says how to mend.
std::optional<std::string> BuildPracticeSheet(PreviewInterface &page, const TilingIndex &index,
                                              const PracticeSheet &sheet);

} // namespace tw
