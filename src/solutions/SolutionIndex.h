#pragma once

#include "base/Integer.h"
#include "solutions/Boards.h"

#include <array>
#include <optional>
#include <span>
#include <vector>

namespace tw {

// A record's values in the database's order: O_Index, X_Index, Shape1 to
// Shape11. Compared as a whole, it orders records as the solutions are
// numbered.
using RecordKey = std::array<Integer, 13>;

// The solution numbers of the records the database holds, by record, so
// that a tiling's number is a binary search away rather than a scan. Built
// once when the database is opened and checked.
class SolutionIndex
{
public:
    void add(Integer board, const RecordKey &key, Integer solution);
    // Sorts what was added; finding needs it.
    void finish();

    // How many records the board has.
    Integer count(Integer board) const;
    // The number of the first of keys that the board's records hold.
    std::optional<Integer> find(Integer board, std::span<const RecordKey> keys) const;

private:
    struct Entry
    {
        RecordKey key;
        Integer solution;
        bool operator<(const Entry &other) const { return key < other.key; }
    };
    std::array<std::vector<Entry>, BoardCount> m_boards;
};

} // namespace tw
