#include "base/Files.h"

#include "Fixtures.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>

namespace tw {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// How many files the process holds open: a write or read, failed or not,
// leaves none behind.
long openFiles()
{
    return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
}

class Files : public test::ScratchTest
{
};

TEST_F(Files, AWriteReplacesTheWholeFileKeepingItsPermissionsAndLinks)
{
    const fs::path file = m_dir / "sheet.svg";
    ASSERT_FALSE(writeWholeFile(file.string(), "first"));
    EXPECT_EQ(
        fs::status(file).permissions() & fs::perms::all,
        fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec & ~fs::perms::others_exec &
            ~[] {
                const mode_t mask = ::umask(0);
                ::umask(mask);
                return static_cast<fs::perms>(mask);
            }());
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    const fs::path link = m_dir / "link.svg";
    fs::create_symlink(file, link);
    ASSERT_FALSE(writeWholeFile(link.string(), "second"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contents(file), "second");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    // Nothing is left beside it.
    EXPECT_EQ(files().size(), 2u);
}

TEST_F(Files, ReadsUpToTheLimitOrSaysWhyNot)
{
    const fs::path file = m_dir / "grid.txt";
    std::ofstream(file) << "FILN";
    const long open = openFiles();
    EXPECT_EQ(*readLimited(file.string(), 4), "FILN");
    EXPECT_EQ(*readLimited(file.string(), 3), "FILN"); // one more tells it is longer
    EXPECT_EQ(readLimited(m_dir.string(), 10).error().reason, "it is a folder");
    EXPECT_EQ(readLimited((m_dir / "none").string(), 10).error().sentence("cannot read", "none"),
              "cannot read \"none\": there is no such file; check its name and its folder.");
    // A file the user may not read (as root, every file may be read).
    EXPECT_EQ(readFailureOf(EACCES).sentence("cannot read", "f"),
              "cannot read \"f\": it may not be read; check its permissions (and its folder's).");
    EXPECT_EQ(readLimited("/proc/self/mem", 10).error().reason, "Input/output error");
    EXPECT_EQ(openFiles(), open);
}

} // namespace
} // namespace tw
