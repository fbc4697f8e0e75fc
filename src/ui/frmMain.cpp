#include "ui/frmMain.h"

#include "app/Advice.h"
#include "app/Choices.h"
#include "app/Program.h"
#include "base/Files.h"
#include "preview/Fonts.h"
#include "preview/PreviewDocument.h"
#include "solutions/Boards.h"
#include "solutions/SharedState.h"
#include "ui/AboutDialog.h"
#include "ui/BusyPointer.h"
#include "ui/EntryChecks.h"
#include "ui/ExportDialog.h"
#include "ui/FindDialog.h"
#include "ui/TabControl.h"
#include "ui/frmViewPro.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontMetricsF>
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

namespace tw {

namespace {

// The client area: the designed outer size of 10000 x 9000 twips less a
// typical frame and title bar.
constexpr double ClientWidth = 10000 - 120;
constexpr double ClientHeight = 9000 - 465;

} // namespace

// The hold's time: tmrDelay for the delay, and the event loop between steps.
class frmMain::HoldClock : public HoldRepeat::Clock
{
public:
    explicit HoldClock(QTimer *delay) : m_delay(delay) {}
    void startDelay() override { m_delay->start(); }
    void stopDelay() override { m_delay->stop(); }
    void later(std::function<void()> task) override
    {
        QTimer::singleShot(0, m_delay, std::move(task));
    }

private:
    QTimer *m_delay;
};

QString descriptionText()
{
    return QStringLiteral(
        "This program will show all solutions to the problem of fitting the 12 Pentominoes "
        "into a tray.\n\n"
        "A Pentomino is contructed from 5 squares, where each square is connected by one or "
        "more edges to an adjacent square.\n"
        "There are 12 distinct Pentominoes, ignoring rotations and reflections.\n"
        "Thus the 12 distinct Pentominoes have a combined area of 60 units (5 units each).\n\n"
        "This program discovers all possible ways in which the Pentominoes can be fitted into a "
        "rectangle.\n"
        "There are 4 possible rectangles of area 60 units - 6 x 10, 5 x 12, 4 x 15, and 3 x "
        "20.\n"
        "As a bonus, the 8 x 8 square is also solved, adding a 2 x 2 square piece to the 12 "
        "Pentominoes to make a total area of 64 units.");
}

frmMain::frmMain(SharedState &sharedState, PreviewDocument &preview, const Advice &advice,
                 QWidget *parent)
    : QDialog(parent), state(sharedState), m_preview(preview), m_advice(advice),
      m_browser(sharedState, advice), m_print(sharedState)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Pentominoes Solutions"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setSizeGripEnabled(false);
    m_layout = TwipsLayout(screenScale(this));
    m_hooks.beep = [] { QApplication::beep(); };
    m_hooks.message = [this](const QString &text) { showPlainMessage(this, text); };
    m_hooks.showPreview = [this](PreviewDocument &document) {
        frmViewPro window(document, this);
        window.setDatabasePath(state.DbPath);
        window.setDocumentName(m_print.sheetName());
        window.exec();
    };
    m_hooks.askSavePath = [this](const QString &start, const QString &filter) {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Export Solution"), start, filter);
    };

    setFont(sansFont(8));

    SW = ClientWidth;
    SH = ClientHeight;
    setFixedSize(m_layout.scale().pixels(SW), m_layout.scale().pixels(SH));
    makeSurface();

    buildControls();
    m_holdClock = std::make_unique<HoldClock>(tmrDelay);
    m_hold = std::make_unique<HoldRepeat>(*m_holdClock, [this](int direction) {
        const bool more = m_browser.step(direction);
        // Each step is on screen before the next.
        repaint(m_surface->pixelRect(SolutionBrowser::trayArea()));
        return more;
    });
    wire();
    // The look chosen last time.
    state.Look = Choices::look();
    {
        const QSignalBlocker quietLetters(mnuLetters), quietSafe(mnuSafe);
        mnuLetters->setChecked(state.Look.letters);
        mnuSafe->setChecked(state.Look.palette == Palette::Safe);
    }
    Form_Load();
}

void frmMain::makeSurface()
{
    // The kept picture has a pixel for each of the screen's device pixels,
    // so that it is sharp on high-density screens.
    m_surface = std::make_unique<SurfaceCanvas>(
        QSizeF(SW, SH), m_layout.scale(), devicePixelRatioF(), palette().color(QPalette::Window));
    state.Screen = m_surface.get();
}

