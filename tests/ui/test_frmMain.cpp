#include "Layout.h"
#include "Table.h"
#include "WindowFixture.h"
#include "pieces/PieceTables.h"
#include "solutions/Decoding.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QToolTip>

#include <set>

using namespace tw;
using namespace tw::test;

namespace {

// What a user does, written "verb target": "type 17" into the number box
// ("type " empties it), "click cmdNext", "rclick" (right button), "dclick"
// (a double-click), "press" or "release" a button, "wait 700" milliseconds,
// "tray 3" chosen with the keyboard, "key Escape" to the focused control or
// "key Space cmdNext" to the one named.
void act(MainWindow &m, const QString &move)
{
    const QString verb = move.section(' ', 0, 0), target = move.section(' ', 1);
    QWidget *w = m(target.toLatin1().constData());
    if (verb == QLatin1String("type")) {
        auto *box = m.find<QLineEdit>("txtSolution");
        box->setFocus();
        box->selectAll();
        if (target.isEmpty())
            QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, target);
    } else if (verb == QLatin1String("tray")) {
        auto *list = m.find<QComboBox>("cboSelect");
        list->setFocus();
        while (list->currentIndex() != target.toInt())
            QTest::keyClick(list,
                            list->currentIndex() < target.toInt() ? Qt::Key_Down : Qt::Key_Up);
    } else if (verb == QLatin1String("wait")) {
        QTest::qWait(target.toInt());
    } else if (verb == QLatin1String("key")) {
        QWidget *to = target.contains(' ') ? m(target.section(' ', 1).toLatin1().constData())
                                           : QApplication::focusWidget();
        to->setFocus();
        QTest::keyClick(to,
                        target.startsWith(QLatin1String("Space")) ? Qt::Key_Space : Qt::Key_Escape);
    } else if (verb == QLatin1String("press")) {
        QTest::mousePress(w, Qt::LeftButton);
    } else if (verb == QLatin1String("release")) {
        QTest::mouseRelease(w, Qt::LeftButton);
    } else {
        const Qt::MouseButton button =
            verb == QLatin1String("rclick") ? Qt::RightButton : Qt::LeftButton;
        QTest::mousePress(w, button);
        QTest::mouseRelease(w, button);
        if (verb == QLatin1String("dclick")) {
            QTest::mouseDClick(w, button);
            QTest::mouseRelease(w, button);
        }
    }
}

// A key pressed on the focused control, as the keyboard sends it: pressed
// and released, or held down (auto-repeated). The window's shortcuts see it
// first, as they do any key.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}, bool repeated = false)
{
    QWidget *focus = QApplication::focusWidget();
    if (!repeated) {
        QTest::keyClick(focus, key, modifiers);
        return;
    }
    if (qt_sendShortcutOverrideEvent(focus, 0, key, modifiers, QString(), true))
        return;
    QKeyEvent event(QEvent::KeyPress, key, modifiers, QString(), true);
    QApplication::sendEvent(focus, &event);
}

QAccessibleInterface *accessible(QWidget *w)
{
    return QAccessible::queryAccessibleInterface(w);
}

// The "Print" tab opened by a click on its tab, on the 10 x 6 tray.
void openPrintTab(MainWindow &m)
{
    test::clickTab(m, 1);
    m.beeps = 0;
    m.messages.clear();
}

QWidget *tab(Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
    QCoreApplication::processEvents(); // a box's check runs once the focus has moved
    return QApplication::focusWidget();
}

} // namespace

class TestFrmMain : public QObject
{
    Q_OBJECT

private slots:
    // No busy pointer outlives what it was shown for.
    void cleanup() { QVERIFY(!QApplication::overrideCursor()); }
    void movesAndWhereTheyLeaveTheWindow_data();
    void movesAndWhereTheyLeaveTheWindow();
    void escapeClosesTheProgramEvenWhileHolding();
    void thePictureStandsInPlaceAtTheScreensScale();
    void stepsFromTheKeyboardWhereverTheFocusIs();
    void lettersColoursAndNamesInWords();
    void aRefusedRangeEntryStaysSelectedInItsBox();
    void enterStartsThePreviewOnlyOnceTheSideStands();
    void theTrayMenuIsFoundByItsTipAndItsKeys();
    void everyControlStandsWhereItsTwipsPutIt();
};

