#include "ui/SolveWindow.h"

#include "app/Choices.h"
#include "app/CommandLine.h"
#include "app/FindTiling.h"
#include "app/Program.h"
#include "base/Files.h"
#include "base/NumberText.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

namespace tw {

SolveWindow::SolveWindow(std::shared_ptr<const TilingIndex> index, Appearance look, Hooks hooks,
                         QWidget *parent)
    : QDialog(parent), m_index(std::move(index)), m_session(*m_index), m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("frmSolve"));
    const Tray &tray = m_index->tray();
    const QString label = QString::fromStdString(tray.label());
    setWindowTitle(theTray(tray).starts_with("the tray")
                       ? QStringLiteral("Solve \"%1\" Yourself").arg(label)
                       : QStringLiteral("Solve the %1 Tray Yourself").arg(label));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    m_board = new SolveBoard(m_session, look, this);
    m_board->setBeep(m_hooks.beep);
    lblHint = new QLabel(
        QStringLiteral(
            "Drag a piece onto the tray; while dragging, right-click or turn the wheel to turn it, "
            "middle-click to flip it. Or type its letter, move it with the arrows, R turns, M "
            "flips, Enter lays it, Delete takes it back. H: a hint. < and >: the tilings that "
            "remain. "
            "F11: full screen."),
        this);
    lblHint->setObjectName(QStringLiteral("lblHint"));
    lblHint->setWordWrap(true);
    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    QFont bold = lblCount->font();
    bold.setBold(true);
    lblCount->setFont(bold);
    lblCount->setAccessibleName(QStringLiteral("Count"));
    lblCount->setWordWrap(true);
    lblBrowse = new QLabel(this);
    lblBrowse->setObjectName(QStringLiteral("lblBrowse"));
    const auto button = [this](const char *name, const QString &caption, const QString &tip) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setToolTip(tip);
        b->setAccessibleName(tip);
        return b;
    };
    cmdHint = button("cmdHint", QStringLiteral("&Hint"), QStringLiteral("Lay one more piece (H)"));
    cmdUndo = button("cmdUndo", QStringLiteral("&Undo"), QStringLiteral("Undo (Ctrl+Z)"));
    cmdRedo = button("cmdRedo", QStringLiteral("&Redo"), QStringLiteral("Redo (Ctrl+Shift+Z)"));
    cmdPrevTiling = button("cmdPrevTiling", QStringLiteral("<"),
                           QStringLiteral("Previous tiling that completes this"));
    cmdNextTiling = button("cmdNextTiling", QStringLiteral(">"),
                           QStringLiteral("Next tiling that completes this"));
    cmdShow = button("cmdShow", QStringLiteral("Show in &Main Window"),
                     QStringLiteral("Show this solution in the main window"));
    QPushButton *cmdSave =
        button("cmdSave", QStringLiteral("&Save..."), QStringLiteral("Save the position (Ctrl+S)"));
    QPushButton *cmdOpen =
        button("cmdOpen", QStringLiteral("&Open..."), QStringLiteral("Open a position (Ctrl+O)"));
    QPushButton *cmdClose =
        button("cmdClose", QStringLiteral("Close"), QStringLiteral("Close this window"));

    // Two rows under the count, so that the window fits a small or scaled
    // screen: browsing what remains, then the moves and the files.
    const auto row = [](std::initializer_list<QWidget *> left,
                        std::initializer_list<QWidget *> right) {
        auto *buttons = new QHBoxLayout;
        for (QWidget *w : left)
            buttons->addWidget(w);
        buttons->addStretch(1);
        for (QWidget *w : right)
            buttons->addWidget(w);
        return buttons;
    };
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblHint);
    layout->addWidget(m_board, 1);
    layout->addWidget(lblCount);
    // The tiling shown is named after the buttons, which keep their places.
    layout->addLayout(row({cmdPrevTiling, cmdNextTiling, cmdShow, lblBrowse}, {}));
    layout->addLayout(row({cmdHint, cmdUndo, cmdRedo}, {cmdSave, cmdOpen, cmdClose}));

    connect(cmdHint, &QPushButton::clicked, this, [this] {
        if (const auto why = m_session.hint())
            lblCount->setText(*why);
        else
            follow();
    });
    connect(cmdUndo, &QPushButton::clicked, this, [this] {
        m_session.undo();
        follow();
    });
    connect(cmdRedo, &QPushButton::clicked, this, [this] {
        m_session.redo();
        follow();
    });
    connect(cmdPrevTiling, &QPushButton::clicked, this, [this] { browse(-1); });
    connect(cmdNextTiling, &QPushButton::clicked, this, [this] { browse(+1); });
    connect(cmdShow, &QPushButton::clicked, this, [this] {
        const std::uint32_t tiling =
            m_browsing >= 0 ? m_session.remaining()[static_cast<std::size_t>(m_browsing)]
                            : m_session.remaining().front();
        m_hooks.show(m_index->board(), m_index->solutionOf(tiling));
    });
    connect(cmdSave, &QPushButton::clicked, this, &SolveWindow::save);
    connect(cmdOpen, &QPushButton::clicked, this, &SolveWindow::open);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
    connect(m_board, &SolveBoard::changed, this, &SolveWindow::follow);
    const auto keys = [this](QKeySequence sequence, std::function<void()> act) {
        connect(new QShortcut(sequence, this), &QShortcut::activated, this, std::move(act));
    };
    keys(Qt::CTRL | Qt::Key_Z, [this] { cmdUndo->click(); });
    keys(Qt::CTRL | Qt::SHIFT | Qt::Key_Z, [this] { cmdRedo->click(); });
    keys(Qt::Key_H, [this] { cmdHint->click(); });
    keys(Qt::CTRL | Qt::Key_S, [this] { save(); });
    keys(Qt::CTRL | Qt::Key_O, [this] { open(); });
    keys(Qt::Key_F11, [this] { setWindowState(windowState() ^ Qt::WindowFullScreen); });

    // Where the user left this tray last time.
    const QString last = Choices::solvePosition(m_hooks.key);
    if (static_cast<std::size_t>(last.size()) > MaximumGridText) {
        // Refused as an opened file would be, said once the window shows.
        QTimer::singleShot(0, this, [this] {
            m_hooks.message(
                QString::fromStdString(tooMuchForAGrid("The position remembered for this tray") +
                                       "; the tray starts empty."));
        });
    } else if (!last.isEmpty() && !m_session.open(last.toStdString())) {
        m_session.forgetSteps(); // the position alone, not a step to undo
    }
    // Large where there is room, but with its frame well inside the screen
    // it opens on (a small or scaled screen would otherwise cut it off).
    QSize size(900, 700);
    if (const QScreen *shown = screen())
        size = size.boundedTo(shown->availableGeometry().size() * 0.9);
    resize(size.expandedTo(minimumSizeHint()));
    m_board->setFocus();
    follow();
}

