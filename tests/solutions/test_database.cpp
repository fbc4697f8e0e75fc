#include "Fixtures.h"
#include "Table.h"
#include "solutions/Boards.h"
#include "solutions/Database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <grp.h>
#include <map>
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
        auto records = OpenDatabase(path, readOnlyUri(path));
        if (!records)
            return records.error();
        m_records = std::move(*records);
        return std::nullopt;
    }

    std::optional<SolutionIndex> m_records;
};

// A row: its name, the SQL, the fault and how the message ends.
class BadDatabase : public DatabaseTest,
                    public testing::WithParamInterface<std::vector<std::string>>
{
protected:
    static DatabaseFault fault(const std::string &name)
    {
        const std::map<std::string, DatabaseFault> faults{
            {"BadNumbering", DatabaseFault::BadNumbering},
            {"BadValue", DatabaseFault::BadValue},
            {"MissingField", DatabaseFault::MissingField},
            {"MissingTable", DatabaseFault::MissingTable},
            {"NoSolutions", DatabaseFault::NoSolutions},
            {"NotATiling", DatabaseFault::NotATiling},
            {"OutOfOrder", DatabaseFault::OutOfOrder},
            {"SameTiling", DatabaseFault::SameTiling},
            {"UnknownBoard", DatabaseFault::UnknownBoard},
            {"WrongCount", DatabaseFault::WrongCount},
        };
        return faults.at(name);
    }
};

TEST_P(BadDatabase, IsRefusedWithAMessageNamingTheFileAndTheFault)
{
    const std::string path = copyWith(GetParam().at(1));
    const auto error = open(path);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->fault, fault(GetParam().at(2)));
    EXPECT_EQ(error->problem, "The solution database \"" + path + "\" " + GetParam().at(3));
    EXPECT_EQ(error->path, path);
    EXPECT_FALSE(m_records);
}

INSTANTIATE_TEST_SUITE_P(Faults, BadDatabase,
                         testing::ValuesIn(test::tableRows("bad-databases.txt")),
                         [](const auto &info) { return info.param[0]; });

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
        GTEST_FLAG_SET(death_test_style, "fast");
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
    EXPECT_EQ(m_records->count(0), 2339);
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
    const std::string path = copyWith("");
    const auto db = Database::open(path, readOnlyUri(path));
    ASSERT_TRUE(db);
    const auto write = (*db)->select("DELETE FROM Solution");
    EXPECT_FALSE(write);
    const auto count = (*db)->select("SELECT count(*) FROM Solution");
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
        const std::string path = copyWith(table.sql);
        ASSERT_FALSE(open(path));
        const auto db = Database::open(path, readOnlyUri(path));
        ASSERT_TRUE(db);
        const Integer counts[BoardCount] = {2339, 1010, 368, 2, 16146};
        for (Integer board = 0; board < BoardCount; ++board) {
            const auto kept = m_records->records(board);
            ASSERT_EQ(kept.size(), static_cast<std::size_t>(counts[board]));
            const auto stored = (*db)->select(
                "SELECT O_Index, X_Index, Shape1, Shape2, Shape3, Shape4, Shape5, Shape6, Shape7, "
                "Shape8, Shape9, Shape10, Shape11 FROM Solution WHERE Board=?1 ORDER BY Solution",
                {board});
            ASSERT_TRUE(stored);
            for (std::size_t n = 0; n < kept.size(); ++n)
                for (std::size_t f = 0; f < kept[n].size(); ++f)
                    ASSERT_EQ(kept[n][f], stored->values[n * 13 + f].number)
                        << "solution " << n + 1 << ", field " << f;
        }
    }
}

} // namespace
} // namespace tw
