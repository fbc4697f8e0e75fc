#include "ui/WindowHooks.h"

#include "ui/Twips.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace tw {

WindowHooks WindowHooks::standard(QWidget *window)
{
    WindowHooks hooks;
    hooks.beep = [] { QApplication::beep(); };
    hooks.message = [window](const QString &text) { showPlainMessage(window, text); };
    hooks.askSavePath = [window](const QString &start, const QString &filter) {
        return QFileDialog::getSaveFileName(window, QString(), start, filter);
    };
    hooks.askOpenPath = [window](const QString &start, const QString &filter) {
        return QFileDialog::getOpenFileName(window, QString(), start, filter);
    };
    hooks.ask = [window](const QString &text) {
        return QMessageBox::question(window, QStringLiteral("Tilewright"), text) ==
               QMessageBox::Yes;
    };
    hooks.askText = [window](const QString &label,
                             const QString &text) -> std::optional<QString> {
        bool ok = false;
        const QString answer = QInputDialog::getText(window, QStringLiteral("Tilewright"), label,
                                                     QLineEdit::Normal, text, &ok);
        return ok ? std::optional(answer) : std::nullopt;
    };
    return hooks;
}

} // namespace tw
