#include "ui/frmViewPro.h"

#include "app/Choices.h"
#include "app/Program.h"
#include "base/Files.h"
#include "preview/Fonts.h"
#include "preview/PreviewDocument.h"
#include "ui/BusyPointer.h"
#include "ui/EntryChecks.h"
#include "ui/PreviewControl.h"
#include "ui/UpDown.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>

#include <cmath>

namespace tw {

frmViewPro::frmViewPro(PreviewDocument &document, QWidget *parent)
    : QDialog(parent), m_document(document)
{
    setObjectName(QStringLiteral("frmViewPro"));
    setWindowTitle(QStringLiteral("Print Preview"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setFont(sansFont(8));
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_layout = TwipsLayout(screenScale(this));
    m_hooks.beep = [] { QApplication::beep(); };
    m_hooks.message = [this](const QString &text) { showPlainMessage(this, text); };
    m_hooks.askPdfPath = [this](const QString &start) {
        return QFileDialog::getSaveFileName(this, tr("Save PDF"), start,
                                            tr("PDF documents (*.pdf)"));
    };

    const auto button = [this](QWidget *parent, const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, parent);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    lblZoom = new QLabel(QStringLiteral("Zoom"), this);
    lblZoom->setObjectName(QStringLiteral("lblZoom"));
    txtZoom = new QLineEdit(this);
    txtZoom->setObjectName(QStringLiteral("txtZoom"));
    udZoom = new UpDown(this);
    udZoom->setObjectName(QStringLiteral("udZoom"));
    udZoom->setBuddy(txtZoom);
    vp = new PreviewControl(&m_document, this);
    picButtons = new QWidget(this);
    picButtons->setObjectName(QStringLiteral("picButtons"));
    cmdClose = button(picButtons, "cmdClose", QStringLiteral("Close (Esc)"));
    cmdPrint = button(picButtons, "cmdPrint", QStringLiteral("&Print"));
    cmdFit = button(picButtons, "cmdFit", QStringLiteral("Fit Width"));
    cmdClip = button(picButtons, "cmdClip", QStringLiteral("Clip"));
    cmdPdf = button(picButtons, "cmdPdf", QStringLiteral("Save PDF"));
    cmdPdf->setToolTip(QStringLiteral("Save all Pages as a PDF File"));
    picVCR = new QFrame(picButtons);
    picVCR->setObjectName(QStringLiteral("picVCR"));
    picVCR->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    cmdFirst = button(picVCR, "cmdFirst", QStringLiteral("|<"));
    cmdPrev = button(picVCR, "cmdPrev", QStringLiteral("<"));
    txtPage = new QLineEdit(picVCR);
    txtPage->setObjectName(QStringLiteral("txtPage"));
    txtPage->setAlignment(Qt::AlignCenter);
    cmdNext = button(picVCR, "cmdNext", QStringLiteral(">"));
    cmdLast = button(picVCR, "cmdLast", QStringLiteral(">|"));

    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdPrint, &QPushButton::clicked, this, &frmViewPro::cmdPrint_Click);
    connect(cmdFit, &QPushButton::clicked, this, &frmViewPro::cmdFit_Click);
    connect(cmdClip, &QPushButton::clicked, this, &frmViewPro::cmdClip_Click);
    connect(cmdPdf, &QPushButton::clicked, this, &frmViewPro::cmdPdf_Click);
    connect(cmdFirst, &QPushButton::clicked, this, [this] { ShowCurrentPage(1); });
    connect(cmdPrev, &QPushButton::clicked, this,
            [this] { ShowCurrentPage(static_cast<Integer>(vp->CurrentPage() - 1)); });
    connect(cmdNext, &QPushButton::clicked, this,
            [this] { ShowCurrentPage(static_cast<Integer>(vp->CurrentPage() + 1)); });
    connect(cmdLast, &QPushButton::clicked, this, [this] { ShowCurrentPage(vp->PageCount()); });
    connect(udZoom, &UpDown::valueChanged, this, &frmViewPro::udZoom_Change);
    connect(vp, &PreviewControl::Notify, this, &frmViewPro::vp_Notify);
    connect(vp, &PreviewControl::PrintAborted, this, &frmViewPro::vp_PrintAborted);
    connect(vp, &PreviewControl::TextNotify, this, &frmViewPro::vp_TextNotify);
    m_zoomCheck = new LeaveCheck(txtZoom, [this] { return applyZoomText(); });
    connect(txtZoom, &QLineEdit::returnPressed, this, [this] { m_zoomCheck->run(); });
    addShortcuts();

    Form_Load();
}

// The keyboard's way to each button, from wherever the focus is; a text
// box keeps the keys it uses itself (Home and End, Ctrl+C).
void frmViewPro::addShortcuts()
{
    const auto on = [this](QKeySequence keys, std::function<void()> act) {
        auto *shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, std::move(act));
    };
    on(Qt::CTRL | Qt::Key_P, [this] { cmdPrint->click(); });
    on(Qt::CTRL | Qt::Key_S, [this] { cmdPdf->click(); });
    on(Qt::CTRL | Qt::Key_C, [this] { cmdClip->click(); });
    on(Qt::Key_PageDown, [this] { ShowCurrentPage(static_cast<Integer>(vp->CurrentPage() + 1)); });
    on(Qt::Key_PageUp, [this] { ShowCurrentPage(static_cast<Integer>(vp->CurrentPage() - 1)); });
    on(Qt::Key_Home, [this] { ShowCurrentPage(1); });
    on(Qt::Key_End, [this] { ShowCurrentPage(vp->PageCount()); });
    // Ctrl and + is Ctrl+= on keyboards where + needs Shift.
    for (const QKeySequence &keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal),
          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Plus)})
        on(keys, [this] { zoomStep(+1); });
    on(Qt::CTRL | Qt::Key_Minus, [this] { zoomStep(-1); });
}