void TestFrmMain::movesAndWhereTheyLeaveTheWindow_data()
{
    QTest::addColumn<QString>("journey");
    for (const auto &row : tableRows("main-window-journeys.txt"))
        QTest::newRow(row[0].c_str()) << QString::fromStdString(row.at(1));
}

void TestFrmMain::movesAndWhereTheyLeaveTheWindow()
{
    QFETCH(QString, journey);
    MainWindow m;
    auto *box = m.find<QLineEdit>("txtSolution");
    int noises = 0;
    for (const QString &step : journey.split(QStringLiteral("; "))) {
        act(m, step.section(QStringLiteral(" = "), 0, 0));
        const QStringList after = step.section(QStringLiteral(" = "), 1).split(' ');
        QVERIFY2(m.state().SolutionNo == after[0].toInt(), qPrintable(step));
        QVERIFY2(steps(&m.w()) == after[1], qPrintable(steps(&m.w()) + " after " + step));
        QVERIFY2(m.beeps + m.messages.size() == after[2].toInt(), qPrintable(step));
        if (after[2].toInt() == noises)
            QCOMPARE(box->text(), after[0]);
        else // a refused number stays selected, so that the next key replaces it
            QCOMPARE(box->selectedText(), box->text());
        noises = after[2].toInt();
    }
    QVERIFY(showsCurrentSolution(m));
}

void TestFrmMain::escapeClosesTheProgramEvenWhileHolding()
{
    for (const bool holding : {false, true}) {
        MainWindow m;
        QSignalSpy finished(m.window.get(), &QDialog::finished);
        act(m, holding ? QStringLiteral("press cmdNext") : QStringLiteral("type 5"));
        QTest::qWait(700); // a held button steps on, past its delay
        QVERIFY(!holding || m.state().SolutionNo > 4);
        act(m, QStringLiteral("key Escape"));
        QCOMPARE(finished.count(), 1);
        const Integer stopped = m.state().SolutionNo;
        QTest::qWait(50);
        QCOMPARE(m.state().SolutionNo, stopped);
        QCOMPARE(m.messages, QStringList());
    }
}

void TestFrmMain::thePictureStandsInPlaceAtTheScreensScale()
{
    // Run by ctest at the scale factors 1, 1.25, 1.5 and 2: the picture has
    // the screen's pixels and stands where the controls' twips put it.
    MainWindow m;
    QCOMPARE(m.w().surface().ratio(), m.w().devicePixelRatioF());
    QVERIFY(showsCurrentSolution(m));
    // It opens with its title bar on the screen, across the middle where
    // the screen has room for it.
    const QRect area = m.w().screen()->availableGeometry(), at = m.w().frameGeometry();
    QVERIFY(at.top() >= area.top() && at.left() >= area.left());
    if (area.width() >= at.width() && area.height() >= at.height()) {
        QVERIFY(std::abs((at.left() - area.left()) - (area.right() - at.right())) <= 4);
        QVERIFY(at.top() > area.top());
    }
    const Shot shot(m);
    QCOMPARE(shot.at(m.tray().trayLeft - 100, m.tray().trayTop + 100), qtColour(MidGrey));
    QCOMPARE(shot.at(600 + 300, 2400 + 300), QColor(Qt::black)); // the piece row's X
    // The step buttons show whole in their strip, and no control stands
    // over another or out of its place, on either tab.
    const QWidget *strip = m.find<QWidget>("picVCR");
    for (const char *name : {"cmdFirst", "cmdPrev", "txtSolution", "cmdNext", "cmdLast"}) {
        const QRect at = m.find<QWidget>(name)->geometry();
        QVERIFY2(strip->rect().contains(at), name);
        QVERIFY2(at.height() == m.find<QWidget>("txtSolution")->height(), name); // in one row
    }
    for (int tab : {0, 1}) {
        clickTab(m, tab);
        const QStringList faults = test::layoutFaults(&m.w());
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }
}

