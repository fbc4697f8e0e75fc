#include "app/Program.h"
#include "pieces/PieceTables.h"
#include "preview/PreviewDocument.h"
#include "report/Report.h"
#include "solutions/Boards.h"
#include "solutions/Decoding.h"

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace tw;

namespace {

struct Run
{
    int status;
    QString out, err;
};

Run run(const QStringList &arguments, const QString &program = QStringLiteral(TILEWRIGHT_PROGRAM))
{
    QProcess p;
    p.start(program, QStringList{QStringLiteral("--report")} + arguments);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QString pdfPages(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral(PDFINFO), {path});
    p.waitForFinished();
    const auto match =
        QRegularExpression(QStringLiteral("Pages: +(\\d+)[\\s\\S]*Page size: +([\\d.]+ x [\\d.]+)"))
            .match(QString::fromUtf8(p.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1) + QLatin1Char(' ') + match.captured(2) : QString();
}

} // namespace

class TestReportCommand : public QObject
{
    Q_OBJECT

private slots:
    void writesAPdfOfTheRange();
    void writesOnePageAsAnImage();
    void aRenderedPageShowsTheTrayWhereItBelongs();
    void refusesBadArguments_data();
    void refusesBadArguments();
    void refusesAMissingDatabase();
    void theSideLimitShownIsAccepted();
    void findsTheDatabaseInAFolderNamedInAnyEncoding();
    void startUpFormsThePathByPlainConcatenation();
};

void TestReportCommand::writesAPdfOfTheRange()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    Run r = run({QStringLiteral("10x6"), QStringLiteral("1"), QStringLiteral("100"),
                 QStringLiteral("--pdf"), pdf});
    QCOMPARE(r.status, 0);
    QVERIFY(r.err.isEmpty() || !r.err.contains(QLatin1String("tilewright:")));
    QCOMPARE(pdfPages(pdf), QStringLiteral("1 595 x 842")); // A4 without a printer here
    // Bigger squares in landscape need more pages.
    r = run({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("100"),
             QStringLiteral("--pdf"), pdf, QStringLiteral("--side"), QStringLiteral("0.5"),
             QStringLiteral("--landscape"), QStringLiteral("--color")});
    QCOMPARE(r.status, 0);
    // 0.5 inch: trays 5 x 3 inches; two columns and two rows on A4 landscape.
    QCOMPARE(pdfPages(pdf), QStringLiteral("25 842 x 595"));
}

void TestReportCommand::writesOnePageAsAnImage()
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("page.png"));
    const Run r = run({QStringLiteral("8x8"), QStringLiteral("1"), QStringLiteral("2000"),
                       QStringLiteral("--png-page"), QStringLiteral("2"), png});
    QCOMPARE(r.status, 0);
    QVERIFY(r.out.contains(QLatin1String("page 2 of 2")));
    const QImage image(png);
    QCOMPARE(image.width(), static_cast<int>(std::ceil(11900 * 150 / 1440.0)));
}

void TestReportCommand::aRenderedPageShowsTheTrayWhereItBelongs()
{
    // Solution 1 of the 10 x 6 tray in colour, half-inch squares, rendered at
    // 72 dpi: 20 twips a pixel, a square 36 pixels.
    Program program(
        QFile::encodeName(QFileInfo(QStringLiteral(TILEWRIGHT_TEST_DATABASE)).absolutePath())
            .toStdString());
    QVERIFY(!program.Main(false));
    SharedState &s = program.state();
    s.OutputMode = 1;
    SetBoardLayout(s, 0);
    BuildBoardShapes(s);
    s.UnitSize = 720;
    s.DoubleUnit = 1440;
    s.RenderMode = 0;
    QVERIFY(!BuildReport(s, {1, 1, false}));
    const QImage page = program.preview().renderImage(1, 72);
    const auto at = [&](double x, double y) { // twips inside the margins
        return page.pixelColor(static_cast<int>((360 + x) / 20), static_cast<int>((360 + y) / 20));
    };
    // Solution 1's record, as the database tests pin it.
    const auto tiling =
        tileRecord(0, SolutionRecord{0, 2, {22, 4, 2, 54, 62, 42, 9, 11, 16, 23, 36}});
    QVERIFY(tiling);
    for (const Placement &p : tiling->placements)
        for (int k = 0; k < p.cellCount; ++k) {
            const int cell = p.cells[static_cast<std::size_t>(k)];
            const Colour c = orientation(p.shape).Color;
            QCOMPARE(at(cell / 7 * 720 + 360, 500 + cell % 7 * 720 + 360),
                     QColor(redOf(c), greenOf(c), blueOf(c)));
        }
    // The frame: black along the tray's right and bottom edges, white beyond.
    QCOMPARE(at(7200, 500 + 1000), QColor(Qt::black));
    QCOMPARE(at(3000, 500 + 4320), QColor(Qt::black));
    QCOMPARE(at(7200 + 200, 500 + 1000), QColor(Qt::white));
    QCOMPARE(at(3000, 500 + 4320 + 100), QColor(Qt::white)); // above the caption
}

