#pragma once

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QRegularExpression>
#include <QStringList>
#include <QWidget>

#include <algorithm>

namespace tw::test {

// The step buttons of a window that can be used, as letters: "FPNL", or ""
// for none.
inline QString steps(const QWidget *window)
{
    QString can;
    for (const char *name : {"cmdFirst", "cmdPrev", "cmdNext", "cmdLast"})
        if (window->findChild<QWidget *>(QString::fromLatin1(name))->isEnabled())
            can += QLatin1Char(name[3]);
    return can;
}

// What is wrong with how a window's named controls and captions stand: one cut
// off by the one it stands on, or two side by side over each other. The
// window's own layout lets controls touch by a few pixels (a label's box
// reaching under its text box), so only a quarter or more counts. Only
// what is shown counts; a control's own parts (Qt's, unnamed) are left to
// Qt.
inline QStringList layoutFaults(const QWidget *window)
{
    const auto area = [](const QRect &r) { return qint64(r.width()) * r.height(); };
    QStringList faults;
    // A caption is a control here too, named by its text.
    const auto caption = [](const QWidget *w) {
        const auto *label = qobject_cast<const QLabel *>(w);
        return label && w->objectName().isEmpty() ? label->text() : QString();
    };
    const auto named = [&caption](const QWidget *parent) {
        QList<const QWidget *> shown;
        for (const QObject *child : parent->children())
            if (const auto *w = qobject_cast<const QWidget *>(child);
                w && (!w->objectName().isEmpty() || !caption(w).isEmpty()) &&
                !w->objectName().startsWith(QLatin1String("qt_")) && w->isVisible() &&
                !w->isWindow())
                shown << w;
        return shown;
    };
    const auto name = [&caption](const QWidget *w) {
        return w->objectName().isEmpty() ? caption(w) : w->objectName();
    };
    QList<const QWidget *> parents{window};
    while (!parents.isEmpty()) {
        const QWidget *parent = parents.takeFirst();
        const QList<const QWidget *> shown = named(parent);
        for (qsizetype a = 0; a < shown.size(); ++a) {
            const QRect own = shown[a]->geometry();
            if (4 * area(parent->rect() & own) < 3 * area(own))
                faults << name(shown[a]) + QLatin1String(" sticks out of ") +
                              (parent == window ? QStringLiteral("the window")
                                                : name(parent));
            for (qsizetype b = a + 1; b < shown.size(); ++b)
                if (4 * area(own & shown[b]->geometry()) >
                    std::min(area(own), area(shown[b]->geometry())))
                    faults << name(shown[a]) + QLatin1String(" overlaps ") + name(shown[b]);
        }
        for (const QWidget *w : shown)
            parents << w;
        // Controls on unnamed containers (a tab's page) count as theirs.
        for (const QObject *child : parent->children())
            if (const auto *w = qobject_cast<const QWidget *>(child);
                w && w->objectName().isEmpty() && w->isVisible() && !w->isWindow())
                parents << w;
    }
    return faults;
}

// The controls shown that take the focus but whose name for screen readers
// holds no word (a list is named by its label, as the platforms expect).
inline QStringList namelessControls(const QWidget *window)
{
    QStringList nameless;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        // A spin box's own line edit is read out as the spin box.
        if (!w->isVisible() || w->focusPolicy() == Qt::NoFocus ||
            qobject_cast<QAbstractSpinBox *>(w->parentWidget()))
            continue;
        QAccessibleInterface *control = QAccessible::queryAccessibleInterface(w);
        const auto labels = control->relations(QAccessible::Label);
        const QString name = qobject_cast<QComboBox *>(w) && !labels.isEmpty()
                                 ? labels[0].first->text(QAccessible::Name)
                                 : control->text(QAccessible::Name);
        if (name.count(QRegularExpression(QStringLiteral("[A-Za-z]"))) < 2)
            nameless << w->objectName() + QStringLiteral(": \"") + name + '"';
    }
    return nameless;
}

} // namespace tw::test