void TestFrmMain::stepsFromTheKeyboardWhereverTheFocusIs()
{
    const auto ctrl = Qt::ControlModifier;
    // From solution 5, with the focus on a control (a button takes it by
    // Tab), a key: the solution then shown.
    for (const auto &[focus, key, modifiers, shown] :
         {std::tuple{"cboSelect", Qt::Key_PageDown, Qt::KeyboardModifiers(), "6"},
          {"cmdNext", Qt::Key_PageUp, {}, "4"},
          {"txtSolution", Qt::Key_PageDown, {}, "6"},
          {"cmdFirst", Qt::Key_End, ctrl, "2339"},
          {"cboSelect", Qt::Key_Home, ctrl, "1"},
          {"txtSolution", Qt::Key_End, ctrl, "5"}}) { // the box moves its cursor
        MainWindow m;
        retype(m, "txtSolution", QStringLiteral("5"));
        m(focus)->setFocus(Qt::TabFocusReason);
        press(key, modifiers);
        QCOMPARE(m.find<QLineEdit>("txtSolution")->text(), QString::fromLatin1(shown));
        QCOMPARE(m.find<QComboBox>("cboSelect")->currentIndex(), 0);
        QVERIFY(showsCurrentSolution(m));
        QCOMPARE(m.beeps + m.messages.size(), 0);
    }
}

void TestFrmMain::lettersColoursAndNamesInWords()
{
    MainWindow m;
    retype(m, "txtSolution", QStringLiteral("12"));
    // Every control has a name in words, and the changing ones say what they show.
    QCOMPARE(test::namelessControls(&m.w()), QStringList());
    QCOMPARE(accessible(m("cmdNext"))->text(QAccessible::Name),
             QStringLiteral("Display Next Solution"));
    QVERIFY(accessible(m("cmdNext"))->text(QAccessible::Description).contains("Page Down"));
    QCOMPARE(accessible(m("txtSolution"))->text(QAccessible::Name),
             QStringLiteral("Solution 12 of 2339"));
    QVERIFY(accessible(m("picTray"))
                ->text(QAccessible::Description)
                .startsWith(QStringLiteral("The 10 x 6 tray, solution 12 of 2339, rows ")));
    const SharedState &s = m.state();
    choose(rightClick(m, m.tray().trayLeft + 300, m.tray().trayTop + 300), "mnuSafe");
    QVERIFY(showsCurrentSolution(m)); // in the safe colours
    choose(rightClick(m, m.tray().trayLeft + 300, m.tray().trayTop + 300), "mnuLetters");
    QCOMPARE(m.w().look(), (Appearance{true, Palette::Safe}));
    // The X's letter, white, crosses the middle of its middle cell.
    const int middle =
        m.program.catalogue().solution(s.BoardIndex, s.SolutionNo).placements[0].cells[2];
    const double left = m.tray().trayLeft + middle / (m.tray().rows + 1) * 200,
                 top = m.tray().trayTop + middle % (m.tray().rows + 1) * 200;
    const Shot shot(m);
    QVERIFY(qGray(shot.at(left + 100, top + 100).rgb()) > 200);
    // Smooth: greys between the letter's white and the X's black.
    std::set<QRgb> inks;
    for (int dx = 5; dx < 200; dx += 5)
        for (int dy = 5; dy < 200; dy += 5)
            inks.insert(shot.at(left + dx, top + dy).rgb());
    QVERIFY(inks.size() > 2);
    const QSettings settings;
    QCOMPARE(settings.value(QStringLiteral("pieces/letters")).toBool(), true);
    QCOMPARE(settings.value(QStringLiteral("pieces/palette")).toString(), QStringLiteral("safe"));
}

