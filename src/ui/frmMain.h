#pragma once

#include "app/FindTiling.h"
#include "app/HoldRepeat.h"
#include "app/PrintTab.h"
#include "app/SolutionBrowser.h"
#include "app/SurfaceCanvas.h"
#include "ui/Twips.h"

#include <QDialog>

#include <functional>
#include <memory>

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
class FindDialog;
class LeaveCheck;
class PreviewDocument;
class TabControl;

// The main window "Pentominoes Solutions": the puzzle's description, the row
// of the twelve pieces, the tray with the current solution and the board
// list, and two tabs: "Display" steps through the solutions, "Print" sets up
// and previews the cheat sheet. Every position is in twips (1440 per logical
// inch). The window paints on a surface that keeps its picture.
//
// The window builds and places its controls and wires them to the objects
// that decide what happens: the solution browser (the picture and the
// steps), the press-and-hold of Next and Previous, and the "Print" tab's
// options and report. Controls are found by their objectName, the names
// they carry in the handlers (cmdNext, txtSideLength, optRender(1), ...).
//
// It is a dialog only for the keyboard: Enter presses the default button and
// Esc the cancel button ("Close(Esc)").
class frmMain : public QDialog
{
    Q_OBJECT

public:
    // What the window asks of its surroundings, replaceable in tests.
    struct Hooks
    {
        std::function<void()> beep;
        std::function<void(const QString &)> message;       // box titled with the program's name
        std::function<void(PreviewDocument &)> showPreview; // the modal preview window
        // The file to save as, proposing start, of the kind filter names;
        // empty when the user cancels.
        std::function<QString(const QString &start, const QString &filter)> askSavePath;
    };

    // advice: what to tell about a database that fails.
    frmMain(SharedState &state, PreviewDocument &preview, const Advice &advice,
            QWidget *parent = nullptr);
    ~frmMain() override;

    void setHooks(Hooks hooks);

    const SurfaceCanvas &surface() const { return *m_surface; }
    const TwipsScale &scale() const { return m_layout.scale(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
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

    // Left + width and top + height of a control, twips.
    double RightOf(const QWidget *control) const { return m_layout.rightOf(control); }
    double BottomOf(const QWidget *control) const { return m_layout.bottomOf(control); }
    void place(QWidget *control, double left, double top, double width, double height)
    {
        m_layout.place(control, left, top, width, height);
    }

    void buildControls();
    void wire();
    void fitDescription();
    void makeSurface();
    void showPosition();
    void showVerdict(QLineEdit *box, const Verdict &verdict);
    // --- one solution ---
    void findTiling();
    bool showFound(const FoundTiling &found);
    void copySolution();
    void exportSolution();
    void lookChanged();
    void describePosition();
    void describeControls();
    QRect trayPixels() const;

    class HoldClock;

    SharedState &state;
    PreviewDocument &m_preview;
    const Advice &m_advice;
    Hooks m_hooks;
    TwipsLayout m_layout;
    std::unique_ptr<SurfaceCanvas> m_surface;
    SolutionBrowser m_browser;
    PrintTab m_print;
    std::unique_ptr<HoldClock> m_holdClock;
    std::unique_ptr<HoldRepeat> m_hold;
    double SW = 0, SH = 0; // client size, twips

    bool Starting = false;
    bool m_painted = false;
    bool m_closing = false;
    // Set while the number box follows the cursor: its change moves nothing.
    bool m_followingCursor = false;
    LeaveCheck *m_sideCheck = nullptr;

    // Controls, named as their objectName.
    QLabel *lblDesc = nullptr;
    QLabel *lblSelect = nullptr;
    QComboBox *cboSelect = nullptr;
    TabControl *SSTabFn = nullptr;
    QWidget *picVCR = nullptr;
    QPushButton *cmdFirst = nullptr;
    QPushButton *cmdPrev = nullptr;
    QLineEdit *txtSolution = nullptr;
    QPushButton *cmdNext = nullptr;
    QPushButton *cmdLast = nullptr;
    QLabel *lblSideLength = nullptr;
    QLineEdit *txtSideLength = nullptr;
    QLabel *lblInches2 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *txtFrom = nullptr;
    QLabel *lblTo = nullptr;
    QLineEdit *txtTo = nullptr;
    QLabel *lblProgress = nullptr;
    QWidget *Picture2 = nullptr;
    QRadioButton *optRender[2] = {nullptr, nullptr};
    QWidget *Picture1 = nullptr;
    QRadioButton *optOrientation[2] = {nullptr, nullptr};
    QPushButton *cmdPreview = nullptr;
    QPushButton *cmdClose = nullptr;
    QTimer *tmrDelay = nullptr;
    QButtonGroup *renderGroup = nullptr;
    QButtonGroup *orientationGroup = nullptr;
    // The tray picture's menu, and the window that finds a tiling.
    QMenu *mnuTray = nullptr;
    QAction *mnuFind = nullptr;
    QAction *mnuCopy = nullptr;
    QAction *mnuExport = nullptr;
    QAction *mnuAbout = nullptr;
    QAction *mnuFirst = nullptr;
    QAction *mnuPrev = nullptr;
    QAction *mnuNext = nullptr;
    QAction *mnuLast = nullptr;
    QAction *mnuLetters = nullptr;
    QAction *mnuSafe = nullptr;
    QWidget *picTray = nullptr;
    FindDialog *m_find = nullptr;
};

// The description shown at the top of the main window.
QString descriptionText();

} // namespace tw
