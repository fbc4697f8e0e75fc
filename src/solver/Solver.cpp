#include "solver/Solver.h"

#include "pieces/PieceTables.h"
#include "solutions/Boards.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <thread>

// The search lays pieces on a 64-bit board, bit column * rows + row, so the
// lowest free bit is the first free cell of the decoder's column-major scan
// and the fill runs along the tray's short side. It starts from the X, placed
// only where no symmetry can move it nearer the start of the fill, then lays
// each piece on the first free cell, rejecting a placement that leaves a free
// cell or a free domino shut in. Each tiling found is turned into the
// smallest record among its symmetric images; a tiling whose X lies on a
// mirror axis is found once per side, and sorting merges the two. States
// after the first few pieces that led to no tiling are remembered and not
// searched again, and the region left for the last four pieces is looked up
// in a table of the ways of filling it, worked out once for each region.

namespace tw {

namespace {

constexpr int SquarePieceId = 12;
constexpr std::uint64_t Bit = 1;

struct Cell
{
    int column, row;
};

// A symmetry of the tray as a map of cells.
using CellMap = Cell (*)(Cell, int cols, int rows);

Cell identity(Cell c, int, int)
{
    return c;
}
Cell mirrorColumns(Cell c, int cols, int)
{
    return {cols - 1 - c.column, c.row};
}
Cell mirrorRows(Cell c, int, int rows)
{
    return {c.column, rows - 1 - c.row};
}
Cell halfTurn(Cell c, int cols, int rows)
{
    return {cols - 1 - c.column, rows - 1 - c.row};
}
Cell transpose(Cell c, int, int)
{
    return {c.row, c.column};
}
Cell quarterTurn(Cell c, int cols, int)
{
    return {cols - 1 - c.row, c.column};
}
Cell threeQuarterTurn(Cell c, int, int rows)
{
    return {c.row, rows - 1 - c.column};
}
Cell antiTranspose(Cell c, int cols, int rows)
{
    return {cols - 1 - c.row, rows - 1 - c.column};
}

// Free cells with no free neighbour, or two free cells that only have each
// other: no piece can ever cover them.
template<int Rows, int Cells> constexpr bool shutIn(std::uint64_t occupied)
{
    constexpr std::uint64_t full = Cells == 64 ? ~std::uint64_t{0} : (Bit << Cells) - 1;
    constexpr std::uint64_t notFirstRow = [] {
        std::uint64_t m = 0;
        for (int b = 0; b < Cells; ++b)
            if (b % Rows != 0)
                m |= Bit << b;
        return m;
    }();
    constexpr std::uint64_t notLastRow = notFirstRow >> 1;
    const std::uint64_t free = ~occupied & full;
    const std::uint64_t down = (free >> 1) & notLastRow;
    const std::uint64_t up = (free << 1) & notFirstRow;
    const std::uint64_t right = free >> Rows;
    const std::uint64_t left = free << Rows;
    if (free & ~(down | up | right | left))
        return true;
    const std::uint64_t two = (down & up) | ((down | up) & (right | left)) | (right & left);
    const std::uint64_t one = free & ~two;
    return ((one & down) & ((one & up) >> 1)) | ((one & right) & ((one & left) >> Rows));
}

} // namespace

struct detail::SolverTables
{
    struct Placement
    {
        std::uint64_t mask;
        int piece;     // 0..11, SquarePieceId for the square
        int shape;     // orientation 0..62, or -1 for the square
        int firstBit;  // lowest bit of mask
        int gridIndex; // the first cell as a grid index, stride rows + 1
    };
    struct Task
    {
        int x, first;
    };

    // For each first cell b and each state of the five cells that pieces on b
    // most often need (b + 1, b + 2, b + rows - 1 .. b + rows + 1), only the
    // placements that avoid the occupied ones, grouped by piece: group
    // [ranges[i + piece], ranges[i + piece + 1]) of fitMasks, i = (b * Patterns +
    // pattern) * 14.
    static constexpr int Patterns = 32;

