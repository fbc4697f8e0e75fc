#pragma once

#include "app/SharedState.h"

#include <QString>

#include <memory>
#include <optional>

namespace tw {

class PreviewDocument;
class frmMain;

// The running program: it owns the shared state, the preview document that
// the report draws into and the main window.
class Program
{
public:
    // programFolder: where Solutions.mdb lies, the executable's folder, as
    // the file system names it (bytes, not necessarily valid text).
    explicit Program(std::string programFolder);
    ~Program();

    // The start-up: builds the piece catalogue, forms DbPath and
    // ConnectString, opens and checks the database, hands out the preview
    // document and, with showWindow, shows the main window. Returns the
    // database's problem instead when it fails; nothing is shown then.
    std::optional<DatabaseError> Main(bool showWindow = true);

    SharedState &state() { return m_state; }
    PreviewDocument &preview() { return *m_preview; }
    frmMain *mainWindow() const { return m_window.get(); }

private:
    std::string m_folder;
    SharedState m_state;
    std::unique_ptr<PreviewDocument> m_preview;
    std::unique_ptr<frmMain> m_window;
};

// The database's path: the folder followed by "/Solutions.mdb", joined as
// they are (a folder ending in a separator gives a doubled one).
std::string databasePath(const std::string &programFolder);

// The running executable's folder, byte for byte as the file system names
// it, so that a folder whose name is not valid text still opens. Needs a
// Qt application object only where /proc is missing.
std::string executableFolder();

// A path or file name for the user's eyes.
QString displayName(const std::string &path);

} // namespace tw
