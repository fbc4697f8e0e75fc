#pragma once

#include <QObject>

#include <functional>

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

// Makes Tab enter the option group on its checked button, as in every
// desktop toolkit; the arrow keys move within the group.
void tabEntersOnCheckedButton(QButtonGroup *group);

} // namespace tw
