#pragma once

#include "pieces/Appearance.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;

namespace tw {

// "Export Solution": the choices the command line's --png and --svg offer
// for one solution: a PNG image at a resolution, or an SVG drawing, with
// or without letters, in either palette. Save accepts; the file's name is
// asked for afterwards.
class ExportDialog : public QDialog
{
    Q_OBJECT

public:
    struct Choice
    {
        bool svg = false;
        int dpi = 150;
        Appearance look;
    };

    // look: what the window shows, the choice to start from.
    ExportDialog(Appearance look, QWidget *parent);
    Choice choice() const;

private:
    QRadioButton *optPng;
    QRadioButton *optSvg;
    QSpinBox *spnDpi;
    QCheckBox *chkLetters;
    QComboBox *cboPalette;
};

} // namespace tw
