#include "ui/SolutionActions.h"

#include "app/Choices.h"
#include "app/Practice.h"
#include "app/Program.h"
#include "app/SolutionBrowser.h"
#include "app/TrayLibrary.h"
#include "base/NumberText.h"
#include "solutions/Boards.h"
#include "solutions/SharedState.h"
#include "ui/ExportDialog.h"
#include "ui/FindDialog.h"
#include "ui/PracticeDialog.h"
#include "ui/SolveWindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace tw {

SolutionActions::SolutionActions(QWidget *window, const SharedState &sharedState,
                                 const SolutionBrowser &browser, const WindowHooks &hooks,
                                 std::function<bool(const FoundTiling &)> show)
    : m_window(window), state(sharedState), m_browser(browser), m_hooks(hooks),
      m_show(std::move(show))
{}

void SolutionActions::find(const QRect &trayOnScreen)
{
    if (!m_find) {
        m_find = new FindDialog(
            state, [this]() -> const std::vector<KeptTray> & { return m_browser.keptTrays(); },
            [this](const FoundTiling &found) { return m_show(found); }, m_window);
        // Beside the window, or at least beside its tray, where the screen
        // has room.
        m_find->adjustSize();
        if (const QScreen *screen = m_window->screen())
            if (const auto at = placeBeside(m_find->frameGeometry().size(),
                                            {m_window->frameGeometry(), trayOnScreen},
                                            screen->availableGeometry()))
                m_find->move(*at);
    }
    m_find->show();
    m_find->raise();
    m_find->activateWindow();
}

QString SolutionActions::shownText() const
{
    return QStringLiteral("%1, solution %2")
        .arg(m_browser.trayName(), QString::fromStdString(groupedNumber(state.SolutionNo)));
}

Expected<TilingIndex, std::string> SolutionActions::index() const
{
    if (const KeptTray *kept = m_browser.kept()) {
        std::vector<Tiling> solutions;
        solutions.reserve(kept->solutions.size());
        for (Long n = 1; n <= static_cast<Long>(kept->solutions.size()); ++n)
            solutions.push_back(keptTiling(*kept, state.BoardIndex, n));
        return TilingIndex::of(kept->tray, state.BoardIndex, solutions);
    }
    auto index = loadTilingIndex(state, state.BoardIndex);
    if (!index)
        return index.error().problem;
    return std::move(*index);
}

void SolutionActions::copy()
{
    const auto picture = m_browser.picture();
    if (!picture) {
        m_hooks.message(QStringLiteral("This solution cannot be copied: %1.")
                            .arg(QString::fromStdString(picture.error().message)));
        return;
    }
    // Large enough to paste into a worksheet.
    QGuiApplication::clipboard()->setMimeData(
        picture->mimeData(ClipboardDpi, shownText()));
}

void SolutionActions::exportSolution()
{
    ExportDialog dialog(m_browser.look(), m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ExportDialog::Choice choice = dialog.choice();
    const auto picture = m_browser.picture(choice.look);
    if (!picture) {
        m_hooks.message(QStringLiteral("This solution cannot be exported: %1.")
                            .arg(QString::fromStdString(picture.error().message)));
        return;
    }
    const QString found = shownText();
    const QString chosen = m_hooks.askSavePath(
        Choices::outputFolder() + QStringLiteral("/Pentominoes ") + found +
            (choice.svg ? QStringLiteral(".svg") : QStringLiteral(".png")),
        choice.svg ? QStringLiteral("SVG drawings (*.svg)") : QStringLiteral("PNG images (*.png)"));
    if (chosen.isEmpty())
        return;
    const QByteArray bytes = choice.svg ? picture->svg(found) : picture->png(choice.dpi);
    if (const auto failed = saveChosen(
            chosen, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
            state.DbPath, QStringLiteral("The solution could not be exported")))
        m_hooks.message(*failed);
}

void SolutionActions::practice(Appearance look, QSizeF paper)
{
    const Tray tray = m_browser.kept() ? m_browser.kept()->tray : trayOf(state.BoardIndex);
    PracticeDialog(tray, [this] { return index(); }, look, paper,
                   {m_hooks.showPreview, m_hooks.message}, m_window)
        .exec();
}

void SolutionActions::solve(Appearance look)
{
    auto loaded = index();
    if (!loaded) {
        m_hooks.message(QString::fromStdString(loaded.error()));
        return;
    }
    auto *window = new SolveWindow(std::make_unique<TilingIndex>(std::move(*loaded)), look,
                                   {m_hooks.message, m_hooks.askSavePath, m_hooks.askOpenPath,
                                    [this, kept = m_browser.kept() ? m_browser.kept()->name
                                                                   : std::string()](Integer board,
                                                                                    Integer n) {
                                        m_show({board, n, kept});
                                    },
                                    state.DbPath, m_hooks.beep},
                                   m_window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

} // namespace tw
