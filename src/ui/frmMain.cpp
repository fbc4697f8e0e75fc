#include "ui/frmMain.h"

#include "app/Advice.h"
#include "app/Choices.h"
#include "app/Program.h"
#include "app/TrayLibrary.h"
#include "base/NumberText.h"
#include "preview/Fonts.h"
#include "preview/PreviewDocument.h"
#include "solutions/Catalogue.h"
#include "solutions/SharedState.h"
#include "ui/AboutDialog.h"
#include "ui/BusyPointer.h"
#include "ui/EntryChecks.h"
#include "ui/NewTrayDialog.h"
#include "ui/TabControl.h"
#include "ui/frmViewPro.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTimer>
#include <QToolTip>

#include <algorithm>

namespace tw {

namespace {

const QString TrayTip = QStringLiteral(
    "Right-click the tray, or press the Menu key or Shift+F10,\nfor Find a Tiling, Copy, "
    "Export, Practice Sheet and Solve It Yourself");

} // namespace

frmMain::frmMain(Program &program, QWidget *parent, std::string library)
    : QDialog(parent), m_program(program), m_catalogue(program.catalogue()), state(program.state()),
      m_preview(program.preview()),
      m_libraryPath(library.empty() ? libraryPath() : std::move(library)),
      m_browser(m_catalogue, state), m_print(m_catalogue, state, m_preview),
      m_actions(this, m_catalogue, state, program.DbPath(), m_browser, m_hooks,
                [this](const FoundTiling &found) { return showFound(found); })
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Pentominoes Solutions"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    m_layout = TwipsLayout(screenScale(this));
    m_hooks = WindowHooks::standard(this);
    m_hooks.showPreview = [this](PreviewDocument &document, const QString &name) {
        frmViewPro window(document, this);
        window.setDatabasePath(m_program.DbPath());
        window.setDocumentName(name);
        window.exec();
    };
    setFont(sansFont(8));
    setFixedSize(m_layout.scale().pixels(SW), m_layout.scale().pixels(SH));
    makeSurface();

    static_cast<MainControls &>(*this) = makeMainControls(this, m_layout);
    static_cast<TrayMenu &>(*this) = makeTrayMenu(this);
    tmrDelay = new QTimer(this);
    tmrDelay->setObjectName(QStringLiteral("tmrDelay"));
    m_holdClock = std::make_unique<TimerClock>(tmrDelay);
    m_hold = std::make_unique<HoldRepeat>(*m_holdClock, [this](int direction) {
        const bool more = m_browser.step(direction);
        // Each step is on screen before the next.
        repaint(m_surface->pixelRect(SolutionBrowser::trayArea()));
        return more;
    });
    wire();
    // The look chosen last time.
    const Appearance look = Choices::look();
    m_browser.setLook(look);
    m_print.setLook(look);
    {
        const QSignalBlocker quietLetters(mnuLetters), quietSafe(mnuSafe);
        mnuLetters->setChecked(look.letters);
        mnuSafe->setChecked(look.palette == Palette::Safe);
    }
    Form_Load();
}

void frmMain::makeSurface()
{
    // The kept picture has a pixel for each of the screen's device pixels,
    // so that it is sharp on high-density screens.
    m_surface = std::make_unique<SurfaceCanvas>(
        QSizeF(SW, SH), m_layout.scale(), devicePixelRatioF(), palette().color(QPalette::Window));
    m_browser.setScreen(&m_surface->canvas());
}

frmMain::~frmMain()
{
    m_browser.setScreen(nullptr);
}

void frmMain::setHooks(Hooks hooks)
{
    const auto take = [](auto &mine, auto &given) {
        if (given)
            mine = std::move(given);
    };
    take(m_hooks.beep, hooks.beep);
    take(m_hooks.message, hooks.message);
    take(m_hooks.showPreview, hooks.showPreview);
    take(m_hooks.askSavePath, hooks.askSavePath);
    take(m_hooks.askOpenPath, hooks.askOpenPath);
    take(m_hooks.ask, hooks.ask);
    take(m_hooks.askText, hooks.askText);
}

