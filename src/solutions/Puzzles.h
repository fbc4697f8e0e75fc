#pragma once

#include "base/Expected.h"
#include "solutions/TilingIndex.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tw {

// A puzzle: a tiling of a tray as drawn with some of its pieces given, the
// others to be placed; exactly one tiling of the tray (its answer) holds the
// given pieces.
struct Puzzle
{
    std::uint32_t tiling = 0;         // the answer, a tiling of the index
    std::vector<std::uint32_t> given; // its pieces given, as the index numbers them

    bool operator==(const Puzzle &) const = default;
};

// How many pieces a puzzle gives: the fewest that leave one answer (the
// hardest), or a number (1 to 11, 12 on the 8 x 8 tray).
inline constexpr int FewestGiven = 0;

struct PuzzleRequest
{
    int count = 1;           // 1..60
    int given = FewestGiven; // FewestGiven or 1..pieces - 1
    std::uint64_t seed = 1;  // the sheet's number: the same number, the same puzzles
};

// The puzzles asked for, from different solutions where the tray has enough
// of them (else differing in image or given pieces); or why there are none:
// no puzzle of the tray has one answer with so few pieces given (the message
// names the fewest that work there), or the request is out of range.
Expected<std::vector<Puzzle>, std::string> makePuzzles(const TilingIndex &index,
                                                       const PuzzleRequest &request);

// The fewest of a tiling's pieces that no other tiling holds together, one
// such set chosen by random from among those of that size; random: a value
// that picks.
std::vector<std::uint32_t> fewestGiven(const TilingIndex &index, std::uint32_t tiling,
                                       std::uint64_t random);

// The puzzle as rows of letters with "." for a cell to fill, then a line
// "solution N" naming its answer's number.
std::string puzzleText(const TilingIndex &index, const Puzzle &puzzle);

// The letters of the pieces still to place, in the catalogue's order, "O"
// for the square: "F I L N P".
std::string piecesToPlace(const TilingIndex &index, const Puzzle &puzzle);

} // namespace tw
