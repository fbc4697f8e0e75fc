#pragma once

#include <QWidget>

class QTabBar;

namespace tw {

// A tab control whose pages cover the whole control, tab strip included, so
// that controls are placed relative to the control itself. The strip is
// stripHeight pixels high and its tabs share its width equally.
class TabControl : public QWidget
{
    Q_OBJECT

public:
    TabControl(const QStringList &tabs, int stripHeight, QWidget *parent = nullptr);

    QWidget *page(int index) const { return m_pages.at(index); }
    int currentIndex() const;
    void setCurrentIndex(int index);
    int stripHeight() const { return m_stripHeight; }
    QTabBar *tabBar() const { return m_bar; }
    // Lets each page take mouse clicks and paint only below the strip and on
    // its controls, so a control that reaches up into the strip shows over
    // it while the tabs stay clickable. Call after placing the controls.
    void updatePageMasks();

signals:
    void currentChanged(int index);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void showPage(int index);

    QTabBar *m_bar;
    QList<QWidget *> m_pages;
    int m_stripHeight;
};

} // namespace tw
