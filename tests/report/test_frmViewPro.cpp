#include "preview/PreviewControl.h"
#include "preview/PreviewDocument.h"
#include "report/UpDown.h"
#include "report/frmViewPro.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace tw;

namespace {

const QSizeF Letter(12240, 15840);

void drawPages(PreviewDocument &doc, int pages)
{
    doc.StartDoc();
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            doc.NewPage();
        doc.DrawLine(0, 0, 1440, 1440);
    }
    doc.EndDoc();
}

// The window on a document of `pages` pages, with beeps, messages and the
// PDF dialog recorded.
struct Window
{
    PreviewDocument doc{Letter};
    std::unique_ptr<frmViewPro> w;
    int beeps = 0;
    QStringList messages;
    QString pdfPath;
    QStringList pdfAnswers; // answers to give first, one each time asked

    explicit Window(int pages)
    {
        drawPages(doc, pages);
        w = std::make_unique<frmViewPro>(doc);
        frmViewPro::Hooks hooks;
        hooks.beep = [this] { ++beeps; };
        hooks.message = [this](const QString &m) { messages << m; };
        hooks.askPdfPath = [this](const QString &) {
            return pdfAnswers.isEmpty() ? pdfPath : pdfAnswers.takeFirst();
        };
        w->setHooks(std::move(hooks));
        w->resize(1000, 800);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            qWarning("the preview window was not exposed");
    }
};

} // namespace

class TestFrmViewPro : public QObject
{
    Q_OBJECT

private slots:
    void aOnePageDocumentHidesTheNavigator();
    void theEndsDisableTheirButtons();
    void fitsHeightFirstAndTogglesToWidth();
    void typedZoomAppliesWhenTheBoxIsLeft();
    void rejectsZoomsThatAreNotWholeNumbersInRange_data();
    void rejectsZoomsThatAreNotWholeNumbersInRange();
    void theSpinnerStepsFromTheTypedZoom();
    void notificationsFromTheControl();
    void savesEveryPageAsPdf();
    void aTinyWindowGivesTheViewNoHeight();
    void escapeClosesTheWindow();
    void theNavigatorFollowsEveryPageChange();
    void leavingTheZoomBoxWithABadZoomKeepsItSelected();
    void theSpinnerStepsFromTypedNumbersAtTheEdges();
};

void TestFrmViewPro::aOnePageDocumentHidesTheNavigator()
{
    Window one(1);
    QCOMPARE(one.w->windowTitle(), QStringLiteral("Print Preview"));
    QCOMPARE(one.w->txtPage->text(), QStringLiteral("Page 1 of 1"));
    QVERIFY(!one.w->txtPage->isEnabled());
    QVERIFY(one.w->picVCR->isHidden());
    Window three(3);
    QVERIFY(!three.w->picVCR->isHidden());
}

void TestFrmViewPro::theEndsDisableTheirButtons()
{
    Window m(3);
    frmViewPro &w = *m.w;
    QVERIFY(!w.cmdFirst->isEnabled() && !w.cmdPrev->isEnabled());
    QVERIFY(w.cmdNext->isEnabled() && w.cmdLast->isEnabled());
    QTest::mouseClick(w.cmdNext, Qt::LeftButton);
    QCOMPARE(w.txtPage->text(), QStringLiteral("Page 2 of 3"));
    QVERIFY(w.cmdFirst->isEnabled() && w.cmdNext->isEnabled());
    QTest::mouseClick(w.cmdLast, Qt::LeftButton);
    QCOMPARE(w.vp->CurrentPage(), 3);
    QVERIFY(!w.cmdNext->isEnabled() && !w.cmdLast->isEnabled());
    QTest::mouseClick(w.cmdPrev, Qt::LeftButton);
    QCOMPARE(w.vp->CurrentPage(), 2);
    QTest::mouseClick(w.cmdFirst, Qt::LeftButton);
    QCOMPARE(w.txtPage->text(), QStringLiteral("Page 1 of 3"));
}

void TestFrmViewPro::fitsHeightFirstAndTogglesToWidth()
{
    Window m(2);
    frmViewPro &w = *m.w;
    const auto pageHeight = [&] { return w.vp->pageRect().height(); };
    QVERIFY(!w.FitToWidth);
    QCOMPARE(w.cmdFit->text(), QStringLiteral("Fit Width"));
    QCOMPARE(w.cmdFit->toolTip(), QStringLiteral("Adjust Zoom to Width of Page"));
    QVERIFY(std::abs(pageHeight() - w.vp->height()) <= w.vp->height() / 20);
    QCOMPARE(w.txtZoom->text().toInt(), static_cast<int>(std::nearbyint(w.vp->Zoom())));
    w.cmdFit->click();
    QCOMPARE(w.cmdFit->text(), QStringLiteral("Fit Height"));
    QVERIFY(std::abs(w.vp->pageRect().width() - (w.vp->viewport()->width() - 24)) <= 2);
    w.cmdFit->click();
    QCOMPARE(w.cmdFit->text(), QStringLiteral("Fit Width"));
    QCOMPARE(w.cmdFit->toolTip(), QStringLiteral("Adjust Zoom to Width of Page"));
}

