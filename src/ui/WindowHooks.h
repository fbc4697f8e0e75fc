#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace tw {

class PreviewDocument;

// What a window asks of its surroundings, replaceable in tests.
struct WindowHooks
{
    std::function<void()> beep;
    std::function<void(const QString &)> message; // a box titled with the program's name
    // The modal preview window on a document under its name.
    std::function<void(PreviewDocument &, const QString &name)> showPreview;
    // The file to save as, proposing start, of the kind filter names;
    // empty when the user cancels.
    std::function<QString(const QString &start, const QString &filter)> askSavePath;
    // The file to open, starting in start; empty when the user cancels.
    std::function<QString(const QString &start, const QString &filter)> askOpenPath;

    // A question answered yes (true) or no.
    std::function<bool(const QString &)> ask;
    // A line of text asked for under a label, starting as text; nothing
    // when the user cancels.
    std::function<std::optional<QString>(const QString &label, const QString &text)> askText;

    // The desktop's own: the system's beep, a plain message box and the file
    // dialogs, over window. No preview window.
    static WindowHooks standard(QWidget *window);
};

} // namespace tw
