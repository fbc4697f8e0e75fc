#include "Layout.h"
#include "WindowFixture.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QSettings>

using namespace tw;
using namespace tw::test;

namespace {

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

} // namespace

class TestMainKeyboard : public QObject
{
    Q_OBJECT

private slots:
    // No busy pointer outlives what it was shown for.
    void cleanup() { QVERIFY(!QApplication::overrideCursor()); }
    void stepsFromTheKeyboardWhereverTheFocusIs();
    void holdingPageDownPaintsEveryStep();
    void lettersAndColoursFromTheTraysMenuAreKept();
    void everyControlHasANameInWords();
};

void TestMainKeyboard::stepsFromTheKeyboardWhereverTheFocusIs()
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

void TestMainKeyboard::holdingPageDownPaintsEveryStep()
{
    MainWindow m;
    m("cmdNext")->setFocus(Qt::TabFocusReason);
    for (int n = 2; n <= 6; ++n) {
        press(Qt::Key_PageDown, {}, n > 2);
        QCOMPARE(m.state().SolutionNo, n);
        QVERIFY2(showsCurrentSolution(m), qPrintable(QString::number(n)));
    }
    // The "Print" tab shows no solution: the keys step nothing there.
    clickTab(m, 1);
    press(Qt::Key_PageDown);
    QCOMPARE(m.state().SolutionNo, 6);
}

void TestMainKeyboard::lettersAndColoursFromTheTraysMenuAreKept()
{
    MainWindow m;
    retype(m, "txtSolution", QStringLiteral("12"));
    const SharedState &s = m.state();
    choose(rightClick(m, m.tray().trayLeft + 300, m.tray().trayTop + 300), "mnuSafe");
    QVERIFY(showsCurrentSolution(m)); // in the safe colours
    choose(rightClick(m, m.tray().trayLeft + 300, m.tray().trayTop + 300), "mnuLetters");
    QCOMPARE(m.w().look(), (Appearance{true, Palette::Safe}));
    // The X's letter, white, crosses the middle of its middle cell.
    const int middle =
        tileRecord(s.BoardIndex, s.SolutionSet.currentRecord())->placements[0].cells[2];
    QVERIFY(qGray(Shot(m)
                      .at(m.tray().trayLeft + middle / (m.tray().rows + 1) * 200 + 100,
                          m.tray().trayTop + middle % (m.tray().rows + 1) * 200 + 100)
                      .rgb()) > 200);
    const QSettings settings;
    QCOMPARE(settings.value(QStringLiteral("pieces/letters")).toBool(), true);
    QCOMPARE(settings.value(QStringLiteral("pieces/palette")).toString(), QStringLiteral("safe"));
}

void TestMainKeyboard::everyControlHasANameInWords()
{
    MainWindow m;
    retype(m, "txtSolution", QStringLiteral("12"));
    QCOMPARE(test::namelessControls(&m.w()), QStringList());
    QCOMPARE(accessible(m("cmdNext"))->text(QAccessible::Name),
             QStringLiteral("Display Next Solution"));
    QVERIFY(accessible(m("cmdNext"))->text(QAccessible::Description).contains("Page Down"));
    QCOMPARE(accessible(m("txtSolution"))->text(QAccessible::Name),
             QStringLiteral("Solution 12 of 2339"));
    QVERIFY(accessible(m("picTray"))
                ->text(QAccessible::Description)
                .startsWith(QStringLiteral("The 10 x 6 tray, solution 12 of 2339, rows ")));
}

QTEST_MAIN(TestMainKeyboard)
#include "test_main_keyboard.moc"