void frmMain::wire()
{
    connect(cboSelect, &QComboBox::currentIndexChanged, this, [this] { cboSelect_Click(); });
    connect(SSTabFn, &TabControl::currentChanged, this, [this] { SSTabFn_Click(); });
    connect(cmdFirst, &QPushButton::clicked, this, [this] { cmdFirst_Click(); });
    connect(cmdLast, &QPushButton::clicked, this, [this] { cmdLast_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
    connect(cmdPreview, &QPushButton::clicked, this, [this] { cmdPreview_Click(); });
    connect(tmrDelay, &QTimer::timeout, this, [this] { tmrDelay_Timer(); });
    connect(txtSolution, &QLineEdit::textChanged, this, [this] { txtSolution_Change(); });
    connect(txtFrom, &QLineEdit::textChanged, this, [this] { txtFrom_Change(); });
    connect(txtTo, &QLineEdit::textChanged, this, [this] { txtTo_Change(); });
    connect(txtSideLength, &QLineEdit::textChanged, this, [this] { txtSideLength_Change(); });
    connect(renderGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            optRender_Click(id);
    });
    connect(orientationGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            optOrientation_Click(id);
    });

    connect(mnuFind, &QAction::triggered, this, [this] {
        m_actions.find(QRect(mapToGlobal(trayPixels().topLeft()), trayPixels().size()));
    });
    connect(mnuCopy, &QAction::triggered, this, [this] { m_actions.copy(); });
    connect(mnuExport, &QAction::triggered, this, [this] { m_actions.exportSolution(); });
    connect(mnuPractice, &QAction::triggered, this,
            [this] { m_actions.practice(look(), m_preview.paper()); });
    connect(mnuSolve, &QAction::triggered, this, [this] { m_actions.solve(look()); });
    // Greyed in the menu while no solution is shown; their keys still say why.
    connect(mnuTray, &QMenu::aboutToHide, this, [this] {
        mnuCopy->setEnabled(true);
        mnuExport->setEnabled(true);
    });
    connect(mnuAbout, &QAction::triggered, this,
            [this] { AboutDialog(m_catalogue, m_program.DbPath(), m_libraryPath, this).exec(); });
    connect(mnuNewTray, &QAction::triggered, this, [this] { newTray(); });
    connect(mnuRenameTray, &QAction::triggered, this, [this] { renameTray(); });
    connect(mnuExportTray, &QAction::triggered, this, [this] { exportTray(); });
    connect(mnuDeleteTray, &QAction::triggered, this, [this] { deleteTray(); });
    // Each step from the keyboard is on screen before the next repeats.
    const auto stepped = [this](const std::function<void()> &move) {
        if (!m_browser.displaying())
            return;
        move();
        repaint(m_surface->pixelRect(SolutionBrowser::trayArea()));
    };
    connect(mnuFirst, &QAction::triggered, this,
            [=, this] { stepped([this] { cmdFirst_Click(); }); });
    connect(mnuLast, &QAction::triggered, this,
            [=, this] { stepped([this] { cmdLast_Click(); }); });
    connect(mnuNext, &QAction::triggered, this,
            [=, this] { stepped([this] { m_browser.step(+1); }); });
    connect(mnuPrev, &QAction::triggered, this,
            [=, this] { stepped([this] { m_browser.step(-1); }); });
    for (QAction *choice : {mnuLetters, mnuSafe})
        connect(choice, &QAction::toggled, this, [this] {
            setLook({mnuLetters->isChecked(),
                     mnuSafe->isChecked() ? Palette::Safe : Palette::Standard});
        });
    connect(&m_browser, &SolutionBrowser::moved, this, &frmMain::showPosition);
    connect(&m_browser, &SolutionBrowser::painted, this,
            [this](const QRectF &twips) { update(m_surface->pixelRect(twips)); });

    // Next and Previous answer any mouse button's press and release, and no
    // key.
    new HoldButtons(cmdNext, cmdPrev,
                    {[this](int d) { d > 0 ? cmdNext_MouseDown() : cmdPrev_MouseDown(); },
                     [this](int d) { d > 0 ? cmdNext_MouseUp() : cmdPrev_MouseUp(); },
                     [this] { return m_hold->direction(); }, [this] { m_hold->end(); },
                     [this] { cmdClose_Click(); }});
    m_sideCheck = new LeaveCheck(txtSideLength, [this] { return txtSideLength_LostFocus(); });
    tabEntersOnCheckedButton(renderGroup);
    tabEntersOnCheckedButton(orientationGroup);
}

