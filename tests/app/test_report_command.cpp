#include "ProgramRun.h"
#include "Table.h"
#include "app/Commands.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>

namespace {

using tw::test::pdfPages;

// The program's report command, or another command, run as a user would.
tw::test::Outcome report(const QStringList &arguments,
                         const QString &program = QStringLiteral(TILEWRIGHT_PROGRAM),
                         const QStringList &command = {QStringLiteral("--report")})
{
    return tw::test::runProgram(command + arguments, {}, program);
}

// A shell command line, byte for byte: its status and what it printed.
std::pair<int, QByteArray> shell(const QByteArray &command)
{
    FILE *pipe = ::popen((command + " 2>&1").constData(), "r");
    QByteArray output;
    char buffer[512];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    return {pipe ? WEXITSTATUS(::pclose(pipe)) : -1, output};
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(ReportCommand, WritesThePdfOrOnePageOfTheRange)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    auto r = report({"10 x 6", "1", "100", "--pdf", pdf});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QLatin1String("(1 page)")));
    EXPECT_EQ(pdfPages(pdf), QStringLiteral("1 595 x 842")); // A4 without a printer here
    r = report({"12x5", "1", "1", "--pdf", pdf, "--paper", "letter"});
    EXPECT_EQ(pdfPages(pdf), QStringLiteral("1 612 x 792"));
    // Bigger squares in landscape: trays 5 x 3 inches, two by two on a page.
    r = report({"0", "1", "100", "--pdf", pdf, "--side", "0.5", "--landscape", "--color"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(pdfPages(pdf), QStringLiteral("25 842 x 595"));
    const QString png = dir.filePath(QStringLiteral("page.png"));
    r = report({"8x8", "1", "2000", "--png-page", "2", png, "--dpi", "300"});
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains(QLatin1String("page 2 of 2")));
    EXPECT_EQ(QImage(png).width(), static_cast<int>(std::ceil(11900 * 300 / 1440.0)));
    // Letters and the safe palette reach the pages.
    const QString plain = dir.filePath(QStringLiteral("plain.png"));
    const QString safe = dir.filePath(QStringLiteral("safe.png"));
    report({"10x6", "1", "4", "--png-page", "1", plain, "--colour", "--side", "0.1"});
    r = report({"10x6", "1", "4", "--png-page", "1", safe, "--colour", "--side", "0.1", "--palette",
                "safe", "--letters"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QImage before(plain), after(safe);
    EXPECT_EQ(before.size(), after.size());
    EXPECT_NE(before, after);
}

// A row: its name, the command and its arguments, part of what it says.
class BadArguments : public testing::TestWithParam<std::vector<std::string>>
{
};

TEST_P(BadArguments, AreRefusedInOneLineWritingNothing)
{
    QStringList arguments;
    for (const std::string &word : tw::test::words(GetParam().at(1)))
        arguments << QString::fromStdString(word);
    const QStringList command{arguments.takeFirst()};
    QTemporaryDir dir;
    const QString database = QStringLiteral(TILEWRIGHT_TEST_DATABASE);
    const QByteArray before = contents(database);
    const QString link = dir.filePath(QStringLiteral("link.pdf"));
    QFile::link(database, link);
    const QString hard = dir.filePath(QStringLiteral("hard.pdf"));
    ::link(QFile::encodeName(database).constData(), QFile::encodeName(hard).constData());
    const QString device = dir.filePath(QStringLiteral("full"));
    if (arguments.contains(QStringLiteral("DEVICE")) &&
        ::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 7)) != 0)
        GTEST_SKIP() << "making a device node needs root";
    const QString pipe = dir.filePath(QStringLiteral("pipe"));
    ::mkfifo(QFile::encodeName(pipe).constData(), 0600);
    for (const auto &[stand, path] : {std::pair{"OUT", dir.filePath(QStringLiteral("out"))},
                                      {"DB", database},
                                      {"LINK", link},
                                      {"HARD", hard},
                                      {"FOLDER", dir.path()},
                                      {"DEVICE", device},
                                      {"PIPE", pipe}})
        arguments.replaceInStrings(QString::fromLatin1(stand), path);
    const auto r = report(arguments, QStringLiteral(TILEWRIGHT_PROGRAM), command);
    EXPECT_EQ(r.status, 2);
    const QStringList lines =
        r.err.split('\n', Qt::SkipEmptyParts).filter(QStringLiteral("tilewright:"));
    ASSERT_EQ(lines.size(), 1) << r.err.toStdString();
    EXPECT_TRUE(lines[0].contains(QString::fromStdString(GetParam().at(2))))
        << lines[0].toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("out"))));
    EXPECT_EQ(contents(database), before);
    for (const char *beside : {"-journal", "-wal", "-shm"})
        EXPECT_FALSE(QFile::exists(database + QLatin1String(beside)));
}

