#include "WindowFixture.h"
#include "pieces/PieceTables.h"
#include "solutions/Database.h"
#include "solutions/Decoding.h"
#include "solutions/LetterGrid.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTabBar>
#include <QTest>

using namespace tw;
using test::choose;
using test::MainWindow;
using test::rightClick;

namespace {

// Solution n of a tray as rows of letters, read from a database of its own.
QString gridOf(Integer board, long long n)
{
    SharedState s;
    s.DbPath = TILEWRIGHT_TEST_DATABASE;
    s.ConnectString = readOnlyUri(s.DbPath);
    if (OpenDatabase(s) || SelectBoard(s, board, static_cast<Integer>(n), static_cast<Integer>(n)))
        return {};
    return QString::fromStdString(letterRows(*tileRecord(board, s.SolutionSet.currentRecord())));
}

// The grid turned a quarter: its columns, right to left, become its rows.
QString turned(const QString &grid)
{
    const QStringList rows = grid.split('\n', Qt::SkipEmptyParts);
    QString out;
    for (qsizetype c = rows[0].size() - 1; c >= 0; --c) {
        for (const QString &row : rows)
            out += row[c];
        out += '\n';
    }
    return out;
}

// Opens "Find a Tiling" with Ctrl+F, as a user does.
QWidget *openFind(MainWindow &m)
{
    QTest::keyClick(&m.w(), Qt::Key_F, Qt::ControlModifier);
    QWidget *dialog = m.w().findChild<QWidget *>(QStringLiteral("frmFind"));
    // The window system activates it a moment later.
    const auto active = [dialog] { return QApplication::activeWindow() == dialog; };
    return dialog && QTest::qWaitFor(active) ? dialog : nullptr;
}

// Types the text into the dialog's box, or pastes it with Ctrl+V, then
// presses Find; returns the verdict.
QString find(QWidget *dialog, const QString &text, bool paste)
{
    auto *box = dialog->findChild<QPlainTextEdit *>(QStringLiteral("txtGrid"));
    QTest::mouseClick(box->viewport(), Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    if (paste) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    } else {
        for (const QString &row : text.split('\n')) {
            QTest::keyClicks(box, row);
            QTest::keyClick(box, Qt::Key_Return);
        }
    }
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmdFind")), Qt::LeftButton);
    return dialog->findChild<QLabel *>(QStringLiteral("lblVerdict"))->text();
}

} // namespace

class TestFindTiling : public QObject
{
    Q_OBJECT

private slots:
    void findsATilingAndShowsIt_data();
    void findsATilingAndShowsIt();
    void aGridThatIsNoTilingChangesNothing();
    void copySolutionPutsTextPictureAndDrawingOnTheClipboard();
    void theMenuBelongsToTheTrayPicture();
};

void TestFindTiling::findsATilingAndShowsIt_data()
{
    QTest::addColumn<bool>("fromPrintTab");
    QTest::addColumn<int>("board");
    QTest::addColumn<int>("solution");
    QTest::addColumn<bool>("turn");
    QTest::addColumn<bool>("paste");
    QTest::addColumn<QString>("verdict");
    QTest::newRow("typed on its own tray")
        << false << 0 << 1234 << false << false << "10 x 6, solution 1,234";
    QTest::newRow("typed across") << false << 1 << 2 << true << false << "12 x 5, solution 2";
    QTest::newRow("pasted from the Print tab, another tray")
        << true << 4 << 16146 << true << true << "8 x 8, solution 16,146";
}

void TestFindTiling::findsATilingAndShowsIt()
{
    QFETCH(bool, fromPrintTab);
    QFETCH(int, board);
    QFETCH(int, solution);
    QFETCH(bool, turn);
    QFETCH(bool, paste);
    QFETCH(QString, verdict);
    MainWindow m;
    auto *tabs = m.w().findChild<QTabBar *>();
    if (fromPrintTab)
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    QWidget *dialog = openFind(m);
    QVERIFY(dialog);
    const QString grid = gridOf(static_cast<Integer>(board), solution);
    QCOMPARE(find(dialog, turn ? turned(grid) : grid, paste), verdict);

    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(m.find<QComboBox>("cboSelect")->currentIndex(), board);
    QCOMPARE(m.find<QLineEdit>("txtSolution")->text(), QString::number(solution));
    QCOMPARE(m.find<QLineEdit>("txtTo")->text(),
             QString::number(m.state().SolutionSet.RecordCount()));
    // The tray shows it, cell by cell, as the letters say.
    const QImage shot = m.w().grab().toImage();
    const auto tiling = tileRecord(m.state().BoardIndex, m.state().SolutionSet.currentRecord());
    QCOMPARE(QString::fromStdString(letterRows(*tiling)), grid);
    for (const Placement &p : tiling->placements) {
        const int cell = p.cells[0];
        const QPoint at(
            m.w().scale().pixels(m.state().TrayLeft + cell / m.state().Stride * 200 + 100),
            m.w().scale().pixels(m.state().TrayTop + cell % m.state().Stride * 200 + 100));
        const Colour colour = p.shape == SquarePiece ? MidGrey : orientation(p.shape).Color;
        QCOMPARE(shot.pixelColor(at * shot.devicePixelRatio()),
                 QColor(redOf(colour), greenOf(colour), blueOf(colour)));
    }
    QCOMPARE(m.messages, QStringList());
}

