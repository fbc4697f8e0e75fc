#include "app/Program.h"

#include "pieces/PieceTables.h"
#include "preview/PreviewDocument.h"

#include <QCoreApplication>
#include <QFile>

#include <filesystem>

namespace tw {

std::string databasePath(const std::string &programFolder)
{
    return programFolder + "/Solutions.mdb";
}

std::string executableFolder()
{
    std::error_code ec;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return executable.parent_path().string();
    return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
}

QString displayName(const std::string &path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

Program::Program(std::string programFolder, QSizeF paper)
    : m_folder(std::move(programFolder)), m_preview(std::make_unique<PreviewDocument>(paper))
{}

Program::~Program()
{
    m_state.PreviewControl = nullptr;
}

std::optional<DatabaseError> Program::Main()
{
    LoadShapes(m_state);
    m_state.DbPath = databasePath(m_folder);
    m_state.ConnectString = readOnlyUri(m_state.DbPath);
    if (auto error = OpenDatabase(m_state))
        return error;
    m_state.PreviewControl = m_preview.get();
    return std::nullopt;
}

} // namespace tw
