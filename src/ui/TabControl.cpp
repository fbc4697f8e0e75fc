#include "ui/TabControl.h"

#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>

namespace tw {

namespace {

// Tabs that share the strip's width and take its height.
class StripBar : public QTabBar
{
public:
    StripBar(int height, QWidget *parent) : QTabBar(parent), m_height(height)
    {
        setExpanding(true);
        setDrawBase(false);
    }

protected:
    QSize tabSizeHint(int) const override
    {
        return QSize(count() ? width() / count() : width(), m_height);
    }

private:
    int m_height;
};

} // namespace

TabControl::TabControl(const QStringList &tabs, int stripHeight, QWidget *parent)
    : QWidget(parent), m_bar(new StripBar(stripHeight, this)), m_stripHeight(stripHeight)
{
    for (const QString &tab : tabs) {
        m_bar->addTab(tab);
        auto *page = new QWidget(this);
        page->hide();
        m_pages.append(page);
    }
    connect(m_bar, &QTabBar::currentChanged, this, [this](int index) {
        showPage(index);
        emit currentChanged(index);
    });
    showPage(m_bar->currentIndex());
}

int TabControl::currentIndex() const
{
    return m_bar->currentIndex();
}

void TabControl::setCurrentIndex(int index)
{
    m_bar->setCurrentIndex(index);
}

void TabControl::showPage(int index)
{
    for (int k = 0; k < m_pages.size(); ++k)
        m_pages[k]->setVisible(k == index);
}

void TabControl::updatePageMasks()
{
    for (QWidget *page : m_pages) {
        QRegion region(0, m_stripHeight, width(), std::max(0, height() - m_stripHeight));
        for (const QObject *child : page->children())
            if (const auto *w = qobject_cast<const QWidget *>(child))
                region += w->geometry();
        page->setMask(region);
        page->raise();
    }
}

void TabControl::resizeEvent(QResizeEvent *)
{
    m_bar->setGeometry(0, 0, width(), m_stripHeight);
    for (QWidget *page : m_pages)
        page->setGeometry(0, 0, width(), height());
    updatePageMasks();
}

void TabControl::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = QRect(0, m_stripHeight - 1, width(), height() - m_stripHeight + 1);
    frame.shape = QTabBar::RoundedNorth;
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}

} // namespace tw
