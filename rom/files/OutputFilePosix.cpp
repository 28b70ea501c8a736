// OutputFile's POSIX part: the lock another program holds, and where a name
// leads through symbolic links.
#include "OutputFile.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rom {

namespace {

// Links followed before giving up, as the system itself does.
constexpr int kMaxLinks = 40;
// Looking never blocks (a file another program opened for mandatory
// locking, say) and never makes a controlling terminal.
constexpr int kProbeFlags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

bool sameFile(const struct stat &a, const FileStatus &b)
{
    return std::uint64_t(a.st_dev) == b.device && std::uint64_t(a.st_ino) == b.index;
}

std::string folderOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

FileError readLink(const std::string &path, std::string &target)
{
    std::string text(PATH_MAX, '\0');
    const ssize_t length = ::readlink(path.c_str(), text.data(), text.size());
    if (length < 0)
        return {FileProblem::CannotWrite, errno};
    if (std::size_t(length) == text.size())
        return {FileProblem::CannotWrite, ENAMETOOLONG};
    text.resize(std::size_t(length));
    target = text[0] == '/' ? text : folderOf(path) + "/" + text;
    return {};
}

} // namespace

// Asks for a shared lock and lets it go at once: refused only while another
// program holds the exclusive lock the editor takes, which it keeps.
FileError OutputFile::checkLock(const FilePath &path, const FileStatus &info)
{
    int fd = ::open(path.system().c_str(), O_RDONLY | kProbeFlags);
    if (fd < 0 && errno == EACCES)
        fd = ::open(path.system().c_str(), O_WRONLY | kProbeFlags);
    if (fd < 0)
        return {FileProblem::CannotWrite, errno};
    struct stat opened {};
    FileError error;
    if (::fstat(fd, &opened) != 0 || !sameFile(opened, info))
        error = {FileProblem::ChangedMeanwhile};
    else if (::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        error = {FileProblem::Locked};
    ::close(fd);
    return error;
}

FileError OutputFile::whereItLeads(const FilePath &path, const FileStatus *info, FilePath &folder, FilePath &name)
{
    std::string at = path.system().native();
    for (int links = 0;; ++links) {
        struct stat linkInfo {};
        if (::lstat(at.c_str(), &linkInfo) != 0 || !S_ISLNK(linkInfo.st_mode))
            break;
        if (links == kMaxLinks)
            return {FileProblem::CannotWrite, ELOOP};
        if (const FileError error = readLink(at, at); !error.ok())
            return error;
    }
    folder = FilePath(folderOf(at));
    name = FilePath(nameOf(at));
    // A name that shows another file than the path did (a link into /proc
    // to a deleted file, say) cannot be replaced.
    struct stat named {};
    if (info && (::lstat((folderOf(at) + "/" + nameOf(at)).c_str(), &named) != 0 || !sameFile(named, *info)))
        return {FileProblem::CannotWrite, ENOENT};
    return {};
}

} // namespace rom
