#include "ui/SolutionActions.h"

#include "app/Choices.h"
#include "app/Practice.h"
#include "app/Program.h"
#include "app/SolutionBrowser.h"
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
            state, [this](const FoundTiling &found) { return m_show(found); }, m_window);
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
        picture->mimeData(ClipboardDpi, foundText({state.BoardIndex, state.SolutionNo})));
}

void SolutionActions::exportSolution()
{
    ExportDialog dialog(m_browser.look(), m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ExportDialog::Choice choice = dialog.choice();
    const auto picture =
        TrayPicture::make(state.BoardIndex, state.SolutionSet.currentRecord(), choice.look);
    if (!picture) {
        m_hooks.message(QStringLiteral("This solution cannot be exported: %1.")
                            .arg(QString::fromStdString(picture.error().message)));
        return;
    }
    const QString found = foundText({state.BoardIndex, state.SolutionNo});
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
    PracticeDialog(state, state.BoardIndex, look, paper, {m_hooks.showPreview, m_hooks.message},
                   m_window)
        .exec();
}

void SolutionActions::solve(Appearance look)
{
    auto index = loadTilingIndex(state, state.BoardIndex);
    if (!index) {
        m_hooks.message(QString::fromStdString(index.error().problem));
        return;
    }
    auto *window = new SolveWindow(std::make_unique<TilingIndex>(std::move(*index)), look,
                                   {m_hooks.message, m_hooks.askSavePath, m_hooks.askOpenPath,
                                    [this](Integer board, Integer n) {
                                        m_show({board, n});
                                    },
                                    state.DbPath, m_hooks.beep},
                                   m_window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

} // namespace tw
