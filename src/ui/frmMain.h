#pragma once

#include "app/FindTiling.h"
#include "app/HoldRepeat.h"
#include "app/PrintTab.h"
#include "app/SolutionBrowser.h"
#include "app/SurfaceCanvas.h"
#include "ui/MainControls.h"
#include "ui/SolutionActions.h"
#include "ui/Twips.h"

#include <QDialog>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTimer;

namespace tw {

struct SharedState;
class Advice;
class Catalogue;
class FindDialog;
class LeaveCheck;
class NewTrayDialog;
class PreviewDocument;
class Program;
class TabControl;

// The main window "Pentominoes Solutions": the puzzle's description, the row
// of the twelve pieces, the tray with the current solution and the board
// list, and two tabs: "Display" steps through the solutions, "Print" sets up
// and previews the cheat sheet. Every position is in twips (1440 per logical
// inch), every control placed once from one table. The window paints on a
// surface that keeps its picture.
//
// The window composes and wires; what happens is decided by the objects
// underneath: the solution browser (the picture and the steps), the
// press-and-hold of Next and Previous, and the "Print" tab's options and
// report. Controls are found by their objectName, the names they carry in
// the handlers (cmdNext, txtSideLength, optRender(1), ...).
//
// It is a dialog only for the keyboard: Enter presses the default button and
// Esc the cancel button ("Close(Esc)").
class frmMain : public QDialog, private MainControls, private TrayMenu
{
    Q_OBJECT

public:
    using Hooks = WindowHooks;

    // The program whose trays it shows, its database read; library: the
    // user's trays (none: where the program keeps them).
    explicit frmMain(Program &program, QWidget *parent = nullptr, std::string library = {});
    ~frmMain() override;

    void setHooks(Hooks hooks);

    const SurfaceCanvas &surface() const { return *m_surface; }
    const TwipsScale &scale() const { return m_layout.scale(); }
    // The pieces' look on the screen, and in the reports and pictures made.
    Appearance look() const { return m_browser.look(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool event(QEvent *event) override;
    void reject() override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // --- display ---
    void cboSelect_Click();
    void DrawTray();
    void DrawPieceRow();
    void Form_Paint();
    void Form_Activate();
    void ShowSolution();
    void ResetUnitSize();
    // --- navigation ---
    void cmdFirst_Click();
    void cmdLast_Click();
    void cmdNext_MouseDown();
    void cmdNext_MouseUp();
    void cmdPrev_MouseDown();
    void cmdPrev_MouseUp();
    void tmrDelay_Timer();
    void txtSolution_Change();
    void cmdClose_Click();
    // --- composition ---
    void Form_Load();
    void SSTabFn_Click();
    // --- report options ---
    void txtFrom_Change();
    void txtTo_Change();
    void txtSideLength_Change();
    bool txtSideLength_LostFocus(); // whether the side stands
    void optOrientation_Click(int index);
    void optRender_Click(int index);
    void cmdPreview_Click();
    void BuildReport();

    void wire();
    void makeSurface();
    // --- the user's trays ---
    // Reads the library into the catalogue again and lists every tray; shows
    // the one named (none: the tray shown stays, or the first when it is
    // gone).
    void loadLibrary(const std::optional<std::string> &show = {});
    void newTray();
    void renameTray();
    void exportTray();
    void deleteTray();
    void showPosition();
    void showVerdict(QLineEdit *box, const Verdict &verdict);
    // --- one solution ---
    bool showFound(const FoundTiling &found);
    void setLook(Appearance look);
    QRect trayPixels() const;

    Program &m_program;
    Catalogue &m_catalogue;
    SharedState &state;
    PreviewDocument &m_preview;
    std::string m_libraryPath;
    std::optional<std::string> m_libraryWarning; // why the library could not be used
    Hooks m_hooks;
    TwipsLayout m_layout;
    std::unique_ptr<SurfaceCanvas> m_surface;
    SolutionBrowser m_browser;
    PrintTab m_print;
    SolutionActions m_actions;
    std::unique_ptr<TimerClock> m_holdClock;
    std::unique_ptr<HoldRepeat> m_hold;

    bool Starting = false;
    bool m_painted = false;
    bool m_closing = false;
    // Set while the number box follows the cursor: its change moves nothing.
    bool m_followingCursor = false;
    LeaveCheck *m_sideCheck = nullptr;
    QPointer<NewTrayDialog> m_newTray;

    QTimer *tmrDelay = nullptr;
};

} // namespace tw
