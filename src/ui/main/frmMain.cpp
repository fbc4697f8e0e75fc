#include "ui/main/frmMain.h"

#include "app/NumberText.h"
#include "app/SharedState.h"
#include "preview/Fonts.h"
#include "preview/PreviewDocument.h"
#include "report/Report.h"
#include "solutions/Boards.h"
#include "solutions/Database.h"
#include "solutions/Decoding.h"
#include "ui/main/EntryChecks.h"
#include "ui/main/TabControl.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScreen>

#include <cmath>

namespace tw {

namespace {

// The client area: the designed outer size of 10000 x 9000 twips less a
// typical frame and title bar.
constexpr double ClientWidth = 10000 - 120;
constexpr double ClientHeight = 9000 - 465;

// The areas of the surface that board changes and tab switches blank.
constexpr double ClearLeft = 2800, ClearTop = 3300, ClearWidth = 5000, ClearHeight = 4400;

QString formatSide(Single inches)
{
    // "0.###": at least one digit before the point, at most three after it.
    QString text = QString::number(static_cast<double>(inches), 'f', 3);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

std::optional<double> numberIn(const QLineEdit *box)
{
    return parseNumber(box->text().toStdString());
}

} // namespace

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

frmMain::frmMain(SharedState &sharedState, PreviewDocument &preview, QWidget *parent)
    : QDialog(parent), state(sharedState), m_preview(preview)
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

    setFont(sansFont(8));

    SW = ClientWidth;
    SH = ClientHeight;
    setFixedSize(m_layout.scale().pixels(SW), m_layout.scale().pixels(SH));
    makeSurface();

