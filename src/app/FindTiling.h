#pragma once

#include "solutions/Library.h"

#include "base/Expected.h"
#include "base/Integer.h"

#include <QString>

#include <string>
#include <string_view>

namespace tw {

struct SharedState;

// A tiling found among the database's solutions, or a kept tray's.
struct FoundTiling
{
    Integer board;    // its number in the one list of trays (isBuiltIn, keptBoard)
    Integer solution; // its number in the tray
    std::string kept; // the kept tray's name
};

// Reads a tiling written as rows of piece letters, in any orientation of its
// tray, and looks its number up in the records of the open database. When
// the text is not a tiling, the message says what is wrong with it; a tiling
// the database lacks is said to be missing.
// A tiling of none of the five is looked for among the kept trays, whose
// numbers follow the five's in their order (keptBoard).
Expected<FoundTiling, std::string> findTiling(const SharedState &state, std::string_view text,
                                              const std::vector<KeptTray> &kept = {});

// The message for a text too long to be a grid (more than MaximumGridText
// bytes); what names it: a quoted file name, or "The text".
std::string tooMuchForAGrid(const std::string &what);

// The tray and the number, as the program shows them: "10 x 6, solution 1,234".
QString foundText(const FoundTiling &found);

} // namespace tw