INSTANTIATE_TEST_SUITE_P(Table, BadArguments,
                         testing::ValuesIn(tw::test::tableRows("bad-arguments.txt")),
                         [](const auto &info) { return info.param[0]; });

// A run killed between writing its file and renaming it leaves its copy;
// the next run that writes there takes it away, and nothing of a run still
// going nor of the user's.
TEST(Outputs, TakeAwayTheCopiesAKilledRunLeft)
{
    QTemporaryDir dir;
    const QString live = QStringLiteral(".tilewright-%1-Ab12Cd").arg(::getpid());
    const QStringList kept = {
        live, QStringLiteral(".tilewright-notes"), QStringLiteral(".tilewright-my-notes"),
        QStringLiteral(".tilewright--Zz99Yy"), QStringLiteral("tilewright-999999999-Zz99Yy")};
    const QStringList left = {QStringLiteral(".tilewright-999999999-Zz99Yy"),
                              QStringLiteral(".tilewright-Old123")}; // an older version's
    for (const QString &name : kept + left + QStringList{QStringLiteral(".tilewright-New123")}) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.write("a copy of an output");
        file.flush();
        if (name != QLatin1String(".tilewright-New123")) // one that may still be written
            file.setFileTime(QDateTime::currentDateTime().addSecs(-7200),
                             QFileDevice::FileModificationTime);
    }
    const auto r =
        tw::test::runProgram({"--svg", "10x6", "2", dir.filePath(QStringLiteral("drawing.svg"))});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QStringList there = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    there.sort();
    QStringList expected =
        kept + QStringList{QStringLiteral("drawing.svg"), QStringLiteral(".tilewright-New123")};
    expected.sort();
    EXPECT_EQ(there.join(' ').toStdString(), expected.join(' ').toStdString());
}

// Every output, and the generator, on a disk that is full: the old file
// stays, the reason is said, nothing says it was written.
TEST(Outputs, AFullDiskKeepsTheOldFileAndSaysWhy)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out"));
    struct Row
    {
        const char *name;
        QStringList arguments;
        QString program = QStringLiteral(TILEWRIGHT_PROGRAM);
        int status = 2;
    };
    for (const Row &row :
         {Row{"a drawing", {"--svg", "10x6", "2", out}},
          Row{"a picture", {"--png", "10x6", "2", out}},
          Row{"a report's page", {"--report", "20x3", "1", "2", "--png-page", "1", out}},
          Row{"a small report", {"--report", "20x3", "1", "2", "--pdf", out}},
          Row{"the database", {"--board", "3", out}, QStringLiteral(TILEWRIGHT_SOLVE), 1}}) {
        SCOPED_TRACE(row.name);
        QFile::remove(out);
        auto r = tw::test::runProgram(row.arguments, {}, row.program);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        const QByteArray good = contents(out);
        ASSERT_GT(good.size(), 600);
        r = tw::test::runProgram(row.arguments, {}, row.program, tw::test::fileSizeLimit(600));
        EXPECT_EQ(r.status, row.status);
        EXPECT_FALSE(r.out.contains(QLatin1String("wrote"))) << r.out.toStdString();
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String("File too large"))) << r.err.toStdString();
        EXPECT_EQ(contents(out), good);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
}

