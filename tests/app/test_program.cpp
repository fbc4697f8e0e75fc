#include "app/Advice.h"
#include "app/Program.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tw {
namespace {

TEST(Program, FormsTheDatabasePathByPlainConcatenation)
{
    EXPECT_EQ(databasePath("/opt/tw"), "/opt/tw/Solutions.mdb");
    EXPECT_EQ(databasePath("/opt/tw/"), "/opt/tw//Solutions.mdb");
    const std::string empty = std::filesystem::temp_directory_path() / "tilewright-no-database";
    std::filesystem::create_directories(empty);
    Program program(empty, QSizeF(11906, 16838));
    const auto error = program.Main();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->fault, DatabaseFault::FileMissing);
    EXPECT_EQ(program.state().DbPath, empty + "/Solutions.mdb");
    EXPECT_EQ(program.state().ConnectString, readOnlyUri(program.state().DbPath));
    EXPECT_FALSE(program.state().PreviewControl);
}

TEST(Advice, AdvisesRebuildingOnlyWhatIsDamaged)
{
    for (int f = 0; f <= static_cast<int>(DatabaseFault::NotOpen); ++f) {
        const auto fault = static_cast<DatabaseFault>(f);
        const std::string remedy = remedyFor({fault, "The solution database ...", "/x/S.mdb"});
        const bool damaged =
            fault >= DatabaseFault::NotADatabase && fault <= DatabaseFault::NotATiling;
        EXPECT_EQ(remedy.rfind("Delete \"/x/S.mdb\" and run \"make run\"", 0) == 0, damaged)
            << f << ": " << remedy;
    }
    EXPECT_NE(remedyFor({DatabaseFault::HalfChanged, "", "/x/S.mdb"}).find("sqlite3 \"/x/S.mdb\""),
              std::string::npos);
}

} // namespace
} // namespace tw
