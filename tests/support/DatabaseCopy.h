#pragma once

#include <sqlite3.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>

namespace tw::test {

// A copy of the generated database in a folder of its own, for tests that
// change the file, also while the program has it open. Removed afterwards.
class DatabaseCopy
{
public:
    DatabaseCopy()
    {
        static std::atomic<int> serial = 0;
        m_folder = std::filesystem::temp_directory_path() /
                   ("tilewright-db-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        std::filesystem::copy_file(TILEWRIGHT_TEST_DATABASE, path());
    }
    ~DatabaseCopy() { std::filesystem::remove_all(m_folder); }
    DatabaseCopy(const DatabaseCopy &) = delete;
    DatabaseCopy &operator=(const DatabaseCopy &) = delete;

    std::string folder() const { return m_folder.string(); }
    std::string path() const { return (m_folder / "Solutions.mdb").string(); }

    // Runs sql on the file through a connection of its own.
    bool exec(const char *sql) const
    {
        sqlite3 *db = nullptr;
        const bool ok = sqlite3_open(path().c_str(), &db) == SQLITE_OK &&
                        sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(db);
        return ok;
    }

    // Another program's connection that holds the file locked while it lives.
    class Lock
    {
    public:
        explicit Lock(const DatabaseCopy &copy)
        {
            sqlite3_open(copy.path().c_str(), &m_db);
            sqlite3_exec(m_db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
        }
        ~Lock() { sqlite3_close(m_db); }
        Lock(const Lock &) = delete;
        Lock &operator=(const Lock &) = delete;

    private:
        sqlite3 *m_db = nullptr;
    };

private:
    std::filesystem::path m_folder;
};

} // namespace tw::test
