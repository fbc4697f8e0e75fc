#include "Layout.h"
#include "WindowFixture.h"
#include "app/Choices.h"
#include "pieces/PieceTables.h"
#include "ui/SolveWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <set>

using namespace tw;
using namespace tw::test;

namespace {

// Opens "Solve It Yourself" with its key, as a user does.
SolveWindow *openSolve(MainWindow &m)
{
    // A window closed before is gone first.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m.w().activateWindow();
    if (!QTest::qWaitForWindowActive(&m.w()))
        return nullptr;
    QTest::keyClick(&m.w(), Qt::Key_Y, Qt::ControlModifier);
    auto *window = m.w().findChild<SolveWindow *>(QStringLiteral("frmSolve"));
    return window && QTest::qWaitForWindowExposed(window) ? window : nullptr;
}

// Drags with the left button from one point of the board to another.
void drag(SolveBoard &board, QPoint from, QPoint to)
{
    QTest::mousePress(&board, Qt::LeftButton, {}, from);
    QTest::mouseMove(&board, (from + to) / 2);
    QTest::mouseMove(&board, to);
    QTest::mouseRelease(&board, Qt::LeftButton, {}, to);
}

QString count(SolveWindow *w)
{
    return w->findChild<QLabel *>(QStringLiteral("lblCount"))->text();
}

void click(SolveWindow *w, const char *name)
{
    QTest::mouseClick(w->findChild<QPushButton *>(QString::fromLatin1(name)), Qt::LeftButton);
}

// Whether the board shows the colour anywhere in the area.
bool showsIn(SolveBoard &board, QRect area, QColor colour)
{
    const QImage shot = board.grab().toImage();
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (shot.pixelColor(x, y) == colour)
                return true;
    return false;
}

// The cells a held piece covers on the tray, as (column, row).
std::set<std::pair<int, int>> heldCells(const SolveBoard &board)
{
    const auto &held = *board.held();
    std::set<std::pair<int, int>> cells{{held.column, held.row}};
    for (const ColumnRow &d : squareSteps(orientation(held.shape)))
        cells.emplace(held.column + d.column, held.row + d.row);
    return cells;
}

} // namespace

class TestSolve : public QObject
{
    Q_OBJECT

private slots:
    // No busy pointer outlives what it was shown for.
    void cleanup() { QVERIFY(!QApplication::overrideCursor()); }
    void laysTurnsRefusesAndTakesBackWithTheMouse();
    void theKeyboardDoesWhatTheMouseDoes();
    void hintsFinishAndTheSolutionShowsInTheMainWindow();
    void savesOpensAndRemembersPositions();
    void stepsThroughWhatRemainsFromTheKeyboard();
    void marksADeadEndAndMovesAPieceInOneStep();
};

