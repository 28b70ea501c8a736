#include "OutputFile.h"

#include "OutputWriter.h"
#include "RomFile.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace rom {

namespace {

// Links followed before giving up, as the system itself does.
constexpr int kMaxLinks = 40;
// Looking never blocks (a file another program opened for mandatory
// locking, say) and never makes a controlling terminal.
constexpr int kProbeFlags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

bool sameFile(const struct stat &a, const struct stat &b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

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

bool isAnImage(const std::string &path)
{
    RomFile image;
    return image.open(path, Access::ReadOnly) == RomError::None;
}

} // namespace

FileError OutputFile::write(const std::string &path, std::span<const std::uint8_t> bytes,
                            std::span<const std::string> images)
{
    return writeChecked(path, bytes, images, Kind::Output);
}

FileError OutputFile::writeMadeImage(const std::string &path, std::span<const std::uint8_t> bytes)
{
    return writeChecked(path, bytes, {}, Kind::MadeImage);
}

FileError OutputFile::writeChecked(const std::string &path, std::span<const std::uint8_t> bytes,
                                   std::span<const std::string> images, Kind kind)
{
    // The system would stop reading the name at a NUL and write another file.
    if (path.empty() || path.find('\0') != std::string::npos)
        return {FileProblem::CannotWrite, ENOENT};
    struct stat info {};
    const bool exists = ::stat(path.c_str(), &info) == 0;
    if (!exists && errno != ENOENT)
        return {FileProblem::CannotWrite, errno};
    if (exists && (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode)))
        return OutputWriter::writeInto(path, bytes);
    if (exists && !S_ISREG(info.st_mode))
        return {FileProblem::NotRegularFile};
    if (exists)
        if (const FileError error = check(path, info, images, kind); !error.ok())
            return error;
    std::string folder;
    std::string name;
    if (const FileError error = whereItLeads(path, folder, name); !error.ok())
        return error;
    // A name that shows another file than the path did (a link into /proc
    // to a deleted file, say) cannot be replaced.
    struct stat named {};
    if (exists && (::lstat((folder + "/" + name).c_str(), &named) != 0 || !sameFile(named, info)))
        return {FileProblem::CannotWrite, ENOENT};
    return OutputWriter::replace(folder, name, exists ? &info : nullptr, bytes);
}

FileError OutputFile::check(const std::string &path, const struct stat &info, std::span<const std::string> images,
                            Kind kind)
{
    for (const std::string &image : images) {
        struct stat imageInfo {};
        if (::stat(image.c_str(), &imageInfo) == 0 && sameFile(imageInfo, info))
            return {FileProblem::IsAnImage};
    }
    if (kind == Kind::Output && isAnImage(path))
        return {FileProblem::IsAnImage};
    if (const FileError error = checkLock(path, info); !error.ok())
        return error;
    return info.st_nlink > 1 ? FileError{FileProblem::HasOtherNames} : FileError{};
}

// Asks for a shared lock and lets it go at once: refused only while another
// program holds the exclusive lock the editor takes, which it keeps.
FileError OutputFile::checkLock(const std::string &path, const struct stat &info)
{
    int fd = ::open(path.c_str(), O_RDONLY | kProbeFlags);
    if (fd < 0 && errno == EACCES)
        fd = ::open(path.c_str(), O_WRONLY | kProbeFlags);
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

FileError OutputFile::whereItLeads(const std::string &path, std::string &folder, std::string &name)
{
    std::string at = path;
    for (int links = 0;; ++links) {
        struct stat info {};
        if (::lstat(at.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            break;
        if (links == kMaxLinks)
            return {FileProblem::CannotWrite, ELOOP};
        if (const FileError error = readLink(at, at); !error.ok())
            return error;
    }
    folder = folderOf(at);
    name = nameOf(at);
    return {};
}

} // namespace rom
