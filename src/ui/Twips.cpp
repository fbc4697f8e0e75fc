#include "ui/Twips.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace tw {

void TwipsLayout::place(QWidget *control, double left, double top, double width, double height)
{
    m_rects[control] = QRectF(left, top, width, height);
    control->setGeometry(m_scale.rect(left, top, std::max(0.0, width), std::max(0.0, height)));
}

TwipsScale screenScale(const QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return TwipsScale(screen ? screen->logicalDotsPerInchX() : 96);
}

void showPlainMessage(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tilewright"), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

} // namespace tw