// Names that are not valid text are used byte for byte: the folder named,
// not one whose name merely looks the same.
TEST(Outputs, NamesThatAreNotTextAreUsedByteForByte)
{
    QTemporaryDir dir;
    const QByteArray root = QFile::encodeName(dir.path());
    const QByteArray latin = root + "/lat\xe9", lookalike = root + "/lat\xef\xbf\xbd";
    ASSERT_EQ(::mkdir(latin.constData(), 0755), 0);
    ASSERT_EQ(::mkdir(lookalike.constData(), 0755), 0);
    const auto run = [](const QByteArray &arguments) {
        return shell("env -u DISPLAY '" + QFile::encodeName(QStringLiteral(TILEWRIGHT_PROGRAM)) +
                     "' " + arguments);
    };
    auto [status, output] = run("--svg 10x6 1 '" + latin + "/x.svg'");
    EXPECT_EQ(status, 0) << output.constData();
    EXPECT_EQ(output, "wrote " + latin + "/x.svg\n");
    EXPECT_EQ(::access((latin + "/x.svg").constData(), F_OK), 0);
    EXPECT_NE(::access((lookalike + "/x.svg").constData(), F_OK), 0);
    // A grid read from a file so named.
    std::tie(status, output) = run("--grid 15x4 7 > '" + latin + "/g\xe9.txt'");
    ASSERT_EQ(status, 0);
    std::tie(status, output) = run("--find '" + latin + "/g\xe9.txt'");
    EXPECT_EQ(output, "15 x 4 7\n");
    // Names Qt cannot take apart are removed as they are.
    EXPECT_EQ(std::system(("rm -rf '" + latin + "' '" + lookalike + "'").constData()), 0);
}

TEST(Commands, WhatCannotBeReadIsSaidSo)
{
    QProcess p;
    p.setStandardInputFile(QStringLiteral("/"));
    p.start(QStringLiteral(TILEWRIGHT_PROGRAM), {QStringLiteral("--find"), QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_EQ(p.readAllStandardError(),
              "tilewright: cannot read \"the standard input\": it is a folder; name a file.\n");
}

TEST(Window, WithoutADisplayItSaysSoInOneLine)
{
    const auto r = tw::test::runProgram({});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.startsWith(QLatin1String("tilewright: the window needs a display")));
    EXPECT_TRUE(r.err.contains(QLatin1String("tilewright --help"))) << r.err.toStdString();
    // Commands that only print need no display, even where Qt is told to use one.
    for (const QStringList &text :
         {QStringList{"--grid", "10x6", "1"}, QStringList{"--practice", "10x6", "1", "--text"}})
        EXPECT_EQ(tw::test::runProgram(text, {}, TILEWRIGHT_PROGRAM, {}, "xcb").status, 0)
            << text[0].toStdString();
}

// The limit a refusal names is itself accepted, for a cheat sheet and a
// practice sheet, either way up: a sheet of it is written.
TEST(ReportCommand, TheSideLimitShownIsAccepted)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    for (const QString command : {"--report", "--practice"})
        for (const QString turned : {"--colour", "--landscape"})
            for (const QString tray : {"10x6", "12x5", "15x4", "20x3", "8x8"}) {
                const QStringList range = command == QLatin1String("--report")
                                              ? QStringList{tray, "1", "1"}
                                              : QStringList{tray, "2"};
                const auto run = [&](const QString &side) {
                    return report(range + QStringList{"--pdf", pdf, turned, "--side", side},
                                  QStringLiteral(TILEWRIGHT_PROGRAM), {command});
                };
                auto r = run("9");
                const QString limit = QRegularExpression(QStringLiteral("at most ([0-9.]+)"))
                                          .match(r.err)
                                          .captured(1);
                ASSERT_FALSE(limit.isEmpty()) << r.err.toStdString();
                r = run(limit);
                const std::string which = (command + ' ' + turned + ' ' + tray).toStdString();
                EXPECT_EQ(r.status, 0) << which << ": " << r.err.toStdString();
                EXPECT_TRUE(r.status != 0 || QFile::exists(pdf)) << which;
                QFile::remove(pdf);
            }
}

} // namespace
