#include "Layout.h"
#include "WindowFixture.h"
#include "ui/FindDialog.h"
#include "ui/Icon.h"

#include "app/Choices.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QSpinBox>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>

using namespace tw;
using namespace tw::test;

namespace {

// Solution n of a tray as rows of letters, as the command line writes it.
QString gridOf(Integer board, Integer n)
{
    return runProgram({QStringLiteral("--grid"), QString::number(board), QString::number(n)}).out;
}

// Opens "Find a Tiling" with Ctrl+F, as a user does; the window system
// activates it a moment later.
QWidget *openFind(MainWindow &m)
{
    QTest::keyClick(&m.w(), Qt::Key_F, Qt::ControlModifier);
    QWidget *dialog = m.w().findChild<QWidget *>(QStringLiteral("frmFind"));
    const auto active = [dialog] { return QApplication::activeWindow() == dialog; };
    return dialog && QTest::qWaitFor(active) ? dialog : nullptr;
}

// Types the text into the dialog's box line by line, or pastes it with
// Ctrl+V, then presses Find; returns the verdict.
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
    // No busy pointer outlives what it was shown for.
    void cleanup() { QVERIFY(!QApplication::overrideCursor()); }
    void findsATilingTypedOrPastedAndShowsIt();
    void aGridThatIsNoTilingChangesNothing();
    void copySolutionPutsTextPictureAndDrawingOnTheClipboard();
    void exportSolutionWritesThePictureChosen();
    void practiceSheetShowsItsPuzzlesInThePreview();
    void aboutTellsWhatABugReportNeeds();
    void everyWindowItsKeyOpensStandsWhole();
};

void TestFindTiling::findsATilingTypedOrPastedAndShowsIt()
{
    MainWindow m;
    QWidget *dialog = openFind(m);
    QVERIFY(dialog);
    QCOMPARE(find(dialog, gridOf(0, 1234), false), QStringLiteral("10 x 6, solution 1,234"));
    QCOMPARE(m.find<QLineEdit>("txtSolution")->text(), QStringLiteral("1234"));
    // Enter on the button just clicked never closes the dialog by surprise.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(dialog->isVisible());
    QVERIFY(showsCurrentSolution(m));
    // Enter on Find, reached by Tab from the box, finds what the box holds.
    auto *box = dialog->findChild<QPlainTextEdit *>(QStringLiteral("txtGrid"));
    QTest::mouseClick(box->viewport(), Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QGuiApplication::clipboard()->setText(gridOf(1, 7));
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdFind"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("lblVerdict"))->text(),
             QStringLiteral("12 x 5, solution 7"));
    // From the "Print" tab, on another tray, upside down: the tray and the
    // tab change to show it.
    clickTab(m, 1);
    QStringList rows = gridOf(SquareBoard, 16146).split('\n', Qt::SkipEmptyParts);
    std::reverse(rows.begin(), rows.end());
    QCOMPARE(find(dialog, rows.join('\n'), true), QStringLiteral("8 x 8, solution 16,146"));
    QCOMPARE(m.w().findChild<QTabBar *>()->currentIndex(), 0);
    QCOMPARE(m.find<QComboBox>("cboSelect")->currentIndex(), int(SquareBoard));
    QCOMPARE(m.find<QLineEdit>("txtSolution")->text(), QStringLiteral("16146"));
    QCOMPARE(m.find<QLineEdit>("txtTo")->text(), QStringLiteral("16146"));
    QVERIFY(showsCurrentSolution(m));
    QCOMPARE(m.messages, QStringList());
    // Asked for again from the main window, the open dialog comes to the front.
    m.w().activateWindow();
    QTRY_VERIFY(m.w().isActiveWindow());
    QCOMPARE(openFind(m), dialog);
}

