#include "Layout.h"
#include "ProgramRun.h"
#include "WindowFixture.h"
#include "preview/PreviewDocument.h"
#include "ui/PreviewControl.h"
#include "ui/frmViewPro.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include <cups/cups.h>

#include <csignal>
#include <functional>
#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace tw;
using test::inDialog;
using test::pdfPages;

namespace {

// The window on a document of `pages` pages, each with a box (black unless
// told; the last page's may differ) 1440 x 720 twips at (1440, 720), page 2
// landscape; beeps, messages and the PDF dialog's answers (a file name each
// time it asks) recorded.
struct Window : QObject
{
    PreviewDocument doc{QSizeF(11906, 16838)};
    int paints = 0; // of the view, as the window system asks for them
    std::unique_ptr<frmViewPro> w;
    int beeps = 0;
    QStringList messages;
    QStringList pdfAnswers;
    QStringList pdfProposals; // the names the PDF dialog opened with

    explicit Window(int pages, Colour box = Black, std::optional<Colour> lastBox = {})
    {
        doc.StartDoc();
        doc.setBrushStyle(PreviewInterface::BrushStyle::Solid);
        doc.setBrushColor(box);
        for (int page = 1; page <= pages; ++page) {
            if (page > 1)
                doc.NewPage();
            if (page == pages && lastBox)
                doc.setBrushColor(*lastBox);
            doc.setOrientation(page == 2 ? 1 : 0);
            doc.DrawRectangle(1440, 720, 1440, 720);
        }
        doc.EndDoc();
        w = std::make_unique<frmViewPro>(doc);
        w->setHooks({[this] { ++beeps; }, [this](const QString &m) { messages << m; },
                     [this](const QString &proposed) {
                         pdfProposals << proposed;
                         return pdfAnswers.isEmpty() ? QString() : pdfAnswers.takeFirst();
                     }});
        w->resize(1000, 800);
        w->show();
        vp().viewport()->installEventFilter(this);
        if (!QTest::qWaitForWindowActive(w.get()))
            qWarning("the preview window was not activated");
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
    // Whether the view is painted again, unasked, after act.
    bool repaints(const std::function<void()> &act)
    {
        QTest::qWait(100);
        const int before = paints;
        act();
        return QTest::qWaitFor([&] { return paints > before; }, 500);
    }
    QWidget *operator()(const char *name) const
    {
        return w->findChild<QWidget *>(QString::fromLatin1(name));
    }
    QLineEdit *box(const char *name) const { return static_cast<QLineEdit *>((*this)(name)); }
    PreviewControl &vp() const { return *w->CurrentVP(); }
    // What the view shows at a point of the page shown, in twips from its corner.
    QColor at(double x, double y) const
    {
        const double k = vp().Zoom() / 100 * vp().logicalDpiX() / 1440;
        return vp().viewport()->grab().toImage().pixelColor(vp().pageRect().topLeft() +
                                                            QPointF(x * k, y * k).toPoint());
    }
    QString page() const { return box("txtPage")->text(); }
};

// The tests' own print server (tools/print-server), which every printer
// in this program's tests reaches: its printers keep each job as files.
struct PrintServer
{
    QTemporaryDir dir;
    qint64 pid = 0;
    int jobs = 0; // jobs read back so far