void frmViewPro::zoomStep(int direction)
{
    const BusyPointer busy;
    vp->navigator().zoomStep(direction);
    vp->RefreshView();
}

// What a screen reader says of each control: a name in words where the
// caption is a symbol, and the tooltip with the shortcut as description.
void frmViewPro::describeControls()
{
    const auto describe = [](QWidget *w, const QString &name, const QString &more = {}) {
        w->setAccessibleName(name);
        w->setAccessibleDescription(w->toolTip().isEmpty() ? more.trimmed() : w->toolTip() + more);
    };
    describe(txtZoom, QStringLiteral("Zoom in percent"),
             QStringLiteral(" Enter applies it; Ctrl+plus and Ctrl+minus step it"));
    describe(udZoom, QStringLiteral("Zoom up or down"));
    describe(vp, QStringLiteral("Page preview"),
             QStringLiteral(" Page Up, Page Down, Home and End turn the pages; Ctrl and the "
                            "wheel zoom"));
    describe(cmdClose, QStringLiteral("Close"), QStringLiteral(" (Esc)"));
    describe(cmdPrint, QStringLiteral("Print"), QStringLiteral(" (Ctrl+P)"));
    describe(cmdFit, cmdFit->text());
    describe(cmdClip, QStringLiteral("Copy page"), QStringLiteral(" (Ctrl+C)"));
    describe(cmdPdf, QStringLiteral("Save PDF"), QStringLiteral(" (Ctrl+S)"));
    describe(cmdFirst, QStringLiteral("First page"), QStringLiteral("Home"));
    describe(cmdPrev, QStringLiteral("Previous page"), QStringLiteral("Page Up"));
    describe(cmdNext, QStringLiteral("Next page"), QStringLiteral("Page Down"));
    describe(cmdLast, QStringLiteral("Last page"), QStringLiteral("End"));
    describe(txtPage, QStringLiteral("Page"));
}

void frmViewPro::setHooks(Hooks hooks)
{
    if (hooks.beep)
        m_hooks.beep = std::move(hooks.beep);
    if (hooks.message)
        m_hooks.message = std::move(hooks.message);
    if (hooks.askPdfPath)
        m_hooks.askPdfPath = std::move(hooks.askPdfPath);
}

void frmViewPro::setDatabasePath(const std::string &path)
{
    m_databasePath = path;
    vp->setDatabasePath(path);
}

void frmViewPro::setDocumentName(const QString &name)
{
    m_documentName = name;
    vp->JobTitle = name;
}