void TestSolve::laysTurnsRefusesAndTakesBackWithTheMouse()
{
    MainWindow m;
    SolveWindow *w = openSolve(m);
    QVERIFY(w);
    SolveBoard &board = w->board();
    SolveSession &s = w->session();
    QCOMPARE(count(w), QStringLiteral("9,356 tilings still complete this (2,339 solutions)"));
    QCOMPARE(test::layoutFaults(w), QStringList());
    QVERIFY(w->screen()->availableGeometry().contains(w->geometry()));
    // The pieces not laid stand whole below the tray's frame.
    const QRect tray =
        board.cellRect(0, 0).united(board.cellRect(s.position().cols - 1, s.position().rows - 1));
    for (char letter : std::string_view("FILNPTUVWXYZ")) {
        QVERIFY(board.rect().contains(board.bandRect(letter)));
        QVERIFY(board.bandRect(letter).top() > tray.bottom() + board.cellRect(0, 0).height());
    }
    // The X from the band, its first square dropped on column 0, row 2.
    drag(board, board.bandRect('X').center(), board.cellRect(1, 1).center());
    QCOMPARE(s.position().placements.size(), 1u);
    QCOMPARE(s.position().at(2, 2), &s.position().placements[0]);
    const QString afterX = count(w);
    QVERIFY(afterX.contains(QStringLiteral(" still complete this (")));
    QVERIFY(!afterX.startsWith(QStringLiteral("9,356")));
    // The X has left the band; the I, not laid, is still there.
    const auto shows = [&board](QRect area, Colour c) { return showsIn(board, area, qtColour(c)); };
    QVERIFY(!shows(board.bandRect('X'), orientation(0).Color));
    QVERIFY(shows(board.cellRect(2, 1), orientation(0).Color)); // laid on the tray
    QVERIFY(shows(board.bandRect('I'), orientation(1).Color));
    // The I held over the X is crossed out in red, and not laid.
    QTest::mousePress(&board, Qt::LeftButton, {}, board.bandRect('I').center());
    QTest::mouseMove(&board, board.cellRect(1, 1).center());
    const QRect over = board.cellRect(1, 1);
    const QPoint quarter(over.width() / 4, over.height() / 4);
    for (const QPoint &onCross :
         {over.topLeft() + quarter, over.topRight() + QPoint(-quarter.x(), quarter.y())})
        QVERIFY(shows(QRect(onCross, QSize(1, 1)), 0x0000FF));
    QTest::mouseRelease(&board, Qt::LeftButton, {}, board.cellRect(1, 1).center());
    QCOMPARE(s.position().placements.size(), 1u);
    QCOMPARE(count(w), afterX);
    // Turned by the wheel while held, about the cell held, and laid across
    // the top row, its end under the pointer.
    QTest::mousePress(&board, Qt::LeftButton, {}, board.bandRect('I').center());
    QTest::mouseMove(&board, board.cellRect(8, 0).center());
    QWheelEvent notch(board.cellRect(8, 0).center(),
                      board.mapToGlobal(board.cellRect(8, 0).center()), {}, QPoint(0, -120),
                      Qt::LeftButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    const QColor empty = board.grab().toImage().pixelColor(board.cellRect(6, 0).center());
    QApplication::sendEvent(&board, &notch);
    QCOMPARE(board.held()->column, 4);
    // Where it would go, it shows.
    QVERIFY(board.grab().toImage().pixelColor(board.cellRect(6, 0).center()) != empty);
    QTest::mouseRelease(&board, Qt::LeftButton, {}, board.cellRect(8, 0).center());
    QCOMPARE(s.position().placements.size(), 2u);
    QCOMPARE(s.position().placements[1].shape, Integer(2)); // the I lying down
    // A laid piece dragged off the tray is taken back; undo and redo.
    drag(board, board.cellRect(5, 0).center(), QPoint(2, 2));
    QCOMPARE(s.position().placements.size(), 1u);
    QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(s.position().placements.size(), 2u);
    QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(s.position().placements.size(), 1u);
    // Dropped on the frame just past the tray, on any side: off the tray too.
    const int cols = s.position().cols, rows = s.position().rows;
    for (const QPoint &past : {QPoint(cols, 0), QPoint(4, -1), QPoint(4, rows)}) {
        QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(s.position().placements.size(), 2u);
        drag(board, board.cellRect(5, 0).center(), board.cellRect(past.x(), past.y()).center());
        QCOMPARE(s.position().placements.size(), 1u);
    }
    w->close();
}

void TestSolve::theKeyboardDoesWhatTheMouseDoes()
{
    // On the 8 x 8 tray, with its square among the pieces.
    MainWindow m;
    QTest::keyClick(m.find<QComboBox>("cboSelect"), Qt::Key_End);
    SolveWindow *w = openSolve(m);
    QVERIFY(w);
    SolveSession &s = w->session();
    QWidget *board = &w->board();
    QTest::keyClicks(board, QStringLiteral("o"));
    QVERIFY(w->board().held() && w->board().held()->shape == SquarePiece);
    QVERIFY(board->accessibleDescription().contains(QStringLiteral("; O picked")));
    QVERIFY(w->board().rect().contains(w->board().bandRect('O')));
    QTest::keyClick(board, Qt::Key_Escape);
    // L picked by its letter, turned, flipped, moved and laid with Enter.
    QTest::keyClicks(board, QStringLiteral("l"));
    QVERIFY(w->board().held());
    const Integer first = w->board().held()->shape;
    QTest::keyClick(board, Qt::Key_R);
    QVERIFY(w->board().held()->shape != first);
    QTest::keyClick(board, Qt::Key_M);
    QTest::keyClick(board, Qt::Key_R);
    QTest::keyClick(board, Qt::Key_M);
    QCOMPARE(w->board().held()->shape, first); // a turn each way, seen in a mirror
    QTest::keyClick(board, Qt::Key_R, Qt::ShiftModifier);
    QTest::keyClick(board, Qt::Key_R);
    QCOMPARE(w->board().held()->shape, first); // and back
    // Each arrow moves it one cell its own way.
    const auto at = [w] { return QPoint(w->board().held()->column, w->board().held()->row); };
    const QPoint start = at();
    for (const auto &[key, step] : {std::pair{Qt::Key_Down, QPoint(0, 1)},
                                    {Qt::Key_Right, QPoint(1, 0)},
                                    {Qt::Key_Down, QPoint(0, 1)},
                                    {Qt::Key_Up, QPoint(0, -1)},
                                    {Qt::Key_Left, QPoint(-1, 0)},
                                    {Qt::Key_Right, QPoint(1, 0)}}) {
        const QPoint before = at();
        QTest::keyClick(board, key);
        QCOMPARE(at(), before + step);
    }
    QCOMPARE(at(), start + QPoint(1, 1));
    // A screen reader hears where it stands, counted from 1.
    QVERIFY(board->accessibleDescription().contains(
        QStringLiteral("L picked, its first square at column %1, row %2")
            .arg(at().x() + 1)
            .arg(at().y() + 1)));
    const int beeps = m.beeps;
    QTest::keyClick(board, Qt::Key_Return);
    QCOMPARE(s.position().placements.size(), 1u);
    QCOMPARE(s.position().placements[0].shape, first);
    QCOMPARE(m.beeps, beeps);
    QTest::keyClick(board, Qt::Key_Return); // nothing left to lay
    QCOMPARE(m.beeps, beeps + 1);
    QVERIFY(w->board().accessibleDescription().contains(QStringLiteral("1 of its pieces laid")));
    // Delete takes the selected piece back.
    QTest::keyClick(board, Qt::Key_Delete);
    QVERIFY(s.position().placements.empty());
    // The L back, and the square laid after it where it stands.
    QTest::keyClick(board, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClicks(board, QStringLiteral("o"));
    QTest::keyClick(board, Qt::Key_Return);
    QCOMPARE(s.position().placements.size(), 2u);
    QVERIFY(looksAsKept(w->grab().toImage(), QStringLiteral("solve-8x8-an-L-then-the-square")));
    w->close();
}

void TestSolve::hintsFinishAndTheSolutionShowsInTheMainWindow()
{
    // On the 20 x 3 tray, wider than the band of pieces: both stand centred.
    MainWindow m;
    QTest::keyClick(m.find<QComboBox>("cboSelect"), Qt::Key_End);
    QTest::keyClick(m.find<QComboBox>("cboSelect"), Qt::Key_Up);
    SolveWindow *w = openSolve(m);
    QVERIFY(w);
    const SolveBoard &board = w->board();
    QRect band, tray = board.cellRect(0, 0) | board.cellRect(19, 2);
    for (char letter : std::string_view("FILNPTUVWXYZ"))
        band |= board.bandRect(letter);
    for (const QRect &r : {tray, band})
        QVERIFY(std::abs(r.left() + r.right() + 1 - board.width()) <= 2);
    for (int k = 0; k < 12; ++k)
        QTest::keyClick(&w->board(), Qt::Key_H);
    QVERIFY(w->session().finished());
    QVERIFY(looksAsKept(w->grab().toImage(), QStringLiteral("solve-20x3-finished")));
    const Integer n = *w->session().solution();
    QCOMPARE(count(w), QStringLiteral("You found solution %1 of the 20 x 3 tray").arg(n));
    QTest::keyClick(&w->board(), Qt::Key_H); // one more: the tray is still named
    QCOMPARE(count(w), QStringLiteral("You found solution %1 of the 20 x 3 tray").arg(n));
    click(w, "cmdShow");
    QCOMPARE(m.state().SolutionNo, n);
    QVERIFY(showsCurrentSolution(m));
    click(w, "cmdUndo");
    QVERIFY(!w->session().finished());
    w->close();
}

void TestSolve::savesOpensAndRemembersPositions()
{
    QTemporaryDir dir;
    const QString database = dir.filePath(QStringLiteral("Solutions.mdb"));
    QVERIFY(QFile::copy(QStringLiteral(TILEWRIGHT_TEST_DATABASE), database));
    MainWindow m(QFile::encodeName(dir.path()).toStdString());
    const QString file = dir.filePath(QStringLiteral("position.txt"));
    QString answer = file;
    WindowHooks files;
    files.askSavePath = [&](const QString &, const QString &) { return answer; };
    files.askOpenPath = files.askSavePath;
    m.w().setHooks(files);
    SolveWindow *w = openSolve(m);
    QVERIFY(w);
    QTest::keyClick(&w->board(), Qt::Key_H);
    QTest::keyClick(&w->board(), Qt::Key_H);
    const std::string laid = w->session().text();
    QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier);
    QFile saved(file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll().toStdString(), laid);
    // Never over the solution database: said, and the database kept.
    answer = database;
    QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m.messages.size(), 1);
    QVERIFY2(m.messages[0].startsWith(QStringLiteral("The position could not be saved: cannot "
                                                     "write")),
             qPrintable(m.messages[0]));
    QVERIFY(stillADatabase(database));
    answer = file;
    click(w, "cmdUndo");
    click(w, "cmdUndo");
    QVERIFY(w->session().position().placements.empty());
    QTest::keyClick(w, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(w->session().text(), laid);
    w->close();
    // The next time, the tray as it was left.
    SolveWindow *again = openSolve(m);
    QVERIFY(again);
    QCOMPARE(again->session().text(), laid);
    QVERIFY(!again->session().canUndo());
    QCOMPARE(m.messages.size(), 1);
}

void TestSolve::stepsThroughWhatRemainsFromTheKeyboard()
{
    MainWindow m;
    SolveWindow *w = openSolve(m);
    QVERIFY(w);
    auto *browse = w->findChild<QLabel *>(QStringLiteral("lblBrowse"));
    auto *next = w->findChild<QPushButton *>(QStringLiteral("cmdNextTiling"));
    const QRect place = next->geometry();
    QTest::keyClick(&w->board(), '>');
    QCOMPARE(browse->text(), QStringLiteral("tiling 1 of 9,356, solution 1"));
    QTest::keyClick(&w->board(), '>');
    QTest::keyClick(&w->board(), '>');
    QTest::keyClick(&w->board(), '<');
    QVERIFY(browse->text().startsWith(QStringLiteral("tiling 2 of 9,356")));
    // The button stays where it was, to be clicked again.
    QCOMPARE(next->geometry(), place);
    QTest::mouseClick(next, Qt::LeftButton);
    QVERIFY(browse->text().startsWith(QStringLiteral("tiling 3 of 9,356")));
    w->close();
}

void TestSolve::marksADeadEndAndMovesAPieceInOneStep()
{
    for (const Palette palette : {Palette::Standard, Palette::Safe}) {
        MainWindow m;
        if (palette == Palette::Safe)
            choose(rightClick(m, m.tray().trayLeft + 300, m.tray().trayTop + 300), "mnuSafe");
        SolveWindow *w = openSolve(m);
        QVERIFY(w);
        SolveBoard &board = w->board();
        SolveSession &s = w->session();
        const auto shows = [&board](QRect area, QColor c) { return showsIn(board, area, c); };
        const Colour x = paletteColour(palette, 0, orientation(0).Color);
        const QColor stripe(redOf(letterColourOn(x)), greenOf(letterColourOn(x)),
                            blueOf(letterColourOn(x)));
        // The X picked by its letter starts on the tray, where it fits: in
        // the corner, cutting a cell off, so no tiling is left.
        QTest::keyClicks(&board, QStringLiteral("x"));
        QVERIFY(board.heldFits());
        QCOMPARE(heldCells(board),
                 (std::set<std::pair<int, int>>{{1, 0}, {0, 1}, {1, 1}, {2, 1}, {1, 2}}));
        QTest::keyClick(&board, Qt::Key_Return);
        QVERIFY(count(w).startsWith(QStringLiteral("No tiling completes this")));
        const QRect middle = board.cellRect(1, 1).adjusted(4, 4, -4, -4);
        QVERIFY2(shows(middle, stripe), "a dead end is striped");
        QVERIFY(shows(board.cellRect(0, 1), Qt::red)); // and outlined in red
        QVERIFY(!w->findChild<QWidget *>(QStringLiteral("cmdNextTiling"))->isEnabled());
        QTest::keyClick(&board, Qt::Key_H);
        QCOMPARE(count(w), QStringLiteral("Take back the X first."));
        // Moved by the cell under the pointer, out of the corner: no mark.
        drag(board, board.cellRect(1, 1).center(), board.cellRect(2, 1).center());
        QCOMPARE(s.position().placements.size(), 1u);
        QVERIFY(s.position().at(2, 1) && s.position().at(2, 0) && !s.position().at(0, 1));
        QVERIFY(!count(w).startsWith(QStringLiteral("No tiling")));
        QVERIFY(!shows(board.cellRect(2, 1).adjusted(4, 4, -4, -4), stripe));
        QVERIFY(!shows(board.cellRect(1, 1), Qt::red));
        // Laid pieces are outlined on every side that meets no cell of
        // theirs, and nowhere else: the X's four ends, not its middle.
        const QImage shot = board.grab().toImage();
        const QColor line(32, 32, 32);
        const auto at = [&board](int c, int r) { return board.cellRect(c, r); };
        for (const auto &[edge, outlined] :
             {std::pair{QPoint(at(2, 0).center().x(), at(2, 0).top()), true},
              {QPoint(at(3, 1).right(), at(3, 1).center().y()), true},
              {QPoint(at(2, 2).center().x(), at(2, 2).bottom()), true},
              {QPoint(at(1, 1).left(), at(1, 1).center().y()), true},
              {QPoint(at(2, 1).left(), at(2, 1).center().y()), false},
              {QPoint(at(2, 1).center().x(), at(2, 1).top()), false},
              {QPoint(at(2, 0).center().x(), at(2, 0).bottom()), false}})
            QVERIFY2((shot.pixelColor(edge) == line) == outlined,
                     qPrintable(QStringLiteral("%1,%2").arg(edge.x()).arg(edge.y())));
        // The move is one step: one undo puts it back in the corner.
        QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(s.position().at(0, 1) && s.position().placements.size() == 1);
        QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(s.position().placements.empty());
        // A piece held by a cell of its own turns and flips about that cell.
        QTest::keyClicks(&board, QStringLiteral("l"));
        QTest::keyClick(&board, Qt::Key_Return);
        QCOMPARE(s.position().placements.size(), 1u);
        const auto cells = s.position().placements[0].cells;
        const int stride = s.position().stride();
        const QPoint grip(cells[2] / stride, cells[2] % stride);
        QTest::mousePress(&board, Qt::LeftButton, {}, board.cellRect(grip.x(), grip.y()).center());
        const auto before = heldCells(board);
        QTest::mouseClick(&board, Qt::MiddleButton, {},
                          board.cellRect(grip.x(), grip.y()).center());
        std::set<std::pair<int, int>> mirrored;
        for (const auto &[c, r] : before)
            mirrored.emplace(2 * grip.x() - c, r);
        QCOMPARE(heldCells(board), mirrored);
        QTest::mouseClick(&board, Qt::RightButton, {}, board.cellRect(grip.x(), grip.y()).center());
        std::set<std::pair<int, int>> turned;
        for (const auto &[c, r] : mirrored)
            turned.emplace(grip.x() - (r - grip.y()), grip.y() + (c - grip.x()));
        QCOMPARE(heldCells(board), turned);
        QTest::mouseRelease(&board, Qt::LeftButton, {},
                            board.cellRect(grip.x(), grip.y()).center());
        w->close();
    }
}

QTEST_MAIN(TestSolve)
#include "test_solve.moc"
