#include "ui/MainControls.h"

#include "preview/Fonts.h"
#include "ui/TabControl.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

namespace tw {

namespace {

enum class Kind { Label, Box, Button, Option, Frame, Combo, Tabs };

// Every control, each placed once, in twips within its container: "" the
// window, "0" and "1" the tabs' pages, else the control of that name. In
// the order they are made, which is the order they stack in.
struct ControlSpec
{
    const char *name;
    Kind kind;
    const char *parent;
    const char *caption;
    double left, top, width, height;
    Qt::Alignment align;
    const char *tip;
};

constexpr Qt::Alignment Right = Qt::AlignRight | Qt::AlignVCenter;

const ControlSpec Controls[] = {
    {"lblDesc", Kind::Label, "", "", 0, 300, SW - 200, 2000, Qt::AlignHCenter | Qt::AlignTop, ""},
    {"lblSelect", Kind::Label, "", "Select a Tray", 0, 4150, 1095, 255, Right, ""},
    {"cboSelect",
     Kind::Combo,
     "",
     "",
     1195,
     4100,
     1215,
     315,
     {},
     "Choose Board on which to Display/Print Solutions"},
    {"SSTabFn", Kind::Tabs, "", "", 100, 5400, SW - 200, 2500, {}, ""},
    {"picVCR",
     Kind::Frame,
     "0",
     "",
     (SW - 200 - 3400) / 2,
     520 + (2500 - 400) / 2,
     3400,
     400,
     {},
     ""},
    {"cmdFirst", Kind::Button, "picVCR", "|<", 0, 0, 600, 400, {}, "Display First Solution"},
    {"cmdPrev",
     Kind::Button,
     "picVCR",
     "<",
     600,
     0,
     600,
     400,
     {},
     "Display Previous Solution (Hold down for continuous display)"},
    {"txtSolution", Kind::Box, "picVCR", "", 1200, 0, 1000, 400, Qt::AlignCenter,
     "Enter a Solution Number here to Display a specific Solution"},
    {"cmdNext",
     Kind::Button,
     "picVCR",
     ">",
     2200,
     0,
     600,
     400,
     {},
     "Display Next Solution (Hold down for continuous display)"},
    {"cmdLast", Kind::Button, "picVCR", ">|", 2800, 0, 600, 400, {}, "Display Last Solution"},
    {"lblSideLength", Kind::Label, "1", "Sidelength of Unit Square", 120, 600, 1935, 255, {}, ""},
    {"txtSideLength", Kind::Box, "1", "", 2040, 480, 615, 285, Right,
     "Length of the Side of the Basic Unit Square (Will affect the # of Pages in the Report)"},
    {"lblInches2", Kind::Label, "1", "inches", 2880, 600, 615, 255, {}, ""},
    {"Label2", Kind::Label, "1", "Print Solutions from", 240, 1320, 1575, 255, {}, ""},
    {"txtFrom", Kind::Box, "1", "", 1800, 1320, 735, 285, Right,
     "Start Solution Number for Report"},
    {"lblTo", Kind::Label, "1", "to", 2760, 1320, 255, 255, {}, ""},
    {"txtTo", Kind::Box, "1", "", 3120, 1320, 735, 285, Right, "End Solution Number for Report"},
    {"lblProgress", Kind::Label, "1", "", 3855 + 3000, 1320, 1695, 615,
     Qt::AlignLeft | Qt::AlignTop, ""},
    {"Picture2", Kind::Frame, "1", "", 240, 1800, 1335, 615, {}, ""},
    {"optRender(0)", Kind::Option, "Picture2", "Color", 120, 120, 1335, 255, {}, ""},
    {"optRender(1)", Kind::Option, "Picture2", "Monochrome", 120, 360, 1335, 255, {}, ""},
    {"Picture1", Kind::Frame, "1", "", 2400, 1800, 1455, 615, {}, ""},
    {"optOrientation(0)", Kind::Option, "Picture1", "Portrait", 120, 120, 1335, 255, {}, ""},
    {"optOrientation(1)", Kind::Option, "Picture1", "Landscape", 120, 360, 1095, 255, {}, ""},
    {"cmdPreview",
     Kind::Button,
     "1",
     "Preview",
     (SW - 200 - 1000) / 2,
     2500 - 500,
     1000,
     400,
     {},
     "Prepare a Screen Preview of the Solutions"},
    {"cmdClose",
     Kind::Button,
     "",
     "Close(Esc)",
     SW - 1100,
     SH - 500,
     1000,
     400,
     {},
     "Exit the program"},
};

// What a screen reader says of a control whose caption is a symbol, or that
// has none, and the keys that reach it.
const std::pair<const char *, const char *> SpokenNames[] = {
    {"cboSelect", "Select a Tray"},
    {"cmdFirst", "Display First Solution|(Ctrl+Home)"},
    {"cmdPrev", "Display Previous Solution|(Page Up)"},
    {"cmdNext", "Display Next Solution|(Page Down)"},
    {"cmdLast", "Display Last Solution|(Ctrl+End)"},
    {"txtSolution", "Solution number"},
    {"txtSideLength", "Sidelength of Unit Square in inches"},
    {"txtFrom", "Print Solutions from"},
    {"txtTo", "Print Solutions to"},
    {"Picture2", "Colours of the report"},
    {"Picture1", "Orientation of the pages"},
    {"cmdPreview", "Preview"},
    {"cmdClose", "Close"},
    {"picVCR", "Solutions"},
};

} // namespace

QString descriptionText()
{
    return QStringLiteral(
        "This program will show all solutions to the problem of fitting the 12 Pentominoes "
        "into a tray.\n\n"
        "A Pentomino is contructed from 5 squares, where each square is connected by one or "
        "more edges to an adjacent square.\n"
        "There are 12 distinct Pentominoes, ignoring rotations and reflections.\n"
        "Thus the 12 distinct Pentominoes have a combined area of 60 units (5 units each).\n\n"
        "This program discovers all possible ways in which the Pentominoes can be fitted into a "
        "rectangle.\n"
        "There are 4 possible rectangles of area 60 units - 6 x 10, 5 x 12, 4 x 15, and 3 x "
        "20.\n"
        "As a bonus, the 8 x 8 square is also solved, adding a 2 x 2 square piece to the 12 "
        "Pentominoes to make a total area of 64 units.");
}

void fitDescription(QLabel *lblDesc)
{
    // Each sentence stands on a line of its own: the font shrinks, down to
    // 6 points, until the longest one fits the label.
    const QStringList lines = lblDesc->text().split(QLatin1Char('\n'));
    for (double points = 8; points >= 6; points -= 0.25) {
        const QFontMetricsF metrics(sansFont(points), lblDesc);
        double widest = 0;
        for (const QString &line : lines)
            widest = std::max(widest, metrics.horizontalAdvance(line));
        lblDesc->setFont(sansFont(points));
        if (widest <= lblDesc->width() - 4)
            break;
    }
}

MainControls makeMainControls(QWidget *window, TwipsLayout &layout)
{
    MainControls m;
    const auto container = [&](const char *parent) -> QWidget * {
        if (!*parent)
            return window;
        if (parent[0] == '0' || parent[0] == '1')
            return m.SSTabFn->page(parent[0] - '0');
        return window->findChild<QWidget *>(QString::fromLatin1(parent));
    };
    for (const ControlSpec &c : Controls) {
        QWidget *parent = container(c.parent);
        const QString caption = QString::fromLatin1(c.caption);
        QWidget *w = nullptr;
        switch (c.kind) {
        case Kind::Label: {
            auto *label = new QLabel(caption, parent);
            if (c.align)
                label->setAlignment(c.align);
            w = label;
            break;
        }
        case Kind::Box: {
            auto *box = new QLineEdit(parent);
            box->setAlignment(c.align);
            w = box;
            break;
        }
        case Kind::Button: {
            auto *button = new QPushButton(caption, parent);
            button->setAutoDefault(false);
            w = button;
            break;
        }
        case Kind::Option:
            // The captions must fit the designed widths.
            w = new QRadioButton(caption, parent);
            w->setStyleSheet(QStringLiteral("QRadioButton { spacing: 2px; }"));
            break;
        case Kind::Frame:
            w = new QWidget(parent);
            break;
        case Kind::Combo:
            w = new QComboBox(parent);
            break;
        case Kind::Tabs:
            w = m.SSTabFn = new TabControl({QStringLiteral("Display"), QStringLiteral("Print")},
                                           layout.scale().pixels(520), parent);
            break;
        }
        w->setObjectName(QString::fromLatin1(c.name));
        w->setToolTip(QString::fromLatin1(c.tip));
        layout.place(w, c.left, c.top, c.width, c.height);
    }
    const auto find = [window](const char *name) {
        return window->findChild<QWidget *>(QString::fromLatin1(name));
    };
    m.lblDesc = static_cast<QLabel *>(find("lblDesc"));
    m.lblDesc->setWordWrap(true);
    m.lblSelect = static_cast<QLabel *>(find("lblSelect"));
    m.cboSelect = static_cast<QComboBox *>(find("cboSelect"));
    m.lblSelect->setBuddy(m.cboSelect);
    m.picVCR = find("picVCR");
    m.cmdFirst = static_cast<QPushButton *>(find("cmdFirst"));
    m.cmdPrev = static_cast<QPushButton *>(find("cmdPrev"));
    m.txtSolution = static_cast<QLineEdit *>(find("txtSolution"));
    m.cmdNext = static_cast<QPushButton *>(find("cmdNext"));
    m.cmdLast = static_cast<QPushButton *>(find("cmdLast"));
    m.txtSideLength = static_cast<QLineEdit *>(find("txtSideLength"));
    m.txtFrom = static_cast<QLineEdit *>(find("txtFrom"));
    m.txtTo = static_cast<QLineEdit *>(find("txtTo"));
    m.lblProgress = static_cast<QLabel *>(find("lblProgress"));
    m.Picture2 = find("Picture2");
    m.Picture1 = find("Picture1");
    m.cmdPreview = static_cast<QPushButton *>(find("cmdPreview"));
    m.cmdClose = static_cast<QPushButton *>(find("cmdClose"));
    m.renderGroup = new QButtonGroup(window);
    m.orientationGroup = new QButtonGroup(window);
    for (int k = 0; k < 2; ++k) {
        m.optRender[k] = window->findChild<QRadioButton *>(QStringLiteral("optRender(%1)").arg(k));
        m.optOrientation[k] =
            window->findChild<QRadioButton *>(QStringLiteral("optOrientation(%1)").arg(k));
        m.renderGroup->addButton(m.optRender[k], k);
        m.orientationGroup->addButton(m.optOrientation[k], k);
    }
    // Edges rounded to pixels on their own can leave the strip a pixel
    // short of its buttons; it takes them whole.
    const QRect buttons = m.picVCR->childrenRect();
    m.picVCR->resize(m.picVCR->size().expandedTo(QSize(buttons.right() + 1, buttons.bottom() + 1)));

    QFont numberFont(QStringLiteral("MS Sans Serif"), 12);
    if (!QFontDatabase::families().contains(QStringLiteral("MS Sans Serif"))) {
        numberFont = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        numberFont.setPointSize(12);
    }
    m.txtSolution->setFont(numberFont);
    m.SSTabFn->setCurrentIndex(1); // designed with the "Print" tab open

    // What a screen reader tells of the tray picture, which the window
    // paints itself.
    m.picTray = new QWidget(window);
    m.picTray->setObjectName(QStringLiteral("picTray"));
    m.picTray->setAttribute(Qt::WA_TransparentForMouseEvents);
    m.picTray->setAccessibleName(QStringLiteral("Tray"));
    // What a screen reader says of each control: a name in words where the
    // caption is a symbol, and the tooltip (with any shortcut) as
    // description.
    for (const auto &[name, spoken] : SpokenNames) {
        const QStringList parts = QString::fromLatin1(spoken).split(QLatin1Char('|'));
        QWidget *w = find(name);
        w->setAccessibleName(parts[0]);
        w->setAccessibleDescription(w->toolTip() +
                                    (parts.size() > 1 ? QLatin1Char(' ') + parts[1] : QString()));
    }

    // Keyboard order, as the tab indexes run.
    const QList<QWidget *> order{
        m.cboSelect,        m.cmdFirst,          m.cmdPrev,           m.txtSolution, m.cmdNext,
        m.cmdLast,          m.txtSideLength,     m.txtFrom,           m.txtTo,       m.optRender[0],
        m.optRender[1],     m.optOrientation[0], m.optOrientation[1], m.cmdPreview,  m.cmdClose,
        m.SSTabFn->tabBar()};
    for (int k = 1; k < order.size(); ++k)
        QWidget::setTabOrder(order[k - 1], order[k]);
    return m;
}

TrayMenu makeTrayMenu(QWidget *window)
{
    TrayMenu m;
    m.mnuTray = new QMenu(window);
    m.mnuTray->setObjectName(QStringLiteral("mnuTray"));
    // An item, also reached from the keyboard wherever the focus is (but
    // for a text box that uses the key itself) when it has keys.
    const auto item = [&](const char *name, const QString &caption, QKeySequence keys = {}) {
        QAction *action = m.mnuTray->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        if (!keys.isEmpty()) {
            action->setShortcut(keys);
            window->addAction(action);
        }
        return action;
    };
    m.mnuFind = item("mnuFind", QStringLiteral("Find a Tiling..."), Qt::CTRL | Qt::Key_F);
    m.mnuCopy = item("mnuCopy", QStringLiteral("Copy Solution"),
                     Qt::CTRL | Qt::SHIFT | Qt::Key_C);
    m.mnuExport = item("mnuExport", QStringLiteral("Export Solution..."),
                       Qt::CTRL | Qt::Key_E);
    m.mnuPractice = item("mnuPractice", QStringLiteral("Practice Sheet..."), Qt::CTRL | Qt::Key_K);
    m.mnuSolve = item("mnuSolve", QStringLiteral("Solve It Yourself..."), Qt::CTRL | Qt::Key_Y);
    m.mnuTray->addSeparator();
    m.mnuFirst = item("mnuFirst", QStringLiteral("First Solution"), Qt::CTRL | Qt::Key_Home);
    m.mnuPrev = item("mnuPrev", QStringLiteral("Previous Solution"), Qt::Key_PageUp);
    m.mnuNext = item("mnuNext", QStringLiteral("Next Solution"), Qt::Key_PageDown);
    m.mnuLast = item("mnuLast", QStringLiteral("Last Solution"), Qt::CTRL | Qt::Key_End);
    m.mnuTray->addSeparator();
    m.mnuLetters = item("mnuLetters", QStringLiteral("Show Piece Letters"));
    m.mnuLetters->setCheckable(true);
    m.mnuSafe = item("mnuSafe", QStringLiteral("Colour-Blind-Safe Colours"));
    m.mnuSafe->setCheckable(true);
    m.mnuTray->addSeparator();
    m.mnuNewTray = item("mnuNewTray", QStringLiteral("New Tray..."), Qt::CTRL | Qt::Key_N);
    m.mnuRenameTray = item("mnuRenameTray", QStringLiteral("Rename Tray..."));
    m.mnuExportTray = item("mnuExportTray", QStringLiteral("Export Tray..."));
    m.mnuDeleteTray = item("mnuDeleteTray", QStringLiteral("Delete Tray..."));
    m.mnuTray->addSeparator();
    m.mnuAbout = item("mnuAbout", QStringLiteral("About Tilewright"), Qt::Key_F1);
    return m;
}

} // namespace tw