SolveWindow::~SolveWindow() = default;

void SolveWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && m_board->held())
        return m_board->dropHeld();
    // < and > step through the tilings that remain, as their buttons do.
    if (event->text() == QLatin1String("<") || event->text() == QLatin1String(">")) {
        QPushButton *step = event->text() == QLatin1String("<") ? cmdPrevTiling : cmdNextTiling;
        if (step->isEnabled())
            step->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SolveWindow::follow()
{
    m_browsing = -1;
    m_board->setCompletion(std::nullopt);
    if (const auto n = m_session.solution())
        lblCount->setText(QStringLiteral("You found solution %1 of %2")
                              .arg(QString::fromStdString(groupedNumber(*n)),
                                   QString::fromStdString(theTray(m_index->tray()))));
    else
        lblCount->setText(m_session.countText());
    cmdUndo->setEnabled(m_session.canUndo());
    cmdRedo->setEnabled(m_session.canRedo());
    const bool some = !m_session.remaining().empty() && !m_session.finished();
    cmdPrevTiling->setEnabled(some);
    cmdNextTiling->setEnabled(some);
    lblBrowse->setText(QString());
    cmdShow->setEnabled(m_session.finished() && m_session.solution());
    cmdHint->setEnabled(!m_session.finished()); // a full tray keeps naming its solution
    Choices::setSolvePosition(m_hooks.key, QString::fromStdString(m_session.text()));
    m_board->update();
}

void SolveWindow::browse(int step)
{
    const auto count = static_cast<int>(m_session.remaining().size());
    if (count == 0)
        return;
    m_browsing = ((m_browsing < 0 ? (step > 0 ? -1 : 0) : m_browsing) + step + count) % count;
    const std::uint32_t tiling = m_session.remaining()[static_cast<std::size_t>(m_browsing)];
    m_board->setCompletion(m_index->tiling(tiling));
    lblBrowse->setText(
        QStringLiteral("tiling %1 of %2, solution %3")
            .arg(QString::fromStdString(groupedNumber(m_browsing + 1)),
                 QString::fromStdString(groupedNumber(count)),
                 QString::fromStdString(groupedNumber(m_index->solutionOf(tiling)))));
    cmdShow->setEnabled(true);
}

void SolveWindow::save()
{
    const QString name =
        m_hooks.askSavePath(Choices::outputFolder() + QStringLiteral("/Position.txt"),
                            QStringLiteral("Positions (*.txt)"));
    if (name.isEmpty())
        return;
    if (const auto failed = saveChosen(name, m_session.text(), m_hooks.database,
                                       QStringLiteral("The position could not be saved")))
        m_hooks.message(*failed);
}

void SolveWindow::open()
{
    const QString name =
        m_hooks.askOpenPath(Choices::outputFolder(), QStringLiteral("Positions (*.txt)"));
    if (name.isEmpty())
        return;
    const auto path = pathBytes(name);
    const auto text =
        path ? readLimited(*path, MaximumGridText)
             : Expected<std::string, FileFailure>(FileFailure{
                   "the name holds characters that are not valid text", "choose another name"});
    if (!text) {
        m_hooks.message(
            QStringLiteral("The position could not be opened: ") +
            displayName(text.error().sentence("cannot read", path.value_or(name.toStdString()))));
        return;
    }
    if (text->size() > MaximumGridText) {
        m_hooks.message(QStringLiteral("The position could not be opened: ") +
                        displayName(tooMuchForAGrid("\"" + *path + "\"")) + QLatin1Char('.'));
        return;
    }
    if (const auto why = m_session.open(*text))
        m_hooks.message(QString::fromStdString(*why));
    follow();
}

} // namespace tw
