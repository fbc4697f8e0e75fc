#include "WindowFixture.h"
#include "app/SharedState.h"
#include "pieces/PieceTables.h"
#include "solutions/Boards.h"
#include "solutions/Decoding.h"
#include "ui/main/TabControl.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <sqlite3.h>

using namespace tw;
using test::MainWindow;

namespace {

QColor colourOf(Colour c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

// Checks every cell of the tray on the surface against the decoded record
// under the cursor.
void verifyTrayPicture(MainWindow &m)
{
    SharedState &s = m.state();
    const auto tiling = tileRecord(s.BoardIndex, s.SolutionSet.currentRecord());
    QVERIFY(tiling);
    const std::string grid = letterGrid(*tiling);
    for (const Placement &p : tiling->placements) {
        const QColor expected =
            p.shape == SquarePiece ? colourOf(MidGrey) : colourOf(orientation(p.shape).Color);
        for (int k = 0; k < p.cellCount; ++k) {
            const int cell = p.cells[static_cast<std::size_t>(k)];
            const int column = cell / s.Stride, row = cell % s.Stride;
            const QColor actual = m.w().surface().colourAt(s.TrayLeft + column * 200 + 100,
                                                           s.TrayTop + row * 200 + 100);
            QVERIFY2(actual == expected, qPrintable(QStringLiteral("cell %1,%2 of %3")
                                                        .arg(column)
                                                        .arg(row)
                                                        .arg(QString::fromStdString(grid))));
        }
    }
}

} // namespace

class TestFrmMain : public QObject
{
    Q_OBJECT

private slots:
    void startsOnTheFirstSolutionOfTheFirstTray();
    void composesTheWindowAsDesigned();
    void paintsTheTrayCellByCell_data();
    void paintsTheTrayCellByCell();
    void paintsThePieceRowAndTheFrames();
    void rejectsJumpsThatAreNotSolutions_data();
    void rejectsJumpsThatAreNotSolutions();
    void jumpsToRoundedNumbers();
    void typingIntoAnEmptiedBoxJumpsAtEachDigit();
    void firstAndLast();
    void aShortClickStepsOnce();
    void holdingStepsOnUntilReleaseOrTheEnd();
    void boardChangesOnBothTabs();
    void tabSwitchResetsTheReportOptions();
    void escapeClosesTheProgram();
    void aGreyedButtonNeverSteps_data();
    void aGreyedButtonNeverSteps();
    void aTrayWithOneSolutionHasNoSteps();
    void escapeWhileHoldingEndsTheHoldAndCloses();
    void aRecordThatCannotBeShownEndsTheHoldWithOneMessage();
    void aTrayThatCannotBeReadShowsNoSteps();
    void thePictureStandsInPlaceAtTheScreensScale();
};

void TestFrmMain::startsOnTheFirstSolutionOfTheFirstTray()
{
    MainWindow m;
    QVERIFY(m.window);
    frmMain &w = m.w();
    QCOMPARE(w.windowTitle(), QStringLiteral("Pentominoes Solutions"));
    QCOMPARE(w.SSTabFn->currentIndex(), 0);
    QCOMPARE(w.cboSelect->currentText(), QStringLiteral("10 x 6"));
    QCOMPARE(w.txtSolution->text(), QStringLiteral("1"));
    QVERIFY(!w.cmdFirst->isEnabled());
    QVERIFY(!w.cmdPrev->isEnabled());
    QVERIFY(w.cmdNext->isEnabled());
    QVERIFY(w.cmdLast->isEnabled());
    QCOMPARE(w.txtFrom->text(), QStringLiteral("1"));
    QCOMPARE(w.txtTo->text(), QStringLiteral("2339"));
    QVERIFY(!w.isStarting());
    QCOMPARE(m.state().OutputMode, 0);
    QCOMPARE(m.beeps + m.messages.size(), 0);
    verifyTrayPicture(m);
}

void TestFrmMain::composesTheWindowAsDesigned()
{
    MainWindow m;
    frmMain &w = m.w();
    QCOMPARE(w.lblDesc->text(), descriptionText());
    QVERIFY(descriptionText().startsWith(QStringLiteral(
        "This program will show all solutions to the problem of fitting the 12 Pentominoes into "
        "a tray.\n\nA Pentomino is contructed")));
    for (const char *name : {"lblDesc", "cboSelect", "SSTabFn", "picVCR", "txtSolution",
                             "txtSideLength", "txtFrom", "txtTo", "lblProgress", "cmdPreview"})
        QVERIFY2(w.findChild<QWidget *>(QString::fromLatin1(name)), name);
    QStringList items;
    for (int k = 0; k < w.cboSelect->count(); ++k)
        items << w.cboSelect->itemText(k);
    QCOMPARE(items, QStringList({"10 x 6", "12 x 5", "15 x 4", "20 x 3", "8 x 8"}));
    // The navigation strip: 3400 twips, centred in the tab control.
    const TwipsScale &t = w.scale();
    QCOMPARE(w.picVCR->width(), t.pixels(3400));
    const int slack = w.SSTabFn->width() - w.picVCR->width();
    QVERIFY(std::abs(w.picVCR->x() - slack / 2) <= 1);
    QCOMPARE(w.RightOf(w.cmdLast), 3400.0);
    QVERIFY(w.cmdPreview->isHidden());
    QCOMPARE(w.cmdClose->geometry(),
             t.rect(w.RightOf(w.cmdClose) - 1000, w.BottomOf(w.cmdClose) - 400, 1000, 400));
}

void TestFrmMain::paintsTheTrayCellByCell_data()
{
    QTest::addColumn<int>("board");
    QTest::addColumn<QString>("jump");
    QTest::newRow("10 x 6, first") << 0 << QString();
    QTest::newRow("10 x 6, a jump") << 0 << QStringLiteral("1234");
    QTest::newRow("8 x 8, first") << 4 << QString();
    QTest::newRow("8 x 8, square in the centre") << 4 << QStringLiteral("16082");
    QTest::newRow("20 x 3, last") << 3 << QStringLiteral("2");
}

void TestFrmMain::paintsTheTrayCellByCell()
{
    QFETCH(int, board);
    QFETCH(QString, jump);
    MainWindow m;
    m.w().cboSelect->setCurrentIndex(board);
    if (!jump.isEmpty())
        m.w().txtSolution->setText(jump);
    QCOMPARE(m.state().SolutionNo, jump.isEmpty() ? 1 : jump.toInt());
    verifyTrayPicture(m);
    QCOMPARE(m.beeps, 0);
}

void TestFrmMain::paintsThePieceRowAndTheFrames()
{
    MainWindow m;
    const SurfaceCanvas &s = m.w().surface();
    // Each piece's first orientation, its square 1 at row StartX of the
    // piece's column, one empty column between pieces.
    const int xs[] = {600, 1400, 1800, 2600, 3400, 4200, 5000, 5600, 6200, 6800, 7400, 8200};
    for (int p = 0; p < PieceCount; ++p) {
        const clsShape &first = catalogue()[static_cast<std::size_t>(p)].front();
        QCOMPARE(s.colourAt(xs[p] + 100, 2400 + first.StartX * 200 + 100), colourOf(first.Color));
    }
    QCOMPARE(m.state().Rows, 6);
    QCOMPARE(m.state().Stride, 7);
    QCOMPARE(m.state().UnitSize, 200.0f);
    QCOMPARE(m.state().OriginX, m.state().TrayLeft);

    struct Frame
    {
        int board;
        double left, top, right, bottom;
    };
    for (const Frame f : {Frame{3, 2800, 3650, 7200, 4650}, Frame{4, 4000, 3300, 6000, 5300}}) {
        m.w().cboSelect->setCurrentIndex(f.board);
        const QColor grey = colourOf(MidGrey);
        QCOMPARE(s.colourAt(f.left + 50, f.top + 50), grey);
        QCOMPARE(s.colourAt(f.right - 50, f.bottom - 50), grey);
        QVERIFY(s.colourAt(f.left - 50, f.top + 50) != grey);
        QVERIFY(s.colourAt(f.right + 50, f.bottom - 50) != grey);
        QVERIFY(s.colourAt(f.left + 50, f.bottom + 50) != grey);
    }
    // The white board of the 20 x 3 tray: x 3000..7000, y 3850..4450.
    m.w().cboSelect->setCurrentIndex(3);
    m.w().DrawTray();
    QCOMPARE(s.colourAt(3050, 3900), QColor(Qt::white));
    QCOMPARE(s.colourAt(6950, 4400), QColor(Qt::white));
    QCOMPARE(s.colourAt(2950, 3900), colourOf(MidGrey));
}

void TestFrmMain::rejectsJumpsThatAreNotSolutions_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << QStringLiteral("0");
    QTest::newRow("negative") << QStringLiteral("-3");
    QTest::newRow("count + 1") << QStringLiteral("2340");
    QTest::newRow("beyond 16 bits") << QStringLiteral("32768");
    QTest::newRow("empty") << QString();
    QTest::newRow("words") << QStringLiteral("twelve");
    QTest::newRow("very long") << QString(5000, QLatin1Char('9'));
}

