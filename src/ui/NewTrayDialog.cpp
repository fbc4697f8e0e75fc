#include "ui/NewTrayDialog.h"

#include "app/TrayLibrary.h"
#include "base/Files.h"
#include "base/NumberText.h"
#include "pieces/Appearance.h"
#include "preview/QtColour.h"
#include "solver/RegionSolver.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace tw {

namespace {

// The largest region file read: far more than any 32 x 32 drawing needs.
constexpr std::size_t MaxRegionFile = 64 * 1024;

QString text(const std::string &s)
{
    return QString::fromStdString(s);
}

// A sentence's first letter in capitals.
QString capitalised(const std::string &s)
{
    const QString t = text(s);
    return t.left(1).toUpper() + t.mid(1);
}

} // namespace

DraftView::DraftView(TrayDraft &draft, QWidget *parent) : QWidget(parent), m_draft(draft)
{
    setObjectName(QStringLiteral("picGrid"));
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Tray drawing"));
    setAccessibleDescription(QStringLiteral(
        "Click or drag to add or remove cells; arrows move the cursor, Space toggles its cell, "
        "Shift with an arrow draws on"));
}

void DraftView::setMarked(std::vector<std::pair<int, int>> cells)
{
    m_marked = std::move(cells);
    update();
}

void DraftView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const DraftLayout at = layout();
    const int side = at.cell * TrayDraft::Side;
    p.fillRect(at.left, at.top, side, side, Qt::white);
    const QColor cell = qtColour(MidGrey), mark(0xC0, 0x20, 0x20);
    for (int c = 0; c < TrayDraft::Side; ++c)
        for (int r = 0; r < TrayDraft::Side; ++r)
            if (m_draft.has(c, r)) {
                const auto [x, y, s] = at.square(c, r);
                p.fillRect(x, y, s, s, cell);
            }
    for (const auto &[c, r] : m_marked) {
        const auto [x, y, s] = at.square(c, r);
        p.fillRect(x, y, s, s, mark);
    }
    p.setPen(QColor(0xD0, 0xD0, 0xD0));
    for (int k = 0; k <= TrayDraft::Side; ++k) {
        p.drawLine(at.left + k * at.cell, at.top, at.left + k * at.cell, at.top + side);
        p.drawLine(at.left, at.top + k * at.cell, at.left + side, at.top + k * at.cell);
    }
    if (hasFocus()) {
        const auto [x, y, s] = at.square(m_draft.cursorColumn(), m_draft.cursorRow());
        p.setPen(QPen(palette().color(QPalette::Highlight), 2));
        p.drawRect(x + 1, y + 1, s - 2, s - 2);
    }
}

std::optional<std::pair<int, int>> DraftView::cellUnder(const QMouseEvent &event) const
{
    const QPoint at = event.position().toPoint();
    return layout().cellAt(at.x(), at.y());
}

void DraftView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (const auto cell = cellUnder(*event)) {
        m_draft.beginStroke(cell->first, cell->second);
        update();
        emit changed();
    }
}

void DraftView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_draft.stroking())
        return;
    if (const auto cell = cellUnder(*event)) {
        m_draft.strokeTo(cell->first, cell->second);
        update();
        emit changed();
    }
}

void DraftView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_draft.endStroke();
    emit changed();
}

void DraftView::keyPressEvent(QKeyEvent *event)
{
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Left:
        m_draft.moveCursor(-1, 0, extend);
        break;
    case Qt::Key_Right:
        m_draft.moveCursor(1, 0, extend);
        break;
    case Qt::Key_Up:
        m_draft.moveCursor(0, -1, extend);
        break;
    case Qt::Key_Down:
        m_draft.moveCursor(0, 1, extend);
        break;
    case Qt::Key_Space:
        m_draft.toggleAtCursor();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    update();
    emit changed();
}

