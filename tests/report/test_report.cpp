#include "Recorders.h"
#include "app/SharedState.h"
#include "report/Report.h"
#include "solutions/Boards.h"
#include "solutions/Decoding.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

using test::RecordingPreview;
using Call = RecordingPreview::Call;

struct LayoutCase
{
    const char *name;
    Long pageWidth, pageHeight;
    Integer cols, rows;
    Single unit;
    Long lineHeight;
    int columns, rowsPerPage;
};

void PrintTo(const LayoutCase &c, std::ostream *os)
{
    *os << c.name;
}

class PageLayout : public testing::TestWithParam<LayoutCase>
{
};

TEST_P(PageLayout, FitsTheTraysTheLoopLimitsAllow)
{
    const LayoutCase &c = GetParam();
    const ReportLayout l = reportLayout(c.pageWidth, c.pageHeight, 360, 360, 360, 360, c.cols,
                                        c.rows, c.unit, c.lineHeight);
    EXPECT_EQ(l.columns(), c.columns);
    EXPECT_EQ(l.rows(), c.rowsPerPage);
}

// Letter paper, quarter-inch margins; worked by hand from the loop limits.
INSTANTIATE_TEST_SUITE_P(
    Pages, PageLayout,
    testing::Values(
        // 10 x 6 at 40 twips: column step 410, row step 280 + 57.5 -> 338.
        LayoutCase{"small_10x6_portrait", 12240, 15840, 10, 6, 40, 92, 28, 43},
        LayoutCase{"small_10x6_landscape", 15840, 12240, 10, 6, 40, 92, 36, 32},
        // Twice the side: step 820, row step 560 + 115 = 675 from 500 to 14640.
        LayoutCase{"larger_10x6_portrait", 12240, 15840, 10, 6, 80, 184, 14, 21},
        // 20 x 3 at 540 twips: one tray a row, row step 2160 + 776 -> 2936.
        LayoutCase{"wide_20x3_portrait", 12240, 15840, 20, 3, 540, 1242, 1, 5},
        // An inch on the 8 x 8: one tray fills the width.
        LayoutCase{"inch_8x8_portrait", 12240, 15840, 8, 8, 1440, 300, 1, 1},
        // ... and in landscape leaves no room below the head.
        LayoutCase{"inch_8x8_landscape", 15840, 12240, 8, 8, 1440, 300, 1, 0}),
    [](const auto &info) { return std::string(info.param.name); });

// A state on the generated database with a board ready for the report.
class ReportTest : public testing::Test
{
protected:
    void prepare(Integer board, Single unitTwips, Integer renderMode = 1)
    {
        state.DbPath = TILEWRIGHT_TEST_DATABASE;
        state.ConnectString = readOnlyUri(state.DbPath);
        ASSERT_FALSE(OpenDatabase(state));
        LoadShapes(state);
        state.PreviewControl = &preview;
        SetBoardLayout(state, board);
        BuildBoardShapes(state);
        state.OutputMode = 1;
        state.UnitSize = unitTwips;
        state.DoubleUnit = 2 * unitTwips;
        state.RenderMode = renderMode;
    }

    std::optional<std::string> run(Integer from, Integer to, bool landscape = false)
    {
        ReportOptions options{from, to, landscape};
        progress.clear();
        return BuildReport(state, options, [this](Integer n, Integer page, bool last) {
            progress.push_back({n, page, last});
        });
    }

    std::vector<Call> texts() const { return preview.ofKind(Call::Text); }

    struct Step
    {
        Integer n, page;
        bool last;
    };
    SharedState state;
    RecordingPreview preview{12240, 15840};
    std::vector<Step> progress;
};