void frmViewPro::Form_Load()
{
    picVCR->hide();
    place(picButtons, 0, 0, 0, 600);
    place(lblZoom, 240, 200, 600, 255);
    place(txtZoom, 840, 150, 480, 300);
    place(udZoom, 840 + 480, 150, 255, 300);

    place(cmdFirst, 0, 0, 500, 400);
    place(cmdPrev, 500, 0, 500, 400);
    place(txtPage, 1000, 0, 2000, 400);
    place(cmdNext, 3000, 0, 500, 400);
    place(cmdLast, 3500, 0, 500, 400);
    // The frame's border, in twips, so that its inside starts at (100, 100)
    // and just holds the five controls.
    const double b = std::round(m_layout.scale().twips(picVCR->frameWidth()));
    place(picVCR, 100 - b, 100 - b, 4000 + 2 * b, 400 + 2 * b);
    for (QWidget *w : {static_cast<QWidget *>(cmdFirst), static_cast<QWidget *>(cmdPrev),
                       static_cast<QWidget *>(txtPage), static_cast<QWidget *>(cmdNext),
                       static_cast<QWidget *>(cmdLast)})
        w->move(w->pos() + QPoint(picVCR->frameWidth(), picVCR->frameWidth()));

    // Maximized; the screen's whole work area also where no window manager
    // honours that.
    if (const QScreen *screen = this->screen())
        setGeometry(screen->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
    udZoom->setRange(100, 400);
    udZoom->setValue(100);
    place(udZoom, 840 + 480, m_layout.rect(txtZoom).top(), 255, 300);

    txtPage->setEnabled(false);
    cmdClip->setToolTip(QStringLiteral("Copy Current Page to the Clipboard"));
    cmdPrint->setToolTip(QStringLiteral("Print Selected Pages from the Display above"));
    cmdClose->setToolTip(QStringLiteral("Close this window without Printing"));
    vp->enableNavigation(PreviewControl::Navigation::MouseWheel, true);
    vp->enableNavigation(PreviewControl::Navigation::Keyboard, true);
    describeControls();
}

void frmViewPro::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (isMinimized())
        return;
    const double W = m_layout.scale().twips(width());
    const double H = m_layout.scale().twips(height());
    const double strip = m_layout.rect(picButtons).height();
    // A window too low for the view gives it no height rather than a
    // negative one.
    place(vp, 0, 600, W, std::max(0.0, H - strip - 600));
    place(picButtons, 0, H - strip, W, strip);
    const double top = std::round((strip - 400) / 2);
    place(cmdClose, W - 1100, top, 1000, 400);
    place(cmdPdf, W - 2200, top, 1000, 400);
    place(cmdFit, W - 3300, top, 1000, 400);
    place(cmdPrint, W - 4400, top, 1000, 400);
    place(cmdClip, W - 5500, top, 1000, 400);
}

void frmViewPro::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_activated) {
        m_activated = true;
        Form_Activate();
    }
}

void frmViewPro::Form_Activate()
{
    ShowCurrentPage(vp->CurrentPage());
    ApplyFit();
    // The page has the focus, so that its keys (Home, End, Ctrl+C) act on it.
    vp->setFocus(Qt::OtherFocusReason);
}

void frmViewPro::ShowCurrentPage(Integer iPage)
{
    const BusyPointer busy;
    vp->setCurrentPage(iPage);
    ShowVCR();
    vp->RefreshView();
}

void frmViewPro::ShowVCR()
{
    // The page the control really shows: it keeps its page within the
    // document, whoever asked for which.
    txtPage->setText(QStringLiteral("Page %1 of %2").arg(vp->CurrentPage()).arg(vp->PageCount()));
    vp->setAccessibleName(QStringLiteral("Page preview, ") + txtPage->text().toLower());
    const Steps can = vp->navigator().steps();
    cmdFirst->setEnabled(can.first);
    cmdPrev->setEnabled(can.previous);
    cmdNext->setEnabled(can.next);
    cmdLast->setEnabled(can.last);
    picVCR->setVisible(vp->PageCount() != 1);
}

