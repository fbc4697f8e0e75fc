#pragma once

#include "BruteForce.h"
#include "pieces/PieceState.h"
#include "solutions/Catalogue.h"
#include "solutions/Database.h"
#include "solutions/Decoding.h"
#include "solutions/Region.h"
#include "solutions/TilingIndex.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
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

// The catalogue of the generated database's trays.
inline const Catalogue &trays()
{
    static const Catalogue all = [] {
        Catalogue c;
        auto records =
            OpenDatabase(TILEWRIGHT_TEST_DATABASE, readOnlyUri(TILEWRIGHT_TEST_DATABASE));
        EXPECT_TRUE(records);
        if (records)
            c.setDatabase(std::move(*records));
        return c;
    }();
    return all;
}

// The 8 x 8 tray with its centre out, which the program does not ship,
// drawn as a user draws it and given to a catalogue after the database's
// trays, at place CentreHole, with the solutions the tests' own search
// finds: each tiling's smallest image under the tray's symmetry, once.
inline constexpr Integer CentreHole = 5;
inline const Catalogue &withCentreHole()
{
    static const Catalogue all = [] {
        Catalogue c = trays();
        const Tray tray = *readRegion("########\n########\n########\n###..###\n###..###\n"
                                      "########\n########\n########\n",
                                      "Centre hole");
        const auto images = cellImages(tray);
        std::set<CellLetters> solutions;
        for (const CellLetters &tiling : plainTilings(tray))
            solutions.insert(smallestImage(tiling, images));
        EXPECT_EQ(c.add(tray, {solutions.begin(), solutions.end()}), CentreHole);
        return c;
    }();
    return all;
}

// A tray's index of tilings: the generated database's, or CentreHole's.
inline const TilingIndex &indexOf(Integer tray)
{
    return *(tray == CentreHole ? withCentreHole() : trays()).tilingIndex(tray);
}

// The box's cells that are not the tiling's tray, as (column, row).
inline std::vector<std::pair<int, int>> holesOf(const Tiling &t)
{
    std::vector<std::pair<int, int>> holes;
    for (const Integer h : t.holes)
        holes.emplace_back(h / t.stride(), h % t.stride());
    return holes;
}

// A test with a scratch folder of its own, removed afterwards.
class ScratchTest : public testing::Test
{
protected:
    void SetUp() override
    {
        // A parameterised test's name holds a slash: one folder, not two.
        std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '-');
        m_dir = std::filesystem::temp_directory_path() /
                ("tilewright-" + std::to_string(::getpid()) + "-" + name);
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
