#include "WindowFixture.h"
#include "app/SharedState.h"
#include "preview/PreviewDocument.h"
#include "ui/main/TabControl.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace tw;
using test::MainWindow;

namespace {

const QString ToAboveCount =
    QStringLiteral("End Solution Number cannot be greater than 2339 for the selected Board");
const QString FromAboveTo =
    QStringLiteral("Start Solution Number cannot be greater than the End Solution Number");
const QString ToBelowFrom =
    QStringLiteral("End Solution Number cannot be less than the Start Solution Number");

// The "Print" tab open on the 10 x 6 tray, the messages of the switch cleared.
void openPrintTab(MainWindow &m)
{
    m.w().SSTabFn->setCurrentIndex(1);
    m.beeps = 0;
    m.messages.clear();
}

// Replaces a box's text by typing, one keystroke at a time.
void retype(QLineEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
}

} // namespace

class TestReportOptions : public QObject
{
    Q_OBJECT

private slots:
    void anEndAboveTheCountIsRefusedWithItsMessage();
    void aStartAboveTheEndIsRefused();
    void anEmptyPartnerBoxBeepsAtEveryKeystroke();
    void everyKeystrokeIsChecked();
    void theSideLengthIsCheckedWhenTheBoxIsLeft_data();
    void theSideLengthIsCheckedWhenTheBoxIsLeft();
    void enterStartsThePreviewOnlyOnceTheSideStands();
    void orientationKeepsAnAcceptedSideButPreviewChecksItAgain();
    void previewRestoresTheWholeBoard();
    void previewRefusesABoxHoldingARejectedEntry();
    void leavingTheSideBoxAlwaysChecksIt_data();
    void leavingTheSideBoxAlwaysChecksIt();
    void tabEntersAnOptionGroupOnItsCheckedButton();
    void aRangeWithFractionsPrintsTheWholeNumbersWithin();
};

void TestReportOptions::anEndAboveTheCountIsRefusedWithItsMessage()
{
    MainWindow m;
    openPrintTab(m);
    QLineEdit *to = m.w().txtTo;
    to->setText(QStringLiteral("2340"));
    QCOMPARE(m.messages, QStringList{ToAboveCount});
    QCOMPARE(m.beeps, 0);
    QCOMPARE(to->text(), QStringLiteral("2340"));
    QCOMPARE(to->selectedText(), QStringLiteral("2340"));
    QVERIFY(to->hasFocus());
}

void TestReportOptions::aStartAboveTheEndIsRefused()
{
    MainWindow m;
    openPrintTab(m);
    retype(m.w().txtTo, QStringLiteral("1"));
    QVERIFY(m.messages.isEmpty());
    retype(m.w().txtFrom, QStringLiteral("2"));
    QCOMPARE(m.messages, QStringList{FromAboveTo});
    QCOMPARE(m.w().txtFrom->selectedText(), QStringLiteral("2"));
    // No lower bound: 0 and negative starts stand (typed "-" alone is not a
    // number, so the text is set whole).
    m.messages.clear();
    m.w().txtFrom->setText(QStringLiteral("-5"));
    QVERIFY(m.messages.isEmpty());
    QCOMPARE(m.beeps, 0);
}

void TestReportOptions::anEmptyPartnerBoxBeepsAtEveryKeystroke()
{
    MainWindow m;
    openPrintTab(m);
    m.w().txtTo->setText(QString());
    QCOMPARE(m.beeps, 1);
    m.w().txtFrom->setFocus();
    m.w().txtFrom->end(false);
    QTest::keyClicks(m.w().txtFrom, QStringLiteral("23"));
    QCOMPARE(m.beeps, 3);
    // A partner holding no whole number counts as empty.
    m.w().txtTo->setText(QStringLiteral("40000"));
    m.beeps = 0;
    m.messages.clear();
    m.w().txtFrom->setText(QStringLiteral("4"));
    QCOMPARE(m.beeps, 1);
    QVERIFY(m.messages.isEmpty());
}

void TestReportOptions::everyKeystrokeIsChecked()
{
    MainWindow m;
    openPrintTab(m);
    // With the range 1 to 1, a start of 3 stands only once the end is 3 or more.
    retype(m.w().txtTo, QStringLiteral("1"));
    retype(m.w().txtFrom, QStringLiteral("3"));
    QCOMPARE(m.messages, QStringList{FromAboveTo});
    m.messages.clear();
    retype(m.w().txtTo, QStringLiteral("3"));
    QVERIFY(m.messages.isEmpty());

    // With 50 to 60, retyping the end as 10 is refused at its first digit.
    retype(m.w().txtTo, QStringLiteral("60"));
    retype(m.w().txtFrom, QStringLiteral("50"));
    m.messages.clear();
    retype(m.w().txtTo, QStringLiteral("1"));
    QCOMPARE(m.messages, QStringList{ToBelowFrom});
    QCOMPARE(m.w().txtTo->selectedText(), QStringLiteral("1"));
}

