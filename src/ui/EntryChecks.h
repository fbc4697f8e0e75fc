#pragma once

#include <QObject>

#include <functional>

class QAbstractButton;
class QButtonGroup;
class QLineEdit;

namespace tw {

// Checks a text box's entry whenever the focus leaves it (by Tab, a click
// or a shortcut; not when another window takes the focus, such as a message
// box). The check runs once the focus has settled in its new place; when it
// refuses the entry, the box takes the focus back with its whole text
// selected, so that the next key replaces it.
class LeaveCheck : public QObject
{
public:
    // check returns whether the entry stands; it may beep or show a message.
    LeaveCheck(QLineEdit *box, std::function<bool()> check);

    // Runs the check now, with the same consequence, and drops one that was
    // waiting for the focus to settle.
    bool run();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *m_box;
    std::function<bool()> m_check;
    bool m_pending = false;
};

// Next and Previous as a press-and-hold drives them: any mouse button's press
// and release, and no key. A greyed button takes no mouse events, however
// they arrive, and greying the button held ends the hold; Esc on a held
// button, which would swallow it, closes the window as from anywhere.
class HoldButtons : public QObject
{
public:
    struct Handlers
    {
        std::function<void(int direction)> down; // +1 Next, -1 Previous
        std::function<void(int direction)> up;
        std::function<int()> held; // the direction held, 0 for none
        std::function<void()> endHold;
        std::function<void()> close;
    };
    HoldButtons(QAbstractButton *next, QAbstractButton *previous, Handlers handlers);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractButton *m_next, *m_previous;
    Handlers m_handlers;
};

// Makes Tab enter the option group on its checked button, as in every
// desktop toolkit; the arrow keys move within the group.
void tabEntersOnCheckedButton(QButtonGroup *group);

} // namespace tw