void TestFindTiling::aGridThatIsNoTilingChangesNothing()
{
    MainWindow m;
    retype(m, "txtSolution", QStringLiteral("77"));
    QWidget *dialog = openFind(m);
    QVERIFY(dialog);
    QCOMPARE(find(dialog, gridOf(0, 5).replace(QLatin1Char('I'), QLatin1Char('L')), false),
             QStringLiteral("There is no I piece."));
    // A verdict of several lines stands below the box, never over it.
    QVERIFY(find(dialog, gridOf(4, 9).replace(QLatin1Char('P'), QLatin1Char('Q')), false)
                .endsWith(QStringLiteral("and O, the 2 x 2 square.")));
    const auto *verdict = dialog->findChild<QLabel *>(QStringLiteral("lblVerdict"));
    auto *box = dialog->findChild<QPlainTextEdit *>(QStringLiteral("txtGrid"));
    QTest::qWait(20); // the layout follows the new text
    QVERIFY(verdict->heightForWidth(verdict->width()) >= 2 * verdict->fontMetrics().lineSpacing());
    QVERIFY(verdict->geometry().top() >= box->geometry().bottom());
    QVERIFY(verdict->height() >= verdict->heightForWidth(verdict->width()));
    // Ctrl+Enter in the box finds too.
    box->clear();
    QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(verdict->text(),
             QStringLiteral("There is no grid: write the tiling as rows of piece letters."));
    // A text far too long for a grid is refused as it is pasted, and one
    // typed past the limit is refused before it is read.
    const QString tooLong =
        QStringLiteral("The text holds more than 64 KB, too much for a grid of letters.");
    QGuiApplication::clipboard()->setText(QString(16 * 1024 * 1024, QLatin1Char('F')));
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(verdict->text(), tooLong);
    QVERIFY(box->document()->characterCount() < 10);
    box->setPlainText(QString(70000, QLatin1Char('X')));
    QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(verdict->text(), tooLong);
    QCOMPARE(m.find<QLineEdit>("txtSolution")->text(), QStringLiteral("77"));
    QCOMPARE(m.state().SolutionNo, 77);
    QCOMPARE(m.beeps + m.messages.size(), 0);
}

void TestFindTiling::copySolutionPutsTextPictureAndDrawingOnTheClipboard()
{
    MainWindow m;
    QTest::keyClick(m.find<QComboBox>("cboSelect"), Qt::Key_End);
    retype(m, "txtSolution", QStringLiteral("321"));
    // In the colours the window shows.
    choose(rightClick(m, m.tray().trayLeft + 300, m.tray().trayTop + 300), "mnuSafe");
    choose(rightClick(m, m.tray().trayLeft + 300, m.tray().trayTop + 300), "mnuCopy");

    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QCOMPARE(data->text(), gridOf(SquareBoard, 321));
    // The picture large enough for a worksheet, unit squares of 32 pixels,
    // in the colours the screen shows: the frame and every cell.
    const QImage picture = qvariant_cast<QImage>(data->imageData());
    const QImage screen = m.w().surface().image();
    const TwipsScale at(m.w().scale().dpi() * m.w().surface().ratio());
    QCOMPARE(picture.size(), QSize(320, 320));
    for (int c = -1; c <= m.tray().cols; ++c)
        for (int r = -1; r <= m.tray().rows; ++r)
            QCOMPARE(picture.pixelColor((c + 1) * 32 + 16, (r + 1) * 32 + 16),
                     screen.pixelColor(at.pixels(m.tray().trayLeft + c * 200 + 100),
                                       at.pixels(m.tray().trayTop + r * 200 + 100)));
    QSvgRenderer drawing(data->data(QStringLiteral("image/svg+xml")));
    QVERIFY(drawing.isValid());
    QCOMPARE(drawing.viewBoxF(), QRectF(0, 0, 2000, 2000));
    // Its size on paper the screen's: 15 twips a pixel, within a pixel.
    const double mm = QRegularExpression(QStringLiteral("width=\"([0-9.]+)mm\""))
                          .match(QString::fromUtf8(data->data(QStringLiteral("image/svg+xml"))))
                          .captured(1)
                          .toDouble();
    QVERIFY2(std::abs(mm / 25.4 * 1440 - 2000) < 15, qPrintable(QString::number(mm)));
}