frmMain::~frmMain()
{
    if (state.Screen == m_surface.get())
        state.Screen = nullptr;
}

void frmMain::setHooks(Hooks hooks)
{
    if (hooks.beep)
        m_hooks.beep = std::move(hooks.beep);
    if (hooks.message)
        m_hooks.message = std::move(hooks.message);
    if (hooks.showPreview)
        m_hooks.showPreview = std::move(hooks.showPreview);
    if (hooks.askSavePath)
        m_hooks.askSavePath = std::move(hooks.askSavePath);
}

void frmMain::buildControls()
{
    const auto named = [](QWidget *w, const char *name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };
    const auto button = [&](QWidget *parent, const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, parent);
        named(b, name);
        b->setAutoDefault(false);
        return b;
    };
    const auto label = [&](QWidget *parent, const char *name, const QString &caption) {
        auto *l = new QLabel(caption, parent);
        named(l, name);
        return l;
    };
    const auto box = [&](QWidget *parent, const char *name, Qt::Alignment align) {
        auto *e = new QLineEdit(parent);
        named(e, name);
        e->setAlignment(align);
        return e;
    };

    lblDesc = label(this, "lblDesc", QString());
    lblDesc->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblDesc->setWordWrap(true);
    place(lblDesc, 240, 120, 8775, 2055);

    lblSelect = label(this, "lblSelect", QStringLiteral("Select a Tray"));
    lblSelect->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    place(lblSelect, 360, 3480, 1095, 255);
    cboSelect = new QComboBox(this);
    named(cboSelect, "cboSelect");
    place(cboSelect, 1560, 3360, 1215, 315);
    lblSelect->setBuddy(cboSelect);

    SSTabFn = new TabControl({QStringLiteral("Display"), QStringLiteral("Print")},
                             m_layout.scale().pixels(520), this);
    named(SSTabFn, "SSTabFn");
    place(SSTabFn, 600, 7560, 7575, 2775);
    SSTabFn->setCurrentIndex(1); // designed with the "Print" tab open
    QWidget *display = SSTabFn->page(0);
    QWidget *print = SSTabFn->page(1);

    picVCR = named(new QWidget(display), "picVCR");
    cmdFirst = button(picVCR, "cmdFirst", QStringLiteral("|<"));
    cmdPrev = button(picVCR, "cmdPrev", QStringLiteral("<"));
    txtSolution = box(picVCR, "txtSolution", Qt::AlignCenter);
    QFont numberFont(QStringLiteral("MS Sans Serif"), 12);
    if (!QFontDatabase::families().contains(QStringLiteral("MS Sans Serif"))) {
        numberFont = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        numberFont.setPointSize(12);
    }
    txtSolution->setFont(numberFont);
    cmdNext = button(picVCR, "cmdNext", QStringLiteral(">"));
    cmdLast = button(picVCR, "cmdLast", QStringLiteral(">|"));

    lblSideLength = label(print, "lblSideLength", QStringLiteral("Sidelength of Unit Square"));
    place(lblSideLength, 120, 600, 1935, 255);
    txtSideLength = box(print, "txtSideLength", Qt::AlignRight | Qt::AlignVCenter);
    place(txtSideLength, 2040, 480, 615, 285);
    lblInches2 = label(print, "lblInches2", QStringLiteral("inches"));
    place(lblInches2, 2880, 600, 615, 255);
    Label2 = label(print, "Label2", QStringLiteral("Print Solutions from"));
    place(Label2, 240, 1320, 1575, 255);
    txtFrom = box(print, "txtFrom", Qt::AlignRight | Qt::AlignVCenter);
    place(txtFrom, 1800, 1320, 735, 285);
    lblTo = label(print, "lblTo", QStringLiteral("to"));
    place(lblTo, 2760, 1320, 255, 255);
    txtTo = box(print, "txtTo", Qt::AlignRight | Qt::AlignVCenter);
    place(txtTo, 3120, 1320, 735, 285);
    lblProgress = label(print, "lblProgress", QString());
    lblProgress->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(lblProgress, 5280, 1320, 1695, 615);

    Picture2 = named(new QWidget(print), "Picture2");
    place(Picture2, 240, 1800, 1335, 615);
    optRender[0] = new QRadioButton(QStringLiteral("Color"), Picture2);
    optRender[1] = new QRadioButton(QStringLiteral("Monochrome"), Picture2);
    Picture1 = named(new QWidget(print), "Picture1");
    place(Picture1, 2400, 1800, 1455, 615);
    optOrientation[0] = new QRadioButton(QStringLiteral("Portrait"), Picture1);
    optOrientation[1] = new QRadioButton(QStringLiteral("Landscape"), Picture1);
    // The captions must fit the designed widths.
    for (QRadioButton *option : {optRender[0], optRender[1], optOrientation[0], optOrientation[1]})
        option->setStyleSheet(QStringLiteral("QRadioButton { spacing: 2px; }"));
    renderGroup = new QButtonGroup(this);
    orientationGroup = new QButtonGroup(this);
    for (int k = 0; k < 2; ++k) {
        optRender[k]->setObjectName(QStringLiteral("optRender(%1)").arg(k));
        optOrientation[k]->setObjectName(QStringLiteral("optOrientation(%1)").arg(k));
        renderGroup->addButton(optRender[k], k);
        orientationGroup->addButton(optOrientation[k], k);
    }
    place(optRender[0], 120, 120, 1335, 255);
    place(optRender[1], 120, 360, 1335, 255);
    place(optOrientation[0], 120, 120, 1335, 255);
    place(optOrientation[1], 120, 360, 1095, 255);

    cmdPreview = button(print, "cmdPreview", QStringLiteral("Preview"));
    place(cmdPreview, 4440, 2160, 1215, 495);
    cmdClose = button(this, "cmdClose", QStringLiteral("Close(Esc)"));
    place(cmdClose, 8280, 10440, 1335, 495);

    tmrDelay = new QTimer(this);
    tmrDelay->setObjectName(QStringLiteral("tmrDelay"));

    mnuTray = new QMenu(this);
    mnuTray->setObjectName(QStringLiteral("mnuTray"));
    mnuFind = mnuTray->addAction(QStringLiteral("Find a Tiling..."));
    mnuFind->setObjectName(QStringLiteral("mnuFind"));
    mnuFind->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    addAction(mnuFind); // Ctrl+F anywhere in the window
    mnuCopy = mnuTray->addAction(QStringLiteral("Copy Solution"));
    mnuCopy->setObjectName(QStringLiteral("mnuCopy"));
    mnuExport = mnuTray->addAction(QStringLiteral("Export Solution..."));
    mnuExport->setObjectName(QStringLiteral("mnuExport"));
    mnuTray->addSeparator();
    // The steps, also from the keyboard wherever the focus is, but for a
    // text box that uses the key itself.
    const auto step = [&](const char *name, const QString &caption, QKeySequence keys) {
        QAction *action = mnuTray->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        addAction(action);
        return action;
    };
    mnuFirst = step("mnuFirst", QStringLiteral("First Solution"), Qt::CTRL | Qt::Key_Home);
    mnuPrev = step("mnuPrev", QStringLiteral("Previous Solution"), Qt::Key_PageUp);
    mnuNext = step("mnuNext", QStringLiteral("Next Solution"), Qt::Key_PageDown);
    mnuLast = step("mnuLast", QStringLiteral("Last Solution"), Qt::CTRL | Qt::Key_End);
    mnuTray->addSeparator();
    mnuLetters = mnuTray->addAction(QStringLiteral("Show Piece Letters"));
    mnuLetters->setObjectName(QStringLiteral("mnuLetters"));
    mnuLetters->setCheckable(true);
    mnuSafe = mnuTray->addAction(QStringLiteral("Colour-Blind-Safe Colours"));
    mnuSafe->setObjectName(QStringLiteral("mnuSafe"));
    mnuSafe->setCheckable(true);
    mnuTray->addSeparator();
    mnuAbout = mnuTray->addAction(QStringLiteral("About Tilewright"));
    mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
    mnuAbout->setShortcut(QKeySequence(Qt::Key_F1));
    addAction(mnuAbout); // F1 anywhere in the window

    // What a screen reader tells of the tray picture, which the window
    // paints itself.
    picTray = named(new QWidget(this), "picTray");
    picTray->setAttribute(Qt::WA_TransparentForMouseEvents);
    picTray->setAccessibleName(QStringLiteral("Tray"));

    // Keyboard order, as the tab indexes run.
    const QList<QWidget *> order{
        cboSelect,         cmdFirst,   cmdPrev,  txtSolution,      cmdNext,      cmdLast,
        txtSideLength,     txtFrom,    txtTo,    optRender[0],     optRender[1], optOrientation[0],
        optOrientation[1], cmdPreview, cmdClose, SSTabFn->tabBar()};
    for (int k = 1; k < order.size(); ++k)
        setTabOrder(order[k - 1], order[k]);
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

    connect(mnuFind, &QAction::triggered, this, [this] { findTiling(); });
    connect(mnuCopy, &QAction::triggered, this, [this] { copySolution(); });
    connect(mnuExport, &QAction::triggered, this, [this] { exportSolution(); });
    connect(mnuAbout, &QAction::triggered, this, [this] { AboutDialog(state, this).exec(); });
    // Each step from the keyboard is on screen before the next repeats.
    const auto stepped = [this](const std::function<void()> &move) {
        if (state.OutputMode != 0)
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
    connect(mnuLetters, &QAction::toggled, this, [this](bool on) {
        state.Look.letters = on;
        lookChanged();
    });
    connect(mnuSafe, &QAction::toggled, this, [this](bool on) {
        state.Look.palette = on ? Palette::Safe : Palette::Standard;
        lookChanged();
    });
    connect(&m_browser, &SolutionBrowser::moved, this, &frmMain::showPosition);
    connect(&m_browser, &SolutionBrowser::painted, this,
            [this](const QRectF &twips) { update(m_surface->pixelRect(twips)); });
    // A solution that cannot be shown ends any hold before its message.
    connect(&m_browser, &SolutionBrowser::cannotShow, this, [this] { m_hold->end(); });
    connect(&m_browser, &SolutionBrowser::message, this,
            [this](const QString &text) { m_hooks.message(text); });

    // Next and Previous answer any mouse button's press and release, and no
    // key.
    cmdNext->installEventFilter(this);
    cmdPrev->installEventFilter(this);
    m_sideCheck = new LeaveCheck(txtSideLength, [this] { return txtSideLength_LostFocus(); });
    tabEntersOnCheckedButton(renderGroup);
    tabEntersOnCheckedButton(orientationGroup);
}

