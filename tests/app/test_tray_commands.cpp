#include "ProgramRun.h"
#include "Table.h"
#include "solutions/Library.h"
#include "solutions/Region.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <csignal>
#include <random>

namespace tw {
namespace {

const char *const CentreHole =
    "########\n########\n########\n###..###\n###..###\n########\n########\n########\n";
const char *const FourHoles =
    "########\n########\n##.##.##\n########\n########\n##.##.##\n########\n########\n";

// Each test a library of its own, found where the program finds it.
class TrayCommands : public testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("XDG_DATA_HOME", m_home.path().toUtf8());
        write("centre.txt", CentreHole);
        write("four.txt", FourHoles);
    }

    QString file(const QString &name) const { return m_home.filePath(name); }
    QString library() const { return m_home.filePath("Tilewright/Tilewright/Trays.sqlite"); }

    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile f(file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    static test::Outcome run(const QStringList &arguments, const std::function<void()> &setUp = {})
    {
        return test::runProgram(arguments, {}, QStringLiteral(TILEWRIGHT_PROGRAM), setUp);
    }

    // What --trays lists, which must be all it says.
    static std::string listed()
    {
        const auto trays = run({"--trays"});
        EXPECT_EQ(trays.status, 0);
        EXPECT_EQ(trays.err.toStdString(), "");
        return trays.out.toStdString();
    }

    // Runs sql on the library, as another program would.
    void change(const char *sql) const
    {
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(library().toUtf8().constData(), &db), SQLITE_OK);
        char *error = nullptr;
        EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << error;
        sqlite3_free(error);
        sqlite3_close(db);
    }

    // The last record of the tray "Four" replaced by another image of its
    // tiling, turned a half: the same tiling, but not the image that is kept.
    void turnLastRecord() const
    {
        const KeptTray four = readLibrary(library().toStdString()).trays.at(1);
        std::vector<CellLetters> solutions = four.solutions;
        const auto images = cellImages(four.tray);
        const std::size_t half = static_cast<std::size_t>(
            std::find(four.tray.symmetries().begin(), four.tray.symmetries().end(), 3) -
            four.tray.symmetries().begin());
        CellLetters turned = solutions.back();
        for (std::size_t k = 0; k < turned.size(); ++k)
            turned[static_cast<std::size_t>(images[half][k])] = solutions.back()[k];
        ASSERT_NE(turned, solutions.back());
        solutions.back() = turned;
        ASSERT_FALSE(deleteTray(library().toStdString(), "four"));
        ASSERT_FALSE(keepTray(library().toStdString(), {"Four", "four"}, four.tray, solutions));
    }

    QTemporaryDir m_home;
};

const std::string CentreLine = "\"Centre hole\": 60 cells, 8 symmetries, 65 solutions\n";

TEST_F(TrayCommands, KeepListExportAndDeleteATray)
{
    const auto saved = run({"--new-tray", file("centre.txt"), "--name", "Centre hole"});
    EXPECT_EQ(saved.status, 0) << saved.err.toStdString();
    EXPECT_EQ(saved.out, "Saved \"Centre hole\": 65 solutions (60 cells, 8 symmetries)\n");
    EXPECT_EQ(saved.err, "");
    const auto unnamed = run({"--new-tray", file("four.txt")});
    EXPECT_EQ(unnamed.out, "Saved \"My tray 1\": 21 solutions (60 cells, 8 symmetries)\n");
    EXPECT_EQ(listed(), CentreLine + "\"My tray 1\": 60 cells, 8 symmetries, 21 solutions\n");

    // Exported, it reads back as the same region, whichever way it is
    // turned: kept once.
    EXPECT_EQ(run({"--export-tray", "centre HOLE", file("copy.txt")}).status, 0);
    QFile copy(file("copy.txt"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), QByteArray(CentreHole));
    write("strip.txt", "####################\n####################\n####################\n");
    write("short.txt", "#####\n");
    write("apart.txt", QByteArray(CentreHole) + "\n#\n");
    write("nowhere.txt", "####################\n\n####################\n\n####################\n");
    write("split.txt", QByteArray("##########\n").repeated(5) + "\n#######.###\n");

    for (const auto &row : test::tableRows("tray-refusals.txt")) {
        SCOPED_TRACE(row[0]);
        QStringList arguments;
        for (const QString &word : QString::fromStdString(row[1]).split(QStringLiteral(", ")))
            arguments << (word.startsWith('@') ? file(word.mid(1)) : word);
        const auto outcome = run(arguments);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_TRUE(outcome.err.contains(QString::fromStdString(row.at(2))))
            << outcome.err.toStdString();
        EXPECT_EQ(outcome.err.count('\n'), 1) << "one line";
        EXPECT_EQ(outcome.out, "");
    }

    // Any Unicode name, its case folded beyond ASCII.
    EXPECT_EQ(run({"--new-tray", file("apart.txt")}).status, 2);
    EXPECT_EQ(run({"--delete-tray", "my tray 1"}).status, 0);
    const QString greek = QString::fromUtf8("Σχήμα ΣΑΣ");
    EXPECT_EQ(run({"--new-tray", file("four.txt"), "--name", greek}).status, 0);
    EXPECT_TRUE(run({"--new-tray", file("strip.txt"), "--name", greek.toLower()})
                    .err.contains("is kept already"));
    EXPECT_EQ(listed(), CentreLine + "\"" + greek.toStdString() +
                            "\": 60 cells, 8 symmetries, 21 solutions\n");
}