void TestFrmMain::rejectsJumpsThatAreNotSolutions()
{
    QFETCH(QString, text);
    MainWindow m;
    m.w().txtSolution->setText(QStringLiteral("17"));
    m.beeps = 0;
    m.w().txtSolution->setText(text);
    QCOMPARE(m.beeps, 1);
    QCOMPARE(m.w().txtSolution->selectedText(), text);
    QCOMPARE(m.state().SolutionNo, 17);
    QCOMPARE(m.state().SolutionSet.Fields("Solution").value_or(0), 17);
    // The next step starts from the solution shown.
    QTest::mousePress(m.w().cmdNext, Qt::LeftButton);
    QTest::mouseRelease(m.w().cmdNext, Qt::LeftButton);
    QCoreApplication::processEvents();
    QCOMPARE(m.state().SolutionNo, 18);
    QCOMPARE(m.w().txtSolution->text(), QStringLiteral("18"));
}

void TestFrmMain::jumpsToRoundedNumbers()
{
    MainWindow m;
    for (const auto &[typed, shown] : {std::pair{"2.5", "2"}, {"3.5", "4"}, {" +7 ", "7"}}) {
        m.w().txtSolution->setText(QString::fromLatin1(typed));
        QCOMPARE(m.w().txtSolution->text(), QString::fromLatin1(shown));
        QCOMPARE(m.state().SolutionSet.Fields("Solution").value_or(0),
                 QString::fromLatin1(shown).toLongLong());
    }
    QCOMPARE(m.beeps, 0);
}