void frmMain::Form_Load()
{
    if (const QScreen *screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.left() + (area.width() - m_layout.scale().pixels(SW)) / 2,
             area.top() + (area.height() - m_layout.scale().pixels(9000)) / 2);
    }
    place(lblDesc, 0, 300, SW - 200, 2000);
    lblDesc->setText(descriptionText());
    fitDescription();
    Starting = true;
    txtFrom->setText(QStringLiteral("1"));
    txtTo->setText(QStringLiteral("1"));
    state.OutputMode = 0;

    {
        const QSignalBlocker quiet(cboSelect);
        for (const TrayInfo &tray : Trays)
            cboSelect->addItem(
                QString::fromLatin1(tray.label.data(), static_cast<int>(tray.label.size())));
        cboSelect->setCurrentIndex(-1);
    }
    cboSelect->setCurrentIndex(0);

    tmrDelay->setInterval(500);
    tmrDelay->stop();

    place(cmdFirst, 0, 0, 600, 400);
    place(cmdPrev, RightOf(cmdFirst), 0, 600, 400);
    place(txtSolution, RightOf(cmdPrev), 0, 1000, 400);
    place(cmdNext, RightOf(txtSolution), 0, 600, 400);
    place(cmdLast, RightOf(cmdNext), 0, 600, 400);
    picVCR->setVisible(true);
    place(picVCR, 0, 0, 3400, 400);

    cboSelect->setToolTip(QStringLiteral("Choose Board on which to Display/Print Solutions"));
    cmdFirst->setToolTip(QStringLiteral("Display First Solution"));
    cmdPrev->setToolTip(
        QStringLiteral("Display Previous Solution (Hold down for continuous display)"));
    cmdNext->setToolTip(QStringLiteral("Display Next Solution (Hold down for continuous display)"));
    cmdLast->setToolTip(QStringLiteral("Display Last Solution"));
    cmdClose->setToolTip(QStringLiteral("Exit the program"));
    txtSolution->setToolTip(
        QStringLiteral("Enter a Solution Number here to Display a specific Solution"));
    cmdPreview->setToolTip(QStringLiteral("Prepare a Screen Preview of the Solutions"));
    txtSideLength->setToolTip(QStringLiteral(
        "Length of the Side of the Basic Unit Square (Will affect the # of Pages in the Report)"));
    txtFrom->setToolTip(QStringLiteral("Start Solution Number for Report"));
    txtTo->setToolTip(QStringLiteral("End Solution Number for Report"));
    describeControls();

    lblProgress->setText(QString());
    const QRectF progress = m_layout.rect(lblProgress);
    place(lblProgress, RightOf(txtTo) + 3000, m_layout.rect(txtTo).top(), progress.width(),
          progress.height());
    const QRectF select = m_layout.rect(lblSelect);
    place(lblSelect, m_layout.rect(lblDesc).left(), BottomOf(lblDesc) + 1850, select.width(),
          select.height());
    const QRectF combo = m_layout.rect(cboSelect);
    place(cboSelect, RightOf(lblSelect) + 100, m_layout.rect(lblSelect).top() - 50, combo.width(),
          combo.height());

    place(SSTabFn, 100, 5400, SW - 200, 2500);
    SSTabFn->setVisible(true);
    SSTabFn->setCurrentIndex(0);

    const double tabWidth = m_layout.rect(SSTabFn).width();
    const double tabHeight = m_layout.rect(SSTabFn).height();
    const double designedHeight = m_layout.rect(picVCR).height();
    place(picVCR, (tabWidth - m_layout.rect(picVCR).width()) / 2,
          520 + (tabHeight - designedHeight) / 2, RightOf(cmdLast) - m_layout.rect(cmdFirst).left(),
          m_layout.rect(cmdFirst).height());
    // Edges rounded to pixels on their own can leave the strip a pixel
    // short of its buttons; it takes them whole.
    const QRect buttons = picVCR->childrenRect();
    picVCR->resize(picVCR->size().expandedTo(QSize(buttons.right() + 1, buttons.bottom() + 1)));
    place(cmdPreview, (tabWidth - 1000) / 2, tabHeight - 500, 1000, 400);
    place(cmdClose, SW - 1100, SH - 500, 1000, 400);
    ResetUnitSize();
    SSTabFn->setCurrentIndex(0);
    SSTabFn->updatePageMasks();
}

