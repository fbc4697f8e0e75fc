#pragma once

#include "solutions/Library.h"

#include <QDialog>

#include <string>

namespace tw {

struct SharedState;

// "About Tilewright": the text of aboutText in a box that can be selected,
// with a button that copies it whole for a bug report.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    AboutDialog(const SharedState &state, const std::string &library,
                const LibraryContents &kept, QWidget *parent);
};

} // namespace tw
