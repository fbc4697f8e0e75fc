#include "WindowFixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

using namespace tw;
using test::MainWindow;
using test::retype;

namespace {

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

class TestReportOptions : public QObject
{
    Q_OBJECT

private slots:
    // No busy pointer outlives what it was shown for.
    void cleanup() { QVERIFY(!QApplication::overrideCursor()); }
    void aRefusedRangeEntryStaysSelectedInItsBox();
    void leavingTheSideBoxAlwaysChecksIt_data();
    void leavingTheSideBoxAlwaysChecksIt();
    void enterStartsThePreviewOnlyOnceTheSideStands();
    void previewChecksTheSideAgainAndShowsTheRangeAsTyped();
    void tabEntersAnOptionGroupOnItsCheckedButton();
};

void TestReportOptions::aRefusedRangeEntryStaysSelectedInItsBox()
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

void TestReportOptions::leavingTheSideBoxAlwaysChecksIt_data()
{
    QTest::addColumn<bool>("byTab");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("message");
    QTest::newRow("not a number, Tab") << true << "abc" << false;
    QTest::newRow("not a number, click") << false << "abc" << false;
    QTest::newRow("too large, Tab") << true << "5" << true;
    QTest::newRow("too large, click") << false << "5" << true;
}

void TestReportOptions::leavingTheSideBoxAlwaysChecksIt()
{
    QFETCH(bool, byTab);
    QFETCH(QString, text);
    QFETCH(bool, message);
    // Real message boxes: they take the focus and give it back.
    MainWindow m(test::testDatabaseFolder(), test::Messages::ShownAndRecorded);
    openPrintTab(m);
    auto *box = m.find<QLineEdit>("txtSideLength");
    const auto leave = [&] {
        if (byTab)
            tab();
        else
            QTest::mouseClick(m("txtFrom"), Qt::LeftButton);
        QTest::qWait(100); // the message box comes and goes
    };
    retype(m, "txtSideLength", text);
    leave();
    QCOMPARE(m.beeps + m.messages.size(), 1);
    QCOMPARE(m.messages.size(), message ? 1 : 0);
    QCOMPARE(QApplication::focusWidget(), box);
    QCOMPARE(box->selectedText(), text);
    // The next key replaces the refused text, and leaving checks again.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_9);
    QCOMPARE(box->text(), QStringLiteral("9"));
    leave();
    QCOMPARE(m.beeps + m.messages.size(), 2);
    QCOMPARE(QApplication::focusWidget(), box);
    QCOMPARE(box->selectedText(), QStringLiteral("9"));
}

void TestReportOptions::enterStartsThePreviewOnlyOnceTheSideStands()
{
    MainWindow m;
    openPrintTab(m);
    retype(m, "txtTo", QStringLiteral("3"));
    retype(m, "txtSideLength", QStringLiteral("0.03"));
    QTest::keyClick(m("txtSideLength"), Qt::Key_Return);
    QCOMPARE(m.previews, 0); // not yet checked: Enter does nothing
    tab();                   // leaving the box checks it
    QVERIFY(m.find<QPushButton>("cmdPreview")->isDefault());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(m.previews, 1);
    QCOMPARE(m.previewPages, 1);
}

void TestReportOptions::previewChecksTheSideAgainAndShowsTheRangeAsTyped()
{
    MainWindow m;
    openPrintTab(m);
    // A side accepted for landscape no longer fits portrait: kept, but
    // Preview checks it again, says so and gives its box the focus.
    QTest::mouseClick(m("optOrientation(1)"), Qt::LeftButton);
    retype(m, "txtSideLength", QStringLiteral("1.05"));
    tab();
    QTest::mouseClick(m("optOrientation(0)"), Qt::LeftButton);
    QTest::mouseClick(m("cmdPreview"), Qt::LeftButton);
    QCOMPARE(m.previews, 0);
    QCOMPARE(m.messages.size(), 1);
    QCOMPARE(QApplication::focusWidget(), m("txtSideLength"));
    // The range as typed: 2.5 to 3.5 is solution 3; afterwards the whole tray.
    retype(m, "txtSideLength", QStringLiteral("0.0278"));
    retype(m, "txtTo", QStringLiteral("3.5"));
    retype(m, "txtFrom", QStringLiteral("2.5"));
    QTest::mouseClick(m("cmdPreview"), Qt::LeftButton);
    QCOMPARE(m.previews, 1);
    QCOMPARE(m.previewRange, (QList<long long>{3, 3}));
    QCOMPARE(m.state().SolutionSet.RecordCount(), 2339);
}

void TestReportOptions::tabEntersAnOptionGroupOnItsCheckedButton()
{
    MainWindow m;
    openPrintTab(m);
    m("txtTo")->setFocus();
    QCOMPARE(tab(), m("optRender(1)")); // "Monochrome" is checked
    QCOMPARE(tab(), m("optOrientation(0)"));
    QCOMPARE(tab(Qt::ShiftModifier), m("optRender(1)"));
    QTest::mouseClick(m("optRender(0)"), Qt::LeftButton);
    QTest::mouseClick(m("optOrientation(1)"), Qt::LeftButton);
    m("txtTo")->setFocus();
    QCOMPARE(tab(), m("optRender(0)"));
    QCOMPARE(tab(), m("optOrientation(1)"));
    QCOMPARE(tab(), m("cmdPreview"));
}

QTEST_MAIN(TestReportOptions)
#include "test_report_options.moc"
