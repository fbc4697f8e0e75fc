#include "solutions/LetterGrid.h"

#include "pieces/PieceTables.h"
#include "solutions/Boards.h"
#include "solutions/TextInput.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <map>
#include <vector>

namespace tw {

namespace {

constexpr std::string_view Pentominoes = "FILNPTUVWXYZ";
constexpr char Square = 'O';

LetterGridError fail(LetterGridError::Fault fault, std::string message)
{
    return {fault, std::move(message)};
}

// "1 row", "2 rows".
std::string counted(std::size_t n, const char *what)
{
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

// The letters as typed, row by row (blanks left out): each cell its letter
// in upper case (0 for a character outside ASCII) and where the text has
// it, for messages.
struct Typed
{
    struct Cell
    {
        char letter;
        std::uint32_t at;
        std::uint8_t length;
    };
    std::string_view source;
    int rows = 0, cols = 0;
    std::vector<Cell> cells;

    const Cell &cell(int r, int c) const { return cells[static_cast<std::size_t>(r * cols + c)]; }
    std::string text(int r, int c) const
    {
        return shown(source.substr(cell(r, c).at, cell(r, c).length));
    }
    char at(int r, int c) const { return cell(r, c).letter; }
    std::string place(int r, int c) const
    {
        return "row " + std::to_string(r + 1) + ", column " + std::to_string(c + 1);
    }
};

using Cells = std::vector<std::pair<int, int>>; // (column, row), sorted

Cells normalised(Cells cells)
{
    int c0 = 1 << 20, r0 = 1 << 20;
    for (auto [c, r] : cells)
        c0 = std::min(c0, c), r0 = std::min(r0, r);
    for (auto &[c, r] : cells)
        c -= c0, r -= r0;
    std::sort(cells.begin(), cells.end());
    return cells;
}

// Every orientation's cells, as a shape starting at (0, 0), with its letter.
const std::map<Cells, char> &shapes()
{
    static const std::map<Cells, char> all = [] {
        std::map<Cells, char> m;
        for (int n = 0; n < OrientationCount; ++n) {
            Cells cells{{0, 0}};
            for (const ColumnRow &step : squareSteps(orientation(n)))
                cells.emplace_back(step.column, step.row);
            m[normalised(cells)] = orientation(n).Letter.at(0);
        }
        return m;
    }();
    return all;
}

// Orientation numbers by their offsets from square 1, stride 8.
const std::map<std::array<int, 4>, int> &orientationsByOffsets()
{
    static const std::map<std::array<int, 4>, int> all = [] {
        std::map<std::array<int, 4>, int> m;
        for (int n = 0; n < OrientationCount; ++n) {
            const clsShape &s = orientation(n);
            m[{s.Square2, s.Square3, s.Square4, s.Square5}] = n;
        }
        return m;
    }();
    return all;
}

// The record of a tiling lying in the tray as letter(column, row), as the
// decoder lays it: the square's and the X's first cells, then each other
// piece in the order of its first cell, scanning column by column.
template<class LetterAt> RecordKey recordOf(const TrayInfo &tray, LetterAt letter)
{
    RecordKey r{};
    const int stride = tray.rows + 1;
    std::string seen;
    int shape = 2;
    for (int c = 0; c < tray.cols; ++c)
        for (int row = 0; row < tray.rows; ++row) {
            const char l = letter(c, row);
            if (seen.find(l) != std::string::npos)
                continue;
            seen += l;
            if (l == Square) {
                r[0] = static_cast<Integer>(c * stride + row);
                continue;
            }
            if (l == 'X') {
                r[1] = static_cast<Integer>(c * stride + row);
                continue;
            }
            std::array<int, 4> offsets{};
            std::size_t k = 0;
            for (int c2 = c; c2 < tray.cols && c2 < c + 5; ++c2)
                for (int r2 = 0; r2 < tray.rows; ++r2)
                    if ((c2 != c || r2 != row) && letter(c2, r2) == l && k < 4)
                        offsets[k++] = 8 * (c2 - c) + (r2 - row);
            std::sort(offsets.begin(), offsets.end());
            r[static_cast<std::size_t>(shape++)] =
                static_cast<Integer>(orientationsByOffsets().at(offsets));
        }
    return r;
}

} // namespace

namespace {

// A grid read and checked: its letters as typed, its tray, whether it lies
// across the tray, and each letter's cells (column, row as typed). A
// position may leave cells empty (".") and pieces out; a tiling may not.
struct CheckedGrid
{
    Typed t;
    int board = -1;
    bool across = false;
    std::map<char, Cells> cells;
};

Expected<CheckedGrid, LetterGridError> checkedGrid(std::string_view text, std::string &converted,
                                                   bool position)
{
    using Fault = LetterGridError::Fault;
    CheckedGrid grid;
    Typed &t = grid.t;
    t.source = asUtf8(text, converted);
    const std::string_view source = t.source;
    std::vector<std::size_t> rowLengths;
    std::size_t inRow = 0;
    for (std::size_t k = 0; k <= source.size();) {
        const char ch = k < source.size() ? source[k] : '\n';
        if (ch == '\n') {
            if (inRow > 0)
                rowLengths.push_back(inRow);
            inRow = 0;
            ++k;
        } else if (ch == ' ' || ch == '\t' || ch == '\r') {
            ++k;
        } else {
            const std::size_t length = characterLength(source, k);
            const char letter =
                length == 1 && static_cast<unsigned char>(ch) < 0x80
                    ? static_cast<char>(std::toupper(static_cast<unsigned char>(ch)))
                    : '\0';
            t.cells.push_back(
                {letter, static_cast<std::uint32_t>(k), static_cast<std::uint8_t>(length)});
            ++inRow;
            k += length;
        }
    }
    if (rowLengths.empty())
        return fail(Fault::Empty, "There is no grid: write the tiling as rows of piece letters.");
    for (std::size_t r = 1; r < rowLengths.size(); ++r)
        if (rowLengths[r] != rowLengths[0])
            return fail(Fault::Ragged, "Row " + std::to_string(r + 1) + " has " +
                                           counted(rowLengths[r], "letter") + " where row 1 has " +
                                           std::to_string(rowLengths[0]) + ".");
    t.rows = static_cast<int>(rowLengths.size());
    t.cols = static_cast<int>(rowLengths[0]);

    // The tray, and whether the grid lies across it.
    int &board = grid.board;
    bool &across = grid.across;
    for (const Integer b : BuiltInBoards) {
        const TrayInfo &tray = Trays[static_cast<std::size_t>(b)];
        if (board >= 0)
            break;
        if (t.rows == tray.rows && t.cols == tray.cols)
            board = b;
        else if (t.rows == tray.cols && t.cols == tray.rows)
            board = b, across = true;
    }
    if (board < 0)
        return fail(Fault::Size, "A grid of " + counted(static_cast<std::size_t>(t.rows), "row") +
                                     " of " + counted(static_cast<std::size_t>(t.cols), "letter") +
                                     " fits no tray: the trays are 10 x 6, 12 x 5, 15 x 4, "
                                     "20 x 3 and 8 x 8.");
    const bool square = trayOf(static_cast<Integer>(board)).takesTheSquare();

    // Every letter a piece of the tray; each piece once, in its own shape.
    std::map<char, Cells> &cells = grid.cells;
    std::map<char, std::pair<int, int>> first; // as typed: row, column
    for (int r = 0; r < t.rows; ++r)
        for (int c = 0; c < t.cols; ++c) {
            const char l = t.at(r, c);
            if (position && l == '.')
                continue;
            if (Pentominoes.find(l) == std::string_view::npos && !(square && l == Square))
                return fail(Fault::Letter,
                            t.text(r, c) + " at " + t.place(r, c) +
                                " is not a piece: the pieces are F I L N P T U V W X Y Z" +
                                (square ? " and O, the 2 x 2 square." : "."));
            cells[l].emplace_back(c, r);
            first.emplace(l, std::pair(r, c));
        }
    if (square && (!position || !cells[Square].empty())) {
        if (cells[Square].empty())
            return fail(Fault::Missing, "The 2 x 2 square (O) of the 8 x 8 tray is missing.");
        if (normalised(cells[Square]) != Cells{{0, 0}, {0, 1}, {1, 0}, {1, 1}})
            return fail(Fault::Shape, "The O cells, the first at " +
                                          t.place(first[Square].first, first[Square].second) +
                                          ", are not one 2 x 2 square.");
    }
    for (char l : Pentominoes) {
        const std::size_t n = cells[l].size();
        if (n == 0 && position)
            continue;
        if (n == 0)
            return fail(Fault::Missing, std::string("There is no ") + l + " piece.");
        if (n % 5 == 0 && n > 5)
            return fail(Fault::Repeated,
                        "There are " + std::to_string(n / 5) + " " + l + " pieces, not one.");
        const auto it = shapes().find(normalised(cells[l]));
        if (it == shapes().end() || it->second != l)
            return fail(Fault::Shape, std::string("The ") + l + " cells, the first at " +
                                          t.place(first[l].first, first[l].second) +
                                          ", are not one " + l + " pentomino.");
    }
    return grid;
}

} // namespace

Expected<ReadTiling, LetterGridError> readLetterGrid(std::string_view text)
{
    std::string converted;
    auto checked = checkedGrid(text, converted, false);
    if (!checked)
        return checked.error();
    const Typed &t = checked->t;
    const int board = checked->board;
    const bool across = checked->across;

    // The records of the tiling's images in the tray: turned and reflected,
    // and on the square tray also laid across.
    const TrayInfo &tray = Trays[static_cast<std::size_t>(board)];
    ReadTiling read{static_cast<Integer>(board), {}};
    for (const int g : trayOf(static_cast<Integer>(board)).symmetries())
        read.images.push_back(recordOf(tray, [&](int column, int row) {
            const auto [c, r] = movedCell(g, column, row, tray.cols, tray.rows);
            return across ? t.at(c, r) : t.at(r, c);
        }));
    std::sort(read.images.begin(), read.images.end());
    read.images.erase(std::unique(read.images.begin(), read.images.end()), read.images.end());
    return read;
}

Expected<Tiling, LetterGridError> readPosition(std::string_view text, bool *across)
{
    std::string converted;
    auto checked = checkedGrid(text, converted, true);
    if (!checked)
        return checked.error();
    if (across)
        *across = checked->across;
    const TrayInfo &tray = Trays[static_cast<std::size_t>(checked->board)];
    Tiling position{static_cast<Integer>(checked->board), tray.cols, tray.rows, {}, {}};
    // Laid as the tray lies: a grid across it is turned onto it.
    for (const auto &[letter, cells] : checked->cells) {
        if (cells.empty())
            continue;
        std::vector<ColumnRow> at;
        for (auto [c, r] : cells)
            at.push_back(checked->across ? ColumnRow{r, c} : ColumnRow{c, r});
        Placement p{SquarePiece, {}, static_cast<int>(at.size())};
        if (letter != Square)
            p.shape = orientationOf(at).value_or(0);
        for (std::size_t k = 0; k < at.size(); ++k)
            p.cells[k] = static_cast<Integer>(at[k].column * position.stride() + at[k].row);
        sortCells(p);
        position.placements.push_back(p);
    }
    std::stable_partition(position.placements.begin(), position.placements.end(),
                          [](const Placement &p) { return p.shape == SquarePiece; });
    return position;
}

std::string letterRows(const Tiling &tiling)
{
    std::string text = letterGrid(tiling);
    std::replace(text.begin(), text.end(), '/', '\n');
    return text + '\n';
}

} // namespace tw
