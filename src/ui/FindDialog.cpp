#include "ui/FindDialog.h"

#include "app/CommandLine.h"

#include <algorithm>

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextDocument>
#include <QVBoxLayout>

namespace tw {

namespace {

// The grid box, which refuses a paste too long to be a grid rather than
// take megabytes in.
class GridEdit : public QPlainTextEdit
{
public:
    GridEdit(std::function<void()> refused, QWidget *parent)
        : QPlainTextEdit(parent), m_refused(std::move(refused))
    {}

protected:
    void insertFromMimeData(const QMimeData *source) override
    {
        if (source->hasText() && source->text().size() > static_cast<qsizetype>(MaximumGridText)) {
            m_refused();
            return;
        }
        QPlainTextEdit::insertFromMimeData(source);
    }

private:
    std::function<void()> m_refused;
};

QString tooMuchText()
{
    return QString::fromStdString(tooMuchForAGrid("The text")) + QLatin1Char('.');
}

} // namespace

FindDialog::FindDialog(const Catalogue &catalogue, std::function<bool(const FoundTiling &)> show,
                       QWidget *parent)
    : QDialog(parent), m_catalogue(catalogue), m_show(std::move(show))
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("Find a Tiling"));

    auto *prompt =
        new QLabel(QStringLiteral("&Type or paste a tiling, a row of piece letters a line, in any "
                                  "orientation of its tray:"),
                   this);
    prompt->setWordWrap(true);
    txtGrid = new GridEdit([this] { showVerdict(tooMuchText()); }, this);
    txtGrid->setObjectName(QStringLiteral("txtGrid"));
    txtGrid->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtGrid->setTabChangesFocus(true);
    txtGrid->setPlaceholderText(QStringLiteral("For example:\nUUUPPPTTTY\nUXUFPPWTYY\n"
                                               "XXXFFWWTNY\nVXFFWWZZNY\nVIIIIILZNN\nVVVLLLLZZN"));
    prompt->setBuddy(txtGrid);
    // Room for the tallest grid, 20 rows, without scrolling.
    const QFontMetrics metrics(txtGrid->font());
    txtGrid->setMinimumSize(metrics.horizontalAdvance(QLatin1Char('M')) * 24,
                            metrics.lineSpacing() * 21);

    lblVerdict = new QLabel(this);
    lblVerdict->setObjectName(QStringLiteral("lblVerdict"));
    lblVerdict->setWordWrap(true);
    lblVerdict->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblVerdict->setAccessibleName(QStringLiteral("Verdict"));
    lblVerdict->setMinimumHeight(3 * lblVerdict->fontMetrics().lineSpacing());
    cmdFind = new QPushButton(QStringLiteral("Find"), this);
    cmdFind->setObjectName(QStringLiteral("cmdFind"));
    cmdFind->setToolTip(QStringLiteral("Find the solution this tiling is (Ctrl+Enter)"));
    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    // Enter on a focused Find finds; Enter in the box is a new row, and no
    // button is the dialog's default, so it never closes by surprise.
    cmdFind->setAutoDefault(true);
    cmdClose->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdFind);
    buttons->addWidget(cmdClose);
    lblVerdict->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    layout->addWidget(prompt);
    layout->addWidget(txtGrid, 1);
    layout->addWidget(lblVerdict);
    layout->addLayout(buttons);

    connect(cmdFind, &QPushButton::clicked, this, &FindDialog::find);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
    for (const QKeySequence &keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &FindDialog::find);
}

void FindDialog::find()
{
    // Measured before it is read: a text too long to be a grid is never
    // taken apart.
    QByteArray text;
    if (txtGrid->document()->characterCount() <= static_cast<int>(MaximumGridText))
        text = txtGrid->toPlainText().toUtf8();
    if (static_cast<std::size_t>(text.size()) > MaximumGridText ||
        (text.isEmpty() && !txtGrid->document()->isEmpty())) {
        showVerdict(tooMuchText());
        return;
    }
    const auto found = findTiling(m_catalogue, text.toStdString());
    if (!found) {
        showVerdict(QString::fromStdString(found.error()));
        return;
    }
    showVerdict(m_show(*found) ? foundText(*found)
                               : foundText(*found) + QStringLiteral(", which cannot be shown"));
}

void FindDialog::showVerdict(const QString &text)
{
    // The verdict stands below the box in as many lines as it takes, up to
    // three without the window changing; the window grows for more rather
    // than let it cover the box.
    lblVerdict->setText(text);
    const int lines = 3 * lblVerdict->fontMetrics().lineSpacing();
    lblVerdict->setMinimumHeight(std::max(lines, lblVerdict->heightForWidth(lblVerdict->width())));
}

std::optional<QPoint> placeBeside(QSize size, const QList<QRect> &areas, QRect room)
{
    constexpr int gap = 8;
    for (const QRect &area : areas) {
        // On the screen, its title bar first where it is taller than the room.
        const int top = std::max(room.top(), std::min(area.top(), room.bottom() - size.height()));
        if (area.right() + gap + size.width() <= room.right())
            return QPoint(area.right() + gap, top);
        if (area.left() - gap - size.width() >= room.left())
            return QPoint(area.left() - gap - size.width(), top);
    }
    return std::nullopt;
}

} // namespace tw