    int board = 0;
    int cols = 0, rows = 0, cells = 0;
    // The size of the tables of regions left for the last pieces, as a power
    // of two: room for about twice the regions the tray leaves.
    int endSlotBits = 0;
    std::uint32_t allPieces = 0; // a bit for each piece in play
    std::vector<Placement> placements;
    std::vector<CellMap> maps;                // the tray's symmetries, identity first
    std::vector<std::vector<int>> image;      // image[g][p]: placement p under symmetry g
    std::vector<std::uint64_t> fitMasks;      // what the inner loop reads
    std::vector<std::uint16_t> fitPlacements; // the placement of each mask
    std::vector<int> ranges;
    // For each list, a bit for each piece whose group is not empty.
    std::vector<std::uint32_t> piecesWithFits;
    std::vector<Task> tasks;

    SolverTables(int boardIndex, int endTableBits);

    const Placement &at(int p) const { return placements[static_cast<std::size_t>(p)]; }
    int imageOf(std::size_t g, int p) const { return image[g][static_cast<std::size_t>(p)]; }
    bool shutIn(std::uint64_t occupied) const;

private:
    void addPlacements();
    void addSymmetries();
    void addFits();
    void addTasks();
};

detail::SolverTables::SolverTables(int boardIndex, int endTableBits) : board(boardIndex)
{
    const TrayInfo &tray = Trays.at(static_cast<std::size_t>(boardIndex));
    cols = tray.cols;
    rows = tray.rows;
    cells = cols * rows;
    endSlotBits = endTableBits > 0 ? endTableBits : boardIndex == SquareBoard ? 18 : rows + 8;
    allPieces = (1u << (boardIndex == SquareBoard ? 13 : 12)) - 1;
    addPlacements();
    addSymmetries();
    addFits();
    addTasks();
}

bool detail::SolverTables::shutIn(std::uint64_t occupied) const
{
    switch (rows) {
    case 3:
        return tw::shutIn<3, 60>(occupied);
    case 4:
        return tw::shutIn<4, 60>(occupied);
    case 5:
        return tw::shutIn<5, 60>(occupied);
    case 6:
        return tw::shutIn<6, 60>(occupied);
    default:
        return tw::shutIn<8, 64>(occupied);
    }
}

void detail::SolverTables::addPlacements()
{
    auto add = [&](int piece, int shape, const std::vector<Cell> &shapeCells, Cell at) {
        std::uint64_t mask = 0;
        for (Cell s : shapeCells) {
            const Cell c{at.column + s.column, at.row + s.row};
            if (c.column < 0 || c.column >= cols || c.row < 0 || c.row >= rows)
                return;
            mask |= Bit << (c.column * rows + c.row);
        }
        const int first = std::countr_zero(mask);
        placements.push_back({mask, piece, shape, first, first / rows * (rows + 1) + first % rows});
    };
    for (int shape = 0; shape < OrientationCount; ++shape) {
        std::vector<Cell> shapeCells{{0, 0}};
        for (const ColumnRow &s : squareSteps(orientation(shape)))
            shapeCells.push_back({s.column, s.row});
        for (int c = 0; c < cols; ++c)
            for (int r = 0; r < rows; ++r)
                add(orientation(shape).Piece, shape, shapeCells, {c, r});
    }
    if (board == SquareBoard)
        for (int c = 0; c < cols; ++c)
            for (int r = 0; r < rows; ++r)
                add(SquarePieceId, -1, {{0, 0}, {0, 1}, {1, 0}, {1, 1}}, {c, r});
}

void detail::SolverTables::addSymmetries()
{
    std::map<std::uint64_t, int> byMask;
    for (std::size_t p = 0; p < placements.size(); ++p)
        byMask[placements[p].mask] = static_cast<int>(p);
    maps = {identity, mirrorColumns, mirrorRows, halfTurn};
    if (board == SquareBoard)
        maps.insert(maps.end(), {transpose, quarterTurn, threeQuarterTurn, antiTranspose});
    for (CellMap map : maps) {
        std::vector<int> of(placements.size());
        for (std::size_t p = 0; p < placements.size(); ++p) {
            std::uint64_t mask = 0;
            for (std::uint64_t m = placements[p].mask; m; m &= m - 1) {
                const int b = std::countr_zero(m);
                const Cell c = map({b / rows, b % rows}, cols, rows);
                mask |= Bit << (c.column * rows + c.row);
            }
            of[p] = byMask.at(mask);
        }
        image.push_back(std::move(of));
    }
}

void detail::SolverTables::addFits()
{
    // The X is laid before the search and never from these lists.
    std::vector<std::vector<int>> byFirstBit(static_cast<std::size_t>(cells));
    for (std::size_t p = 0; p < placements.size(); ++p)
        if (placements[p].piece != 0)
            byFirstBit[static_cast<std::size_t>(placements[p].firstBit)].push_back(
                static_cast<int>(p));

    ranges.reserve(static_cast<std::size_t>(cells * Patterns * 14));
    for (int b = 0; b < cells; ++b) {
        for (int pat = 0; pat < Patterns; ++pat) {
            std::uint64_t blocked = 0;
            const int around[5] = {b + 1, b + 2, b + rows - 1, b + rows, b + rows + 1};
            for (int k = 0; k < 5; ++k)
                if ((pat >> k) & 1 && around[k] < 64)
                    blocked |= Bit << around[k];
            std::uint32_t withFits = 0;
            for (int piece = 0; piece < 14; ++piece) {
                ranges.push_back(static_cast<int>(fitMasks.size()));
                if (piece == 13)
                    break;
                for (int p : byFirstBit[static_cast<std::size_t>(b)])
                    if (at(p).piece == piece && !(at(p).mask & blocked)) {
                        fitMasks.push_back(at(p).mask);
                        fitPlacements.push_back(static_cast<std::uint16_t>(p));
                        withFits |= 1u << piece;
                    }
            }
            piecesWithFits.push_back(withFits);
        }
    }
}

void detail::SolverTables::addTasks()
{
    const auto mapBit = [&](std::size_t g, int b) {
        const Cell c = maps[g]({b / rows, b % rows}, cols, rows);
        return c.column * rows + c.row;
    };
    for (std::size_t x = 0; x < placements.size(); ++x) {
        if (placements[x].piece != 0)
            continue;
        // Only the X position nearest the start of the fill of its class.
        const int xp = static_cast<int>(x);
        bool nearest = true;
        for (std::size_t g = 0; g < image.size(); ++g)
            nearest = nearest && placements[x].firstBit <= at(imageOf(g, xp)).firstBit;
        if (!nearest)
            continue;
        const std::uint64_t occupied = placements[x].mask;
        if (shutIn(occupied))
            continue;
        const int anchor = std::countr_zero(~occupied);
        // A symmetry that keeps this X and the first free cell where they are
        // maps each tiling found from a first piece p to one found from the
        // image of p. Of each such class of first pieces one is enough; a
        // first piece that is its own image still finds both tilings, and the
        // sort merges them.
        std::vector<std::size_t> fixing;
        for (std::size_t g = 1; g < image.size(); ++g)
            if (imageOf(g, xp) == xp && mapBit(g, anchor) == anchor)
                fixing.push_back(g);
        for (std::size_t p = 0; p < placements.size(); ++p) {
            const Placement &first = placements[p];
            if (first.piece == 0 || first.firstBit != anchor || (first.mask & occupied) ||
                shutIn(occupied | first.mask))
                continue;
            const int fp = static_cast<int>(p);
            bool smallest = true;
            for (std::size_t g : fixing)
                smallest = smallest && fp <= imageOf(g, fp);
            if (smallest)
                tasks.push_back({xp, fp});
        }
    }
}

namespace {

// The regions left for the last few pieces, each with every way of filling
// it with a given number of pieces (whichever they are, apart from the X,
// which is always laid first). Many ways of laying the first pieces leave the
// same region, so each region is worked out once and the table is shared by
// the threads of a search. A region the table has no room for is worked out
// again each time it is reached.
class EndTable
{
public:
    struct Tiling
    {
        std::uint16_t pieces; // a bit for each piece laid; End after a region's last
        std::array<std::uint16_t, 4> placements; // in laying order
    };
    static constexpr std::uint16_t End = 0xFFFF;

