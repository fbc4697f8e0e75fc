#include "ui/SolutionActions.h"

#include "app/Choices.h"
#include "app/Program.h"
#include "app/SolutionBrowser.h"
#include "base/NumberText.h"
#include "solutions/Catalogue.h"
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

SolutionActions::SolutionActions(QWidget *window, const Catalogue &catalogue,
                                 const SharedState &sharedState, std::string database,
                                 const SolutionBrowser &browser, const WindowHooks &hooks,
                                 std::function<bool(const FoundTiling &)> show)
    : m_window(window), m_catalogue(catalogue), state(sharedState), m_database(std::move(database)),
      m_browser(browser), m_hooks(hooks), m_show(std::move(show))
{}

void SolutionActions::find(const QRect &trayOnScreen)
{
    if (!m_find) {
        m_find = new FindDialog(
            m_catalogue, [this](const FoundTiling &found) { return m_show(found); }, m_window);
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

void SolutionActions::copy()
{
    // Large enough to paste into a worksheet.
    QGuiApplication::clipboard()->setMimeData(
        m_browser.picture().mimeData(ClipboardDpi, shownText()));
}

void SolutionActions::exportSolution()
{
    ExportDialog dialog(m_browser.look(), m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ExportDialog::Choice choice = dialog.choice();
    const TrayPicture picture = m_browser.picture(choice.look);
    const QString found = shownText();
    const QString chosen = m_hooks.askSavePath(
        Choices::outputFolder() + QStringLiteral("/Pentominoes ") + found +
            (choice.svg ? QStringLiteral(".svg") : QStringLiteral(".png")),
        choice.svg ? QStringLiteral("SVG drawings (*.svg)") : QStringLiteral("PNG images (*.png)"));
    if (chosen.isEmpty())
        return;
    const QByteArray bytes = choice.svg ? picture.svg(found) : picture.png(choice.dpi);
    if (const auto failed = saveChosen(
            chosen, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
            m_database, QStringLiteral("The solution could not be exported")))
        m_hooks.message(*failed);
}

void SolutionActions::practice(Appearance look, QSizeF paper)
{
    const Integer shown = state.BoardIndex;
    PracticeDialog(
        m_catalogue.tray(shown), [this, shown] { return m_catalogue.tilingIndex(shown); }, look,
        paper, {m_hooks.showPreview, m_hooks.message}, m_window)
        .exec();
}

void SolutionActions::solve(Appearance look)
{
    const Integer shown = state.BoardIndex;
    auto *window =
        new SolveWindow(m_catalogue.tilingIndex(shown), look,
                        {m_hooks.message, m_hooks.askSavePath, m_hooks.askOpenPath,
                         [this, name = m_catalogue.tray(shown).label()](Integer board, Integer n) {
                             m_show({board, n, name});
                         },
                         m_database, m_hooks.beep, m_catalogue.entry(shown).key},
                        m_window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

} // namespace tw
