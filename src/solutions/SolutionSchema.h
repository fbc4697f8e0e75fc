#pragma once

#include <array>
#include <string_view>

// The solution database's one table, as the generator writes it and the
// viewer checks it.

namespace tw {

inline constexpr std::string_view SolutionTable = "Solution";

inline constexpr std::array<std::string_view, 15> SolutionFields{
    "Board",  "Solution", "O_Index", "X_Index", "Shape1", "Shape2",  "Shape3", "Shape4",
    "Shape5", "Shape6",   "Shape7",  "Shape8",  "Shape9", "Shape10", "Shape11"};

inline constexpr std::string_view CreateSolutionTable =
    "CREATE TABLE Solution ("
    "Board INTEGER NOT NULL, Solution INTEGER NOT NULL, "
    "O_Index INTEGER NOT NULL, X_Index INTEGER NOT NULL, "
    "Shape1 INTEGER NOT NULL, Shape2 INTEGER NOT NULL, Shape3 INTEGER NOT NULL, "
    "Shape4 INTEGER NOT NULL, Shape5 INTEGER NOT NULL, Shape6 INTEGER NOT NULL, "
    "Shape7 INTEGER NOT NULL, Shape8 INTEGER NOT NULL, Shape9 INTEGER NOT NULL, "
    "Shape10 INTEGER NOT NULL, Shape11 INTEGER NOT NULL, "
    "PRIMARY KEY (Board, Solution)) WITHOUT ROWID";

} // namespace tw