NewTrayDialog::NewTrayDialog(const Catalogue &catalogue, std::string library, Hooks hooks,
                             QWidget *parent)
    : QDialog(parent), m_library(std::move(library)), m_catalogue(catalogue),
      m_hooks(std::move(hooks))
{
    for (Integer t = 0; t < catalogue.size(); ++t)
        m_trays.push_back(catalogue.tray(t));
    setObjectName(QStringLiteral("frmNewTray"));
    setWindowTitle(QStringLiteral("New Tray"));
    setAcceptDrops(true);
    const auto named = [](QWidget *w, const char *name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };
    const auto button = [&](const char *name, const QString &caption) {
        return static_cast<QPushButton *>(named(new QPushButton(caption, this), name));
    };
    const auto label = [&](const char *name) {
        auto *l = static_cast<QLabel *>(named(new QLabel(this), name));
        l->setWordWrap(true);
        return l;
    };

    cboStart = static_cast<QComboBox *>(named(new QComboBox(this), "cboStart"));
    cboStart->addItem(QStringLiteral("An empty grid"));
    for (const Tray &tray : m_trays)
        cboStart->addItem(text(tray.label()));
    auto *lblStart = new QLabel(QStringLiteral("&Start from:"), this);
    lblStart->setBuddy(cboStart);
    cmdImport = button("cmdImport", QStringLiteral("&Import..."));
    cmdUndo = button("cmdUndo", QStringLiteral("&Undo"));
    cmdRedo = button("cmdRedo", QStringLiteral("&Redo"));
    picGrid = new DraftView(m_draft, this);
    lblCount = label("lblCount");
    lblSymmetry = label("lblSymmetry");
    lblObstacle = label("lblObstacle");
    lblObstacle->setStyleSheet(QStringLiteral("color: #C02020"));
    txtName = static_cast<QLineEdit *>(named(new QLineEdit(this), "txtName"));
    txtName->setMaxLength(64);
    txtName->setText(text(defaultTrayName(m_catalogue)));
    auto *lblNameCaption = new QLabel(QStringLiteral("&Name:"), this);
    lblNameCaption->setBuddy(txtName);
    lblName = label("lblName");
    cmdFind = button("cmdFind", QStringLiteral("&Find Solutions"));
    cmdFind->setDefault(true);
    cmdCancel = button("cmdCancel", QStringLiteral("Cancel"));
    cmdClose = button("cmdClose", QStringLiteral("Close"));
    prgSearch = static_cast<QProgressBar *>(named(new QProgressBar(this), "prgSearch"));
    prgSearch->setRange(0, 1);
    prgSearch->setValue(0);
    prgSearch->setTextVisible(false);
    prgSearch->setAccessibleName(QStringLiteral("Search progress"));
    lblProgress = label("lblProgress");

    auto *top = new QHBoxLayout;
    top->addWidget(lblStart);
    top->addWidget(cboStart, 1);
    top->addWidget(cmdImport);
    top->addSpacing(12);
    top->addWidget(cmdUndo);
    top->addWidget(cmdRedo);
    auto *name = new QHBoxLayout;
    name->addWidget(lblNameCaption);
    name->addWidget(txtName, 1);
    auto *search = new QHBoxLayout;
    search->addWidget(cmdFind);
    search->addWidget(prgSearch, 1);
    search->addWidget(cmdCancel);
    search->addWidget(cmdClose);
    auto *all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addWidget(picGrid, 1);
    all->addWidget(lblCount);
    all->addWidget(lblSymmetry);
    all->addWidget(lblObstacle);
    all->addLayout(name);
    all->addWidget(lblName);
    all->addLayout(search);
    all->addWidget(lblProgress);

    connect(picGrid, &DraftView::changed, this, &NewTrayDialog::refresh);
    connect(cboStart, &QComboBox::activated, this, &NewTrayDialog::startFrom);
    connect(cmdImport, &QPushButton::clicked, this, [this] {
        const QString path = m_hooks.askOpenPath(QString(), QStringLiteral("Text files (*.txt)"));
        if (!path.isEmpty())
            import(path);
    });
    connect(cmdUndo, &QPushButton::clicked, this, [this] {
        m_draft.undo();
        refresh();
    });
    connect(cmdRedo, &QPushButton::clicked, this, [this] {
        m_draft.redo();
        refresh();
    });
    // Every key the desktop gives undo and redo: Ctrl+Z, and Ctrl+Y or
    // Ctrl+Shift+Z.
    for (const auto &[keys, undo] :
         {std::pair{QKeySequence::Undo, true}, {QKeySequence::Redo, false}})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [this, undo = undo] {
            if (m_search)
                return;
            undo ? m_draft.undo() : m_draft.redo();
            refresh();
        });
    connect(txtName, &QLineEdit::textChanged, this, &NewTrayDialog::refresh);
    connect(cmdFind, &QPushButton::clicked, this, &NewTrayDialog::findSolutions);
    connect(cmdCancel, &QPushButton::clicked, this, &NewTrayDialog::stopSearch);
    connect(cmdClose, &QPushButton::clicked, this, &NewTrayDialog::close);
    picGrid->setFocus();
    refresh();
}