void TestReportCommand::refusesBadArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("reason");
    const QString out = QStringLiteral("OUT");
    const auto row = [&](const char *name, QStringList args, const char *reason) {
        QTest::newRow(name) << args << QString::fromLatin1(reason);
    };
    row("unknown tray", {"9x9", "1", "2", "--pdf", out}, "there is no tray");
    row("tray number 5", {"5", "1", "2", "--pdf", out}, "there is no tray");
    row("start 0", {"0", "0", "2", "--pdf", out}, "the range must be");
    row("reversed", {"0", "5", "3", "--pdf", out}, "the range must be");
    row("beyond the count", {"20x3", "1", "3", "--pdf", out}, "from 1 to 2");
    row("not numbers", {"0", "a", "b", "--pdf", out}, "the range must be");
    row("side 0", {"0", "1", "2", "--pdf", out, "--side", "0"}, "the side length");
    row("side negative", {"0", "1", "2", "--pdf", out, "--side", "-1"}, "the side length");
    row("side too large", {"0", "1", "2", "--pdf", out, "--side", "9"}, "the side length");
    row("side words", {"0", "1", "2", "--pdf", out, "--side", "big"}, "the side length");
    row("no output", {"0", "1", "2"}, "give either");
    row("both outputs", {"0", "1", "2", "--pdf", out, "--png-page", "1", out}, "give either");
    row("page beyond", {"0", "1", "2", "--png-page", "3", out}, "the report has 1 pages");
    row("unknown option", {"0", "1", "2", "--pdf", out, "--huge"}, "unknown or incomplete");
    row("too few", {"0", "1"}, "usage:");
    row("unwritable", {"0", "1", "2", "--pdf", "/nonexistent-folder/x.pdf"}, "Cannot write");
    // Nothing the program writes may replace the database it reads.
    row("pdf over the database", {"0", "1", "1", "--pdf", "DB"}, "is the solution database");
    row("png over the database", {"0", "1", "1", "--png-page", "1", "DB"},
        "is the solution database");
    row("through a link", {"0", "1", "1", "--pdf", "LINK"}, "is the solution database");
    row("onto a folder", {"0", "1", "1", "--pdf", "FOLDER"}, "is a folder");
    row("onto a device", {"0", "1", "1", "--pdf", "DEVICE"}, "is not a regular file");
}

void TestReportCommand::refusesBadArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString database = QStringLiteral(TILEWRIGHT_TEST_DATABASE);
    const QByteArray before = [&] {
        QFile f(database);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    const QString link = dir.filePath(QStringLiteral("link.pdf"));
    QVERIFY(QFile::link(database, link));
    const QString device = dir.filePath(QStringLiteral("full"));
    if (arguments.contains(QStringLiteral("DEVICE")) &&
        ::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 7)) != 0)
        QSKIP("making a device node needs root");
    arguments.replaceInStrings(QStringLiteral("OUT"), dir.filePath(QStringLiteral("out")));
    arguments.replaceInStrings(QStringLiteral("DB"), database);
    arguments.replaceInStrings(QStringLiteral("LINK"), link);
    arguments.replaceInStrings(QStringLiteral("FOLDER"), dir.path());
    arguments.replaceInStrings(QStringLiteral("DEVICE"), device);
    const Run r = run(arguments);
    QCOMPARE(r.status, 2);
    const QStringList lines =
        r.err.split('\n', Qt::SkipEmptyParts).filter(QStringLiteral("tilewright:"));
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines[0].contains(reason), qPrintable(lines[0]));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("out"))));
    QFile after(database);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QVERIFY(after.readAll() == before);
    QVERIFY(QFileInfo(device).isFile() == false);
}

