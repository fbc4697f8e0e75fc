#include "WindowFixture.h"
#include "pieces/PieceTables.h"
#include "solutions/Decoding.h"

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTabBar>
#include <QTest>

using namespace tw;
using test::choose;
using test::MainWindow;

namespace {

// Whether the surface shows the solution under the cursor, cell by cell, in
// the palette in use.
bool showsCurrentSolution(MainWindow &m)
{
    const SharedState &s = m.state();
    const auto tiling = tileRecord(s.BoardIndex, s.SolutionSet.currentRecord());
    const QImage &image = m.w().surface().image();
    const TwipsScale scale(m.w().scale().dpi() * m.w().surface().ratio());
    for (const Placement &p : tiling->placements)
        for (int k = 0; k < p.cellCount; ++k) {
            const int cell = p.cells[static_cast<std::size_t>(k)];
            // A corner of the cell, away from any letter.
            const QColor shown =
                image.pixelColor(scale.pixels(s.TrayLeft + cell / s.Stride * 200 + 25),
                                 scale.pixels(s.TrayTop + cell % s.Stride * 200 + 25));
            const Colour c = p.shape == SquarePiece ? MidGrey : orientation(p.shape).ColorIn(s);
            if (shown != QColor(redOf(c), greenOf(c), blueOf(c)))
                return false;
        }
    return true;
}

void typeNumber(MainWindow &m, const QString &number)
{
    auto *box = m.find<QLineEdit>("txtSolution");
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, number);
}

// A key pressed on the focused control, as the keyboard sends it: pressed
// and released, or held down (auto-repeated). The window's shortcuts see it
// first, as they do any key.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers, bool repeated = false)
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

QMenu *trayMenu(MainWindow &m)
{
    return test::rightClick(m, m.state().TrayLeft + 300, m.state().TrayTop + 300);
}

QString accessibleName(QWidget *w)
{
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
}

} // namespace

class TestMainKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void stepsFromTheKeyboardWhereverTheFocusIs_data();
    void stepsFromTheKeyboardWhereverTheFocusIs();
    void holdingPageDownPaintsEveryStep();
    void lettersAndColoursFromTheTraysMenuAreKept();
    void everyControlHasANameInWords();
};

void TestMainKeyboard::stepsFromTheKeyboardWhereverTheFocusIs_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("shown");
    const int none = Qt::NoModifier, ctrl = Qt::ControlModifier;
    QTest::newRow("PageDown on the tray list")
        << "cboSelect" << int(Qt::Key_PageDown) << none << "6";
    QTest::newRow("PageUp on a button") << "cmdNext" << int(Qt::Key_PageUp) << none << "4";
    QTest::newRow("PageDown in the number box")
        << "txtSolution" << int(Qt::Key_PageDown) << none << "6";
    QTest::newRow("Ctrl+End on a button") << "cmdFirst" << int(Qt::Key_End) << ctrl << "2339";
    QTest::newRow("Ctrl+Home on the tray list") << "cboSelect" << int(Qt::Key_Home) << ctrl << "1";
    // The number box uses Ctrl+End itself, to move its cursor.
    QTest::newRow("Ctrl+End in the number box") << "txtSolution" << int(Qt::Key_End) << ctrl << "5";
}

void TestMainKeyboard::stepsFromTheKeyboardWhereverTheFocusIs()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, shown);
    MainWindow m;
    typeNumber(m, QStringLiteral("5"));
    // The focus goes where a click puts it; a button takes it with Tab.
    QWidget *target = m(focus.toLatin1().constData());
    target->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), target);
    press(Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(m.find<QLineEdit>("txtSolution")->text(), shown);
    QCOMPARE(m.find<QComboBox>("cboSelect")->currentIndex(), 0);
    QVERIFY(showsCurrentSolution(m));
    QCOMPARE(m.beeps + m.messages.size(), 0);
}

