#include "solutions/Decoding.h"

#include "app/SharedState.h"
#include "pieces/PieceTables.h"
#include "preview/PreviewInterface.h"
#include "solutions/Boards.h"

#include <stdexcept>

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

// The board grid of the tray being checked: which piece covers each cell.
class CheckGrid
{
public:
    explicit CheckGrid(const TrayInfo &tray)
        : m_cols(tray.cols), m_rows(tray.rows), m_stride(tray.rows + 1),
          m_cover(static_cast<std::size_t>((tray.cols + 1) * (tray.rows + 1) + 1), -2)
    {}

    int stride() const { return m_stride; }

    // Covers the cells (column + dc, row + dr) for the given steps, or names
    // what is wrong. what is the piece's description for the message.
    std::optional<DecodeError> lay(int column, int row, const std::vector<ColumnRow> &steps,
                                   Integer shape, const std::string &what, Placement &placed)
    {
        placed.shape = shape;
        placed.cells.clear();
        for (const ColumnRow &s : steps) {
            const int c = column + s.column;
            const int r = row + s.row;
            if (c < 0 || c >= m_cols || r < 0 || r >= m_rows)
                return fail(DecodeFault::OutsideTray, what + " would leave the tray");
        }
        for (const ColumnRow &s : steps) {
            const int c = column + s.column;
            const int r = row + s.row;
            if (m_cover[index(c, r)] != -2)
                return fail(DecodeFault::Overlap, what + " would overlap another piece at column " +
                                                      std::to_string(c + 1) + ", row " +
                                                      std::to_string(r + 1));
            placed.cells.push_back(static_cast<Integer>(index(c, r)));
        }
        for (Integer cell : placed.cells)
            m_cover[static_cast<std::size_t>(cell)] = shape;
        return std::nullopt;
    }

    // First free cell in scan order, as column and row; nullopt when full.
    std::optional<ColumnRow> firstFree() const
    {
        for (int c = 0; c < m_cols; ++c)
            for (int r = 0; r < m_rows; ++r)
                if (m_cover[index(c, r)] == -2)
                    return ColumnRow{c, r};
        return std::nullopt;
    }

private:
    std::size_t index(int c, int r) const { return static_cast<std::size_t>(c * m_stride + r); }

    int m_cols, m_rows, m_stride;
    std::vector<int> m_cover; // -2 free, else the covering shape
};

std::vector<ColumnRow> stepsOf(int shape)
{
    std::vector<ColumnRow> steps{{0, 0}};
    for (const ColumnRow &s : squareSteps(orientation(shape)))
        steps.push_back(s);
    return steps;
}

std::string describe(int shape)
{
    return "the " + orientation(shape).Letter + " piece (orientation " + std::to_string(shape) +
           ")";
}

} // namespace

Expected<Tiling, DecodeError> tileRecord(Integer board, const SolutionRecord &record)
{
    if (board < 0 || board >= BoardCount)
        return fail(DecodeFault::OutsideTray, "board " + std::to_string(board) + " does not exist");
    if (!record.O_Index)
        return fail(DecodeFault::MissingValue, "O_Index is missing");
    if (!record.X_Index)
        return fail(DecodeFault::MissingValue, "X_Index is missing");
    for (int k = 0; k < 11; ++k)
        if (!record.Shape[k])
            return fail(DecodeFault::MissingValue, fieldName(k) + " is missing");

    // Unused on the rectangles, but read everywhere as a 16-bit number.
    if (!fitsInteger(*record.O_Index))
        return fail(DecodeFault::ValueOutOfRange, "O_Index is " + std::to_string(*record.O_Index) +
                                                      ", outside the range -32768 to 32767");

    bool pieceSeen[PieceCount] = {true}; // the X is laid from X_Index
    for (int k = 0; k < 11; ++k) {
        const long long shape = *record.Shape[k];
        if (shape < 0 || shape >= OrientationCount)
            return fail(DecodeFault::BadOrientation,
                        fieldName(k) + " is " + std::to_string(shape) +
                            ", which is not an orientation number (0 to 62)");
        const int piece = orientation(static_cast<int>(shape)).Piece;
        if (pieceSeen[piece])
            return fail(DecodeFault::RepeatedPiece,
                        fieldName(k) + " lays a second " +
                            orientation(static_cast<int>(shape)).Letter + " piece");
        pieceSeen[piece] = true;
    }

    const TrayInfo &tray = Trays[static_cast<std::size_t>(board)];
    CheckGrid grid(tray);
    Tiling tiling{board, {}};
    Placement placed;

    if (board == SquareBoard) {
        const long long o = *record.O_Index;
        const std::string what = "O_Index " + std::to_string(o) + " puts the 2 x 2 square where it";
        if (o < 0 || o / 9 >= tray.cols || o % 9 >= tray.rows)
            return fail(DecodeFault::OutsideTray, what + " would leave the tray");
        if (auto e = grid.lay(static_cast<int>(o / 9), static_cast<int>(o % 9),
                              {{0, 0}, {0, 1}, {1, 0}, {1, 1}}, SquarePiece, what, placed))
            return *e;
        tiling.placements.push_back(placed);
    }

    const long long x = *record.X_Index;
    const std::string xWhat = "X_Index " + std::to_string(x) + " puts the X where it";
    if (x < 0 || x % grid.stride() >= tray.rows)
        return fail(DecodeFault::OutsideTray, xWhat + " would leave the tray");
    const long long xColumn = x / grid.stride();
    if (xColumn >= tray.cols)
        return fail(DecodeFault::OutsideTray, xWhat + " would leave the tray");
    if (auto e = grid.lay(static_cast<int>(xColumn), static_cast<int>(x % grid.stride()),
                          stepsOf(0), 0, xWhat, placed))
        return *e;
    tiling.placements.push_back(placed);

    for (int k = 0; k < 11; ++k) {
        const int shape = static_cast<int>(*record.Shape[k]);
        const std::string what = fieldName(k) + " lays " + describe(shape) + " where it";
        const auto at = grid.firstFree();
        if (!at)
            return fail(DecodeFault::Overlap, what + " finds no free cell left");
        if (auto e = grid.lay(at->column, at->row, stepsOf(shape), static_cast<Integer>(shape),
                              what, placed))
            return *e;
        tiling.placements.push_back(placed);
    }
    return tiling;
}

