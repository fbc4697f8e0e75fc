#include "solutions/Decoding.h"

#include "pieces/PieceState.h"
#include "pieces/PieceTables.h"
#include "pieces/PreviewInterface.h"
#include "solutions/Boards.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <stdexcept>
#include <tuple>

namespace tw {

namespace {

std::string fieldName(int k)
{
    return "Shape" + std::to_string(k + 1);
}

DecodeError fail(DecodeFault fault, std::string message)
{
    return {fault, std::move(message)};
}

struct Steps
{
    std::array<ColumnRow, 5> step;
    int count;
};

const Steps &stepsOf(int shape)
{
    static const auto all = [] {
        std::array<Steps, OrientationCount> steps{};
        for (int n = 0; n < OrientationCount; ++n) {
            const auto s = squareSteps(orientation(n));
            steps[static_cast<std::size_t>(n)] = {{ColumnRow{0, 0}, s[0], s[1], s[2], s[3]}, 5};
        }
        return steps;
    }();
    return all[static_cast<std::size_t>(shape)];
}

const Steps SquareSteps{{ColumnRow{0, 0}, {0, 1}, {1, 0}, {1, 1}, {0, 0}}, 4};

// Why a piece cannot lie with its first square on (column, row) of the
// grid's tray, its cells steps away from there: a cell off the tray, or one
// covered already. what says who put the piece there.
template<class What>
std::optional<DecodeError> cannotLay(const PieceState &grid, int column, int row,
                                     const Steps &steps, const What &what)
{
    for (int k = 0; k < steps.count; ++k) {
        const int c = column + steps.step[static_cast<std::size_t>(k)].column;
        const int r = row + steps.step[static_cast<std::size_t>(k)].row;
        if (c < 0 || c >= grid.Cols || r < 0 || r >= grid.Rows)
            return fail(DecodeFault::OutsideTray, what() + " would leave the tray");
    }
    for (int k = 0; k < steps.count; ++k) {
        const int c = column + steps.step[static_cast<std::size_t>(k)].column;
        const int r = row + steps.step[static_cast<std::size_t>(k)].row;
        if (grid.BoardGrid[static_cast<std::size_t>(c * grid.Stride + r)])
            return fail(DecodeFault::Overlap, what() + " would overlap another piece at column " +
                                                  std::to_string(c + 1) + ", row " +
                                                  std::to_string(r + 1));
    }
    return std::nullopt;
}

// The grid each board's records are decoded on, one a thread, its shapes
// built once.
PieceState &gridOf(Integer board)
{
    thread_local std::array<std::optional<PieceState>, BoardCount> grids;
    auto &grid = grids.at(static_cast<std::size_t>(board));
    if (!grid)
        grid = boardGrid(board);
    return *grid;
}

std::string describe(int shape)
{
    return "the " + orientation(shape).Letter + " piece (orientation " + std::to_string(shape) +
           ")";
}

// The quick check's picture of a tray: its cells as the bits of a word
// (column by column, top to bottom, without the grid's sentinel row: at most
// 64 of them) and each piece's cells as bits relative to its first square.
using CellBits = std::uint64_t;

struct Reach
{
    CellBits cells = 0;   // shifted so that the nearest cell is bit 0
    int nearest = 0;      // the nearest cell's offset from the first square
    CellBits anchors = 0; // where the first square may go with every cell in the tray
};

struct TrayBits
{
    int cols = 0, rows = 0, stride = 0; // stride: the grid's, for the stored places
    CellBits all = 0;
    Reach square;
    std::array<Reach, OrientationCount> shapes;
    std::array<int, OrientationCount> piece{};
};

Reach reachOf(const Steps &steps, const TrayBits &t)
{
    Reach r;
    std::array<int, 5> offsets{};
    for (int k = 0; k < steps.count; ++k) {
        const ColumnRow d = steps.step[static_cast<std::size_t>(k)];
        offsets[static_cast<std::size_t>(k)] = d.column * t.rows + d.row;
    }
    r.nearest = *std::min_element(offsets.begin(), offsets.begin() + steps.count);
    for (int k = 0; k < steps.count; ++k)
        r.cells |= CellBits{1} << (offsets[static_cast<std::size_t>(k)] - r.nearest);
    for (int c = 0; c < t.cols; ++c)
        for (int row = 0; row < t.rows; ++row) {
            bool inside = true;
            for (int k = 0; k < steps.count; ++k) {
                const ColumnRow d = steps.step[static_cast<std::size_t>(k)];
                inside = inside && c + d.column >= 0 && c + d.column < t.cols && row + d.row >= 0 &&
                         row + d.row < t.rows;
            }
            if (inside)
                r.anchors |= CellBits{1} << (c * t.rows + row);
        }
    return r;
}

const TrayBits &trayBits(Integer board)
{
    static const std::array<TrayBits, BoardCount> trays = [] {
        std::array<TrayBits, BoardCount> all;
        for (std::size_t b = 0; b < all.size(); ++b) {
            TrayBits &t = all[b];
            t.cols = Trays[b].cols;
            t.rows = Trays[b].rows;
            t.stride = t.rows + 1;
            t.all = ~CellBits{0} >> (64 - t.cols * t.rows);
            t.square = reachOf(SquareSteps, t);
            for (int s = 0; s < OrientationCount; ++s) {
                t.shapes[static_cast<std::size_t>(s)] = reachOf(stepsOf(s), t);
                t.piece[static_cast<std::size_t>(s)] = orientation(s).Piece;
            }
        }
        return all;
    }();
    return trays[static_cast<std::size_t>(board)];
}

// Covers the piece's cells with its first square on cell at (column * rows
// + row), as CheckGrid::lay does, or says it cannot.
bool layBits(CellBits &covered, const Reach &piece, int at)
{
    if (!((piece.anchors >> at) & 1))
        return false;
    const CellBits cells = piece.cells << (at + piece.nearest);
    if (covered & cells)
        return false;
    covered |= cells;
    return true;
}

} // namespace

Expected<Tiling, DecodeError> DecodeSolution(Integer board, const SolutionRecord &record)
{
    if (!isBuiltIn(board))
        return fail(DecodeFault::OutsideTray, "board " + std::to_string(board) + " does not exist");
    return DecodeSolution(gridOf(board), board, record);
}

SolutionRecord recordOf(const RecordKey &key)
{
    SolutionRecord r;
    r.O_Index = key[0];
    r.X_Index = key[1];
    for (std::size_t k = 0; k < 11; ++k)
        r.Shape[k] = key[k + 2];
    return r;
}

bool fillsTray(Integer board, const RecordKey &key)
{
    const TrayBits &t = trayBits(board);
    bool pieceSeen[PieceCount] = {true}; // the X is laid from X_Index
    for (std::size_t k = 2; k < key.size(); ++k) {
        const int shape = key[k];
        if (shape < 0 || shape >= OrientationCount)
            return false;
        bool &seen = pieceSeen[t.piece[static_cast<std::size_t>(shape)]];
        if (seen)
            return false;
        seen = true;
    }
    CellBits covered = 0;
    if (board == SquareBoard) {
        // The square's place is read with a stride of 9 whatever the tray's.
        const int o = key[0];
        if (o < 0 || o / 9 >= t.cols || o % 9 >= t.rows ||
            !layBits(covered, t.square, o / 9 * t.rows + o % 9))
            return false;
    }
    const int x = key[1];
    if (x < 0 || x % t.stride >= t.rows || x / t.stride >= t.cols ||
        !layBits(covered, t.shapes[0], x / t.stride * t.rows + x % t.stride))
        return false;
    for (std::size_t k = 2; k < key.size(); ++k) {
        const CellBits free = t.all & ~covered;
        if (free == 0 ||
            !layBits(covered, t.shapes[static_cast<std::size_t>(key[k])], std::countr_zero(free)))
            return false;
    }
    return true;
}

bool smallestImage(Integer board, const RecordKey &key)
{
    constexpr int TheSquare = PieceCount; // the square's number beside the pieces'
    const TrayBits &t = trayBits(board);
    const int cells = t.cols * t.rows;
    // Each image of the tray: flipped left to right (bit 0), top to bottom
    // (bit 1), laid across the square (bit 2); where each cell goes.
    static const auto moves = [] {
        std::array<std::array<std::array<std::int8_t, 64>, 8>, BoardCount> all{};
        for (std::size_t b = 0; b < all.size(); ++b) {
            const int cols = Trays[b].cols, rows = Trays[b].rows;
            for (int g = 0; g < 8; ++g)
                for (int cell = 0; cell < cols * rows; ++cell) {
                    const auto [c, r] = (g & 4) && cols != rows
                                            ? std::pair{0, 0}
                                            : movedCell(g, cell / rows, cell % rows, cols, rows);
                    all[b][static_cast<std::size_t>(g)][static_cast<std::size_t>(cell)] =
                        static_cast<std::int8_t>(c * rows + r);
                }
        }
        return all;
    }();
    // Each cell's piece (12 for the square), laid as fillsTray lays them.
    std::array<std::int8_t, 64> pieceAt{};
    CellBits covered = 0, squareCells = 0, xCells = 0;
    const auto lay = [&](const Reach &reach, int at, int piece) {
        const CellBits before = covered;
        layBits(covered, reach, at);
        for (CellBits added = covered & ~before; added; added &= added - 1)
            pieceAt[static_cast<std::size_t>(std::countr_zero(added))] =
                static_cast<std::int8_t>(piece);
        return covered & ~before;
    };
    if (board == SquareBoard)
        squareCells = lay(t.square, key[0] / 9 * t.rows + key[0] % 9, TheSquare);
    xCells = lay(t.shapes[0], key[1] / t.stride * t.rows + key[1] % t.stride, 0);
    for (std::size_t k = 2; k < key.size(); ++k)
        lay(t.shapes[static_cast<std::size_t>(key[k])], std::countr_zero(t.all & ~covered),
            t.piece[static_cast<std::size_t>(key[k])]);

    // An image's record starts with where the square and the X begin,
    // which mostly settles the comparison.
    std::array<std::int8_t, 64> image{};
    for (const int g : trayOf(board).symmetries()) {
        if (g == 0)
            continue;
        const auto &move = moves[static_cast<std::size_t>(board)][static_cast<std::size_t>(g)];
        const auto firstOf = [&](CellBits of) {
            int first = cells;
            for (; of; of &= of - 1)
                first = std::min<int>(first, move[static_cast<std::size_t>(std::countr_zero(of))]);
            return first;
        };
        RecordKey other{};
        if (board == SquareBoard) {
            const int square = firstOf(squareCells);
            other[0] = static_cast<Integer>(square / t.rows * 9 + square % t.rows);
        }
        const int x = firstOf(xCells);
        other[1] = static_cast<Integer>(x / t.rows * t.stride + x % t.rows);
        if (std::tie(other[0], other[1]) != std::tie(key[0], key[1])) {
            if (std::tie(other[0], other[1]) < std::tie(key[0], key[1]))
                return false;
            continue;
        }
        for (int cell = 0; cell < cells; ++cell)
            image[static_cast<std::size_t>(move[static_cast<std::size_t>(cell)])] =
                pieceAt[static_cast<std::size_t>(cell)];
        // The other pieces in the order of their first cells, each as the
        // orientation that covers its cells from there.
        std::size_t next = 2;
        std::array<bool, 13> seen{};
        seen[0] = seen[TheSquare] = true;
        for (int at = 0; at < cells; ++at) {
            const int piece = image[static_cast<std::size_t>(at)];
            if (seen[static_cast<std::size_t>(piece)])
                continue;
            seen[static_cast<std::size_t>(piece)] = true;
            CellBits mask = 0;
            for (int k = at; k < cells; ++k)
                if (image[static_cast<std::size_t>(k)] == piece)
                    mask |= CellBits{1} << k;
            for (int shape = 1; shape < OrientationCount; ++shape) {
                const Reach &reach = t.shapes[static_cast<std::size_t>(shape)];
                if (t.piece[static_cast<std::size_t>(shape)] == piece && at + reach.nearest >= 0 &&
                    ((reach.anchors >> at) & 1) && reach.cells << (at + reach.nearest) == mask) {
                    other[next++] = static_cast<Integer>(shape);
                    break;
                }
            }
        }
        if (other < key)
            return false;
    }
    return true;
}

std::string letterGrid(const Tiling &tiling)
{
    const int stride = tiling.stride();
    std::vector<char> letters(static_cast<std::size_t>((tiling.cols + 1) * stride), '.');
    for (const Integer h : tiling.holes)
        letters.at(static_cast<std::size_t>(h)) = ' ';
    for (const Placement &p : tiling.placements)
        for (int k = 0; k < p.cellCount; ++k)
            letters.at(static_cast<std::size_t>(p.cells[static_cast<std::size_t>(k)])) =
                p.shape == SquarePiece ? 'O' : orientation(p.shape).Letter.at(0);
    std::string text;
    for (int r = 0; r < tiling.rows; ++r) {
        if (r > 0)
            text += '/';
        for (int c = 0; c < tiling.cols; ++c)
            text += letters[static_cast<std::size_t>(c * stride + r)];
    }
    return text;
}

void BuildBoardShapes(PieceState &board)
{
    board.BoardShapes.clear();
    for (const PieceCollection &piece : LoadShapes()) {
        for (const clsShape &source : piece) {
            clsShape s;
            s.Color = source.Color;
            s.Piece = source.Piece;
            s.Shape = source.Shape;
            s.Letter = source.Letter;
            s.Square2 = source.Modify(board, source.Square2);
            s.Square3 = source.Modify(board, source.Square3);
            s.Square4 = source.Modify(board, source.Square4);
            s.Square5 = source.Modify(board, source.Square5);
            board.BoardShapes.push_back(std::move(s));
        }
    }
}

Expected<Tiling, DecodeError> DecodeSolution(PieceState &board, Integer boardIndex,
                                             const SolutionRecord &record)
{
    if (board.BoardShapes.size() != OrientationCount)
        throw std::logic_error("DecodeSolution needs BoardShapes built for the board");
    if (!record.O_Index)
        return fail(DecodeFault::MissingValue, "O_Index is missing");
    if (!record.X_Index)
        return fail(DecodeFault::MissingValue, "X_Index is missing");
    for (int k = 0; k < 11; ++k)
        if (!record.Shape[static_cast<std::size_t>(k)])
            return fail(DecodeFault::MissingValue, fieldName(k) + " is missing");
    // Unused on the rectangles, but read everywhere as a 16-bit number.
    if (!fitsInteger(*record.O_Index))
        return fail(DecodeFault::ValueOutOfRange, "O_Index is " + std::to_string(*record.O_Index) +
                                                      ", outside the range -32768 to 32767");

    bool pieceSeen[PieceCount] = {true}; // the X is laid from X_Index
    for (int k = 0; k < 11; ++k) {
        const long long shape = *record.Shape[static_cast<std::size_t>(k)];
        if (shape < 0 || shape >= OrientationCount)
            return fail(DecodeFault::BadOrientation,
                        fieldName(k) + " is " + std::to_string(shape) +
                            ", which is not an orientation number (0 to 62)");
        const clsShape &s = orientation(static_cast<int>(shape));
        if (pieceSeen[s.Piece])
            return fail(DecodeFault::RepeatedPiece,
                        fieldName(k) + " lays a second " + s.Letter + " piece");
        pieceSeen[s.Piece] = true;
    }

    // Each piece is checked where it would lie, then laid by Fits, which
    // moves NextCell to where the next one goes.
    ClearBoard(board);
    Tiling tiling{boardIndex, board.Cols, board.Rows, {}, {}};
    tiling.placements.reserve(13);
    if (trayOf(boardIndex).takesTheSquare()) {
        const long long o = *record.O_Index;
        const auto what = [o] {
            return "O_Index " + std::to_string(o) + " puts the 2 x 2 square where it";
        };
        if (o < 0 || o / 9 >= board.Cols || o % 9 >= board.Rows)
            return fail(DecodeFault::OutsideTray, what() + " would leave the tray");
        const int column = static_cast<int>(o / 9), row = static_cast<int>(o % 9);
        if (auto e = cannotLay(board, column, row, SquareSteps, what))
            return *e;
        Placement square{SquarePiece, {}, 4};
        for (int k = 0; k < 4; ++k) {
            const ColumnRow d = SquareSteps.step[static_cast<std::size_t>(k)];
            square.cells[static_cast<std::size_t>(k)] =
                toInteger((column + d.column) * board.Stride + row + d.row);
            board.BoardGrid[static_cast<std::size_t>(square.cells[static_cast<std::size_t>(k)])] =
                true;
        }
        tiling.placements.push_back(square);
    }

    const long long x = *record.X_Index;
    const auto xWhat = [x] { return "X_Index " + std::to_string(x) + " puts the X where it"; };
    if (x < 0 || x % board.Stride >= board.Rows || x / board.Stride >= board.Cols)
        return fail(DecodeFault::OutsideTray, xWhat() + " would leave the tray");
    if (auto e = cannotLay(board, static_cast<int>(x / board.Stride),
                           static_cast<int>(x % board.Stride), stepsOf(0), xWhat))
        return *e;
    const clsShape &cross = board.BoardShapes[0];
    tiling.placements.push_back(cross.placedAt(toInteger(x)));
    cross.Fits(board, toInteger(x));

    // The X need not be first: the pieces after it start from the first
    // free cell of all.
    int first = 0;
    while (first <= board.GridMax && board.BoardGrid[static_cast<std::size_t>(first)])
        ++first;
    board.NextCell = toInteger(first);
    for (int k = 0; k < 11; ++k) {
        const int shape = static_cast<int>(*record.Shape[static_cast<std::size_t>(k)]);
        const auto what = [&] { return fieldName(k) + " lays " + describe(shape) + " where it"; };
        if (board.NextCell > board.GridMax)
            return fail(DecodeFault::Overlap, what() + " finds no free cell left");
        if (auto e = cannotLay(board, board.NextCell / board.Stride, board.NextCell % board.Stride,
                               stepsOf(shape), what))
            return *e;
        const clsShape &piece = board.BoardShapes[static_cast<std::size_t>(shape)];
        tiling.placements.push_back(piece.placedAt(board.NextCell));
        piece.Fits(board, board.NextCell);
    }
    return tiling;
}

} // namespace tw
