#include "solutions/Puzzles.h"

#include "pieces/PieceTables.h"
#include "solutions/LetterGrid.h"

#include <algorithm>
#include <set>
#include <unordered_map>

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

std::string trayName(const TilingIndex &index)
{
    return theTray(index.tray());
}

using PieceSet = std::vector<std::uint32_t>; // ascending

// Every set of the smallest size, up to most pieces, of a tiling's pieces
// that no other tiling holds together; none when even most do not.
std::vector<PieceSet> smallestSets(const TilingIndex &index, std::uint32_t tiling, std::size_t most)
{
    const auto pieces = index.piecesOf(tiling);
    for (std::size_t size = 1; size <= std::min(most, pieces.size()); ++size) {
        std::vector<PieceSet> found;
        std::vector<std::uint32_t> chosen;
        searchSets(index, tiling, pieces, 0, size, chosen, {}, found);
        if (!found.empty()) {
            for (PieceSet &set : found)
                std::sort(set.begin(), set.end());
            return found;
        }
    }
    return {};
}

// Every pair of pieces that one tiling alone holds, by tiling: for each
// piece, how often each other piece shares a tiling with it.
std::vector<std::pair<std::uint32_t, PieceSet>> uniquePairs(const TilingIndex &index)
{
    std::vector<std::pair<std::uint32_t, PieceSet>> pairs;
    const std::uint32_t placements = index.placementCount();
    std::vector<std::uint32_t> together(placements, 0), where(placements, 0);
    std::vector<std::uint32_t> met;
    for (std::uint32_t a = 0; a < placements; ++a) {
        for (std::uint32_t t : index.holding(std::span(&a, 1)))
            for (std::uint32_t b : index.piecesOf(t))
                if (b > a) {
                    if (together[b]++ == 0)
                        met.push_back(b);
                    where[b] = t;
                }
        for (std::uint32_t b : met) {
            if (together[b] == 1)
                pairs.push_back({where[b], {a, b}});
            together[b] = 0;
        }
        met.clear();
    }
    std::sort(pairs.begin(), pairs.end());
    return pairs;
}

// The sets of given pieces that make a puzzle of one tiling, for one way
// of asking: each set leaves that tiling alone.
class PuzzleSets
{
public:
    PuzzleSets(const TilingIndex &index, int given) : m_index(index), m_given(given)
    {
        if (given == 2)
            m_pairs = uniquePairs(index);
    }

    std::vector<PieceSet> of(std::uint32_t tiling) const
    {
        const auto pieces = m_index.piecesOf(tiling);
        std::vector<PieceSet> sets;
        if (m_given == 1) {
            for (std::uint32_t p : pieces)
                if (m_index.count(std::span(&p, 1), 2) == 1)
                    sets.push_back({p});
        } else if (m_given == 2) {
            const auto [from, to] =
                std::equal_range(m_pairs.begin(), m_pairs.end(), std::pair{tiling, PieceSet{}},
                                 [](const auto &x, const auto &y) { return x.first < y.first; });
            for (auto it = from; it != to; ++it)
                sets.push_back(it->second);
        } else if (m_given == FewestGiven) {
            sets = smallestSets(m_index, tiling, pieces.size());
        } else {
            // The smallest sets that leave one answer, each with as many
            // more of the tiling's pieces as were asked for, in every way.
            std::set<PieceSet> padded;
            for (const PieceSet &core : smallestSets(m_index, tiling, m_given))
                pad(core, pieces, 0, padded);
            sets.assign(padded.begin(), padded.end());
        }
        return sets;
    }

private:
    void pad(PieceSet set, std::span<const std::uint32_t> pieces, std::size_t from,
             std::set<PieceSet> &out) const
    {
        if (set.size() == static_cast<std::size_t>(m_given)) {
            std::sort(set.begin(), set.end());
            out.insert(set);
            return;
        }
        for (std::size_t k = from; k < pieces.size(); ++k)
            if (std::find(set.begin(), set.end(), pieces[k]) == set.end()) {
                PieceSet more = set;
                more.push_back(pieces[k]);
                pad(std::move(more), pieces, k + 1, out);
            }
    }

    const TilingIndex &m_index;
    int m_given;
    std::vector<std::pair<std::uint32_t, PieceSet>> m_pairs;
};

} // namespace