std::string letterGrid(const Tiling &tiling)
{
    const TrayInfo &tray = Trays.at(static_cast<std::size_t>(tiling.board));
    const int stride = tray.rows + 1;
    std::vector<char> letters(static_cast<std::size_t>((tray.cols + 1) * stride), '.');
    for (const Placement &p : tiling.placements)
        for (Integer cell : p.cells)
            letters.at(static_cast<std::size_t>(cell)) =
                p.shape == SquarePiece ? 'O' : orientation(p.shape).Letter.at(0);
    std::string text;
    for (int r = 0; r < tray.rows; ++r) {
        if (r > 0)
            text += '/';
        for (int c = 0; c < tray.cols; ++c)
            text += letters[static_cast<std::size_t>(c * stride + r)];
    }
    return text;
}

void BuildBoardShapes(SharedState &state)
{
    state.BoardShapes.clear();
    for (const PieceCollection &piece : state.PieceShapes) {
        for (const clsShape &source : piece) {
            clsShape s;
            s.Color = source.Color;
            s.Piece = source.Piece;
            s.Shape = source.Shape;
            s.Letter = source.Letter;
            s.Square2 = source.Modify(state, source.Square2);
            s.Square3 = source.Modify(state, source.Square3);
            s.Square4 = source.Modify(state, source.Square4);
            s.Square5 = source.Modify(state, source.Square5);
            state.BoardShapes.push_back(std::move(s));
        }
    }
}

std::optional<DecodeError> DecodeSolution(SharedState &state, const SolutionRecord &record,
                                          DecodeTarget target)
{
    if (state.BoardShapes.size() != OrientationCount)
        throw std::logic_error("DecodeSolution needs BoardShapes built for the current board");
    const auto tiling = tileRecord(state.BoardIndex, record);
    if (!tiling)
        return tiling.error();

    // The checks above guarantee every value below fits and every placement
    // stays inside the grid.
    state.OIndex = toInteger(*record.O_Index);
    const Integer xIndex = toInteger(*record.X_Index);
    state.ShapeList[0] = 0;
    for (int k = 0; k < 11; ++k)
        state.ShapeList[static_cast<std::size_t>(k + 1)] = toInteger(*record.Shape[k]);
    if (target == DecodeTarget::Screen)
        state.NextCell = xIndex;
    else
        state.XIndex = xIndex;

    ClearBoard(state);
    if (state.BoardIndex == SquareBoard) {
        state.OColumn = toInteger(state.OIndex / 9);
        state.ORow = toInteger(state.OIndex % 9);
        if (target == DecodeTarget::Screen && state.Screen)
            state.Screen->fillBox(state.TrayLeft + state.OColumn * state.UnitSize,
                                  state.TrayTop + state.ORow * state.UnitSize, state.DoubleUnit,
                                  state.DoubleUnit, MidGrey);
        for (int cell : {0, 1, 9, 10})
            state.BoardGrid[static_cast<std::size_t>(state.OIndex + cell)] = true;
    }

    if (target == DecodeTarget::Report && state.PreviewControl)
        state.PreviewControl->setBrushColor(Black);
    state.BoardShapes[0].Fits(state, xIndex);

    int first = 0;
    while (first <= state.GridMax && state.BoardGrid[static_cast<std::size_t>(first)])
        ++first;
    state.NextCell = toInteger(first);
    for (int k = 1; k <= 11; ++k)
        state.BoardShapes[static_cast<std::size_t>(state.ShapeList[static_cast<std::size_t>(k)])]
            .Fits(state, state.NextCell);

    if (target == DecodeTarget::Report && state.PreviewControl)
        state.PreviewControl->setForeColor(Black);
    return std::nullopt;
}

} // namespace tw