void TestMainKeyboard::holdingPageDownPaintsEveryStep()
{
    MainWindow m;
    m("cmdNext")->setFocus(Qt::TabFocusReason);
    for (int n = 2; n <= 6; ++n) {
        press(Qt::Key_PageDown, Qt::NoModifier, n > 2);
        QCOMPARE(m.state().SolutionNo, n);
        QVERIFY2(showsCurrentSolution(m), qPrintable(QString::number(n)));
    }
    press(Qt::Key_PageUp, Qt::NoModifier);
    QCOMPARE(m.state().SolutionNo, 5);
    // The "Print" tab shows no solution: the keys step nothing there.
    auto *tabs = m.w().findChild<QTabBar *>();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    press(Qt::Key_PageDown, Qt::NoModifier);
    QCOMPARE(m.state().SolutionNo, 5);
}

void TestMainKeyboard::lettersAndColoursFromTheTraysMenuAreKept()
{
    MainWindow m;
    typeNumber(m, QStringLiteral("12"));
    QMenu *menu = trayMenu(m);
    QVERIFY(menu);
    choose(menu, "mnuSafe");
    QCOMPARE(m.state().Look.palette, Palette::Safe);
    QVERIFY(showsCurrentSolution(m)); // in the safe colours
    menu = trayMenu(m);
    QVERIFY(menu->findChild<QAction *>(QStringLiteral("mnuSafe"))->isChecked());
    choose(menu, "mnuLetters");
    QVERIFY(m.state().Look.letters);
    // The X's letter, white, crosses the middle of its middle cell.
    const SharedState &s = m.state();
    const auto tiling = tileRecord(s.BoardIndex, s.SolutionSet.currentRecord());
    const int middle = tiling->placements[0].cells[2];
    const TwipsScale scale(m.w().scale().dpi() * m.w().surface().ratio());
    QVERIFY(qGray(m.w().surface().image().pixel(
                scale.pixels(s.TrayLeft + middle / s.Stride * 200 + 100),
                scale.pixels(s.TrayTop + middle % s.Stride * 200 + 100))) > 200);
    const QSettings settings;
    QCOMPARE(settings.value(QStringLiteral("pieces/letters")).toBool(), true);
    QCOMPARE(settings.value(QStringLiteral("pieces/palette")).toString(), QStringLiteral("safe"));
}

void TestMainKeyboard::everyControlHasANameInWords()
{
    MainWindow m;
    typeNumber(m, QStringLiteral("12"));
    for (QWidget *w : m.w().findChildren<QWidget *>()) {
        if (!w->isVisible() || w->focusPolicy() == Qt::NoFocus)
            continue;
        // A list is named by its label, as the platform's readers expect.
        if (auto *list = qobject_cast<QComboBox *>(w)) {
            const auto labels =
                QAccessible::queryAccessibleInterface(list)->relations(QAccessible::Label);
            QVERIFY(!labels.isEmpty());
            QCOMPARE(labels[0].first->text(QAccessible::Name), QStringLiteral("Select a Tray"));
            continue;
        }
        const QString name = accessibleName(w);
        QVERIFY2(name.count(QRegularExpression(QStringLiteral("[A-Za-z]"))) >= 2,
                 qPrintable(w->objectName() + QStringLiteral(": \"") + name + '"'));
    }
    QCOMPARE(accessibleName(m("cmdNext")), QStringLiteral("Display Next Solution"));
    QCOMPARE(accessibleName(m("cmdFirst")), QStringLiteral("Display First Solution"));
    QCOMPARE(accessibleName(m("txtSolution")), QStringLiteral("Solution 12 of 2339"));
    QAccessibleInterface *tray = QAccessible::queryAccessibleInterface(m("picTray"));
    QVERIFY(tray->text(QAccessible::Description)
                .startsWith(QStringLiteral("The 10 x 6 tray, solution 12 of 2339, rows ")));
    QVERIFY(QAccessible::queryAccessibleInterface(m("cmdNext"))
                ->text(QAccessible::Description)
                .contains(QStringLiteral("Page Down")));
}

QTEST_MAIN(TestMainKeyboard)
#include "test_main_keyboard.moc"
