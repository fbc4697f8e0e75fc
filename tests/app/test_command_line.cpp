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

struct Refused
{
    const char *name;
    std::vector<const char *> arguments;
    const char *error;
};

void PrintTo(const Refused &r, std::ostream *os)
{
    *os << r.name;
}

class CommandLineRefuses : public testing::TestWithParam<Refused>
{
};

TEST_P(CommandLineRefuses, WithOneLineSayingWhy)
{
    const std::vector<std::string> bytes(GetParam().arguments.begin(), GetParam().arguments.end());
    const Command c = parseCommandLine(bytes);
    EXPECT_EQ(c.kind, K::Error);
    EXPECT_EQ(c.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLineRefuses,
    testing::Values(
        Refused{"unknown_option",
                {"--report", "0", "1", "2", "--pdf", "o", "--huge"},
                "unknown option 'huge'"},
        Refused{"unknown_short_option", {"-x"}, "unknown option 'x'"},
        Refused{
            "a_value_missing", {"--report", "0", "1", "2", "--pdf"}, "missing value after '--pdf'"},
        Refused{
            "a_value_given_to_a_switch", {"--letters=yes"}, "unexpected value after '--letters'"},
        Refused{"repeated_option",
                {"--report", "0", "1", "2", "--pdf", "o", "--pdf", "p"},
                "--pdf is given more than once"},
        Refused{"repeated_under_its_other_name",
                {"--color", "--colour", "--report", "0", "1", "1"},
                "--colour is given more than once"},
        Refused{"two_things_at_once",
                {"--grid", "0", "1", "--svg"},
                "give only one of --report, --find, --grid, --svg, --png, --count, --complete, "
                "--practice, --new-tray, --trays, --delete-tray and --export-tray"},
        Refused{"report_option_alone",
                {"--landscape"},
                "--landscape belongs to --report and --practice"},
        Refused{"dpi_of_a_drawing",
                {"--svg", "0", "1", "o", "--dpi", "300"},
                "--dpi belongs to --png-page and --png"},
        Refused{"letters_on_a_grid",
                {"--grid", "0", "1", "--letters"},
                "--letters belongs to --report, --svg, --png and --practice"},
        Refused{"stray_argument", {"stray"}, "unexpected argument \"stray\""},
        Refused{"too_few", {"--report", "0", "1", "--pdf", "o"}, "--report needs BOARD FROM TO"},
        Refused{"grid_without_its_number", {"--grid", "0"}, "--grid needs BOARD N"},
        Refused{"extra_argument",
                {"--report", "0", "1", "2", "3", "--pdf", "o"},
                "unexpected argument \"3\""},
        Refused{"no_output",
                {"--report", "0", "1", "2"},
                "give either --pdf OUT or --png-page N OUT.png"},
        Refused{"both_outputs",
                {"--report", "0", "1", "2", "--pdf", "o", "--png-page", "1", "p"},
                "give either --pdf OUT or --png-page N OUT.png"},
        Refused{"page_0",
                {"--report", "0", "1", "2", "--png-page", "0", "p"},
                "the page to write must be a page number"},
        Refused{"page_beyond_16_bits",
                {"--report", "0", "1", "2", "--png-page", "32768", "p"},
                "the page to write must be a page number"},
        // The first value past each end of the resolutions, and far past.
        Refused{"dpi_35",
                {"--png", "0", "1", "o", "--dpi", "35"},
                "the image's resolution must be 36 to 600 dots per inch"},
        Refused{"dpi_601",
                {"--png", "0", "1", "o", "--dpi", "601"},
                "the image's resolution must be 36 to 600 dots per inch"},
        Refused{"dpi_in_words",
                {"--png", "0", "1", "o", "--dpi", "high"},
                "the image's resolution must be 36 to 600 dots per inch"},
        Refused{"given_0",
                {"--practice", "10x6", "1", "--given", "0", "--text"},
                "--given takes fewest or 1 to 11 on this tray"},
        Refused{"given_12_of_12",
                {"--practice", "10x6", "1", "--given", "12", "--text"},
                "--given takes fewest or 1 to 11 on this tray"},
        Refused{"a_count_with_a_sign",
                {"--practice", "10x6", "+5", "--text"},
                "a practice sheet holds 1 to 60 puzzles"},
        Refused{"a_seed_the_dialog_cannot_take",
                {"--practice", "10x6", "5", "--seed", "1000000", "--text"},
                "--seed takes a sheet number, 1 to 999999"},
        Refused{"cutouts_as_text",
                {"--practice", "10x6", "5", "--text", "--cutouts"},
                "--cutouts is for a sheet on paper; --text prints letters only"},
        Refused{"a_side_as_text",
                {"--practice", "10x6", "5", "--side", "0.3", "--text"},
                "--side is for a sheet on paper; --text prints letters only"},
        Refused{"unknown_paper",
                {"--report", "0", "1", "2", "--pdf", "o", "--paper", "B7"},
                "there is no paper \"B7\"; the papers are A4, A3, A5, Letter and Legal"},
        Refused{"unknown_palette",
                {"--svg", "0", "1", "o", "--palette", "pastel"},
                "there is no palette \"pastel\"; the palettes are standard and safe"}),
    [](const auto &info) { return std::string(info.param.name); });

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