void frmMain::Form_Load()
{
    if (const QScreen *screen = this->screen()) {
        // Across the middle of the screen, but never with the title bar off
        // a screen too small for the window.
        const QRect area = screen->availableGeometry();
        move(
            std::max(area.left(), area.left() + (area.width() - m_layout.scale().pixels(SW)) / 2),
            std::max(area.top(), area.top() + (area.height() - m_layout.scale().pixels(9000)) / 2));
    }
    lblDesc->setText(descriptionText());
    fitDescription(lblDesc);
    Starting = true;
    txtFrom->setText(QStringLiteral("1"));
    txtTo->setText(QStringLiteral("1"));
    m_browser.setDisplaying(true);
    {
        const QSignalBlocker quiet(cboSelect);
        cboSelect->setCurrentIndex(-1);
    }
    loadLibrary();
    // A library that cannot be used is said once, when the window has shown.
    if (m_libraryWarning)
        QTimer::singleShot(0, this, [this, warning = *m_libraryWarning] {
            m_hooks.message(QString::fromStdString(warning));
        });
    cboSelect->setCurrentIndex(0);
    tmrDelay->setInterval(500);
    tmrDelay->stop();
    picVCR->setVisible(true);
    lblProgress->setText(QString());
    SSTabFn->setVisible(true);
    SSTabFn->setCurrentIndex(0);
    ResetUnitSize();
    SSTabFn->updatePageMasks();
}

void frmMain::cboSelect_Click()
{
    if (cboSelect->currentIndex() < 0)
        return;
    lblProgress->setText(QString());
    m_browser.changeBoard(static_cast<Integer>(cboSelect->currentIndex()));
    // The largest side that fits follows the board.
    m_print.setOrientation(optOrientation[1]->isChecked() ? 1 : 0);
    picTray->setGeometry(trayPixels());
    ResetUnitSize();
    txtFrom->setText(QStringLiteral("1"));
    txtTo->setText(QString::number(m_browser.count()));
}

void frmMain::DrawTray()
{
    m_browser.DrawTray();
}

void frmMain::DrawPieceRow()
{
    m_browser.DrawPieceRow();
}

void frmMain::Form_Paint()
{
    DrawTray();
    DrawPieceRow();
}

void frmMain::Form_Activate()
{
    if (Starting) {
        ShowSolution();
        Starting = false;
    }
}

void frmMain::ShowSolution()
{
    m_browser.ShowSolution();
}

// The number box, the step buttons and what a screen reader says follow the
// browser.
void frmMain::showPosition()
{
    const Steps can = m_browser.steps();
    for (const auto &[button, action, on] : {std::tuple{cmdFirst, mnuFirst, can.first},
                                             {cmdPrev, mnuPrev, can.previous},
                                             {cmdNext, mnuNext, can.next},
                                             {cmdLast, mnuLast, can.last}}) {
        button->setEnabled(on);
        action->setEnabled(on);
    }
    const QScopedValueRollback following(m_followingCursor, true);
    if (txtSolution->text() != m_browser.number())
        txtSolution->setText(m_browser.number());
    const QString position = m_browser.position();
    txtSolution->setAccessibleName(position.isEmpty() ? QStringLiteral("Solution number")
                                                      : position);
    picTray->setAccessibleDescription(m_browser.trayDescription());
}

// The palette or the letters changed: the pieces are painted again, and
// the choice is kept for the next start.
void frmMain::setLook(Appearance look)
{
    m_browser.setLook(look);
    m_print.setLook(look);
    Choices::setLook(look);
    Form_Paint();
    if (m_browser.displaying())
        ShowSolution();
}

void frmMain::ResetUnitSize()
{
    if (!m_browser.displaying())
        txtSideLength->setText(QString::fromStdString(sideText(m_print.ResetUnitSize())));
}

