#pragma once

#include "base/Integer.h"
#include "pieces/Appearance.h"
#include "solutions/TilingIndex.h"
#include "solutions/Tray.h"

#include <QDialog>
#include <QSizeF>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QRadioButton;
class QSpinBox;

namespace tw {

class PreviewDocument;

// "Practice Sheet": puzzles of the current tray, each with one answer, and
// the choices of a sheet: how many, how many pieces given, the side of a
// unit square, the pages' orientation, colour or monochrome, letters, an
// answer key, pieces to cut out, and the sheet's number (a new one each
// time the dialog opens). Preview makes the sheet and shows it in the
// preview window.
class PracticeDialog : public QDialog
{
    Q_OBJECT

public:
    struct Hooks
    {
        // The preview window, modal, on the sheet under its name.
        std::function<void(PreviewDocument &, const QString &name)> showPreview;
        std::function<void(const QString &)> message;
    };

    // Every tiling of the tray, made when a sheet is first asked for.
    using IndexLoader = std::function<std::shared_ptr<const TilingIndex>()>;

    // paper: the portrait paper, twips.
    PracticeDialog(Tray tray, IndexLoader index, Appearance look, QSizeF paper, Hooks hooks,
                   QWidget *parent);

private:
    void preview();

    Tray m_tray;
    IndexLoader m_index;
    QSizeF m_paper;
    Hooks m_hooks;
    QSpinBox *spnCount;
    QComboBox *cboGiven;
    QDoubleSpinBox *spnSide;
    QRadioButton *optLandscape;
    QRadioButton *optColour;
    QCheckBox *chkLetters;
    QCheckBox *chkKey;
    QCheckBox *chkCutouts;
    QSpinBox *spnSheet;
    Appearance m_look;
};

} // namespace tw
