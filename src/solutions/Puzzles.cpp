#include "solutions/Puzzles.h"

#include "pieces/PieceTables.h"
#include "solutions/Boards.h"
#include "solutions/LetterGrid.h"

#include <algorithm>
#include <set>

namespace tw {

namespace {

// Random numbers that are the same on every machine for a seed
// (SplitMix64): the standard's distributions are not.
class Random
{
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::uint32_t below(std::uint32_t n)
    {
        return n == 0 ? 0 : static_cast<std::uint32_t>(next() % n);
    }

private:
    std::uint64_t m_state;
};

// The candidates still holding the pieces chosen that also hold piece p.
std::vector<std::uint32_t>
alsoHolding(const TilingIndex &index, const std::vector<std::uint32_t> &candidates, std::uint32_t p)
{
    const std::uint32_t one[] = {p};
    const auto holders = index.holding(one);
    std::vector<std::uint32_t> out;
    std::set_intersection(candidates.begin(), candidates.end(), holders.begin(), holders.end(),
                          std::back_inserter(out));
    return out;
}

// Every set of `size` of the pieces from `from` on that, added to chosen,
// leaves none of the other tilings; others: those that hold every piece
// chosen (all but `tiling` while none is).
void searchSets(const TilingIndex &index, std::uint32_t tiling,
                std::span<const std::uint32_t> pieces, std::size_t from, std::size_t size,
                std::vector<std::uint32_t> &chosen, const std::vector<std::uint32_t> &others,
                std::vector<std::vector<std::uint32_t>> &found)
{
    if (chosen.size() == size) {
        if (others.empty())
            found.push_back(chosen);
        return;
    }
    for (std::size_t k = from; k + (size - chosen.size()) <= pieces.size(); ++k) {
        std::vector<std::uint32_t> left;
        if (chosen.empty()) {
            const std::uint32_t one[] = {pieces[k]};
            left = index.holding(one);
            left.erase(std::lower_bound(left.begin(), left.end(), tiling));
        } else {
            left = alsoHolding(index, others, pieces[k]);
        }
        chosen.push_back(pieces[k]);
        searchSets(index, tiling, pieces, k + 1, size, chosen, left, found);
        chosen.pop_back();
    }
}

std::string trayName(Integer board)
{
    return "the " + std::string(Trays.at(static_cast<std::size_t>(board)).label) + " tray";
}

} // namespace

std::vector<std::uint32_t> fewestGiven(const TilingIndex &index, std::uint32_t tiling,
                                       std::uint64_t random)
{
    const auto pieces = index.piecesOf(tiling);
    for (std::size_t size = 1; size <= pieces.size(); ++size) {
        std::vector<std::vector<std::uint32_t>> found;
        std::vector<std::uint32_t> chosen;
        searchSets(index, tiling, pieces, 0, size, chosen, {}, found);
        if (!found.empty())
            return found[random % found.size()];
    }
    return {pieces.begin(), pieces.end()};
}

Expected<std::vector<Puzzle>, std::string> makePuzzles(const TilingIndex &index,
                                                       const PuzzleRequest &request)
{
    const int pieces = static_cast<int>(index.piecesOf(0).size());
    if (request.count < 1 || request.count > 60)
        return std::string("a sheet holds 1 to 60 puzzles");
    if (request.given != FewestGiven && (request.given < 1 || request.given >= pieces))
        return "the pieces given must be 1 to " + std::to_string(pieces - 1) + " on " +
               trayName(index.board());
    Random random(request.seed);
    // The solutions in an order of the seed's, each puzzle from the next.
    const std::uint32_t solutions = index.size() / static_cast<std::uint32_t>(index.images());
    std::vector<std::uint32_t> order(solutions);
    for (std::uint32_t s = 0; s < solutions; ++s)
        order[s] = s;
    for (std::uint32_t s = solutions; s > 1; --s)
        std::swap(order[s - 1], order[random.below(s)]);

    // With one piece given, the pieces that one tiling alone holds.
    std::vector<std::uint32_t> alone;
    if (request.given == 1) {
        for (std::uint32_t t = 0; t < index.size(); ++t)
            for (std::uint32_t piece : index.piecesOf(t))
                if (index.count(std::span(&piece, 1), 2) == 1)
                    alone.push_back(piece);
        if (alone.empty()) {
            // The fewest that work there: the least of the tilings' fewest.
            std::size_t least = static_cast<std::size_t>(pieces);
            for (std::uint32_t t = 0; t < index.size(); t += std::max(1u, index.size() / 64))
                least = std::min(least, fewestGiven(index, t, 0).size());
            return "with 1 piece given, no puzzle on " + trayName(index.board()) +
                   " has a single answer; the fewest that work there are " + std::to_string(least);
        }
    }

    std::vector<Puzzle> puzzles;
    std::set<std::pair<std::uint32_t, std::vector<std::uint32_t>>> made;
    for (int tries = 0; static_cast<int>(puzzles.size()) < request.count; ++tries) {
        if (tries > 2000)
            return "no more puzzles with one answer on " + trayName(index.board());
        const std::uint32_t solution = order[puzzles.size() % solutions];
        std::uint32_t tiling = solution * static_cast<std::uint32_t>(index.images()) +
                               random.below(static_cast<std::uint32_t>(index.images()));
        Puzzle p{tiling, {}};
        if (request.given == 1) {
            const std::uint32_t piece =
                alone[random.below(static_cast<std::uint32_t>(alone.size()))];
            p = {index.holding(std::span(&piece, 1)).front(), {piece}};
        } else {
            // The fewest that leave one answer, and as many more of the
            // tiling's pieces as were asked for.
            p.given = fewestGiven(index, tiling, random.next());
            if (request.given != FewestGiven) {
                if (p.given.size() > static_cast<std::size_t>(request.given))
                    continue;
                std::vector<std::uint32_t> rest;
                for (std::uint32_t piece : index.piecesOf(tiling))
                    if (std::find(p.given.begin(), p.given.end(), piece) == p.given.end())
                        rest.push_back(piece);
                while (p.given.size() < static_cast<std::size_t>(request.given)) {
                    const std::uint32_t k = random.below(static_cast<std::uint32_t>(rest.size()));
                    p.given.push_back(rest[k]);
                    rest.erase(rest.begin() + k);
                }
            }
        }
        std::vector<std::uint32_t> key = p.given;
        std::sort(key.begin(), key.end());
        if (!made.emplace(p.tiling, key).second)
            continue;
        // Given pieces in the order the tiling lays them.
        const auto laid = index.piecesOf(p.tiling);
        std::stable_sort(p.given.begin(), p.given.end(), [&](std::uint32_t a, std::uint32_t b) {
            return std::find(laid.begin(), laid.end(), a) < std::find(laid.begin(), laid.end(), b);
        });
        puzzles.push_back(std::move(p));
    }
    return puzzles;
}

std::string puzzleText(const TilingIndex &index, const Puzzle &puzzle)
{
    Tiling shown = index.tiling(puzzle.tiling);
    shown.placements.clear();
    for (std::uint32_t p : puzzle.given)
        shown.placements.push_back(index.placement(p));
    return letterRows(shown) + "solution " + std::to_string(index.solutionOf(puzzle.tiling)) + "\n";
}

std::string piecesToPlace(const TilingIndex &index, const Puzzle &puzzle)
{
    std::string letters;
    const auto add = [&](char l) {
        if (!letters.empty())
            letters += ' ';
        letters += l;
    };
    std::string missing;
    for (std::uint32_t p : index.piecesOf(puzzle.tiling))
        if (std::find(puzzle.given.begin(), puzzle.given.end(), p) == puzzle.given.end()) {
            const Integer shape = index.placement(p).shape;
            missing += shape == SquarePiece ? 'O' : orientation(shape).Letter.at(0);
        }
    for (char l : std::string("FILNPTUVWXYZO"))
        if (missing.find(l) != std::string::npos)
            add(l);
    return letters;
}

} // namespace tw
