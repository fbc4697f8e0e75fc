#pragma once

#include "app/Integer.h"
#include "ui/main/SurfaceCanvas.h"
#include "ui/main/Twips.h"

#include <QDialog>
#include <QTimer>

#include <functional>
#include <memory>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tw {

struct SharedState;
class LeaveCheck;
class PreviewDocument;
class TabControl;

// The main window "Pentominoes Solutions": the puzzle's description, the row
// of the twelve pieces, the tray with the current solution and the board
// list, and two tabs: "Display" steps through the solutions, "Print" sets up
// and previews the cheat sheet. Every position is in twips (1440 per logical
// inch). The window paints on a surface that keeps its picture.
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
    };

    frmMain(SharedState &state, PreviewDocument &preview, QWidget *parent = nullptr);
    ~frmMain() override;

    void setHooks(Hooks hooks);

    // --- display ---
    void cboSelect_Click();
    void SetBoardLayout();
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
    void SSTabFn_Click();
    // --- report options ---
    void txtFrom_Change();
    void txtTo_Change();
    void txtSideLength_Change();
    // Whether the side length stands; refused, the box keeps the focus.
    bool txtSideLength_LostFocus();
    void optOrientation_Click(int index);
    void optRender_Click(int index);
    void cmdPreview_Click();
    void BuildReport();

    // Left + width and top + height of a control, twips.
    double RightOf(const QWidget *control) const;
    double BottomOf(const QWidget *control) const;

    const SurfaceCanvas &surface() const { return *m_surface; }
    const TwipsScale &scale() const { return m_layout.scale(); }
    bool isStarting() const { return Starting; }
    bool StopRepeat = false;
    bool DelayElapsed = false;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;

private:
    void Form_Load();
    void buildControls();
    void fitDescription();
    void place(QWidget *control, double left, double top, double width, double height)
    {
        m_layout.place(control, left, top, width, height);
    }
    void setTextIfDifferent(QLineEdit *box, const QString &text);
    void rejectEntry(QLineEdit *box, int selectionLength);
    void clearTrayArea();
    void repaintTray();
    void makeSurface();
    void showNoSolution();
    Long recordCount() const;

    // Press-and-hold on Next and Previous: one step at the press, then, once
    // tmrDelay has fired with the button still down, steps one after another
    // until the release or the end of the set. Each step is on screen before
    // the next; the event loop runs between steps so the release gets in.
    enum class Hold { Idle, Waiting, Pausing };
    void startHold(int direction);
    void holdStep();
    void holdAfterWait();
    void holdContinue(unsigned token);
    void endHold();
    void stopRepeating();
    // Ends any press-and-hold at once: the button was greyed, Esc was
    // pressed, the window closes or a record cannot be shown.
    void stopHolding();

    bool checkRangeBox(bool start);
    bool sideLengthAccepted();

    SharedState &state;
    PreviewDocument &m_preview;
    Hooks m_hooks;
    TwipsLayout m_layout;
    std::unique_ptr<SurfaceCanvas> m_surface;
    double SW = 0, SH = 0; // client size, twips

    bool Starting = false;
    bool m_painted = false;
    bool NextBusy = false;
    bool PrevBusy = false;
    Hold m_hold = Hold::Idle;
    int m_holdDirection = 0;
    unsigned m_holdToken = 0;
    bool m_closing = false;
    // Set while ShowSolution writes the number box: the box follows the
    // cursor then, and its change moves nothing.
    bool m_followingCursor = false;
    LeaveCheck *m_sideCheck = nullptr;

public:
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
};

// The description shown at the top of the main window.
QString descriptionText();

} // namespace tw