void TestFindTiling::aGridThatIsNoTilingChangesNothing()
{
    MainWindow m;
    auto *number = m.find<QLineEdit>("txtSolution");
    number->setFocus();
    number->selectAll();
    QTest::keyClicks(number, QStringLiteral("77"));
    QWidget *dialog = openFind(m);
    QVERIFY(dialog);
    QString grid = gridOf(0, 5);
    grid.replace(QLatin1Char('I'), QLatin1Char('L'));
    QCOMPARE(find(dialog, grid, false), QStringLiteral("There is no I piece."));
    QCOMPARE(find(dialog, QStringLiteral("FILN\nPTUV\n"), true),
             QStringLiteral("A grid of 2 rows of 4 letters fits no tray: the trays are 10 x 6, "
                            "12 x 5, 15 x 4, 20 x 3 and 8 x 8."));
    // Ctrl+Enter in the box finds too.
    auto *box = dialog->findChild<QPlainTextEdit *>(QStringLiteral("txtGrid"));
    box->clear();
    QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("lblVerdict"))->text(),
             QStringLiteral("There is no grid: write the tiling as rows of piece letters."));
    QCOMPARE(m.find<QComboBox>("cboSelect")->currentIndex(), 0);
    QCOMPARE(number->text(), QStringLiteral("77"));
    QCOMPARE(m.state().SolutionNo, 77);
    QCOMPARE(m.beeps + m.messages.size(), 0);
}

void TestFindTiling::copySolutionPutsTextPictureAndDrawingOnTheClipboard()
{
    MainWindow m;
    QTest::keyClick(m.find<QComboBox>("cboSelect"), Qt::Key_End);
    auto *number = m.find<QLineEdit>("txtSolution");
    number->setFocus();
    number->selectAll();
    QTest::keyClicks(number, QStringLiteral("321"));
    SharedState &s = m.state();
    // In the colours the window shows.
    choose(rightClick(m, s.TrayLeft + 300, s.TrayTop + 300), "mnuSafe");
    QMenu *menu = rightClick(m, s.TrayLeft + 300, s.TrayTop + 300);
    QVERIFY(menu);
    choose(menu, "mnuCopy");

    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data);
    QCOMPARE(data->text(), gridOf(SquareBoard, 321));
    // The picture as the screen shows it, at its density: the frame and
    // every cell in the same colour.
    const QImage picture = qvariant_cast<QImage>(data->imageData());
    const QImage screen = m.w().surface().image();
    const TwipsScale scale(m.w().scale().dpi() * m.w().surface().ratio());
    QCOMPARE(picture.size(), QSize(scale.pixels(2000), scale.pixels(2000)));
    for (int c = -1; c <= s.Cols; ++c)
        for (int r = -1; r <= s.Rows; ++r)
            QCOMPARE(picture.pixelColor(scale.pixels((c + 1) * 200 + 100),
                                        scale.pixels((r + 1) * 200 + 100)),
                     screen.pixelColor(scale.pixels(s.TrayLeft + c * 200 + 100),
                                       scale.pixels(s.TrayTop + r * 200 + 100)));
    QSvgRenderer drawing(data->data(QStringLiteral("image/svg+xml")));
    QVERIFY(drawing.isValid());
    QCOMPARE(drawing.viewBoxF(), QRectF(0, 0, 2000, 2000));
    QCOMPARE(m.messages, QStringList());
}

void TestFindTiling::theMenuBelongsToTheTrayPicture()
{
    MainWindow m;
    SharedState &s = m.state();
    QVERIFY(!rightClick(m, s.TrayLeft - 500, s.TrayTop + 100));     // beside the tray
    QMenu *menu = rightClick(m, s.TrayLeft - 100, s.TrayTop + 100); // on its frame
    QVERIFY(menu);
    QVERIFY(menu->findChild<QAction *>(QStringLiteral("mnuCopy"))->isEnabled());
    QCOMPARE(menu->findChild<QAction *>(QStringLiteral("mnuFind"))->shortcut(),
             QKeySequence(Qt::CTRL | Qt::Key_F));
    choose(menu, "mnuFind");
    QWidget *dialog = m.w().findChild<QWidget *>(QStringLiteral("frmFind"));
    QVERIFY(dialog && dialog->isVisible());
    QTest::keyClick(dialog, Qt::Key_Escape);
    QVERIFY(!dialog->isVisible());
    // The "Print" tab shows no tray, and no menu.
    auto *tabs = m.w().findChild<QTabBar *>();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    QVERIFY(!rightClick(m, s.TrayLeft + 300, s.TrayTop + 300));
}

QTEST_MAIN(TestFindTiling)
#include "test_find_tiling.moc"
