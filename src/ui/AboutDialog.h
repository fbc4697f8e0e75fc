#pragma once

#include <QDialog>

#include <string>

namespace tw {

class Catalogue;

// "About Tilewright": the text of aboutText in a box that can be selected,
// with a button that copies it whole for a bug report.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    // database, library: the files the trays were read from.
    AboutDialog(const Catalogue &catalogue, const std::string &database, const std::string &library,
                QWidget *parent);
};

} // namespace tw
