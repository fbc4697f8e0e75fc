#include "ui/Icon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// The resources of a static library are linked in only when asked for.
static void loadResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace tw {

QIcon programIcon()
{
    loadResources();
    // Rendered here rather than through Qt's SVG icon plugin, which a
    // minimal installation may lack.
    QSvgRenderer svg(QStringLiteral(":/tilewright.svg"));
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        svg.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace tw
