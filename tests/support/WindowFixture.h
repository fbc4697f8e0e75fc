#pragma once

#include "ProgramRun.h"
#include "app/Program.h"
#include "pieces/PieceTables.h"
#include "preview/PreviewDocument.h"
#include "preview/QtColour.h"
#include "solutions/Decoding.h"
#include "solutions/SharedState.h"
#include "ui/Twips.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace tw::test {

// The settings of this run of the tests alone, emptied: none of the
// user's, and none of another run of the same tests at the same time.
inline void ownSettings()
{
    static const QTemporaryDir folder;
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    QSettings().clear();
}

// How the window's messages reach the test: recorded, or also shown in a
// real modal box that closes itself, so that the focus and the mouse go
// where they go in real use.
enum class Messages { Recorded, ShownAndRecorded };

// A main window on the generated database (or the one in folder), shown
// offscreen on A4 paper, with its beeps, messages and previews recorded
// instead of made. Controls are found by their names.
struct MainWindow
{
    QTemporaryDir trays;
    Program program;
    std::unique_ptr<frmMain> window;
    int beeps = 0;
    QStringList messages;
    // The questions asked, answered from the front of each list (no, or
    // cancelled, when it is empty).
    QStringList questions;
    QList<bool> yes;
    QStringList texts, openPaths;
    int previews = 0;
    int previewPages = 0;
    QString previewName;
    QString progressShown; // the Print tab's progress line as the preview opens

    // library: the user's trays (none: an empty library of the window's own).
    explicit MainWindow(const std::string &folder = testDatabaseFolder(),
                        Messages mode = Messages::Recorded, QScreen *screen = nullptr,
                        std::string library = {})
        : program(folder, QSizeF(11906, 16838))
    {
        ownSettings();
        if (program.Main())
            return;
        if (library.empty())
            library =
                QFile::encodeName(trays.filePath(QStringLiteral("Trays.sqlite"))).toStdString();
        window = std::make_unique<frmMain>(program, nullptr, library);
        frmMain::Hooks hooks;
        hooks.beep = [this] { ++beeps; };
        hooks.message = [this, mode](const QString &text) {
            messages << text;
            if (mode == Messages::ShownAndRecorded) {
                QTimer::singleShot(50, [] {
                    if (QWidget *box = QApplication::activeModalWidget())
                        box->close();
                });
                showPlainMessage(window.get(), text);
            }
        };
        hooks.showPreview = [this](PreviewDocument &document, const QString &name) {
            previewName = name;
            progressShown = find<QLabel>("lblProgress")->text();
            ++previews;
            previewPages = document.PageCount();
        };
        hooks.ask = [this](const QString &question) {
            questions << question;
            return !yes.isEmpty() && yes.takeFirst();
        };
        hooks.askText = [this](const QString &label, const QString &) -> std::optional<QString> {
            questions << label;
            return texts.isEmpty() ? std::nullopt : std::optional(texts.takeFirst());
        };
        hooks.askOpenPath = [this](const QString &, const QString &) {
            return openPaths.isEmpty() ? QString() : openPaths.takeFirst();
        };
        window->setHooks(std::move(hooks));
        if (screen) { // opened there, as where the user last left it
            window->setScreen(screen);
            window->move(screen->availableGeometry().topLeft());
        }
        window->show();
        if (!QTest::qWaitForWindowActive(window.get()))
            qWarning("the main window was not activated");
    }

    SharedState &state() { return program.state(); }
    // The tray shown, one of the database's: where the window shows its
    // cell (0, 0), twips, and its size in cells.
    struct Shown
    {
        int trayLeft, trayTop, cols, rows;
    };
    Shown tray()
    {
        const Catalogue::Entry &e = program.catalogue().entry(program.state().BoardIndex);
        return {e.place->left, e.place->top, e.tray.cols(), e.tray.rows()};
    }
    frmMain &w() { return *window; }
    template<class Control> Control *find(const char *name) const
    {
        return window->findChild<Control *>(QString::fromLatin1(name));
    }
    QWidget *operator()(const char *name) const { return find<QWidget>(name); }
};

