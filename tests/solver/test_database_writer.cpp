#include "Fixtures.h"
#include "solver/DatabaseWriter.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>

namespace fs = std::filesystem;

namespace tw {
namespace {

class WriterTest : public test::ScratchTest
{
protected:
    // Rows of the Solution table as "board,solution,O,X,shapes..." lines.
    static std::vector<std::string> rows(const fs::path &path)
    {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        std::vector<std::string> out;
        sqlite3_exec(
            db, "SELECT * FROM Solution ORDER BY Board, Solution",
            [](void *o, int n, char **values, char **) {
                std::string line;
                for (int k = 0; k < n; ++k)
                    line += (k ? "," : "") + std::string(values[k] ? values[k] : "NULL");
                static_cast<std::vector<std::string> *>(o)->push_back(line);
                return 0;
            },
            &out, nullptr);
        sqlite3_close(db);
        return out;
    }
};

const std::vector<BoardSolutions> TwoTrays{
    {3,
     {{0, 5, {19, 1, 2, 3, 7, 11, 15, 23, 31, 39, 47}},
      {0, 9, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}}}},
    {4, {{30, 2, {22, 1, 30, 36, 5, 14, 43, 51, 9, 18, 61}}}}};

TEST_F(WriterTest, AFailedWriteLeavesNothingBehind)
{
    // A folder where the file should go cannot be replaced by it.
    const fs::path path = m_dir / "Solutions.mdb";
    fs::create_directories(path / "keep");
    const auto error = writeSolutionDatabase(path, TwoTrays);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->rfind("cannot write " + path.string() + ": ", 0), 0u) << *error;
    EXPECT_TRUE(fs::is_directory(path / "keep"));
    EXPECT_EQ(files(), std::vector<fs::path>{"Solutions.mdb"});

    ASSERT_TRUE(writeSolutionDatabase(m_dir / "no" / "such" / "x.mdb", TwoTrays));
    // A name as long as a file name may be: the temporary file's is shortened.
    EXPECT_FALSE(writeSolutionDatabase(m_dir / std::string(255, 'x'), TwoTrays));
}

// A stop signal while the command searches ends it as the signal would,
// leaving the database that was there and no temporary file.
TEST_F(WriterTest, AnInterruptedCommandLeavesTheOldDatabaseAndNothingElse)
{
    const fs::path path = m_dir / "Solutions.mdb";
    ASSERT_FALSE(writeSolutionDatabase(path, TwoTrays));
    for (int signal : {SIGTERM, SIGINT}) {
        pid_t pid = 0;
        std::string solve = TILEWRIGHT_SOLVE, target = path.string();
        char *const argv[] = {solve.data(), target.data(), nullptr};
        ASSERT_EQ(posix_spawn(&pid, solve.c_str(), nullptr, nullptr, argv, environ), 0);
        const fs::path temporary = temporaryPathFor(path, pid);
        for (int k = 0; k < 2000 && !fs::exists(temporary); ++k)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ASSERT_TRUE(fs::exists(temporary)); // the search is under way
        ::kill(pid, signal);
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(files(), std::vector<fs::path>{"Solutions.mdb"});
        EXPECT_EQ(rows(path).size(), 3u);
    }
}

// The command line, run as a user would.
int run(const std::string &arguments, std::string *output = nullptr)
{
    const std::string command = std::string(TILEWRIGHT_SOLVE) + " " + arguments + " 2>&1";
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    std::string text;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe))
        text += buffer;
    if (output)
        *output = text;
    return WEXITSTATUS(pclose(pipe));
}

TEST_F(WriterTest, TheCommandWritesTheTraysAskedForAndExplainsItsArguments)
{
    std::string output;
    const fs::path path = m_dir / "one.mdb";
    for (const auto &[board, line, count] : {std::tuple{"0", "10 x 6   2339 solutions", 2339u},
                                             {"4", "8 x 8   16146 solutions", 16146u}}) {
        ASSERT_EQ(run(std::string("--board ") + board + " " + path.string(), &output), 0) << output;
        EXPECT_NE(output.find(line), std::string::npos) << output;
        EXPECT_EQ(rows(path).size(), count);
    }
    EXPECT_EQ(run("--help", &output), 0);
    EXPECT_NE(output.find("usage: tilewright-solve PATH"), std::string::npos);
    for (const char *bad : {"", "--board 5 x.mdb", "--board x.mdb", "a b", "--frobnicate"}) {
        EXPECT_EQ(run(bad, &output), 2) << bad;
        EXPECT_NE(output.find("usage:"), std::string::npos) << bad;
    }
}

TEST_F(WriterTest, TheCommandWritesOnlyToRegularFiles)
{
    const fs::path device = m_dir / "full";
    if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0)
        GTEST_SKIP() << "making a device node needs root";
    std::string output;
    EXPECT_EQ(run("--board 3 " + device.string(), &output), 1);
    EXPECT_NE(output.find("is not a regular file"), std::string::npos) << output;
    EXPECT_TRUE(fs::is_character_file(device));
    EXPECT_EQ(files(), std::vector<fs::path>{"full"});
}

} // namespace
} // namespace tw

namespace tw {
namespace {

// --region counts a region's tilings and keeps nothing; --list adds each
// solution, in solution order, on a line of its own.
TEST_F(WriterTest, TheCommandCountsARegionAndListsItsSolutions)
{
    const auto write = [&](const char *name, const std::string &text) {
        std::ofstream(m_dir / name) << text;
        return (m_dir / name).string();
    };
    const std::string centre =
        write("centre.txt",
              "########\n########\n########\n###..###\n###..###\n########\n########\n########\n");
    std::string output;
    ASSERT_EQ(run("--region " + centre, &output), 0) << output;
    EXPECT_EQ(output, "60 cells, 8 symmetries: 520 tilings, 65 solutions\n");
    ASSERT_EQ(run("--region " + centre + " --list", &output), 0);
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = output.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(output.substr(at, end - at));
    ASSERT_EQ(lines.size(), 66u);
    EXPECT_EQ(std::set<std::string>(lines.begin() + 1, lines.end()).size(), 65u);
    EXPECT_EQ(lines[1].size(), 8u * 9 - 1);
    EXPECT_EQ(lines[1].substr(4 * 9 - 6, 2), "..") << "the hole, on row 4";
    EXPECT_EQ(files(), (std::vector<fs::path>{"centre.txt"}));

    const std::tuple<std::string, int, const char *> refusals[] = {
        {"--region " + write("short.txt", "##########\n"), 2, "this one has 10"},
        {"--region " + write("split.txt", "##########\n##########\n##########\n##########\n"
                                          "##########\n\n#######.###\n"),
         2, "no tiling: the part of 7 cells at row 7, column 1"},
        {"--region " + (m_dir / "none.txt").string(), 1, "cannot read"},
        {"--region", 2, "usage:"},
        {"--region " + centre + " --lists", 2, "usage:"},
    };
    for (const auto &[arguments, status, says] : refusals) {
        EXPECT_EQ(run(arguments, &output), status) << arguments;
        EXPECT_NE(output.find(says), std::string::npos) << output;
    }
}

} // namespace
} // namespace tw
