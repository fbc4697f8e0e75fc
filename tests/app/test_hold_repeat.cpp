#include "app/HoldRepeat.h"

#include <gtest/gtest.h>

#include <deque>

namespace tw {
namespace {

// A hold over solutions 1..100, on a clock that moves only when told: the
// delay passes at delayElapsed(), and what is "later" runs at run().
class HoldTest : public testing::Test, public HoldRepeat::Clock
{
protected:
    void startDelay() override { delayRunning = true; }
    void stopDelay() override { delayRunning = false; }
    void later(std::function<void()> task) override { pending.push_back(std::move(task)); }
    void run(int rounds = 1000)
    {
        for (; rounds > 0 && !pending.empty(); --rounds) {
            auto task = std::move(pending.front());
            pending.pop_front();
            task();
        }
    }
    bool step(int direction)
    {
        position += direction;
        steps.push_back(direction);
        if (position == failAt) {
            hold.end(); // a solution that cannot be shown ends the hold first
            return false;
        }
        return position != (direction > 0 ? 100 : 1);
    }

    bool delayRunning = false;
    std::deque<std::function<void()>> pending;
    int position = 50, failAt = 0;
    std::vector<int> steps;
    HoldRepeat hold{*this, [this](int d) { return step(d); }};
};

TEST_F(HoldTest, AnEndedHoldNeverStepsAgain)
{
    failAt = 55; // a solution that cannot be shown
    hold.press(+1);
    hold.delayElapsed();
    run();
    EXPECT_EQ(position, 55);
    hold.press(+1); // Esc, the button greyed or the window closing
    hold.delayElapsed();
    hold.end();
    run();
    EXPECT_EQ(position, 56);
    EXPECT_EQ(hold.direction(), 0);
}

TEST_F(HoldTest, ASecondPressOfTheHeldButtonIsIgnoredTheOtherTakesOver)
{
    hold.press(+1);
    hold.press(+1);
    hold.press(-1); // possible only after a release the window did not pass on
    EXPECT_EQ(steps, (std::vector<int>{1, -1}));
    EXPECT_TRUE(!hold.NextBusy && hold.PrevBusy && !hold.DelayElapsed);
}

} // namespace
} // namespace tw