void frmMain::fitDescription()
{
    // Each sentence stands on a line of its own: the font shrinks, down to
    // 6 points, until the longest one fits the label.
    const QStringList lines = lblDesc->text().split(QLatin1Char('\n'));
    for (double points = 8; points >= 6; points -= 0.25) {
        const QFontMetricsF metrics(sansFont(points), lblDesc);
        double widest = 0;
        for (const QString &line : lines)
            widest = std::max(widest, metrics.horizontalAdvance(line));
        lblDesc->setFont(sansFont(points));
        if (widest <= lblDesc->width() - 4)
            break;
    }
}

// --- display -----------------------------------------------------------------

void frmMain::cboSelect_Click()
{
    if (cboSelect->currentIndex() < 0)
        return;
    lblProgress->setText(QString());
    const bool read = m_browser.changeBoard(static_cast<Integer>(cboSelect->currentIndex()));
    picTray->setGeometry(trayPixels());
    if (!read)
        return;
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

// The number box and the step buttons follow the browser.
void frmMain::showPosition()
{
    const Steps can = m_browser.steps();
    cmdFirst->setEnabled(can.first);
    cmdPrev->setEnabled(can.previous);
    cmdNext->setEnabled(can.next);
    cmdLast->setEnabled(can.last);
    mnuFirst->setEnabled(can.first);
    mnuPrev->setEnabled(can.previous);
    mnuNext->setEnabled(can.next);
    mnuLast->setEnabled(can.last);
    const QScopedValueRollback following(m_followingCursor, true);
    if (txtSolution->text() != m_browser.number())
        txtSolution->setText(m_browser.number());
    describePosition();
}

// What a screen reader says of each control: a name in words where the
// caption is a symbol, and the tooltip (with any shortcut) as description.
void frmMain::describeControls()
{
    const auto describe = [](QWidget *w, const QString &name, const QString &more = {}) {
        w->setAccessibleName(name);
        w->setAccessibleDescription(w->toolTip() + more);
    };
    describe(cboSelect, QStringLiteral("Select a Tray"));
    describe(cmdFirst, QStringLiteral("Display First Solution"), QStringLiteral(" (Ctrl+Home)"));
    describe(cmdPrev, QStringLiteral("Display Previous Solution"), QStringLiteral(" (Page Up)"));
    describe(cmdNext, QStringLiteral("Display Next Solution"), QStringLiteral(" (Page Down)"));
    describe(cmdLast, QStringLiteral("Display Last Solution"), QStringLiteral(" (Ctrl+End)"));
    describe(txtSolution, QStringLiteral("Solution number"));
    describe(txtSideLength, QStringLiteral("Sidelength of Unit Square in inches"));
    describe(txtFrom, QStringLiteral("Print Solutions from"));
    describe(txtTo, QStringLiteral("Print Solutions to"));
    describe(Picture2, QStringLiteral("Colours of the report"));
    describe(Picture1, QStringLiteral("Orientation of the pages"));
    describe(cmdPreview, QStringLiteral("Preview"));
    describe(cmdClose, QStringLiteral("Close"));
    describe(picVCR, QStringLiteral("Solutions"));
}

// What a screen reader says of the number box and the tray picture.
void frmMain::describePosition()
{
    const QString position = m_browser.position();
    txtSolution->setAccessibleName(position.isEmpty() ? QStringLiteral("Solution number")
                                                      : position);
    picTray->setAccessibleDescription(m_browser.trayDescription());
}

// The palette or the letters changed: the pieces are painted again, and
// the choice is kept for the next start.
void frmMain::lookChanged()
{
    Choices::setLook(state.Look);
    Form_Paint();
    if (state.OutputMode == 0)
        ShowSolution();
}

void frmMain::ResetUnitSize()
{
    if (const auto side = tw::ResetUnitSize(state))
        txtSideLength->setText(QString::fromStdString(sideText(*side)));
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
        if (state.OutputMode == 0)
            ShowSolution();
        update();
    }
    return QDialog::event(event);
}

