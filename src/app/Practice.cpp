#include "app/Practice.h"

#include "solutions/SharedState.h"

#include <random>

namespace tw {

Expected<TilingIndex, DatabaseError> loadTilingIndex(const SharedState &state, Integer board)
{
    if (!state.DbConnection)
        return DatabaseError{DatabaseFault::NotOpen, "The solution database is not open.",
                             state.DbPath};
    auto rows = state.DbConnection->select(
        "SELECT * FROM Solution WHERE Board=?1 ORDER BY Solution", {board});
    if (!rows)
        return rows.error();
    RecordSet set;
    set.Open(std::move(*rows));
    std::vector<SolutionRecord> records;
    records.reserve(static_cast<std::size_t>(set.RecordCount()));
    for (set.MoveFirst(); !set.IsEOF(); set.MoveNext())
        records.push_back(set.currentRecord());
    auto index = TilingIndex::build(board, records);
    if (!index)
        return DatabaseError{
            DatabaseFault::NotATiling,
            "The solution database \"" + state.DbPath +
                "\" holds a record that is not a tiling: " + index.error().message + ".",
            state.DbPath};
    return std::move(*index);
}

std::uint64_t newSheetNumber()
{
    std::random_device device;
    return 1 + device() % 999999;
}

} // namespace tw
