#include "solutions/Region.h"

#include "pieces/PieceTables.h"
#include "solutions/TextInput.h"

#include <algorithm>
#include <array>
#include <cctype>

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
    if (tray.cols() > Tray::MaxSide || tray.rows() > Tray::MaxSide)
        return "a tray fits in 32 x 32 cells; this one is " + std::to_string(tray.cols()) + " x " +
               std::to_string(tray.rows());
    if (tray.cellCount() != 60 && tray.cellCount() != 64)
        return "a tray needs 60 cells, or 64 with the square; this one has " +
               std::to_string(tray.cellCount());
    return std::nullopt;
}

Expected<Tray, std::string> readRegion(std::string_view text, std::string label)
{
    std::string converted;
    const std::string_view source = asUtf8(text, converted);
    std::vector<std::pair<int, int>> cells;
    int row = 0, column = 0;
    for (std::size_t k = 0; k < source.size();) {
        const std::size_t length = characterLength(source, k);
        const char c = source[k];
        if (c == '\n') {
            ++row;
            column = 0;
        } else if (c == '\r' && (k + 1 == source.size() || source[k + 1] == '\n')) {
            // a CRLF line end
        } else if (c == '.' || c == ' ') {
            ++column;
        } else if (length == 1 && (c == '#' || c == 'O' || c == 'o' ||
                                   PieceLetters.find(static_cast<char>(std::toupper(
                                       static_cast<unsigned char>(c)))) != std::string_view::npos)) {
            cells.emplace_back(column++, row);
        } else {
            return at(column, row) + ": " + shown(source.substr(k, length)) +
                   " is neither a cell (# or a piece letter) nor a gap (. or a space)";
        }
        k += length;
    }
    int left = 0, top = 0, cols = 0, rows = 0;
    if (!cells.empty()) {
        left = cells.front().first, top = cells.front().second;
        int right = left, bottom = top;
        for (const auto &[c, r] : cells) {
            left = std::min(left, c), right = std::max(right, c);
            top = std::min(top, r), bottom = std::max(bottom, r);
        }
        cols = right - left + 1, rows = bottom - top + 1;
    }
    if (cols > Tray::MaxSide || rows > Tray::MaxSide)
        return "a tray fits in 32 x 32 cells; this one is " + std::to_string(cols) + " x " +
               std::to_string(rows);
    Cells bits;
    for (const auto &[c, r] : cells)
        bits.set(bit(c - left, r - top));
    Tray tray(std::move(label), cols, rows, bits);
    if (auto fault = regionFault(tray))
        return *fault;
    return tray;
}

Tray standardOrientation(const Tray &tray)
{
    std::optional<Tray> best;
    std::string bestKey;
    for (int g = 0; g < 8; ++g) {
        const int cols = g & 4 ? tray.rows() : tray.cols();
        const int rows = g & 4 ? tray.cols() : tray.rows();
        Cells bits;
        for (int c = 0; c < tray.cols(); ++c)
            for (int r = 0; r < tray.rows(); ++r)
                if (tray.has(c, r)) {
                    // movedCell lays the box across after reflecting it, so
                    // reflections are of the original box.
                    const auto [mc, mr] = movedCell(g, c, r, tray.cols(), tray.rows());
                    bits.set(bit(mc, mr));
                }
        // The widest first; then, cell by cell column by column, a cell
        // before a gap ('#' sorts before '.').
        std::string key(1, static_cast<char>(Tray::MaxSide - cols));
        for (int c = 0; c < cols; ++c)
            for (int r = 0; r < rows; ++r)
                key += bits.test(bit(c, r)) ? '#' : '.';
        if (!best || key < bestKey) {
            best = Tray(tray.label(), cols, rows, bits);
            bestKey = std::move(key);
        }
    }
    return *best;
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

std::string symmetryWords(const Tray &tray)
{
    const std::vector<int> &g = tray.symmetries();
    const auto has = [&](int s) { return std::find(g.begin(), g.end(), s) != g.end(); };
    switch (g.size()) {
    case 8:
        return "the same under all 8 turns and reflections";
    case 4:
        if (has(1))
            return "the same under a half-turn and both mirrors";
        if (has(4))
            return "the same under a half-turn and both diagonal mirrors";
        return "the same under quarter-turns only";
    case 2:
        if (has(3))
            return "under a half-turn only";
        if (has(1))
            return "under a mirror left to right only";
        if (has(2))
            return "under a mirror top to bottom only";
        return "under a mirror across a diagonal only";
    default:
        return "no symmetry";
    }
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

std::optional<std::string> tilingFault(const Tray &tray, const CellLetters &letters)
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
        if (wanted.find(letter) == std::string::npos)
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
