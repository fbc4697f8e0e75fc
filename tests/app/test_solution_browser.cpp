#include "DatabaseCopy.h"
#include "Recorders.h"
#include "app/Program.h"
#include "app/SolutionBrowser.h"
#include "solutions/SharedState.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

// The browser on a started program (the generated database, or a copy),
// painting into a recorder, with what it reports written down in order.
struct Browser
{
    Program program;
    test::RecordingCanvas canvas;
    std::unique_ptr<SolutionBrowser> browser;
    std::vector<std::string> events;

    explicit Browser(const std::string &folder) : program(folder, QSizeF(11906, 16838))
    {
        EXPECT_FALSE(program.Main());
        program.state().Screen = &canvas;
        browser = std::make_unique<SolutionBrowser>(program.state(), program.advice());
        QObject::connect(browser.get(), &SolutionBrowser::cannotShow,
                         [this] { events.push_back("cannot show"); });
        QObject::connect(browser.get(), &SolutionBrowser::message,
                         [this](const QString &m) { events.push_back(m.toStdString()); });
        EXPECT_TRUE(browser->changeBoard(0));
    }
    long long shown() { return program.state().SolutionSet.Fields("Solution").value_or(0); }
};

TEST(SolutionBrowser, JumpsOnlyToSolutionNumbers)
{
    test::DatabaseCopy db;
    Browser b(db.folder());
    EXPECT_TRUE(b.browser->jump("17"));
    for (const char *bad : {"0", "-3", "2340", "32768", "", "twelve", "1e3"}) {
        EXPECT_FALSE(b.browser->jump(bad)) << bad;
        EXPECT_EQ(b.shown(), 17) << bad;
    }
    EXPECT_FALSE(b.browser->jump(std::string(5000, '9')));
    for (const auto &[typed, solution] : {std::pair{"2.5", 2}, {"3.5", 4}, {" +7 ", 7}}) {
        EXPECT_TRUE(b.browser->jump(typed));
        EXPECT_EQ(b.shown(), solution) << typed;
        EXPECT_EQ(b.program.state().SolutionNo, solution);
    }
    EXPECT_TRUE(b.browser->jump("2339"));
    EXPECT_EQ(b.browser->steps(), (Steps{true, true, false, false}));
    EXPECT_FALSE(b.browser->step(+1)); // never past the end
    EXPECT_TRUE(b.events.empty());
}

TEST(SolutionBrowser, ARecordThatCannotBeShownEndsWhatRepeatsThenSaysSo)
{
    test::DatabaseCopy db;
    Browser b(db.folder());
    // The file goes bad while the program runs.
    ASSERT_TRUE(db.exec("UPDATE Solution SET Shape1 = 99 WHERE Board = 1 AND Solution = 2"));
    ASSERT_TRUE(b.browser->changeBoard(1));
    EXPECT_FALSE(b.browser->step(+1));
    EXPECT_EQ(b.events,
              (std::vector<std::string>{"cannot show",
                                        "Solution 2 of the 12 x 5 tray cannot be shown: Shape1 "
                                        "is 99, which is not an orientation number (0 to 62)."}));
    // Its number stands over the empty tray.
    EXPECT_EQ(b.browser->number(), "2");
    EXPECT_EQ(b.canvas.boxes.back().colour, White);
    EXPECT_TRUE(b.browser->step(+1));
    EXPECT_EQ(b.shown(), 3);
}

} // namespace
} // namespace tw
