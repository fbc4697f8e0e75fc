#include "preview/Fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace tw {

QFont sansFont(double points)
{
    static const QString family = [] {
        const QString liberation = QStringLiteral("Liberation Sans");
        return QFontDatabase::families().contains(liberation)
                   ? liberation
                   : QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    return font;
}

} // namespace tw
