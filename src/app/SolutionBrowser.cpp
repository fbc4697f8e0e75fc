#include "app/SolutionBrowser.h"

#include "app/Advice.h"
#include "app/TrayPicture.h"
#include "base/NumberText.h"
#include "pieces/PieceTables.h"
#include "solutions/Boards.h"
#include "solutions/Decoding.h"
#include "solutions/SharedState.h"

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

} // namespace

SolutionBrowser::SolutionBrowser(SharedState &sharedState, const Advice &advice)
    : state(sharedState), m_advice(advice)
{}

QRectF SolutionBrowser::trayArea()
{
    return {ClearLeft, ClearTop, ClearWidth, ClearHeight};
}

TrayGeometry SolutionBrowser::trayGeometry() const
{
    const TrayInfo &tray = Trays.at(static_cast<std::size_t>(state.BoardIndex));
    return {static_cast<double>(tray.trayLeft), static_cast<double>(tray.trayTop), ScreenUnit};
}

QRectF SolutionBrowser::frameArea() const
{
    const TrayInfo &tray = Trays.at(static_cast<std::size_t>(state.BoardIndex));
    return {tray.trayLeft - ScreenUnit, tray.trayTop - ScreenUnit, (tray.cols + 2) * ScreenUnit,
            (tray.rows + 2) * ScreenUnit};
}

void SolutionBrowser::DrawTray()
{
    if (!m_displaying)
        return;
    fill(m_screen, 2800, 3300, 3900, 2000, ButtonFace);
    if (m_screen)
        paintFrame(*m_screen, trayGeometry(), m_board.Cols, m_board.Rows);
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

bool SolutionBrowser::changeBoard(Integer board)
{
    state.BoardIndex = board;
    m_board = boardGrid(board);
    clearTrayArea();
    DrawTray();
    if (auto error = SelectBoard(state, board)) {
        // The tray cannot be read: no steps until it is chosen again.
        showNoSolution();
        emit message(QString::fromStdString(m_advice.explain(*error)));
        return false;
    }
    state.SolutionNo = 1;
    ShowSolution();
    return true;
}

void SolutionBrowser::ShowSolution()
{
    showCurrent();
}

bool SolutionBrowser::showCurrent()
{
    if (count() == 0) {
        showNoSolution();
        return false;
    }
    // On the "Print" tab the tray area is blank and the pieces would go into
    // the preview document, so only the number and the steps follow the
    // cursor.
    std::optional<DecodeError> error;
    if (m_displaying) {
        Drawing drawing;
        drawing.target = Drawing::Target::Screen;
        drawing.screen = m_screen;
        drawing.where = trayGeometry();
        drawing.look.look = m_look;
        if (auto shown = DecodeSolution(m_board, state.BoardIndex,
                                        state.SolutionSet.currentRecord(), drawing);
            !shown)
            error = shown.error();
        if (error) {
            emit cannotShow();
            DrawTray(); // the empty tray stands for the solution that cannot be shown
        }
        emit painted(trayArea());
    }
    emit moved();
    if (!error)
        return true;
    const std::string_view tray = Trays.at(static_cast<std::size_t>(state.BoardIndex)).label;
    emit message(QStringLiteral("Solution %1 of the %2 tray cannot be shown: %3.")
                     .arg(state.SolutionNo)
                     .arg(QString::fromLatin1(tray.data(), static_cast<qsizetype>(tray.size())),
                          QString::fromStdString(error->message)));
    return false;
}

void SolutionBrowser::showNoSolution()
{
    state.SolutionNo = 0;
    emit cannotShow();
    emit moved();
}

void SolutionBrowser::first()
{
    state.SolutionSet.MoveFirst();
    state.SolutionNo = 1;
    ShowSolution();
}

void SolutionBrowser::last()
{
    state.SolutionSet.MoveLast();
    state.SolutionNo = toInteger(count());
    ShowSolution();
}

bool SolutionBrowser::step(int direction)
{
    const Steps can = steps();
    if (direction > 0 ? !can.next : !can.previous)
        return false;
    if (direction > 0)
        state.SolutionSet.MoveNext();
    else
        state.SolutionSet.MovePrevious();
    state.SolutionNo = toInteger(state.SolutionNo + direction);
    return showCurrent() && state.SolutionNo != (direction > 0 ? count() : 1);
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
    if (n == 1) {
        first();
    } else if (n == count()) {
        last();
    } else {
        state.SolutionSet.MoveFirst();
        state.SolutionSet.FindSolution(n);
        ShowSolution();
    }
    return true;
}

QString SolutionBrowser::position() const
{
    return number().isEmpty() ? QString()
                              : QStringLiteral("Solution %1 of %2").arg(number()).arg(count());
}

QString SolutionBrowser::trayDescription() const
{
    const std::string_view label = Trays.at(static_cast<std::size_t>(state.BoardIndex)).label;
    const QString tray = QString::fromLatin1(label.data(), static_cast<qsizetype>(label.size()));
    const auto tiling = number().isEmpty()
                            ? Expected<Tiling, DecodeError>(DecodeError{})
                            : tileRecord(state.BoardIndex, state.SolutionSet.currentRecord());
    if (!tiling)
        return QStringLiteral("The %1 tray, empty").arg(tray);
    return QStringLiteral("The %1 tray, %2, rows %3")
        .arg(tray, position().toLower(),
             QString::fromStdString(letterGrid(*tiling))
                 .replace(QLatin1Char('/'), QStringLiteral(", ")));
}

Expected<TrayPicture, DecodeError> SolutionBrowser::picture() const
{
    return TrayPicture::make(state.BoardIndex, state.SolutionSet.currentRecord(), m_look);
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
    return state.SolutionSet.RecordCount();
}

} // namespace tw
