#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

namespace tw::test {

// The program run as a user runs it from a shell, with no display: nothing
// the command line does needs one.
struct Outcome
{
    int status;
    QString out, err;
};

inline Outcome runProgram(const QStringList &arguments, const QByteArray &input = {},
                          const QString &program = QStringLiteral(TILEWRIGHT_PROGRAM))
{
    QProcess p;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(environment);
    p.start(program, arguments);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// "pages width x height" of a PDF, as pdfinfo reads it.
inline QString pdfPages(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral(PDFINFO), {path});
    p.waitForFinished();
    const auto match =
        QRegularExpression(QStringLiteral("Pages: +(\\d+)[\\s\\S]*Page size: +([\\d.]+ x [\\d.]+)"))
            .match(QString::fromUtf8(p.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1) + QLatin1Char(' ') + match.captured(2) : QString();
}

// Page `page` of a PDF as pdftoppm draws it: a PPM image at dpi.
inline QByteArray pdfPicture(const QString &path, int page, int dpi)
{
    QProcess p;
    p.start(QStringLiteral(PDFTOPPM), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
                                      QString::number(page), QStringLiteral("-l"),
                                      QString::number(page), path});
    p.waitForFinished(60000);
    return p.readAllStandardOutput();
}

} // namespace tw::test