void frmMain::paintEvent(QPaintEvent *event)
{
    // The picture's pixels are the screen's device pixels.
    QPainter painter(this);
    const QRectF area = event->rect();
    const qreal ratio = m_surface->ratio();
    painter.drawImage(area, m_surface->image(),
                      QRectF(area.topLeft() * ratio, area.size() * ratio));
}

void frmMain::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_painted) {
        m_painted = true;
        // The screen the window opens on decides its picture's density.
        if (devicePixelRatioF() != m_surface->ratio())
            makeSurface();
        Form_Paint();
        Form_Activate();
    }
}

void frmMain::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_painted)
        Form_Activate();
}

bool frmMain::event(QEvent *event)
{
    // Moved to a screen of another density: paint the picture again there.
    if (event->type() == QEvent::ScreenChangeInternal && m_painted &&
        devicePixelRatioF() != m_surface->ratio()) {
        makeSurface();
        Form_Paint();
        if (m_browser.displaying())
            ShowSolution();
        update();
    }
    // Right-click is not the only way to the tray's menu: the tray says so,
    // and the Menu key and Shift+F10 open the focused control's menu, the
    // tray's where the control has none.
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        if (m_browser.displaying() && trayPixels().contains(help->pos())) {
            QToolTip::showText(help->globalPos(), TrayTip, this, trayPixels());
            return true;
        }
        QToolTip::hideText();
    } else if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Menu && key->modifiers() == Qt::NoModifier) ||
            (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
            QWidget *focus = QApplication::focusWidget();
            if (!focus || focus->window() != this)
                focus = this;
            const QPoint at = focus->rect().center();
            QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, focus->mapToGlobal(at));
            QApplication::sendEvent(focus, &menu);
            return true;
        }
    }
    return QDialog::event(event);
}

void frmMain::cmdFirst_Click()
{
    m_browser.first();
}

void frmMain::cmdLast_Click()
{
    m_browser.last();
}

void frmMain::cmdNext_MouseDown()
{
    m_hold->press(+1);
}

void frmMain::cmdPrev_MouseDown()
{
    m_hold->press(-1);
}

void frmMain::cmdNext_MouseUp()
{
    m_hold->release();
}

void frmMain::cmdPrev_MouseUp()
{
    m_hold->release();
}

void frmMain::tmrDelay_Timer()
{
    m_hold->delayElapsed();
}

void frmMain::txtSolution_Change()
{
    if (m_followingCursor)
        return;
    if (!m_browser.jump(txtSolution->text().toStdString())) {
        m_hooks.beep();
        txtSolution->selectAll();
    }
}

void frmMain::cmdClose_Click()
{
    if (m_closing)
        return;
    m_closing = true;
    m_hold->end();
    QDialog::done(QDialog::Accepted);
}

void frmMain::reject()
{
    cmdClose_Click();
}

void frmMain::SSTabFn_Click()
{
    const bool display = SSTabFn->currentIndex() == 0;
    m_browser.setDisplaying(display);
    picTray->setVisible(display);
    if (!display) {
        // Every entry resets the options: the board's side, portrait and
        // monochrome (the buttons' handlers run as they change).
        txtSideLength->setText(QString::fromStdString(sideText(m_print.open())));
        for (QAction *action : {mnuFirst, mnuPrev, mnuNext, mnuLast})
            action->setEnabled(false);
        picVCR->hide();
        cmdPreview->show();
        cmdPreview->setDefault(true);
        optOrientation[0]->setChecked(true);
        optRender[1]->setChecked(true);
        m_browser.clearTrayArea();
    } else {
        DrawTray();
        m_hold->end();
        cmdFirst_Click();
        picVCR->show();
        cmdPreview->hide();
    }
}

// A refused entry: a beep or a message, then its whole text selected and
// the focus given to its box.
void frmMain::showVerdict(QLineEdit *box, const Verdict &verdict)
{
    if (verdict.accepted())
        return;
    if (verdict.kind == Verdict::Kind::Beep)
        m_hooks.beep();
    else
        m_hooks.message(verdict.message);
    box->selectAll();
    box->setFocus();
}

void frmMain::txtFrom_Change()
{
    if (!Starting)
        showVerdict(txtFrom, m_print.checkStart(txtFrom->text(), txtTo->text()));
}

