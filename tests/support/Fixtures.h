#pragma once

#include "pieces/PieceState.h"
#include "solutions/Boards.h"
#include "solutions/Database.h"
#include "solutions/Decoding.h"
#include "solutions/SharedState.h"
#include "solutions/TilingIndex.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>

namespace tw::test {

// A record with all its values present.
inline SolutionRecord record(long long o, long long x, std::array<long long, 11> shapes)
{
    SolutionRecord r;
    r.O_Index = o;
    r.X_Index = x;
    for (std::size_t k = 0; k < 11; ++k)
        r.Shape[k] = shapes[k];
    return r;
}

// Every tray's index of tilings, from the generated database.
inline const TilingIndex &indexOf(Integer board)
{
    static const std::map<Integer, TilingIndex> all = [] {
        SharedState state;
        state.DbPath = TILEWRIGHT_TEST_DATABASE;
        state.ConnectString = readOnlyUri(state.DbPath);
        EXPECT_FALSE(OpenDatabase(state));
        std::map<Integer, TilingIndex> indexes;
        for (Integer b = 0; b < BoardCount; ++b)
            indexes.emplace(b, *TilingIndex::build(b, state.RecordIndex.records(b)));
        return indexes;
    }();
    return all.at(board);
}

// A test with a scratch folder of its own, removed afterwards.
class ScratchTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() /
                ("tilewright-" + std::to_string(::getpid()) + "-" +
                 testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    // The names of what the scratch folder holds.
    std::vector<std::filesystem::path> files() const
    {
        std::vector<std::filesystem::path> out;
        for (const auto &e : std::filesystem::directory_iterator(m_dir))
            out.push_back(e.path().filename());
        return out;
    }

    std::filesystem::path m_dir;
};

} // namespace tw::test