    // Starts the server (refusing files over limit bytes, if given; its
    // printer on the paper given) and makes it the one printing goes to;
    // false when cupsd is not installed.
    bool start(int limit = 0, const QString &paper = QStringLiteral("A4"))
    {
        QProcess script;
        script.start(QStringLiteral("bash"), {QStringLiteral(TILEWRIGHT_PRINT_SERVER), dir.path(),
                                              QString::number(limit), paper});
        script.waitForFinished(30000);
        if (script.exitCode() == 77)
            return false;
        pid = script.readAllStandardOutput().trimmed().toLongLong();
        if (pid <= 0)
            qFatal("%s", script.readAllStandardError().constData());
        use();
        // The server listens before it has read its printers.
        if (!QTest::qWaitFor(
                [] {
                    cups_dest_t *printer =
                        cupsGetNamedDest(CUPS_HTTP_DEFAULT, "tilewright-test", nullptr);
                    cupsFreeDests(printer ? 1 : 0, printer);
                    return printer != nullptr;
                },
                10000))
            qFatal("the print server offers no printer");
        return true;
    }
    void use() const
    {
        const QByteArray socket = QFile::encodeName(dir.filePath(QStringLiteral("cups.sock")));
        qputenv("CUPS_SERVER", socket);
        cupsSetServer(socket.constData());
    }
    void stop()
    {
        if (pid > 0 && ::kill(static_cast<pid_t>(pid), SIGTERM) == 0 &&
            !QTest::qWaitFor([&] { return ::kill(static_cast<pid_t>(pid), 0) != 0; }, 5000))
            qWarning("the print server did not stop");
        pid = 0;
    }
    // Gone before its folder is removed.
    ~PrintServer() { stop(); }
    // The next job a printer took: its title, copies and options (each
    // "name=value", those of one job only left out), and the path of its file.
    std::pair<QStringList, QString> nextJob()
    {
        const QString path = dir.filePath(QStringLiteral("jobs/job-%1").arg(++jobs));
        if (!QTest::qWaitFor([&] { return QFile::exists(path + QStringLiteral(".pdf")); }, 10000))
            return {};
        QFile file(path + QStringLiteral(".options"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        // Title and copies on a line each, then the options, split at the
        // spaces that are not escaped.
        QStringList options = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        const QString server = options.size() == 4 ? options.takeAt(2) : QString();
        static const QRegularExpression perJob(
            QStringLiteral("^(job-uuid|job-originating|date-time-|time-at-|document-name)|^$"));
        for (const QString &option : server.split(QRegularExpression(QStringLiteral("(?<!\\\\) "))))
            options << option;
        options.removeIf([](const QString &o) { return perJob.match(o).hasMatch(); });
        return {options, path + QStringLiteral(".pdf")};
    }
};

} // namespace

class TestFrmViewPro : public QObject
{
    Q_OBJECT

private slots:
    // No busy pointer outlives what it was shown for.
    void cleanup() { QVERIFY(!QApplication::overrideCursor()); }
    void initTestCase();
    void theNavigatorFollowsEveryPageChange();
    void fitsHeightFirstThenWidthAndShowsThePageAtItsZoom();
    void theZoomBoxAndItsArrowsTakeWholeNumbersFrom10To400();
    void printsCopiesAndSavesPages();
    void printsThroughTheDialogAndSaysWhyAPrinterRefused();
    void aJobThePrintServerRefusesPartwayIsNotCalledPrinted();
    void theKeyboardReachesEveryCommandFromAnywhere();

private:
    PrintServer m_server;
    bool m_printing = false;
};

void TestFrmViewPro::initTestCase()
{
    // Before anything asks for printers, so that every printer here is the
    // test server's.
    m_printing = m_server.start();
    test::ownSettings();
}

void TestFrmViewPro::theNavigatorFollowsEveryPageChange()
{
    // The last page's box is red: the page shown is the page moved to, even
    // one the size of the page before (pages 1 and 3 stand upright).
    Window m(3, Black, 0xFF0000);
    QCOMPARE(m.at(2520, 1440), QColor(Qt::black)); // 360 twips in from the margins
    QTest::mouseClick(m("cmdLast"), Qt::LeftButton);
    QVERIFY(m.at(2520, 1440) != QColor(Qt::black));
    QTest::mouseClick(m("cmdFirst"), Qt::LeftButton);
    QCOMPARE(test::steps(m.w.get()), QStringLiteral("NL"));
    QTest::mouseClick(m("cmdNext"), Qt::LeftButton);
    QCOMPARE(m.page(), QStringLiteral("Page 2 of 3"));
    QCOMPARE(test::steps(m.w.get()), QStringLiteral("FPNL"));
    // Every control has a name in words; the view's says the page shown.
    QCOMPARE(test::namelessControls(m.w.get()), QStringList());
    QCOMPARE(QAccessible::queryAccessibleInterface(m("vp"))->text(QAccessible::Name),
             QStringLiteral("Page preview, page 2 of 3"));
    QTest::mouseClick(m("cmdLast"), Qt::LeftButton);
    QTest::mouseClick(m("cmdNext"), Qt::LeftButton); // greyed
    QCOMPARE(m.page(), QStringLiteral("Page 3 of 3"));
    QCOMPARE(test::steps(m.w.get()), QStringLiteral("FP"));
    QTest::mouseClick(m.vp().viewport(), Qt::LeftButton);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown); // beyond the end
    QCOMPARE(m.page(), QStringLiteral("Page 3 of 3"));
    // Every control stands whole in its place, none over another.
    const QStringList faults = test::layoutFaults(m.w.get());
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    QVERIFY(test::looksAsKept(m.w->grab().toImage(), QStringLiteral("preview-page-3-of-3")));
    Window one(1);
    QVERIFY(one.w->isModal()); // the report it shows stands still while it is open
    QCOMPARE(one.page(), QStringLiteral("Page 1 of 1"));
    QVERIFY(!one("txtPage")->isEnabled() && one("picVCR")->isHidden());
    QTest::keyClick(one.w.get(), Qt::Key_Escape);
    QVERIFY(!one.w->isVisible());
}

void TestFrmViewPro::fitsHeightFirstThenWidthAndShowsThePageAtItsZoom()
{
    Window m(1);
    auto *fit = static_cast<QPushButton *>(m("cmdFit"));
    QCOMPARE(fit->text(), QStringLiteral("Fit Width"));
    // The whole page shows, nearly as tall as the view, in a maximized
    // window and in a wide low one.
    const auto wholePage = [&m] {
        const QRect page = m.vp().pageRect();
        return page.top() >= 0 && page.bottom() < m.vp().viewport()->height() &&
               m.vp().verticalScrollBar()->maximum() == 0 &&
               page.height() >= m.vp().height() * 9 / 10;
    };
    QVERIFY(wholePage());
    // The page has the focus, for its keys.
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(&m.vp()));
    QVERIFY(std::abs(m.vp().pageRect().center().x() - m.vp().viewport()->width() / 2) <= 1);
    QCOMPARE(m.box("txtZoom")->text().toDouble(), std::nearbyint(m.vp().Zoom()));
    QTest::mouseClick(fit, Qt::LeftButton);
    QCOMPARE(fit->text(), QStringLiteral("Fit Height"));
    QCOMPARE(fit->toolTip(), QStringLiteral("Adjust Zoom to Height of Page"));
    QTRY_VERIFY(std::abs(m.vp().pageRect().width() - (m.vp().viewport()->width() - 24)) <= 2);
    // The fitted page leaves room for the bar it needs, and needs no other.
    QVERIFY(m.vp().verticalScrollBar()->maximum() > 0);
    QCOMPARE(m.vp().horizontalScrollBar()->maximum(), 0);
    m.w->setWindowState(Qt::WindowNoState);
    m.w->resize(1280, 500);
    QTRY_COMPARE(m.w->size(), QSize(1280, 500));
    QTest::mouseClick(fit, Qt::LeftButton);
    QCOMPARE(fit->text(), QStringLiteral("Fit Width"));
    QVERIFY(wholePage());
    QTest::mouseClick(fit, Qt::LeftButton);
    // A notch of the wheel scrolls as many lines of text as the desktop says.
    const int before = m.vp().verticalScrollBar()->value();
    QWheelEvent notch(QPointF(50, 50), m.vp().viewport()->mapToGlobal(QPointF(50, 50)), {},
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QVERIFY(m.repaints([&] { QApplication::sendEvent(m.vp().viewport(), &notch); }));
    QCOMPARE(m.vp().verticalScrollBar()->value() - before,
             QApplication::wheelScrollLines() * m.vp().fontMetrics().lineSpacing());
    QVERIFY(m.vp().verticalScrollBar()->value() - before >= 36);
    // The box lies 360 twips in from the margins, the paper beside it.
    QVERIFY(qGray(m.at(2500, 1400).rgb()) < 64 && qGray(m.at(1000, 1400).rgb()) > 200);
    // Small, the page stands in the middle of the view, down as across.
    m.box("txtZoom")->setFocus();
    m.box("txtZoom")->selectAll();
    QTest::keyClicks(m.box("txtZoom"), QStringLiteral("10"));
    QTest::keyClick(m.box("txtZoom"), Qt::Key_Return);
    QVERIFY(std::abs(m.vp().pageRect().center().y() - m.vp().viewport()->height() / 2) <= 1);
}

void TestFrmViewPro::theZoomBoxAndItsArrowsTakeWholeNumbersFrom10To400()
{
    Window m(1);
    const auto arrows = m("udZoom")->findChildren<QToolButton *>();
    QToolButton *up = arrows[0]->arrowType() == Qt::UpArrow ? arrows[0] : arrows[1];
    QToolButton *down = up == arrows[0] ? arrows[1] : arrows[0];
    // No number in the box: a step from the zoom shown (100).
    for (const auto &[typed, arrow, result] : {std::tuple{"abc", up, "101"},
                                               {"250", up, "251"},
                                               {"400", up, "400"},
                                               {"2147483647", up, "400"},
                                               {"-2147483648", down, "100"},
                                               {"100", down, "100"}}) {
        m.box("txtZoom")->setText(QString::fromLatin1(typed));
        QTest::mouseClick(arrow, Qt::LeftButton);
        QCOMPARE(m.box("txtZoom")->text(), QString::fromLatin1(result));
        QCOMPARE(m.vp().Zoom(), m.box("txtZoom")->text().toDouble());
    }
    QLineEdit *box = m.box("txtZoom");
    for (const char *typed : {"250", "abc", "9", "401", "2.5"}) {
        const QString text = QString::fromLatin1(typed);
        const double before = m.vp().Zoom();
        const int beeps = m.beeps;
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Tab); // leaving the box applies it
        QCoreApplication::processEvents();
        const bool stands = text == QLatin1String("250");
        QCOMPARE(m.vp().Zoom(), stands ? 250.0 : before);
        QCOMPARE(m.beeps, beeps + (stands ? 0 : 1));
        // The page drawn again at the zoom: the box's right edge where it falls.
        QCOMPARE(m.at(3200, 1400), QColor(Qt::black));
        QCOMPARE(m.at(3280, 1400), QColor(Qt::white));
        if (!stands) { // refused: the zoom applied shown, selected, with the focus
            QCOMPARE(QApplication::focusWidget(), box);
            QCOMPARE(box->selectedText(), QString::number(before));
        }
    }
}

void TestFrmViewPro::printsCopiesAndSavesPages()
{
    Window m(3);
    QTemporaryDir dir;
    // Printing to a PDF file writes it as Save PDF does.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
    QVERIFY(m.vp().printTo(printer, 2, 3));
    QCOMPARE(pdfPages(printer.outputFileName()),
             QStringLiteral("2 842 x 595")); // page 2 is landscape
    // Printing to a file refuses what Save PDF refuses: the database (whose
    // overwriting the print dialog only asks to confirm) and devices.
    const QString kept = dir.filePath(QStringLiteral("kept.mdb"));
    QVERIFY(QFile::copy(QStringLiteral(TILEWRIGHT_TEST_DATABASE), kept));
    m.w->setDatabasePath(QFile::encodeName(kept).toStdString());
    const QString device = dir.filePath(QStringLiteral("full"));
    const bool root =
        ::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 7)) == 0;
    for (const QString &refused : {kept, kept + QStringLiteral("-journal"), device}) {
        if (refused == device && !root)
            continue;
        printer.setOutputFileName(refused);
        QString why;
        QVERIFY(!m.vp().printTo(printer, 1, 1, &why));
        QVERIFY2(why.startsWith(QStringLiteral("The report could not be printed to a file: "
                                               "cannot write")),
                 qPrintable(why));
    }
    QVERIFY(!root || !QFileInfo(device).isFile());
    QVERIFY(test::stillADatabase(kept));
    QVERIFY(!QFile::exists(kept + QStringLiteral("-journal")));
    // Clip: the page shown, as an image and as SVG.
    QTest::mouseClick(m("cmdNext"), Qt::LeftButton);
    QTest::mouseClick(m("cmdClip"), Qt::LeftButton);
    const QMimeData *copied = QGuiApplication::clipboard()->mimeData();
    QVERIFY(copied && copied->hasImage() && copied->hasFormat(QStringLiteral("image/svg+xml")));
    QVERIFY(
        copied->data(QStringLiteral("image/svg+xml")).contains("<title>Tilewright page 2</title>"));
    const QImage image = qvariant_cast<QImage>(copied->imageData());
    QVERIFY(image.width() > image.height()); // page 2 is landscape
    // The drawing shows the page as the image does: its box where the box is.
    QImage drawn(image.size(), QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    QSvgRenderer(copied->data(QStringLiteral("image/svg+xml"))).render(&painter);
    painter.end();
    for (const QPoint at : {QPoint(image.width() * 2520 / 16838, image.height() * 1440 / 11906),
                            QPoint(image.width() / 2, image.height() / 2)})
        QCOMPARE(drawn.pixelColor(at), image.pixelColor(at));
    QTest::mouseClick(m("cmdLast"), Qt::LeftButton); // the last page copies too
    QTest::mouseClick(m("cmdClip"), Qt::LeftButton);
    const QImage last =
        qvariant_cast<QImage>(QGuiApplication::clipboard()->mimeData()->imageData());
    QVERIFY(last.height() > last.width());
    // Save PDF: never over the database (by name or link), which is said and
    // the dialog asked again; a failure is said; a cancel does nothing. The
    // dialog proposes the document's name, first in the user's folder of
    // documents (not the folder the program started in), then in the folder
    // last saved to; the PDF carries the name as its title.
    const QString name = QStringLiteral("Pentominoes 10 x 6, 1 to 3");
    m.w->setDocumentName(name);
    const QString database = dir.filePath(QStringLiteral("Solutions.mdb"));
    QVERIFY(QFile::copy(QStringLiteral(TILEWRIGHT_TEST_DATABASE), database));
    m.w->setDatabasePath(QFile::encodeName(database).toStdString());
    QVERIFY(QFile::link(database, dir.filePath(QStringLiteral("link.pdf"))));
    m.pdfAnswers = {database, dir.filePath(QStringLiteral("link.pdf")),
                    dir.filePath(QStringLiteral("sheet.pdf")),
                    QStringLiteral("/nonexistent-folder/sheet.pdf")};
    QTest::mouseClick(m("cmdPdf"), Qt::LeftButton);
    QCOMPARE(m.messages.size(), 2);
    QVERIFY(m.messages[0].contains(QStringLiteral("it is the solution database")));
    QVERIFY(pdfPages(dir.filePath(QStringLiteral("sheet.pdf"))).startsWith(QStringLiteral("3 ")));
    QCOMPARE(QFileInfo(m.pdfProposals.first()).fileName(), name + QStringLiteral(".pdf"));
    QVERIFY(QFileInfo(m.pdfProposals.first()).absolutePath() != QDir::currentPath());
    QCOMPARE(
        test::pdfInfo(dir.filePath(QStringLiteral("sheet.pdf")), QStringLiteral("Title: *(.*)\n"))
            .captured(1),
        name);
    QVERIFY(test::stillADatabase(database));
    QTest::mouseClick(m("cmdPdf"), Qt::LeftButton);
    QVERIFY(m.messages.last().startsWith(QStringLiteral("The PDF file could not be saved: cannot "
                                                        "write \"/nonexistent-folder/sheet.pdf\": "
                                                        "No such file or directory;")));
    QCOMPARE(m.pdfProposals.last(), dir.filePath(name + QStringLiteral(".pdf")));
    QTest::mouseClick(m("cmdPdf"), Qt::LeftButton); // cancelled
    QCOMPARE(m.messages.size(), 3);
}