void TestReportOptions::theSideLengthIsCheckedWhenTheBoxIsLeft_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("beeps");
    QTest::addColumn<bool>("message");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("default") << QStringLiteral("0.0278") << 0 << false << true;
    QTest::newRow("not a number") << QStringLiteral("half") << 1 << false << false;
    QTest::newRow("empty") << QString() << 1 << false << false;
    QTest::newRow("zero") << QStringLiteral("0") << 1 << false << false;
    QTest::newRow("negative") << QStringLiteral("-0.5") << 1 << false << false;
    QTest::newRow("a thousandth") << QStringLiteral("0.001") << 1 << false << false;
    QTest::newRow("too large") << QStringLiteral("5") << 0 << true << false;
}

void TestReportOptions::theSideLengthIsCheckedWhenTheBoxIsLeft()
{
    QFETCH(QString, text);
    QFETCH(int, beeps);
    QFETCH(bool, message);
    QFETCH(bool, accepted);
    MainWindow m;
    openPrintTab(m);
    const Single before = m.state().UnitSize;
    m.w().txtSideLength->setText(text);
    m.w().txtSideLength_LostFocus();
    QCOMPARE(m.beeps, beeps);
    QCOMPARE(m.messages.size(), message ? 1 : 0);
    QCOMPARE(m.w().cmdPreview->isDefault(), accepted);
    if (accepted)
        QCOMPARE(m.state().UnitSize, static_cast<Single>(text.toDouble() * 1440));
    else
        QCOMPARE(m.state().UnitSize, before);
}

void TestReportOptions::enterStartsThePreviewOnlyOnceTheSideStands()
{
    MainWindow m;
    openPrintTab(m);
    frmMain &w = m.w();
    retype(w.txtTo, QStringLiteral("3"));
    // The limit itself is accepted; a little above it gets the message.
    const Single limit = m.state().MaxUnitSize;
    const QString limitText = QString::number(static_cast<double>(limit), 'f', 9);
    retype(w.txtSideLength, limitText);
    QTest::keyClick(w.txtSideLength, Qt::Key_Return);
    QCOMPARE(m.previews, 0); // not yet validated: Enter does nothing
    w.txtFrom->setFocus();   // leaving the box validates it
    QCoreApplication::processEvents();
    QVERIFY(w.cmdPreview->isDefault());
    QTest::keyClick(w.txtFrom, Qt::Key_Return);
    QCOMPARE(m.previews, 1);
    QVERIFY(m.messages.isEmpty());

    retype(w.txtSideLength, QString::number(static_cast<double>(limit) + 0.01, 'f', 4));
    w.txtFrom->setFocus();
    QCoreApplication::processEvents();
    QCOMPARE(m.messages.size(), 1);
    const QString rounded = QString::number(static_cast<double>(limit), 'f', 3);
    QCOMPARE(m.messages[0],
             QStringLiteral("In order to fit on the page, the Sidelength of the Unit "
                            "Square must be under ") +
                 (rounded.endsWith('0') ? rounded.left(rounded.size() - 1) : rounded) +
                 QStringLiteral(" inch"));
    QVERIFY(w.txtSideLength->hasFocus());
}

void TestReportOptions::orientationKeepsAnAcceptedSideButPreviewChecksItAgain()
{
    MainWindow m;
    openPrintTab(m);
    frmMain &w = m.w();
    w.optOrientation[1]->setChecked(true);
    const Single landscapeLimit = m.state().MaxUnitSize;
    w.optOrientation[0]->setChecked(true);
    const Single portraitLimit = m.state().MaxUnitSize;
    QVERIFY(landscapeLimit > portraitLimit);

    w.optOrientation[1]->setChecked(true);
    w.txtSideLength->setText(QString::number(static_cast<double>(landscapeLimit) * 0.99));
    w.txtSideLength_LostFocus();
    QVERIFY(m.messages.isEmpty());
    const Single accepted = m.state().UnitSize;
    w.optOrientation[0]->setChecked(true);
    QCOMPARE(m.state().UnitSize, accepted); // kept, though too large now
    w.cmdPreview->click();
    QCOMPARE(m.previews, 0);
    QCOMPARE(m.messages.size(), 1);
    QVERIFY(m.messages[0].startsWith(QStringLiteral("In order to fit on the page")));
}

