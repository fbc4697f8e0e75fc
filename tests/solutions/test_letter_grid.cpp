#include "Table.h"
#include "solutions/LetterGrid.h"

#include <gtest/gtest.h>

#include <map>

namespace tw {
namespace {

// Every way of writing a tiling that is read, to the same images as it is
// written first.
TEST(ReadLetterGrid, TakesWhatEditorsWrite)
{
    const auto rows = test::tableRows("read-grids.txt");
    const auto plain = readLetterGrid(test::unescaped(rows.front().at(1)));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->images.size(), 4u);
    for (const auto &row : rows) {
        SCOPED_TRACE(row[0]);
        const auto read = readLetterGrid(test::unescaped(row.at(1)));
        ASSERT_TRUE(read) << read.error().message;
        EXPECT_EQ(read->images, plain->images);
    }
}

// A row: its name, the text, the fault and the message.
class RefusedGrid : public testing::TestWithParam<std::vector<std::string>>
{
};

TEST_P(RefusedGrid, SaysWhatIsWrong)
{
    using Fault = LetterGridError::Fault;
    const std::map<std::string, Fault> faults{
        {"Empty", Fault::Empty},   {"Ragged", Fault::Ragged},   {"Size", Fault::Size},
        {"Letter", Fault::Letter}, {"Missing", Fault::Missing}, {"Repeated", Fault::Repeated},
        {"Shape", Fault::Shape}};
    const auto read = readLetterGrid(test::unescaped(GetParam().at(1)));
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().fault, faults.at(GetParam().at(2)));
    EXPECT_EQ(read.error().message, test::unescaped(GetParam().at(3)));
}

INSTANTIATE_TEST_SUITE_P(Faults, RefusedGrid,
                         testing::ValuesIn(test::tableRows("refused-grids.txt")),
                         [](const auto &info) { return info.param[0]; });

} // namespace
} // namespace tw
