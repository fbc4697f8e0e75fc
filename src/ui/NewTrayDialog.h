#pragma once

#include "app/TrayDraft.h"
#include "solutions/Catalogue.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace tw {

// The editor's grid: 32 x 32 cells drawn by the mouse (a drag that starts on
// a cell removes cells, on a gap adds them) or by the keyboard (the arrows
// move a cursor, Space toggles its cell, Shift with an arrow draws on).
class DraftView : public QWidget
{
    Q_OBJECT

public:
    explicit DraftView(TrayDraft &draft, QWidget *parent = nullptr);

    // The cells to mark as the reason the region cannot be tiled.
    void setMarked(std::vector<std::pair<int, int>> cells);
    DraftLayout layout() const { return draftLayout(width(), height()); }
    QSize sizeHint() const override { return {32 * 15 + 1, 32 * 15 + 1}; }
    QSize minimumSizeHint() const override { return {32 * 10 + 1, 32 * 10 + 1}; }

signals:
    // The drawing changed.
    void changed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::optional<std::pair<int, int>> cellUnder(const QMouseEvent &event) const;

    TrayDraft &m_draft;
    std::vector<std::pair<int, int>> m_marked;
};

// "New Tray": the user draws a region, names it and has its solutions
// found in the background; the tray is then kept in the library and the
// main window shows it.
class NewTrayDialog : public QDialog
{
    Q_OBJECT

public:
    struct Hooks
    {
        std::function<void(const QString &)> message;
        // A question answered yes or no.
        std::function<bool(const QString &)> ask;
        std::function<QString(const QString &start, const QString &filter)> askOpenPath;
    };

    // catalogue: the trays the editor can start from, the database's and
    // the kept ones, whose names and regions a new tray may not take;
    // library: the library's file.
    NewTrayDialog(const Catalogue &catalogue, std::string library, Hooks hooks,
                  QWidget *parent = nullptr);
    ~NewTrayDialog() override;

    TrayDraft &draft() { return m_draft; }
    bool searching() const { return m_search != nullptr; }
    // The name of the tray kept, once it is.
    const std::string &keptName() const { return m_keptName; }

    // Reads a region from the file into the grid; says why not.
    void import(const QString &path);

signals:
    // A tray was kept under its name.
    void kept(const QString &name);

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void refresh();
    void startFrom(int index);
    void findSolutions();
    void stopSearch();
    void progressed(long long placements, long long tilings);
    void finished(std::optional<std::vector<CellLetters>> solutions);
    std::optional<QString> nameRefused() const;

    std::vector<Tray> m_trays;
    std::string m_library;
    const Catalogue &m_catalogue;
    Hooks m_hooks;
    TrayDraft m_draft;
    std::string m_keptName;

    DraftView *picGrid;
    QComboBox *cboStart;
    QPushButton *cmdImport, *cmdUndo, *cmdRedo, *cmdFind, *cmdCancel, *cmdClose;
    QLabel *lblCount, *lblSymmetry, *lblObstacle, *lblName, *lblProgress;
    QLineEdit *txtName;
    QProgressBar *prgSearch;

    // The search under way: its thread, its cancel flag and its clock.
    struct Search
    {
        explicit Search(Tray t) : tray(std::move(t)) {}
        std::atomic<bool> cancel{false};
        std::thread thread;
        Tray tray;
    };
    std::unique_ptr<Search> m_search;
    QElapsedTimer m_clock;
};

} // namespace tw