void TestReportOptions::previewRestoresTheWholeBoard()
{
    MainWindow m;
    openPrintTab(m);
    frmMain &w = m.w();
    retype(w.txtTo, QStringLiteral("10"));
    w.cmdPreview->click();
    QCOMPARE(m.previews, 1);
    QCOMPARE(m.previewPages, 1);
    QCOMPARE(m.state().SolutionSet.RecordCount(), 2339);
    QCOMPARE(w.lblProgress->text(), QString());
    retype(w.txtTo, QStringLiteral("2000"));
    QVERIFY(m.messages.isEmpty());
    w.SSTabFn->setCurrentIndex(0);
    w.txtSolution->setText(QStringLiteral("2339"));
    QCOMPARE(m.state().SolutionNo, 2339);
    QCOMPARE(m.beeps, 0);
}

void TestReportOptions::previewRefusesABoxHoldingARejectedEntry()
{
    MainWindow m;
    openPrintTab(m);
    frmMain &w = m.w();
    w.txtTo->setText(QStringLiteral("9999"));
    QCOMPARE(m.messages.size(), 1);
    w.txtFrom->setFocus();
    w.cmdPreview->click();
    QCOMPARE(m.previews, 0);
    QCOMPARE(m.messages, QStringList({ToAboveCount, ToAboveCount}));
    QVERIFY(w.txtTo->hasFocus());
    // A start below 1 prints from the first solution; one beyond 16 bits
    // leaves the end box without a usable partner, and Preview beeps.
    w.txtTo->setText(QStringLiteral("2"));
    w.txtFrom->setText(QStringLiteral("0"));
    w.cmdPreview->click();
    QCOMPARE(m.previews, 1);
    QCOMPARE(m.previewPages, 1);
    const int beeps = m.beeps;
    w.txtFrom->setText(QStringLiteral("-99999999999"));
    w.cmdPreview->click();
    QCOMPARE(m.previews, 1);
    QCOMPARE(m.beeps, beeps + 1);
    QVERIFY(w.txtTo->hasFocus());
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
    MainWindow m(QFileInfo(QStringLiteral(TILEWRIGHT_TEST_DATABASE)).absolutePath(),
                 test::Messages::ShownAndRecorded);
    openPrintTab(m);
    frmMain &w = m.w();
    QLineEdit *box = w.txtSideLength;
    const auto leave = [&] {
        if (byTab)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        else
            QTest::mouseClick(w.txtFrom, Qt::LeftButton);
        QTest::qWait(100); // the message box comes and goes
    };
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
    leave();
    QCOMPARE(m.beeps + m.messages.size(), 1);
    QCOMPARE(m.messages.size(), message ? 1 : 0);
    QCOMPARE(QApplication::focusWidget(), box);
    QCOMPARE(box->selectedText(), text);
    // The next key replaces the rejected text, and leaving checks again.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_9);
    QCOMPARE(box->text(), QStringLiteral("9"));
    leave();
    QCOMPARE(m.beeps + m.messages.size(), 2);
    QCOMPARE(QApplication::focusWidget(), box);
    QCOMPARE(box->selectedText(), QStringLiteral("9"));
}

void TestReportOptions::tabEntersAnOptionGroupOnItsCheckedButton()
{
    MainWindow m;
    openPrintTab(m);
    frmMain &w = m.w();
    const auto tab = [](Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
        return QApplication::focusWidget();
    };
    w.txtTo->setFocus();
    QCOMPARE(tab(), w.optRender[1]); // "Monochrome" is checked
    QCOMPARE(tab(), w.optOrientation[0]);
    QCOMPARE(tab(Qt::ShiftModifier), w.optRender[1]);
    QTest::mouseClick(w.optRender[0], Qt::LeftButton);
    QTest::mouseClick(w.optOrientation[1], Qt::LeftButton);
    w.txtTo->setFocus();
    QCOMPARE(tab(), w.optRender[0]);
    QCOMPARE(tab(), w.optOrientation[1]);
    QCOMPARE(tab(), w.cmdPreview);
}

void TestReportOptions::aRangeWithFractionsPrintsTheWholeNumbersWithin()
{
    MainWindow m;
    openPrintTab(m);
    frmMain &w = m.w();
    struct Range
    {
        const char *from, *to;
        long long first, last;
    };
    for (const Range r : {Range{"2.5", "3.5", 3, 3}, Range{"1.5", "4.2", 2, 4}}) {
        retype(w.txtTo, QString::fromLatin1(r.to));
        retype(w.txtFrom, QString::fromLatin1(r.from));
        QTest::mouseClick(w.cmdPreview, Qt::LeftButton);
        QCOMPARE(m.previewRange, (QList<long long>{r.first, r.last}));
    }
    QVERIFY(m.messages.isEmpty());
}

QTEST_MAIN(TestReportOptions)
#include "test_report_options.moc"
