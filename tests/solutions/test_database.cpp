#include "Fixtures.h"
#include "solutions/Database.h"
#include "solutions/SharedState.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <grp.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tw {
namespace {

class DatabaseTest : public test::ScratchTest
{
protected:
    // A copy of the generated database, changed by the given SQL.
    std::string copyWith(const std::string &sql, const std::string &name = "Solutions.mdb")
    {
        const fs::path path = m_dir / name;
        fs::copy_file(TILEWRIGHT_TEST_DATABASE, path, fs::copy_options::overwrite_existing);
        if (!sql.empty()) {
            sqlite3 *db = nullptr;
            EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
            char *error = nullptr;
            EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
                << (error ? error : "");
            sqlite3_free(error);
            sqlite3_close(db);
        }
        return path.string();
    }

    std::optional<DatabaseError> open(const std::string &path)
    {
        m_state.DbPath = path;
        m_state.ConnectString = readOnlyUri(path);
        return OpenDatabase(m_state);
    }

    SharedState m_state;
};

struct BadFile
{
    const char *name;
    const char *sql;
    DatabaseFault fault;
    const char *problemEnd; // how the problem text ends, after the file's name
};

void PrintTo(const BadFile &b, std::ostream *os)
{
    *os << b.name;
}

class BadDatabase : public DatabaseTest, public testing::WithParamInterface<BadFile>
{
};

TEST_P(BadDatabase, IsRefusedWithAMessageNamingTheFileAndTheFault)
{
    const std::string path = copyWith(GetParam().sql);
    const auto error = open(path);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->fault, GetParam().fault);
    EXPECT_EQ(error->problem, "The solution database \"" + path + "\" " + GetParam().problemEnd);
    EXPECT_EQ(error->path, path);
    EXPECT_FALSE(m_state.SolutionSet.isOpen());
    EXPECT_FALSE(m_state.DbConnection);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BadDatabase,
    testing::Values(
        BadFile{"no_table", "DROP TABLE Solution", DatabaseFault::MissingTable,
                "has no Solution table."},
        BadFile{"no_field", "ALTER TABLE Solution DROP COLUMN Shape7", DatabaseFault::MissingField,
                "has no Shape7 field in its Solution table."},
        BadFile{"null_value",
                "CREATE TABLE s2 AS SELECT * FROM Solution; DROP TABLE Solution; ALTER TABLE s2 "
                "RENAME TO Solution; UPDATE Solution SET Shape3=NULL WHERE Board=1 AND "
                "Solution=7",
                DatabaseFault::BadValue,
                "has no value in the Shape3 field of solution 7 of the 12 x 5 tray, where a "
                "whole number belongs."},
        BadFile{"fraction", "UPDATE Solution SET X_Index=2.5 WHERE Board=0 AND Solution=3",
                DatabaseFault::BadValue,
                "has the value \"2.5\" in the X_Index field of solution 3 of the 10 x 6 tray, "
                "where a whole number belongs."},
        BadFile{"unknown_board", "UPDATE Solution SET Board=7 WHERE Board=3 AND Solution=2",
                DatabaseFault::UnknownBoard,
                "has a record for board 7, but the trays are numbered 0 to 4."},
        BadFile{"gap", "DELETE FROM Solution WHERE Board=2 AND Solution=17",
                DatabaseFault::BadNumbering,
                "does not number the solutions of the 15 x 4 tray 1 to 367 without gaps: "
                "solution 17 is missing."},
        BadFile{"repeat",
                "CREATE TABLE s2 AS SELECT * FROM Solution; DROP TABLE Solution; ALTER TABLE s2 "
                "RENAME TO Solution; UPDATE Solution SET Solution=1 WHERE Board=3",
                DatabaseFault::BadNumbering,
                "does not number the solutions of the 20 x 3 tray 1 to 2 without gaps: "
                "solution 1 appears twice."},
        BadFile{"too_many",
                "WITH RECURSIVE n(k) AS (SELECT 2340 UNION ALL SELECT k + 1 FROM n WHERE k < "
                "32768) INSERT INTO Solution SELECT 0, k, 0, 2, 22, 4, 2, 54, 62, 42, 9, 11, 16, "
                "23, 36 FROM n",
                DatabaseFault::BadNumbering,
                "holds 32768 solutions for the 10 x 6 tray, more than the 32767 a tray can have."},
        BadFile{"as_many_as_a_tray_can_have_one_broken",
                "WITH RECURSIVE n(k) AS (SELECT 2340 UNION ALL SELECT k + 1 FROM n WHERE k < "
                "32767) INSERT INTO Solution SELECT 0, k, 0, 2, 22, 4, 2, 54, 62, 42, 9, 11, 16, "
                "23, 36 FROM n; UPDATE Solution SET X_Index=2.5 WHERE Board=0 AND Solution=5",
                DatabaseFault::BadValue,
                "has the value \"2.5\" in the X_Index field of solution 5 of the 10 x 6 tray, "
                "where a whole number belongs."},
        BadFile{"no_solutions", "DELETE FROM Solution WHERE Board=1", DatabaseFault::NoSolutions,
                "has no solutions for the 12 x 5 tray."},
        BadFile{"not_a_tiling", "UPDATE Solution SET Shape4=70 WHERE Board=0 AND Solution=12",
                DatabaseFault::NotATiling,
                "holds a solution 12 of the 10 x 6 tray that does not fill the tray: Shape4 is "
                "70, which is not an orientation number (0 to 62)."},
        BadFile{"overlap", "UPDATE Solution SET X_Index=X_Index+1 WHERE Board=4 AND Solution=2",
                DatabaseFault::NotATiling,
                "holds a solution 2 of the 8 x 8 tray that does not fill the tray: Shape2 lays "
                "the V piece (orientation 4) where it would overlap another piece at column 1, "
                "row 6."},
        // Where the table is read in two halves: each fault is found
        // whichever half holds it, and between them.
        BadFile{"gap_where_the_halves_meet", "DELETE FROM Solution WHERE Board=4 AND Solution=6214",
                DatabaseFault::BadNumbering,
                "does not number the solutions of the 8 x 8 tray 1 to 16145 without gaps: "
                "solution 6214 is missing."},
        BadFile{"fraction_in_the_last_record",
                "UPDATE Solution SET Shape11=1.5 WHERE Board=4 AND Solution=16146",
                DatabaseFault::BadValue,
                "has the value \"1.5\" in the Shape11 field of solution 16146 of the 8 x 8 "
                "tray, where a whole number belongs."},
        BadFile{"no_board",
                "CREATE TABLE s2 AS SELECT * FROM Solution; DROP TABLE Solution; ALTER TABLE s2 "
                "RENAME TO Solution; INSERT INTO Solution SELECT NULL, 20000, O_Index, X_Index, "
                "Shape1, Shape2, Shape3, Shape4, Shape5, Shape6, Shape7, Shape8, Shape9, Shape10, "
                "Shape11 FROM Solution WHERE Board=0 AND Solution=1",
                DatabaseFault::BadValue,
                "has a record (row 19866) with no value in its Board field, where a whole "
                "number belongs."},
        // Values that each tile the tray, changed as only a hand could.
        BadFile{"one_record_copied_over_another",
                "UPDATE Solution SET (O_Index, X_Index, Shape1, Shape2, Shape3, Shape4, Shape5, "
                "Shape6, Shape7, Shape8, Shape9, Shape10, Shape11) = (SELECT O_Index, X_Index, "
                "Shape1, Shape2, Shape3, Shape4, Shape5, Shape6, Shape7, Shape8, Shape9, Shape10, "
                "Shape11 FROM Solution WHERE Board=0 AND Solution=3) WHERE Board=0 AND Solution=1",
                DatabaseFault::SameTiling,
                "holds one tiling twice, as solutions 1 and 3 of the 10 x 6 tray."},
        BadFile{"a_copy_added_at_the_end",
                "INSERT INTO Solution SELECT Board, 369, O_Index, X_Index, Shape1, Shape2, Shape3, "
                "Shape4, Shape5, Shape6, Shape7, Shape8, Shape9, Shape10, Shape11 FROM Solution "
                "WHERE Board=2 AND Solution=5",
                DatabaseFault::SameTiling,
                "holds one tiling twice, as solutions 5 and 369 of the 15 x 4 tray."},
        BadFile{"the_last_deleted", "DELETE FROM Solution WHERE Board=4 AND Solution=16146",
                DatabaseFault::WrongCount,
                "holds 16,145 solutions for the 8 x 8 tray, where the generator writes 16,146."},
        BadFile{"two_numbers_swapped",
                "UPDATE Solution SET Solution=-Solution WHERE Board=1 AND Solution IN (1, 2); "
                "UPDATE Solution SET Solution=3+Solution WHERE Board=1 AND Solution < 0",
                DatabaseFault::OutOfOrder,
                "does not number the solutions of the 12 x 5 tray in the generator's order: "
                "solution 2 comes before solution 1."},
        BadFile{"beyond_16_bits", "UPDATE Solution SET O_Index=70000 WHERE Board=1 AND Solution=9",
                DatabaseFault::NotATiling,
                "holds a solution 9 of the 12 x 5 tray that does not fill the tray: O_Index is "
                "70000, outside the range -32768 to 32767."}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(DatabaseTest, AFileThatIsNotADatabaseIsRefused)
{
    const fs::path path = m_dir / "Solutions.mdb";
    std::ofstream(path) << "these are not the records you are looking for\n";
    const auto error = open(path.string());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->fault, DatabaseFault::NotADatabase);
    EXPECT_NE(error->problem.find("file is not a database"), std::string::npos) << error->problem;
}

// A file in trouble that is not damaged: the advice fits the cause and
// never is to delete and rebuild it.
struct Trouble
{
    const char *name;
    DatabaseFault fault;
    const char *problem; // part of the problem text
};

void PrintTo(const Trouble &t, std::ostream *os)
{
    *os << t.name;
}

class TroubledDatabase : public DatabaseTest, public testing::WithParamInterface<Trouble>
{
protected:
    // Makes the trouble happen to a copy at path; returns false to skip.
    bool arrange(const std::string &name, const fs::path &path)
    {
        if (name == "locked") {
            m_other = connect(path);
            return sqlite3_exec(m_other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
        }
        if (name == "half_changed") {
            // A writer's change spilled into the file, copied away with its
            // journal while the writer still holds it.
            const fs::path busy = m_dir / "busy.mdb";
            fs::copy_file(path, busy);
            m_other = connect(busy);
            sqlite3_exec(m_other,
                         "PRAGMA cache_size=2; BEGIN; UPDATE Solution SET O_Index=O_Index+1",
                         nullptr, nullptr, nullptr);
            fs::copy_file(busy, path, fs::copy_options::overwrite_existing);
            fs::copy_file(busy.string() + "-journal", path.string() + "-journal");
            return true;
        }
        if (name == "log_pending") {
            m_other = connect(path);
            return sqlite3_exec(m_other,
                                "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0; "
                                "CREATE TABLE Notes(text)",
                                nullptr, nullptr, nullptr) == SQLITE_OK;
        }
        if (name == "folder") {
            fs::remove(path);
            fs::create_directory(path);
            return true;
        }
        if (name == "unreadable") {
            fs::permissions(path, fs::perms::none);
            return true;
        }
        return false;
    }
    static sqlite3 *connect(const fs::path &path)
    {
        sqlite3 *db = nullptr;
        sqlite3_open(path.c_str(), &db);
        return db;
    }
    void TearDown() override
    {
        sqlite3_close(m_other);
        DatabaseTest::TearDown();
    }
    sqlite3 *m_other = nullptr;
};

TEST_P(TroubledDatabase, IsToldFromDamage)
{
    const std::string path = copyWith("");
    if (!arrange(GetParam().name, path))
        GTEST_SKIP() << "cannot arrange this here";
    const auto told = [&] {
        const auto error = open(path);
        return error && error->fault == GetParam().fault &&
               error->problem.find(GetParam().problem) != std::string::npos;
    };
    if (::geteuid() == 0 && GetParam().fault == DatabaseFault::Unreadable) {
        // Root reads any file: the program runs as a user who may not.
        fs::permissions(m_dir, fs::perms::others_exec, fs::perm_options::add);
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        EXPECT_EXIT(
            {
                if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                    std::_Exit(3);
                std::_Exit(told() ? 0 : 1);
            },
            testing::ExitedWithCode(0), "");
        return;
    }
    const auto error = open(path);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->fault, GetParam().fault);
    EXPECT_NE(error->problem.find(GetParam().problem), std::string::npos) << error->problem;
}

INSTANTIATE_TEST_SUITE_P(
    Causes, TroubledDatabase,
    testing::Values(
        Trouble{"locked", DatabaseFault::InUse,
                "is in use by another program (database is locked)"},
        Trouble{"half_changed", DatabaseFault::HalfChanged, "was left half-changed"},
        Trouble{"log_pending", DatabaseFault::InUse, "holds changes not yet written into it"},
        Trouble{"folder", DatabaseFault::NotAFile, "is a folder, not a database file"},
        Trouble{"unreadable", DatabaseFault::Unreadable, "cannot be read: permission denied"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(DatabaseTest, ALogModeFileIsReadWithoutLeavingAnythingBeside)
{
    const std::string path = copyWith("PRAGMA journal_mode=WAL");
    ASSERT_FALSE(open(path));
    ASSERT_FALSE(SelectBoard(m_state, 0));
    EXPECT_EQ(m_state.SolutionSet.RecordCount(), 2339);
    m_state.SolutionSet.Close();
    m_state.DbConnection.reset();
    EXPECT_EQ(files(), std::vector<fs::path>{"Solutions.mdb"});
}

TEST_F(DatabaseTest, OpensFoldersWhoseNamesLookLikeUriSyntax)
{
    fs::create_directories(m_dir / "a?b#c%20d e");
    const std::string path = copyWith("", "a?b#c%20d e/Solutions.mdb");
    EXPECT_EQ(readOnlyUri("/x y/a?b#c%.mdb"), "file:/x%20y/a%3Fb%23c%25.mdb?mode=ro");
    EXPECT_FALSE(open(path));
}

TEST_F(DatabaseTest, OpensEverySolutionOnAConnectionThatCannotWrite)
{
    ASSERT_FALSE(open(copyWith("")));
    const auto write = m_state.DbConnection->select("DELETE FROM Solution");
    EXPECT_FALSE(write);
    const auto count = m_state.DbConnection->select("SELECT count(*) FROM Solution");
    ASSERT_TRUE(count);
    EXPECT_EQ(count->values.at(0).number, 19865);
}

// What the program keeps of every record at start-up is what the table
// holds, record for record, whether the table's key orders the rows or not.
TEST_F(DatabaseTest, KeepsEveryRecordAsStoredWhateverTheTablesOrder)
{
    const struct
    {
        const char *name;
        const char *sql;
    } tables[] = {
        {"as_generated", ""},
        {"unordered_copy",
         "CREATE TABLE s2 AS SELECT * FROM Solution ORDER BY Board DESC, Solution DESC; DROP "
         "TABLE Solution; ALTER TABLE s2 RENAME TO Solution"},
    };
    for (const auto &table : tables) {
        SCOPED_TRACE(table.name);
        SharedState state;
        state.DbPath = copyWith(table.sql);
        state.ConnectString = readOnlyUri(state.DbPath);
        ASSERT_FALSE(OpenDatabase(state));
        const Integer counts[BoardCount] = {2339, 1010, 368, 2, 16146};
        for (Integer board = 0; board < BoardCount; ++board) {
            const auto kept = state.RecordIndex.records(board);
            ASSERT_EQ(state.RecordIndex.count(board), counts[board]);
            ASSERT_EQ(kept.size(), static_cast<std::size_t>(counts[board]));
            ASSERT_FALSE(SelectBoard(state, board));
            for (std::size_t n = 0; n < kept.size(); ++n, state.SolutionSet.MoveNext()) {
                const SolutionRecord stored = state.SolutionSet.currentRecord();
                ASSERT_EQ(recordOf(kept[n]).X_Index, stored.X_Index) << "solution " << n + 1;
                ASSERT_EQ(recordOf(kept[n]).O_Index, stored.O_Index) << "solution " << n + 1;
                ASSERT_EQ(recordOf(kept[n]).Shape, stored.Shape) << "solution " << n + 1;
            }
            // Found by its number from the first record; a number past the
            // last leaves the cursor past the end.
            state.SolutionSet.MoveFirst();
            ASSERT_TRUE(state.SolutionSet.FindSolution(counts[board]));
            EXPECT_EQ(state.SolutionSet.position(), counts[board] - 1);
            EXPECT_FALSE(state.SolutionSet.FindSolution(counts[board] + 1));
            EXPECT_TRUE(state.SolutionSet.IsEOF());
        }
        state.SolutionSet.Close();
    }
}

} // namespace
} // namespace tw