TEST_F(ReportTest, OneSolutionMakesOnePageWithTheHeadAndOneTray)
{
    prepare(0, 40);
    ASSERT_FALSE(run(5, 5));
    EXPECT_EQ(preview.PageCount(), 1);
    const auto t = texts();
    ASSERT_EQ(t.size(), 5u);
    EXPECT_EQ(t[0].text, "\u00A9 2026 Tilewright");
    EXPECT_EQ(t[0].a, 0);
    EXPECT_EQ(t[1].text.rfind("Tilewright ", 0), 0u);
    EXPECT_EQ(t[1].b, 180);
    EXPECT_EQ(t[1].a, 0) << "the address starts a line of its own";
    const std::string title = "Pentominoes Cheatsheet for the 10 x 6 Rectangle";
    EXPECT_EQ(t[2].text, title);
    EXPECT_EQ(t[2].a, std::lround((12240 - 720 - 100.0 * title.size()) / 2));
    EXPECT_EQ(t[3].text, "Page 1");
    EXPECT_EQ(t[3].a, 12240 - 800 - 600);
    EXPECT_EQ(t[3].b, 0);
    EXPECT_EQ(t[4].text, "5"); // the caption, centred under the tray
    EXPECT_EQ(t[4].a, std::lround((400 - 100) / 2.0));
    // The frame of the one tray at (0, 500), 400 x 240.
    const auto lines = preview.ofKind(Call::Line);
    ASSERT_GE(lines.size(), 4u);
    const std::vector<std::array<long, 4>> frame{
        {0, 500, 0, 740}, {0, 500, 400, 500}, {400, 500, 400, 740}, {0, 740, 400, 740}};
    std::vector<std::array<long, 4>> last4;
    for (auto it = lines.end() - 4; it != lines.end(); ++it)
        last4.push_back({it->a, it->b, it->c, it->d});
    EXPECT_EQ(last4, frame);
    ASSERT_EQ(progress.size(), 1u);
    EXPECT_TRUE(progress[0].last);
    EXPECT_TRUE(state.SolutionSet.IsEOF());
    EXPECT_EQ(state.SolutionSet.RecordCount(), 1);
}

TEST_F(ReportTest, ARangeThatFillsThePageExactlyStartsNoEmptyPage)
{
    prepare(0, 40);
    const ReportLayout l = reportLayout(12240, 15840, 360, 360, 360, 360, 10, 6, 40,
                                        80); // the recorder's line height for 4-point captions
    const int perPage = l.traysPerPage();
    ASSERT_GT(perPage, 100);
    ASSERT_FALSE(run(1, static_cast<Integer>(perPage)));
    EXPECT_EQ(preview.PageCount(), 1);
    ASSERT_FALSE(run(1, static_cast<Integer>(perPage + 1)));
    EXPECT_EQ(preview.PageCount(), 2);
    EXPECT_EQ(progress.back().page, 2);
    EXPECT_EQ(progress.back().n, perPage + 1);
    EXPECT_EQ(std::count_if(progress.begin(), progress.end(), [](const Step &s) { return s.last; }),
              1);
}

TEST_F(ReportTest, TheWholeSquareTrayShowsTheGreySquareInEveryTray)
{
    prepare(4, 41.184f);
    ASSERT_FALSE(run(1, 16146));
    const auto t = texts();
    EXPECT_EQ(t[2].text, "Pentominoes Cheatsheet for the 8 x 8 Square");
    const auto rects = preview.ofKind(Call::Rectangle);
    const auto grey =
        std::count_if(rects.begin(), rects.end(), [](const Call &c) { return c.brush == MidGrey; });
    EXPECT_EQ(grey, 16146);
    EXPECT_EQ(progress.size(), 16146u);
    const ReportLayout l = reportLayout(12240, 15840, 360, 360, 360, 360, 8, 8, 41.184f,
                                        std::lround(20 * 41.184 / 10));
    EXPECT_EQ(preview.PageCount(), (16146 + l.traysPerPage() - 1) / l.traysPerPage());
}

TEST_F(ReportTest, ColourRenderingFillsThePiecesInTheirColours)
{
    prepare(3, 540, 0);
    ASSERT_FALSE(run(1, 2));
    const auto rects = preview.ofKind(Call::Rectangle);
    ASSERT_EQ(rects.size(), 2u * 60u);
    std::set<Colour> colours;
    for (const Call &c : rects)
        colours.insert(c.brush);
    EXPECT_EQ(colours.size(), 12u);
    EXPECT_TRUE(preview.ofKind(Call::Line).size() == 2u * 4u) << "only the frames are lines";
}

TEST_F(ReportTest, ATrayTooTallForThePageIsRefusedBeforeDrawing)
{
    prepare(4, 1440);
    const auto error = run(1, 3, true);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("does not fit on a page"), std::string::npos);
    EXPECT_TRUE(preview.calls.empty());
}

TEST_F(ReportTest, ARangeWithoutSolutionsIsReported)
{
    prepare(3, 540);
    const auto error = run(3, 9);
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, "The range 3 to 9 holds no solution.");
}

TEST(ReportTitle, EndsInSquareOnlyForTheSquareTray)
{
    EXPECT_EQ(reportTitle(0), "Pentominoes Cheatsheet for the 10 x 6 Rectangle");
    EXPECT_EQ(reportTitle(3), "Pentominoes Cheatsheet for the 20 x 3 Rectangle");
    EXPECT_EQ(reportTitle(4), "Pentominoes Cheatsheet for the 8 x 8 Square");
}

} // namespace
} // namespace tw
