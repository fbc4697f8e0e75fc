#include "ui/PracticeDialog.h"

#include "app/Choices.h"
#include "app/Practice.h"
#include "base/Units.h"
#include "preview/PreviewDocument.h"
#include "report/PracticeSheet.h"
#include "ui/BusyPointer.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tw {

PracticeDialog::PracticeDialog(Tray tray, IndexLoader index, Appearance look, QSizeF paper,
                               Hooks hooks, QWidget *parent)
    : QDialog(parent), m_tray(std::move(tray)), m_index(std::move(index)), m_paper(paper),
      m_hooks(std::move(hooks)), m_look(look)
{
    setObjectName(QStringLiteral("frmPractice"));
    const QString label = QString::fromStdString(m_tray.label());
    setWindowTitle(theTray(m_tray).starts_with("the tray")
                       ? QStringLiteral("Practice Sheet for \"%1\"").arg(label)
                       : QStringLiteral("Practice Sheet for the %1 Tray").arg(label));
    const auto named = [](QWidget *w, const char *name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };
    // The choices of the last sheet made, where they still apply.
    const PracticeChoices last = Choices::practice();
    spnCount = new QSpinBox(this);
    named(spnCount, "spnCount");
    spnCount->setRange(1, 60);
    spnCount->setValue(last.count);
    cboGiven = new QComboBox(this);
    named(cboGiven, "cboGiven");
    cboGiven->addItem(QStringLiteral("Fewest (hardest)"));
    const int pieces = m_tray.pieceCount();
    for (int k = 1; k < pieces; ++k)
        cboGiven->addItem(QString::number(k));
    cboGiven->setCurrentIndex(last.given >= 0 && last.given < pieces ? last.given : 0);
    spnSide = new QDoubleSpinBox(this);
    named(spnSide, "spnSide");
    spnSide->setDecimals(3);
    spnSide->setRange(0.05, 3);
    spnSide->setSingleStep(0.05);
    spnSide->setValue(last.side > 0 ? last.side : PracticeSide);
    spnSide->setSuffix(QStringLiteral(" inch"));
    auto *portrait = new QRadioButton(QStringLiteral("&Portrait"), this);
    optLandscape = new QRadioButton(QStringLiteral("L&andscape"), this);
    named(portrait, "optPortrait");
    named(optLandscape, "optLandscape");
    auto *monochrome = new QRadioButton(QStringLiteral("&Monochrome"), this);
    optColour = new QRadioButton(QStringLiteral("C&olour"), this);
    named(monochrome, "optMonochrome");
    named(optColour, "optColour");
    // Each pair a group of its own before either is checked: radio buttons
    // of one parent are otherwise one group.
    for (auto pair : {std::pair{portrait, optLandscape}, {monochrome, optColour}}) {
        auto *group = new QButtonGroup(this);
        group->addButton(pair.first);
        group->addButton(pair.second);
    }
    (last.landscape ? optLandscape : portrait)->setChecked(true);
    (last.colour ? optColour : monochrome)->setChecked(true);
    chkLetters = new QCheckBox(QStringLiteral("Piece &letters"), this);
    named(chkLetters, "chkLetters");
    chkLetters->setChecked(last.letters < 0 ? look.letters : last.letters == 1);
    chkKey = new QCheckBox(QStringLiteral("Answer &key"), this);
    named(chkKey, "chkKey");
    chkKey->setChecked(last.answerKey);
    chkCutouts = new QCheckBox(QStringLiteral("Pieces to &cut out"), this);
    named(chkCutouts, "chkCutouts");
    chkCutouts->setChecked(last.cutouts);
    spnSheet = new QSpinBox(this);
    named(spnSheet, "spnSheet");
    spnSheet->setRange(1, static_cast<int>(LargestSheetNumber));
    spnSheet->setValue(static_cast<int>(newSheetNumber()));
    spnSheet->setToolTip(QStringLiteral("The same number makes the same sheet again"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *show = buttons->addButton(QStringLiteral("Preview"), QDialogButtonBox::ActionRole);
    named(show, "cmdPreview");
    show->setDefault(true);
    connect(show, &QPushButton::clicked, this, &PracticeDialog::preview);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Puzzles:"), spnCount);
    form->addRow(QStringLiteral("Pieces &given:"), cboGiven);
    form->addRow(QStringLiteral("&Side of a unit square:"), spnSide);
    const auto pairRow = [](QWidget *a, QWidget *b) {
        auto *row = new QHBoxLayout;
        row->addWidget(a);
        row->addWidget(b);
        row->addStretch(1);
        return row;
    };
    form->addRow(QStringLiteral("Pages:"), pairRow(portrait, optLandscape));
    form->addRow(QStringLiteral("Pieces:"), pairRow(monochrome, optColour));
    form->addRow(QString(), chkLetters);
    form->addRow(QString(), chkKey);
    form->addRow(QString(), chkCutouts);
    form->addRow(QStringLiteral("Sheet &number:"), spnSheet);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void PracticeDialog::preview()
{
    PreviewDocument document(m_paper);
    {
        const BusyPointer busy;
        const auto index = m_index();
        const auto number = static_cast<std::uint64_t>(spnSheet->value());
        const auto puzzles =
            makePuzzles(*index, {spnCount->value(), cboGiven->currentIndex(), number});
        if (!puzzles) {
            QString why = QString::fromStdString(puzzles.error());
            m_hooks.message(why.left(1).toUpper() + why.mid(1) + QLatin1Char('.'));
            return;
        }
        Choices::setPractice({spnCount->value(), cboGiven->currentIndex(), spnSide->value(),
                              optLandscape->isChecked(), optColour->isChecked(),
                              chkLetters->isChecked() ? 1 : 0, chkKey->isChecked(),
                              chkCutouts->isChecked()});
        PracticeSheet sheet;
        sheet.puzzles = *puzzles;
        sheet.number = number;
        sheet.unit = static_cast<Single>(spnSide->value() * TwipsPerInch);
        sheet.landscape = optLandscape->isChecked();
        sheet.look.rendering = optColour->isChecked() ? Rendering::Colour : Rendering::Monochrome;
        sheet.look.look = {chkLetters->isChecked(), m_look.palette};
        sheet.answerKey = chkKey->isChecked();
        sheet.cutouts = chkCutouts->isChecked();
        if (const auto error = BuildPracticeSheet(document, *index, sheet)) {
            m_hooks.message(QString::fromStdString(*error));
            return;
        }
    }
    m_hooks.showPreview(document, QStringLiteral("Pentomino Puzzles %1, Sheet %2")
                                      .arg(QString::fromStdString(m_tray.label()))
                                      .arg(spnSheet->value()));
}

} // namespace tw
