#include "DatabaseCopy.h"
#include "Recorders.h"
#include "app/Program.h"
#include "app/SolutionBrowser.h"
#include "solutions/SharedState.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tw {
namespace {

const QSizeF A4(11906, 16838);

// The browser on a started program, painting into a recorder, with what it
// reports written down in order.
class BrowserTest : public testing::Test
{
protected:
    void start(const std::string &folder =
                   std::filesystem::path(TILEWRIGHT_TEST_DATABASE).parent_path().string())
    {
        program = std::make_unique<Program>(folder, A4);
        ASSERT_FALSE(program->Main());
        program->state().Screen = &canvas;
        browser = std::make_unique<SolutionBrowser>(program->state());
        QObject::connect(browser.get(), &SolutionBrowser::cannotShow,
                         [this] { events.push_back("cannot show"); });
        QObject::connect(browser.get(), &SolutionBrowser::message,
                         [this](const QString &m) { events.push_back(m.toStdString()); });
        ASSERT_TRUE(browser->changeBoard(0));
    }
    SharedState &state() { return program->state(); }
    long long shown() { return state().SolutionSet.Fields("Solution").value_or(0); }

    std::unique_ptr<Program> program;
    std::unique_ptr<SolutionBrowser> browser;
    test::RecordingCanvas canvas;
    std::vector<std::string> events;
};

TEST_F(BrowserTest, NeverStepsPastEitherEnd)
{
    start();
    EXPECT_FALSE(browser->step(-1));
    EXPECT_EQ(state().SolutionNo, 1);
    EXPECT_TRUE(browser->jump("2338"));
    EXPECT_FALSE(browser->step(+1)); // reaching the last solution ends a hold
    EXPECT_EQ(state().SolutionNo, 2339);
    EXPECT_EQ(shown(), 2339);
    EXPECT_EQ(browser->steps(), (Steps{true, true, false, false}));
    EXPECT_FALSE(browser->step(+1));
    EXPECT_EQ(state().SolutionNo, 2339);
    EXPECT_TRUE(browser->step(-1));
    EXPECT_EQ(shown(), 2338);
    browser->first();
    EXPECT_EQ(shown(), 1);
    EXPECT_TRUE(events.empty());
}

TEST_F(BrowserTest, JumpsOnlyToSolutionNumbers)
{
    start();
    EXPECT_TRUE(browser->jump("17"));
    for (const char *bad : {"0", "-3", "2340", "32768", "", "twelve", "1e3"}) {
        EXPECT_FALSE(browser->jump(bad)) << bad;
        EXPECT_EQ(shown(), 17) << bad;
    }
    EXPECT_FALSE(browser->jump(std::string(5000, '9')));
    for (const auto &[typed, solution] : {std::pair{"2.5", 2}, {"3.5", 4}, {" +7 ", 7}}) {
        EXPECT_TRUE(browser->jump(typed));
        EXPECT_EQ(shown(), solution) << typed;
        EXPECT_EQ(state().SolutionNo, solution);
    }
    EXPECT_TRUE(browser->jump("2339"));
    EXPECT_EQ(browser->steps(), (Steps{true, true, false, false}));
}

TEST_F(BrowserTest, ARecordThatCannotBeShownEndsWhatRepeatsThenSaysSo)
{
    test::DatabaseCopy db;
    start(db.folder());
    // The file goes bad while the program runs.
    ASSERT_TRUE(db.exec("UPDATE Solution SET Shape1 = 99 WHERE Board = 1 AND Solution = 2"));
    ASSERT_TRUE(browser->changeBoard(1));
    EXPECT_FALSE(browser->step(+1));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], "cannot show");
    EXPECT_EQ(events[1], "Solution 2 of the 12 x 5 tray cannot be shown: Shape1 is 99, which is "
                         "not an orientation number (0 to 62).");
    // Its number stands over the empty tray.
    EXPECT_EQ(browser->number(), "2");
    EXPECT_EQ(canvas.boxes.back().colour, White);
    EXPECT_EQ(browser->steps(), (Steps{true, true, true, true}));
    EXPECT_TRUE(browser->step(+1));
    EXPECT_EQ(shown(), 3);
}

} // namespace
} // namespace tw
