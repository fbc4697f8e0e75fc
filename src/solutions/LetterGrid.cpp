#include "solutions/LetterGrid.h"

#include "pieces/PieceTables.h"
#include "solutions/Boards.h"

#include <algorithm>
#include <array>
#include <cctype>
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

// The letters as typed: row r, column c (0-based, blanks left out). A
// character outside ASCII is one column, kept whole for messages.
struct Typed
{
    int rows = 0, cols = 0;
    std::vector<std::string> letters;

    const std::string &text(int r, int c) const
    {
        return letters[static_cast<std::size_t>(r * cols + c)];
    }
    // The letter in upper case, or 0 for a character outside ASCII.
    char at(int r, int c) const
    {
        const std::string &l = text(r, c);
        return l.size() == 1 ? l[0] : '\0';
    }
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

Expected<ReadTiling, LetterGridError> readLetterGrid(std::string_view text)
{
    using Fault = LetterGridError::Fault;
    Typed t;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    for (std::size_t k = 0; k <= text.size();) {
        const unsigned char ch = k < text.size() ? static_cast<unsigned char>(text[k]) : '\n';
        if (ch == '\n') {
            if (!row.empty())
                rows.push_back(std::move(row));
            row.clear();
            ++k;
        } else if (ch == ' ' || ch == '\t' || ch == '\r') {
            ++k;
        } else {
            // A UTF-8 sequence: its lead byte and the continuation bytes.
            std::size_t end = k + 1;
            while (ch >= 0xC0 && end < text.size() &&
                   (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
                ++end;
            std::string letter(text.substr(k, end - k));
            if (letter.size() == 1)
                letter[0] = static_cast<char>(std::toupper(ch));
            row.push_back(std::move(letter));
            k = end;
        }
    }
    if (rows.empty())
        return fail(Fault::Empty, "There is no grid: write the tiling as rows of piece letters.");
    for (std::size_t r = 1; r < rows.size(); ++r)
        if (rows[r].size() != rows[0].size())
            return fail(Fault::Ragged,
                        "Row " + std::to_string(r + 1) + " has " + std::to_string(rows[r].size()) +
                            " letters where row 1 has " + std::to_string(rows[0].size()) + ".");
    t.rows = static_cast<int>(rows.size());
    t.cols = static_cast<int>(rows[0].size());
    for (auto &r : rows)
        for (auto &l : r)
            t.letters.push_back(std::move(l));

    // The tray, and whether the grid lies across it.
    int board = -1;
    bool across = false;
    for (int b = 0; b < BoardCount && board < 0; ++b) {
        const TrayInfo &tray = Trays[static_cast<std::size_t>(b)];
        if (t.rows == tray.rows && t.cols == tray.cols)
            board = b;
        else if (t.rows == tray.cols && t.cols == tray.rows)
            board = b, across = true;
    }
    if (board < 0)
        return fail(Fault::Size, "A grid of " + std::to_string(t.rows) + " rows of " +
                                     std::to_string(t.cols) +
                                     " letters fits no tray: the trays are 10 x 6, 12 x 5, "
                                     "15 x 4, 20 x 3 and 8 x 8.");
    const bool square = board == SquareBoard;

    // Every letter a piece of the tray; each piece once, in its own shape.
    std::map<char, Cells> cells;
    std::map<char, std::pair<int, int>> first; // as typed: row, column
    for (int r = 0; r < t.rows; ++r)
        for (int c = 0; c < t.cols; ++c) {
            const char l = t.at(r, c);
            if (Pentominoes.find(l) == std::string_view::npos && !(square && l == Square))
                return fail(Fault::Letter,
                            "\"" + t.text(r, c) + "\" at " + t.place(r, c) +
                                " is not a piece: the pieces are F I L N P T U V W X Y Z" +
                                (square ? " and O, the 2 x 2 square." : "."));
            cells[l].emplace_back(c, r);
            first.emplace(l, std::pair(r, c));
        }
    if (square) {
        if (cells[Square].empty())
            return fail(Fault::Missing, "The 2 x 2 square (O) of the 8 x 8 tray is missing.");
        if (normalised(cells[Square]) != Cells{{0, 0}, {0, 1}, {1, 0}, {1, 1}})
            return fail(Fault::Shape, "The O cells, the first at " +
                                          t.place(first[Square].first, first[Square].second) +
                                          ", are not one 2 x 2 square.");
    }
    for (char l : Pentominoes) {
        const std::size_t n = cells[l].size();
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

    // The records of the tiling's images in the tray: turned and reflected,
    // and on the square tray also laid across.
    const TrayInfo &tray = Trays[static_cast<std::size_t>(board)];
    ReadTiling read{static_cast<Integer>(board), {}};
    for (int g = 0; g < (square ? 8 : 4); ++g)
        read.images.push_back(recordOf(tray, [&](int c, int r) {
            if (g & 1)
                c = tray.cols - 1 - c;
            if (g & 2)
                r = tray.rows - 1 - r;
            if (g & 4)
                std::swap(c, r);
            return across ? t.at(c, r) : t.at(r, c);
        }));
    std::sort(read.images.begin(), read.images.end());
    read.images.erase(std::unique(read.images.begin(), read.images.end()), read.images.end());
    return read;
}

std::string letterRows(const Tiling &tiling)
{
    std::string text = letterGrid(tiling);
    std::replace(text.begin(), text.end(), '/', '\n');
    return text + '\n';
}

} // namespace tw