// A write that fails leaves what was kept, and says why and what to do.
TEST_F(TrayCommands, AFailedWriteLeavesTheLibraryAsItWas)
{
    ASSERT_EQ(run({"--new-tray", file("centre.txt"), "--name", "Centre hole"}).status, 0);
    const qint64 size = QFileInfo(library()).size();

    const auto full = run({"--new-tray", file("four.txt")}, test::fileSizeLimit(size));
    EXPECT_EQ(full.status, 2);
    EXPECT_TRUE(full.err.contains("could not grow (") && full.err.contains("); free some space"))
        << full.err.toStdString();
    EXPECT_TRUE(full.err.contains("nothing was kept"));

    // Another program writing holds the library: the command waits a
    // moment, then gives up.
    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open(library().toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    const auto locked = run({"--new-tray", file("four.txt")});
    EXPECT_EQ(locked.status, 2);
    EXPECT_TRUE(locked.err.contains("is in use by another copy of Tilewright; close it and try "
                                    "again"))
        << locked.err.toStdString();
    const auto deleting = run({"--delete-tray", "Centre hole"});
    EXPECT_TRUE(deleting.err.contains("in use")) << deleting.err.toStdString();
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    // Held whole, the library cannot even be read for a while.
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    const auto unread = run({"--trays"});
    EXPECT_EQ(unread.status, 0);
    EXPECT_TRUE(unread.err.contains("is locked by another program; close it"))
        << unread.err.toStdString();
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    // Held only a moment, it is read once let go.
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    QProcess waiting;
    waiting.start(TILEWRIGHT_PROGRAM, {"--trays"});
    QThread::msleep(300);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    ASSERT_TRUE(waiting.waitForFinished(10000));
    EXPECT_EQ(waiting.readAllStandardOutput().toStdString(), CentreLine);
    EXPECT_EQ(waiting.readAllStandardError().toStdString(), "");
    sqlite3_close(other);

    EXPECT_EQ(listed(), CentreLine);
    const auto later = run({"--new-tray", file("four.txt")});
    EXPECT_EQ(later.status, 0) << later.err.toStdString();
}

// Two copies keeping trays at once both keep theirs; a copy killed at any
// moment leaves the library whole, holding its tray or not.
TEST_F(TrayCommands, TwoCopiesAtOnceOrAKilledOneLeaveTheLibraryWhole)
{
    QProcess first, second;
    first.start(TILEWRIGHT_PROGRAM, {"--new-tray", file("centre.txt"), "--name", "A"});
    second.start(TILEWRIGHT_PROGRAM, {"--new-tray", file("four.txt"), "--name", "B"});
    ASSERT_TRUE(first.waitForFinished(30000) && second.waitForFinished(30000));
    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    const std::string both = listed();
    EXPECT_TRUE(both.find("\"A\": 60 cells") != both.npos &&
                both.find("\"B\": 60 cells") != both.npos);

    // A copy stopped part way through writing its change leaves the
    // library half-written and a journal to undo it, which the next
    // reader plays back.
    {
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(library().toUtf8().constData(), &db), SQLITE_OK);
        sqlite3_exec(db,
                     "PRAGMA cache_size = 1; BEGIN IMMEDIATE; DELETE FROM Trays; "
                     "INSERT INTO Trays VALUES(9, 'D', 'd', '#', 1, zeroblob(200000))",
                     nullptr, nullptr, nullptr);
        for (const QString suffix : {"", "-journal"})
            ASSERT_TRUE(QFile::copy(library() + suffix, file("stopped" + suffix)));
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        for (const QString suffix : {"", "-journal"}) {
            QFile::remove(library() + suffix);
            ASSERT_TRUE(QFile::rename(file("stopped" + suffix), library() + suffix));
        }
    }
    EXPECT_EQ(listed(), both);

    write("corners.txt", ".######.\n" + QByteArray("########\n").repeated(6) + ".######.\n");
    std::mt19937 random(7);
    int killed = 0;
    for (int round = 0; round < 12; ++round) {
        QProcess p;
        p.start(TILEWRIGHT_PROGRAM, {"--new-tray", file("corners.txt"), "--name", "C"});
        ASSERT_TRUE(p.waitForStarted());
        QThread::msleep(std::uniform_int_distribution<int>(5, 400)(random));
        ::kill(static_cast<pid_t>(p.processId()), SIGKILL);
        p.waitForFinished();
        killed += p.exitStatus() == QProcess::CrashExit;
        const std::string now = listed();
        EXPECT_TRUE(now == both || now == both + "\"C\": 60 cells, 8 symmetries, 2,170 solutions\n")
            << now;
        if (now != both) {
            EXPECT_EQ(run({"--delete-tray", "C"}).status, 0);
        }
    }
    EXPECT_GT(killed, 0);
}

