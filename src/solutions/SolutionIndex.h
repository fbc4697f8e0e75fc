#pragma once

#include "base/Integer.h"
#include "solutions/Boards.h"
#include "solutions/Decoding.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tw {

// Every record the database holds, tray by tray in solution order, in the
// compact form (26 bytes a record, about half a megabyte in all), with a
// hash table that finds a record's solution number without a scan. Built once when the database is
// opened and checked; the finder, the practice sheets and the live count read it.
class SolutionIndex
{
public:
    // Adds the board's next solution, numbered one more than the last.
    void add(Integer board, const RecordKey &key);
    // Makes what was added findable; find needs it.
    void finish();

    // How many records the board has.
    Integer count(Integer board) const;
    // The board's records, solution n at [n - 1]; none for a board that
    // does not exist.
    std::span<const RecordKey> records(Integer board) const;
    // The number of the first of keys that the board's records hold.
    std::optional<Integer> find(Integer board, std::span<const RecordKey> keys) const;

private:
    std::array<std::vector<RecordKey>, BoardCount> m_records;
    // Open addressing: a power of two of slots, at least twice the records,
    // each a solution number or 0 for none.
    std::array<std::vector<Integer>, BoardCount> m_slots;
};

} // namespace tw