// Export Solution: the command line's choices in a window, then a name.
void TestFindTiling::exportSolutionWritesThePictureChosen()
{
    MainWindow m;
    QTemporaryDir dir;
    QStringList asked;
    WindowHooks files;
    files.askSavePath = [&](const QString &start, const QString &filter) {
        asked << start << filter;
        return dir.filePath(filter.startsWith(QLatin1String("SVG")) ? QStringLiteral("e.svg")
                                                                    : QStringLiteral("e.png"));
    };
    m.w().setHooks(files);
    // In the dialog: the choices by clicks and keys, then Save.
    QString offered; // the resolution the box offers first
    inDialog([&offered](QWidget *dialog) {
        auto *dpi = dialog->findChild<QSpinBox *>(QStringLiteral("spnDpi"));
        offered = dpi->text();
        dpi->setFocus(Qt::TabFocusReason);
        QTest::keyClick(dpi, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(dpi, QStringLiteral("288"));
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmdSave")),
                          Qt::LeftButton);
    });
    const QString folder = Choices::outputFolder();
    choose(rightClick(m, m.tray().trayLeft + 300, m.tray().trayTop + 300), "mnuExport");
    QCOMPARE(asked.value(0), folder + QStringLiteral("/Pentominoes 10 x 6, solution 1.png"));
    QCOMPARE(offered, QStringLiteral("150 dots per inch"));
    QCOMPARE(Choices::outputFolder(), dir.path()); // remembered for next time
    // The framed tray, 12 x 8 units of 200 twips, at 288 dpi.
    QCOMPARE(QImage(dir.filePath(QStringLiteral("e.png"))).size(), QSize(480, 320));
    inDialog([](QWidget *dialog) {
        QTest::mouseClick(dialog->findChild<QRadioButton *>(QStringLiteral("optSvg")),
                          Qt::LeftButton);
        QVERIFY(!dialog->findChild<QSpinBox *>(QStringLiteral("spnDpi"))->isEnabled());
        QTest::mouseClick(dialog->findChild<QCheckBox *>(QStringLiteral("chkLetters")),
                          Qt::LeftButton);
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    choose(rightClick(m, m.tray().trayLeft + 300, m.tray().trayTop + 300), "mnuExport");
    QFile svg(dir.filePath(QStringLiteral("e.svg")));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    const QByteArray drawing = svg.readAll();
    QVERIFY(drawing.contains("<title>10 x 6, solution 1</title>"));
    // Twelve pieces, the frame and the cells behind, and a letter each.
    QCOMPARE(drawing.count("<path"), 12 + 2 + 12);
    QCOMPARE(m.messages, QStringList());
}

// Practice Sheet: the choices by keys and clicks, then the sheet in the
// preview window.
void TestFindTiling::practiceSheetShowsItsPuzzlesInThePreview()
{
    MainWindow m;
    int sheet = 0;
    inDialog([&](QWidget *dialog) {
        auto *count = dialog->findChild<QSpinBox *>(QStringLiteral("spnCount"));
        count->setFocus(Qt::TabFocusReason);
        QTest::keyClick(count, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(count, QStringLiteral("4"));
        auto *side = dialog->findChild<QDoubleSpinBox *>(QStringLiteral("spnSide"));
        QCOMPARE(side->value(), 0.25);
        side->setFocus(Qt::TabFocusReason);
        QTest::keyClick(side, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(side, QStringLiteral("5")); // more than 3 inches: not taken
        QTest::keyClick(side, Qt::Key_Up);
        auto *given = dialog->findChild<QComboBox *>(QStringLiteral("cboGiven"));
        given->setFocus(Qt::TabFocusReason);
        for (int k = 0; k < 3; ++k)
            QTest::keyClick(given, Qt::Key_Down);
        QTest::mouseClick(dialog->findChild<QCheckBox *>(QStringLiteral("chkCutouts")),
                          Qt::LeftButton);
        // One of each pair chosen: portrait and monochrome, until clicked.
        const auto radio = [dialog](const char *name) {
            return dialog->findChild<QRadioButton *>(QLatin1String(name));
        };
        QVERIFY(radio("optPortrait")->isChecked() && radio("optMonochrome")->isChecked());
        QTest::mouseClick(radio("optLandscape"), Qt::LeftButton);
        QVERIFY(!radio("optPortrait")->isChecked() && radio("optMonochrome")->isChecked());
        sheet = dialog->findChild<QSpinBox *>(QStringLiteral("spnSheet"))->value();
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmdPreview")),
                          Qt::LeftButton);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    choose(rightClick(m, m.tray().trayLeft + 300, m.tray().trayTop + 300), "mnuPractice");
    QCOMPARE(m.previewName, QStringLiteral("Pentomino Puzzles 10 x 6, Sheet %1").arg(sheet));
    QCOMPARE(m.previewPages, 3); // the puzzles, their answers, the pieces to cut out
    QCOMPARE(m.messages, QStringList());
    // The main window's own report is untouched.
    QCOMPARE(m.state().SolutionNo, 1);
    // Opened again, it offers a new sheet number, with the choices made.
    int again = 0;
    inDialog([&](QWidget *dialog) {
        again = dialog->findChild<QSpinBox *>(QStringLiteral("spnSheet"))->value();
        QCOMPARE(dialog->findChild<QSpinBox *>(QStringLiteral("spnCount"))->value(), 4);
        QCOMPARE(dialog->findChild<QDoubleSpinBox *>(QStringLiteral("spnSide"))->value(), 0.3);
        QCOMPARE(dialog->findChild<QComboBox *>(QStringLiteral("cboGiven"))->currentIndex(), 3);
        QVERIFY(dialog->findChild<QCheckBox *>(QStringLiteral("chkCutouts"))->isChecked());
        QVERIFY(dialog->findChild<QRadioButton *>(QStringLiteral("optLandscape"))->isChecked());
        // Enter in a box previews the sheet.
        QTest::keyClick(dialog->findChild<QSpinBox *>(QStringLiteral("spnSheet")), Qt::Key_Return);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    choose(rightClick(m, m.tray().trayLeft + 300, m.tray().trayTop + 300), "mnuPractice");
    QVERIFY(again != 0 && again != sheet);
    QCOMPARE(m.previewName, QStringLiteral("Pentomino Puzzles 10 x 6, Sheet %1").arg(again));
    // The letters stay as the first sheet had them (none), whatever the
    // main window shows since.
    choose(rightClick(m, m.tray().trayLeft + 300, m.tray().trayTop + 300), "mnuLetters");
    bool letters = true;
    inDialog([&](QWidget *dialog) {
        letters = dialog->findChild<QCheckBox *>(QStringLiteral("chkLetters"))->isChecked();
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    choose(rightClick(m, m.tray().trayLeft + 300, m.tray().trayTop + 300), "mnuPractice");
    QVERIFY(!letters);
}

// F1 anywhere: the version, the database, the counts and the keys, to copy.
void TestFindTiling::aboutTellsWhatABugReportNeeds()
{
    MainWindow m;
    QStringList said;
    inDialog([&](QWidget *about) {
        said << about->windowTitle();
        QTest::mouseClick(about->findChild<QPushButton *>(QStringLiteral("cmdCopy")),
                          Qt::LeftButton);
        QTest::keyClick(about, Qt::Key_Escape);
    });
    QTest::keyClick(m.find<QLineEdit>("txtSolution"), Qt::Key_F1);
    QCOMPARE(said, QStringList{QStringLiteral("About Tilewright")});
    const QString text = QGuiApplication::clipboard()->text();
    QVERIFY(text.startsWith(QStringLiteral("Tilewright 1.")));
    QVERIFY(text.contains(QStringLiteral("Database: ") +
                          QFileInfo(QStringLiteral(TILEWRIGHT_TEST_DATABASE)).absoluteFilePath()));
    QVERIFY(text.contains(QStringLiteral("10 x 6: 2,339; 12 x 5: 1,010; 15 x 4: 368; 20 x 3: 2; "
                                         "8 x 8: 16,146")));
    // It names the keys of each item of the tray's menu.
    for (QAction *item : m.w().findChild<QMenu *>(QStringLiteral("mnuTray"))->actions()) {
        static const QRegularExpression page(QStringLiteral("Pg(Up|Down)"));
        const QString keys = item->shortcut().toString().replace(page, QStringLiteral("Page \\1"));
        QVERIFY2(text.contains(keys), qPrintable(keys));
    }
    // The program's icon is drawn at each size a desktop asks for.
    for (int size : {16, 64}) {
        const QImage icon = programIcon().pixmap(size).toImage();
        int drawn = 0;
        for (int x = 0; x < size; ++x)
            for (int y = 0; y < size; ++y)
                drawn += icon.pixelColor(x, y).alpha() > 0;
        QVERIFY2(drawn > size * size / 4, qPrintable(QString::number(size)));
    }
}

// Each window a key of the tray's menu opens: modal or not as it should be,
// every control in its place and named in words.
void TestFindTiling::everyWindowItsKeyOpensStandsWhole()
{
    MainWindow m;
    for (const auto &[key, modifiers, name, modal] :
         {std::tuple{Qt::Key_F1, Qt::KeyboardModifiers(), "frmAbout", true},
          {Qt::Key_E, Qt::ControlModifier, "frmExport", true},
          {Qt::Key_K, Qt::ControlModifier, "frmPractice", true},
          {Qt::Key_F, Qt::ControlModifier, "frmFind", false},
          {Qt::Key_Y, Qt::ControlModifier, "frmSolve", false},
          {Qt::Key_N, Qt::ControlModifier, "frmNewTray", false}}) {
        QStringList faults;
        const auto check = [&faults, name, modal](QWidget *window) {
            if (window->objectName() != QLatin1String(name) || window->isModal() != modal)
                faults << window->objectName() + QStringLiteral(" opened, modal: ") +
                              QString::number(window->isModal());
            faults << test::layoutFaults(window) << test::namelessControls(window);
            window->close();
        };
        if (modal)
            inDialog(check);
        m.w().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&m.w()));
        QTest::keyClick(&m.w(), key, modifiers);
        if (!modal) {
            auto *window = m.w().findChild<QDialog *>(QString::fromLatin1(name));
            QVERIFY2(window && QTest::qWaitForWindowExposed(window), name);
            check(window);
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }
}

QTEST_MAIN(TestFindTiling)
#include "test_find_tiling.moc"