bool frmViewPro::applyZoomText()
{
    // Only a whole number from 10 to 400 is a zoom; anything else is
    // answered with a beep, and the box shows the zoom still applied,
    // selected to be typed over.
    bool ok = false;
    const int zoom = txtZoom->text().trimmed().toInt(&ok);
    if (!ok || zoom < PreviewNavigator::MinimumZoom || zoom > PreviewNavigator::MaximumZoom) {
        m_hooks.beep();
        txtZoom->setText(QString::number(static_cast<int>(std::nearbyint(vp->Zoom()))));
        txtZoom->selectAll();
        return false;
    }
    const BusyPointer busy;
    vp->setZoom(zoom);
    vp->RefreshView();
    return true;
}

void frmViewPro::udZoom_Change()
{
    applyZoomText();
}

void frmViewPro::cmdFit_Click()
{
    vp->navigator().FitToWidth = !vp->navigator().FitToWidth;
    ApplyFit();
}

void frmViewPro::ApplyFit()
{
    const BusyPointer busy;
    PreviewNavigator &navigator = vp->navigator();
    navigator.applyFit(vp->fitView(), vp->size(), vp->logicalDpiX());
    // The button offers the other fit.
    const QString word = navigator.FitToWidth ? QStringLiteral("Height") : QStringLiteral("Width");
    txtZoom->setText(QString::number(static_cast<int>(std::nearbyint(vp->Zoom()))));
    cmdFit->setText(QStringLiteral("Fit ") + word);
    cmdFit->setToolTip(QStringLiteral("Adjust Zoom to ") + word + QStringLiteral(" of Page"));
    cmdFit->setAccessibleName(cmdFit->text());
    cmdFit->setAccessibleDescription(cmdFit->toolTip());
    vp->RefreshView();
}

void frmViewPro::cmdClip_Click()
{
    const BusyPointer busy;
    vp->CopyPage(QStringLiteral(".wmf"), vp->CurrentPage());
}

void frmViewPro::cmdPrint_Click()
{
    PrintReport();
}

void frmViewPro::PrintReport()
{
    vp->setPrintRange(PreviewControl::PrintRange::AllPages);
    vp->PrintPages(1, vp->PageCount());
}

void frmViewPro::cmdPdf_Click()
{
    QString name =
        Choices::outputFolder() + QLatin1Char('/') + m_documentName + QStringLiteral(".pdf");
    std::optional<std::string> path;
    for (;;) {
        name = m_hooks.askPdfPath(name);
        if (name.isEmpty())
            return;
        // Said, then the dialog opens again for another name.
        path = pathBytes(name);
        const auto refusal =
            path ? outputRefusal(*path, m_databasePath)
                 : std::optional<std::string>("the name holds characters that are not valid text");
        if (!refusal)
            break;
        m_hooks.message(QStringLiteral("The PDF file cannot be saved as \"%1\": %2. Choose "
                                       "another name.")
                            .arg(name, QString::fromStdString(*refusal)));
    }
    std::optional<FileFailure> failure;
    {
        const BusyPointer busy;
        failure = m_document.writePdf(*path, 1, m_document.PageCount(), QPageSize::ExactMatch,
                                      m_documentName, m_databasePath);
    }
    if (failure)
        m_hooks.message(QStringLiteral("The PDF file could not be saved: ") +
                        displayName(failure->sentence("cannot write", *path)));
    else
        Choices::setOutputFolderOf(name);
}

void frmViewPro::vp_Notify(int code)
{
    // The page changes by the control's own keys as well as by the buttons.
    if (code == PreviewControl::PageShown || code == PreviewControl::DocumentChanged)
        ShowVCR();
    else if (code >= PreviewControl::ZoomChanged)
        txtZoom->setText(QString::number(static_cast<int>(std::nearbyint(vp->Zoom()))));
}

void frmViewPro::vp_PrintAborted()
{
    const QString why = vp->printError();
    m_hooks.message(why.isEmpty() ? QStringLiteral("Printing has been aborted") : why);
}

void frmViewPro::vp_TextNotify(const QString &, const QString &second)
{
    const QStringList fields = textNotifyFields(second);
    if (fields.size() < 4)
        return;
    vp->PrinterName = fields[0];
    vp->JobTitle = fields[3];
}

} // namespace tw
