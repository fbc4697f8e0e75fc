#pragma once

#include "ui/Twips.h"

#include <QString>

class QAction;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QWidget;

namespace tw {

class TabControl;

// The main window's client area: the designed outer size of 10000 x 9000
// twips less a typical frame and title bar.
inline constexpr double SW = 10000 - 120;
inline constexpr double SH = 9000 - 465;

// The main window's controls, named as their objectName, each made and
// placed once from one table of name, kind, container and rectangle in
// twips, with its caption, tooltip and what a screen reader says of it.
struct MainControls
{
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
    QLineEdit *txtSideLength = nullptr;
    QLineEdit *txtFrom = nullptr;
    QLineEdit *txtTo = nullptr;
    QLabel *lblProgress = nullptr;
    QWidget *Picture2 = nullptr;
    QRadioButton *optRender[2] = {nullptr, nullptr};
    QWidget *Picture1 = nullptr;
    QRadioButton *optOrientation[2] = {nullptr, nullptr};
    QPushButton *cmdPreview = nullptr;
    QPushButton *cmdClose = nullptr;
    QButtonGroup *renderGroup = nullptr;
    QButtonGroup *orientationGroup = nullptr;
    // What a screen reader tells of the tray picture, which the window
    // paints itself.
    QWidget *picTray = nullptr;
};

// Makes the controls on window, placed through layout, the "Print" tab
// open as designed, and sets the keyboard order.
MainControls makeMainControls(QWidget *window, TwipsLayout &layout);

// The tray picture's menu; the items with keys answer them anywhere in
// window.
struct TrayMenu
{
    QMenu *mnuTray = nullptr;
    QAction *mnuFind = nullptr;
    QAction *mnuCopy = nullptr;
    QAction *mnuExport = nullptr;
    QAction *mnuPractice = nullptr;
    QAction *mnuSolve = nullptr;
    QAction *mnuFirst = nullptr;
    QAction *mnuPrev = nullptr;
    QAction *mnuNext = nullptr;
    QAction *mnuLast = nullptr;
    QAction *mnuLetters = nullptr;
    QAction *mnuSafe = nullptr;
    QAction *mnuAbout = nullptr;
    // The user's own trays: a new one, and the kept one shown.
    QAction *mnuNewTray = nullptr;
    QAction *mnuRenameTray = nullptr;
    QAction *mnuExportTray = nullptr;
    QAction *mnuDeleteTray = nullptr;
};
TrayMenu makeTrayMenu(QWidget *window);

// The description shown at the top of the main window.
QString descriptionText();

// Each sentence of the description on a line of its own: the font shrinks,
// down to 6 points, until the longest one fits the label.
void fitDescription(QLabel *label);

} // namespace tw