// A library that cannot be used whole is named with what to do; the
// trays that pass their checks are still there.
TEST_F(TrayCommands, ADamagedLibraryIsReportedAndItsSoundTraysKept)
{
    for (const auto &row : test::tableRows("damaged-libraries.txt")) {
        SCOPED_TRACE(row[0]);
        QFile::remove(library());
        ASSERT_EQ(run({"--new-tray", file("centre.txt"), "--name", "Centre hole"}).status, 0);
        ASSERT_EQ(run({"--new-tray", file("four.txt"), "--name", "Four"}).status, 0);
        if (row[1] == "write 4096 bytes of x") {
            write("Tilewright/Tilewright/Trays.sqlite", QByteArray(4096, 'x'));
        } else if (row[1] == "turn the last record") {
            turnLastRecord();
        } else if (row[1] == "a folder") {
            QFile::remove(library());
            QDir().mkpath(library());
        } else {
            change(row[1].c_str());
        }
        const auto trays = run({"--trays"});
        EXPECT_EQ(trays.status, 0);
        EXPECT_TRUE(trays.err.contains(library()) &&
                    trays.err.contains(QString::fromStdString(row.at(2))))
            << trays.err.toStdString();
        EXPECT_EQ(trays.err.count('\n'), 1);
        EXPECT_EQ(trays.out.toStdString(), row.at(3) == "Centre hole" ? CentreLine : std::string());
    }
}

// A kept tray goes wherever a built-in one does: its solutions shown,
// found, printed, counted and made into puzzles, by its name.
TEST_F(TrayCommands, EveryCommandTakesAKeptTray)
{
    ASSERT_EQ(run({"--new-tray", file("centre.txt"), "--name", "Centre hole"}).status, 0);
    const auto grid = run({"--grid", "centre hole", "65"});
    ASSERT_EQ(grid.status, 0) << grid.err.toStdString();
    const QStringList rows = grid.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 8);
    EXPECT_EQ(rows[3].mid(3, 2), "  ") << "the hole";
    // Turned a quarter, the grid is still solution 65.
    QString turned;
    for (int c = 0; c < 8; ++c) {
        for (int r = 7; r >= 0; --r)
            turned += rows[r].leftJustified(8).at(c);
        turned += '\n';
    }
    write("turned.txt", turned.toUtf8());
    EXPECT_EQ(run({"--find", file("turned.txt")}).out, "Centre hole 65\n");

    // A position, puzzles and the cheat sheet on it, the tray named. (What
    // they hold is the catalogue's, as for the built-in trays.)
    QString position = grid.out;
    for (QChar &ch : position)
        if (ch != 'X' && ch != ' ' && ch != '\n')
            ch = '.';
    write("position.txt", position.toUtf8());
    EXPECT_TRUE(run({"--count", file("position.txt")}).out.startsWith("Centre hole: "));
    EXPECT_EQ(run({"--complete", file("position.txt")}).status, 0);
    QString swapped = grid.out; // the L's cells named N and the N's L: no tiling
    for (QChar &ch : swapped)
        ch = ch == 'L' ? 'N' : ch == 'N' ? 'L' : ch;
    write("swapped.txt", swapped.toUtf8());
    EXPECT_EQ(run({"--count", file("swapped.txt")}).status, 2);
    const auto practice =
        run({"--practice", "Centre hole", "5", "--given", "3", "--text", "--seed", "4"});
    ASSERT_EQ(practice.status, 0) << practice.err.toStdString();
    EXPECT_EQ(practice.out.split("\n\n").size(), 5);
    const auto sheet =
        run({"--report", "Centre hole", "1", "65", "--pdf", file("sheet.pdf"), "--colour"});
    ASSERT_EQ(sheet.status, 0) << sheet.err.toStdString();
    EXPECT_EQ(test::pdfFaults(file("sheet.pdf")), "");

    for (const QStringList &arguments :
         {QStringList{"--grid", "5", "1"}, QStringList{"--grid", "Centre hole", "66"},
          QStringList{"--report", "Centre hole", "60", "70", "--pdf", file("x.pdf")}}) {
        const auto refused = run(arguments);
        EXPECT_EQ(refused.status, 2) << arguments.join(' ').toStdString();
        EXPECT_EQ(refused.err.count('\n'), 1) << refused.err.toStdString();
    }
}

} // namespace
} // namespace tw