void TestFrmMain::typingIntoAnEmptiedBoxJumpsAtEachDigit()
{
    MainWindow m;
    QLineEdit *box = m.w().txtSolution;
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(m.beeps, 1); // an empty box is not a number
    QTest::keyClick(box, Qt::Key_1);
    QCOMPARE(m.state().SolutionNo, 1);
    QTest::keyClick(box, Qt::Key_2);
    QCOMPARE(m.state().SolutionNo, 12);
    QCOMPARE(box->text(), QStringLiteral("12"));
    verifyTrayPicture(m);
}

void TestFrmMain::firstAndLast()
{
    MainWindow m;
    frmMain &w = m.w();
    QTest::mouseClick(w.cmdLast, Qt::LeftButton);
    QCOMPARE(m.state().SolutionNo, 2339);
    QCOMPARE(w.txtSolution->text(), QStringLiteral("2339"));
    QVERIFY(!w.cmdNext->isEnabled() && !w.cmdLast->isEnabled());
    QVERIFY(w.cmdFirst->isEnabled() && w.cmdPrev->isEnabled());
    verifyTrayPicture(m);
    QTest::mouseClick(w.cmdFirst, Qt::LeftButton);
    QCOMPARE(m.state().SolutionNo, 1);
    QCOMPARE(m.state().SolutionSet.position(), 0);
    // Typing the count behaves like Last, typing 1 like First.
    w.txtSolution->setText(QStringLiteral("2339"));
    QVERIFY(!w.cmdLast->isEnabled());
    w.txtSolution->setText(QStringLiteral("1"));
    QVERIFY(!w.cmdFirst->isEnabled());
}

void TestFrmMain::aShortClickStepsOnce()
{
    MainWindow m;
    frmMain &w = m.w();
    QTest::mousePress(w.cmdNext, Qt::LeftButton);
    QCOMPARE(m.state().SolutionNo, 2); // the first step comes with the press
    QTest::qWait(20);
    QTest::mouseRelease(w.cmdNext, Qt::LeftButton);
    QTest::qWait(20);
    QCOMPARE(m.state().SolutionNo, 2);
    QVERIFY(!w.tmrDelay->isActive());
    verifyTrayPicture(m);
    // Any mouse button, and Previous likewise.
    QTest::mousePress(w.cmdPrev, Qt::RightButton);
    QTest::mouseRelease(w.cmdPrev, Qt::RightButton);
    QCoreApplication::processEvents();
    QCOMPARE(m.state().SolutionNo, 1);
    // The keyboard does not step.
    w.cmdNext->setFocus();
    QTest::keyClick(w.cmdNext, Qt::Key_Space);
    QCOMPARE(m.state().SolutionNo, 1);
}

