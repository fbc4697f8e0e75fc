#include "solver/RegionSolver.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <random>
#include <thread>

namespace tw {

namespace {

using Mask = std::uint64_t;

constexpr int MaxPieces = 13; // the twelve pentominoes and the square
constexpr int X = 0;          // laid first, at the root
constexpr int Square = 12;
// Random dives that judge a way of laying the region for the search.
constexpr int ProbeDives = 400;
// Piece number to letter: the X first, the square last.
constexpr std::string_view Letters = "XFILNPTUVWYZO";

struct Place
{
    Mask cells;
    Mask border; // cells next to the piece, outside it
};

struct Tables
{
    int cellCount = 0;
    int pieces = 12;
    std::vector<Mask> neighbours;               // by cell
    std::vector<std::vector<Place>> places;     // by cell * MaxPieces + piece
    std::vector<Mask> roots;                    // the X's places searched
    std::vector<std::vector<int>> images;

    const std::vector<Place> &at(int cell, int piece) const
    {
        return places[static_cast<std::size_t>(cell * MaxPieces + piece)];
    }
};

Mask moved(Mask m, const std::vector<int> &image)
{
    Mask out = 0;
    for (; m; m &= m - 1)
        out |= Mask{1} << image[static_cast<std::size_t>(std::countr_zero(m))];
    return out;
}

Tables tablesFor(const Tray &region)
{
    Tables t;
    const auto cells = cellsInOrder(region);
    t.cellCount = static_cast<int>(cells.size());
    t.pieces = region.takesTheSquare() ? 13 : 12;
    std::vector<int> number(Tray::MaxSide * Tray::MaxSide, -1);
    for (std::size_t k = 0; k < cells.size(); ++k)
        number[static_cast<std::size_t>(cells[k].first * Tray::MaxSide + cells[k].second)] =
            static_cast<int>(k);
    const auto cellAt = [&](int c, int r) {
        return region.has(c, r) ? number[static_cast<std::size_t>(c * Tray::MaxSide + r)] : -1;
    };
    t.neighbours.assign(cells.size(), 0);
    for (std::size_t k = 0; k < cells.size(); ++k)
        for (const auto &[dc, dr] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
            if (const int n = cellAt(cells[k].first + dc, cells[k].second + dr); n >= 0)
                t.neighbours[k] |= Mask{1} << n;

    t.places.assign(cells.size() * MaxPieces, {});
    for (int piece = 0; piece < t.pieces; ++piece)
        for (const Mask m : placementsOf(region, Letters[static_cast<std::size_t>(piece)])) {
            Mask border = 0;
            for (Mask b = m; b; b &= b - 1)
                border |= t.neighbours[static_cast<std::size_t>(std::countr_zero(b))];
            // Listed under its first cell: the cell the search fills next.
            t.places[static_cast<std::size_t>(std::countr_zero(m) * MaxPieces + piece)].push_back(
                {m, border & ~m});
        }

    // The X only where no symmetry of the region moves it to a place that
    // comes earlier: each class of tilings still has a member among those
    // searched. Where a symmetry keeps the X in place, copies remain, and
    // the merge below removes them.
    t.images = cellImages(region);
    for (std::size_t k = 0; k < cells.size(); ++k)
        for (const Place &p : t.at(static_cast<int>(k), X))
            if (std::all_of(t.images.begin(), t.images.end(),
                            [&](const auto &image) { return moved(p.cells, image) >= p.cells; }))
                t.roots.push_back(p.cells);
    return t;
}

// Whether a free cell next to the piece just laid lies in a part of the
// free cells too small for any piece left: fewer than five cells, or other
// than four when the square is still to come.
bool enclosesTooFew(const Tables &t, Mask near, Mask free, bool squareLaid)
{
    while (near) {
        Mask part = near & -near, edge = part;
        int size = 1;
        while (edge && size < 5) {
            Mask grown = 0;
            for (Mask b = edge; b; b &= b - 1)
                grown |= t.neighbours[static_cast<std::size_t>(std::countr_zero(b))];
            edge = grown & free & ~part;
            part |= edge;
            size = std::popcount(part);
        }
        if (size < 5 && (size != 4 || squareLaid || t.pieces < 13))
            return true;
        near &= ~part;
    }
    return false;
}

// An estimate of the placements a search of the tables tries, from random
// dives (Knuth's estimate of a tree's size): each dive follows one random
// choice at each step and counts each step's choices as if every choice
// before had as many.
double estimatedWork(const Tables &t, int dives)
{
    if (t.roots.empty())
        return 0;
    std::mt19937_64 random(1);
    const Mask all = t.cellCount == 64 ? ~Mask{0} : (Mask{1} << t.cellCount) - 1;
    double total = 0;
    std::vector<Mask> choices;
    std::vector<int> pieces;
    for (int d = 0; d < dives; ++d) {
        const Mask x = t.roots[random() % t.roots.size()];
        Mask free = all & ~x;
        unsigned used = 1u << X;
        double width = static_cast<double>(t.roots.size());
        total += width;
        while (free) {
            choices.clear();
            pieces.clear();
            const int first = std::countr_zero(free);
            for (int piece = 1; piece < t.pieces; ++piece)
                if (!(used & (1u << piece)))
                    for (const Place &p : t.at(first, piece))
                        if (!(p.cells & ~free) &&
                            !enclosesTooFew(t, p.border & (free & ~p.cells), free & ~p.cells,
                                            (used | (1u << piece)) >> Square & 1)) {
                            choices.push_back(p.cells);
                            pieces.push_back(piece);
                        }
            if (choices.empty())
                break;
            width *= static_cast<double>(choices.size());
            total += width;
            const std::size_t pick = random() % choices.size();
            free &= ~choices[pick];
            used |= 1u << pieces[pick];
        }
    }
    return total / dives;
}

struct Shared
{
    const Tables &tables;
    const std::atomic<bool> *cancel;
    std::atomic<std::size_t> nextRoot{0};
    std::atomic<long long> placements{0}, found{0};
    std::atomic<bool> stopped{false};
};

class Search
{
public:
    explicit Search(Shared &shared) : m_shared(shared), m_t(shared.tables) {}

    // Searches the roots it takes until none is left; false when cancelled.
    bool run()
    {
        const Mask all = m_t.cellCount == 64 ? ~Mask{0} : (Mask{1} << m_t.cellCount) - 1;
        for (std::size_t k; (k = m_shared.nextRoot++) < m_t.roots.size();) {
            const Mask x = m_t.roots[k];
            m_stack[0] = {X, x};
            if (!fill(all & ~x, 1u << X, 1))
                return false;
        }
        flush();
        return true;
    }

    std::vector<CellLetters> tilings;

private:
    struct Laid
    {
        int piece;
        Mask cells;
    };

    bool fill(Mask free, unsigned used, int depth)
    {
        if (free == 0) {
            record(depth);
            return true;
        }
        const int first = std::countr_zero(free);
        for (int piece = 1; piece < m_t.pieces; ++piece) {
            if (used & (1u << piece))
                continue;
            for (const Place &p : m_t.at(first, piece)) {
                if (p.cells & ~free)
                    continue;
                const Mask left = free & ~p.cells;
                if (enclosesTooFew(m_t, p.border & left, left, (used | (1u << piece)) >> Square & 1))
                    continue;
                if (++m_count == CheckEvery && !flush())
                    return false;
                m_stack[static_cast<std::size_t>(depth)] = {piece, p.cells};
                if (!fill(left, used | (1u << piece), depth + 1))
                    return false;
            }
        }
        return true;
    }

    void record(int depth)
    {
        CellLetters letters(static_cast<std::size_t>(m_t.cellCount), '?');
        for (int d = 0; d < depth; ++d)
            for (Mask m = m_stack[static_cast<std::size_t>(d)].cells; m; m &= m - 1)
                letters[static_cast<std::size_t>(std::countr_zero(m))] =
                    Letters[static_cast<std::size_t>(m_stack[static_cast<std::size_t>(d)].piece)];
        tilings.push_back(std::move(letters));
        ++m_found;
    }

    // Hands the counts on; false when the search is to stop.
    bool flush()
    {
        m_shared.placements += m_count;
        m_shared.found += m_found;
        m_count = m_found = 0;
        if (m_shared.cancel && m_shared.cancel->load(std::memory_order_relaxed))
            m_shared.stopped = true;
        return !m_shared.stopped;
    }

    static constexpr long long CheckEvery = 1 << 12;
    Shared &m_shared;
    const Tables &m_t;
    std::array<Laid, MaxPieces> m_stack{};
    long long m_count = 0, m_found = 0;
};

} // namespace

std::optional<RegionSolutions> solveRegion(const Tray &region, unsigned threads,
                                           const std::function<void(const RegionProgress &)> &progress,
                                           const std::atomic<bool> *cancel)
{
    RegionSolutions result;
    if (region.cellCount() != 60 && region.cellCount() != 64)
        return result;
    // Where the search starts matters: the same region can take twice as
    // long laid one way as another. Where the region's symmetry breaks
    // little at the root, each way is tried briefly and the cheapest taken.
    int way = 0;
    Tables tables = tablesFor(region);
    if (region.symmetries().size() <= 2) {
        double least = estimatedWork(tables, ProbeDives);
        for (int g = 1; g < 8; ++g) {
            Tables other = tablesFor(turned(region, g));
            if (const double work = estimatedWork(other, ProbeDives); work < least)
                least = work, way = g, tables = std::move(other);
        }
    }
    Shared shared{tables, cancel};
    if (threads == 0)
        threads = std::max(1u, std::thread::hardware_concurrency());
    threads = static_cast<unsigned>(std::min<std::size_t>(threads, std::max<std::size_t>(1, tables.roots.size())));

    std::vector<Search> searches(threads, Search(shared));
    std::mutex mutex;
    std::condition_variable finished;
    unsigned done = 0;
    std::vector<std::thread> workers;
    for (Search &search : searches)
        workers.emplace_back([&] {
            search.run();
            std::lock_guard lock(mutex);
            ++done;
            finished.notify_all();
        });
    {
        std::unique_lock lock(mutex);
        while (!finished.wait_for(lock, std::chrono::milliseconds(100),
                                  [&] { return done == threads; }))
            if (progress) {
                lock.unlock();
                progress({shared.placements.load(), shared.found.load()});
                lock.lock();
            }
    }
    for (std::thread &worker : workers)
        worker.join();
    if (shared.stopped)
        return std::nullopt;

    // Each tiling as the region lies, as its smallest image.
    const auto cells = cellsInOrder(region);
    const Tray searched = turned(region, way);
    std::vector<int> number(Tray::MaxSide * Tray::MaxSide, -1);
    const auto searchedCells = cellsInOrder(searched);
    for (std::size_t k = 0; k < searchedCells.size(); ++k)
        number[static_cast<std::size_t>(searchedCells[k].first * Tray::MaxSide + searchedCells[k].second)] =
            static_cast<int>(k);
    std::vector<int> from(cells.size());
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const auto [c, r] = movedCell(way, cells[k].first, cells[k].second, region.cols(), region.rows());
        from[k] = number[static_cast<std::size_t>(c * Tray::MaxSide + r)];
    }
    const auto images = cellImages(region);
    for (Search &search : searches)
        for (const CellLetters &found : search.tilings) {
            CellLetters letters(found.size(), ' ');
            for (std::size_t k = 0; k < letters.size(); ++k)
                letters[k] = found[static_cast<std::size_t>(from[k])];
            result.solutions.push_back(smallestImage(letters, images));
        }
    std::sort(result.solutions.begin(), result.solutions.end());
    result.solutions.erase(std::unique(result.solutions.begin(), result.solutions.end()),
                           result.solutions.end());
    // Each solution stands for as many tilings as it has distinct images.
    for (const CellLetters &solution : result.solutions) {
        std::vector<CellLetters> copies;
        CellLetters image(solution.size(), ' ');
        for (const auto &moved : images) {
            for (std::size_t k = 0; k < solution.size(); ++k)
                image[static_cast<std::size_t>(moved[k])] = solution[k];
            copies.push_back(image);
        }
        std::sort(copies.begin(), copies.end());
        result.tilings += std::unique(copies.begin(), copies.end()) - copies.begin();
    }
    result.placements = shared.placements.load();
    if (progress)
        progress({result.placements, shared.found.load()});
    return result;
}

} // namespace tw
