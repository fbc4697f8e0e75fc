#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace tw {

// An up-down spinner: two arrow buttons that step a whole number between a
// minimum and a maximum. With a buddy box, each step starts from the number
// in the box and writes the result back into it.
class UpDown : public QWidget
{
    Q_OBJECT

public:
    explicit UpDown(QWidget *parent = nullptr);

    void setRange(int minimum, int maximum);
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    int value() const { return m_value; }
    void setValue(int value);
    void setBuddy(QLineEdit *buddy) { m_buddy = buddy; }

    void stepUp() { step(+1); }
    void stepDown() { step(-1); }

signals:
    void valueChanged(int value);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void step(int by);

    QToolButton *m_up;
    QToolButton *m_down;
    QLineEdit *m_buddy = nullptr;
    int m_min = 0, m_max = 100, m_value = 0;
};

} // namespace tw