    EndTable(int slotBits, std::size_t capacity)
        : m_slotBits(slotBits),
          m_slots(std::make_unique<std::atomic<std::uint64_t>[]>(std::size_t{1} << slotBits)),
          m_capacity(std::max<std::size_t>(capacity, 1)), m_list(new Tiling[m_capacity])
    {
        m_list[0].pieces = End; // the list of a region that cannot be filled
    }

    void prefetch(std::uint64_t free) const { __builtin_prefetch(&m_slots[slot(free)]); }

    // The tilings of the region of free cells, or nullptr when not known.
    const Tiling *find(std::uint64_t free) const
    {
        const std::uint64_t key = keyOf(free);
        for (std::size_t i = slot(free);; i = next(i)) {
            const std::uint64_t s = m_slots[i].load(std::memory_order_acquire);
            if (s == 0)
                return nullptr;
            if ((s & ~ListMask) == key)
                return &m_list[s & ListMask];
        }
    }

    // What one thread has taken of the table's room, a batch at a time, so
    // that the threads rarely touch the same counters.
    struct Room
    {
        std::size_t regions = 0; // regions it may still add
        std::size_t at = 0;      // the free part of its share of the lists
        std::size_t end = 0;
    };

    // Keeps the tilings found for the region (ended by End), and returns where
    // they are kept; nullptr when the table has no room for them.
    const Tiling *store(std::uint64_t free, const std::vector<Tiling> &tilings, Room &room)
    {
        const std::uint64_t key = keyOf(free);
        if (key == 0)
            return nullptr;
        if (room.regions == 0) {
            const std::size_t taken = m_regions.fetch_add(Batch, std::memory_order_relaxed);
            room.regions = taken < maxRegions() ? std::min(Batch, maxRegions() - taken) : 0;
            if (room.regions == 0)
                return nullptr;
        }
        --room.regions;
        std::size_t at = 0;
        if (tilings.size() > 1) {
            if (room.at + tilings.size() > room.end) {
                const std::size_t share = std::max(Batch, tilings.size());
                room.at = m_used.fetch_add(share, std::memory_order_relaxed);
                room.end = room.at + share;
            }
            at = room.at;
            if (at + tilings.size() > m_capacity || at + tilings.size() > ListMask)
                return nullptr;
            room.at += tilings.size();
            std::copy(tilings.begin(), tilings.end(), &m_list[at]);
        }
        // Another thread may have stored the same region meanwhile; either
        // copy will do.
        for (std::size_t i = slot(free);; i = next(i)) {
            std::uint64_t seen = 0;
            if (m_slots[i].compare_exchange_strong(seen, key | at, std::memory_order_release,
                                                   std::memory_order_acquire))
                return &m_list[at];
            if ((seen & ~ListMask) == key)
                return &m_list[seen & ListMask];
        }
    }

private:
    // A slot holds the region's free cells shifted down to its first one,
    // that cell, and where its list starts. Key 0: a region too long to hold.
    static constexpr int ListBits = 20;
    static constexpr std::uint64_t ListMask = (std::uint64_t{1} << ListBits) - 1;
    static constexpr int SpanBits = 64 - ListBits - 6;
    static std::uint64_t keyOf(std::uint64_t free)
    {
        const int first = std::countr_zero(free);
        const std::uint64_t span = free >> first;
        if (span >> SpanBits)
            return 0;
        return (span << 6 | static_cast<std::uint64_t>(first)) << ListBits;
    }
    std::size_t slot(std::uint64_t free) const
    {
        return static_cast<std::size_t>((free * 0x9E3779B97F4A7C15ull) >> (64 - m_slotBits));
    }
    std::size_t next(std::size_t i) const { return (i + 1) & ((std::size_t{1} << m_slotBits) - 1); }
    // Three quarters full at most, so that a search for a missing region ends.
    std::size_t maxRegions() const { return (std::size_t{3} << m_slotBits) / 4; }