NewTrayDialog::~NewTrayDialog()
{
    if (m_search) {
        m_search->cancel = true;
        m_search->thread.join();
    }
}

std::optional<QString> NewTrayDialog::nameRefused() const
{
    const std::string name = txtName->text().trimmed().toStdString();
    if (const auto why = nameRefusal(name))
        return text(*why);
    if (const auto taken = keptTrayNamed(m_catalogue, name))
        return QStringLiteral("A tray named \"%1\" is kept already.")
            .arg(text(m_catalogue.tray(*taken).label()));
    return std::nullopt;
}

void NewTrayDialog::refresh()
{
    lblCount->setText(text(m_draft.countLine()));
    lblSymmetry->setText(text(m_draft.symmetryLine()));
    const auto obstacle = m_draft.obstacle();
    const auto taken =
        m_draft.searchable() ? regionTaken(m_draft.tray(), m_catalogue) : std::nullopt;
    lblObstacle->setText(obstacle ? capitalised(obstacle->message) + QStringLiteral(".")
                         : taken  ? capitalised(*taken) + QStringLiteral(".")
                                  : QString());
    picGrid->setMarked(obstacle ? obstacle->cells : std::vector<std::pair<int, int>>{});
    const auto refused = nameRefused();
    lblName->setText(refused ? *refused : QString());
    const bool busy = m_search != nullptr;
    cmdFind->setEnabled(!busy && m_draft.searchable() && !taken && !refused);
    cmdCancel->setEnabled(busy);
    for (QWidget *w : std::initializer_list<QWidget *>{cboStart, cmdImport, txtName, picGrid})
        w->setEnabled(!busy);
    cmdUndo->setEnabled(!busy && m_draft.canUndo());
    cmdRedo->setEnabled(!busy && m_draft.canRedo());
}

void NewTrayDialog::startFrom(int index)
{
    if (index == 0)
        m_draft.clear();
    else if (index <= static_cast<int>(m_trays.size()))
        m_draft.load(m_trays[static_cast<std::size_t>(index - 1)]);
    picGrid->update();
    refresh();
}

void NewTrayDialog::import(const QString &path)
{
    const auto bytes = readLimited(QFile::encodeName(path).toStdString(), MaxRegionFile);
    if (!bytes) {
        m_hooks.message(text(bytes.error().sentence("cannot read", path.toStdString())));
        return;
    }
    if (bytes->size() > MaxRegionFile) {
        m_hooks.message(
            QStringLiteral("\"%1\" is larger than a region of 32 x 32 cells can be.").arg(path));
        return;
    }
    const auto region = readRegion(*bytes);
    if (!region) {
        m_hooks.message(
            QStringLiteral("\"%1\" holds no tray: %2.").arg(path, text(region.error())));
        return;
    }
    m_draft.load(*region);
    picGrid->update();
    refresh();
}

