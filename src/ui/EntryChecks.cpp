#include "ui/EntryChecks.h"

#include <QAbstractButton>
#include <QKeyEvent>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>

namespace tw {

LeaveCheck::LeaveCheck(QLineEdit *box, std::function<bool()> check)
    : QObject(box), m_box(box), m_check(std::move(check))
{
    box->installEventFilter(this);
}

bool LeaveCheck::run()
{
    m_pending = false;
    if (m_check())
        return true;
    // A message box may have taken the window's activation with it.
    m_box->window()->activateWindow();
    m_box->setFocus(Qt::OtherFocusReason);
    m_box->selectAll();
    return false;
}

bool LeaveCheck::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_box && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && !m_pending) {
            // Checking inside the focus change would have the box drop the
            // selection and the focus that a refusal gives back.
            m_pending = true;
            QTimer::singleShot(0, this, [this] {
                // Checked meanwhile by whoever took the focus (Preview does).
                if (m_pending && !m_box->hasFocus())
                    run();
                m_pending = false;
            });
        }
    }
    return QObject::eventFilter(watched, event);
}

namespace {

// Only the checked button takes the focus by Tab. Qt itself gives that to
// the button that last had the focus, which need not be the checked one.
class CheckedButtonTab : public QObject
{
public:
    explicit CheckedButtonTab(QButtonGroup *group) : QObject(group), m_group(group)
    {
        connect(group, &QButtonGroup::buttonToggled, this, &CheckedButtonTab::apply);
        for (QAbstractButton *b : group->buttons())
            b->installEventFilter(this);
        apply();
    }

    void apply()
    {
        for (QAbstractButton *b : m_group->buttons())
            b->setFocusPolicy(static_cast<Qt::FocusPolicy>(
                b->isChecked() || !m_group->checkedButton() ? b->focusPolicy() | Qt::TabFocus
                                                            : b->focusPolicy() & ~Qt::TabFocus));
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusOut)
            apply();
        return QObject::eventFilter(watched, event);
    }

private:
    QButtonGroup *m_group;
};

} // namespace

void tabEntersOnCheckedButton(QButtonGroup *group)
{
    new CheckedButtonTab(group);
}

HoldButtons::HoldButtons(QAbstractButton *next, QAbstractButton *previous, Handlers handlers)
    : QObject(next), m_next(next), m_previous(previous), m_handlers(std::move(handlers))
{
    next->installEventFilter(this);
    previous->installEventFilter(this);
}

bool HoldButtons::eventFilter(QObject *watched, QEvent *event)
{
    const int direction = watched == m_next ? 1 : watched == m_previous ? -1 : 0;
    if (direction == 0)
        return false;
    // Read as a widget: a button being destroyed still sends events here
    // after its button part is gone.
    const bool enabled = static_cast<QWidget *>(watched)->isEnabled();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (enabled)
            m_handlers.down(direction);
        break;
    case QEvent::MouseButtonRelease:
        if (enabled)
            m_handlers.up(direction);
        break;
    case QEvent::EnabledChange:
        if (!enabled && m_handlers.held() == direction)
            m_handlers.endHold();
        break;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            m_handlers.close();
            return true;
        }
        break;
    default:
        break;
    }
    return false;
}

} // namespace tw