// Replaces a box's text by typing, one keystroke at a time.
inline void retype(MainWindow &m, const char *box, const QString &text)
{
    auto *edit = m.find<QLineEdit>(box);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// Does act to the modal dialog the next step opens, once it is up and
// holds the keyboard focus (a key pressed sooner would go nowhere); after
// ten seconds without the focus, acts on whatever dialog is up.
inline void inDialog(std::function<void(QWidget *)> act, int triesLeft = 200)
{
    QTimer::singleShot(50, [act = std::move(act), triesLeft]() mutable {
        QWidget *dialog = QApplication::activeModalWidget(), *focus = QApplication::focusWidget();
        if (dialog &&
            (triesLeft == 0 || (focus && (focus == dialog || dialog->isAncestorOf(focus)))))
            act(dialog);
        else if (triesLeft > 0)
            inDialog(std::move(act), triesLeft - 1);
    });
}

// Whether a picture at the screen's scale 1 is, pixel for pixel, the one
// kept as tests/data/NAME.png (at other scales there is none to compare).
// With TILEWRIGHT_KEEP_PICTURES set, keeps this one instead; one that
// differs is left in the working folder as NAME-seen.png to look at.
inline bool looksAsKept(const QImage &seen, const QString &name)
{
    if (seen.devicePixelRatio() != 1)
        return true;
    const QString kept = QStringLiteral(TILEWRIGHT_TEST_DATA "/") + name + QStringLiteral(".png");
    if (qEnvironmentVariableIsSet("TILEWRIGHT_KEEP_PICTURES"))
        return seen.save(kept);
    constexpr auto rgb = QImage::Format_RGB32;
    if (QImage(kept).convertToFormat(rgb) == seen.convertToFormat(rgb))
        return true;
    seen.save(name + QStringLiteral("-seen.png"));
    return false;
}

// Whether the file at path still starts as an SQLite database does.
inline bool stillADatabase(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(15) == "SQLite format 3";
}

// Clicks tab 0 ("Display") or 1 ("Print").
inline void clickTab(MainWindow &m, int index)
{
    auto *tabs = m.w().findChild<QTabBar *>();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
}

// The window's colour at points given in twips, as the screen shows it.
struct Shot
{
    explicit Shot(MainWindow &m) : window(m.w()), image(m.w().grab().toImage()) {}
    QColor at(double x, double y) const
    {
        const qreal ratio = image.devicePixelRatio();
        return image.pixelColor(static_cast<int>(window.scale().pixels(x) * ratio),
                                static_cast<int>(window.scale().pixels(y) * ratio));
    }
    const frmMain &window;
    QImage image;
};

// Whether the window shows the solution under the cursor, cell by cell, in
// the palette in use (at a corner of each cell, away from any letter).
inline bool showsCurrentSolution(MainWindow &m)
{
    const SharedState &s = m.state();
    const auto tiling = m.program.catalogue().solution(s.BoardIndex, s.SolutionNo);
    const Shot shot(m);
    // Framed in grey: the frame's first cell and its last.
    const auto tray = m.tray();
    for (const auto &[x, y] :
         {std::pair{tray.trayLeft - 100, tray.trayTop - 100},
          {tray.trayLeft + tray.cols * 200 + 100, tray.trayTop + tray.rows * 200 + 100}})
        if (shot.at(x, y) != qtColour(MidGrey))
            return false;
    for (const Placement &p : tiling.placements)
        for (int k = 0; k < p.cellCount; ++k) {
            const int cell = p.cells[static_cast<std::size_t>(k)];
            const clsShape &shape = orientation(std::max<Integer>(p.shape, 0));
            const Colour c = p.shape == SquarePiece
                                 ? MidGrey
                                 : paletteColour(m.w().look().palette, shape.Piece, shape.Color);
            const int stride = m.tray().rows + 1;
            if (shot.at(m.tray().trayLeft + cell / stride * 200 + 25,
                        m.tray().trayTop + cell % stride * 200 + 25) != qtColour(c))
                return false;
        }
    return true;
}

// A right click on the main window at a point in twips, sent to the window
// so that it makes the context-menu event as for a real click; the menu it
// opens, or none.
inline QMenu *rightClick(MainWindow &m, double xTwips, double yTwips)
{
    const QPoint at(m.w().scale().pixels(xTwips), m.w().scale().pixels(yTwips));
    QTest::mouseClick(m.w().windowHandle(), Qt::RightButton, {}, at);
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

// Clicks the menu's item of that name.
inline void choose(QMenu *menu, const char *name)
{
    QAction *action = menu->findChild<QAction *>(QString::fromLatin1(name));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
}

} // namespace tw::test