std::vector<std::uint32_t> fewestGiven(const TilingIndex &index, std::uint32_t tiling,
                                       std::uint64_t random)
{
    const auto found = smallestSets(index, tiling, index.piecesOf(tiling).size());
    if (found.empty()) {
        const auto pieces = index.piecesOf(tiling);
        return {pieces.begin(), pieces.end()};
    }
    return found[random % found.size()];
}

Expected<std::vector<Puzzle>, std::string> makePuzzles(const TilingIndex &index,
                                                       const PuzzleRequest &request)
{
    const int pieces = static_cast<int>(index.piecesOf(0).size());
    if (request.count < 1 || request.count > 60)
        return std::string("a sheet holds 1 to 60 puzzles");
    if (request.given != FewestGiven && (request.given < 1 || request.given >= pieces))
        return "the pieces given must be 1 to " + std::to_string(pieces - 1) + " on " +
               trayName(index);
    Random random(request.seed);
    // The solutions in an order of the seed's.
    const auto images = static_cast<std::uint32_t>(index.images());
    const std::uint32_t solutions = index.size() / images;
    std::vector<std::uint32_t> order(solutions);
    for (std::uint32_t s = 0; s < solutions; ++s)
        order[s] = s;
    for (std::uint32_t s = solutions; s > 1; --s)
        std::swap(order[s - 1], order[random.below(s)]);

    // Round by round, one puzzle from each solution that has one left, in
    // that order, so that a sheet repeats a solution only when the tray
    // has too few; a solution none of whose images has a puzzle left drops
    // out. Sets already used are taken out of a tiling's list.
    const PuzzleSets sets(index, request.given);
    std::unordered_map<std::uint32_t, std::vector<PieceSet>> left;
    const auto setsLeft = [&](std::uint32_t tiling) -> std::vector<PieceSet> & {
        auto it = left.find(tiling);
        if (it == left.end())
            it = left.emplace(tiling, sets.of(tiling)).first;
        return it->second;
    };
    std::vector<Puzzle> puzzles;
    std::vector<std::uint32_t> alive = order;
    while (static_cast<int>(puzzles.size()) < request.count && !alive.empty()) {
        std::vector<std::uint32_t> still;
        for (std::uint32_t solution : alive) {
            if (static_cast<int>(puzzles.size()) == request.count)
                break;
            const std::uint32_t first = random.below(images);
            for (std::uint32_t g = 0; g < images; ++g) {
                const std::uint32_t tiling = solution * images + (first + g) % images;
                std::vector<PieceSet> &choices = setsLeft(tiling);
                if (choices.empty())
                    continue;
                const std::uint32_t k = random.below(static_cast<std::uint32_t>(choices.size()));
                Puzzle p{tiling, std::move(choices[k])};
                choices.erase(choices.begin() + k);
                // Given pieces in the order the tiling lays them.
                const auto laid = index.piecesOf(tiling);
                std::sort(p.given.begin(), p.given.end(), [&](std::uint32_t a, std::uint32_t b) {
                    return std::find(laid.begin(), laid.end(), a) <
                           std::find(laid.begin(), laid.end(), b);
                });
                puzzles.push_back(std::move(p));
                still.push_back(solution);
                break;
            }
        }
        alive = std::move(still);
    }
    if (static_cast<int>(puzzles.size()) == request.count)
        return puzzles;

    const std::string asked = request.given == FewestGiven ? std::string("the fewest pieces")
                              : request.given == 1         ? std::string("1 piece")
                                                   : std::to_string(request.given) + " pieces";
    if (puzzles.empty()) {
        // The fewest that work there: the least of the tilings' fewest.
        std::size_t least = static_cast<std::size_t>(pieces);
        for (std::uint32_t t = 0; t < index.size(); t += std::max(1u, index.size() / 64))
            least = std::min(least, fewestGiven(index, t, 0).size());
        if (request.given == 1 && !uniquePairs(index).empty())
            least = 2;
        least = std::max(least, static_cast<std::size_t>(request.given) + 1);
        return "with " + asked + " given, no puzzle on " + trayName(index) +
               " has a single answer; the fewest that work there are " + std::to_string(least);
    }
    return trayName(index) + " has only " + std::to_string(puzzles.size()) +
           " puzzles with one answer and " + asked + " given; ask for " +
           std::to_string(puzzles.size()) + " or fewer";
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
