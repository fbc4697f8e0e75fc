#include "preview/Fonts.h"

#include "pieces/Appearance.h"

#include <QFontDatabase>
#include <QStringList>
#include <QTransform>

#include <algorithm>
#include <map>

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

QPainterPath letterPath(const QRectF &square, char letter)
{
    // Each letter's outline is made once, at a large size, and scaled.
    static std::map<char, QPainterPath> outlines;
    auto it = outlines.find(letter);
    if (it == outlines.end()) {
        QFont font = sansFont(10);
        font.setPixelSize(1000);
        font.setBold(true);
        QPainterPath path;
        path.addText(0, 0, font, QString(QLatin1Char(letter)));
        it = outlines.emplace(letter, path).first;
    }
    const QRectF ink = it->second.boundingRect();
    if (ink.isEmpty())
        return {};
    const double scale = std::min(LetterInkShare * square.height() / ink.height(),
                                  0.8 * square.width() / ink.width());
    QTransform place;
    place.translate(square.center().x(), square.center().y());
    place.scale(scale, scale);
    place.translate(-ink.center().x(), -ink.center().y());
    return place.map(it->second);
}

} // namespace tw