// --- navigation --------------------------------------------------------------

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
    state.SolutionSet.Close();
    QDialog::done(QDialog::Accepted);
}

void frmMain::reject()
{
    cmdClose_Click();
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != cmdNext && watched != cmdPrev)
        return QDialog::eventFilter(watched, event);
    const bool next = watched == cmdNext;
    const auto *button = static_cast<QPushButton *>(watched);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // A greyed button takes no mouse events, however they arrive.
        if (button->isEnabled())
            next ? cmdNext_MouseDown() : cmdPrev_MouseDown();
        break;
    case QEvent::MouseButtonRelease:
        if (button->isEnabled())
            next ? cmdNext_MouseUp() : cmdPrev_MouseUp();
        break;
    case QEvent::EnabledChange:
        // Greyed while held: the hold ends there.
        if (!button->isEnabled() && m_hold->direction() == (next ? 1 : -1))
            m_hold->end();
        break;
    case QEvent::KeyPress:
        // A held button would swallow Esc; it closes the program from anywhere.
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            cmdClose_Click();
            return true;
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

// --- composition -------------------------------------------------------------

void frmMain::SSTabFn_Click()
{
    state.OutputMode = SSTabFn->currentIndex();
    ResetUnitSize();
    picTray->setVisible(state.OutputMode == 0);
    if (state.OutputMode == 1) {
        for (QAction *action : {mnuFirst, mnuPrev, mnuNext, mnuLast})
            action->setEnabled(false);
        picVCR->hide();
        cmdPreview->show();
        cmdPreview->setDefault(true);
        optOrientation[0]->setChecked(true);
        optRender[1]->setChecked(true);
        m_browser.clearTrayArea();
    } else if (state.OutputMode == 0) {
        DrawTray();
        m_hold->end();
        cmdFirst_Click();
        picVCR->show();
        cmdPreview->hide();
    }
}

