#pragma once

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <csignal>
#include <functional>
#include <sys/resource.h>

namespace tw::test {

// The folder of the generated database, where the program looks first.
inline std::string testDatabaseFolder()
{
    return QFileInfo(QStringLiteral(TILEWRIGHT_TEST_DATABASE)).absolutePath().toStdString();
}

// The program run as a user runs it from a shell, with no display: nothing
// the command line does needs one.
struct Outcome
{
    int status;
    QString out, err;
};

// setUp runs in the child before the program starts (a resource limit, say).
inline Outcome runProgram(const QStringList &arguments, const QByteArray &input = {},
                          const QString &program = QStringLiteral(TILEWRIGHT_PROGRAM),
                          const std::function<void()> &setUp = {}, const QString &platform = {})
{
    QProcess p;
    if (setUp)
        p.setChildProcessModifier(setUp);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    if (!platform.isEmpty()) // Qt told to draw on it
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    p.setProcessEnvironment(environment);
    p.start(program, arguments);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// Run in a child: its files may grow to `bytes` and no more, a write beyond
// failing (SIGXFSZ ignored) as on a full disk.
inline std::function<void()> fileSizeLimit(rlim_t bytes)
{
    return [bytes] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, bytes};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    };
}

// What a strict reader (qpdf --check) finds wrong with a PDF: nothing for a
// sound file, else its warnings and errors.
inline QString pdfFaults(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral(QPDF), {QStringLiteral("--check"), path});
    p.waitForFinished(60000);
    if (p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}

// What pdfinfo says of a PDF, matched against a pattern.
inline QRegularExpressionMatch pdfInfo(const QString &path, const QString &pattern)
{
    QProcess p;
    p.start(QStringLiteral(PDFINFO), {path});
    p.waitForFinished();
    return QRegularExpression(pattern).match(QString::fromUtf8(p.readAllStandardOutput()));
}

// "pages width x height" of a PDF, as pdfinfo reads it; "damaged: ..." when
// a strict reader finds a fault, which pdfinfo would quietly repair.
inline QString pdfPages(const QString &path)
{
    if (const QString faults = pdfFaults(path); !faults.isEmpty())
        return QStringLiteral("damaged: ") + faults;
    const auto match =
        pdfInfo(path, QStringLiteral("Pages: +(\\d+)[\\s\\S]*Page size: +([\\d.]+ x [\\d.]+)"));
    return match.hasMatch() ? match.captured(1) + QLatin1Char(' ') + match.captured(2) : QString();
}

// Page `page` of a PDF as pdftoppm draws it: a PPM image at dpi.
inline QByteArray pdfPicture(const QString &path, int page, int dpi)
{
    QProcess p;
    p.start(QStringLiteral(PDFTOPPM),
            {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
             QString::number(page), QStringLiteral("-l"), QString::number(page), path});
    p.waitForFinished(60000);
    return p.readAllStandardOutput();
}

} // namespace tw::test