void TestFrmMain::holdingStepsOnUntilReleaseOrTheEnd()
{
    MainWindow m;
    frmMain &w = m.w();
    QTest::mousePress(w.cmdNext, Qt::LeftButton);
    QCOMPARE(m.state().SolutionNo, 2);
    QCoreApplication::processEvents();
    QCOMPARE(m.state().SolutionNo, 2); // no repetition before the delay
    w.tmrDelay_Timer();                // 500 ms later, still held
    for (int k = 0; k < 1000 && m.state().SolutionNo < 40; ++k)
        QCoreApplication::processEvents();
    QVERIFY(m.state().SolutionNo >= 40);
    QTest::mouseRelease(w.cmdNext, Qt::LeftButton);
    QCoreApplication::processEvents();
    const Integer stopped = m.state().SolutionNo;
    QTest::qWait(30);
    QCOMPARE(m.state().SolutionNo, stopped);
    QCOMPARE(m.state().SolutionSet.Fields("Solution").value_or(0), stopped);
    verifyTrayPicture(m);

    // Held from the second last solution: the last one, then it stops.
    w.txtSolution->setText(QStringLiteral("2338"));
    QTest::mousePress(w.cmdNext, Qt::LeftButton);
    w.tmrDelay_Timer();
    QTest::qWait(30);
    QCOMPARE(m.state().SolutionNo, 2339);
    QVERIFY(!w.cmdNext->isEnabled() && !w.cmdLast->isEnabled());

    // Previous held at solution 2 ends on solution 1.
    w.txtSolution->setText(QStringLiteral("2"));
    QTest::mousePress(w.cmdPrev, Qt::LeftButton);
    w.tmrDelay_Timer();
    QTest::qWait(30);
    QCOMPARE(m.state().SolutionNo, 1);
    QVERIFY(!w.cmdFirst->isEnabled() && !w.cmdPrev->isEnabled());
    QCOMPARE(m.beeps, 0);
}

void TestFrmMain::boardChangesOnBothTabs()
{
    MainWindow m;
    frmMain &w = m.w();
    w.txtSolution->setText(QStringLiteral("17"));
    w.cboSelect->setCurrentIndex(1);
    QCOMPARE(w.txtSolution->text(), QStringLiteral("1"));
    QCOMPARE(w.txtTo->text(), QStringLiteral("1010"));
    QCOMPARE(m.state().SolutionSet.RecordCount(), 1010);
    verifyTrayPicture(m);

    w.SSTabFn->setCurrentIndex(1);
    const QColor blank = w.surface().background();
    w.cboSelect->setCurrentIndex(2);
    QCOMPARE(w.txtSideLength->text(), QStringLiteral("0.0468"));
    QCOMPARE(w.txtFrom->text(), QStringLiteral("1"));
    QCOMPARE(w.txtTo->text(), QStringLiteral("368"));
    QCOMPARE(w.surface().colourAt(m.state().TrayLeft + 100, m.state().TrayTop + 100), blank);
    QCOMPARE(m.beeps + m.messages.size(), 0);
}

void TestFrmMain::tabSwitchResetsTheReportOptions()
{
    MainWindow m;
    frmMain &w = m.w();
    w.cboSelect->setCurrentIndex(3);
    w.txtSolution->setText(QStringLiteral("2"));
    w.SSTabFn->setCurrentIndex(1);
    QCOMPARE(m.state().OutputMode, 1);
    QCOMPARE(w.txtSideLength->text(), QStringLiteral("0.375"));
    QCOMPARE(m.state().UnitSize, 540.0f);
    QCOMPARE(m.state().DoubleUnit, 1080.0f);
    QVERIFY(w.optOrientation[0]->isChecked() && w.optRender[1]->isChecked());
    QCOMPARE(m.state().RenderMode, 1);
    QVERIFY(w.cmdPreview->isVisible() && w.cmdPreview->isDefault());
    QVERIFY(!w.picVCR->isVisible());

    w.optOrientation[1]->setChecked(true);
    QCOMPARE(m.program.preview().Orientation(), 1);
    w.SSTabFn->setCurrentIndex(0);
    QCOMPARE(m.state().UnitSize, 200.0f);
    QCOMPARE(m.state().SolutionNo, 1); // back to the first solution
    verifyTrayPicture(m);
    w.SSTabFn->setCurrentIndex(1);
    QVERIFY(w.optOrientation[0]->isChecked());
    QCOMPARE(m.program.preview().Orientation(), 0);
}

