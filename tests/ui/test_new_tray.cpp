#include "WindowFixture.h"
#include "app/About.h"
#include "app/TrayLibrary.h"
#include "solutions/Region.h"
#include "solver/RegionSolver.h"
#include "ui/NewTrayDialog.h"
#include "ui/SolveWindow.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QUrl>

using namespace tw;
using namespace tw::test;

namespace {

const char *const CentreHole =
    "########\n########\n########\n###..###\n###..###\n########\n########\n########\n";

// The editor, opened by its key on the main window.
NewTrayDialog *openEditor(MainWindow &m)
{
    QTest::keyClick(&m.w(), Qt::Key_N, Qt::ControlModifier);
    auto *editor = m.w().findChild<NewTrayDialog *>(QStringLiteral("frmNewTray"));
    return editor && QTest::qWaitFor([editor] { return editor->isActiveWindow(); }) ? editor
                                                                                    : nullptr;
}

template<class Control> Control *in(QWidget *w, const char *name)
{
    return w->findChild<Control *>(QString::fromLatin1(name));
}

QString line(QWidget *editor, const char *label)
{
    return in<QLabel>(editor, label)->text();
}

QPoint centreOf(const DraftView &view, int column, int row)
{
    const auto [x, y, side] = view.layout().square(column, row);
    return {x + side / 2, y + side / 2};
}

// A drag over the grid from one cell to another along a row or a column.
void drag(DraftView &view, std::pair<int, int> from, std::pair<int, int> to)
{
    QTest::mousePress(&view, Qt::LeftButton, {}, centreOf(view, from.first, from.second));
    const int steps = std::max(std::abs(to.first - from.first), std::abs(to.second - from.second));
    for (int k = 1; k <= steps; ++k)
        QTest::mouseMove(&view, centreOf(view, from.first + (to.first - from.first) * k / steps,
                                         from.second + (to.second - from.second) * k / steps));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, centreOf(view, to.first, to.second));
}

// A library holding the centre-hole square as "Centre hole", and with
// four, the square with four holes as "Four holes" after it.
std::string libraryWithCentreHole(const QTemporaryDir &dir, bool four = false)
{
    const std::string path =
        QFile::encodeName(dir.filePath(QStringLiteral("Trays.sqlite"))).toStdString();
    for (const auto &[name, region] :
         {std::pair{"Centre hole", CentreHole},
          {"Four holes", "########\n########\n##.##.##\n########\n########\n##.##.##\n########\n"
                         "########\n"}}) {
        const Tray tray = standardOrientation(*readRegion(region, name));
        const auto found = solveRegion(tray);
        if (!found || keepTray(path, trayNameOf(name), tray, found->solutions))
            qFatal("the library could not be made");
        if (!four)
            break;
    }
    return path;
}

} // namespace

class TestNewTray : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QVERIFY(!QApplication::overrideCursor()); }
    void drawsATrayByMouseAndKeysAndKeepsIt();
    void searchesInTheBackgroundUntilCancelled();
    void keepsNothingWithoutATilingOrALibraryToWrite();
    void aKeptTrayGoesWhereverTheFiveGo();
    void aKeptTrayIsRenamedExportedAndDeleted();
    void aSolutionFoundIsShownOnItsTrayWhereverItMoved();
};

