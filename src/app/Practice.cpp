#include "app/Practice.h"

#include "solutions/SharedState.h"

#include <random>

namespace tw {

Expected<TilingIndex, DatabaseError> loadTilingIndex(const SharedState &state, Integer board)
{
    if (!state.DbConnection)
        return DatabaseError{DatabaseFault::NotOpen, "The solution database is not open.",
                             state.DbPath};
    auto index = TilingIndex::build(board, state.RecordIndex.records(board));
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
    return 1 + device() % LargestSheetNumber;
}

} // namespace tw
