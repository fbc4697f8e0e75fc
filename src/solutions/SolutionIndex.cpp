#include "solutions/SolutionIndex.h"

#include <algorithm>

namespace tw {

void SolutionIndex::add(Integer board, const RecordKey &key, Integer solution)
{
    m_boards.at(static_cast<std::size_t>(board)).push_back({key, solution});
}

void SolutionIndex::finish()
{
    for (auto &entries : m_boards)
        std::sort(entries.begin(), entries.end());
}

Integer SolutionIndex::count(Integer board) const
{
    return static_cast<Integer>(m_boards.at(static_cast<std::size_t>(board)).size());
}

std::optional<Integer> SolutionIndex::find(Integer board, std::span<const RecordKey> keys) const
{
    if (board < 0 || board >= BoardCount)
        return std::nullopt;
    const auto &entries = m_boards[static_cast<std::size_t>(board)];
    for (const RecordKey &key : keys) {
        const auto it = std::lower_bound(entries.begin(), entries.end(), Entry{key, 0});
        if (it != entries.end() && it->key == key)
            return it->solution;
    }
    return std::nullopt;
}

} // namespace tw
