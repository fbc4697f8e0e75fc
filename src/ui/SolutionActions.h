#pragma once

#include "app/FindTiling.h"
#include "base/Expected.h"
#include "pieces/Appearance.h"
#include "solutions/TilingIndex.h"
#include "ui/WindowHooks.h"

#include <QRect>
#include <QSizeF>
#include <QString>

#include <functional>
#include <string>

class QWidget;

namespace tw {

struct SharedState;
class Catalogue;
class FindDialog;
class SolutionBrowser;
class PreviewDocument;

// What the tray picture's menu does with the solution shown: finds a tiling
// and has the window show it, copies the solution to the clipboard, and
// exports it to a file.
class SolutionActions
{
public:
    // database: the file nothing is saved over; hooks: the window's, kept
    // by it; show: shows a tiling found in the window, saying whether it
    // could.
    SolutionActions(QWidget *window, const Catalogue &catalogue, const SharedState &state,
                    std::string database, const SolutionBrowser &browser, const WindowHooks &hooks,
                    std::function<bool(const FoundTiling &)> show);

    // "Find a Tiling", beside the window where the screen has room.
    void find(const QRect &trayOnScreen);
    // The letters, a picture large enough for a worksheet and a drawing.
    void copy();
    // "Export Solution": the choices, then the file.
    void exportSolution();
    // "Practice Sheet": puzzles of the tray shown, in the preview window.
    // paper: the portrait paper, twips.
    void practice(Appearance look, QSizeF paper);
    // "Solve It Yourself": the tray shown, to lay pieces on, in a window of
    // its own.
    void solve(Appearance look);

private:
    // "10 x 6, solution 12": the tray and the solution shown.
    QString shownText() const;

    QWidget *m_window;
    const Catalogue &m_catalogue;
    const SharedState &state;
    std::string m_database;
    const SolutionBrowser &m_browser;
    const WindowHooks &m_hooks;
    std::function<bool(const FoundTiling &)> m_show;
    FindDialog *m_find = nullptr;
};

} // namespace tw