void frmMain::txtTo_Change()
{
    if (!Starting)
        showVerdict(txtTo, m_print.checkEnd(txtFrom->text(), txtTo->text()));
}

void frmMain::txtSideLength_Change()
{
    cmdPreview->setDefault(false);
}

bool frmMain::txtSideLength_LostFocus()
{
    const Verdict verdict = m_print.checkSide(txtSideLength->text());
    if (verdict.kind == Verdict::Kind::Beep)
        m_hooks.beep();
    else if (!verdict.accepted())
        m_hooks.message(verdict.message);
    else
        cmdPreview->setDefault(true);
    return verdict.accepted();
}

void frmMain::optOrientation_Click(int index)
{
    m_print.setOrientation(index);
}

void frmMain::optRender_Click(int index)
{
    m_print.setRender(index);
}

void frmMain::cmdPreview_Click()
{
    // The report only runs on a range and a side length that stand: a box
    // still holding a refused entry says so again and takes the focus.
    if (const auto refusal =
            m_print.checkBeforeReport(txtFrom->text(), txtTo->text(), txtSideLength->text())) {
        if (refusal->box == PrintTab::Box::Side)
            m_sideCheck->run();
        else
            showVerdict(refusal->box == PrintTab::Box::Start ? txtFrom : txtTo, refusal->verdict);
        return;
    }
    BuildReport();
}

void frmMain::BuildReport()
{
    const auto progress = [this](Integer solution, Integer page, bool last) {
        if (const auto line = m_print.progressLine(solution, page, last)) {
            lblProgress->setText(*line);
            lblProgress->repaint();
        }
    };
    const auto clearProgress = qScopeGuard([this] { lblProgress->setText(QString()); });
    // Busy while the pages are drawn, not while the preview is shown.
    std::optional<BusyPointer> busy(std::in_place);
    const auto error =
        m_print.run(txtFrom->text(), txtTo->text(), optOrientation[1]->isChecked(), progress, [&] {
            busy.reset();
            m_hooks.showPreview(m_preview, m_print.sheetName());
        });
    busy.reset();
    if (error)
        m_hooks.message(QString::fromStdString(error->message));
}

// The framed tray, in the window's pixels.
QRect frmMain::trayPixels() const
{
    return m_surface->pixelRect(m_browser.frameArea());
}

void frmMain::contextMenuEvent(QContextMenuEvent *event)
{
    // The picture's menu, on the "Display" tab where the tray is shown.
    const QRect tray = trayPixels();
    const bool fromKeyboard = event->reason() == QContextMenuEvent::Keyboard;
    if (!m_browser.displaying() || (!fromKeyboard && !tray.contains(event->pos()))) {
        QDialog::contextMenuEvent(event);
        return;
    }
    mnuCopy->setEnabled(state.SolutionNo >= 1);
    mnuExport->setEnabled(state.SolutionNo >= 1);
    for (QAction *action : {mnuRenameTray, mnuExportTray, mnuDeleteTray})
        action->setVisible(m_browser.entry().source == Catalogue::Source::Library);
    mnuTray->popup(fromKeyboard ? mapToGlobal(tray.center()) : event->globalPos());
}

