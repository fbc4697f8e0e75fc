#include "app/HoldRepeat.h"

#include <QTimer>

namespace tw {

HoldRepeat::HoldRepeat(Clock &clock, Step step) : m_clock(clock), m_step(std::move(step)) {}

void HoldRepeat::press(int direction)
{
    bool &busy = direction > 0 ? NextBusy : PrevBusy;
    if (busy)
        return;
    // The other button's repetition, released a moment ago, ends here.
    if (m_direction != 0)
        finish();
    busy = true;
    StopRepeat = false;
    m_clock.startDelay();
    DelayElapsed = false;
    m_direction = direction;
    ++m_token;
    stepOnce();
}

void HoldRepeat::stepOnce()
{
    const unsigned token = m_token;
    const bool more = m_step(m_direction);
    if (token != m_token)
        return; // the hold ended while the step was shown
    if (!more) {
        end();
        return;
    }
    if (StopRepeat || DelayElapsed)
        pause();
    else
        m_phase = Phase::Waiting;
}

void HoldRepeat::pause()
{
    // Let the window handle what is pending (a release, above all) before
    // the next step.
    m_phase = Phase::Pausing;
    const unsigned token = m_token;
    m_clock.later([this, token] { resume(token); });
}

void HoldRepeat::resume(unsigned token)
{
    if (token != m_token || m_phase != Phase::Pausing)
        return;
    if (StopRepeat)
        finish();
    else
        stepOnce();
}

void HoldRepeat::release()
{
    StopRepeat = true;
    m_clock.stopDelay();
    if (m_phase == Phase::Waiting)
        finish();
}

void HoldRepeat::delayElapsed()
{
    DelayElapsed = true;
    if (m_phase == Phase::Waiting)
        pause();
}

void HoldRepeat::end()
{
    StopRepeat = true;
    m_clock.stopDelay();
    if (m_direction != 0)
        finish();
}

void HoldRepeat::finish()
{
    (m_direction > 0 ? NextBusy : PrevBusy) = false;
    m_direction = 0;
    m_phase = Phase::Idle;
    ++m_token;
}

void TimerClock::startDelay()
{
    m_delay->start();
}

void TimerClock::stopDelay()
{
    m_delay->stop();
}

void TimerClock::later(std::function<void()> task)
{
    QTimer::singleShot(0, m_delay, std::move(task));
}

} // namespace tw
