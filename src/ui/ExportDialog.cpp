#include "ui/ExportDialog.h"

#include "app/CommandLine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tw {

ExportDialog::ExportDialog(Appearance look, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmExport"));
    setWindowTitle(QStringLiteral("Export Solution"));
    const auto named = [](QWidget *w, const char *name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };
    optPng = new QRadioButton(QStringLiteral("&PNG image"), this);
    optSvg = new QRadioButton(QStringLiteral("&SVG drawing"), this);
    named(optPng, "optPng");
    named(optSvg, "optSvg");
    optPng->setChecked(true);
    spnDpi = new QSpinBox(this);
    named(spnDpi, "spnDpi");
    spnDpi->setRange(MinimumDpi, MaximumDpi);
    spnDpi->setValue(150);
    spnDpi->setSuffix(QStringLiteral(" dots per inch"));
    chkLetters = new QCheckBox(QStringLiteral("Show piece &letters"), this);
    named(chkLetters, "chkLetters");
    chkLetters->setChecked(look.letters);
    cboPalette = new QComboBox(this);
    named(cboPalette, "cboPalette");
    cboPalette->addItems({QStringLiteral("Standard"), QStringLiteral("Colour-blind-safe")});
    cboPalette->setCurrentIndex(look.palette == Palette::Safe ? 1 : 0);
    connect(optPng, &QRadioButton::toggled, spnDpi, &QWidget::setEnabled);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton *save = buttons->addButton(QStringLiteral("Save..."), QDialogButtonBox::AcceptRole);
    named(save, "cmdSave");
    save->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout;
    auto *format = new QVBoxLayout;
    format->addWidget(optPng);
    format->addWidget(optSvg);
    form->addRow(QStringLiteral("Format:"), format);
    form->addRow(QStringLiteral("&Resolution:"), spnDpi);
    form->addRow(QStringLiteral("&Colours:"), cboPalette);
    form->addRow(QString(), chkLetters);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

ExportDialog::Choice ExportDialog::choice() const
{
    return {optSvg->isChecked(),
            spnDpi->value(),
            {chkLetters->isChecked(),
             cboPalette->currentIndex() == 1 ? Palette::Safe : Palette::Standard}};
}

} // namespace tw
