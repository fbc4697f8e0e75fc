#include "solutions/Catalogue.h"

#include "solutions/Boards.h"
#include "solutions/Region.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace tw {

Catalogue::Catalogue()
{
    for (const Integer board : BuiltInBoards) {
        const TrayInfo &info = Trays[static_cast<std::size_t>(board)];
        Held held{{trayOf(board), Source::Database, ScreenPlace{info.trayLeft, info.trayTop},
                   info.defaultSide, "tray" + std::to_string(board)},
                  board,
                  {},
                  {}};
        m_entries.push_back(std::move(held));
    }
}

void Catalogue::setDatabase(SolutionIndex records)
{
    m_records = std::move(records);
    for (Held &held : m_entries)
        held.index.reset();
}

void Catalogue::setKept(std::vector<KeptTray> trays)
{
    std::erase_if(m_entries, [](const Held &h) { return h.entry.source == Source::Library; });
    const auto firstGiven = std::find_if(m_entries.begin(), m_entries.end(), [](const Held &h) {
        return h.entry.source == Source::Given;
    });
    std::vector<Held> kept;
    for (KeptTray &k : trays)
        kept.push_back(Held{{std::move(k.tray), Source::Library, {}, {}, "kept/" + k.name},
                            0,
                            std::move(k.solutions),
                            {}});
    m_entries.insert(firstGiven, std::make_move_iterator(kept.begin()),
                     std::make_move_iterator(kept.end()));
}

Integer Catalogue::add(Tray tray, std::vector<CellLetters> solutions)
{
    std::string key = "given/" + tray.label();
    m_entries.push_back(Held{
        {std::move(tray), Source::Given, {}, {}, std::move(key)}, 0, std::move(solutions), {}});
    return static_cast<Integer>(m_entries.size() - 1);
}

const Catalogue::Held &Catalogue::held(Integer t) const
{
    if (t < 0 || t >= size())
        throw std::out_of_range("the catalogue has no tray " + std::to_string(t));
    return m_entries[static_cast<std::size_t>(t)];
}

const Catalogue::Entry &Catalogue::entry(Integer t) const
{
    return held(t).entry;
}

Long Catalogue::count(Integer t) const
{
    const Held &h = held(t);
    if (h.entry.source == Source::Database)
        return m_records.count(h.board);
    return static_cast<Long>(h.letters.size());
}

Tiling Catalogue::solution(Integer t, Long n) const
{
    const Held &h = held(t);
    if (n < 1 || n > count(t))
        throw std::out_of_range("solution " + std::to_string(n) + " of " + theTray(h.entry.tray));
    if (h.entry.source != Source::Database)
        return tilingOf(h.entry.tray, t, h.letters[static_cast<std::size_t>(n - 1)]);
    // Every record was checked as it was read: it tiles its tray.
    auto tiling = DecodeSolution(
        h.board, recordOf(m_records.records(h.board)[static_cast<std::size_t>(n - 1)]));
    if (!tiling)
        throw std::logic_error(tiling.error().message);
    tiling->board = t;
    return std::move(*tiling);
}

std::optional<Integer> Catalogue::find(Integer t, std::span<const RecordKey> images) const
{
    const Held &h = held(t);
    if (h.entry.source != Source::Database)
        return std::nullopt;
    return m_records.find(h.board, images);
}

std::optional<Integer> Catalogue::find(Integer t, const CellLetters &smallest) const
{
    const Held &h = held(t);
    const auto at = std::lower_bound(h.letters.begin(), h.letters.end(), smallest);
    if (at == h.letters.end() || *at != smallest)
        return std::nullopt;
    return static_cast<Integer>(at - h.letters.begin() + 1);
}

std::shared_ptr<const TilingIndex> Catalogue::tilingIndex(Integer t) const
{
    const Held &h = held(t);
    if (!h.index) {
        std::vector<Tiling> solutions;
        solutions.reserve(static_cast<std::size_t>(count(t)));
        for (Long n = 1; n <= count(t); ++n)
            solutions.push_back(solution(t, n));
        h.index = std::make_shared<const TilingIndex>(TilingIndex::of(h.entry.tray, t, solutions));
    }
    return h.index;
}

std::optional<Integer> Catalogue::databaseTrayNamed(std::string_view name)
{
    std::string wanted(name);
    std::erase(wanted, ' ');
    std::transform(wanted.begin(), wanted.end(), wanted.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const Integer board : BuiltInBoards) {
        std::string label(Trays[static_cast<std::size_t>(board)].label);
        std::erase(label, ' ');
        if (wanted == std::to_string(board) || wanted == label)
            return board;
    }
    return std::nullopt;
}

std::span<const Tray> Catalogue::databaseTrays()
{
    static const std::vector<Tray> trays = [] {
        std::vector<Tray> all;
        for (const Integer board : BuiltInBoards)
            all.push_back(trayOf(board));
        return all;
    }();
    return trays;
}

bool SelectBoard(SharedState &state, const Catalogue &catalogue, Integer t)
{
    if (t < 0 || t >= catalogue.size())
        return false;
    state.BoardIndex = t;
    state.SolutionNo = catalogue.count(t) > 0 ? 1 : 0;
    return true;
}

} // namespace tw