void TestFrmViewPro::printsThroughTheDialogAndSaysWhyAPrinterRefused()
{
    if (!m_printing)
        QSKIP("cupsd is not installed");
    Window m(2);
    m.w->setDocumentName(QStringLiteral("Sheet, colour"));
    // In the dialog: Return prints on the printer it offers (the default),
    // Escape cancels, and the other printer is chosen from the list; the
    // job keeps its title whole.
    const auto press = [](Qt::Key key) {
        return [key](QWidget *) { QTest::keyClick(QApplication::focusWidget(), key); };
    };
    int lastOffered = 0; // the pages offered, should the user choose a range
    inDialog([&](QWidget *dialog) {
        lastOffered = dialog->findChild<QSpinBox *>(QStringLiteral("to"))->value();
        press(Qt::Key_Return)(dialog);
    });
    QTest::mouseClick(m("cmdPrint"), Qt::LeftButton);
    QCOMPARE(lastOffered, 2);
    const auto [options, file] = m_server.nextJob();
    QVERIFY(options.contains(QStringLiteral("title=Sheet, colour")));
    QCOMPARE(m.vp().JobTitle, QStringLiteral("Sheet, colour")); // the next print's, as told back
    QCOMPARE(pdfPages(file), QStringLiteral("2 595 x 842"));
    inDialog(press(Qt::Key_Return)); // again, with what the first left
    QTest::mouseClick(m("cmdPrint"), Qt::LeftButton);
    QVERIFY(m_server.nextJob().first.contains(QStringLiteral("title=Sheet, colour")));
    QVERIFY(m.messages.isEmpty());

    inDialog(press(Qt::Key_Escape));
    QTest::mouseClick(m("cmdPrint"), Qt::LeftButton);
    QCOMPARE(m.messages, QStringList{QStringLiteral("Printing has been aborted")});

    inDialog([](QWidget *dialog) {
        auto *printers = dialog->findChild<QComboBox *>(QStringLiteral("printers"));
        QTest::mouseClick(printers, Qt::LeftButton);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    QTest::mouseClick(m("cmdPrint"), Qt::LeftButton);
    // The server's reason comes in the user's language.
    QCOMPARE(m.messages.size(), 2);
    QVERIFY(m.messages[1].startsWith(QStringLiteral(
        "The report could not be printed: the printer \"tilewright-closed\" did not take the "
        "job: ")));
    QVERIFY(m.messages[1].endsWith(QStringLiteral(
        ". Check that the printer and the print server are ready, then print again.")));
    QVERIFY(!m.messages[1].contains(QStringLiteral("cannot be reached")));

    // A print server that went away is said to be out of reach.
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(QStringLiteral("tilewright-test"));
    m_server.stop();
    m_printing = false;
    QString why;
    QVERIFY(!m.vp().printTo(printer, 1, 1, &why));
    QVERIFY2(why.contains(QStringLiteral("did not take the job: the print server cannot be "
                                         "reached.")),
             qPrintable(why));
}

void TestFrmViewPro::aJobThePrintServerRefusesPartwayIsNotCalledPrinted()
{
    // A server that takes the job but not its file, larger than it allows:
    // large enough that the server stops reading it partway.
    PrintServer strict;
    if (!strict.start(1000))
        QSKIP("cupsd is not installed");
    Window m(300);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(QStringLiteral("tilewright-test"));
    QString why;
    const bool printed = m.vp().printTo(printer, 1, 300, &why);
    strict.stop();
    m_server.use();
    QVERIFY(!printed);
    QVERIFY2(why.contains(QStringLiteral("Request Entity Too Large")), qPrintable(why));
    QVERIFY(QDir(strict.dir.filePath(QStringLiteral("jobs"))).isEmpty());
}

void TestFrmViewPro::theKeyboardReachesEveryCommandFromAnywhere()
{
    Window m(3);
    const auto key = [](int k, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), modifiers);
    };
    // Pages from a button, or from the preview itself; the zoom box keeps
    // End for its cursor, and Enter there applies what it holds. The view
    // is painted again after each, without being asked.
    const auto repaints = [&](int k, Qt::KeyboardModifiers modifiers = {}) {
        return m.repaints([&] { key(k, modifiers); });
    };
    m("cmdClose")->setFocus(Qt::TabFocusReason);
    key(Qt::Key_PageDown);
    QVERIFY(repaints(Qt::Key_End));
    QCOMPARE(m.page(), QStringLiteral("Page 3 of 3"));
    key(Qt::Key_PageUp);
    QCOMPARE(m.page(), QStringLiteral("Page 2 of 3"));
    key(Qt::Key_PageDown);
    QTest::mouseClick(m.vp().viewport(), Qt::LeftButton);
    QVERIFY(repaints(Qt::Key_PageUp));
    QCOMPARE(m.page(), QStringLiteral("Page 2 of 3"));
    QVERIFY(repaints(Qt::Key_Home));
    QLineEdit *zoom = m.box("txtZoom");
    zoom->setFocus(Qt::TabFocusReason);
    key(Qt::Key_End);
    QCOMPARE(m.page(), QStringLiteral("Page 1 of 3"));
    zoom->selectAll();
    QTest::keyClicks(zoom, QStringLiteral("150"));
    QVERIFY(repaints(Qt::Key_Return));
    QCOMPARE(m.vp().Zoom(), 150.0);
    // Zoom steps with Ctrl and plus or minus, or Ctrl and a notch of the wheel.
    for (const auto &[k, percent] :
         {std::pair{Qt::Key_Plus, 200.0}, {Qt::Key_Minus, 150.0}, {Qt::Key_Minus, 125.0}}) {
        QVERIFY(repaints(k, Qt::ControlModifier));
        QCOMPARE(zoom->text(), QString::number(percent));
    }
    QWheelEvent wheel(QPointF(50, 50), m.vp().viewport()->mapToGlobal(QPointF(50, 50)), {},
                      QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QVERIFY(m.repaints([&] { QApplication::sendEvent(m.vp().viewport(), &wheel); }));
    QCOMPARE(m.vp().Zoom(), 150.0);
    // Copy, save and print.
    m("cmdClose")->setFocus(Qt::TabFocusReason);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    key(Qt::Key_C, Qt::ControlModifier);
    QVERIFY(QGuiApplication::clipboard()->mimeData()->hasImage());
    QTemporaryDir dir;
    m.pdfAnswers = {dir.filePath(QStringLiteral("keys.pdf"))};
    key(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(pdfPages(dir.filePath(QStringLiteral("keys.pdf"))).startsWith(QStringLiteral("3 ")));
    inDialog([](QWidget *dialog) { dialog->close(); }); // the print dialog, cancelled
    key(Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(m.messages, QStringList{QStringLiteral("Printing has been aborted")});
}

QTEST_MAIN(TestFrmViewPro)
#include "test_frmViewPro.moc"