void TestFrmMain::escapeClosesTheProgram()
{
    MainWindow m;
    QSignalSpy finished(m.window.get(), &QDialog::finished);
    m.w().txtSolution->setFocus();
    QTest::keyClick(m.w().txtSolution, Qt::Key_Escape);
    QCOMPARE(finished.count(), 1);
    QVERIFY(!m.w().isVisible());
    QVERIFY(!m.state().SolutionSet.isOpen());
}

void TestFrmMain::aGreyedButtonNeverSteps_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<int>("shown");
    QTest::newRow("< at the first") << "1"
                                    << "cmdPrev" << false << 1;
    QTest::newRow("|< at the first") << "1"
                                     << "cmdFirst" << false << 1;
    QTest::newRow("> at the last") << "2339"
                                   << "cmdNext" << false << 2339;
    QTest::newRow(">| at the last") << "2339"
                                    << "cmdLast" << false << 2339;
    // The second click lands on the button the first one greyed.
    QTest::newRow("double-click > at the second last") << "2338"
                                                       << "cmdNext" << true << 2339;
}

void TestFrmMain::aGreyedButtonNeverSteps()
{
    QFETCH(QString, from);
    QFETCH(QString, button);
    QFETCH(bool, doubleClick);
    QFETCH(int, shown);
    MainWindow m;
    m.w().txtSolution->setText(from);
    auto *b = m.w().findChild<QPushButton *>(button);
    QTest::mousePress(b, Qt::LeftButton);
    QTest::mouseRelease(b, Qt::LeftButton);
    if (doubleClick) {
        QTest::mouseDClick(b, Qt::LeftButton);
        QTest::mouseRelease(b, Qt::LeftButton);
    }
    QTest::qWait(20);
    QCOMPARE(m.state().SolutionNo, shown);
    QCOMPARE(m.w().txtSolution->text(), QString::number(shown));
    QVERIFY(!m.w().tmrDelay->isActive());
    QCOMPARE(m.messages, QStringList());
    verifyTrayPicture(m);
}

void TestFrmMain::aTrayWithOneSolutionHasNoSteps()
{
    test::DatabaseCopy db;
    QVERIFY(db.exec("DELETE FROM Solution WHERE Solution > 1"));
    MainWindow m(db.folder());
    QVERIFY(m.window);
    for (QPushButton *b : {m.w().cmdFirst, m.w().cmdPrev, m.w().cmdNext, m.w().cmdLast}) {
        QVERIFY(!b->isEnabled());
        QTest::mousePress(b, Qt::LeftButton);
        QTest::mouseRelease(b, Qt::LeftButton);
    }
    QTest::qWait(20);
    QCOMPARE(m.state().SolutionNo, 1);
    QCOMPARE(m.messages, QStringList());
    verifyTrayPicture(m);
}