// --- report options ----------------------------------------------------------

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
    // The label keeps up with the run without repainting for every tray.
    QElapsedTimer sinceShown;
    const auto progress = [&](Integer solution, Integer page, bool last) {
        if (!last && sinceShown.isValid() && sinceShown.elapsed() < 50)
            return;
        sinceShown.start();
        lblProgress->setText(
            QStringLiteral("Printing Solution %1\n on Page %2").arg(solution).arg(page));
        lblProgress->repaint();
    };
    const auto clearProgress = qScopeGuard([this] { lblProgress->setText(QString()); });
    // Busy while the pages are drawn, not while the preview is shown.
    std::optional<BusyPointer> busy(std::in_place);
    const auto error =
        m_print.run(txtFrom->text(), txtTo->text(), optOrientation[1]->isChecked(), progress, [&] {
            busy.reset();
            m_hooks.showPreview(m_preview);
        });
    busy.reset();
    if (error)
        m_hooks.message(QString::fromStdString(error->database ? m_advice.explain(*error->database)
                                                               : error->message));
}

// --- one solution ------------------------------------------------------------

// The framed tray, in the window's pixels.
QRect frmMain::trayPixels() const
{
    return m_surface->pixelRect(QRectF(state.TrayLeft - ScreenUnit, state.TrayTop - ScreenUnit,
                                       (state.Cols + 2) * ScreenUnit,
                                       (state.Rows + 2) * ScreenUnit));
}

