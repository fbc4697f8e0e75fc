#include "app/Program.h"

#include "pieces/PieceTables.h"
#include "preview/PreviewControl.h"
#include "preview/PreviewDocument.h"
#include "report/frmViewPro.h"
#include "ui/main/frmMain.h"

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

Program::Program(std::string programFolder) : m_folder(std::move(programFolder)) {}

Program::~Program()
{
    m_window.reset();
    m_state.PreviewControl = nullptr;
}

std::optional<DatabaseError> Program::Main(bool showWindow)
{
    LoadShapes(m_state);
    m_state.DbPath = databasePath(m_folder);
    m_state.ConnectString = readOnlyUri(m_state.DbPath);
    if (auto error = OpenDatabase(m_state))
        return error;
    m_preview = std::make_unique<PreviewDocument>(defaultPaper());
    m_state.PreviewControl = m_preview.get();
    if (showWindow) {
        m_window = std::make_unique<frmMain>(m_state, *m_preview);
        frmMain::Hooks hooks;
        hooks.showPreview = [this](PreviewDocument &document) {
            frmViewPro window(document, m_window.get());
            window.setDatabasePath(m_state.DbPath);
            window.exec();
        };
        m_window->setHooks(std::move(hooks));
        m_window->show();
    }
    return std::nullopt;
}

} // namespace tw