void TestNewTray::drawsATrayByMouseAndKeysAndKeepsIt()
{
    MainWindow m;
    NewTrayDialog *editor = openEditor(m);
    QVERIFY(editor);
    auto &grid = *in<DraftView>(editor, "picGrid");
    QCOMPARE(QApplication::focusWidget(), &grid); // ready for the keys
    // The cursor shows where a key acts: the top left cell, outlined.
    const auto [left, top, side] = grid.layout().square(0, 0);
    QCOMPARE(grid.grab().toImage().pixelColor(left + 1, top + side / 2),
             grid.palette().color(QPalette::Highlight));
    QCOMPARE(line(editor, "lblCount"), QStringLiteral("0 of 60 cells"));
    // Started from one of the five: drawn already, so not searched again.
    auto *start = in<QComboBox>(editor, "cboStart");
    QTest::keyClick(start, Qt::Key_Down);
    QCOMPARE(line(editor, "lblObstacle"),
             QStringLiteral("This region is the built-in 10 x 6 tray."));
    QVERIFY(!in<QPushButton>(editor, "cmdFind")->isEnabled());
    QTest::keyClick(start, Qt::Key_Up);
    QCOMPARE(line(editor, "lblCount"), QStringLiteral("0 of 60 cells"));
    // Emptying the grid is a step too.
    QTest::mouseClick(in<QPushButton>(editor, "cmdUndo"), Qt::LeftButton);
    QCOMPARE(line(editor, "lblCount"), QStringLiteral("60 of 60 cells"));
    QTest::mouseClick(in<QPushButton>(editor, "cmdRedo"), Qt::LeftButton);
    QCOMPARE(line(editor, "lblCount"), QStringLiteral("0 of 60 cells"));
    for (int r = 0; r < 8; ++r)
        drag(grid, {0, r}, {7, r});
    QCOMPARE(line(editor, "lblCount"),
             QStringLiteral("64 of 64 cells: the 2 x 2 square joins the twelve pentominoes"));
    QCOMPARE(line(editor, "lblSymmetry"),
             QStringLiteral("Symmetry: the same under all 8 turns and reflections"));
    // A drag that starts on a cell takes cells away.
    drag(grid, {3, 3}, {3, 4});
    QCOMPARE(line(editor, "lblCount"),
             QStringLiteral("62 of 64 cells: at 64 the 2 x 2 square joins the pieces"));
    QCOMPARE(line(editor, "lblSymmetry"),
             QStringLiteral("Symmetry: the same in a mirror top to bottom only"));
    drag(grid, {4, 4}, {4, 3});
    QCOMPARE(line(editor, "lblCount"), QStringLiteral("60 of 60 cells"));
    auto *find = in<QPushButton>(editor, "cmdFind");
    QVERIFY(find->isEnabled());

    // The keyboard, once Tab has brought the focus to the grid: the cursor
    // starts at the top left; Space takes that cell away, Shift+Right
    // carries the gap on.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    for (int k = 0; k < 20 && QApplication::focusWidget() != &grid; ++k)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), &grid);
    QTest::keyClick(&grid, Qt::Key_Space);
    QTest::keyClick(&grid, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(line(editor, "lblCount"), QStringLiteral("58 of 60 cells"));
    QVERIFY(!find->isEnabled());
    QTest::keyClick(&grid, Qt::Key_Space); // (1, 0) back
    QTest::keyClick(&grid, Qt::Key_Left);
    QTest::keyClick(&grid, Qt::Key_Space); // (0, 0) back
    // (1, 0) and (0, 1) away: (0, 0) stands alone.
    for (const Qt::Key key :
         {Qt::Key_Right, Qt::Key_Space, Qt::Key_Down, Qt::Key_Left, Qt::Key_Space})
        QTest::keyClick(&grid, key);
    drag(grid, {8, 0}, {8, 1});
    QCOMPARE(line(editor, "lblCount"), QStringLiteral("60 of 60 cells"));
    QCOMPARE(line(editor, "lblObstacle"),
             QStringLiteral("No piece can cover the cell at row 1, column 1."));
    QVERIFY(!find->isEnabled());
    // The cell at fault is marked on the grid.
    const QImage shot = grid.grab().toImage();
    QCOMPARE(shot.pixelColor(centreOf(grid, 0, 0)), QColor(0xC0, 0x20, 0x20));
    QVERIFY(shot.pixelColor(centreOf(grid, 1, 0)) != QColor(0xC0, 0x20, 0x20));
    // The cursor stops at the grid's last column, and Space adds that cell.
    for (int k = 0; k < 40; ++k)
        QTest::keyClick(&grid, Qt::Key_Right);
    QTest::keyClick(&grid, Qt::Key_Space);
    QCOMPARE(line(editor, "lblCount"),
             QStringLiteral("61 of 64 cells: at 64 the 2 x 2 square joins the pieces"));
    // Undo, each stroke or key a step, back to the centre hole; redo and undo.
    for (int k = 0; k < 8; ++k)
        QTest::mouseClick(in<QPushButton>(editor, "cmdUndo"), Qt::LeftButton);
    QCOMPARE(editor->draft().tray(), *readRegion(CentreHole));
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(line(editor, "lblCount"), QStringLiteral("59 of 60 cells"));
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(line(editor, "lblObstacle"), QString());

    // A name: not a built-in label, then the user's.
    auto *name = in<QLineEdit>(editor, "txtName");
    QCOMPARE(name->text(), QStringLiteral("My tray 1"));
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("8 x 8"));
    QVERIFY(line(editor, "lblName").contains(QStringLiteral("names a built-in tray")));
    QVERIFY(!find->isEnabled());
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Centre hole"));
    QTest::mouseClick(find, Qt::LeftButton);
    // Kept, listed after the five and shown.
    auto *list = m.find<QComboBox>("cboSelect");
    QTRY_COMPARE(list->count(), 6);
    QCOMPARE(list->itemText(5), QStringLiteral("Centre hole"));
    QCOMPARE(list->currentIndex(), 5);
    QTRY_VERIFY(!m.w().findChild<NewTrayDialog *>());
    QCOMPARE(m.messages, QStringList());
    QTest::mouseClick(m("cmdLast"), Qt::LeftButton);
    QCOMPARE(m.find<QLineEdit>("txtSolution")->text(), QStringLiteral("65"));
    QVERIFY(looksAsKept(m.w().grab().toImage(), QStringLiteral("main-window-centre-hole-65")));
    // The hole in the tray's grey, the cells around it in the pieces'.
    const QRect tray = m("picTray")->geometry();
    const QImage picture = m.w().grab(tray).toImage();
    const QPoint middle(picture.width() / 2, picture.height() / 2);
    QCOMPARE(picture.pixelColor(middle), qtColour(MidGrey));
    QVERIFY(picture.pixelColor(middle + QPoint(picture.width() / 5, 0)) != qtColour(MidGrey));
}