void frmMain::contextMenuEvent(QContextMenuEvent *event)
{
    // The picture's menu, on the "Display" tab where the tray is shown.
    const QRect tray = trayPixels();
    const bool fromKeyboard = event->reason() == QContextMenuEvent::Keyboard;
    if (state.OutputMode != 0 || (!fromKeyboard && !tray.contains(event->pos()))) {
        QDialog::contextMenuEvent(event);
        return;
    }
    mnuCopy->setEnabled(state.SolutionNo >= 1);
    mnuExport->setEnabled(state.SolutionNo >= 1);
    mnuTray->popup(fromKeyboard ? mapToGlobal(tray.center()) : event->globalPos());
}

void frmMain::findTiling()
{
    if (!m_find) {
        m_find = new FindDialog(
            state, [this](const FoundTiling &found) { return showFound(found); }, this);
        // Beside the window, or at least beside its tray, where the screen
        // has room.
        m_find->adjustSize();
        const QRect tray(mapToGlobal(trayPixels().topLeft()), trayPixels().size());
        if (const QScreen *screen = this->screen())
            if (const auto at = placeBeside(m_find->frameGeometry().size(), {frameGeometry(), tray},
                                            screen->availableGeometry()))
                m_find->move(*at);
    }
    m_find->show();
    m_find->raise();
    m_find->activateWindow();
}

bool frmMain::showFound(const FoundTiling &found)
{
    if (SSTabFn->currentIndex() != 0)
        SSTabFn->setCurrentIndex(0);
    if (cboSelect->currentIndex() != found.board)
        cboSelect->setCurrentIndex(found.board);
    return state.BoardIndex == found.board && m_browser.goTo(found.solution);
}

void frmMain::copySolution()
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

void frmMain::exportSolution()
{
    ExportDialog dialog(state.Look, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ExportDialog::Choice choice = dialog.choice();
    const auto picture = TrayPicture::make(state.PieceShapes, state.BoardIndex,
                                           state.SolutionSet.currentRecord(), choice.look);
    if (!picture) {
        m_hooks.message(QStringLiteral("This solution cannot be exported: %1.")
                            .arg(QString::fromStdString(picture.error().message)));
        return;
    }
    const QString found = foundText({state.BoardIndex, state.SolutionNo});
    const QString name = Choices::outputFolder() + QStringLiteral("/Pentominoes ") + found +
                         (choice.svg ? QStringLiteral(".svg") : QStringLiteral(".png"));
    const QString chosen =
        m_hooks.askSavePath(name, choice.svg ? QStringLiteral("SVG drawings (*.svg)")
                                             : QStringLiteral("PNG images (*.png)"));
    if (chosen.isEmpty())
        return;
    const auto path = pathBytes(chosen);
    const QByteArray bytes = choice.svg ? picture->svg(found) : picture->png(choice.dpi);
    const auto failure =
        path ? writeWholeFile(
                   *path,
                   std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                   state.DbPath)
             : std::optional<FileFailure>(FileFailure{
                   "the name holds characters that are not valid text", "choose another name"});
    if (failure)
        m_hooks.message(
            QStringLiteral("The solution could not be exported: ") +
            displayName(failure->sentence("cannot write", path.value_or(chosen.toStdString()))));
    else
        Choices::setOutputFolderOf(chosen);
}

} // namespace tw
