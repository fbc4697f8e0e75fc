#pragma once

#include "app/Advice.h"
#include "solutions/Catalogue.h"
#include "solutions/SharedState.h"

#include <QSizeF>
#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tw {

class PreviewDocument;

// The running program without its windows: it owns the catalogue of trays
// and their solutions, the session's cursor and the preview document that
// the report draws into, and knows where its database lies and how to make
// it.
class Program
{
public:
    // programFolder: the executable's folder, as the file system names it
    // (bytes, not necessarily valid text). The database is looked for
    // beside the executable (a build folder), then in ../share/tilewright
    // (an installed copy). paper: the report's portrait paper, twips.
    Program(std::string programFolder, QSizeF paper);
    ~Program();

    // The start-up: builds the piece catalogue, forms DbPath and
    // ConnectString, opens and checks the database and reads its records
    // into the catalogue. Returns the database's problem instead when it
    // fails.
    std::optional<DatabaseError> Main();

    // The database file the program reads (the program's folder +
    // "/Solutions.mdb", or the installed copy), which nothing it writes may
    // replace; and the SQLite URI it is opened through.
    const std::string &DbPath() const { return m_dbPath; }
    const std::string &ConnectString() const { return m_connectString; }
    Catalogue &catalogue() { return m_catalogue; }
    SharedState &state() { return m_state; }
    PreviewDocument &preview() { return *m_preview; }
    const Advice &advice() const { return m_advice; }

private:
    std::string m_folder;
    std::string m_dbPath, m_connectString;
    Catalogue m_catalogue;
    SharedState m_state;
    std::unique_ptr<PreviewDocument> m_preview;
    Advice m_advice;
};

// The database's path beside the program: the folder followed by
// "/Solutions.mdb", joined as they are (a folder ending in a separator gives
// a doubled one).
std::string databasePath(const std::string &programFolder);

// Where the program in programFolder looks for its database, and how it is
// made there.
Whereabouts whereabouts(const std::string &programFolder);

// The running executable's folder, byte for byte as the file system names
// it, so that a folder whose name is not valid text still opens. Needs a
// Qt application object only where /proc is missing.
std::string executableFolder();

// A path, or a text that holds paths, for the user's eyes.
QString displayName(const std::string &path);

// The bytes that name a file a dialog returned; nothing when the name holds
// a character that stood for bytes that are not valid text, since those
// bytes are lost and the name would lead to another file.
std::optional<std::string> pathBytes(const QString &name);

// Writes bytes, whole or not at all, to the file a dialog returned (never
// over the database) and remembers its folder for the next dialog. On
// failure, the sentence to show: failed ("The position could not be
// saved"), then what went wrong and what to do.
std::optional<QString> saveChosen(const QString &chosen, std::string_view bytes,
                                  const std::string &database, const QString &failed);

} // namespace tw
