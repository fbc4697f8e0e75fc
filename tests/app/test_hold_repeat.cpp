#include "app/HoldRepeat.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace tw {
namespace {

// A clock whose delay passes and whose pending tasks run when the test says.
struct Clock : HoldRepeat::Clock
{
    std::vector<std::function<void()>> tasks;
    void startDelay() override {}
    void stopDelay() override {}
    void later(std::function<void()> task) override { tasks.push_back(std::move(task)); }
    // Runs the task pending longest.
    void runOldest()
    {
        ASSERT_FALSE(tasks.empty());
        const auto task = tasks.front();
        tasks.erase(tasks.begin());
        task();
    }
};

// A press steps once; after the delay, steps follow one another until the
// release; a step left pending by a hold that ended takes no step in the
// next one, even while that one pauses; the end of the set ends the hold.
TEST(HoldRepeat, StepsWhileHeldAndNoStepOutlivesItsHold)
{
    Clock clock;
    int position = 0, last = 6;
    HoldRepeat hold(clock, [&](int direction) {
        position += direction;
        return position < last;
    });
    hold.press(+1);
    hold.delayElapsed();
    clock.runOldest();
    clock.runOldest();
    EXPECT_EQ(position, 3);
    hold.release();
    clock.runOldest();
    EXPECT_EQ(position, 3);
    EXPECT_EQ(hold.direction(), 0);

    hold.press(+1);
    hold.delayElapsed(); // a step pending
    hold.end();
    hold.press(-1);
    hold.delayElapsed(); // another, of this hold
    EXPECT_EQ(position, 3);
    clock.runOldest(); // the ended hold's
    EXPECT_EQ(position, 3);
    clock.runOldest();
    EXPECT_EQ(position, 2);
    hold.end();

    hold.press(+1);
    hold.delayElapsed();
    while (!clock.tasks.empty())
        clock.runOldest();
    EXPECT_EQ(position, last);
    EXPECT_EQ(hold.direction(), 0);
}

} // namespace
} // namespace tw