void TestFrmViewPro::typedZoomAppliesWhenTheBoxIsLeft()
{
    Window m(1);
    frmViewPro &w = *m.w;
    w.txtZoom->setFocus();
    w.txtZoom->setText(QStringLiteral("250"));
    w.cmdClip->setFocus(); // leaving the box
    QCoreApplication::processEvents();
    QCOMPARE(w.vp->Zoom(), 250.0);
    QCOMPARE(w.vp->pageRect().width(), static_cast<int>(12240 * 2.5 * w.vp->logicalDpiX() / 1440));
    QCOMPARE(m.beeps, 0);
}

void TestFrmViewPro::rejectsZoomsThatAreNotWholeNumbersInRange_data()
{
    QTest::addColumn<QString>("text");
    for (const char *text : {"", "abc", "9", "401", "2.5", "-100", "1e2", "99999999999999"})
        QTest::newRow(text) << QString::fromLatin1(text);
}

void TestFrmViewPro::rejectsZoomsThatAreNotWholeNumbersInRange()
{
    QFETCH(QString, text);
    Window m(1);
    const double before = m.w->vp->Zoom();
    m.w->txtZoom->setText(text);
    m.w->txtZoom_LostFocus();
    QCOMPARE(m.beeps, 1);
    QCOMPARE(m.w->vp->Zoom(), before);
    QCOMPARE(m.w->txtZoom->selectedText(), text);
}

void TestFrmViewPro::theSpinnerStepsFromTheTypedZoom()
{
    Window m(1);
    frmViewPro &w = *m.w;
    QCOMPARE(w.udZoom->minimum(), 100);
    QCOMPARE(w.udZoom->maximum(), 400);
    w.txtZoom->setText(QStringLiteral("250"));
    w.udZoom->stepUp();
    QCOMPARE(w.txtZoom->text(), QStringLiteral("251"));
    QCOMPARE(w.vp->Zoom(), 251.0);
    w.txtZoom->setText(QStringLiteral("400"));
    w.udZoom->stepUp(); // held at the maximum
    QCOMPARE(w.txtZoom->text(), QStringLiteral("400"));
    w.txtZoom->setText(QStringLiteral("100"));
    w.udZoom->stepDown();
    QCOMPARE(w.txtZoom->text(), QStringLiteral("100"));
}

void TestFrmViewPro::notificationsFromTheControl()
{
    Window m(1);
    frmViewPro &w = *m.w;
    emit w.vp->PrintAborted();
    QCOMPARE(m.messages, QStringList{QStringLiteral("Printing has been aborted")});
    emit w.vp->TextNotify(QStringLiteral("printer"), QStringLiteral("a,b,c"));
    QVERIFY(w.vp->PrinterName.isEmpty());
    emit w.vp->TextNotify(QStringLiteral("printer"), QStringLiteral("Office,1,3,Sheet"));
    QCOMPARE(w.vp->PrinterName, QStringLiteral("Office"));
    QCOMPARE(w.vp->JobTitle, QStringLiteral("Sheet"));
    w.vp->setZoom(137);
    QCOMPARE(w.txtZoom->text(), QStringLiteral("137"));
}

void TestFrmViewPro::savesEveryPageAsPdf()
{
    Window m(3);
    QTemporaryDir dir;
    m.pdfPath = dir.filePath(QStringLiteral("sheet.pdf"));
    m.w->cmdPdf->click();
    QFile pdf(m.pdfPath);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QCOMPARE(pdf.readAll().count("/Type /Page\n"), 3);
    m.pdfPath = QStringLiteral("/nonexistent-folder/sheet.pdf");
    m.w->cmdPdf->click();
    QCOMPARE(m.messages.size(), 1);
    QVERIFY(
        m.messages[0].startsWith(QStringLiteral("The PDF file could not be saved. Cannot write")));
    m.pdfPath.clear(); // the user cancels: nothing happens
    m.w->cmdPdf->click();
    QCOMPARE(m.messages.size(), 1);

    // Never over the database: said, and asked again.
    const QString database = dir.filePath(QStringLiteral("Solutions.mdb"));
    QVERIFY(QFile::copy(QStringLiteral(TILEWRIGHT_TEST_DATABASE), database));
    m.w->setDatabasePath(QFile::encodeName(database).toStdString());
    const QString link = dir.filePath(QStringLiteral("link.pdf"));
    QVERIFY(QFile::link(database, link));
    m.pdfAnswers = {database, link};
    m.pdfPath = dir.filePath(QStringLiteral("other.pdf"));
    QTest::mouseClick(m.w->cmdPdf, Qt::LeftButton);
    QCOMPARE(m.messages.size(), 3);
    QVERIFY2(m.messages[1].contains(QStringLiteral("it is the solution database")),
             qPrintable(m.messages[1]));
    QVERIFY(QFile::exists(m.pdfPath));
    QFile db(database);
    QVERIFY(db.open(QIODevice::ReadOnly));
    QVERIFY(db.read(16).startsWith("SQLite format 3"));
}

