#pragma once

#include "app/Program.h"
#include "preview/PreviewDocument.h"
#include "ui/main/Twips.h"
#include "ui/main/frmMain.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sqlite3.h>

#include <memory>

namespace tw::test {

// A copy of the generated database in a folder of its own, for tests that
// change the file while the program has it open.
struct DatabaseCopy
{
    QTemporaryDir dir;

    DatabaseCopy()
    {
        QFile::copy(QStringLiteral(TILEWRIGHT_TEST_DATABASE), path());
        QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
    }
    QString folder() const { return dir.path(); }
    QString path() const { return dir.filePath(QStringLiteral("Solutions.mdb")); }

    // Runs sql on the file through a connection of its own.
    bool exec(const char *sql) const
    {
        sqlite3 *db = nullptr;
        const bool ok = sqlite3_open(QFile::encodeName(path()).constData(), &db) == SQLITE_OK &&
                        sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(db);
        return ok;
    }
};

// How the window's messages reach the test: recorded, or also shown in a
// real modal box that closes itself at once, so that the focus and the mouse
// go where they go in real use.
enum class Messages { Recorded, ShownAndRecorded };

// A main window on the generated database (or on the one in folder), shown
// offscreen, with its beeps, messages and preview calls recorded instead of
// made.
struct MainWindow
{
    Program program;
    std::unique_ptr<frmMain> window;
    int beeps = 0;
    QStringList messages;
    int previews = 0;
    int previewPages = 0;
    QList<long long> previewRange; // first and last solution the report drew

    explicit MainWindow(
        const QString &folder = QFileInfo(QStringLiteral(TILEWRIGHT_TEST_DATABASE)).absolutePath(),
        Messages mode = Messages::Recorded)
        : program(QFile::encodeName(folder).toStdString())
    {
        if (program.Main(false))
            return;
        window = std::make_unique<frmMain>(program.state(), program.preview());
        frmMain::Hooks hooks;
        hooks.beep = [this] { ++beeps; };
        hooks.message = [this, mode](const QString &text) {
            messages << text;
            if (mode == Messages::ShownAndRecorded) {
                QTimer::singleShot(50, [] {
                    if (QWidget *box = QApplication::activeModalWidget())
                        box->close();
                });
                showPlainMessage(window.get(), text);
            }
        };
        hooks.showPreview = [this](PreviewDocument &document) {
            ++previews;
            previewPages = document.PageCount();
            RecordSet &set = state().SolutionSet;
            set.MoveFirst();
            const long long first = set.Fields("Solution").value_or(0);
            set.MoveLast();
            previewRange = {first, set.Fields("Solution").value_or(0)};
        };
        window->setHooks(std::move(hooks));
        window->show();
        if (!QTest::qWaitForWindowActive(window.get()))
            qWarning("the main window was not activated");
    }

    SharedState &state() { return program.state(); }
    frmMain &w() { return *window; }
};

} // namespace tw::test
