#include "app/Program.h"

#include "app/Choices.h"
#include "base/Files.h"
#include "pieces/PieceTables.h"
#include "preview/PreviewDocument.h"

#include <QCoreApplication>
#include <QFile>

#include <filesystem>

namespace tw {

namespace fs = std::filesystem;

std::string databasePath(const std::string &programFolder)
{
    return programFolder + "/Solutions.mdb";
}

Whereabouts whereabouts(const std::string &programFolder)
{
    Whereabouts where;
    const std::string installed =
        (fs::path(programFolder).parent_path() / "share" / "tilewright" / "Solutions.mdb")
            .lexically_normal()
            .string();
    where.tried = {databasePath(programFolder), installed};
    where.solve = programFolder + "/tilewright-solve";
#if defined(TILEWRIGHT_BUILD_BIN_DIR) && defined(TILEWRIGHT_SOURCE_DIR)
    // Run from its build folder, the program's database belongs beside it.
    std::error_code ec;
    if (fs::equivalent(programFolder, TILEWRIGHT_BUILD_BIN_DIR, ec))
        where.sourceFolder = TILEWRIGHT_SOURCE_DIR;
#endif
    where.home = where.sourceFolder.empty() ? installed : where.tried.front();
    return where;
}

std::string executableFolder()
{
    std::error_code ec;
    const fs::path executable = fs::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return executable.parent_path().string();
    return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
}

QString displayName(const std::string &path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::optional<std::string> pathBytes(const QString &name)
{
    if (name.contains(QChar::ReplacementCharacter))
        return std::nullopt;
    return QFile::encodeName(name).toStdString();
}

std::optional<QString> saveChosen(const QString &chosen, std::string_view bytes,
                                  const std::string &database, const QString &failed)
{
    const auto path = pathBytes(chosen);
    const auto failure =
        path ? writeWholeFile(*path, bytes, database)
             : std::optional<FileFailure>(
                   {"the name holds characters that are not valid text", "choose another name"});
    if (!failure) {
        Choices::setOutputFolderOf(chosen);
        return std::nullopt;
    }
    return failed + QStringLiteral(": ") +
           displayName(failure->sentence("cannot write", path.value_or(chosen.toStdString())));
}

Program::Program(std::string programFolder, QSizeF paper)
    : m_folder(std::move(programFolder)), m_preview(std::make_unique<PreviewDocument>(paper)),
      m_advice(whereabouts(m_folder))
{}

Program::~Program() = default;

std::optional<DatabaseError> Program::Main()
{
    LoadShapes();
    const std::vector<std::string> &places = m_advice.where().tried;
    m_dbPath = places.front();
    for (const std::string &place : places) {
        // A place the user may not look into is reported as such, not
        // passed over as missing.
        std::error_code ec;
        if (fs::exists(place, ec) || ec == std::errc::permission_denied) {
            m_dbPath = place;
            break;
        }
    }
    m_connectString = readOnlyUri(m_dbPath);
    auto records = OpenDatabase(m_dbPath, m_connectString);
    if (!records) {
        DatabaseError error = records.error();
        if (error.fault == DatabaseFault::FileMissing)
            error.problem = "The solution database was not found: Tilewright looked for \"" +
                            places[0] + "\" and \"" + places[1] + "\".";
        return error;
    }
    m_catalogue.setDatabase(std::move(*records));
    SelectBoard(m_state, m_catalogue, 0);
    return std::nullopt;
}

} // namespace tw
