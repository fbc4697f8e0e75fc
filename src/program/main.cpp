// Tilewright: every way of fitting the twelve pentominoes into five trays,
// shown one at a time and printed as cheat sheets.

#include "app/CommandLine.h"
#include "app/Program.h"
#include "ui/Icon.h"
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

    // Only the window needs a display.
    const tw::Command command = tw::parseCommandLine(arguments);
    if (command.kind != tw::Command::Kind::Window)
        // A command's own output is all it prints: Qt's notes on the
        // offscreen platform stay out of it.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                std::cerr << text.toStdString() << '\n';
        });
    switch (command.kind) {
    case tw::Command::Kind::Help:
        std::cout << tw::helpText().toStdString();
        return 0;
    case tw::Command::Kind::Version:
        std::cout << tw::versionLine().toStdString() << '\n';
        return 0;
    case tw::Command::Kind::Error:
        std::cerr << "tilewright: " << command.error.toStdString() << '\n'
                  << tw::usageLine().toStdString() << '\n';
        return 2;
    case tw::Command::Kind::Report: {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return tw::runReport(command, tw::executableFolder(),
                             command.paper.value_or(tw::defaultPaper()), std::cout, std::cerr);
    }
    case tw::Command::Kind::Find:
    case tw::Command::Kind::Grid:
    case tw::Command::Kind::Svg:
    case tw::Command::Kind::Png: {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return tw::runSolution(command, tw::executableFolder(), std::cin, std::cout, std::cerr);
    }
    case tw::Command::Kind::Window:
        break;
    }

    Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tilewright"));
    QApplication::setOrganizationName(QStringLiteral("Tilewright"));
    QApplication::setWindowIcon(tw::programIcon());
    tw::Program program(tw::executableFolder(), tw::defaultPaper());
    if (const auto error = program.Main()) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Tilewright"),
                        tw::displayName(error->problem), QMessageBox::Ok);
        box.setInformativeText(tw::displayName(program.advice().remedy(*error)));
        box.exec();
        return 1;
    }
    tw::frmMain window(program.state(), program.preview(), program.advice());
    window.show();
    QObject::connect(&window, &QDialog::finished, &app, &QApplication::quit);
    return app.exec();
}