void TestFrmMain::aRefusedRangeEntryStaysSelectedInItsBox()
{
    MainWindow m;
    openPrintTab(m);
    // Every keystroke counts: with 50 to 60, an end of 10 is refused at its 1.
    retype(m, "txtTo", QStringLiteral("60"));
    retype(m, "txtFrom", QStringLiteral("50"));
    retype(m, "txtTo", QStringLiteral("1"));
    QCOMPARE(m.messages, QStringList{QStringLiteral(
                             "End Solution Number cannot be less than the Start Solution Number")});
    QCOMPARE(m.find<QLineEdit>("txtTo")->selectedText(), QStringLiteral("1"));
    QCOMPARE(QApplication::focusWidget(), m("txtTo"));
    // Preview checks the range again, from its start, and gives the box it
    // blames the focus.
    QTest::mouseClick(m("cmdPreview"), Qt::LeftButton);
    QCOMPARE(m.messages.last(), QStringLiteral("Start Solution Number cannot be greater than the "
                                               "End Solution Number"));
    QCOMPARE(m.previews, 0);
    QCOMPARE(QApplication::focusWidget(), m("txtFrom"));
}

void TestFrmMain::enterStartsThePreviewOnlyOnceTheSideStands()
{
    MainWindow m;
    openPrintTab(m);
    QVERIFY(m.find<QPushButton>("cmdPreview")->isDefault()); // the tray's own side stands
    retype(m, "txtTo", QStringLiteral("3"));
    retype(m, "txtSideLength", QStringLiteral("0.03"));
    QTest::keyClick(m("txtSideLength"), Qt::Key_Return);
    QCOMPARE(m.previews, 0); // not yet checked: Enter does nothing
    tab();                   // leaving the box checks it
    QVERIFY(m.find<QPushButton>("cmdPreview")->isDefault());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(m.previews, 1);
    QCOMPARE(m.previewPages, 1);
    // The tab said how far the report had come; once shown, it says nothing.
    QCOMPARE(m.progressShown, QStringLiteral("Printing Solution 3\n on Page 1"));
    QCOMPARE(m.find<QLabel>("lblProgress")->text(), QString());
}

void TestFrmMain::theTrayMenuIsFoundByItsTipAndItsKeys()
{
    MainWindow m;
    frmMain &w = m.w();
    // Resting on the tray, the pointer is told where its menu is.
    const QPoint onTray(w.scale().pixels(m.tray().trayLeft + 300),
                        w.scale().pixels(m.tray().trayTop + 300));
    QHelpEvent over(QEvent::ToolTip, onTray, w.mapToGlobal(onTray));
    QApplication::sendEvent(&w, &over);
    QTRY_VERIFY(QToolTip::isVisible());
    QVERIFY(QToolTip::text().contains(QStringLiteral("Right-click the tray")));
    QVERIFY(QToolTip::text().contains(QStringLiteral("Shift+F10")));
    QHelpEvent away(QEvent::ToolTip, QPoint(2, 2), w.mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(&w, &away);
    QTRY_VERIFY(!QToolTip::isVisible());
    // The Menu key and Shift+F10 open it from a button; a text box keeps
    // its own menu.
    QTest::mouseClick(m.find<QPushButton>("cmdNext"), Qt::LeftButton);
    for (const auto &[focus, key, modifiers, trays] :
         {std::tuple{"cmdNext", Qt::Key_Menu, Qt::KeyboardModifiers{}, true},
          {"cmdNext", Qt::Key_F10, Qt::ShiftModifier, true},
          {"txtSolution", Qt::Key_Menu, Qt::KeyboardModifiers{}, false}}) {
        if (QApplication::focusWidget() != m(focus))
            QTest::mouseClick(m(focus), Qt::LeftButton);
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY2(menu, focus);
        QCOMPARE(menu->objectName() == QLatin1String("mnuTray"), trays);
        QTest::keyClick(menu, Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
    }
}

// Each control in the window's pixels at 96 dots an inch, as the design's
// twips put it: its left, top, width and height.
void TestFrmMain::everyControlStandsWhereItsTwipsPutIt()
{
    MainWindow m;
    for (const auto &row : tableRows("main-window-layout.txt")) {
        const QWidget *w = m(row[0].c_str());
        QVERIFY2(w, row[0].c_str());
        const QRect r(w->mapTo(&m.w(), QPoint(0, 0)), w->size());
        QCOMPARE(QStringLiteral("%1 %2 %3 %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()),
                 QString::fromStdString(row.at(1)));
    }
}

QTEST_MAIN(TestFrmMain)
#include "test_frmMain.moc"