bool frmMain::showFound(const FoundTiling &found)
{
    if (SSTabFn->currentIndex() != 0)
        SSTabFn->setCurrentIndex(0);
    // A tray is found by its name: a kept tray's place in the list moves
    // when a tray before it is deleted.
    const int board = cboSelect->findText(QString::fromStdString(found.name),
                                          Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (board < 0)
        return false;
    if (cboSelect->currentIndex() != board)
        cboSelect->setCurrentIndex(board);
    return state.BoardIndex == board && m_browser.goTo(found.solution);
}

void frmMain::loadLibrary(const std::optional<std::string> &show)
{
    const QString shown =
        cboSelect->currentIndex() >= 0 && m_browser.entry().source == Catalogue::Source::Library
            ? cboSelect->currentText()
            : QString();
    m_libraryWarning = readKeptTrays(m_catalogue, m_libraryPath);
    {
        const QSignalBlocker quiet(cboSelect);
        const int at = cboSelect->currentIndex();
        cboSelect->clear();
        for (Integer t = 0; t < m_catalogue.size(); ++t)
            cboSelect->addItem(QString::fromStdString(m_catalogue.tray(t).label()));
        cboSelect->setCurrentIndex(at < m_catalogue.size() ? at : -1);
    }
    // The list opens wide enough for the longest name; the box keeps its place.
    int widest = 0;
    for (int k = 0; k < cboSelect->count(); ++k)
        widest =
            std::max(widest, cboSelect->fontMetrics().horizontalAdvance(cboSelect->itemText(k)));
    cboSelect->view()->setMinimumWidth(widest + 2 * cboSelect->fontMetrics().averageCharWidth());
    if (shown.isEmpty() && !show)
        return;
    // The kept tray shown is found again by its name, which the trays read
    // anew may place elsewhere in the list.
    const QString wanted = show ? QString::fromStdString(*show) : shown;
    const int at = cboSelect->findText(wanted, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    const QSignalBlocker quiet(cboSelect);
    cboSelect->setCurrentIndex(at >= 0 && m_catalogue.entry(static_cast<Integer>(at)).source ==
                                              Catalogue::Source::Library
                                   ? at
                                   : 0);
    cboSelect_Click();
}

void frmMain::newTray()
{
    // One editor at a time, beside the window, which stays in use.
    if (m_newTray) {
        m_newTray->raise();
        m_newTray->activateWindow();
        return;
    }
    m_newTray = new NewTrayDialog(m_catalogue, m_libraryPath,
                                  {m_hooks.message, m_hooks.ask, m_hooks.askOpenPath}, this);
    m_newTray->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_newTray, &NewTrayDialog::kept, this, [this](const QString &name) {
        if (SSTabFn->currentIndex() != 0)
            SSTabFn->setCurrentIndex(0);
        loadLibrary(name.toStdString());
    });
    m_newTray->show();
    m_newTray->activateWindow();
}

void frmMain::renameTray()
{
    if (m_browser.entry().source != Catalogue::Source::Library)
        return;
    const std::string old = m_browser.entry().tray.label();
    const auto answer = m_hooks.askText(
        QStringLiteral("New name of the tray \"%1\":").arg(QString::fromStdString(old)),
        QString::fromStdString(old));
    if (!answer)
        return;
    const std::string name = answer->trimmed().toStdString();
    if (name == old)
        return;
    if (const auto why = nameRefusal(name)) {
        m_hooks.message(QString::fromStdString(*why + "; the tray keeps its name."));
        return;
    }
    if (const auto error = ::tw::renameTray(m_libraryPath, trayNameOf(old).key, trayNameOf(name))) {
        m_hooks.message(QString::fromStdString(error->message + "; the tray keeps its name."));
        return;
    }
    loadLibrary(name);
}

void frmMain::exportTray()
{
    if (m_browser.entry().source != Catalogue::Source::Library)
        return;
    const Tray &tray = m_browser.entry().tray;
    const QString chosen =
        m_hooks.askSavePath(Choices::outputFolder() + QLatin1Char('/') +
                                QString::fromStdString(tray.label()) + QStringLiteral(".txt"),
                            QStringLiteral("Text files (*.txt)"));
    if (chosen.isEmpty())
        return;
    const std::string text = regionText(tray);
    if (const auto failed = saveChosen(chosen, text, m_program.DbPath(),
                                       QStringLiteral("The tray could not be exported")))
        m_hooks.message(*failed);
}

void frmMain::deleteTray()
{
    if (m_browser.entry().source != Catalogue::Source::Library)
        return;
    const std::string name = m_browser.entry().tray.label();
    if (!m_hooks.ask(QStringLiteral("Delete the tray \"%1\" and its %2 solutions? This cannot be "
                                    "undone.")
                         .arg(QString::fromStdString(name),
                              QString::fromStdString(groupedNumber(m_browser.count())))))
        return;
    if (const auto error = ::tw::deleteTray(m_libraryPath, trayNameOf(name).key)) {
        m_hooks.message(QString::fromStdString(error->message + "; the tray is still kept."));
        return;
    }
    loadLibrary(); // shows the first tray, the one shown being gone
}

} // namespace tw
