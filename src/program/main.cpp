// Tilewright: every way of fitting the twelve pentominoes into five trays,
// shown one at a time and printed as cheat sheets.

#include "app/Commands.h"
#include "app/Program.h"
#include "app/TrayLibrary.h"
#include "ui/Icon.h"
#include "ui/PreviewControl.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QMessageBox>

#include <csignal>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

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

// Qt's notes go to standard error only when they matter.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << text.toStdString() << '\n';
}

int runWindow(int argc, char **argv)
{
    // Without a display Qt would abort; it falls back on drawing offscreen
    // instead, which tells that there is none.
    const bool platformChosen = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (!platformChosen) {
        qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
                                       ? "xcb;offscreen"
                                       : "wayland;xcb;offscreen");
        qInstallMessageHandler(quietMessages);
    }
    Application app(argc, argv);
    if (!platformChosen) {
        qunsetenv("QT_QPA_PLATFORM");
        qInstallMessageHandler(nullptr);
        if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
            std::cerr << "tilewright: the window needs a display, and none can be reached here "
                         "(DISPLAY or WAYLAND_DISPLAY); the commands work without one: "
                         "tilewright --help\n";
            return 2;
        }
    }
    QApplication::setApplicationName(QStringLiteral("Tilewright"));
    QApplication::setOrganizationName(QStringLiteral("Tilewright"));
    QApplication::setWindowIcon(tw::programIcon());
    try {
        tw::Program program(tw::executableFolder(), tw::defaultPaper());
        if (const auto error = program.Main()) {
            QMessageBox box(QMessageBox::Critical, QStringLiteral("Tilewright"),
                            tw::displayName(error->problem), QMessageBox::Ok);
            box.setInformativeText(tw::displayName(program.advice().remedy(*error)));
            box.exec();
            return 1;
        }
        tw::frmMain window(program);
        window.show();
        QObject::connect(&window, &QDialog::finished, &app, &QApplication::quit);
        return app.exec();
    } catch (const std::exception &e) {
        QMessageBox::critical(nullptr, QStringLiteral("Tilewright"),
                              QStringLiteral("Tilewright cannot start: %1\n\nPlease report this.")
                                  .arg(QString::fromLocal8Bit(e.what())));
        return 2;
    }
}

} // namespace

int main(int argc, char **argv)
{
    // A file-size limit makes a write fail, which is reported, rather than
    // end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // The arguments as the system passed them: file names byte for byte.
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const tw::Command command = tw::parseCommandLine(arguments);
    // Where the program keeps its data (the user's trays), with or without
    // an application object.
    QCoreApplication::setApplicationName(QStringLiteral("Tilewright"));
    QCoreApplication::setOrganizationName(QStringLiteral("Tilewright"));
    switch (command.kind) {
    case tw::Command::Kind::Window:
        return runWindow(argc, argv);
    case tw::Command::Kind::Help:
        std::cout << tw::helpText();
        return 0;
    case tw::Command::Kind::Version:
        std::cout << tw::versionLine() << '\n';
        return 0;
    case tw::Command::Kind::Error:
        std::cerr << "tilewright: " << command.error << '\n' << tw::usageLine() << '\n';
        return 2;
    case tw::Command::Kind::NewTray:
    case tw::Command::Kind::ListTrays:
    case tw::Command::Kind::DeleteTray:
    case tw::Command::Kind::ExportTray:
        return tw::guarded(std::cerr, [&] {
            tw::CommandIo io{std::cout, std::cerr, {}};
            return tw::runTrayCommand(command, tw::libraryPath(), io);
        });
    default:
        break;
    }
    // Only the window needs a display; a command's own output is all it
    // prints.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    return tw::guarded(std::cerr, [&] {
        // Only what draws needs Qt's GUI (fonts, images); the rest starts
        // at once.
        const bool draws = command.kind == tw::Command::Kind::Report ||
                           command.kind == tw::Command::Kind::Svg ||
                           command.kind == tw::Command::Kind::Png ||
                           (command.kind == tw::Command::Kind::Practice && !command.text);
        std::optional<QGuiApplication> app;
        if (draws)
            app.emplace(argc, argv);
        // The report's paper is the default printer's when none is named.
        const QSizeF paper = command.kind == tw::Command::Kind::Report && !command.paper
                                 ? tw::defaultPaper()
                                 : QSizeF(11906, 16838);
        tw::CommandIo io{std::cout, std::cerr,
                         [](std::size_t limit) { return tw::readLimited(0, limit); }};
        return tw::runCommand(command, tw::executableFolder(), paper, io);
    });
}
