#include "solutions/Region.h"

#include "pieces/PieceTables.h"
#include "solutions/TextInput.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>

namespace tw {

namespace {

constexpr std::string_view PieceLetters = "FILNPTUVWXYZ";

std::string at(int column, int row)
{
    return "row " + std::to_string(row + 1) + ", column " + std::to_string(column + 1);
}

using Cells = std::bitset<Tray::MaxSide * Tray::MaxSide>;

std::size_t bit(int column, int row)
{
    return static_cast<std::size_t>(column * Tray::MaxSide + row);
}

// The cells of every orientation of every piece, the first at (0, 0); the
// square last, as letter 'O'.
struct PieceForm
{
    char letter;
    std::vector<ColumnRow> cells;
};

const std::vector<PieceForm> &pieceForms()
{
    static const std::vector<PieceForm> forms = [] {
        std::vector<PieceForm> list;
        for (int n = 0; n < OrientationCount; ++n) {
            const clsShape &shape = orientation(n);
            PieceForm form{shape.Letter.empty() ? '?' : shape.Letter[0], {{0, 0}}};
            for (const ColumnRow step : squareSteps(shape))
                form.cells.push_back(step);
            list.push_back(std::move(form));
        }
        list.push_back({'O', {{0, 0}, {1, 0}, {0, 1}, {1, 1}}});
        return list;
    }();
    return forms;
}

} // namespace

std::optional<std::string> regionFault(const Tray &tray)
{
    if (tray.cellCount() != 60 && tray.cellCount() != 64)
        return "a tray needs 60 cells, or 64 with the square; this one has " +
               std::to_string(tray.cellCount());
    return std::nullopt;
}

namespace {

// The cells the text draws, each with its character as typed (upper case;
// '#' for a cell without a letter, '.' for an empty cell where dots are
// cells), at (column, row) from the top-left of their box; or why not.
struct Drawn
{
    std::vector<std::pair<int, int>> at;
    std::string letters;
    int cols = 0, rows = 0;
};

Expected<Drawn, std::string> scan(std::string_view text, bool dotsAreCells)
{
    std::string converted;
    const std::string_view source = asUtf8(text, converted);
    Drawn drawn;
    int row = 0, column = 0;
    for (std::size_t k = 0; k < source.size();) {
        const std::size_t length = characterLength(source, k);
        const char c = source[k];
        const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (c == '\n') {
            ++row;
            column = 0;
        } else if (c == '\r' && (k + 1 == source.size() || source[k + 1] == '\n')) {
            // a CRLF line end
        } else if (c == ' ' || (c == '.' && !dotsAreCells)) {
            ++column;
        } else if (length == 1 && (c == '#' || c == '.' || upper == 'O' ||
                                   PieceLetters.find(upper) != std::string_view::npos)) {
            drawn.at.emplace_back(column++, row);
            drawn.letters += upper;
        } else {
            return at(column, row) + ": " + shown(source.substr(k, length)) +
                   " is neither a cell (# or a piece letter) nor a gap (. or a space)";
        }
        k += length;
    }
    if (!drawn.at.empty()) {
        int left = drawn.at.front().first, top = drawn.at.front().second;
        int right = left, bottom = top;
        for (const auto &[c, r] : drawn.at) {
            left = std::min(left, c), right = std::max(right, c);
            top = std::min(top, r), bottom = std::max(bottom, r);
        }
        for (auto &[c, r] : drawn.at)
            c -= left, r -= top;
        drawn.cols = right - left + 1, drawn.rows = bottom - top + 1;
    }
    return drawn;
}

Expected<Tray, std::string> trayOfDrawn(const Drawn &drawn, std::string label)
{
    if (drawn.cols > Tray::MaxSide || drawn.rows > Tray::MaxSide)
        return "a tray fits in 32 x 32 cells; this one is " + std::to_string(drawn.cols) + " x " +
               std::to_string(drawn.rows);
    Cells bits;
    for (const auto &[c, r] : drawn.at)
        bits.set(bit(c, r));
    Tray tray(std::move(label), drawn.cols, drawn.rows, bits);
    if (auto fault = regionFault(tray))
        return *fault;
    return tray;
}

// Of the turns and reflections of the box, the one that lays the region in
// its standard orientation: the widest, then the one whose cells come
// first column by column.
int standardMove(const Tray &tray)
{
    int best = 0;
    std::string bestKey;
    for (int g = 0; g < 8; ++g) {
        const int cols = g & 4 ? tray.rows() : tray.cols();
        const int rows = g & 4 ? tray.cols() : tray.rows();
        std::string key(static_cast<std::size_t>(cols * rows) + 1, '.');
        key[0] = static_cast<char>(Tray::MaxSide - cols);
        for (const auto &[c, r] : cellsInOrder(tray)) {
            const auto [mc, mr] = movedCell(g, c, r, tray.cols(), tray.rows());
            key[static_cast<std::size_t>(mc * rows + mr) + 1] = '#';
        }
        // A cell before a gap ('#' sorts before '.').
        if (g == 0 || key < bestKey)
            best = g, bestKey = std::move(key);
    }
    return best;
}

} // namespace

Tray turned(const Tray &tray, int g)
{
    Cells bits;
    for (const auto &[c, r] : cellsInOrder(tray)) {
        const auto [mc, mr] = movedCell(g, c, r, tray.cols(), tray.rows());
        bits.set(bit(mc, mr));
    }
    return Tray(tray.label(), g & 4 ? tray.rows() : tray.cols(), g & 4 ? tray.cols() : tray.rows(),
                bits);
}


Expected<Tray, std::string> readRegion(std::string_view text, std::string label)
{
    const auto drawn = scan(text, false);
    if (!drawn)
        return drawn.error();
    return trayOfDrawn(*drawn, std::move(label));
}

Expected<RegionTiling, std::string> readRegionTiling(std::string_view text, bool position)
{
    const auto drawn = scan(text, position);
    if (!drawn)
        return drawn.error();
    if (drawn->letters.find('#') != std::string::npos)
        return std::string("a tiling has a piece letter in each cell, not \"#\"");
    const auto tray = trayOfDrawn(*drawn, {});
    if (!tray)
        return tray.error();
    const int g = standardMove(*tray);
    RegionTiling read{turned(*tray, g), {}};
    std::map<std::pair<int, int>, char> letterAt;
    for (std::size_t k = 0; k < drawn->at.size(); ++k)
        letterAt[movedCell(g, drawn->at[k].first, drawn->at[k].second, tray->cols(), tray->rows())] =
            drawn->letters[k];
    for (const auto &cell : cellsInOrder(read.tray))
        read.letters += letterAt[cell];
    if (const auto fault = tilingFault(read.tray, read.letters, position))
        return "this is not a tiling of the region it draws: " + *fault;
    if (!position)
        read.letters = smallestImage(read.letters, cellImages(read.tray));
    return read;
}

Tray standardOrientation(const Tray &tray)
{
    return turned(tray, standardMove(tray));
}

std::string regionText(const Tray &tray)
{
    std::string text;
    for (int r = 0; r < tray.rows(); ++r) {
        for (int c = 0; c < tray.cols(); ++c)
            text += tray.has(c, r) ? '#' : '.';
        text += '\n';
    }
    return text;
}

std::optional<Obstacle> visibleObstacle(const Tray &tray)
{
    // Parts of the region, cells joined side by side.
    std::vector<std::vector<std::pair<int, int>>> parts;
    Cells seen;
    for (const auto &start : cellsInOrder(tray)) {
        if (seen.test(bit(start.first, start.second)))
            continue;
        std::vector<std::pair<int, int>> part{start};
        seen.set(bit(start.first, start.second));
        for (std::size_t k = 0; k < part.size(); ++k) {
            const auto [c, r] = part[k];
            for (const auto &[dc, dr] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
                if (tray.has(c + dc, r + dr) && !seen.test(bit(c + dc, r + dr))) {
                    seen.set(bit(c + dc, r + dr));
                    part.emplace_back(c + dc, r + dr);
                }
        }
        parts.push_back(std::move(part));
    }
    bool squarePlaced = !tray.takesTheSquare();
    for (auto &part : parts) {
        const std::size_t left = part.size() % 5;
        bool fits = left == 0;
        if (left == 4 && !squarePlaced) {
            squarePlaced = true;
            fits = part.size() > 4 || [&] {
                const auto [c, r] = *std::min_element(part.begin(), part.end());
                return tray.has(c + 1, r) && tray.has(c, r + 1) && tray.has(c + 1, r + 1);
            }();
        }
        if (!fits) {
            std::sort(part.begin(), part.end(), [](auto a, auto b) {
                return std::pair(a.second, a.first) < std::pair(b.second, b.first);
            });
            const std::string where = at(part.front().first, part.front().second);
            // Any five cells joined side by side make a pentomino, so a
            // cell no piece can cover lies in a part of fewer than five.
            if (part.size() == 1)
                return Obstacle{"no piece can cover the cell at " + where, part};
            if (part.size() < 5)
                return Obstacle{"no piece can cover the part of " + std::to_string(part.size()) +
                                    " cells at " + where,
                                part};
            return Obstacle{"the part of " + std::to_string(part.size()) + " cells at " + where +
                                " cannot be made up of the pieces (" +
                                (tray.takesTheSquare()
                                     ? "one part may have 4 cells over a multiple of 5, for the "
                                       "square; every other part needs a multiple of 5)"
                                     : "each part needs a multiple of 5 cells)"),
                            part};
        }
    }
    return std::nullopt;
}

std::vector<std::pair<int, int>> cellsInOrder(const Tray &tray)
{
    std::vector<std::pair<int, int>> cells;
    for (int c = 0; c < tray.cols(); ++c)
        for (int r = 0; r < tray.rows(); ++r)
            if (tray.has(c, r))
                cells.emplace_back(c, r);
    return cells;
}

std::vector<std::vector<int>> cellImages(const Tray &tray)
{
    const auto cells = cellsInOrder(tray);
    std::vector<int> position(Tray::MaxSide * Tray::MaxSide, -1);
    for (std::size_t k = 0; k < cells.size(); ++k)
        position[bit(cells[k].first, cells[k].second)] = static_cast<int>(k);
    std::vector<std::vector<int>> images;
    for (const int g : tray.symmetries()) {
        std::vector<int> image;
        for (const auto &[c, r] : cells) {
            const auto [mc, mr] = movedCell(g, c, r, tray.cols(), tray.rows());
            image.push_back(position[bit(mc, mr)]);
        }
        images.push_back(std::move(image));
    }
    return images;
}

CellLetters smallestImage(const CellLetters &tiling, const std::vector<std::vector<int>> &images)
{
    CellLetters best = tiling, image(tiling.size(), ' ');
    for (const auto &moved : images) {
        for (std::size_t k = 0; k < tiling.size() && k < moved.size(); ++k)
            image[static_cast<std::size_t>(moved[k])] = tiling[k];
        best = std::min(best, image);
    }
    return best;
}

std::optional<std::string> tilingFault(const Tray &tray, const CellLetters &letters, bool partial)
{
    const auto cells = cellsInOrder(tray);
    if (letters.size() != cells.size())
        return "it has " + std::to_string(letters.size()) + " cells, the tray " +
               std::to_string(cells.size());
    std::string wanted(PieceLetters);
    if (tray.takesTheSquare())
        wanted += 'O';
    for (const char letter : wanted) {
        std::vector<std::pair<int, int>> piece;
        for (std::size_t k = 0; k < cells.size(); ++k)
            if (letters[k] == letter)
                piece.push_back(cells[k]);
        if (piece.empty() && partial)
            continue;
        if (piece.empty())
            return std::string("the ") + letter + " is missing";
        bool matches = false;
        for (const PieceForm &form : pieceForms()) {
            if (form.letter != letter || form.cells.size() != piece.size())
                continue;
            // piece is in column order, so its first cell is the form's first.
            const auto [c0, r0] = piece.front();
            matches = std::all_of(form.cells.begin(), form.cells.end(), [&](ColumnRow s) {
                return std::find(piece.begin(), piece.end(),
                                 std::pair(c0 + s.column, r0 + s.row)) != piece.end();
            });
            if (matches)
                break;
        }
        if (!matches)
            return std::string("the cells of ") + letter + " are not that piece";
    }
    for (const char letter : letters)
        if (wanted.find(letter) == std::string::npos && !(partial && letter == '.'))
            return std::string("\"") + letter + "\" is not a piece of the tray";
    return std::nullopt;
}

std::string letterLine(const Tray &tray, const CellLetters &letters)
{
    const auto cells = cellsInOrder(tray);
    std::vector<std::string> rows(static_cast<std::size_t>(tray.rows()),
                                  std::string(static_cast<std::size_t>(tray.cols()), '.'));
    for (std::size_t k = 0; k < cells.size() && k < letters.size(); ++k)
        rows[static_cast<std::size_t>(cells[k].second)][static_cast<std::size_t>(cells[k].first)] =
            letters[k];
    std::string line;
    for (const auto &row : rows)
        line += (line.empty() ? "" : "/") + row;
    return line;
}

} // namespace tw

namespace tw {

std::vector<std::uint64_t> placementsOf(const Tray &tray, char letter)
{
    std::vector<std::uint64_t> masks;
    const auto cells = cellsInOrder(tray);
    if (cells.size() > 64)
        return masks;
    std::vector<int> number(Tray::MaxSide * Tray::MaxSide, -1);
    for (std::size_t k = 0; k < cells.size(); ++k)
        number[bit(cells[k].first, cells[k].second)] = static_cast<int>(k);
    for (const PieceForm &form : pieceForms()) {
        if (form.letter != letter)
            continue;
        for (const auto &[c, r] : cells) {
            std::uint64_t mask = 0;
            bool inside = true;
            for (const ColumnRow s : form.cells) {
                inside = inside && tray.has(c + s.column, r + s.row);
                if (inside)
                    mask |= std::uint64_t{1} << number[bit(c + s.column, r + s.row)];
            }
            if (inside)
                masks.push_back(mask);
        }
    }
    return masks;
}

} // namespace tw

namespace tw {

Tiling emptyTiling(const Tray &tray, Integer board)
{
    Tiling tiling{board, static_cast<Integer>(tray.cols()), static_cast<Integer>(tray.rows()), {}, {}};
    for (int c = 0; c < tray.cols(); ++c)
        for (int r = 0; r < tray.rows(); ++r)
            if (!tray.has(c, r))
                tiling.holes.push_back(static_cast<Integer>(c * tiling.stride() + r));
    return tiling;
}

Tiling tilingOf(const Tray &tray, Integer board, const CellLetters &letters)
{
    Tiling tiling = emptyTiling(tray, board);
    const auto cells = cellsInOrder(tray);
    std::string order = "OX";
    for (std::size_t k = 0; k < cells.size() && k < letters.size(); ++k)
        if (letters[k] != '.' && order.find(letters[k]) == std::string::npos)
            order += letters[k];
    for (const char letter : order) {
        Placement p{0, {}, 0};
        std::vector<ColumnRow> at;
        for (std::size_t k = 0; k < cells.size() && k < letters.size(); ++k)
            if (letters[k] == letter && p.cellCount < 5) {
                p.cells[static_cast<std::size_t>(p.cellCount++)] =
                    static_cast<Integer>(cells[k].first * tiling.stride() + cells[k].second);
                at.push_back({cells[k].first, cells[k].second});
            }
        if (p.cellCount == 0)
            continue;
        p.shape = letter == 'O' ? SquarePiece : orientationOf(at).value_or(0);
        tiling.placements.push_back(p);
    }
    return tiling;
}

} // namespace tw
