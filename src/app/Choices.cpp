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

PracticeChoices Choices::practice()
{
    QSettings settings;
    settings.beginGroup(QStringLiteral("practice"));
    PracticeChoices c;
    c.count = settings.value(QStringLiteral("count"), c.count).toInt();
    c.given = settings.value(QStringLiteral("given"), c.given).toInt();
    c.side = settings.value(QStringLiteral("side"), c.side).toDouble();
    c.landscape = settings.value(QStringLiteral("landscape"), c.landscape).toBool();
    c.colour = settings.value(QStringLiteral("colour"), c.colour).toBool();
    c.letters = settings.value(QStringLiteral("letters"), c.letters).toInt();
    c.answerKey = settings.value(QStringLiteral("key"), c.answerKey).toBool();
    c.cutouts = settings.value(QStringLiteral("cutouts"), c.cutouts).toBool();
    return c;
}

void Choices::setPractice(const PracticeChoices &c)
{
    QSettings settings;
    settings.beginGroup(QStringLiteral("practice"));
    settings.setValue(QStringLiteral("count"), c.count);
    settings.setValue(QStringLiteral("given"), c.given);
    settings.setValue(QStringLiteral("side"), c.side);
    settings.setValue(QStringLiteral("landscape"), c.landscape);
    settings.setValue(QStringLiteral("colour"), c.colour);
    settings.setValue(QStringLiteral("letters"), c.letters);
    settings.setValue(QStringLiteral("key"), c.answerKey);
    settings.setValue(QStringLiteral("cutouts"), c.cutouts);
}

namespace {

QString positionKey(const std::string &key)
{
    return QStringLiteral("solve/") + QString::fromStdString(key).toCaseFolded();
}

} // namespace

QString Choices::solvePosition(const std::string &key)
{
    return QSettings().value(positionKey(key)).toString();
}

void Choices::setSolvePosition(const std::string &key, const QString &text)
{
    QSettings().setValue(positionKey(key), text);
}

} // namespace tw
