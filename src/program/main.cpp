// Tilewright: every way of fitting the twelve pentominoes into five trays,
// shown one at a time and printed as cheat sheets.

#include "app/Advice.h"
#include "app/Program.h"
#include "app/ReportCommand.h"
#include "ui/PreviewControl.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QMessageBox>

#include <exception>
#include <iostream>

namespace {

// Nothing escapes an event handler: an unexpected failure is shown and the
// program carries on.
class Application : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception &e) {
            QMessageBox::critical(nullptr, QStringLiteral("Tilewright"),
                                  QStringLiteral("Something went wrong: %1\n\nThe program "
                                                 "continues; please report this.")
                                      .arg(QString::fromLocal8Bit(e.what())));
        }
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int k = 0; k < argc; ++k)
        arguments << QString::fromLocal8Bit(argv[k]);

    if (tw::isReportCommand(arguments)) {
        // The command never opens a window, so it needs no display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return tw::runReportCommand(arguments, tw::executableFolder(), tw::defaultPaper(),
                                    std::cout, std::cerr);
    }

    Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tilewright"));
    tw::Program program(tw::executableFolder(), tw::defaultPaper());
    if (const auto error = program.Main()) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Tilewright"),
                        tw::displayName(error->problem), QMessageBox::Ok);
        box.setInformativeText(tw::displayName(tw::remedyFor(*error)));
        box.exec();
        return 1;
    }
    tw::frmMain window(program.state(), program.preview());
    window.show();
    QObject::connect(&window, &QDialog::finished, &app, &QApplication::quit);
    return app.exec();
}
