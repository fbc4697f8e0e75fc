#include "base/Files.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tw {

namespace fs = std::filesystem;

namespace {

// The names SQLite keeps beside a database while it reads or changes it.
constexpr std::string_view CompanionSuffixes[] = {"-journal", "-wal", "-shm"};

// path with its folder resolved (links and "..") as far as it exists; the
// file itself need not.
fs::path resolved(const std::string &path)
{
    std::error_code ec;
    const fs::path p = fs::absolute(path, ec);
    const fs::path r = fs::weakly_canonical(ec ? fs::path(path) : p, ec);
    return ec ? p : r;
}

bool isCompanionOf(const std::string &path, const std::string &database)
{
    const fs::path db = resolved(database);
    const fs::path out = resolved(path);
    if (out.parent_path() != db.parent_path())
        return false;
    const std::string name = out.filename().string();
    const std::string base = db.filename().string();
    for (std::string_view suffix : CompanionSuffixes)
        if (name == base + std::string(suffix))
            return true;
    return false;
}

} // namespace

bool leftByEndedRun(std::string_view digits)
{
    if (digits.empty() || digits.size() > 9 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    const long pid = std::stol(std::string(digits));
    return pid != ::getpid() && ::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH;
}

namespace {

// A file being written is ".tilewright-PID-XXXXXX" beside its target until
// it is renamed over it.
constexpr std::string_view TemporaryPrefix = ".tilewright-";

// Removes the files of that naming in folder that a run which has ended
// left there (killed between writing and renaming), and those of the
// naming without a number that older versions used, once an hour old.
void removeStaleTemporaries(const std::string &folder)
{
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.compare(0, TemporaryPrefix.size(), TemporaryPrefix) != 0)
            continue;
        const std::string rest = name.substr(TemporaryPrefix.size());
        const std::size_t dash = rest.find('-');
        bool stale = false;
        if (dash == std::string::npos) {
            std::error_code old;
            const auto written = fs::last_write_time(it->path(), old);
            stale = rest.size() == 6 && !old &&
                    fs::file_time_type::clock::now() - written > std::chrono::hours(1);
        } else {
            stale = leftByEndedRun(std::string_view(rest).substr(0, dash));
        }
        std::error_code kind;
        if (stale && it->is_regular_file(kind) && !it->is_symlink(kind))
            fs::remove(it->path(), kind);
    }
}

FileFailure refused(std::string reason)
{
    return {std::move(reason), "choose another name"};
}

} // namespace

std::optional<std::string> outputRefusal(const std::string &path, const std::string &database)
{
    std::error_code ec;
    if (!database.empty() && isCompanionOf(path, database))
        return "it is a file that SQLite keeps beside the solution database that Tilewright "
               "reads";
    // The status of what a link leads to: writing goes there.
    const fs::file_status target = fs::status(path, ec);
    if (!fs::exists(target))
        return std::nullopt;
    if (fs::is_directory(target))
        return "it is a folder";
    if (!fs::is_regular_file(target))
        return "it is not a regular file but a device, a pipe or a socket";
    if (!database.empty() && fs::equivalent(path, database, ec))
        return "it is the solution database that Tilewright reads";
    return std::nullopt;
}

std::string FileFailure::sentence(std::string_view doing, std::string_view path) const
{
    std::string text = std::string(doing) + " \"" + std::string(path) + "\": " + reason;
    if (!remedy.empty())
        text += "; " + remedy;
    return text + ".";
}

FileFailure failureOf(int error)
{
    FileFailure f{std::strerror(error), {}};
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        f.remedy = "free some space, or choose another place (a file already there is kept)";
        break;
    case EFBIG:
        f.remedy = "the system limits how large a file may be here: choose another place (a file "
                   "already there is kept)";
        break;
    case EACCES:
    case EPERM:
    case EROFS:
        f.remedy = "choose a folder you may write to";
        break;
    case ENOENT:
    case ENOTDIR:
        f.remedy = "check the name: a folder on the way to it does not exist";
        break;
    case ENAMETOOLONG:
        f.remedy = "choose a shorter name";
        break;
    case EIO:
        f.remedy = "the disk or the device failed: check it, or choose another place";
        break;
    default:
        break;
    }
    return f;
}

FileFailure readFailureOf(int error)
{
    switch (error) {
    case ENOENT:
        return {"there is no such file", "check its name and its folder"};
    case ENOTDIR:
        return {"a name on the way to it is a file, not a folder", "check its name"};
    case EACCES:
    case EPERM:
        return {"it may not be read", "check its permissions (and its folder's)"};
    default:
        return failureOf(error);
    }
}

std::optional<FileFailure> replaceWith(const std::string &temporary, const std::string &target,
                                       std::string_view bytes)
{
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return failureOf(errno);
    const auto fail = [&](int error, bool open) {
        if (open)
            ::close(fd);
        ::unlink(temporary.c_str());
        return failureOf(error);
    };

    // A new file takes the permissions any new file gets; a replaced one
    // keeps its own.
    struct stat old
    {
    };
    mode_t mode;
    if (::stat(target.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0)
        return fail(errno, true);

    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : EIO, true);
        done += static_cast<std::size_t>(n);
    }
    // Where the file system only finds out at the flush (delayed
    // allocation, a network disk), the failure shows here.
    if (::fsync(fd) != 0 && errno != EINVAL)
        return fail(errno, true);
    if (::close(fd) != 0)
        return fail(errno, false);
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        return fail(errno, false);
    return std::nullopt;
}

std::optional<FileFailure> writeWholeFile(const std::string &path, std::string_view bytes,
                                          const std::string &database)
{
    if (auto refusal = outputRefusal(path, database))
        return refused(*refusal);
    std::error_code ec;
    std::string target = path;
    if (fs::is_symlink(path, ec))
        if (const fs::path leadsTo = fs::canonical(path, ec); !ec)
            target = leadsTo.string();
    const fs::path folder = fs::path(target).parent_path();
    const std::string place = (folder.empty() ? fs::path(".") : folder).string();
    removeStaleTemporaries(place);
    std::string temporary =
        place + "/" + std::string(TemporaryPrefix) + std::to_string(::getpid()) + "-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return failureOf(errno);
    ::close(fd);
    return replaceWith(temporary, target, bytes);
}

Expected<std::string, FileFailure> readLimited(int fd, std::size_t limit)
{
    struct stat info
    {
    };
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode))
        return FileFailure{"it is a folder", "name a file"};
    std::string text(limit + 1, '\0');
    std::size_t got = 0;
    while (got < text.size()) {
        const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return readFailureOf(errno);
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    text.resize(got);
    return text;
}

Expected<std::string, FileFailure> readLimited(const std::string &path, std::size_t limit)
{
    if (path == "-")
        return readLimited(0, limit);
    // A pipe is opened without waiting for a writer: one that has none
    // reads as empty at once instead of hanging.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return readFailureOf(errno);
    struct stat info
    {
    };
    const bool pipe = ::fstat(fd, &info) == 0 && S_ISFIFO(info.st_mode);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    auto text = readLimited(fd, limit);
    ::close(fd);
    if (text && text->empty() && pipe)
        return FileFailure{"it is a pipe that nothing writes to",
                           "write to it while it is read, or name a file"};
    return text;
}

} // namespace tw
