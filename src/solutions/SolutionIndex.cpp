#include "solutions/SolutionIndex.h"

#include <bit>

namespace tw {

namespace {

std::size_t hashOf(const RecordKey &key)
{
    std::uint64_t h = 0;
    for (const Integer v : key)
        h = (h ^ static_cast<std::uint16_t>(v)) * 0x9E3779B97F4A7C15u;
    return static_cast<std::size_t>(h ^ (h >> 29));
}

} // namespace

void SolutionIndex::add(Integer board, const RecordKey &key)
{
    m_records.at(static_cast<std::size_t>(board)).push_back(key);
}

void SolutionIndex::finish()
{
    for (std::size_t b = 0; b < m_records.size(); ++b) {
        const auto &records = m_records[b];
        auto &slots = m_slots[b];
        slots.assign(std::bit_ceil(2 * records.size() + 2), 0);
        const std::size_t mask = slots.size() - 1;
        for (std::size_t k = 0; k < records.size(); ++k) {
            std::size_t at = hashOf(records[k]) & mask;
            while (slots[at] != 0)
                at = (at + 1) & mask;
            slots[at] = static_cast<Integer>(k + 1);
        }
    }
}

Integer SolutionIndex::count(Integer board) const
{
    return static_cast<Integer>(m_records.at(static_cast<std::size_t>(board)).size());
}

std::span<const RecordKey> SolutionIndex::records(Integer board) const
{
    if (!isBuiltIn(board))
        return {};
    return m_records[static_cast<std::size_t>(board)];
}

std::optional<Integer> SolutionIndex::find(Integer board, std::span<const RecordKey> keys) const
{
    if (!isBuiltIn(board))
        return std::nullopt;
    const auto &slots = m_slots[static_cast<std::size_t>(board)];
    const auto &records = m_records[static_cast<std::size_t>(board)];
    if (slots.empty())
        return std::nullopt;
    const std::size_t mask = slots.size() - 1;
    for (const RecordKey &key : keys)
        for (std::size_t at = hashOf(key) & mask; slots[at] != 0; at = (at + 1) & mask)
            if (records[static_cast<std::size_t>(slots[at] - 1)] == key)
                return slots[at];
    return std::nullopt;
}

} // namespace tw
