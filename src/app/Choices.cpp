#include "app/Choices.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace tw {

namespace {

const QString LettersKey = QStringLiteral("pieces/letters");
const QString PaletteKey = QStringLiteral("pieces/palette");
const QString FolderKey = QStringLiteral("files/folder");

} // namespace

Appearance Choices::look()
{
    const QSettings settings;
    return {settings.value(LettersKey, false).toBool(),
            settings.value(PaletteKey).toString() == QLatin1String("safe") ? Palette::Safe
                                                                           : Palette::Standard};
}

void Choices::setLook(Appearance look)
{
    QSettings settings;
    settings.setValue(LettersKey, look.letters);
    settings.setValue(PaletteKey, look.palette == Palette::Safe ? QStringLiteral("safe")
                                                                : QStringLiteral("standard"));
}

QString Choices::outputFolder()
{
    const QString folder = QSettings().value(FolderKey).toString();
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return folder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void Choices::setOutputFolderOf(const QString &file)
{
    QSettings().setValue(FolderKey, QFileInfo(file).absolutePath());
}

QString Choices::solvePosition(int board)
{
    return QSettings().value(QStringLiteral("solve/tray%1").arg(board)).toString();
}

void Choices::setSolvePosition(int board, const QString &text)
{
    QSettings().setValue(QStringLiteral("solve/tray%1").arg(board), text);
}

} // namespace tw