void TestFrmViewPro::aTinyWindowGivesTheViewNoHeight()
{
    Window m(1);
    m.w->setWindowState(Qt::WindowNoState);
    m.w->resize(200, 40);
    QTest::qWait(10);
    QCOMPARE(m.w->vp->height(), 0);
    QCOMPARE(m.w->picButtons->y() + m.w->picButtons->height(), m.w->height());
}

void TestFrmViewPro::escapeClosesTheWindow()
{
    Window m(1);
    QTest::keyClick(m.w.get(), Qt::Key_Escape);
    QVERIFY(!m.w->isVisible());
}

void TestFrmViewPro::theNavigatorFollowsEveryPageChange()
{
    Window m(2);
    frmViewPro &w = *m.w;
    QTest::mouseClick(w.vp->viewport(), Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), w.vp);
    const auto key = [&](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); };
    key(Qt::Key_PageDown);
    QCOMPARE(w.txtPage->text(), QStringLiteral("Page 2 of 2"));
    QVERIFY(w.cmdFirst->isEnabled() && w.cmdPrev->isEnabled());
    QVERIFY(!w.cmdNext->isEnabled() && !w.cmdLast->isEnabled());
    QTest::mouseClick(w.cmdNext, Qt::LeftButton); // greyed
    key(Qt::Key_PageDown);
    QCOMPARE(w.txtPage->text(), QStringLiteral("Page 2 of 2"));
    key(Qt::Key_Home);
    QCOMPARE(w.txtPage->text(), QStringLiteral("Page 1 of 2"));
    QVERIFY(!w.cmdPrev->isEnabled() && w.cmdNext->isEnabled());
    key(Qt::Key_End);
    QCOMPARE(w.vp->CurrentPage(), 2);
    QCOMPARE(w.txtPage->text(), QStringLiteral("Page 2 of 2"));
    // A page beyond the end is shown as the last one.
    w.ShowCurrentPage(3);
    QCOMPARE(w.txtPage->text(), QStringLiteral("Page 2 of 2"));
}

void TestFrmViewPro::leavingTheZoomBoxWithABadZoomKeepsItSelected()
{
    Window m(1);
    frmViewPro &w = *m.w;
    w.txtZoom->setFocus();
    w.txtZoom->selectAll();
    QTest::keyClicks(w.txtZoom, QStringLiteral("abc"));
    QTest::keyClick(w.txtZoom, Qt::Key_Tab);
    QCoreApplication::processEvents();
    QCOMPARE(m.beeps, 1);
    QCOMPARE(QApplication::focusWidget(), w.txtZoom);
    QCOMPARE(w.txtZoom->selectedText(), QStringLiteral("abc"));
    QTest::keyClicks(w.txtZoom, QStringLiteral("250"));
    QTest::mouseClick(w.cmdClip, Qt::LeftButton);
    QCoreApplication::processEvents();
    QCOMPARE(w.vp->Zoom(), 250.0);
    QCOMPARE(m.beeps, 1);
}

void TestFrmViewPro::theSpinnerStepsFromTypedNumbersAtTheEdges()
{
    Window m(1);
    frmViewPro &w = *m.w;
    const auto arrows = w.udZoom->findChildren<QToolButton *>();
    QCOMPARE(arrows.size(), 2);
    QToolButton *up = arrows[0]->arrowType() == Qt::UpArrow ? arrows[0] : arrows[1];
    QToolButton *down = up == arrows[0] ? arrows[1] : arrows[0];
    w.txtZoom->setText(QStringLiteral("2147483647"));
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(w.txtZoom->text(), QStringLiteral("400"));
    QCOMPARE(w.vp->Zoom(), 400.0);
    w.txtZoom->setText(QStringLiteral("-2147483648"));
    QTest::mouseClick(down, Qt::LeftButton);
    QCOMPARE(w.txtZoom->text(), QStringLiteral("100"));
    QCOMPARE(w.vp->Zoom(), 100.0);
}

QTEST_MAIN(TestFrmViewPro)
#include "test_frmViewPro.moc"
