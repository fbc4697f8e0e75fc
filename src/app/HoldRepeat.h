#pragma once

#include <functional>

class QTimer;

namespace tw {

// Press-and-hold on Next and Previous. A press steps at once; if the button
// is still down when the delay (500 ms) has passed, steps follow one another,
// each on screen before the next, until the release, the end of the set, or
// anything that ends the hold at once (the button greyed, Esc, the window
// closing, a solution that cannot be shown). A second press of the held
// button is ignored; a press of the other one ends the first hold and starts
// its own. Time comes from a Clock, so that tests run it without waiting.
class HoldRepeat
{
public:
    class Clock
    {
    public:
        virtual ~Clock() = default;
        // Starts the delay; delayElapsed() is to be called when it has passed.
        virtual void startDelay() = 0;
        virtual void stopDelay() = 0;
        // Runs task once the pending events (a release above all) are handled.
        virtual void later(std::function<void()> task) = 0;
    };

    // step moves one solution in a direction (+1 next, -1 previous) and says
    // whether another step that way may follow.
    using Step = std::function<bool(int direction)>;

    HoldRepeat(Clock &clock, Step step);

    void press(int direction);
    void release();
    void delayElapsed();
    // Ends any hold at once.
    void end();

    // The direction held, 0 when nothing is.
    int direction() const { return m_direction; }

    // The repetition's flags: a release (or anything that ends the hold) asks
    // it to stop; the delay has passed; the button's repetition runs.
    bool StopRepeat = false;
    bool DelayElapsed = false;
    bool NextBusy = false;
    bool PrevBusy = false;

private:
    enum class Phase { Idle, Waiting, Pausing };

    void stepOnce();
    void pause();
    void resume(unsigned token);
    void finish();

    Clock &m_clock;
    Step m_step;
    Phase m_phase = Phase::Idle;
    int m_direction = 0;
    unsigned m_token = 0; // tells a pending resumption of an ended hold
};

// A hold's clock on a Qt timer (the delay; its interval is the caller's)
// and the event loop (the steps).
class TimerClock : public HoldRepeat::Clock
{
public:
    explicit TimerClock(QTimer *delay) : m_delay(delay) {}
    void startDelay() override;
    void stopDelay() override;
    void later(std::function<void()> task) override;

private:
    QTimer *m_delay;
};

} // namespace tw