    buildControls();
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
}

double frmMain::RightOf(const QWidget *control) const
{
    return m_layout.rightOf(control);
}

double frmMain::BottomOf(const QWidget *control) const
{
    return m_layout.bottomOf(control);
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

    // Keyboard order, as the tab indexes run.
    const QList<QWidget *> order{
        cboSelect,         cmdFirst,   cmdPrev,  txtSolution,      cmdNext,      cmdLast,
        txtSideLength,     txtFrom,    txtTo,    optRender[0],     optRender[1], optOrientation[0],
        optOrientation[1], cmdPreview, cmdClose, SSTabFn->tabBar()};
    for (int k = 1; k < order.size(); ++k)
        setTabOrder(order[k - 1], order[k]);

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

void frmMain::SetBoardLayout()
{
    tw::SetBoardLayout(state, static_cast<Integer>(cboSelect->currentIndex()));
}

void frmMain::cboSelect_Click()
{
    if (cboSelect->currentIndex() < 0)
        return;
    state.BoardIndex = static_cast<Integer>(cboSelect->currentIndex());
    SetBoardLayout();
    BuildBoardShapes(state);
    lblProgress->setText(QString());
    ClearBoard(state);
    m_surface->fillBox(ClearLeft, ClearTop, ClearWidth, ClearHeight, ButtonFace);
    DrawTray();
    if (auto error = SelectBoard(state, state.BoardIndex)) {
        // The tray cannot be read: no steps until it is chosen again.
        showNoSolution();
        m_hooks.message(QString::fromStdString(error->message()));
        return;
    }
    state.SolutionNo = 1;
    setTextIfDifferent(txtSolution, QStringLiteral("1"));
    if (state.OutputMode == 0)
        ShowSolution();
    ResetUnitSize();
    txtFrom->setText(QStringLiteral("1"));
    txtTo->setText(QString::number(recordCount()));
    update();
}

void frmMain::DrawTray()
{
    if (state.OutputMode == 0) {
        // The tray is always drawn with the 200-twip screen unit.
        constexpr double unit = ScreenUnit;
        m_surface->fillBox(2800, 3300, 3900, 2000, ButtonFace);
        m_surface->fillBox(state.TrayLeft - unit, state.TrayTop - unit, (state.Cols + 2) * unit,
                           (state.Rows + 2) * unit, MidGrey);
        m_surface->fillBox(state.TrayLeft, state.TrayTop, state.Cols * unit, state.Rows * unit,
                           White);
        update();
    }
    state.OriginX = state.TrayLeft;
    state.OriginY = state.TrayTop;
}

void frmMain::DrawPieceRow()
{
    const Single unitSize = state.UnitSize;
    state.UnitSize = ScreenUnit;
    state.OriginX = 600;
    state.OriginY = 2400;
    state.Rows = 7;
    state.Stride = 8;
    for (const PieceCollection &piece : state.PieceShapes) {
        const clsShape &first = piece.front();
        first.DrawIndex(state, first.StartX);
        state.OriginX =
            toInteger(state.OriginX + roundToInteger((first.Width + 1) * state.UnitSize));
    }
    SetBoardLayout();
    state.UnitSize = unitSize;
    state.OriginX = state.TrayLeft;
    state.OriginY = state.TrayTop;
    update();
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
    if (recordCount() == 0) {
        showNoSolution();
        return;
    }
    // On the "Print" tab the tray area is blank and the pieces would go into
    // the preview document, so only the numbers and buttons follow the cursor.
    std::optional<DecodeError> error;
    if (state.OutputMode == 0) {
        error = DecodeSolution(state, state.SolutionSet.currentRecord(), DecodeTarget::Screen);
        if (error) {
            // The empty tray stands for the solution that cannot be shown,
            // and no hold goes on stepping past it.
            stopHolding();
            DrawTray();
        }
    }
    for (QPushButton *b : {cmdFirst, cmdPrev, cmdNext, cmdLast})
        b->setEnabled(true);
    if (recordCount() <= 1) {
        for (QPushButton *b : {cmdFirst, cmdPrev, cmdNext, cmdLast})
            b->setEnabled(false);
    } else if (state.SolutionNo == 1) {
        cmdFirst->setEnabled(false);
        cmdPrev->setEnabled(false);
    } else if (state.SolutionNo == recordCount()) {
        cmdNext->setEnabled(false);
        cmdLast->setEnabled(false);
    }
    update(m_surface->pixelRect(ClearLeft, ClearTop, ClearWidth, ClearHeight));
    {
        const QScopedValueRollback following(m_followingCursor, true);
        setTextIfDifferent(txtSolution, QString::number(state.SolutionNo));
    }
    if (error)
        m_hooks.message(QStringLiteral("Solution %1 of the %2 tray cannot be shown: %3.")
                            .arg(state.SolutionNo)
                            .arg(cboSelect->currentText(), QString::fromStdString(error->message)));
}

void frmMain::showNoSolution()
{
    stopHolding();
    state.SolutionNo = 0;
    for (QPushButton *b : {cmdFirst, cmdPrev, cmdNext, cmdLast})
        b->setEnabled(false);
    const QScopedValueRollback following(m_followingCursor, true);
    setTextIfDifferent(txtSolution, QString());
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

bool frmMain::event(QEvent *event)
{
    // Moved to a screen of another density: paint the picture again there.
    if (event->type() == QEvent::ScreenChangeInternal && m_painted &&
        devicePixelRatioF() != m_surface->ratio()) {
        makeSurface();
        Form_Paint();
        if (state.OutputMode == 0 && recordCount() > 0)
            DecodeSolution(state, state.SolutionSet.currentRecord(), DecodeTarget::Screen);
        update();
    }
    return QDialog::event(event);
}

void frmMain::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_painted)
        Form_Activate();
}

// --- navigation --------------------------------------------------------------

Long frmMain::recordCount() const
{
    return state.SolutionSet.RecordCount();
}

void frmMain::cmdFirst_Click()
{
    state.SolutionSet.MoveFirst();
    state.SolutionNo = 1;
    ShowSolution();
}

void frmMain::cmdLast_Click()
{
    state.SolutionSet.MoveLast();
    state.SolutionNo = toInteger(recordCount());
    ShowSolution();
}

void frmMain::cmdNext_MouseDown()
{
    startHold(+1);
}

void frmMain::cmdPrev_MouseDown()
{
    startHold(-1);
}

void frmMain::cmdNext_MouseUp()
{
    stopRepeating();
}

void frmMain::cmdPrev_MouseUp()
{
    stopRepeating();
}

void frmMain::tmrDelay_Timer()
{
    DelayElapsed = true;
    if (m_hold == Hold::Waiting)
        holdAfterWait();
}

void frmMain::startHold(int direction)
{
    bool &busy = direction > 0 ? NextBusy : PrevBusy;
    if (busy)
        return;
    // The other button's repetition, released a moment ago, ends here.
    if (m_holdDirection != 0)
        endHold();
    busy = true;
    StopRepeat = false;
    tmrDelay->start();
    DelayElapsed = false;
    m_holdDirection = direction;
    ++m_holdToken;
    holdStep();
}

void frmMain::holdStep()
{
    if (m_holdDirection > 0)
        state.SolutionSet.MoveNext();
    else
        state.SolutionSet.MovePrevious();
    state.SolutionNo = toInteger(state.SolutionNo + m_holdDirection);
    ShowSolution();
    if (m_holdDirection == 0)
        return; // the hold ended while the solution was shown
    repaintTray();
    if (StopRepeat || DelayElapsed)
        holdAfterWait();
    else
        m_hold = Hold::Waiting;
}

void frmMain::holdAfterWait()
{
    const Long end = m_holdDirection > 0 ? recordCount() : 1;
    if (state.SolutionNo == end) {
        endHold();
        return;
    }
    // Let the window handle what is pending (a release, above all) before
    // the next step.
    m_hold = Hold::Pausing;
    const unsigned token = m_holdToken;
    QTimer::singleShot(0, this, [this, token] { holdContinue(token); });
}

void frmMain::holdContinue(unsigned token)
{
    if (token != m_holdToken || m_hold != Hold::Pausing)
        return;
    if (StopRepeat)
        endHold();
    else
        holdStep();
}

void frmMain::endHold()
{
    (m_holdDirection > 0 ? NextBusy : PrevBusy) = false;
    m_holdDirection = 0;
    m_hold = Hold::Idle;
    ++m_holdToken;
}

void frmMain::stopHolding()
{
    StopRepeat = true;
    tmrDelay->stop();
    if (m_holdDirection != 0)
        endHold();
}

void frmMain::stopRepeating()
{
    StopRepeat = true;
    tmrDelay->stop();
    if (m_hold == Hold::Waiting)
        holdAfterWait();
}

void frmMain::repaintTray()
{
    repaint(m_surface->pixelRect(ClearLeft, ClearTop, ClearWidth, ClearHeight));
}

void frmMain::setTextIfDifferent(QLineEdit *box, const QString &text)
{
    if (box->text() != text)
        box->setText(text);
}

void frmMain::rejectEntry(QLineEdit *box, int selectionLength)
{
    box->setSelection(0, std::min(selectionLength, static_cast<int>(box->text().size())));
}

void frmMain::txtSolution_Change()
{
    if (m_followingCursor)
        return;
    const auto number = numberIn(txtSolution);
    const auto n = number ? wholeInteger(*number) : std::nullopt;
    if (!number || !n || *n < 1 || *n > recordCount()) {
        m_hooks.beep();
        rejectEntry(txtSolution, 9999);
        return;
    }
    state.SolutionNo = *n;
    if (*n == 1) {
        cmdFirst_Click();
    } else if (*n == recordCount()) {
        cmdLast_Click();
    } else {
        state.SolutionSet.MoveFirst();
        state.SolutionSet.FindSolution(*n);
        ShowSolution();
    }
}

void frmMain::cmdClose_Click()
{
    if (m_closing)
        return;
    m_closing = true;
    stopHolding();
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
    auto *button = static_cast<QPushButton *>(watched);
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
        // Greyed while held: at the end of the set, the hold ends there.
        if (!button->isEnabled() && m_holdDirection == (next ? 1 : -1))
            stopHolding();
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

void frmMain::clearTrayArea()
{
    m_surface->fillBox(ClearLeft, ClearTop, ClearWidth, ClearHeight, ButtonFace);
    update();
}

void frmMain::SSTabFn_Click()
{
    state.OutputMode = SSTabFn->currentIndex();
    ResetUnitSize();
    if (state.OutputMode == 1) {
        picVCR->hide();
        cmdPreview->show();
        cmdPreview->setDefault(true);
        optOrientation[0]->setChecked(true);
        optRender[1]->setChecked(true);
        clearTrayArea();
    } else if (state.OutputMode == 0) {
        DrawTray();
        state.OriginX = state.TrayLeft;
        state.OriginY = state.TrayTop;
        stopRepeating();
        cmdFirst_Click();
        picVCR->show();
        cmdPreview->hide();
    }
}

// --- report options ----------------------------------------------------------

// A range box's check: a beep when it or its partner holds no usable number,
// a message when it is above the count or on the wrong side of its partner,
// then its text selected and the focus given to it. Returns whether the entry
// stands. The start box's partner is the end box, and the other way round.
bool frmMain::checkRangeBox(bool start)
{
    QLineEdit *box = start ? txtFrom : txtTo;
    const auto own = numberIn(box);
    const auto partnerNumber = numberIn(start ? txtTo : txtFrom);
    const auto partner = partnerNumber ? wholeInteger(*partnerNumber) : std::nullopt;
    const QString which = start ? QStringLiteral("Start") : QStringLiteral("End");
    QString message;
    if (!partner || !own) {
        m_hooks.beep();
    } else if (*own > recordCount()) {
        message = which + QStringLiteral(" Solution Number cannot be greater than %1 for the "
                                         "selected Board")
                              .arg(recordCount());
    } else if (start && roundHalfEven(*own) > *partner) {
        message =
            QStringLiteral("Start Solution Number cannot be greater than the End Solution Number");
    } else if (!start && roundHalfEven(*own) < *partner) {
        message =
            QStringLiteral("End Solution Number cannot be less than the Start Solution Number");
    } else {
        return true;
    }
    if (!message.isEmpty())
        m_hooks.message(message);
    rejectEntry(box, 99);
    box->setFocus();
    return false;
}

void frmMain::txtFrom_Change()
{
    if (!Starting)
        checkRangeBox(true);
}

void frmMain::txtTo_Change()
{
    if (!Starting)
        checkRangeBox(false);
}

void frmMain::txtSideLength_Change()
{
    cmdPreview->setDefault(false);
}

bool frmMain::sideLengthAccepted()
{
    const auto side = numberIn(txtSideLength);
    if (!side || *side <= 0.001) {
        m_hooks.beep();
    } else if (static_cast<Single>(*side) > state.MaxUnitSize) {
        m_hooks.message(QStringLiteral("In order to fit on the page, the Sidelength of the "
                                       "Unit Square must be under %1 inch")
                            .arg(formatSide(state.MaxUnitSize)));
    } else {
        state.UnitSize = static_cast<Single>(*side * 1440);
        state.DoubleUnit = state.UnitSize + state.UnitSize;
        return true;
    }
    return false;
}

bool frmMain::txtSideLength_LostFocus()
{
    if (!sideLengthAccepted())
        return false;
    cmdPreview->setDefault(true);
    return true;
}

void frmMain::optOrientation_Click(int index)
{
    m_preview.setOrientation(static_cast<Integer>(index));
    SetBoardLayout();
}

void frmMain::optRender_Click(int index)
{
    state.RenderMode = static_cast<Integer>(index);
}

void frmMain::cmdPreview_Click()
{
    // The report only runs on a range and a side length that stand: a box
    // still holding a rejected entry says so again and takes the focus.
    if (!checkRangeBox(true) || !checkRangeBox(false) || !m_sideCheck->run())
        return;
    // Each box is the other's partner, so both now hold numbers that round
    // to 16-bit whole numbers; with no lower bound in the checks, an end
    // below 1 selects nothing.
    if (std::floor(*numberIn(txtTo)) < 1) {
        m_hooks.beep();
        rejectEntry(txtTo, 99);
        txtTo->setFocus();
        return;
    }
    BuildReport();
    if (auto error = SelectBoard(state, state.BoardIndex))
        m_hooks.message(QString::fromStdString(error->message()));
    lblProgress->setText(QString());
}

void frmMain::BuildReport()
{
    ReportOptions options;
    // The solutions whose numbers lie within the range as typed: a start of
    // 2.5 begins at 3, an end of 3.5 stops at 3. Numbers below 1 select from
    // the first solution on. Both boxes were checked just now.
    options.from = static_cast<Integer>(std::clamp(std::ceil(*numberIn(txtFrom)), 1.0, 32767.0));
    options.to = static_cast<Integer>(std::clamp(std::floor(*numberIn(txtTo)), 1.0, 32767.0));
    options.landscape = optOrientation[1]->isChecked();

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
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto error = tw::BuildReport(state, options, progress);
    QApplication::restoreOverrideCursor();
    if (error) {
        m_hooks.message(QString::fromStdString(*error));
        return;
    }
    if (m_hooks.showPreview)
        m_hooks.showPreview(m_preview);
}

} // namespace tw
