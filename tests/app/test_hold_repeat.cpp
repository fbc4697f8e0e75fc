#include "app/HoldRepeat.h"

#include <gtest/gtest.h>

#include <deque>

namespace tw {
namespace {

// Time that passes only when the test says so.
class FakeClock : public HoldRepeat::Clock
{
public:
    void startDelay() override { delayRunning = true; }
    void stopDelay() override { delayRunning = false; }
    void later(std::function<void()> task) override { pending.push_back(std::move(task)); }

    // Handles what is pending, as the event loop would, n rounds at most.
    void runPending(int rounds = 1000)
    {
        while (rounds-- > 0 && !pending.empty()) {
            auto task = std::move(pending.front());
            pending.pop_front();
            task();
        }
    }

    bool delayRunning = false;
    std::deque<std::function<void()>> pending;
};

// A set of count solutions stepped through from position.
class HoldTest : public testing::Test
{
protected:
    bool step(int direction)
    {
        position += direction;
        steps.push_back(direction);
        if (position == failAt) {
            hold.end(); // shown with an error: the hold is ended first
            return false;
        }
        return position != (direction > 0 ? count : 1);
    }

    FakeClock clock;
    int position = 1, count = 100, failAt = 0;
    std::vector<int> steps;
    HoldRepeat hold{clock, [this](int d) { return step(d); }};
};

TEST_F(HoldTest, AShortPressStepsOnce)
{
    hold.press(+1);
    EXPECT_EQ(position, 2); // at the press
    EXPECT_TRUE(clock.delayRunning);
    clock.runPending();
    EXPECT_EQ(position, 2); // no repetition before the delay
    hold.release();
    EXPECT_FALSE(clock.delayRunning);
    clock.runPending();
    hold.delayElapsed(); // a late tick changes nothing
    clock.runPending();
    EXPECT_EQ(position, 2);
    EXPECT_EQ(hold.direction(), 0);
}

TEST_F(HoldTest, HeldPastTheDelayStepsUntilTheRelease)
{
    hold.press(+1);
    hold.delayElapsed();
    clock.runPending(10);
    EXPECT_EQ(position, 12);
    hold.release();
    clock.runPending();
    EXPECT_LE(position, 13); // at most the step already on its way
    EXPECT_EQ(hold.direction(), 0);
}

TEST_F(HoldTest, StopsAtEitherEndOfTheSet)
{
    position = 97;
    hold.press(+1);
    hold.delayElapsed();
    clock.runPending();
    EXPECT_EQ(position, 100);
    EXPECT_FALSE(hold.NextBusy);
    EXPECT_FALSE(clock.delayRunning);
    position = 3;
    hold.press(-1);
    hold.delayElapsed();
    clock.runPending();
    EXPECT_EQ(position, 1);
}

TEST_F(HoldTest, AnEndedHoldNeverStepsAgain)
{
    // A solution that cannot be shown ends the hold from within its step;
    // so do Esc and the button greyed, whenever they come.
    failAt = 5;
    hold.press(+1);
    hold.delayElapsed();
    clock.runPending();
    EXPECT_EQ(position, 5);
    EXPECT_EQ(hold.direction(), 0);
    position = 10;
    hold.press(+1);
    hold.delayElapsed();
    hold.end();
    clock.runPending();
    EXPECT_EQ(position, 11);
    EXPECT_TRUE(hold.StopRepeat);
}

TEST_F(HoldTest, ASecondPressOfTheHeldButtonIsIgnoredTheOtherTakesOver)
{
    position = 50;
    hold.press(+1);
    hold.press(+1);
    EXPECT_EQ(steps, (std::vector<int>{1}));
    hold.press(-1); // possible only after a release the window did not pass on
    EXPECT_EQ(steps, (std::vector<int>{1, -1}));
    EXPECT_FALSE(hold.NextBusy);
    EXPECT_TRUE(hold.PrevBusy);
    EXPECT_FALSE(hold.DelayElapsed); // the delay counts again for the new press
}

} // namespace
} // namespace tw
