#pragma once

#include "app/FindTiling.h"

#include <QRect>
#include <QString>

#include <functional>

class QWidget;

namespace tw {

struct SharedState;
class FindDialog;
class SolutionBrowser;

// What the tray picture's menu does with the solution shown: finds a tiling
// and has the window show it, copies the solution to the clipboard, and
// exports it to a file.
class SolutionActions
{
public:
    struct Hooks
    {
        std::function<void(const QString &)> message;
        // The file to save as, proposing start, of the kind filter names;
        // empty when the user cancels.
        std::function<QString(const QString &start, const QString &filter)> askSavePath;
        // Shows a tiling found in the window; whether it could.
        std::function<bool(const FoundTiling &)> show;
    };

    SolutionActions(QWidget *window, const SharedState &state, const SolutionBrowser &browser);
    void setHooks(Hooks hooks) { m_hooks = std::move(hooks); }
    Hooks &hooks() { return m_hooks; }

    // "Find a Tiling", beside the window where the screen has room.
    void find(const QRect &trayOnScreen);
    // The letters, a picture large enough for a worksheet and a drawing.
    void copy();
    // "Export Solution": the choices, then the file.
    void exportSolution();

private:
    QWidget *m_window;
    const SharedState &state;
    const SolutionBrowser &m_browser;
    Hooks m_hooks;
    FindDialog *m_find = nullptr;
};

} // namespace tw
