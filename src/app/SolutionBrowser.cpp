#include "app/SolutionBrowser.h"

#include "app/TrayPicture.h"
#include "base/NumberText.h"
#include "pieces/PieceTables.h"
#include "solutions/LetterGrid.h"
#include "solutions/SharedState.h"

#include <algorithm>
#include <cmath>

namespace tw {

namespace {

// Where the board change and the "Print" tab blank the surface.
constexpr double ClearLeft = 2800, ClearTop = 3300, ClearWidth = 5000, ClearHeight = 4400;
// Where the row of pieces stands: from (600, 2400), five squares high at most.
constexpr double RowLeft = 600, RowTop = 2400;

void fill(Canvas *screen, double x, double y, double width, double height, Colour colour)
{
    if (screen)
        screen->fillBox(x, y, width, height, colour);
}

// Down to a whole number of 15-twip steps.
double onPixels(double twips)
{
    return std::floor(twips / 15) * 15;
}

// Where a tray without a place of its own may stand: where the five stand,
// from the 20 x 3 tray's frame across to the 8 x 8 tray's down, above the
// tabs.
QRectF fittedArea()
{
    return {2800, 3300, 4400, 2000};
}

// What a board change blanks before a tray with a place of its own is drawn.
QRectF placedArea()
{
    return {2800, 3300, 3900, 2000};
}

} // namespace

TrayGeometry fittedGeometry(const Tray &tray, const QRectF &area)
{
    const double cols = tray.cols() + 2, rows = tray.rows() + 2;
    // The five's unit where it fits; smaller, a whole number of pixels, so
    // that every cell has the same size on the screen.
    const double fits = std::min(area.width() / cols, area.height() / rows);
    const double unit = fits >= ScreenUnit ? ScreenUnit : std::max(15.0, onPixels(fits));
    return {onPixels(area.left() + (area.width() - cols * unit) / 2) + unit,
            onPixels(area.top() + (area.height() - rows * unit) / 2) + unit,
            static_cast<Single>(unit)};
}

SolutionBrowser::SolutionBrowser(const Catalogue &catalogue, SharedState &sharedState)
    : m_catalogue(catalogue), state(sharedState)
{}

const Catalogue::Entry &SolutionBrowser::entry() const
{
    return m_catalogue.entry(state.BoardIndex);
}

QRectF SolutionBrowser::trayArea()
{
    return {ClearLeft, ClearTop, ClearWidth, ClearHeight};
}

TrayGeometry SolutionBrowser::trayGeometry() const
{
    const Catalogue::Entry &shown = entry();
    if (!shown.place)
        return fittedGeometry(shown.tray, fittedArea());
    return {static_cast<double>(shown.place->left), static_cast<double>(shown.place->top),
            ScreenUnit};
}

QRectF SolutionBrowser::frameArea() const
{
    const TrayGeometry at = trayGeometry();
    const Tray &tray = entry().tray;
    return {at.left - at.unit, at.top - at.unit, (tray.cols() + 2) * at.unit,
            (tray.rows() + 2) * at.unit};
}

void SolutionBrowser::DrawTray()
{
    if (!m_displaying)
        return;
    const Tray &tray = entry().tray;
    const QRectF place = entry().place ? placedArea() : fittedArea();
    fill(m_screen, place.left(), place.top(), place.width(), place.height(), ButtonFace);
    if (m_screen) {
        paintFrame(*m_screen, trayGeometry(), tray.cols(), tray.rows());
        paintTiling(*m_screen, emptyTiling(tray, state.BoardIndex), trayGeometry(), m_look);
    }
    emit painted(trayArea());
}

void SolutionBrowser::DrawPieceRow()
{
    // Each piece's first orientation in the catalogue's own layout, seven
    // rows high (stride 8), side by side one empty column apart.
    TrayGeometry where{RowLeft, RowTop, ScreenUnit};
    for (const PieceCollection &piece : LoadShapes()) {
        const clsShape &first = piece.front();
        if (m_screen)
            first.DrawIndex(*m_screen, first.StartX, 8, where, m_look);
        where.left = toInteger(static_cast<Integer>(where.left) +
                               roundToInteger((first.Width + 1) * where.unit));
    }
    emit painted({RowLeft, RowTop, 10000 - RowLeft, 5 * ScreenUnit});
}

void SolutionBrowser::clearTrayArea()
{
    fill(m_screen, ClearLeft, ClearTop, ClearWidth, ClearHeight, ButtonFace);
    emit painted(trayArea());
}

bool SolutionBrowser::changeBoard(Integer t)
{
    if (!SelectBoard(state, m_catalogue, t))
        return false;
    clearTrayArea();
    DrawTray();
    ShowSolution();
    return true;
}

void SolutionBrowser::ShowSolution()
{
    // On the "Print" tab the tray area is blank and the pieces would go into
    // the preview document, so only the number and the steps follow the
    // cursor.
    if (m_displaying && count() > 0) {
        if (m_screen) {
            const Tray &tray = entry().tray;
            paintFrame(*m_screen, trayGeometry(), tray.cols(), tray.rows());
            paintTiling(*m_screen, m_catalogue.solution(state.BoardIndex, state.SolutionNo),
                        trayGeometry(), m_look);
        }
        emit painted(trayArea());
    }
    emit moved();
}

void SolutionBrowser::first()
{
    if (count() > 0)
        state.SolutionNo = 1;
    ShowSolution();
}

void SolutionBrowser::last()
{
    state.SolutionNo = toInteger(count());
    ShowSolution();
}

bool SolutionBrowser::step(int direction)
{
    const Steps can = steps();
    if (direction > 0 ? !can.next : !can.previous)
        return false;
    state.SolutionNo = toInteger(state.SolutionNo + direction);
    ShowSolution();
    return state.SolutionNo != (direction > 0 ? count() : 1);
}

bool SolutionBrowser::jump(std::string_view text)
{
    const auto number = parseNumber(text);
    const auto n = number ? wholeInteger(*number) : std::nullopt;
    return n && goTo(*n);
}

bool SolutionBrowser::goTo(Long n)
{
    if (n < 1 || n > count())
        return false;
    state.SolutionNo = toInteger(n);
    ShowSolution();
    return true;
}

QString SolutionBrowser::position() const
{
    return number().isEmpty() ? QString()
                              : QStringLiteral("Solution %1 of %2").arg(number()).arg(count());
}

QString SolutionBrowser::trayName() const
{
    return QString::fromStdString(entry().tray.label());
}

QString SolutionBrowser::trayDescription() const
{
    const QString tray = trayName();
    if (number().isEmpty())
        return QStringLiteral("The %1 tray, empty").arg(tray);
    return QStringLiteral("The %1 tray, %2, rows %3")
        .arg(tray, position().toLower(),
             QString::fromStdString(
                 letterGrid(m_catalogue.solution(state.BoardIndex, state.SolutionNo)))
                 .replace(QLatin1Char('/'), QStringLiteral(", ")));
}

TrayPicture SolutionBrowser::picture(Appearance look) const
{
    return TrayPicture(m_catalogue.solution(state.BoardIndex, state.SolutionNo), look);
}

Steps SolutionBrowser::steps() const
{
    return stepsAt(state.SolutionNo, count());
}

QString SolutionBrowser::number() const
{
    return state.SolutionNo >= 1 && count() > 0 ? QString::number(state.SolutionNo) : QString();
}

Long SolutionBrowser::count() const
{
    return m_catalogue.count(state.BoardIndex);
}

} // namespace tw
