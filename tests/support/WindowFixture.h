#pragma once

#include "app/Program.h"
#include "preview/PreviewDocument.h"
#include "ui/main/frmMain.h"

#include <QFileInfo>
#include <QStringList>
#include <QTest>

#include <memory>

namespace tw::test {

// A main window on the generated database, shown offscreen, with its beeps,
// messages and preview calls recorded instead of made.
struct MainWindow
{
    Program program{QFileInfo(QStringLiteral(TILEWRIGHT_TEST_DATABASE)).absolutePath()};
    std::unique_ptr<frmMain> window;
    int beeps = 0;
    QStringList messages;
    int previews = 0;
    int previewPages = 0;

    MainWindow()
    {
        if (program.Main(false))
            return;
        window = std::make_unique<frmMain>(program.state(), program.preview());
        frmMain::Hooks hooks;
        hooks.beep = [this] { ++beeps; };
        hooks.message = [this](const QString &text) { messages << text; };
        hooks.showPreview = [this](PreviewDocument &document) {
            ++previews;
            previewPages = document.PageCount();
        };
        window->setHooks(std::move(hooks));
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qWarning("the main window was not exposed");
    }

    SharedState &state() { return program.state(); }
    frmMain &w() { return *window; }
};

} // namespace tw::test
