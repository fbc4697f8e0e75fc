#include "ui/WindowHooks.h"

#include "ui/Twips.h"

#include <QApplication>
#include <QFileDialog>

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
    return hooks;
}

} // namespace tw
