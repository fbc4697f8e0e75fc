#include "ui/UpDown.h"

#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

namespace tw {

UpDown::UpDown(QWidget *parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton *b : {m_up, m_down}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(m_up, &QToolButton::clicked, this, &UpDown::stepUp);
    connect(m_down, &QToolButton::clicked, this, &UpDown::stepDown);
}

void UpDown::setRange(int minimum, int maximum)
{
    m_min = minimum;
    m_max = std::max(minimum, maximum);
    setValue(m_value);
}

void UpDown::setValue(int value)
{
    value = std::clamp(value, m_min, m_max);
    if (value == m_value)
        return;
    m_value = value;
    if (m_buddy)
        m_buddy->setText(QString::number(m_value));
    emit valueChanged(m_value);
}

void UpDown::step(int by)
{
    int from = m_value;
    bool typed = false;
    if (m_buddy)
        from = m_buddy->text().trimmed().toInt(&typed);
    if (!typed)
        from = m_value;
    // In a wider type: a typed number at the edge of int steps without
    // wrapping round.
    const int to =
        static_cast<int>(std::clamp<long long>(static_cast<long long>(from) + by, m_min, m_max));
    if (to == from && to == m_value)
        return; // held at a limit: nothing changes
    m_value = to;
    if (m_buddy)
        m_buddy->setText(QString::number(to));
    emit valueChanged(to);
}

void UpDown::resizeEvent(QResizeEvent *)
{
    const int half = height() / 2;
    m_up->setGeometry(0, 0, width(), half);
    m_down->setGeometry(0, half, width(), height() - half);
}

} // namespace tw