void NewTrayDialog::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls() && event->mimeData()->urls().value(0).isLocalFile())
        event->acceptProposedAction();
}

void NewTrayDialog::dropEvent(QDropEvent *event)
{
    if (m_search)
        return;
    import(event->mimeData()->urls().value(0).toLocalFile());
    event->acceptProposedAction();
}

void NewTrayDialog::findSolutions()
{
    if (m_search || !m_draft.searchable() || nameRefused() ||
        regionTaken(m_draft.tray(), m_catalogue))
        return;
    m_search = std::make_unique<Search>(standardOrientation(m_draft.tray()));
    prgSearch->setRange(0, 0); // moving: how long is not known
    lblProgress->setText(QStringLiteral("Searching..."));
    m_clock.start();
    refresh();
    cmdCancel->setFocus();
    Search *search = m_search.get();
    search->thread = std::thread([this, search] {
        const auto found = solveRegion(
            search->tray, 0,
            [this](const RegionProgress &p) {
                QMetaObject::invokeMethod(
                    this, [this, p] { progressed(p.placements, p.tilings); }, Qt::QueuedConnection);
            },
            &search->cancel);
        std::optional<std::vector<CellLetters>> solutions;
        if (found)
            solutions = found->solutions;
        QMetaObject::invokeMethod(
            this, [this, solutions = std::move(solutions)] { finished(solutions); },
            Qt::QueuedConnection);
    });
}

void NewTrayDialog::progressed(long long placements, long long tilings)
{
    if (!m_search)
        return;
    lblProgress->setText(QStringLiteral("%1 placements tried, %2 tilings found, %3 s")
                             .arg(text(groupedNumber(placements)), text(groupedNumber(tilings)))
                             .arg(static_cast<double>(m_clock.elapsed()) / 1000, 0, 'f', 1));
}

void NewTrayDialog::stopSearch()
{
    if (!m_search)
        return;
    m_search->cancel = true;
    m_search->thread.join();
    m_search.reset();
    prgSearch->setRange(0, 1);
    prgSearch->setValue(0);
    lblProgress->setText(QStringLiteral("The search was stopped; nothing was kept."));
    refresh();
    cmdFind->setFocus();
}

void NewTrayDialog::finished(std::optional<std::vector<CellLetters>> solutions)
{
    if (!m_search)
        return; // stopped already
    m_search->thread.join();
    const Tray tray = m_search->tray;
    m_search.reset();
    prgSearch->setRange(0, 1);
    prgSearch->setValue(solutions ? 1 : 0);
    refresh();
    if (!solutions)
        return;
    if (solutions->empty()) {
        lblProgress->setText(
            QStringLiteral("The pieces fit this region in no way; nothing was kept."));
        return;
    }
    const std::string name = txtName->text().trimmed().toStdString();
    // The library's folder is made when a tray is first kept.
    QDir().mkpath(QFileInfo(text(m_library)).absolutePath());
    if (const auto error = keepTray(m_library, trayNameOf(name), tray, *solutions)) {
        lblProgress->setText(QStringLiteral("Nothing was kept."));
        m_hooks.message(text(error->message) + QStringLiteral("; nothing was kept."));
        return;
    }
    m_keptName = name;
    lblProgress->setText(
        QStringLiteral("Kept \"%1\": %2 solutions.")
            .arg(text(name), text(groupedNumber(static_cast<long long>(solutions->size())))));
    emit kept(text(name));
    close();
}

void NewTrayDialog::reject()
{
    close();
}

void NewTrayDialog::closeEvent(QCloseEvent *event)
{
    if (m_search) {
        if (!m_hooks.ask(QStringLiteral("The search for solutions is still running. Stop it and "
                                        "close the editor?"))) {
            event->ignore();
            return;
        }
        stopSearch();
    }
    event->accept();
    QDialog::reject();
}

} // namespace tw
