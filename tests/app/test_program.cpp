#include "app/Advice.h"
#include "app/Program.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tw {
namespace {

TEST(Program, LooksBesideItselfThenWhereItIsInstalled)
{
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / "tilewright-places";
    fs::remove_all(root);
    fs::create_directories(root / "bin");
    fs::create_directories(root / "share" / "tilewright");
    const std::string bin = (root / "bin").string();
    const std::string installed = (root / "share/tilewright/Solutions.mdb").string();
    Program missing(bin, QSizeF(11906, 16838));
    const auto error = missing.Main();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->fault, DatabaseFault::FileMissing);
    EXPECT_EQ(error->problem, "The solution database was not found: Tilewright looked for \"" +
                                  bin + "/Solutions.mdb\" and \"" + installed + "\".");
    // Installed, it says how to write the database where it belongs.
    EXPECT_EQ(missing.advice().remedy(*error),
              "To make the database, generate it with: \"" + bin + "/tilewright-solve\" \"" +
                  installed + "\" (as root where that folder belongs to the system).");
    fs::copy_file(TILEWRIGHT_TEST_DATABASE, installed);
    Program found(bin, QSizeF(11906, 16838));
    EXPECT_FALSE(found.Main());
    EXPECT_EQ(found.DbPath(), installed);
    fs::remove_all(root);
    EXPECT_EQ(databasePath("/opt/tw/"), "/opt/tw//Solutions.mdb"); // joined as they are
}

TEST(Advice, AdvisesMakingTheDatabaseOnlyWhereItIsMissingOrDamaged)
{
    const Advice build({{"/src/build/bin/Solutions.mdb"},
                        "/src/build/bin/Solutions.mdb",
                        "/src/build/bin/tilewright-solve",
                        "/src"});
    const std::string make = "run \"make\" in \"/src\", or: \"/src/build/bin/tilewright-solve\" "
                             "\"/src/build/bin/Solutions.mdb\".";
    for (int f = 0; f <= static_cast<int>(DatabaseFault::WrongCount); ++f) {
        const auto fault = static_cast<DatabaseFault>(f);
        const bool lost =
            fault == DatabaseFault::FileMissing || fault == DatabaseFault::NotAFile ||
            (fault >= DatabaseFault::NotADatabase && fault <= DatabaseFault::WrongCount);
        const std::string remedy = build.remedy({fault, "...", "/src/build/bin/Solutions.mdb"});
        EXPECT_EQ(remedy.find(make) != std::string::npos, lost) << f << ": " << remedy;
    }
    EXPECT_NE(
        build.remedy({DatabaseFault::HalfChanged, "", "/x/S.mdb"}).find("sqlite3 \"/x/S.mdb\""),
        std::string::npos);
    // A damaged file that make does not write is mended by the generator.
    EXPECT_EQ(build.remedy({DatabaseFault::NotADatabase, "", "/x/S.mdb"}),
              "Its content is damaged. To make it again, generate it with: "
              "\"/src/build/bin/tilewright-solve\" "
              "\"/x/S.mdb\" (as root where that folder belongs to the system).");
}

// An installed copy with a damaged file beside it opens that file: the
// advice mends that file, not the installed one it would not read.
TEST(Advice, NamesTheFileThatWasOpened)
{
    const Advice installed({{"/opt/tw/bin/Solutions.mdb", "/opt/tw/share/tilewright/Solutions.mdb"},
                            "/opt/tw/share/tilewright/Solutions.mdb",
                            "/opt/tw/bin/tilewright-solve",
                            {}});
    const std::string solve = "\"/opt/tw/bin/tilewright-solve\" ";
    EXPECT_NE(installed.remedy({DatabaseFault::NotADatabase, "", "/opt/tw/bin/Solutions.mdb"})
                  .find(solve + "\"/opt/tw/bin/Solutions.mdb\""),
              std::string::npos);
    EXPECT_NE(installed.remedy({DatabaseFault::FileMissing, "", "/opt/tw/bin/Solutions.mdb"})
                  .find(solve + "\"/opt/tw/share/tilewright/Solutions.mdb\""),
              std::string::npos);
}

} // namespace
} // namespace tw