// A file of the text given, in dir.
QString written(const QTemporaryDir &dir, const char *name, const QByteArray &text)
{
    QFile file(dir.filePath(QString::fromLatin1(name)));
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        qFatal("cannot write %s", name);
    return file.fileName();
}

void TestNewTray::searchesInTheBackgroundUntilCancelled()
{
    MainWindow m;
    QTemporaryDir dir;
    // 64 cells and no symmetry: seconds of search. Imported from a file.
    m.openPaths << written(dir, "l.txt",
                           QByteArray("########\n").repeated(6) + QByteArray("####\n").repeated(4));
    NewTrayDialog *editor = openEditor(m);
    QVERIFY(editor);
    QTest::mouseClick(in<QPushButton>(editor, "cmdImport"), Qt::LeftButton);
    QCOMPARE(line(editor, "lblCount"),
             QStringLiteral("64 of 64 cells: the 2 x 2 square joins the twelve pentominoes"));
    QCOMPARE(line(editor, "lblSymmetry"), QStringLiteral("Symmetry: no symmetry"));
    auto *find = in<QPushButton>(editor, "cmdFind");
    auto *cancel = in<QPushButton>(editor, "cmdCancel");
    QVERIFY(!cancel->isEnabled());
    QTest::mouseClick(find, Qt::LeftButton);
    QVERIFY(editor->searching());
    QCOMPARE(in<QProgressBar>(editor, "prgSearch")->maximum(), 0); // moving
    // The editor stays in use while it searches: the count moves on.
    QTRY_VERIFY(line(editor, "lblProgress").contains(QStringLiteral(" placements tried, ")));
    const QString first = line(editor, "lblProgress");
    QTRY_VERIFY(line(editor, "lblProgress") != first);
    QVERIFY(!find->isEnabled() && !in<QWidget>(editor, "picGrid")->isEnabled() &&
            !in<QWidget>(editor, "cmdUndo")->isEnabled());
    QTest::mouseClick(cancel, Qt::LeftButton);
    QVERIFY(!editor->searching());
    QCOMPARE(line(editor, "lblProgress"),
             QStringLiteral("The search was stopped; nothing was kept."));
    QVERIFY(find->isEnabled());
    // Closed while it searches, the editor asks first: no, and it searches
    // on; yes, and it stops and closes, keeping nothing.
    QTest::mouseClick(find, Qt::LeftButton);
    m.yes = {false, true};
    QTest::mouseClick(in<QPushButton>(editor, "cmdClose"), Qt::LeftButton);
    QVERIFY(editor->isVisible() && editor->searching());
    QTest::keyClick(editor, Qt::Key_Escape);
    QTRY_VERIFY(!m.w().findChild<NewTrayDialog *>());
    QCOMPARE(m.questions.size(), 2);
    QVERIFY(
        m.questions[0].startsWith(QStringLiteral("The search for solutions is still running.")));
    QCOMPARE(m.find<QComboBox>("cboSelect")->count(), BoardCount);
    QCOMPARE(m.messages, QStringList());
}

