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

} // namespace
} // namespace tw
