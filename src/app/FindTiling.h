#pragma once

#include "base/Expected.h"
#include "base/Integer.h"

#include <QString>

#include <string>
#include <string_view>

namespace tw {

class Catalogue;

// A tiling found among a tray's solutions.
struct FoundTiling
{
    Integer board;    // the tray: its place in the catalogue
    Integer solution; // its number in the tray
    std::string name; // the tray's label, which finds it again in a list that changed
};

// Reads a tiling written as rows of piece letters, in any orientation of its
// tray, and looks its number up among the catalogue's solutions: those of
// the database's trays, else of a tray of the catalogue whose region the
// text's is. When the text is not a tiling, the message says what is wrong
// with it; a tiling the tray lacks is said to be missing.
Expected<FoundTiling, std::string> findTiling(const Catalogue &catalogue, std::string_view text);

// The message for a text too long to be a grid (more than MaximumGridText
// bytes); what names it: a quoted file name, or "The text".
std::string tooMuchForAGrid(const std::string &what);

// The tray and the number, as the program shows them: "10 x 6, solution 1,234".
QString foundText(const FoundTiling &found);

} // namespace tw