void TestFrmMain::escapeWhileHoldingEndsTheHoldAndCloses()
{
    MainWindow m;
    QSignalSpy finished(m.window.get(), &QDialog::finished);
    QTest::mousePress(m.w().cmdNext, Qt::LeftButton);
    QTest::qWait(700); // past the hold delay: stepping on
    QVERIFY(m.state().SolutionNo > 2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(finished.count(), 1);
    const Integer stopped = m.state().SolutionNo;
    QTest::qWait(50);
    QCOMPARE(m.state().SolutionNo, stopped);
    QVERIFY(!m.w().tmrDelay->isActive());
    QCOMPARE(m.messages, QStringList());
}

void TestFrmMain::aRecordThatCannotBeShownEndsTheHoldWithOneMessage()
{
    test::DatabaseCopy db;
    MainWindow m(db.folder());
    // The file goes bad while the program runs.
    QVERIFY(db.exec("UPDATE Solution SET Shape1 = 99 WHERE Board = 1 AND Solution > 1"));
    m.w().cboSelect->setFocus();
    QTest::keyClick(m.w().cboSelect, Qt::Key_Down);
    QCOMPARE(m.w().cboSelect->currentText(), QStringLiteral("12 x 5"));
    QVERIFY(m.messages.isEmpty());
    // A press whose release the message box would take.
    QTest::mousePress(m.w().cmdNext, Qt::LeftButton);
    QTest::qWait(700);
    QCOMPARE(m.messages.size(), 1);
    QVERIFY2(m.messages[0].startsWith(
                 QStringLiteral("Solution 2 of the 12 x 5 tray cannot be shown: Shape1 is 99")),
             qPrintable(m.messages[0]));
    QVERIFY(!m.w().tmrDelay->isActive());
    // Number, buttons and picture agree: solution 2, shown as an empty tray.
    QCOMPARE(m.state().SolutionNo, 2);
    QCOMPARE(m.w().txtSolution->text(), QStringLiteral("2"));
    QVERIFY(m.w().cmdPrev->isEnabled() && m.w().cmdNext->isEnabled());
    const SharedState &s = m.state();
    QCOMPARE(m.w().surface().colourAt(s.TrayLeft + 100, s.TrayTop + 100), QColor(Qt::white));
    QTest::mouseRelease(m.w().cmdNext, Qt::LeftButton);
    QTest::mouseClick(m.w().cmdFirst, Qt::LeftButton);
    verifyTrayPicture(m);
    QCOMPARE(m.messages.size(), 1);
}

void TestFrmMain::aTrayThatCannotBeReadShowsNoSteps()
{
    test::DatabaseCopy db;
    MainWindow m(db.folder());
    // Another program holds the file locked while the tray is switched.
    sqlite3 *other = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(db.path()).constData(), &other), SQLITE_OK);
    QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    m.w().cboSelect->setFocus();
    QTest::keyClick(m.w().cboSelect, Qt::Key_Down);
    QCOMPARE(m.messages.size(), 1);
    QVERIFY2(m.messages[0].contains(QStringLiteral("in use by another program")),
             qPrintable(m.messages[0]));
    QVERIFY(!m.messages[0].contains(QStringLiteral("Delete")));
    for (QPushButton *b : {m.w().cmdFirst, m.w().cmdPrev, m.w().cmdNext, m.w().cmdLast}) {
        QVERIFY(!b->isEnabled());
        QTest::mouseClick(b, Qt::LeftButton);
    }
    QCOMPARE(m.w().txtSolution->text(), QString());
    QTest::qWait(20);
    QCOMPARE(m.messages.size(), 1);

    // Once the other program lets go, choosing the tray again reads it.
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    QTest::keyClick(m.w().cboSelect, Qt::Key_Up);
    QTest::keyClick(m.w().cboSelect, Qt::Key_Down);
    QCOMPARE(m.state().SolutionSet.RecordCount(), 1010);
    QCOMPARE(m.w().txtSolution->text(), QStringLiteral("1"));
    QVERIFY(m.w().cmdNext->isEnabled());
    verifyTrayPicture(m);
    QCOMPARE(m.messages.size(), 1);
}

void TestFrmMain::thePictureStandsInPlaceAtTheScreensScale()
{
    // Run by ctest at the scale factors 1, 1.25, 1.5 and 2.
    MainWindow m;
    frmMain &w = m.w();
    const QImage shot = w.grab().toImage();
    const qreal ratio = shot.devicePixelRatio();
    QCOMPARE(ratio, w.devicePixelRatioF());
    QCOMPARE(w.surface().ratio(), ratio);
    const auto at = [&](double x, double y) { // twips on the window
        return shot.pixelColor(static_cast<int>(w.scale().pixels(x) * ratio),
                               static_cast<int>(w.scale().pixels(y) * ratio));
    };
    const SharedState &s = m.state();
    const auto tiling = tileRecord(s.BoardIndex, s.SolutionSet.currentRecord());
    QVERIFY(tiling);
    for (const Placement &p : tiling->placements)
        for (int k = 0; k < p.cellCount; ++k) {
            const int cell = p.cells[static_cast<std::size_t>(k)];
            QCOMPARE(at(s.TrayLeft + cell / s.Stride * 200 + 100,
                        s.TrayTop + cell % s.Stride * 200 + 100),
                     colourOf(orientation(p.shape).Color));
        }
    // The grey frame and the piece row's X.
    QCOMPARE(at(s.TrayLeft - 100, s.TrayTop + 100), colourOf(MidGrey));
    QCOMPARE(at(600 + 300, 2400 + 300), QColor(Qt::black));
}

QTEST_MAIN(TestFrmMain)
#include "test_frmMain.moc"