    static constexpr std::size_t Batch = 256;

    // Read on every look-up: kept apart from the counters the threads
    // change, which each have a cache line of their own.
    int m_slotBits;
    std::unique_ptr<std::atomic<std::uint64_t>[]> m_slots;
    std::size_t m_capacity;
    std::unique_ptr<Tiling[]> m_list; // left uninitialised: only what is stored is touched
    alignas(64) std::atomic<std::size_t> m_regions{0};
    alignas(64) std::atomic<std::size_t> m_used{1};
};

// The tables for the last two, three and four pieces of one tray's search.
struct EndTables
{
    explicit EndTables(int slotBits)
        : byPieces{EndTable(slotBits, std::size_t{4} << slotBits),
                   EndTable(slotBits, std::size_t{4} << slotBits),
                   EndTable(slotBits, std::size_t{4} << slotBits)}
    {}
    std::array<EndTable, 3> byPieces;
};

// One thread's depth-first search, with the tray's size built in so that the
// shifts and masks of the inner loop are constants.
template<int Rows, int Cells> class Search
{
public:
    using Tables = detail::SolverTables;
    static constexpr std::uint64_t Full = Cells == 64 ? ~std::uint64_t{0} : (Bit << Cells) - 1;

    Search(const Tables &t, EndTables &end) : m_t(t), m_end(&end) {}

    void runTask(const Tables::Task &task)
    {
        const auto &x = m_t.at(task.x);
        const auto &first = m_t.at(task.first);
        m_path[0] = task.x;
        m_path[1] = task.first;
        run(x.mask | first.mask, (1u << x.piece) | (1u << first.piece), 2);
    }

    std::vector<SolverRecord> records;
    long long nodes = 0;
    long long found = 0;
    long long regions = 0;

private:
    using Tiling = EndTable::Tiling;
    static constexpr int PieceCount = Cells == 64 ? 13 : 12;
    static constexpr int EndPieces = 4;
    static constexpr int EndDepth = PieceCount - EndPieces;

    void run(std::uint64_t occupied, std::uint32_t used, int depth)
    {
        if (occupied == Full) {
            record(depth);
            return;
        }
        if (depth == EndDepth) {
            finish(occupied, used);
            return;
        }
        if (depth != DeadDepth) {
            explore(occupied, used, depth);
            return;
        }
        // Many ways of laying the first pieces leave the same cells and the
        // same pieces: a state that led to no tiling is not searched again.
        DeadState &slot = m_dead[deadSlot(occupied, used)];
        if (slot.occupied == occupied && slot.used == used)
            return;
        const long long before = found;
        explore(occupied, used, depth);
        if (found == before)
            slot = {occupied, used};
    }

    // The depth, and the size of the table that remembers dead states: a
    // table that stays in the core's cache gains most.
    static constexpr int DeadDepth = 7;
    static constexpr int DeadSlotBits = 13;
    struct DeadState
    {
        std::uint64_t occupied = 0; // no state at that depth has nothing occupied
        std::uint32_t used = 0;
    };
    static std::size_t deadSlot(std::uint64_t occupied, std::uint32_t used)
    {
        const std::uint64_t h = (occupied ^ (std::uint64_t{used} << 51)) * 0x9E3779B97F4A7C15ull;
        return static_cast<std::size_t>(h >> (64 - DeadSlotBits));
    }
    std::vector<DeadState> m_dead = std::vector<DeadState>(std::size_t{1} << DeadSlotBits);

    // Calls lay(piece, mask, placement) for each placement of a piece in
    // `open` that starts on the first free cell and fits, until lay returns
    // false.
    template<typename Lay>
    void forEachFit(std::uint64_t occupied, std::uint32_t open, Lay &&lay) const
    {
        const int anchor = std::countr_zero(~occupied);
        const int list = anchor * Tables::Patterns + pattern(anchor, occupied);
        const int *range = m_t.ranges.data() + list * 14;
        for (open &= m_t.piecesWithFits[static_cast<std::size_t>(list)]; open; open &= open - 1) {
            const int piece = std::countr_zero(open);
            for (int k = range[piece]; k < range[piece + 1]; ++k) {
                const std::uint64_t mask = m_t.fitMasks[static_cast<std::size_t>(k)];
                if (!(mask & occupied) &&
                    !lay(piece, mask, m_t.fitPlacements[static_cast<std::size_t>(k)]))
                    return;
            }
        }
    }

    void explore(std::uint64_t occupied, std::uint32_t used, int depth)
    {
        if (depth == EndDepth - 1) {
            exploreBeforeEnd(occupied, used, depth);
            return;
        }
        forEachFit(occupied, ~used, [&](int piece, std::uint64_t mask, std::uint16_t placement) {
            ++nodes;
            const std::uint64_t next = occupied | mask;
            if (!shutIn<Rows, Cells>(next)) {
                m_path[static_cast<std::size_t>(depth)] = placement;
                run(next, used | (1u << piece), depth + 1);
            }
            return true;
        });
    }

    // The last step before the table: every region left is looked up, so
    // all of them are asked for from memory before the first is used.
    void exploreBeforeEnd(std::uint64_t occupied, std::uint32_t used, int depth)
    {
        struct Next
        {
            std::uint64_t occupied;
            std::uint32_t used;
            int placement;
        };
        // At most one placement of each orientation, and the square, starts on a cell.
        std::array<Next, OrientationCount + 1> nexts;
        std::size_t count = 0;
        forEachFit(occupied, ~used, [&](int piece, std::uint64_t mask, std::uint16_t placement) {
            ++nodes;
            const std::uint64_t next = occupied | mask;
            if (!shutIn<Rows, Cells>(next)) {
                m_end->byPieces[EndPieces - 2].prefetch(Full & ~next);
                nexts[count++] = {next, used | (1u << piece), placement};
            }
            return true;
        });
        for (std::size_t k = 0; k < count; ++k) {
            m_path[static_cast<std::size_t>(depth)] = nexts[k].placement;
            finish(nexts[k].occupied, nexts[k].used);
        }
    }

    // Lays the last pieces in each way the table knows for the region left.
    void finish(std::uint64_t occupied, std::uint32_t used)
    {
        for (const Tiling *t = tilingsOf(EndPieces, occupied); t->pieces != EndTable::End; ++t) {
            if (t->pieces & used)
                continue;
            for (std::size_t k = 0; k < EndPieces; ++k)
                m_path[static_cast<std::size_t>(EndDepth) + k] = t->placements[k];
            record(PieceCount);
        }
    }

    // Every way of filling the free cells with `pieces` pieces, any but the X,
    // from the table or worked out (and kept there) when not known.
    const Tiling *tilingsOf(int pieces, std::uint64_t occupied)
    {
        EndTable &table = m_end->byPieces[static_cast<std::size_t>(pieces - 2)];
        const std::uint64_t free = Full & ~occupied;
        if (const Tiling *known = table.find(free))
            return known;
        ++regions;
        // The list for each number of pieces has its own room, so that a
        // region's list is read while the next larger one is written.
        std::vector<Tiling> &found = m_found[static_cast<std::size_t>(pieces - 2)];
        found.clear();
        forEachFit(occupied, ~1u, [&](int piece, std::uint64_t mask, std::uint16_t placement) {
            ++nodes;
            const auto bit = static_cast<std::uint16_t>(1u << piece);
            const std::uint64_t next = occupied | mask;
            if (pieces == 2) {
                // The last piece fills what is left exactly, or nothing does.
                forEachFit(next, ~(bit | 1u),
                           [&](int lastPiece, std::uint64_t lastMask, std::uint16_t last) {
                               if ((next | lastMask) != Full)
                                   return true;
                               found.push_back({static_cast<std::uint16_t>(bit | (1u << lastPiece)),
                                                {placement, last}});
                               return false;
                           });
                return true;
            }
            if (shutIn<Rows, Cells>(next))
                return true;
            for (const Tiling *t = tilingsOf(pieces - 1, next); t->pieces != EndTable::End; ++t)
                if (!(t->pieces & bit)) {
                    Tiling longer{static_cast<std::uint16_t>(t->pieces | bit), {placement}};
                    std::copy_n(t->placements.begin(), pieces - 1, longer.placements.begin() + 1);
                    found.push_back(longer);
                }
            return true;
        });
        found.push_back({EndTable::End, {}});
        if (const Tiling *kept =
                table.store(free, found, m_rooms[static_cast<std::size_t>(pieces - 2)]))
            return kept;
        return found.data();
    }

    static int pattern(int anchor, std::uint64_t occupied)
    {
        const std::uint64_t below = occupied >> (anchor + 1);
        const int right = anchor + Rows - 1;
        const std::uint64_t beside = right < 64 ? occupied >> right : ~std::uint64_t{0};
        return static_cast<int>((below & 3) | ((beside & 7) << 2));
    }

    // Keeps the smallest record among the tiling's images.
    void record(int depth)
    {
        ++found;
        SolverRecord best;
        bool haveBest = false;
        for (std::size_t g = 0; g < m_t.image.size(); ++g) {
            SolverRecord r;
            std::uint64_t firsts = 0;
            std::array<Integer, 64> shapeAt{};
            for (int d = 0; d < depth; ++d) {
                const auto &p = m_t.at(m_t.imageOf(g, m_path[static_cast<std::size_t>(d)]));
                if (p.piece == 0)
                    r.X_Index = static_cast<Integer>(p.gridIndex);
                else if (p.piece == SquarePieceId)
                    r.O_Index = static_cast<Integer>(p.gridIndex);
                else {
                    firsts |= Bit << p.firstBit;
                    shapeAt[static_cast<std::size_t>(p.firstBit)] = static_cast<Integer>(p.shape);
                }
            }
            // Most images already lose on the square and the X.
            if (haveBest && std::tie(r.O_Index, r.X_Index) > std::tie(best.O_Index, best.X_Index))
                continue;
            for (std::size_t k = 0; firsts; firsts &= firsts - 1, ++k)
                r.Shape[k] = shapeAt[static_cast<std::size_t>(std::countr_zero(firsts))];
            if (!haveBest || r < best)
                best = r, haveBest = true;
        }
        records.push_back(best);
    }

    const Tables &m_t;
    EndTables *m_end;
    std::array<std::vector<Tiling>, EndPieces - 1> m_found;
    std::array<EndTable::Room, EndPieces - 1> m_rooms;
    std::array<int, 13> m_path{};
};

// One tray's share of a search: its tasks, and a search of its own for each
// thread, whose records are merged at the end.
class TrayJob
{
public:
    virtual ~TrayJob() = default;
    virtual std::size_t taskCount() const = 0;
    virtual void runTask(std::size_t task, unsigned worker) = 0;
    // The tray's records in solution order, each once.
    virtual std::vector<SolverRecord> collect(Solver::Stats *stats) const = 0;
};

template<int Rows, int Cells> class TrayJobOf : public TrayJob
{
public:
    TrayJobOf(const detail::SolverTables &t, unsigned workers)
        : m_t(t), m_end(t.endSlotBits), m_searches(workers, Search<Rows, Cells>(t, m_end))
    {}
    std::size_t taskCount() const override { return m_t.tasks.size(); }
    void runTask(std::size_t task, unsigned worker) override
    {
        m_searches[worker].runTask(m_t.tasks[task]);
    }
    std::vector<SolverRecord> collect(Solver::Stats *stats) const override
    {
        std::vector<SolverRecord> records;
        Solver::Stats total;
        for (const auto &s : m_searches) {
            records.insert(records.end(), s.records.begin(), s.records.end());
            total.nodes += s.nodes;
            total.tilingsFound += s.found;
            total.regions += s.regions;
        }
        std::sort(records.begin(), records.end());
        records.erase(std::unique(records.begin(), records.end()), records.end());
        if (stats)
            *stats = total;
        return records;
    }

private:
    const detail::SolverTables &m_t;
    EndTables m_end;
    std::vector<Search<Rows, Cells>> m_searches;
};

std::unique_ptr<TrayJob> makeJob(const detail::SolverTables &t, unsigned workers)
{
    switch (t.rows) {
    case 3:
        return std::make_unique<TrayJobOf<3, 60>>(t, workers);
    case 4:
        return std::make_unique<TrayJobOf<4, 60>>(t, workers);
    case 5:
        return std::make_unique<TrayJobOf<5, 60>>(t, workers);
    case 6:
        return std::make_unique<TrayJobOf<6, 60>>(t, workers);
    default:
        return std::make_unique<TrayJobOf<8, 64>>(t, workers);
    }
}

// Runs the tasks of every job on `threads` threads, the jobs' tasks in the
// order given. The threads take the next task in turn, so that a long task
// on one thread does not hold the other idle.
void runJobs(const std::vector<TrayJob *> &jobs, unsigned threads)
{
    std::vector<std::pair<TrayJob *, std::size_t>> tasks;
    for (TrayJob *job : jobs)
        for (std::size_t k = 0; k < job->taskCount(); ++k)
            tasks.emplace_back(job, k);
    std::atomic<std::size_t> next{0};
    const auto work = [&](unsigned worker) {
        for (std::size_t i; (i = next.fetch_add(1)) < tasks.size();)
            tasks[i].first->runTask(tasks[i].second, worker);
    };
    std::vector<std::jthread> pool;
    for (unsigned k = 1; k < threads; ++k)
        pool.emplace_back(work, k);
    work(0);
}

unsigned threadsFor(unsigned threads)
{
    return threads ? threads : std::max(1u, std::thread::hardware_concurrency());
}

} // namespace

Solver::Solver(int board, int endTableBits)
    : m_tables(std::make_unique<detail::SolverTables>(board, endTableBits))
{}

Solver::~Solver() = default;

std::vector<SolverRecord> Solver::solve(unsigned threads, Stats *stats) const
{
    threads = threadsFor(threads);
    const auto job = makeJob(*m_tables, threads);
    runJobs({job.get()}, threads);
    return job->collect(stats);
}

std::vector<std::vector<SolverRecord>> solveTrays(const std::vector<int> &boards, unsigned threads)
{
    threads = threadsFor(threads);
    std::vector<std::unique_ptr<const detail::SolverTables>> tables;
    std::vector<std::unique_ptr<TrayJob>> jobs;
    for (int board : boards) {
        tables.push_back(std::make_unique<detail::SolverTables>(board, 0));
        jobs.push_back(makeJob(*tables.back(), threads));
    }
    // The square tray's long tasks first, the rectangles' short ones after
    // them to fill the end.
    std::vector<TrayJob *> order;
    for (std::size_t k = 0; k < jobs.size(); ++k)
        if (boards[k] == SquareBoard)
            order.push_back(jobs[k].get());
    for (std::size_t k = 0; k < jobs.size(); ++k)
        if (boards[k] != SquareBoard)
            order.push_back(jobs[k].get());
    runJobs(order, threads);
    std::vector<std::vector<SolverRecord>> records;
    for (const auto &job : jobs)
        records.push_back(job->collect(nullptr));
    return records;
}

} // namespace tw