void TestNewTray::keepsNothingWithoutATilingOrALibraryToWrite()
{
    QTemporaryDir dir;
    // A library that cannot be written: its folder is a file.
    written(dir, "folder", "not a folder");
    MainWindow m(
        testDatabaseFolder(), Messages::Recorded, nullptr,
        QFile::encodeName(dir.filePath(QStringLiteral("folder/Trays.sqlite"))).toStdString());
    m.openPaths << written(dir, "strips.txt",
                           "####################\n\n####################\n\n"
                           "####################\n")
                << dir.filePath(QStringLiteral("none.txt"))
                << written(dir, "big.txt", QByteArray(64 * 1024 + 1, '#'));
    NewTrayDialog *editor = openEditor(m);
    QVERIFY(editor);
    auto *import = in<QPushButton>(editor, "cmdImport");
    QTest::mouseClick(import, Qt::LeftButton);
    QTest::mouseClick(in<QPushButton>(editor, "cmdFind"), Qt::LeftButton);
    QTRY_VERIFY(!editor->searching());
    QCOMPARE(line(editor, "lblProgress"),
             QStringLiteral("The pieces fit this region in no way; nothing was kept."));
    // The centre hole, a file dropped on the editor.
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(written(dir, "centre.txt", CentreHole))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, {});
    QApplication::sendEvent(editor, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, {});
    QApplication::sendEvent(editor, &drop);
    QCOMPARE(editor->draft().tray(), *readRegion(CentreHole));
    QTest::mouseClick(in<QPushButton>(editor, "cmdFind"), Qt::LeftButton);
    QTRY_VERIFY(!editor->searching());
    QCOMPARE(m.messages.size(), 1);
    QVERIFY2(m.messages[0].contains(dir.filePath(QStringLiteral("folder/Trays.sqlite"))) &&
                 m.messages[0].endsWith(QStringLiteral("; nothing was kept.")),
             qPrintable(m.messages[0]));
    QVERIFY(editor->isVisible());
    QCOMPARE(m.find<QComboBox>("cboSelect")->count(), BoardCount);
    // A file that cannot be read is said so; the drawing stays.
    QTest::mouseClick(import, Qt::LeftButton);
    QCOMPARE(m.messages.size(), 2);
    QVERIFY(m.messages[1].contains(QStringLiteral("there is no such file")));
    QTest::mouseClick(import, Qt::LeftButton); // one byte more than 64 KB
    QVERIFY(m.messages.value(2).endsWith(QStringLiteral("than a region of 32 x 32 cells can be.")));
    QCOMPARE(editor->draft().cellCount(), 60);
    // A library that cannot be read is said once; the five trays work.
    const QString damaged = written(dir, "Trays.sqlite", "not a library at all");
    MainWindow next(testDatabaseFolder(), Messages::Recorded, nullptr,
                    QFile::encodeName(damaged).toStdString());
    QTRY_COMPARE(next.messages.size(), 1);
    QVERIFY2(next.messages[0].contains(damaged) &&
                 next.messages[0].contains(QStringLiteral("is damaged")),
             qPrintable(next.messages[0]));
    QCOMPARE(next.find<QComboBox>("cboSelect")->count(), BoardCount);
    QVERIFY(showsCurrentSolution(next));
}

