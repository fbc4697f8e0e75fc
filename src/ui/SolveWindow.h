#pragma once

#include "app/SolveSession.h"
#include "pieces/Appearance.h"
#include "ui/SolveBoard.h"
#include "ui/WindowHooks.h"

#include <QDialog>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QLabel;
class QPushButton;

namespace tw {

// "Solve It Yourself": the board, a line that always says how many
// tilings still complete the position, Hint, Undo, Redo, the tilings that
// remain to step through, Save and Open, and Show in Main Window once the
// tray is full or a tiling is shown. F11 toggles full screen. The position
// of each tray is kept for the next time.
class SolveWindow : public QDialog
{
    Q_OBJECT

public:
    struct Hooks
    {
        std::function<void(const QString &)> message;
        std::function<QString(const QString &start, const QString &filter)> askSavePath;
        std::function<QString(const QString &start, const QString &filter)> askOpenPath;
        // Shows solution n of the tray in the main window.
        std::function<void(Integer board, Integer n)> show;
        // The solution database, which a position is never saved over.
        std::string database;
        std::function<void()> beep;
        // The tray's key in the catalogue, which its position is kept under.
        std::string key;
    };

    SolveWindow(std::shared_ptr<const TilingIndex> index, Appearance look, Hooks hooks,
                QWidget *parent);
    ~SolveWindow() override;

    SolveSession &session() { return m_session; }
    SolveBoard &board() { return *m_board; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void follow();
    void browse(int step);
    void save();
    void open();

    std::shared_ptr<const TilingIndex> m_index;
    SolveSession m_session;
    Hooks m_hooks;
    SolveBoard *m_board;
    QLabel *lblHint;
    QLabel *lblCount;
    QLabel *lblBrowse;
    QPushButton *cmdHint, *cmdUndo, *cmdRedo, *cmdPrevTiling, *cmdNextTiling, *cmdShow;
    int m_browsing = -1; // the remaining tiling shown, -1 for none
};

} // namespace tw
