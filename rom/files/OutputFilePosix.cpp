// OutputFile's POSIX part: how a file is opened to be checked, and where a
// name leads through symbolic links.
#include "OutputFile.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rom {

namespace {

// Links followed before giving up, as the system itself does.
constexpr int kMaxLinks = 40;
// Looking never blocks (a file another program opened for mandatory
// locking, say) and never makes a controlling terminal.
constexpr int kProbeFlags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

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

// A file that may only be written is opened for writing, which changes
// nothing in it.
FileError OutputFile::openToCheck(const FilePath &path, FileHandle &file)
{
    file = FileAccess::system().open(path, OpenMode::Read);
    if (file == kNoFile && errno == EACCES)
        file = ::open(path.system().c_str(), O_WRONLY | kProbeFlags);
    return file == kNoFile ? FileError{FileProblem::CannotWrite, errno} : FileError{};
}

// The links are read one by one, whether the name they end at exists or not.
FileError OutputFile::whereItLeads(const FilePath &path, bool, FilePath &folder, FilePath &name)
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
    return {};
}

} // namespace rom