void TestReportCommand::refusesAMissingDatabase()
{
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("tilewright"));
    QVERIFY(QFile::copy(QStringLiteral(TILEWRIGHT_PROGRAM), copy));
    QFile::setPermissions(copy, QFile::ExeOwner | QFile::ReadOwner);
    const Run r = run({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                       QStringLiteral("--pdf"), dir.filePath(QStringLiteral("x.pdf"))},
                      copy);
    QCOMPARE(r.status, 2);
    QVERIFY2(r.err.contains(QLatin1String("Solutions.mdb\" does not exist")), qPrintable(r.err));
    QVERIFY(r.err.contains(QLatin1String("make run")));
}

void TestReportCommand::theSideLimitShownIsAccepted()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    for (const char *tray : {"10x6", "12x5", "15x4", "20x3", "8x8"}) {
        Run r = run({QString::fromLatin1(tray), QStringLiteral("1"), QStringLiteral("1"),
                     QStringLiteral("--pdf"), pdf, QStringLiteral("--side"), QStringLiteral("9")});
        const auto limit =
            QRegularExpression(QStringLiteral("at most ([0-9.]+)")).match(r.err).captured(1);
        QVERIFY2(!limit.isEmpty(), qPrintable(r.err));
        r = run({QString::fromLatin1(tray), QStringLiteral("1"), QStringLiteral("1"),
                 QStringLiteral("--pdf"), pdf, QStringLiteral("--side"), limit});
        QVERIFY2(r.status == 0, qPrintable(QString::fromLatin1(tray) + ": " + r.err));
    }
}

void TestReportCommand::findsTheDatabaseInAFolderNamedInAnyEncoding()
{
    // A folder name with a Latin-1 byte, which is not valid UTF-8.
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path()) + "/caf\xe9";
    QVERIFY(::mkdir(folder.constData(), 0755) == 0);
    const QByteArray program = folder + "/tilewright";
    const auto copy = [](const QByteArray &from, const QByteArray &to) {
        return std::system(("cp '" + from + "' '" + to + "'").constData()) == 0;
    };
    QVERIFY(copy(QFile::encodeName(QStringLiteral(TILEWRIGHT_PROGRAM)), program));
    const auto report = [&] {
        const QByteArray command = "'" + program + "' --report 0 1 1 --pdf '" +
                                   QFile::encodeName(dir.path()) + "/x.pdf' 2>&1";
        FILE *pipe = ::popen(command.constData(), "r");
        QByteArray output;
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe))
            output += buffer;
        return std::pair{WEXITSTATUS(::pclose(pipe)), output};
    };
    auto [status, output] = report();
    QCOMPARE(status, 2);
    QVERIFY2(output.contains(folder + "/Solutions.mdb\" does not exist"), output.constData());
    QVERIFY(copy(QFile::encodeName(QStringLiteral(TILEWRIGHT_TEST_DATABASE)),
                 folder + "/Solutions.mdb"));
    std::tie(status, output) = report();
    QVERIFY2(status == 0, output.constData());
}

void TestReportCommand::startUpFormsThePathByPlainConcatenation()
{
    QCOMPARE(databasePath("/opt/tw"), std::string("/opt/tw/Solutions.mdb"));
    QCOMPARE(databasePath("/opt/tw/"), std::string("/opt/tw//Solutions.mdb"));
    QTemporaryDir dir;
    Program program(dir.path().toStdString());
    const auto error = program.Main(false);
    QVERIFY(error);
    QCOMPARE(error->fault, DatabaseFault::FileMissing);
    QVERIFY(!program.mainWindow());
    QCOMPARE(program.state().DbPath, databasePath(dir.path().toStdString()));
    QCOMPARE(program.state().ConnectString, readOnlyUri(program.state().DbPath));
}

QTEST_MAIN(TestReportCommand)
#include "test_report_command.moc"
