#pragma once

#include "app/FindTiling.h"

#include <QDialog>

#include <functional>
#include <optional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tw {

class Catalogue;

// "Find a Tiling": a box where a tiling is typed or pasted as rows of piece
// letters, a Find button (Ctrl+Enter in the box) and a one-line verdict.
// A tiling found in the database is handed to show, which shows it in the
// main window and says whether it could; a text that is not a tiling gets
// the reason, and nothing else changes.
class FindDialog : public QDialog
{
    Q_OBJECT

public:
    // catalogue: the trays whose tilings are found, the user's too.
    FindDialog(const Catalogue &catalogue, std::function<bool(const FoundTiling &)> show,
               QWidget *parent);

private:
    void find();
    void showVerdict(const QString &text);

    const Catalogue &m_catalogue;
    std::function<bool(const FoundTiling &)> m_show;
    QPlainTextEdit *txtGrid;
    QPushButton *cmdFind;
    QPushButton *cmdClose;
    QLabel *lblVerdict;
};

// Where a window of the size stands beside the first of the areas that
// leaves it room on the screen's room, to its right or else to its left;
// nothing when none does.
std::optional<QPoint> placeBeside(QSize size, const QList<QRect> &areas, QRect room);

} // namespace tw