void TestNewTray::aKeptTrayGoesWhereverTheFiveGo()
{
    QTemporaryDir dir;
    MainWindow m(testDatabaseFolder(), Messages::Recorded, nullptr, libraryWithCentreHole(dir));
    auto *list = m.find<QComboBox>("cboSelect");
    QCOMPARE(list->count(), BoardCount + 1);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_End);
    QCOMPARE(m.find<QLineEdit>("txtSolution")->text(), QStringLiteral("1"));
    QTest::mouseClick(m("cmdNext"), Qt::LeftButton);
    QCOMPARE(m.find<QLineEdit>("txtSolution")->text(), QStringLiteral("2"));
    QVERIFY(m("picTray")->accessibleDescription().startsWith(
        QStringLiteral("The Centre hole tray, solution 2 of 65, rows ")));
    // Copied, and found again from its letters, turned a quarter.
    QTest::keyClick(&m.w(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    const QStringList rows = QGuiApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    QCOMPARE(rows.size(), 8);
    QString turned;
    for (int c = 0; c < 8; ++c, turned += '\n')
        for (int r = 7; r >= 0; --r)
            turned += rows[r].at(c);
    QTest::mouseClick(m("cmdFirst"), Qt::LeftButton);
    QTest::keyClick(&m.w(), Qt::Key_F, Qt::ControlModifier);
    auto *found = m.w().findChild<QDialog *>(QStringLiteral("frmFind"));
    QVERIFY(found);
    auto *box = in<QPlainTextEdit>(found, "txtGrid");
    QTest::mouseClick(box->viewport(), Qt::LeftButton);
    QGuiApplication::clipboard()->setText(turned);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QTest::mouseClick(in<QPushButton>(found, "cmdFind"), Qt::LeftButton);
    QCOMPARE(in<QLabel>(found, "lblVerdict")->text(), QStringLiteral("Centre hole, solution 2"));
    QCOMPARE(m.find<QLineEdit>("txtSolution")->text(), QStringLiteral("2"));
    found->close();
    // The Print tab: the whole range, at the side of the 8 x 8 tray.
    clickTab(m, 1);
    QCOMPARE(m.find<QLineEdit>("txtTo")->text(), QStringLiteral("65"));
    QCOMPARE(m.find<QLineEdit>("txtSideLength")->text(), QStringLiteral("0.0286"));
    QTest::mouseClick(m("cmdPreview"), Qt::LeftButton);
    QCOMPARE(m.previews, 1);
    QCOMPARE(m.previewName, QStringLiteral("Pentominoes Centre hole, 1 to 65"));
    clickTab(m, 0);
    // Solve It Yourself on it, its position remembered under its name.
    QTest::keyClick(&m.w(), Qt::Key_Y, Qt::ControlModifier);
    auto *solve = m.w().findChild<SolveWindow *>(QStringLiteral("frmSolve"));
    QVERIFY(solve);
    QCOMPARE(solve->windowTitle(), QStringLiteral("Solve \"Centre hole\" Yourself"));
    QVERIFY(in<QLabel>(solve, "lblCount")->text().endsWith(QStringLiteral("(65 solutions)")));
    for (const Qt::Key key : {Qt::Key_X, Qt::Key_Down, Qt::Key_Right, Qt::Key_Return})
        QTest::keyClick(&solve->board(), key);
    solve->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTest::keyClick(&m.w(), Qt::Key_Y, Qt::ControlModifier);
    solve = m.w().findChild<SolveWindow *>(QStringLiteral("frmSolve"));
    QVERIFY(solve);
    QCOMPARE(solve->session().position().placements.size(), 1u);
    QCOMPARE(QSettings().value(QStringLiteral("solve/kept/centre hole")).toString().toStdString(),
             solve->session().text());
    QCOMPARE(m.messages, QStringList());
}

void TestNewTray::aKeptTrayIsRenamedExportedAndDeleted()
{
    QTemporaryDir dir;
    const std::string library = libraryWithCentreHole(dir);
    MainWindow m(testDatabaseFolder(), Messages::Recorded, nullptr, library);
    auto *list = m.find<QComboBox>("cboSelect");
    // The tray's menu, from a right-click on the tray; an item of it.
    const auto menu = [&] {
        QTest::mouseClick(m.w().windowHandle(), Qt::RightButton, {},
                          m("picTray")->geometry().center());
        return qobject_cast<QMenu *>(QApplication::activePopupWidget());
    };
    const auto shows = [](QMenu *popup, const char *name) {
        return popup->findChild<QAction *>(QString::fromLatin1(name))->isVisible();
    };
    // The five cannot be renamed or deleted.
    QMenu *popup = menu();
    QVERIFY(popup && !shows(popup, "mnuRenameTray") && !shows(popup, "mnuDeleteTray"));
    // Solution 1 shown: it can be copied and exported.
    for (const char *name : {"mnuCopy", "mnuExport"})
        QVERIFY2(popup->findChild<QAction *>(QString::fromLatin1(name))->isEnabled(), name);
    popup->close();
    list->setFocus();
    QTest::keyClick(list, Qt::Key_End);
    popup = menu();
    QVERIFY(shows(popup, "mnuRenameTray") && shows(popup, "mnuExportTray"));
    m.texts = {QStringLiteral("10 x 6"), QStringLiteral("Hole")};
    choose(popup, "mnuRenameTray");
    QCOMPARE(m.messages.size(), 1);
    QVERIFY(m.messages[0].endsWith(QStringLiteral("; the tray keeps its name.")));
    choose(menu(), "mnuRenameTray");
    QCOMPARE(list->currentText(), QStringLiteral("Hole"));
    QCOMPARE(readLibrary(library).trays.at(0).name, "Hole");
    // Exported as a region, which reads back as the tray.
    m.w().setHooks({{},
                    {},
                    {},
                    [&](const QString &start, const QString &) {
                        m.questions << start;
                        return dir.filePath(QStringLiteral("hole.txt"));
                    },
                    {},
                    {},
                    {}});
    choose(menu(), "mnuExportTray");
    QVERIFY(m.questions.last().endsWith(QStringLiteral("/Hole.txt")));
    QFile exported(dir.filePath(QStringLiteral("hole.txt")));
    QVERIFY(exported.open(QIODevice::ReadOnly));
    QCOMPARE(exported.readAll(), QByteArray(CentreHole));
    // Deleted once the user says yes.
    m.yes = {false, true};
    choose(menu(), "mnuDeleteTray");
    QCOMPARE(list->count(), BoardCount + 1);
    QVERIFY(m.questions.last().startsWith(
        QStringLiteral("Delete the tray \"Hole\" and its 65 solutions?")));
    choose(menu(), "mnuDeleteTray");
    QCOMPARE(list->count(), BoardCount);
    QCOMPARE(list->currentIndex(), 0);
    QVERIFY(readLibrary(library).trays.empty());
    QCOMPARE(m.find<QLineEdit>("txtSolution")->text(), QStringLiteral("1"));
    QVERIFY(aboutText(m.program.catalogue(), m.program.DbPath(), library)
                .contains(QStringLiteral("Your trays: 0 in ")));
}

void TestNewTray::aSolutionFoundIsShownOnItsTrayWhereverItMoved()
{
    QTemporaryDir dir;
    MainWindow m(testDatabaseFolder(), Messages::Recorded, nullptr,
                 libraryWithCentreHole(dir, true));
    auto *list = m.find<QComboBox>("cboSelect");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_End);
    QCOMPARE(list->currentText(), QStringLiteral("Four holes"));
    QTest::keyClick(&m.w(), Qt::Key_Y, Qt::ControlModifier);
    auto *solve = m.w().findChild<SolveWindow *>(QStringLiteral("frmSolve"));
    QVERIFY(solve);
    QTRY_VERIFY(solve->isActiveWindow()); // its keys are the active window's
    for (int k = 0; k < 12; ++k)
        QTest::keyClick(&solve->board(), Qt::Key_H);
    const auto n = solve->session().solution();
    QVERIFY(n);
    // The tray before it deleted: "Four holes" moves up the list.
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(list->currentText(), QStringLiteral("Centre hole"));
    m.yes = {true};
    QTest::mouseClick(m.w().windowHandle(), Qt::RightButton, {}, m("picTray")->geometry().center());
    choose(qobject_cast<QMenu *>(QApplication::activePopupWidget()), "mnuDeleteTray");
    QCOMPARE(list->count(), BoardCount + 1);
    QTest::mouseClick(in<QPushButton>(solve, "cmdShow"), Qt::LeftButton);
    QCOMPARE(list->currentText(), QStringLiteral("Four holes"));
    QCOMPARE(m.find<QLineEdit>("txtSolution")->text(), QString::number(*n));
}

QTEST_MAIN(TestNewTray)
#include "test_new_tray.moc"
