#include "Table.h"
#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

using K = Command::Kind;

Command parse(std::initializer_list<const char *> arguments)
{
    std::vector<std::string> bytes(arguments.begin(), arguments.end());
    return parseCommandLine(bytes);
}

// A row: its name, the arguments, what the refusal says.
class CommandLineRefuses : public testing::TestWithParam<std::vector<std::string>>
{
};

TEST_P(CommandLineRefuses, WithOneLineSayingWhy)
{
    const Command c = parseCommandLine(test::words(GetParam().at(1)));
    EXPECT_EQ(c.kind, K::Error);
    EXPECT_EQ(c.error, GetParam().at(2));
}

INSTANTIATE_TEST_SUITE_P(Table, CommandLineRefuses,
                         testing::ValuesIn(test::tableRows("command-line-refusals.txt")),
                         [](const auto &info) { return info.param[0]; });

TEST(CommandLine, TakesEveryCommandWithItsArgumentsAsTyped)
{
    EXPECT_EQ(parse({}).kind, K::Window);
    EXPECT_EQ(parse({"-h", "--report"}).kind, K::Help);
    EXPECT_EQ(parse({"--version"}).kind, K::Version);

    const Command report = parse({"--report", "8 X 8", "2", "5", "--png-page", "2", "p\xe9.png",
                                  "--dpi=36", "--side", "0.1", "--landscape", "--colour", "--paper",
                                  "a5", "--letters", "--palette", "SAFE"});
    ASSERT_EQ(report.kind, K::Report) << report.error;
    EXPECT_EQ(report.board, 4);
    EXPECT_EQ(report.from, "2");
    EXPECT_EQ(report.to, "5");
    EXPECT_EQ(report.page, 2);
    EXPECT_EQ(report.png, "p\xe9.png"); // byte for byte
    EXPECT_EQ(report.dpi, 36);
    EXPECT_EQ(report.side, std::optional<std::string>("0.1"));
    EXPECT_TRUE(report.landscape && report.colour);
    EXPECT_EQ(report.paper, QSizeF(420, 595) * 20);
    EXPECT_EQ(report.look, (Appearance{true, Palette::Safe}));

    const Command png = parse({"--png", "15x4", "7", "--dpi", "600", "--", "-out.png"});
    ASSERT_EQ(png.kind, K::Png) << png.error;
    EXPECT_EQ(png.output, "-out.png"); // after "--", a name, not an option
    EXPECT_EQ(png.dpi, 600);
    EXPECT_EQ(parse({"--png", "15x4", "7", "o"}).dpi, 150);

    for (const auto &[board, given, k] : {std::tuple{"10x6", "11", 11},
                                          {"8x8", "12", 12},
                                          {"8x8", "1", 1},
                                          {"12x5", "Fewest", 0}}) {
        const Command practice = parse({"--practice", board, "60", "--given", given, "--text"});
        ASSERT_EQ(practice.kind, K::Practice) << given << ": " << practice.error;
        EXPECT_EQ(practice.given, k);
    }

    const Command find = parse({"--find", "-"});
    ASSERT_EQ(find.kind, K::Find);
    EXPECT_EQ(find.input, "-");
}

} // namespace
} // namespace tw
